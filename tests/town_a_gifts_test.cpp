// Town A's quest of the four gifts on the script harness, with the objects as the new game's world
// population makes them: each chain as a walk of clicks and steps (the lines said, the items, the
// stages and the portals shown), the pair that counts the gifts, the trades at their thresholds
// (affection, money, item counts), the three branches of the meeting on map 183, the talk of
// persons 87 and 86, the shots zone that refills every time, and the frames in the placeholder
// archive.
#include "scripts/towns/town_a_director.h"
#include "scripts/towns/town_a_gifts.h"

#include "data/world_population.h"
#include "engine/gisk.h"
#include "engine/world/creators.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/home/player.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/placeholder_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Near the point that the meeting of map 183 walks the player to, so that its walks are short.
constexpr s32 PX = 400;
constexpr s32 PY = 330;

// Every object the quest addresses.
constexpr s32 QUEST_OBJECTS[] = {408, 409, 415, 416, 418, 419, 429, 430, 433, 434, 444,
                                 448, 450, 452, 453, 457, 485, 488, 490, 493, 494, 495,
                                 497, 498, 501, 503, 504, 505, 506, 512, 515, 517, 519};

// A box of a portrait ("1000 25800") or a bubble of an object ("@409 25720").
std::string box(s32 portrait, s32 text) {
    return std::to_string(portrait) + " " + std::to_string(text);
}
std::string P(s32 text) {
    return box(1000, text);
}
std::string B(s32 obj, s32 text) {
    return "@" + std::to_string(obj) + " " + std::to_string(text);
}
// Texts first..last, speakers a and b alternating from a.
Lines alt(s32 first, s32 last, const std::function<std::string(s32)>& a,
          const std::function<std::string(s32)>& b) {
    Lines out;
    for (s32 t = first; t <= last; ++t) out.push_back((t - first) % 2 == 0 ? a(t) : b(t));
    return out;
}
std::function<std::string(s32)> bubble_of(s32 obj) {
    return [obj](s32 t) { return B(obj, t); };
}
std::function<std::string(s32)> portrait(s32 p) {
    return [p](s32 t) { return box(p, t); };
}
Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The boxes and bubbles said since the last clear, as speaker and text.
Lines said() {
    Lines out;
    for (const std::string& l : sh_only(sh_lines(), {"say"})) {
        // "say pos portrait text" / "say_at obj text"
        std::vector<std::string> w;
        size_t i = 0;
        while (i < l.size()) {
            const size_t j = l.find(' ', i);
            w.push_back(l.substr(i, j == std::string::npos ? std::string::npos : j - i));
            if (j == std::string::npos) break;
            i = j + 1;
        }
        if (w[0] == "say" && w.size() == 4)
            out.push_back(w[2] + " " + w[3]);
        else if (w[0] == "say_at" && w.size() == 3)
            out.push_back("@" + w[1] + " " + w[2]);
    }
    return out;
}

s32 stage(s32 obj) {
    return attr_get(obj, ATTR_VAR_A);
}
s32 shown(s32 obj) {
    return attr_get(obj, ATTR_ACTIVE);
}
// The count of an item held (0 when none).
s32 count(s32 item) {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) return e.count;
    return 0;
}

class TownAGifts : public ScriptTest {
  protected:
    void SetUp() override {
        // The presentation that 409 starts at stage 5 moves the player over the maps of the day.
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            world_put_map(b, 102, 2048, 2048, ground, 300);
            for (const s32 map : {103, 193}) world_put_map(b, map, 640, 480, ground, 400);
        });
        scripts_register_all();
        reset();
    }
    // A new game's player at 11:30 beside the quest's objects as the population makes them.
    static void reset() {
        init_player();
        sh_player(PX, PY);
        sh_clock(11, 30);
        // The objects are brought beside the player on the harness map with their timers off, so
        // that only the script fired runs.
        sh_populate(QUEST_OBJECTS);
        s32 dx = 30;
        for (const s32 obj : QUEST_OBJECTS) {
            EXPECT_EQ(attr_get(obj, ATTR_IN_USE), 1) << obj;
            attr_set(obj, ATTR_MAP, SH_MAP);
            attr_set(obj, ATTR_X, PX + dx);
            attr_set(obj, ATTR_Y, PY);
            attr_set(obj, ATTR_TIMER_ON, 0);
            dx += 2;
        }
    }
    // Fires obj; a clicked object first stands beside the player again (a scene may have walked
    // either away).
    static Lines fire(s32 obj, s32 trigger = TRIG_CLICK) {
        if (trigger == TRIG_CLICK) {
            attr_set(obj, ATTR_X, attr_get(0, ATTR_X) + 40);
            attr_set(obj, ATTR_Y, attr_get(0, ATTR_Y));
        }
        sh_clear_lines();
        sh_fire(obj, trigger);
        return said();
    }
    static void give_all_gifts() {
        for (const s32 item : GIFT_ITEMS) inv_add(item, 1);
    }
};

