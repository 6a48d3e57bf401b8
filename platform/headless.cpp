// Headless backend: one thread, a virtual clock, scripted input, a recording sound fake.
// Requests from the "game thread" run synchronously through the window procedure on the caller.
#include "engine/shell.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "platform/png.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace {

enum class EvKind { Move, Down, Up, Key };

struct Event {
    EvKind kind;
    s32 x = 0, y = 0; // move
    s32 button = 0;   // down/up
    u32 vk = 0;       // key
    InputTrigger trigger;
    bool hold_until_seen = false; // the release of a click
};

// What the last delivered event asks of the game before a gated event may follow.
enum class Gate { None, Button, Key };

struct FakeSound {
    s32 size = 0;
    u32 duration_ms = 0;
    s32 loops = 1;
    bool playing = false;
    u64 started_at = 0;
};

struct State {
    HarnessConfig config;
    u32 clock = 0;
    u64 elapsed = 0;
    u64 presents = 0;
    bool window_open = false;
    bool destroyed = false;
    bool quit = false;
    u16 screen[640 * 480] = {};
    std::deque<u32> posted;
    std::vector<u32> posted_log;
    std::string exec_path;
    std::function<void(const u16*, u64)> present_hook;
    std::map<u64, std::string> captures;

    std::deque<Event> input;
    s32 pointer_x = 0, pointer_y = 0;
    Gate gate = Gate::None;
    s32 gate_button = 0;
    u64 gate_presents = 0;
    bool gate_seen = false;
    bool pumping = false;

    bool sound_started = false;
    u32 next_handle = 1;
    std::map<u32, FakeSound> sounds;
    std::vector<SoundCall> sound_log;
};

State& st() {
    static State* s = new State(); // never destroyed: tests may read it during exit
    return *s;
}

void check_budget() {
    State& s = st();
    if (s.elapsed > s.config.budget_ms)
        throw HarnessBudgetExceeded("virtual time budget of " + std::to_string(s.config.budget_ms) +
                                    " ms spent");
    if (s.presents > s.config.budget_presents)
        throw HarnessBudgetExceeded("present budget of " +
                                    std::to_string(s.config.budget_presents) + " spent");
}

void advance(u32 ms) {
    State& s = st();
    s.clock += ms;
    s.elapsed += ms;
}

u32 pack(s32 x, s32 y) {
    return u32(x & 0xFFFF) | (u32(y & 0xFFFF) << 16);
}

bool gate_open() {
    State& s = st();
    switch (s.gate) {
    case Gate::None:
        return true;
    case Gate::Button: {
        u32 bit = s.gate_button == 1 ? 1u : 2u;
        bool consumed = click_kind.peek() == 0 || (mouse_buttons.peek() & bit) == 0;
        return consumed || (s.gate_seen && s.presents > s.gate_presents);
    }
    case Gate::Key:
        return key_code.peek() == 0 || (s.gate_seen && s.presents > s.gate_presents);
    }
    return true;
}

bool due(const Event& e) {
    State& s = st();
    switch (e.trigger.when) {
    case When::AtTime:
        return s.elapsed >= e.trigger.value;
    case When::AtPresent:
        return s.presents >= e.trigger.value;
    case When::Gated:
        return gate_open();
    }
    return false;
}

void deliver(const Event& e) {
    State& s = st();
    switch (e.kind) {
    case EvKind::Move:
        s.pointer_x = std::clamp(e.x, 0, 639);
        s.pointer_y = std::clamp(e.y, 0, 479);
        shell_wndproc(WM_MOUSEMOVE, 0, pack(s.pointer_x, s.pointer_y));
        break;
    case EvKind::Down:
        shell_wndproc(e.button == 1 ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0,
                      pack(s.pointer_x, s.pointer_y));
        s.gate = Gate::Button;
        s.gate_button = e.button;
        s.gate_presents = s.presents;
        s.gate_seen = false;
        return;
    case EvKind::Up:
        shell_wndproc(e.button == 1 ? WM_LBUTTONUP : WM_RBUTTONUP, 0,
                      pack(s.pointer_x, s.pointer_y));
        break;
    case EvKind::Key:
        shell_wndproc(WM_KEYDOWN, e.vk, 0);
        s.gate = Gate::Key;
        s.gate_presents = s.presents;
        s.gate_seen = false;
        return;
    }
    s.gate = Gate::None;
}

