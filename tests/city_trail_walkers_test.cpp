// The city's residents, the invitation pair, the gate, the street scene with its walker and the
// picture trail, on the new game's objects of map 200 and its interiors.
#include "data/world_population.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "platform/harness.h"
#include "scripts/scripts_register.h"
#include "scripts/towns/city_trail_walkers.h"
#include "scripts/towns/gates_and_tellers.h"
#include "tests/dialog_driver.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Texts first..last, each said in the bubble of the object given for it.
Lines bubbles(s32 first, std::initializer_list<s32> speakers) {
    Lines out;
    s32 t = first;
    for (const s32 obj : speakers) out.push_back(sh_bubble(obj, t++));
    return out;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

s32 held(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

class CityTrailWalkers : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            world_put_map(
                b, 200, 5600, 3900, [](s32, s32) { return WORLD_GROUND; }, 300);
        });
        scripts_register_all();
        populate();
    }
    // The new game's rows of the city's objects, run anew; the open world's person of the gate
    // and the figure it shows as bare objects.
    static void populate() {
        init_player();
        std::vector<s32> objects{HOST_OBJ, CITY_TRAIL_DOOR};
        for (s32 obj = 1001; obj <= 1064; ++obj) objects.push_back(obj);
        sh_populate(objects);
        for (const s32 obj : {CITY_GATE_OPENER, CITY_GATE_SHOWN}) obj_clear(obj);
        attr_set(CITY_GATE_SHOWN, ATTR_ACTIVE, 0);
        sh_player(3000, 2000, 200);
    }
    static Lines fire(s32 obj, s32 trigger) {
        sh_clear_lines();
        sh_fire(obj, trigger);
        return sh_only(sh_lines(), {"say", "choose", "label"});
    }
    // A click on a step of the trail, with a click ready to close its picture; the pictures it
    // drew (the trail's ground pictures only) go to *shown.
    static Lines trail_click(s32 obj, Lines* shown) {
        const auto pictures = [] {
            Lines out;
            for (const TranscriptEntry& e : dialog_draws()) {
                const std::string d = dialog_describe(e);
                if (d.rfind("draw 4250", 0) == 0) out.push_back(d);
            }
            return out;
        };
        dialog_record_draws(true);
        bool queued = false;
        harness_on_present([&](const u16*, u64 present) {
            if (queued || pictures().empty()) return;
            queued = true;
            harness_click(320, 240, 1, at_present(present + 2));
        });
        const Lines lines = sh_click(obj);
        harness_on_present(nullptr);
        *shown = pictures();
        dialog_record_draws(false);
        return lines;
    }
    static s32 stage(s32 obj) { return attr_get(obj, ATTR_VAR_A); }
    static s32 active(s32 obj) { return attr_get(obj, ATTR_ACTIVE); }
};

// ---- Talkers and pairs -----------------------------------------------------------------------

