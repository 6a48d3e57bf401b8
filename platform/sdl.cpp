// SDL2 backend: the main thread is the window thread and runs the event loop; the game runs on a
// std::thread. The game thread's requests block until the window thread has handled them. A
// system close request stops the game thread (its next platform call unwinds), joins it, and only
// then lets the window procedure release everything.
#include "engine/shell.h"
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
s32 layout_565 = 1;
u16 screen[640 * 480];
bool screen_dirty = false;

std::thread game;
std::thread::id game_id;
std::atomic<bool> stop_requested{false};
std::atomic<bool> game_running{false};

// One pending request of the game thread, handed over under the lock.
std::mutex mutex;
std::condition_variable request_done;
bool request_pending = false;
bool request_finished = false;
u32 request_msg = 0, request_wparam = 0, request_lparam = 0;

std::deque<u32> posted; // messages posted to the window thread (window thread only)
bool quit_posted = false;
u32 wake_event = 0;

bool on_game_thread() {
    return std::this_thread::get_id() == game_id;
}

void check_stop() {
    if (stop_requested.load(std::memory_order_relaxed) && on_game_thread()) throw PlatUnwind{};
}

void wake_window_thread() {
    SDL_Event e{};
    e.type = wake_event;
    SDL_PushEvent(&e);
}

void render_screen() {
    if (!renderer) return;
    SDL_UpdateTexture(texture, nullptr, screen, 640 * 2);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer); // waits for the vertical sync: this paces the frames
    screen_dirty = false;
}

// Windows virtual-key codes for the keys SDL reports: the game treats any key as "continue"
// and a few screens look at particular codes.
u32 virtual_key(const SDL_Keysym& k) {
    SDL_Keycode c = k.sym;
    if (c >= SDLK_a && c <= SDLK_z) return u32('A' + (c - SDLK_a));
    if (c >= SDLK_0 && c <= SDLK_9) return u32('0' + (c - SDLK_0));
    if (c >= SDLK_F1 && c <= SDLK_F12) return u32(0x70 + (c - SDLK_F1));
    if (c >= SDLK_KP_1 && c <= SDLK_KP_9) return u32(0x61 + (c - SDLK_KP_1));
    switch (c) {
    case SDLK_BACKSPACE:
        return 0x08;
    case SDLK_TAB:
        return 0x09;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 0x0D;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return 0x11;
    case SDLK_LALT:
    case SDLK_RALT:
        return 0x12;
    case SDLK_PAUSE:
        return 0x13;
    case SDLK_CAPSLOCK:
        return 0x14;
    case SDLK_ESCAPE:
        return 0x1B;
    case SDLK_SPACE:
        return 0x20;
    case SDLK_PAGEUP:
        return 0x21;
    case SDLK_PAGEDOWN:
        return 0x22;
    case SDLK_END:
        return 0x23;
    case SDLK_HOME:
        return 0x24;
    case SDLK_LEFT:
        return 0x25;
    case SDLK_UP:
        return 0x26;
    case SDLK_RIGHT:
        return 0x27;
    case SDLK_DOWN:
        return 0x28;
    case SDLK_INSERT:
        return 0x2D;
    case SDLK_DELETE:
        return 0x2E;
    case SDLK_KP_0:
        return 0x60;
    default:
        return 0xFF; // some other key: still a key press
    }
}

u32 pack_position(s32 x, s32 y) {
    // Positions arrive in the logical 640 x 480 space; clamp what lies in the letterbox.
    x = x < 0 ? 0 : x > 639 ? 639 : x;
    y = y < 0 ? 0 : y > 479 ? 479 : y;
    return u32(x) | (u32(y) << 16);
}

void serve_request() {
    std::unique_lock lock(mutex);
    if (!request_pending) return;
    u32 m = request_msg, w = request_wparam, l = request_lparam;
    lock.unlock();
    shell_wndproc(m, w, l);
    lock.lock();
    request_pending = false;
    request_finished = true;
    request_done.notify_all();
}

