// The pick grids and the practice screen, driven by scripted clicks on the placeholder archive:
// which entries are offered and where, which can be clicked, the ways out, and the practice
// tasks answered right and wrong.
#include "game/pick_screens.h"

#include "data/battle_tables.h"
#include "data/item_tables.h"
#include "engine/math.h"
#include "game/inventory.h"
#include "game/player.h"
#include "tests/hub_fixture.h"
#include "tests/timed_clicks.h"

#include <algorithm>
#include <vector>

namespace {

class PickScreensTest : public HubTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 60'000; // a screen left without a way out fails instead of hanging
        return c;
    }
    void SetUp() override {
        HubTest::SetUp();
        dialog_record_draws(true);
    }
};

void click_cell(s32 c) {
    click(pick_cell_x(c) + 40, pick_cell_y(c) + 8);
}

bool printed(s32 text, s32 x, s32 y) {
    const auto& t = dialog_transcript();
    return std::any_of(t.begin(), t.end(), [=](const TranscriptEntry& e) {
        return e.kind == TRANSCRIPT_PRINT && e.text[0] == text && e.x == x && e.y == y;
    });
}

bool drawn(s32 id, s32 x, s32 y) {
    const auto& t = dialog_transcript();
    return std::any_of(t.begin(), t.end(), [=](const TranscriptEntry& e) {
        return e.kind == TRANSCRIPT_DRAW && e.id == id && e.x == x && e.y == y;
    });
}

void set_requirement(s32 list, s32 id, s32 growth, s32 minimum) {
    ArtTerm* r = arts_table[art_index(list, id)].require;
    for (s32 i = 0; i < ART_TERMS; ++i) r[i] = {-1, -1};
    r[0] = {growth, minimum};
}

TEST_F(PickScreensTest, KnownPickOffersTheFirstTenKnownEntries) {
    KnownEntry* list = player_record.known[12];
    list[0] = {10, 0, 0}; // not counted as known
    for (s32 i = 1; i <= 12; ++i) list[i] = {49 + i, 0, 0};
    list[1].level = 7;
    start_clicks();
    click_cell(9);
    EXPECT_EQ(known_pick(12), 10);
    EXPECT_TRUE(all_clicks_taken());
    for (s32 c = 0; c < PICK_CELLS; ++c)
        EXPECT_TRUE(printed(52500 + 1200 + 50 + c, pick_cell_x(c), pick_cell_y(c))) << c;
    EXPECT_FALSE(printed(52500 + 1200 + 60, pick_cell_x(0), PICK_ROW_Y[2]));
    for (const TranscriptEntry& e : dialog_transcript()) {
        EXPECT_FALSE(e.kind == TRANSCRIPT_PRINT &&
                     (e.text[0] == 52500 + 1210 || e.text[0] == 52500 + 1211 ||
                      e.text[0] == 52500 + 1200 + 10));
        if (e.kind == TRANSCRIPT_PRINT_NUMBER && e.y >= PICK_ROW_Y[0]) { // below the dashboard's
            EXPECT_TRUE(e.number == 7 && e.x == pick_cell_x(0) && e.y == pick_cell_y(0) + 16);
        }
        EXPECT_FALSE(e.kind == TRANSCRIPT_PRINT && e.text[0] == PICK_BACK_TEXT);
    }
}

TEST_F(PickScreensTest, KnownPickWithoutEntriesReturnsAtOnce) {
    player_record.known[5][3] = {20, 4, 0}; // an id below 50 does not count
    const u64 presents = harness_presents();
    EXPECT_EQ(known_pick(5), -1);
    EXPECT_EQ(known_pick(25), -1);
    EXPECT_EQ(known_pick(-1), -1);
    EXPECT_EQ(harness_presents(), presents);
}

