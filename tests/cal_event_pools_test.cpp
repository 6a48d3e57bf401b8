// The event pools: every pool handler's entry switches read back from the pools after a run with
// fake battles and forced draws; the two meetings that open pool A 1 in either order; the paid
// visits by their table; the lines of pool A and C handlers; and the pool episodes of slots 143
// and 201: a load that leaves them, one that does not, and a slot-1 save made inside them resumed
// by the hub.
#include "calendar/event_pools.h"

#include "calendar/pool_b_events.h"
#include "calendar/pool_routines.h"
#include "data/hub_block.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/growth.h"
#include "game/hub.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"
#include "tests/cal_pool_fixture.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<s32>;
using Changes = std::vector<std::string>;

EventEntry& A(s32 k) {
    return hub_block.encounter_pool_a[k];
}
EventEntry& B(s32 k) {
    return hub_block.encounter_pool_b[k];
}
EventEntry& C(s32 k) {
    return hub_block.encounter_pool_c[k];
}

s32& flag(s32 n) {
    return player_record.story_flags[n];
}

class EventPoolsTest : public PoolHandlerTest {};

// ---- Chains ------------------------------------------------------------------------------------

struct ChainCase {
    const char* what;
    s32 slot;
    std::function<void()> setup;
    std::initializer_list<s32> battles, draws, answers;
    Changes changes;
};

TEST_F(EventPoolsTest, EachHandlerOpensAndClosesExactlyItsChainEntries) {
    const ChainCase cases[] = {
        {"021 fights and wins, pool B 7 still open", 21, [] {}, {1}, {}, {0}, {"A0 off"}},
        {"021 walks on after 119 ran", 21, [] { B(7).on = 0; }, {}, {}, {1}, {"A0 off", "A1 on"}},
        {"120 after both meetings", 120, [] { A(1).on = 1; }, {2}, {}, {}, {"A1 off"}},
        {"208 first answer", 208, [] {}, {}, {}, {0}, {"A4 off"}},
        {"131 won, second answer after the fight",
         131,
         [] { A(5).on = 1; },
         {1},
         {},
         {0, 1},
         {"A5 off", "B14 on"}},
        {"131 lost", 131, [] { A(5).on = 1; }, {0}, {0}, {0}, {"A5 off"}},
        {"131 second answer", 131, [] { A(5).on = 1; }, {}, {}, {1}, {"A5 off", "A6 on"}},
        {"147 won", 147, [] { A(6).on = 1; }, {1}, {}, {}, {"A6 off", "B14 on"}},
        {"147 round limit", 147, [] { A(6).on = 1; }, {2}, {1}, {}, {"A6 off"}},
        {"150 won", 150, [] { A(11).on = 1; }, {1}, {}, {2}, {"A11 off"}},
        {"151", 151, [] { A(12).on = 1; }, {1, 0}, {}, {0}, {"A12 off"}},
        {"019", 19, [] { C(2).on = 1; }, {}, {}, {}, {"A5 on", "C2 off", "C3 on"}},
        {"143 turned away", 143, [] { C(3).on = 1; }, {}, {}, {}, {}},
        {"218 first answer wrong",
         218,
         [] { hub_block.place_events[0][0][4].on = 1; },
         {},
         {},
         {0},
         {"P0.0.4 off"}},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        player_record.affection[83] = 10;
        c.setup();
        battles(c.battles);
        draws(c.draws);
        answers(c.answers);
        const PoolSnapshot before = pool_snapshot();
        run_slot(c.slot);
        EXPECT_EQ(pool_changes(before), c.changes);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(dialog_answers_left(), 0u);
    }
}

TEST_F(EventPoolsTest, PoolAOneOpensAfterTheSecondOfItsTwoMeetingsInEitherOrder) {
    for (bool pool_a_first : {true, false}) {
        SCOPED_TRACE(pool_a_first ? "021 first" : "119 first");
        fresh();
        const s32 first = pool_a_first ? 21 : 119, second = pool_a_first ? 119 : 21;
        // Both walk away without a fight: 021's second answer, 119's first.
        answers({first == 21 ? 1 : 0});
        run_slot(first);
        EXPECT_EQ(A(1).on, 0) << "one meeting alone leaves pool A 1 closed";
        answers({second == 21 ? 1 : 0});
        run_slot(second);
        EXPECT_EQ(A(1).on, 1);
        EXPECT_EQ(A(0).on, 0);
        EXPECT_EQ(B(7).on, 0);
    }
}

