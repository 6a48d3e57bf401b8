// The picture course of place 1.2: the cells' boxes, the lesson sheets of the four lesson steps
// played by clicks, the test answered right and wrong by clicks with forced deals, the course
// closed at skill 12 of 100, and the invitation that opens it.
#include "calendar/frame.h"
#include "calendar/lessons.h"
#include "calendar/picture_lessons.h"
#include "engine/gisk.h"
#include "game/growth.h"
#include "game/player.h"
#include "tests/calendar_fixture.h"
#include "tests/screen_clicks.h"
#include "tools/arcbuild.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr s32 LOW_POOL = -1000000; // a pool this low keeps every gain without a level bought

class CalPictureLessonsTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        dialog_record_draws(true);
        player_record.social_aptitude = 0;
        player_record.affection[152] = 50;
        player_record.mood = 3;
        player_record.mood_turns = 4;
        for (s32 g : {3, 12}) growth_pool(g) = LOW_POOL;
        hub_block.turns_consumed = -7;
    }
    static EventEntry& entry(s32 k) { return hub_block.place_events[1][2][k]; }
    static s32 gained(s32 g) { return growth_pool(g) - LOW_POOL; }
    // The draws of one question: asked picture a in cell t, the other cells a + 1, a + 2, ...
    // (mod 100), each a draw that is not taken.
    static void deal(s32 a, s32 t) {
        draws({a});
        draws({t});
        for (s32 i = 1; i < 24; i++) draws({(a + i) % 100});
    }
    // The pictures of the cells of that deal.
    static std::vector<s32> dealt(s32 a, s32 t) {
        std::vector<s32> v;
        for (s32 i = 0, k = 1; i < 24; i++) v.push_back(i == t ? a : (a + k++) % 100);
        return v;
    }
};

s32 cell_x(s32 i) {
    return 126 + 64 * (i % 6);
}
s32 cell_y(s32 i) {
    return 21 + 64 * (i / 6);
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string draw_at(s32 id, s32 x, s32 y) {
    return "draw " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y);
}
std::string print_at(s32 id, s32 x, s32 y) {
    return "print " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y);
}

// Drives the test screen: clicks the given cell of each question once its first frame is up,
// and ends each click wait on its second frame. Keeps the lines of every question's first frame
// and of every wait.
class TestDriver {
  public:
    explicit TestDriver(std::vector<s32> cells) : cells_(std::move(cells)) {
        harness_on_present([this](const u16*, u64) { on_present(); });
    }
    ~TestDriver() { harness_on_present(nullptr); }
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;

    std::vector<std::vector<std::string>> question_frames, wait_frames;