void pump(bool from_input_read) {
    State& s = st();
    if (s.pumping) return;
    s.pumping = true;
    while (!s.input.empty() && due(s.input.front())) {
        Event e = s.input.front();
        s.input.pop_front();
        deliver(e);
    }
    // The read that ran this pump returns the words as they are now: from here on the game has
    // seen the last event. (Marking it before the deliveries would let a press and its release
    // go through in one pump, unseen.)
    if (from_input_read) s.gate_seen = true;
    s.pumping = false;
}

void enqueue(Event e) {
    st().input.push_back(e);
}

} // namespace

// ---- Harness
// -------------------------------------------------------------------------------------

void harness_reset(const HarnessConfig& config) {
    State& s = st();
    s = State();
    s.config = config;
    s.clock = config.clock_start;
    mouse_buttons = 0;
    click_kind = 0;
    click_x = 0;
    click_y = 0;
    pointer_x = 0;
    pointer_y = 0;
    key_code = 0;
}

const HarnessConfig& harness_config() {
    return st().config;
}
u32 harness_now() {
    return st().clock;
}
void harness_advance(u32 ms) {
    advance(ms);
}
u64 harness_elapsed_ms() {
    return st().elapsed;
}

void harness_move(s32 x, s32 y, InputTrigger t) {
    enqueue({EvKind::Move, x, y, 0, 0, t});
}
void harness_button_down(s32 button, InputTrigger t) {
    enqueue({EvKind::Down, 0, 0, button, 0, t});
}
void harness_button_up(s32 button, InputTrigger t) {
    enqueue({EvKind::Up, 0, 0, button, 0, t});
}
void harness_key(u32 vk, InputTrigger t) {
    enqueue({EvKind::Key, 0, 0, 0, vk, t});
}
void harness_click(s32 x, s32 y, s32 button, InputTrigger t) {
    harness_move(x, y, t);
    harness_button_down(button, gated());
    harness_button_up(button, gated());
}
void harness_pump() {
    pump(false);
}
size_t harness_pending_input() {
    return st().input.size();
}

u64 harness_presents() {
    return st().presents;
}
void harness_on_present(std::function<void(const u16*, u64)> hook) {
    st().present_hook = std::move(hook);
}
const u16* harness_screen() {
    return st().screen;
}
void harness_save_frame(const std::string& path, const u16* frame) {
    frame_write(path, frame ? frame : st().screen, 640, 480, st().config.display_565 != 0);
}
void harness_capture_present(u64 n, const std::string& path) {
    st().captures[n] = path;
}

const std::vector<u32>& harness_posted_messages() {
    return st().posted_log;
}
bool harness_window_destroyed() {
    return st().destroyed;
}
const std::string& harness_exec_path() {
    return st().exec_path;
}

const std::vector<SoundCall>& harness_sound_log() {
    return st().sound_log;
}
void harness_sound_log_clear() {
    st().sound_log.clear();
}
size_t harness_sounds_live() {
    return st().sounds.size();
}

