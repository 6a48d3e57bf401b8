// The screens of the opening events, played by scripted clicks on the placeholder archive and
// read back from the screen's own state, its result and the transcript's draws and prints.
#include "calendar/opening_screens.h"

#include "calendar/calendar_seams.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/calendar_fixture.h"
#include "tests/opening_player.h"
#include "tools/arcbuild.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr s32 LEFT = 1, RIGHT = 2;

using Click = OpeningClick;

void clicks_watching(const std::vector<Click>& list, std::function<void()> watch) {
    opening_play({list}, std::move(watch));
}

void clicks(const std::vector<Click>& list) {
    opening_play({list});
}

// The middle of intersection (i, j)'s window, or a corner of it with dx, dy in -4..4.
Click at_point(s32 i, s32 j, s32 dx = 0, s32 dy = 0) {
    return {GRID_POINT_OFFSETS[i] + GRID_POINT_WINDOW_X + 4 + dx,
            GRID_POINT_OFFSETS[j] + GRID_POINT_WINDOW_Y + 4 + dy};
}

Click at_cell(s32 cell, s32 button) {
    const PicturePoint p = pair_cell_corner(cell);
    return {p.x + PAIR_CELL_W / 2, p.y + PAIR_CELL_H / 2, button};
}

Click at_search(s32 index, s32 dx = 0, s32 dy = 0) {
    return {PICTURE_POINTS[index].x + dx, PICTURE_POINTS[index].y + dy};
}

class OpeningScreensTest : public OpeningTest {
  protected:
    static std::vector<TranscriptEntry> entries(s32 kind) {
        std::vector<TranscriptEntry> out;
        for (const TranscriptEntry& e : dialog_transcript())
            if (e.kind == kind) out.push_back(e);
        return out;
    }
    static bool printed(s32 text, s32 x, s32 y) {
        const auto all = entries(TRANSCRIPT_PRINT);
        return std::any_of(all.begin(), all.end(), [=](const TranscriptEntry& e) {
            return e.text[0] == text && e.x == x && e.y == y;
        });
    }
    static s64 draws_of(s32 id) {
        const auto all = entries(TRANSCRIPT_DRAW);
        return std::count_if(all.begin(), all.end(),
                             [id](const TranscriptEntry& e) { return e.id == id; });
    }
};

} // namespace

// ---- Grid board --------------------------------------------------------------------------------

TEST_F(OpeningScreensTest, GridBoardTakesOnlyAnIntersectionsWindow) {
    struct Case {
        const char* name;
        s32 kind;
        std::vector<Click> play;
        s32 result;
        s32 frames_at_least; // one frame per click at least: a click that changes nothing
                             // leaves the board up
    };
    const GridBoard b1 = GRID_BOARDS[0], b2 = GRID_BOARDS[1];
    const std::vector<Case> cases = {
        {"right at once", 1, {at_point(b1.column, b1.row)}, 1, 1},
        {"wrong intersection", 1, {at_point(b1.column + 1, b1.row)}, -1, 1},
        {"window edges count", 2, {at_point(b2.column, b2.row, -4, 4)}, 1, 1},
        {"far edge counts", 2, {at_point(b2.column, b2.row, 4, -4)}, 1, 1},
        // One pixel past the window (between two lines) and a click off the board change
        // nothing; the board stays up for the next click.
        {"between lines, then right",
         2,
         {at_point(b2.column, b2.row, 5, 0),
          at_point(b2.column, b2.row, 0, -5),
          {100, 200},
          at_point(b2.column, b2.row)},
         1,
         4},
        {"kind 6's point", 6, {at_point(9, 16)}, 1, 1},
        {"kind 6 refuses kind 1's point", 6, {at_point(9, 10)}, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clicks(c.play);
        EXPECT_EQ(grid_point_puzzle(c.kind), c.result);
        EXPECT_GE(opening_screen_state.frames, c.frames_at_least);
        EXPECT_EQ(harness_pending_input(), 0u);
    }
}

TEST_F(OpeningScreensTest, GridBoardMarksTheIntersectionUnderThePointer) {
    dialog_record_draws(true);
    const GridBoard b = GRID_BOARDS[2];
    // Hover over (3, 4), then click the right point.
    Click hover = at_point(3, 4);
    hover.button = 0;
    std::vector<std::pair<s32, s32>> seen;
    clicks_watching({hover, at_point(b.column, b.row)}, [&seen] {
        seen.emplace_back(opening_screen_state.hover_column, opening_screen_state.hover_row);
    });
    EXPECT_EQ(grid_point_puzzle(3), 1);
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(3, 4)), seen.end());
    EXPECT_EQ(seen.back(), std::make_pair(b.column, b.row));
    // The marker stands at (offset + 217, offset + 135); the board is kind 3's picture.
    const auto all = entries(TRANSCRIPT_DRAW);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const TranscriptEntry& e) {
        return e.id == GRID_POINT_MARK && e.x == GRID_POINT_OFFSETS[3] + 217 &&
               e.y == GRID_POINT_OFFSETS[4] + 135;
    }));
    EXPECT_GT(draws_of(60005), 0);
    EXPECT_TRUE(printed(GRID_POINT_TEXT, 9, 377));
}