TEST_F(EventPoolsTest, EveryChainRowNamesAnEntryInsideItsPool) {
    for (const PoolSwitch& row : pool_switches()) {
        EXPECT_NE(cal_entry(row.entry), nullptr) << "slot " << row.slot;
        if (row.op == PoolOp::OpenWhenOff) {
            EXPECT_NE(cal_entry(row.when), nullptr);
        }
        EXPECT_NE(calendar_event_owner(row.slot), nullptr) << "slot " << row.slot;
    }
}

// ---- Lines and effects of pools A and C ---------------------------------------------------------

TEST_F(EventPoolsTest, Slot021FightsWithTheLineThatFameChooses) {
    struct Case {
        s32 fame, result;
        Texts texts;
        s32 fame_after, mood_after;
    };
    const Texts intro = cat({{11396}, run(30826, 30830), {30831, 30832}, run(15650, 15652)});
    const Case cases[] = {
        {20, 1, cat({intro, {15653, 30833, 30919}, run(30834, 30844), {231}}), 23, 2},
        {19, 0, cat({intro, {15654}, run(15655, 15660), {281}}), 18, 3},
        {5, 2, cat({intro, {15654}, run(15655, 15660), {281}}), 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fame);
        fresh();
        player_record.fame = c.fame;
        player_record.mood = 2;
        battles({c.result});
        answers({0});
        const size_t m = mark();
        run_slot(21);
        EXPECT_EQ(texts_from(m), c.texts);
        EXPECT_EQ(player_record.fame, c.fame_after);
        EXPECT_EQ(player_record.mood, c.mood_after);
        EXPECT_EQ(acquaint_has(71), 1);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        EXPECT_EQ(hub_block.scene_backdrop, 60427);
    }
}

TEST_F(EventPoolsTest, Slot020RepeatsItsQuestionWhileTheSecondAnswerIsTakenThenStartsTheGame) {
    player_record.affection[202] = 40;
    player_record.skill[22] = 10;
    answers({1, 1, 0});
    draws({0}); // the game's capacity
    sum_guess_plan({SUM_GUESS_LEAVE});
    const size_t m = mark();
    run_slot(20);
    const Texts ask = {11309, 11310, 11311, 11312};
    EXPECT_EQ(texts_from(m), cat({{11300}, run(11301, 11306), ask, ask, ask, {11313, 11319, 222}}));
    EXPECT_EQ(player_record.affection[202], 0) << "the handler resets the person before the game";
    EXPECT_EQ(sum_guess_state.outcome, SUM_GUESS_LEFT);
    EXPECT_EQ(C(0).on, 0);
    EXPECT_EQ(C(1).on, 1);
    EXPECT_EQ(hub_block.place_events[0][0][4].on, 1);
}

TEST_F(EventPoolsTest, Slot130PlaysOrSendsToTheMeal) {
    answers({1});
    const size_t m = mark();
    run_slot(130);
    EXPECT_EQ(texts_from(m), (Texts{11381, 11382, 11383}));
    EXPECT_EQ(meals(), 1);

    answers({0});
    draws({0});
    sum_guess_plan({SUM_GUESS_LEAVE});
    run_slot(130);
    EXPECT_EQ(meals(), 1);
    EXPECT_EQ(sum_guess_state.outcome, SUM_GUESS_LEFT);
}

TEST_F(EventPoolsTest, Slot019TeachesBySkill22) {
    struct Case {
        s32 skill;
        Texts tail;
        s32 flag10, stamina_delta;
    };
    const Case cases[] = {
        {31, cat({{30620}, run(30622, 30625), {222, 283}}), 1, -300},
        {30, cat({{30621, 30626}, run(30628, 30633), {222}}), 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skill);
        fresh();
        player_record.skill[22] = c.skill;
        player_record.stamina = 800;
        const s32 exp = player_record.skill_exp[22];
        const size_t m = mark();
        run_slot(19);
        const Texts head =
            cat({run(30597, 30606), run(30609, 30610), run(30612, 30617), run(30618, 30619)});
        EXPECT_EQ(texts_from(m), cat({head, c.tail}));
        EXPECT_EQ(flag(10), c.flag10);
        EXPECT_EQ(player_record.stamina, 800 + c.stamina_delta);
        EXPECT_GT(player_record.skill_exp[22] + player_record.skill[22], exp + c.skill);
        EXPECT_EQ(acquaint_has(83), 1);
    }
}

