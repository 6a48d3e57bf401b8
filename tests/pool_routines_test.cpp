// The routines of the pool meetings: the number-calling game's hand rule, buttons and whole
// games played by clicks on its own buttons with forced draws; the game's screens whatever text
// state its caller left; the ring-game battle's three ways and its schedule write; the item
// picker by a click on a name.
#include "calendar/pool_routines.h"

#include "data/hub_block.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/transcript.h"
#include "game/dashboard.h"
#include "game/inventory.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/cal_pool_fixture.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using Texts = std::vector<s32>;

// The transcript entries of `kind` from `mark` on: their ids (sounds) or texts (prints).
std::vector<s32> entries_from(size_t mark, s32 kind) {
    std::vector<s32> out;
    const std::vector<TranscriptEntry>& all = dialog_transcript();
    for (size_t i = mark; i < all.size(); ++i)
        if (all[i].kind == kind)
            out.push_back(kind == TRANSCRIPT_SOUND ? all[i].id : all[i].text[0]);
    return out;
}

class PoolRoutinesTest : public PoolHandlerTest {};

// ---- Number-calling game -----------------------------------------------------------------------

TEST_F(PoolRoutinesTest, HandsFollowTheCall) {
    struct Case {
        s32 call;
        std::initializer_list<s32> draw;
        s32 hand;
    };
    const Case cases[] = {
        {0, {}, 0},  {1, {0}, 0}, {3, {2}, 2}, {5, {4}, 4},
        {6, {0}, 1}, {6, {4}, 5}, {9, {1}, 5}, {10, {0}, 5},
    };
    for (const Case& c : cases) {
        draws(c.draw);
        EXPECT_EQ(sum_guess_hand(c.call), c.hand) << "call " << c.call;
        EXPECT_EQ(draws_left(), 0u) << "call " << c.call;
    }
}

TEST_F(PoolRoutinesTest, ButtonBoxesIncludeTheirEdges) {
    struct Case {
        s32 x, y, button;
    };
    const Case cases[] = {
        {34, 403, 0},   {130, 419, 0},  {131, 403, -1}, {33, 410, -1}, {34, 420, -1},
        {138, 403, 1},  {450, 403, 4},  {546, 419, 4},  {34, 423, 5},  {138, 443, 11},
        {242, 443, -1}, {234, 459, 11}, {138, 460, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sum_guess_button_at(c.x, c.y), c.button) << c.x << ", " << c.y;
}

struct GameCase {
    const char* what;
    s32 skill22, affection;
    std::vector<s32> clicks;
    std::initializer_list<s32> draws, answers;
    Texts texts;
    s32 outcome, wins, losses, affection_after, exp_gain;
    bool friend_made;
};

TEST_F(PoolRoutinesTest, GamesEndByTheirOutcomes) {
    const Texts go_on = {11347, 11345, 11346};
    const GameCase cases[] = {
        // Leaving draws nothing more, reveals nothing and scores nothing.
        {"leave at once",
         10,
         10,
         {SUM_GUESS_LEAVE},
         {0},
         {},
         {11319, 222},
         SUM_GUESS_LEFT,
         0,
         0,
         10,
         300,
         false},
        // Call 3: hand 1 (draw 1 below 3); partner calls 7 with hand 2 + 0; only the protagonist
        // is right; then stops.
        {"won a call, then stopped",
         10,
         10,
         {3},
         {0, 1, 7, 0, 9},
         {1},
         cat({go_on, {11317, 222}}),
         SUM_GUESS_STOPPED,
         1,
         0,
         11,
         500,
         false},
        // Capacity 20; call 4 with hand 3, partner calls 5 with hand 2: the partner is right and
        // the drink (5 + 24) goes past the capacity.
        {"over capacity",
         0,
         10,
         {4},
         {0, 3, 5, 2, 0, 24},
         {},
         {11316, 11317, 222},
         SUM_GUESS_OVER_CAPACITY,
         0,
         1,
         10,
         400,
         false},
        // Both right (3 = 1 + 2 = the partner's call 3): the next call follows at once. Skill 22
        // at 100: the experience is added, no growth line.
        {"both right, skill at the top",
         100,
         10,
         {3, SUM_GUESS_LEAVE},
         {0, 1, 3, 2, 0},
         {},
         {11319},
         SUM_GUESS_LEFT,
         0,
         0,
         10,
         300,
         false},
        {"friendship",
         80,
         49,
         {3},
         {0, 1, 7, 0, 9},
         {0},
         cat({go_on, {56050, 56058, 56061, 56062, 222}}),
         SUM_GUESS_FRIENDSHIP,
         1,
         0,
         50,
         500,
         true},
        {"friendship met, but the player stops",
         80,
         49,
         {3},
         {0, 1, 7, 0, 9},
         {1},
         cat({go_on, {11317, 222}}),
         SUM_GUESS_STOPPED,
         1,
         0,
         50,
         500,
         false},
    };
    for (const GameCase& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        PlayerRecord& p = player_record;
        p.skill[22] = c.skill22;
        p.skill[2] = p.skill[7] = 5;
        p.affection[202] = c.affection;
        hub_block.encounter_pool_c[1].on = 1;
        const s32 exp = p.skill_exp[22];
        draws(c.draws);
        answers(c.answers);
        sum_guess_plan(c.clicks);
        const size_t m = mark();
        sum_guess_game(202);
        EXPECT_EQ(texts_from(m), c.texts);
        const SumGuessState& st = sum_guess_state;
        EXPECT_EQ(st.outcome, c.outcome);
        EXPECT_EQ(st.wins, c.wins);
        EXPECT_EQ(st.losses, c.losses);
        EXPECT_EQ(p.affection[202], c.affection_after);
        if (c.skill22 == 100) {
            EXPECT_EQ(p.skill_exp[22], exp + c.exp_gain);
        }
        EXPECT_EQ(p.story_flags[SUM_GUESS_FLAG], c.friend_made ? 1 : 0);
        EXPECT_EQ(hub_block.encounter_pool_c[1].on, c.friend_made ? 0 : 1);
        if (c.friend_made) {
            EXPECT_EQ(known_has(2, 53), 1);
        }
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(dialog_answers_left(), 0u);
    }
}

TEST_F(PoolRoutinesTest, TheRevealShowsBothCallsAndPlaysTheSoundsOfWhoWasRight) {
    player_record.skill[22] = 10;
    player_record.affection[202] = 10;
    dialog_record_draws(true);
    draws({0, 1, 7, 0, 9});
    answers({1});
    sum_guess_plan({3});
    const size_t m = mark();
    sum_guess_game(202);
    const std::vector<s32> prints = entries_from(m, TRANSCRIPT_PRINT);
    EXPECT_NE(std::find(prints.begin(), prints.end(), SUM_GUESS_OWN_CALL + 3), prints.end());
    EXPECT_NE(std::find(prints.begin(), prints.end(), SUM_GUESS_PARTNER_CALL + 7), prints.end());
    const std::vector<s32> sounds = entries_from(m, TRANSCRIPT_SOUND);
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[0], 250 + 3 * 3); // the protagonist alone was right
    EXPECT_EQ(sounds[1], 201 + 3 * 7);
}

