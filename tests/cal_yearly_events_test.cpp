// The yearly events, the fixed-turn scenes and the switching stubs run through the calendar
// table: the texts each branch shows and the state it leaves; the stubs as one table of expected
// switches checked against the whole hub block.
#include "calendar/yearly_events.h"

#include "battle/battle.h"
#include "game/inventory.h"
#include "tests/cal_story_fixture.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

using namespace cal_cases;

namespace {

class CalYearlyTest : public CalCaseTest {};

// ---- The schedule of a new game ----------------------------------------------------------------

TEST_F(CalYearlyTest, ANewGameSchedulesEveryYearlyEventAndStub) {
    struct Placed {
        bool before;
        s32 turn, slot;
    };
    const Placed placed[] = {
        {true, 49, 121},   {false, 79, 122},  {true, 169, 123},  {false, 74, 126},
        {true, 99, 127},   {false, 194, 128}, {false, 139, 153}, {false, 154, 156},
        {false, 199, 161}, {false, 45, 162},  {false, 70, 163},  {false, 90, 164},
        {true, 80, 165},   {true, 140, 166},  {true, 200, 167},  {true, 57, 168},
        {true, 117, 169},  {true, 177, 170},  {true, 40, 171},   {true, 160, 172},
        {true, 220, 173},
    };
    for (const Placed& p : placed)
        EXPECT_EQ(p.before ? hub_block.turn_events_before[p.turn]
                           : hub_block.turn_events_after[p.turn],
                  p.slot)
            << p.slot;
    EXPECT_EQ(hub_block.turn_events_after[114], -1); // slot 044 writes 158 there
}

// ---- Switching stubs ---------------------------------------------------------------------------

// An expected switch: an entry's slot and on afterwards (slot KEEP: as it was), or a place
// button switched on.
constexpr s32 KEEP = -100;
struct Expect {
    CalEntry entry;
    s32 slot = KEEP, on = 1;
    s32 button = -1, set = 0; // a place button instead of an entry
};
Expect on(CalEntry e) {
    return {e, KEEP, 1};
}
Expect off(CalEntry e) {
    return {e, KEEP, 0};
}
Expect emptied(CalEntry e) {
    return {e, -1, 0};
}
Expect button_on(s32 button, s32 set) {
    return {{}, KEEP, 1, button, set};
}

struct StubCase {
    const char* what;
    s32 slot;
    std::function<void()> setup;
    std::vector<Expect> expect;
    s32 flag76 = 0; // story flag 76 afterwards
};

TEST_F(CalYearlyTest, SwitchingStubs) {
    const CalEntry place003 = cal_place(0, 0, 3), place1310 = cal_place(1, 3, 10);
    const auto p40 = [](s32 a, s32 flag) {
        return [=] {
            pr().affection[40] = a;
            pr().story_flags[76] = flag;
        };
    };
    const auto place_1_3_10 = [=](s32 v) { return [=] { cal_entry(place1310)->on = v; }; };
    const auto b25 = [](s32 flag, s32 chivalry) {
        return [=] {
            pr().story_flags[97] = flag;
            pr().chivalry = chivalry;
        };
    };
    const StubCase cases[] = {
        {"121", 121, nullptr, {on(place003), on(cal_pool_c(2))}},
        {"122 person 40 at 70",
         122,
         p40(70, 0),
         {on(cal_pool_a(8)), on(cal_pool_a(9)), on(cal_pool_a(10)), emptied(place003)},
         1},
        {"122 person 40 at 69", 122, p40(69, 0), {emptied(place003)}},
        {"122 already done", 122, p40(90, 1), {emptied(place003)}, 1},
        {"123 place 1.3 entry 10 on", 123, place_1_3_10(1), {button_on(3, 1)}},
        {"123 place 1.3 entry 10 off", 123, place_1_3_10(0), {}},
        {"123 place 1.3 entry 10 not 1", 123, place_1_3_10(-1), {}},
        {"126",
         126,
         nullptr,
         {on(cal_pool_b(21)), on(cal_pool_a(12)), off(cal_pool_b(11)), off(cal_pool_b(10)),
          off(cal_pool_c(2)), off(cal_pool_a(5)), off(cal_pool_a(6)), off(cal_pool_a(4))}},
        {"127", 127, nullptr, {off(cal_pool_b(14)), off(cal_pool_b(22))}},
        {"128", 128, nullptr, {off(cal_pool_b(12)), off(cal_pool_b(13))}},
        {"153", 153, nullptr, {on(cal_pool_b(24)), on(cal_pool_b(12))}},
        {"156", 156, nullptr, {off(cal_pool_b(24))}},
        {"161 flag 97 and chivalry 79", 161, b25(1, 79), {on(cal_pool_b(25))}},
        {"161 chivalry 80", 161, b25(1, 80), {}},
        {"161 without flag 97", 161, b25(0, 10), {}},
    };
    for (const StubCase& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        if (c.setup) c.setup();
        // Every entry starts in the state opposite to the one expected, so each switch shows.
        for (const Expect& e : c.expect)
            if (e.button < 0) cal_entry(e.entry)->on = e.on == 1 ? 0 : 1;
        const auto want = std::make_unique<HubBlock>(hub_block);
        for (const Expect& e : c.expect) {
            if (e.button >= 0) {
                want->hub_third_avail[e.button][e.set] = 1;
                continue;
            }
            EventEntry* w = nullptr;
            switch (e.entry.kind) {
            case CalEntryKind::PoolA:
                w = &want->encounter_pool_a[e.entry.index];
                break;
            case CalEntryKind::PoolB:
                w = &want->encounter_pool_b[e.entry.index];
                break;
            case CalEntryKind::PoolC:
                w = &want->encounter_pool_c[e.entry.index];
                break;
            case CalEntryKind::Place:
                w = &want->place_events[e.entry.set][e.entry.place][e.entry.index];
                break;
            }
            if (e.slot != KEEP) w->slot = e.slot;
            w->on = e.on;
        }
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_TRUE(texts_from(m).empty());
        EXPECT_EQ(std::memcmp(&hub_block, want.get(), sizeof(HubBlock)), 0);
        EXPECT_EQ(pr().story_flags[76], c.flag76);
    }
    // The table holds exactly the nine stubs.
    std::vector<s32> slots;
    for (const YearlyStub& s : yearly_stubs()) slots.push_back(s.slot);
    EXPECT_EQ(slots, (std::vector<s32>{121, 122, 123, 126, 127, 128, 153, 156, 161}));
}

// ---- Scenes ------------------------------------------------------------------------------------

TEST_F(CalYearlyTest, FixedTurnScenes) {
    const Case cases[] = {
        {"158",
         158,
         [] { hub_block.hub_third_avail[1][0] = 0; },
         {},
         {},
         {},
         ids({R(14576, 14579), 14585}),
         [](const PlayerRecord&) { EXPECT_EQ(hub_block.hub_third_avail[1][0], 1); }},
        {"162",
         162,
         nullptr,
         {},
         {},
         {},
         ids({R(17063, 17070), R(17073, 17090), R(17093, 17104)}),
         [](const PlayerRecord&) { EXPECT_EQ(hub_block.scene_backdrop, 60401); }},
        {"163 lost",
         163,
         nullptr,
         {},
         {0},
         {},
         ids({R(17000, 17025)}),
         [](const PlayerRecord&) { EXPECT_EQ(hub_block.scene_backdrop, 60423); }},
        {"163 won", 163, nullptr, {}, {1}, {}, ids({R(17000, 17025)}), nullptr},
        {"164",
         164,
         nullptr,
         {},
         {},
         {},
         ids({R(17026, 17062), R(17071, 17072)}),
         [](const PlayerRecord&) { EXPECT_EQ(hub_block.scene_backdrop, 60407); }},
    };
    for (const Case& c : cases) run(c);
    EXPECT_EQ(fought(), (std::vector<s32>{93, 93}));
}

// ---- Reward reckoning --------------------------------------------------------------------------

// Income 2000: 30 x 50 + 30 x 10 + 10 x (1 + 2 + 3 + 4) + 20 x 5.
void income_2000() {
    pr().affection[205] = 50;
    pr().chivalry = 10;
    for (s32 k = 10; k <= 13; ++k) pr().skill[k] = k - 9;
    pr().fame = 5;
    pr().money = 100;
    pr().music_id = 10061;
}

TEST_F(CalYearlyTest, IncomeIsTheWeightedSum) {
    income_2000();
    EXPECT_EQ(yearly_income(), 2000);
    pr().fame = 7;
    pr().affection[205] = 0;
    EXPECT_EQ(yearly_income(), 0 + 300 + 100 + 140);
    // Values from a broken saved game cannot wrap the sum.
    pr().fame = INT32_MAX;
    EXPECT_GT(yearly_income(), 0);
}

TEST_F(CalYearlyTest, RewardOfTurn80ByTheYearsFlag) {
    struct Year {
        s32 flag, mood_before;
        std::vector<s32> texts;
        s32 piece, after_line; // played once after this line
        s32 money, mood;
    };
    const Year years[] = {
        {1, 4, ids({R(26028, 26046)}), 10046, 26041, 100 + 2000 + 5000, 0},
        {2, 0, ids({R(26047, 26063)}), 10076, 26059, 100 + 2000 - 2000, 4},
        {0, 2, ids({R(26010, 26026)}), 10077, 26021, 100 + 2000, 2},
        {3, 2, ids({R(26010, 26026)}), 10077, 26021, 100 + 2000, 2},
    };
    for (const Year& y : years) {
        run({"165",
             165,
             [&] {
                 income_2000();
                 pr().story_flags[96] = y.flag;
                 pr().mood = y.mood_before;
             },
             {},
             {},
             {},
             y.texts,
             [&](const PlayerRecord&) {
                 EXPECT_EQ(pr().money, y.money);
                 EXPECT_EQ(pr().mood, y.mood);
                 EXPECT_EQ(hub_block.scene_backdrop, 60415);
             }});
        // The piece once, right after its line; at the end the player's music again.
        const std::vector<std::string> lines = dialog_lines();
        const std::string once = "music " + std::to_string(y.piece) + " 1";
        const auto said = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.rfind("hub_say", 0) == 0 && l.size() >= 5 &&
                   l.substr(l.size() - 5) == std::to_string(y.after_line);
        });
        ASSERT_NE(said, lines.end());
        EXPECT_EQ(*(said + 1), once);
        EXPECT_EQ(lines.back(), "music 10061 0");
    }
}

