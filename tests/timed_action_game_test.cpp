// The timed action game: its click rectangles and the bonus a click draws, and whole games played
// headless on the virtual clock, lost by standing still and won by a player who clicks back every
// track that comes near its end, with the screen of each frame read from its draws and prints.
#include "calendar/timed_action_game.h"
#include "engine/dialog.h"
#include "engine/gisk.h"
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "tests/mg_fixture.h"

#include <deque>

namespace {

std::deque<s32> draws_queued;
s32 queued_draw(s32 n) {
    if (draws_queued.empty()) return 0;
    const s32 v = draws_queued.front();
    draws_queued.pop_front();
    EXPECT_LT(v, n);
    return v;
}
s32 lowest_draw(s32) {
    return 0;
}
// A generator of our own, so that the game's clocks run the same whatever else drew before.
u32 lcg_state = 1;
s32 lcg_draw(s32 n) {
    lcg_state = lcg_state * 1103515245u + 12345u;
    return s32((lcg_state >> 16) % u32(n));
}

TimedActionState only_track(s32 t, s32 pos) {
    TimedActionState s;
    for (s32& p : s.pos) p = TIMED_CLEARED;
    s.pos[t] = pos;
    return s;
}

s32 middle_x(const TimedRect& r) {
    return (r.x1 + r.x2) / 2;
}
s32 middle_y(const TimedRect& r) {
    return (r.y1 + r.y2) / 2;
}

} // namespace

TEST(TimedActionRules, EachRectangleThrowsBackOnlyItsTrackAtItsPosition) {
    timed_action_rand = queued_draw;
    for (s32 t = 0; t < TIMED_TRACKS; ++t)
        for (s32 k = 0; k < TIMED_POSITIONS; ++k) {
            const TimedRect& r = TIMED_RECTS[t][k];
            TimedActionState s = only_track(t, k);
            timed_action_click(s, middle_x(r), middle_y(r));
            EXPECT_EQ(s.pos[t], k == 0 ? TIMED_CLEARED : k - 1) << t << "," << k;
            // The margin: 5 px before the first corner counts, 5 px past the second does not.
            EXPECT_TRUE(timed_rect_has(r, r.x1 - 5, r.y1 - 5));
            EXPECT_TRUE(timed_rect_has(r, r.x2 + 4, r.y2 + 4));
            EXPECT_FALSE(timed_rect_has(r, r.x2 + 5, r.y1));
            EXPECT_FALSE(timed_rect_has(r, r.x1, r.y2 + 5));
            EXPECT_FALSE(timed_rect_has(r, r.x1 - 6, r.y1));
            // A track elsewhere on its way does not move.
            TimedActionState other = only_track(t, k == 6 ? 0 : 6);
            const s32 before = other.pos[t];
            timed_action_click(other, middle_x(r), middle_y(r));
            if (!timed_rect_has(TIMED_RECTS[t][before], middle_x(r), middle_y(r))) {
                EXPECT_EQ(other.pos[t], before);
            }
        }
    // Track 3 and track 4 at position 6 overlap: one click throws both back.
    TimedActionState s = only_track(3, 6);
    s.pos[4] = 6;
    timed_action_click(s, 395, 197);
    EXPECT_EQ(s.pos[3], 5);
    EXPECT_EQ(s.pos[4], 5);
    // A track at its top has no rectangle: it stays there.
    s = only_track(2, TIMED_TOP);
    for (const TimedRect& r : TIMED_RECTS[2]) timed_action_click(s, middle_x(r), middle_y(r));
    EXPECT_EQ(s.pos[2], TIMED_TOP);
    timed_action_rand = rand_below;
}

