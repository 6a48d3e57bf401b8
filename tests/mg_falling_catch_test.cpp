// The falling-object catch game played headless by real clicks: a player at each present reads
// `falling_state` (the objects in flight, the catcher) and clicks the left or the right button to
// bring the catcher under the objects it wants. The thrower's walks and throws come from scripted
// draws for the exact cases. The tests check the score the game returns, the catches, the
// thrower's walks and throws, the catcher's moves and what each frame draws.
#include "minigames/falling_catch.h"

#include "engine/shell.h"
#include "tests/mg_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

namespace {

// Scripted draws; once spent every draw answers 0 (walks of 5 to the right, bad objects).
std::deque<s32> script;
s32 scripted(s32 n) {
    if (script.empty()) return 0;
    const s32 v = script.front();
    script.pop_front();
    return std::min(v, n - 1);
}

s32 live_objects(const FallingState& s) {
    return s32(std::count_if(std::begin(s.objects), std::end(s.objects),
                             [](const FallingObject& o) { return o.kind >= 0; }));
}

// The catcher positions from which an object at x is caught (catcher x - 15 < x < catcher x + 50).
s32 reach_lo(s32 x) {
    return std::clamp((x - 50) / 10 + 1, 0, FALLING_CATCHER_POSITIONS - 1);
}
s32 reach_hi(s32 x) {
    return std::clamp((x + 14) / 10, 0, FALLING_CATCHER_POSITIONS - 1);
}

class FallingTest : public MinigameTest {
  protected:
    void SetUp() override {
        MinigameTest::SetUp();
        script.clear();
        falling_draw_seam = scripted;
    }
    void TearDown() override {
        falling_draw_seam = rand_below;
        MinigameTest::TearDown();
    }
    HarnessConfig harness_settings() const override {
        HarnessConfig c = MinigameTest::harness_settings();
        c.present_step_ms = 40;
        return c;
    }

    // Runs one game; `each` sees the state at every present (the frame's draws in mg_frame_draws).
    s32 play(std::function<void(const FallingState&)> each) {
        harness_on_present([each](const u16*, u64) {
            each(falling_state);
            mg_frame_draws.clear();
        });
        const u64 start = harness_elapsed_ms();
        const s32 score = game_falling_catch();
        game_ms = harness_elapsed_ms() - start;
        harness_on_present(nullptr);
        return score;
    }

    // Clicks toward catcher position range lo..hi unless the catcher is in it or still moving.
    static void steer(const FallingState& s, s32 lo, s32 hi) {
        if (s.move > 0 || harness_pending_input() != 0) return;
        if (s.catcher < lo) harness_click(320, 240, 2);
        if (s.catcher > hi) harness_click(320, 240, 1);
    }

    // What a frame must draw for the state it shows: backdrop, scenery and counter picture, the
    // bar frame with 100 empty and steps + 1 full columns, every object at (x + 15, y), the
    // thrower and the catcher.
    static void check_frame(const FallingState& s) {
        std::vector<MgDrawn> want = {{6360, 0, 0}, {6351, 505, 7}, {25009, 255, 2}};
        for (s32 i = 0; i < FALLING_STEPS; ++i) want.push_back({25011, 265 + i, 13});
        for (s32 i = 0; i < s.steps + 1; ++i) want.push_back({25012, 265 + i, 13});
        for (const FallingObject& o : s.objects)
            if (o.kind >= 0) want.push_back({o.kind, o.x + 15, o.y});
        want.push_back({s.thrower_image, FALLING_LEDGE_X[s.thrower], FALLING_LEDGE_Y[s.thrower]});
        want.push_back({s.catcher_image + (s.moved_left ? 10 : 0), s.catcher * 10, 364});
        std::vector<MgDrawn> got = mg_frame_draws;
        // The scenery: 20 good and 19 bad objects along the ledge, above where throws start.
        const auto scenery = std::stable_partition(got.begin(), got.end(), [](const MgDrawn& d) {
            return (d.id != 6350 && d.id != 6351) || d.y >= 120 || d.x == 505;
        });
        EXPECT_EQ(std::count_if(scenery, got.end(), [](const MgDrawn& d) { return d.id == 6351; }),
                  20);
        EXPECT_EQ(std::count_if(scenery, got.end(), [](const MgDrawn& d) { return d.id == 6350; }),
                  19);
        got.erase(scenery, got.end());
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << "frame " << s.frames;
    }

