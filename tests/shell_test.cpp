// The shell on the headless platform: the input words as the window procedure writes them, the
// command line, cursor selection, the canvas's cursor, and the whole start-up and shutdown.
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "platform/harness.h"
#include "platform/poll_pace.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness_reset();
        shell_shutdown();
        cursor_slot = 0;
        cursor_shown = 0;
        exit_code = 0;
        game_thread_started = 0;
        game_start_seam = placeholder_game_start;
        hub_main_seam = [] {};
    }
    void TearDown() override {
        shell_shutdown();
        game_start_seam = placeholder_game_start;
        hub_main_seam = [] {};
    }
};

TEST_F(ShellTest, InputWordsFollowTheWindowProcedure) {
    harness_move(100, 200, gated());
    harness_button_down(1, gated());
    harness_move(300, 40, at_time(0));
    harness_button_down(2, at_time(0));
    harness_pump();
    EXPECT_EQ(mouse_buttons.peek(), 3u);
    EXPECT_EQ(click_kind.peek(), 2u);
    EXPECT_EQ(click_x.peek(), 300);
    EXPECT_EQ(click_y.peek(), 40);

    // A button-up clears only its own bit and leaves the click as it was.
    harness_button_up(1, at_time(0));
    harness_pump();
    EXPECT_EQ(mouse_buttons.peek(), 2u);
    EXPECT_EQ(click_kind.peek(), 2u);
    EXPECT_EQ(click_x.peek(), 300);
    harness_button_up(2, at_time(0));
    harness_pump();
    EXPECT_EQ(mouse_buttons.peek(), 0u);
    EXPECT_EQ(click_kind.peek(), 2u);

    // Any key, meaningful or not, sets its virtual-key code.
    harness_key(0x10, at_time(0)); // Shift
    harness_pump();
    EXPECT_EQ(key_code.peek(), 0x10u);
    harness_key(0x70, at_time(0)); // F1
    harness_pump();
    EXPECT_EQ(key_code.peek(), 0x70u);
}

TEST_F(ShellTest, PointerPositionsAreClampedToTheScreen) {
    harness_move(700, -5, at_time(0));
    harness_pump();
    EXPECT_EQ(pointer_x.peek(), 639);
    EXPECT_EQ(pointer_y.peek(), 0);
    harness_move(-1, 9999, at_time(0));
    harness_pump();
    EXPECT_EQ(pointer_x.peek(), 0);
    EXPECT_EQ(pointer_y.peek(), 479);
}

TEST_F(ShellTest, GatedInputWaitsUntilTheGameConsumesThePreviousEvent) {
    harness_key(0x41);
    harness_key(0x42);
    EXPECT_EQ(key_code, 0x41u); // the read itself delivers the first key
    EXPECT_EQ(key_code, 0x41u); // not consumed: the second waits
    EXPECT_EQ(harness_pending_input(), 1u);
    key_code = 0;
    EXPECT_EQ(key_code, 0x42u);

    // A click holds its button until the game has seen and consumed the press.
    harness_click(10, 20);
    key_code = 0;
    EXPECT_EQ(mouse_buttons, 1u);
    EXPECT_EQ(mouse_buttons, 1u);
    click_kind = 0;
    EXPECT_EQ(mouse_buttons, 0u);
    EXPECT_EQ(click_x.peek(), 10);
    EXPECT_EQ(click_y.peek(), 20);
}

TEST_F(ShellTest, APressDeliveredByAClockReadIsSeenBeforeItsRelease) {
    // The press arrives during a tick read (as inside a present), a frame is presented, and
    // only then does the game read the buttons: it must still find the press.
    harness_click(30, 40);
    plat_ticks();
    EXPECT_EQ(mouse_buttons.peek(), 1u);
    plat_screen_presented();
    EXPECT_EQ(mouse_buttons, 1u);
    EXPECT_EQ(mouse_buttons, 0u); // seen and a frame presented since: released
}

TEST_F(ShellTest, TimedInputArrivesWithTheVirtualClock) {
    harness_key(0x20, at_time(50));
    while (key_code == 0) plat_ticks();
    EXPECT_EQ(harness_elapsed_ms(), 50u);

    HarnessConfig tight;
    tight.budget_ms = 100;
    harness_reset(tight);
    EXPECT_THROW(
        {
            while (key_code == 0) plat_ticks();
        },
        HarnessBudgetExceeded);
}

