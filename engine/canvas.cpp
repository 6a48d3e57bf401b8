#include "engine/canvas.h"

#include "engine/blit.h"
#include "engine/screen.h"
#include "engine/shell.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

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

namespace {

// The display result codes the canvas knows, with their descriptions. Codes whose wording the
// canvas has no sentence for are described by their number.
constexpr u32 DD_BASE = 0x88760000u;
const u32 general_codes[] = {0, 0x80004001u, 0x80004005u, 0x800401F0u, 0x8007000Eu, 0x80070057u};
const u16 display_codes[] = {
    5,   10,  20,  40,  55,  90,  95,  100, 110, 120, 130, 145, 150, 160, 170, 180, 205, 210, 212,
    215, 220, 222, 225, 230, 240, 250, 255, 260, 280, 290, 310, 316, 317, 320, 330, 335, 340, 350,
    360, 380, 382, 384, 387, 400, 410, 420, 430, 435, 440, 450, 460, 470, 480, 490, 510, 520, 537,
    540, 560, 561, 562, 563, 564, 565, 566, 567, 568, 569, 570, 571, 572, 573, 574, 575, 576, 577,
    578, 579, 580, 581, 582, 583, 584, 585, 586, 587, 588, 589, 590, 591, 592, 620, 640, 660, 680};
static_assert(std::size(general_codes) + std::size(display_codes) == 101);

const char* const out_of_memory =
    "DirectDraw does not have enough memory to perform the operation.";

struct KnownSentence {
    u32 code;
    const char* text;
};
const KnownSentence sentences[] = {
    {0, "No error."},
    {0x80004001u, "Action not supported."},
    {0x80004005u, "Generic failure."},
    {0x8007000Eu, out_of_memory},
    {0x80070057u, "One or more of the parameters passed to the function are incorrect."},
    {DD_BASE + 120, "DirectDraw does not support the requested mode."},
    {DD_BASE + 225, "Operation requires the application to have exclusive mode but the application "
                    "does not have exclusive mode."},
    {DD_BASE + 380, out_of_memory},
    {DD_BASE + 450, "Access to this surface is being refused because the surface memory is gone. "
                    "The DirectDrawSurface object representing this surface should have Restore "
                    "called on it."},
    {DD_BASE + 590, "The display is currently in an unsupported mode."},
};

} // namespace

const char* canvas_error_name(u32 result) {
    for (const KnownSentence& k : sentences)
        if (k.code == result) return k.text;
    bool known = std::find(std::begin(general_codes), std::end(general_codes), result) !=
                 std::end(general_codes);
    for (u16 n : display_codes) known = known || result == DD_BASE + n;
    if (!known) return "Unrecognized error value.";
    static char text[64];
    std::snprintf(text, sizeof text, "Display error 0x%08X.", result);
    return text;
}

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
