// Placeholder pictures of the two-track timing game, each a framed box showing its id at the size
// the game draws it. The backdrop is light for the game's dark texts and marks the two tracks
// with their hit windows: a mark is hit while it lies whole inside its track's window.
#include "engine/gisk.h"
#include "minigames/tracks.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_images.h"
#include "tools/placeholder_minigames.h"

namespace {

constexpr s32 NOTE_W = 44, NOTE_H = 24;
constexpr s32 LEFT_X = 72, RIGHT_X = 128; // the tracks' x (TRACKS_X)
// A mark at y (its top) is hit for TRACKS_BAND_ABOVE < y < TRACKS_BAND_BELOW: then it lies whole
// inside rows BAND_TOP..BAND_BOTTOM.
constexpr s32 BAND_TOP = TRACKS_BAND_ABOVE + 1, BAND_BOTTOM = TRACKS_BAND_BELOW - 2 + NOTE_H;
constexpr s32 LANE_TOP = TRACKS_GONE_Y - 4, LANE_BOTTOM = TRACKS_START_Y + NOTE_H + 4;

} // namespace

void image_put_placeholder_tracks(ArcBuilder& builder) {
    // Each track's lane, and its hit window just outside the rows and columns a hit mark covers.
    const PlaceholderRect marks[] = {
        {LEFT_X - 6, LANE_TOP, NOTE_W + 12, LANE_BOTTOM - LANE_TOP},
        {RIGHT_X - 6, LANE_TOP, NOTE_W + 12, LANE_BOTTOM - LANE_TOP},
        {LEFT_X - 2, BAND_TOP - 2, NOTE_W + 4, BAND_BOTTOM - BAND_TOP + 5},
        {RIGHT_X - 2, BAND_TOP - 2, NOTE_W + 4, BAND_BOTTOM - BAND_TOP + 5},
        {LEFT_X - 4, BAND_TOP - 4, NOTE_W + 8, BAND_BOTTOM - BAND_TOP + 9},
        {RIGHT_X - 4, BAND_TOP - 4, NOTE_W + 8, BAND_BOTTOM - BAND_TOP + 9},
    };
    const PlaceholderLabel labels[] = {
        {22, BAND_TOP + 4, 2, "HIT"},
        {LEFT_X - 4, LANE_BOTTOM + 4, 2, "LEFT"},
        {RIGHT_X - 4, LANE_BOTTOM + 4, 2, "RIGHT"},
    };
    builder.put(u32(ARC_IMAGE_BASE + 25600),
                placeholder_backdrop_sprite(25600, 640, 480, {}, marks, labels));
    for (s32 id = 25601; id <= 25606; ++id)
        minigame_put_box(builder, id, 280, 280); // centre picture and its flashes
    for (s32 k = 0; k < 6; ++k)
        minigame_put_box(builder, TRACKS_NOTE_IMAGE + k, NOTE_W, NOTE_H); // marks, 3 phases a track
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
