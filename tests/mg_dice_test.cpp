// The dice games played headless by real clicks: a player at each present reads `dice_state`
// and clicks the prompt and the bet menu, while the three dice come from scripted draws. The
// tests check the purse, the counters, attribute 26's pool and level, the clock, the music and
// sounds, the screens' texts and what each variant returns.
#include "data/hub_block.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/player.h"
#include "minigames/dice.h"
#include "minigames/frame.h"
#include "platform/harness.h"
#include "tests/hub_fixture.h"
#include "tests/mg_checks.h"
#include "tools/placeholder_minigames.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr s32 MUSIC_BEFORE = 10050;
constexpr s32 DICE_MUSIC = 10011;
constexpr s32 ATTR = 26;

// Bet menu clicks of the scripted player.
constexpr s32 BIG = 1, SMALL = 2, LEAVE = 3, NO_ROW = 0;

struct Print {
    s32 text, x, y;
};
std::vector<Print> prints;
std::vector<s32> music;
std::vector<Effect> sounds;
s32 record(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_PRINT) prints.push_back({e.text[0], e.x, e.y});
    if (e.kind == TRANSCRIPT_MUSIC) music.push_back(e.id);
    if (e.kind == TRANSCRIPT_SOUND) sounds.push_back({e.id, e.number});
    return TRANSCRIPT_RUN;
}

// The scripted draws of the dice and the ranges the game asked for.
std::deque<s32> draws;
std::vector<s32> draw_ranges;
s32 scripted_draw(s32 n) {
    draw_ranges.push_back(n);
    if (draws.empty()) {
        ADD_FAILURE() << "a die was drawn beyond the script";
        return 0;
    }
    const s32 v = draws.front();
    draws.pop_front();
    EXPECT_TRUE(v >= 0 && v < n) << "scripted draw " << v << " outside 0.." << n - 1;
    return v;
}

class DiceTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        prints.clear();
        music.clear();
        sounds.clear();
        draws.clear();
        draw_ranges.clear();
        transcript_observer = record;
        transcript_draws = true;
        dice_draw_seam = scripted_draw;
        player_record.music_id = MUSIC_BEFORE;
        growth_value(ATTR) = 0;
        growth_pool(ATTR) = 0;
        world_state.hour = 8;
        world_state.minute = 0;
        hub_block.calendar_turn = 0;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        dice_draw_seam = rand_below;
        transcript_draws = false;
        transcript_observer = nullptr;
        HubTest::TearDown();
    }
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_presents = 20000; // a game that never ends fails instead of hanging
        return c;
    }
    void add_content(ArcBuilder& b) const override {
        image_put_placeholder_dice(b);
        world_put_tracks(b, {DICE_MUSIC, MUSIC_BEFORE}, 500);
    }

    // One bet of the plan: the row to click and the three faces the dice show (draws of 0..5; a
    // loaded case scripts the raw draws itself).
    struct Bet {
        s32 pick;
        std::array<s32, 3> faces = {-1, -1, -1};
    };
    // Plays `game` by real clicks: every click wait is answered with a click beside the table,
    // every bet menu with the next bet's row (then the leave row once the plan is spent); the
    // dice of a bet are scripted as it is placed. No click is made while the dice roll.
    void play(const std::vector<Bet>& plan, const std::function<void()>& game) {
        size_t next = 0;
        waits = 0;
        harness_on_present([&](const u16*, u64) {
            if (harness_pending_input() != 0 || dice_state.rolling) return;
            if (dice_state.state != 1) {
                ++waits;
                harness_click(620, 20);
                return;
            }
            s32 pick = LEAVE;
            if (next < plan.size()) {
                const Bet& bet = plan[next++];
                pick = bet.pick;
                for (const s32 f : bet.faces)
                    if (f >= 0) draws.push_back(f);
            }
            if (pick == NO_ROW)
                harness_click(300, 300);
            else
                harness_click(MENU_X + 20, MENU_Y[pick - 1] + 12);
        });
        game();
        harness_on_present(nullptr);
        EXPECT_TRUE(draws.empty()) << draws.size() << " scripted draws left";
    }

    // Value and pool of attribute 26 after `wins` wins paying `pay` each, each followed by grow.
    static std::pair<s32, s32> growth_after(s32 wins, s32 pay) {
        const s32 value = growth_value(ATTR), pool = growth_pool(ATTR);
        for (s32 i = 0; i < wins; ++i) {
            growth_pool(ATTR) += pay;
            grow(ATTR);
        }
        const std::pair<s32, s32> after{growth_value(ATTR), growth_pool(ATTR)};
        growth_value(ATTR) = value;
        growth_pool(ATTR) = pool;
        return after;
    }
    static std::pair<s32, s32> growth_now() { return {growth_value(ATTR), growth_pool(ATTR)}; }

    static bool printed(s32 text, s32 x, s32 y) {
        for (const Print& p : prints)
            if (p.text == text && p.x == x && p.y == y) return true;
        return false;
    }
    static bool printed_any(s32 text) {
        for (const Print& p : prints)
            if (p.text == text) return true;
        return false;
    }

    s32 waits = 0;
};

