#include "data/schedule.h"
#include "engine/shell.h"
#include "engine/world_state.h"
#include "game/activity.h"
#include "game/calendar_table.h"
#include "game/clock.h"
#include "game/companion_visit.h"
#include "game/hub.h"
#include "game/info_screen.h"
#include "game/inventory.h"
#include "game/market.h"
#include "game/meal.h"
#include "game/open_world.h"
#include "game/player.h"
#include "game/save.h"
#include "game/slot_list.h"
#include "tests/hub_fixture.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Slots that the game never fills (they hold the empty handler for good), borrowed for the
// tests' own handlers.
constexpr s32 SLOT_BEFORE = 176;
constexpr s32 SLOT_AFTER = 177;
constexpr s32 SLOT_TRAP = 178;
constexpr s32 SLOT_LAUNCHER = 179;
constexpr s32 SLOT_LOADER = 180;
constexpr s32 SLOT_MENU_DAMAGE = 181;

// What the handlers and seams did, in order.
std::vector<std::string> calls;
s32 backdrop_seen = 0;

void note(const std::string& what) {
    calls.push_back(what);
}
void before_handler() {
    note("before");
}
void after_handler() {
    note("after");
    backdrop_seen = hub_block.scene_backdrop;
}
void trap_handler() {
    note("trap");
}
// An episode launcher: ends the turn itself.
void launcher_handler() {
    note("launcher");
    hub_end_turn(1);
    player_record.turn_done = 1;
}
// Loads a game while it runs (the load counter is the hub's only sign of it).
void loader_handler() {
    note("loader");
    save_load_count++;
}
// Leaves the saved menu state damaged.
void menu_damage_handler() {
    hub_block.hub_menu_level = 12;
    hub_block.hub_menu_pick = 5;
    hub_block.hub_third_open = 1;
    hub_block.hub_third_pick = 40;
    hub_block.dashboard_page = 7;
}

void fake_activity(s32 code) {
    note("activity " + std::to_string(code));
}
void fake_info(s32 from_hub) {
    note("info " + std::to_string(from_hub));
}
void fake_market() {
    note("market");
    hub_block.hub_menu_avail[7][5] = 0; // the screen closes its own button
}
void fake_companion() {
    note("companion");
    hub_block.hub_menu_avail[7][6] = 0;
}
void fake_meal() {
    note("meal");
}
void fake_open_world(s32 route) {
    note("open world " + std::to_string(route));
}
void loading_open_world(s32 route) {
    note("open world " + std::to_string(route));
    save_load_count++;
    world_state.field_active = 0;
}
s32 manuals_syncs = 0;
void fake_manuals_sync() {
    manuals_syncs++;
}

// Scripted clicks on the virtual clock: each pressed for 150 ms (several dashboard frames, so
// the hub's test of the buttons sees it) and 400 ms apart. The first comes 1.5 s after the
// queueing, after whatever the turn start plays; a command that plays a transition takes a longer
// pause.
u64 click_time = 0;
constexpr u64 CLICK_GAP_MS = 250;
constexpr u64 PRESS_MS = 100;
constexpr u64 TRANSITION_GAP_MS = 2700;
void dashboard_input() {
    click_time = harness_elapsed_ms() + 100;
}
void click_at(s32 x, s32 y, s32 button = 1, u64 gap = CLICK_GAP_MS) {
    harness_move(x, y, at_time(click_time));
    harness_button_down(button, at_time(click_time));
    harness_button_up(button, at_time(click_time + PRESS_MS));
    click_time += gap;
}
// The dashboard's eight buttons: button i spans x 77i + 14 .. 77i + 87, y 347..465.
constexpr s32 REST = 7, BACK = 7;
void click_button(s32 i, u64 gap = CLICK_GAP_MS) {
    click_at(77 * i + 50, 400, 1, gap);
}
// A button whose command plays a transition and then keeps the dashboard (market, companion).
constexpr s32 TRANSITION = 100;
constexpr s32 then_transition(s32 button) {
    return TRANSITION + button;
}
void click_buttons(const std::vector<s32>& buttons) {
    dashboard_input();
    for (s32 i : buttons) {
        if (i >= TRANSITION)
            click_button(i - TRANSITION, TRANSITION_GAP_MS);
        else
            click_button(i);
    }
}
// Runs a pass and checks that it used every scripted click.
void pass_using_input() {
    hub_pass();
    harness_advance(PRESS_MS + 50);
    harness_pump();
    EXPECT_EQ(harness_pending_input(), 0u) << "the pass ended before its clicks";
}

