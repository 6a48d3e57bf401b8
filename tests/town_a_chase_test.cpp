// Town A's northern side story on the script harness, with its objects as the new game's
// population makes them: the seller's sale by money, the step zone of map 102 through its three
// slots with the passage of map 121 opening in the story's order, the duel by affection, choice
// and battle result (and played again, as the zone stays), and the talks of the people along the
// way as one case table.
#include "scripts/towns/town_a_chase.h"

#include "data/roster.h"
#include "data/world_population.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/world_rows.h"
#include "scripts/scripts_register.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 SELLER = CHASE_SELLER_OBJ;
constexpr s32 ITEM = CHASE_SELLER_ITEM;
constexpr s32 ZONE = CHASE_ZONE_OBJ;
constexpr s32 DUEL_ZONE = 478;
constexpr s32 PERSON_121 = 121;

// The objects of the story, as the population creates them.
const std::set<s32> STORY_OBJECTS = {405, 411, 412, 413, 422, 423, 465, 466, 468,
                                     470, 472, 473, 474, 475, 476, 477, 478, 479};

const std::string TOO_FAR = "label 0 10000 -112 -108 2000";

// A distance straight below an object that the engine's square root measures as exactly d.
s32 below_at(s32 d) {
    for (s32 dy = d; dy < d + 16; ++dy)
        if (isqrt(u32(dy * dy)) == d) return dy;
    return d;
}
// The nearest distance straight below an object that the engine measures as farther than limit.
s32 below_past(s32 limit) {
    s32 dy = limit;
    while (isqrt(u32(dy * dy)) <= limit && dy < limit + 64) ++dy;
    return dy;
}

s32 held(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

class TownAChase : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            world_put_map(b, 102, 4096, 2560, ground, 300);
            world_put_map(b, 121, 640, 480, ground, 300);
            world_put_map(b, 190, 640, 480, ground, 300);
        });
        scripts_register_all();
        reset();
    }
    static void reset() {
        init_player();
        sh_populate(std::vector<s32>(STORY_OBJECTS.begin(), STORY_OBJECTS.end()));
        sh_player(3700, 2240, 102);
    }
    static Lines fire(s32 obj, s32 trigger) {
        sh_clear_lines();
        sh_fire(obj, trigger);
        return sh_only(sh_lines(), {"say", "choose", "label"});
    }
    static s32 active(s32 obj) { return attr_get(obj, ATTR_ACTIVE); }
    static s32 slot(s32 obj) { return attr_get(obj, ATTR_EVENT); }
    // The player a little below right of obj, on its map.
    static void near(s32 obj) {
        sh_player(attr_get(obj, ATTR_X) + 20, attr_get(obj, ATTR_Y) + 20, attr_get(obj, ATTR_MAP));
    }
};

// ---- The seller ------------------------------------------------------------------------------

