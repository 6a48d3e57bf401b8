// The player's own script, the pose loops of posed services, the idle loops of decorations, and
// the doors with their map-to-area table: the scripts' paths as tables of cases (state deltas,
// transcripts and the fakes' calls), the closing click of the character screen on real field
// frames, and a walk through a door and back on the real field loop.
#include "scripts/home/player.h"

#include "data/timetables.h"
#include "data/world_population.h"
#include "engine/shell.h"
#include "engine/world/creators.h"
#include "engine/world/events.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub_seams.h"
#include "game/info_screen.h"
#include "game/player.h"
#include "game/save.h"
#include "game/world_rows.h"
#include "platform/platform.h"
#include "scripts/home/portals.h"
#include "scripts/home/pose_families.h"
#include "scripts/script_seams.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"
#include "tools/placeholder_maps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PX = SH_MAP_W / 2; // the player's place in the harness
constexpr s32 PY = SH_MAP_H / 2;

// What the character screen did before it closed, for the fake that stands in for it: the save
// button, or the slot + 1 of a load it carried out.
s32 screen_calls = 0;
s32 screen_sets_save = 0;
s32 screen_sets_load = 0;
void fake_screen(s32 from_hub) {
    EXPECT_EQ(from_hub, 0);
    ++screen_calls;
    if (screen_sets_save != 0) info_save_request = 1;
    if (screen_sets_load != 0) info_load_slot = screen_sets_load;
    // Closed by a click that is still in the input words.
    mouse_buttons = 1;
    click_kind = 1;
}

class HomePlayerScript : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        attr_set(0, ATTR_EVENT, PLAYER_SCRIPT_SLOT);
        attr_set(0, ATTR_CLICK, 1);
        screen_calls = 0;
        screen_sets_save = 0;
        screen_sets_load = 0;
    }
    // A left click at screen point (x, y) for the next field frame; on the player's own figure.
    static void click_at(s32 x, s32 y) {
        click_kind = 1;
        click_x = x;
        click_y = y;
    }
    static void click_player() {
        click_at(PX - world_state.camera_x, PY - 20 - world_state.camera_y);
    }
};

TEST_F(HomePlayerScript, PathsByTriggerAndTheScreensRequests) {
    struct Case {
        const char* what;
        s32 trigger;
        s32 save_before, load_before; // requests already standing when the script runs
        s32 screen_save, screen_load; // what the screen (on a click) asks for
        s32 save_result;
        Lines calls;
        Lines lines;
    };
    const Case cases[] = {
        {"a click, screen closed", TRIG_CLICK, 0, 0, 0, 0, 1, {}, {}},
        {"a click, the save button", TRIG_CLICK, 0, 0, 1, 0, 1, {"save 1"}, {"log 332"}},
        {"a click, a load picked", TRIG_CLICK, 0, 0, 0, 3, 1, {}, {}},
        {"a click, the save failed", TRIG_CLICK, 0, 0, 1, 0, 0, {"save 1"}, {}},
        // A save asked for while posed is written at the script's next run, on any trigger.
        {"a timer run with a save waiting", TRIG_TIMER, 1, 0, 0, 0, 1, {"save 1"}, {"log 332"}},
        {"a timer run, nothing waiting", TRIG_TIMER, 0, 2, 0, 0, 1, {}, {}},
    };
    info_screen_seam = fake_screen;
    for (const Case& c : cases) {
        sh_clear_calls();
        sh_clear_lines();
        info_save_request = c.save_before;
        info_load_slot = c.load_before;
        screen_sets_save = c.screen_save;
        screen_sets_load = c.screen_load;
        sh_save_result(c.save_result);
        mouse_buttons = 2;
        click_kind = 1;
        screen_calls = 0;
        sh_fire(0, c.trigger);
        EXPECT_EQ(screen_calls, c.trigger == TRIG_CLICK ? 1 : 0) << c.what;
        EXPECT_EQ(sh_calls(), c.calls) << c.what;
        EXPECT_EQ(sh_lines(), c.lines) << c.what;
        EXPECT_EQ(info_save_request, 0) << c.what;
        EXPECT_EQ(info_load_slot, 0) << c.what;
        EXPECT_EQ(mouse_buttons.peek(), 0u) << c.what;
        EXPECT_EQ(click_kind.peek(), 0u) << c.what;
    }
}