TEST_F(EventPoolsTest, Slot218EndsAtTheFirstWrongAnswer) {
    struct Case {
        std::initializer_list<s32> answers;
        Texts tail;
        s32 affection, mood;
    };
    const Texts q1 = {41210, 41211, 41212, 41213}, q2 = {41220, 41221, 41222, 41223},
                q3 = {41230, 41231, 41232, 41233};
    const Case cases[] = {
        {{0}, {41217}, 45, 0},
        {{1, 0}, cat({{41218, 41219}, q2, {41227}}), 47, 1},
        {{1, 2, 3}, cat({{41218, 41219}, q2, {41228, 41229}, q3, {41237}}), 45, 0},
        {{1, 2, 2}, cat({{41218, 41219}, q2, {41228, 41229}, q3, {41238, 41239}}), 55, 4},
    };
    for (const Case& c : cases) {
        fresh();
        player_record.affection[205] = 50;
        player_record.mood = 2;
        hub_block.place_events[0][0][4].on = 1;
        answers(c.answers);
        const size_t m = mark();
        run_slot(218);
        EXPECT_EQ(texts_from(m), cat({run(41201, 41209), q1, c.tail}));
        EXPECT_EQ(player_record.affection[205], c.affection);
        EXPECT_EQ(player_record.mood, 4 - c.mood) << "mood counts from 0, the best";
        EXPECT_EQ(hub_block.place_events[0][0][4].on, 0);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
}

TEST_F(EventPoolsTest, Slot208ChargesItsPriceWithoutLookingAtTheMoney) {
    player_record.money = 200;
    answers({1});
    const size_t m = mark();
    run_slot(208);
    EXPECT_EQ(
        texts_from(m),
        cat({run(57020, 57022), run(57030, 57034), {57035, 57036}, run(57050, 57052), {232}}));
    EXPECT_EQ(player_record.money, 0) << "500 charged from 200: the adjuster stops at 0";
    EXPECT_EQ(hub_block.turn_events_before[84], 210);
    EXPECT_EQ(acquaint_has(47), 1);
}

TEST_F(EventPoolsTest, Slot131VisitsByTheStoryAndTheSkill) {
    struct Case {
        s32 flag10, skill;
        std::initializer_list<s32> answers;
        Texts tail;
        s32 affection_83, mood;
    };
    const Texts won = run(30657, 30667);
    const Texts asked = {30685, 30687, 30688, 30674, 30675};
    // The walk there, the talk, and the walk on, whatever the skill.
    const Texts visit = cat({{TRAVEL}, run(30703, 30714), {TRAVEL}});
    const Case cases[] = {
        {1, 60, {0, 0}, cat({won, asked, {30689, 30690}, visit, run(30726, 30734)}), 60, 0},
        {1,
         10,
         {0, 0},
         cat({won, asked, {30689, 30690}, visit, run(30715, 30722), {TRAVEL}, run(30723, 30725)}),
         57,
         3},
        {1, 10, {0, 1}, cat({won, asked, run(30691, 30695)}), 55, 1},
        {2,
         10,
         {0, 0},
         cat({won, run(30696, 30702), visit, run(30735, 30742), {TRAVEL}, run(30743, 30745)}),
         50,
         3},
        {2, 60, {0, 0}, cat({won, run(30696, 30702), visit, run(30746, 30754)}), 60, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail.size());
        fresh();
        player_record.affection[83] = 50;
        player_record.skill[22] = c.skill;
        player_record.mood = 2;
        player_record.stamina = 900;
        flag(10) = c.flag10;
        battles({1});
        answers(c.answers);
        const size_t m = mark();
        run_slot(131);
        EXPECT_EQ(steps_from(m),
                  cat({{30642, TRAVEL}, run(30643, 30652), run(30653, 30656), c.tail}));
        EXPECT_EQ(player_record.affection[83], c.affection_83);
        EXPECT_EQ(player_record.mood, c.mood);
        EXPECT_EQ(flag(11), 1);
        EXPECT_EQ(flag(22), 1);
    }
}

// ---- Paid visits -------------------------------------------------------------------------------

struct VisitCase {
    const char* what;
    s32 slot;
    s32 affection, money, constitution;
    std::initializer_list<s32> answers, draws;
    Texts texts;
    s32 money_after, affection_after, stamina_after, turns;
    std::vector<std::pair<s32, s32>> values; // growth index, value after
    Changes changes;
    s32 flag23;
};

TEST_F(EventPoolsTest, PaidVisitsFollowTheirTable) {
    const Texts host_206 = run(55500, 55502), host_144 = run(13760, 13762);
    const VisitCase cases[] = {
        {"206 turned away",
         206,
         60,
         5000,
         50,
         {},
         {},
         {11840},
         5000,
         60,
         500,
         7,
         {{29, 40}},
         {},
         0},
        {"146 turned away still sets its flag",
         146,
         69,
         5000,
         50,
         {},
         {},
         {11840},
         5000,
         69,
         500,
         7,
         {},
         {},
         1},
        {"206 too little money: no offer",
         206,
         80,
         499,
         50,
         {},
         {},
         cat({host_206, run(55520, 55522), {56626, 55523}}),
         499,
         75,
         500,
         1,
         {{29, 40}},
         {"A2 off", "A3 on"},
         0},
        {"206 declined",
         206,
         80,
         5000,
         50,
         {1},
         {},
         cat({host_206, {55503, 55504}, run(55520, 55522), {56626, 55523}}),
         5000,
         75,
         500,
         1,
         {{29, 40}},
         {"A2 off", "A3 on"},
         0},
        {"206 good",
         206,
         80,
         5000,
         90,
         {0},
         {9},
         cat({host_206, {55503, 55504}, run(55511, 55515), {56626, 55516, 229, 233}}),
         4500,
         85,
         1000,
         7,
         {{29, 50}},
         {"A2 off", "A3 on"},
         0},
        {"207 bad",
         207,
         80,
         5000,
         0,
         {0},
         {1},
         cat({run(55530, 55534), run(55535, 55538), {56626, 55539, 55540, 278}}),
         4300,
         85,
         500,
         1,
         {{28, 0}},
         {"A3 off"},
         0},
        {"207 good",
         207,
         80,
         5000,
         10,
         {0},
         {1},
         cat({run(55530, 55534), run(55550, 55556), run(55560, 55564), {228, 233}}),
         4300,
         85,
         1000,
         1,
         {{28, 13}},
         {"A3 off"},
         0},
        {"144 bad at constitution 89",
         144,
         80,
         1000,
         89,
         {0},
         {9},
         cat({host_144, {13763, 13764}, run(13765, 13770), {277}}),
         0,
         85,
         500,
         7,
         {{27, 95}},
         {"A8 off", "A9 on"},
         0},
        {"145 good",
         145,
         80,
         1000,
         50,
         {0},
         {5},
         cat({host_144, {13763, 13764}, run(13771, 13776), {200, 233}}),
         0,
         85,
         1000,
         7,
         {{0, 100}},
         {"A10 on", "A9 off"},
         0},
        {"146 good",
         146,
         80,
         1000,
         50,
         {0},
         {0},
         cat({host_144, {13763, 13764}, run(13771, 13776), {227, 228, 229, 233}}),
         0,
         85,
         1000,
         7,
         {{27, 100}, {28, 13}, {29, 50}},
         {"A10 off"},
         1},
        {"146 declined",
         146,
         80,
         1000,
         50,
         {1},
         {},
         cat({host_144, {13763, 13764}, run(13777, 13782)}),
         1000,
         75,
         500,
         7,
         {},
         {"A10 off"},
         1},
    };
    for (const VisitCase& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        PlayerRecord& p = player_record;
        p.social_aptitude = 0;
        p.affection[PAID_VISIT_PERSON] = c.affection;
        p.money = c.money;
        p.constitution = c.constitution;
        p.stamina = 500;
        p.mood = 2;
        p.attr[2] = 100;
        p.attr[3] = 3;
        p.attr[4] = 40;
        p.skill[0] = 95;
        for (s32 k : {2, 8, 9, 10}) A(k).on = 0;
        const PaidVisit* v = paid_visit(c.slot);
        ASSERT_NE(v, nullptr);
        A(c.slot == 206 ? 2 : c.slot == 207 ? 3 : c.slot - 136).on = 1;
        hub_block.turns_consumed = 7;
        answers(c.answers);
        draws(c.draws);
        const PoolSnapshot before = pool_snapshot();
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), c.texts);
        EXPECT_EQ(p.money, c.money_after);
        EXPECT_EQ(p.affection[PAID_VISIT_PERSON], c.affection_after);
        EXPECT_EQ(p.stamina, c.stamina_after);
        EXPECT_EQ(hub_block.turns_consumed, c.turns);
        for (const auto& [g, value] : c.values) EXPECT_EQ(growth_value(g), value) << "value " << g;
        Changes changes = pool_changes(before);
        Changes expect = c.changes;
        std::sort(changes.begin(), changes.end());
        std::sort(expect.begin(), expect.end());
        EXPECT_EQ(changes, expect);
        EXPECT_EQ(flag(PAID_VISIT_FLAG_146), c.flag23);
        EXPECT_EQ(draws_left(), 0u);
    }
}

