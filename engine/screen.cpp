#include "engine/screen.h"

#include "engine/shell.h"

alignas(64) u16 screen_buffers[2 * SCREEN_PIXELS];
u16* back_buffer = screen_buffers;
u16* save_buffer = screen_buffers + SCREEN_PIXELS;

void screen_present() { shell_send_present(); }