TEST(PollPace, IdlePollsNapEverySixtyFourthAndNewInputOrARequestStartsAgain) {
    // Each case: the polls in order ('.' finds nothing new, 'n' finds new input, 'r' stands for
    // a request to the window thread before the next poll) and the polls (counted from 1,
    // requests not counted) after which the caller naps.
    struct Case {
        std::string polls;
        std::vector<size_t> naps;
    };
    const std::string idle63(63, '.');
    const Case cases[] = {
        {idle63 + "." + idle63 + ".", {64, 128}},
        {idle63 + "n" + idle63 + ".", {128}},
        {idle63 + "r" + idle63 + ".", {127}},
        {"n" + idle63, {}}, // the first poll's new input counts from there
    };
    for (const Case& c : cases) {
        PollPace pace;
        u64 generation = 0;
        size_t count = 0;
        std::vector<size_t> naps;
        for (const char e : c.polls) {
            if (e == 'r') {
                pace.busy();
                continue;
            }
            if (e == 'n') ++generation;
            ++count;
            if (pace.poll(generation)) naps.push_back(count);
        }
        EXPECT_EQ(naps, c.naps) << c.polls.size();
    }
}

TEST_F(ShellTest, TheTickCounterWraps) {
    HarnessConfig c;
    c.clock_start = 0xFFFFFFF0u;
    harness_reset(c);
    u32 start = plat_ticks();
    u32 now = start;
    for (int i = 0; i < 40; ++i) now = plat_ticks();
    EXPECT_LT(now, start);
    EXPECT_EQ(u32(now - start), 40u);
}

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
};

TEST_F(ShellTest, CommandLineSplitsIntoUpperCaseWords) {
    const SplitCase cases[] = {
        {"", {}},         {"  ab  xy", {"", "", "AB", "", "XY"}},
        {"one", {"ONE"}}, {"a1-b \xA4\xA4z", {"A1-B", "\xA4\xA4Z"}},
        {"x ", {"X"}},
    };
    for (const SplitCase& c : cases) {
        cmdline_split(c.line);
        ASSERT_EQ(cmdline_word_count, s32(c.words.size())) << '"' << c.line << '"';
        for (size_t i = 0; i < c.words.size(); ++i)
            EXPECT_EQ(std::string(cmdline_words[i]), c.words[i]) << '"' << c.line << '"';
    }
}

TEST_F(ShellTest, CommandLineDropsWhatDoesNotFit) {
    std::string line;
    for (int i = 0; i < 20; ++i) line += "w ";
    line += std::string(100, 'q');
    cmdline_split(line.c_str());
    EXPECT_EQ(cmdline_word_count, 16);
    cmdline_split(std::string(100, 'q').c_str());
    EXPECT_EQ(cmdline_word_count, 1);
    EXPECT_EQ(std::strlen(cmdline_words[0]), 79u);
}

TEST_F(ShellTest, CursorSlotsAreChecked) {
    shell_select_cursor(31);
    EXPECT_EQ(cursor_slot, 31);
    EXPECT_EQ(harness_fatal_message([] { shell_select_cursor(32); }), "shell:oscn(32)");
    EXPECT_EQ(cursor_slot, 31);
}

