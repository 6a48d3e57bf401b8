// The recipe screen (its cells, hot areas, marks and levels, the choice that takes the materials
// and runs the timing game, the quit label), its place behind the hub's recipe command, and the
// smith's course of place 0.3 that hands out materials and recipes.
#include "calendar/calendar_register.h"
#include "calendar/recipe_screen.h"
#include "calendar/smith_course.h"
#include "game/activity.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "minigames/tracks.h"
#include "tests/cal_cases.h"
#include "tests/calendar_fixture.h"
#include "tests/screen_clicks.h"
#include "tests/text_runs.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<s32>;

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<s32> games;
s32 game_result = 0;
s32 fake_game(s32 equip) {
    games.push_back(equip);
    return game_result;
}

class RecipeScreenTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        games.clear();
        game_result = 0;
        recipe_game_seam = fake_game;
        recipe_state = {};
        for (s32 i = 0; i < RECIPE_MATERIALS; i++) inv_remove(RECIPE_MATERIAL_FIRST + i, 100000);
        state.keep([] {
            games.clear();
            game_result = 0;
            recipe_state = {};
        });
    }
    void TearDown() override {
        recipe_game_seam = game_tracks;
        CalendarHandlerTest::TearDown();
    }
    CalCaseState state;
    // Runs the screen with the clicks; the draws of each pass land in `pass_lines`.
    s32 play(const std::vector<ScriptedClick>& clicks) {
        dialog_record_draws(true);
        pass_lines.clear();
        recipe_state.passes = 0;
        size_t from = dialog_lines().size();
        ClickScript script(&recipe_state.passes, clicks);
        script.on_pass([&](s32) {
            const std::vector<std::string> all = dialog_lines();
            pass_lines.emplace_back(all.begin() + long(from), all.end());
            from = all.size();
        });
        return recipe_screen();
    }
    std::vector<std::vector<std::string>> pass_lines;
};

// The middle of cell c.
s32 cx(s32 c) {
    return RECIPE_CELL_X[c % 5] + 10;
}
s32 cy(s32 c) {
    return RECIPE_ROW_Y[c / 5] + 5;
}

} // namespace

