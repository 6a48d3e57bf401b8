// The picture course of place 1.2: the cells' boxes, the lesson sheets of the four lesson steps
// played by clicks, the test answered right and wrong by clicks with forced deals, the course
// closed at skill 12 of 100, and the invitation that opens it.
#include "calendar/frame.h"
#include "calendar/picture_lessons.h"
#include "game/growth.h"
#include "game/player.h"
#include "tests/calendar_fixture.h"
#include "tests/screen_clicks.h"

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