TEST_F(ShellTest, CursorIsClippedSavedAndRestored) {
    ASSERT_TRUE(plat_window_open("t"));
    canvas_init();
    for (int i = 0; i < 32 * 32; ++i) cursor_scratch[i] = u16(0x1000 + i);
    cursor_scratch[0] = 0; // transparent pixel
    canvas_cursor_define(3, 5, 5);
    std::memset(back_buffer, 0x11, size_t(SCREEN_PIXELS) * 2);
    canvas_present(0, 0, 3); // cursor hidden: the frame only
    const u16* screen = harness_screen();
    EXPECT_EQ(screen[0], 0x1111);

    canvas_cursor_show(1);
    canvas_cursor_draw(1, 0, 0, 3);
    // Only the lower-right 27 x 27 pixels of the shape land, at 0,0.
    EXPECT_EQ(screen[0], u16(0x1000 + 5 * 32 + 5));
    EXPECT_EQ(screen[26 * 640 + 26], u16(0x1000 + 31 * 32 + 31));
    EXPECT_EQ(screen[27], 0x1111);
    EXPECT_EQ(screen[27 * 640], 0x1111);

    // Moving restores what was under it; the transparent pixel keeps the screen.
    canvas_cursor_draw(1, 100, 100, 3);
    EXPECT_EQ(screen[0], 0x1111);
    EXPECT_EQ(screen[95 * 640 + 95], 0x1111);
    EXPECT_EQ(screen[95 * 640 + 96], u16(0x1001));

    // At the bottom-right corner with hotspot (0, 0) a single pixel shows.
    canvas_cursor_define(4, 0, 0);
    canvas_cursor_draw(1, 639, 479, 4);
    EXPECT_EQ(screen[479 * 640 + 639], 0x1111); // pixel 0 of the shape is transparent
    cursor_scratch[0] = 0x7777;
    canvas_cursor_define(4, 0, 0);
    canvas_cursor_draw(1, 639, 479, 4);
    EXPECT_EQ(screen[479 * 640 + 639], 0x7777);
    EXPECT_EQ(screen[95 * 640 + 96], 0x1111);

    canvas_cursor_show(0);
    EXPECT_EQ(screen[479 * 640 + 639], 0x1111);

    // A cursor wholly off the right or bottom edge draws nothing.
    canvas_cursor_show(1);
    canvas_cursor_draw(1, 700, 10, 4);
    canvas_cursor_draw(1, 10, 500, 4);
    EXPECT_EQ(screen[10 * 640 + 639], 0x1111);
    EXPECT_EQ(screen[479 * 640 + 10], 0x1111);
    canvas_cursor_show(0);

    canvas_cursor_define(5, 40, -3);
    EXPECT_EQ(cursor_hot_x[5], 31);
    EXPECT_EQ(cursor_hot_y[5], 0);
    EXPECT_EQ(harness_fatal_message([] { canvas_cursor_define(32, 0, 0); }), "canvas:cccts or(32)");
}

TEST_F(ShellTest, DisplayResultCodesHaveDescriptions) {
    EXPECT_STREQ(canvas_error_name(0), "No error.");
    EXPECT_STREQ(canvas_error_name(0x88760000u + 120),
                 "DirectDraw does not support the requested mode.");
    EXPECT_STREQ(canvas_error_name(0x88760000u + 380), canvas_error_name(0x8007000Eu));
    EXPECT_STREQ(canvas_error_name(0x88760000u + 575), "Display error 0x8876023F.");
    EXPECT_STREQ(canvas_error_name(0x88760000u + 593), "Unrecognized error value.");
    EXPECT_STREQ(canvas_error_name(12345), "Unrecognized error value.");
}

