// The field clock, the timetabled residents, the calendar step and the end of turn: clock jumps
// with their wrap and rounding, residents placed from their own row only, the calendar date, and
// the end-of-turn rules (mood drift replayed from fixed seeds, sickness, menus, party).
#include "game/clock.h"

#include "data/hub_block.h"
#include "data/roster.h"
#include "data/timetables.h"
#include "engine/math.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "tests/hub_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>
#include <vector>

namespace {

// The residents stand on a map that is not the current one, so a frame change needs no image.
constexpr s32 AWAY_MAP = 299;

void seed_draws(u32 seed) {
    rt_srand(seed);
    rand_counter = RAND_COUNTER_START;
}

struct Place {
    s32 map, x, y, frame, var_a;
    bool operator==(const Place&) const = default;
};

Place place_of(s32 obj) {
    return {attr_get(obj, ATTR_MAP), attr_get(obj, ATTR_X), attr_get(obj, ATTR_Y),
            obj_get_frame(obj), attr_get(obj, ATTR_VAR_A)};
}

void put(s32 obj, const Place& p) {
    attr_set(obj, ATTR_MAP, p.map);
    attr_set(obj, ATTR_X, p.x);
    attr_set(obj, ATTR_Y, p.y);
    obj_set_frame(obj, p.frame);
    attr_set(obj, ATTR_VAR_A, p.var_a);
}

constexpr Place START = {7, 111, 222, 0, 3};

class ClockTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        world_state.current_map = AWAY_MAP;
        for (s32 obj : timetable_npcs) {
            if (obj < 0) continue;
            attr_set(obj, ATTR_IN_USE, 1);
            attr_set(obj, ATTR_ACTIVE, 1);
            put(obj, START);
        }
        mood_last_seen = 1000;
    }
    void set_clock(s32 hour, s32 minute) {
        world_state.hour = u8(hour);
        world_state.minute = u8(minute);
    }
    // The place resident i takes from entry q of its row.
    static Place entry_place(s32 i, s32 q) {
        return {npc_timetable_map[i][q], npc_timetable_x[i][q], npc_timetable_y[i][q],
                npc_timetable_frame[i][q], npc_timetable_var_a[i][q]};
    }
};

// ---- Clock --------------------------------------------------------------------------------------

TEST_F(ClockTest, AdvanceWrapsTheHourRoundsToTheQuarterAndKeepsTheDate) {
    struct Case {
        s32 hour, minute, minutes, want_hour, want_minute;
    };
    const Case cases[] = {
        {23, 30, 120, 1, 30}, // past midnight, same day
        {10, 50, 15, 11, 0},  // 10:65 is 11:05, rounded down
        {10, 44, 15, 10, 45}, // 10:59 rounded down to 10:45
        {12, 0, 360, 18, 0},  {20, 0, 360, 2, 0},   {5, 59, 1, 6, 0},
        {23, 59, 60, 0, 45},  {8, 20, 1440, 8, 15}, // a whole day: only the rounding shows
    };
    for (const Case& c : cases) {
        set_clock(c.hour, c.minute);
        world_state.day = 13;
        world_state.month = 4;
        world_state.year = 2;
        clock_advance(c.minutes);
        EXPECT_EQ(world_state.hour, c.want_hour) << c.hour << ":" << c.minute << " + " << c.minutes;
        EXPECT_EQ(world_state.minute, c.want_minute)
            << c.hour << ":" << c.minute << " + " << c.minutes;
        EXPECT_EQ(world_state.day, 13);
        EXPECT_EQ(world_state.month, 4);
        EXPECT_EQ(world_state.year, 2);
    }
}

TEST_F(ClockTest, AdvanceChargesFatigueAndFullnessWithinTheirBounds) {
    struct Case {
        s32 fatigue, fullness, minutes, want_fatigue, want_fullness;
    };
    const Case cases[] = {
        {100, 100, 15, 115, 85},
        {990, 30, 60, 1000, 0},
        {0, 150, 360, 360, 0},
    };
    for (const Case& c : cases) {
        set_clock(20, 0); // outside the residents' hours: charged all the same
        player_record.fatigue = c.fatigue;
        player_record.fullness = c.fullness;
        clock_advance(c.minutes);
        EXPECT_EQ(player_record.fatigue, c.want_fatigue);
        EXPECT_EQ(player_record.fullness, c.want_fullness);
    }
}

