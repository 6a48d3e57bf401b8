// Table-driven cases for calendar handlers: a run of a handler from a new game's state (restored
// before every case) with the answers, fake battle results, forced draws and pick-screen click it
// needs, the text ids it must show and a check of the state it leaves.
#pragma once
#include "data/battle_tables.h"
#include "data/roster.h"
#include "game/pick_screens.h"
#include "game/player.h"
#include "tests/calendar_fixture.h"
#include "tests/timed_clicks.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

namespace cal_cases {

// A run of text ids first..last, or one id.
struct Run {
    s32 first, last;
    Run(s32 id) : first(id), last(id) {} // NOLINT: a single id reads as itself in the lists
    Run(s32 a, s32 b) : first(a), last(b) {}
};
inline Run R(s32 a, s32 b) {
    return {a, b};
}
inline std::vector<s32> ids(std::initializer_list<Run> runs) {
    std::vector<s32> out;
    for (const Run& r : runs)
        for (s32 t = r.first; t <= r.last; ++t) out.push_back(t);
    return out;
}

inline PlayerRecord& pr() {
    return player_record;
}

// One run of a handler: the state it starts from, what the player answers and the fights and
// draws give, the texts shown and the change it makes.
struct Case {
    const char* what;
    s32 slot;
    std::function<void()> setup;
    std::vector<s32> answers, battles, draws;
    std::vector<s32> texts;
    std::function<void(const PlayerRecord& before)> check;
    s32 pick_cell = -1; // a cell clicked on the pick screen
};

class CalCaseTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        pr().social_aptitude = 50; // no chance bonus on affection changes
        start = std::make_unique<Start>(Start{player_record, hub_block, {}, {}});
        std::copy(std::begin(roster), std::end(roster), start->roster);
        std::copy(std::begin(encounters), std::end(encounters), start->encounters);
    }
    // Back to the new game's state of SetUp.
    void fresh() {
        player_record = start->player;
        hub_block = start->hub;
        std::copy(std::begin(start->roster), std::end(start->roster), roster);
        std::copy(std::begin(start->encounters), std::end(start->encounters), encounters);
    }
    struct Start {
        PlayerRecord player;
        HubBlock hub;
        RosterEntry roster[ROSTER_SIZE];
        EncounterRecord encounters[ENCOUNTER_COUNT];
    };
    std::unique_ptr<Start> start;
    void run(const Case& c) {
        SCOPED_TRACE(c.what);
        fresh();
        if (c.setup) c.setup();
        const auto before = std::make_unique<PlayerRecord>(player_record);
        dialog_answers(c.answers);
        for (s32 b : c.battles) battles({b});
        for (s32 d : c.draws) draws({d});
        if (c.pick_cell >= 0) {
            start_clicks();
            click(pick_cell_x(c.pick_cell) + 40, pick_cell_y(c.pick_cell) + 8);
        }
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), c.texts);
        EXPECT_EQ(draws_left(), 0u);
        if (c.check) c.check(*before);
    }
};

inline void know(s32 list, s32 slot, s32 id, s32 level) {
    pr().known[list][slot] = {id, level, 0};
}

inline void meet(std::initializer_list<s32> people) {
    s32 i = 0;
    for (s32& a : pr().acquaintances) a = -1;
    for (s32 p : people) pr().acquaintances[i++] = p;
}

} // namespace cal_cases
