// The pool B meetings: each handler's branches as a table of cases (fake battles, forced draws,
// queued answers, the replaced mini-games), each with the texts it shows and the state it
// leaves; the aiming score that slot 149 must not leave behind; slot 219's fame within 999; and
// the round limit that slot 155 writes for the rest of the run.
#include "calendar/pool_b_events.h"

#include "calendar/pool_routines.h"
#include "data/battle_tables.h"
#include "data/hub_block.h"
#include "data/roster.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/hub.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/aim.h"
#include "platform/harness.h"
#include "tests/cal_pool_fixture.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<s32>;
using Changes = std::vector<std::string>;

PlayerRecord& P() {
    return player_record;
}
s32& flag(s32 n) {
    return player_record.story_flags[n];
}
EventEntry& B(s32 k) {
    return hub_block.encounter_pool_b[k];
}

struct Case {
    const char* what;
    s32 slot;
    std::function<void()> setup;
    std::initializer_list<s32> battles, draws, answers;
    Texts texts;
    Changes changes;
    std::function<void()> check;
};

class PoolBEventsTest : public PoolHandlerTest {
  protected:
    void run_cases(std::initializer_list<Case> cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            fresh();
            PlayerRecord& p = P();
            p.fame = 100;
            p.money = 5000;
            p.mood = 2;
            p.chivalry = 50;
            hub_block.calendar_turn = 50;
            c.setup();
            battles(c.battles);
            draws(c.draws);
            answers(c.answers);
            const PoolSnapshot before = pool_snapshot();
            const size_t m = mark();
            run_slot(c.slot);
            EXPECT_EQ(texts_from(m), c.texts);
            Changes changes = pool_changes(before), expect = c.changes;
            std::sort(changes.begin(), changes.end());
            std::sort(expect.begin(), expect.end());
            EXPECT_EQ(changes, expect);
            EXPECT_EQ(draws_left(), 0u);
            EXPECT_EQ(dialog_answers_left(), 0u);
            if (c.check) c.check();
        }
    }
};

void nothing() {}

TEST_F(PoolBEventsTest, Slot119) {
    const Texts head = cat({{31018}, run(31020, 31026)});
    run_cases({
        {"first option: no fight",
         119,
         nothing,
         {},
         {},
         {0},
         cat({head, {31027, 31029, 31030, 31031}}),
         {"B7 off"},
         [] {
             EXPECT_EQ(flag(3), 2);
             EXPECT_EQ(P().mood, 3);
             EXPECT_EQ(hub_block.scene_backdrop, 60407);
         }},
        {"fight won after 021 ran",
         119,
         [] { hub_block.encounter_pool_a[0].on = 0; },
         {1},
         {},
         {1},
         cat({head, run(31032, 31045)}),
         {"B7 off", "A1 on"},
         [] {
             EXPECT_EQ(flag(3), 1);
             EXPECT_EQ(P().fame, 110);
         }},
        {"fight lost",
         119,
         nothing,
         {0},
         {1},
         {1},
         cat({head, run(31032, 31043), {31049}, run(31051, 31057), {471}}),
         {"B7 off"},
         [] {
             EXPECT_EQ(flag(3), 0);
             EXPECT_EQ(P().sick_turns, 3);
         }},
    });
}

TEST_F(PoolBEventsTest, Slot132) {
    const Texts head = cat({run(30288, 30297), {30305}});
    const Texts won = run(30314, 30354);
    auto won_check = [] {
        EXPECT_EQ(flag(13), 1);
        EXPECT_EQ(hub_block.turn_events_before[109], 133);
        EXPECT_EQ(P().fame, 110);
    };
    auto start = [](s32 f) {
        return [f] {
            flag(12) = f;
            B(14).on = 1;
        };
    };
    run_cases({
        {"walks away",
         132,
         start(0),
         {},
         {},
         {0},
         cat({run(30288, 30297), run(30298, 30304)}),
         {"B14 off"},
         [] { EXPECT_EQ(flag(13), 0); }},
        {"story 0",
         132,
         start(0),
         {1},
         {},
         {1},
         cat({head, run(30306, 30311), won}),
         {"B14 off"},
         won_check},
        {"story 1",
         132,
         start(1),
         {1},
         {},
         {1},
         cat({head, run(30272, 30274), won}),
         {"B14 off"},
         won_check},
        {"story 2",
         132,
         start(2),
         {1},
         {},
         {1},
         cat({head, run(30275, 30277), won}),
         {"B14 off"},
         won_check},
        {"other story: the fight at once, lost",
         132,
         start(7),
         {0},
         {0},
         {1},
         cat({head, {30313, 470}}),
         {"B14 off"},
         [] {
             EXPECT_EQ(flag(13), 2);
             EXPECT_EQ(hub_block.scene_backdrop, 60407);
         }},
    });
}

