#include "game/open_world.h"

#include "data/hub_block.h"
#include "data/open_world_rows.h"
#include "data/roster.h"
#include "engine/dialog.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/world/creators.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "game/world_rows.h"

void (*open_world_field_loop_seam)() = field_loop;

namespace {

constexpr s32 ROUTE1_GROWN = 204; // route 1's companion-to-be in the roster grows at the start
constexpr s32 ROUTE1_GROWTH = 30;
constexpr s32 ROUTE1_HP_BONUS = 300;

void run(const WorldRowSpan& s) {
    if (s.count != 0) world_rows_run(s.rows, s.count);
}

void run_pick(const OpenWorldPick& p) {
    const bool one = player_record.story_flags[p.story_flag] == 1;
    world_rows_run(one ? &p.if_one : &p.otherwise, 1);
}

void start_route(s32 route) {
    const OpenWorldRoute& r = open_world_routes[route - 1];
    if (world_state.field_active != 1) {
        open_world_build();

        player_record.story_flags[STORY_ROUTE] = route;
        run(r.closes);
        if (route == 1 && player_record.story_flags[OPEN_WORLD_DOOR_603_FLAG] != 1)
            attr_set(OPEN_WORLD_DOOR_603, ATTR_ACTIVE, 0);

        for (s32& member : player_record.party) member = -1;
        player_record.party[0] = r.companion;

        make_player(r.map, r.x, r.y, OPEN_WORLD_PLAYER_EVENT, 3);
        attr_set(0, ATTR_CLICK, 1);
        attr_set(0, ATTR_TIMER_ON, 0);
        attr_set(0, ATTR_VAR_A, 0);
        obj_set_frame(0, r.frame);

        hub_block.calendar_turn = OPEN_WORLD_TURN;
        world_state.month = 8;
        world_state.day = 1;
        world_state.hour = 7;
        world_state.minute = 0;
        player_record.area = r.area;
        player_record.music_id = OPEN_WORLD_MUSIC;
        if (route == 1) {
            roster_grow(ROUTE1_GROWN, ROUTE1_GROWTH);
            RosterEntry& e = roster[ROUTE1_GROWN];
            e.hp_max += ROUTE1_HP_BONUS;
            e.hp = e.hp_max;
        }

        run(r.objects);
        if (route == 3) {
            for (RosterEntry& e : roster) e.bag[0] = {OPEN_WORLD_BAG_ITEM, 1 + rand_below(2)};
        }
    }
    mssw_play_music(player_record.music_id, 0);
    open_world_field_loop_seam();
    cursor_select(0);
}

} // namespace

void open_world_hide_calendar() {
    run(open_world_calendar_rows);
}

void open_world_build() {
    open_world_hide_calendar();

    player_record.poison = 0;
    player_record.hp = player_record.hp_max;
    player_record.mp = player_record.mp_max;

    player_record.clock_rate_copy = OPEN_WORLD_CLOCK_RATE;
    world_state.frames_per_minute = OPEN_WORLD_CLOCK_RATE;
    world_state.field_active = 1;

    run(open_world_door_rows);
    for (s32 i = 0; i < OPEN_WORLD_PICKS; ++i) {
        run(open_world_shared_parts[i]);
        run_pick(open_world_picks[i]);
    }
    run(open_world_shared_parts[OPEN_WORLD_PICKS]);
    run(open_world_change_rows);
}

void open_world_start_1() {
    start_route(1);
}
void open_world_start_2() {
    start_route(2);
}
void open_world_start_3() {
    start_route(3);
}
void open_world_start(s32 route) {
    if (route == 1) open_world_start_1();
    if (route == 2) open_world_start_2();
    if (route == 3) open_world_start_3();
}
