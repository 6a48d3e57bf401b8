// The light-ring betting game, played headless by real input: clicks are queued from the present
// hook by reading the game's own state, and the game's random draws come from a script.
#include "data/hub_block.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/frame.h"
#include "minigames/light_ring.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/mg_checks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050;
constexpr s32 START_X = 360, START_Y = 225;

std::deque<s32> script;
bool script_out_of_range = false;

s32 scripted(s32 n) {
    if (script.empty()) return rand_below(n);
    const s32 v = script.front();
    script.pop_front();
    if (v < 0 || v >= n) script_out_of_range = true;
    return v;
}

// The steps draw that takes the light from lamp `from` to lamp `to` (it moves draw + 101 lamps).
s32 steps_to(s32 from, s32 to) {
    return ((to - from - 101) % RING_LAMPS + RING_LAMPS) % RING_LAMPS;
}

struct Click {
    s32 x, y, button;
};

// Slot i's panel field centre.
Click on_slot(s32 i, s32 button = 1) {
    return {112 + 37 * i, 160, button};
}

// What the hook saw of the game.
struct Seen {
    bool message_chips_left = false; // message 1 while betting
    std::vector<s32> steps_run;      // lamps moved per spin
    std::vector<s32> lights;         // the light's lamp after each spin
    s32 end_clicks = 0;
    s32 result_waits = 0;
    s32 music_playing = -1; // while betting
    s32 music_kept = -1;    // PlayerRecord.music_id while betting
};

class LightRingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_put_tracks(b, {RING_MUSIC, MUSIC_BEFORE}, 1000);
        world_start(b);
        game_tables_init();
        game_new_world();
        player_record.music_id = MUSIC_BEFORE;
        mssw_play_music(MUSIC_BEFORE, 0);
        world_state.hour = 10;
        world_state.minute = 0;
        hub_block.calendar_turn = 3;
        player_record.stamina = 500;
        script.clear();
        script_out_of_range = false;
        light_ring_rand_seam = scripted;
        dialog_transcript_mode();
        dialog_record_draws(true);
    }
    void TearDown() override {
        harness_on_present(nullptr);
        light_ring_rand_seam = rand_below;
        dialog_driver_stop();
        world_stop();
    }

    // Drives the game: betting clicks in order (the quit button once they run out), `spin_quit`
    // clicks the quit button while the light runs in that spin (1-based), a left click on each
    // result, and at the end a left click (which must not end it) before the right click.
    void play(std::array<s32, 8> args, std::vector<Click> bets, s32 spin_quit = 0) {
        std::deque<Click> queue(bets.begin(), bets.end());
        s32 spins = 0;
        bool held = false;
        s32 wait_frames = 0;
        harness_on_present([&](const u16*, u64) {
            const LightRingState& st = light_ring_state;
            if (st.phase == RingPhase::Betting && st.message == 1) seen.message_chips_left = true;
            if (st.phase == RingPhase::Betting) {
                seen.music_playing = mssw_music_id;
                seen.music_kept = player_record.music_id;
            }
            if (harness_pending_input() != 0) return;
            if (held && st.phase != RingPhase::Spinning) {
                harness_button_up(1);
                held = false;
                return;
            }
            switch (st.phase) {
            case RingPhase::Betting:
                if (queue.empty()) {
                    harness_click(620, 440);
                } else {
                    const Click c = queue.front();
                    queue.pop_front();
                    harness_click(c.x, c.y, c.button);
                }
                break;
            case RingPhase::Spinning:
                // Held down through the rest of the run, so that the press is still pending
                // when the result is shown.
                if (spin_quit == spins + 1 && st.steps_run == 5) {
                    harness_move(620, 440);
                    harness_button_down(1);
                    held = true;
                }
                break;
            case RingPhase::ResultWait:
                // Lets the marker run past frame 20, where the glow's second picture shows.
                if (++wait_frames < 25) break;
                wait_frames = 0;
                harness_click(300, 400);
                ++seen.result_waits;
                break;
            case RingPhase::EndWait:
                harness_click(300, 400, seen.end_clicks == 0 ? 1 : 2);
                ++seen.end_clicks;
                break;
            default:
                break;
            }
            if (st.phase == RingPhase::ResultWait || st.phase == RingPhase::EndWait) {
                if (s32(seen.lights.size()) < RING_SPINS - st.spins_left) {
                    seen.lights.push_back(st.light);
                    seen.steps_run.push_back(st.given_up ? -1 : st.steps_run);
                    ++spins;
                }
            }
        });
        game_light_ring(args[0], args[1], args[2], args[3], args[4], args[5], args[6], args[7]);
        harness_on_present(nullptr);
    }

    // Transcript lines that start with `prefix`.
    static s32 lines_with(const std::string& prefix) {
        s32 n = 0;
        for (const TranscriptEntry& e : dialog_transcript())
            if (dialog_describe(e).rfind(prefix, 0) == 0) ++n;
        return n;
    }
    static s32 item_count(s32 item) {
        s32 n = 0;
        while (inv_has_count(item, n + 1)) ++n;
        return n;
    }
    void expect_settled(s32 stamina = 420) const {
        EXPECT_EQ(light_ring_state.phase, RingPhase::Done);
        EXPECT_EQ(seen.music_playing, RING_MUSIC);
        EXPECT_EQ(seen.music_kept, MUSIC_BEFORE) << "the game's track is not stored";
        EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
        EXPECT_EQ(mssw_music_id, MUSIC_BEFORE);
        EXPECT_EQ(player_record.stamina, stamina);
        EXPECT_EQ(world_state.hour * 60 + world_state.minute, 10 * 60 + 15);
        EXPECT_EQ(seen.end_clicks, 2) << "the end wait ends on the right button alone";
        EXPECT_FALSE(script_out_of_range);
        EXPECT_TRUE(script.empty()) << "draws left unused";
    }

    HarnessTempDir dir;
    Seen seen;
};