// The clock only goes forward: a zero or negative jump changes nothing.
TEST_F(ClockTest, AdvanceByNothingOrBackwardChangesNothing) {
    for (s32 minutes : {0, -15, -600}) {
        set_clock(0, 30);
        player_record.fatigue = 200;
        player_record.fullness = 50;
        clock_advance(minutes);
        EXPECT_EQ(world_state.hour, 0);
        EXPECT_EQ(world_state.minute, 30);
        EXPECT_EQ(player_record.fatigue, 200);
        EXPECT_EQ(player_record.fullness, 50);
    }
}

// ---- Residents ----------------------------------------------------------------------------------

TEST_F(ClockTest, ResidentsStayOutsideTheDayHours) {
    const s32 obj = timetable_npcs[0];
    struct Case {
        s32 hour, minute, minutes;
    };
    for (const Case& c : {Case{4, 0, 60}, Case{17, 30, 60}, Case{22, 0, 120}, Case{3, 0, 120}}) {
        set_clock(c.hour, c.minute);
        clock_advance(c.minutes);
        EXPECT_EQ(place_of(obj), START) << c.hour << ":" << c.minute;
    }
    set_clock(19, 0);
    clock_apply();
    EXPECT_EQ(place_of(obj), START);
}

// A jump into the day hours places every active resident from entry q of its own row (8:00 is
// entry 8, where resident 0 has already moved to map 40), leaves empty fields alone, and shows a
// negative frame as the image mirrored.
TEST_F(ClockTest, ResidentsTakeTheEntryOfTheCurrentQuarter) {
    set_clock(5, 30);
    clock_advance(150); // 8:00
    const s32 q = 8;
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        const s32 obj = timetable_npcs[i];
        if (obj < 0) continue;
        const Place e = entry_place(i, q);
        const Place want = e.map < 0 ? START : e; // rows not yet started are all empty
        EXPECT_EQ(place_of(obj), want) << "resident " << i;
    }
    EXPECT_EQ(place_of(timetable_npcs[0]), (Place{40, 661, 861, 4202, 10}));

    set_clock(10, 20); // 10:15 is entry 17: resident 1 faces the other way
    clock_apply();
    EXPECT_EQ(place_of(timetable_npcs[1]), (Place{10, 2264, 946, -5322, 11}));
    EXPECT_EQ(attr_get(timetable_npcs[1], ATTR_MIRROR), 1);

    set_clock(17, 45); // the last entry
    clock_apply();
    EXPECT_EQ(place_of(timetable_npcs[10]), (Place{23, 425, 334, 33346, 46}));
}

// At 6:00 each resident reads entry 0 of its own row; the words around the row are never applied.
TEST_F(ClockTest, AtSixResidentsReadOnlyTheirOwnRow) {
    const Place marker = {12, 345, 678, 4202, 9};
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        npc_timetable_map[i][TIMETABLE_QUARTERS - 1] = marker.map;
        npc_timetable_x[i][TIMETABLE_QUARTERS - 1] = marker.x;
        npc_timetable_y[i][TIMETABLE_QUARTERS - 1] = marker.y;
        npc_timetable_frame[i][TIMETABLE_QUARTERS - 1] = marker.frame;
        npc_timetable_var_a[i][TIMETABLE_QUARTERS - 1] = marker.var_a;
    }
    // Resident 3 has an entry of its own at 6:00, with only x and the state set.
    npc_timetable_x[3][0] = 1500;
    npc_timetable_var_a[3][0] = 2;
    set_clock(5, 45);
    clock_advance(15);
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        const s32 obj = timetable_npcs[i];
        if (obj < 0 || i == 3) continue;
        EXPECT_EQ(place_of(obj), START) << "resident " << i;
    }
    EXPECT_EQ(place_of(timetable_npcs[3]), (Place{START.map, 1500, START.y, START.frame, 2}));
}