TEST_F(PoolRoutinesTest, LeavingShowsNoRevealAndDrawsNoHands) {
    dialog_record_draws(true);
    draws({0});
    sum_guess_plan({SUM_GUESS_LEAVE});
    const size_t m = mark();
    sum_guess_game(202);
    for (s32 t : entries_from(m, TRANSCRIPT_PRINT))
        EXPECT_FALSE(t >= SUM_GUESS_OWN_CALL && t <= SUM_GUESS_PARTNER_CALL + 10) << t;
    EXPECT_TRUE(entries_from(m, TRANSCRIPT_SOUND).empty());
    EXPECT_EQ(draws_left(), 0u);
}

// The prompts and calls print in their own size, style and colour, not in whatever the drawing
// before them left: the text state is read at the moment each of them is printed.
struct PrintState {
    s32 text, size, style, colour;
};
std::vector<PrintState> print_states;
TranscriptObserver driver_observer = nullptr;
s32 state_recorder(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_PRINT)
        print_states.push_back({e.text[0], kanji_size, kanji_style, kanji_colour_main_555});
    return driver_observer(e);
}

TEST_F(PoolRoutinesTest, PromptsAndCallsPrintInTheirOwnTextStyle) {
    player_record.skill[22] = 10;
    player_record.affection[202] = 10;
    dialog_record_draws(true);
    driver_observer = transcript_observer;
    transcript_observer = state_recorder;
    print_states.clear();
    text_size(8);
    text_style(5);
    text_colour(3, 3, 3);
    // One call won and the game stopped: the choosing screen and the reveal.
    draws({0, 1, 7, 0, 9});
    answers({1});
    sum_guess_plan({3});
    sum_guess_game(202);
    transcript_observer = driver_observer;
    const s32 white = (31 << 10) | (31 << 5) | 31;
    s32 checked = 0;
    for (const PrintState& p : print_states) {
        const bool own = p.text == SUM_GUESS_PROMPT || p.text == SUM_GUESS_OWN_CALL + 3 ||
                         p.text == SUM_GUESS_PARTNER_CALL + 7;
        if (!own) continue;
        ++checked;
        EXPECT_EQ(p.size, (24 - 8) / 4) << p.text;
        EXPECT_EQ(p.style, 2) << p.text;
        EXPECT_EQ(p.colour, white) << p.text;
    }
    EXPECT_GE(checked, 3);
}

// ---- Ring-game battle --------------------------------------------------------------------------

TEST_F(PoolRoutinesTest, RingBattleDeclinedClosesOnlyTheOffer) {
    player_record.affection[40] = 80;
    hub_block.encounter_pool_b[8].on = 1;
    hub_block.encounter_pool_b[9].on = 1;
    hub_block.turns_consumed = 3;
    answers({1});
    const PoolSnapshot before = pool_snapshot();
    const size_t m = mark();
    light_ring_battle();
    EXPECT_EQ(texts_from(m), (Texts{13304, 13305, 13345, 13346}));
    EXPECT_EQ(pool_changes(before), (std::vector<std::string>{"B8 off"}));
    EXPECT_EQ(player_record.affection[40], 75);
    EXPECT_EQ(hub_block.turns_consumed, 1);
    EXPECT_TRUE(ring_games().empty());
    EXPECT_TRUE(fought().empty());
}

