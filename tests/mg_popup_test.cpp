// The pop-up target game, played headless: figure pictures by frame, which kinds come when, the
// hit box, whole games by real clicks (figures clicked from the game's state), scripted figures
// for exact rewards, penalties and prizes, and the end screen's pictures.
#include "minigames/popup.h"

#include "data/hub_block.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/growth.h"
#include "game/item_use.h"
#include "game/player.h"
#include "minigames/frame.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/mg_checks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050;

// Scripted answers of the game's random draws; once they are spent every draw answers 0 (a
// kind 0 figure in hole 0) and is counted, so a test knows its script has run out.
std::deque<s32> rand_script;
s32 filler_draws = 0;
s32 scripted_rand(s32 n) {
    if (rand_script.empty()) {
        ++filler_draws;
        return 0;
    }
    const s32 v = rand_script.front();
    rand_script.pop_front();
    return std::min(v, n - 1);
}

class PopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_put_tracks(b, {10010, MUSIC_BEFORE}, 1000);
        world_start(b, harness_settings());
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
        dialog_record_draws(true);
        player_record.music_id = MUSIC_BEFORE;
        mssw_play_music(MUSIC_BEFORE, 0);
        world_state.hour = 8;
        world_state.minute = 0;
        player_record.stamina = 500;
        rand_script.clear();
        filler_draws = 0;
        popup_rand = scripted_rand;
        popup_state = PopupState{};
    }
    void TearDown() override {
        harness_on_present(nullptr);
        popup_rand = rand_below;
        dialog_driver_stop();
        world_stop();
    }
    virtual HarnessConfig harness_settings() const { return {}; }

    // The player at each present: clicks a shown figure that `want` accepts while the next frame
    // can still take it, clicks the quit button once `quit` says so, and ends the end screen with
    // the right button.
    void play(std::function<bool(const PopupFigure&)> want, std::function<bool()> quit) {
        harness_on_present([this, want, quit](const u16*, u64) {
            const PopupState& s = popup_state;
            cursor_in_play = world_state.cursor_id;
            if (s.ending) {
                if (!right_pressed) harness_click(320, 240, 2);
                right_pressed = true;
                return;
            }
            const PopupFigure& f = s.figure;
            if (f.t < 3) clicked = false;
            if (!quit_clicked && quit()) {
                harness_click(QUIT_BOX.x0 + 5, QUIT_BOX.y0 + 5);
                quit_clicked = true;
                return;
            }
            if (clicked || f.kind < 0 || f.hit || f.t + 1 < 4 || f.t + 1 > f.life - 2) return;
            if (!want(f)) return;
            harness_click(POPUP_BODY_X[f.hole] + 60, POPUP_BODY_Y[f.hole] + 50);
            clicked = true;
        });
    }
    static bool script_spent() { return filler_draws > 0; }

    // Growth values and pools after paying these kinds in order, the record left untouched.
    static PlayerRecord paid(std::initializer_list<s32> kinds) {
        std::vector<std::pair<s32, s32>> pays;
        for (const s32 k : kinds) {
            const PopupKind& r = POPUP_KINDS_TABLE[k];
            pays.insert(pays.end(), {{16, r.skill16}, {25, r.attr25}, {28, r.attr28}});
        }
        return grown_by(pays);
    }
    static void expect_growth(const PlayerRecord& want) { ::expect_growth(want, {16, 25, 28}); }

    bool clicked = false, quit_clicked = false, right_pressed = false;
    s32 cursor_in_play = -1;
    HarnessTempDir dir;
};

std::vector<s32> drawn_ids() {
    std::vector<s32> ids;
    for (const TranscriptEntry& e : dialog_draws()) ids.push_back(e.id);
    return ids;
}

