#include "calendar/calendar_seams.h"

#include "calendar/first_year.h"
#include "calendar/music_course.h"

namespace {

// Stand-ins until the routine is written; each is replaced by the real one.
s32 picture_pair_game_pending() {
    return 0;
}

} // namespace

s32 (*picture_pair_game_seam)() = picture_pair_game_pending;

void (*training_aftermath_seam)(s32) = training_aftermath;

void (*music_trial_seam)() = music_trial;

void calendar_seams_reset() {
    picture_pair_game_seam = picture_pair_game_pending;

    training_aftermath_seam = training_aftermath;

    music_trial_seam = music_trial;
}
