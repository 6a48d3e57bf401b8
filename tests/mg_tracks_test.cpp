// The two-track timing game played headless by real presses: a player at each present reads
// `tracks_state` and presses the left button, the right one or both while marks cross the hit
// band (or holds, or presses beside them), and ends the end screen with the right button. The
// launch draws are scripted for the exact cases. The tests check what the game returns, the
// item, the growth pools, stamina, clock and music, and what each frame draws.
#include "minigames/tracks.h"

#include "data/hub_block.h"
#include "data/item_tables.h"
#include "engine/shell.h"
#include "game/growth.h"
#include "tests/mg_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

namespace {

// A busy smithy: every launch cycle moves the right track on, and the left track every second
// cycle (draws right, left, right, left, ...: 0, 0, 0, 99, 0, 0, 0, 99, ...).
s32 busy_draws = 0;
s32 busy(s32) {
    return busy_draws++ % 4 == 3 ? 99 : 0;
}

// Scripted launch draws; once spent every draw answers 99 (no launch).
std::deque<s32> script;
s32 scripted(s32 n) {
    if (script.empty()) return std::min(99, n - 1);
    const s32 v = script.front();
    script.pop_front();
    return v;
}

bool in_band(const TracksTrack& t) {
    for (const TracksMark& m : t.marks)
        if (m.moving && m.y > TRACKS_BAND_ABOVE && m.y < TRACKS_BAND_BELOW) return true;
    return false;
}

// The value and pool that growth index `index` reaches from the record's when `exp` more is paid.
struct Grown {
    s32 value, pool;
};
Grown grown(s32 index, s32 exp) {
    const PlayerRecord keep = player_record;
    growth_pool(index) += exp;
    grow(index);
    const Grown g{growth_value(index), growth_pool(index)};
    player_record = keep;
    return g;
}

// The grade mark, the progress bar and the time bar that a play frame shows for the state.
std::vector<MgDrawn> expected_bars(const TracksState& s) {
    std::vector<MgDrawn> want;
    const s32 u = s.rules.unit;
    if (s.score >= 95 * u)
        want.push_back({25663, 566, 0});
    else if (s.score >= 50 * u)
        want.push_back({25662, 566, 0});
    if (s.score > 3 * u) want.push_back({25646, 468, 36});
    for (s32 c = 0; c < std::min((s.score + 1) / (7 * u), 15); ++c)
        want.push_back({25646 + c, 468 + 7 * c, 36});
    for (s32 c = 0; c < std::min(std::max(100 - s.secs, 0) / 7, 15); ++c)
        want.push_back({25631 + c, 468 + 7 * c, 105});
    std::sort(want.begin(), want.end());
    return want;
}

// Every moving mark drawn where it stood before it climbed, with the phase of its track.
std::vector<MgDrawn> expected_notes(const TracksState& s) {
    std::vector<MgDrawn> want;
    for (s32 t = 0; t < TRACKS_COUNT; ++t)
        for (const TracksMark& m : s.tracks[t].marks)
            if (m.moving && m.y + TRACKS_RISE >= 14)
                want.push_back({25607 + s.phase + 3 * t, TRACKS_X[t], m.y + TRACKS_RISE});
    std::sort(want.begin(), want.end());
    return want;
}

class TracksTest : public MinigameTest {
  protected:
    void SetUp() override {
        MinigameTest::SetUp();
        hub_block.calendar_turn = 3;
        player_record.stamina = 500;
        script.clear();
        busy_draws = 0;
        tracks_draw_seam = scripted;
    }
    void TearDown() override {
        tracks_draw_seam = rand_below;
        MinigameTest::TearDown();
    }
    std::vector<s32> music_tracks() const override { return {TRACKS_MUSIC}; }