// ---- Pool episodes -----------------------------------------------------------------------------

// One pool episode: its slot, how to get it to start its episode, its intro texts, the outcome
// flag that the fake episode sets and the outro texts that follow for that outcome, with the
// entries the whole run switches and the outro's effects on the values `ready` set.
struct EpisodeCase {
    s32 slot;
    std::function<void()> ready;
    Texts intro, outro;
    s32 outcome_flag, outcome;
    Changes changes;
    std::function<void()> outro_effects;
};

std::vector<EpisodeCase> episode_cases() {
    return {
        {143,
         [] {
             C(3).on = 1;
             player_record.affection[83] = 70;
             player_record.mood = 3;
         },
         run(60430, 60433),
         {60534, 60539, 60532, 60533},
         15,
         1,
         {"C3 off"},
         [] {
             EXPECT_EQ(player_record.affection[83], 80);
             EXPECT_EQ(player_record.mood, 1);
             EXPECT_EQ(cal_place_button_on(4, 0), 1);
         }},
        {201,
         [] {
             B(5).on = 1;
             player_record.affection[146] = 20;
             player_record.fame = 10;
             dialog_answer(0);
         },
         {56649, 56650, 56651, 56652},
         {56691},
         4,
         3,
         {"B5 off", "B6 on"},
         [] {
             EXPECT_EQ(player_record.affection[146], 30);
             EXPECT_EQ(player_record.fame, 13);
         }},
    };
}