TEST_F(OpeningScreensTest, GridBoardOutsideTheKindsIsAWrongAnswerWithoutAScreen) {
    const u64 presents = harness_presents();
    EXPECT_EQ(grid_point_puzzle(0), -1);
    EXPECT_EQ(grid_point_puzzle(7), -1);
    EXPECT_EQ(harness_presents(), presents);
}

// ---- Picture pair game -------------------------------------------------------------------------

TEST_F(OpeningScreensTest, PicturePairAnswersOnlyInTheOverview) {
    struct Case {
        const char* name;
        std::vector<Click> play;
        s32 result;
        s32 answer;
        std::vector<s32> views; // the viewed cells in the order they were shown
    };
    const std::vector<Case> cases = {
        {"cell 5", {at_cell(5, RIGHT)}, 1, 5, {}},
        {"the same place in the second grid", {at_cell(14, RIGHT)}, 0, 14, {}},
        {"another cell", {at_cell(0, RIGHT)}, 0, 0, {}},
        // A right click while a cell is viewed does nothing; a left click goes back.
        {"viewed first",
         {at_cell(3, LEFT),
          at_cell(5, RIGHT),
          {10, 10, LEFT},
          at_cell(14, LEFT),
          {10, 10, LEFT},
          at_cell(5, RIGHT)},
         1,
         5,
         {3, 14}},
        // Between cells (x 208, y 207): nothing to view and nothing to answer.
        {"gaps", {{208, 150, LEFT}, {160, 207, RIGHT}, at_cell(5, RIGHT)}, 1, 5, {}},
        // The cells' bounds are inclusive: x + 56 and y + 74 still belong to the cell.
        {"far corner", {{151 + 58 * 2 + 56, 132 + 76 + 74, RIGHT}}, 1, 5, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<s32> views;
        clicks_watching(c.play, [&views] {
            const s32 v = opening_screen_state.view;
            if (v >= 0 && (views.empty() || views.back() != v)) views.push_back(v);
        });
        EXPECT_EQ(picture_pair_game(), c.result);
        EXPECT_EQ(opening_screen_state.answer, c.answer);
        EXPECT_EQ(views, c.views);
        EXPECT_EQ(harness_pending_input(), 0u);
    }
}

TEST_F(OpeningScreensTest, PicturePairShowsTheDifferingCellSideBySide) {
    dialog_record_draws(true);
    clicks(
        {at_cell(14, LEFT), {10, 10, LEFT}, at_cell(7, LEFT), {10, 10, LEFT}, at_cell(0, RIGHT)});
    EXPECT_EQ(picture_pair_game(), 0);
    const auto all = entries(TRANSCRIPT_DRAW);
    auto drawn = [&all](s32 id, s32 x, s32 y) {
        return std::any_of(all.begin(), all.end(), [=](const TranscriptEntry& e) {
            return e.id == id && e.x == x && e.y == y;
        });
    };
    EXPECT_TRUE(drawn(PAIR_OVERVIEW, 150, 128));
    EXPECT_TRUE(drawn(60076, 147, 128)); // cell 14: the pair that differs
    EXPECT_TRUE(drawn(60080, 328, 128));
    EXPECT_TRUE(drawn(60078, 147, 128)); // cell 7: the same picture twice
    EXPECT_TRUE(drawn(60078, 328, 128));
    EXPECT_EQ(draws_of(60077), 0);
    EXPECT_TRUE(printed(PAIR_TEXT, 9, 377));
}

// ---- Entry test --------------------------------------------------------------------------------

TEST_F(OpeningScreensTest, EntryTestRunsItsThreeStages) {
    struct Case {
        const char* name;
        std::vector<s32> answers; // the question (repeated by the fourth option), the last one
        std::vector<s32> draws;   // board 4 + d, picture k
        std::vector<Click> board; // clicks on the grid board
        s32 result;
        std::vector<s32> texts;
        s32 question_sounds;
    };
    const GridBoard b4 = GRID_BOARDS[3], b5 = GRID_BOARDS[4], b6 = GRID_BOARDS[5];
    const std::vector<s32> question = {11220, 11221, 11222, 11223};
    auto texts = [&question](std::initializer_list<s32> before, s32 asked,
                             std::initializer_list<s32> after) {
        std::vector<s32> t(before);
        for (s32 i = 0; i < asked; ++i) t.insert(t.end(), question.begin(), question.end());
        t.insert(t.end(), after);
        return t;
    };
    const std::vector<Case> cases = {
        {"wrong option", {1}, {}, {}, 0, texts({11191}, 1, {}), 1},
        {"third option", {2}, {}, {}, 0, texts({11191}, 1, {}), 1},
        {"asked again twice, then wrong", {3, 3, 2}, {}, {}, 0, texts({11191}, 3, {}), 3},
        {"wrong board",
         {0},
         {0},
         {at_point(b4.column + 1, b4.row)},
         0,
         texts({11191}, 1, {11192}),
         1},
        {"board 5, the picture named",
         {0, 2},
         {1, 2},
         {at_point(b5.column, b5.row)},
         1,
         texts({11191}, 1, {11192, 11193, 11207, 11208, 11209}),
         1},
        {"board 6, another picture named",
         {3, 0, 1},
         {2, 0},
         {at_point(b6.column, b6.row)},
         0,
         texts({11191}, 2, {11192, 11193, 11207, 11208, 11209}),
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog_answers(c.answers);
        for (s32 d : c.draws) draws({d});
        clicks(c.board);
        const size_t m = mark();
        EXPECT_EQ(entry_test(), c.result);
        EXPECT_EQ(texts_from(m), c.texts);
        const std::vector<std::string> lines = lines_from(m);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "sound 600 1"), c.question_sounds);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(harness_pending_input(), 0u);
    }
}

