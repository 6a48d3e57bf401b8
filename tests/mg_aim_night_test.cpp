// The night target game, played headless: the skill's speeds, shots and damage, a showing's
// healing, walk and spot places, the landing window, the count of spots down, and games by real
// input (the pointer aimed at spots read from the game's state at each present) with scripted
// draws for exact hits and counter-strikes, and whole games won and lost.
#include "minigames/aim_night.h"

#include "data/hub_block.h"
#include "engine/gisk.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/hub_fixture.h"
#include "tests/mg_checks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <set>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050;
constexpr s32 SKILL = 18;

// Scripted answers of the game's draws, given as they are (out-of-range answers included); once
// they are spent every draw answers 0 and is counted.
std::deque<s32> rand_script;
s32 filler_draws = 0;
s32 scripted_rand(s32) {
    if (rand_script.empty()) {
        ++filler_draws;
        return 0;
    }
    const s32 v = rand_script.front();
    rand_script.pop_front();
    return v;
}

// Draws of a showing that keep every spot's hit points, leave the figure at its point (steps of
// 0) and give every spot the offset `offset`.
std::vector<s32> still_showing(s32 offset) {
    return {0, 0, 0, 0, 0, 0, 9, 0, 9, 0, offset, offset, offset, offset, offset, offset};
}

// The pointer point whose shot lands on the spot: 12 px into it, 10 px below its top (a shot's
// last stage lands up to 4 px under the pointer).
s32 aim_x(const AimNightSpot& spot) {
    return spot.x + 12;
}
s32 aim_y(const AimNightSpot& spot) {
    return spot.y + 10;
}

// The spot a shot in the air will land on, -1 when none.
s32 target_of(const AimNightState& s, const AimNightShot& shot) {
    const s32 y = 480 - shot.step * AIM_NIGHT_LAST_STAGE;
    for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i)
        if (aim_night_spot_hit_by(s.spots[i], shot.x, y)) return i;
    return -1;
}

class AimNightTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        dialog_record_draws(true);
        player_record.music_id = MUSIC_BEFORE;
        mssw_play_music(MUSIC_BEFORE, 0);
        world_state.hour = 8;
        world_state.minute = 0;
        hub_block.calendar_turn = 40;
        rand_script.clear();
        filler_draws = 0;
        aim_night_rand = scripted_rand;
        aim_night_state = AimNightState{};
    }
    void TearDown() override {
        harness_on_present(nullptr);
        aim_night_rand = rand_below;
        HubTest::TearDown();
    }
    void add_content(ArcBuilder& b) const override {
        world_put_tracks(b, {10018, 10041, MUSIC_BEFORE}, 1000);
    }

    // Moves what the transcript recorded since the last call into the test's own records (every
    // image id drawn, the draws of the last present, sounds and music), so that long games keep
    // the transcript short.
    void collect() {
        last_draws.clear();
        for (const TranscriptEntry& e : dialog_transcript()) {
            if (e.kind == TRANSCRIPT_DRAW) {
                drawn.insert(e.id);
                last_draws.push_back(e);
            } else if (e.kind == TRANSCRIPT_SOUND) {
                sounds.push_back({e.id, e.number});
            } else if (e.kind == TRANSCRIPT_MUSIC) {
                music.push_back(e.id);
            }
        }
        dialog_transcript_clear();
    }

    // The player at each present: records what was shown, lets `extra` act first (true when it
    // acted), then, on a frame of the game loop with nothing queued, clicks the spot that `pick`
    // names (-1: no click) while a shot is free.
    void play(std::function<s32(const AimNightState&)> pick,
              std::function<bool(const AimNightState&)> extra = nullptr) {
        harness_on_present([this, pick, extra](const u16*, u64) {
            collect();
            const AimNightState& s = aim_night_state;
            cursor_in_play = world_state.cursor_id;
            if (s.phase != AIM_NIGHT_PLAY) {
                phase_presents[s.phase] += 1;
                if (s.phase == AIM_NIGHT_HIT) hit_pictures.push_back(last_draws);
                if (s.phase == AIM_NIGHT_STRIKE) strike_pictures.push_back(last_draws);
                return;
            }
            if (s.result >= 0 || harness_pending_input() > 0) return;
            if (extra && extra(s)) return;
            s32 flying = 0;
            for (const AimNightShot& shot : s.shots) flying += shot.stage >= 0 ? 1 : 0;
            if (!s.visible || flying >= s.allowed) return;
            const s32 spot = pick(s);
            if (spot < 0) return;
            harness_click(aim_x(s.spots[spot]), aim_y(s.spots[spot]));
            ++clicks;
        });
    }

    // The spot with the most hit points that the shots in the air leave it, -1 when none has any.
    static s32 most_standing(const AimNightState& s) {
        s32 left[AIM_NIGHT_SPOTS];
        for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i) left[i] = s.spots[i].hp;
        for (const AimNightShot& shot : s.shots) {
            if (shot.stage < 0) continue;
            const s32 t = target_of(s, shot);
            if (t >= 0) left[t] -= s.damage;
        }
        const s32 best = s32(std::max_element(left, left + AIM_NIGHT_SPOTS) - left);
        return left[best] > 0 ? best : -1;
    }

    // Skill 18's value and pool after `paid` payments of 10, the record left untouched.
    static std::pair<s32, s32> skill_after(s32 paid) {
        const PlayerRecord before = player_record;
        for (s32 i = 0; i < paid; ++i) {
            growth_pool(SKILL) += 10;
            grow(SKILL);
        }
        const std::pair<s32, s32> after{growth_value(SKILL), growth_pool(SKILL)};
        player_record = before;
        return after;
    }

    // Every image the game drew is in the placeholder archive.
    void expect_drawn_in_archive() const {
        static const ArcBuilder archive = [] {
            ArcBuilder b;
            arc_put_placeholder_content(b);
            return b;
        }();
        for (const s32 id : drawn)
            EXPECT_EQ(archive.entries().count(u32(ARC_IMAGE_BASE + id)), 1u) << id;
    }

    void expect_after_game(s32 minutes_before) {
        collect();
        EXPECT_EQ(clock_minutes(), minutes_before + 60);
        ASSERT_GE(music.size(), 2u);
        EXPECT_EQ(music[music.size() - 2], 10018);
        EXPECT_EQ(music.back(), 10041);
        EXPECT_EQ(player_record.music_id, MUSIC_BEFORE); // not kept, not restored
        EXPECT_EQ(cursor_in_play, 1);
        EXPECT_EQ(s32(world_state.cursor_id), 1);
    }

    // The starts of effect `id`, with their loop counts.
    std::vector<Effect> sounds_of(s32 id) const { return effects_of(sounds, id); }

    std::set<s32> drawn;
    std::vector<TranscriptEntry> last_draws;
    std::vector<std::vector<TranscriptEntry>> hit_pictures, strike_pictures;
    std::vector<Effect> sounds;
    std::vector<s32> music;
    s32 phase_presents[4] = {};
    s32 clicks = 0;
    s32 cursor_in_play = -1;
};

bool drew(const std::vector<TranscriptEntry>& draws, s32 id, s32 x, s32 y) {
    return std::any_of(draws.begin(), draws.end(), [&](const TranscriptEntry& e) {
        return e.id == id && e.x == x && e.y == y;
    });
}

// With a bar of 0 the game ends after its first frame, lost; the skill's values are set by then.
TEST_F(AimNightTest, SkillSetsStepTimeShotsAndDamage) {
    struct Case {
        s32 skill, step_ms, allowed, damage;
    };
    const Case cases[] = {
        {0, 100, 1, 1},  {4, 98, 1, 1},   {39, 81, 1, 7},   {40, 80, 2, 8},
        {79, 61, 2, 15}, {80, 60, 3, 16}, {100, 50, 3, 20},
    };
    s32 turn = 0;
    for (const Case& c : cases) {
        growth_value(SKILL) = c.skill;
        player_record.hp = 1;
        hub_block.calendar_turn = turn; // the clock moves by 60 minutes on every turn
        turn = turn == 0 ? 235 : 0;
        const s32 minutes = clock_minutes();
        music.clear();
        play([](const AimNightState&) { return -1; });
        EXPECT_EQ(game_aim_night(), 0);
        const AimNightState& s = aim_night_state;
        EXPECT_EQ(s.step_ms, c.step_ms) << c.skill;
        EXPECT_EQ(s.allowed, c.allowed) << c.skill;
        EXPECT_EQ(s.damage, c.damage) << c.skill;
        EXPECT_EQ(s.bar, 0);
        EXPECT_EQ(s.frames, 1);
        EXPECT_EQ(player_record.hp, 1); // the bar is the game's own
        expect_after_game(minutes);
    }
}

