// The map-episode launchers, one table of cases over the fourteen slots: the episode is played by
// a fake scene that leaves the outcome (or a load inside the episode), and each case checks the
// texts shown, the episode started, the end of turn (turns used, turn_done, one hub_end_turn), the
// hand-back to the hub with its slot-2 save, and the state the launcher changed.
#include "calendar/frame.h"
#include "calendar/launchers.h"
#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/hub.h"
#include "game/inventory.h"
#include "game/open_world.h"
#include "game/player.h"
#include "game/save.h"
#include "game/scenes.h"
#include "game/state.h"
#include "tests/calendar_fixture.h"
#include "tests/text_runs.h"

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <vector>

using namespace cal_literals;

namespace {

// What the fake episode does and what it saw.
struct Episode {
    s32 flag = -1, value = 0; // the outcome it leaves
    bool load = false;        // a game is loaded inside it instead
    s32 runs = 0;
    LauncherScene scene = nullptr;
    s32 field_active_at_start = -1;
    s32 mouse_at_start = -1;
    s32 party_at_start[PLAYER_PARTY] = {};
    // The open world (slot 198 on route 3).
    s32 open_world_route = -1;
    bool open_world_load = false;
};
Episode episode;

void fake_scene(LauncherScene scene) {
    episode.runs++;
    episode.scene = scene;
    episode.field_active_at_start = world_state.field_active;
    episode.mouse_at_start = s32(mouse_buttons);
    for (s32 i = 0; i < PLAYER_PARTY; ++i) episode.party_at_start[i] = player_record.party[i];
    if (episode.load) {
        hub_restart = 1;
        return;
    }
    if (episode.flag >= 0) player_record.story_flags[episode.flag] = episode.value;
    world_state.field_active = 0;
}

void fake_open_world(s32 route) {
    episode.open_world_route = route;
    if (episode.open_world_load) {
        hub_restart = 1;
        player_record.area = 17;
    }
}

bool slot2_saved() {
    char name[16];
    save_image_name(2, name);
    return std::filesystem::exists(name);
}

s32& flag(s32 n) {
    return player_record.story_flags[n];
}
s32& affection(s32 p) {
    return player_record.affection[p];
}
EventEntry& entry(const CalEntry& e) {
    return *cal_entry(e);
}

constexpr s32 TURNS_BEFORE = 7; // turns_consumed before the handler: "none stored" keeps it
constexpr s32 MOOD_BEFORE = 2;
constexpr s32 FAME_BEFORE = 100;
constexpr s32 CHIVALRY_BEFORE = 50;
constexpr s32 AFFECTION_BEFORE = 50;
constexpr s32 AREA_BEFORE = 9;

struct Case {
    const char* name;
    s32 slot;
    s32 turn;
    void (*setup)() = nullptr;
    std::vector<s32> answers{};
    std::vector<s32> battles{};
    std::vector<s32> draws{};
    bool resumed = false;
    s32 flag = -1, value = 0; // the episode's outcome
    bool load = false;
    bool open_world_load = false;
    LauncherScene scene = nullptr; // the episode expected; nullptr: none starts
    std::vector<s32> texts{};
    s32 turns_left = TURNS_BEFORE; // turns_consumed when the launcher does not end the turn
    void (*check)() = nullptr;
};

class LauncherTest : public CalendarHandlerTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 600'000; // a picker left waiting for clicks fails instead of hanging
        return c;
    }
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        scene_before = launcher_scene_seam;
        open_world_before = launcher_open_world_seam;
        launcher_scene_seam = fake_scene;
        launcher_open_world_seam = fake_open_world;
        for (const StateBlock& b : state_blocks) {
            const u8* p = static_cast<const u8*>(b.data);
            new_game.emplace_back(p, p + b.size);
        }
    }
    void TearDown() override {
        launcher_scene_seam = scene_before;
        launcher_open_world_seam = open_world_before;
        CalendarHandlerTest::TearDown();
    }

    void (*scene_before)(LauncherScene) = nullptr;
    void (*open_world_before)(s32) = nullptr;

    std::vector<std::vector<u8>> new_game; // every saved record of the new game

    // Each case starts from the new game.
    void prepare(const Case& c) {
        for (size_t i = 0; i < new_game.size(); ++i)
            std::memcpy(state_blocks[i].data, new_game[i].data(), new_game[i].size());
        char name[16];
        save_image_name(2, name);
        std::filesystem::remove(name);
        episode = {};
        episode.flag = c.flag;
        episode.value = c.value;
        episode.load = c.load;
        episode.open_world_load = c.open_world_load;
        hub_restart = -1;
        world_state.field_active = c.resumed ? 1 : 0;
        HubBlock& h = hub_block;
        h.calendar_turn = c.turn;
        h.turns_consumed = TURNS_BEFORE;
        PlayerRecord& p = player_record;
        p.turn_done = 0;
        p.area = AREA_BEFORE;
        p.mood = MOOD_BEFORE;
        p.mood_turns = 0;
        p.fame = FAME_BEFORE;
        p.chivalry = CHIVALRY_BEFORE;
        p.social_aptitude = 50; // no chance bonus on affection gains
        p.sick_turns = 0;
        for (s32 person : {20, 30, 40, 71, 203, 204, 205}) affection(person) = AFFECTION_BEFORE;
        for (s32& a : p.acquaintances) a = -1; // nobody for the companion picker
        for (s32& f : p.story_flags) f = 0;
        if (c.setup) c.setup();
        dialog_answers(c.answers);
        for (s32 b : c.battles) battles({b});
        for (s32 d : c.draws) draws({d});
    }
};