TEST_F(PickScreensTest, UnusableArtsAreMarkedAndIgnoreClicks) {
    KnownEntry* list = player_record.known[3];
    list[0] = {51, 0, 0};
    list[1] = {52, 0, 0};
    set_requirement(3, 51, 27, 40); // attribute 2 of at least 40
    set_requirement(3, 52, -1, 0);
    player_record.attr[2] = 39;
    start_clicks();
    click_cell(0); // unusable: nothing happens
    click_cell(1);
    EXPECT_EQ(known_pick(3), 1);
    EXPECT_TRUE(all_clicks_taken());
    EXPECT_TRUE(drawn(PICK_UNUSABLE_IMAGE, pick_cell_x(0), pick_cell_y(0) + 8));
    EXPECT_FALSE(drawn(PICK_UNUSABLE_IMAGE, pick_cell_x(1), pick_cell_y(1) + 8));

    player_record.attr[2] = 40; // now met
    start_clicks();
    click_cell(0);
    EXPECT_EQ(known_pick(3), 0);
}

// With every offered entry unusable the grid used to have no way out at all; it now shows the
// cancel cell, whose click returns -1.
TEST_F(PickScreensTest, AllUnusableShowsTheCancelCell) {
    KnownEntry* list = player_record.known[6];
    list[0] = {50, 0, 0};
    list[1] = {51, 0, 0};
    set_requirement(6, 50, 0, 100);
    set_requirement(6, 51, 0, 100);
    start_clicks();
    click_cell(0);
    click(PICK_CANCEL_X + 10, PICK_ROW_Y[2] + 8);
    EXPECT_EQ(known_pick(6), -1);
    EXPECT_TRUE(all_clicks_taken());
    EXPECT_TRUE(printed(PICK_BACK_TEXT, PICK_CANCEL_X, PICK_ROW_Y[2]));
}

TEST_F(PickScreensTest, ItemPickNeedsTheIngredientsAndHasABackCell) {
    KnownEntry* list = player_record.known[PICK_RECIPE_LIST];
    list[0] = {50, 0, 0};
    list[1] = {51, 3, 0};
    for (Ingredient& g : consumable_table[0].ingredients) g = {-1, 0};
    for (Ingredient& g : consumable_table[1].ingredients) g = {-1, 0};
    consumable_table[0].ingredients[2] = {1300, 2};
    inv_add(1300, 1); // one short
    start_clicks();
    click_cell(0);
    click_cell(1);
    EXPECT_EQ(item_pick(), 1);
    EXPECT_TRUE(printed(53950, pick_cell_x(0), pick_cell_y(0)));
    EXPECT_TRUE(printed(53951, pick_cell_x(1), pick_cell_y(1)));
    EXPECT_TRUE(drawn(PICK_UNUSABLE_IMAGE, pick_cell_x(0), pick_cell_y(0) + 8));
    EXPECT_TRUE(printed(PICK_BACK_TEXT, PICK_BACK_X, PICK_ROW_Y[2]));

    inv_add(1300, 1);
    start_clicks();
    click_cell(0);
    EXPECT_EQ(item_pick(), 0);

    start_clicks();
    click(PICK_BACK_X + 47, PICK_ROW_Y[2] + 15);
    EXPECT_EQ(item_pick(), -1);
    EXPECT_TRUE(all_clicks_taken());

    for (KnownEntry& e : player_record.known[PICK_RECIPE_LIST]) e = {-1, 0, 0};
    EXPECT_EQ(item_pick(), -1);
}

// ---- The practice screen ----------------------------------------------------------------------

// The tasks' right toggles, 0..3.
const std::vector<std::vector<s32>> PATTERNS = {
    {0}, {1}, {2}, {3}, {0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}, {0, 1, 2}, {0, 2, 3},
};

void click_toggle(s32 k) {
    click(PRACTICE_TOGGLE_X0 + 30, PRACTICE_TOGGLE_Y[k] + 16);
}
void click_ok() {
    click(PRACTICE_OK_X0 + 30, PRACTICE_OK_Y0 + 20);
}

void seed(u32 s) {
    rt_srand(s * 2654435761u);
    rand_counter = RAND_COUNTER_START;
}

