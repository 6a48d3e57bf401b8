// The hand game played headless by real clicks: a player at each present reads `hands_state`
// and clicks a menu row (or lets the time bar run, or clicks beside the rows), and answers every
// result wait with a click. The opponent's hands come from a scripted cycle. The tests check what
// the match returns, the result texts, attribute 25's pool and the time bar.
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/player.h"
#include "minigames/frame.h"
#include "minigames/hands.h"
#include "platform/harness.h"
#include "tests/hub_fixture.h"
#include "tools/placeholder_minigames.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <vector>

namespace {

constexpr s32 ATTR = 25;

// The opponent cycles 2, 0, 1, 2, ... (never the hand it showed before); the taunt draw after a
// win from behind comes from `taunts`.
s32 cycle = 1;
bool offer_repeat = false; // offer the hand shown before first, then the next one
bool repeated = false;
s32 hand_draws = 0;
std::deque<s32> taunts;
s32 scripted_draw(s32 n) {
    if (n == 3) {
        ++hand_draws;
        if (offer_repeat && !repeated) {
            repeated = true;
            return hands_state.previous;
        }
        repeated = false;
        return cycle = (cycle + 1) % 3;
    }
    if (taunts.empty()) {
        ADD_FAILURE() << "a taunt was drawn beyond the script";
        return 0;
    }
    const s32 v = taunts.front();
    taunts.pop_front();
    return v;
}

struct Print {
    s32 text, x, y;
};
std::vector<Print> prints;
s32 record(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_PRINT) prints.push_back({e.text[0], e.x, e.y});
    return TRANSCRIPT_RUN;
}

// Experience paid into attribute 25 since the level and pool were zeroed (levels 0..10 cost 15).
s32 paid() {
    return growth_value(ATTR) * GROWTH_STEPS_MAIN[0] + growth_pool(ATTR);
}

enum Move { WIN, DRAW, LOSE, TIME_OUT, NO_ROW, NOT_A_CLICK };

bool decides(Move m) {
    return m == WIN || m == DRAW || m == LOSE || m == TIME_OUT;
}

struct Decided {
    s32 pick, outcome, wins, losses, top, bottom, paid;
    u64 at_ms;
};

class HandsTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        cycle = 1;
        offer_repeat = repeated = false;
        hand_draws = 0;
        taunts.clear();
        prints.clear();
        hands_draw_seam = scripted_draw;
        transcript_observer = record;
        transcript_draws = true;
        growth_value(ATTR) = 0;
        growth_pool(ATTR) = 0;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        hands_draw_seam = rand_below;
        transcript_draws = false;
        transcript_observer = nullptr;
        HubTest::TearDown();
    }
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_presents = 20000; // a match that never ends fails instead of hanging
        c.present_step_ms = 100;   // the bar fills in about 300 frames
        return c;
    }
    void add_content(ArcBuilder& b) const override { image_put_placeholder_hands(b); }

    // Plays one match by the plan (then wins every further hand) and returns what it returned.
    // Row clicks are made only when the opponent's hand holds for the next frame, so the judged
    // hand is the one the player sees; every result wait is answered with a click.
    s32 play(const std::vector<Move>& plan) {
        size_t next = 0, issued = size_t(-1);
        bool in_wait = false;
        decided.clear();
        harness_on_present([&](const u16*, u64) {
            const HandsState& s = hands_state;
            const Move m = next < plan.size() ? plan[next] : WIN;
            if (s.waiting && !in_wait) {
                in_wait = true;
                decided.push_back({s.pick, s.outcome, s.wins, s.losses, s.top, s.bottom, paid(),
                                   harness_elapsed_ms()});
                if (decides(m)) ++next;
            }
            if (harness_pending_input() != 0) return;
            if (s.waiting) {
                harness_click(20, 20);
                return;
            }
            in_wait = false;
            if (s.done || s.hold != 1 || m == TIME_OUT || issued == next) return;
            const s32 win_row = (s.hand + 1) % 3 + 1;
            const s32 row = m == DRAW ? s.hand + 1 : m == LOSE ? (s.hand + 2) % 3 + 1 : win_row;
            switch (m) {
            case NO_ROW: // late in the bar, beside the rows
                if (s.t < 50) return;
                harness_click(300, 300);
                stray_click_ms = harness_elapsed_ms();
                ++next;
                return;
            case NOT_A_CLICK: // right alone, then both, on the winning row; never left alone
                harness_move(MENU_X + 30, MENU_Y[win_row - 1] + 12);
                harness_button_down(2);
                harness_button_down(1);
                harness_button_up(1);
                harness_button_up(2);
                ++next;
                return;
            default:
                issued = next;
                harness_click(MENU_X + 30, MENU_Y[row - 1] + 12);
            }
        });
        const s32 result = game_hands();
        harness_on_present(nullptr);
        EXPECT_TRUE(taunts.empty()) << taunts.size() << " scripted taunts left";
        return result;
    }

    void expect_hands(const std::vector<std::array<s32, 5>>& rows) {
        ASSERT_EQ(decided.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(decided[i].pick != 0, rows[i][0] != 0) << "hand " << i;
            EXPECT_EQ(decided[i].outcome, rows[i][1]) << "hand " << i;
            EXPECT_EQ(decided[i].bottom, rows[i][2]) << "hand " << i;
            EXPECT_EQ(decided[i].top, rows[i][3]) << "hand " << i;
            EXPECT_EQ(decided[i].paid, rows[i][4]) << "hand " << i;
        }
    }

    std::vector<Decided> decided;
    u64 stray_click_ms = 0;
};