TEST_F(TownAChase, TheSellerSellsForAHundredAndGivesMoneyWithoutTheItemBelowIt) {
    struct Case {
        const char* name;
        s32 money;
        s32 answer;
        Lines lines;
        s32 money_after;
        s32 items;
        s32 stage;
    };
    const std::string offer = "choose 3 1000 46352 46353";
    const Case cases[] = {
        {"99: given 1000",
         99,
         0,
         {sh_bubble(SELLER, 46351), offer + " -> 0", sh_bubble(SELLER, 46356)},
         1099,
         0,
         1},
        {"100: sold",
         100,
         0,
         {sh_bubble(SELLER, 46351), offer + " -> 0", sh_bubble(SELLER, 25735),
          sh_box(2, 1000, 25736)},
         0,
         1,
         1},
        {"declined",
         500,
         1,
         {sh_bubble(SELLER, 46351), offer + " -> 1", sh_box(2, 1000, 46355)},
         500,
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        player_record.money = c.money;
        sh_answers({c.answer});
        EXPECT_EQ(fire(SELLER, TRIG_CLICK), c.lines);
        EXPECT_EQ(player_record.money, c.money_after);
        EXPECT_EQ(held(ITEM), c.items);
        EXPECT_EQ(attr_get(SELLER, ATTR_VAR_A), c.stage);
    }
}

TEST_F(TownAChase, TheSellersTimerShowsItsFrameByStage) {
    const std::pair<s32, s32> frames[] = {
        {0, -21242}, {1, -21242}, {2, -21244}, {5, -21244}, {6, 21240}};
    for (const auto& [stage, frame] : frames) {
        SCOPED_TRACE(stage);
        attr_set(SELLER, ATTR_VAR_A, stage);
        obj_set_frame(SELLER, 21240);
        fire(SELLER, TRIG_TIMER);
        EXPECT_EQ(obj_get_frame(SELLER), frame);
        EXPECT_EQ(attr_get(SELLER, ATTR_TIMER), 8);
    }
}

// ---- Zone 470, the chase and the passage -----------------------------------------------------

TEST_F(TownAChase, TheNorthernZoneTakesItsThreeSlotsAndThePassageOpensInTheStorysOrder) {
    const auto hidden = [](std::initializer_list<s32> objs) {
        for (const s32 o : objs) EXPECT_EQ(active(o), 0) << "object " << o;
    };
    const auto shown = [](std::initializer_list<s32> objs) {
        for (const s32 o : objs) EXPECT_EQ(active(o), 1) << "object " << o;
    };
    ASSERT_EQ(slot(ZONE), CHASE_SLOT_FALL);
    shown({ZONE, 411, 412, 413});
    hidden({465, 466, 468, 422, 423, 472, 473, 474, 477});

    // The fall: the whole talk around the key loop, with its sound once.
    near(ZONE);
    const Lines fall{sh_bubble(411, 58290),  sh_box(2, 1121, 58291), sh_bubble(411, 58292),
                     sh_box(2, 1121, 58293), sh_box(2, 1121, 58294), "sound 698 1",
                     sh_bubble(411, 58300),  sh_bubble(411, 58301),  sh_bubble(411, 58302),
                     sh_box(2, 1121, 58303), sh_bubble(411, 58304),  sh_box(3, 1000, 58310),
                     sh_box(2, 1121, 58311), sh_box(3, 1000, 58312), sh_box(2, 1121, 58313),
                     sh_box(2, 1122, 58360), sh_box(3, 1000, 58361), sh_box(2, 1122, 58362),
                     sh_box(3, 1000, 58363), sh_box(2, 1122, 58364), sh_box(3, 1000, 58365)};
    fire(ZONE, TRIG_STEP);
    EXPECT_EQ(sh_only(sh_lines(), {"say", "sound"}), fall);
    hidden({ZONE, 465, 466});
    shown({468});
    EXPECT_EQ(obj_get_frame(468), 37935);
    EXPECT_EQ(attr_get(468, ATTR_Z), 15) << "down 15 a step from 120 over seven steps";
    EXPECT_EQ(attr_get(466, ATTR_X), 3671);
    EXPECT_EQ(attr_get(466, ATTR_Y), 2260);
    EXPECT_EQ(attr_get(0, ATTR_X), 2620);
    EXPECT_EQ(attr_get(0, ATTR_Y), 597);

    // The fallen object brings person 122 and the pair, and moves the seller on.
    near(468);
    EXPECT_EQ(fire(468, TRIG_CLICK), Lines{sh_box(3, 1000, 58358)});
    hidden({468});
    shown({466, 422, 423});
    EXPECT_EQ(attr_get(SELLER, ATTR_VAR_A), 2);
    EXPECT_EQ(obj_get_frame(SELLER), 21240);

    // The seller gives the zone the chase and sends the watchers home.
    EXPECT_EQ(fire(SELLER, TRIG_CLICK),
              (Lines{sh_box(2, 1000, 58410), sh_box(2, 1000, 58411), sh_box(2, 1000, 58412)}));
    EXPECT_EQ(slot(ZONE), CHASE_SLOT_CHASE);
    shown({ZONE});
    hidden({411, 412, 413});
    EXPECT_EQ(fire(SELLER, TRIG_CLICK), Lines{sh_box(3, 1000, 58409)});
    EXPECT_EQ(held(ITEM), 1);
    EXPECT_EQ(fire(SELLER, TRIG_CLICK), Lines{sh_box(3, 1000, 58410)});
    EXPECT_EQ(held(ITEM), 1);
    EXPECT_EQ(attr_get(SELLER, ATTR_VAR_A), 4);

    // The chase: 465 runs off and waits on map 190; spot 473 of map 121 appears.
    EXPECT_EQ(fire(ZONE, TRIG_STEP), Lines{sh_box(3, 1000, 25624)});
    EXPECT_EQ(slot(ZONE), CHASE_SLOT_REMARK);
    hidden({ZONE, 472, 474, 477});
    shown({465, 473});
    EXPECT_EQ(attr_get(465, ATTR_MAP), 190);
    EXPECT_EQ(obj_get_frame(465), -38002);

    // 473 shows 472 once; 472 opens the passage only on its first option.
    EXPECT_EQ(fire(473, TRIG_CLICK), Lines{sh_box(2, 1000, 58422)});
    shown({472});
    EXPECT_EQ(fire(473, TRIG_CLICK), Lines{sh_box(2, 1000, 58422)});
    const Lines ask{sh_box(2, 1000, 58430), "choose 2 1000 58431 58432 -> 1"};
    sh_answers({1});
    EXPECT_EQ(fire(472, TRIG_CLICK), ask);
    shown({472});
    hidden({474, 477});
    sh_answers({0});
    fire(472, TRIG_CLICK);
    hidden({472});
    shown({474, 476, 477});

    // Its last slot says the remark when stepped against, and nothing on a click.
    EXPECT_EQ(fire(ZONE, TRIG_STEP), Lines{sh_box(2, 1000, 25625)});
    EXPECT_EQ(fire(ZONE, TRIG_CLICK), Lines{});
}

// ---- The duel --------------------------------------------------------------------------------

TEST_F(TownAChase, TheDuelByAffectionChoiceAndResultWritesTheFlagAndHealsBothFighters) {
    constexpr s32 NO_CHOICE = -1;
    struct Case {
        s32 affection;
        s32 answer; // NO_CHOICE: no choice is offered
        s32 result; // the battle's result when fought
        bool fought;
        s32 flag;
    };
    const Case cases[] = {
        {79, NO_CHOICE, 0, true, 1}, {79, NO_CHOICE, 1, true, 1}, {80, 0, 0, true, 1},
        {80, 0, 1, true, 1},         {80, 1, 1, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("affection " + std::to_string(c.affection) + " answer " +
                     std::to_string(c.answer) + " result " + std::to_string(c.result));
        reset();
        attr_set(465, ATTR_MAP, 190);
        attr_set(465, ATTR_ACTIVE, 1);
        sh_player(400, 320, 190);
        player_record.affection[PERSON_121] = c.affection;
        player_record.hp_max = 300;
        player_record.hp = 300;
        roster[PERSON_121].hp_max = 400;
        roster[PERSON_121].hp = 400;
        sh_battle_results({c.result});
        sh_on_call("battle", [] {
            player_record.hp = 1;
            roster[PERSON_121].hp = 1;
        });
        if (c.answer != NO_CHOICE) sh_answers({c.answer});
        sh_clear_calls();
        const Lines lines = fire(DUEL_ZONE, TRIG_STEP);
        const auto said = [&](const std::string& l) {
            return std::count(lines.begin(), lines.end(), l);
        };

        EXPECT_EQ(player_record.story_flags[CHASE_DUEL_FLAG], c.flag);
        EXPECT_EQ(player_record.affection[PERSON_121], c.affection - (c.fought ? 20 : 0));
        EXPECT_EQ(said(sh_box(2, 1121, 58472)), c.answer == NO_CHOICE ? 1 : 0);
        EXPECT_EQ(said("choose 2 1000 58458 58459 -> " + std::to_string(c.answer)),
                  c.answer == NO_CHOICE ? 0 : 1);
        if (c.fought) {
            EXPECT_EQ(sh_calls(), Lines{"battle 79 -> " + std::to_string(c.result)});
            EXPECT_EQ(player_record.hp, player_record.hp_max);
            EXPECT_EQ(roster[PERSON_121].hp, 400);
            EXPECT_EQ(said(sh_box(2, 1121, c.result == 0 ? 58474 : 58473)), 1);
            // Without the choice three parting lines take the other side.
            const s32 side = c.answer == NO_CHOICE ? 3 : 2;
            EXPECT_EQ(said(sh_box(side, 1122, 58509)), 1);
            EXPECT_EQ(said(sh_box(5 - side, 1000, 58510)), 1);
            EXPECT_EQ(said(sh_box(2, 1122, 58512)), 1);
            EXPECT_EQ(attr_get(0, ATTR_X), 2848);
            EXPECT_EQ(attr_get(0, ATTR_Y), 851);
            EXPECT_EQ(active(465), 0);
        } else {
            EXPECT_TRUE(sh_calls().empty());
            EXPECT_EQ(lines.back(), sh_box(3, 1000, 58460));
            EXPECT_EQ(attr_get(0, ATTR_X), 2825);
            EXPECT_EQ(attr_get(0, ATTR_Y), 840);
        }
        EXPECT_EQ(world_state.current_map, 102);
        EXPECT_EQ(obj_get_frame(0), 424);
        EXPECT_EQ(slot(479), CHASE_SLOT_REMARK);
        EXPECT_EQ(active(466), 0);
        EXPECT_EQ(active(ZONE), 1);
        EXPECT_EQ(attr_get(ZONE, ATTR_BLOCK), 1);
        EXPECT_EQ(active(DUEL_ZONE), 1) << "the duel's zone stays";
    }
    // 479 says the remark when stepped against, not when clicked.
    EXPECT_EQ(fire(479, TRIG_STEP), Lines{sh_box(2, 1000, 25625)});
    EXPECT_EQ(fire(479, TRIG_CLICK), Lines{});
}

TEST_F(TownAChase, TheDuelWithoutTheChoiceSaysEveryLineOnItsSide) {
    player_record.affection[PERSON_121] = 10;
    sh_player(400, 320, 190);
    sh_battle_results({1});
    Lines expected{sh_bubble(DUEL_ZONE, 58445), sh_box(2, 1121, 58450)};
    for (s32 t = 58451; t <= 58455; ++t)
        expected.push_back(t % 2 == 1 ? sh_box(2, 1000, t) : sh_box(3, 1121, t));
    for (const s32 t : {58472, 58470}) expected.push_back(sh_box(2, 1121, t));
    expected.push_back(sh_box(3, 1000, 58471));
    expected.push_back(sh_box(2, 1121, 58473));
    expected.push_back(sh_box(2, 1122, 58475));
    for (const s32 t : {58480, 58481, 58482, 58483, 58484, 58485, 58486, 58487, 58489, 58490}) {
        const bool by_121 =
            t == 58480 || t == 58482 || t == 58484 || t == 58485 || t == 58487 || t == 58490;
        expected.push_back(by_121 ? sh_box(2, 1121, t) : sh_box(1, 1122, t));
    }
    for (s32 t = 58500; t <= 58508; ++t)
        expected.push_back(t % 2 == 0 ? sh_box(2, 1122, t) : sh_box(3, 1000, t));
    for (const std::string& l :
         {sh_box(3, 1122, 58509), sh_box(2, 1000, 58510), sh_box(3, 1122, 58511),
          sh_box(2, 1122, 58512), sh_box(3, 1000, 58513)})
        expected.push_back(l);
    EXPECT_EQ(fire(DUEL_ZONE, TRIG_STEP), expected);
}

TEST_F(TownAChase, SteppingOnTheDuelsZoneAgainFightsAgainAndOverwritesTheFlag) {
    player_record.affection[PERSON_121] = 90;
    sh_player(400, 320, 190);
    sh_answers({1});
    fire(DUEL_ZONE, TRIG_STEP);
    ASSERT_EQ(player_record.story_flags[CHASE_DUEL_FLAG], 2);
    sh_player(400, 320, 190);
    sh_answers({0});
    fire(DUEL_ZONE, TRIG_STEP);
    EXPECT_EQ(player_record.story_flags[CHASE_DUEL_FLAG], 1);
    EXPECT_EQ(player_record.affection[PERSON_121], 70);
    sh_player(400, 320, 190);
    fire(DUEL_ZONE, TRIG_STEP); // now below 80: no choice
    EXPECT_EQ(player_record.story_flags[CHASE_DUEL_FLAG], 1);
    EXPECT_EQ(player_record.affection[PERSON_121], 50);
}

// ---- The people along the way ----------------------------------------------------------------

TEST_F(TownAChase, EachTalkSaysItsStageAndLeavesItsState) {
    struct Case {
        const char* name;
        s32 obj;
        s32 stage;
        s32 dx, dy; // the player's place from the object
        Lines lines;
        s32 next_stage;
    };
    const Lines pair{sh_bubble(422, 58380), sh_bubble(423, 58381), sh_bubble(423, 58382),
                     sh_bubble(422, 58383), sh_bubble(423, 58384)};
    // Below right of a figure the player's boxes stand at 3 and the figure's own at 0.
    const Case cases[] = {
        {"411", 411, 0, 20, 20, {sh_bubble(411, 46307)}, 0},
        {"411 too far", 411, 0, 0, below_past(150), {TOO_FAR}, 0},
        {"412", 412, 3, 20, 20, {sh_bubble(412, 46308)}, 3},
        {"person 120",
         413,
         0,
         20,
         20,
         {sh_box(0, 1120, 58351), sh_box(3, 1000, 58352), sh_box(0, 1120, 58353),
          sh_box(3, 1000, 58354), sh_box(0, 1120, 58355), sh_box(3, 1000, 58356)},
         1},
        {"person 120 later", 413, 1, 20, 20, {sh_box(0, 1120, 58355)}, 1},
        {"the pair from 422", 422, 0, 20, 20, pair, 1},
        {"the pair from 423", 423, 0, 20, 20, pair, 1},
        {"422 later", 422, 1, 20, 20, {sh_bubble(422, 58383)}, 1},
        {"423 later", 423, 1, 20, 20, {sh_bubble(423, 58383)}, 1},
        {"the pair too far", 423, 0, 0, below_past(150), {TOO_FAR}, 0},
        {"person 122",
         466,
         0,
         0,
         below_at(300),
         {sh_box(3, 1000, 58390), sh_box(2, 1122, 58391), sh_box(3, 1000, 58392),
          sh_box(2, 1122, 58393), sh_box(3, 1000, 58394)},
         1},
        {"person 122 too far", 466, 0, 0, below_past(300), {TOO_FAR}, 0},
        {"person 122 later", 466, 1, 20, 20, {}, 1},
        {"the seller later", SELLER, 1, 20, 20, {sh_bubble(SELLER, 25623)}, 1},
        {"the fallen object too far", 468, 0, 0, below_past(100), {TOO_FAR}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        for (const s32 o : {411, 412, 413, 422, 423, 466, 468}) attr_set(o, ATTR_ACTIVE, 1);
        attr_set(c.obj, ATTR_VAR_A, c.stage);
        const s32 partner = c.obj == 422 ? 423 : c.obj == 423 ? 422 : -1;
        if (partner >= 0) attr_set(partner, ATTR_VAR_A, c.stage);
        const s32 frame = obj_get_frame(c.obj);
        sh_player(attr_get(c.obj, ATTR_X) + c.dx, attr_get(c.obj, ATTR_Y) + c.dy,
                  attr_get(c.obj, ATTR_MAP));
        EXPECT_EQ(fire(c.obj, TRIG_CLICK), c.lines);
        EXPECT_EQ(attr_get(c.obj, ATTR_VAR_A), c.next_stage);
        if (partner >= 0) {
            EXPECT_EQ(attr_get(partner, ATTR_VAR_A), c.next_stage) << "both move on together";
        }
        if (c.obj != 466 && c.obj != SELLER) {
            EXPECT_EQ(obj_get_frame(c.obj), frame) << "the frame is kept";
        }
        // Person 122 walks off and is gone after its first talk.
        EXPECT_EQ(active(c.obj), c.obj == 466 && c.stage == 0 && c.next_stage == 1 ? 0 : 1);
    }
}

TEST_F(TownAChase, TheWatcherAndPerson120IdleAndThePairOnlyRearms) {
    struct Case {
        s32 obj, frame_before, frame_after, timer;
    };
    const Case cases[] = {
        {411, 39900, 39902, 10}, {411, 39976, 39900, 20}, {413, 37530, 37532, 10},
        {413, 37532, 37500, 20}, {422, 21113, 21113, 8},  {423, 21900, 21900, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.obj) + " " + std::to_string(c.frame_before));
        obj_set_frame(c.obj, c.frame_before);
        EXPECT_EQ(fire(c.obj, TRIG_TIMER), Lines{});
        EXPECT_EQ(obj_get_frame(c.obj), c.frame_after);
        EXPECT_EQ(attr_get(c.obj, ATTR_TIMER), c.timer);
    }
}

// ---- Placeholders ----------------------------------------------------------------------------

TEST(TownAChasePlaceholders, EveryFrameShownHasAPicture) {
    const FramesShown shown = frames_shown(town_a_chase_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
