// Dialogue boxes and choices, driven both by real input through the harness and by the transcript
// observer: paging, bubble placement, choices with absent options and stray clicks, the notice
// box, the continue arrow at the screen's edge, and a scene followed by its transcript.
#include "engine/canvas.h"
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/text_writer.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr s32 MAP = 1;
constexpr s32 OTHER_MAP = 2;
constexpr s32 PORTRAIT = 1000;
constexpr s32 LONG_TEXT = 100;  // 200 characters
constexpr s32 SHORT_TEXT = 101; // 3 characters
constexpr u16 BACKGROUND = 0x1234;

std::string chars(s32 n) {
    std::string s;
    for (s32 i = 0; i < n; ++i) s += "\xA4\x40";
    return s;
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        world_put_basics(b, MAP, 1024, 768);
        world_put_map(
            b, OTHER_MAP, 1024, 768, [](s32, s32) { return WORLD_GROUND; }, 40);
        // Texts of our own: placeholders for every id, then the long and short ones.
        std::vector<TextSource> texts = {{LONG_TEXT, chars(200)}, {SHORT_TEXT, chars(3)}};
        for (const TextSource& t : text_placeholder_sources()) texts.push_back(t);
        b.put(ARC_TEXT_TABLE, text_table_write(texts));
        // Boxes, bubble, arrows, notice boxes and markers, a portrait: solid pictures whose
        // top-left is their hotspot.
        auto solid = [&b](s32 id, s32 w, s32 h, u16 colour) {
            b.put(u32(ARC_IMAGE_BASE + id), world_solid_sprite(w, h, 0, 0, colour));
        };
        solid(120, 560, 180, 0x7FFF);
        solid(121, 560, 180, 0x7FFF);
        solid(122, 380, 124, 0x7FE0);
        for (s32 k = 0; k < 4; ++k) {
            solid(DIALOG_ARROW_IMAGE + k, DIALOG_ARROW_W, DIALOG_ARROW_H, 0x001F);
            solid(DIALOG_NOTICE_IMAGE + k, 128 * (k + 1), 24, 0x03E0);
            solid(DIALOG_NOTICE_MARKER + k, 20, 24, 0x7C00);
        }
        solid(PORTRAIT, 96, 128, 0x4210);
        world_start(b);
        world_place_player(MAP, 500, 400);
        dialog_reset();
        transcript_observer = nullptr;
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    void fill_background() {
        for (s32 i = 0; i < SCREEN_PIXELS; ++i) back_buffer[i] = u16(BACKGROUND + (i & 7));
    }
    std::vector<u16> screen() const { return {back_buffer, back_buffer + SCREEN_PIXELS}; }
    u16 pixel(s32 x, s32 y) const { return back_buffer[y * SCREEN_W + x]; }
    HarnessTempDir dir;
};

// A long text pages in 6-line boxes (84 characters), a bubble in 4-line ones (56): each page
// waits once, in both driver modes, and any key or either button ends a wait.
TEST_F(DialogTest, LongTextsPageAndEachPageWaits) {
    dialog_transcript_mode();
    say(2, PORTRAIT, LONG_TEXT);
    say(0, PORTRAIT, SHORT_TEXT);
    world_place_object(7, MAP, 500, 400, 0, 0);
    say_at(7, LONG_TEXT);
    ASSERT_EQ(dialog_transcript().size(), 3u);
    EXPECT_EQ(dialog_transcript()[0].pages, 3);
    EXPECT_EQ(dialog_transcript()[1].pages, 1);
    EXPECT_EQ(dialog_transcript()[2].pages, 4);

    dialog_real_mode();
    dialog_real_key('A');
    dialog_real_click(2);
    dialog_real_click(1, 5, 5);
    const u64 presents = harness_presents();
    say(3, PORTRAIT, LONG_TEXT);
    EXPECT_EQ(dialog_transcript().at(0).pages, 3);
    EXPECT_EQ(dialog_answers_left(), 0u);
    EXPECT_GT(harness_presents(), presents + 2);
    EXPECT_EQ(key_code.peek(), 0u);
    EXPECT_EQ(click_kind.peek(), 0u);
}