// ---- The table ---------------------------------------------------------------------------------

// Texts of the longer runs, used by several cases.
const std::vector<s32> INTRO_192 = text_runs({13876, -13877, 13860, -13867});
const std::vector<s32> INTRO_190 = text_runs({13801, 13802, -13804, 13805, 13806, 13807});
const std::vector<s32> INTRO_222 = text_runs({59400, -59403, 59404, -59406, 59407, 59410, 59411});
const std::vector<s32> INTRO_044 = text_runs({16200, -16203, 16204, 16205});
const std::vector<s32> INTRO_193 =
    text_runs({59500, 59501, 59505, -59507, 59534, 59508, 59509, 59511, 59512});
const std::vector<s32> INTRO_203 = text_runs({56760, -56764, 56765, 56766});
const std::vector<s32> INTRO_194 = text_runs({59650, 59651, 59652, 59653});
const std::vector<s32> INTRO_198 = text_runs({61930, -61937});
const std::vector<s32> ROUTE_THREE =
    text_runs({62030, 62030, -62033, 62035, -62040, 62042, -62044, 62046, -62048, 62049, -62061,
               62062, -62069, 62070, -62099});

const Case CASES[] = {
    // Slot 221: no outcome; the outro comes before the end of turn.
    {.name = "221",
     .slot = 221,
     .turn = 65,
     .scene = scene_play_221,
     .texts = text_runs({13506, 13507, 13508, -13510, 13511, 59992, 59992, 59993})},
    {.name = "221 resumed",
     .slot = 221,
     .turn = 65,
     .resumed = true,
     .scene = scene_play_221,
     .texts = text_runs({59992, 59992, 59993})},
    {.name = "221 load inside",
     .slot = 221,
     .turn = 65,
     .load = true,
     .scene = scene_play_221,
     .texts = text_runs({13506, 13507, 13508, -13510, 13511})},

    // Slot 192: entered at once, after the test fight, or not at all.
    {.name = "192 direct, success",
     .slot = 192,
     .turn = 75,
     .setup =
         [] {
             affection(205) = 85;
             affection(40) = 75;
             entry(cal_place(0, 0, 3)) = {192, 1};
         },
     .flag = 96,
     .value = 1,
     .scene = scene_play_192,
     .texts =
         text_join({INTRO_192, text_runs({13868, 13869, 14020, 14020, -14022, 14027, -14029})}),
     .check =
         [] {
             for (s32 k : {8, 9, 10}) EXPECT_EQ(cal_is_off(cal_pool_a(k)), 0) << k;
             EXPECT_EQ(flag(76), 1);
             EXPECT_EQ(entry(cal_place(0, 0, 3)).slot, -1);
             EXPECT_EQ(player_record.mood, 0);
             EXPECT_EQ(affection(205), 88);
             EXPECT_EQ(affection(204), AFFECTION_BEFORE - 1);
             EXPECT_EQ(player_record.fame, FAME_BEFORE + 30);
             EXPECT_EQ(album_has(3), 1);
             EXPECT_EQ(title_has(61), 1);
         }},
    {.name = "192 after the fight, success: no title",
     .slot = 192,
     .turn = 75,
     .setup = [] { affection(205) = 70; },
     .battles = {1},
     .flag = 96,
     .value = 1,
     .scene = scene_play_192,
     .texts = text_join(
         {INTRO_192, text_runs({13872, 13873, 13874, 13869, 14020, 14020, -14022, 14027, -14029})}),
     .check =
         [] {
             EXPECT_EQ(flag(76), 0); // person 40 below 70
             EXPECT_EQ(player_record.fame, FAME_BEFORE + 30);
             EXPECT_EQ(album_has(3), 1);
             EXPECT_EQ(title_has(61), 0);
         }},
    {.name = "192 resumed, success: none of the entry's rewards",
     .slot = 192,
     .turn = 75,
     .setup = [] { affection(205) = 85; },
     .resumed = true,
     .flag = 96,
     .value = 1,
     .scene = scene_play_192,
     .texts = text_runs({14020, 14020, -14022, 14027, -14029}),
     .check =
         [] {
             EXPECT_EQ(player_record.mood, 0);
             EXPECT_EQ(affection(205), 88);
             EXPECT_EQ(player_record.fame, FAME_BEFORE);
             EXPECT_EQ(album_has(3), 0);
             EXPECT_EQ(title_has(61), 0);
         }},
    {.name = "192 direct, failure",
     .slot = 192,
     .turn = 75,
     .setup = [] { affection(205) = 90; },
     .flag = 96,
     .value = 2,
     .scene = scene_play_192,
     .texts = text_join({INTRO_192, text_runs({13868, 13869, 14020, 14020, -14026})}),
     .check =
         [] {
             EXPECT_EQ(player_record.mood, MOOD_BEFORE + 1);
             EXPECT_EQ(affection(205), 90);
             EXPECT_EQ(title_has(61), 0);
         }},
    {.name = "192 refused",
     .slot = 192,
     .turn = 75,
     .setup =
         [] {
             affection(205) = 59;
             cal_place_button(2, 0, 1);
         },
     .texts = text_join({INTRO_192, text_runs({13870, 13871})}),
     .check =
         [] {
             EXPECT_EQ(hub_block.turn_events_after[79], 154);
             EXPECT_EQ(cal_place_button_on(2, 0), 0);
         }},
    {.name = "192 test fight lost",
     .slot = 192,
     .turn = 75,
     .setup =
         [] {
             affection(205) = 79;
             cal_place_button(2, 0, 1);
         },
     .battles = {2},
     .texts = text_join({INTRO_192, text_runs({13872, 13873, 13875, 13871})}),
     .check =
         [] {
             EXPECT_EQ(hub_block.turn_events_after[79], 154);
             EXPECT_EQ(cal_place_button_on(2, 0), 0);
         }},
    {.name = "192 load inside",
     .slot = 192,
     .turn = 75,
     .setup = [] { affection(205) = 85; },
     .flag = 96,
     .value = 1,
     .load = true,
     .scene = scene_play_192,
     .texts = text_join({INTRO_192, text_runs({13868, 13869})}),
     .check = [] { EXPECT_EQ(player_record.fame, FAME_BEFORE); }},

    // Slot 190: line 13808 only while both places of set 1 are closed; the places open after.
    {.name = "190 flag 2, both places closed",
     .slot = 190,
     .turn = 85,
     .setup =
         [] {
             cal_place_button(2, 1, 0);
             cal_place_button(3, 1, 0);
             entry(cal_place(0, 0, 0)) = {100, 1};
             entry(cal_place(0, 0, 2)) = {101, 1};
             entry(cal_pool_b(10)) = {102, 1};
             entry(cal_pool_b(2)) = {103, 1};
             entry(cal_place(1, 2, 0)) = {104, 0};
             entry(cal_place(1, 3, 0)) = {105, 0};
         },
     .flag = 98,
     .value = 2,
     .scene = scene_play_190,
     .texts = text_join(
         {INTRO_190, text_runs({13808, 13809, 13810, 13811, -13813, 14504, 14504, -14510})}),
     .check =
         [] {
             EXPECT_EQ(attr_get(1097, ATTR_ACTIVE), 0);
             EXPECT_EQ(cal_is_off(cal_place(0, 0, 0)), 1);
             EXPECT_EQ(cal_is_off(cal_place(0, 0, 2)), 1);
             EXPECT_EQ(cal_is_off(cal_pool_b(10)), 1);
             EXPECT_EQ(entry(cal_pool_b(2)).slot, -1);
             EXPECT_EQ(cal_is_open(cal_place(1, 2, 0)), 1);
             EXPECT_EQ(cal_is_open(cal_place(1, 3, 0)), 1);
             EXPECT_EQ(cal_place_button_on(2, 1), 1);
             EXPECT_EQ(cal_place_button_on(3, 1), 1);
             EXPECT_EQ(player_record.mood, MOOD_BEFORE);
         }},
    {.name = "190 flag 1, one place open",
     .slot = 190,
     .turn = 85,
     .setup =
         [] {
             cal_place_button(2, 1, 1);
             cal_place_button(3, 1, 0);
             entry(cal_place(1, 2, 0)) = {104, 0};
             entry(cal_place(1, 3, 0)) = {105, 0};
         },
     .flag = 98,
     .value = 1,
     .scene = scene_play_190,
     .texts = text_join({INTRO_190, text_runs({13809, 13810, 13811, -13813, 14511, 14511, 14512})}),
     .check =
         [] {
             EXPECT_EQ(cal_is_off(cal_place(1, 2, 0)), 1); // its button was open: untouched
             EXPECT_EQ(cal_is_open(cal_place(1, 3, 0)), 1);
             EXPECT_EQ(player_record.mood, 0);
             EXPECT_EQ(affection(205), AFFECTION_BEFORE + 5);
         }},
    {.name = "190 other outcome: no outro lines",
     .slot = 190,
     .turn = 85,
     .setup = [] { cal_place_button(3, 1, 1); },
     .flag = 98,
     .value = 0,
     .scene = scene_play_190,
     .texts = text_join({INTRO_190, text_runs({13809, 13810, 13811, -13813})}),
     .check = [] { EXPECT_EQ(attr_get(1097, ATTR_ACTIVE), 0); }},

    {.name = "196", .slot = 196, .turn = 95, .scene = scene_play_196, .texts = {61499}},

    // Slot 222 and its outcome routine; pool A 11 opens at the very end unless a game was loaded.
    {.name = "222 friends",
     .slot = 222,
     .turn = 100,
     .setup =
         [] {
             flag(84) = 1;
             flag(82) = 1;
             entry(cal_pool_a(11)) = {150, 0};
         },
     .scene = scene_play_222,
     .texts = text_join({INTRO_222, text_runs({16620, 16620, -16632, 16633, -16641})}),
     .check =
         [] {
             EXPECT_EQ(attr_get(469, ATTR_ACTIVE), 0);
             EXPECT_EQ(album_has(7), 1);
             EXPECT_EQ(affection(205), AFFECTION_BEFORE + 5);
             EXPECT_EQ(cal_is_open(cal_pool_a(11)), 1);
         }},
    {.name = "222 strangers",
     .slot = 222,
     .turn = 100,
     .setup =
         [] {
             entry(cal_pool_a(11)) = {150, 0};
         },
     .scene = scene_play_222,
     .texts = text_join({INTRO_222, text_runs({16620, 16620, -16625, 16642, 16633, -16641})}),
     .check =
         [] {
             EXPECT_EQ(album_has(7), 0);
             EXPECT_EQ(affection(205), AFFECTION_BEFORE);
             EXPECT_EQ(cal_is_off(cal_pool_a(11)), 1);
         }},
    {.name = "222 resumed",
     .slot = 222,
     .turn = 100,
     .setup =
         [] {
             flag(82) = 1;
             entry(cal_pool_a(11)) = {150, 0};
         },
     .resumed = true,
     .scene = scene_play_222,
     .texts = text_runs({16620, 16620, -16625, 16642, 16633, -16641}),
     .check = [] { EXPECT_EQ(cal_is_open(cal_pool_a(11)), 1); }},
    // A loaded game keeps its own pool: the outing of slot 150 is not offered again.
    {.name = "222 load inside leaves pool A 11 alone",
     .slot = 222,
     .turn = 100,
     .setup =
         [] {
             flag(82) = 1;
             entry(cal_pool_a(11)) = {150, 0};
         },
     .load = true,
     .scene = scene_play_222,
     .texts = INTRO_222,
     .check = [] { EXPECT_EQ(cal_is_off(cal_pool_a(11)), 1); }},

    // Slot 044.
    {.name = "044 success",
     .slot = 44,
     .turn = 112,
     .setup = [] { affection(203) = 70; },
     .flag = 88,
     .value = 1,
     .scene = scene_play_044,
     .texts = text_join(
         {INTRO_044, text_runs({16206, 16208, 16209, 14574, 14571, 14571, 14572, 14573, 14575})}),
     .check =
         [] {
             EXPECT_EQ(inv_has_count(1250, 3), 1);
             EXPECT_EQ(inv_has_count(1254, 3), 1);
             EXPECT_EQ(affection(205), AFFECTION_BEFORE + 5);
             EXPECT_EQ(player_record.fame, FAME_BEFORE + 30);
             EXPECT_EQ(album_has(10), 1);
         }},
    {.name = "044 failure",
     .slot = 44,
     .turn = 112,
     .setup = [] { affection(203) = 90; },
     .flag = 88,
     .value = 0,
     .scene = scene_play_044,
     .texts = text_join({INTRO_044, text_runs({16206, 16208, 16209, 14574, 14569, 14569, 14570})}),
     .check = [] { EXPECT_EQ(affection(205), AFFECTION_BEFORE - 5); }},
    {.name = "044 declined",
     .slot = 44,
     .turn = 112,
     .setup =
         [] {
             affection(203) = 69;
             cal_place_button(1, 0, 1);
         },
     .texts = text_join({INTRO_044, text_runs({16207, -16209})}),
     .turns_left = 1,
     .check =
         [] {
             EXPECT_EQ(hub_block.turn_events_after[114], 158);
             EXPECT_EQ(cal_place_button_on(1, 0), 0);
             EXPECT_EQ(inv_has(1250), 0);
         }},

    // Slot 193: resumed, the outcome's first line takes the place of 14540.
    {.name = "193 success",
     .slot = 193,
     .turn = 120,
     .flag = 90,
     .value = 1,
     .scene = scene_play_193,
     .texts = text_join({INTRO_193, text_runs({14540, 14540, 14541, -14547})}),
     .check =
         [] {
             EXPECT_EQ(affection(205), AFFECTION_BEFORE + 10);
             EXPECT_EQ(player_record.fame, FAME_BEFORE + 40);
             EXPECT_EQ(album_has(8), 1);
         }},
    {.name = "193 resumed, success",
     .slot = 193,
     .turn = 120,
     .resumed = true,
     .flag = 90,
     .value = 1,
     .scene = scene_play_193,
     .texts = text_runs({14541, 14541, -14547})},
    {.name = "193 resumed, failure",
     .slot = 193,
     .turn = 120,
     .resumed = true,
     .flag = 90,
     .value = 0,
     .scene = scene_play_193,
     .texts = text_runs({14548, 14548, -14550}),
     .check = [] { EXPECT_EQ(player_record.fame, FAME_BEFORE); }},

    // Slot 203.
    {.name = "203 hurt",
     .slot = 203,
     .turn = 130,
     .setup = [] { affection(71) = 80; },
     .answers = {0},
     .draws = {1},
     .flag = 17,
     .value = 2,
     .scene = scene_play_203,
     .texts = text_join({INTRO_203, text_runs({57006, 57006, 468 + 3})}),
     .check =
         [] {
             EXPECT_EQ(player_record.sick_turns, 3);
             EXPECT_EQ(player_record.condition, 5);
         }},
    {.name = "203 resumed, well",
     .slot = 203,
     .turn = 130,
     .resumed = true,
     .flag = 17,
     .value = 1,
     .scene = scene_play_203,
     .texts = text_runs({57007, 57007}),
     .check = [] { EXPECT_EQ(player_record.sick_turns, 0); }},
    {.name = "203 declined",
     .slot = 203,
     .turn = 130,
     .setup = [] { affection(71) = 99; },
     .answers = {1},
     .texts = text_join({INTRO_203, text_runs({56771})}),
     .turns_left = 1},
    {.name = "203 below 80: nothing at all",
     .slot = 203,
     .turn = 130,
     .setup = [] { affection(71) = 79; }},

    // Slot 194.
    {.name = "194 failure",
     .slot = 194,
     .turn = 135,
     .setup = [] { affection(204) = 70; },
     .answers = {0},
     .flag = 89,
     .value = 0,
     .scene = scene_play_194,
     .texts = text_join({INTRO_194, text_runs({14554, 14561, 14561, 14562})}),
     .check = [] { EXPECT_EQ(affection(204), 65); }},
    {.name = "194 success: no outro lines",
     .slot = 194,
     .turn = 135,
     .setup = [] { affection(204) = 70; },
     .answers = {0},
     .flag = 89,
     .value = 1,
     .scene = scene_play_194,
     .texts = text_join({INTRO_194, text_runs({14554})}),
     .check = [] { EXPECT_EQ(affection(204), 70); }},
    {.name = "194 willing but below 70",
     .slot = 194,
     .turn = 135,
     .setup =
         [] {
             affection(204) = 69;
             cal_place_button(2, 0, 1);
         },
     .answers = {0},
     .texts = text_join({INTRO_194, text_runs({14555})}),
     .check =
         [] {
             EXPECT_EQ(hub_block.turn_events_after[137], 157);
             EXPECT_EQ(cal_place_button_on(2, 0), 0);
         }},
    {.name = "194 declined",
     .slot = 194,
     .turn = 135,
     .setup = [] { affection(204) = 90; },
     .answers = {1},
     .texts = INTRO_194,
     .check = [] { EXPECT_EQ(hub_block.turn_events_after[137], 157); }},

    // Slot 191 and its outcome routine.
    {.name = "191 outcome 6, a reader",
     .slot = 191,
     .turn = 155,
     .setup =
         [] {
             player_record.skill[LAUNCH_191_SKILL] = 70;
             inv_add(2100, 1);
         },
     .answers = {0},
     .flag = 91,
     .value = 6,
     .scene = scene_play_191,
     .texts = text_runs({61297, 61298, 61299, 14526, 14526, 14527, -14530}),
     .check =
         [] {
             EXPECT_EQ(inv_has(2100), 0);
             EXPECT_EQ(known_has(0, 52), 1);
             EXPECT_EQ(player_record.fame, FAME_BEFORE + 30);
             EXPECT_EQ(album_has(17), 1);
         }},
    {.name = "191 outcome 6, not a reader",
     .slot = 191,
     .turn = 155,
     .setup =
         [] {
             player_record.skill[LAUNCH_191_SKILL] = 69;
             inv_add(2100, 2);
         },
     .answers = {0},
     .flag = 91,
     .value = 6,
     .scene = scene_play_191,
     .texts = text_runs({61297, 61298, 61299, 14526, 14526, 14527}),
     .check =
         [] {
             EXPECT_EQ(inv_has_count(2100, 1), 1);
             EXPECT_EQ(inv_has_count(2100, 2), 0);
             EXPECT_EQ(known_has(0, 52), 0);
             EXPECT_EQ(player_record.fame, FAME_BEFORE);
         }},
    {.name = "191 outcome 1",
     .slot = 191,
     .turn = 155,
     .answers = {0},
     .flag = 91,
     .value = 1,
     .scene = scene_play_191,
     .texts = text_runs({61297, 61298, 61299, 14522, 14522}),
     .check = [] { EXPECT_EQ(player_record.mood, 0); }},
    {.name = "191 outcome 4, resumed",
     .slot = 191,
     .turn = 155,
     .resumed = true,
     .flag = 91,
     .value = 4,
     .scene = scene_play_191,
     .texts = text_runs({14531, 14531})},
    {.name = "191 unnamed outcome",
     .slot = 191,
     .turn = 155,
     .answers = {0},
     .flag = 91,
     .value = 7,
     .scene = scene_play_191,
     .texts = text_runs({61297, 61298, 61299})},
    {.name = "191 declined",
     .slot = 191,
     .turn = 155,
     .answers = {1},
     .texts = text_runs({61297, 61298, 61299})},

    {.name = "197",
     .slot = 197,
     .turn = 165,
     .setup =
         [] {
             entry(cal_pool_a(12)) = {120, 1};
         },
     .scene = scene_play_197,
     .texts = text_runs({60960, -60965}),
     .check = [] { EXPECT_EQ(entry(cal_pool_a(12)).slot, -1); }},

    // Slot 129: two variants, the companion picker before the first (nobody to pick here: the
    // only well-disposed acquaintances are the excluded ones).
    {.name = "129 variant 2",
     .slot = 129,
     .turn = 185,
     .setup =
         [] {
             flag(7) = 1;
             mouse_buttons = 1;
         },
     .flag = 94,
     .value = 2,
     .scene = scene_play_129_2,
     .texts = text_runs({57296, 14520, 14520}),
     .check =
         [] {
             EXPECT_EQ(flag(99), 2);
             EXPECT_EQ(episode.mouse_at_start, 0);
         }},
    {.name = "129 variant 1, nobody to pick",
     .slot = 129,
     .turn = 185,
     .setup =
         [] {
             flag(7) = 2;
             for (s32 i = 0; i < 6; ++i) {
                 player_record.acquaintances[i] = LAUNCH_129_EXCLUDED[i];
                 affection(LAUNCH_129_EXCLUDED[i]) = 90;
             }
             player_record.party[1] = 33;
         },
     .answers = {0},
     .flag = 93,
     .value = 2,
     .scene = scene_play_129_1,
     .texts = text_runs({57297, 57298, 57299, 14521, 14521}),
     .check =
         [] {
             EXPECT_EQ(flag(99), 1);
             EXPECT_EQ(episode.party_at_start[1], 33); // the picker left the party alone
         }},
    {.name = "129 variant 1, failure",
     .slot = 129,
     .turn = 185,
     .setup = [] { flag(6) = 1; },
     .answers = {0},
     .flag = 93,
     .value = 1,
     .scene = scene_play_129_1,
     .texts = text_runs({57297, 57298, 57299})},
    {.name = "129 declined",
     .slot = 129,
     .turn = 185,
     .setup = [] { flag(6) = 1; },
     .answers = {1},
     .texts = text_runs({57297, 57298, 57299}),
     .check = [] { EXPECT_EQ(flag(99), 0); }},
    {.name = "129 nothing", .slot = 129, .turn = 185},
    {.name = "129 resumed, variant 1 by flag 99",
     .slot = 129,
     .turn = 185,
     .setup = [] { flag(99) = 1; },
     .resumed = true,
     .flag = 93,
     .value = 2,
     .scene = scene_play_129_1,
     .texts = text_runs({14521, 14521})},
    {.name = "129 resumed, any other flag 99 is variant 2",
     .slot = 129,
     .turn = 185,
     .setup = [] { flag(99) = 0; },
     .resumed = true,
     .flag = 94,
     .value = 2,
     .scene = scene_play_129_2,
     .texts = text_runs({14520, 14520})},

    // Slot 135.
    {.name = "135 flag 1",
     .slot = 135,
     .turn = 195,
     .setup =
         [] {
             // Only the excluded persons and the two never offered are well disposed.
             constexpr s32 persons[] = {81, 87, 167, 121, 163, 40};
             for (s32 i = 0; i < 6; ++i) {
                 player_record.acquaintances[i] = persons[i];
                 affection(persons[i]) = 95;
             }
         },
     .answers = {0},
     .flag = 81,
     .value = 1,
     .scene = scene_play_135,
     .texts = text_runs({58037, 58038, 58039, 16663, 16663}),
     .check = [] { EXPECT_EQ(player_record.fame, FAME_BEFORE + 30); }},
    {.name = "135 flag 3",
     .slot = 135,
     .turn = 195,
     .answers = {0},
     .flag = 81,
     .value = 3,
     .scene = scene_play_135,
     .texts = text_runs({58037, 58038, 58039, 16664, 16664}),
     .check = [] { EXPECT_EQ(player_record.chivalry, CHIVALRY_BEFORE - 20); }},
    {.name = "135 flag 2",
     .slot = 135,
     .turn = 195,
     .answers = {0},
     .flag = 81,
     .value = 2,
     .scene = scene_play_135,
     .texts = text_runs({58037, 58038, 58039, 58110, 58110, -58116}),
     .check = [] { EXPECT_EQ(player_record.mood, 4); }},
    {.name = "135 resumed, other outcome",
     .slot = 135,
     .turn = 195,
     .resumed = true,
     .flag = 81,
     .value = 0,
     .scene = scene_play_135},
    {.name = "135 declined",
     .slot = 135,
     .turn = 195,
     .answers = {1},
     .texts = text_runs({58037, 58038, 58039})},

    // Slot 198: the calendar goes on, or route 3 starts inside the handler.
    {.name = "198 calendar goes on",
     .slot = 198,
     .turn = 233,
     .flag = 80,
     .value = 2,
     .scene = scene_play_198,
     .texts = text_join({INTRO_198, text_runs({62174, 62174, -62179})}),
     .check =
         [] {
             EXPECT_EQ(episode.open_world_route, -1);
             EXPECT_EQ(flag(STORY_ROUTE), 0);
         }},
    {.name = "198 route 3",
     .slot = 198,
     .turn = 233,
     .flag = 80,
     .value = 1,
     .scene = scene_play_198,
     .texts = text_join({INTRO_198, ROUTE_THREE}),
     .check =
         [] {
             EXPECT_EQ(episode.open_world_route, 3);
             EXPECT_EQ(flag(STORY_ROUTE), 3);
         }},
};

} // namespace

