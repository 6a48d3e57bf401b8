#include "calendar/calendar_seams.h"

#include "calendar/opening_screens.h"

namespace {

// Stand-ins until the routine is written; each is replaced by the real one.
void training_aftermath_pending(s32) {}

void music_trial_pending() {}

} // namespace

s32 (*picture_pair_game_seam)() = picture_pair_game;

void (*training_aftermath_seam)(s32) = training_aftermath_pending;

void (*music_trial_seam)() = music_trial_pending;

void calendar_seams_reset() {
    picture_pair_game_seam = picture_pair_game;

    training_aftermath_seam = training_aftermath_pending;

    music_trial_seam = music_trial_pending;
}
