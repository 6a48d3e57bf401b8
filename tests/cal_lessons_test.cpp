// The lesson course of place 1.1: the lessons read once or again, the exams refused, failed and
// passed by kind, and the seventeen entries run in order.
#include "calendar/frame.h"
#include "calendar/lessons.h"
#include "game/growth.h"
#include "game/player.h"
#include "tests/calendar_fixture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr s32 LOW_POOL = -1000000; // a pool this low keeps every gain without a level bought

class CalLessonsTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        for (s32 g : {8, 11, 30}) growth_pool(g) = LOW_POOL;
        player_record.mood = 2;
        hub_block.turns_consumed = -7;
    }
    // Place 1.1 entry k.
    static EventEntry& entry(s32 k) { return hub_block.place_events[1][1][k]; }
    static s32 gained(s32 g) { return growth_pool(g) - LOW_POOL; }
    // Only entry k of the place is open.
    static void open_only(s32 k) {
        for (s32 i = 0; i < HUB_PLACE_POOL_SIZE; i++) entry(i).on = i == k ? 1 : 0;
    }
    static std::vector<s32> open_entries() {
        std::vector<s32> v;
        for (s32 i = 0; i < HUB_PLACE_POOL_SIZE; i++)
            if (entry(i).on == 1) v.push_back(i);
        return v;
    }
};

std::vector<s32> run(s32 first, s32 last) {
    std::vector<s32> v;
    for (s32 t = first; t <= last; t++) v.push_back(t);
    return v;
}

void append(std::vector<s32>& v, const std::vector<s32>& more) {
    v.insert(v.end(), more.begin(), more.end());
}

s32 inv_count(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

// The transcript lines that are not hub_say / hub_choose: sounds, travels, summaries.
std::vector<std::string> scene_lines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind("sound", 0) == 0 || l == "hub_travel" || l.rfind("hub_say_lines", 0) == 0)
            out.push_back(l);
    return out;
}

} // namespace

TEST_F(CalLessonsTest, IntroductionShowsItsPicturesAndOpensTheFirstLessonAndTwoMenus) {
    open_only(0);
    hub_block.hub_menu_avail[5][1] = 0;
    hub_block.hub_menu_avail[0][4] = 0;
    const size_t m = mark();
    run_slot(80);
    EXPECT_EQ(texts_from(m), run(55950, 55975));
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_EQ(lines[0], "hub_say 0 0 -1 55950");
    EXPECT_EQ(lines[2], "hub_travel");
    EXPECT_EQ(lines[7], "hub_say 1 0 140 55956 over 63279 200 55");
    for (s32 k = 0; k < 7; k++) {
        const std::string over = " over " + std::to_string(63280 + k) + " 200 55";
        EXPECT_EQ(lines[size_t(11 + 2 * k)],
                  "hub_say 1 0 140 " + std::to_string(55960 + 2 * k) + over);
        EXPECT_EQ(lines[size_t(12 + 2 * k)],
                  "hub_say 1 0 140 " + std::to_string(55961 + 2 * k) + over);
    }
    EXPECT_EQ(lines.back(), "hub_say 1 0 140 55975");
    EXPECT_EQ(hub_block.scene_backdrop, 60421);
    EXPECT_EQ(open_entries(), std::vector<s32>{1});
    EXPECT_EQ(hub_block.hub_menu_avail[5][1], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[0][4], 1);
    EXPECT_EQ(hub_block.turns_consumed, -7);
}