TEST_F(PoolBEventsTest, Slot138) {
    const Texts head = cat({run(60140, 60143), run(60150, 60153), {60158, 60154, 60155}});
    auto ready = [](s32 turn) {
        return [turn] {
            hub_block.calendar_turn = turn;
            for (s32 item : {1230, 1232, 1234}) inv_add(item, 1);
            P().skill[14] = 70;
            B(17).on = 1;
        };
    };
    run_cases({
        {"ready",
         138,
         ready(66),
         {},
         {},
         {},
         cat({head, run(60170, 60176)}),
         {"B17 off"},
         [] {
             EXPECT_EQ(flag(74), 1);
             EXPECT_EQ(inv_has(1232), 0);
         }},
        {"too early",
         138,
         ready(65),
         {},
         {},
         {},
         cat({head, run(60160, 60162)}),
         {"B17 off"},
         [] {
             EXPECT_EQ(flag(14), 1);
             EXPECT_EQ(inv_has(1232), 1);
         }},
    });
}

TEST_F(PoolBEventsTest, LessonsRepeatWhileTheSecondOptionIsTaken) {
    const Texts lesson_139 = cat({run(56180, 56185), {56234, 56235}});
    const Texts lesson_140 = cat({run(56310, 56313), {56327, 56328}});
    run_cases({
        {"139 lesson",
         139,
         nothing,
         {},
         {},
         {0, 1, 1, 0},
         cat({run(56199, 56205),
              run(56210, 56217),
              {56220, 56221},
              run(56222, 56227),
              {56229},
              run(56232, 56233),
              lesson_139,
              lesson_139,
              lesson_139}),
         {"B18 off", "B19 on"},
         nullptr},
        {"139 refused",
         139,
         nothing,
         {},
         {},
         {1},
         cat({run(56199, 56205), run(56274, 56280), {56281, 56283, 56290, 56291, 56296}}),
         {"B18 off"},
         [] { EXPECT_EQ(inv_has_count(1881, 5), 1); }},
        {"140",
         140,
         [] { B(19).on = 1; },
         {},
         {},
         {1, 0},
         cat({run(56320, 56323), {56325}, lesson_140, lesson_140, run(56330, 56332)}),
         {"B19 off", "B20 on"},
         nullptr},
        {"141",
         141,
         [] { B(20).on = 1; },
         {},
         {},
         {0},
         cat({run(56340, 56343), {56350, 56345, 56346, 56352, 56353, 56354, 56355}}),
         {"B20 off"},
         nullptr},
    });
}

TEST_F(PoolBEventsTest, Slot148) {
    const Texts head = {60630, 60631, 60632};
    auto tools = [](s32 target, bool bait) {
        return [target, bait] {
            inv_add(2213, 1);
            inv_add(2200, 1);
            if (bait)
                for (s32 item : {1212, 1211, 1221}) inv_add(item, 1);
            next_aim_target(target);
        };
    };
    const Texts aimed = {60633, 60640, 60641, 60642};
    run_cases({
        {"no tools", 148, nothing, {}, {}, {}, cat({head, {60636}}), {"B22 off"}, nullptr},
        {"missed",
         148,
         tools(0, false),
         {},
         {},
         {},
         cat({head, {60633, 60634, 60635}}),
         {"B22 off"},
         nullptr},
        {"hit, bait owned",
         148,
         tools(5, true),
         {},
         {},
         {},
         cat({head, aimed, {60643, 60644}, run(60645, 60651)}),
         {"B22 off", "B23 on"},
         [] {
             EXPECT_EQ(acquaint_has(132), 1);
             EXPECT_TRUE(ring_games().empty());
         }},
        {"hit, bait won at the ring game",
         148,
         [t = tools(5, false)] {
             t();
             on_ring_game([] {
                 for (s32 item : {1212, 1211, 1221}) inv_add(item, 1);
             });
         },
         {},
         {},
         {},
         cat({head, aimed, {60660, 60661}, run(60645, 60651)}),
         {"B22 off", "B23 on"},
         [] {
             EXPECT_EQ(ring_games().back(), (std::vector<s32>{11, 12, 21, -1, -1, -1, -1, -1}));
             on_ring_game(nullptr);
         }},
        {"hit, no bait",
         148,
         tools(5, false),
         {},
         {},
         {},
         cat({head, aimed, run(60662, 60664)}),
         {"B22 off"},
         [] { EXPECT_EQ(acquaint_has(132), 0); }},
    });
}