TEST_F(PopupTest, FigureFramePicturesFollowStep) {
    struct Case {
        s32 t, face, life, effect;
        std::vector<s32> ids;
    };
    const Case cases[] =
        {
            {0, 7, 14, 10, {25502}},
            {1, 7, 14, 10, {25502}},
            {2, 7, 14, 10, {25503}},
            {3, 7, 14, 10, {25503}},
            {4, 7, 14, 10, {25509}},
            {13, 2, 14, 0, {25504}},
            {26, 7, 48, 10, {25509}},        // the hit frame: no burst yet
            {27, 7, 48, 10, {25509, 25513}}, // shared burst 0..5
            {30, 7, 48, 10, {25509, 25514}},
            {31, 7, 48, 10, {25519, 25515}}, // after 30 the body turns to 17
            {38, 8, 48, 35, {25519, 25518}},
            {39, 8, 48, 35, {25519, 25556}}, // then the kind's own: effect + 8 ..
            {44, 3, 48, 30, {25519, 25553}},
            {48, 8, 48, 35, {25519, 25560}}, // .. effect + 12
            {30, 7, 28, 10, {25509}},        // past its life no burst
        };
    for (const Case& c : cases) {
        dialog_transcript_clear();
        game_popup_frame(c.t, c.face, c.life, 100, 50, c.effect);
        EXPECT_EQ(drawn_ids(), c.ids) << "t " << c.t;
        for (const TranscriptEntry& e : dialog_draws()) EXPECT_TRUE(e.x == 100 && e.y == 50);
    }
}

TEST_F(PopupTest, KindOfNumberFollowsSkillConstitutionAndProgress) {
    struct Case {
        s32 skill, constitution, wrong, time_left, score, number, kind;
    };
    const Case cases[] = {
        {0, 50, 0, 100, 0, 0, 0},
        {0, 50, 0, 100, 0, 4, 0},
        {0, 50, 0, 100, 0, 5, 1},
        {0, 50, 0, 100, 0, 14, 1},
        {0, 50, 0, 100, 0, 15, 2},
        {0, 50, 0, 100, 0, 49, 2},
        {19, 50, 0, 100, 0, 50, -1},
        {20, 50, 0, 100, 0, 59, 3},
        {49, 50, 0, 100, 0, 66, -1},
        {50, 50, 0, 100, 0, 67, 4},
        {59, 50, 0, 100, 0, 68, -1},
        {60, 50, 0, 100, 0, 69, 5},
        {69, 50, 0, 100, 0, 70, -1},
        {70, 50, 0, 100, 0, 71, 6},
        {79, 50, 0, 100, 0, 72, -1},
        {80, 50, 0, 100, 0, 73, 7},
        {100, 50, 0, 100, 0, 74, -1},
        {100, 50, 0, 100, 0, 99, -1},
        // kind 8: 60 always, 61..65 with constitution above 70; only late, clean and scoring
        {0, 50, 0, 9, 30, 60, 8},
        {0, 50, 0, 9, 30, 61, -1},
        {0, 71, 0, 9, 30, 65, 8},
        {0, 70, 0, 9, 30, 65, -1},
        {0, 50, 0, 10, 30, 60, -1},
        {0, 50, 0, 9, 29, 60, -1},
        {0, 50, 1, 9, 30, 60, -1},
        {0, 50, 0, -1, 99, 60, 8},
    };
    for (const Case& c : cases) {
        growth_value(16) = c.skill;
        player_record.constitution = c.constitution;
        popup_state.wrong_hits = c.wrong;
        popup_state.time_left = c.time_left;
        popup_state.score = c.score;
        EXPECT_EQ(popup_kind_of(c.number), c.kind)
            << "skill " << c.skill << " number " << c.number << " time " << c.time_left;
    }
}

TEST_F(PopupTest, HitBoxAndHittableFrames) {
    struct Case {
        s32 t, life, dx, dy;
        bool hit, taken;
    };
    // Body point of hole 1: (324, 128); box x 349..433, y 118..252.
    const Case cases[] = {
        {4, 14, 25, -10, false, true},  {12, 14, 109, 124, false, true},
        {3, 14, 60, 50, false, false},  {13, 14, 60, 50, false, false},
        {8, 14, 24, 50, false, false},  {8, 14, 110, 50, false, false},
        {8, 14, 60, -11, false, false}, {8, 14, 60, 125, false, false},
        {30, 48, 60, 50, true, false},
    };
    for (const Case& c : cases) {
        PopupFigure f;
        f.kind = 2;
        f.hole = 1;
        f.t = c.t;
        f.life = c.life;
        f.hit = c.hit;
        EXPECT_EQ(popup_figure_hit_by(f, 324 + c.dx, 128 + c.dy), c.taken)
            << c.t << " " << c.dx << "," << c.dy;
    }
    PopupFigure none;
    EXPECT_FALSE(popup_figure_hit_by(none, 324 + 60, 128 + 50));
}

