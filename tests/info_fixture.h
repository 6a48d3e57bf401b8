// A fixture for the character screen and the companion visit: the hub's fixture with every draw
// and print recorded, the transcript cut into frames at each present, and a click script driven
// by the screens' own passes: each step rests the pointer on its point for `hold` presents (so
// the hover shows in the frames drawn meanwhile), then clicks there; the next step starts once
// the click has been taken. Only presents that drew a picture count as passes.
#pragma once
#include "engine/transcript.h"
#include "engine/world/object.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/hub_fixture.h"

#include <algorithm>
#include <functional>
#include <vector>

class InfoTest : public HubMenuTest {
  protected:
    struct Step {
        s32 x, y;
        s32 button = 1;
        s32 hold = 1;
        std::function<void()> before = nullptr; // runs when the step starts
    };

    void SetUp() override {
        HubMenuTest::SetUp();
        dialog_record_draws(true);
        attr_set(0, ATTR_TIMER_ON, 0);
        harness_on_present([this](const u16*, u64) { on_present(); });
    }
    void TearDown() override {
        harness_on_present(nullptr);
        HubMenuTest::TearDown();
    }

    // Runs the steps from the next pass on, or, with `start_image`, from the first pass that draws
    // that picture (a screen that other presents come before, like the hub's dialogue).
    void script(std::vector<Step> steps, s32 start_image = -1) {
        steps_ = std::move(steps);
        next_ = 0;
        rested_ = 0;
        start_image_ = start_image;
    }
    // True when every step has clicked and the clicks have been delivered whole (the release of
    // the last one may wait for the next input read: this delivers what is due first).
    bool script_done() {
        harness_advance(50);
        harness_pump();
        return next_ >= steps_.size() && harness_pending_input() == 0;
    }

    // The entries recorded between present k - 1 and present k (k from 0: up to the first).
    std::vector<TranscriptEntry> frame(size_t k) const {
        const std::vector<TranscriptEntry>& all = dialog_transcript();
        const size_t from = k == 0 ? 0 : marks_[k - 1], to = marks_[k];
        return {all.begin() + long(from), all.begin() + long(to)};
    }
    size_t frames() const { return marks_.size(); }
    // The frames (indexes) whose entries satisfy `pick`.
    std::vector<size_t>
    frames_where(const std::function<bool(const std::vector<TranscriptEntry>&)>& pick) const {
        std::vector<size_t> found;
        for (size_t k = 0; k < frames(); ++k)
            if (pick(frame(k))) found.push_back(k);
        return found;
    }

    static bool drew(const std::vector<TranscriptEntry>& f, s32 image) {
        return std::any_of(f.begin(), f.end(), [image](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_DRAW && e.id == image;
        });
    }
    static bool drew_at(const std::vector<TranscriptEntry>& f, s32 image, s32 x, s32 y) {
        return std::any_of(f.begin(), f.end(), [=](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_DRAW && e.id == image && e.x == x && e.y == y;
        });
    }
    static size_t draw_count(const std::vector<TranscriptEntry>& f, s32 image) {
        return size_t(std::count_if(f.begin(), f.end(), [image](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_DRAW && e.id == image;
        }));
    }
    static bool printed(const std::vector<TranscriptEntry>& f, s32 text) {
        return std::any_of(f.begin(), f.end(), [text](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_PRINT && e.text[0] == text;
        });
    }
    static bool printed_at(const std::vector<TranscriptEntry>& f, s32 text, s32 x, s32 y) {
        return std::any_of(f.begin(), f.end(), [=](const TranscriptEntry& e) {
            return e.kind == TRANSCRIPT_PRINT && e.text[0] == text && e.x == x && e.y == y;
        });
    }
    // The number printed at (x, y), or -1 when none was.
    static s32 number_at(const std::vector<TranscriptEntry>& f, s32 x, s32 y) {
        for (const TranscriptEntry& e : f)
            if (e.kind == TRANSCRIPT_PRINT_NUMBER && e.x == x && e.y == y) return e.number;
        return -1;
    }
    // Everything recorded so far, as one frame, and what was recorded after entry `mark`.
    static const std::vector<TranscriptEntry>& all() { return dialog_transcript(); }
    static std::vector<TranscriptEntry> since(size_t mark) {
        return {all().begin() + long(mark), all().end()};
    }

  private:
    void on_present() {
        // (A transcript cleared by the test starts the count over.)
        const size_t from =
            marks_.empty() ? 0 : std::min(marks_.back(), dialog_transcript().size());
        marks_.push_back(dialog_transcript().size());
        // Only the screens' own passes count: a present that drew no picture (a message-log line
        // presented by a rule, the frame shown again after a page ends) is not one of them.
        const std::vector<TranscriptEntry>& t = dialog_transcript();
        const bool drawn =
            std::any_of(t.begin() + long(from), t.end(),
                        [](const TranscriptEntry& e) { return e.kind == TRANSCRIPT_DRAW; });
        if (start_image_ >= 0) {
            const bool start =
                std::any_of(t.begin() + long(from), t.end(), [this](const TranscriptEntry& e) {
                    return e.kind == TRANSCRIPT_DRAW && e.id == start_image_;
                });
            if (!start) return;
            start_image_ = -1;
        }
        if (!drawn || next_ >= steps_.size() || harness_pending_input() != 0) return;
        Step& s = steps_[next_];
        if (rested_ == 0 && s.before) s.before();
        if (rested_ < s.hold) {
            if (rested_ == 0) harness_move(s.x, s.y);
            ++rested_;
            return;
        }
        harness_click(s.x, s.y, s.button);
        ++next_;
        rested_ = 0;
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    s32 rested_ = 0;
    s32 start_image_ = -1;
    std::vector<size_t> marks_;
};