// ---- The chains --------------------------------------------------------------------------------

struct Step {
    s32 obj;
    s32 trigger;
    Lines lines;
};

TEST_F(TownAGifts, EachChainLeadsFromItsFirstTalkToItsGift) {
    struct Chain {
        const char* name;
        std::function<void()> given;
        std::vector<Step> steps;
        std::function<void()> then;
    };
    const std::vector<Chain> chains = {
        {"item 2383: 415 sends the player to 450, 450 to 448, who trades ten 1219 for 2380",
         [] {
             script_set_stage(415, 1);
             inv_add(1219, 10);
         },
         {{415, TRIG_CLICK, {P(25660), B(415, 25661), P(25662), B(415, 25663)}},
          {450, TRIG_CLICK,
           alt(25664, 25678, portrait(1000), bubble_of(450)) + Lines{B(450, 25695), P(25696)}},
          {448, TRIG_CLICK, alt(16560, 16574, portrait(1000), bubble_of(448))},
          {448, TRIG_CLICK, {P(16576), B(448, 16577), P(16578)}},
          {450, TRIG_CLICK, alt(25680, 25685, portrait(1000), bubble_of(450))}},
         [] {
             EXPECT_EQ(count(2383), 1);
             EXPECT_EQ(count(2380), 0);
             EXPECT_EQ(count(1219), 0);
             EXPECT_EQ(stage(415), 0);
             EXPECT_EQ(stage(450), 3);
             EXPECT_EQ(stage(448), 4);
             EXPECT_EQ(shown(515), 0);
         }},
        {"item 2386: the gossips show zone 503, which sends 505 on, who gives the gift",
         [] {
             script_set_stage(429, 1);
             script_set_stage(430, 1);
             attr_set(503, ATTR_ACTIVE, 0);
             attr_set(517, ATTR_ACTIVE, 0);
         },
         {{430,
           TRIG_CLICK,
           {B(429, 25756), B(430, 25757), B(429, 25758), P(25759), B(430, 25760), P(25761),
            B(429, 25762), P(25763), B(430, 25764), P(25765)}},
          {503, TRIG_STEP, {P(25766)}},
          {505, TRIG_CLICK,
           alt(25767, 25773, portrait(1000), bubble_of(505)) +
               alt(25774, 25777, portrait(1000), bubble_of(505))}},
         [] {
             EXPECT_EQ(count(2386), 1);
             EXPECT_EQ(stage(505), 2);
             EXPECT_EQ(stage(429), 0);
             EXPECT_EQ(stage(430), 0);
             EXPECT_EQ(shown(503), 0);
             EXPECT_EQ(shown(517), 1);
         }},
        {"the road to map 194: 416 opens portal 488, the meeting sets the traders on, 2382 "
         "becomes 2381, which person 132 takes to open portal 501",
         [] {
             script_set_stage(416, 1);
             inv_add(2382, 1);
         },
         {{416, TRIG_CLICK, alt(25687, 25693, portrait(1000), bubble_of(416))},
          {495,
           TRIG_STEP,
           {box(1087, 25630), B(493, 25631), box(1087, 25632), P(25633), box(1087, 25634), P(25635),
            box(1132, 25636), B(493, 25637), P(25646), B(493, 25647), P(25648), box(1132, 25649),
            P(25650), box(1132, 25651), P(25652), box(1087, 25653)}},
          {419,
           TRIG_CLICK,
           {B(418, 25722), B(419, 25723), B(418, 25724), P(25725), B(418, 25726), P(25727),
            B(418, 25728), B(419, 25729), B(418, 25730), B(419, 25731), B(418, 25732)}},
          {418, TRIG_CLICK, {B(418, 25733), P(25737), B(418, 25738), B(419, 25739)}},
          {490, TRIG_CLICK, {P(25740), box(1132, 25741), P(25742), box(1087, 25843)}}},
         [] {
             EXPECT_EQ(shown(488), 1);
             EXPECT_EQ(shown(495), 0);
             EXPECT_EQ(stage(418), 0);
             EXPECT_EQ(stage(419), 0);
             EXPECT_EQ(count(2381), 0);
             EXPECT_EQ(count(2382), 0);
             EXPECT_EQ(count(2200), 300);
             EXPECT_EQ(count(2210), 1);
             EXPECT_EQ(shown(501), 1);
             EXPECT_EQ(shown(497), 0);
             EXPECT_EQ(shown(457), 0);
             EXPECT_EQ(stage(490), 1);
         }},
        {"item 1237 given by person 118, fond of the player, from 11:00",
         [] { player_record.affection[118] = 50; },
         {{452,
           TRIG_CLICK,
           {P(16540), box(1118, 16541), P(16542), box(1118, 16543), P(16544), box(1118, 16539),
            P(16538)}},
          {452, TRIG_CLICK,
           Lines{box(1118, 16545)} + alt(16580, 16586, portrait(1000), portrait(1118))},
          {452, TRIG_CLICK, {box(1118, 16545)}}},
         [] {
             EXPECT_EQ(count(1275), 1);
             EXPECT_EQ(count(1237), 1);
             EXPECT_EQ(stage(452), 2);
         }},
        {"the four gifts to 409, the two of map 113 send the player to 444, whose find is item "
         "2384",
         [] {
             give_all_gifts();
             script_set_stage(408, 4);
             script_set_stage(409, 4);
             attr_set(409, ATTR_ACTIVE, 1);
         },
         {{409,
           TRIG_CLICK,
           {P(25800), B(408, 25801), B(409, 25802), P(25803), B(408, 25804), B(409, 25805),
            B(408, 25806), box(1087, 25807), P(25808), box(1087, 25809), P(25810)}},
          {434,
           TRIG_CLICK,
           {B(433, 25814), B(434, 25815), B(433, 25816), B(434, 25817), P(25818), B(433, 25819),
            P(25820), B(434, 25821), P(25822), B(433, 25823), P(25824)}},
          {444, TRIG_CLICK, {B(444, 25827), P(25828), B(444, 25829)}},
          {519, TRIG_CLICK, {P(16601)}},
          {433, TRIG_CLICK, {B(433, 25825)}},
          {434, TRIG_CLICK, {B(434, 25826)}}},
         [] {
             for (const s32 item : GIFT_ITEMS) EXPECT_EQ(count(item), 0) << item;
             EXPECT_EQ(count(2384), 1);
             EXPECT_EQ(stage(408), 5);
             EXPECT_EQ(stage(409), 5);
             EXPECT_EQ(stage(433), 2);
             EXPECT_EQ(stage(434), 2);
             EXPECT_EQ(stage(444), 2);
             EXPECT_EQ(shown(519), 0);
         }},
    };
    for (const Chain& c : chains) {
        SCOPED_TRACE(c.name);
        reset();
        c.given();
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            EXPECT_EQ(fire(c.steps[i].obj, c.steps[i].trigger), c.steps[i].lines);
        }
        c.then();
    }
}