bool save_file_exists(s32 slot) {
    char name[16];
    save_image_name(slot, name);
    return std::filesystem::exists(name);
}

std::vector<std::string> lines_from(size_t mark) {
    const std::vector<std::string> all = dialog_lines();
    return {all.begin() + std::min(mark, all.size()), all.end()};
}
size_t count(const std::vector<std::string>& lines, const std::string& line) {
    return size_t(std::count(lines.begin(), lines.end(), line));
}

void all_menus_usable() {
    for (auto& row : hub_block.hub_menu_avail)
        for (s32& b : row) b = 1;
    for (auto& place : hub_block.hub_third_avail)
        for (s32& b : place) b = 1;
}

void title_nine_met() {
    player_record.story_flags[STORY_DICE_WINS] = 200;
    player_record.story_flags[STORY_DICE_LOSSES] = 0;
}
bool title_nine_awarded() {
    return title_has(18) || title_has(41);
}

class HubPassTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        const std::pair<s32, CalendarHandler> handlers[] = {
            {SLOT_BEFORE, before_handler}, {SLOT_AFTER, after_handler},
            {SLOT_TRAP, trap_handler},     {SLOT_LAUNCHER, launcher_handler},
            {SLOT_LOADER, loader_handler}, {SLOT_MENU_DAMAGE, menu_damage_handler},
        };
        for (const auto& [slot, fn] : handlers)
            ASSERT_EQ(calendar_event_register(slot, fn, "hub test"), 0) << slot;
        calls.clear();
        backdrop_seen = 0;
        manuals_syncs = 0;
        activity_run_seam = fake_activity;
        info_screen_seam = fake_info;
        market_visit_seam = fake_market;
        companion_visit_screen_seam = fake_companion;
        meal_screen_seam = fake_meal;
        open_world_start_seam = fake_open_world;
        hub_restart = 0;
        world_state.field_active = 0;
        // No scheduled events but those a test sets: a before-turn notice animation would take
        // the frames in which a test's first click is due.
        for (s32& slot : hub_block.turn_events_before) slot = -1;
        for (s32& slot : hub_block.turn_events_after) slot = -1;
    }
    void TearDown() override {
        for (s32 slot = SLOT_BEFORE; slot <= SLOT_MENU_DAMAGE; slot++)
            calendar_event_unregister(slot);
        HubTest::TearDown();
    }
    // A turn with no scheduled event of its own.
    void at_turn(s32 turn) {
        hub_block.calendar_turn = turn;
        if (turn >= 0 && turn < HUB_TURNS) {
            hub_block.turn_events_before[turn] = -1;
            hub_block.turn_events_after[turn] = -1;
        }
    }
};

} // namespace

TEST_F(HubPassTest, TurnZeroPlaysTheFirstDayWithoutDashboardAndEndsTheTurn) {
    ASSERT_EQ(hub_block.calendar_turn, 0);
    hub_block.turn_events_after[0] = SLOT_AFTER;
    const size_t mark = dialog_lines().size();

    hub_pass(); // no input queued: a dashboard loop would spin until the harness budget

    EXPECT_EQ(calls, std::vector<std::string>{"after"});
    EXPECT_EQ(backdrop_seen, 60400);
    EXPECT_EQ(hub_block.calendar_turn, 1);
    EXPECT_EQ(hub_restart, -1);
    EXPECT_FALSE(save_file_exists(3));
    for (const std::string& l : lines_from(mark)) EXPECT_NE(l.rfind("music", 0), 0u) << l;
}