TEST(TimedActionRules, BonusByTheSkillStaysUntilADrawChangesIt) {
    struct Case {
        s32 skill;
        std::deque<s32> draws;
        s32 bonus_before, bonus, thrown_to; // a click on track 1 at position 6
    };
    const Case cases[] = {
        {10, {}, 3, 0, 5},        {30, {3}, 0, 1, 4},        {30, {2}, 2, 2, 3},
        {60, {3}, 0, 1, 4},       {60, {0, 5}, 0, 2, 3},     {60, {0, 0}, 1, 1, 4},
        {80, {2}, 0, 1, 4},       {80, {0, 3}, 0, 2, 3},     {80, {0, 0, 4}, 0, 3, 2},
        {80, {5, 5, 5}, 3, 3, 2}, {100, {0, 0, 4}, 0, 3, 2},
    };
    timed_action_rand = queued_draw;
    for (const Case& c : cases) {
        draws_queued = c.draws;
        TimedActionState s = only_track(1, 6);
        s.skill = c.skill;
        s.bonus = c.bonus_before;
        const TimedRect& r = TIMED_RECTS[1][6];
        timed_action_click(s, middle_x(r), middle_y(r));
        EXPECT_EQ(s.bonus, c.bonus) << c.skill;
        EXPECT_EQ(s.pos[1], c.thrown_to) << c.skill;
        EXPECT_TRUE(draws_queued.empty()) << c.skill;
    }
    // Thrown back past the start: cleared.
    draws_queued = {0, 0, 4};
    TimedActionState s = only_track(5, 1);
    s.skill = 90;
    timed_action_click(s, middle_x(TIMED_RECTS[5][1]), middle_y(TIMED_RECTS[5][1]));
    EXPECT_EQ(s.pos[5], TIMED_CLEARED);
    timed_action_rand = rand_below;
}

class TimedActionGame : public MinigameTest {
  protected:
    void SetUp() override {
        MinigameTest::SetUp();
        timed_action_rand = lowest_draw;
    }
    void TearDown() override {
        timed_action_rand = rand_below;
        MinigameTest::TearDown();
    }
    std::vector<s32> music_tracks() const override { return {10020}; }
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.present_step_ms = 50; // fewer frames for the same 70 s of play
        c.budget_presents = 20000;
        return c;
    }
    // Reads every frame of the game, and clicks the continue marker once the game has ended.
    void watch(std::function<void(const TimedActionState&)> frame) {
        harness_on_present([this, frame](const u16*, u64) {
            const TimedActionState& s = timed_action_state;
            if (s.state == 0) {
                frame(s);
            } else if (!ended_) {
                ended_ = true;
                end_prints = mg_frame_prints;
                harness_click(609, 449);
            }
            mg_frame_draws.clear();
            mg_frame_prints.clear();
        });
    }
    std::vector<MgDrawn> end_prints;
    bool ended_ = false;
};

TEST_F(TimedActionGame, StandingStillLosesOnTheThirdTrackAtItsEnd) {
    // The caller's pointer shape and text colour come back, with its music.
    cursor_select(5);
    text_colour(1, 2, 3);
    const s32 colour = kanji_colour_main_555;
    watch([](const TimedActionState&) {});
    const u64 start = harness_elapsed_ms();
    EXPECT_EQ(timed_action_game(4, 3, 0), 0);
    const TimedActionState& s = timed_action_state;
    EXPECT_EQ(s.state, 1);
    EXPECT_GE(s.topped, 3);
    EXPECT_LT(s.steps, 100);
    // With the lowest draws and pace 3, the fastest track steps every 1000 to 1500 ms: eight
    // steps to its end take at least eight seconds.
    EXPECT_GT(harness_elapsed_ms() - start, 8000u);
    s32 at_top = 0;
    for (s32 t = 0; t < TIMED_TRACKS; ++t) {
        if (s.pos[t] == TIMED_TOP) ++at_top;
        EXPECT_EQ(s.counted[t], s.pos[t] == TIMED_TOP) << t;
    }
    EXPECT_EQ(at_top, s.topped);
    // No won line.
    for (const MgDrawn& p : end_prints) EXPECT_NE(p.id, 25917);
    const u32 cursor = world_state.cursor_id;
    EXPECT_EQ(cursor, 5u);
    EXPECT_EQ(kanji_colour_main_555, colour);
    EXPECT_EQ(mg_musics.front(), 10020);
    EXPECT_EQ(player_record.music_id, MG_MUSIC_BEFORE);
    EXPECT_EQ(mssw_music_id, MG_MUSIC_BEFORE);
}

