// Placeholder pictures of the tile-swap puzzle: the backdrop, the time bar, the two finish
// buttons and the tiles of the eleven image blocks, each a box of the size the puzzle draws.
#include "engine/gisk.h"
#include "minigames/tile_swap.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

namespace {

void put_box(ArcBuilder& builder, s32 id, s32 w, s32 h) {
    builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
}

} // namespace

void image_put_placeholder_tile_swap(ArcBuilder& builder) {
    put_box(builder, 62589, 640, 480); // backdrop
    put_box(builder, 62584, 108, 20);  // time bar frame around 101 columns
    put_box(builder, 62580, 29, 51);   // finish buttons, as wide as their boxes
    put_box(builder, 62582, 29, 51);
    // The bar's column is shared with the hand game's bar; it is put here only when that game
    // has not put it already.
    if (builder.entries().count(u32(ARC_IMAGE_BASE + 25010)) == 0 &&
        builder.aliases().count(u32(ARC_IMAGE_BASE + 25010)) == 0)
        put_box(builder, 25010, 1, 14);
    // Pictures 0..9 join blocks p and p + 1: blocks 0..10 of twelve tiles, each as large as a cell.
    for (s32 block = 0; block <= TILE_SWAP_PICTURES; ++block)
        for (s32 t = 0; t < TILE_SWAP_BOARD; ++t)
            put_box(builder, TILE_SWAP_IMAGE_BASE + TILE_SWAP_BLOCK_IDS * block + t, 90, 102);
}