TEST_F(CalYearlyTest, RewardOfTurn80CanBeNegativeAndMoneyStopsAtZero) {
    run({"165 bad year, small income",
         165,
         [] {
             income_2000();
             pr().affection[205] = 0; // income 500: 100 + 500 - 2000 is below 0
             pr().story_flags[96] = 2;
         },
         {},
         {},
         {},
         ids({R(26047, 26063)}),
         [](const PlayerRecord&) { EXPECT_EQ(pr().money, 0); }});
}

// Battles that leave person 205 with the queued hp, logging the hp each starts with.
std::deque<s32> hp_after;
std::vector<s32> hp_at_start;
s32 household_fake(s32 encounter) {
    hp_at_start.push_back(roster[205].hp);
    roster[205].hp = hp_after.empty() ? 0 : hp_after.front();
    if (!hp_after.empty()) hp_after.pop_front();
    return encounter % 3;
}

TEST_F(CalYearlyTest, RewardOfTurn140ByTheHouseholdsLastBattle) {
    EXPECT_EQ(yearly_battle_bonus(10, 20, 20), 5000);
    struct Fight {
        s32 h1, h2, h3, bonus;
    };
    const Fight fights[] = {
        {100, 200, 200, 5000}, {50, 50, 50, 5000}, {300, 100, 200, 2000},
        {100, 300, 200, 2000}, {300, 400, 200, 0},
    };
    for (const Fight& f : fights) {
        SCOPED_TRACE(f.bonus);
        hp_after = {f.h1, f.h2, f.h3};
        hp_at_start.clear();
        battle_run_seam = household_fake;
        run({"166",
             166,
             [] {
                 income_2000();
                 pr().mood = 4;
                 roster[203].hp = roster[204].hp = 1;
             },
             {},
             {},
             {},
             ids({R(26064, 26075)}),
             [&](const PlayerRecord&) {
                 EXPECT_EQ(pr().money, 100 + 2000 + f.bonus);
                 EXPECT_EQ(pr().mood, 1);
                 for (s32 p : {203, 204, 205}) EXPECT_EQ(roster[p].hp, roster[p].hp_max) << p;
             }});
        // Healed before the second and third battles.
        ASSERT_EQ(hp_at_start.size(), 3u);
        EXPECT_EQ(hp_at_start[1], roster[205].hp_max);
        EXPECT_EQ(hp_at_start[2], roster[205].hp_max);
    }
}