TEST_F(CalLessonsTest, EveryLessonShowsItsPagesThenOpensTheNextEntry) {
    // The course's twelve lessons by entry: first text, the teacher's opening lines, first page
    // text, pages, first picture, skill 11's experience, attribute 30 trained by a single reading.
    struct Lesson {
        s32 step, t, intro, page, pages, picture, exp, reading;
    };
    const Lesson lessons[] = {
        {1, 12000, 3, 12004, 8, 63100, 500, 0},     {2, 12020, 2, 12023, 10, 63110, 200, 300},
        {3, 12040, 2, 12043, 14, 63120, 200, 300},  {4, 12060, 2, 12063, 16, 63140, 200, 300},
        {6, 12080, 2, 12083, 16, 63160, 300, 300},  {7, 12100, 2, 12103, 6, 63180, 300, 300},
        {8, 12120, 2, 12123, 10, 63190, 300, 300},  {9, 12140, 2, 12143, 12, 63200, 300, 300},
        {11, 12160, 2, 12163, 10, 63220, 400, 300}, {12, 12180, 2, 12183, 4, 63230, 400, 300},
        {13, 12200, 2, 12203, 18, 63240, 400, 300}, {14, 12240, 2, 12243, 16, 63260, 400, 300},
    };
    for (const Lesson& l : lessons) {
        SCOPED_TRACE(l.step);
        for (s32 g : {11, 30}) growth_pool(g) = LOW_POOL;
        open_only(l.step);
        hub_block.scene_backdrop = 60407;
        answers({0});
        const size_t m = mark();
        run_slot(80 + l.step);
        std::vector<s32> texts = run(l.t, l.t + l.intro);
        append(texts, run(l.page, l.page + l.pages - 1));
        append(texts, {12012, 12013, 12014});
        EXPECT_EQ(texts_from(m), texts);
        const std::vector<std::string> lines = lines_from(m);
        const size_t first_page = size_t(l.intro + 1);
        EXPECT_EQ(lines[0], "hub_say 0 0 -1 " + std::to_string(l.t));
        for (s32 j = 0; j < l.pages; j++)
            EXPECT_EQ(lines[first_page + size_t(j)], "hub_say 1 0 140 " +
                                                         std::to_string(l.page + j) + " over " +
                                                         std::to_string(l.picture + j) + " 200 55");
        EXPECT_EQ(lines.back(), "hub_choose 0 0 140 12013 12014 0 0 -> 0");
        EXPECT_EQ(gained(11), l.exp);
        EXPECT_EQ(gained(30), l.reading);
        EXPECT_EQ(hub_block.scene_backdrop, 60421);
        EXPECT_EQ(open_entries(), std::vector<s32>{l.step + 1});
    }
}

TEST_F(CalLessonsTest, ReadingALessonAgainShowsItAgainAndTrainsLess) {
    struct Case {
        std::vector<s32> choices; // 1 = read again, 0 = done
        s32 reading_exp;
    };
    const Case cases[] = {
        {{0}, 300}, {{1, 0}, 200}, {{1, 1, 0}, 100}, {{1, 1, 1, 0}, 0}, {{1, 1, 1, 1, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choices.size());
        for (s32 g : {11, 30}) growth_pool(g) = LOW_POOL;
        dialog_answers(c.choices);
        const size_t m = mark();
        illustrated_lesson(9); // four pages
        std::vector<s32> texts = {12180, 12181, 12182};
        for (size_t i = 0; i < c.choices.size(); i++)
            append(texts, {12183, 12184, 12185, 12186, 12012, 12013, 12014});
        EXPECT_EQ(texts_from(m), texts);
        EXPECT_EQ(gained(11), 400);
        EXPECT_EQ(gained(30), c.reading_exp);
    }
    // A lesson number outside 1..11 shows nothing.
    const size_t m = mark();
    illustrated_lesson(0);
    illustrated_lesson(12);
    EXPECT_TRUE(texts_from(m).empty());
}

TEST_F(CalLessonsTest, ExamBelowItsRequirementIsRefusedAndChangesNothing) {
    struct Case {
        s32 slot, draw, skill, refusal;
    };
    const Case cases[] = {
        {85, 3, 39, 12302}, // exam 1 asks questions 0..3, which need 40
        {90, 0, 59, 12303}, // exam 2: question 4 needs 60
        {95, 3, 79, 12304}, // exam 3: question 11 needs 80
        {96, 8, 79, 12304}, // the final exam may ask a question of exam 3
        {96, 4, 59, 12303},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        player_record.skill[11] = c.skill;
        const s32 own = c.slot - 80;
        open_only(own);
        draws({c.draw});
        const PlayerRecord before = player_record;
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), (std::vector<s32>{12300, 12301, c.refusal}));
        EXPECT_EQ(lines_from(m)[2], "hub_travel");
        EXPECT_EQ(open_entries(), std::vector<s32>{own});
        EXPECT_EQ(player_record.mood, before.mood);
        EXPECT_EQ(player_record.skill_exp[11], before.skill_exp[11]);
        EXPECT_EQ(draws_left(), 0u);
    }
}