TEST_F(LauncherTest, EveryLauncherFromItsRow) {
    for (const Case& c : CASES) {
        SCOPED_TRACE(c.name);
        prepare(c);
        const size_t m = mark();
        const size_t fights = fought().size();
        run_slot(c.slot);

        EXPECT_EQ(texts_from(m), c.texts);
        // Every queued result was fought for, and only slot 192's test fight is fought.
        EXPECT_EQ(fought().size() - fights, c.battles.size());
        for (size_t i = fights; i < fought().size(); ++i)
            EXPECT_EQ(fought()[i], LAUNCH_TEST_BATTLE);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(episode.runs, c.scene != nullptr ? 1 : 0);
        if (c.scene != nullptr) {
            EXPECT_EQ(episode.scene, c.scene);
            EXPECT_EQ(episode.field_active_at_start, c.resumed ? 1 : 0);
        }
        // Episode done: the launcher's turns ended once by itself, and the hub's save of slot 2.
        const LauncherRow* row = launcher_row(c.slot);
        ASSERT_NE(row, nullptr);
        const bool done = c.scene != nullptr && !c.load && !c.open_world_load;
        EXPECT_EQ(hub_block.calendar_turn, c.turn + (done ? row->turns : 0));
        EXPECT_EQ(hub_block.turns_consumed, done ? row->turns : c.turns_left);
        EXPECT_EQ(player_record.turn_done, done ? 1 : 0);
        EXPECT_EQ(slot2_saved(), done);
        if (!c.open_world_load) {
            EXPECT_EQ(player_record.area, done ? AREA_HUB : AREA_BEFORE);
        }
        EXPECT_EQ(hub_restart, c.load || c.open_world_load ? 1 : -1);
        if (c.check) c.check();
    }
}

