// The household of the home map and the first-day director: the collector's offerings, the
// master's menu with its toggles, lesson and ranking panel, the second member, the opening scene
// and the evening that ends the first day.
#include "scripts/home/household.h"

#include "data/battle_tables.h"
#include "data/roster.h"
#include "game/roster_rules.h"
#include "scripts/home/ranking.h"

#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/scripts_register.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;

using Lines = std::vector<std::string>;

Lines talk_of(const Lines& all) {
    return sh_only(all, {"say", "choose", "log"});
}

void ground_map(ArcBuilder& b, s32 map, s32 first_zone) {
    world_put_map(
        b, map, 1024, 768, [](s32, s32) { return WORLD_GROUND; }, first_zone);
}

class Household : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            ground_map(b, 12, 200);
            ground_map(b, 21, 300);
        });
        scripts_register_all();
    }
    Lines click(s32 obj, s32 stage) {
        attr_set(obj, ATTR_VAR_A, stage);
        sh_clear_lines();
        sh_fire(obj, TRIG_CLICK);
        return talk_of(sh_lines());
    }
};

// ---- The collector of offerings
// -------------------------------------------------------------------

TEST_F(Household, CollectorTakesOfferingsByStage) {
    constexpr s32 C = 1000;
    struct Case {
        s32 stage, money, attr5;
        std::vector<s32> answers;
        Lines lines;
        s32 next_stage, money_after, attr5_after;
    };
    Lines opening;
    for (s32 t = 11530; t <= 11546; t++)
        opening.push_back((t - 11530) % 2 == 0 ? "say_at 1000 " + std::to_string(t)
                                               : "say 0 1000 " + std::to_string(t));
    const Case cases[] = {
        {0, 0, 5, {}, opening, 1, 0, 5},
        // Exactly 1000 pays and leaves nothing.
        {1,
         1000,
         5,
         {0},
         {"say_at 1000 11547", "choose 0 1000 11548 11549 -> 0", "log_number 466 1000",
          "say_at 1000 11550", "log 280"},
         2,
         0,
         4},
        {4,
         1500,
         5,
         {0},
         {"say_at 1000 11547", "choose 0 1000 11548 11549 -> 0", "log_number 466 1000",
          "say_at 1000 11553", "log 280"},
         5,
         500,
         4},
        // Attribute 5 at 0 stays 0; the log line is still written.
        {3,
         5000,
         0,
         {0},
         {"say_at 1000 11547", "choose 0 1000 11548 11549 -> 0", "log_number 466 1000",
          "say_at 1000 11552", "log 280"},
         4,
         4000,
         0},
        {2,
         999,
         5,
         {0},
         {"say_at 1000 11547", "choose 0 1000 11548 11549 -> 0", "say_at 1000 11555"},
         2,
         999,
         5},
        {2, 5000, 5, {1}, {"say_at 1000 11547", "choose 0 1000 11548 11549 -> 1"}, 2, 5000, 5},
        {5, 5000, 5, {}, {"say_at 1000 11554"}, 5, 5000, 5},
        {6,
         2000,
         5,
         {0},
         {"say_at 1000 13750", "choose 0 1000 11548 11549 -> 0", "log_number 466 2000",
          "say_at 1000 13751", "log 280"},
         7,
         0,
         4},
        {8,
         1999,
         5,
         {0},
         {"say_at 1000 13750", "choose 0 1000 11548 11549 -> 0", "say_at 1000 11555"},
         8,
         1999,
         5},
        {9, 5000, 5, {}, {"say_at 1000 11554"}, 9, 5000, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        // The collector stands right of the player: the player's boxes at position 0.
        sh_object(
            C, {.map = SH_MAP, .x = PX + 100, .y = PY, .frame = 10202, .slot = 2, .click = true});
        player_record.money = c.money;
        player_record.attr[5] = c.attr5;
        for (const s32 a : c.answers) sh_answers({a});
        EXPECT_EQ(click(C, c.stage), c.lines);
        EXPECT_EQ(attr_get(C, ATTR_VAR_A), c.next_stage);
        EXPECT_EQ(player_record.money, c.money_after);
        EXPECT_EQ(player_record.attr[5], c.attr5_after);
        EXPECT_EQ(obj_get_frame(C), 10200) << "the collector shows its frame again";
    }
    // From farther than 150 (as the engine measures) the click only floats the remark over the
    // player.
    const s32 px = attr_get(0, ATTR_X), py = attr_get(0, ATTR_Y);
    sh_object(C, {.map = SH_MAP, .x = px + 160, .y = py, .slot = 2, .var_a = 5, .click = true});
    sh_clear_lines();
    sh_fire(C, TRIG_CLICK);
    EXPECT_EQ(sh_lines(), Lines{"label 0 10000 -112 -108 2000"});
}

// ---- The master
// ------------------------------------------------------------------------------------

constexpr s32 M = HOUSE_MASTER;
// The master stands right of the player: the player's box at 0, the master's at 3.
void place_master(s32 stage) {
    sh_object(M, {.map = SH_MAP,
                  .x = PX + 80,
                  .y = PY,
                  .frame = 2090,
                  .slot = 3,
                  .var_a = stage,
                  .timer = 30,
                  .click = true});
}

const std::string MENU_A = "choose 0 1000 10245 10246 10247 10248 10249";
const std::string MENU_B = "choose 0 1000 10250 10246 10247 10248 10249";
const std::string MENU_C = "choose 0 1000 10245 10246 10251 10248 10249";
const std::string MENU_D = "choose 0 1000 10250 10246 10251 10248 10249";
const Lines LONG_TALK = {"say 3 1163 10255", "say 0 1000 10256", "say 3 1163 10257",
                         "say 0 1000 10258", "say 3 1163 10259"};

Lines plus(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Household, MasterMenuTogglesTeachesOnceAndLeaves) {
    struct Case {
        const char* name;
        s32 stage;
        std::vector<s32> answers;
        Lines lines;
        s32 stage_after;
        bool lesson;
    };
    const Case cases[] = {
        {"option 2 twice from stage 0 teaches",
         0,
         {2, 2, 4},
         plus({"say 3 1163 10244", MENU_A + " -> 2", "say 3 1163 10254", "say 3 1163 10244",
               MENU_C + " -> 2"},
              plus(LONG_TALK,
                   {"log_number 421 20", "log 338", "say 3 1163 10244", MENU_A + " -> 4"})),
         0,
         true},
        {"the same from stage 3 goes to stage 1 without a lesson",
         3,
         {2, 4},
         plus({MENU_D + " -> 2"}, plus(LONG_TALK, {MENU_B + " -> 4"})),
         1,
         false},
        {"option 0 toggles bit 0 both ways; options 1 and 3 only talk",
         0,
         {0, 1, 0, 3, 4},
         {"say 3 1163 10244", MENU_A + " -> 0", "say 3 1163 10252", MENU_B + " -> 1",
          "say 3 1163 10253", MENU_B + " -> 0", "say 3 1163 10261", "say 3 1163 10244",
          MENU_A + " -> 3", "say 3 1163 10260", "say 3 1163 10244", MENU_A + " -> 4"},
         0,
         false},
        {"option 2 from stage 1 sets bit 1",
         1,
         {2, 4},
         {MENU_B + " -> 2", "say 3 1163 10254", MENU_D + " -> 4"},
         3,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player_record.skill_exp[21] = 0;
        for (KnownEntry& e : player_record.known[21]) e = {-1, 0, 0};
        place_master(c.stage);
        for (const s32 a : c.answers) sh_answers({a});
        EXPECT_EQ(click(M, c.stage), c.lines);
        EXPECT_EQ(attr_get(M, ATTR_VAR_A), c.stage_after);
        EXPECT_EQ(known_has(21, 0), c.lesson ? 1 : 0);
        EXPECT_EQ(attr_get(M, ATTR_TIMER), 7);
    }
    // Taught once: the long talk from stage 2 again says the lines without a second lesson.
    place_master(0);
    sh_answers({2, 2, 4});
    click(M, 0);
    ASSERT_EQ(known_has(21, 0), 1);
    const s32 exp = player_record.skill_exp[21], skill = player_record.skill[21];
    sh_answers({2, 4});
    EXPECT_EQ(click(M, 2), plus({"say 3 1163 10244", MENU_C + " -> 2"},
                                plus(LONG_TALK, {"say 3 1163 10244", MENU_A + " -> 4"})));
    EXPECT_EQ(player_record.skill_exp[21], exp);
    EXPECT_EQ(player_record.skill[21], skill);
}

TEST_F(Household, MasterOfLaterPhasesTellsAndShowsTheRanking) {
    struct Case {
        s32 stage, answer, draw;
        Lines lines;
        bool ranking;
    };
    const Case cases[] = {
        {4,
         0,
         3,
         {"say 3 1163 14900", "choose 0 1000 14901 14902 14903 -> 0", "say 3 1163 14923"},
         false},
        {5,
         0,
         9,
         {"say 3 1163 14900", "choose 0 1000 14901 14902 14903 -> 0", "say 3 1163 18999"},
         false},
        {4,
         1,
         -1,
         {"say 3 1163 14900", "choose 0 1000 14901 14902 14903 -> 1", "say 3 1163 14909"},
         true},
        {5, 2, -1, {"say 3 1163 14900", "choose 0 1000 14901 14902 14903 -> 2"}, false},
    };
    // The ranking panel ends on a click; the click must not reach the map.
    sh_screens_leave_click(PX, PY);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage * 10 + c.answer);
        place_master(c.stage);
        sh_clear_calls();
        if (c.draw >= 0) sh_rand({c.draw});
        sh_answers({c.answer});
        EXPECT_EQ(click(M, c.stage), c.lines);
        EXPECT_EQ(attr_get(M, ATTR_VAR_A), c.stage);
        EXPECT_EQ(sh_calls(),
                  c.ranking ? std::vector<std::string>{"ranking"} : std::vector<std::string>{});
        EXPECT_EQ(mouse_buttons.peek(), 0u);
        EXPECT_EQ(click_kind.peek(), 0u);
    }
}

