// Placeholder pictures of the two-track timing game, each a framed box showing its id at the
// size the game draws it.
#include "engine/gisk.h"
#include "minigames/tracks.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_tracks(ArcBuilder& builder) {
    auto put = [&](s32 id, s32 w, s32 h) {
        builder.put(u32(ARC_IMAGE_BASE + id), placeholder_box_sprite(id, w, h));
    };
    put(25600, 640, 480);                                      // backdrop
    for (s32 id = 25601; id <= 25606; ++id) put(id, 280, 280); // centre picture and its flashes
    for (s32 k = 0; k < 6; ++k) put(TRACKS_NOTE_IMAGE + k, 44, 24); // marks, 3 phases a track
    for (s32 id = 25613; id <= 25617; ++id) put(id, 56, 48);        // left track's hit flash
    for (s32 id = 25619; id <= 25623; ++id) put(id, 56, 54);        // right track's hit flash
    put(25625, 46, 24);                                             // the pressed button's glow
    // Segments of the time bar (25631..25645) and of the progress bar (25646..25660), 7 pixels
    // apart; too narrow to show their ids.
    for (s32 id = 25631; id <= 25660; ++id) put(id, 7, 20);
    put(25662, 74, 60); // grade marks
    put(25663, 74, 60);
    // The player's portrait, shared with other games.
    if (builder.entries().count(u32(ARC_IMAGE_BASE + 1000)) == 0) put(1000, 160, 180);
}
