// SDL2 backend: the main thread is the window thread and runs the event loop; the game runs on a
// thread of its own. The game thread's requests block until the window thread has handled them.
// A close request (the window manager's, a signal's, the game's own) stops the game thread (its
// next platform call unwinds), joins it, and only then lets the window procedure release
// everything.
//
// Every other way the process can end is made orderly too: the display going away (the window
// killed by another client, the X server ending), the window destroyed by another client, a
// library calling exit(), a second signal, and the fatal message box. None of them runs a
// destructor under a running game thread, and each ends with a fixed code: 0 for a close or a
// signal, 1 for a fatal error.
#include "engine/shell.h"
#include "platform/platform.h"
#include "platform/poll_pace.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_syswm.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Whatever ends the process may run static destructors while the game thread still runs (a
// library calling exit() does). So everything both threads touch is created once and never
// destroyed, and the game thread is held by pointer: no joinable thread object is ever destroyed.
template <class T> T& never_destroyed() {
    return *new T();
}

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
s32 layout_565 = 1;
u16 screen[640 * 480];
bool screen_dirty = false;
bool fullscreen = true;
bool box_allowed = false;     // a display that shows things is open: the fatal box may appear
unsigned long window_xid = 0; // the X window, when the display is an X server

std::thread* game = nullptr;
thread_local bool on_game_thread = false;
std::atomic<bool> stop_requested{false};
std::atomic<bool> game_running{false};
// Raised by the window thread with every input event it hands to the window procedure; the game
// thread's polls compare it to pace themselves (platform/poll_pace.h).
std::atomic<u64> input_generation{0};
thread_local PollPace poll_pace;

// One pending request of the game thread, handed over under the lock.
std::mutex& mutex = never_destroyed<std::mutex>();
std::condition_variable& request_done = never_destroyed<std::condition_variable>();
bool request_pending = false;
bool request_finished = false;
u32 request_msg = 0, request_wparam = 0, request_lparam = 0;

// Held by the window thread around each call into the window procedure, so that the fatal
// reporter on the game thread can wait for a call in progress before it releases anything.
std::mutex& wndproc_mutex = never_destroyed<std::mutex>();

std::deque<u32>& posted = never_destroyed<std::deque<u32>>(); // window thread only
bool quit_posted = false;
bool close_taken = false; // the close request is being served
u32 wake_event = 0;

// Endings. Written by signal handlers, so plain signal-safe words.
volatile sig_atomic_t close_signalled = 0; // SIGTERM, SIGINT or SIGHUP arrived
volatile sig_atomic_t fatal_started = 0;   // the fatal reporter runs: the process ends with 1
volatile sig_atomic_t box_group = 0;       // process group of the fatal box, 0 when none
std::atomic<bool> window_gone{false};      // another client destroyed the window

// Ends the process at once without running anything else: takes the fatal box with it.
// Safe inside a signal handler.
[[noreturn]] void end_at_once(int code) {
    pid_t group = box_group;
    if (group > 0) kill(-group, SIGKILL);
    _exit(code);
}

void say(const char* line) {
    // write(2) rather than stdio: callers include signal and X error handlers.
    ssize_t unused = write(2, line, std::strlen(line));
    (void)unused;
}

extern "C" void on_signal(int) {
    if (fatal_started) end_at_once(1);
    // A second signal while the close is under way ends the process at once.
    if (close_signalled) end_at_once(0);
    close_signalled = 1;
}

