// The calendar hub: one pass of the main loop per calendar turn, the dashboard's menu bars and
// their command codes, the menu availability that follows from the player's state, and rest.
#include "game/hub.h"

#include "data/schedule.h"
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/calendar_table.h"
#include "game/clock.h"
#include "game/dashboard.h"
#include "game/hub_dialog.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/load_menu.h"
#include "game/pickers.h"
#include "game/player.h"
#include "game/save.h"
#include "game/titles.h"

s32 hub_restart = 0;

namespace {

constexpr s32 OPEN_WORLD_TURN = 235;
constexpr s32 SAVE_SLOT_AUTOSAVE = 3;
constexpr s32 BACKDROP_TURN_START = 60407;
constexpr s32 BACKDROP_DASHBOARD = 60400;
constexpr s32 SOUND_BUTTON = 502;
constexpr s32 TEXT_RESTED = 233;
constexpr s32 TITLE_KIND_TURN = 9;
constexpr s32 STORY_FLAG_PLACE_4 = 15; // set by an episode; opens place 4 of place set 0

// The dashboard's hit areas (inclusive edges).
constexpr s32 PAGE_X0 = 274, PAGE_X1 = 633, PAGE_Y0 = 6, PAGE_Y1 = 106;
constexpr s32 BUTTON_Y0 = 347, BUTTON_Y1 = 465;
constexpr s32 BUTTON_STEP = 77, BUTTON_X0 = 14, BUTTON_W = 73;
constexpr s32 BUTTON_BACK = 7; // rest on the top bar, back in a submenu, close on the place bar
constexpr s32 PLACE_MENU = 7;  // the submenu whose buttons 0 and 1 open a place bar

bool turn_in_schedule(s32 turn) {
    return turn >= 0 && turn < HUB_TURNS;
}

// The handler slot a schedule names for `turn`, or -1: turns outside the schedules and slots
// outside the handler table name nothing.
s32 scheduled_slot(const s32* schedule, s32 turn) {
    if (!turn_in_schedule(turn)) return -1;
    const s32 slot = schedule[turn];
    return slot >= 0 && slot < CALENDAR_EVENT_COUNT ? slot : -1;
}

// The before-turn or after-turn event of the current turn, with its short notice.
void run_scheduled(const s32* schedule) {
    const s32 turn = hub_block.calendar_turn;
    const s32 slot = scheduled_slot(schedule, turn);
    if (slot < 0) return;
    if (turn > 1 && hub_block.turn_event_notice[turn] == 1) hub_transition_short();
    calendar_event_run(slot);
}

s32 hub_music_track(s32 turn, s32 month) {
    struct TurnTrack {
        s32 track;
        s32 turns[4];
    };
    // Story turns with their own music; -1 fills a row.
    constexpr TurnTrack STORY_TRACKS[] = {
        {10021, {20, 80, 140, 200}},
        {10025, {40, 100, 160, 220}},
        {10027, {51, 111, 171, 231}},
        {10028, {57, 117, 177, -1}},
    };
    for (const TurnTrack& row : STORY_TRACKS)
        for (s32 t : row.turns)
            if (t == turn) return row.track;
    if (month >= 1 && month <= 3) return 10053;
    if (month >= 4 && month <= 6) return 10054;
    if (month == 7) return 10055;
    return 10056;
}

void hub_menu_reset() {
    hub_block.hub_menu_level = 0;
    hub_block.hub_menu_pick = -1;
    hub_block.hub_third_open = 0;
    hub_block.hub_third_pick = 0;
    hub_block.hub_command = -1;
}

// The menu state comes from a saved game and from handlers: a level outside the bars goes back
// to the top bar, and a place bar without a valid place set is closed.
void hub_menu_sanitise() {
    HubBlock& h = hub_block;
    if (h.hub_menu_level < 0 || h.hub_menu_level >= HUB_MENU_LEVELS) {
        h.hub_menu_level = 0;
        h.hub_menu_pick = -1;
        h.hub_third_open = 0;
    }
    if (h.hub_third_open == 1 && (h.hub_menu_pick < 0 || h.hub_menu_pick >= HUB_PLACE_SETS))
        h.hub_third_open = 0;
}

bool hub_button_usable(s32 i) {
    const HubBlock& h = hub_block;
    if (h.hub_third_open == 1) return h.hub_third_avail[i][h.hub_menu_pick] == 1;
    return h.hub_menu_avail[h.hub_menu_level][i] == 1;
}

void hub_button_pressed(s32 i) {
    HubBlock& h = hub_block;
    mssw_play_sound(SOUND_BUTTON, 1);
    if (h.hub_third_open == 1) {
        if (i == BUTTON_BACK) {
            h.hub_third_open = 0;
        } else {
            h.hub_third_pick = i;
            h.hub_command = HUB_CMD_PLACE;
        }
    } else if (h.hub_menu_level == 0) {
        if (i == BUTTON_BACK)
            h.hub_command = HUB_CMD_REST;
        else
            h.hub_menu_level = i + 1;
    } else if (i == BUTTON_BACK) {
        h.hub_menu_level = 0;
        h.hub_menu_pick = -1;
    } else {
        h.hub_menu_pick = i;
        if (h.hub_menu_level == PLACE_MENU && i < HUB_PLACE_SETS)
            h.hub_third_open = 1;
        else
            h.hub_command = i + 8 * h.hub_menu_level - 8;
    }
}

// A left click on the dashboard: the page area, then the first button under the click.
void hub_click(s32 x, s32 y) {
    HubBlock& h = hub_block;
    if (x >= PAGE_X0 && x <= PAGE_X1 && y >= PAGE_Y0 && y <= PAGE_Y1) {
        const s32 next = h.dashboard_page + 1;
        h.dashboard_page = next > 1 || next < 0 ? 0 : next;
    }
    if (y < BUTTON_Y0 || y > BUTTON_Y1) return;
    for (s32 i = 0; i < HUB_MENU_BUTTONS; i++) {
        const s32 x0 = BUTTON_STEP * i + BUTTON_X0;
        if (x < x0 || x > x0 + BUTTON_W) continue;
        // The first button under the click ends the search, usable or not.
        if (hub_button_usable(i)) hub_button_pressed(i);
        return;
    }
}

// The dashboard loop: draws, takes one left click a frame, dispatches the chosen command, until
// a command ends the player's choice.
void hub_dashboard() {
    HubBlock& h = hub_block;
    dashboard_anim = 0;
    mouse_buttons = 0;
    hub_menu_update();
    if (player_record.sick_turns > 0) {
        for (s32 i = 0; i < 7; i++) h.hub_menu_avail[0][i] = 0;
        h.hub_menu_avail[0][5] = 1;
        h.hub_menu_avail[0][7] = 1;
    }
    h.scene_backdrop = BACKDROP_DASHBOARD;
    // The first day is played by the after-turn event of turn 0.
    if (h.calendar_turn == 0) return;
    for (;;) {
        hub_menu_sanitise();
        hub_draw();
        if (mouse_buttons == 1) {
            // The click's place is taken before the button is cleared: from then on the next
            // click may already overwrite it.
            const s32 x = click_x, y = click_y;
            mouse_buttons = 0;
            hub_click(x, y);
        }
        hub_menu_draw();
        s32 ends = 0;
        if (h.hub_command >= 0) ends = hub_dispatch(h.hub_command);
        screen_present();
        if (ends) return;
    }
}

} // namespace