TEST(RecipeScreenLayout, CellsAnswerInsideTheirAreasWithBothEdges) {
    struct Case {
        s32 x, y, cell;
    };
    const Case cases[] = {
        {34, 379, 0},   {130, 395, 0},  {131, 379, -1}, {33, 379, -1},  {138, 379, 1},
        {34, 410, 5},   {450, 426, 9},  {34, 456, 10},  {442, 472, 13}, {443, 460, -1},
        {450, 456, 14}, {498, 472, 14}, {499, 472, -1}, {450, 473, -1}, {300, 440, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(recipe_cell_at(c.x, c.y), c.cell) << c.x << ',' << c.y;
}

// The hub's recipe command reaches the real screen once the calendar layer has started; a reset
// puts the "not available" default back until the next start-up call.
TEST_F(RecipeScreenTest, TheHubSeamIsFilledAtStartUpAndAfterAReset) {
    EXPECT_EQ(recipe_screen_seam, recipe_screen);
    hub_seams_reset();
    EXPECT_NE(recipe_screen_seam, recipe_screen);
    calendar_register_all();
    EXPECT_EQ(recipe_screen_seam, recipe_screen);
    // The command opens the grid; its quit label ends it.
    recipe_state.passes = 0;
    dialog_record_draws(true);
    {
        ClickScript script(&recipe_state.passes, {{2, 460, 460}});
        hub_cmd_recipes();
    }
    EXPECT_TRUE(has(dialog_lines(), "print 330 450 456"));
    EXPECT_EQ(hub_block.turns_consumed, 1);
    EXPECT_TRUE(games.empty());
}

// The cells follow known list 16; missing materials mark a recipe and keep it from being chosen;
// an empty cell does nothing; the chosen recipe's materials are taken before its game runs.
TEST_F(RecipeScreenTest, ChoosingARecipeTakesItsMaterialsAndRunsItsGame) {
    PlayerRecord& p = player_record;
    for (s32 id : {51, 57, 70, 50, 63}) known_add(RECIPE_LIST, id); // 70 names no recipe
    for (KnownEntry& e : p.known[RECIPE_LIST])
        if (e.id == 51) e.level = 7;
    inv_add(1570, 50); // recipes 50 (30) and 51 (45) can be made; 57 (50, 20, 5) cannot
    recipe_fill_cells();
    const s32 cell_ids[] = {51, 57, 50, 63};
    for (s32 c = 0; c < 4; c++) {
        const s32 e = recipe_state.cells[c].entry;
        ASSERT_GE(e, 0) << c;
        EXPECT_EQ(p.known[RECIPE_LIST][e].id, cell_ids[c]) << c;
        EXPECT_EQ(recipe_state.cells[c].usable, c == 1 ? 0 : 1) << c;
    }
    for (s32 c = 4; c < RECIPE_RECIPE_CELLS; c++) EXPECT_EQ(recipe_state.cells[c].entry, -1) << c;

    game_result = 1;
    const s32 result = play({
        {2, cx(1), cy(1), 0}, // points at recipe 57 only
        {3, cx(1), cy(1)},    // a click on it: it cannot be made
        {4, cx(7), cy(7)},    // an empty cell
        {5, cx(0), cy(0), 2}, // a right click on recipe 51
        {6, cx(0), cy(0)},    // recipe 51: 45 of item 1570, equipment 30
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(games, std::vector<s32>{30});
    EXPECT_EQ(recipe_state.chosen, 1);
    EXPECT_EQ(inv_has_count(1570, 5), 1);
    EXPECT_EQ(inv_has_count(1570, 6), 0);
    ASSERT_GE(pass_lines.size(), 6u);
    const std::vector<std::string>& first = pass_lines[0];
    EXPECT_TRUE(has(first, "print 54051 34 379"));
    EXPECT_TRUE(has(first, "print 54057 138 379"));
    EXPECT_TRUE(has(first, "print 54050 242 379"));
    EXPECT_TRUE(has(first, "print 54063 346 379"));
    EXPECT_TRUE(has(first, "print 330 450 456"));
    EXPECT_TRUE(has(first, "draw 60395 138 387"));
    EXPECT_EQ(std::count_if(first.begin(), first.end(),
                            [](const std::string& l) { return l.rfind("draw 60395", 0) == 0; }),
              1);
    EXPECT_TRUE(has(first, "print_number 7 3 34 395"));
    // Only a recipe with a level shows it.
    for (const char* x : {" 138 395", " 242 395", " 346 395"})
        EXPECT_EQ(std::count_if(first.begin(), first.end(),
                                [&](const std::string& l) {
                                    return l.rfind("print_number", 0) == 0 && l.ends_with(x);
                                }),
                  0)
            << x;
    // Pointed at, the recipe shows its name without the mark.
    EXPECT_FALSE(has(pass_lines[1], "draw 60395 138 387"));
    EXPECT_TRUE(has(pass_lines[1], "print 54057 138 379"));
}

// The quit label ends the screen with -1: nothing taken, no game. Recipe 13 costs nothing and can
// always be made.
TEST_F(RecipeScreenTest, QuitTakesNothingAndTheFreeRecipeIsAlwaysUsable) {
    known_add(RECIPE_LIST, 63);
    known_add(RECIPE_LIST, 50);
    EXPECT_EQ(play({{2, cx(1), cy(1)}, {3, 498, 472}}), RECIPE_QUIT);
    EXPECT_TRUE(games.empty());
    EXPECT_EQ(recipe_state.cells[0].usable, 1);
    EXPECT_EQ(recipe_state.cells[1].usable, 0);
    game_result = 0;
    EXPECT_EQ(play({{2, cx(0), cy(0)}}), 0);
    EXPECT_EQ(games, std::vector<s32>{0});
}

// At most fourteen cells: a fifteenth recipe finds none.
TEST_F(RecipeScreenTest, FourteenCellsAtMost) {
    for (s32 id = 50; id <= 63; id++) known_add(RECIPE_LIST, id);
    known_add(RECIPE_LIST, 50); // already known: not added twice
    recipe_fill_cells();
    for (s32 c = 0; c < RECIPE_RECIPE_CELLS; c++) {
        ASSERT_GE(recipe_state.cells[c].entry, 0);
        EXPECT_EQ(player_record.known[RECIPE_LIST][recipe_state.cells[c].entry].id, 50 + c);
    }
}

// ---- The smith's course ------------------------------------------------------------------------

namespace {
EventEntry& smith(s32 k) {
    return hub_block.place_events[SMITH_SET][SMITH_PLACE][k];
}
} // namespace

// The first visit: materials and three recipes, the screen, and the master's word on its end.
TEST_F(RecipeScreenTest, FirstVisitGivesMaterialsAndRecipesAndRunsTheScreen) {
    struct Case {
        const char* name;
        std::vector<ScriptedClick> clicks;
        s32 game; // the fake game's result
        Texts end;
        s32 affection_change;
    };
    const Case cases[] = {
        {"quit", {{2, 460, 460}}, 0, text_runs({56157, -56158}), -1},
        {"lost", {{2, cx(0), cy(0)}}, 0, text_runs({56153, -56156}), 0},
        {"made", {{2, cx(0), cy(0)}}, 1, text_runs({56150, -56152}), 0},
    };
    state.each(cases, [&](const Case& c) {
        ASSERT_EQ(smith(0).slot, 113);
        smith(0).on = 1;
        player_record.affection[206] = 50;
        game_result = c.game;
        recipe_state.passes = 0;
        const size_t m = mark();
        {
            ClickScript script(&recipe_state.passes, c.clicks);
            run_slot(113);
        }
        EXPECT_EQ(
            texts_from(m),
            text_join({{56130}, text_runs({56131, -56135}), text_runs({56140, -56143}), c.end}));
        EXPECT_EQ(hub_block.scene_backdrop, 60403);
        for (s32 id : {50, 51, 57}) EXPECT_EQ(known_has(RECIPE_LIST, id), 1) << id;
        // Recipe 50 (cell 0) takes 30 of the 100 given.
        const s32 left = c.clicks[0].x == 460 ? 100 : 70;
        EXPECT_EQ(inv_has_count(1570, left), 1);
        EXPECT_EQ(inv_has_count(1570, left + 1), 0);
        EXPECT_EQ(games, c.clicks[0].x == 460 ? std::vector<s32>{} : std::vector<s32>{1});
        EXPECT_EQ(player_record.affection[206], 50 + c.affection_change);
        EXPECT_EQ(smith(0).on, 0);
        EXPECT_EQ(smith(1).on, 1);
    });
}

// The later visits wait for skill 16; each then teaches its recipes and opens the next; the last
// teaches by the strongest of skills 5, 6 and 7 and ends the course.
TEST_F(RecipeScreenTest, LaterVisitsWaitForTheSkillThenTeach) {
    struct Case {
        const char* name;
        s32 slot, skill16;
        s32 s5, s6, s7;
        std::vector<s32> draws;
        Texts said;
        std::vector<s32> taught;
        bool advances;
    };
    const Texts ready = text_join({text_runs({56161, -56162}), text_runs({56163, -56165})});
    const Texts not_yet = text_runs({56159, -56160});
    const Case cases[] = {
        {"114 below 40", 114, 39, 0, 0, 0, {}, not_yet, {}, false},
        {"114 at 40", 114, 40, 0, 0, 0, {}, ready, {52, 53, 54}, true},
        {"115 below 60", 115, 59, 0, 0, 0, {}, not_yet, {}, false},
        {"115 at 60", 115, 60, 0, 0, 0, {}, ready, {55, 56}, true},
        {"116 below 80", 116, 79, 90, 0, 0, {}, not_yet, {}, false},
        {"116 skill 5, first draw", 116, 80, 30, 20, 10, {0}, {56171, 56172, 56173}, {58}, true},
        {"116 skill 5, second draw", 116, 80, 30, 20, 10, {1}, {56171, 56172, 56177}, {61}, true},
        {"116 skill 6", 116, 80, 10, 30, 20, {0}, {56171, 56172, 56174}, {59}, true},
        {"116 skill 6, second draw", 116, 80, 10, 30, 20, {1}, {56171, 56172, 56178}, {62}, true},
        {"116 skill 7", 116, 80, 10, 20, 30, {}, {56171, 56172, 56175}, {60}, true},
        {"116 skills 6 and 7 equal", 116, 80, 10, 30, 30, {0}, {56171, 56172, 56174}, {59}, true},
    };
    state.each(cases, [&](const Case& c) {
        PlayerRecord& p = player_record;
        p.skill[16] = c.skill16;
        p.skill[5] = c.s5;
        p.skill[6] = c.s6;
        p.skill[7] = c.s7;
        const s32 k = c.slot - 113;
        smith(k).on = 1;
        for (s32 d : c.draws) draws({d});
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), c.said);
        EXPECT_EQ(hub_block.scene_backdrop, 60403);
        for (s32 id = 50; id <= 63; id++) {
            const bool taught = std::find(c.taught.begin(), c.taught.end(), id) != c.taught.end();
            EXPECT_EQ(known_has(RECIPE_LIST, id), taught ? 1 : 0) << id;
        }
        EXPECT_EQ(smith(k).on, c.advances ? 0 : 1);
        if (k < 3) {
            EXPECT_EQ(smith(k + 1).on, c.advances ? 1 : 0);
        }
        EXPECT_EQ(draws_left(), 0u);
    });
}