void install_signal_handlers() {
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

void check_stop() {
    if (on_game_thread && stop_requested.load(std::memory_order_relaxed)) throw PlatUnwind{};
}

void wake_window_thread() {
    SDL_Event e{};
    e.type = wake_event;
    SDL_PushEvent(&e);
}

// Asks the game thread to stop and waits for it at most `limit_ms`; true once it has ended. Used
// on the roads that cannot serve its requests meanwhile (they unwind it through the stop flag).
bool stop_game_bounded(u32 limit_ms) {
    if (!game_running.load()) return true;
    if (on_game_thread) return false;
    stop_requested = true;
    {
        std::lock_guard lock(mutex);
        request_done.notify_all();
    }
    for (u32 waited = 0; waited < limit_ms && game_running.load(); ++waited) usleep(1000);
    return !game_running.load();
}

// Runs when something calls exit() (a library, say): stops the game thread before any static
// destructor can pull something from under it. When it cannot be stopped, nothing more runs.
void on_process_exit() {
    if (!game_running.load() || on_game_thread) return;
    if (!stop_game_bounded(3000)) _exit(1);
}

// ---- X server -----------------------------------------------------------------------------------
// SDL reaches the X server through libX11, which it loads itself. Xlib ends the process with
// exit() when the connection breaks (the window was killed, the server ended) and, by default, on
// any protocol error. Both handlers are replaced through the library SDL loaded, so that the
// program ends in order instead.

struct XErrorView { // the leading members of Xlib's XErrorEvent
    int type;
    void* display;
    unsigned long resourceid;
    unsigned long serial;
    unsigned char error_code;
    unsigned char request_code;
    unsigned char minor_code;
};
using XErrorHandlerFn = int (*)(void*, XErrorView*);
using XIOErrorHandlerFn = int (*)(void*);
XErrorHandlerFn previous_x_error = nullptr;

int on_display_lost(void*) {
    static std::atomic<bool> once{false};
    if (once.exchange(true)) end_at_once(fatal_started ? 1 : 0);
    if (fatal_started) end_at_once(1);
    say("Morvanta: the display went away (the window was killed or the X server ended); "
        "the program ends.\n");
    stop_game_bounded(3000);
    end_at_once(0);
}

int on_x_error(void* display, XErrorView* e) {
    constexpr unsigned char BAD_WINDOW = 3, BAD_DRAWABLE = 9;
    bool ours = window_xid != 0 && e->resourceid == window_xid;
    if (ours && (e->error_code == BAD_WINDOW || e->error_code == BAD_DRAWABLE)) {
        window_gone = true;
        return 0;
    }
    // Once the window is gone, the requests that still name it or its drawing fail: expected.
    if (window_gone.load()) return 0;
    return previous_x_error ? previous_x_error(display, e) : 0;
}

void watch_x_server() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    window_xid = info.info.x11.window;
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!x11) return;
    using SetIO = XIOErrorHandlerFn (*)(XIOErrorHandlerFn);
    using SetError = XErrorHandlerFn (*)(XErrorHandlerFn);
    auto set_io = reinterpret_cast<SetIO>(dlsym(x11, "XSetIOErrorHandler"));
    auto set_error = reinterpret_cast<SetError>(dlsym(x11, "XSetErrorHandler"));
    if (set_io) set_io(on_display_lost);
    if (set_error) previous_x_error = set_error(on_x_error);
    // The destroy notice of the window arrives as a system event.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool is_window_destroyed_event(const SDL_Event& e) {
    if (e.type != SDL_SYSWMEVENT || !e.syswm.msg || e.syswm.msg->subsystem != SDL_SYSWM_X11)
        return false;
    const XEvent& x = e.syswm.msg->msg.x11.event;
    return x.type == DestroyNotify && x.xdestroywindow.window == window_xid;
}

// ---- Window ------------------------------------------------------------------------------------

void render_screen() {
    if (!renderer) return;
    SDL_UpdateTexture(texture, nullptr, screen, 640 * 2);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer); // waits for the vertical sync: this paces the frames
    screen_dirty = false;
}

// The largest whole factor by which 640 x 480 fits the usable part of the window's display.
int window_scale() {
    int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0) return 1;
    int k = std::min(usable.w / 640, usable.h / 480);
    return k < 1 ? 1 : k;
}

// Full screen (the whole display, the frame scaled to fit with its aspect kept) or a window of
// 640 x 480 times a whole factor.
void apply_window_mode() {
    if (fullscreen) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        int k = window_scale();
        int display = SDL_GetWindowDisplayIndex(window);
        display = display < 0 ? 0 : display;
        SDL_SetWindowSize(window, 640 * k, 480 * k);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    }
    screen_dirty = true;
}

bool asked_for_window() {
    for (s32 i = 0; i < cmdline_word_count && i < 16; ++i)
        if (std::strcmp(cmdline_words[i], "--WINDOW") == 0) return true;
    return false;
}

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

// The window thread's way into the window procedure. Once the fatal reporter runs, nothing more
// reaches it: what it would touch is being released.
void call_wndproc(u32 message, u32 wparam, u32 lparam) {
    std::lock_guard lock(wndproc_mutex);
    if (fatal_started) return;
    shell_wndproc(message, wparam, lparam);
}

// An input event for the game: the window procedure writes the input words, and the game's next
// poll sees that something new arrived.
void call_wndproc_input(u32 message, u32 wparam, u32 lparam) {
    call_wndproc(message, wparam, lparam);
    input_generation.fetch_add(1, std::memory_order_release);
}