// A load inside the open world of route 3 has replaced the game: the handler does nothing more
// with it, so save slot 2 and the loaded game's area stay as the load left them.
TEST_F(LauncherTest, LoadInsideTheRouteThreeOpenWorldWritesNothing) {
    const Case c = {.name = "198 load in the open world",
                    .slot = 198,
                    .turn = 233,
                    .flag = 80,
                    .value = 1,
                    .open_world_load = true};
    prepare(c);
    const size_t m = mark();
    run_slot(198);
    EXPECT_EQ(texts_from(m), text_join({INTRO_198, ROUTE_THREE}));
    EXPECT_EQ(episode.open_world_route, 3);
    EXPECT_FALSE(slot2_saved());
    EXPECT_EQ(player_record.area, 17);
    EXPECT_EQ(hub_restart, 1);
}

// The table: fourteen rows, each slot installed with its own handler, and slots 195 and 199 left
// empty.
TEST_F(LauncherTest, TableHoldsTheFourteenSlots) {
    std::vector<s32> slots;
    for (const LauncherRow& r : launcher_rows()) slots.push_back(r.slot);
    EXPECT_EQ(slots, (std::vector<s32>{221, 192, 190, 196, 222, 44, 193, 203, 194, 191, 197, 129,
                                       135, 198}));
    EXPECT_EQ(launcher_row(195), nullptr);
    EXPECT_EQ(launcher_row(199), nullptr);
    for (const CalendarSlot& s : launchers_slots())
        EXPECT_NE(launcher_row(s.slot), nullptr) << s.slot;
}

