// The light puzzle: the toggle rule and the patterns as data (every start can be solved), the
// lamp boxes, and the real loop driven headless by clicks: solving returns 1, giving up returns
// 0, the screen under the puzzle comes back, and nothing else changes (no music, clock or
// rewards). The first frame prints in the puzzle's own text style and size whatever the caller
// left.
#include "engine/kanji.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "game/player.h"
#include "game/state.h"
#include "minigames/light_puzzle.h"
#include "platform/harness.h"
#include "tests/hub_fixture.h"
#include "tools/placeholder_minigames.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <deque>
#include <vector>

namespace {

using Lamps = std::array<u8, LAMP_COUNT>;

u32 mask_of(const Lamps& lit) {
    u32 m = 0;
    for (s32 i = 0; i < LAMP_COUNT; ++i) m |= u32(lit[i] ? 1 : 0) << i;
    return m;
}
Lamps lamps_of(u32 m) {
    Lamps lit{};
    for (s32 i = 0; i < LAMP_COUNT; ++i) lit[i] = u8(m >> i & 1);
    return lit;
}

// Shortest run of lamp clicks from `start` to all lit, by a breadth-first search over the 32
// lamp states with the game's own click rule; empty when already solved, {-1} when unreachable.
std::vector<s32> shortest_solution(const Lamps& start) {
    constexpr u32 ALL = (1u << LAMP_COUNT) - 1;
    std::array<s32, 32> from_state{}, by_lamp{};
    from_state.fill(-2);
    std::deque<u32> queue{mask_of(start)};
    from_state[mask_of(start)] = -1;
    while (!queue.empty()) {
        const u32 m = queue.front();
        queue.pop_front();
        if (m == ALL) break;
        for (s32 lamp = 0; lamp < LAMP_COUNT; ++lamp) {
            Lamps lit = lamps_of(m);
            if (!lamp_click(lit.data(), lamp)) continue;
            const u32 next = mask_of(lit);
            if (from_state[next] != -2) continue;
            from_state[next] = s32(m);
            by_lamp[next] = lamp;
            queue.push_back(next);
        }
    }
    if (from_state[ALL] == -2) return {-1};
    std::vector<s32> path;
    for (u32 m = ALL; from_state[m] != -1; m = u32(from_state[m]))
        path.insert(path.begin(), by_lamp[m]);
    return path;
}

// Seeds the generator so that the puzzle's first draw, rand_below(10), picks `pattern`.
void seed_for_pattern(s32 pattern) {
    const s32 counter = rand_counter;
    for (u32 seed = 1;; ++seed) {
        rt_srand(seed);
        const s32 drawn = rand_below(LAMP_PATTERN_COUNT);
        rand_counter = counter;
        rt_srand(seed);
        if (drawn == pattern) return;
    }
}

// What the puzzle printed and drew, with the text state at each print.
struct Print {
    s32 text, x, y, style, size, colour;
};
std::vector<Print> prints;
std::vector<s32> draws;
std::vector<s32> music;
s32 record(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_PRINT)
        prints.push_back({e.text[0], e.x, e.y, kanji_style, kanji_size, kanji_colour_main_555});
    if (e.kind == TRANSCRIPT_DRAW) draws.push_back(e.id);
    if (e.kind == TRANSCRIPT_MUSIC) music.push_back(e.id);
    return TRANSCRIPT_RUN;
}

constexpr s32 colour555(s32 r, s32 g, s32 b) {
    return r << 10 | g << 5 | b;
}
constexpr s32 SIZE_18 = (18 - 8) / 4;

class LightPuzzleTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        prints.clear();
        draws.clear();
        music.clear();
        transcript_observer = record;
        transcript_draws = true;
        // A recognisable screen under the puzzle, kept as the caller left it.
        for (s32 i = 0; i < SCREEN_PIXELS; ++i) back_buffer[i] = u16(i * 7);
        std::memcpy(before_screen.data(), back_buffer, sizeof(u16) * SCREEN_PIXELS);
        for (s32 i = 0; i < STATE_BLOCK_COUNT; ++i) {
            const auto* p = static_cast<const u8*>(state_blocks[i].data);
            before_state[i].assign(p, p + state_blocks[i].size);
        }
        harness_sound_log_clear();
    }
    void TearDown() override {
        harness_on_present(nullptr);
        transcript_draws = false;
        transcript_observer = nullptr;
        HubTest::TearDown();
    }
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_presents = 3000; // a puzzle that never ends fails instead of hanging
        return c;
    }
    void add_content(ArcBuilder& b) const override { image_put_placeholder_light_puzzle(b); }

    // The screen under the puzzle is back, and no saved record, music or sound changed.
    void expect_left_as_found() {
        EXPECT_EQ(std::memcmp(before_screen.data(), back_buffer, sizeof(u16) * SCREEN_PIXELS), 0);
        for (s32 i = 0; i < STATE_BLOCK_COUNT; ++i) {
            const auto* p = static_cast<const u8*>(state_blocks[i].data);
            EXPECT_TRUE(std::equal(before_state[i].begin(), before_state[i].end(), p))
                << state_blocks[i].name << " changed";
        }
        EXPECT_TRUE(music.empty());
        for (const SoundCall& c : harness_sound_log()) EXPECT_NE(c.op, "play");
    }

    static void click_lamp(s32 lamp) {
        harness_click(lamp_specs[lamp].x + LAMP_BOX_W / 2, lamp_specs[lamp].y + LAMP_BOX_H / 2);
    }

    std::vector<u16> before_screen = std::vector<u16>(SCREEN_PIXELS);
    std::vector<std::vector<u8>> before_state = std::vector<std::vector<u8>>(STATE_BLOCK_COUNT);
};

} // namespace

TEST(LightPuzzleRules, EveryStartPatternCanBeSolved) {
    for (s32 p = 0; p < LAMP_PATTERN_COUNT; ++p) {
        Lamps lit;
        std::copy(std::begin(lamp_patterns[p]), std::end(lamp_patterns[p]), lit.begin());
        EXPECT_FALSE(lamps_all_lit(lit.data())) << p;
        const std::vector<s32> path = shortest_solution(lit);
        ASSERT_FALSE(path.empty()) << p;
        EXPECT_NE(path[0], -1) << "pattern " << p << " cannot be solved";
    }
    // The lengths the board's layout fixes: one click on lamp 1 for pattern 3, seven for the dark
    // board.
    Lamps three;
    std::copy(std::begin(lamp_patterns[3]), std::end(lamp_patterns[3]), three.begin());
    EXPECT_EQ(shortest_solution(three), std::vector<s32>{1});
    EXPECT_EQ(shortest_solution(Lamps{}).size(), 7u);
    Lamps dark{};
    for (const s32 lamp : {0, 2, 1, 0, 4, 0, 3}) EXPECT_TRUE(lamp_click(dark.data(), lamp));
    EXPECT_TRUE(lamps_all_lit(dark.data()));
}