TEST_F(CalLessonsTest, WrongAnswerCostsMoodAndTheExamComesAgain) {
    player_record.skill[11] = 80;
    for (s32 slot : {85, 90, 95, 96}) {
        SCOPED_TRACE(slot);
        player_record.mood = 2;
        const s32 own = slot - 80;
        open_only(own);
        draws({1});
        const s32 q = slot == 85 ? 1 : slot == 90 ? 5 : slot == 95 ? 9 : 1;
        answers({0}); // question q's right option is q mod 4 = 1
        const size_t m = mark();
        run_slot(slot);
        std::vector<s32> texts = {12300, 12301, 12310 + 5 * q};
        append(texts, run(12311 + 5 * q, 12314 + 5 * q));
        append(texts, {12306, 284});
        EXPECT_EQ(texts_from(m), texts);
        const std::vector<std::string> lines = lines_from(m);
        const LessonQuestion& lq = LESSON_QUESTION_TABLE[q];
        const std::string over = " over " + std::to_string(lq.picture) + " 200 55";
        EXPECT_EQ(lines[3], "hub_say 1 0 140 " + std::to_string(12310 + 5 * q) + over);
        EXPECT_EQ(lines[4], "hub_choose 0 0 140 " + std::to_string(12311 + 5 * q) + " " +
                                std::to_string(12312 + 5 * q) + " " +
                                std::to_string(12313 + 5 * q) + " " +
                                std::to_string(12314 + 5 * q) + over + " -> 0");
        EXPECT_EQ(player_record.mood, 3);
        EXPECT_EQ(open_entries(), std::vector<s32>{own});
    }
}

