// The headless harness: what tests and benchmarks use to drive the real engine and game code on
// one thread, deterministically.
//
// - A virtual clock: every tick read advances it by `tick_step_ms` (1 ms), every present by
//   `present_step_ms` (16 ms), so every busy-wait ends and runs the same way in every run.
// - Scripted input: a queue of pointer moves, button downs and ups and key downs, each due at a
//   virtual time, at a present count, or consume-gated (after the game has consumed the event
//   before it). Every tick read and every input-word read delivers what is due through the
//   window procedure, exactly as the window thread would.
// - A per-present hook and frame capture; a budget past which the harness throws.
// - A recording sound fake whose sounds last as long as their WAV data on the virtual clock.
#pragma once
#include "engine/types.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Thrown from a tick read or a present once the virtual-time or present budget is spent: a test
// blocked in a wait fails instead of hanging.
struct HarnessBudgetExceeded : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct HarnessConfig {
    u32 clock_start = 0;      // first value of the virtual tick counter (test wrap-around)
    u32 tick_step_ms = 1;     // advance on every tick read
    u32 present_step_ms = 16; // advance on every present (the real backend's vertical sync)
    s32 display_565 = 1;      // pixel layout of the display
    u64 physical_memory = 256ull << 20;
    u64 budget_ms = 10 * 60 * 1000; // virtual milliseconds from reset
    u64 budget_presents = 100000;
    bool sound_available = true; // false: the sound start-up fails, the game runs silent
    bool window_available = true;
};

// Resets the whole headless platform: clock, input queue, screen, hooks, sound fake, budget.
// Engine state is not touched; tests reset the modules they use.
void harness_reset(const HarnessConfig& config = {});
const HarnessConfig& harness_config();

// ---- Clock -------------------------------------------------------------------------------------
u32 harness_now(); // the virtual tick counter, without advancing it
void harness_advance(u32 ms);
u64 harness_elapsed_ms(); // virtual milliseconds since the reset (does not wrap)

// ---- Scripted input -----------------------------------------------------------------------------
enum class When { Gated, AtTime, AtPresent };
struct InputTrigger {
    When when = When::Gated;
    u64 value = 0; // virtual ms since reset (AtTime) or present count (AtPresent)
};
inline InputTrigger gated() {
    return {};
}
inline InputTrigger at_time(u64 ms) {
    return {When::AtTime, ms};
}
inline InputTrigger at_present(u64 n) {
    return {When::AtPresent, n};
}

void harness_move(s32 x, s32 y, InputTrigger t = gated());
void harness_button_down(s32 button, InputTrigger t = gated()); // 1 left, 2 right
void harness_button_up(s32 button, InputTrigger t = gated());
void harness_key(u32 vk, InputTrigger t = gated());
// Moves the pointer to (x, y), presses the button and holds it until the game has seen the
// press (consumed it, or read the buttons and presented a frame since), then releases it.
void harness_click(s32 x, s32 y, s32 button = 1, InputTrigger t = gated());
// Delivers every due event now (the same pump a tick or input read runs).
void harness_pump();
size_t harness_pending_input();

// ---- Screen -------------------------------------------------------------------------------------
u64 harness_presents(); // presents since the reset
// Called after every present with the visible frame (640 x 480, display layout).
void harness_on_present(std::function<void(const u16* frame, u64 present)> hook);
const u16* harness_screen(); // the visible surface
// Writes the visible surface, or any 640 x 480 frame, as PNG (".png") or binary PPM.
void harness_save_frame(const std::string& path, const u16* frame = nullptr);
// Requests a capture of the frame presented as present number n (1-based).
void harness_capture_present(u64 n, const std::string& path);

// ---- Window -------------------------------------------------------------------------------------
// Messages posted to the window thread and handled by the headless message loop, in order.
const std::vector<u32>& harness_posted_messages();
bool harness_window_destroyed();
// The program path that the "END.EXE" hand-over would start ("" when it was not started).
const std::string& harness_exec_path();

// ---- Sound fake ---------------------------------------------------------------------------------
struct SoundCall {
    std::string op; // "startup", "load", "volume", "play", "status", "halt", "shutdown"
    u32 handle = 0;
    s32 arg = 0; // volume, loop count, status result or data size
};
const std::vector<SoundCall>& harness_sound_log();
void harness_sound_log_clear();
size_t harness_sounds_live(); // handles loaded and not yet halted
// Duration in ms of a RIFF WAV image by its data chunk and format; 0 when it is no WAV.
u32 harness_wav_duration_ms(const void* data, s32 size);

// ---- Fatal and quit -----------------------------------------------------------------------------
// Runs `body`; returns the PlatFatal message it ended with, or "" when it returned normally.
std::string harness_fatal_message(const std::function<void()>& body);

// ---- Working directory --------------------------------------------------------------------------
// A fresh temporary directory that becomes the working directory for the object's lifetime.
class HarnessTempDir {
  public:
    HarnessTempDir();
    ~HarnessTempDir();
    HarnessTempDir(const HarnessTempDir&) = delete;
    HarnessTempDir& operator=(const HarnessTempDir&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};