TEST_F(CityTrailWalkers, EachTalkSaysItsStageAndMovesTheStagesOn) {
    struct Case {
        const char* name;
        s32 obj;
        s32 stage;
        Lines lines;
        s32 next_stage;
        s32 partner = -1; // the other of a pair, and its stage afterwards
        s32 partner_stage = 0;
        s32 dx = 40;
    };
    const Lines long_talk =
        bubbles(34930, {1027, 1028, 1027}) + Lines{sh_bubble(1027, 34929)} +
        bubbles(34933, {1027, 1028, 1028, 1027, 1028, 1027, 1027, 1028, 1027, 1028, 1028,
                        1027, 1028, 1028, 1027, 1027, 1028, 1027, 1028, 1027, 1028});
    const Case cases[] = {
        {"1008", 1008, 0, {sh_bubble(1008, 33340)}, 0},
        {"1008 from too far", 1008, 0, {"label 0 10000 -112 -108 2000"}, 0, -1, 0, 340},
        {"1009 first", 1009, 0, {sh_bubble(1009, 33341)}, 0},
        {"1009 open world", 1009, 1, {sh_bubble(1009, 29127)}, 1},
        {"1033", 1033, 0, {sh_bubble(1033, 33640)}, 0, -1, 0, 300},
        {"fortune told", 1010, 1, {sh_bubble(1010, 33426)}, 1},
        {"1026 without the item", 1026, 1, {sh_bubble(1026, 25544)}, 1},
        {"1026 open world", 1026, 3, {sh_bubble(1026, 29131)}, 3},
        {"1013 first", 1013, 0,
         bubbles(34970, {1014, 1013, 1014, 1013, 1014, 1013, 1013}) + Lines{sh_bubble(1014, 34976)},
         1, 1014, 1},
        {"1013 again", 1013, 1, {sh_bubble(1013, 34977)}, 1},
        {"1014 again", 1014, 1, {sh_bubble(1014, 34978)}, 1},
        {"1017 first keeps the stage", 1017, 0, bubbles(33540, {1016, 1017, 1016, 1017, 1016}), 0,
         1016, 0},
        {"1016 open world", 1016, 1, bubbles(29132, {1016, 1017, 1016, 1017, 1016, 1017}), 1},
        {"1024 first", 1024, 0, bubbles(34990, {1023, 1024, 1023, 1024, 1023}), 1, 1023, 1},
        {"1024 again", 1024, 1, {sh_bubble(1024, 34996)}, 1},
        {"1023 open world, flag 38 not 2", 1023, 2, bubbles(29093, {1023, 1024}), 2},
        {"1028 first, nobody turns", 1028, 0, long_talk, 1, 1027, 1},
        {"1027 last", 1027, 2, {sh_bubble(1027, 34966), sh_bubble(1028, 34967)}, 2},
        {"walker 1041", CITY_STREET_WALKER, 0, {sh_bubble(CITY_STREET_WALKER, 34400)}, 0},
        {"companion 1058", CITY_COMPANION_A, 0, {sh_box(3, 1152, 33019)}, 0},
        {"companion 1059", CITY_COMPANION_B, 0, {sh_box(3, 1150, 33019)}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        if (c.partner >= 0) attr_set(c.partner, ATTR_VAR_A, c.stage);
        const s32 frame = obj_get_frame(c.obj);
        EXPECT_EQ(sh_click(c.obj, {}, c.dx), c.lines);
        EXPECT_EQ(obj_get_frame(c.obj), frame);
        EXPECT_EQ(stage(c.obj), c.next_stage);
        if (c.partner >= 0) {
            EXPECT_EQ(stage(c.partner), c.partner_stage);
        }
    }
}

TEST_F(CityTrailWalkers, IdleLoopsWrapAndRemarkOnlyOnTheirMap) {
    struct Case {
        const char* name;
        s32 obj;
        s32 frame;
        s32 player_map;
        s32 next_frame;
        s32 timer;
        Lines labels;
    };
    const Case cases[] = {
        {"1008 remarks", 1008, 43538, 200, 43540, 10, {"label 1008 35042 -150 -113 2000"}},
        {"1008 elsewhere is silent", 1008, 43538, 208, 43540, 10, {}},
        {"1008 wraps", 1008, 43556, 200, 43500, 10, {}},
        {"1016 remarks on map 208",
         1016,
         43804,
         208,
         43805,
         10,
         {"label 1016 35030 -80 -100 2000"}},
        {"1013 wraps with its pause", 1013, 43590, 209, 43589, 100, {}},
        {"1014 wraps with its pause", 1014, 43593, 209, 43592, 130, {}},
        {"the gang", 1005, 45663, 208, 45650, 10, {}},
        {"1018", 1018, 41276, 200, 41278, 10, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(0, ATTR_MAP, c.player_map);
        world_state.current_map = c.player_map;
        obj_set_frame(c.obj, c.frame);
        attr_set(c.obj, ATTR_TIMER, 0);
        sh_clear_lines();
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(c.obj), c.next_frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
        EXPECT_EQ(sh_only(sh_lines(), {"label"}), c.labels);
    }
}

// The pair 1027/1028 turns nobody at its first talk and the clicked one at its second.
TEST_F(CityTrailWalkers, ThePairOfMap200TurnsOnlyAtItsSecondTalk) {
    for (const s32 clicked : {1027, 1028}) {
        SCOPED_TRACE(clicked);
        populate();
        const s32 other = clicked == 1027 ? 1028 : 1027;
        const s32 frames[] = {obj_get_frame(1027), obj_get_frame(1028)};
        const s32 player_frame = obj_get_frame(0);
        sh_click(clicked);
        EXPECT_EQ(obj_get_frame(0), player_frame);
        EXPECT_EQ(obj_get_frame(1027), frames[0]);
        EXPECT_EQ(obj_get_frame(1028), frames[1]);
        const Lines second = sh_click(clicked);
        ASSERT_EQ(second.size(), 6u);
        EXPECT_EQ(second[0], sh_bubble(1028, 34960));
        EXPECT_EQ(second[1].rfind("say ", 0), 0u);
        EXPECT_NE(second[1].find(" 1000 34961"), std::string::npos);
        EXPECT_NE(obj_get_frame(0), player_frame); // the player turned to the clicked one
        EXPECT_EQ(stage(clicked), 2);
        EXPECT_EQ(stage(other), 2);
    }
}

TEST_F(CityTrailWalkers, TheFortuneTellerTheSellerAndTheGiversChangeThePlayer) {
    struct Case {
        const char* name;
        s32 obj;
        s32 stage;
        std::vector<s32> answers;
        std::vector<s32> draws;
        s32 money = 0;
        s32 has_2269 = 0;
        s32 constitution = 50;
        s32 attr5 = 50;
        Lines said; // the first lines, in order
        s32 next_stage = 0;
        s32 money_after = 0;
        s32 constitution_after = 50;
        s32 attr5_after = 50;
        s32 item = 0, item_count = 0;
    };
    const Case cases[] = {
        {"fortune, good", 1010, 0, {0}, {4}, 0, 0, 97, 50, {sh_bubble(1010, 33421)}, 1, 0, 100},
        {"fortune, bad", 1010, 0, {0}, {5}, 0, 0, 3, 50, {sh_bubble(1010, 33421)}, 1, 0, 0},
        {"fortune declined", 1010, 0, {1}, {}, 0, 0, 50, 50, {sh_bubble(1010, 33421)}, 0, 0, 50},
        {"seller, bought",
         1043,
         0,
         {0},
         {},
         20,
         0,
         50,
         50,
         {sh_bubble(1043, 26523), sh_bubble(1043, 33214)},
         0,
         0,
         50,
         50,
         2375,
         1},
        {"seller, kept the money", 1043, 0, {1}, {}, 25, 0, 50, 50, {}, 0, 25, 50, 50, 2375, 0},
        {"seller, too poor",
         1043,
         0,
         {},
         {},
         19,
         0,
         50,
         50,
         {sh_bubble(1043, 26523), sh_bubble(1043, 33214), sh_box(2, 1000, 33217)},
         0,
         19,
         50,
         50,
         2375,
         0},
        {"1026 trades 2269",
         1026,
         1,
         {},
         {},
         0,
         1,
         50,
         50,
         {sh_bubble(1026, 25544)},
         2,
         0,
         50,
         50,
         2373,
         1},
        {"1060's long talk",
         1060,
         0,
         {},
         {},
         0,
         0,
         50,
         97,
         {sh_bubble(1061, 34910)},
         1,
         0,
         50,
         100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        player_record.money = c.money;
        player_record.constitution = c.constitution;
        player_record.attr[5] = c.attr5;
        if (c.has_2269 != 0) inv_add(2269, 1);
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        for (const s32 a : c.answers) sh_answers({a});
        for (const s32 d : c.draws) sh_rand({d});
        const Lines lines = sh_click(c.obj);
        ASSERT_GE(lines.size(), c.said.size());
        EXPECT_EQ(Lines(lines.begin(), lines.begin() + std::ptrdiff_t(c.said.size())), c.said);
        EXPECT_EQ(stage(c.obj), c.next_stage);
        EXPECT_EQ(player_record.money, c.money_after);
        EXPECT_EQ(player_record.constitution, c.constitution_after);
        EXPECT_EQ(player_record.attr[5], c.attr5_after);
        if (c.item != 0) {
            EXPECT_EQ(held(c.item), c.item_count);
        }
        if (c.has_2269 != 0) {
            EXPECT_EQ(held(2269), 0);
        }
        if (c.obj == 1060) {
            EXPECT_EQ(stage(1061), 1);
        }
    }
}

// ---- The invitation to the fishing contest ---------------------------------------------------

// The host is invited; while the delivery errand holds it parked at stage 60 the invitation goes
// into the stage it gets back, and the errand's stage stays.
TEST_F(CityTrailWalkers, TheInvitationRaisesTheHostOrItsParkedStage) {
    struct Case {
        const char* name;
        s32 clicked;
        s32 host_stage, host_var_b;
        s32 host_stage_after, host_var_b_after;
    };
    const Case cases[] = {
        {"host new, 1021", 1021, HOST_NEW, 0, HOST_INVITED, 0},
        {"host new, 1022", 1022, HOST_NEW, 0, HOST_INVITED, 0},
        {"host parked", 1021, HOST_DELIVERY, HOST_NEW, HOST_DELIVERY, HOST_INVITED},
    };
    const Lines talk = bubbles(35000, {1021, 1021, 1022, 1021, 1022, 1021});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(HOST_OBJ, ATTR_VAR_A, c.host_stage);
        attr_set(HOST_OBJ, ATTR_VAR_B, c.host_var_b);
        EXPECT_EQ(sh_click(c.clicked), talk);
        EXPECT_EQ(stage(1021), 1);
        EXPECT_EQ(stage(1022), 1);
        EXPECT_EQ(stage(HOST_OBJ), c.host_stage_after);
        EXPECT_EQ(attr_get(HOST_OBJ, ATTR_VAR_B), c.host_var_b_after);
        // Afterwards each answers with its own line and the host is left alone.
        EXPECT_EQ(sh_click(1022), Lines{sh_bubble(1022, 35012)});
        EXPECT_EQ(sh_click(1021), Lines{sh_bubble(1021, 35011)});
        EXPECT_EQ(stage(HOST_OBJ), c.host_stage_after);
    }
}

// ---- The city gate ---------------------------------------------------------------------------

TEST_F(CityTrailWalkers, TheGateOpensOnlyOnceTheOpenWorldsPersonIsAtStageOne) {
    struct Case {
        const char* name;
        s32 opener_stage;
        Lines lines;
        s32 zone_active, zone_block, shown;
    };
    const Case cases[] = {
        {"stage 1 opens",
         1,
         {sh_bubble(1002, 28165), sh_box(2, 1000, 28166), sh_bubble(1002, 28167)},
         0,
         0,
         1},
        {"stage 0 refuses", 0, {sh_bubble(1002, 20429)}, 1, 1, 0},
        {"stage 2 refuses", 2, {sh_bubble(1002, 20429)}, 1, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        populate();
        attr_set(CITY_GATE_OPENER, ATTR_VAR_A, c.opener_stage);
        sh_player(2774, 2760, 200);
        EXPECT_EQ(fire(CITY_GATE_ZONE, TRIG_STEP), c.lines);
        EXPECT_EQ(active(CITY_GATE_ZONE), c.zone_active);
        EXPECT_EQ(attr_get(CITY_GATE_ZONE, ATTR_BLOCK), c.zone_block);
        EXPECT_EQ(active(CITY_GATE_SHOWN), c.shown);
        // The guards stand in their own frames again after a refusal.
        EXPECT_EQ(obj_get_frame(CITY_GATE_GUARD_A), 42940);
        EXPECT_EQ(obj_get_frame(CITY_GATE_GUARD_B), 42944);
    }
}

// ---- The street scene and the walkers --------------------------------------------------------

TEST_F(CityTrailWalkers, TheStreetScenePlaysOnceAndSendsTheWalkerOff) {
    const s32 second_frame = obj_get_frame(CITY_WALKER);
    sh_player(4738, 2060, 200);
    // The fight as the screen shows it: each new pair of frames of 1041 and 1064.
    std::vector<std::pair<s32, s32>> fight;
    harness_on_present([&](const u16*, u64) {
        const std::pair<s32, s32> now{obj_get_frame(CITY_STREET_WALKER),
                                      obj_get_frame(CITY_WALKER)};
        if (now.second >= 45900 && now.second <= 45936 && (fight.empty() || fight.back() != now))
            fight.push_back(now);
    });
    const Lines first = fire(CITY_STREET_ZONE, TRIG_STEP);
    harness_on_present(nullptr);
    // 1064 rises by 2 to 45936 and stays; 1041 joins once 1064 is past 45908 and is held at
    // 45868.
    std::vector<std::pair<s32, s32>> want;
    for (s32 k = 0; k <= 38; ++k)
        want.emplace_back(k < 5 ? 45800 : 45792 + 2 * k, std::min(45900 + 2 * k, 45936));
    EXPECT_EQ(fight, want);
    const Lines expected =
        Lines{sh_box(0, 1000, 34355)} + bubbles(34410, {1012, 1041, 1012, 1041}) +
        Lines{sh_bubble(1012, 34415), sh_bubble(1041, 34416), sh_bubble(1064, 34417)} +
        bubbles(34420, {1012, 1041, 1012, 1041, 1012, 1041, 1064}) + Lines{sh_bubble(1012, 34430)};
    EXPECT_EQ(first, expected);
    EXPECT_EQ(active(CITY_STREET_ZONE), 0);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_VAR_B), CITY_STREET_WALKER_FIRST_LEG);
    EXPECT_EQ(stage(CITY_STREET_KEEPER), 1);
    EXPECT_EQ(obj_get_frame(CITY_WALKER), second_frame); // its frame back after the fight
    // The player stands where the scene walked him.
    EXPECT_EQ(attr_get(0, ATTR_X), 4909);
    EXPECT_EQ(attr_get(0, ATTR_Y), 2190);
    // A second step finds the zone switched off: the field never fires it again.
    EXPECT_EQ(active(CITY_STREET_ZONE), 0);
}

// 1041 walks its points once the scene has sent it: at the first it sets 1064 walking, at the
// last it hides. Before the scene it stands.
TEST_F(CityTrailWalkers, TheWalkerStandsUntilSentThenStarts1064AndHidesAtItsLastPoint) {
    const s32 x = attr_get(CITY_STREET_WALKER, ATTR_X), y = attr_get(CITY_STREET_WALKER, ATTR_Y);
    for (s32 i = 0; i < 10; ++i) sh_fire(CITY_STREET_WALKER, TRIG_TIMER);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_X), x);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_Y), y);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_TIMER), 1);

    attr_set(CITY_STREET_WALKER, ATTR_VAR_B, CITY_STREET_WALKER_FIRST_LEG);
    s32 runs = 0;
    while (attr_get(CITY_STREET_WALKER, ATTR_VAR_B) == CITY_STREET_WALKER_FIRST_LEG && runs++ < 200)
        sh_fire(CITY_STREET_WALKER, TRIG_TIMER);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_X), 4949);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_Y), 2208);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_VAR_B), 2);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_TIMER), 25);
    EXPECT_EQ(attr_get(CITY_WALKER, ATTR_VAR_B), 1);

    runs = 0;
    while (active(CITY_STREET_WALKER) == 1 && runs++ < 2000)
        sh_fire(CITY_STREET_WALKER, TRIG_TIMER);
    EXPECT_EQ(active(CITY_STREET_WALKER), 0);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_X), 1238);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_Y), 3847);
    EXPECT_EQ(attr_get(CITY_STREET_WALKER, ATTR_TIMER), 25);
}