TEST_F(CalYearlyTest, RewardOfTurn200) {
    run({"167",
         167,
         [] {
             income_2000();
             pr().mood = 3;
         },
         {},
         {},
         {},
         ids({R(26076, 26089)}),
         [](const PlayerRecord&) {
             EXPECT_EQ(pr().money, 2100);
             EXPECT_EQ(pr().mood, 0);
         }});
}

// ---- Household talk ----------------------------------------------------------------------------

TEST_F(CalYearlyTest, HouseholdTalkOfTurn57) {
    struct Answer {
        s32 answer;
        std::vector<s32> texts;
        s32 affection;
    };
    const Answer answers[] = {
        {0, ids({R(26100, 26108)}), 45},
        {1, ids({R(26100, 26106), 26109, 26110}), 55},
        {2, ids({R(26100, 26106), 26111, 26112}), 45},
    };
    for (const Answer& a : answers)
        run({"168",
             168,
             [] { pr().affection[205] = 50; },
             {a.answer},
             {},
             {},
             a.texts,
             [&](const PlayerRecord&) { EXPECT_EQ(pr().affection[205], a.affection); }});
}

TEST_F(CalYearlyTest, QuizOfTurn117) {
    const std::vector<s32> intro = ids({R(26113, 26122)});
    auto with = [&](std::vector<s32> tail) {
        std::vector<s32> t = intro;
        t.insert(t.end(), tail.begin(), tail.end());
        return t;
    };
    struct Quiz {
        std::vector<s32> answers;
        std::vector<s32> texts;
        bool prize;
    };
    const Quiz quizzes[] = {
        {{2, 1, 3},
         with(ids({26127, R(26127, 26132), 26134, R(26135, 26140), 26142, R(26143, 26144)})),
         true},
        {{0, 1, 3},
         with(ids({R(26123, 26125), R(26127, 26132), 26134, R(26135, 26140), 26142})),
         false},
        {{2, 0, 0},
         with(ids({26127, R(26127, 26132), 26133, 26124, 26125, R(26135, 26141)})),
         false},
        {{2, 1, 2}, with(ids({26127, R(26127, 26132), 26134, R(26135, 26141)})), false},
    };
    for (const Quiz& q : quizzes)
        run({"169",
             169,
             [] { pr().affection[205] = 50; },
             q.answers,
             {},
             {},
             q.texts,
             [&](const PlayerRecord&) {
                 EXPECT_EQ(inv_has(1054), q.prize ? 1 : 0);
                 EXPECT_EQ(pr().affection[205], q.prize ? 55 : 45);
             }});
}