// A hidden resident keeps its place; a slot naming no resident, or an object number outside the
// object table, is skipped.
TEST_F(ClockTest, HiddenResidentsAndBadSlotsAreSkipped) {
    const s32 hidden = timetable_npcs[0];
    attr_set(hidden, ATTR_ACTIVE, 0);
    timetable_npcs[12] = OBJECT_COUNT;
    timetable_npcs[13] = 1 << 20;
    for (s32 q = 0; q < TIMETABLE_QUARTERS; ++q)
        npc_timetable_map[12][q] = npc_timetable_map[13][q] = 40;
    set_clock(12, 0);
    clock_apply();
    EXPECT_EQ(place_of(hidden), START);
    EXPECT_EQ(place_of(timetable_npcs[1]), entry_place(1, 24)); // the others move
}

// ---- Calendar step
// --------------------------------------------------------------------------------

TEST_F(ClockTest, CalendarStepAddsSixDaysInThirtyDayMonths) {
    struct Case {
        s32 day, month, year, want_day, want_month, want_year;
    };
    const Case cases[] = {
        {25, 12, 3, 1, 1, 4}, {19, 5, 1, 25, 5, 1}, {25, 5, 1, 1, 6, 1},
        {24, 5, 1, 30, 5, 1}, {1, 9, 1, 7, 9, 1},
    };
    for (const Case& c : cases) {
        world_state.day = u8(c.day);
        world_state.month = u8(c.month);
        world_state.year = u8(c.year);
        hub_block.calendar_turn = 17;
        calendar_step();
        EXPECT_EQ(world_state.day, c.want_day) << c.day << "/" << c.month;
        EXPECT_EQ(world_state.month, c.want_month) << c.day << "/" << c.month;
        EXPECT_EQ(world_state.year, c.want_year) << c.day << "/" << c.month;
        EXPECT_EQ(hub_block.calendar_turn, 18);
    }
}

// Five turns a month and sixty a year: turn 235 falls on day 1 of month 8 of year 5.
TEST_F(ClockTest, CalendarReachesTheOpenWorldDate) {
    world_state.day = 1;
    world_state.month = 9;
    world_state.year = 1;
    hub_block.calendar_turn = 0;
    for (s32 t = 0; t < 235; ++t) calendar_step();
    EXPECT_EQ(world_state.day, 1);
    EXPECT_EQ(world_state.month, 8);
    EXPECT_EQ(world_state.year, 5);
    EXPECT_EQ(hub_block.calendar_turn, 235);
}

// ---- End of turn
// ----------------------------------------------------------------------------------

class EndTurnTest : public ClockTest {
  protected:
    void SetUp() override {
        ClockTest::SetUp();
        PlayerRecord& p = player_record;
        p.mood = 2;
        p.mood_turns = 0;
        p.condition = 2;
        p.sick_turns = 0;
        mood_last_seen = 2;
        world_state.day = 1;
        world_state.month = 9;
        world_state.year = 1;
        hub_block.calendar_turn = 20;
        for (auto& row : hub_block.hub_menu_avail)
            for (s32& b : row) b = 0;
    }
    static std::set<std::pair<s32, s32>> enabled_buttons() {
        std::set<std::pair<s32, s32>> out;
        for (s32 l = 0; l < HUB_MENU_LEVELS; ++l)
            for (s32 b = 0; b < HUB_MENU_BUTTONS; ++b)
                if (hub_block.hub_menu_avail[l][b]) out.insert({l, b});
        return out;
    }
};