TEST_F(HomePlayerScript, TheSaveButtonWritesSlotOne) {
    script_save_seam = save_game;
    info_screen_seam = fake_screen;
    screen_sets_save = 1;
    player_record.area = 7;
    world_state.hour = 15;
    sh_fire(0, TRIG_CLICK);
    char name[16];
    save_image_name(PLAYER_SAVE_SLOT, name);
    EXPECT_TRUE(std::filesystem::exists(name));
    EXPECT_EQ(save_index[PLAYER_SAVE_SLOT].used, 1);
    EXPECT_EQ(save_index[PLAYER_SAVE_SLOT].area, 7);
    EXPECT_EQ(save_index[PLAYER_SAVE_SLOT].hour, 15);
    EXPECT_EQ(save_index[0].used, 0);
    EXPECT_EQ(sh_lines(), Lines{"log 332"});
}

// The road of a click on the player's own figure on real field frames: the character screen
// opens; it closes on a click that lies over a resident; the next frame must not take that click
// for a click on the resident.
TEST_F(HomePlayerScript, TheClickThatClosesTheScreenDoesNotReachTheResidentUnderIt) {
    s32 hits = 0;
    const s32 resident = sh_script([&] { ++hits; });
    sh_object(90,
              {.x = PX + 100, .y = PY, .frame = SH_FIGURE_FIRST, .slot = resident, .click = true});
    const s32 resident_x = PX + 100 - world_state.camera_x;
    const s32 resident_y = PY - SH_FIGURE_H / 2 - world_state.camera_y;
    sh_screens_leave_click(resident_x, resident_y);

    click_player();
    sh_field_frames(1);
    EXPECT_EQ(sh_calls(), Lines{"info_screen 0"});
    sh_field_frames(2);
    EXPECT_EQ(hits, 0) << "the closing click reached the resident";

    click_at(resident_x, resident_y); // the same point clicked on purpose does reach it
    sh_field_frames(1);
    EXPECT_EQ(hits, 1);
}

// The same road with the real character screen and the real save: its save button ends the
// screen, slot 1 is written, and the click on the button does not reach the resident that stands
// under the button on the map.
TEST_F(HomePlayerScript, TheRealScreensSaveButtonSavesAndItsClickStaysOffTheMap) {
    info_screen_seam = info_screen;
    script_save_seam = save_game;
    constexpr s32 SAVE_X = 475, SAVE_Y = 448; // the screen's save button
    s32 hits = 0;
    const s32 resident = sh_script([&] { ++hits; });
    sh_object(90, {.x = world_state.camera_x + SAVE_X,
                   .y = world_state.camera_y + SAVE_Y + SH_FIGURE_H / 2,
                   .frame = SH_FIGURE_FIRST,
                   .slot = resident,
                   .click = true});

    click_player();
    harness_click(SAVE_X, SAVE_Y, 1, at_present(harness_presents() + 4));
    sh_field_frames(1);
    EXPECT_EQ(save_index[PLAYER_SAVE_SLOT].used, 1);
    EXPECT_EQ(sh_lines(), Lines{"log 332"});
    EXPECT_EQ(info_save_request, 0);
    sh_field_frames(2);
    EXPECT_EQ(hits, 0) << "the click on the save button reached the resident";

    click_at(SAVE_X, SAVE_Y); // the same point clicked on the map does reach it
    sh_field_frames(1);
    EXPECT_EQ(hits, 1);
}