const std::array<s32, 3> BIG_FACES = {5, 5, 5};   // 18 pips
const std::array<s32, 3> SMALL_FACES = {0, 0, 0}; // 3 pips

} // namespace

TEST(DiceRules, ElevenPipsIsBigTenIsSmall) {
    struct Case {
        s32 d1, d2, d3, result;
    };
    const Case cases[] = {
        {0, 0, 0, 1}, // 3 pips
        {3, 3, 1, 1}, // 10
        {5, 0, 2, 1}, // 10
        {3, 3, 2, 0}, // 11
        {4, 4, 0, 0}, // 11
        {5, 5, 5, 0}, // 18
    };
    for (const Case& c : cases)
        EXPECT_EQ(dice_result_of(c.d1, c.d2, c.d3), c.result) << c.d1 << c.d2 << c.d3;
}

// Wins and losses move the money by exactly the stake without the money cap, count into the
// two story flags up to 10000, pay 5 into attribute 26's pool with a grow each, play the win and
// loss sounds, and show the result lines; the clock moves once at the end and the caller's music
// comes back.
TEST_F(DiceTest, PlainGameSettlesEachBet) {
    player_record.money = 99990;
    player_record.story_flags[STORY_DICE_WINS] = 9999;
    player_record.story_flags[STORY_DICE_LOSSES] = 10000;
    const auto expected_growth = growth_after(3, 5);
    const s32 minutes = clock_minutes();

    // Lost on big, lost on small, three wins (the middle one at 11 pips).
    play({{BIG, SMALL_FACES},
          {SMALL, BIG_FACES},
          {BIG, BIG_FACES},
          {BIG, {5, 3, 0}},
          {BIG, BIG_FACES}},
         [] { game_dice(0, 50); });

    EXPECT_EQ(player_record.money, 99990 - 2 * 50 + 3 * 50); // 100040: past the adjusters' cap
    EXPECT_EQ(player_record.story_flags[STORY_DICE_WINS], 10000);
    EXPECT_EQ(player_record.story_flags[STORY_DICE_LOSSES], 10000);
    EXPECT_EQ(growth_now(), expected_growth);
    EXPECT_EQ(dice_state.bets_won, 3);
    EXPECT_EQ(dice_state.bets_lost, 2);
    EXPECT_EQ(sounds, (std::vector<Effect>{{558, 1}, {558, 1}, {559, 1}, {559, 1}, {559, 1}}));
    const std::array<s32, DICE_HISTORY> history = {2, 1, 1, 1, 1, 0, 0};
    EXPECT_TRUE(std::equal(history.begin(), history.end(), dice_state.history));
    EXPECT_EQ(clock_minutes(), minutes + 15);
    EXPECT_EQ(music, (std::vector<s32>{DICE_MUSIC, MUSIC_BEFORE}));
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    // Result lines: 657 a lost bet on big, 658 on small, 659 a win; the result word in big print.
    for (const s32 text : {657, 658, 659})
        EXPECT_TRUE(printed(text, BOTTOM_LINE_X, BOTTOM_LINE_Y)) << text;
    EXPECT_TRUE(printed(651, 261, TOP_LINE_Y));
    EXPECT_TRUE(printed(652, 261, TOP_LINE_Y));
    EXPECT_TRUE(printed(664, MENU_X, MENU_Y[2]));
    EXPECT_TRUE(printed(582, 545, 154));
}

