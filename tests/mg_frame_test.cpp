// The mini-game frame: the menu rows and the quit box, the click rule, the click wait and its
// ending conditions driven by real input at each present, the music keeper and the clock rule.
#include "data/hub_block.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "minigames/frame.h"
#include "platform/harness.h"
#include "tests/hub_fixture.h"
#include "tools/sprite_writer.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050, GAME_MUSIC = 10011;

std::vector<s32> draws, music;
s32 record(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_DRAW) draws.push_back(e.id);
    if (e.kind == TRANSCRIPT_MUSIC) music.push_back(e.id);
    return TRANSCRIPT_RUN;
}

class FrameTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        draws.clear();
        music.clear();
        transcript_observer = record;
        transcript_draws = true;
        mouse_buttons = 0;
        click_x = 0;
        click_y = 0;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        transcript_draws = false;
        transcript_observer = nullptr;
        HubTest::TearDown();
    }
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_presents = 5000; // a wait that never ends fails instead of hanging
        return c;
    }
    void add_content(ArcBuilder& b) const override {
        world_put_tracks(b, {MUSIC_BEFORE, GAME_MUSIC}, 500);
    }
};

TEST(FrameBoxes, MenuRowsAndQuitBoxAreInclusive) {
    struct Case {
        s32 x, y, row;
    };
    const Case cases[] = {
        {88, 366, 1},  {424, 389, 1}, {88, 390, 2},  {300, 413, 2}, {300, 414, 3},
        {424, 437, 3}, {87, 366, 0},  {425, 400, 0}, {300, 365, 0}, {300, 438, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(frame_menu_row(c.x, c.y), c.row) << c.x << ", " << c.y;
    EXPECT_TRUE(frame_box_has(QUIT_BOX, 609, 420));
    EXPECT_TRUE(frame_box_has(QUIT_BOX, 633, 468));
    EXPECT_FALSE(frame_box_has(QUIT_BOX, 608, 440));
    EXPECT_FALSE(frame_box_has(QUIT_BOX, 634, 440));
    EXPECT_FALSE(frame_box_has(QUIT_BOX, 620, 419));
    EXPECT_FALSE(frame_box_has(QUIT_BOX, 620, 469));
}

TEST_F(FrameTest, ClickRuleTakesTheLeftButtonAloneUnlessAnyButtonCounts) {
    struct Case {
        u32 buttons;
        bool any;
        s32 taken;
    };
    const Case cases[] = {{1, false, 1}, {3, false, 0}, {2, false, 0}, {0, false, 0},
                          {3, true, 1},  {2, true, 1},  {0, true, 0}};
    for (const Case& c : cases) {
        mouse_buttons = c.buttons;
        click_x = 100;
        click_y = 200;
        s32 x = -1, y = -1;
        EXPECT_EQ(frame_take_click(&x, &y, c.any), c.taken) << c.buttons << " " << c.any;
        if (c.taken) {
            EXPECT_EQ(x, 100);
            EXPECT_EQ(y, 200);
            EXPECT_EQ(mouse_buttons.peek(), 0u);
            EXPECT_EQ(click_x.peek(), 0);
            EXPECT_EQ(click_y.peek(), 0);
        } else {
            EXPECT_EQ(mouse_buttons.peek(), c.buttons); // an untaken word is left alone
            EXPECT_EQ(click_x.peek(), 100);
        }
    }
}

// Sets the button word to `buttons` (1 left, 2 right, 3 both) once the wait has shown `after`
// markers (its first present is the finished screen).
void press_after(u64 after, u32 buttons) {
    const u64 start = harness_presents() + 1;
    harness_on_present([=](const u16*, u64 n) {
        if (n == start + after) mouse_buttons = buttons;
    });
}

TEST_F(FrameTest, ClickWaitBlinksTheMarkerUntilAnyButton) {
    press_after(45, 2);
    FrameWait wait;
    wait.x = 306;
    wait.y = 300;
    const u64 before = harness_presents();
    frame_click_wait(wait);
    // The finished screen, then one marker per present: 12 for ten frames, 13, 14, 15, 12 again.
    EXPECT_EQ(harness_presents() - before, 46u);
    ASSERT_EQ(draws.size(), 45u);
    for (size_t i = 0; i < draws.size(); ++i) EXPECT_EQ(draws[i], 12 + s32(i % 40) / 10) << i;
    EXPECT_EQ(mouse_buttons.peek(), 0u);
}

// Markers that draw one pixel each, image 12 + k at column k: a marker left behind by a frame
// before shows unless the patch is put back first.
class FrameMarkerTest : public FrameTest {
  protected:
    void add_content(ArcBuilder& b) const override {
        for (s32 k = 0; k < 4; ++k) {
            SpriteSource dot;
            dot.width = 4;
            dot.height = 1;
            dot.cells.assign(4, SPRITE_CLEAR);
            dot.cells[size_t(k)] = 1;
            std::array<u16, 256> palette{};
            palette[1] = 0x7FFF;
            dot.palettes.push_back(palette);
            b.put(u32(ARC_IMAGE_BASE + 12 + k), sprite_writer_encode(dot));
        }
    }
};

TEST_F(FrameMarkerTest, EachMarkerIsDrawnOverThePatchKeptBeforeTheWait) {
    constexpr s32 X = 306, Y = 300;
    constexpr u16 GROUND = 0x1234;
    for (s32 r = 0; r < 24; ++r)
        for (s32 c = 0; c < 24; ++c) back_buffer[(Y + r) * 640 + X + c] = GROUND;
    press_after(40, 1); // the last marker shown is image 15 (count 39)
    FrameWait wait;
    wait.x = X;
    wait.y = Y;
    frame_click_wait(wait);
    for (s32 k = 0; k < 3; ++k)
        EXPECT_EQ(back_buffer[Y * 640 + X + k], GROUND) << "marker " << 12 + k << " left behind";
    EXPECT_NE(back_buffer[Y * 640 + X + 3], GROUND);
    EXPECT_EQ(back_buffer[(Y + 1) * 640 + X + 3], GROUND);
}

TEST_F(FrameTest, ClickWaitClearsHeldButtonsFirstUnlessKept) {
    mouse_buttons = 1;
    press_after(3, 1);
    frame_click_wait(FrameWait{});
    EXPECT_EQ(draws.size(), 3u) << "a button held before the wait must not end it";

    draws.clear();
    harness_on_present(nullptr);
    mouse_buttons = 1;
    FrameWait kept;
    kept.keep_buttons = true;
    frame_click_wait(kept);
    EXPECT_TRUE(draws.empty()) << "a kept button ends the wait at once";
    EXPECT_EQ(mouse_buttons.peek(), 0u);
}

TEST_F(FrameTest, RightButtonWaitIgnoresLeftAndBoth) {
    const u64 start = harness_presents() + 1;
    harness_on_present([=](const u16*, u64 n) {
        if (n == start + 2) mouse_buttons = 1;
        if (n == start + 4) mouse_buttons = 3;
        if (n == start + 6) mouse_buttons = 2;
    });
    FrameWait wait;
    wait.end_buttons = 2;
    click_x = 50;
    click_y = 60;
    frame_click_wait(wait);
    EXPECT_EQ(draws.size(), 6u);
    EXPECT_EQ(click_x.peek(), 50) << "the click point is kept unless asked";

    s32 shown_during = -1;
    const u64 second = harness_presents() + 1;
    harness_on_present([&](const u16*, u64 n) {
        if (n == second + 1) {
            shown_during = cursor_shown;
            mouse_buttons = 1;
        }
    });
    FrameWait clearing;
    clearing.clear_click = true;
    clearing.hide_pointer = true;
    frame_click_wait(clearing);
    EXPECT_EQ(click_x.peek(), 0);
    EXPECT_EQ(click_y.peek(), 0);
    EXPECT_EQ(shown_during, 0) << "the pointer is hidden during the wait";
    EXPECT_EQ(cursor_shown, 1) << "and shown again after it";
}

TEST_F(FrameTest, MusicIsRestoredAndTheGameTrackNeverStored) {
    player_record.music_id = MUSIC_BEFORE;
    mssw_play_music(MUSIC_BEFORE, 0);
    FrameMusic keeper;
    frame_music_start(keeper, GAME_MUSIC);
    EXPECT_EQ(mssw_music_id, GAME_MUSIC);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    player_record.music_id = 7; // whatever the game did meanwhile
    frame_music_restore(keeper);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    EXPECT_EQ(mssw_music_id, MUSIC_BEFORE);
    ASSERT_GE(music.size(), 3u);
    EXPECT_EQ(music[music.size() - 2], GAME_MUSIC);
    EXPECT_EQ(music.back(), MUSIC_BEFORE);
}

TEST_F(FrameTest, ClockSpendsAnHourFromTurn235) {
    struct Case {
        s32 turn, minutes;
    };
    for (const Case c : {Case{234, 15}, Case{235, 60}, Case{0, 15}, Case{249, 60}}) {
        hub_block.calendar_turn = c.turn;
        world_state.hour = 8;
        world_state.minute = 0;
        frame_clock_spend();
        EXPECT_EQ(world_state.hour * 60 + world_state.minute - 8 * 60, c.minutes) << c.turn;
    }
}

} // namespace