// A click on the posed player steps the pose and opens the screen; a save asked for there waits
// until the service ends and the player's own script runs again.
TEST_F(HomePlayerScript, ASaveAskedForWhilePosedIsWrittenAfterTheService) {
    info_screen_seam = fake_screen;
    screen_sets_save = 1;
    pose_enter({.frame = 2648, .slot = POSE_SLOT_BATH});
    sh_fire(0, TRIG_CLICK);
    EXPECT_EQ(obj_get_frame(0), 2649);
    EXPECT_EQ(screen_calls, 1);
    EXPECT_EQ(info_save_request, 1); // the pose loop leaves it standing
    EXPECT_TRUE(sh_calls().empty());

    pose_leave({.frame = 418});
    screen_sets_save = 0;
    sh_fire(0, TRIG_CLICK);
    EXPECT_EQ(sh_calls(), Lines{"save 1"});
    EXPECT_EQ(sh_lines(), Lines{"log 332"});
    EXPECT_EQ(info_save_request, 0);
}

// ---- Pose loops --------------------------------------------------------------------------------

class HomePoseFamilies : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
        for (s32 dish : DISHES) sh_object(dish, {.x = PX + 200, .y = PY});
    }
    static constexpr s32 DISHES[] = {168, 169, 179, 180};
};

TEST_F(HomePoseFamilies, EachSlotStepsWrapsSwitchesAndOpensTheScreen) {
    constexpr s32 NONE = -1;
    struct Case {
        s32 slot;
        s32 frame;
        s32 trigger;
        s32 next;
        s32 timer;
        bool screen;
        s32 dish = NONE; // the dish switched at the new frame
        s32 dish_active = 0;
    };
    const Case cases[] = {
        {41, 2648, TRIG_TIMER, 2649, 7, false},
        {41, 2674, TRIG_TIMER, 2648, 20, false},
        {41, 2660, TRIG_CLICK, 2661, 7, true},
        {46, 2979, TRIG_TIMER, 2980, 7, false},
        {46, 2980, TRIG_CLICK, 2966, 50, false}, // lying down: no screen
        {48, 2922, TRIG_TIMER, 2923, 7, false},
        {48, 2923, TRIG_TIMER, 2900, 100, false},
        {48, 2910, TRIG_CLICK, 2911, 7, true},
        {74, 2008, TRIG_TIMER, 2009, 7, false},
        {74, 2009, TRIG_CLICK, 2000, 10, true},
        {76, 31070, TRIG_TIMER, 31071, 7, false, 168, 0},
        {76, 31083, TRIG_TIMER, 31084, 7, false, 168, 1},
        {76, 31084, TRIG_TIMER, 31085, 7, false, 169, 0},
        {76, 31088, TRIG_CLICK, 31089, 7, true, 169, 1},
        {76, 31089, TRIG_TIMER, 31070, 10, false},
        {86, 31515, TRIG_TIMER, 31516, 7, false, 179, 0},
        {86, 31527, TRIG_TIMER, 31528, 7, false, 179, 1},
        {86, 31529, TRIG_CLICK, 31530, 7, true, 180, 0},
        {86, 31532, TRIG_TIMER, 31533, 7, false, 180, 1},
        {86, 31533, TRIG_TIMER, 31514, 10, false},
        {88, 31639, TRIG_TIMER, 31641, 7, false},
        {88, 31641, TRIG_TIMER, 31601, 10, false},
        {88, 31601, TRIG_CLICK, 31603, 7, true},
    };
    for (const Case& c : cases) {
        const std::string what =
            "slot " + std::to_string(c.slot) + " at " + std::to_string(c.frame);
        sh_clear_calls();
        for (s32 dish : DISHES) attr_set(dish, ATTR_ACTIVE, dish == c.dish ? 1 - c.dish_active : 1);
        pose_enter({.frame = c.frame, .slot = c.slot});
        attr_set(0, ATTR_TIMER, 0);
        sh_fire(0, c.trigger);
        EXPECT_EQ(obj_get_frame(0), c.next) << what;
        EXPECT_EQ(attr_get(0, ATTR_TIMER), c.timer) << what;
        EXPECT_EQ(sh_calls(), c.screen ? Lines{"info_screen 0"} : Lines{}) << what;
        for (s32 dish : DISHES)
            EXPECT_EQ(attr_get(dish, ATTR_ACTIVE), dish == c.dish ? c.dish_active : 1)
                << what << " dish " << dish;
    }
}

