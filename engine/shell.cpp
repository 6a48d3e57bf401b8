#include "engine/shell.h"

#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/image.h"
#include "engine/jpg.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/text.h"
#include "engine/world_state.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unistd.h>

InputWord<u32> mouse_buttons;
InputWord<u32> click_kind;
InputWord<s32> click_x;
InputWord<s32> click_y;
InputWord<s32> pointer_x;
InputWord<s32> pointer_y;
InputWord<u32> key_code;

s32 exit_code = 0;
s32 game_thread_started = 0;
s32 cursor_slot = 0;
char cmdline_words[16][80];
s32 cmdline_word_count = 0;

void (*game_start_seam)() = placeholder_game_start;
void (*hub_main_seam)() = [] {};
void (*shell_fatal_prepare)() = nullptr;

namespace {

s32 low_half(u32 v) {
    return s32(v & 0xFFFF);
}
s32 high_half(u32 v) {
    return s32(v >> 16);
}

} // namespace

// ---- Window thread ---------------------------------------------------------------------------

s32 shell_winmain(const char* command_line) {
    cmdline_split(command_line);
    debug_log("->%s<-", cmdline_words[0]);
    shell_run("QUORsQUOR", "Morvanta");
    return 0;
}

void cmdline_split(const char* text) {
    // Words past the 16th and characters past the 79th of a word are dropped: nothing reads them.
    cmdline_word_count = 0;
    std::memset(cmdline_words, 0, sizeof cmdline_words);
    s32 pos = 0;
    auto end_word = [&] {
        if (cmdline_word_count < 16) cmdline_words[cmdline_word_count][std::min(pos, 79)] = 0;
        cmdline_word_count += 1;
        pos = 0;
    };
    for (const char* p = text; *p; ++p) {
        u8 c = u8(*p);
        if (c == ' ') {
            end_word();
            continue;
        }
        if (c >= 'a' && c <= 'z') c = u8(c - 'a' + 'A');
        if (cmdline_word_count < 16 && pos < 79) cmdline_words[cmdline_word_count][pos] = char(c);
        pos += 1;
    }
    if (pos != 0) end_word();
    if (cmdline_word_count > 16) cmdline_word_count = 16;
    debug_log("\ncmdLINEsum= %d\n", cmdline_word_count);
    for (s32 i = 0; i < cmdline_word_count; ++i) debug_log(" %s", cmdline_words[i]);
    debug_log("\n");
}

void shell_startup(const char* title) {
    if (!plat_window_open(title)) shell_fatal("shell:cwex");
    gisk_init();
    canvas_init();
    pool_init();
    mssw_init();
    ring_reset();
    exit_code = 0;
}

void shell_run(const char* /*class_name*/, const char* title) {
    debug_log("\n\n\n\n*** %d/%d/%d, %d:%d.%d.%d\n<%s>", 0, 0, 0, 0, 0, 0, 0, "");
    shell_startup(title);
    // The flag is raised before the start: the headless backend runs the whole game thread
    // inside the start call.
    game_thread_started = 1;
    plat_start_game_thread(game_thread);
    plat_message_loop();
    debug_log("[(%d)]", exit_code);
    if (exit_code == 99) {
        debug_log("execute end.exe");
        plat_exec_end_program();
    } else {
        debug_log("not exec");
    }
}

void shell_wndproc(u32 message, u32 wparam, u32 lparam) {
    switch (message) {
    case WM_DESTROY:
        debug_log("\n -! _DES");
        plat_post_quit();
        break;
    case WM_CLOSE:
        debug_log("\n ***Quit ALL***");
        shell_shutdown();
        plat_destroy_window();
        break;
    case WM_ACTIVATEAPP:
        if (wparam != 0 && game_thread_started == 1) canvas_repaint();
        break;
    case WM_SETCURSOR:
        break; // the system pointer stays hidden
    case WM_KEYDOWN:
        shell_key(wparam);
        break;
    case WM_MOUSEMOVE:
        pointer_x = low_half(lparam);
        pointer_y = high_half(lparam);
        canvas_cursor_draw(1, pointer_x.peek(), pointer_y.peek(), cursor_slot);
        break;
    case WM_LBUTTONDOWN:
        mouse_buttons = mouse_buttons.peek() | 1;
        click_kind = 1;
        click_x = low_half(lparam);
        click_y = high_half(lparam);
        break;
    case WM_LBUTTONUP:
        mouse_buttons = mouse_buttons.peek() & 2;
        break;
    case WM_RBUTTONDOWN:
        mouse_buttons = mouse_buttons.peek() | 2;
        click_kind = 2;
        click_x = low_half(lparam);
        click_y = high_half(lparam);
        break;
    case WM_RBUTTONUP:
        mouse_buttons = mouse_buttons.peek() & 1;
        break;
    case WM_USER:
        canvas_present(pointer_x.peek(), pointer_y.peek(), cursor_slot);
        break;
    case WM_USER + 1:
        canvas_cursor_define(s32(wparam), low_half(lparam), high_half(lparam));
        break;
    case WM_USER + 2:
        shell_select_cursor(wparam);
        break;
    case WM_USER + 3:
        canvas_cursor_show(s32(wparam));
        break;
    default:
        break;
    }
}