// Stops the game thread before anything it uses is released: its next platform call (or the
// request it is blocked in) unwinds it, and the window thread waits for it to end.
void stop_game_thread() {
    if (!game.joinable()) return;
    stop_requested = true;
    {
        std::lock_guard lock(mutex);
        request_done.notify_all();
    }
    // Serve requests that raced the stop so the game thread is never left waiting.
    while (game_running.load()) {
        serve_request();
        SDL_Delay(1);
    }
    game.join();
}

void handle_event(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        stop_game_thread();
        posted.push_back(WM_CLOSE);
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            shell_wndproc(WM_ACTIVATEAPP, 1, 0);
        else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            screen_dirty = true;
        break;
    case SDL_KEYDOWN:
        shell_wndproc(WM_KEYDOWN, virtual_key(e.key.keysym), 0);
        break;
    case SDL_MOUSEMOTION:
        shell_wndproc(WM_MOUSEMOVE, 0, pack_position(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        u32 pos = pack_position(e.button.x, e.button.y);
        if (e.button.button == SDL_BUTTON_LEFT)
            shell_wndproc(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, pos);
        else if (e.button.button == SDL_BUTTON_RIGHT)
            shell_wndproc(down ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, pos);
        break;
    }
    default:
        break;
    }
}

// ---- Sound --------------------------------------------------------------------------------------

bool mixer_open = false;
struct Playing {
    Mix_Chunk* chunk = nullptr;
    int channel = -1;
};
std::mutex sound_mutex;
std::map<u32, Playing> sounds;
u32 next_sound = 1;

} // namespace

// ---- Time and machine
// -----------------------------------------------------------------------------

u32 plat_ticks() {
    check_stop();
    // Busy-waits poll this in tight loops: when it is read again within the same millisecond,
    // sleep about a millisecond instead of burning the core.
    thread_local u32 last = 0;
    thread_local int same = 0;
    u32 now = SDL_GetTicks();
    if (now == last) {
        if (++same >= 2) {
            SDL_Delay(1);
            now = SDL_GetTicks();
            same = 0;
        }
    } else {
        same = 0;
    }
    last = now;
    return now;
}

u64 plat_physical_memory() {
    long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && size > 0 ? u64(pages) * u64(size) : 0;
}

// ---- Window and threads
// ---------------------------------------------------------------------------

bool plat_window_open(const char* title) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
    const char* layout = std::getenv("MORVANTA_DISPLAY");
    layout_565 = layout && std::strcmp(layout, "555") == 0 ? 0 : 1;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480,
                              SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!window) return false;
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    SDL_RenderSetLogicalSize(renderer, 640, 480); // scaled to fit, aspect kept
    texture =
        SDL_CreateTexture(renderer, layout_565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555,
                          SDL_TEXTUREACCESS_STREAMING, 640, 480);
    if (!texture) return false;
    SDL_ShowCursor(SDL_DISABLE);
    wake_event = SDL_RegisterEvents(1);
    render_screen();
    return true;
}

void plat_start_game_thread(void (*entry)()) {
    game_running = true;
    game = std::thread([entry] {
        try {
            entry();
        } catch (const PlatUnwind&) {
        }
        game_running = false;
        wake_window_thread();
    });
    game_id = game.get_id();
}

void plat_message_loop() {
    while (!quit_posted) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 10)) {
            do {
                if (e.type != wake_event) handle_event(e);
            } while (!quit_posted && SDL_PollEvent(&e));
        }
        serve_request();
        while (!posted.empty() && !quit_posted) {
            u32 m = posted.front();
            posted.pop_front();
            // The game thread posts the close request just before it ends: let it end first.
            if (m == WM_CLOSE && game.joinable()) stop_game_thread();
            shell_wndproc(m, 0, 0);
        }
        if (screen_dirty) render_screen();
    }
    if (game.joinable()) stop_game_thread();
}

void plat_send(u32 msg, u32 wparam, u32 lparam) {
    if (!on_game_thread()) {
        shell_wndproc(msg, wparam, lparam);
        return;
    }
    check_stop();
    std::unique_lock lock(mutex);
    request_msg = msg;
    request_wparam = wparam;
    request_lparam = lparam;
    request_pending = true;
    request_finished = false;
    lock.unlock();
    wake_window_thread();
    lock.lock();
    request_done.wait(lock, [] { return request_finished || stop_requested.load(); });
    if (!request_finished) {
        request_pending = false;
        throw PlatUnwind{};
    }
}