// ---- Thresholds and branches -------------------------------------------------------------------

TEST_F(TownAGifts, The409CountsTheFourGiftsAndKeepsThemAllWhenOneIsMissing) {
    for (const s32 missing : GIFT_ITEMS) {
        SCOPED_TRACE(missing);
        reset();
        script_set_stage(409, 4);
        attr_set(409, ATTR_ACTIVE, 1);
        for (const s32 item : GIFT_ITEMS)
            if (item != missing) inv_add(item, 1);
        EXPECT_EQ(fire(409), Lines{B(409, 25720)});
        for (const s32 item : GIFT_ITEMS) EXPECT_EQ(count(item), item == missing ? 0 : 1);
        EXPECT_EQ(stage(408), 0);
        EXPECT_EQ(stage(409), 4);
        EXPECT_EQ(stage(433), 0);
    }
    // A gift held twice: one of each is taken.
    reset();
    script_set_stage(409, 4);
    attr_set(409, ATTR_ACTIVE, 1);
    give_all_gifts();
    inv_add(2385, 1);
    fire(409);
    EXPECT_EQ(count(2385), 1);
    EXPECT_EQ(count(1237), 0);
}

TEST_F(TownAGifts, The409AtStageFiveWithoutTheGiftOnlyAsksForIt) {
    script_set_stage(409, 5);
    attr_set(409, ATTR_ACTIVE, 1);
    EXPECT_EQ(fire(409), Lines{P(25811)});
    // With the gift the presentation takes over: the gift given, the day decided, the walk over;
    // 409 says nothing of its own.
    inv_add(GIFT_PRESENTATION_ITEM, 1);
    world_state.field_active = 1;
    const Lines with = fire(409);
    EXPECT_EQ(std::count(with.begin(), with.end(), P(25811)), 0);
    EXPECT_EQ(count(GIFT_PRESENTATION_ITEM), 0);
    EXPECT_NE(player_record.story_flags[TOWN_A_OUTCOME_FLAG], 0);
    EXPECT_EQ(world_state.field_active, 0);
}