void hub_menu_update() {
    HubBlock& h = hub_block;
    s32(&a)[HUB_MENU_LEVELS][HUB_MENU_BUTTONS] = h.hub_menu_avail;
    // Art practice: one button per art list that holds a known art.
    for (s32 k = 2; k <= 8; k++) {
        if (!known_any(k)) continue;
        a[0][2] = 1;
        a[3][k - 2] = 1;
        a[3][7] = 1;
    }
    if (h.calendar_turn < 35) return;
    manuals_sync_seam();
    if (h.hub_third_avail[0][1] == 1 || h.hub_third_avail[1][0] == 1 ||
        h.hub_third_avail[1][1] == 1 || h.hub_third_avail[2][0] == 1)
        a[0][4] = 1;
    if (known_any(16)) a[4][0] = a[0][3] = 1;
    if (known_any(14)) a[4][5] = a[0][3] = 1;
    if (known_any(20)) a[5][5] = a[0][4] = 1;
    // The four tool games: each button follows what the player owns this turn.
    struct ToolButton {
        s32 button;
        s32 lo0, hi0, lo1, hi1; // lo1 -1: no second range
    };
    constexpr ToolButton TOOLS[] = {
        {3, 2210, 2219, 2200, 2209}, // aiming
        {6, 2250, 2259, -1, -1},     // light ring
        {4, 2230, 2239, 2240, 2249}, // catching
        {1, 2220, 2229, -1, -1},     // pop-up targets
    };
    for (const ToolButton& t : TOOLS) {
        const bool owned =
            inv_has_range(t.lo0, t.hi0) && (t.lo1 < 0 || inv_has_range(t.lo1, t.hi1));
        a[4][t.button] = owned ? 1 : 0;
        if (owned) a[0][3] = 1;
    }
    for (s32 i = 0; i < HUB_PLACE_POOL_PLACES; i++) {
        if (h.hub_third_avail[i][1] != 1) continue;
        a[PLACE_MENU][1] = 1;
        break;
    }
}