void plat_post_close() {
    // Called from the game thread: hand the close over through the event queue.
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

void plat_destroy_window() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    shell_wndproc(WM_DESTROY, 0, 0);
}

void plat_post_quit() {
    quit_posted = true;
}

void plat_end_game_thread() {
    throw PlatUnwind{};
}

void plat_fatal_exit(const char* message) {
    std::fprintf(stderr, "錯誤: %s\n", message);
    std::fflush(stderr);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "錯誤", message, nullptr);
    std::_Exit(1);
}

void plat_exec_end_program() {
    if (access("./END.EXE", X_OK) != 0) return;
    SDL_Quit();
    execl("./END.EXE", "END.EXE", static_cast<char*>(nullptr));
}

// ---- Screen
// ---------------------------------------------------------------------------------------

s32 plat_display_565() {
    return layout_565;
}
u16* plat_screen() {
    return window ? screen : nullptr;
}
void plat_screen_presented() {
    render_screen();
    // For scripts that drive the program (the smoke test): a file that appears once the first
    // frame is on the screen, holding the process id.
    static bool announced = false;
    if (!announced) {
        announced = true;
        if (const char* ready = std::getenv("MORVANTA_READY_FILE")) {
            std::string tmp = std::string(ready) + ".part";
            if (FILE* f = std::fopen(tmp.c_str(), "w")) {
                std::fprintf(f, "%d\n", int(getpid()));
                std::fclose(f);
                std::rename(tmp.c_str(), ready);
            }
        }
    }
}
void plat_screen_touched() {
    screen_dirty = true;
}
void plat_input_poll() {
    check_stop();
}

// ---- Sound
// ----------------------------------------------------------------------------------------

bool plat_snd_startup() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) return false;
    Mix_AllocateChannels(33); // 32 effects and the music
    mixer_open = true;
    return true;
}

u32 plat_snd_load_mem(const void* data, s32 size) {
    if (!mixer_open || size <= 0) return 0;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(data, size), 1);
    if (!chunk) return 0;
    std::lock_guard lock(sound_mutex);
    u32 h = next_sound++;
    sounds[h] = {chunk, -1};
    return h;
}

void plat_snd_set_volume(u32 handle, s32 volume) {
    std::lock_guard lock(sound_mutex);
    auto it = sounds.find(handle);
    if (it != sounds.end()) Mix_VolumeChunk(it->second.chunk, volume * MIX_MAX_VOLUME / 127);
}

void plat_snd_play(u32 handle, s32 loop_count) {
    std::lock_guard lock(sound_mutex);
    auto it = sounds.find(handle);
    if (it == sounds.end()) return;
    it->second.channel =
        Mix_PlayChannel(-1, it->second.chunk, loop_count <= 0 ? -1 : loop_count - 1);
}

s32 plat_snd_status(u32 handle) {
    std::lock_guard lock(sound_mutex);
    auto it = sounds.find(handle);
    if (it == sounds.end() || it->second.channel < 0) return 1;
    const Playing& p = it->second;
    return Mix_Playing(p.channel) && Mix_GetChunk(p.channel) == p.chunk ? 0 : 1;
}

void plat_snd_halt(u32 handle) {
    std::lock_guard lock(sound_mutex);
    auto it = sounds.find(handle);
    if (it == sounds.end()) return;
    if (it->second.channel >= 0 && Mix_GetChunk(it->second.channel) == it->second.chunk)
        Mix_HaltChannel(it->second.channel);
    Mix_FreeChunk(it->second.chunk);
    sounds.erase(it);
}

void plat_snd_shutdown() {
    if (!mixer_open) return;
    std::lock_guard lock(sound_mutex);
    Mix_HaltChannel(-1);
    for (auto& [h, p] : sounds) Mix_FreeChunk(p.chunk);
    sounds.clear();
    Mix_CloseAudio();
    mixer_open = false;
}
