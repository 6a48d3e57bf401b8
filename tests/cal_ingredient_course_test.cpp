// The ingredient course of place 1.4: the spot points and their quiz, the drill, the gate, the
// symbol lessons and tests played headless with clicks planned from each screen's own state, the
// candidate recipes, and the fourteen handlers with forced draws.
#include "calendar/frame.h"
#include "calendar/ingredient_course.h"
#include "calendar/opening_screens.h"
#include "data/item_tables.h"
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/transcript.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/cal_checks.h"
#include "tests/calendar_fixture.h"
#include "tests/mg_checks.h"
#include "tests/text_runs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <vector>

namespace {

// A point far from point `asked`.
s32 wrong_point(s32 asked) {
    return asked == 14 ? 0 : 14;
}

class IngredientCourseTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        // The step toward the training ground pending: the gate stays silent unless a case
        // says otherwise.
        hub_block.place_events[1][6][0] = {99, 1};
        hub_block.hub_third_avail[4][1] = 1;
        // Answers each screen from its own state, one click at a time.
        harness_on_present([this](const u16*, u64) {
            if (harness_pending_input() != 0) return;
            const SpotQuizState& q = spot_quiz_state;
            if (q.asked >= 0 && q.hit < 0 && q.frames > 0) {
                if (misses > 0) {
                    --misses;
                    harness_click(20, 20);
                    return;
                }
                if (spot_answers.empty()) throw std::runtime_error("spot quiz with no answer");
                const bool right = spot_answers.front();
                spot_answers.pop_front();
                const PicturePoint p = PICTURE_POINTS[right ? q.asked : wrong_point(q.asked)];
                spot_cursor = s32(world_state.cursor_id);
                harness_click(p.x, p.y);
                return;
            }
            const SymbolScreenState& s = symbol_screen_state;
            if (s.up == 2) harness_click(600, 20);
            if (s.up == 1) {
                if (symbol_answers.empty()) throw std::runtime_error("question with no answer");
                const bool right = symbol_answers.front();
                symbol_answers.pop_front();
                const s32 box = right ? s.right_at : (s.right_at + 1) % SYMBOL_CHOICES;
                harness_click(144 + 50 * box + 25, 150);
            }
        });
    }
    void TearDown() override {
        harness_on_present(nullptr);
        CalendarHandlerTest::TearDown();
    }
    static s32 on(s32 k) { return hub_block.place_events[1][4][k].on; }
    static void set(s32 k, s32 v) { hub_block.place_events[1][4][k].on = v; }
    static void expect_record(const PlayerRecord& want) {
        EXPECT_EQ(player_record.skill[14], want.skill[14]);
        EXPECT_EQ(player_record.skill_exp[14], want.skill_exp[14]);
        EXPECT_EQ(player_record.mood, want.mood);
        EXPECT_EQ(std::memcmp(&player_record, &want, sizeof want), 0) << "another field changed";
    }

    std::deque<bool> spot_answers, symbol_answers;
    s32 misses = 0;
    s32 spot_cursor = -1;
};

// The symbol of the item an ingredient needs.
std::vector<s32> recipe_symbols(s32 recipe) {
    std::vector<s32> v;
    const ConsumableEntry* c = consumable_for(CONSUMABLE_FIRST + recipe);
    for (s32 k = 0; c != nullptr && k < INGREDIENT_COUNT && c->ingredients[k].item >= 0; ++k)
        v.push_back(c->ingredients[k].item - 1200);
    return v;
}

// The draws of one question: position p, a taken symbol drawn again, then six free ones.
std::vector<s32> question_draws(s32 right, s32 p) {
    std::vector<s32> d = {p, right};
    for (s32 v = 0, n = 0; n < SYMBOL_CHOICES - 1; ++v)
        if (v != right) {
            d.push_back(v);
            ++n;
        }
    return d;
}

} // namespace