    u64 game_ms = 0;
};

// A whole game of random throws by real clicks: the player goes after the lowest good object
// that can still be caught. Every frame draws what the state holds; the game spends 100 steps of
// 900 ms and leaves music, clock and the player record alone.
TEST_F(FallingTest, WholeGameByRealClicks) {
    falling_draw_seam = rand_below;
    const PlayerRecord before = player_record;
    s32 cursor = -1, most_live = 0;
    const s32 score = play([&](const FallingState& s) {
        check_frame(s);
        cursor = s32(world_state.cursor_id);
        most_live = std::max(most_live, live_objects(s));
        EXPECT_GE(s.score, 0);
        const FallingObject* aim = nullptr;
        for (const FallingObject& o : s.objects)
            if (o.kind == FALLING_GOOD && o.y < FALLING_CATCH_BELOW - FALLING_FALL &&
                (!aim || o.y > aim->y))
                aim = &o;
        if (aim) steer(s, reach_lo(aim->x), reach_hi(aim->x));
    });
    const FallingState& s = falling_state;
    EXPECT_EQ(score, s.score);
    EXPECT_EQ(s.steps, FALLING_STEPS);
    // Each step waits for a frame after its 900 ms (the stopwatch restarts then): at most a frame
    // of about 45 ms late.
    EXPECT_GE(game_ms, 90000u);
    EXPECT_LT(game_ms, 90000u + 100 * 45);
    EXPECT_GE(s.caught_good, 10);
    EXPECT_LE(score, s.caught_good);
    EXPECT_GE(score, s.caught_good - s.caught_bad);
    EXPECT_GT(s.thrown, 20);
    EXPECT_EQ(s.dropped, 0);
    EXPECT_LE(most_live, FALLING_SLOTS);
    EXPECT_EQ(cursor, FALLING_CURSOR);
    EXPECT_TRUE(mg_musics.empty()); // no music
    EXPECT_TRUE(mg_sounds.empty()); // no sound
    EXPECT_EQ(player_record.music_id, MG_MUSIC_BEFORE);
    EXPECT_EQ(world_state.hour, 8);
    EXPECT_EQ(world_state.minute, 0);
    EXPECT_EQ(std::memcmp(&before, &player_record, sizeof before), 0);
}

// Follows the objects from present to present: which throw (1, 2, ...) each slot holds, and how
// each object left its slot (caught, or gone past the bottom at its last y).
struct ObjectLog {
    struct Gone {
        s32 ordinal, kind, last_y;
        bool caught;
    };
    s32 ordinal[FALLING_SLOTS] = {};
    FallingObject last[FALLING_SLOTS];
    s32 throws = 0;
    s32 catches = 0;
    std::vector<Gone> gone;
    bool slots_kept = true; // every object fell 3 a frame in its own slot until it left

