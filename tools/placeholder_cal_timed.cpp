// Placeholder pictures of the board course, the symbol screens and the timed action game: the
// tiles of the image blocks past the tile-swap puzzle's, the symbol teacher, and the timed action
// game's background, animation and track pictures, each sized as drawn and showing its id.
#include "calendar/timed_action_game.h"
#include "engine/gisk.h"
#include "minigames/tile_swap.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

#include <algorithm>

namespace {

constexpr s32 LAST_BOARD_BLOCK = 23; // the highest block of the board course's stages
constexpr s32 TILE_W = 90, TILE_H = 102;

void put_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
}

} // namespace

void image_put_placeholder_cal_timed(ArcBuilder& builder) {
    // Blocks 0..10 are the tile-swap puzzle's; the course's stages reach block 23.
    for (s32 block = TILE_SWAP_PICTURES + 1; block <= LAST_BOARD_BLOCK; ++block)
        for (s32 t = 0; t < TILE_SWAP_BOARD; ++t)
            put_box(builder, TILE_SWAP_IMAGE_BASE + TILE_SWAP_BLOCK_IDS * block + t, TILE_W,
                    TILE_H);
    // The teacher's picture of the symbol screens at (468, 306), to the screen's corner (ours).
    minigame_put_shared_box(builder, 1149, 160, 174);

    // The timed action game.
    put_box(builder, 25900, 640, 480);
    // The background animation at (204, 70): three runs of nine images (size ours).
    for (s32 first : {25901, 25911, 25921})
        for (s32 i = 0; i < 9; ++i) put_box(builder, first + i, 80, 60);
    // Every picture of a track is drawn at the track's point and reaches over all its click
    // rectangles.
    for (s32 t = 0; t < TIMED_TRACKS; ++t) {
        const TimedTrack& tr = TIMED_TRACK_TABLE[t];
        s32 right = tr.x + 8, bottom = tr.y + 8;
        for (const TimedRect& r : TIMED_RECTS[t]) {
            right = std::max(right, r.x2);
            bottom = std::max(bottom, r.y2);
        }
        const s32 w = right - tr.x + 1, h = bottom - tr.y + 1;
        put_box(builder, tr.cleared, w, h);
        for (s32 pos = 0; pos <= TIMED_TOP; ++pos) put_box(builder, tr.base + pos, w, h);
    }
}
