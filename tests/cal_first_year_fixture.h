// The calendar handler fixture with a table-friendly restart: `fresh` starts a new game again in
// the same engine, so that each case of a table starts from the same state without the cost of a
// new engine; `start` puts the values the story handlers' cases count from.
#pragma once
#include "game/game_start.h"
#include "game/state.h"
#include "tests/calendar_fixture.h"

class CalFirstYearBase : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        start();
    }
    void fresh() {
        state_reset();
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
        start();
    }
    virtual void start() {}
};