// On the field the player's timer runs the pose every 7 frames, and the closing click of the
// screen it opens does not reach the map.
TEST_F(HomePoseFamilies, TheBathRunsOnThePlayersTimer) {
    pose_enter({.frame = 2672, .slot = POSE_SLOT_BATH});
    sh_frames(7 * 2);
    EXPECT_EQ(obj_get_frame(0), 2674);
    sh_frames(7);
    EXPECT_EQ(obj_get_frame(0), 2648);
    EXPECT_EQ(attr_get(0, ATTR_TIMER), 20); // the pause
    sh_frames(20);
    EXPECT_EQ(obj_get_frame(0), 2649);

    sh_screens_leave_click(100, 100);
    sh_fire(0, TRIG_CLICK);
    EXPECT_EQ(sh_calls(), Lines{"info_screen 0"});
    EXPECT_EQ(mouse_buttons.peek(), 0u);
    EXPECT_EQ(click_kind.peek(), 0u);
}

// ---- Idle loops --------------------------------------------------------------------------------

class HomeIdleFamilies : public ScriptTest {
  protected:
    void SetUp() override {
        ScriptTest::SetUp();
        scripts_register_all();
    }
};

TEST_F(HomeIdleFamilies, EachSlotStepsAndWrapsOnItsTimer) {
    constexpr s32 NO_PAUSE = -1;
    struct Case {
        s32 slot;
        s32 first, last, step, rearm, pause;
    };
    const Case cases[] = {
        {14, 2700, 2742, 2, 8, 10},         {44, 20000, 20006, 1, 8, NO_PAUSE},
        {49, 30144, 30182, 2, 8, 20},       {53, 20023, 20029, 1, 8, NO_PAUSE},
        {54, 20030, 20036, 1, 8, NO_PAUSE}, {55, 20037, 20043, 1, 8, NO_PAUSE},
        {57, 1314, 1318, 1, 5, NO_PAUSE},   {59, 1331, 1333, 1, 10, NO_PAUSE},
        {66, 1319, 1321, 1, 10, NO_PAUSE},  {67, 1322, 1324, 1, 10, NO_PAUSE},
        {68, 1325, 1330, 1, 10, NO_PAUSE},  {69, 1334, 1336, 1, 10, NO_PAUSE},
        {70, 1337, 1339, 1, 10, NO_PAUSE},  {71, 1340, 1342, 1, 10, NO_PAUSE},
        {72, 1343, 1345, 1, 10, NO_PAUSE},  {83, 1351, 1354, 1, 10, NO_PAUSE},
    };
    constexpr s32 DECOR = 120;
    for (const Case& c : cases) {
        const std::string what = "slot " + std::to_string(c.slot);
        sh_object(DECOR, {.frame = c.first, .slot = c.slot});
        sh_fire(DECOR, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(DECOR), c.first + c.step) << what;
        EXPECT_EQ(attr_get(DECOR, ATTR_TIMER), c.rearm) << what;

        obj_set_frame(DECOR, c.last - c.step); // the last frame is shown...
        sh_fire(DECOR, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(DECOR), c.last) << what;
        sh_fire(DECOR, TRIG_TIMER); // ...then the cycle starts again, with its pause
        EXPECT_EQ(obj_get_frame(DECOR), c.first) << what;
        EXPECT_EQ(attr_get(DECOR, ATTR_TIMER), c.pause == NO_PAUSE ? c.rearm : c.pause) << what;

        for (s32 trigger : {TRIG_CLICK, TRIG_STEP, TRIG_TOUCH}) { // not clickable: timer only
            attr_set(DECOR, ATTR_TIMER, 0);
            sh_fire(DECOR, trigger);
            EXPECT_EQ(obj_get_frame(DECOR), c.first) << what << " trigger " << trigger;
            EXPECT_EQ(attr_get(DECOR, ATTR_TIMER), 0) << what << " trigger " << trigger;
        }
    }
}

