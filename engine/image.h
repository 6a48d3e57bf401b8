// Images: every picture of the game is an archive entry at ARC_IMAGE_BASE + image id, of one of
// three kinds told apart by content (JPEG picture, raw bitmap, sprite). Images are loaded into the
// ring once, checked and converted to the display's layout, and drawn by kind. The 32 software
// cursors are built from images too.
#pragma once
#include "engine/types.h"

// The image that stands for an empty, missing or malformed entry: 16 zero bytes, which every
// draw draws as nothing.
extern const u8 empty_image[16];

extern s32 cursor_built_image; // image id last built into cursor slot 31 on request
extern s32 cursor_sent_slot;   // cursor slot last sent to the window thread

// The image in the ring, loaded and converted on first use; `empty_image` for an empty entry or
// an entry that is not a well-formed image. Valid until the ring next empties. `size` (optional)
// receives the bytes that may be read from the image.
const u8* image_load(s32 image_id, s32* size = nullptr);
void draw_image_depth(s32 x, s32 y, s32 image_id, u32 flags, u32 depth);
void draw_image(s32 x, s32 y, s32 image_id, u32 flags);
void cursor_build(s32 slot, s32 image_id);
void cursor_apply();
// Kind tests on a loaded image of `size` bytes.
bool image_is_jpeg(const u8* image, s32 size);
bool image_is_raw_bitmap(const u8* image, s32 size);
