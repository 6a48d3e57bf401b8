#include "calendar/calendar_seams.h"

#include "calendar/first_year.h"
#include "calendar/music_course.h"
#include "calendar/opening_screens.h"

s32 (*picture_pair_game_seam)() = picture_pair_game;
void (*training_aftermath_seam)(s32) = training_aftermath;
void (*music_trial_seam)() = music_trial;

void calendar_seams_reset() {
    picture_pair_game_seam = picture_pair_game;
    training_aftermath_seam = training_aftermath;
    music_trial_seam = music_trial;
}
