// The training ground of place 1.6 and its opener in pool B.
#include "calendar/training_ground.h"

#include "calendar/calendar_seams.h"
#include "calendar/frame.h"
#include "calendar/timed_action_game.h"
#include "game/player.h"
#include "game/titles.h"

#include <climits>

using namespace cal_literals;

const TrainingSetting TRAINING_SETTING_TABLE[TRAINING_SETTINGS] = {
    {30, 55845, 1, 1, 1}, {40, 55845, 1, 2, 1},      {50, 55845, 1, 3, 1},
    {80, 55850, 2, 1, 3}, {INT_MAX, 55855, 3, 2, 2},
};

namespace {

constexpr s32 TG_SET = 1, TG_PLACE = 6; // place 1.6
constexpr s32 TG_SKILL = 15;
constexpr CalPicture TG_BACKDROP = 60421_pic;
constexpr CalPerson TG_TRAINER = 265_p;
constexpr s32 TG_LINE_SPREAD = 5;
constexpr s32 TG_AFTERMATH_FLAG = 1;
constexpr s32 TG_TITLE_KIND = 15;

CalEntry entry(s32 k) {
    return cal_place(TG_SET, TG_PLACE, k);
}

void trainer(CalText text, CalText to = {}) {
    cal_lines({{.text = text, .to = to, .right = {TG_TRAINER}}});
}

// Skill 15 grows with `grow`; the trainings show no summary.
void gain15(s32 n) {
    CalSummary unshown;
    cal_gain_loud(unshown, cal_skill(TG_SKILL), n);
}

s32 play(s32 level, s32 pace) {
    return timed_action_game(level, pace, player_record.skill[0]);
}

// A lost training: the trainer's lines and the aftermath.
void lost() {
    trainer(55840_t, 55844_t);
}

} // namespace

void calendar_event_098() {
    cal_lines({
        {.backdrop = 60423_pic, .text = 55790_t},
        {.sound = 686_snd, .text = 55791_t, .to = 55793_t, .right = {93_p}},
        {.travel = true, .text = 55794_t, .to = 55796_t, .right = {94_p}},
        {.travel = true, .text = 55797_t, .to = 55814_t, .right = {TG_TRAINER}},
    });
    player_record.affection[164] = 50;
    cal_close(cal_pool_b(3));
    cal_open(entry(0));
    cal_place_button(TG_PLACE, TG_SET, 1);
}

void calendar_event_099() {
    hub_block.scene_backdrop = cal_id(TG_BACKDROP);
    trainer(55820_t, 55827_t);
    if (play(1, 1) == 1) {
        trainer(55830_t, 55833_t);
        gain15(200);
    } else {
        lost();
        training_aftermath_seam(TG_AFTERMATH_FLAG);
    }
    cal_close(entry(0));
    cal_open(entry(1));
}

void calendar_event_100() {
    hub_block.scene_backdrop = cal_id(TG_BACKDROP);
    const s32 skill = player_record.skill[TG_SKILL];
    const TrainingSetting* row = &TRAINING_SETTING_TABLE[TRAINING_SETTINGS - 1];
    for (const TrainingSetting& t : TRAINING_SETTING_TABLE)
        if (skill < t.below_skill) {
            row = &t;
            break;
        }
    trainer(CalText{row->line_first + cal_rand(TG_LINE_SPREAD)});
    const s32 pace = row->pace_first + (row->pace_spread > 1 ? cal_rand(row->pace_spread) : 0);
    if (play(row->level, pace) == 1) {
        trainer(55864_t, 55867_t);
        gain15(200 * row->level + 50 * pace);
    } else {
        lost();
        gain15(50 * row->level);
        training_aftermath_seam(TG_AFTERMATH_FLAG);
    }
    if (player_record.skill[TG_SKILL] >= TRAINING_DONE_SKILL) {
        cal_close(entry(1));
        cal_open(entry(2));
    }
}

void calendar_event_101() {
    hub_block.scene_backdrop = cal_id(TG_BACKDROP);
    trainer(55880_t, 55883_t);
    if (play(4, 3) == 1) {
        trainer(55884_t, 55894_t);
        cal_lines({{.travel = true, .text = 55895_t}});
        gain15(10000);
        title_award_check(TG_TITLE_KIND);
        cal_close(entry(2));
        cal_place_button(TG_PLACE, TG_SET, 0);
    } else {
        lost();
        training_aftermath_seam(TG_AFTERMATH_FLAG);
        title_award_check(TG_TITLE_KIND);
    }
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {98, calendar_event_098},
    {99, calendar_event_099},
    {100, calendar_event_100},
    {101, calendar_event_101},
};
} // namespace

std::span<const CalendarSlot> training_ground_slots() {
    return SLOTS;
}

void register_training_ground() {
    calendar_install(SLOTS, TRAINING_GROUND_OWNER);
}
