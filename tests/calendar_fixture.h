// A fixture for the calendar handlers: the hub on the placeholder content with a new game, the
// dialogue driver in transcript mode, a fake battle that answers from a queue and logs its
// encounters, and forced random draws. Handlers are run directly or by slot.
#pragma once
#include "engine/types.h"
#include "tests/hub_fixture.h"

#include <initializer_list>
#include <string>
#include <vector>

class CalendarHandlerTest : public HubTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The results of the next battles (0 lost, 1 won, 2 round limit); a battle with the queue
    // empty fails the test and returns 0.
    static void battles(std::initializer_list<s32> results);
    // The encounters fought so far, in order.
    static const std::vector<s32>& fought();
    // The next draws of `cal_rand`; a draw with the queue empty fails the test and returns 0. A
    // queued value outside 0..n-1 fails the test too.
    static void draws(std::initializer_list<s32> values);
    static size_t draws_left();
    // The answers of the next hub choices (0..3).
    static void answers(std::initializer_list<s32> indices);

    // Runs the handler in `slot` of the calendar table (every handler file registered).
    static void run_slot(s32 slot);

    // The transcript lines (dialog_describe) from entry `mark` on.
    static std::vector<std::string> lines_from(size_t mark);
    // The text ids the hub's dialogue showed from entry `mark` on, in order: every text of
    // hub_show, hub_say, hub_say_lines (each present line) and hub_choose (each present option).
    static std::vector<s32> texts_from(size_t mark);
    // As `texts_from`, with `travel` in its place for every travel (hub_travel) between the
    // texts.
    static std::vector<s32> texts_and_travels_from(size_t mark, s32 travel);
    // The transcript's length now, to pass as a mark.
    static size_t mark();
};
