// Scripted clicks for the full-screen screens that count their own passes (the shop screens, the
// meal screen): each click is planned for the pass that first sees its button down and held for
// a number of passes, and queued from the present that ends the pass before. A callback sees the
// end of every pass, so a test can look at the draws of that pass alone.
#pragma once
#include "engine/types.h"
#include "platform/harness.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

struct ScriptedClick {
    s32 pass;       // the first pass that sees the button down (2 or later)
    s32 x, y;       // where the pointer goes (and the click lands)
    s32 button = 1; // 1 left, 2 right, 0 only the pointer moves
    s32 hold = 1;   // passes that see the button held
};

class ClickScript {
  public:
    // `passes` is the screen's pass counter; the screen fails the test by throwing when it is
    // still open `spare` passes after the last planned click.
    ClickScript(const s32* passes, std::vector<ScriptedClick> clicks, s32 spare = 40)
        : passes_(passes), clicks_(std::move(clicks)) {
        for (const ScriptedClick& c : clicks_) limit_ = std::max(limit_, c.pass + c.hold + spare);
        harness_on_present([this](const u16*, u64) { on_present(); });
    }
    ~ClickScript() { harness_on_present(nullptr); }
    ClickScript(const ClickScript&) = delete;
    ClickScript& operator=(const ClickScript&) = delete;

    // Called once at the end of each pass (after its present), with the pass number.
    void on_pass(std::function<void(s32)> f) { on_pass_ = std::move(f); }
    // Presents while `busy` holds belong to a wait inside a pass, not to the pass's end.
    void busy_while(std::function<bool()> f) { busy_ = std::move(f); }

  private:
    void on_present() {
        const s32 p = *passes_;
        if (p < 1 || p == last_) return; // a present outside the screen, or a second one
        if (busy_ && busy_()) return;
        last_ = p;
        if (on_pass_) on_pass_(p);
        if (p > limit_) throw std::runtime_error("screen still open at pass " + std::to_string(p));
        const InputTrigger now = at_present(harness_presents());
        for (const ScriptedClick& c : clicks_) {
            if (c.button != 0 && c.pass + c.hold == p + 1) harness_button_up(c.button, now);
        }
        for (const ScriptedClick& c : clicks_) {
            if (c.pass != p + 1) continue;
            harness_move(c.x, c.y, now);
            if (c.button != 0) harness_button_down(c.button, now);
        }
    }

    const s32* passes_;
    std::vector<ScriptedClick> clicks_;
    std::function<void(s32)> on_pass_;
    std::function<bool()> busy_;
    s32 last_ = 0;
    s32 limit_ = 0;
};