TEST_F(IngredientCourseTest, SpotQuizEndsOnlyOnAPointAndJudgesTheFirstHit) {
    // Points hit within 4 px in x and in y; the first in index order wins where two overlap.
    const struct {
        s32 x, y, point;
    } hits[] = {{323, 161, 0},  {327, 165, 0},  {328, 161, -1}, {323, 168, 1},
                {323, 207, 4},  {323, 212, 5},  {297, 329, 14}, {293, 325, 14},
                {292, 329, -1}, {323, 229, 15}, {10, 10, -1}};
    for (const auto& h : hits) EXPECT_EQ(spot_point_at(h.x, h.y), h.point) << h.x << "," << h.y;

    // Two clicks off every point are ignored; then the asked point, or another.
    dialog_record_draws(true);
    const struct {
        s32 asked;
        bool right;
        s32 result;
    } cases[] = {{8, true, 1}, {8, false, 0}, {14, false, 0}, {2, true, 1}};
    for (const auto& c : cases) {
        misses = 2;
        spot_answers = {c.right};
        EXPECT_EQ(spot_quiz(c.asked), c.result);
        EXPECT_EQ(spot_quiz_state.hit, c.right ? c.asked : wrong_point(c.asked));
        EXPECT_GE(spot_quiz_state.frames, 3u);
        EXPECT_EQ(spot_cursor, 1);
        const u32 cursor = world_state.cursor_id;
        EXPECT_EQ(cursor, 0u);
    }
    for (const TranscriptEntry& d : dialog_draws()) {
        EXPECT_EQ(d.id, 60063);
        EXPECT_EQ(d.x, 169);
        EXPECT_EQ(d.y, 141);
    }
}

TEST_F(IngredientCourseTest, DrillStopsAtTheFirstWrongAnswerOrPaysTheFourth) {
    struct Case {
        std::initializer_list<s32> draws;
        std::deque<bool> answers;
        std::vector<s32> texts;
        std::function<void()> effects;
    };
    const Case cases[] = {
        {{3, 7, 0, 14},
         {true, true, true, true},
         text_join({text_runs({55170, -55172}),
                    {12513, 55193, 12517, 55193, 12510, 55193, 12524, 55193},
                    {55194, 55195}}),
         [] {
             skill_gain(14, 100);
             skill_gain(14, 150);
             skill_gain(14, 200);
             skill_gain(14, 250);
             player_record.mood = 0;
             player_record.mood_turns = 0;
             affection_add(149, 2);
         }},
        {{5, 9},
         {true, false},
         text_join({text_runs({55170, -55172}), {12515, 55193, 12519, 55190, 55191, 55192}}),
         [] {
             skill_gain(14, 100);
             mood_add(-1);
         }},
        {{14},
         {false},
         text_join({text_runs({55170, -55172}), {12524, 55190, 55191, 55192}}),
         [] { mood_add(-1); }},
    };
    for (const Case& c : cases) {
        player_record.mood = 2;
        player_record.mood_turns = 3;
        draws(c.draws);
        spot_answers = c.answers;
        const PlayerRecord want = record_after(c.effects);
        const size_t m = mark();
        spot_drill();
        EXPECT_EQ(texts_from(m), c.texts);
        expect_record(want);
        EXPECT_EQ(draws_left(), 0u);
    }
}