// The aiming game leaves its score in turn_done, which the hub reads as "this turn has already
// ended" from turn 10 on: slot 149 reads the score and clears the field.
TEST_F(PoolBEventsTest, Slot149ReadsTheAimingScoreAndClearsIt) {
    const Texts after = cat({run(60700, 60704), run(60710, 60728), run(60730, 60737)});
    auto tools = [](s32 score, s32 turn) {
        return [score, turn] {
            inv_add(2210, 1);
            inv_add(2200, 1);
            next_aim_score(score);
            hub_block.calendar_turn = turn;
            P().affection[132] = 50;
            B(23).on = 1;
        };
    };
    auto cleared = [](s32 affection) {
        return [affection] {
            EXPECT_EQ(P().turn_done, 0) << "the score left behind would end the hub's turns";
            EXPECT_EQ(P().affection[132], affection);
            EXPECT_EQ(flag(82), 1);
        };
    };
    run_cases({
        {"score 150",
         149,
         tools(150, 100),
         {},
         {},
         {},
         cat({run(60670, 60672), run(60680, 60682), run(60690, 60694), after}),
         {"B23 off"},
         cleared(65)},
        {"score 149 after turn 100",
         149,
         tools(149, 101),
         {},
         {},
         {},
         cat({run(60670, 60672), run(60680, 60682), run(60685, 60687), after}),
         {"B23 off", "A11 on"},
         cleared(60)},
        {"no tools",
         149,
         [] { P().affection[132] = 50; },
         {},
         {},
         {},
         run(60670, 60674),
         {},
         cleared(40)},
    });
}

TEST_F(PoolBEventsTest, Slots152And215And216) {
    run_cases({
        {"152",
         152,
         [] { B(24).on = 1; },
         {},
         {},
         {},
         run(61300, 61305),
         {"B24 off"},
         [] { EXPECT_EQ(hub_block.turn_events_after[155], 191); }},
        {"215",
         215,
         [] { B(12).on = 1; },
         {},
         {},
         {},
         run(58000, 58017),
         {"B12 off", "B13 on"},
         [] { EXPECT_EQ(hub_block.turns_consumed, 1); }},
        {"216",
         216,
         [] { B(13).on = 1; },
         {},
         {},
         {},
         cat({run(58030, 58034), {58034, 58035}}),
         {"B13 off"},
         [] {
             EXPECT_EQ(flag(9), 1);
             EXPECT_EQ(hub_block.turn_events_after[195], 135);
         }},
    });
}

TEST_F(PoolBEventsTest, Slot155) {
    const Texts head = cat({run(61819, 61827), run(61830, 61835), run(61840, 61843)});
    run_cases({
        {"the last fight won",
         155,
         [] { B(25).on = 1; },
         {1, 0, 2, 1},
         {},
         {0},
         cat({head, run(61844, 61864), {61828}, run(61865, 61878), {61885}, run(61879, 61883)}),
         {"B25 off"},
         [] {
             EXPECT_EQ(fought(), (std::vector<s32>{98, 98, 98, 50}));
             EXPECT_EQ(flag(92), 1);
             EXPECT_EQ(P().fame, 125);
         }},
        {"the last fight lost",
         155,
         [] { B(25).on = 1; },
         {1, 1, 1, 2},
         {0},
         {0},
         cat({head, run(61844, 61849), run(61890, 61893), {470}}),
         {"B25 off"},
         [] {
             EXPECT_EQ(flag(92), 2);
             EXPECT_EQ(hub_block.scene_backdrop, 60407);
         }},
    });
}

