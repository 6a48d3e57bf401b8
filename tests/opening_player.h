// A scripted player for the opening screens, and their test fixture. The player plays the clicks of
// each screen run, handed over one at a time so that every click meets a frame of its own. The
// first click of a screen is queued at the screen's first frame (after the screen has cleared the
// buttons), each next one once the screen has taken the one before. Dialogue shown between the
// screens never sees the clicks.
#pragma once
#include "calendar/opening_screens.h"
#include "platform/harness.h"
#include "tests/calendar_fixture.h"

#include <deque>
#include <functional>
#include <vector>

// A click at (x, y) with a button (1 left, 2 right), or a pointer move alone (button 0).
struct OpeningClick {
    s32 x, y;
    s32 button = 1;
};

namespace opening_player_detail {
inline std::deque<std::vector<OpeningClick>> runs;
inline std::deque<OpeningClick> current;
inline s32 last_frames = -1;

inline void issue(const OpeningClick& c) {
    if (c.button == 0)
        harness_move(c.x, c.y);
    else
        harness_click(c.x, c.y, c.button);
}
} // namespace opening_player_detail

// One list of clicks per screen run, in the order the screens start; `watch` (optional) is called
// at every present. Clears the present hook's previous use.
inline void opening_play(const std::vector<std::vector<OpeningClick>>& per_screen,
                         std::function<void()> watch = nullptr) {
    namespace d = opening_player_detail;
    d::runs.assign(per_screen.begin(), per_screen.end());
    d::current.clear();
    d::last_frames = -1;
    opening_screen_state.frames = -1; // no screen yet: the dialogue's frames start nothing
    harness_on_present([watch](const u16*, u64) {
        if (watch) watch();
        const s32 f = opening_screen_state.frames;
        if (f == 0 && d::last_frames != 0) {
            // A screen's first frame.
            d::current.clear();
            if (!d::runs.empty()) {
                d::current.assign(d::runs.front().begin(), d::runs.front().end());
                d::runs.pop_front();
            }
            if (!d::current.empty()) {
                d::issue(d::current.front());
                d::current.pop_front();
            }
        } else if (f > 0 && harness_pending_input() == 0 && !d::current.empty()) {
            d::issue(d::current.front());
            d::current.pop_front();
        }
        d::last_frames = f;
    });
}

// The handler fixture for the opening events and their screens: a shorter budget, so a screen
// left waiting for a click fails instead of hanging, and the player's present hook removed.
class OpeningTest : public CalendarHandlerTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 120'000;
        return c;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        CalendarHandlerTest::TearDown();
    }
};