// A showing heals every spot (cap 100, a spot at 0 too), clears the marks, moves the figure and
// gives every spot a new offset; a draw source answering out of range never leaves the three
// offsets.
TEST_F(AimNightTest, ShowingHealsAndPlacesSpots) {
    AimNightState s;
    s.struck = true;
    const s32 hp[AIM_NIGHT_SPOTS] = {95, 0, 50, 100, 89, 1};
    for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i) {
        s.spots[i].hp = hp[i];
        s.spots[i].hit = true;
    }
    rand_script = {9, 0, 5, 3, 0, 9, /* walk */ 9, 20, 9, 30, /* offsets */ 3, -1, 7, 2, 0, 1};
    aim_night_show(s);
    EXPECT_TRUE(rand_script.empty());
    EXPECT_EQ(filler_draws, 0);
    EXPECT_TRUE(s.visible);
    EXPECT_FALSE(s.struck);
    EXPECT_EQ(s.showings, 1);
    EXPECT_EQ(s.x, 120);
    EXPECT_EQ(s.y, 130);
    const s32 want_hp[AIM_NIGHT_SPOTS] = {100, 10, 65, 100, 99, 20};
    const s32 want_offset[AIM_NIGHT_SPOTS] = {2, 0, 2, 2, 0, 1};
    for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i) {
        const AimNightSpot& spot = s.spots[i];
        const AimNightOffset& o = AIM_NIGHT_SPOT_OFFSETS[i][want_offset[i]];
        EXPECT_EQ(spot.hp, want_hp[i]) << i;
        EXPECT_FALSE(spot.hit);
        EXPECT_EQ(spot.offset, want_offset[i]) << i;
        EXPECT_EQ(spot.x, 120 + o.dx) << i;
        EXPECT_EQ(spot.y, 130 + o.dy) << i;
    }
}

// The figure's walk at a showing: x held to -80..230 and y to -100..160.
TEST_F(AimNightTest, ShowingWalksTheFigure) {
    struct Case {
        s32 x, y, x_draw, dx, y_draw, dy, want_x, want_y;
    };
    const Case cases[] = {
        {100, 100, 4, 150, 7, 80, -50, 160},   // low draw above -30: x down; high draw: y up
        {-20, 0, 4, 199, 9, 0, -80, 0},        // .. held at -80
        {-30, -50, 2, 199, 0, 100, 169, -100}, // low draw at -30 or below: x up; y down to -100
        {-70, 0, 4, 50, 9, 0, -20, 0},
        {179, 0, 5, 100, 9, 10, 230, 10}, // high draw below 180: x up, held at 230
        {180, 0, 9, 199, 9, 0, -19, 0},   // .. from 180 on: x down
        {230, 0, 9, 0, 4, 0, 230, 0},
    };
    for (const Case& c : cases) {
        AimNightState s;
        s.x = c.x;
        s.y = c.y;
        rand_script = {0, 0, 0, 0, 0, 0, c.x_draw, c.dx, c.y_draw, c.dy};
        aim_night_show(s);
        EXPECT_EQ(s.x, c.want_x) << c.x << " " << c.x_draw << " " << c.dx;
        EXPECT_EQ(s.y, c.want_y) << c.y << " " << c.y_draw << " " << c.dy;
    }
}