// Every figure but kind 1 clicked by real input over a whole game of 100 seconds; presents step
// the clock by 80 ms, so a game is about 1250 frames.
class PopupWholeGameTest : public PopupTest {
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.present_step_ms = 80;
        return c;
    }
};

TEST_F(PopupWholeGameTest, WholeGameByRealClicks) {
    popup_rand = rand_below;
    growth_value(16) = 40;
    const s32 stamina = player_record.stamina;
    const s32 minutes = clock_minutes();
    play([](const PopupFigure& f) { return f.kind != 1; }, [] { return false; });
    game_popup_targets(0);

    const PopupState& s = popup_state;
    EXPECT_LT(s.time_left, 0);
    EXPECT_GE(harness_elapsed_ms(), 100000u);
    EXPECT_EQ(s.penalty, 0); // every kind 0 was clicked in time
    EXPECT_EQ(s.wrong_hits, 0);
    EXPECT_GT(s.hits[2], 0);
    EXPECT_GT(s.hits[3], 0);
    s32 score = 0;
    for (s32 k = 2; k < POPUP_KINDS; ++k) score += s.hits[k] * POPUP_KINDS_TABLE[k].score;
    EXPECT_EQ(s.score, score);
    // Each paid hit sounds once, besides the two bursts of every kind 0 hit.
    const std::vector<Effect> bursts = transcript_effects(520);
    s32 paid = 0;
    for (s32 k = 2; k < POPUP_KINDS; ++k) paid += s.hits[k];
    EXPECT_GE(s32(bursts.size()), paid);
    EXPECT_EQ(bursts, played_once(520, s32(bursts.size())));
    EXPECT_EQ(inv_count(1570), s.hits[2]);
    EXPECT_EQ(inv_count(1571), s.hits[3]);
    EXPECT_EQ(player_record.stamina, stamina - 120);
    EXPECT_EQ(clock_minutes(), minutes + 15);
    EXPECT_EQ(cursor_in_play, 7);
    EXPECT_EQ(s32(world_state.cursor_id), 0);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    const std::vector<s32> music = transcript_ids(TRANSCRIPT_MUSIC);
    ASSERT_GE(music.size(), 2u);
    EXPECT_EQ(music[music.size() - 2], 10010);
    EXPECT_EQ(music.back(), MUSIC_BEFORE);
}

// Scripted figures (hole, number pairs): three kind 7 hits bring the score to 33, eighteen missed
// kind 0 figures take 90 seconds, then a kind 8 comes and is hit; the prize depends on the mode.
class PopupPrizeTest : public PopupTest, public ::testing::WithParamInterface<s32> {};

TEST_P(PopupPrizeTest, KindEightPrizeByMode) {
    const s32 mode = GetParam();
    growth_value(16) = 80;
    player_record.constitution = 50;
    for (s32 i = 0; i < 3; ++i) rand_script.insert(rand_script.end(), {2, 72});
    for (s32 i = 0; i < 18; ++i) rand_script.insert(rand_script.end(), {4, 0});
    rand_script.insert(rand_script.end(),
                       {6, 61, 6, 74, 5, 60}); // 61 and 74 give nothing: drawn again
    const PlayerRecord want = paid({7, 7, 7, 8});
    const s32 money = player_record.money;
    s32 gifts = 0;
    for (const s32 item : GIFT_PRIZES) gifts += inv_count(item);
    play([](const PopupFigure& f) { return f.kind != 0; }, script_spent);
    game_popup_targets(mode);

    const PopupState& s = popup_state;
    EXPECT_EQ(s.hits[7], 3);
    EXPECT_EQ(s.hits[8], 1);
    EXPECT_EQ(s.penalty, 90);
    EXPECT_EQ(s.score, 3 * 11 + 13);
    EXPECT_EQ(s.mode, mode);
    expect_growth(want);
    EXPECT_EQ(inv_count(1573), 3);
    s32 gifts_after = 0;
    for (const s32 item : GIFT_PRIZES) gifts_after += inv_count(item);
    if (mode == 1) {
        EXPECT_EQ(inv_count(2390), 1);
        EXPECT_EQ(gifts_after, gifts);
        EXPECT_EQ(player_record.money, money);
    } else {
        EXPECT_EQ(inv_count(2390), 0);
        // one random gift: a prize item or 1000..3400 money
        EXPECT_TRUE(gifts_after == gifts + 1 || player_record.money - money >= 1000);
    }
    // One per paid hit, each played once: a looping one would still be playing at the next hit,
    // which would then sound nothing.
    EXPECT_EQ(transcript_effects(520), played_once(520, 4));
}
INSTANTIATE_TEST_SUITE_P(Modes, PopupPrizeTest, ::testing::Values(0, 1));