TEST_F(IngredientCourseTest, GateKeepsSilentWarnsOnceOrClosesThePlace) {
    struct Case {
        s32 pending; // 0 none, 1 place 1.4 entry 13, 2 pool B 3, 3 place 1.6 entry 0
        s32 skill15, flag;
        s32 result;
        std::vector<s32> texts;
        s32 flag_after;
        bool closed;
    };
    const Case cases[] = {
        {1, 80, 0, 0, {}, 0, false},
        {2, 80, 0, 0, {}, 0, false},
        {3, 10, 0, 0, {}, 0, false},
        {0, 49, 0, 2, text_runs({12500, -12504}), -1, false},
        {0, 49, -1, 0, {}, -1, false},
        {0, 50, 0, 1, text_join({text_runs({12500, -12503}), {12505}}), 0, true},
        {0, 90, -1, 1, {12506}, 0, true},
    };
    for (const Case& c : cases) {
        for (s32 k = 0; k < 14; ++k) set(k, 1);
        set(13, c.pending == 1 ? 1 : 0);
        hub_block.encounter_pool_b[3].on = c.pending == 2 ? 1 : 0;
        hub_block.place_events[1][6][0].on = c.pending == 3 ? 1 : 0;
        set(14, c.flag);
        hub_block.hub_third_avail[4][1] = 1;
        player_record.skill[15] = c.skill15;
        player_record.mood = 1;
        const size_t m = mark();
        EXPECT_EQ(course_gate(), c.result) << c.skill15;
        EXPECT_EQ(texts_from(m), c.texts);
        EXPECT_EQ(on(14), c.flag_after);
        EXPECT_EQ(on(3), c.closed ? 0 : 1);
        EXPECT_EQ(on(0), c.closed ? 0 : 1);
        EXPECT_EQ(hub_block.hub_third_avail[4][1], c.closed ? 0 : 1);
        const bool spoke = !c.texts.empty();
        EXPECT_EQ(player_record.mood, spoke ? 2 : 1);
        const std::vector<std::string> lines = lines_from(m);
        if (spoke) {
            EXPECT_EQ(lines.front(), "music 10023 1");
        }
    }
}

TEST_F(IngredientCourseTest, SymbolLessonShowsEachSymbolOfItsRow) {
    // Row 2: symbols 5, 14, 16, 17 and 26, each framed in turn with its name and description.
    text_reveal_limit = 25;
    dialog_record_draws(true);
    const PlayerRecord want = record_after([] { skill_gain(14, 500); });
    const size_t m = mark();
    symbol_lesson(2);
    EXPECT_EQ(texts_from(m), (std::vector<s32>{55210, 55211, 55214, 55216}));
    expect_record(want);
    EXPECT_EQ(text_reveal_limit, 25);
    const s32 row[] = {5, 14, 16, 17, 26};
    std::vector<s32> frames, names;
    for (const TranscriptEntry& e : dialog_transcript()) {
        if (e.kind == TRANSCRIPT_DRAW && e.id == 25295) frames.push_back(e.x);
        if (e.kind == TRANSCRIPT_PRINT && e.y == 355) names.push_back(e.text[0]);
        if (e.kind == TRANSCRIPT_PRINT && e.y == 379) {
            ASSERT_FALSE(names.empty());
            EXPECT_EQ(e.text[0], names.back() - 6200 + 55270);
        }
    }
    EXPECT_EQ(frames, (std::vector<s32>{139, 189, 239, 289, 339}));
    std::vector<s32> want_names;
    for (s32 sym : row) want_names.push_back(6200 + sym);
    EXPECT_EQ(names, want_names);
    EXPECT_EQ(symbol_screen_state.frames, 5u);
}