TEST_F(Household, MasterAndMemberKeepThePracticePose) {
    // The player sits in the practice pose: the master shows 2099 and the player 2010; the second
    // member's player frame is 2000; neither turns the player.
    place_master(1);
    sh_object(HOUSE_MEMBER,
              {.map = SH_MAP, .x = PX - 80, .y = PY, .frame = 30410, .slot = 4, .click = true});
    attr_set(0, ATTR_TIMER_ON, 1);
    attr_set(0, ATTR_EVENT, HOUSE_PRACTICE_POSE);
    sh_answers({4});
    click(M, 1);
    EXPECT_EQ(obj_get_frame(0), 2010);
    EXPECT_EQ(obj_get_frame(M), 2099);
    EXPECT_EQ(click(HOUSE_MEMBER, 1), (Lines{"say_at 4 10738", "say 1 1000 10739"}));
    EXPECT_EQ(obj_get_frame(0), 2000);
    EXPECT_EQ(obj_get_frame(HOUSE_MEMBER), 30400);
    // Out of the pose the member turns the player toward it and speaks its first stage.
    attr_set(0, ATTR_TIMER_ON, 0);
    attr_set(0, ATTR_EVENT, 0);
    EXPECT_EQ(click(HOUSE_MEMBER, 0), Lines{"say_at 4 10115"});
    EXPECT_NE(obj_get_frame(0), 2000);
    EXPECT_EQ(obj_get_frame(HOUSE_MEMBER), 30400);
    EXPECT_EQ(attr_get(HOUSE_MEMBER, ATTR_VAR_A), 0);
}