constexpr s32 TURN = 12;
constexpr s32 STOOD_FOR = 215; // the turn's after-turn handler in these tests

void episode_turn() {
    hub_block.calendar_turn = TURN;
    hub_block.turn_events_before[TURN] = -1;
    hub_block.turn_events_after[TURN] = STOOD_FOR;
    B(12).on = 1;
}

TEST_F(EventPoolsTest, PoolEpisodesRunTheirOutroAndGiveTheAfterTurnEntryBack) {
    for (const EpisodeCase& c : episode_cases()) {
        SCOPED_TRACE(c.slot);
        fresh();
        episode_turn();
        c.ready();
        s32 lent = -2;
        on_field_loop([&] {
            lent = hub_block.turn_events_after[TURN];
            flag(c.outcome_flag) = c.outcome;
            world_state.field_active = 0;
        });
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(lent, c.slot) << "the after-turn entry is the episode's while it runs";
        EXPECT_EQ(texts_from(m), cat({c.intro, c.outro}));
        EXPECT_EQ(hub_block.turn_events_after[TURN], STOOD_FOR);
        EXPECT_EQ(flag(POOL_EPISODE_FLAG), 0);
        EXPECT_EQ(B(12).on, 1) << "the after-turn handler is the hub's to run";
    }
}

// A load inside a pool episode ends the handler at once only when it left the episode: a game of
// another turn (the hub restarts its turn), or a game of this turn saved outside the episode. A
// save made inside the episode and loaded again there plays the episode on to its end, and the
// outro with its effects and entries follows.
TEST_F(EventPoolsTest, ALoadInsideAPoolEpisodeEndsTheHandlerOnlyWhenItLeftTheEpisode) {
    enum class Load { AnotherTurn, ThisTurnOutside, InsideTheEpisode };
    struct LoadCase {
        const char* what;
        Load load;
    };
    const LoadCase loads[] = {
        {"a game of another turn", Load::AnotherTurn},
        {"a game of this turn saved before the meeting", Load::ThisTurnOutside},
        {"a save made inside the episode", Load::InsideTheEpisode},
    };
    for (const EpisodeCase& c : episode_cases()) {
        for (const LoadCase& l : loads) {
            SCOPED_TRACE(std::to_string(c.slot) + ": " + l.what);
            fresh();
            episode_turn();
            c.ready();
            if (l.load == Load::ThisTurnOutside) {
                // Saved from the character screen on a map earlier in this turn.
                world_state.field_active = 1;
                ASSERT_EQ(save_game(1), 1);
                world_state.field_active = 0;
            }
            const PlayerRecord start = player_record;
            on_field_loop([&] {
                switch (l.load) {
                case Load::AnotherTurn:
                    hub_restart = 1; // as a load of another turn leaves it
                    break;
                case Load::ThisTurnOutside:
                    ASSERT_EQ(load_game(1), 1);
                    break;
                case Load::InsideTheEpisode:
                    ASSERT_EQ(save_game(1), 1);
                    flag(c.outcome_flag) = 0; // played on, then the save is loaded again
                    ASSERT_EQ(load_game(1), 1);
                    break;
                }
                flag(c.outcome_flag) = c.outcome; // the loaded game's episode ends
                world_state.field_active = 0;
            });
            const PoolSnapshot before = pool_snapshot();
            const size_t m = mark();
            run_slot(c.slot);
            EXPECT_EQ(hub_block.turn_events_after[TURN], STOOD_FOR);
            EXPECT_EQ(flag(POOL_EPISODE_FLAG), 0);
            if (l.load == Load::InsideTheEpisode) {
                EXPECT_EQ(texts_from(m), cat({c.intro, c.outro}));
                c.outro_effects();
                EXPECT_EQ(pool_changes(before), c.changes);
                continue;
            }
            EXPECT_EQ(texts_from(m), c.intro) << "no outro after a load";
            EXPECT_EQ(player_record.affection[83], start.affection[83]);
            EXPECT_EQ(player_record.affection[146], start.affection[146]);
            EXPECT_EQ(player_record.fame, start.fame);
            EXPECT_EQ(cal_place_button_on(4, 0), 0);
            // A game of another turn keeps what the intro switched (only 143 closes its entry
            // before the episode); the game saved before the meeting has every entry as it was.
            const bool closed_before = l.load == Load::AnotherTurn && c.slot == 143;
            EXPECT_EQ(pool_changes(before), closed_before ? Changes{"C3 off"} : Changes{});
            hub_restart = -1;
        }
    }
}