TEST_F(HubPassTest, AutosaveOnlyFromTurnOneWithinARunningGame) {
    struct Case {
        s32 turn, restart_before;
        bool saves;
    };
    const Case cases[] = {
        {1, -1, true}, {40, -1, true}, {0, -1, false}, {1, 0, false}, {40, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("turn " + std::to_string(c.turn) + ", restart " +
                     std::to_string(c.restart_before));
        char name[16];
        save_image_name(3, name);
        std::filesystem::remove(name);
        at_turn(c.turn);
        hub_restart = c.restart_before;
        world_state.field_active = 1; // a resumed episode: no dashboard
        hub_pass();
        EXPECT_EQ(save_file_exists(3), c.saves);
    }
}

TEST_F(HubPassTest, MusicFollowsTheStoryTurnsThenTheMonth) {
    struct Case {
        s32 turn, month, track;
    };
    const Case cases[] = {
        {20, 5, 10021},  {200, 11, 10021}, {40, 1, 10025},  {220, 7, 10025},
        {51, 12, 10027}, {231, 4, 10027},  {57, 10, 10028}, {177, 2, 10028},
        {5, 1, 10053},   {7, 3, 10053},    {9, 4, 10054},   {11, 6, 10054},
        {13, 7, 10055},  {15, 8, 10056},   {16, 12, 10056}, {237, 3, 10053},
    };
    player_record.story_flags[STORY_ROUTE] = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("turn " + std::to_string(c.turn));
        at_turn(c.turn);
        world_state.month = u8(c.month);
        player_record.area = 9;
        const size_t mark = dialog_lines().size();
        click_buttons({REST});
        pass_using_input();
        EXPECT_EQ(player_record.music_id, c.track);
        EXPECT_EQ(player_record.area, AREA_HUB);
        EXPECT_EQ(count(lines_from(mark), "music " + std::to_string(c.track) + " 0"), 1u);
    }

    // A map episode resumed from a save keeps its own music and area.
    at_turn(20);
    player_record.area = 9;
    player_record.music_id = 10001;
    world_state.field_active = 1;
    const size_t mark = dialog_lines().size();
    hub_pass();
    EXPECT_EQ(player_record.music_id, 10001);
    EXPECT_EQ(player_record.area, 9);
    for (const std::string& l : lines_from(mark)) EXPECT_NE(l.rfind("music", 0), 0u) << l;
}

TEST_F(HubPassTest, RestByClickRestoresStaminaByConditionAndUsesOneTurn) {
    struct Case {
        s32 condition, lo, hi;
    };
    for (const Case& c :
         {Case{4, 350, 499}, Case{2, 350, 499}, Case{5, 200, 200}, Case{6, 200, 200}}) {
        SCOPED_TRACE("condition " + std::to_string(c.condition));
        at_turn(13);
        player_record.condition = c.condition;
        player_record.stamina = 100;
        const size_t mark = dialog_lines().size();
        click_buttons({REST});
        pass_using_input();
        EXPECT_GE(player_record.stamina, c.lo);
        EXPECT_LE(player_record.stamina, c.hi);
        EXPECT_EQ(hub_block.calendar_turn, 14);
        EXPECT_EQ(count(lines_from(mark), "sound 502 1"), 1u);
        EXPECT_TRUE(calls.empty());
    }
}

TEST_F(HubPassTest, MenuClicksChooseTheirCommands) {
    struct Case {
        std::vector<s32> clicks;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {{0, 0}, {"activity 0"}},
        {{0, 6}, {"activity 6"}},
        {{1, 0}, {"activity 8"}},
        {{1, 5}, {"activity 13"}},
        {{2, 0}, {"activity 16"}},
        {{2, 6}, {"activity 22"}},
        {{3, 2}, {"activity 26"}},
        {{3, 5}, {"activity 29"}},
        {{4, 0}, {"activity 32"}},
        {{4, 5}, {"activity 37"}},
        {{5, 3}, {"activity 43"}},
        {{5, 6}, {"activity 46"}},
        {{0, BACK, 1, 2}, {"activity 10"}},  // back to the top bar, then another submenu
        {{6, 0, BACK, BACK, REST}, {}},      // place set 0: no command, closed, back, rest
        {{6, 1, BACK, BACK, REST}, {}},      // place set 1 likewise
        {{5, 0, 1, BACK, REST}, {"info 1"}}, // character and affection screens keep the turn
        {{6, then_transition(5), REST}, {"market"}},    // keeps the turn, resets the menu
        {{6, then_transition(6), REST}, {"companion"}}, // likewise
        {{6, 4}, {"meal"}},                             // pool C with nothing drawable: the meal
    };
    for (const Case& c : cases) {
        std::string trace = "clicks";
        for (s32 i : c.clicks) trace += " " + std::to_string(i);
        SCOPED_TRACE(trace);
        at_turn(13);
        all_menus_usable();
        for (auto& entry : hub_block.encounter_pool_c) entry = {-1, 0};
        calls.clear();
        click_buttons(c.clicks);
        pass_using_input();
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(hub_block.calendar_turn, 14) << "the command must end the dashboard once";
    }
}