constexpr std::array<s32, 8> ALL_FIXED = {7, 6, 5, 3, 2, 1, 0, 8}; // slots 7..0 = 7,6,5,3,2,1,0,8

TEST_F(LightRingTest, ChipsAndPayoutFollowTheSkill) {
    struct Case {
        s32 skill, chips, factor;
    };
    for (const Case c : {Case{0, 3, 1},
                         {9, 3, 1},
                         {10, 4, 1},
                         {29, 4, 1},
                         {30, 5, 1},
                         {49, 5, 1},
                         {50, 6, 2},
                         {69, 6, 2},
                         {70, 7, 2},
                         {79, 7, 2},
                         {80, 7, 3},
                         {89, 7, 3},
                         {90, 8, 3},
                         {99, 8, 3},
                         {100, 9, 4}}) {
        EXPECT_EQ(light_ring_chips_for(c.skill), c.chips) << c.skill;
        EXPECT_EQ(light_ring_factor_for(c.skill), c.factor) << c.skill;
    }
}

// Each case quits at the first bet, so only the slot fill, the light's start and the lost
// spin's growth draw come from the script.
TEST_F(LightRingTest, SlotsFillInReverseArgumentOrder) {
    struct Case {
        const char* name;
        std::array<s32, 8> args;
        std::vector<s32> fill_draws;
        std::array<s32, 8> sym;
    };
    const std::vector<Case> cases = {
        {"a1 fixed",
         {19, -1, -1, -1, -1, -1, -1, -1},
         {0, 1, 2, 3, 5, 6, 7},
         {7, 6, 5, 3, 2, 1, 0, 19}},
        {"a1 a2 a5 fixed",
         {11, 12, -1, -1, 21, -1, -1, -1},
         {0, 1, 2, 3, 5},
         {5, 3, 2, 21, 1, 0, 12, 11}},
        {"chance skips 4, 26..34 and taken ids",
         {-1, -1, -1, -1, -1, -1, -1, -1},
         {4, 26, 34, 35, 35, 36, 0, 0, 25, 1, 2, 3, 5},
         {5, 3, 2, 1, 25, 0, 36, 35}},
        {"chance may repeat a fixed id filled later",
         {9, -1, -1, -1, -1, -1, -1, 10},
         {10, 9, 10, 11, 12, 13, 14, 15},
         {10, 15, 14, 13, 12, 11, 10, 9}},
        {"fixed ids outside the pictures are drawn instead",
         {4, 30, 60, -2, -1, -1, -1, -1},
         {0, 1, 2, 3, 5, 6},
         {6, 5, 3, 2, 1, 0, 30, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script.assign(c.fill_draws.begin(), c.fill_draws.end());
        script.push_back(0); // the light's start
        script.push_back(2); // the given-up spin's growth: 5 + 2
        seen = {};
        play(c.args, {});
        for (int i = 0; i < RING_SLOTS; ++i) EXPECT_EQ(light_ring_state.sym[i], c.sym[i]) << i;
        EXPECT_TRUE(script.empty());
        EXPECT_FALSE(script_out_of_range);
        // Restore what one game spends so every case starts alike.
        player_record.stamina = 500;
        world_state.hour = 10;
        world_state.minute = 0;
    }
}

TEST_F(LightRingTest, QuitWhileBettingLosesThatSpinAndEnds) {
    growth_value(RING_SKILL) = 0;
    growth_pool(RING_SKILL) = 0;
    player_record.stamina = 50; // the game's 80 takes it to 0, not below
    script = {0, 4};            // light at lamp 0; growth 5 + 4
    play(ALL_FIXED, {on_slot(3), on_slot(3)});
    const LightRingState& st = light_ring_state;
    EXPECT_TRUE(st.given_up);
    EXPECT_EQ(st.light, 0) << "the light did not run";
    EXPECT_EQ(st.spins_left, RING_SPINS - 1);
    EXPECT_EQ(st.message, 3);
    EXPECT_EQ(st.chips[3], 2);
    EXPECT_EQ(st.hand, 1);
    EXPECT_EQ(seen.result_waits, 0);
    EXPECT_EQ(growth_pool(RING_SKILL), 9);
    for (s32 p = 0; p < RING_PRIZE_LIMIT; ++p) EXPECT_EQ(item_count(RING_PRIZE_ITEM + p), 0);
    expect_settled(0);
}

// A whole game at full skill (nine chips, payout x4): a start press with chips in hand, a chip
// taken back by the right button, two wins, then losses.
TEST_F(LightRingTest, WholeGameByInput) {
    growth_value(RING_SKILL) = 100;
    growth_pool(RING_SKILL) = 0;
    std::vector<Click> bets = {{START_X, START_Y, 1}};
    for (int i = 0; i < 5; ++i) bets.push_back(on_slot(6));
    for (int i = 0; i < 4; ++i) bets.push_back(on_slot(2));
    bets.push_back(on_slot(2, 2));
    bets.push_back(on_slot(5, 2)); // nothing on slot 5: no chip comes back
    bets.push_back(on_slot(2));
    for (int i = 0; i < RING_SPINS; ++i) bets.push_back({START_X, START_Y, 1});

    // Spins: lamp 1 (slot 6, win), lamp 7 (slot 2, win), lamp 4 (slot 0, loss), then five
    // losses on lamp 14 (slot 1), which the light reaches by a full turn of 101 + 19 lamps.
    const std::vector<s32> lamps = {1, 7, 4, 14, 14, 14, 14, 14};
    script = {0}; // the light starts at lamp 0
    s32 light = 0;
    for (const s32 to : lamps) {
        script.push_back(steps_to(light, to));
        script.push_back(1); // r
        if (ring_lamps[to].slot != 6 && ring_lamps[to].slot != 2) script.push_back(3);
        light = to;
    }
    play(ALL_FIXED, bets);

    const LightRingState& st = light_ring_state;
    EXPECT_TRUE(seen.message_chips_left);
    EXPECT_EQ(st.chips[6], 5);
    EXPECT_EQ(st.chips[2], 4);
    EXPECT_EQ(st.hand, 0);
    EXPECT_EQ(st.spins_left, 0);
    EXPECT_FALSE(st.given_up);
    EXPECT_FALSE(st.bonus);
    EXPECT_EQ(seen.lights, lamps);
    ASSERT_EQ(seen.steps_run.size(), lamps.size());
    light = 0;
    for (size_t i = 0; i < lamps.size(); ++i) {
        EXPECT_EQ(seen.steps_run[i], steps_to(light, lamps[i]) + 101) << "spin " << i;
        light = lamps[i];
    }
    EXPECT_EQ(st.wins[6], 20);
    EXPECT_EQ(st.wins[2], 16);
    EXPECT_EQ(item_count(RING_PRIZE_ITEM + st.sym[6]), 20);
    EXPECT_EQ(item_count(RING_PRIZE_ITEM + st.sym[2]), 16);
    EXPECT_EQ(item_count(RING_PRIZE_ITEM + st.sym[1]), 0);
    // (8 - 6) x 15 + (8 - 2) x 15 + six losses of 5 + 3.
    EXPECT_EQ(growth_pool(RING_SKILL), 30 + 90 + 6 * 8);
    EXPECT_EQ(seen.result_waits, RING_SPINS - 1);
    // One step sound per lamp moved and a win or loss sound per spin, each played once, the
    // pressed start button per spin, and the won lamp's frame glowing (lamp 1 after the first
    // spin, lamp 7 after the second).
    s32 lamps_moved = 0;
    for (const s32 n : seen.steps_run) lamps_moved += n;
    EXPECT_EQ(transcript_effects(510), played_once(510, lamps_moved));
    EXPECT_EQ(transcript_effects(593), played_once(593, 2));
    EXPECT_EQ(transcript_effects(592), played_once(592, 6));
    EXPECT_EQ(lines_with("draw 25293 327 206"), RING_SPINS);
    EXPECT_GT(lines_with("draw 25294 80 41"), 0);
    EXPECT_GT(lines_with("draw 25295 80 41"), 0);
    EXPECT_GT(lines_with("draw 25295 398 41"), 0);
    EXPECT_EQ(lines_with("draw 25294 27 41"), 0) << "no glow on a lost lamp";
    expect_settled();
}

TEST_F(LightRingTest, WinningOnEverySlotPaysTheBonusOnce) {
    growth_value(RING_SKILL) = 100;
    growth_pool(RING_SKILL) = 0;
    std::vector<Click> bets;
    for (int i = 0; i < RING_SLOTS; ++i) bets.push_back(on_slot(i));
    bets.push_back(on_slot(0));
    for (int i = 0; i < RING_SPINS; ++i) bets.push_back({START_X, START_Y, 1});
    // One lamp of each slot, slot 0 twice; the bonus comes with the last new slot (spin 8) and
    // no second time.
    const std::vector<s32> lamps = {4, 14, 7, 0, 2, 6, 1, 3};
    script = {0};
    s32 light = 0;
    for (const s32 to : lamps) {
        script.push_back(steps_to(light, to));
        script.push_back(0);
        light = to;
    }
    play(ALL_FIXED, bets);
    const LightRingState& st = light_ring_state;
    EXPECT_TRUE(st.bonus);
    EXPECT_EQ(st.message, 4);
    EXPECT_EQ(st.wins[0], 8);
    for (int s = 1; s < RING_SLOTS; ++s) EXPECT_EQ(st.wins[s], 4) << s;
    EXPECT_EQ(growth_pool(RING_SKILL), 15 * 36 + RING_BONUS);
    expect_settled();
}

// A quit click made while the light runs settles that spin (a win here) and then ends the game.
TEST_F(LightRingTest, QuitDuringTheSpinEndsAfterItsResult) {
    growth_value(RING_SKILL) = 0;
    growth_pool(RING_SKILL) = 0;
    script = {0, steps_to(0, 4), 0}; // the light stops on lamp 4 (slot 0)
    play(ALL_FIXED, {on_slot(0), on_slot(0), on_slot(0), {START_X, START_Y, 1}}, 1);
    const LightRingState& st = light_ring_state;
    EXPECT_FALSE(st.given_up);
    EXPECT_EQ(st.spins_left, RING_SPINS - 1);
    EXPECT_EQ(st.wins[0], 3);
    EXPECT_EQ(seen.result_waits, 0);
    EXPECT_EQ(item_count(RING_PRIZE_ITEM + st.sym[0]), 3);
    // 120 experience buys ten levels at 10 and one at 20, through the growth after the spin.
    EXPECT_EQ(growth_value(RING_SKILL), 11);
    EXPECT_EQ(growth_pool(RING_SKILL), 0);
    expect_settled();
}

} // namespace