// A three-turn action while sick: the sickness ends in the first turn, all three turns still run
// (18 days), and the turn resets what the action used.
TEST_F(EndTurnTest, ThreeTurnsWhileSickEndTheSicknessAtOnce) {
    PlayerRecord& p = player_record;
    p.condition = 6;
    p.sick_turns = 5;
    p.fatigue = 700;
    p.fullness = 90;
    p.sleep_need = 40;
    p.hp = 3;
    p.mp = 1;
    for (s32& slot : p.party) slot = 12;
    hub_block.hub_command = 50;
    hub_block.hub_menu_level = 3;
    hub_block.hub_menu_pick = 2;
    roster[30].hp = 1;

    hub_end_turn(3);

    EXPECT_EQ(p.sick_turns, 0);
    EXPECT_EQ(p.condition, 4);
    EXPECT_EQ(p.mood, 3);
    EXPECT_EQ(world_state.day, 19);
    EXPECT_EQ(world_state.month, 9);
    EXPECT_EQ(hub_block.calendar_turn, 23);
    EXPECT_EQ(p.fatigue, 0);
    EXPECT_EQ(p.fullness, 0);
    EXPECT_EQ(p.sleep_need, 0);
    EXPECT_EQ(p.hp, p.hp_max);
    EXPECT_EQ(p.mp, p.mp_max);
    for (s32 slot : p.party) EXPECT_EQ(slot, -1);
    EXPECT_EQ(hub_block.hub_command, -1);
    EXPECT_EQ(hub_block.hub_menu_level, 0);
    EXPECT_EQ(hub_block.hub_menu_pick, -1);
    EXPECT_EQ(roster[30].hp, roster[30].hp_max); // everybody restored each turn
    EXPECT_EQ(enabled_buttons(), (std::set<std::pair<s32, s32>>{{0, 0}, {0, 1}}));
}

// A damaged turn count runs no more turns than the calendar holds; none at all does only the
// reset of the turn.
TEST_F(EndTurnTest, TurnCountsOutsideTheCalendarAreBounded) {
    hub_block.calendar_turn = 0;
    player_record.fatigue = 50;
    hub_end_turn(0);
    EXPECT_EQ(hub_block.calendar_turn, 0);
    EXPECT_EQ(player_record.fatigue, 0);
    hub_end_turn(-7);
    EXPECT_EQ(hub_block.calendar_turn, 0);
    hub_end_turn(INT_MAX);
    EXPECT_EQ(hub_block.calendar_turn, HUB_TURNS);
}

// When a sickness ends, the menus come back by the turn it ends in.
TEST_F(EndTurnTest, SicknessEndReenablesMenusByTurn) {
    std::set<std::pair<s32, s32>> full = {{0, 0}, {0, 1}, {0, 5}, {0, 6}, {0, 7}, {7, 0}};
    for (s32 b = 2; b < 8; ++b) full.insert({7, b});
    struct Case {
        s32 turn;
        std::set<std::pair<s32, s32>> want;
    };
    const Case cases[] = {
        {9, {}}, {20, {{0, 0}, {0, 1}}}, {34, {{0, 0}, {0, 1}}}, {35, full}, {120, full},
    };
    for (const Case& c : cases) {
        for (auto& row : hub_block.hub_menu_avail)
            for (s32& b : row) b = 0;
        player_record.condition = 5;
        player_record.sick_turns = 1;
        hub_block.calendar_turn = c.turn;
        hub_end_turn(1);
        EXPECT_EQ(enabled_buttons(), c.want) << "turn " << c.turn;
        EXPECT_EQ(player_record.condition, 4);
        EXPECT_EQ(player_record.mood, 3);
    }
}

TEST_F(EndTurnTest, SicknessCountsDownOneTurnAtATime) {
    PlayerRecord& p = player_record;
    p.condition = 7;
    p.sick_turns = 3;
    p.mood = 4;
    mood_last_seen = 4;
    hub_block.calendar_turn = 40;
    hub_end_turn(1);
    EXPECT_EQ(p.sick_turns, 2);
    EXPECT_EQ(p.condition, 7);
    EXPECT_TRUE(enabled_buttons().empty());
    hub_end_turn(2); // two turns while sick: the sickness ends within them
    EXPECT_EQ(p.sick_turns, 0);
    EXPECT_EQ(p.condition, 4);
    EXPECT_EQ(p.mood, 3);
}