TEST_F(HubPassTest, MiniGameCommandsGoToTheirOwnScreens) {
    const std::vector<std::string> expect[] = {
        {"recipes"}, {"popup"}, {"aim"}, {"catch"}, {"light ring"}};
    hub_cmd_recipes_seam = [] { note("recipes"); };
    hub_cmd_popup_seam = [] { note("popup"); };
    hub_cmd_aim_seam = [] { note("aim"); };
    hub_cmd_catch_seam = [] { note("catch"); };
    hub_cmd_light_ring_seam = [] { note("light ring"); };
    const s32 buttons[] = {0, 1, 3, 4, 6};
    for (s32 k = 0; k < 5; k++) {
        at_turn(13);
        all_menus_usable();
        calls.clear();
        click_buttons({3, buttons[k]});
        pass_using_input();
        EXPECT_EQ(calls, expect[k]) << "submenu 4 button " << buttons[k];
    }
}

TEST_F(HubPassTest, OutingsAndPlacesPlayTheirTransitionAndResetTheMenu) {
    struct Case {
        s32 button, place;
        const char* transition;
        s32 backdrop; // the fallback's, every pool being empty
    };
    const Case cases[] = {
        {2, -1, "hub_transition 5", 60427}, {3, -1, "hub_transition 7", 60421},
        {4, -1, "hub_transition 2", 60422}, {0, 3, "hub_transition 0", 60407},
        {1, 6, "hub_transition 1", 60421},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transition);
        at_turn(13);
        all_menus_usable();
        for (auto& entry : hub_block.encounter_pool_a) entry = {-1, 0};
        for (auto& entry : hub_block.encounter_pool_b) entry = {-1, 0};
        for (auto& entry : hub_block.encounter_pool_c) entry = {-1, 0};
        for (auto& set : hub_block.place_events)
            for (auto& place : set)
                for (auto& entry : place) entry = {-1, 0};
        const size_t mark = dialog_lines().size();
        click_buttons({6, c.button});
        if (c.place >= 0) click_button(c.place);
        pass_using_input();
        EXPECT_EQ(count(lines_from(mark), c.transition), 1u);
        EXPECT_EQ(hub_block.scene_backdrop, c.backdrop);
        EXPECT_EQ(hub_block.hub_third_open, 0);
        EXPECT_EQ(hub_block.hub_third_pick, 0);
        EXPECT_EQ(hub_block.hub_menu_level, 0);
        EXPECT_EQ(hub_block.calendar_turn, 14);
    }
}

TEST_F(HubPassTest, ClicksThatAreNoLeftClickOnAUsableButtonDoNothing) {
    at_turn(13); // the new game's menus: top bar buttons 5 and rest only
    ASSERT_EQ(hub_block.hub_menu_avail[0][0], 0);
    ASSERT_EQ(hub_block.hub_menu_avail[0][5], 1);
    const size_t mark = dialog_lines().size();
    // Both buttons held together over button 5 (the left one let go first).
    dashboard_input();
    harness_move(77 * 5 + 50, 400, at_time(click_time));
    harness_button_down(1, at_time(click_time));
    harness_button_down(2, at_time(click_time));
    harness_button_up(1, at_time(click_time + PRESS_MS));
    harness_button_up(2, at_time(click_time + PRESS_MS + 40));
    click_time += CLICK_GAP_MS;
    click_at(77 * 5 + 50, 400, 2); // right click on a usable button
    click_button(0);               // an unusable button
    click_at(89, 400);             // between two buttons
    click_at(77 * 5 + 50, 346);    // just above the bar
    click_button(REST);
    pass_using_input();
    // Had any of them opened submenu 6, the rest click would have gone to its back button and the
    // pass would not have ended.
    EXPECT_EQ(hub_block.calendar_turn, 14);
    EXPECT_EQ(count(lines_from(mark), "sound 502 1"), 1u);
}