  private:
    void on_present() {
        const PictureScreen& s = picture_screen;
        const std::vector<std::string> all = dialog_lines();
        std::vector<std::string> frame(all.begin() + long(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        if (s.question < 0 || s.question >= s32(cells_.size())) return;
        if (s.waiting) {
            if (waited_ == s.question) return;
            wait_frames.push_back(frame);
            if (++wait_presents_ < 2) return;
            waited_ = s.question;
            wait_presents_ = 0;
            harness_click(320, 300);
            return;
        }
        if (asked_ == s.question || s.passes < 1) return;
        asked_ = s.question;
        question_frames.push_back(frame);
        const s32 c = cells_[size_t(s.question)];
        harness_click(cell_x(c) + 30, cell_y(c) + 30);
    }

    std::vector<s32> cells_;
    size_t seen_ = 0;
    s32 asked_ = -1, waited_ = -1, wait_presents_ = 0;
};

} // namespace

TEST(CalPictureCells, BoxesAreSixtyFourPixelsWithBothEdgesInside) {
    struct Case {
        s32 x, y, cell;
    };
    const Case cases[] = {
        {126, 21, 0},   {189, 84, 0},   {190, 21, 1},   {125, 21, -1},
        {126, 20, -1},  {509, 276, 23}, {510, 276, -1}, {509, 277, -1},
        {509, 212, 17}, {130, 85, 6},   {400, 150, 16},
    };
    for (const Case& c : cases) EXPECT_EQ(picture_cell_at(c.x, c.y), c.cell) << c.x << " " << c.y;
}

TEST_F(CalPictureLessonsTest, LessonSheetsShowSetsZeroOneTwoAndZeroAgainUntilQuitIsClicked) {
    struct Case {
        s32 slot, set;
    };
    // Slot 059 shows the first set again: set 3 (pictures 72..95) is asked in the test but is
    // never taught.
    const Case cases[] = {{56, 0}, {57, 1}, {58, 2}, {59, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        const s32 step = c.slot - 56;
        for (s32 k = 0; k < 5; k++) entry(k).on = k == step ? 1 : 0;
        player_record.skill[12] = 100; // the lesson pays whatever the level
        growth_pool(12) = LOW_POOL;
        hub_block.scene_backdrop = 60407;
        std::vector<std::vector<std::string>> frames(8);
        size_t seen = dialog_lines().size();
        s32 passes = 0;
        const size_t m = mark();
        {
            // Pass 2 points at cell 7; pass 3 clicks a cell, pass 4 just past the quit label,
            // pass 5 its far corner, which ends the sheet.
            ClickScript script(&picture_screen.passes, {{2, cell_x(7) + 5, cell_y(7) + 5, 0},
                                                        {3, cell_x(8), cell_y(8)},
                                                        {4, 459, 440},
                                                        {5, 458, 451}});
            script.on_pass([&](s32 p) {
                passes = p;
                const std::vector<std::string> all = dialog_lines();
                if (p < 8) frames[size_t(p)] = {all.begin() + long(seen), all.end()};
                seen = all.size();
            });
            run_slot(c.slot);
        }
        EXPECT_EQ(passes, 5);
        EXPECT_EQ(texts_from(m), (std::vector<s32>{55680, 55681, 55682, 55683}));
        EXPECT_TRUE(has(lines_from(m), "hub_say 1 0 305 55681"));
        EXPECT_EQ(hub_block.scene_backdrop, 60421);
        const std::vector<std::string>& pass1 = frames[1];
        EXPECT_TRUE(has(pass1, draw_at(62599, 0, 0)));
        EXPECT_TRUE(has(pass1, draw_at(1152, 468, 306)));
        EXPECT_TRUE(has(pass1, print_at(331, 410, 427)));
        for (s32 i = 0; i < 24; i++) {
            const s32 pic = 24 * c.set + i;
            EXPECT_TRUE(has(pass1, draw_at(36000 + pic, cell_x(i), cell_y(i)))) << i;
            EXPECT_TRUE(has(pass1, print_at(36000 + pic, 89 + 24 * (i % 6), 355 + 24 * (i / 6))))
                << i;
        }
        EXPECT_EQ(std::count(pass1.begin(), pass1.end(), draw_at(62598, cell_x(7), cell_y(7))), 0);
        // Pointing at cell 7: its frame and its name once more.
        const std::vector<std::string>& pointed = frames[2];
        EXPECT_TRUE(has(pointed, draw_at(62598, cell_x(7), cell_y(7))));
        const std::string name7 = print_at(36000 + 24 * c.set + 7, 89 + 24, 355 + 24);
        EXPECT_EQ(std::count(pointed.begin(), pointed.end(), name7), 2);
        // At the quit label's corner, the label once more.
        EXPECT_EQ(std::count(frames[5].begin(), frames[5].end(), print_at(331, 410, 427)), 2);
        EXPECT_EQ(gained(12), 500);
        for (s32 k = 0; k < 5; k++) EXPECT_EQ(entry(k).on, k == step + 1 ? 1 : 0) << k;
        EXPECT_EQ(hub_block.turns_consumed, -7);
    }
}

TEST_F(CalPictureLessonsTest, TenRightAnswersGiveTheStreakBonusTheMoodAndTheAffection) {
    entry(4).on = 1;
    player_record.skill[12] = 0;
    std::vector<s32> targets;
    s32 bonus = 0;
    for (s32 q = 0; q < 10; q++) {
        // Asked pictures 5, 15, ..., 95: the last is set 3's, never shown in a lesson.
        const s32 a = 10 * q + 5, t = (5 * q + 2) % 24;
        deal(a, t);
        draws({q}); // the bonus draw of skill 12 after the answer
        bonus += q + 50 * (q + 1);
        targets.push_back(t);
    }
    const size_t m = mark();
    {
        TestDriver driver(targets);
        run_slot(60);
        ASSERT_EQ(driver.question_frames.size(), 10u);
        const std::vector<std::string>& q0 = driver.question_frames[0];
        EXPECT_TRUE(has(q0, draw_at(62599, 0, 0)));
        EXPECT_TRUE(has(q0, print_at(55685, 89, 379)));
        EXPECT_TRUE(has(q0, print_at(36005, 89, 355)));
        const std::vector<s32> cells = dealt(5, 2);
        for (s32 i = 0; i < 24; i++)
            EXPECT_TRUE(has(q0, draw_at(36000 + cells[size_t(i)], cell_x(i), cell_y(i)))) << i;
        ASSERT_GE(driver.wait_frames.size(), 2u);
        EXPECT_TRUE(has(driver.wait_frames[0], print_at(55686, 89, 403)));
        EXPECT_TRUE(has(driver.wait_frames[1], draw_at(12, 434, 432)));
    }
    EXPECT_EQ(draws_left(), 0u);
    EXPECT_EQ(picture_screen.right, 10);
    EXPECT_EQ(texts_from(m), (std::vector<s32>{55680, 55681, 55682, 55684, 55686, 55687, 55688}));
    EXPECT_EQ(gained(3), 300);
    EXPECT_EQ(gained(12), bonus); // the last answer alone pays 50 x 10 + its draw
    EXPECT_EQ(player_record.affection[152], 53);
    EXPECT_EQ(player_record.mood, 0);
    EXPECT_EQ(player_record.mood_turns, 0);
    EXPECT_EQ(entry(4).on, 1); // the test comes again
    EXPECT_EQ(hub_block.hub_third_avail[2][1], 0);
}

TEST_F(CalPictureLessonsTest, WrongAnswersShowTheRightCellAndBreakTheStreak) {
    entry(4).on = 1;
    player_record.skill[12] = 0;
    std::vector<s32> clicks;
    s32 bonus = 0, streak = 0;
    for (s32 q = 0; q < 10; q++) {
        const s32 a = 9 * q, t = (7 * q + 3) % 24;
        deal(a, t);
        const bool wrong = q == 0 || q == 5;
        clicks.push_back(wrong ? (t + 1) % 24 : t);
        if (wrong) {
            streak = 0;
            continue;
        }
        streak++;
        draws({40});
        bonus += 40 + 50 * streak;
    }
    const size_t m = mark();
    {
        TestDriver driver(clicks);
        run_slot(60);
        // The first question answered wrong: the board again with the frame over the right
        // cell (3), the wrong-answer line and the asked name.
        ASSERT_FALSE(driver.wait_frames.empty());
        const std::vector<std::string>& w = driver.wait_frames[0];
        EXPECT_TRUE(has(w, draw_at(62598, cell_x(3), cell_y(3))));
        EXPECT_TRUE(has(w, print_at(55690, 89, 379)));
        EXPECT_TRUE(has(w, print_at(36000, 89, 355)));
        EXPECT_FALSE(has(w, print_at(55686, 89, 403)));
    }
    EXPECT_EQ(draws_left(), 0u);
    EXPECT_EQ(picture_screen.right, 8);
    EXPECT_EQ(picture_screen.streak, 4);
    // No praise line and no mood change without ten in a row.
    EXPECT_EQ(texts_from(m), (std::vector<s32>{55680, 55681, 55682, 55684, 55687, 55688}));
    EXPECT_EQ(gained(3), 8 * 30);
    EXPECT_EQ(gained(12), bonus);
    EXPECT_EQ(player_record.affection[152], 52); // 8 / 3
    EXPECT_EQ(player_record.mood, 3);
    EXPECT_EQ(player_record.mood_turns, 4);
    EXPECT_EQ(entry(4).on, 1);
}

TEST_F(CalPictureLessonsTest, SkillTwelveAtOneHundredClosesTheCourseWithoutATest) {
    entry(4).on = 1;
    hub_block.hub_third_avail[2][1] = 1;
    player_record.skill[12] = 100;
    const size_t m = mark();
    run_slot(60); // no draw is queued: the fixture fails any
    EXPECT_EQ(texts_from(m), (std::vector<s32>{55700, 55701, 55702, 55703, 55704, 55705, 55706}));
    EXPECT_EQ(entry(4).on, 0);
    EXPECT_EQ(hub_block.hub_third_avail[2][1], 0);
    EXPECT_EQ(player_record.affection[152], 50);
}

TEST_F(CalPictureLessonsTest, ADealThatKeepsDrawingTakenPicturesTakesTheFirstFreeOne) {
    // Question 0: picture 0 asked in cell 0, then a draw source that repeats picture 0 for the
    // whole bound of cell 1: cell 1 takes picture 1, the first one free, and the deal goes on.
    draws({0});
    draws({0});
    for (s32 i = 0; i < 1000; i++) draws({0});
    for (s32 i = 2; i < 24; i++) draws({i + 50});
    std::vector<s32> clicks = {1};
    for (s32 q = 1; q < 10; q++) {
        deal(q, q);
        clicks.push_back(q + 1);
    }
    {
        TestDriver driver(clicks);
        picture_test();
        ASSERT_FALSE(driver.question_frames.empty());
        const std::vector<std::string>& q0 = driver.question_frames[0];
        EXPECT_TRUE(has(q0, draw_at(36000, cell_x(0), cell_y(0))));
        EXPECT_TRUE(has(q0, draw_at(36001, cell_x(1), cell_y(1))));
        EXPECT_TRUE(has(q0, draw_at(36052, cell_x(2), cell_y(2))));
    }
    EXPECT_EQ(draws_left(), 0u);
    EXPECT_EQ(picture_screen.right, 0);
}

TEST_F(CalPictureLessonsTest, InvitationOpensTheCourseAndItsButton) {
    hub_block.encounter_pool_b[2].on = 1;
    const size_t m = mark();
    run_slot(76);
    std::vector<s32> texts;
    for (s32 t = 55660; t <= 55676; t++) texts.push_back(t);
    EXPECT_EQ(texts_from(m), texts);
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_TRUE(has(lines, "hub_say 0 0 -1 55662"));
    EXPECT_TRUE(has(lines, "hub_say 1 -1 305 55663"));
    EXPECT_EQ(hub_block.scene_backdrop, 60423);
    EXPECT_EQ(hub_block.encounter_pool_b[2].on, 0);
    EXPECT_EQ(entry(0).on, 1);
    EXPECT_EQ(hub_block.hub_third_avail[2][1], 1);
    EXPECT_EQ(hub_block.turns_consumed, 1);
}

TEST(CalPlacesPlaceholders, EveryPictureOfTheCoursesIsThereAtItsSize) {
    ArcBuilder builder;
    arc_put_placeholder_content(builder);
    const auto size_of = [&](s32 id) {
        const auto it = builder.entries().find(u32(ARC_IMAGE_BASE + id));
        if (it == builder.entries().end() || it->second.size() < 4)
            return std::pair<s32, s32>{0, 0};
        const std::vector<u8>& b = it->second;
        return std::pair<s32, s32>{b[0] | b[1] << 8, b[2] | b[3] << 8};
    };
    using Size = std::pair<s32, s32>;
    for (s32 n = 0; n < PICTURE_COUNT; n++) EXPECT_EQ(size_of(36000 + n), Size(64, 64)) << n;
    EXPECT_EQ(size_of(PICTURE_FRAME), Size(64, 64));
    EXPECT_EQ(size_of(PICTURE_BACKGROUND), Size(640, 480));
    EXPECT_NE(size_of(PICTURE_TEACHER_IMAGE).first, 0);
    for (s32 id : {60090, 60091}) EXPECT_EQ(size_of(id), Size(370, 205)) << id;
    // Every picture the lesson course shows: the lessons' pages, the exam questions, the
    // introduction's eight.
    std::vector<s32> lesson_pictures = {63279, 63280, 63281, 63282, 63283, 63284, 63285, 63286};
    for (const IllustratedLesson& l : ILLUSTRATED_LESSONS)
        for (s32 j = 0; j < l.pages; j++) lesson_pictures.push_back(l.first_picture + j);
    for (const LessonQuestion& q : LESSON_QUESTION_TABLE) lesson_pictures.push_back(q.picture);
    for (s32 id : lesson_pictures) EXPECT_EQ(size_of(id), Size(240, 240)) << id;
}
