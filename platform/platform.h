// The platform layer: the few operating-system services the engine needs, behind one small
// interface with two backends. The SDL2 backend (platform/sdl.cpp) serves the real program:
// a window thread running the event loop and a separate game thread. The headless backend
// (platform/headless.cpp) serves tests and benchmarks: one thread, a virtual clock, scripted
// input and a recording sound fake (see platform/harness.h).
//
// Exactly one backend is linked into each executable.
#pragma once
#include "engine/types.h"

#include <stdexcept>
#include <string>

// Thrown on the game thread to unwind it to the thread's top: by `game_quit`, and by the next
// platform call after the window thread has asked the game thread to stop (a system close
// request). Deliberately not a std::exception, so generic handlers never swallow it.
struct PlatUnwind {};

// Thrown by the headless backend where the real program would show the fatal message box and
// exit with code 1. `what()` is the exact formatted message.
struct PlatFatal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---- Time -------------------------------------------------------------------------------------
// Milliseconds since some start, wrapping at 2^32 (the stand-in for the tick counter that all
// waiting in the game busy-polls). On the game thread it also notices a stop request.
u32 plat_ticks();

// ---- Machine ----------------------------------------------------------------------------------
u64 plat_physical_memory(); // total physical memory in bytes

// ---- Window and threads ---------------------------------------------------------------------
// Creates the 640 x 480 window; false when no window can be made.
bool plat_window_open(const char* title);
// Starts the game thread at `entry` (SDL) or runs it to its end on the caller (headless).
// Either way `entry` runs inside a handler that ends the thread quietly on PlatUnwind.
void plat_start_game_thread(void (*entry)());
// Runs the message loop on the window thread until the window is destroyed and the quit
// message arrives. Every input event and request is handed to `shell_wndproc`.
void plat_message_loop();
// Blocking request from the game thread to the window thread (message 1024..1027): returns when
// the window thread has run `shell_wndproc` with it.
void plat_send(u32 msg, u32 wparam, u32 lparam);
// Posts the close message to the window thread (does not wait).
void plat_post_close();
// Destroys the window: the window thread then sees the destroy message.
void plat_destroy_window();
// Ends the message loop after the current message (the destroy message's action).
void plat_post_quit();
// Ends the calling game thread (throws PlatUnwind).
[[noreturn]] void plat_end_game_thread();
// Shows the fatal message box (caption "錯誤") and ends the process with code 1 (SDL), or throws
// PlatFatal with the message (headless).
[[noreturn]] void plat_fatal_exit(const char* message);
// SDL backend only: the fatal box's own process (the program started again by the fatal reporter
// with "--fatal-box", its parent's process id and the message). Shows the box and ends when it is
// dismissed, when the program ends or on a signal; never returns.
[[noreturn]] void plat_fatal_box_main(const char* parent_pid, const char* message);
// Starts "END.EXE" from the working directory in place of the program; returns only when it
// does not exist or cannot be started.
void plat_exec_end_program();

// ---- Screen -----------------------------------------------------------------------------------
// 1 when the display takes 5-6-5 pixels, 0 for 5-5-5; fixed once the window is open.
s32 plat_display_565();
// The visible 640 x 480 surface of 16-bit pixels (rows of 640), written by the canvas on the
// window thread; null before the window is open.
u16* plat_screen();
// The canvas finished a whole frame on the visible surface (a present): show it and pace.
void plat_screen_presented();
// The canvas changed a small part of the visible surface outside a present (cursor moves).
void plat_screen_touched();

// ---- Input ------------------------------------------------------------------------------------
// Called on every read of an input word by the game: the headless backend delivers due input;
// the SDL backend notices a stop request and paces a loop that waits (platform/poll_pace.h).
void plat_input_poll();

// ---- Sound: a quick interface over whole sounds held in memory ---------------------------------
// Handles are non-zero; 0 is never a valid handle.
bool plat_snd_startup();                           // false: no sound device, run silent
u32 plat_snd_load_mem(const void* data, s32 size); // 0 when the data cannot be decoded
void plat_snd_set_volume(u32 handle, s32 volume);  // 0..127
void plat_snd_play(u32 handle, s32 loop_count);    // 0 = for ever, 1 = once
s32 plat_snd_status(u32 handle);                   // 1 = finished (or unknown handle)
void plat_snd_halt(u32 handle);                    // stops the sound and frees the handle
void plat_snd_shutdown();