TEST_F(EndTurnTest, PartyIsClearedOnlyBeforeTurn234) {
    for (s32 turn : {233, 234}) {
        hub_block.calendar_turn = turn;
        for (s32 i = 0; i < PLAYER_PARTY; ++i) player_record.party[i] = 100 + i;
        hub_end_turn(1);
        for (s32 i = 0; i < PLAYER_PARTY; ++i)
            EXPECT_EQ(player_record.party[i], turn < 234 ? -1 : 100 + i) << "turn " << turn;
    }
}

// The mood drift against a model of its draws: for every mood and a spread of turn counts, the
// same seed gives the model's first draw(s) and then the outcome.
TEST_F(EndTurnTest, MoodDriftFollowsItsDraws) {
    struct Row {
        s32 range, to; // to -1: a further rand_below(2) picks 3 (0) or 1
    };
    const Row model[5] = {{10, 1}, {8, 2}, {6, -1}, {8, 2}, {10, 3}};
    s32 moves = 0;
    for (s32 mood = 0; mood < 5; ++mood) {
        for (s32 n : {2, 3, 5, 7}) {
            for (u32 seed = 1; seed <= 8; ++seed) {
                s32 want_mood = mood;
                s32 want_turns = n + 1;
                if (n >= 3) {
                    seed_draws(seed);
                    const Row& r = model[mood];
                    if (rand_below(r.range) < n) {
                        want_mood = r.to >= 0 ? r.to : (rand_below(2) == 0 ? 3 : 1);
                        want_turns = 0; // moved: the count starts again
                        ++moves;
                    }
                }
                seed_draws(seed);
                player_record.mood = mood;
                player_record.mood_turns = n;
                mood_last_seen = mood;
                hub_end_turn(1);
                EXPECT_EQ(player_record.mood, want_mood) << mood << " " << n << " " << seed;
                EXPECT_EQ(player_record.mood_turns, want_turns) << mood << " " << n << " " << seed;
                EXPECT_EQ(mood_last_seen, want_mood);
            }
        }
    }
    EXPECT_GT(moves, 0);
}

// The certain ends of the drift: below three turns nothing moves; from 10 (moods 0, 4), 8 (1, 3)
// or 6 (2) turns the mood always moves, one step toward 2 or from 2 either way.
TEST_F(EndTurnTest, MoodDriftIsCertainAtItsBounds) {
    struct Case {
        s32 mood, n;
        std::set<s32> outcomes;
    };
    const Case cases[] = {
        {2, 2, {2}},  {0, 2, {0}}, {4, 0, {4}}, {0, 10, {1}},
        {4, 10, {3}}, {1, 8, {2}}, {3, 8, {2}}, {2, 6, {1, 3}},
    };
    for (const Case& c : cases) {
        std::set<s32> seen;
        for (u32 seed = 100; seed < 120; ++seed) {
            seed_draws(seed);
            player_record.mood = c.mood;
            player_record.mood_turns = c.n;
            mood_last_seen = c.mood;
            hub_end_turn(1);
            seen.insert(player_record.mood);
        }
        EXPECT_EQ(seen, c.outcomes) << "mood " << c.mood << " after " << c.n;
    }
}

// A mood changed since the last end of turn starts its count again; an unset last mood takes the
// current one first, so the first end of turn counts on.
TEST_F(EndTurnTest, MoodChangedSinceTheLastTurnRestartsItsCount) {
    PlayerRecord& p = player_record;
    p.mood = 0;
    p.mood_turns = 1;
    mood_last_seen = 2;
    hub_end_turn(1);
    EXPECT_EQ(p.mood_turns, 0);
    EXPECT_EQ(mood_last_seen, 0);

    p.mood = 1;
    p.mood_turns = 1;
    mood_last_seen = 1000;
    hub_end_turn(1);
    EXPECT_EQ(p.mood_turns, 2);
    EXPECT_EQ(mood_last_seen, 1);
}

} // namespace