// Kept as the game has it: the second answer shortens encounter 98 to six rounds, and the table
// keeps it until it is built again at the next program start.
TEST_F(PoolBEventsTest, Slot155SecondAnswerShortensEncounter98ForTheRestOfTheRun) {
    B(25).on = 1;
    battles({1, 1, 1, 1});
    answers({1});
    const size_t m = mark();
    run_slot(155);
    EXPECT_EQ(texts_from(m),
              cat({run(61819, 61827), run(61830, 61835), run(61840, 61843), run(61895, 61902)}));
    EXPECT_EQ(encounters[98].round_limit, POOL_B_ROUNDS_98);
    fresh(); // a new game in the same run
    EXPECT_EQ(encounters[98].round_limit, POOL_B_ROUNDS_98);
}

TEST_F(PoolBEventsTest, Slot201ByTheEpisodesOutcome) {
    const Texts intro = {56649, 56650, 56651, 56652};
    auto outcome = [](s32 f) {
        return [f] {
            B(5).on = 1;
            P().affection[146] = 50;
            on_field_loop([f] {
                flag(4) = f;
                world_state.field_active = 0;
            });
        };
    };
    run_cases({
        {"declined",
         201,
         [] { B(5).on = 1; },
         {},
         {},
         {1},
         {56649, 56650, 56651},
         {"B5 off"},
         [] { EXPECT_EQ(field_loops(), 0); }},
        {"outcome 1",
         201,
         outcome(1),
         {},
         {0},
         {0},
         cat({intro, {56692, 56693, 470}}),
         {"B5 off"},
         [] { EXPECT_EQ(P().condition, 5); }},
        {"outcome 2, first answer",
         201,
         outcome(2),
         {},
         {},
         {0, 0},
         cat({intro, run(56685, 56689)}),
         {"B5 off", "B6 on"},
         [] {
             EXPECT_EQ(P().affection[146], 65);
             EXPECT_EQ(P().fame, 106);
         }},
        {"outcome 2, second answer",
         201,
         outcome(2),
         {},
         {},
         {0, 1},
         cat({intro, run(56685, 56688), {56690}}),
         {"B5 off", "B6 on"},
         [] { EXPECT_EQ(P().affection[146], 60); }},
        {"outcome 3",
         201,
         outcome(3),
         {},
         {},
         {0},
         cat({intro, {56691}}),
         {"B5 off", "B6 on"},
         [] { EXPECT_EQ(P().fame, 103); }},
        {"outcome 5", 201, outcome(5), {}, {}, {0}, cat({intro, {56645}}), {"B5 off"}, nullptr},
        {"other outcome", 201, outcome(0), {}, {}, {0}, intro, {"B5 off"}, nullptr},
    });
}

TEST_F(PoolBEventsTest, Slot202) {
    const Texts head = run(56720, 56730);
    const Texts q = run(56733, 56736);
    auto start = [](s32 money) {
        return [money] {
            B(6).on = 1;
            P().money = money;
            P().affection[146] = 50;
        };
    };
    run_cases({
        {"first, then pays",
         202,
         start(500),
         {},
         {},
         {0, 0},
         cat({head,
              {56731},
              q,
              {56737, 56626, 56738},
              run(56739, 56742),
              {56626, 56743, 56744, 56745}}),
         {"B6 off"},
         [] {
             EXPECT_EQ(P().money, 400);
             EXPECT_EQ(P().fame, 96);
             EXPECT_EQ(P().affection[146], 50);
             EXPECT_EQ(hub_block.scene_backdrop, 60406);
         }},
        {"first, then cannot pay",
         202,
         start(50),
         {},
         {},
         {0, 0},
         cat({head, {56731}, q, {56748, 56746}}),
         {"B6 off"},
         [] { EXPECT_EQ(P().affection[146], 40); }},
        {"buys, then refuses",
         202,
         start(2000),
         {},
         {},
         {1, 1},
         cat({head, {56732}, q, {56747}}),
         {"B6 off"},
         [] {
             EXPECT_EQ(P().money, 1000);
             EXPECT_EQ(inv_has(1409), 1);
             EXPECT_EQ(P().affection[146], 53);
         }},
        {"cannot buy, refuses",
         202,
         start(999),
         {},
         {},
         {1, 1},
         cat({head, q, {56746}}),
         {"B6 off"},
         [] {
             EXPECT_EQ(P().money, 999);
             EXPECT_EQ(P().affection[146], 40);
         }},
    });
}

