#include "engine/canvas.h"

#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/shell.h"

#include <algorithm>
#include <cstring>

// The platform offers one visible surface, so the canvas runs as a single primary: every present
// copies the frame straight to it and draws the cursor there.

s32 canvas_ready = 0;
s32 cursor_shown = 0;
s32 cursor_hot_x[32];
s32 cursor_hot_y[32];
s32 cursor_saved_x = -1;
s32 cursor_saved_y = 0;
s32 cursor_last_x = 0;
s32 cursor_last_y = 0;
s32 cursor_last_slot = 0;
u16 cursor_scratch[32 * 32];
u16 cursor_shapes[32][32 * 32];

namespace {

u16* primary = nullptr;
u16 background[32 * 32]; // the screen pixels under the drawn cursor
s32 saved_w = 0, saved_h = 0;

void restore_background() {
    if (cursor_saved_x == -1 || !primary) return;
    for (s32 r = 0; r < saved_h; ++r)
        std::memcpy(primary + (cursor_saved_y + r) * SCREEN_W + cursor_saved_x, background + r * 32,
                    size_t(saved_w) * 2);
}

} // namespace

void canvas_init() {
    primary = plat_screen();
    if (!primary) shell_fatal("canvas:1cps(%s)", "no display surface");
    display_565 = plat_display_565();
    debug_log("\nPrimary dwsize: %x ", 32);
    cursor_saved_x = -1;
    canvas_ready = 1;
}

void canvas_release() {
    canvas_ready = 0;
    primary = nullptr;
}

void canvas_present(s32 x, s32 y, s32 slot) {
    if (!canvas_ready) return;
    cursor_saved_x = -1;
    std::memcpy(primary, back_buffer, size_t(SCREEN_PIXELS) * 2);
    canvas_cursor_draw(1, x, y, slot);
    plat_screen_presented();
}

void canvas_repaint() {
    // The visible surface still holds the last presented frame (our surfaces are never lost):
    // show it again rather than the back buffer, which the game may be drawing into.
    if (!canvas_ready) return;
    plat_screen_presented();
}

void canvas_cursor_define(s32 slot, s32 hot_x, s32 hot_y) {
    if (!canvas_ready) return;
    if (slot < 0 || slot > 31) shell_fatal("canvas:cccts or(%d)", slot);
    cursor_hot_x[slot] = std::clamp(hot_x, 0, 31);
    cursor_hot_y[slot] = std::clamp(hot_y, 0, 31);
    std::memcpy(cursor_shapes[slot], cursor_scratch, sizeof cursor_scratch);
}

void canvas_cursor_show(s32 show) {
    if (!canvas_ready) return;
    cursor_shown = show;
    if (show == 1) {
        canvas_cursor_draw(1, cursor_last_x, cursor_last_y, cursor_last_slot);
    } else {
        restore_background();
        cursor_saved_x = -1;
        plat_screen_touched();
    }
}

void canvas_cursor_draw(s32 /*which*/, s32 x, s32 y, s32 slot) {
    if (!canvas_ready || !cursor_shown) return;
    if (slot < 0 || slot > 31) shell_fatal("canvas:csc(%d)", slot);
    cursor_last_x = x;
    cursor_last_y = y;
    cursor_last_slot = slot;
    restore_background();

    s32 left = x - cursor_hot_x[slot], top = y - cursor_hot_y[slot];
    s32 sx = 0, sy = 0, w = 32, h = 32;
    if (left < 0) {
        sx = -left;
        w -= sx;
        left = 0;
    }
    if (top < 0) {
        sy = -top;
        h -= sy;
        top = 0;
    }
    if (left + w > SCREEN_W) w = SCREEN_W - left;
    if (top + h > SCREEN_H) h = SCREEN_H - top;
    if (w <= 0 || h <= 0) {
        // Entirely off the screen: nothing is saved or drawn.
        cursor_saved_x = -1;
        return;
    }

    cursor_saved_x = left;
    cursor_saved_y = top;
    saved_w = w;
    saved_h = h;
    const u16* shape = cursor_shapes[slot];
    for (s32 r = 0; r < h; ++r) {
        u16* dst = primary + (top + r) * SCREEN_W + left;
        std::memcpy(background + r * 32, dst, size_t(w) * 2);
        const u16* src = shape + (sy + r) * 32 + sx;
        for (s32 c = 0; c < w; ++c)
            if (src[c] != 0) dst[c] = src[c];
    }
    plat_screen_touched();
}