TEST_F(PoolRoutinesTest, RingBattleWonSchedulesTheFollowUpFiveTurnsOnOverWhateverStoodThere) {
    for (bool prizes : {false, true}) {
        SCOPED_TRACE(prizes ? "with the prizes" : "without");
        fresh();
        PlayerRecord& p = player_record;
        p.affection[40] = 80;
        p.fame = 100;
        hub_block.calendar_turn = 30;
        hub_block.turn_events_after[35] = 99;
        hub_block.encounter_pool_b[8].on = 1;
        hub_block.encounter_pool_b[9].on = 1;
        on_ring_game([prizes] {
            if (!prizes) return;
            inv_add(1201, 4);
            inv_add(1207, 4);
        });
        answers({0});
        battles({1});
        const size_t games = ring_games().size(), fights = fought().size();
        const PoolSnapshot before = pool_snapshot();
        const size_t m = mark();
        light_ring_battle();
        const Texts prize_line = prizes ? Texts{13313} : Texts{};
        EXPECT_EQ(texts_from(m), cat({{13304, 13305},
                                      run(13306, 13312),
                                      prize_line,
                                      run(13314, 13328),
                                      {56626},
                                      run(13329, 13332),
                                      run(13400, 13401),
                                      run(13404, 13410)}));
        ASSERT_EQ(ring_games().size(), games + 1);
        EXPECT_EQ(ring_games().back(), (std::vector<s32>{1, 7, -1, -1, -1, -1, -1, -1}));
        ASSERT_EQ(fought().size(), fights + 1);
        EXPECT_EQ(fought().back(), RING_BATTLE_ENCOUNTER);
        EXPECT_EQ(hub_block.turn_events_after[35], RING_BATTLE_FOLLOW_UP);
        EXPECT_EQ(pool_changes(before), (std::vector<std::string>{"B8 off", "B9 off"}));
        EXPECT_EQ(p.affection[40], 93);
        EXPECT_EQ(p.fame, 104);
        EXPECT_EQ(hub_block.scene_backdrop, 60426);
        on_ring_game(nullptr);
    }
}

TEST_F(PoolRoutinesTest, RingBattleLostInjures) {
    PlayerRecord& p = player_record;
    p.affection[40] = 80;
    hub_block.calendar_turn = 30;
    const s32 after_35 = hub_block.turn_events_after[35];
    hub_block.encounter_pool_b[8].on = 1;
    hub_block.encounter_pool_b[9].on = 1;
    answers({0});
    battles({2});
    draws({2});
    const size_t m = mark();
    light_ring_battle();
    EXPECT_EQ(texts_from(m), cat({{13304, 13305},
                                  run(13306, 13312),
                                  run(13314, 13321),
                                  run(13333, 13339),
                                  {56626},
                                  run(13340, 13344),
                                  {472}}));
    EXPECT_EQ(p.story_flags[12], 2);
    EXPECT_EQ(p.sick_turns, 4);
    EXPECT_EQ(p.condition, 5);
    EXPECT_EQ(p.affection[40], 88);
    EXPECT_EQ(hub_block.turn_events_after[35], after_35);
    EXPECT_EQ(hub_block.encounter_pool_b[8].on, 0);
    EXPECT_EQ(hub_block.encounter_pool_b[9].on, 0);
}

// ---- Item picker -------------------------------------------------------------------------------

TEST_F(PoolRoutinesTest, ItemPickerListsTheOwnedNamesAndReturnsTheClickedOne) {
    inv_add(1401, 1);
    inv_add(1405, 2);
    dialog_record_draws(true);
    harness_click(ITEM_PICKER_X + ITEM_PICKER_DX + 3, 400); // the second name, far below its top
    const size_t m = mark();
    EXPECT_EQ(item_picker(), 1405);
    const std::vector<TranscriptEntry>& all = dialog_transcript();
    std::vector<std::pair<s32, s32>> printed;
    for (size_t i = m; i < all.size(); ++i)
        if (all[i].kind == TRANSCRIPT_PRINT) printed.push_back({all[i].text[0], all[i].x});
    ASSERT_GE(printed.size(), 2u);
    EXPECT_EQ(printed[0], (std::pair<s32, s32>{ITEM_PICKER_NAMES + 1401, ITEM_PICKER_X}));
    EXPECT_EQ(printed[1],
              (std::pair<s32, s32>{ITEM_PICKER_NAMES + 1405, ITEM_PICKER_X + ITEM_PICKER_DX}));
}

TEST_F(PoolRoutinesTest, ItemPickerWithNothingToPickReturnsAtOnce) {
    for (s32 id = ITEM_PICKER_FIRST; id <= ITEM_PICKER_LAST; ++id) inv_remove(id, 1000);
    EXPECT_EQ(item_picker(), -1);
}

} // namespace