TEST_F(HubPassTest, PageAreaTurnsTheStatisticsPage) {
    at_turn(13);
    hub_block.dashboard_page = 0;
    struct Case {
        s32 x, y, page;
    };
    // Corners of the page area turn the page (1, then back to 0); a click beside it does not.
    for (const Case& c : {Case{274, 6, 1}, Case{633, 106, 0}, Case{634, 50, 0}, Case{300, 107, 0},
                          Case{273, 50, 0}}) {
        dashboard_input();
        click_at(c.x, c.y);
        click_button(REST);
        pass_using_input();
        EXPECT_EQ(hub_block.dashboard_page, c.page) << c.x << ", " << c.y;
    }
    EXPECT_EQ(hub_block.dashboard_page, 0);
}

TEST_F(HubPassTest, SickPlayerHasOnlyButtonFiveAndRestOnTheTopBar) {
    at_turn(13);
    all_menus_usable();
    player_record.sick_turns = 3;
    const size_t mark = dialog_lines().size();
    click_buttons({0, REST});
    pass_using_input();
    const s32 expect[8] = {0, 0, 0, 0, 0, 1, 0, 1};
    for (s32 i = 0; i < 8; i++) EXPECT_EQ(hub_block.hub_menu_avail[0][i], expect[i]) << i;
    EXPECT_EQ(count(lines_from(mark), "sound 502 1"), 1u);
    EXPECT_EQ(hub_block.calendar_turn, 14);
}

TEST_F(HubPassTest, MarketAndCompanionOncePerTurnWithoutUsingIt) {
    at_turn(13);
    hub_block.hub_menu_avail[0][6] = 1;
    // Market, companion, then both buttons again (now closed), back, rest.
    click_buttons({6, then_transition(5), 6, then_transition(6), 6, 5, 6, BACK, REST});
    pass_using_input();
    EXPECT_EQ(calls, (std::vector<std::string>{"market", "companion"}));
    EXPECT_EQ(hub_block.calendar_turn, 14);

    // The next turn opens both again.
    calls.clear();
    click_buttons({6, then_transition(5), 6, then_transition(6), REST});
    pass_using_input();
    EXPECT_EQ(calls, (std::vector<std::string>{"market", "companion"}));
    EXPECT_EQ(hub_block.calendar_turn, 15);
}

TEST_F(HubPassTest, MenuUpdateOpensArtsAlwaysAndToolsFromTurn35) {
    manuals_sync_seam = fake_manuals_sync;
    known_add(4, 50);  // an art of list 4: submenu 3 button 2
    known_add(16, 50); // recipes
    known_add(14, 60); // submenu 4 button 5
    known_add(20, 55); // submenu 5 button 5
    for (s32 item : {2210, 2200, 2255, 2231, 2249, 2220}) inv_add(item, 1);
    hub_block.hub_third_avail[3][1] = 1;

    hub_block.calendar_turn = 34;
    hub_block.hub_menu_avail[4][3] = 1; // before 35 nothing is cleared either
    hub_menu_update();
    EXPECT_EQ(hub_block.hub_menu_avail[0][2], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[3][2], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[3][7], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[3][0], 0);
    for (s32 b : {0, 1, 4, 5, 6}) EXPECT_EQ(hub_block.hub_menu_avail[4][b], 0) << b;
    EXPECT_EQ(hub_block.hub_menu_avail[4][3], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[0][3], 0);
    EXPECT_EQ(hub_block.hub_menu_avail[5][5], 0);
    EXPECT_EQ(hub_block.hub_menu_avail[7][1], 0);
    EXPECT_EQ(manuals_syncs, 0);

    hub_block.calendar_turn = 35;
    hub_menu_update();
    for (s32 b : {0, 1, 3, 4, 5, 6}) EXPECT_EQ(hub_block.hub_menu_avail[4][b], 1) << b;
    EXPECT_EQ(hub_block.hub_menu_avail[0][3], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[5][5], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[0][4], 1);
    EXPECT_EQ(hub_block.hub_menu_avail[7][1], 1);
    EXPECT_EQ(manuals_syncs, 1);
}