TEST_F(IngredientCourseTest, SymbolTestAsksTheIngredientsOrThreeRandomSymbols) {
    const std::vector<s32> symbols = recipe_symbols(0);
    ASSERT_FALSE(symbols.empty());
    ASSERT_LE(symbols.size(), 5u);
    EXPECT_EQ(symbol_box_at(144, 117), 0);
    EXPECT_EQ(symbol_box_at(194, 184), 0); // where boxes meet the lower wins
    EXPECT_EQ(symbol_box_at(195, 150), 1);
    EXPECT_EQ(symbol_box_at(494, 150), 6);
    EXPECT_EQ(symbol_box_at(495, 150), -1);
    EXPECT_EQ(symbol_box_at(300, 185), -1);
    EXPECT_EQ(symbol_box_at(300, 116), -1);

    // Every ingredient answered right: passed, 100 experience each.
    dialog_record_draws(true);
    for (size_t k = 0; k < symbols.size(); ++k) {
        const std::vector<s32> d = question_draws(symbols[k], s32(k % 7));
        for (s32 v : d) draws({v});
        symbol_answers.push_back(true);
    }
    PlayerRecord want = record_after([&] {
        for (size_t k = 0; k < symbols.size(); ++k) skill_gain(14, 100);
    });
    EXPECT_EQ(symbol_test(0), 1);
    expect_record(want);
    EXPECT_EQ(draws_left(), 0u);
    EXPECT_EQ(symbol_screen_state.question, s32(symbols.size()));
    // The asked name is the item's name text.
    bool asked_item = false;
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == TRANSCRIPT_PRINT && e.y == 379 && e.text[0] == 5000 + 1200 + symbols[0])
            asked_item = true;
    EXPECT_TRUE(asked_item);

    // The second question answered wrong: the right symbol framed red, line 55224, failed.
    if (symbols.size() >= 2) {
        dialog_record_draws(true);
        for (s32 k = 0; k < 2; ++k)
            for (s32 v : question_draws(symbols[size_t(k)], 4)) draws({v});
        symbol_answers = {true, false};
        want = record_after([] { skill_gain(14, 100); });
        EXPECT_EQ(symbol_test(0), 0);
        expect_record(want);
        bool framed = false, said = false;
        for (const TranscriptEntry& e : dialog_transcript()) {
            if (e.kind == TRANSCRIPT_DRAW && e.id == 25294 && e.x == 139 + 200 && e.y == 112)
                framed = true;
            if (e.kind == TRANSCRIPT_PRINT && e.text[0] == 55224 && e.x == 89 && e.y == 403)
                said = true;
        }
        EXPECT_TRUE(framed);
        EXPECT_TRUE(said);
    }

    // Random mode: three questions; the right one from 0..36, the others from 0..37.
    for (s32 right : {36, 0, 12}) {
        draws({right});
        std::vector<s32> d = question_draws(right, 6);
        d[1] = 37; // symbol 37 may stand among the wrong ones: it takes position 0
        d.pop_back();
        for (s32 v : d) draws({v});
        symbol_answers.push_back(true);
    }
    EXPECT_EQ(symbol_test(-1), 1);
    EXPECT_EQ(symbol_screen_state.question, 3);
    EXPECT_EQ(symbol_screen_state.choice[0], 37);
    EXPECT_EQ(draws_left(), 0u);
}

TEST_F(IngredientCourseTest, CandidateRecipesFollowTheirOrderAndThresholds) {
    struct Case {
        std::vector<s32> known;
        s32 skill14;
        s32 recipe;
    };
    const Case cases[] = {
        {{}, 40, -1},
        {{}, 41, 0},
        {{50}, 41, 4},
        {{50, 54, 55}, 60, -1},
        {{50, 54, 55}, 61, 7},
        {{50, 54, 55, 57, 58, 59}, 80, -1},
        {{50, 54, 55, 57, 58, 59}, 81, 13},
        {{50, 54, 55, 57, 58, 59, 63}, 90, -1},
        {{50, 54, 55, 57, 58, 59, 63}, 91, 3},
        {{50, 54, 55, 57, 58, 59, 63, 53}, 100, -1},
    };
    for (const Case& c : cases) {
        for (auto& e : player_record.known[14]) e.id = -1;
        for (s32 id : c.known) known_add(14, id);
        player_record.skill[14] = c.skill14;
        EXPECT_EQ(course_recipe(), c.recipe) << c.skill14;
    }
}