void serve_request() {
    std::unique_lock lock(mutex);
    if (!request_pending) return;
    u32 m = request_msg, w = request_wparam, l = request_lparam;
    lock.unlock();
    call_wndproc(m, w, l);
    lock.lock();
    request_pending = false;
    request_finished = true;
    request_done.notify_all();
}

// Stops the game thread before anything it uses is released: its next platform call (or the
// request it is blocked in) unwinds it, and the window thread waits for it to end, serving the
// requests that raced the stop so it is never left waiting. A game thread that does not stop
// (stuck in a computation) is not waited for for ever: the process then ends without releasing.
void stop_game_thread() {
    if (!game) return;
    stop_requested = true;
    {
        std::lock_guard lock(mutex);
        request_done.notify_all();
    }
    u32 start = SDL_GetTicks();
    while (game_running.load()) {
        // A fatal error met by the game thread meanwhile: its box is up, and this close ends it.
        if (fatal_started) end_at_once(1);
        serve_request();
        if (SDL_GetTicks() - start > 10000) {
            say("Morvanta: the game did not stop; the program ends.\n");
            end_at_once(0);
        }
        SDL_Delay(1);
    }
    game->join();
    delete game;
    game = nullptr;
}

// A close request from any source: the window manager, a signal, the game's own quit, the window
// destroyed by another client.
void close_request() {
    if (fatal_started) end_at_once(1);
    if (close_taken) return;
    close_taken = true;
    stop_game_thread();
    posted.push_back(WM_CLOSE);
}

bool is_fullscreen_toggle(const SDL_KeyboardEvent& k) {
    bool enter = k.keysym.sym == SDLK_RETURN || k.keysym.sym == SDLK_KP_ENTER;
    return enter && (k.keysym.mod & KMOD_ALT) != 0;
}

void handle_event(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        close_request();
        break;
    case SDL_SYSWMEVENT:
        if (is_window_destroyed_event(e)) window_gone = true;
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            call_wndproc(WM_ACTIVATEAPP, 1, 0);
        else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            screen_dirty = true;
        break;
    case SDL_KEYDOWN:
        // Alt+Enter switches between full screen and a window; the game does not see it.
        if (is_fullscreen_toggle(e.key)) {
            if (!e.key.repeat) {
                fullscreen = !fullscreen;
                apply_window_mode();
            }
            break;
        }
        call_wndproc_input(WM_KEYDOWN, virtual_key(e.key.keysym), 0);
        break;
    case SDL_MOUSEMOTION:
        call_wndproc_input(WM_MOUSEMOVE, 0, pack_position(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        u32 pos = pack_position(e.button.x, e.button.y);
        if (e.button.button == SDL_BUTTON_LEFT)
            call_wndproc_input(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, pos);
        else if (e.button.button == SDL_BUTTON_RIGHT)
            call_wndproc_input(down ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, pos);
        break;
    }
    default:
        break;
    }
}

// The fatal reporter's first step: keeps the other thread away from what it releases. On the
// game thread it waits for a window-procedure call in progress (none follows); on the window
// thread it stops the game thread.
void fatal_prepare() {
    fatal_started = 1;
    if (on_game_thread) {
        std::lock_guard lock(wndproc_mutex);
    } else if (!stop_game_bounded(3000)) {
        say("Morvanta: the game did not stop; the program ends.\n");
        end_at_once(1);
    }
}

// Shows the fatal box in a process of its own (this program started again in its box mode) and
// waits until it is dismissed. The box lives in its own process group, which a signal, a close
// request or this process's death takes down with it.
void show_fatal_box(const char* message) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return;
    self[n] = 0;
    char parent[24];
    std::snprintf(parent, sizeof parent, "%d", int(getpid()));
    char mode[] = "--fatal-box";
    char* argv[] = {self, mode, parent, const_cast<char*>(message), nullptr};
    pid_t pid = fork();
    if (pid == 0) {
        // Only system calls between fork and exec: the other threads' locks are not ours.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != std::atoi(parent)) _exit(1);
        execv(self, argv);
        _exit(1);
    }
    if (pid < 0) return;
    setpgid(pid, pid);
    box_group = pid;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    box_group = 0;
}

extern "C" void on_box_signal(int) {
    kill(0, SIGKILL); // the box and this process: one group
}

// ---- Sound --------------------------------------------------------------------------------------