// The smith's sparks run on from 20007 while shown; the smith puts the frame back itself. Left
// shown, they wrap only at the largest frame an object can hold instead of running out of it.
TEST_F(HomeIdleFamilies, TheSparksRunOnWithoutALastFrame) {
    constexpr s32 SPARKS = 117;
    const s32 frame_max = s32(attr_mask[ATTR_FRAME]);
    struct Case {
        s32 frame, next;
    };
    const Case cases[] = {{20007, 20008}, {20043, 20044}, {31000, 31001}, {frame_max, 20007}};
    for (const Case& c : cases) {
        sh_object(SPARKS, {.frame = c.frame, .slot = 51});
        sh_fire(SPARKS, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(SPARKS), c.next) << c.frame;
        EXPECT_EQ(attr_get(SPARKS, ATTR_TIMER), 8) << c.frame;
    }
}

// On the field, with the player elsewhere: the decorations' timers run on every map.
TEST_F(HomeIdleFamilies, ADecorationAnimatesOnItsTimerWhileThePlayerIsElsewhere) {
    sh_object(14, {.map = SH_MAP + 1, .frame = 2740, .slot = 14, .timer = 8});
    sh_frames(8);
    EXPECT_EQ(obj_get_frame(14), 2742);
    sh_frames(8);
    EXPECT_EQ(obj_get_frame(14), 2700);
    sh_frames(9);
    EXPECT_EQ(obj_get_frame(14), 2700); // the pause of 10 frames
    sh_frames(1);
    EXPECT_EQ(obj_get_frame(14), 2702);
}

TEST(HomeScriptSlots, ThePlayerThePosesAndTheDecorationsOwnTheirSlots) {
    scripts_register_all();
    EXPECT_EQ(object_event_table[0], &object_event_0000);
    EXPECT_STREQ(event_owner(0), HOME_PLAYER_OWNER);
    for (const s32 slot : {41, 46, 48, 74, 76, 86, 88}) {
        EXPECT_STREQ(event_owner(slot), HOME_POSE_FAMILIES_OWNER) << slot;
        EXPECT_NE(pose_family_loop(slot), nullptr) << slot;
    }
    for (const s32 slot : {14, 44, 49, 51, 53, 54, 55, 57, 59, 66, 67, 68, 69, 70, 71, 72, 83}) {
        EXPECT_STREQ(event_owner(slot), HOME_POSE_FAMILIES_OWNER) << slot;
        EXPECT_NE(idle_family_cycle(slot), nullptr) << slot;
    }
    EXPECT_EQ(pose_family_rows().size(), 7u);
    EXPECT_EQ(idle_family_rows().size(), 17u);
    EXPECT_EQ(pose_family_loop(14), nullptr);
    EXPECT_EQ(idle_family_cycle(41), nullptr);
}

// ---- Doors -------------------------------------------------------------------------------------