TEST_F(IngredientCourseTest, ExcursionsRunTheirEventOrTheDrill) {
    struct Case {
        s32 slot, entry;
        std::initializer_list<s32> draws;
        std::deque<bool> answers;
        std::vector<s32> texts;
        s32 own_after;
        std::function<void()> effects;
        std::function<void()> check = [] {};
    };
    const std::vector<s32> out = {55196};
    const Case cases[] = {
        {69, 2, {0}, {false}, text_join({out, text_runs({11672, -11678}), {11639}}), 0, [] {}},
        {69,
         2,
         {7},
         {true},
         text_join(
             {out, text_runs({11672, -11677}), {11679, 11638}, text_runs({11680, -11685}), {214}}),
         0,
         [] { skill_gain(14, 500); }},
        {69,
         2,
         {8, 4},
         {false},
         text_join({text_runs({55170, -55172}), {12514, 55190, 55191, 55192}}),
         1,
         [] { mood_add(-1); }},
        {70, 3, {1}, {false}, text_join({out, text_runs({11690, -11696}), {11639}}), 0, [] {}},
        {70,
         3,
         {1},
         {true},
         text_join({out, text_runs({11690, -11695}), text_runs({11697, -11699}), {214}}),
         0,
         [] {
             skill_gain(14, 500);
             inv_add(1907, 1);
         }},
        {71,
         4,
         {2},
         {true},
         text_join({out, text_runs({11700, -11710})}),
         0,
         [] {},
         [] { EXPECT_EQ(hub_block.place_events[1][4][5].on, 1); }},
        {71,
         4,
         {2},
         {false},
         text_join({out, text_runs({11700, -11710})}),
         0,
         [] {},
         [] { EXPECT_EQ(hub_block.place_events[1][4][5].on, 0); }},
        {72,
         5,
         {3},
         {},
         text_join({out, text_runs({11711, -11716}), {234, 214}}),
         0,
         [] {
             inv_add(2066, 1);
             skill_gain(14, 500);
             player_record.mood = 0;
             player_record.mood_turns = 0;
         }},
        {73, 6, {4}, {false}, text_join({out, text_runs({11720, -11725}), {11639}}), 0, [] {}},
        {73,
         6,
         {5},
         {true},
         text_join({out, text_runs({11720, -11724}), text_runs({11726, -11729}), {214}}),
         0,
         [] {
             skill_gain(14, 500);
             inv_add(1881, 5);
         },
         [] { EXPECT_EQ(hub_block.encounter_pool_b[0].on, 0); }},
        {97,
         13,
         {7},
         {},
         text_runs({55750, -55765}),
         0,
         [] {},
         [] { EXPECT_EQ(hub_block.encounter_pool_b[3].on, 1); }},
        {97,
         13,
         {9, 0},
         {false},
         text_join({text_runs({55170, -55172}), {12510, 55190, 55191, 55192}}),
         1,
         [] { mood_add(-1); }},
    };
    for (const Case& c : cases) {
        set(c.entry, 1);
        set(5, 0);
        hub_block.encounter_pool_b[0].on = 1;
        hub_block.encounter_pool_b[3].on = 0;
        player_record.skill[14] = 30;
        player_record.mood = 2;
        draws(c.draws);
        spot_answers = c.answers;
        const PlayerRecord want = record_after(c.effects);
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), c.texts) << c.slot;
        EXPECT_EQ(on(c.entry), c.own_after) << c.slot;
        expect_record(want);
        c.check();
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(hub_block.scene_backdrop, 60421);
    }
}

TEST_F(IngredientCourseTest, IntroductionAndFirstLessonOpenTheCourse) {
    // Slot 067: the spot question decides the lines, the acquaintance bonus and the pool B entry.
    const struct {
        bool right;
        std::vector<s32> texts;
        s32 pool_b;
    } cases[] = {
        {true,
         text_join({{55100},
                    text_runs({55101, -55105}),
                    text_runs({55110, -55116}),
                    text_runs({55120, -55140})}),
         8},
        {false, text_join({{55100}, text_runs({55101, -55105}), text_runs({55150, -55164})}), 9},
    };
    for (const auto& c : cases) {
        player_record.skill[14] = 10;
        set(0, 1);
        set(1, 0);
        hub_block.encounter_pool_b[8].on = 0;
        hub_block.encounter_pool_b[9].on = 0;
        spot_answers = {c.right};
        const size_t m = mark();
        run_slot(67);
        EXPECT_EQ(texts_from(m), c.texts);
        EXPECT_EQ(spot_quiz_state.asked, 2);
        EXPECT_EQ(on(0), 0);
        EXPECT_EQ(on(1), 1);
        EXPECT_EQ(hub_block.encounter_pool_b[c.pool_b].on, 1);
        EXPECT_EQ(hub_block.encounter_pool_a[2].on, 1);
        EXPECT_EQ(acquaint_has(40), 1);
    }

    // Slot 068: the first lesson opens nine entries at once.
    for (s32 k = 0; k < 14; ++k) set(k, 0);
    set(1, 1);
    player_record.skill[14] = 10;
    const PlayerRecord want = record_after([] {
        skill_gain(14, 500);
        for (s32 k = 2; k <= 6; ++k) known_add(14, k);
    });
    const size_t m = mark();
    run_slot(68);
    EXPECT_EQ(texts_from(m), text_join({text_runs({11640, -11655}), {214}}));
    expect_record(want);
    std::vector<s32> open;
    for (s32 k = 0; k < 15; ++k)
        if (on(k) == 1) open.push_back(k);
    EXPECT_EQ(open, (std::vector<s32>{2, 3, 4, 6, 7, 8, 9, 10, 13}));
}