void shell_key(u32 vk) {
    key_code = vk;
}

void shell_select_cursor(u32 slot) {
    if (slot >= 32) shell_fatal("shell:oscn(%d)", s32(slot));
    cursor_slot = s32(slot);
    if (cursor_shown == 1) canvas_cursor_show(1);
}

void shell_shutdown() {
    mssw_quit();
    pool_release();
    canvas_release();
    gisk_close();
}

// ---- Either thread ---------------------------------------------------------------------------

void shell_fatal(const char* format, ...) {
    static bool reporting = false;
    char message[336];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    debug_log("!!!'%s'!!!", message);
    if (shell_fatal_prepare) shell_fatal_prepare();
    // A failure while releasing (reported again from inside the shutdown) must not recurse.
    if (!reporting) {
        reporting = true;
        try {
            shell_shutdown();
        } catch (...) {
            reporting = false;
            throw;
        }
        reporting = false;
    }
    plat_fatal_exit(message);
}

const char* shell_fatal_help(const char* message) {
    static char help[8192];
    char dir[4096];
    if (!getcwd(dir, sizeof dir)) std::snprintf(dir, sizeof dir, "the working directory");
    if (std::strcmp(message, "gisk init") == 0) {
        std::snprintf(help, sizeof help,
                      "No game archive: looked for %s and %s in %s. Start the game with ./play, "
                      "which makes a placeholder archive in its game directory (MORVANTA_GAME_DIR, "
                      "default ./run) when there is none.",
                      GISK_PLAIN_FILE, GISK_CHAINED_FILE, dir);
        return help;
    }
    if (std::strcmp(message, "gisk<=12mb") == 0) {
        // The same choice as the archive reader: the first of the two names that opens.
        const char* name = access(GISK_PLAIN_FILE, R_OK) == 0 ? GISK_PLAIN_FILE : GISK_CHAINED_FILE;
        std::snprintf(help, sizeof help,
                      "The archive %s/%s is shorter than 12 MB (%u bytes), so it is not a game "
                      "archive. Replace it, or remove it and start the game with ./play, which "
                      "then makes a placeholder archive.",
                      dir, name, ARC_MIN_FILE_SIZE);
        return help;
    }
    return nullptr;
}

void debug_log(const char* /*format*/, ...) {}

// ---- Game thread -----------------------------------------------------------------------------

void shell_send_present() {
    plat_send(WM_USER, 0, 0);
}

void shell_send_cursor_shape(s32 slot, s32 hot_x, s32 hot_y) {
    plat_send(WM_USER + 1, u32(slot), (u32(hot_x) & 0xFFFF) | (u32(hot_y) << 16));
}

void shell_send_cursor_select(s32 slot) {
    plat_send(WM_USER + 2, u32(slot), 0);
}

void shell_send_cursor_show(s32 show) {
    plat_send(WM_USER + 3, u32(show), 0);
}

void game_quit() {
    plat_post_close();
    plat_end_game_thread();
}

void game_thread() {
    rt_srand(plat_ticks());
    game_main();
}

void game_drawing_setup() {
    // Drawing targets: the back buffer for drawing and JPEG pictures, the save buffer as the
    // occlusion plane.
    target_pixels = back_buffer;
    target_width = SCREEN_W;
    target_height = SCREEN_H;
    target_pitch = SCREEN_W * 2;
    occlusion_plane = reinterpret_cast<u8*>(save_buffer);
    jpg_target = back_buffer;
    jpg_target_width = SCREEN_W;
    trig_tables_init(back_buffer, save_buffer);
    rows_setup();
    blit_init();
    kanji_reset(); // the text colours in the display's layout
    kanji_clip_reset();
}

void game_main() {
    game_drawing_setup();
    for (s32 slot = 0; slot < 32; ++slot) cursor_build(slot, 32 + slot);
    world_state.cursor_id = 0;
    world_state.reserved = 0;
    shell_send_cursor_select(0);
    shell_send_cursor_show(1);
    std::memset(screen_buffers, 0, sizeof screen_buffers);
    screen_present();
    label_clear();
    text_scrambled = 1;
    text_table_load();
    game_start_seam();
    hub_main_seam();
    game_quit();
}

void placeholder_game_start() {
    // Until the title menu exists: wait for a key or a click (or a close request, which unwinds
    // this thread from inside the tick read).
    key_code = 0;
    click_kind = 0;
    while (key_code == 0 && click_kind == 0) plat_ticks();
}