u32 harness_wav_duration_ms(const void* data, s32 size) {
    const u8* p = static_cast<const u8*>(data);
    auto le16 = [&](s32 o) { return u32(p[o] | p[o + 1] << 8); };
    auto le32 = [&](s32 o) { return le16(o) | le16(o + 2) << 16; };
    if (!p || size < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
        return 0;
    u32 channels = 0, rate = 0, bits = 0, data_bytes = 0;
    bool have_data = false;
    s32 o = 12;
    while (o + 8 <= size) {
        u32 len = le32(o + 4);
        if (std::memcmp(p + o, "fmt ", 4) == 0 && len >= 16 && o + 8 + 16 <= size) {
            channels = le16(o + 10);
            rate = le32(o + 12);
            bits = le16(o + 22);
        } else if (std::memcmp(p + o, "data", 4) == 0) {
            data_bytes = std::min<u32>(len, u32(size - o - 8));
            have_data = true;
        }
        if (len > u32(size)) break;
        o += 8 + s32(len) + s32(len & 1);
    }
    u32 frame = channels * ((bits + 7) / 8);
    if (!have_data || frame == 0 || rate == 0) return 0;
    u64 frames = data_bytes / frame;
    return u32((frames * 1000 + rate - 1) / rate);
}

std::string harness_fatal_message(const std::function<void()>& body) {
    try {
        body();
    } catch (const PlatFatal& e) {
        return e.what();
    }
    return "";
}

HarnessTempDir::HarnessTempDir() {
    char buf[] = "/tmp/morvanta-test-XXXXXX";
    if (!mkdtemp(buf)) throw std::runtime_error("mkdtemp failed");
    path_ = buf;
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

HarnessTempDir::~HarnessTempDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
}

// ---- Platform
// ------------------------------------------------------------------------------------

u32 plat_ticks() {
    advance(st().config.tick_step_ms);
    check_budget();
    pump(false);
    return st().clock;
}

u64 plat_physical_memory() {
    return st().config.physical_memory;
}

bool plat_window_open(const char*) {
    State& s = st();
    if (!s.config.window_available) return false;
    s.window_open = true;
    return true;
}

void plat_start_game_thread(void (*entry)()) {
    try {
        entry();
    } catch (const PlatUnwind&) {
    }
}

void plat_message_loop() {
    State& s = st();
    while (!s.quit && !s.posted.empty()) {
        u32 m = s.posted.front();
        s.posted.pop_front();
        shell_wndproc(m, 0, 0);
    }
}

void plat_send(u32 msg, u32 wparam, u32 lparam) {
    shell_wndproc(msg, wparam, lparam);
}

void plat_post_close() {
    st().posted.push_back(WM_CLOSE);
    st().posted_log.push_back(WM_CLOSE);
}

void plat_destroy_window() {
    State& s = st();
    if (s.destroyed) return;
    s.destroyed = true;
    s.window_open = false;
    shell_wndproc(WM_DESTROY, 0, 0);
}

void plat_post_quit() {
    st().quit = true;
}

void plat_end_game_thread() {
    throw PlatUnwind{};
}

void plat_fatal_exit(const char* message) {
    throw PlatFatal(message);
}

void plat_exec_end_program() {
    if (access("END.EXE", X_OK) == 0) st().exec_path = "./END.EXE";
}

s32 plat_display_565() {
    return st().config.display_565;
}

u16* plat_screen() {
    return st().window_open ? st().screen : nullptr;
}

void plat_screen_presented() {
    State& s = st();
    s.presents += 1;
    advance(s.config.present_step_ms);
    if (s.present_hook) s.present_hook(s.screen, s.presents);
    auto it = s.captures.find(s.presents);
    if (it != s.captures.end()) harness_save_frame(it->second, s.screen);
    check_budget();
}

void plat_screen_touched() {}

void plat_input_poll() {
    pump(true);
}

// ---- Sound fake
// ------------------------------------------------------------------------------------

bool plat_snd_startup() {
    State& s = st();
    s.sound_log.push_back({"startup", 0, s.config.sound_available ? 1 : 0});
    s.sound_started = s.config.sound_available;
    return s.sound_started;
}

u32 plat_snd_load_mem(const void* data, s32 size) {
    State& s = st();
    u32 h = s.next_handle++;
    FakeSound snd;
    snd.size = size;
    snd.duration_ms = harness_wav_duration_ms(data, size);
    s.sounds[h] = snd;
    s.sound_log.push_back({"load", h, size});
    return h;
}

void plat_snd_set_volume(u32 handle, s32 volume) {
    st().sound_log.push_back({"volume", handle, volume});
}

void plat_snd_play(u32 handle, s32 loop_count) {
    State& s = st();
    s.sound_log.push_back({"play", handle, loop_count});
    auto it = s.sounds.find(handle);
    if (it == s.sounds.end()) return;
    it->second.playing = true;
    it->second.loops = loop_count;
    it->second.started_at = s.elapsed;
}

s32 plat_snd_status(u32 handle) {
    State& s = st();
    s32 result = 1;
    auto it = s.sounds.find(handle);
    if (it != s.sounds.end()) {
        const FakeSound& f = it->second;
        if (!f.playing || f.loops <= 0)
            result = 0;
        else
            result = s.elapsed >= f.started_at + u64(f.duration_ms) * u64(f.loops) ? 1 : 0;
    }
    s.sound_log.push_back({"status", handle, result});
    return result;
}

void plat_snd_halt(u32 handle) {
    State& s = st();
    s.sound_log.push_back({"halt", handle, 0});
    s.sounds.erase(handle);
}

void plat_snd_shutdown() {
    State& s = st();
    s.sound_log.push_back({"shutdown", 0, 0});
    s.sound_started = false;
}