TEST_F(HubPassTest, ToolButtonsFollowWhatIsOwnedFromTurn35) {
    struct Tool {
        s32 button;
        std::vector<s32> items; // the set that opens the button
        s32 one_missing;        // an item of the set whose loss closes it
    };
    const Tool tools[] = {
        {3, {2219, 2209}, 2219}, // aiming needs both ranges
        {4, {2230, 2240}, 2240}, // catching needs both ranges
        {6, {2250}, 2250},
        {1, {2229}, 2229},
    };
    hub_block.calendar_turn = 60;
    for (const Tool& t : tools) {
        SCOPED_TRACE("button " + std::to_string(t.button));
        for (s32 item : t.items) inv_add(item, 1);
        hub_block.hub_menu_avail[0][3] = 0;
        hub_menu_update();
        EXPECT_EQ(hub_block.hub_menu_avail[4][t.button], 1);
        EXPECT_EQ(hub_block.hub_menu_avail[0][3], 1);
        inv_remove(t.one_missing, 1);
        hub_menu_update();
        EXPECT_EQ(hub_block.hub_menu_avail[4][t.button], 0);
        for (s32 item : t.items) inv_remove(item, 1);
    }
}

TEST_F(HubPassTest, HubEndsTheTurnItselfBelowTurnTenOrWhenNoHandlerDid) {
    struct Case {
        s32 turn, advanced;
    };
    for (const Case& c : {Case{5, 2}, Case{8, 2}, Case{10, 1}, Case{40, 1}, Case{120, 1}}) {
        SCOPED_TRACE("turn " + std::to_string(c.turn));
        at_turn(c.turn);
        hub_block.turn_events_after[c.turn] = SLOT_LAUNCHER;
        world_state.field_active = 1; // the launcher's episode resumes: no dashboard
        hub_pass();
        EXPECT_EQ(hub_block.calendar_turn, c.turn + c.advanced);
    }
}

TEST_F(HubPassTest, ALoadDuringThePassDropsTheRestOfTheTurn) {
    struct Case {
        const char* name;
        s32 turn;
        s32 before_slot; // -1: none
        s32 after_slot;
        bool open_world_loads;
    };
    const Case cases[] = {
        {"before-turn event loads", 13, SLOT_LOADER, SLOT_AFTER, false},
        {"route start loads", 235, -1, SLOT_AFTER, true},
    };
    title_nine_met();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (s32& t : player_record.titles)
            if (t == 18 || t == 41) t = -1;
        at_turn(c.turn);
        hub_block.turn_events_before[c.turn] = c.before_slot;
        hub_block.turn_events_after[c.turn] = c.after_slot;
        player_record.story_flags[STORY_ROUTE] = 2;
        open_world_start_seam = c.open_world_loads ? loading_open_world : fake_open_world;
        hub_restart = -1;
        calls.clear();
        char name[16];
        save_image_name(3, name);

        hub_pass(); // no input queued: a dashboard loop would spin until the harness budget

        EXPECT_EQ(std::count(calls.begin(), calls.end(), "after"), 0);
        EXPECT_FALSE(title_nine_awarded());
        EXPECT_EQ(hub_block.calendar_turn, c.turn);
        EXPECT_EQ(hub_restart, 1);

        // The loaded turn starts without an autosave.
        std::filesystem::remove(name);
        open_world_start_seam = fake_open_world;
        hub_block.turn_events_before[c.turn] = -1;
        hub_block.turn_events_after[c.turn] = -1;
        world_state.field_active = 1;
        hub_pass();
        EXPECT_FALSE(save_file_exists(3));
        world_state.field_active = 0;
    }
}