TEST_F(Household, IdleLoopsOfTheHousehold) {
    // The master steps 2088..2098 and pauses 150 at the wrap; the member steps by 2 to 30438 and
    // pauses 100 + a draw below 300.
    place_master(0);
    obj_set_frame(M, 2098);
    sh_fire(M, TRIG_TIMER);
    EXPECT_EQ(obj_get_frame(M), 2088);
    EXPECT_EQ(attr_get(M, ATTR_TIMER), 150);
    sh_fire(M, TRIG_TIMER);
    EXPECT_EQ(obj_get_frame(M), 2089);
    EXPECT_EQ(attr_get(M, ATTR_TIMER), 7);
    sh_object(HOUSE_MEMBER, {.map = SH_MAP, .x = PX - 80, .y = PY, .frame = 30438, .slot = 4});
    sh_rand({299});
    sh_fire(HOUSE_MEMBER, TRIG_TIMER);
    EXPECT_EQ(obj_get_frame(HOUSE_MEMBER), 30400);
    EXPECT_EQ(attr_get(HOUSE_MEMBER, ATTR_TIMER), 399);
    sh_fire(HOUSE_MEMBER, TRIG_TIMER);
    EXPECT_EQ(obj_get_frame(HOUSE_MEMBER), 30402);
    EXPECT_EQ(attr_get(HOUSE_MEMBER, ATTR_TIMER), 8);
}

// ---- The opening scene
// -----------------------------------------------------------------------------