TEST_F(OpeningScreensTest, EntryTestShowsThePictureItAsksAbout) {
    answers({0, 1});
    draws({0, 1});
    clicks({at_point(GRID_BOARDS[3].column, GRID_BOARDS[3].row)});
    const size_t m = mark();
    EXPECT_EQ(entry_test(), 1);
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "hub_say 1 0 40 11191"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "hub_say 0 0 40 11193 pic 60082 270 148"),
              lines.end());
}

// ---- Dashboard animation -----------------------------------------------------------------------

TEST_F(OpeningScreensTest, DashboardAnimationShowsEachPictureInTheCentre) {
    dialog_record_draws(true);
    player_record.known[3][0] = {50, 10, 0}; // an art: text 52500 + 100 x 3 + 50
    player_record.attr[2] = 37;
    player_record.fame = 12;
    const u64 start = harness_elapsed_ms();
    const u64 presents = harness_presents();
    dashboard_animation(60100, 4);
    EXPECT_EQ(harness_presents() - presents, 4u);
    EXPECT_GE(harness_elapsed_ms() - start, 4u * DASHBOARD_ANIMATION_MS);
    std::vector<s32> centre;
    for (const TranscriptEntry& e : entries(TRANSCRIPT_DRAW))
        if (e.x == DASH_CLOSING_X && e.y == DASH_CLOSING_Y) centre.push_back(e.id);
    EXPECT_EQ(centre, (std::vector<s32>{60100, 60101, 60102, 60103}));
    EXPECT_EQ(draws_of(hub_block.scene_backdrop), 0);
    // The fixed statistics, each column's label, separator and value at its own x.
    const s32 labels[][2] = {{299, 533}, {321, 534}, {343, 535}, {365, 536}, {387, 537},
                             {431, 541}, {453, 542}, {475, 504}, {563, 500}, {585, 501}};
    for (const auto& [x, label] : labels) {
        EXPECT_TRUE(printed(label, x, 9)) << x;
        EXPECT_TRUE(printed(545, x, 41)) << x;
    }
    auto number_at = [](s32 x) {
        for (const TranscriptEntry& e : entries(TRANSCRIPT_PRINT_NUMBER))
            if (e.x == x && e.y == 57) return e.number;
        return -1;
    };
    EXPECT_EQ(number_at(343), 37);
    EXPECT_EQ(number_at(563), 12);
    // The best art where the dashboard shows the best skill, "none" where it shows the art.
    EXPECT_TRUE(printed(52850, 84, 221));
    EXPECT_TRUE(printed(313, 24, 221));
    EXPECT_FALSE(printed(52850, 24, 221));
}

// ---- Point search ------------------------------------------------------------------------------