// The order of slot 135: the fade comes before the end of turn unless the episode resumed, and
// the outro always sees the turn already ended.
TEST_F(LauncherTest, EndAfterFadeEndsTheTurnBeforeTheOutro) {
    static s32 turn_at_outro = -1;
    for (bool resumed : {false, true}) {
        SCOPED_TRACE(resumed);
        hub_restart = -1;
        world_state.field_active = resumed ? 1 : 0;
        hub_block.calendar_turn = 195;
        turn_at_outro = -1;
        const CalLauncher l = {.scene = [] { world_state.field_active = 0; },
                               .outro = [](bool) { turn_at_outro = hub_block.calendar_turn; },
                               .turns = 3,
                               .order = CalEndOrder::EndAfterFadeUnlessResumed};
        EXPECT_EQ(cal_launch(l), CalLaunch::Done);
        EXPECT_EQ(turn_at_outro, 198);
        EXPECT_EQ(hub_block.calendar_turn, 198);
    }
}

// The one speaker of the launchers' intros whose large portrait lies past the hub's 62000..62299.
TEST_F(LauncherTest, PlaceholderArchiveHoldsThePortraitOfPerson305) {
    s32 size = 0;
    EXPECT_NE(image_load(62305, &size), nullptr);
    EXPECT_GT(size, 0);
}