TEST_F(PoolBEventsTest, Slots204And205StartTheRingBattle) {
    auto offer = [] {
        B(8).on = 1;
        B(9).on = 1;
        P().affection[40] = 80;
    };
    run_cases({
        {"204 declined",
         204,
         offer,
         {},
         {},
         {1},
         cat({run(13300, 13305), {13345, 13346}}),
         {"B8 off"},
         nullptr},
        {"205 declined stays open",
         205,
         offer,
         {},
         {},
         {1},
         cat({run(13350, 13353), {13304, 13305, 13345, 13346}}),
         {"B8 off"},
         nullptr},
    });
}

TEST_F(PoolBEventsTest, Slot209) {
    const Texts head = run(57060, 57066);
    std::initializer_list<s32> twenty = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                         10, 11, 12, 13, 14, 15, 16, 17, 36, 36};
    run_cases({
        {"fight won",
         209,
         nothing,
         {1},
         twenty,
         {1},
         cat({head, run(57100, 57103), {57110, 56626, 57111}}),
         {"B10 off"},
         [] {
             EXPECT_EQ(inv_has_count(1236, 2), 1);
             EXPECT_EQ(inv_has(1200), 1);
             EXPECT_EQ(P().fame, 110);
         }},
        {"fight lost",
         209,
         nothing,
         {0},
         {1},
         {1},
         cat({head, run(57100, 57103), {57112, 471, 281}}),
         {"B10 off"},
         [] { EXPECT_EQ(acquaint_has(118), 1); }},
        {"ring game, plenty won",
         209,
         [] { on_ring_game([] { inv_add(1201, 12); }); },
         {},
         {},
         {0, 0},
         cat({head, {57070, 57071, 57072, 57073, 57074}, run(57080, 57086)}),
         {"B10 off"},
         [] {
             EXPECT_EQ(inv_has_count(1201, 2), 1);
             EXPECT_EQ(inv_has_count(1201, 3), 0);
             EXPECT_EQ(P().money, 6000);
             on_ring_game(nullptr);
         }},
        {"ring game, few: the whole stack goes",
         209,
         [] { inv_add(1201, 3); },
         {},
         {},
         {0, 0},
         cat({head, {57070, 57071, 57072, 57073, 57074}, run(57090, 57096)}),
         {"B10 off"},
         [] {
             EXPECT_EQ(inv_has(1201), 0);
             EXPECT_EQ(P().money, 5200);
         }},
        {"no game",
         209,
         nothing,
         {},
         {},
         {0, 1},
         cat({head, {57070, 57071, 57072}}),
         {"B10 off"},
         [] {
             EXPECT_EQ(acquaint_has(118), 1);
             EXPECT_EQ(hub_block.turns_consumed, 1);
         }},
    });
}

TEST_F(PoolBEventsTest, Slot214) {
    const Texts head = cat({run(57820, 57832),
                            {57840, 57841, 57833},
                            run(57842, 57844),
                            run(57834, 57835),
                            run(57845, 57851),
                            run(57860, 57866),
                            {57866, 57866}});
    const Texts given = {57867, 57868, 57870, 57871, 57872, 57873};
    // The picker's click: a left click on the first name whenever nothing else is queued.
    auto item = [](s32 id) {
        return [id] {
            for (s32 k = ITEM_PICKER_FIRST; k <= ITEM_PICKER_LAST; ++k) inv_remove(k, 1000);
            inv_add(id, 1);
            harness_on_present([](const u16*, u64) {
                if (harness_pending_input() == 0) harness_click(ITEM_PICKER_X + 5, 400);
            });
        };
    };
    auto done = [](s32 id, s32 story) {
        return [id, story] {
            harness_on_present(nullptr);
            EXPECT_EQ(inv_has(id), 0);
            EXPECT_EQ(flag(8), story);
            EXPECT_EQ(acquaint_has(87), 1);
            EXPECT_EQ(acquaint_has(81), 1);
        };
    };
    run_cases({
        {"no item",
         214,
         [] {
             for (s32 k = ITEM_PICKER_FIRST; k <= ITEM_PICKER_LAST; ++k) inv_remove(k, 1000);
         },
         {},
         {},
         {},
         cat({head, run(57970, 57976), {56626}, run(57977, 57982)}),
         {"B11 off"},
         [] { EXPECT_EQ(flag(8), 0); }},
        {"an item kept back",
         214,
         item(1401),
         {},
         {},
         {1},
         cat({head, {57867, 57868}, run(57970, 57976), {56626}, run(57977, 57982)}),
         {"B11 off"},
         [] {
             harness_on_present(nullptr);
             EXPECT_EQ(inv_has(1401), 1);
         }},
        {"first kind, fight lost",
         214,
         item(1401),
         {0},
         {},
         {0, 0},
         cat({head, given, run(57880, 57897), run(57900, 57907), {57911}}),
         {"B11 off"},
         [d = done(1401, 1)] {
             d();
             EXPECT_EQ(P().mood, 4);
             EXPECT_EQ(hub_block.scene_backdrop, 60406);
         }},
        {"other kind, no fight",
         214,
         item(1403),
         {},
         {},
         {0, 1},
         cat({head, given, run(57920, 57942), {57962}}),
         {"B11 off"},
         done(1403, 2)},
    });
}