    // Runs one game. At each present of play `each` sees the state (the frame's draws are in
    // mg_frame_draws); the end screen gets a left click first (which must not end it) and then the
    // right button. Returns what the game returned.
    s32 play(s32 n, std::function<void(const TracksState&)> each) {
        bool left_sent = false, right_sent = false;
        harness_on_present([&, each](const u16*, u64) {
            const TracksState& s = tracks_state;
            // The message log presents too (growth lines): only the game's own frames count.
            const bool own = std::any_of(mg_frame_draws.begin(), mg_frame_draws.end(),
                                         [](const MgDrawn& d) { return d.id == 25600; });
            if (!own) return;
            cursor_in_play = s32(world_state.cursor_id);
            if (s.ending) {
                ++end_frames;
                end_prints.insert(end_prints.end(), mg_frame_prints.begin(), mg_frame_prints.end());
                end_draws = mg_frame_draws;
                if (harness_pending_input() == 0 && !right_sent) {
                    harness_click(320, 240, left_sent ? 2 : 1);
                    right_sent = left_sent;
                    left_sent = true;
                }
            } else {
                each(s);
            }
            mg_frame_draws.clear();
            mg_frame_prints.clear();
        });
        const s32 made = game_tracks(n);
        harness_on_present(nullptr);
        return made;
    }

    // The player that presses whatever track has a mark in the band (both at once when both
    // have); `cost` counts the seconds the presses cost.
    void press_marks(const TracksState& s) {
        if (harness_pending_input() != 0) return;
        const bool left = in_band(s.tracks[0]), right = in_band(s.tracks[1]);
        if (left && right) {
            press_both();
            cost += 2;
        } else if (left || right) {
            harness_click(300, 200, left ? 1 : 2);
            cost += 1;
        }
    }
    // What every play frame must draw for the state it shows: its marks, the grade mark and
    // both bars.
    static void check_frame(const TracksState& s) {
        EXPECT_EQ(mg_sorted(mg_drawn_in(25607, 25612)), expected_notes(s)) << s.frames;
        std::vector<MgDrawn> bars = mg_drawn_in(25631, 25663);
        std::erase_if(bars, [](const MgDrawn& d) { return d.id == 25661; });
        EXPECT_EQ(mg_sorted(bars), expected_bars(s)) << s.frames;
    }
    static void press_both() {
        const u64 now = harness_presents();
        harness_button_down(1, at_present(now));
        harness_button_down(2, at_present(now));
        harness_button_up(1);
        harness_button_up(2);
    }