TEST_F(TownAGifts, Person118SellsTheGiftForAThousandWhenNotFondOfThePlayer) {
    struct Case {
        const char* name;
        s32 stage, hour, money;
        Lines lines;
        s32 next_stage, gift, money_after;
    };
    const std::vector<Case> cases = {
        {"first talk", 0, 10, 0, {P(16540), box(1118, 16546), P(16547), box(1118, 16548)}, 1, 0, 0},
        {"stage 1 before 11:00: the short line, the stage stays",
         1,
         10,
         0,
         {box(1118, 16549)},
         1,
         0,
         0},
        {"stage 1 from 11:00: the price is named", 1, 11, 0,
         Lines{box(1118, 16549)} + alt(16588, 16597, portrait(1000), portrait(1118)), 3, 0, 0},
        {"999 money: refused, again and again", 3, 12, 999, {box(1118, 16598)}, 3, 0, 999},
        {"1000 money: sold", 3, 12, 1000, {P(16599), box(1118, 16600)}, 4, 1, 0},
        {"after the sale", 4, 12, 0, {box(1118, 16549)}, 4, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        player_record.affection[118] = 49;
        player_record.money = c.money;
        sh_clock(c.hour, 0);
        script_set_stage(452, c.stage);
        EXPECT_EQ(fire(452), c.lines);
        EXPECT_EQ(stage(452), c.next_stage);
        EXPECT_EQ(count(1237), c.gift);
        EXPECT_EQ(player_record.money, c.money_after);
        EXPECT_EQ(count(1275), 0);
    }
}

TEST_F(TownAGifts, The448TradesOnlyForTenOfItem1219) {
    for (const s32 held : {9, 10, 11}) {
        SCOPED_TRACE(held);
        reset();
        script_set_stage(448, 3);
        inv_add(1219, held);
        const bool trades = held >= 10;
        const Lines expected =
            trades ? Lines{P(16576), B(448, 16577), P(16578)} : Lines{B(448, 16575)};
        EXPECT_EQ(fire(448), expected);
        EXPECT_EQ(count(1219), trades ? held - 10 : held);
        EXPECT_EQ(count(2380), trades ? 1 : 0);
        EXPECT_EQ(stage(448), trades ? 4 : 3);
        EXPECT_EQ(shown(515), trades ? 0 : 1);
    }
}

TEST_F(TownAGifts, TheMeetingOnMap183OpensTheWayOnlyForAFriendOfPerson132) {
    const Lines scene = {box(1087, 25630), B(493, 25631), box(1087, 25632), P(25633),
                         box(1087, 25634), P(25635),      box(1132, 25636), B(493, 25637)};
    struct Case {
        const char* name;
        bool acquainted;
        s32 affection;
        Lines after_scene;
        bool opens;
    };
    const std::vector<Case> cases = {
        {"not acquainted",
         false,
         90,
         {P(25646), B(493, 25647), P(25648), box(1132, 25649), P(25650), box(1132, 25651), P(25652),
          box(1087, 25653)},
         false},
        {"acquainted, affection 59",
         true,
         59,
         {P(25638), box(1132, 25639), P(25640), box(1132, 25641), P(25642), box(1132, 25643),
          P(25644), box(1087, 25653)},
         false},
        {"acquainted, affection 60",
         true,
         60,
         {P(25638), box(1132, 25639), P(25640), box(1132, 25645), box(1087, 25657),
          box(1132, 25658), P(25659)},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        if (c.acquainted) acquaint_add(132, 0);
        player_record.affection[132] = c.affection;
        EXPECT_EQ(fire(495, TRIG_STEP), scene + c.after_scene);
        EXPECT_EQ(shown(495), 0);
        EXPECT_EQ(stage(418), 1);
        EXPECT_EQ(stage(419), 1);
        EXPECT_EQ(shown(501), c.opens ? 1 : 0);
        EXPECT_EQ(shown(497), c.opens ? 0 : 1);
        EXPECT_EQ(shown(457), c.opens ? 0 : 1);
        EXPECT_EQ(stage(490), c.opens ? 1 : 0);
        EXPECT_EQ(count(2200), c.opens ? 300 : 0);
        EXPECT_EQ(count(2214), c.opens ? 1 : 0);
    }
}

TEST_F(TownAGifts, Person132WithoutItem2381KeepsTheWayShut) {
    EXPECT_EQ(fire(490), Lines{box(1132, 25655)});
    EXPECT_EQ(stage(490), 0);
    EXPECT_EQ(shown(501), 0);
}

TEST_F(TownAGifts, The450TalkedToBefore11IsStillMovedOnBy415) {
    sh_clock(10, 20);
    EXPECT_EQ(fire(450), alt(25985, 25992, bubble_of(450), portrait(1000)));
    EXPECT_EQ(stage(450), 4);
    EXPECT_EQ(fire(450), Lines{B(450, 25993)});
    sh_clock(11, 40);
    script_set_stage(415, 1);
    fire(415);
    EXPECT_EQ(stage(450), 1);
    EXPECT_EQ(stage(415), 0);
    EXPECT_EQ(fire(450).front(), P(25664));
    EXPECT_EQ(stage(450), 2);
    EXPECT_EQ(stage(448), 2);
    // Without item 2380 the trade waits.
    EXPECT_EQ(fire(450), Lines{B(450, 25679)});
    EXPECT_EQ(stage(450), 2);
}

TEST_F(TownAGifts, Persons87And86ShareOneTalkWhoseEndingFollowsTheEarlierEpisodes) {
    const Lines middle = {box(1087, 16500), box(1086, 16502), box(1087, 16503), P(16504)};
    struct Case {
        const char* name;
        s32 clicked;
        s32 flag96, flag85;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"457 clicked, neither episode won", 457, 0, 0,
         Lines{P(16499)} + middle + Lines{box(1086, 16507), P(16530), box(1086, 16528), P(16529)}},
        {"485 clicked, the episode of map 67 won", 485, 0, 1,
         Lines{P(16501)} + middle +
             Lines{box(1086, 16506), P(16516), box(1086, 16517), box(1087, 16518), box(1086, 16519),
                   P(16520), box(1087, 16521), box(1086, 16522), box(1087, 16523), box(1086, 16528),
                   P(16529)}},
        {"the quiz won comes first", 457, 1, 1,
         Lines{P(16499)} + middle +
             Lines{box(1086, 16505), P(16508), box(1086, 16509), box(1087, 16510), box(1086, 16511),
                   P(16512), box(1086, 16513), P(16514)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        player_record.story_flags[96] = c.flag96;
        player_record.story_flags[85] = c.flag85;
        EXPECT_EQ(fire(c.clicked), c.lines);
        EXPECT_EQ(stage(457), 1);
        EXPECT_EQ(stage(485), 1);
        EXPECT_EQ(fire(457), Lines{box(1087, 16534)});
        EXPECT_EQ(fire(485), Lines{box(1086, 16528)});
    }
    // After 11:00: 485 at stage 2 has its own talk and returns to 1; 457 at 2 and 4.
    reset();
    script_set_stage(485, 2);
    script_set_stage(457, 2);
    EXPECT_EQ(fire(485), (Lines{box(1086, 16531), P(16532), box(1086, 16533)}));
    EXPECT_EQ(stage(485), 1);
    EXPECT_EQ(stage(457), 2);
    EXPECT_EQ(fire(457), Lines{box(1087, 25653)});
    script_set_stage(457, 4);
    EXPECT_EQ(fire(457), Lines{box(1087, 25813)});
}

// Kept as the town has it: the zone before the target gate gives 300 shots each time the player
// has none, however often that is.
TEST_F(TownAGifts, TheShotsZoneGivesThreeHundredEachTimeThePlayerHasNone) {
    const Lines fetched = {P(25747), box(1087, 25748)};
    EXPECT_EQ(fire(GIFTS_SHOTS_ZONE_OBJ, TRIG_STEP), fetched);
    EXPECT_EQ(count(GIFT_SHOTS_ITEM), 300);
    EXPECT_EQ(fire(GIFTS_SHOTS_ZONE_OBJ, TRIG_STEP), Lines{P(25746)});
    EXPECT_EQ(count(GIFT_SHOTS_ITEM), 300);
    inv_remove(GIFT_SHOTS_ITEM, 300);
    EXPECT_EQ(fire(GIFTS_SHOTS_ZONE_OBJ, TRIG_STEP), fetched);
    EXPECT_EQ(count(GIFT_SHOTS_ITEM), 300);
    EXPECT_EQ(shown(GIFTS_SHOTS_ZONE_OBJ), 1);
}

// The pair's idle cycles act at one stage each and re-arm at every other, so that the idle goes
// on when the stage comes back.
TEST_F(TownAGifts, ThePairIdlesOnlyAtItsWaitingStageButKeepsItsTimer) {
    struct Case {
        s32 obj, stage, frame, next_frame;
    };
    const Case cases[] = {
        {408, 9, 38466, 38467},
        {408, 4, 21097, 21097},
        {409, 0, 38458, 38460},
        {409, 5, 38302, 38302},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.obj) + " at stage " + std::to_string(c.stage));
        script_set_stage(c.obj, c.stage);
        attr_set(c.obj, ATTR_FRAME, c.frame);
        attr_set(c.obj, ATTR_TIMER, 0);
        sh_fire(c.obj, TRIG_TIMER);
        EXPECT_EQ(attr_get(c.obj, ATTR_FRAME), c.next_frame);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), 8);
    }
}

