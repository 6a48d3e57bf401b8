// Placeholder pictures of the two-track timing game, each a framed box showing its id at the
// size the game draws it.
#include "engine/gisk.h"
#include "minigames/tracks.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

void image_put_placeholder_tracks(ArcBuilder& builder) {
    minigame_put_box(builder, 25600, 640, 480); // backdrop
    for (s32 id = 25601; id <= 25606; ++id)
        minigame_put_box(builder, id, 280, 280); // centre picture and its flashes
    for (s32 k = 0; k < 6; ++k)
        minigame_put_box(builder, TRACKS_NOTE_IMAGE + k, 44, 24); // marks, 3 phases a track
    for (s32 id = 25613; id <= 25617; ++id)
        minigame_put_box(builder, id, 56, 48); // left track's hit flash
    for (s32 id = 25619; id <= 25623; ++id)
        minigame_put_box(builder, id, 56, 54); // right track's hit flash
    minigame_put_box(builder, 25625, 46, 24);  // the pressed button's glow
    // Segments of the time bar (25631..25645) and of the progress bar (25646..25660), 7 pixels
    // apart; too narrow to show their ids.
    for (s32 id = 25631; id <= 25660; ++id) minigame_put_box(builder, id, 7, 20);
    minigame_put_box(builder, 25662, 74, 60); // grade marks
    minigame_put_box(builder, 25663, 74, 60);
    // The player's portrait, shared with other games.
    minigame_put_shared_box(builder, 1000, 160, 180);
}