TEST_F(EventPoolsTest, ASlotOneSaveInsideAPoolEpisodeResumesTheEpisodeThroughTheHub) {
    for (const EpisodeCase& c : episode_cases()) {
        SCOPED_TRACE(c.slot);
        fresh();
        episode_turn();
        c.ready();
        // The player saves from the character screen inside the episode, then plays it out.
        on_field_loop([&] {
            player_record.story_flags[c.outcome_flag] = 0;
            ASSERT_EQ(save_game(1), 1);
            flag(c.outcome_flag) = c.outcome;
            world_state.field_active = 0;
        });
        run_slot(c.slot);
        ASSERT_EQ(hub_block.turn_events_after[TURN], STOOD_FOR);

        // Later the save is loaded: the hub runs its turn again with the field loop marked running.
        ASSERT_EQ(load_game(1), 1);
        EXPECT_EQ(world_state.field_active, 1);
        on_field_loop([&] {
            flag(c.outcome_flag) = c.outcome;
            world_state.field_active = 0;
        });
        const s32 loops = field_loops();
        hub_restart = -1;
        const size_t m = mark();
        hub_pass();
        EXPECT_EQ(field_loops(), loops + 1);
        EXPECT_EQ(world_state.field_active, 0);
        Texts shown = texts_from(m);
        const Texts expect = cat({c.outro, run(58000, 58017)});
        ASSERT_GE(shown.size(), expect.size());
        shown.resize(expect.size());
        EXPECT_EQ(shown, expect) << "no intro: the outro, then the after-turn handler it stood for";
        EXPECT_EQ(B(12).on, 0) << "slot 215 ran";
        EXPECT_EQ(hub_block.turn_events_after[TURN], STOOD_FOR);
        EXPECT_EQ(hub_block.calendar_turn, TURN + 1) << "the hub ended the turn";
    }
}

} // namespace