TEST_F(HandsTest, OpponentChangesEverySecondFrameNeverToTheSameHand) {
    offer_repeat = true;
    struct Seen {
        s32 hand, hold;
    };
    std::vector<Seen> seen;
    const u64 start = harness_presents();
    harness_on_present([&](const u16*, u64 n) {
        if (n - start <= 20)
            seen.push_back({hands_state.hand, hands_state.hold});
        else
            throw HarnessBudgetExceeded("enough frames"); // ends the match from outside
    });
    EXPECT_THROW(game_hands(), HarnessBudgetExceeded);
    harness_on_present(nullptr);
    ASSERT_EQ(seen.size(), 20u);
    s32 changes = 0;
    for (size_t i = 1; i < seen.size(); ++i) {
        const bool changed = seen[i].hand != seen[i - 1].hand;
        EXPECT_EQ(changed, seen[i].hold == 1) << "frame " << i;
        changes += changed;
    }
    EXPECT_EQ(changes, 10);
    EXPECT_EQ(hands_state.hands, 0);
    // Each change was offered the hand before it first and drew again.
    EXPECT_GE(hand_draws, 2 * changes);
}

// Columns: a row was picked, outcome, bottom line, top line, experience paid so far.
constexpr s32 ROW = 1, NONE = 0;

TEST_F(HandsTest, SweepPaysTwentyPerHandAndAHundredForTheMatch) {
    player_record.music_id = 10050;
    const s32 music_before = mssw_music_id;
    world_state.hour = 8;
    world_state.minute = 0;
    EXPECT_EQ(play({WIN, WIN, WIN}), 3);
    EXPECT_EQ(mssw_music_id, music_before);
    EXPECT_EQ(player_record.music_id, 10050);
    EXPECT_EQ(world_state.hour, 8);
    EXPECT_EQ(world_state.minute, 0);
    expect_hands({{ROW, HANDS_WON, 616, 617, 20},
                  {ROW, HANDS_WON, 618, 619, 40},
                  {ROW, HANDS_WON, 627, 620, 60}});
    EXPECT_EQ(paid(), 160);
    EXPECT_GT(growth_value(ATTR), 0);
    // The last result lines were printed where the frame puts them, the played hand beside.
    bool top = false, bottom = false;
    for (const Print& p : prints) {
        top |= p.text == 620 && p.x == TOP_LINE_X && p.y == TOP_LINE_Y;
        bottom |= p.text == 627 && p.x == BOTTOM_LINE_X && p.y == BOTTOM_LINE_Y;
    }
    EXPECT_TRUE(top && bottom);
}

TEST_F(HandsTest, ThreeToOnePaysOnlyTheHands) {
    taunts = {1};
    EXPECT_EQ(play({LOSE, DRAW, WIN, WIN, WIN}), 2);
    expect_hands({{ROW, HANDS_LOST, 610, 609, 0},
                  {ROW, HANDS_DRAWN, 612, 612, 0},
                  {ROW, HANDS_WON, 625, 626, 20}, // behind 0 to 1, second taunt
                  {ROW, HANDS_WON, 616, 623, 40},
                  {ROW, HANDS_WON, 627, 620, 60}});
    EXPECT_EQ(paid(), 60);
}

TEST_F(HandsTest, TwoAllDecidedByTheBarIsTheOpponentsMatch) {
    taunts = {0, 1};
    EXPECT_EQ(play({LOSE, WIN, LOSE, WIN, TIME_OUT}), -1);
    expect_hands({{ROW, HANDS_LOST, 610, 609, 0},
                  {ROW, HANDS_WON, 645, 646, 20}, // behind 0 to 1, first taunt
                  {ROW, HANDS_LOST, 605, 604, 20},
                  {ROW, HANDS_WON, 625, 626, 40}, // behind 1 to 2, second taunt
                  {NONE, HANDS_LOST, 633, 632, 40}});
    EXPECT_EQ(hands_state.timeouts, 1);
}

// A right click on the winning row leaves its position in click_x/click_y; the time-out after
// it must not play that row. Buttons 2 and 3 are no clicks for the game.
TEST_F(HandsTest, BarRunningFullLosesWithoutPlayingAnEarlierClick) {
    EXPECT_EQ(play({NOT_A_CLICK, TIME_OUT, TIME_OUT, TIME_OUT}), -3);
    expect_hands({{NONE, HANDS_LOST, 611, 603, 0},
                  {NONE, HANDS_LOST, 611, 603, 0},
                  {NONE, HANDS_LOST, 629, 628, 0}});
    EXPECT_EQ(hands_state.timeouts, 3);
    EXPECT_EQ(paid(), 0);
}

TEST_F(HandsTest, StrayClickRefillsTheBarAndDecidesNothing) {
    taunts = {0};
    EXPECT_EQ(play({NO_ROW, TIME_OUT, WIN, WIN, WIN}), 2);
    ASSERT_GE(decided.size(), 1u);
    EXPECT_EQ(decided[0].pick, 0);
    EXPECT_EQ(decided[0].wins + decided[0].losses, 1);
    // The first hand ended by the bar a full bar's time after the stray click, not before.
    EXPECT_GE(decided[0].at_ms, stray_click_ms + u64(HANDS_BAR_STEP_MS) * (HANDS_BAR_FULL + 1));
    EXPECT_EQ(decided[0].top, 603);
}

} // namespace