void hub_rest() {
    if (player_record.condition == 5 || player_record.condition == 6)
        stamina_add(100);
    else
        stamina_add(250 + rand_below(150));
    hub_draw();
    text_size(24);
    text_style(2);
    print_text(9, 377, TEXT_RESTED);
    screen_present();
    hub_click_wait();
    hub_block.turns_consumed = 1;
}

s32 hub_dispatch(s32 code) {
    HubBlock& h = hub_block;
    switch (code) {
    case HUB_CMD_RECIPES:
        hub_cmd_recipes_seam();
        return 1;
    case HUB_CMD_POPUP:
        hub_cmd_popup_seam();
        return 1;
    case HUB_CMD_AIM:
        hub_cmd_aim_seam();
        return 1;
    case HUB_CMD_CATCH:
        hub_cmd_catch_seam();
        return 1;
    case HUB_CMD_LIGHT_RING:
        hub_cmd_light_ring_seam();
        return 1;
    case HUB_CMD_INFO:
        info_screen_seam(1);
        h.hub_command = -1;
        return 0;
    case HUB_CMD_AFFECTION:
        affection_screen();
        h.hub_command = -1;
        return 0;
    case HUB_CMD_LOAD:
        // A cancel from the list resets the menu itself; a refused confirmation leaves the
        // command at 42, so the menu opens again on the next frame.
        if (hub_load_menu() < 0) return 0;
        hub_restart = 1;
        return 1;
    case HUB_CMD_QUIT:
        game_quit();
    case HUB_CMD_REST:
        hub_rest();
        return 1;
    case HUB_CMD_POOL_A:
        hub_transition(5);
        pick_event_a();
        hub_menu_reset();
        return 1;
    case HUB_CMD_POOL_B:
        hub_transition(7);
        pick_event_b();
        hub_menu_reset();
        return 1;
    case HUB_CMD_POOL_C:
        hub_transition(2);
        pick_event_c();
        hub_menu_reset();
        return 1;
    case HUB_CMD_MARKET:
        hub_transition(4);
        market_visit_seam();
        hub_menu_reset();
        return 0;
    case HUB_CMD_COMPANION:
        hub_transition(3);
        companion_visit_screen_seam();
        hub_menu_reset();
        return 0;
    case HUB_CMD_PLACE:
        hub_transition(h.hub_menu_pick);
        pick_place_event(h.hub_menu_pick, h.hub_third_pick);
        hub_menu_reset();
        return 1;
    default:
        // Every other code is an activity (one without an activity of its own plays only the
        // common close).
        activity_run_seam(code);
        return 1;
    }
}

void hub_pass() {
    HubBlock& h = hub_block;
    // 1. Turn start.
    if (h.calendar_turn > 0 && hub_restart == -1) save_game(SAVE_SLOT_AUTOSAVE);
    cursor_select(0);
    const s32 loads_at_start = save_load_count;
    auto loaded = [&] { return save_load_count != loads_at_start; };
    hub_restart = -1;
    h.scene_backdrop = BACKDROP_TURN_START;
    h.turns_consumed = 1;
    player_record.turn_done = 0;
    h.hub_menu_avail[7][6] = 1;
    h.hub_menu_avail[7][5] = 1;
    if (player_record.story_flags[STORY_FLAG_PLACE_4] == 1) h.hub_third_avail[4][0] = 1;
    const s32 titles = title_count();
    if (titles > 0) dashboard_title = rand_below(titles) + 1;
    hub_menu_reset();

    // 2. Area and music (not while a map episode resumed from a save is running).
    if (world_state.field_active != 1) {
        player_record.area = AREA_HUB;
        if (h.calendar_turn > 0) {
            const s32 track = hub_music_track(h.calendar_turn, world_state.month);
            player_record.music_id = track;
            mssw_play_music(track, 0);
        }
    }

    // 3. Before-turn event, or the open world from turn 235 on.
    if (h.calendar_turn >= OPEN_WORLD_TURN) {
        const s32 route = player_record.story_flags[STORY_ROUTE];
        if (route >= 1 && route <= 3) open_world_start_seam(route);
    } else {
        run_scheduled(h.turn_events_before);
    }

    // A game loaded during the before-turn part replaces this turn: the loaded state starts
    // its own pass, without an autosave.
    if (loaded()) {
        hub_restart = 1;
        return;
    }

    // 4. Dashboard, unless a map episode resumed from a save is still running.
    if (world_state.field_active != 1) hub_dashboard();

    // 5. After-turn part.
    if (hub_restart != -1) return;
    if (loaded()) {
        hub_restart = 1;
        return;
    }
    run_scheduled(h.turn_events_after);
    if (hub_restart != -1) return;
    title_award_check(TITLE_KIND_TURN);
    if (player_record.turn_done == 0 || h.calendar_turn < 10) hub_end_turn(h.turns_consumed);
}

void hub_main() {
    for (;;) hub_pass();
}