TEST_F(Household, OpeningSceneRunsOnceAndStartsTheClock) {
    sh_player(1643, 893);
    sh_object(1, {.map = SH_MAP, .x = 1643, .y = 893, .slot = 1, .layer = 0});
    sh_object(HOUSE_COMPANION, {.map = SH_MAP, .x = 2233, .y = 629, .frame = 4022, .slot = 7});
    sh_object(M, {.map = 12, .x = 507, .y = 306, .frame = 2088, .slot = 3});
    sh_object(HOUSE_MEMBER, {.map = 12, .x = 345, .y = 335, .frame = 30400, .slot = 4});
    sh_clock(6, 0, 0);
    player_record.money = 100;
    sh_fire(1, TRIG_CLICK); // only a step starts it
    EXPECT_EQ(attr_get(1, ATTR_ACTIVE), 1);
    sh_clear_lines();
    sh_fire(1, TRIG_STEP);
    const Lines said = sh_only(sh_lines(), {"say"});
    Lines expected = {"say 2 1000 10037", "say 2 1203 10038"};
    for (s32 t = 10040; t <= 10048; t++)
        expected.push_back((t % 2 == 0 ? "say 1 1000 " : "say 2 1203 ") + std::to_string(t));
    for (const char* l :
         {"say 2 1203 10049", "say 0 1000 10050", "say 2 1203 10051", "say 1 1163 10052",
          "say 2 1203 10053", "say 1 1163 10054", "say 0 1000 10055", "say 1 1163 10056",
          "say 0 1000 10057", "say 1 1163 10058", "say 0 1000 10059", "say 1 1163 10060",
          "say 0 1000 10061", "say 1 1163 10062", "say 0 1000 10063", "say 2 1203 10064",
          "say 1 1163 10065", "say 2 1203 10066", "say 1 1163 10067", "say 2 1203 10068",
          "say 0 1000 10069", "say 1 1163 10070", "say 0 1000 10071", "say 2 1203 10072",
          "say 0 1000 10073", "say 2 1203 10074", "say 1 1163 10075", "say 0 1000 10076",
          "say 0 1000 10077"})
        expected.push_back(l);
    EXPECT_EQ(said, expected);
    EXPECT_EQ(sh_only(sh_lines(), {"change_map"}), Lines{"change_map 12 395 233"});
    // The player is free on map 12, the companion parked, the clock running from 6:30.
    EXPECT_EQ(attr_get(1, ATTR_ACTIVE), 0);
    EXPECT_EQ(world_state.current_map, 12);
    EXPECT_EQ(attr_get(0, ATTR_X), 437);
    EXPECT_EQ(attr_get(0, ATTR_Y), 245);
    EXPECT_EQ(obj_get_frame(0), 424);
    EXPECT_EQ(attr_get(0, ATTR_CLICK), 1);
    EXPECT_EQ(attr_get(0, ATTR_SHADOW), 1);
    EXPECT_EQ(attr_get(0, ATTR_LAYER), 3);
    EXPECT_EQ(attr_get(HOUSE_COMPANION, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(HOUSE_COMPANION, ATTR_VAR_A), 1);
    EXPECT_EQ(attr_get(HOUSE_COMPANION, ATTR_X), 7480);
    EXPECT_EQ(attr_get(HOUSE_MEMBER, ATTR_X), 345);
    EXPECT_EQ(attr_get(HOUSE_MEMBER, ATTR_Y), 335);
    EXPECT_EQ(obj_get_frame(HOUSE_MEMBER), 30400);
    EXPECT_EQ(player_record.money, 670);
    EXPECT_NE(acquaint_has(163), 0);
    EXPECT_NE(album_has(0), 0);
    EXPECT_EQ(world_state.frames_per_minute, 900);
    EXPECT_EQ(world_state.hour, 6);
    EXPECT_EQ(world_state.minute, 30);
    EXPECT_EQ(player_record.clock_rate_copy, 900);
}

// ---- The first-day director
// ------------------------------------------------------------------------

class Director : public Household {
  protected:
    void SetUp() override {
        Household::SetUp();
        sh_object(HOUSE_DIRECTOR, {.map = 10, .slot = 5, .layer = 0, .timer = 1});
        sh_object(HOUSE_COMPANION,
                  {.map = 12, .x = 7480, .y = 2491, .frame = 4022, .slot = 7, .active = false});
        sh_object(HOUSE_EVENING_HOST, {.map = 21, .x = 268, .y = 263, .frame = 31450, .slot = 7});
        sh_object(179, {.map = 21, .x = 300, .y = 300, .slot = 7, .active = false});
        sh_object(180, {.map = 21, .x = 320, .y = 300, .slot = 7, .active = false});
        sh_object(HOUSE_EVENING_PROP, {.map = 21, .slot = 7, .active = false});
        for (const s32 o : HOUSE_TEN_OCLOCK) sh_object(o, {.map = 10, .slot = 7, .active = false});
    }
};

TEST_F(Director, KeepsTheBodyTickingAndOpensResidentsAtTen) {
    PlayerRecord& p = player_record;
    p.hp_max = 200;
    p.hp = 250;
    p.stamina = 990;
    p.fatigue = 997;
    p.sleep_need = 998;
    p.fullness = 1;
    sh_clock(9, 59, 2);
    p.last_minute = 59;
    EXPECT_EQ(sh_frames(2), 2); // the director runs every frame; the clock turns to 10:00
    EXPECT_EQ(p.hp, 200);
    EXPECT_EQ(world_state.hour, 10);
    for (const s32 o : HOUSE_TEN_OCLOCK) EXPECT_EQ(attr_get(o, ATTR_ACTIVE), 0) << o;
    EXPECT_EQ(sh_frames(1), 1); // its first run at 10:00
    for (const s32 o : HOUSE_TEN_OCLOCK) EXPECT_EQ(attr_get(o, ATTR_ACTIVE), 1) << o;
    EXPECT_EQ(p.stamina, 1000);
    EXPECT_EQ(p.fatigue, 999);
    EXPECT_EQ(p.sleep_need, 998);
    EXPECT_EQ(p.fullness, 0);
    EXPECT_EQ(p.last_minute, 0);
    EXPECT_EQ(world_state.field_active, 1);
    EXPECT_EQ(attr_get(HOUSE_DIRECTOR, ATTR_TIMER), 1);
}

TEST_F(Director, EndsTheDayWithTheEveningSceneAndTheAssessment) {
    struct Case {
        s32 map;
        const char* first;
    };
    const Case cases[] = {{SH_MAP, "say 0 1000 10700"}, {21, "say 0 1000 10701"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.map);
        if (&c != &cases[0]) { // a fresh world for the next case
            TearDown();
            SetUp();
        }
        if (c.map == 21) sh_player(207, 313, 21);
        PlayerRecord& p = player_record;
        for (s32& s : p.skill) s = 0;
        for (s32& a : p.attr) a = 0;
        p.skill[0] = 30;  // counted
        p.skill[24] = 90; // not counted
        p.attr[0] = 20;
        p.attr[5] = 10;
        p.fame = 1;
        p.money = 1400;
        p.turn_done = 1;
        // 14:59 and one frame a minute: the evening starts on the first frame at 15:00.
        sh_clock(14, 59, 1);
        sh_clear_lines();
        EXPECT_EQ(sh_frames(20), 2);
        EXPECT_EQ(world_state.field_active, 0);
        EXPECT_EQ(p.turn_done, 0);
        const Lines said = sh_only(sh_lines(), {"say", "change_map", "music", "log"});
        const Lines expected = {
            c.first, "change_map 21 207 313", "music 10067 0", "say 1 1000 10702",
            "say 2 1203 10703", "say 1 1000 10704", "say 2 1203 10705", "say_at 178 10706",
            "say_at 178 20047", "say 2 1203 10707", "say 1 1000 10708", "say 2 1203 10709",
            "say 2 1203 10710", "say 1 1000 10711", "say 2 1203 10712", "say 1 1000 10713",
            "music 10023 1", "say 2 1203 10714", "say 2 1203 10715", "say 1 1207 10716",
            // (30 + 20 + 10 + 1) / 25 = 2 and 1400 / 700 = 2: 10 + 4
            "log_number 333 14"};
        EXPECT_EQ(said, expected);
        EXPECT_EQ(p.attr[5], 14);
        EXPECT_EQ(p.music_id, 10067) << "the song does not change the music id";
        EXPECT_EQ(world_state.current_map, 21);
        EXPECT_EQ(obj_get_frame(0), 34082);
        for (const s32 o : {179, 180, HOUSE_EVENING_PROP, HOUSE_COMPANION})
            EXPECT_EQ(attr_get(o, ATTR_ACTIVE), 1) << o;
        EXPECT_EQ(attr_get(HOUSE_EVENING_PROP, ATTR_Y), 36 + 5 * 58);
        EXPECT_EQ(obj_get_frame(HOUSE_EVENING_PROP), 34095);
        EXPECT_EQ(attr_get(HOUSE_DIRECTOR, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(HOUSE_DIRECTOR, ATTR_TIMER_ON), 0);
        EXPECT_EQ(attr_get(HOUSE_DIRECTOR, ATTR_TIMER), 10);
    }
}

TEST(HouseholdAssessment, AddsTheSumAndTheMoneyUpToOneHundred) {
    struct Case {
        s32 attr5, sum, money, result;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {10, 24, 699, 10}, {10, 25, 700, 12}, {50, 1000, 0, 90},
        {0, 0, 99999, 100}, {99, 25, 0, 100},  {100, 0, 0, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(household_assessment(c.attr5, c.sum, c.money), c.result)
            << c.attr5 << " " << c.sum << " " << c.money;
}

// ---- The ranking panel
// ----------------------------------------------------------------------------

TEST_F(Household, RankingPanelPlacesThePlayerAmongTheRoster) {
    for (RosterEntry& r : roster) r = RosterEntry{};
    // Three arts of our own strength (the table is put back at the end).
    const ArtEntry kept[3] = {arts_table[7], arts_table[100], arts_table[351]};
    arts_table[7].power = 10;
    arts_table[100].power = 30;
    arts_table[351].power = 20;
    for (s32 list = 0; list < KNOWN_LISTS; list++)
        for (KnownEntry& e : player_record.known[list]) e = {-1, 0, 0};
    // Nothing known of lists 2-7: best 0, and every fighter with a positive score counts. An art
    // past the arts table counts power 0 instead of being read.
    player_record.known[1][0] = {60, 90, 0}; // list 1 does not count
    player_record.known[8][0] = {60, 90, 0}; // nor list 8
    player_record.known[3][0] = {40, 90, 0}; // nor an id below 50
    roster[10].rank = 1;
    roster[11].art = ARTS_COUNT + 5;
    roster[11].art_level = 50;
    EXPECT_EQ(ranking_best_score(), 0);
    EXPECT_EQ(ranking_place(0), 2);

    // The best of the arts of lists 2-7 (list 2, id 50 is art 100; list 7, id 51 is art 351).
    player_record.known[2][0] = {50, 40, 0};
    player_record.known[7][3] = {51, 80, 0};
    const s32 best = std::max(art_score(100, 40), art_score(351, 80));
    ASSERT_GT(best, 0);
    EXPECT_EQ(ranking_best_score(), best);
    // A fighter exactly at the player's score does not rank above; one point more does.
    roster[10].rank = 0;
    roster[20].art = 7;
    roster[20].art_level = 1;
    roster[20].rank = 0;
    const s32 power = 10;
    roster[21].rank = best / 100 + 1; // 100 x rank above best
    roster[22].rank = 0;
    roster[22].art = 7;
    roster[22].art_level = best / power + 1;
    const s32 above = 2;
    EXPECT_EQ(ranking_fighter_score(21), 100ll * roster[21].rank);
    EXPECT_EQ(ranking_place(best), 1 + above);
    roster[23].rank = best / 100; // at most best: not above
    roster[24].art = 7;
    roster[24].art_level = best / power; // at most best: not above
    EXPECT_EQ(ranking_place(best), 1 + above);
    roster[25].rank = 1;
    roster[25].art = 7;
    roster[25].art_level = (best - 100) / power; // power x level + 100 x rank, at most best
    EXPECT_EQ(ranking_place(best), 1 + above);

    // The panel: picture, label, the place in red, the marker blinking until a click, which is
    // cleared on the way out.
    dialog_record_draws(true);
    sh_clear_lines();
    harness_click(320, 240, 1, at_present(harness_presents() + 3));
    show_ranking();
    EXPECT_EQ(mouse_buttons.peek(), 0u);
    EXPECT_EQ(click_kind.peek(), 0u);
    const Lines draws = sh_only(sh_lines(), {"draw", "print"});
    ASSERT_GE(draws.size(), 4u);
    EXPECT_EQ(draws[0], "draw 895 218 220");
    EXPECT_EQ(draws[1], "print 14908 230 225");
    EXPECT_EQ(draws[2], "print_number " + std::to_string(1 + above) + " 3 326 225");
    EXPECT_EQ(draws[3], "draw 12 398 224");
    arts_table[7] = kept[0];
    arts_table[100] = kept[1];
    arts_table[351] = kept[2];
}

} // namespace