TEST_F(PoolBEventsTest, Slot219) {
    const Texts head = cat({run(31255, 31271), {31273}});
    const Texts q = {31295, 31296, 31297, 31298};
    const Texts asked = cat({run(31286, 31293),
                             {31254, 31294},
                             q,
                             {31299},
                             q,
                             {31304},
                             q,
                             {31309},
                             q,
                             {31314, 31315, 31316, 31317}});
    auto start = [](s32 money, s32 fame) {
        return [money, fame] {
            B(15).on = 1;
            P().money = money;
            P().fame = fame;
            P().affection[200] = 50;
            for (s32 person : {277, 278}) roster[person].hp = roster[person].hp_max = 100;
        };
    };
    run_cases({
        {"pays",
         219,
         start(5000, 100),
         {},
         {},
         {0},
         cat({head, {31274, 31275}, run(31276, 31285), {231, 232}}),
         {"B15 off", "A13 on"},
         [] {
             EXPECT_EQ(P().money, 4000);
             EXPECT_EQ(P().fame, 110);
             EXPECT_EQ(P().affection[200], 45);
         }},
        // Every answer right and the fight won: fame 996 + 6 stays within 999, without a log line.
        {"all right, won",
         219,
         start(500, 996),
         {1},
         {},
         {0, 1, 3, 2},
         cat({head,
              asked,
              {31318},
              run(31319, 31323),
              run(31324, 31327),
              {31328, 31329, 31329},
              run(31330, 31340),
              {56626},
              run(31341, 31349)}),
         {"B15 off", "A13 on"},
         [] {
             EXPECT_EQ(P().fame, FAME_MAX);
             EXPECT_EQ(P().affection[200], 67);
             EXPECT_EQ(roster[277].hp, 20);
         }},
        {"all wrong, lost",
         219,
         start(500, 100),
         {0},
         {0},
         {1, 0, 0, 0},
         cat({head,
              asked,
              run(31319, 31321),
              run(31324, 31326),
              {31328},
              run(31332, 31337),
              run(31350, 31358),
              {470, 281}}),
         {"B15 off", "A13 on"},
         [] {
             EXPECT_EQ(P().money, 0);
             EXPECT_EQ(P().fame, 95);
             EXPECT_EQ(roster[277].hp, 100);
         }},
    });
}

TEST_F(PoolBEventsTest, Slot223) {
    const Texts head = cat({run(59430, 59437), run(59440, 59449)});
    auto start = [] {
        B(21).on = 1;
        P().affection[89] = 50;
    };
    run_cases({
        {"won",
         223,
         start,
         {1},
         {},
         {0},
         cat({head, run(59450, 59453)}),
         {"B21 off"},
         [] {
             EXPECT_EQ(flag(18), 1);
             EXPECT_EQ(P().affection[89], 60);
         }},
        {"lost",
         223,
         start,
         {2},
         {0},
         {0},
         cat({head, run(59460, 59463), {470, 281}}),
         {"B21 off"},
         [] {
             EXPECT_EQ(flag(18), 2);
             EXPECT_EQ(P().money, 4000);
         }},
        {"refused",
         223,
         start,
         {},
         {},
         {1},
         cat({head, {59470, 56626}, run(59471, 59474)}),
         {"B21 off"},
         [] { EXPECT_EQ(P().affection[89], 40); }},
    });
}

} // namespace

// Slot 148 plays the real target game unless a test replaces it.
TEST(PoolBSeams, TheTargetGameSeamStartsAtTheRealGame) {
    EXPECT_EQ(pool_aim_target_seam, &game_aim_target);
}