// Attribute 26 loads the dice toward the bet in the money games: the draw range and offset per
// level and bet, and a loaded bet can still lose.
TEST_F(DiceTest, AttributeLoadsTheDice) {
    struct Case {
        s32 attr, pick, range, offset;
    };
    const Case cases[] = {
        {100, BIG, 4, 2}, {100, SMALL, 4, 0}, {99, BIG, 5, 1}, {80, SMALL, 5, 0}, {79, BIG, 6, 0},
    };
    player_record.money = 1000;
    for (const Case& c : cases) {
        growth_value(ATTR) = c.attr;
        growth_pool(ATTR) = 0;
        draw_ranges.clear();
        // Lowest draws: a big bet at 100 shows three 3s (9 pips) and loses.
        play({{c.pick, {0, 0, 0}}}, [] { game_dice(0, 50); });
        EXPECT_EQ(draw_ranges, (std::vector<s32>{c.range, c.range, c.range})) << c.attr;
        EXPECT_EQ(dice_state.d1, c.offset);
        EXPECT_EQ(dice_state.d3, c.offset);
        EXPECT_EQ(dice_state.won,
                  dice_result_of(c.offset, c.offset, c.offset) + 1 == c.pick ? 1 : 0);
    }
    EXPECT_EQ(dice_state.won, 0); // 79, big bet, three 1s
}

// A purse below the stake refuses the bet: the menu closes, the prompt turns to 671 for the rest
// of the call, nothing is drawn or paid, and the player can still leave through the menu.
TEST_F(DiceTest, PurseBelowStakeRefusesTheBet) {
    player_record.money = 20;
    play({{NO_ROW}, {BIG}, {SMALL}}, [] { game_dice(0, 50); });
    EXPECT_EQ(player_record.money, 20);
    EXPECT_EQ(dice_state.broke, 1);
    EXPECT_EQ(dice_state.bets_won + dice_state.bets_lost, 0);
    EXPECT_TRUE(draw_ranges.empty());
    EXPECT_TRUE(sounds.empty());
    // Top lines in order: the prompt and menu show 660 until the first refusal, 671 only at the
    // prompts after it, and the menu keeps 660.
    std::vector<s32> tops;
    for (const Print& p : prints)
        if (p.x == TOP_LINE_X && p.y == TOP_LINE_Y && (tops.empty() || tops.back() != p.text))
            tops.push_back(p.text);
    EXPECT_EQ(tops, (std::vector<s32>{660, 671, 660, 671, 660}));
    EXPECT_EQ(waits, 3); // three prompts, each answered once
}

// The high game ends at the fifth win or the first loss without a click on the last roll, and at
// once when the player leaves; losses do not count into the losses flag.
TEST_F(DiceTest, HighGameEndsAtFifthWinOrFirstLoss) {
    struct Case {
        const char* name;
        std::vector<Bet> plan;
        s32 result, money, wins_flag, state;
    };
    const Case cases[] = {
        {"five wins",
         {{BIG, BIG_FACES},
          {SMALL, SMALL_FACES},
          {BIG, BIG_FACES},
          {BIG, BIG_FACES},
          {SMALL, SMALL_FACES}},
         1,
         5000 + 5 * 500,
         5,
         2},
        {"loss", {{BIG, BIG_FACES}, {BIG, BIG_FACES}, {SMALL, BIG_FACES}}, 2, 5000 + 500, 2, 2},
        {"leave", {{LEAVE}}, 1, 5000, 0, 1},
    };
    for (const Case& c : cases) {
        player_record.money = 5000;
        player_record.story_flags[STORY_DICE_WINS] = 0;
        player_record.story_flags[STORY_DICE_LOSSES] = 0;
        const s32 minutes = clock_minutes();
        s32 result = 0;
        play(c.plan, [&] { result = game_dice_high(0, 500); });
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(player_record.money, c.money) << c.name;
        EXPECT_EQ(player_record.story_flags[STORY_DICE_WINS], c.wins_flag) << c.name;
        EXPECT_EQ(player_record.story_flags[STORY_DICE_LOSSES], 0) << c.name;
        // The last roll stays on screen unanswered (state 2), or the menu that was left.
        EXPECT_EQ(dice_state.state, c.state) << c.name;
        EXPECT_EQ(clock_minutes(), minutes + 15) << c.name;
        EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
    }
}

