#include "engine/screen.h"

#include "engine/labels.h"
#include "engine/shell.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>

alignas(64) u16 screen_buffers[2 * SCREEN_PIXELS];
u16* back_buffer = screen_buffers;
u16* save_buffer = screen_buffers + SCREEN_PIXELS;

namespace {

constexpr s32 LOG_STRIP_H = SCREEN_H - LOG_TOP;
u16 log_strip[SCREEN_W * LOG_STRIP_H];

// Copies the part of the w x h rectangle at (x, y) that lies on the screen, between the back
// buffer and a buffer of packed rows; `to_screen` picks the direction.
void rect_copy(s32 x, s32 y, s32 w, s32 h, u16* packed, bool to_screen) {
    if (w <= 0 || h <= 0) return;
    const s64 x0 = std::max<s64>(x, 0), x1 = std::min<s64>(s64(x) + w, SCREEN_W);
    const s64 y0 = std::max<s64>(y, 0), y1 = std::min<s64>(s64(y) + h, SCREEN_H);
    if (x0 >= x1 || y0 >= y1) return;
    const size_t bytes = size_t(x1 - x0) * sizeof(u16);
    for (s64 row = y0; row < y1; ++row) {
        u16* screen = back_buffer + row * SCREEN_W + x0;
        u16* buffer = packed + (row - y) * w + (x0 - x);
        if (to_screen)
            std::memcpy(screen, buffer, bytes);
        else
            std::memcpy(buffer, screen, bytes);
    }
}

} // namespace

void screen_present() {
    const u32 now = plat_ticks();
    if (log_empty()) {
        shell_send_present();
        return;
    }
    screen_get_rect(0, LOG_TOP, SCREEN_W, LOG_STRIP_H, log_strip);
    log_draw(now);
    shell_send_present();
    screen_put_rect(0, LOG_TOP, SCREEN_W, LOG_STRIP_H, log_strip);
}

void screen_save() {
    std::memcpy(save_buffer, back_buffer, size_t(SCREEN_PIXELS) * sizeof(u16));
}

void screen_restore() {
    std::memcpy(back_buffer, save_buffer, size_t(SCREEN_PIXELS) * sizeof(u16));
}

void screen_get_rect(s32 x, s32 y, s32 w, s32 h, u16* dst) {
    rect_copy(x, y, w, h, dst, false);
}

void screen_put_rect(s32 x, s32 y, s32 w, s32 h, const u16* src) {
    rect_copy(x, y, w, h, const_cast<u16*>(src), true);
}