// The toggles drawn after the last print of `text`.
std::vector<s32> toggles_after(s32 text) {
    const auto& t = dialog_transcript();
    size_t from = 0;
    for (size_t i = 0; i < t.size(); ++i)
        if (t[i].kind == TRANSCRIPT_PRINT && t[i].text[0] == text) from = i;
    std::vector<s32> on;
    for (size_t i = from; i < t.size(); ++i)
        if (t[i].kind == TRANSCRIPT_DRAW && t[i].x == PRACTICE_TOGGLE_X0)
            on.push_back((t[i].id - PRACTICE_TOGGLE_IMAGE) / 3);
    return on;
}

TEST_F(PickScreensTest, PracticeTasksAnsweredRight) {
    const s32 n = 2;
    player_record.known[PRACTICE_LIST][n] = {52, 60, 0}; // from level 50 all eleven tasks come
    std::vector<bool> seen(PRACTICE_VARIANTS, false);
    for (u32 s = 1; s < 400 && std::count(seen.begin(), seen.end(), false) > 0; ++s) {
        seed(s);
        const s32 v = rand_below(PRACTICE_VARIANTS);
        if (seen[size_t(v)]) continue;
        seen[size_t(v)] = true;
        SCOPED_TRACE(v);
        EXPECT_EQ(art_practice_pattern(v), [&] {
            u32 bits = 0;
            for (s32 k : PATTERNS[size_t(v)]) bits |= 1u << k;
            return bits;
        }());
        dialog_transcript_mode();
        dialog_record_draws(true);
        start_clicks();
        click_toggle(3); // on and off again
        click_toggle(3);
        for (s32 k : PATTERNS[size_t(v)]) click_toggle(k);
        click_ok();
        seed(s);
        EXPECT_EQ(art_practice(n), 1);
        EXPECT_TRUE(all_clicks_taken());
        EXPECT_TRUE(drawn(63402 + 20 * n + v, PRACTICE_PIECE_X, PRACTICE_PIECE_Y));
        EXPECT_TRUE(drawn(63401 + 20 * n, PRACTICE_PIECE_X, PRACTICE_PIECE_Y));
        EXPECT_TRUE(printed(11732, 88, 343));
        EXPECT_TRUE(printed(11733, 88, 367));
        EXPECT_FALSE(printed(11736, 88, 343));
        EXPECT_EQ(toggles_after(11732), PATTERNS[size_t(v)]);
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0);
}

TEST_F(PickScreensTest, PracticeAnsweredWrongShowsTheRightPatternOnASecondScreen) {
    player_record.known[PRACTICE_LIST][0] = {50, 10, 0}; // below level 50: one toggle, v 0..3
    for (u32 s = 1; s <= 4; ++s) {
        seed(s);
        const s32 v = rand_below(4);
        SCOPED_TRACE(v);
        dialog_transcript_mode();
        dialog_record_draws(true);
        // Every toggle on: never a task's pattern.
        start_clicks();
        for (s32 k = 0; k < PRACTICE_TOGGLES; ++k) click_toggle(k);
        click_ok();
        seed(s);
        EXPECT_EQ(art_practice(0), 0);
        EXPECT_TRUE(all_clicks_taken());
        EXPECT_TRUE(printed(11734, 88, 343));
        EXPECT_TRUE(printed(11735, 88, 367));
        EXPECT_TRUE(printed(11736, 88, 343));
        EXPECT_FALSE(printed(11732, 88, 343));
        EXPECT_FALSE(drawn(63401, PRACTICE_PIECE_X, PRACTICE_PIECE_Y));
        EXPECT_TRUE(drawn(PRACTICE_OK_IMAGE, PRACTICE_OK_X0, PRACTICE_OK_Y0));
        EXPECT_EQ(toggles_after(11736), PATTERNS[size_t(v)]);
        // Two waits for a click, each with the mark at (433, 420).
        s32 waits = 0;
        for (const TranscriptEntry& e : dialog_transcript())
            if (e.kind == TRANSCRIPT_WAIT && e.x == PRACTICE_MARK_X && e.y == PRACTICE_MARK_Y)
                ++waits;
        EXPECT_EQ(waits, 2);
    }
}

} // namespace