TEST_F(AimNightTest, ShotLandsOnlyStrictlyInsideTheSpot) {
    AimNightSpot spot;
    spot.x = 200;
    spot.y = 150;
    struct Case {
        s32 x, y;
        bool lands;
    };
    const Case cases[] = {
        {184, 160, true}, {183, 160, false}, {207, 160, true}, {208, 160, false},
        {195, 151, true}, {195, 150, false}, {195, 175, true}, {195, 176, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(aim_night_spot_hit_by(spot, c.x, c.y), c.lands) << c.x << "," << c.y;
}

// The count of spots down runs from spot 0 while their hit points are below 1 and stops at the
// sixth: it never reads past the spots.
TEST_F(AimNightTest, SpotsDownCountsFromSpotZeroAndStopsAtSix) {
    struct {
        AimNightSpot six[AIM_NIGHT_SPOTS];
        AimNightSpot beyond; // memory after the spots that also reads as down
    } spots;
    for (AimNightSpot& s : spots.six) s.hp = 0;
    spots.beyond.hp = 0;
    EXPECT_EQ(aim_night_spots_down(spots.six), 6);
    spots.six[4].hp = 1;
    EXPECT_EQ(aim_night_spots_down(spots.six), 4);
    spots.six[0].hp = 100;
    EXPECT_EQ(aim_night_spots_down(spots.six), 0);
}

// One click on spot 0 in the first showing: the shot rises from the pointer and lands, the spot
// loses the damage, the hit pays skill 18 and shows three hit frames. Five spots untouched bring
// the counter-strike at the showing's end; its scripted loss empties the bar of 35 and the game
// is lost.
TEST_F(AimNightTest, HitPaysSkillAndCounterStrikeEmptiesTheBar) {
    growth_value(SKILL) = 50; // step 75 ms, two shots, damage 10
    player_record.hp = 71;    // bar 35
    const std::vector<s32> showing = still_showing(0);
    rand_script.assign(showing.begin(), showing.end());
    rand_script.push_back(20); // the strike: (20 + 50) / 2 = 35
    const std::pair<s32, s32> skill = skill_after(1);
    const s32 minutes = clock_minutes();
    play([](const AimNightState& s) { return s.shots_fired == 0 ? 0 : -1; });
    EXPECT_EQ(game_aim_night(), 0);

    const AimNightState& s = aim_night_state;
    EXPECT_EQ(filler_draws, 0);
    EXPECT_EQ(s.showings, 1);
    EXPECT_EQ(s.x, 100);
    EXPECT_EQ(s.y, 100);
    EXPECT_EQ(s.spots[0].x, 246);
    EXPECT_EQ(s.spots[0].y, 225);
    EXPECT_EQ(s.shots_fired, 1);
    EXPECT_EQ(s.hits, 1);
    EXPECT_EQ(s.hit_frames, 1);
    EXPECT_EQ(s.spots[0].hp, 90);
    for (s32 i = 1; i < AIM_NIGHT_SPOTS; ++i) EXPECT_EQ(s.spots[i].hp, 100) << i;
    EXPECT_EQ(s.strikes, 1);
    EXPECT_EQ(s.bar, 0);
    EXPECT_EQ(growth_value(SKILL), skill.first);
    EXPECT_EQ(growth_pool(SKILL), skill.second);
    EXPECT_EQ(sounds_of(548), played_once(548, 1));
    EXPECT_EQ(sounds_of(547), played_once(547, 1));
    EXPECT_EQ(phase_presents[AIM_NIGHT_HIT], 3);
    ASSERT_EQ(hit_pictures.size(), 3u);
    // The landing frame, drawn before the first hit frame: the impact where the shot landed
    // (pointer (258, 235): shot x 241, last stage at y 235).
    EXPECT_TRUE(drew(hit_pictures[0], 25079, 243, 220));
    for (s32 f = 0; f < 3; ++f) {
        EXPECT_TRUE(drew(hit_pictures[size_t(f)], 7254 + f, 100, 100)) << f;
        EXPECT_TRUE(drew(hit_pictures[size_t(f)], 25013, 226, 248)) << f; // the spot's bar
        EXPECT_TRUE(drew(hit_pictures[size_t(f)], 25013, 316, 248)) << f; // 91 columns
        EXPECT_FALSE(drew(hit_pictures[size_t(f)], 25013, 317, 248)) << f;
        if (f > 0) {
            EXPECT_FALSE(drew(hit_pictures[size_t(f)], 7250, 100, 100)) << f;
        }
    }
    EXPECT_EQ(phase_presents[AIM_NIGHT_STRIKE], 2);
    ASSERT_EQ(strike_pictures.size(), 2u);
    for (s32 f = 0; f < 2; ++f) EXPECT_TRUE(drew(strike_pictures[size_t(f)], 7251 + f, 110, 100));
    EXPECT_EQ(phase_presents[AIM_NIGHT_DRAIN], 35); // one point a frame
    expect_after_game(minutes);
    expect_drawn_in_archive();
}

// Clicks on every free frame: only the allowed number of shots leaves the ground, though every
// click plays the shot sound; holding both buttons, or the right one, fires nothing.
TEST_F(AimNightTest, ClicksLaunchNoMoreThanTheAllowedShots) {
    struct Case {
        s32 skill, allowed;
    };
    for (const Case c : {Case{39, 1}, Case{40, 2}, Case{79, 2}, Case{80, 3}}) {
        growth_value(SKILL) = c.skill;
        player_record.hp = 2; // bar 1: the first counter-strike ends the game
        const std::vector<s32> showing = still_showing(1);
        rand_script.assign(showing.begin(), showing.end());
        sounds.clear();
        s32 max_flying = 0, step = 0;
        bool freed_extra = true;
        harness_on_present([&](const u16*, u64) {
            collect();
            const AimNightState& s = aim_night_state;
            s32 flying = 0;
            for (const AimNightShot& shot : s.shots) flying += shot.stage >= 0 ? 1 : 0;
            max_flying = std::max(max_flying, flying);
            for (s32 i = s.allowed; i < AIM_NIGHT_SHOTS; ++i)
                freed_extra = freed_extra && s.shots[i].stage < 0;
            if (s.phase != AIM_NIGHT_PLAY || harness_pending_input() > 0 || s.result >= 0) return;
            if (step < 4) { // four left clicks at once, one a frame, at the far left
                harness_click(20 + step, 300);
            } else if (step == 4) { // both buttons held over frames, then the right alone
                const u64 now = harness_presents();
                harness_move(20, 300, at_present(now + 1));
                harness_button_down(2, at_present(now + 1));
                harness_button_down(1, at_present(now + 1));
                harness_button_up(1, at_present(now + 3));
                harness_button_up(2, at_present(now + 5));
            }
            ++step;
        });
        EXPECT_EQ(game_aim_night(), 0);
        const AimNightState& s = aim_night_state;
        EXPECT_EQ(sounds_of(548), played_once(548, 4)) << c.skill;
        EXPECT_EQ(s.shots_fired, c.allowed) << c.skill;
        EXPECT_EQ(max_flying, c.allowed) << c.skill;
        EXPECT_TRUE(freed_extra);
        EXPECT_EQ(s.hits, 0);
        EXPECT_EQ(s.strikes, 1);
    }
}

// Hitting five spots of six in a showing keeps the figure from striking; four or fewer bring
// one strike. With a bar of 1 that strike ends the game in its showing.
class AimNightStrikeTest : public AimNightTest, public ::testing::WithParamInterface<s32> {};

TEST_P(AimNightStrikeTest, FiveSpotsHitAvoidTheCounterStrike) {
    const s32 spots_hit = GetParam();
    growth_value(SKILL) = 100; // three shots, damage 20
    player_record.hp = 3;      // bar 1
    const std::vector<s32> showing = still_showing(2);
    rand_script.assign(showing.begin(), showing.end());
    rand_script.push_back(0); // the strike's draw, or the second showing's first
    std::vector<s32> hit_in_first(AIM_NIGHT_SPOTS, 0);
    play(
        [spots_hit](const AimNightState& s) {
            if (s.showings != 1 || s.shots_fired >= spots_hit) return -1;
            return s.shots_fired;
        },
        [&](const AimNightState& s) {
            if (s.showings == 1)
                for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i) hit_in_first[size_t(i)] = s.spots[i].hit;
            return false;
        });
    EXPECT_EQ(game_aim_night(), 0);

    const AimNightState& s = aim_night_state;
    EXPECT_EQ(s.hits, spots_hit);
    for (s32 i = 0; i < AIM_NIGHT_SPOTS; ++i) EXPECT_EQ(hit_in_first[size_t(i)], i < spots_hit);
    EXPECT_EQ(s.strikes, 1);
    // Struck in the first showing, or only in the second (filler draws: all spots untouched).
    EXPECT_EQ(s.showings, spots_hit >= 5 ? 2 : 1);
    EXPECT_EQ(filler_draws > 0, spots_hit >= 5);
}
INSTANTIATE_TEST_SUITE_P(SpotsHit, AimNightStrikeTest, ::testing::Values(0, 4, 5, 6));

// Whole games by real input with the game's own draws.
TEST_F(AimNightTest, WholeGameWonBySpreadingShotsOverTheSpots) {
    aim_night_rand = rand_below;
    growth_value(SKILL) = 100;
    player_record.hp = 400; // bar 200
    const PlayerRecord before = player_record;
    const s32 minutes = clock_minutes();
    play(most_standing);
    EXPECT_EQ(game_aim_night(), 1);

    const AimNightState& s = aim_night_state;
    EXPECT_EQ(s.result, 1);
    for (const AimNightSpot& spot : s.spots) EXPECT_EQ(spot.hp, 0);
    EXPECT_GT(s.bar, 0);
    EXPECT_GE(s.hits, 30); // 600 hit points at 20 a hit, and the healing
    EXPECT_EQ(s.shots_fired, clicks);
    EXPECT_EQ(sounds_of(548), played_once(548, clicks));
    EXPECT_EQ(sounds_of(547), played_once(547, s.hit_frames));
    EXPECT_EQ(phase_presents[AIM_NIGHT_HIT], 3 * s.hit_frames);
    const std::pair<s32, s32> skill = [&] {
        const PlayerRecord now = player_record;
        player_record = before;
        const std::pair<s32, s32> r = skill_after(s.hit_frames);
        player_record = now;
        return r;
    }();
    EXPECT_EQ(growth_value(SKILL), skill.first);
    EXPECT_EQ(growth_pool(SKILL), skill.second);
    EXPECT_EQ(player_record.hp, 400);
    EXPECT_EQ(player_record.stamina, before.stamina);
    expect_after_game(minutes);
    expect_drawn_in_archive();
    for (const s32 id : {1427, 7250, 7254, 7255, 7256, 7259, 25092, 25087, 25091, 25079, 25013})
        EXPECT_EQ(drawn.count(id), 1u) << id;
}

// With skill 0 one shot of 1 point flies at a time; firing at spot 0 alone leaves five spots
// untouched each showing, and two strikes of 25..49 empty a bar of 50.
TEST_F(AimNightTest, WholeGameLostToTheCounterStrikes) {
    aim_night_rand = rand_below;
    growth_value(SKILL) = 0;
    player_record.hp = 101; // bar 50
    const s32 minutes = clock_minutes();
    play([](const AimNightState& s) { return s.spots[0].hp > 0 ? 0 : -1; });
    EXPECT_EQ(game_aim_night(), 0);

    const AimNightState& s = aim_night_state;
    EXPECT_EQ(s.result, 0);
    EXPECT_LE(s.bar, 0);
    EXPECT_EQ(s.strikes, 2);
    EXPECT_EQ(s.showings, 2);
    EXPECT_GT(s.hits, 0);
    EXPECT_GT(s.spots[0].hp, 0);
    EXPECT_EQ(phase_presents[AIM_NIGHT_STRIKE], 4);
    EXPECT_EQ(phase_presents[AIM_NIGHT_DRAIN], 50 - s.bar);
    expect_after_game(minutes);
    expect_drawn_in_archive();
    for (const s32 id : {7251, 7252, 25011}) EXPECT_EQ(drawn.count(id), 1u) << id;
}

} // namespace