TEST_F(IngredientCourseTest, LessonsOpenTheTestWhoseLastRecipeOpensTheFarewell) {
    // The four lessons close themselves; the last one done opens entry 11.
    for (s32 k = 7; k <= 10; ++k) set(k, 1);
    const s32 order[][2] = {{63, 9}, {61, 7}, {64, 10}, {62, 8}};
    for (const auto& [slot, entry] : order) {
        EXPECT_EQ(on(11), 0);
        const size_t m = mark();
        run_slot(slot);
        EXPECT_EQ(texts_from(m)[2], 55212 + entry - 7);
        EXPECT_EQ(on(entry), 0);
    }
    EXPECT_EQ(on(11), 1);

    // Slot 065: (a) failed, (b) passed in random mode, (c) passed with a recipe; recipe 3 opens
    // the farewell.
    struct Case {
        std::vector<s32> known;
        s32 skill14;
        s32 recipe;
        bool pass;
        std::vector<s32> after_test;
        s32 entry11, entry12;
    };
    const std::vector<s32> all_but_3 = {50, 54, 55, 57, 58, 59, 63};
    const Case cases[] = {
        {{}, 50, 0, false, {55225}, 1, 0},
        {{}, 50, 0, true, {55226, 55350, 55349}, 1, 0},
        {all_but_3, 95, 3, true, {55226, 55353, 55349}, 0, 1},
        {{}, 10, -1, true, {55227}, 1, 0},
    };
    for (const Case& c : cases) {
        for (auto& e : player_record.known[14]) e.id = -1;
        for (s32 id : c.known) known_add(14, id);
        player_record.skill[14] = c.skill14;
        set(11, 1);
        set(12, 0);
        const std::vector<s32> symbols =
            c.recipe >= 0 ? recipe_symbols(c.recipe) : std::vector<s32>{3, 4, 5};
        for (size_t k = 0; k < symbols.size(); ++k) {
            if (c.recipe < 0) draws({symbols[k]});
            for (s32 v : question_draws(symbols[k], 0)) draws({v});
            symbol_answers.push_back(c.pass || k + 1 < symbols.size());
        }
        const PlayerRecord want = record_after([&] {
            for (size_t k = 0; k + (c.pass ? 0 : 1) < symbols.size(); ++k) skill_gain(14, 100);
            if (c.pass && c.recipe >= 0) {
                known_add(14, 50 + c.recipe);
                skill_gain(14, 500);
            }
        });
        const size_t m = mark();
        run_slot(65);
        EXPECT_EQ(texts_from(m), text_join({text_runs({55220, -55222}), c.after_test})) << c.recipe;
        expect_record(want);
        EXPECT_EQ(on(11), c.entry11);
        EXPECT_EQ(on(12), c.entry12);
        EXPECT_EQ(draws_left(), 0u);
    }

    // Slot 066: the farewell closes the place.
    set(12, 1);
    const size_t m = mark();
    run_slot(66);
    EXPECT_EQ(texts_from(m), text_runs({55260, -55262}));
    EXPECT_EQ(on(12), 0);
    EXPECT_EQ(hub_block.hub_third_avail[4][1], 0);
}
