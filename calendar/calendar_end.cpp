#include "calendar/calendar_end.h"

#include "calendar/frame.h"
#include "calendar/launchers.h"
#include "data/hub_block.h"
#include "engine/mssw.h"
#include "engine/world_state.h"
#include "game/hub_dialog.h"
#include "game/player.h"

using namespace cal_literals;

namespace {

s32 story_flag(s32 n) {
    return player_record.story_flags[n];
}

void set_route(s32 route) {
    player_record.story_flags[STORY_ROUTE] = route;
}

// The farewell: the last evening at home and a parting fight.
void farewell() {
    cal_lines({
        {.sound = 682_snd,
         .backdrop = 60407_pic,
         .text = 62200_t,
         .to = 62201_t,
         .right = {CAL_NOBODY}},
        {.travel = true,
         .backdrop = 60406_pic,
         .text = 62205_t,
         .to = 62224_t,
         .right = {20_p, 225_p},
         .left = {30_p}},
    });
    cal_battle(CAL_END_FAREWELL_BATTLE);
    cal_lines({
        {.text = 62230_t, .right = {CAL_NOBODY}},
        {.text = 62239_t, .to = 62241_t, .right = {20_p}},
        {.text = 62242_t, .right = {225_p}},
        {.text = 62246_t, .right = {225_p}},
    });
}

// The closing run of the departure; the piece plays without becoming the stored track.
void closing_run() {
    mssw_play_music(10033, 0);
    cal_lines({
        {.text = 62280_t, .to = 62285_t, .right = {40_p}, .left = {30_p}},
        {.text = 62265_t, .to = 62269_t, .right = {40_p}, .left = {30_p}},
        {.text = 62278_t, .to = 62279_t, .right = {40_p}, .left = {30_p}},
        {.text = 62346_t, .to = 62347_t, .right = {40_p}, .left = {30_p}},
    });
}

} // namespace

bool cal_end_offers_route_two() {
    const s32 f81 = story_flag(81), f93 = story_flag(93);
    const bool marked = story_flag(94) == 1 || f81 == 3 || story_flag(27) == 1;
    const bool redeemed = f93 == 1 || f93 == 3 || f81 == 1 || f81 == 2 ||
                          player_record.chivalry > CAL_END_REDEEMING_CHIVALRY;
    return marked && !redeemed;
}

void route1_departure() {
    hub_say(1, 0, 225, 62250);
    if (cal_lost(cal_battle(CAL_END_DEPARTURE_BATTLE))) {
        cal_lines({
            {.backdrop = 60400_pic,
             .text = 62255_t,
             .to = 62262_t,
             .right = {50_p},
             .left = {CAL_NOBODY}},
            {.backdrop = 60402_pic, .text = 62264_t, .right = {30_p}, .left = {50_p}},
            {.text = 62270_t, .to = 62274_t, .right = {30_p}},
            {.text = 62275_t, .right = {40_p}, .left = {CAL_NOBODY}},
            {.text = 62276_t, .to = 62277_t, .right = {40_p}, .left = {30_p}},
        });
        closing_run();
        cal_lines({{.text = 26671_t, .right = {40_p}}});
    } else {
        cal_lines({
            {.text = 62249_t, .right = {225_p}, .left = {CAL_NOBODY}},
            {.text = 62180_t, .right = {CAL_NOBODY}},
            {.text = 62181_t, .right = {30_p}},
            {.travel = true,
             .text = 62182_t,
             .to = 62184_t,
             .right = {50_p},
             .left = {CAL_NOBODY, 30_p}},
            {.text = 62185_t, .right = {0_p}, .left = {30_p}},
            {.travel = true,
             .backdrop = 60402_pic,
             .text = 62276_t,
             .to = 62277_t,
             .right = {40_p},
             .left = {30_p}},
        });
        closing_run();
    }
    set_route(1);
}

void calendar_event_159() {
    // A game saved in the open world goes straight back to its route.
    if (world_state.field_active != 1) {
        farewell();
        if (!cal_end_offers_route_two()) {
            hub_say(0, 0, 20, 62245);
            route1_departure();
        } else if (hub_choose(0, 0, 20, 62243, 62244, 0, 0) == 0) {
            route1_departure();
        } else {
            cal_lines({{.text = 62340_t, .to = 62341_t, .right = {20_p}}});
            if (hub_choose(0, 0, 20, 62342, 62343, 0, 0) == 0) {
                hub_say(1, 0, 225, 62344);
                set_route(2);
            } else {
                route1_departure();
            }
        }
    }
    launcher_open_world_seam(story_flag(STORY_ROUTE));
}

namespace {
constexpr CalendarSlot SLOTS[] = {
    {159, calendar_event_159},
};
} // namespace

std::span<const CalendarSlot> calendar_end_slots() {
    return SLOTS;
}

void register_calendar_end() {
    calendar_install(SLOTS, CALENDAR_END_OWNER);
}