// The page ends where its last character was drawn: the arrow of a full first page stands after
// the 14th character of the 6th line, the last page's after its last character.
TEST_F(DialogTest, ArrowFollowsTheEndOfEachPage) {
    dialog_real_mode();
    std::vector<std::pair<s32, s32>> at;
    for (s32 i = 0; i < 3; ++i)
        dialog_real_input([&at](const TranscriptEntry& e) {
            at.push_back({e.x, e.y});
            harness_key(DIALOG_KEY_SPACE, gated());
        });
    say(2, PORTRAIT, LONG_TEXT); // text at (190, 300); pages of 84, 84 and 32 characters
    const std::vector<std::pair<s32, s32>> want = {
        {190 + 14 * 24, 300 + 5 * 24}, {190 + 14 * 24, 300 + 5 * 24}, {190 + 4 * 24, 300 + 2 * 24}};
    EXPECT_EQ(at, want);
}

// `say` and `say_at` leave the back buffer as they found it, and the cursor as it was; the box
// and the portrait are on the screen while the player reads.
TEST_F(DialogTest, SayLeavesTheBackBufferAndCursorAsTheyWere) {
    for (s32 shown : {0, 1}) {
        shell_send_cursor_show(shown);
        fill_background();
        const std::vector<u16> before = screen();
        dialog_real_mode();
        std::vector<s32> cursor_while_reading;
        u16 box = 0, beside = 0;
        dialog_real_input([&](const TranscriptEntry&) {
            cursor_while_reading.push_back(cursor_shown);
            box = pixel(20, 290);   // inside box 120 at (10, 280)
            beside = pixel(5, 275); // outside it
            harness_click(100, 100, 1, gated());
        });
        say(2, PORTRAIT, SHORT_TEXT);
        EXPECT_EQ(cursor_while_reading, std::vector<s32>{0});
        EXPECT_NE(box, before[290 * SCREEN_W + 20]);
        EXPECT_EQ(beside, before[275 * SCREEN_W + 5]);
        EXPECT_TRUE(screen() == before) << "say left pixels behind";
        EXPECT_EQ(cursor_shown, shown);

        world_place_object(7, MAP, 500, 400, 0, 0);
        dialog_transcript_mode();
        say_at(7, LONG_TEXT);
        EXPECT_TRUE(screen() == before) << "say_at left pixels behind";
        EXPECT_EQ(cursor_shown, shown);
    }
}

// Bubble placement from the object's screen point: above it from screen y 240 on, below it
// before; x limited to 0..250; y outside 0..356 becomes 0; height does not count.
TEST_F(DialogTest, BubblesStandAboveOrBelowTheObjectOnTheScreen) {
    world_state.camera_x = 100;
    world_state.camera_y = 50;
    struct Case {
        s32 x, y, z;
        s32 want_x, want_y;
    } cases[] = {
        {500, 350, 0, 210, 60},  // screen (400, 300): above
        {500, 150, 0, 210, 110}, // screen y 100: below
        {200, 150, 40, 0, 110},  // screen x 100: x 0; height ignored
        {900, 290, 0, 250, 0},   // x limited to 250; screen y 240 gives 0
        {500, 700, 0, 210, 0},   // screen y 650: 410 is past 356
    };
    dialog_transcript_mode();
    for (const Case& c : cases) {
        world_place_object(9, MAP, c.x, c.y, 0, 0);
        attr_set(9, ATTR_Z, c.z);
        say_at(9, SHORT_TEXT);
        const TranscriptEntry& e = dialog_transcript().back();
        EXPECT_EQ(e.x, c.want_x) << c.x << "," << c.y;
        EXPECT_EQ(e.y, c.want_y) << c.x << "," << c.y;
    }
    // The bubble picture is drawn there while the player reads.
    fill_background();
    dialog_real_mode();
    u16 inside = 0, left_of = 0;
    dialog_real_input([&](const TranscriptEntry&) {
        inside = pixel(210 + 5, 60 + 5);
        left_of = pixel(205, 65);
        harness_key(DIALOG_KEY_SPACE, gated());
    });
    world_place_object(9, MAP, 500, 350, 0, 0);
    say_at(9, SHORT_TEXT);
    EXPECT_NE(inside, u16(BACKGROUND + ((65 * SCREEN_W + 215) & 7)));
    EXPECT_EQ(left_of, u16(BACKGROUND + ((65 * SCREEN_W + 205) & 7)));
}