bool mixer_open = false;
struct Playing {
    Mix_Chunk* chunk = nullptr;
    int channel = -1;
};
std::mutex& sound_mutex = never_destroyed<std::mutex>();
std::map<u32, Playing>& sounds = never_destroyed<std::map<u32, Playing>>();
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
    install_signal_handlers();
    std::atexit(on_process_exit);
    shell_fatal_prepare = fatal_prepare;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // ours above turn signals into the close
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "Morvanta: no display to show the game on (%s).\n", SDL_GetError());
        return false;
    }
    // Unless the user chose it, a driver that shows nothing means there is no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    bool shows_nothing =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (shows_nothing && !(chosen && *chosen)) {
        std::fprintf(stderr,
                     "Morvanta: there is no display to show the game on (no X or Wayland display "
                     "could be opened; set DISPLAY or WAYLAND_DISPLAY).\n");
        SDL_Quit();
        return false;
    }
    box_allowed = !shows_nothing;
    const char* layout = std::getenv("MORVANTA_DISPLAY");
    layout_565 = layout && std::strcmp(layout, "555") == 0 ? 0 : 1;
    fullscreen = !asked_for_window();
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The window stays hidden until the renderer is set up: making the renderer may replace the
    // window, and a close request sent to a window that then vanishes would be lost. Shown once,
    // it stays the same window to the end.
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480,
                              SDL_WINDOW_HIDDEN);
    if (!window) return false;
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    SDL_RenderSetLogicalSize(renderer, 640, 480); // scaled to fit, aspect kept
    texture =
        SDL_CreateTexture(renderer, layout_565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555,
                          SDL_TEXTUREACCESS_STREAMING, 640, 480);
    if (!texture) return false;
    watch_x_server();
    apply_window_mode();
    SDL_ShowWindow(window);
    SDL_ShowCursor(SDL_DISABLE);
    wake_event = SDL_RegisterEvents(1);
    render_screen();
    return true;
}

void plat_start_game_thread(void (*entry)()) {
    game_running = true;
    game = new std::thread([entry] {
        on_game_thread = true;
        try {
            entry();
        } catch (const PlatUnwind&) {
        }
        wake_window_thread();
        game_running = false;
    });
}

void plat_message_loop() {
    while (!quit_posted) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 10)) {
            do {
                if (e.type != wake_event) handle_event(e);
            } while (!quit_posted && SDL_PollEvent(&e));
        }
        if (close_signalled || window_gone.load()) close_request();
        serve_request();
        while (!posted.empty() && !quit_posted) {
            u32 m = posted.front();
            posted.pop_front();
            // The game thread posts the close request just before it ends: let it end first.
            if (m == WM_CLOSE) stop_game_thread();
            call_wndproc(m, 0, 0);
        }
        if (screen_dirty && !window_gone.load()) render_screen();
    }
    stop_game_thread();
}

void plat_send(u32 msg, u32 wparam, u32 lparam) {
    if (!on_game_thread) {
        shell_wndproc(msg, wparam, lparam);
        return;
    }
    check_stop();
    poll_pace.busy();
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
    fatal_started = 1;
    std::fprintf(stderr, "錯誤: %s\n", message);
    if (const char* help = shell_fatal_help(message)) std::fprintf(stderr, "%s\n", help);
    std::fflush(stderr);
    if (box_allowed) show_fatal_box(message);
    end_at_once(1);
}

void plat_fatal_box_main(const char* parent_pid, const char* message) {
    struct sigaction action {};
    action.sa_handler = on_box_signal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
    if (getppid() != std::atoi(parent_pid)) _exit(1); // the program has already ended
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "錯誤", message, nullptr);
    _exit(0);
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
// Presents come at most one per FRAME_MIN_MS: games that step once per frame then run at the same
// rate on every display, also where the vertical sync does not block (a display faster than
// 60 Hz, the software renderer, a compositor that returns at once). With a 60 Hz vertical sync
// the present itself already takes that long and nothing is added.
constexpr u32 FRAME_MIN_MS = 16;
void plat_screen_presented() {
    // Measured from the start of the previous present, so that a blocking vertical sync is never
    // waited for twice.
    static u32 last_present = 0;
    static bool presented = false;
    const u32 since = SDL_GetTicks() - last_present;
    if (presented && since < FRAME_MIN_MS) SDL_Delay(FRAME_MIN_MS - since);
    last_present = SDL_GetTicks();
    presented = true;
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
// The game thread's polls of the input words: a stop request unwinds it, and a loop that only
// polls and finds nothing new naps now and then instead of keeping a core busy.
void plat_input_poll() {
    check_stop();
    if (!on_game_thread) return;
    if (poll_pace.poll(input_generation.load(std::memory_order_acquire)))
        SDL_Delay(POLL_PACE_NAP_MS);
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