TEST_F(CalYearlyTest, BestSkillTakesTheLastOfTheHighest) {
    struct Skills {
        std::vector<std::pair<s32, s32>> values; // the rest of the seven at 0
        s32 best;
    };
    const Skills cases[] = {
        {{}, 23},
        {{{10, 50}, {11, 49}}, 10},
        {{{12, 60}, {13, 60}}, 13},
        {{{22, 70}, {23, 70}}, 23},
        {{{21, 80}, {23, 79}}, 21},
    };
    for (const Skills& c : cases) {
        for (s32 k : YEARLY_BEST_SKILLS) pr().skill[k] = 0;
        for (const auto& [k, v] : c.values) pr().skill[k] = v;
        EXPECT_EQ(yearly_best_skill(), c.best);
    }
}

TEST_F(CalYearlyTest, HouseholdTalkOfTurn177ByTheBestSkill) {
    const std::vector<s32> other = ids({R(26177, 26186)});
    auto by = [&](std::vector<s32> mid) {
        std::vector<s32> t = other;
        t.insert(t.end(), mid.begin(), mid.end());
        t.push_back(26207);
        return t;
    };
    struct Talk {
        s32 skill;
        std::vector<s32> texts;
    };
    const Talk talks[] = {
        {-1, ids({R(26150, 26176)})}, // all seven equal: skill 23
        {23, ids({R(26150, 26176)})},     {10, by(ids({R(26194, 26195)}))},
        {11, by(ids({R(26187, 26188)}))}, {12, by(ids({R(26200, 26206)}))},
        {13, by(ids({R(26196, 26199)}))}, {21, by(ids({R(26191, 26193)}))},
        {22, by(ids({R(26189, 26190)}))},
    };
    for (const Talk& t : talks)
        run({"170",
             170,
             [&] {
                 for (s32 k : YEARLY_BEST_SKILLS) pr().skill[k] = 40;
                 if (t.skill >= 0) pr().skill[t.skill] = 41;
                 pr().mood = 4;
             },
             {},
             {},
             {},
             t.texts,
             [](const PlayerRecord&) { EXPECT_EQ(pr().mood, 1); }});
}