    s32 cost = 0;
    s32 cursor_in_play = -1;
    s32 end_frames = 0;
    std::vector<MgDrawn> end_prints, end_draws;
};

TEST(TracksRulesTest, TargetUnitStepAndGainFollowCraftValueAndSkill) {
    struct Case {
        s32 cv, skill, base, step, target, unit, gain;
    };
    const Case cases[] = {
        {0, 0, 500, 3, 250, 2, 4},       {4, 9, 500, 3, 270, 2, 4},
        {10, 50, 600, 4, 360, 3, 9},     {10, 70, 600, 4, 360, 3, 11},
        {40, 80, 900, 7, 810, 8, 13},    {49, 79, 950, 8, 940, 9, 11},
        {50, 99, 1000, 9, 1000, 10, 15}, {120, 100, 1000, 9, 1700, 17, 20},
        {5, 19, 550, 3, 302, 3, 5},
    };
    for (const Case& c : cases) {
        const TracksRules r = tracks_rules(c.cv, c.skill);
        EXPECT_EQ(r.base, c.base) << c.cv;
        EXPECT_EQ(r.step, c.step) << c.cv;
        EXPECT_EQ(r.target, c.target) << c.cv;
        EXPECT_EQ(r.unit, c.unit) << c.cv;
        EXPECT_EQ(r.gain, c.gain) << c.skill;
    }
}

// Item 1401 (craft value 10) made by real presses with skill 16 at 70: 11 a hit toward 360. Every
// frame draws its marks, grade mark and bars from the state; the end screen names the item.
TEST_F(TracksTest, WholeGameMadeByRealPresses) {
    tracks_draw_seam = busy;
    growth_value(TRACKS_SKILL) = 70;
    const s32 cv = equip_table[1].craft_value;
    ASSERT_EQ(cv, 10);
    const s32 items = mg_inv_count(1401);
    const s32 minutes = mg_clock_minutes();
    const PlayerRecord before = player_record;
    s32 frames_checked = 0;
    const s32 made = play(1, [&](const TracksState& s) {
        check_frame(s);
        ++frames_checked;
        press_marks(s);
    });

    const TracksState& s = tracks_state;
    const s32 hits = s.tracks[0].hits + s.tracks[1].hits;
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(s.made);
    EXPECT_EQ(s.rules.target, 360);
    EXPECT_EQ(s.score, 11 * hits);
    EXPECT_GE(s.score, 360);
    EXPECT_LT(s.score, 360 + 2 * 11); // the game ends at the frame that reaches the target
    EXPECT_EQ(s.penalty, cost - hits);
    EXPECT_LT(harness_elapsed_ms(), 100000u);
    EXPECT_EQ(frames_checked, s.frames);
    EXPECT_EQ(mg_inv_count(1401), items + 1);
    // Step 4 a hit into skill 16 and 2 into attribute 28, and cv x 20 more into skill 16 for the
    // item; the pools grow every frame, which pays them as one sum would.
    const PlayerRecord after = player_record;
    player_record = before;
    const Grown skill = grown(TRACKS_SKILL, 4 * hits + cv * 20),
                attr = grown(TRACKS_ATTR, 2 * hits);
    player_record = after;
    EXPECT_EQ(growth_value(TRACKS_SKILL), skill.value);
    EXPECT_EQ(growth_pool(TRACKS_SKILL), skill.pool);
    EXPECT_EQ(growth_value(TRACKS_ATTR), attr.value);
    EXPECT_EQ(growth_pool(TRACKS_ATTR), attr.pool);
    EXPECT_EQ(effects_of(mg_sounds, TRACKS_SOUND_HIT), played_once(TRACKS_SOUND_HIT, hits));
    EXPECT_EQ(player_record.stamina, 400);
    EXPECT_EQ(mg_clock_minutes(), minutes + 15);
    EXPECT_EQ(cursor_in_play, TRACKS_CURSOR);
    EXPECT_EQ(player_record.music_id, MG_MUSIC_BEFORE);
    ASSERT_GE(mg_musics.size(), 2u);
    EXPECT_EQ(mg_musics[mg_musics.size() - 2], TRACKS_MUSIC);
    EXPECT_EQ(mg_musics.back(), MG_MUSIC_BEFORE);
    // The end screen took a left click and ended on the right button; it names the item made
    // and shows the full bar (the score passed the target).
    EXPECT_GE(end_frames, 2);
    EXPECT_NE(std::find(end_prints.begin(), end_prints.end(), MgDrawn{20608, 56, 371}),
              end_prints.end());
    EXPECT_NE(std::find(end_prints.begin(), end_prints.end(), MgDrawn{6401, 225, 371}),
              end_prints.end());
    std::vector<MgDrawn> full = {{25646, 468, 36}};
    for (s32 c = 0; c < 14; ++c) full.push_back({25647 + c, 475 + 7 * c, 36});
    EXPECT_EQ(mg_drawn_in(25646, 25660, end_draws), full);
}

// With no launches both tracks run their first mark alone (in the band at frames 122..128). A
// press costs a second, both buttons two, a held button is one press, and each hit gives one
// back; presses beside the marks then spend the 100 seconds long before the clock does.
TEST_F(TracksTest, PressesCostSecondsAndHitsGiveThemBack) {
    growth_value(TRACKS_SKILL) = 30; // gain 7
    struct Seen {
        s32 frame, presses, penalty;
    };
    std::vector<Seen> seen;
    s32 hit_frame = -1;
    const s32 made = play(2, [&](const TracksState& s) {
        check_frame(s);
        seen.push_back({s.frames, s.presses, s.penalty});
        const s32 f = s.frames;
        if (hit_frame < 0 && s.tracks[0].hits == 1) hit_frame = f;
        // The hit flashes: 30 frames from the hit's frame, picture by sixths.
        if (hit_frame >= 0) {
            const s32 k = f - hit_frame;
            std::vector<MgDrawn> want;
            if (k < 30)
                want = {{25606 - k / 6, 182, 36}, {25606 - k / 6, 182, 36}, {25613 + k / 6, 65, 6},
                        {25619 + k / 6, 122, 0},  {25625, 71, 302},         {25625, 123, 302}};
            std::vector<MgDrawn> flashes = mg_drawn_in(25602, 25625);
            std::erase_if(flashes, [](const MgDrawn& d) { return d.id >= 25607 && d.id <= 25612; });
            EXPECT_EQ(mg_sorted(flashes), mg_sorted(want)) << f;
        }
        if (harness_pending_input() != 0) return;
        if (f == 5) harness_click(300, 200, 1);
        if (f == 10) press_both();
        if (f == 15) harness_button_down(1);
        if (f == 40) harness_button_up(1);
        if (f == 122) {
            EXPECT_TRUE(in_band(s.tracks[0]) && in_band(s.tracks[1]));
            press_both();
        }
        if (f >= 160 && !in_band(s.tracks[0])) harness_click(300, 200, 1);
    });
    auto at = [&](s32 frame) {
        for (const Seen& x : seen)
            if (x.frame == frame) return x;
        return Seen{-1, -1, -1};
    };
    EXPECT_EQ(at(6).penalty, 1);
    EXPECT_EQ(at(11).penalty, 3);
    EXPECT_EQ(at(11).presses, 2);
    EXPECT_EQ(at(39).penalty, 4); // held from frame 16 on: taken once
    EXPECT_EQ(at(39).presses, 3);
    EXPECT_EQ(at(123).penalty, 4); // both: two seconds, two hits give them back
    EXPECT_EQ(hit_frame, 123);

    const TracksState& s = tracks_state;
    EXPECT_EQ(made, 0);
    EXPECT_FALSE(s.made);
    EXPECT_EQ(s.tracks[0].hits, 1);
    EXPECT_EQ(s.tracks[1].hits, 1);
    EXPECT_EQ(s.score, 14);
    EXPECT_GE(s.secs, 100);
    EXPECT_EQ(s.penalty, s.presses); // every later press cost a second, the two hits paid back 2
    EXPECT_LT(harness_elapsed_ms(), 40000u);
    EXPECT_EQ(effects_of(mg_sounds, TRACKS_SOUND_HIT), played_once(TRACKS_SOUND_HIT, 2));
    EXPECT_NE(std::find(end_prints.begin(), end_prints.end(), MgDrawn{20607, 56, 371}),
              end_prints.end());
    EXPECT_EQ(std::find(end_prints.begin(), end_prints.end(), MgDrawn{20608, 56, 371}),
              end_prints.end());
}

// Launches happen only at frame 8 of each 18-frame cycle, the right track's draw first, when
// the draw is below 25 and the current mark has climbed to y 254; after the fifth mark comes
// the first again.
TEST_F(TracksTest, LaunchesAtCycleFrameEightOnceTheMarkHasClimbed) {
    // Frame 8: marks at 261, no launch whatever the draws. Frame 26: right 24 launches, left 25
    // does not. Frame 44: right 99 not, left 0 does. Then the right track every cycle.
    script = {0, 0, 24, 25, 99, 0};
    for (s32 i = 0; i < 6; ++i) script.insert(script.end(), {0, 99});
    std::vector<s32> right_current, left_current;
    const s32 made = play(3, [&](const TracksState& s) {
        check_frame(s);
        right_current.push_back(s.tracks[1].current);
        left_current.push_back(s.tracks[0].current);
        // Spends the game's time once the launches are seen (never in the band).
        if (s.frames > 160 && harness_pending_input() == 0 && !in_band(s.tracks[1]))
            harness_click(300, 200, 2);
    });
    EXPECT_EQ(made, 0);
    ASSERT_GT(right_current.size(), 160u);
    // The hook sees frame f before its cycle step: a launch at frame f shows from frame f + 1.
    EXPECT_EQ(right_current[26], 0);
    EXPECT_EQ(right_current[27], 1);
    EXPECT_EQ(left_current[44], 0);
    EXPECT_EQ(left_current[45], 1);
    EXPECT_EQ(right_current[45], 1);
    // Frame 134: mark 0 passed unhit at frame 132 and started again, still too low to launch.
    const s32 rights[] = {2, 3, 4, 0, 0, 1};
    for (s32 k = 0; k < 6; ++k) EXPECT_EQ(right_current[63 + 18 * k], rights[k]) << k;
    EXPECT_EQ(left_current[160], 1);
    EXPECT_TRUE(script.empty());
}

// Image 25607 + image at (x, y) from y 14 on; at 13 and above nothing.
TEST_F(TracksTest, NoteDrawnBelowTheTopOnly) {
    game_tracks_note(14, 4, 128);
    game_tracks_note(13, 4, 128);
    game_tracks_note(279, 0, 72);
    EXPECT_EQ(mg_frame_draws, (std::vector<MgDrawn>{{25611, 128, 14}, {25607, 72, 279}}));
}

// An index outside the equipment table makes nothing and shows nothing; the contests always
// answer 0.
TEST_F(TracksTest, OutOfRangeIndexAndContests) {
    const u64 presents = harness_presents();
    EXPECT_EQ(game_tracks(-1), 0);
    EXPECT_EQ(game_tracks(EQUIP_TABLE_COUNT), 0);
    EXPECT_EQ(harness_presents(), presents);
    EXPECT_TRUE(mg_musics.empty());
    EXPECT_EQ(player_record.stamina, 500);
    for (const s32 contest : {0, 2, 3, 4, 5, 1, -1}) EXPECT_EQ(contest_stub(contest), 0);
}

// From index 150 on a made item comes twenty at a time; with a craft value of 0 and skill 16 at
// 100 (20 a hit) the target of 250 takes thirteen hits.
TEST_F(TracksTest, IndexFrom150MakesTwenty) {
    tracks_draw_seam = busy;
    equip_table[154].craft_value = 0;
    growth_value(TRACKS_SKILL) = 100;
    const s32 items = mg_inv_count(1554);
    const s32 made = play(154, [&](const TracksState& s) { press_marks(s); });
    EXPECT_EQ(made, 1);
    EXPECT_EQ(tracks_state.rules.target, 250);
    EXPECT_EQ(tracks_state.score, 260);
    EXPECT_EQ(mg_inv_count(1554), items + 20);
}

// Slow frames (250 ms): the game ends on its clock, nothing pressed but the first left mark.
// From craft value 40 on each mark that passes unhit costs 10, the score held at 0 from one
// frame to the next; below 40 a miss costs nothing.
class TracksSlowTest : public TracksTest, public ::testing::WithParamInterface<s32> {
    HarnessConfig harness_settings() const override {
        HarnessConfig c = TracksTest::harness_settings();
        c.present_step_ms = 250;
        return c;
    }
};

TEST_P(TracksSlowTest, MissedMarksCostTenFromCraftValueForty) {
    const s32 cv = GetParam();
    equip_table[5].craft_value = cv;
    growth_value(TRACKS_SKILL) = 100;
    const s32 minutes = mg_clock_minutes();
    std::vector<s32> scores;
    bool pressed = false;
    const s32 made = play(5, [&](const TracksState& s) {
        EXPECT_GE(s.score, 0);
        if (scores.empty() || scores.back() != s.score) scores.push_back(s.score);
        if (!pressed && in_band(s.tracks[0])) {
            harness_click(300, 200, 1);
            pressed = true;
        }
    });
    const TracksState& s = tracks_state;
    EXPECT_EQ(made, 0);
    EXPECT_GE(harness_elapsed_ms(), 100000u);
    EXPECT_EQ(s.secs, 100); // the one press paid back by its hit
    EXPECT_GE(s.tracks[0].misses + s.tracks[1].misses, 3);
    if (cv >= 40)
        EXPECT_EQ(scores, (std::vector<s32>{0, 20, 10, 0}));
    else
        EXPECT_EQ(scores, (std::vector<s32>{0, 20}));
    EXPECT_EQ(player_record.stamina, 400);
    EXPECT_EQ(mg_clock_minutes(), minutes + 15);
    EXPECT_EQ(player_record.music_id, MG_MUSIC_BEFORE);
    EXPECT_EQ(mg_musics.back(), MG_MUSIC_BEFORE);
}
INSTANTIATE_TEST_SUITE_P(CraftValues, TracksSlowTest, ::testing::Values(39, 40));

} // namespace