// An absent option never highlights and cannot be chosen; right clicks and left clicks beside
// the options are ignored; only a left click on a present option returns.
TEST_F(DialogTest, ChooseTakesOnlyLeftClicksOnPresentOptions) {
    const s32 texts[6] = {10, 11, -1, 13, -1, -1};
    const DialogLayout l = dialog_layout(3);
    const s32 y0 = l.box_y + DIALOG_ROWS_TOP;
    EXPECT_EQ(choose_row_at(l.text_x, y0, l.text_x, y0, texts), 0);
    EXPECT_EQ(choose_row_at(l.text_x + 336, y0 + 24 + 23, l.text_x, y0, texts), 1);
    EXPECT_EQ(choose_row_at(l.text_x + 10, y0 + 48, l.text_x, y0, texts), -1); // absent
    EXPECT_EQ(choose_row_at(l.text_x - 1, y0, l.text_x, y0, texts), -1);
    EXPECT_EQ(choose_row_at(l.text_x + 337, y0, l.text_x, y0, texts), -1);
    EXPECT_EQ(choose_row_at(l.text_x, y0 - 1, l.text_x, y0, texts), -1);
    EXPECT_EQ(choose_row_at(l.text_x, y0 + 144, l.text_x, y0, texts), -1);

    dialog_real_mode();
    dialog_real_input([](const TranscriptEntry& e) {
        s32 x = 0, y = 0;
        dialog_option_point(e.position, 0, &x, &y);
        harness_click(x, y, 2, gated()); // right click on a present option
        dialog_option_point(e.position, 2, &x, &y);
        harness_click(x, y, 1, gated());   // the absent option
        harness_click(100, y, 1, gated()); // left of the rows
        harness_click(x, 470, 1, gated()); // below them
        dialog_option_point(e.position, 3, &x, &y);
        harness_click(x, y, 1, gated());
    });
    EXPECT_EQ(choose(3, PORTRAIT, 10, 11, -1, 13), 3);
    EXPECT_EQ(harness_pending_input(), 0u);
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"choose 3 1000 10 11 -1 13 -> 3"});

    // With option 0 absent the driver's click still lands on the row asked for.
    dialog_real_mode();
    dialog_answer(1);
    EXPECT_EQ(choose(1, PORTRAIT, -1, 21), 1);
}

// A choice the driver refuses ends the scene with DialogDriverError; here it is caught so that
// only the gtest failure it reports remains to be checked.
void choose_refused(s32 position, s32 t0, s32 t1, s32 t2) {
    try {
        choose(position, PORTRAIT, t0, t1, t2);
    } catch (const DialogDriverError&) {
    }
}

TEST_F(DialogTest, DriverFailsOnAbsentOrMissingAnswers) {
    dialog_transcript_mode();
    dialog_answer(2);
    EXPECT_NONFATAL_FAILURE(choose_refused(3, 10, 11, -1), "option 2 is absent");
    EXPECT_NONFATAL_FAILURE(choose_refused(0, 10, -1, -1), "no answer queued");
    dialog_real_mode();
    dialog_answer(7);
    EXPECT_NONFATAL_FAILURE(choose_refused(0, 10, -1, -1), "not an option index");
}