// A missed kind 0 costs 5 seconds, a hit one pays nothing, a hit kind 1 costs 70 score and 14
// wrong hits and no growth.
TEST_F(PopupTest, KindZeroAndKindOneCostButNeverPay) {
    rand_script = {3, 0, 3, 0, 1, 5};
    bool first_kind0_seen = false;
    s32 kind0_figures = 0;
    const PlayerRecord want = player_record;
    play(
        [&](const PopupFigure& f) {
            if (f.kind != 0) return true;
            if (f.t == 3) ++kind0_figures;
            first_kind0_seen = true;
            return kind0_figures >= 2; // the first kind 0 is let go
        },
        script_spent);
    game_popup_targets(0);

    const PopupState& s = popup_state;
    EXPECT_TRUE(first_kind0_seen);
    EXPECT_EQ(s.penalty, 5);
    EXPECT_EQ(s.wrong_hits, 14);
    EXPECT_EQ(s.score, -70);
    for (s32 k = 0; k < POPUP_KINDS; ++k) EXPECT_EQ(s.hits[k], 0);
    expect_growth(want);
    // The bursts: the kind 0 hit's in its frames 33 and 34, the kind 1 hit's in 35 and 36.
    EXPECT_EQ(transcript_effects(520), played_once(520, 2));
    EXPECT_EQ(transcript_effects(521), played_once(521, 2));
}

// The quit button ends the game after its frame; the end screen's time-up sign is drawn over
// the backdrop, and the clock rule follows the calendar turn.
TEST_F(PopupTest, QuitEndsGameAndEndScreenShowsTimeUpSign) {
    struct Case {
        s32 turn, minutes;
    };
    for (const Case c : {Case{0, 15}, Case{234, 15}, Case{235, 60}}) {
        hub_block.calendar_turn = c.turn;
        world_state.hour = 8;
        world_state.minute = 0;
        clicked = quit_clicked = right_pressed = false;
        player_record.stamina = 100;
        const u64 presents = harness_presents();
        dialog_transcript_clear();
        play([](const PopupFigure&) { return false; }, [] { return true; });
        game_popup_targets(0);

        EXPECT_EQ(popup_state.time_left, -1);
        EXPECT_EQ(popup_state.frames, 2); // the frame shown and the one that took the click
        EXPECT_EQ(clock_minutes(), 8 * 60 + c.minutes) << c.turn;
        EXPECT_EQ(player_record.stamina, 0); // 120 taken, not below 0
        EXPECT_GT(harness_presents(), presents + 2);

        const std::vector<s32> ids = drawn_ids();
        const auto last_92 = std::find(ids.rbegin(), ids.rend(), 92);
        const auto last_backdrop = std::find(ids.rbegin(), ids.rend(), 25500);
        ASSERT_NE(last_92, ids.rend());
        ASSERT_NE(last_backdrop, ids.rend());
        EXPECT_LT(last_92, last_backdrop); // reversed: 92 drawn after the backdrop
        EXPECT_EQ(std::count(ids.begin(), ids.end(), 25010), 200); // a full bar in both frames
    }
}

} // namespace
