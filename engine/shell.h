// The shell: process start-up on the window thread, the window procedure, the input words that
// the window thread writes and the game polls, the blocking requests of the game thread, the
// fatal reporter, shutdown and the hand-over to "END.EXE".
#pragma once
#include "engine/types.h"
#include "platform/platform.h"

#include <atomic>

// Window messages handled by `shell_wndproc`. The four private requests are 1024..1027.
enum : u32 {
    WM_DESTROY = 0x0002,
    WM_CLOSE = 0x0010,
    WM_ACTIVATEAPP = 0x001C,
    WM_SETCURSOR = 0x0020,
    WM_KEYDOWN = 0x0100,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_USER = 0x0400,
};

// One input word: a whole 32-bit value written by the window thread and polled and reset by the
// game thread. Every read by the game first lets the platform deliver due input (headless) or
// notice a stop request and pace a loop that waits for input (SDL).
template <class T> class InputWord {
  public:
    operator T() const {
        plat_input_poll();
        return value_.load();
    }
    InputWord& operator=(T v) {
        value_.store(v);
        return *this;
    }
    // Reads without polling: for the platform layer and for tests that inspect state.
    T peek() const { return value_.load(); }

  private:
    std::atomic<T> value_{};
};

extern InputWord<u32> mouse_buttons; // bit 0 left held, bit 1 right held
extern InputWord<u32> click_kind;    // 1 left went down, 2 right went down; consumers reset
extern InputWord<s32> click_x;
extern InputWord<s32> click_y;
extern InputWord<s32> pointer_x;
extern InputWord<s32> pointer_y;
extern InputWord<u32> key_code; // virtual-key code of the last key; consumers reset

extern s32 exit_code;           // 99 makes the window thread start "END.EXE" at the end
extern s32 game_thread_started; // 1 once the game thread has been started
extern s32 cursor_slot;         // software cursor slot 0..31
extern char cmdline_words[16][80];
extern s32 cmdline_word_count;

// Window thread.
s32 shell_winmain(const char* command_line);
void cmdline_split(const char* text);
void shell_run(const char* class_name, const char* title);
// The window thread's start-up before the game thread starts: window, archive, canvas, pool,
// sound, ring. Also what headless tests run to stand the engine up.
void shell_startup(const char* title);
void shell_wndproc(u32 message, u32 wparam, u32 lparam);
void shell_key(u32 vk);
void shell_select_cursor(u32 slot);
void shell_shutdown();

// Either thread.
[[noreturn]] void shell_fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Set by a backend that runs two threads: the fatal reporter's first step, which keeps the other
// thread away from what the reporter releases. Null: nothing to do.
extern void (*shell_fatal_prepare)();
// The plain line printed after a fatal message that the user can act on (the archive missing or
// too short: where the program looked and how to get a placeholder archive); null for the others.
const char* shell_fatal_help(const char* message);
void debug_log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Game thread: blocking requests to the window thread.
void shell_send_present();
void shell_send_cursor_shape(s32 slot, s32 hot_x, s32 hot_y);
void shell_send_cursor_select(s32 slot);
void shell_send_cursor_show(s32 show);
[[noreturn]] void game_quit();
void game_thread();
void game_main();
// The game thread's drawing set-up: targets, lookup tables, text state (the start of `game_main`).
void game_drawing_setup();

// Seams for the game core, which is not built yet: `game_main` calls them after the engine's
// start-up. Until the game core replaces them, the first waits for a key, a click or a close
// request and the second returns at once (so the game quits). Tests may replace them.
extern void (*game_start_seam)();
extern void (*hub_main_seam)();
void placeholder_game_start();