// The notice box grows in steps of 128 pixels up to 512 and prints its text as it stands, never
// as a format.
TEST_F(DialogTest, SayCenterPrintsVerbatimInABoxUpTo512Wide) {
    dialog_transcript_mode();
    say_center("%s%n%d 100%");
    EXPECT_STREQ(printf_buffer, "%s%n%d 100%");
    EXPECT_EQ(dialog_lines(), std::vector<std::string>{"say_center %s%n%d 100%"});

    fill_background();
    const std::string wide = chars(25); // 600 pixels
    dialog_real_mode(DialogWaitAnswer::Click);
    say_center(wide.c_str());
    const TranscriptEntry& e = dialog_transcript().back();
    EXPECT_EQ(e.x, 64); // 320 - 256: image 11, 512 wide
    EXPECT_EQ(e.pages, 1);
    EXPECT_NE(pixel(64 + 470, DIALOG_NOTICE_Y + 2), u16(BACKGROUND + ((230 * SCREEN_W + 534) & 7)));

    dialog_transcript_mode();
    say_center("Load Error!!!"); // 13 x 24 + 24 = 336: image 10, 384 wide
    EXPECT_EQ(dialog_transcript().back().x, 320 - 192);
}

// The arrow's area at the screen's edge (or past it) is kept and put back only where it lies on
// the screen.
TEST_F(DialogTest, ContinueArrowAtTheScreenEdgeIsClipped) {
    dialog_real_mode();
    for (auto [x, y] : std::vector<std::pair<s32, s32>>{{634, 470}, {-6, -10}, {10023, 300}}) {
        fill_background();
        const std::vector<u16> before = screen();
        wait_key_blink(x, y);
        // Everything outside the arrow's rectangle is untouched.
        for (s32 row = 0; row < SCREEN_H; ++row)
            for (s32 col = 0; col < SCREEN_W; ++col) {
                const bool in_arrow =
                    col >= x && col < x + DIALOG_ARROW_W && row >= y && row < y + DIALOG_ARROW_H;
                if (!in_arrow &&
                    back_buffer[row * SCREEN_W + col] != before[size_t(row * SCREEN_W + col)])
                    FAIL() << "pixel (" << col << "," << row << ") changed for arrow at " << x
                           << "," << y;
            }
    }
    EXPECT_EQ(dialog_transcript().size(), 3u);
}

// A scene followed through its transcript: what it says, the choice, labels, log lines, sound,
// music and the map change, in order; the same lines with real input.
TEST_F(DialogTest, SceneTranscriptIsTheSameInBothModes) {
    const s32 slot = world_script([] {
        say_at(12, 200);
        menu_colours(25760, 0);
        cursor_select(13);
        const s32 c = choose(3, 1000, 201, 202, -1, 204);
        say(2, 1000 + c, 210 + c);
        label_add(0, 10000, 0, -40, 2000);
        log_text_number(280, 5);
        log_text(281);
        mssw_play_sound(500, 1);
        mssw_play_music(10018, 0);
        change_map(OTHER_MAP, 300, 200);
        say_center("Saved");
    });
    const std::vector<std::string> want = {
        "say_at 12 200",        "choose 3 1000 201 202 -1 204 -> 3",
        "say 2 1003 213",       "label 0 10000 0 -40 2000",
        "log_number 280 5",     "log 281",
        "sound 500 1",          "music 10018 0",
        "change_map 2 300 200", "say_center Saved"};

    world_place_object(12, MAP, 520, 420, 0, slot);
    dialog_transcript_mode();
    dialog_answer(3);
    world_fire(12, TRIG_CLICK);
    EXPECT_EQ(dialog_lines(), want);
    EXPECT_EQ(u32(world_state.cursor_id), 13u);
    EXPECT_EQ(menu_highlight_colour, 25760);

    world_place_player(MAP, 500, 400);
    dialog_real_mode(DialogWaitAnswer::Click);
    dialog_answer(3);
    const u64 presents = harness_presents();
    world_fire(12, TRIG_CLICK);
    EXPECT_EQ(dialog_lines(), want);
    EXPECT_GT(harness_presents(), presents);
    EXPECT_EQ(dialog_answers_left(), 0u);
}

} // namespace