// ---- The picture trail -----------------------------------------------------------------------

TEST_F(CityTrailWalkers, TheTrailIsFollowedStrictlyInOrder) {
    const std::string ground = "draw 42500 250 170";
    Lines shown;
    // Before their turn the later steps cannot be reached: hidden, or (the last) not clickable
    // and doing nothing.
    EXPECT_EQ(active(CITY_TRAIL_SECOND), 0);
    EXPECT_EQ(active(CITY_TRAIL_THIRD), 0);
    EXPECT_EQ(attr_get(CITY_TRAIL_LAST, ATTR_CLICK), 0);
    EXPECT_EQ(sh_click(CITY_TRAIL_LAST), Lines{});
    EXPECT_EQ(active(CITY_TRAIL_DOOR), 0);
    EXPECT_EQ(active(CITY_TRAIL_LAST), 1);

    // The first picture: the companions come out and talk, then the picture; 1046 appears.
    const Lines arrival = {sh_box(3, 1150, 33140), sh_box(2, 1152, 33141), sh_box(2, 1000, 33142),
                           sh_box(2, 1152, 33143), sh_box(2, 1152, 33144), sh_box(3, 1150, 33145)};
    EXPECT_EQ(trail_click(CITY_TRAIL_FIRST, &shown), arrival);
    EXPECT_EQ(shown, Lines{"draw 42501 250 170"});
    EXPECT_EQ(stage(CITY_TRAIL_FIRST), 1);
    EXPECT_EQ(active(CITY_TRAIL_SECOND), 1);
    EXPECT_EQ(active(CITY_TRAIL_THIRD), 0);
    EXPECT_EQ(active(CITY_COMPANION_A), 0);
    EXPECT_EQ(active(CITY_COMPANION_B), 0);

    // Clicked again, the first shows its picture only: no talk, no companions.
    EXPECT_EQ(trail_click(CITY_TRAIL_FIRST, &shown), Lines{});
    EXPECT_EQ(shown, Lines{"draw 42501 250 170"});
    EXPECT_EQ(active(CITY_COMPANION_A), 0);
    EXPECT_EQ(active(CITY_TRAIL_THIRD), 0);

    EXPECT_EQ(trail_click(CITY_TRAIL_SECOND, &shown), Lines{});
    EXPECT_EQ(shown, Lines{ground});
    EXPECT_EQ(active(CITY_TRAIL_THIRD), 1);
    EXPECT_EQ(attr_get(CITY_TRAIL_LAST, ATTR_CLICK), 0);
    EXPECT_EQ(trail_click(CITY_TRAIL_THIRD, &shown), Lines{});
    EXPECT_EQ(shown, Lines{ground});
    EXPECT_EQ(stage(CITY_TRAIL_LAST), 1);
    EXPECT_EQ(attr_get(CITY_TRAIL_LAST, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(CITY_TRAIL_LAST, ATTR_CURSOR), 3);

    // The last uncovers the doorway and hides itself; the companions go back into the player.
    const Lines door = {sh_bubble(CITY_TRAIL_LAST, 33146), sh_box(2, 1152, 33147),
                        sh_bubble(CITY_TRAIL_LAST, 33148), sh_box(2, 1000, 33149),
                        sh_box(2, 1150, 33150)};
    EXPECT_EQ(sh_click(CITY_TRAIL_LAST), door);
    EXPECT_EQ(active(CITY_TRAIL_LAST), 0);
    EXPECT_EQ(active(CITY_TRAIL_DOOR), 1);
    EXPECT_EQ(active(CITY_COMPANION_A), 0);
    EXPECT_EQ(active(CITY_COMPANION_B), 0);
}

TEST_F(CityTrailWalkers, EveryFrameTheScriptsShowIsInThePlaceholderArchive) {
    const FramesShown shown = frames_shown(city_trail_walkers_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