// Every 15 bets advance the clock (60 minutes from calendar turn 235); a call that did so does
// not advance it again at the end; 15:00 on calendar turn 0 ends the call.
TEST_F(DiceTest, ClockMovesEveryFifteenBets) {
    struct Case {
        s32 hour, minute, turn, bets, played, minutes_after;
    };
    const Case cases[] = {
        {8, 0, 0, 30, 30, 8 * 60 + 30},
        {14, 45, 0, 20, 15, 15 * 60}, // ends by itself at the 15th bet, no step at the end
        {8, 0, 235, 1, 1, 9 * 60},
    };
    player_record.money = 10000;
    for (const Case& c : cases) {
        world_state.hour = u8(c.hour);
        world_state.minute = u8(c.minute);
        hub_block.calendar_turn = c.turn;
        std::vector<Bet> plan;
        for (s32 i = 0; i < c.bets; ++i)
            plan.push_back(i % 3 == 0 ? Bet{SMALL, SMALL_FACES} : Bet{BIG, {5, 2, s32(i % 4)}});
        play(plan, [] { game_dice(0, 50); });
        EXPECT_EQ(dice_state.bets_won + dice_state.bets_lost, c.played) << c.bets;
        EXPECT_EQ(clock_minutes(), c.minutes_after) << c.bets;
    }
}

TEST_F(DiceTest, HistoryKeepsTheLastSevenResults) {
    player_record.money = 10000;
    std::vector<Bet> plan;
    std::vector<s32> expected;
    for (s32 i = 0; i < 9; ++i) {
        const bool big = i % 3 != 1;
        plan.push_back({BIG, big ? BIG_FACES : SMALL_FACES});
        expected.push_back(big ? 1 : 2);
    }
    play(plan, [] { game_dice(0, 50); });
    EXPECT_TRUE(std::equal(expected.end() - DICE_HISTORY, expected.end(), dice_state.history));
    // The newest entry is printed a second time, highlighted.
    EXPECT_TRUE(printed(651, 59, 209 + 16 * 6));
}

// The practice runs on its own chips with fair dice whatever attribute 26: a click where a leave
// row would be is no bet (taking it as leave would end the practice as won with its 50 chips), and
// losing the 50 chips ends it with 0 after the player has seen the dice once more. Nothing but the
// music is touched.
TEST_F(DiceTest, PracticeRunsOutOfChips) {
    growth_value(ATTR) = 100;
    player_record.money = 777;
    const s32 minutes = clock_minutes();
    s32 result = -1;
    play({{LEAVE}, {NO_ROW}, {BIG, SMALL_FACES}}, [&] { result = game_dice_practice(); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dice_state.chips, 0);
    EXPECT_EQ(dice_state.bets_lost, 1);
    EXPECT_EQ(dice_state.state, 3); // the rolled dice were answered once more
    EXPECT_EQ(draw_ranges, (std::vector<s32>{6, 6, 6}));
    EXPECT_EQ(player_record.money, 777);
    EXPECT_EQ(player_record.story_flags[STORY_DICE_LOSSES], 0);
    EXPECT_EQ(growth_now(), (std::pair<s32, s32>{100, 0}));
    EXPECT_EQ(clock_minutes(), minutes);
    EXPECT_EQ(music, (std::vector<s32>{DICE_MUSIC, MUSIC_BEFORE}));
    EXPECT_TRUE(printed(649, 545, 154));
    EXPECT_FALSE(printed_any(582));
    EXPECT_FALSE(printed_any(664));
}

TEST_F(DiceTest, PracticeWinsAtThreeHundredChips) {
    const auto expected_growth = growth_after(6, 10);
    s32 result = -1;
    // 50 -> 100 -> 150 -> 100 (a loss) -> 150 .. 300 in four more wins.
    play({{BIG, BIG_FACES},
          {SMALL, SMALL_FACES},
          {SMALL, BIG_FACES},
          {BIG, BIG_FACES},
          {SMALL, SMALL_FACES},
          {BIG, BIG_FACES},
          {BIG, {5, 3, 0}}},
         [&] { result = game_dice_practice(); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dice_state.chips, DICE_CHIPS_GOAL);
    EXPECT_EQ(dice_state.bets_won, 6);
    EXPECT_EQ(dice_state.bets_lost, 1);
    EXPECT_EQ(growth_now(), expected_growth);
    EXPECT_EQ(player_record.story_flags[STORY_DICE_WINS], 0);
    EXPECT_EQ(player_record.music_id, MUSIC_BEFORE);
}