// ---- The real field loop -----------------------------------------------------------------------

// The found gift of map 102 (a click area on layer 0, as the population makes it), shown by the
// finder's talk and clicked by real input on the real field loop.
class TownAGiftsByClick : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start_placeholder_world();
        dialog_transcript_mode();
        init_player();
        for (size_t i = 0; i < world_population_towns_count; ++i)
            if (world_population_towns[i].obj == GIFTS_FOUND_GIFT_OBJ)
                world_rows_run(&world_population_towns[i], 1);
        make_player(MAP, GIFT_X - 60, GIFT_Y, PLAYER_SCRIPT_SLOT, 0);
        world_place_player(MAP, GIFT_X - 60, GIFT_Y);
        player_record.music_id = -1;
        sh_clock(12, 0);
        // Ends the loop once the gift has been taken.
        const s32 watcher = world_script([] {
            attr_set(WATCHER, ATTR_TIMER, 1);
            if (inv_has(GIFT_PRESENTATION_ITEM) != 0) world_state.field_active = 0;
        });
        world_place_object(WATCHER, MAP, 0, 0, 0, watcher, 0);
        world_arm_timer(WATCHER, 1, true);
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    static constexpr s32 MAP = 102;
    static constexpr s32 GIFT_X = 4419, GIFT_Y = 1133;
    static constexpr s32 WATCHER = 4000;
    HarnessTempDir dir;
};

TEST_F(TownAGiftsByClick, TheFoundGiftIsTakenByAClick) {
    ASSERT_EQ(attr_get(GIFTS_FOUND_GIFT_OBJ, ATTR_LAYER), 0);
    attr_set(GIFTS_FOUND_GIFT_OBJ, ATTR_ACTIVE, 1); // what the finder's talk does
    world_click_map(GIFT_X, GIFT_Y - PLACEHOLDER_FIGURE_H / 2);
    const WorldRun run = world_run_field(200);
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.watchdog);
    EXPECT_EQ(count(GIFT_PRESENTATION_ITEM), 1);
    EXPECT_EQ(shown(GIFTS_FOUND_GIFT_OBJ), 0);
    Lines lines;
    for (const std::string& l : dialog_lines())
        if (l.starts_with("say")) lines.push_back(l);
    EXPECT_EQ(lines, Lines{"say 3 1000 16601"});
}

// ---- Placeholders
// --------------------------------------------------------------------------------

TEST(TownAGiftsPlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(town_a_gifts_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