TEST_F(ShellTest, ReactivationShowsThePresentedFrameNotTheBackBuffer) {
    ASSERT_TRUE(plat_window_open("t"));
    canvas_init();
    std::memset(back_buffer, 0x22, size_t(SCREEN_PIXELS) * 2);
    canvas_present(0, 0, 0);
    std::memset(back_buffer, 0x33, size_t(SCREEN_PIXELS) * 2); // a frame being drawn
    u64 before = harness_presents();
    game_thread_started = 1;
    shell_wndproc(WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(harness_presents(), before + 1);
    EXPECT_EQ(harness_screen()[1000], 0x2222);
    shell_wndproc(WM_ACTIVATEAPP, 0, 0); // deactivation does nothing
    EXPECT_EQ(harness_presents(), before + 1);
}

// A whole run of the program headless: start-up on the "window thread", the game thread, the
// close and the shutdown.
class StartupTest : public ShellTest {
  protected:
    static HarnessConfig small() {
        HarnessConfig c;
        c.physical_memory = 16ull << 20; // the smallest pool keeps the runs quick
        return c;
    }
    void SetUp() override {
        ShellTest::SetUp();
        harness_reset(small());
    }
    void write_archive(const std::vector<u8>& text_table_entry) {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        b.put(ARC_TEXT_TABLE, text_table_entry);
        arc_write_chained(b, "VERORIRE");
    }
    HarnessTempDir dir;
};

TEST_F(StartupTest, FirstFrameIsBlackAndTheTextTableIsLoaded) {
    const std::vector<u8> table = {9, 0, 7, 0, 'a', 'b', 'c', 'd', 0, 0, 0, 0, 0};
    write_archive(table);
    HarnessConfig c;
    c.physical_memory = 64ull << 20;
    harness_reset(c);
    static s32 pool_while_running;
    game_start_seam = [] {
        pool_while_running = pool_size;
        placeholder_game_start();
    };
    std::vector<u16> first;
    harness_on_present([&](const u16* frame, u64 n) {
        if (n == 1) first.assign(frame, frame + SCREEN_PIXELS);
    });
    std::memset(back_buffer, 0xAB, size_t(SCREEN_PIXELS) * 2);
    harness_key(0x0D, at_present(1));
    harness_capture_present(1, "first.png");

    EXPECT_EQ(shell_winmain("hello world"), 0);

    ASSERT_EQ(first.size(), size_t(SCREEN_PIXELS));
    // Black everywhere but where the cursor stands (slot 0 at the pointer's 0,0).
    s32 lit = 0;
    for (s32 i = 0; i < SCREEN_PIXELS; ++i) lit += first[size_t(i)] != 0;
    EXPECT_LE(lit, 32 * 32);
    EXPECT_NE(first[0], 0); // the tip of cursor 0 (image 32) at the pointer
    std::ifstream png("first.png", std::ios::binary);
    std::string head(8, '\0');
    png.read(head.data(), 8);
    EXPECT_EQ(head, std::string("\x89PNG\r\n\x1a\n", 8));
    if (const char* keep = std::getenv("MORVANTA_KEEP_FRAMES"))
        std::filesystem::copy_file("first.png", std::string(keep) + "/first.png",
                                   std::filesystem::copy_options::overwrite_existing);
    for (s32 y = 32; y < SCREEN_H; ++y) ASSERT_EQ(first[size_t(y * SCREEN_W + 100)], 0) << y;
    EXPECT_EQ(std::memcmp(text_table, table.data(), table.size()), 0);
    EXPECT_EQ(text_scrambled, 1);
    EXPECT_EQ(cmdline_word_count, 2);
    EXPECT_EQ(std::string(cmdline_words[1]), "WORLD");
    // The game quit through the close request: everything released, the window gone.
    EXPECT_EQ(harness_posted_messages(), std::vector<u32>{WM_CLOSE});
    EXPECT_TRUE(harness_window_destroyed());
    EXPECT_EQ(pool_base, nullptr);
    EXPECT_EQ(harness_exec_path(), "");
    EXPECT_EQ(pool_while_running, 48 << 20); // the tier of 64 MB of physical memory
}

TEST_F(StartupTest, ExitCode99StartsTheEndingProgram) {
    write_archive({0, 0, 0, 0});
    { std::ofstream("END.EXE") << "#!/bin/sh\n"; }
    chmod("END.EXE", 0755);
    game_start_seam = [] { exit_code = 99; };
    shell_winmain("");
    EXPECT_EQ(harness_exec_path(), "./END.EXE");

    // Any other exit code, or a missing program, just ends.
    harness_reset(small());
    game_start_seam = [] { exit_code = 98; };
    shell_winmain("");
    EXPECT_EQ(harness_exec_path(), "");
    harness_reset(small());
    std::remove("END.EXE");
    game_start_seam = [] { exit_code = 99; };
    shell_winmain("");
    EXPECT_EQ(harness_exec_path(), "");
}

TEST_F(StartupTest, StartupFailuresAreFatal) {
    // No archive at all.
    EXPECT_EQ(harness_fatal_message([] { shell_winmain(""); }), "gisk init");
    // No window: fatal before anything else is opened.
    HarnessConfig c = small();
    c.window_available = false;
    harness_reset(c);
    write_archive({0, 0, 0, 0});
    EXPECT_EQ(harness_fatal_message([] { shell_winmain(""); }), "shell:cwex");
    // A text table larger than its buffer.
    harness_reset(small());
    write_archive(std::vector<u8>(TEXT_TABLE_SIZE + 1, 1));
    EXPECT_EQ(harness_fatal_message([] { shell_winmain(""); }), "text: table(1048577) too large");
}

TEST_F(StartupTest, GameThreadIsSeededFromTheClock) {
    write_archive({0, 0, 0, 0});
    auto first_draws = [](u32 clock) {
        HarnessConfig c = small();
        c.clock_start = clock;
        harness_reset(c);
        static std::vector<s32> draws;
        draws.clear();
        game_start_seam = [] {
            for (int i = 0; i < 4; ++i) draws.push_back(rt_rand());
        };
        shell_winmain("");
        return draws;
    };
    EXPECT_EQ(first_draws(1000), first_draws(1000));
    EXPECT_NE(first_draws(1000), first_draws(5000));
}

} // namespace