TEST_F(TimedActionGame, ClickingBackEveryTrackNearItsEndWinsWhenTheBarRunsOut) {
    // Level 1 moves tracks 1, 3, 4 and 6 only; the player clicks the leading point of any track
    // that has come two positions in. The bar loses a column every 700 ms.
    s32 frames = 0, last_screens = 0;
    bool held_moved = false;
    watch([&](const TimedActionState& s) {
        ++frames;
        for (s32 t : {0, 2, 5})
            if (s.pos[t] != TIMED_CLEARED) held_moved = true;
        // The bar's columns: steps .. 99.
        const std::vector<MgDrawn> columns = mg_drawn_in(25012, 25012);
        EXPECT_EQ(s32(columns.size()), std::max(0, 100 - s.steps));
        if (!columns.empty()) {
            EXPECT_EQ(columns.front(), (MgDrawn{25012, 349 + s.steps, 301}));
        }
        // Tracks 0 and 1: a cleared track 0 lies under track 1.
        const std::vector<MgDrawn> pair = mg_drawn_in(25931, 25948);
        ASSERT_EQ(pair.size(), 2u);
        EXPECT_EQ(pair[0].id, timed_track_image(0, TIMED_CLEARED));
        if (s.steps >= 99) {
            ++last_screens;
            EXPECT_EQ(mg_frame_draws.back(), (MgDrawn{25900, 0, 0})); // the background over all
            bool near = false;
            for (s32 t = 0; t < TIMED_TRACKS; ++t) near = near || s.pos[t] == 5 || s.pos[t] == 6;
            if (!near) {
                const std::vector<MgDrawn> idle = {{25918, 51, 358}, {25919, 51, 382}};
                EXPECT_EQ(mg_frame_prints, idle);
            }
        }
        if (harness_pending_input() != 0) return;
        for (s32 t = 0; t < TIMED_TRACKS; ++t) {
            const s32 k = s.pos[t];
            if (k >= 2 && k < TIMED_POSITIONS) {
                harness_click(middle_x(TIMED_RECTS[t][k]), middle_y(TIMED_RECTS[t][k]));
                return;
            }
        }
    });
    const u64 start = harness_elapsed_ms();
    EXPECT_EQ(timed_action_game(1, 1, 0), 1);
    const TimedActionState& s = timed_action_state;
    EXPECT_EQ(s.state, 2);
    EXPECT_EQ(s.steps, 100);
    EXPECT_EQ(s.topped, 0);
    EXPECT_FALSE(held_moved);
    EXPECT_GT(last_screens, 0);
    // One step per 700 ms of the first stopwatch at best: the first step after each restart of
    // that stopwatch by track 0 comes on time, the one after it late by the carry.
    const u64 played = harness_elapsed_ms() - start;
    EXPECT_GE(played, 70000u);
    EXPECT_LT(played, 100000u);
    EXPECT_GT(frames, 1000);
    EXPECT_EQ(end_prints.back(), (MgDrawn{25917, 56, 410}));
}