TEST_F(CalLessonsTest, ExamPassedByKind) {
    struct Case {
        const char* name;
        s32 slot, skill, draw;
        std::vector<s32> texts_after_question;
        std::vector<std::string> scene; // sounds, travels, summaries in order
        s32 skill11_exp, skill8_exp;
        bool art, items;
        std::vector<s32> open_after;
        s32 button_after;
    };
    const Case cases[] = {
        {"exam 1",
         85,
         40,
         2,
         {12400, 12401, 12402, 12403, 12404, 12405, 12406, 12407},
         {"hub_travel", "sound 693 1", "sound 698 1", "sound 695 1", "hub_travel"},
         1000,
         1000,
         true,
         false,
         {6},
         1},
        {"exam 2",
         90,
         60,
         3,
         {12410, 12411, 12412, 12413, 12414, 12415, 12416},
         {"hub_travel", "sound 693 1", "sound 698 1", "sound 693 1", "sound 698 1", "sound 695 1"},
         1000,
         1500,
         false,
         false,
         {11},
         1},
        {"exam 3 shows 12410 before 12408",
         95,
         80,
         0,
         {12410, 12408},
         {"hub_travel", "sound 501 1"}, // the item received
         1000,
         2000,
         false,
         true,
         {16},
         1},
        {"final exam below 100 repeats",
         96,
         99,
         11,
         {12307},
         {"hub_travel"},
         500,
         0,
         false,
         false,
         {16},
         1},
        {"final exam at 100 closes the place",
         96,
         100,
         6,
         {12420, 12421, 12422, 12423, 12424},
         {"hub_travel"},
         0,
         0,
         false,
         false,
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRecord& p = player_record;
        p.skill[11] = c.skill;
        p.skill[8] = 0;
        for (s32 g : {8, 11}) growth_pool(g) = LOW_POOL;
        for (KnownEntry& k : p.known[8]) k = {-1, 0, 0};
        const s32 items = inv_count(1556);
        const s32 mood = p.mood;
        hub_block.hub_third_avail[1][1] = 1;
        const s32 own = c.slot - 80;
        open_only(own);
        const s32 first = c.slot == 85 ? 0 : c.slot == 90 ? 4 : c.slot == 95 ? 8 : 0;
        const s32 q = first + c.draw;
        draws({c.draw});
        answers({q % 4});
        const size_t m = mark();
        run_slot(c.slot);
        std::vector<s32> texts = {12300, 12301, 12310 + 5 * q};
        append(texts, run(12311 + 5 * q, 12314 + 5 * q));
        append(texts, c.texts_after_question);
        EXPECT_EQ(texts_from(m), texts);
        EXPECT_EQ(scene_lines(lines_from(m)), c.scene);
        EXPECT_EQ(gained(11), c.skill11_exp);
        EXPECT_EQ(gained(8), c.skill8_exp);
        bool art = false;
        for (const KnownEntry& k : p.known[8]) art = art || k.id == 50;
        EXPECT_EQ(art, c.art);
        EXPECT_EQ(inv_count(1556), items + (c.items ? 10 : 0));
        EXPECT_EQ(p.mood, mood);
        EXPECT_EQ(open_entries(), c.open_after);
        EXPECT_EQ(hub_block.hub_third_avail[1][1], c.button_after);
        EXPECT_EQ(hub_block.turns_consumed, -7);
    }
    // Arguments outside the question and kind tables do nothing.
    const size_t m = mark();
    lesson_exam(12, 1);
    lesson_exam(-1, 1);
    lesson_exam(0, 4);
    lesson_course_stage(17);
    EXPECT_TRUE(texts_from(m).empty());
}

TEST_F(CalLessonsTest, TheCourseRunsItsSeventeenEntriesInOrder) {
    // From slot 077's opening of entry 0 to the final exam passed at skill 11 of 100: every visit
    // runs the one open entry, which opens the next.
    open_only(0);
    hub_block.hub_third_avail[1][1] = 1;
    player_record.skill[11] = 100;
    for (s32 step = 0; step < LESSON_STEPS; step++) {
        SCOPED_TRACE(step);
        ASSERT_EQ(open_entries(), std::vector<s32>{step});
        const LessonStep& s = LESSON_STEP_TABLE[step];
        if (s.kind == LessonStepKind::Lesson) answers({0});
        if (s.kind == LessonStepKind::Exam) {
            draws({0});
            answers({0}); // the first question of each draw range has option 0 right
        }
        run_slot(hub_block.place_events[1][1][step].slot);
        EXPECT_EQ(draws_left(), 0u);
    }
    EXPECT_TRUE(open_entries().empty());
    EXPECT_EQ(hub_block.hub_third_avail[1][1], 0);
}

TEST_F(CalLessonsTest, TrainingPaysWhateverTheLevelAndSaturatesItsPool) {
    PlayerRecord& p = player_record;
    p.skill[11] = 100;
    growth_pool(11) = 5;
    cal_train(cal_skill(11), 200);
    EXPECT_EQ(growth_pool(11), 205); // at the top the pool keeps it
    EXPECT_EQ(p.skill[11], 100);
    growth_pool(11) = INT32_MAX - 5;
    cal_train(cal_skill(11), 200);
    EXPECT_EQ(growth_pool(11), INT32_MAX);
    // Only skills and attributes: fame and the indices past it are left alone.
    const s32 fame_exp = p.fame_exp;
    cal_train(CalGrowth{31}, 100);
    cal_train(CalGrowth{-1}, 100);
    EXPECT_EQ(p.fame_exp, fame_exp);
}