TEST_F(HubPassTest, AfterTurnLoadOfAnotherTurnSkipsTitleAndEndOfTurn) {
    title_nine_met();
    at_turn(13);
    hub_block.turn_events_after[13] = SLOT_LOADER;
    // The after-turn handler's load of another turn sets the restart flag, as loading does.
    calendar_event_unregister(SLOT_LOADER);
    ASSERT_EQ(calendar_event_register(
                  SLOT_LOADER,
                  [] {
                      save_load_count++;
                      hub_restart = 1;
                  },
                  "hub test"),
              0);
    click_buttons({REST});
    pass_using_input();
    EXPECT_FALSE(title_nine_awarded());
    EXPECT_EQ(hub_block.calendar_turn, 13);
}

TEST_F(HubPassTest, OpenWorldStartsByRouteAndReadsNoScheduleBeyondItsEnd) {
    struct Case {
        s32 turn, route;
        const char* started; // nullptr: none
    };
    const Case cases[] = {
        {235, 1, "open world 1"}, {240, 2, "open world 2"}, {249, 3, "open world 3"},
        {235, 0, nullptr},        {251, 4, nullptr},        {300, -1, nullptr},
    };
    // Entries just past each schedule's end name a handler: reading them would run it.
    hub_block.turn_event_notice[1] = SLOT_TRAP; // turn_events_after[251]
    for (const Case& c : cases) {
        SCOPED_TRACE("turn " + std::to_string(c.turn) + " route " + std::to_string(c.route));
        at_turn(c.turn);
        player_record.story_flags[STORY_ROUTE] = c.route;
        calls.clear();
        click_buttons({REST}); // the seam returns, so the dashboard follows
        pass_using_input();
        const std::vector<std::string> expect =
            c.started ? std::vector<std::string>{c.started} : std::vector<std::string>{};
        EXPECT_EQ(calls, expect);
        EXPECT_EQ(hub_block.calendar_turn, c.turn + 1);
    }
}

TEST_F(HubPassTest, NegativeTurnReadsNoScheduleBeforeItsStart) {
    hub_block.turn_events_before[249] = SLOT_TRAP; // turn_events_after[-1]
    hub_block.hub_third_avail[7][1] = SLOT_TRAP;   // turn_events_before[-1]
    hub_block.calendar_turn = -1;
    click_buttons({REST});
    pass_using_input();
    EXPECT_TRUE(calls.empty());
}

TEST_F(HubPassTest, DamagedMenuStateFallsBackToTheTopBar) {
    at_turn(13);
    hub_block.turn_events_before[13] = SLOT_MENU_DAMAGE;
    hub_block.turn_event_notice[13] = 0;
    dashboard_input();
    click_at(300, 50); // the page area
    click_button(REST);
    pass_using_input(); // without the fallback the rest click never reaches a usable rest button
    EXPECT_EQ(hub_block.calendar_turn, 14);
    EXPECT_EQ(hub_block.dashboard_page, 0);

    // A place command with a damaged pick falls back instead of indexing past the places.
    hub_block.hub_menu_pick = 9;
    hub_block.hub_third_pick = 40;
    EXPECT_EQ(hub_dispatch(HUB_CMD_PLACE), 1);
    EXPECT_EQ(hub_block.hub_command, -1);
}

TEST_F(HubPassTest, CancelledLoadMenuReturnsToTheTopBar) {
    at_turn(13);
    click_buttons({5, 2}); // submenu 6, load
    click_at(300, 300, 2); // right click inside the list's panel: cancel
    click_button(REST);    // a top bar again: rest
    pass_using_input();
    EXPECT_EQ(hub_block.calendar_turn, 14);
    EXPECT_EQ(hub_restart, -1);
}

TEST_F(HubPassTest, DefaultSeamsRunTheActivitiesAndSayTheUnbuiltGamesAreNotAvailable) {
    hub_seams_reset();
    at_turn(13);
    all_menus_usable();
    const size_t mark = dialog_lines().size();
    click_buttons({0, 0}); // activity 0
    pass_using_input();
    EXPECT_EQ(count(lines_from(mark), "hub_say_lines 283 242 227 0"), 1u);
    EXPECT_EQ(hub_block.calendar_turn, 14);

    // The aiming command runs; the game itself lives in a layer that this test does not start.
    const size_t aim = dialog_lines().size();
    EXPECT_EQ(hub_dispatch(HUB_CMD_AIM), 1);
    EXPECT_EQ(count(lines_from(aim), "say_center Aiming game: not available yet"), 1u);

    // Without manuals the manuals' copy says nothing.
    const size_t quiet = dialog_lines().size();
    manuals_sync_seam();
    EXPECT_EQ(dialog_lines().size(), quiet);
}