    void see(const FallingState& s, bool one_fall_a_frame) {
        const s32 catches_now = s.caught_good + s.caught_bad;
        for (s32 i = 0; i < FALLING_SLOTS; ++i) {
            const FallingObject& o = s.objects[i];
            const FallingObject& was = last[i];
            const bool same = was.kind >= 0 && o.kind == was.kind && o.x == was.x && o.y > was.y;
            if (was.kind >= 0 && !same) {
                gone.push_back({ordinal[i], was.kind, was.y, catches_now > catches});
                if (o.kind >= 0 && o.y > FALLING_THROW_Y + FALLING_FALL) slots_kept = false;
            }
            if (same && one_fall_a_frame && o.y != was.y + FALLING_FALL) slots_kept = false;
            if (o.kind >= 0 && !same) ordinal[i] = ++throws;
            last[i] = o;
        }
        catches = catches_now;
    }
    const FallingObject* find(const FallingState& s,
                              std::function<bool(s32, const FallingObject&)> want,
                              bool lowest = true) const {
        const FallingObject* pick = nullptr;
        for (s32 i = 0; i < FALLING_SLOTS; ++i) {
            const FallingObject& o = s.objects[i];
            if (o.kind < 0 || o.y >= FALLING_CATCH_BELOW - FALLING_FALL || !want(ordinal[i], o))
                continue;
            if (!pick || (lowest && o.y > pick->y)) pick = &o;
        }
        return pick;
    }
};

// Scripted throws: a bad object to x 270, a good one to x 214, again both, and a good one to
// x 270 that the player lets fall. The bad one caught at 0 leaves the score at 0; the one let
// go leaves past y 469.
TEST_F(FallingTest, GoodAddsBadTakesNotBelowZero) {
    script = {0, 0, 0, 0, 9, 9, 0, 0, 0, 0, 9, 9, 0, 0, 9};
    ObjectLog log;
    std::vector<s32> scores;
    s32 score_at_first_bad = -1;
    const s32 score = play([&](const FallingState& s) {
        check_frame(s);
        log.see(s, false);
        if (scores.empty() || scores.back() != s.score) scores.push_back(s.score);
        if (s.caught_bad == 1 && score_at_first_bad < 0) score_at_first_bad = s.score;
        const FallingObject* aim =
            log.find(s, [](s32 ordinal, const FallingObject&) { return ordinal <= 4; });
        if (aim) steer(s, reach_lo(aim->x), reach_hi(aim->x));
    });
    EXPECT_EQ(score, 1);
    EXPECT_EQ(scores, (std::vector<s32>{0, 1, 0, 1}));
    EXPECT_EQ(score_at_first_bad, 0);
    const FallingState& s = falling_state;
    EXPECT_EQ(s.caught_good, 2);
    EXPECT_EQ(s.caught_bad, 2);
    EXPECT_TRUE(log.slots_kept);
    ASSERT_GE(log.gone.size(), 5u);
    const std::vector<std::pair<s32, s32>> first = {{1, FALLING_BAD},
                                                    {2, FALLING_GOOD},
                                                    {3, FALLING_BAD},
                                                    {4, FALLING_GOOD},
                                                    {5, FALLING_GOOD}};
    for (s32 k = 0; k < 5; ++k) {
        const ObjectLog::Gone& g = log.gone[size_t(k)];
        EXPECT_EQ(g.ordinal, first[size_t(k)].first);
        EXPECT_EQ(g.kind, first[size_t(k)].second);
        EXPECT_EQ(g.caught, k < 4) << k;
        if (k < 4) { // in reach
            EXPECT_GT(g.last_y, FALLING_CATCH_ABOVE - FALLING_FALL) << k;
        }
    }
    EXPECT_EQ(log.gone[4].last_y, 468); // gone at 471, past 469
}

// The thrower walks 14 left from 20, 14 more but stops at 0, turns right from 0, walks right
// until it stops at 53, and turns left there; every finished walk throws, the kind by the
// draw, from where it stands. The walking pictures run 6361..6366, a throw shows two pictures
// of its kind before walking again. Meanwhile clicks move the catcher 3 positions, one a frame,
// held within 0..57; a new click restarts the move.
TEST_F(FallingTest, WalksTurnAtTheEdgesAndClicksMoveTheCatcherThree) {
    script = {9, 9, 9, 9, 9, 0, 0, 9, 9, 9, 0, 0, 9, 0, 0, 9, 0, 0, 9, 0, 0, 0, 0, 0};
    std::vector<s32> positions, images;
    struct Throw {
        s32 kind, x, y, image, position;
    };
    std::vector<Throw> throws;
    s32 thrown = 0;
    // The catcher: left clicks to the edge and one more, right clicks to the other edge and one
    // more, then a right click that a left click restarts after one step.
    struct Step {
        s32 catcher, image;
        bool left;
    };
    std::vector<Step> steps;
    s32 phase = 0, clicks = 0, restart_at = 0;
    const s32 score = play([&](const FallingState& s) {
        check_frame(s);
        if (positions.empty() || positions.back() != s.thrower) positions.push_back(s.thrower);
        if (images.empty() || images.back() != s.thrower_image) images.push_back(s.thrower_image);
        if (s.thrown > thrown) {
            for (const FallingObject& o : s.objects)
                if (o.kind >= 0 && o.y <= FALLING_THROW_Y + FALLING_FALL)
                    throws.push_back({o.kind, o.x, o.y, s.thrower_image, s.thrower});
            thrown = s.thrown;
        }
        steps.push_back({s.catcher, s.catcher_image, s.moved_left});
        if (harness_pending_input() != 0) return;
        const bool still = s.move == 0;
        if (phase < 4 && !still) return;
        switch (phase) {
        case 0: // left to the edge, and once more there
            harness_click(320, 240, 1);
            if (s.catcher == 0) phase = 1;
            break;
        case 1: // right to the other edge, and once more there
            harness_click(320, 240, 2);
            if (s.catcher == 57) phase = 2;
            break;
        case 2:
            harness_click(320, 240, 1);
            phase = 3;
            break;
        case 3:
            harness_click(320, 240, 2);
            phase = 4;
            break;
        case 4: // a left click while the right move runs
            if (still) return;
            restart_at = s.move;
            harness_click(320, 240, 1);
            phase = 5;
            break;
        default:
            return;
        }
        ++clicks;
    });
    EXPECT_EQ(score, 0);
    ASSERT_GE(positions.size(), 70u);
    std::vector<s32> want;
    for (s32 p = 20; p >= 0; --p) want.push_back(p);
    for (s32 p = 1; p <= 53; ++p) want.push_back(p);
    for (s32 p = 52; p >= 48; --p) want.push_back(p);
    EXPECT_EQ(std::vector<s32>(positions.begin(), positions.begin() + s32(want.size())), want);

    // Throws after walks ending at 6, 0, 5, 19, 33, 47, 53 and 48, kinds by the draws.
    const s32 ends[] = {6, 0, 5, 19, 33, 47, 53, 48};
    const s32 kinds[] = {FALLING_GOOD, FALLING_BAD, FALLING_GOOD, FALLING_BAD,
                         FALLING_BAD,  FALLING_BAD, FALLING_BAD,  FALLING_BAD};
    ASSERT_GE(throws.size(), 8u);
    for (s32 k = 0; k < 8; ++k) {
        const Throw& t = throws[size_t(k)];
        EXPECT_EQ(t.position, ends[k]) << k;
        EXPECT_EQ(t.x, FALLING_LEDGE_X[ends[k]]) << k;
        EXPECT_EQ(t.y, FALLING_THROW_Y + FALLING_FALL) << k; // it fell once in its frame
        EXPECT_EQ(t.kind, kinds[k]) << k;
        EXPECT_EQ(t.image, kinds[k] == FALLING_GOOD ? 6353 : 6368) << k;
    }
    // Picture changes: the walking cycle, and each throw's two pictures back to 6361.
    for (size_t i = 1; i < images.size(); ++i) {
        const s32 a = images[i - 1], b = images[i];
        const bool walking = (a >= 6361 && a <= 6365 && b == a + 1) || (a == 6366 && b == 6361);
        const bool throwing = b == 6353 || b == 6368 || (a == 6353 && b == 6354) ||
                              (a == 6368 && b == 6369) || ((a == 6354 || a == 6369) && b == 6361);
        EXPECT_TRUE(walking || throwing) << a << " -> " << b;
    }

    // The catcher: at most a position a frame, held within 0..57, each step advancing its picture
    // (6378 -> 6370), drawn with the left pictures on left steps.
    s32 advances = 0, lowest = 57, highest = 0;
    for (size_t i = 1; i < steps.size(); ++i) {
        const Step &a = steps[i - 1], &b = steps[i];
        EXPECT_LE(std::abs(b.catcher - a.catcher), 1);
        if (b.catcher < a.catcher) {
            EXPECT_TRUE(b.left);
        }
        if (b.catcher > a.catcher) {
            EXPECT_FALSE(b.left);
        }
        if (b.image != a.image) {
            EXPECT_EQ(b.image, a.image == 6378 ? 6370 : a.image + 1);
            ++advances;
        }
        lowest = std::min(lowest, b.catcher);
        highest = std::max(highest, b.catcher);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 57);
    EXPECT_EQ(phase, 5);
    ASSERT_TRUE(restart_at == 1 || restart_at == 2);
    EXPECT_EQ(advances, 3 * clicks - restart_at); // the move restarted before its last steps
    // The first click: 20 -> 19 -> 18 -> 17 on left pictures; at rest after the last move.
    EXPECT_EQ(steps[0].catcher, 20);
    const auto first =
        std::find_if(steps.begin(), steps.end(), [](const Step& x) { return x.catcher == 19; });
    ASSERT_NE(first, steps.end());
    EXPECT_EQ(first[1].catcher, 18);
    EXPECT_EQ(first[2].catcher, 17);
    EXPECT_TRUE(first[0].left && first[1].left && first[2].left);
    EXPECT_FALSE(steps.back().left);
    // From 57: left three, right until the left click, then left three.
    std::vector<s32> tail_moves = {57, 56, 55, 54};
    for (s32 k = 1; k <= 3 - restart_at; ++k) tail_moves.push_back(54 + k);
    for (s32 k = 1; k <= 3; ++k) tail_moves.push_back(54 + 3 - restart_at - k);
    std::vector<s32> seen;
    for (const Step& x : steps)
        if (seen.empty() || seen.back() != x.catcher) seen.push_back(x.catcher);
    ASSERT_GE(seen.size(), tail_moves.size());
    EXPECT_EQ(std::vector<s32>(seen.end() - s32(tail_moves.size()), seen.end()), tail_moves);
}

// Slow frames (100 ms) let more objects fly than there are slots: a throw that finds all 15
// busy is left out (no object, no throwing picture) and the thrower walks on; the objects in
// flight keep their slots and the catcher its place.
class FallingSlowTest : public FallingTest {
    HarnessConfig harness_settings() const override {
        HarnessConfig c = FallingTest::harness_settings();
        c.present_step_ms = 100;
        return c;
    }
};

TEST_F(FallingSlowTest, ThrowWithEverySlotBusyIsLeftOut) {
    ObjectLog log;
    s32 dropped = 0, full_frames = 0, moves_after_drop = 0, position = -1;
    const s32 score = play([&](const FallingState& s) {
        check_frame(s);
        log.see(s, true);
        EXPECT_EQ(s.catcher, FALLING_START);
        if (live_objects(s) == FALLING_SLOTS) ++full_frames;
        if (s.dropped > dropped) {
            EXPECT_EQ(live_objects(s), FALLING_SLOTS);
            EXPECT_TRUE(s.thrower_image >= 6361 && s.thrower_image <= 6366) << s.thrower_image;
            dropped = s.dropped;
        }
        if (dropped > 0 && position >= 0 && s.thrower != position) ++moves_after_drop;
        position = s.thrower;
    });
    const FallingState& s = falling_state;
    EXPECT_EQ(score, 0);
    EXPECT_GT(s.dropped, 0);
    EXPECT_GT(full_frames, 0);
    EXPECT_GT(moves_after_drop, 0);
    EXPECT_TRUE(log.slots_kept);
    EXPECT_EQ(log.throws, s.thrown);
    EXPECT_EQ(s.caught_good + s.caught_bad, 0);
}

} // namespace