TEST_F(TimedActionGame, TopLinesCountTheTrackEndsAndTheAnimationFollowsThem) {
    // Standing still at level 1 on random clocks: the first track to its end jumps the animation
    // to 25921, the second to 25911; lines 25913 .. 25912 + topped stand for the ends reached.
    timed_action_rand = lcg_draw;
    lcg_state = 11;
    s32 jump_one = 0, jump_two = 0;
    bool runs_ok = true, lines_ok = true;
    watch([&](const TimedActionState& s) {
        const std::vector<MgDrawn> anim = mg_drawn_in(25901, 25930);
        ASSERT_EQ(anim.size(), 1u);
        EXPECT_EQ(anim[0].x, 204);
        EXPECT_EQ(anim[0].y, 70);
        const s32 drawn = anim[0].id;
        if (s.jumped_one && jump_one == 0) jump_one = drawn;
        if (s.jumped_two && jump_two == 0) jump_two = drawn;
        // Each run keeps to its nine images.
        const s32 first = !s.jumped_one ? 25901 : !s.jumped_two ? 25921 : 25911;
        if (drawn < first || drawn > first + 8) runs_ok = false;
        if (s.topped > 0 && s.steps < 99) {
            for (s32 j = 1; j <= s.topped; ++j) {
                const MgDrawn line{25912 + j, 56, 338 + 24 * j};
                if (std::find(mg_frame_prints.begin(), mg_frame_prints.end(), line) ==
                    mg_frame_prints.end())
                    lines_ok = false;
            }
        }
    });
    EXPECT_EQ(timed_action_game(1, 1, 0), 0);
    EXPECT_EQ(jump_one, 25921);
    EXPECT_EQ(jump_two, 25911);
    EXPECT_TRUE(runs_ok);
    EXPECT_TRUE(lines_ok);
}

TEST_F(TimedActionGame, EndsReachedInOneFrameCountEachAndATimeOutInThatFrameStillWins) {
    // Every track is held back (cleared) until the bar stands at `at_step`; then the tracks
    // `near` stand one position short of their ends and the clock jumps past every threshold, so
    // that the next frame steps each of them to its end and the bar one step on.
    struct Case {
        s32 at_step;
        std::vector<s32> near;
        s32 topped_then; // after that frame
        s32 result;
    };
    const Case cases[] = {
        {50, {0, 1}, 2, 0},    // two ends in one frame count twice; the game goes on
        {99, {0, 1, 2}, 3, 1}, // the third end in the frame the bar runs out: still won
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at_step);
        ended_ = false;
        end_prints.clear();
        s32 jumped_at = -1;
        s32 topped_then = -1;
        watch([&](const TimedActionState& s) {
            TimedActionState& w = timed_action_state;
            if (jumped_at >= 0) {
                if (s32(s.frames) == jumped_at + 1) topped_then = s.topped;
                return;
            }
            for (s32& p : w.pos) p = TIMED_CLEARED;
            if (s.steps < c.at_step) {
                harness_advance(TIMED_BAR_STEP_MS); // a bar step a frame, to keep it short
                return;
            }
            for (s32 t : c.near) w.pos[t] = TIMED_TOP - 1;
            jumped_at = s32(s.frames);
            harness_advance(5000);
        });
        EXPECT_EQ(timed_action_game(4, 1, 0), c.result);
        const TimedActionState& s = timed_action_state;
        EXPECT_EQ(topped_then, c.topped_then);
        // Won at the end of the frame after the jump, or lost later on a further end.
        EXPECT_EQ(s32(s.frames) == jumped_at + 2, c.result == 1);
        EXPECT_EQ(s.state, c.result == 1 ? 2 : 1);
        const bool won_line = std::find(end_prints.begin(), end_prints.end(),
                                        MgDrawn{25917, 56, 410}) != end_prints.end();
        EXPECT_EQ(won_line, c.result == 1);
    }
}

TEST_F(TimedActionGame, PlaceholderArchiveHoldsEveryPictureTheGameDraws) {
    std::vector<s32> ids = {25900, 1000, 25009, 25012};
    for (s32 first : {25901, 25911, 25921})
        for (s32 i = 0; i < 9; ++i) ids.push_back(first + i);
    for (s32 t = 0; t < TIMED_TRACKS; ++t)
        for (s32 pos = TIMED_CLEARED; pos <= TIMED_TOP; ++pos)
            ids.push_back(timed_track_image(t, pos));
    for (s32 id : ids) EXPECT_GT(gisk_size(ARC_IMAGE_BASE + id), 0) << id;
}