TEST_F(OpeningScreensTest, PointSearchCountsHitsUpToTheSoughtPoint) {
    struct Case {
        const char* name;
        std::vector<Click> play;
        s32 result;
        std::vector<s32> messages; // the texts shown over box 60324 after the clicks
    };
    std::vector<Click> twelve_decoys;
    for (s32 i = 0; i < 12; ++i) twelve_decoys.push_back(at_search(i % 8));
    twelve_decoys.push_back(at_search(PICTURE_POINT_SOUGHT));
    std::vector<s32> twelve_messages = {30954};
    for (s32 i = 1; i < 12; ++i) twelve_messages.push_back(30957);
    const std::vector<Case> cases = {
        {"first try", {at_search(8)}, 1, {}},
        {"a corner of its reach", {at_search(8, 4, -4)}, 1, {}},
        {"one decoy", {at_search(0), at_search(8)}, 2, {30954}},
        {"two decoys", {at_search(14), at_search(13), at_search(8)}, 3, {30954, 30957}},
        // A miss inside the picture counts nothing and shows nothing new.
        {"a miss", {{400, 300}, at_search(8)}, 1, {}},
        {"just out of reach", {at_search(8, 5, 0), at_search(8)}, 1, {}},
        // Outside the picture: nothing at all.
        {"outside", {{100, 100}, {500, 200}, at_search(8)}, 1, {}},
        // (323, 218) is within reach of point 6 (323, 214) only: a decoy.
        {"a decoy next to the sought point", {{323, 218}, at_search(8)}, 2, {30954}},
        // (323, 227) is within reach of points 8 and 15: the first in order, the sought one.
        {"two points in reach", {{323, 227}}, 1, {}},
        {"the count stops at ten", twelve_decoys, 10, twelve_messages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog_record_draws(true);
        clicks(c.play);
        const size_t m = mark();
        EXPECT_EQ(picture_point_search(), c.result);
        EXPECT_EQ(opening_screen_state.hits, c.result);
        std::vector<s32> messages;
        const std::vector<TranscriptEntry>& all = dialog_transcript();
        for (size_t i = m; i < all.size(); ++i)
            if (all[i].kind == TRANSCRIPT_PRINT && all[i].text[0] != 11260 && all[i].x == 9 &&
                all[i].y == 377)
                messages.push_back(all[i].text[0]);
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(u32(world_state.cursor_id), 0u);
        EXPECT_EQ(harness_pending_input(), 0u);
    }
}

TEST_F(OpeningScreensTest, PointSearchShowsItsPictureAndTheSearchCursor) {
    dialog_record_draws(true);
    std::vector<u32> cursors;
    clicks_watching({at_search(8)}, [&cursors] { cursors.push_back(u32(world_state.cursor_id)); });
    EXPECT_EQ(picture_point_search(), 1);
    ASSERT_FALSE(cursors.empty());
    EXPECT_EQ(cursors.front(), 1u);
    EXPECT_EQ(u32(world_state.cursor_id), 0u);
    const auto all = entries(TRANSCRIPT_DRAW);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const TranscriptEntry& e) {
        return e.id == POINT_SEARCH_PICTURE && e.x == 169 && e.y == 141;
    }));
    EXPECT_TRUE(printed(11260, 9, 377));
}

// Other handler files reach the picture pair game only through its seam, which starts at the real
// game and goes back to it when the seams are reset.
TEST(OpeningScreensSeam, PicturePairSeamIsTheRealGame) {
    EXPECT_EQ(picture_pair_game_seam, &picture_pair_game);
    picture_pair_game_seam = [] { return 1; };
    calendar_seams_reset();
    EXPECT_EQ(picture_pair_game_seam, &picture_pair_game);
}

// Every picture the opening events and their screens draw is in the placeholder archive, sized
// as drawn, so each screen can be followed in a real window.
TEST(OpeningScreensPlaceholders, EveryPictureIsThereAtItsSize) {
    ArcBuilder b;
    arc_put_placeholder_content(b);
    struct Size {
        s32 first, last, w, h;
    };
    const Size sizes[] = {
        {60000, 60008, 200, 200}, {60050, 60050, 15, 17},   {60062, 60063, 307, 206},
        {60070, 60070, 352, 232}, {60071, 60080, 176, 232}, {60081, 60083, 100, 150},
        {60100, 60103, 350, 190}, {63500, 63500, 640, 480},
    };
    for (const Size& s : sizes)
        for (s32 id = s.first; id <= s.last; ++id) {
            u32 key = u32(ARC_IMAGE_BASE + id);
            const auto alias = b.aliases().find(key);
            if (alias != b.aliases().end()) key = alias->second;
            const auto it = b.entries().find(key);
            ASSERT_NE(it, b.entries().end()) << id;
            ASSERT_GE(it->second.size(), 4u) << id;
            const std::vector<u8>& e = it->second;
            EXPECT_EQ(e[0] | e[1] << 8, s.w) << id;
            EXPECT_EQ(e[2] | e[3] << 8, s.h) << id;
        }
}