TEST(LightPuzzleRules, ClickLightsADarkLampAndFlipsItsLinks) {
    struct Case {
        Lamps before;
        s32 lamp;
        bool changed;
        Lamps after;
    };
    const Case cases[] = {
        {{1, 1, 0, 1, 1}, 2, true, {1, 0, 1, 0, 1}},  // pattern 7: lamps 1 and 3 go dark
        {{0, 0, 0, 0, 0}, 0, true, {1, 1, 0, 0, 1}},  // links 4 and 1, round the ring
        {{0, 0, 0, 0, 0}, 4, true, {1, 0, 0, 1, 1}},  // links 3 and 0
        {{1, 0, 1, 0, 1}, 0, false, {1, 0, 1, 0, 1}}, // a lit lamp changes nothing
        {{0, 0, 0, 0, 0}, -1, false, {0, 0, 0, 0, 0}},
        {{0, 0, 0, 0, 0}, LAMP_COUNT, false, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Lamps lit = c.before;
        EXPECT_EQ(lamp_click(lit.data(), c.lamp), c.changed) << c.lamp;
        EXPECT_EQ(lit, c.after) << c.lamp;
    }
}

TEST(LightPuzzleRules, LampBoxesAreInclusive) {
    struct Case {
        s32 x, y, lamp;
    };
    const Case cases[] = {
        {274, 29, 0},  {274 + 78, 29 + 64, 0}, {274 + 79, 29, -1}, {274, 28, -1},
        {396, 102, 1}, {378 + 78, 226, 2},     {208, 231 + 64, 3}, {208, 231 + 65, -1},
        {168, 112, 4}, {167, 112, -1},         {540, 420, -1},     {0, 0, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(lamp_at(c.x, c.y), c.lamp) << c.x << "," << c.y;
}

TEST_F(LightPuzzleTest, SolvingTheDarkBoardByClicksReturnsOne) {
    seed_for_pattern(8);
    s32 queued = 0;
    harness_on_present([&](const u16*, u64) {
        if (harness_pending_input() != 0) return;
        // A stray click and a right click on a dark lamp first: neither changes anything.
        if (queued == 0) harness_click(20, 460);
        if (queued == 1) harness_click(lamp_specs[0].x + 5, lamp_specs[0].y + 5, 2);
        if (queued >= 2) {
            Lamps lit;
            std::copy(std::begin(light_puzzle_state.lit), std::end(light_puzzle_state.lit),
                      lit.begin());
            const std::vector<s32> path = shortest_solution(lit);
            if (!path.empty() && path[0] >= 0) click_lamp(path[0]);
        }
        ++queued;
    });
    EXPECT_EQ(game_light_puzzle(), 1);
    EXPECT_EQ(light_puzzle_state.pattern, 8);
    EXPECT_EQ(light_puzzle_state.result, 1);
    EXPECT_EQ(light_puzzle_state.clicks, 7);
    EXPECT_TRUE(lamps_all_lit(light_puzzle_state.lit));
    // Every frame starts with the backdrop and the board.
    ASSERT_GE(draws.size(), 2u);
    EXPECT_EQ(draws[0], LAMP_BACKDROP_IMAGE);
    EXPECT_EQ(draws[1], LAMP_BOARD_IMAGE);
    expect_left_as_found();
}

TEST_F(LightPuzzleTest, OneClickOnLampOneSolvesPatternThree) {
    seed_for_pattern(3);
    harness_on_present([&](const u16*, u64) {
        if (harness_pending_input() == 0) click_lamp(1);
    });
    EXPECT_EQ(game_light_puzzle(), 1);
    EXPECT_EQ(light_puzzle_state.pattern, 3);
    EXPECT_EQ(light_puzzle_state.clicks, 1);
    EXPECT_EQ(light_puzzle_state.frames, 1);
    // The one frame drew lamps 3 and 4 lit.
    EXPECT_EQ(draws, (std::vector<s32>{LAMP_BACKDROP_IMAGE, LAMP_BOARD_IMAGE, 1404, 1405}));
    expect_left_as_found();
}

TEST_F(LightPuzzleTest, GivingUpReturnsZeroAndLeavesTheLampsAndScreen) {
    seed_for_pattern(5);
    // Odd text settings left by the caller must not reach the puzzle's first frame.
    text_style(1);
    text_size(30);
    text_colour(31, 31, 31);
    s32 step = 0;
    harness_on_present([&](const u16*, u64) {
        if (harness_pending_input() != 0) return;
        if (step == 0) harness_move(LAMP_GIVE_UP_X0 + 10, LAMP_GIVE_UP_Y0 + 20);
        if (step == 1) harness_click(LAMP_GIVE_UP_X1, LAMP_GIVE_UP_Y1, 2); // right: not a click
        if (step == 2) harness_click(LAMP_GIVE_UP_X1, LAMP_GIVE_UP_Y1);
        ++step;
    });
    EXPECT_EQ(game_light_puzzle(), 0);
    EXPECT_EQ(light_puzzle_state.result, 0);
    EXPECT_EQ(light_puzzle_state.clicks, 0);
    EXPECT_EQ(std::memcmp(light_puzzle_state.lit, lamp_patterns[5], LAMP_COUNT), 0);
    EXPECT_GE(light_puzzle_state.frames, 3);

    ASSERT_GE(prints.size(), 6u);
    const Print first[] = {
        {LAMP_TEXT_TITLE, 70, 340, 5, SIZE_18, colour555(25, 0, 0)},
        {LAMP_TEXT_HINT, 70, 370, 5, SIZE_18, colour555(0, 0, 0)},
        {LAMP_TEXT_GIVE_UP, 530, 400, 5, SIZE_18, colour555(0, 0, 15)}, // pointer away
    };
    for (s32 i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(prints[i].text, first[i].text);
        EXPECT_EQ(prints[i].x, first[i].x);
        EXPECT_EQ(prints[i].y, first[i].y);
        EXPECT_EQ(prints[i].style, first[i].style);
        EXPECT_EQ(prints[i].size, first[i].size);
        EXPECT_EQ(prints[i].colour, first[i].colour);
    }
    // Once the pointer is over the give-up button it is highlighted.
    EXPECT_EQ(prints.back().text, LAMP_TEXT_GIVE_UP);
    EXPECT_EQ(prints.back().colour, colour555(25, 5, 0));
    expect_left_as_found();
}