TEST_F(HubPassTest, SeamResetPutsTheRealRoutinesAndTheUnavailableLinesBack) {
    activity_run_seam = fake_activity;
    hub_cmd_recipes_seam = hub_cmd_popup_seam = hub_cmd_aim_seam = fake_market;
    hub_cmd_catch_seam = hub_cmd_light_ring_seam = fake_market;
    info_screen_seam = fake_info;
    market_visit_seam = companion_visit_screen_seam = meal_screen_seam = fake_meal;
    manuals_sync_seam = fake_manuals_sync;
    open_world_start_seam = fake_open_world;
    game_aim_seam = [](s32, s32, s32, s32, s32, s32) { note("aim"); };
    game_bait_catch_seam = [](s32) { note("catch"); };
    game_popup_targets_seam = [](s32) { note("popup"); };
    game_light_ring_seam = [](s32, s32, s32, s32, s32, s32, s32, s32) { note("ring"); };
    recipe_screen_seam = [] { return 7; };
    hub_seams_reset();
    EXPECT_EQ(activity_run_seam, &activity_run);
    EXPECT_EQ(hub_cmd_recipes_seam, &hub_cmd_recipes);
    EXPECT_EQ(hub_cmd_popup_seam, &hub_cmd_popup);
    EXPECT_EQ(hub_cmd_aim_seam, &hub_cmd_aim);
    EXPECT_EQ(hub_cmd_catch_seam, &hub_cmd_catch);
    EXPECT_EQ(hub_cmd_light_ring_seam, &hub_cmd_light_ring);
    EXPECT_EQ(info_screen_seam, &info_screen);
    EXPECT_EQ(market_visit_seam, &market_visit);
    EXPECT_EQ(companion_visit_screen_seam, &companion_visit_screen);
    EXPECT_EQ(meal_screen_seam, &meal_screen);
    EXPECT_EQ(manuals_sync_seam, &manuals_sync);
    EXPECT_EQ(open_world_start_seam, &open_world_start);
    // The games of the layers above are back to the line that says they are not there yet.
    const size_t mark = dialog_lines().size();
    game_aim_seam(0, 0, 0, 0, 0, 0);
    game_bait_catch_seam(0);
    game_popup_targets_seam(0);
    game_light_ring_seam(0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(recipe_screen_seam(), -1);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(lines_from(mark), (std::vector<std::string>{
                                    "say_center Aiming game: not available yet",
                                    "say_center Catch game: not available yet",
                                    "say_center Pop-up game: not available yet",
                                    "say_center Light-ring game: not available yet",
                                    "say_center Recipe screen: not available yet",
                                }));
}

TEST_F(HubPassTest, LoadFromTheHubMenuEndsThePassAndTheNextStartsWithoutAutosave) {
    title_nine_met();
    at_turn(13);
    hub_block.turn_events_after[13] = SLOT_AFTER;
    ASSERT_EQ(save_game(2), 1);
    char name[16];
    save_image_name(3, name);
    std::filesystem::remove(name);
    const s32 loads = save_load_count;

    click_buttons({5, 2});            // submenu 6, load
    click_at(300, slot_row_y(2) + 8); // the row of slot 2
    click_at(398, 331);               // confirm
    pass_using_input();

    EXPECT_EQ(save_load_count, loads + 1);
    EXPECT_EQ(hub_restart, 1);
    EXPECT_TRUE(calls.empty()) << "no after-turn event";
    EXPECT_FALSE(title_nine_awarded());
    EXPECT_EQ(hub_block.calendar_turn, 13);

    hub_block.turn_events_after[13] = -1;
    click_buttons({REST});
    pass_using_input();
    EXPECT_FALSE(save_file_exists(3));
    EXPECT_EQ(hub_block.calendar_turn, 14);
}

TEST_F(HubPassTest, QuitCommandEndsTheGameThread) {
    at_turn(13);
    click_buttons({5, 4});
    EXPECT_THROW(hub_pass(), PlatUnwind);
}