// ---- Showing -----------------------------------------------------------------------------------

struct Show {
    const char* what;
    s32 slot;
    s32 flag71, flag72;     // the earlier years' records
    s32 id, level;          // the piece in list 23 (id -1: the list is empty)
    s32 skill23;            //
    std::vector<s32> texts; //
    bool success;           //
};

TEST_F(CalYearlyTest, ShowingsOfThreeYears) {
    const std::vector<s32> first = ids({R(26210, 26217)});
    const std::vector<s32> later = ids({R(26232, 26233)});
    auto join = [](std::vector<s32> a, std::vector<s32> b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<s32> y1_ok = join(first, ids({R(26218, 26223)}));
    const std::vector<s32> y1_fail = join(first, ids({R(26224, 26231)}));
    const std::vector<s32> same = join(later, ids({R(26234, 26237)}));
    const std::vector<s32> ok = join(later, ids({R(26238, 26241)}));
    const std::vector<s32> fail = join(later, ids({R(26242, 26244)}));
    const Show shows[] = {
        {"171 empty list, skill 23 at 60", 171, 0, 0, -1, 0, 60, y1_ok, true},
        {"171 empty list, skill 23 at 59", 171, 0, 0, -1, 0, 59, y1_fail, false},
        {"171 a piece at 50", 171, 0, 0, 60, 50, 0, y1_ok, true},
        {"171 a piece at 49", 171, 0, 0, 60, 49, 100, y1_fail, false},
        {"172 the first year's piece", 172, 60, 0, 60, 100, 0, same, false},
        {"172 a new piece at 50", 172, 60, 0, 61, 50, 0, ok, true},
        {"172 a new piece at 49", 172, 60, 0, 61, 49, 0, fail, false},
        {"172 empty list", 172, 60, 0, -1, 0, 100, fail, false},
        {"173 the first year's piece", 173, 60, 61, 60, 100, 0, same, false},
        {"173 the second year's piece", 173, 60, 61, 61, 100, 0, same, false},
        {"173 a new piece at 80", 173, 60, 61, 62, 80, 0, ok, true},
        {"173 empty list", 173, 60, 61, -1, 0, 100, fail, false},
    };
    for (const Show& s : shows) {
        run({s.what,
             s.slot,
             [&] {
                 pr().story_flags[71] = s.flag71;
                 pr().story_flags[72] = s.flag72;
                 if (s.id >= 0) know(23, 0, s.id, s.level);
                 pr().skill[23] = s.skill23;
                 for (s32 p : YEARLY_SHOWING_PEOPLE) pr().affection[p] = 50;
                 pr().mood = 2;
             },
             {},
             {},
             {},
             s.texts,
             [&](const PlayerRecord&) {
                 const s32 flag = 71 + (s.slot - 171);
                 EXPECT_EQ(pr().story_flags[flag], s.id >= 0 ? s.id : -2);
                 for (s32 p : YEARLY_SHOWING_PEOPLE)
                     EXPECT_EQ(pr().affection[p], s.success ? 55 : 45) << p;
                 EXPECT_EQ(pr().mood, s.success ? 0 : 4);
                 EXPECT_EQ(hub_block.scene_backdrop, 60416);
             },
             s.id >= 0 ? 0 : -1});
        if (s.id >= 0) {
            EXPECT_TRUE(all_clicks_taken());
        }
    }
}

TEST_F(CalYearlyTest, ThirdYearsRepeatShowsPerson20OnItsSecondLine) {
    for (s32 slot : {172, 173}) {
        run({"repeat",
             slot,
             [] {
                 pr().story_flags[71] = 60;
                 know(23, 0, 60, 100);
             },
             {},
             {},
             {},
             ids({R(26232, 26237)}),
             nullptr,
             0});
        const std::vector<std::string> lines = dialog_lines();
        const std::string expect = slot == 173 ? "hub_say 1 0 20 26235" : "hub_say 1 0 30 26235";
        EXPECT_NE(std::find(lines.begin(), lines.end(), expect), lines.end()) << slot;
    }
}

} // namespace
