#include "engine/image.h"

#include "engine/blit.h"
#include "engine/canvas.h"
#include "engine/gisk.h"
#include "engine/jpg.h"
#include "engine/math.h"
#include "engine/rect.h"
#include "engine/ring.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/sprite.h"
#include "engine/transcript.h"
#include "engine/world_state.h"

#include <algorithm>
#include <cstring>

const u8 empty_image[16] = {};
s32 cursor_built_image = 0;
s32 cursor_sent_slot = 99;

namespace {

u16 read_u16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}
u32 read_u32(const u8* p) {
    return u32(read_u16(p)) | u32(read_u16(p + 2)) << 16;
}

// Bytes of a ring block's data part: what an image in the ring may be read up to.
s32 ring_block_bytes(const u8* block) {
    return s32(read_u32(block - 8)) - 8;
}

void convert_to_565(u16* colours, s32 count) {
    for (s32 i = 0; i < count; ++i) colours[i] = colour_555_to_565(colours[i]);
}

} // namespace

bool image_is_jpeg(const u8* image, s32 size) {
    return size >= 10 && std::memcmp(image + 6, "JFIF", 4) == 0;
}

bool image_is_raw_bitmap(const u8* image, s32 size) {
    return !image_is_jpeg(image, size) && size >= 12 && read_u32(image + 8) == RAW_BITMAP_MAGIC;
}

const u8* image_load(s32 image_id, s32* size_out) {
    s32 key = ARC_IMAGE_BASE + image_id;
    if (u8* found = static_cast<u8*>(ring_find(key))) {
        if (size_out) *size_out = ring_block_bytes(found);
        return found;
    }
    rand_stir(u32(rt_rand()));
    s32 size = gisk_size(key);
    if (size <= 0) {
        if (size_out) *size_out = sizeof empty_image;
        return empty_image;
    }
    // At least a header's room, so a malformed entry can be turned into the empty image in
    // place and every later hit finds it drawing nothing.
    u8* block = static_cast<u8*>(ring_alloc(key, std::max<s32>(size, sizeof empty_image)));
    if (gisk_load_bounded(key, block, ring_block_bytes(block)) != size ||
        !sprite_validate(block, size)) {
        std::memset(block, 0, sizeof empty_image);
        if (size_out) *size_out = sizeof empty_image;
        return block;
    }
    if (display_565 == 1 && !image_is_jpeg(block, size)) {
        u16* colours = reinterpret_cast<u16*>(block + 16);
        if (image_is_raw_bitmap(block, size))
            convert_to_565(colours, s32(read_u16(block)) * s32(read_u16(block + 2)));
        else
            convert_to_565(colours, s32(block[8]) * 256);
    }
    if (size_out) *size_out = ring_block_bytes(block);
    return block;
}

void draw_image_depth(s32 x, s32 y, s32 image_id, u32 flags, u32 depth) {
    if (transcript_observer) transcript_draw(image_id, x, y, flags);
    s32 size = 0;
    const u8* image = image_load(image_id, &size);
    if (image_is_jpeg(image, size))
        jpg_draw(x, y, image, size, s32(flags & BLIT_MIRROR));
    else if (image_is_raw_bitmap(image, size))
        blit_bitmap(x, y, image, flags & BLIT_MIRROR);
    else
        blit_sprite(x, y, image, flags, depth);
}

void draw_image(s32 x, s32 y, s32 image_id, u32 flags) {
    draw_image_depth(x, y, image_id, flags, 0);
}

void cursor_build(s32 slot, s32 image_id) {
    blit_target_set(cursor_scratch, 32, 32, 64);
    std::memset(cursor_scratch, 0, sizeof cursor_scratch);
    s32 size = 0;
    const u8* image = image_load(image_id, &size);
    s32 hx = s16(read_u16(image + 4)), hy = s16(read_u16(image + 6));
    // Drawn by kind with its top-left corner on the scratch's; a JPEG picture is no cursor and
    // leaves the shape empty.
    if (image_is_raw_bitmap(image, size))
        blit_bitmap(0, 0, image, 0);
    else if (!image_is_jpeg(image, size))
        blit_sprite(hx, hy, image, 0, 0);
    shell_send_cursor_shape(slot, hx, hy);
    blit_target_screen();
}

void cursor_apply() {
    u32 id = world_state.cursor_id;
    if (id > 31) {
        if (s32(id) != cursor_built_image) cursor_build(31, s32(id));
        cursor_built_image = s32(id);
        world_state.cursor_id = 31;
    }
    if (s32(world_state.cursor_id) != cursor_sent_slot)
        shell_send_cursor_select(s32(world_state.cursor_id));
    cursor_sent_slot = s32(world_state.cursor_id);
}