TEST(HomeMapAreas, EveryArrivalMapOfTheTableAndMapsWithout) {
    const s32 cases[][2] = {
        {10, 1},   {60, 2},   {94, 3},   {200, 4},  {240, 5},  {63, 6},  {40, 7},
        {186, 8},  {100, 9},  {130, 10}, {71, 11},  {72, 12},  {80, 13}, {102, 14},
        {93, 15},  {77, 16},  {164, 17}, {166, 18}, {89, 19},  {9, 20},  {73, 21},
        {140, 22}, {252, 23}, {74, 24},  {251, 25}, {142, 26}, {11, -1}, {42, -1},
        {41, -1},  {1, -1},   {0, -1},   {255, -1}, {256, -1}, {-1, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(portal_area_for_map(c[0]), c[1]) << "map " << c[0];
}

// A walk onto the door of map 10 to map 14 and back through its partner, on the real field loop
// with the placeholder maps and the population's own two doors.
class HomePortalRoad : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start_placeholder_world();
        dialog_transcript_mode();
        for (size_t i = 0; i < world_population_home_count; ++i) {
            const WorldRow& r = world_population_home[i];
            if (r.obj == DOOR_OUT || r.obj == DOOR_BACK) world_rows_run(&r, 1);
        }
        make_player(10, START_X, START_Y, PLAYER_SCRIPT_SLOT, 0);
        world_place_player(10, START_X, START_Y);
        player_record.area = 7;
        player_record.music_id = -1;
        // Stops the loop once the player stands on `watched_map`.
        const s32 watcher = world_script([this] {
            attr_set(WATCHER, ATTR_TIMER, 1);
            if (world_state.current_map == watched_map) world_state.field_active = 0;
        });
        world_place_object(WATCHER, 10, 0, 0, 0, watcher, 0);
        world_arm_timer(WATCHER, 1, true);
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    Lines road_lines() const {
        Lines out;
        for (const std::string& l : dialog_lines())
            if (l.starts_with("change_map") || l.starts_with("music")) out.push_back(l);
        return out;
    }
    static constexpr s32 DOOR_OUT = 28, DOOR_BACK = 29; // map 10 <-> map 14
    static constexpr s32 START_X = 5225, START_Y = 1600;
    static constexpr s32 WATCHER = 4000;
    s32 watched_map = 14;
    HarnessTempDir dir;
};

TEST_F(HomePortalRoad, ThroughTheDoorAndBack) {
    map_music[14] = 10050;
    map_music[10] = 10050; // the same track: coming back keeps it playing
    const s32 out_x = attr_get(DOOR_OUT, ATTR_X), out_y = attr_get(DOOR_OUT, ATTR_Y);
    ASSERT_EQ(attr_get(DOOR_OUT, ATTR_DEST_MAP), 14);

    world_hold_right_toward(out_x, out_y, 200);
    WorldRun run = world_run_field(400);
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_EQ(world_state.current_map, 14);
    EXPECT_EQ(attr_get(0, ATTR_MAP), 14);
    EXPECT_NEAR(attr_get(0, ATTR_X), attr_get(DOOR_OUT, ATTR_VAR_A), 12);
    EXPECT_NEAR(attr_get(0, ATTR_Y), attr_get(DOOR_OUT, ATTR_VAR_B), 12);
    EXPECT_EQ(player_record.area, 7); // map 14 has no area of its own
    EXPECT_EQ(player_record.music_id, 10050);
    EXPECT_EQ(world_state.player_sprite_set, 0u);

    watched_map = 10;
    world_hold_right_toward(attr_get(DOOR_BACK, ATTR_X), attr_get(DOOR_BACK, ATTR_Y), 200);
    run = world_run_field(400);
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_EQ(world_state.current_map, 10);
    EXPECT_NEAR(attr_get(0, ATTR_X), attr_get(DOOR_BACK, ATTR_VAR_A), 12);
    EXPECT_NEAR(attr_get(0, ATTR_Y), attr_get(DOOR_BACK, ATTR_VAR_B), 12);
    EXPECT_EQ(player_record.area, 1);
    EXPECT_EQ(road_lines(),
              (Lines{"change_map 14 " + std::to_string(attr_get(DOOR_OUT, ATTR_VAR_A)) + " " +
                         std::to_string(attr_get(DOOR_OUT, ATTR_VAR_B)),
                     "music 10050 0",
                     "change_map 10 " + std::to_string(attr_get(DOOR_BACK, ATTR_VAR_A)) + " " +
                         std::to_string(attr_get(DOOR_BACK, ATTR_VAR_B))}));
}

} // namespace
