// The opening events run through the calendar table: for each case the text ids shown, in order,
// and the state the handler leaves, with forced draws, queued answers and scripted clicks on the
// screens they start. The two music waits end when the piece asked for is not the one playing.
#include "calendar/opening.h"

#include "calendar/calendar_seams.h"
#include "calendar/opening_screens.h"
#include "data/hub_block.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"
#include "platform/harness.h"
#include "platform/platform.h"
#include "tests/calendar_fixture.h"
#include "tests/opening_player.h"
#include "tools/wav.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Text ids in order: runs a..b and single ids.
struct Texts {
    std::vector<s32> ids;
    Texts& run(s32 a, s32 b) {
        for (s32 t = a; t <= b; ++t) ids.push_back(t);
        return *this;
    }
    Texts& add(std::initializer_list<s32> list) {
        ids.insert(ids.end(), list);
        return *this;
    }
    Texts& then(const std::vector<s32>& more) {
        ids.insert(ids.end(), more.begin(), more.end());
        return *this;
    }
    Texts& repeat(const Texts& part, s32 times) {
        for (s32 i = 0; i < times; ++i) ids.insert(ids.end(), part.ids.begin(), part.ids.end());
        return *this;
    }
};

bool save_file_exists(s32 slot) {
    char name[16];
    save_image_name(slot, name);
    return std::filesystem::exists(name);
}

OpeningClick grid_right(s32 kind) {
    const GridBoard& b = GRID_BOARDS[kind - 1];
    return {GRID_POINT_OFFSETS[b.column] + GRID_POINT_WINDOW_X + 4,
            GRID_POINT_OFFSETS[b.row] + GRID_POINT_WINDOW_Y + 4};
}

OpeningClick grid_wrong(s32 kind) {
    OpeningClick c = grid_right(kind);
    c.x += GRID_POINT_OFFSETS[1] - GRID_POINT_OFFSETS[0]; // the next column
    return c;
}

OpeningClick search_point(s32 index) {
    return {PICTURE_POINTS[index].x, PICTURE_POINTS[index].y};
}

// A run of the entry test: the teacher's affection, the answers, draws and board clicks, and the
// lines of the verdict.
struct EntryCase {
    const char* name;
    s32 teacher;
    std::vector<s32> answers, draws;
    std::vector<std::vector<OpeningClick>> boards;
    std::vector<s32> verdict;
};

class CalOpeningTest : public OpeningTest {
  protected:
    static void arrange(const EntryCase& c) {
        player_record.affection[OPENING_TEACHER] = c.teacher;
        dialog_answers(c.answers);
        for (s32 d : c.draws) draws({d});
        opening_play(c.boards);
    }
    static size_t count_line(const std::vector<std::string>& lines, const std::string& line) {
        return size_t(std::count(lines.begin(), lines.end(), line));
    }
};

} // namespace

// ---- Turn 1 ------------------------------------------------------------------------------------

TEST_F(CalOpeningTest, ArrivalSavesAtTheHubAndMeetsHostAndTeacher) {
    player_record.area = 1;
    player_record.affection[OPENING_HOST] = -1;
    player_record.affection[OPENING_TEACHER] = -1;
    hub_block.turns_consumed = 3;
    hub_block.scene_backdrop = 60407; // set at the turn's start
    const size_t m = mark();
    run_slot(24);
    EXPECT_EQ(texts_from(m), Texts{}.add({11000}).run(11000, 11022).ids);
    const std::vector<std::string> lines = lines_from(m);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "hub_show 0 0 -1 11000");
    EXPECT_EQ(count_line(lines, "hub_say 1 1 30 11007"), 1u);
    EXPECT_EQ(count_line(lines, "hub_say 1 1 40 11014"), 1u);
    EXPECT_TRUE(save_file_exists(2));
    EXPECT_EQ(player_record.area, AREA_HUB);
    EXPECT_EQ(player_record.affection[OPENING_HOST], 55);
    EXPECT_EQ(player_record.affection[OPENING_TEACHER], 50);
    EXPECT_EQ(hub_block.turns_consumed, 1);
    EXPECT_EQ(hub_block.scene_backdrop, 60407); // no backdrop of its own
}

// ---- Turn 3 ------------------------------------------------------------------------------------

TEST_F(CalOpeningTest, CureTakesWithConstitutionChanceOrLowersAttributes) {
    struct Case {
        const char* name;
        s32 answer;
        s32 constitution;
        std::vector<s32> draw;
        std::vector<s32> texts_after;
        s32 host_after, condition_after, sick_after, stamina_after;
    };
    const std::vector<Case> cases = {
        // Constitution 40: draws 0..3 of ten cure.
        {"cured", 0, 40, {3}, Texts{}.run(30468, 30471).add({233, 244}).ids, 56, 3, 0, 400},
        {"not cured",
         0,
         40,
         {4},
         Texts{}.run(30468, 30470).add({30472, 277, 278, 279, 244}).ids,
         56,
         6,
         5,
         100},
        {"constitution below 10 never cures",
         0,
         9,
         {0},
         Texts{}.run(30468, 30470).add({30472, 277, 278, 279, 244}).ids,
         56,
         6,
         5,
         100},
        {"declined", 1, 40, {}, Texts{}.run(30473, 30475).add({294}).ids, 52, 6, 5, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRecord& p = player_record;
        p.constitution = c.constitution;
        p.condition = 6;
        p.sick_turns = 5;
        p.stamina = 100;
        p.affection[OPENING_HOST] = 55;
        for (s32 d : c.draw) draws({d});
        answers({c.answer});
        for (s32 a = 2; a <= 4; ++a) p.attr[a] = 40;
        const size_t m = mark();
        run_slot(1);
        EXPECT_EQ(texts_from(m), Texts{}.run(30461, 30467).then(c.texts_after).ids);
        EXPECT_EQ(p.affection[OPENING_HOST], c.host_after);
        EXPECT_EQ(p.condition, c.condition_after);
        EXPECT_EQ(p.sick_turns, c.sick_after);
        EXPECT_EQ(p.stamina, c.stamina_after);
        // The attributes 2..4 are lowered only when the cure fails.
        const bool lowered = c.answer == 0 && c.condition_after != 3;
        for (s32 a = 2; a <= 4; ++a) EXPECT_EQ(p.attr[a] < 40, lowered) << a;
        EXPECT_EQ(hub_block.scene_backdrop, 60400);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        EXPECT_EQ(draws_left(), 0u);
    }
}

// ---- Turn 4 ------------------------------------------------------------------------------------

namespace {

const Texts SOUND_DEMONSTRATION =
    Texts{}.add({11074, 11224, 11075, 11076, 11077, 11078, 11079, 11080, 11081});
const Texts SOUND_QUIZ = Texts{}.run(11220, 11223);

} // namespace

TEST_F(CalOpeningTest, SoundLessonRepeatsOnRequestAndGradesTheQuiz) {
    struct Case {
        const char* name;
        std::vector<s32> answers; // demonstration choices, then quiz choices
        s32 demonstrations, quizzes;
        s32 skill10_before;
        std::vector<s32> texts_after;
        s32 teacher_delta;
        s32 skill_pool_gain; // into skill 10's and skill 1's pools
    };
    const std::vector<Case> cases = {
        {"right at once", {0, 0}, 1, 1, 20, Texts{}.run(11085, 11086).add({210, 240}).ids, 2, 100},
        {"demonstration twice, asked again, right",
         {1, 0, 3, 0},
         2,
         2,
         20,
         Texts{}.run(11085, 11086).add({210, 240}).ids,
         2,
         100},
        {"wrong", {0, 1}, 1, 1, 20, Texts{}.add({11087, 210, 290}).ids, -1, 30},
        {"third option is wrong too", {0, 2}, 1, 1, 20, Texts{}.add({11087, 210, 290}).ids, -1, 30},
        // A skill at the top gains nothing and queues no line.
        {"skill already full", {0, 0}, 1, 1, 100, Texts{}.run(11085, 11086).add({240}).ids, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRecord& p = player_record;
        p.affection[OPENING_TEACHER] = 50;
        p.skill[10] = c.skill10_before;
        p.skill[1] = 0;
        growth_pool(10) = 0;
        growth_pool(1) = 0;
        const s32 skill1_before = p.skill[1];
        dialog_answers(c.answers);
        const size_t m = mark();
        run_slot(7);
        EXPECT_EQ(texts_from(m), Texts{}
                                     .add({11066, 11067})
                                     .run(11068, 11073)
                                     .repeat(SOUND_DEMONSTRATION, c.demonstrations)
                                     .run(11082, 11084)
                                     .repeat(SOUND_QUIZ, c.quizzes)
                                     .then(c.texts_after)
                                     .ids);
        const std::vector<std::string> lines = lines_from(m);
        EXPECT_EQ(count_line(lines, "sound 600 1"), size_t(c.demonstrations + c.quizzes));
        EXPECT_EQ(count_line(lines, "sound 604 1"), size_t(c.demonstrations));
        EXPECT_EQ(p.affection[OPENING_TEACHER], 50 + c.teacher_delta);
        // The side skill grows with the lesson but has no summary line of its own.
        EXPECT_TRUE(p.skill[1] > skill1_before || growth_pool(1) > 0);
        if (c.skill_pool_gain == 0)
            EXPECT_EQ(p.skill[10], 100);
        else
            EXPECT_TRUE(p.skill[10] > c.skill10_before || growth_pool(10) > 0);
        EXPECT_EQ(hub_block.scene_backdrop, 60401);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        EXPECT_EQ(dialog_answers_left(), 0u);
    }
}

namespace {

// Music for the waits: the lesson's piece and the closing piece as short tones, and a piece that
// loops as the music of the place.
constexpr s32 LOOPING_PIECE = 10046;
constexpr u32 PIECE_MS = 1500;

class CalOpeningMusicTest : public CalOpeningTest {
  protected:
    void add_content(ArcBuilder& b) const override {
        if (with_pieces) {
            b.put(ARC_SOUND_BASE + 10045, wav_tone(WavFormat{}, PIECE_MS, 440));
            b.put(ARC_SOUND_BASE + 10003, wav_tone(WavFormat{}, PIECE_MS, 520));
        }
        b.put(ARC_SOUND_BASE + LOOPING_PIECE, wav_tone(WavFormat{}, 200, 330));
    }
    bool with_pieces = false;
};

class CalOpeningPiecesTest : public CalOpeningMusicTest {
  public:
    CalOpeningPiecesTest() { with_pieces = true; }
};

} // namespace

// The lesson's piece is played once under its first line and the lesson waits for its end.
TEST_F(CalOpeningPiecesTest, SoundLessonWaitsForThePieceToEnd) {
    ASSERT_EQ(mssw_enabled, 1);
    answers({0, 0});
    const u64 start = harness_elapsed_ms();
    const s32 music_before = player_record.music_id;
    run_slot(7);
    EXPECT_GE(harness_elapsed_ms() - start, PIECE_MS);
    EXPECT_EQ(player_record.music_id, music_before);
    EXPECT_EQ(mssw_music_playing(), 0); // stopped after the lesson's first lines
}

// An empty entry for the lesson's piece leaves the looping music of the place playing: the wait
// must end at once instead of waiting for the loop to end.
TEST_F(CalOpeningMusicTest, SoundLessonWithoutItsPieceDoesNotWaitForTheLoopingMusic) {
    ASSERT_EQ(mssw_enabled, 1);
    mssw_play_music(LOOPING_PIECE, 0);
    ASSERT_EQ(mssw_music_id, LOOPING_PIECE);
    answers({0, 0});
    const size_t m = mark();
    EXPECT_NO_THROW(run_slot(7));
    EXPECT_LT(harness_elapsed_ms(), 60'000u);
    EXPECT_EQ(texts_from(m).back(), 240);
}

// ---- Turn 6 ------------------------------------------------------------------------------------

TEST_F(CalOpeningTest, GridBoardsStopAtTheFirstWrongBoard) {
    struct Case {
        const char* name;
        std::vector<std::vector<OpeningClick>> boards;
        s32 skill11_before;
        std::vector<s32> texts_after;
        s32 teacher_delta;
        s32 boards_known;
    };
    const Texts wrong_lines = Texts{}.add({11052, 11053, 11050, 11054});
    const std::vector<Case> cases = {
        {"all three right",
         {{grid_right(1)}, {grid_right(2)}, {grid_right(3)}},
         20,
         Texts{}.add({11028, 11028}).run(11048, 11051).add({211, 240}).ids,
         2,
         3},
        {"first wrong",
         {{grid_wrong(1)}},
         20,
         Texts{}.then(wrong_lines.ids).add({211, 290}).ids,
         -1,
         1},
        {"second wrong",
         {{grid_right(1)}, {grid_wrong(2)}},
         20,
         Texts{}.add({11028}).then(wrong_lines.ids).add({211, 290}).ids,
         -1,
         2},
        // Two right answers keep the teacher's affection.
        {"third wrong",
         {{grid_right(1)}, {grid_right(2)}, {grid_wrong(3)}},
         20,
         Texts{}.add({11028, 11028}).then(wrong_lines.ids).add({211}).ids,
         0,
         3},
        {"skill full, all right",
         {{grid_right(1)}, {grid_right(2)}, {grid_right(3)}},
         100,
         Texts{}.add({11028, 11028}).run(11048, 11051).add({240}).ids,
         2,
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRecord& p = player_record;
        p.affection[OPENING_TEACHER] = 50;
        p.skill[11] = c.skill11_before;
        for (s32 id = 1; id <= 3; ++id)
            for (KnownEntry& e : p.known[11])
                if (e.id == id) e.id = -1;
        opening_play(c.boards);
        const size_t m = mark();
        run_slot(5);
        EXPECT_EQ(texts_from(m), Texts{}.run(11030, 11047).then(c.texts_after).ids);
        EXPECT_EQ(p.affection[OPENING_TEACHER], 50 + c.teacher_delta);
        for (s32 id = 1; id <= 3; ++id)
            EXPECT_EQ(known_has(11, id), id <= c.boards_known ? 1 : 0) << id;
        EXPECT_EQ(hub_block.scene_backdrop, 60405);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        EXPECT_EQ(harness_pending_input(), 0u);
    }
    const std::vector<std::string> lines = lines_from(0);
    EXPECT_EQ(count_line(lines, "hub_say 1 -1 40 11039 pic 60000 224 143"), cases.size());
    EXPECT_EQ(count_line(lines, "hub_say 1 -1 40 11044 pic 60002 224 143"), cases.size());
}

// ---- Turns 7, 8, 12, 21 and 35: lines, values and buttons --------------------------------------

TEST_F(CalOpeningTest, SmithOpensItsPlace) {
    hub_block.hub_third_avail[3][0] = 0;
    hub_block.place_events[0][3][0].on = 0;
    const size_t m = mark();
    run_slot(2);
    EXPECT_EQ(texts_from(m), Texts{}.run(56120, 56129).ids);
    const std::vector<std::string> lines = lines_from(m);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "sound 505 1");
    EXPECT_EQ(lines[2], "hub_travel");
    EXPECT_EQ(lines[3], "hub_say 1 -1 50 56121");
    EXPECT_EQ(player_record.affection[OPENING_SMITH], 50);
    EXPECT_EQ(hub_block.hub_third_avail[3][0], 1);
    EXPECT_EQ(hub_block.place_events[0][3][0].on, 1);
    EXPECT_EQ(hub_block.scene_backdrop, 60403);
    EXPECT_EQ(hub_block.turns_consumed, 1);
}

TEST_F(CalOpeningTest, PictureLessonAndPictureOfTurn12) {
    struct Case {
        s32 slot;
        s32 skill, skill_before;
        std::vector<s32> texts;
        s32 backdrop;
    };
    const std::vector<Case> cases = {
        {10, 20, 10, Texts{}.run(11141, 11163).run(11741, 11754).add({11753, 220}).ids, 60404},
        {10, 20, 100, Texts{}.run(11141, 11163).run(11741, 11754).add({11753}).ids, 60404},
        {6, 14, 10, Texts{}.run(11055, 11063).add({214}).ids, 60402},
        {6, 14, 100, Texts{}.run(11055, 11063).ids, 60402},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " skill " << c.skill_before);
        player_record.skill[c.skill] = c.skill_before;
        growth_pool(c.skill) = 0;
        const size_t m = mark();
        run_slot(c.slot);
        EXPECT_EQ(texts_from(m), c.texts);
        if (c.skill_before < 100) {
            EXPECT_TRUE(player_record.skill[c.skill] > c.skill_before || growth_pool(c.skill) > 0);
        }
        EXPECT_EQ(hub_block.scene_backdrop, c.backdrop);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
    const std::vector<std::string> lines = lines_from(0);
    EXPECT_EQ(count_line(lines, "hub_say 1 0 40 11146 pic 60081 270 148"), 2u);
    EXPECT_EQ(count_line(lines, "hub_say 1 0 40 11155 pic 60083 270 148"), 2u);
    EXPECT_EQ(count_line(lines, "hub_say 1 -1 41 11753"), 2u);
    EXPECT_EQ(count_line(lines, "hub_say 1 0 40 11062 pic 60062 169 141"), 2u);
    EXPECT_EQ(count_line(lines, "hub_say 1 0 40 11063"), 2u);
    EXPECT_EQ(known_has(14, 1), 1); // after turn 12's summary
}

TEST_F(CalOpeningTest, FirstArtIsLearntAndKeptInItsFlag) {
    struct Case {
        s32 choice, list, id;
    };
    const Case cases[] = {{0, 2, 50}, {1, 2, 51}, {2, 3, 50}, {3, 4, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        for (s32 list = 2; list <= 4; ++list)
            for (KnownEntry& e : player_record.known[list]) e.id = -1;
        player_record.story_flags[OPENING_ART_FLAG] = -1;
        answers({c.choice});
        const size_t m = mark();
        run_slot(15);
        EXPECT_EQ(texts_from(m),
                  Texts{}.run(15610, 15615).add({15616 + c.choice, 15620, 15621}).ids);
        EXPECT_EQ(known_has(c.list, c.id), 1);
        s32 arts = 0;
        for (s32 list = 2; list <= 4; ++list) arts += known_any(list);
        EXPECT_EQ(arts, 1);
        EXPECT_EQ(player_record.story_flags[OPENING_ART_FLAG], c.choice);
        EXPECT_EQ(hub_block.turns_consumed, 1);
    }
}

TEST_F(CalOpeningTest, Turn35OpensTheFullMenusAndKeepsTheTurnsOfTheAction) {
    HubBlock& h = hub_block;
    for (auto& level : h.hub_menu_avail)
        for (s32& b : level) b = 0;
    for (auto& place : h.hub_third_avail)
        for (s32& s : place) s = 0;
    h.place_events[0][0][5].on = 0;
    h.turns_consumed = 2;
    const size_t m = mark();
    run_slot(17);
    EXPECT_EQ(texts_from(m), (std::vector<s32>{15661, 15662}));
    const char* const expected[HUB_MENU_LEVELS] = {"11000111", "11111111", "11111100", "00000000",
                                                   "00000000", "00000000", "11101000", "10111111"};
    for (s32 level = 0; level < HUB_MENU_LEVELS; ++level) {
        std::string row;
        for (s32 b = 0; b < HUB_MENU_BUTTONS; ++b) row += h.hub_menu_avail[level][b] ? '1' : '0';
        EXPECT_EQ(row, expected[level]) << "level " << level;
    }
    for (s32 b = 0; b < HUB_PLACES; ++b) {
        EXPECT_EQ(h.hub_third_avail[b][0], b <= 3 ? 1 : 0) << b;
        EXPECT_EQ(h.hub_third_avail[b][1], 0) << b;
    }
    EXPECT_EQ(h.place_events[0][0][5].on, 1);
    EXPECT_EQ(h.turns_consumed, 2);
    EXPECT_EQ(h.scene_backdrop, 60402);
}

// ---- Turn 20 -----------------------------------------------------------------------------------

TEST_F(CalOpeningTest, PaymentByTeacherValuesAndMoodWhenWell) {
    struct Case {
        s32 teacher, chivalry, fame, condition;
        s32 money_after;
        s32 mood_after;
    };
    // 30 x affection + 30 x chivalry + 10 x skills 10..13 (1 + 2 + 3 + 4) + 20 x fame.
    const Case cases[] = {
        {50, 10, 5, 3, 100 + 1500 + 300 + 100 + 100, 0},
        {40, 0, 0, 4, 100 + 1200 + 100, 0},
        {50, 10, 5, 5, 100 + 2000, 2}, // injured: the mood stays
        // A damaged fame must not wrap the sum into a loss: the purse fills to its top.
        {50, 10, 2'000'000'000, 3, 99999, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition);
        PlayerRecord& p = player_record;
        p.affection[OPENING_TEACHER] = c.teacher;
        p.chivalry = c.chivalry;
        p.fame = c.fame;
        for (s32 i = 0; i < 4; ++i) p.skill[10 + i] = i + 1;
        p.condition = c.condition;
        p.mood = 2;
        p.mood_turns = 4;
        p.money = 100;
        const size_t m = mark();
        run_slot(12);
        EXPECT_EQ(texts_from(m), Texts{}.run(42051, 42057).add({42059}).ids);
        EXPECT_EQ(p.money, c.money_after);
        EXPECT_EQ(p.mood, c.mood_after);
        EXPECT_EQ(p.mood_turns, c.mood_after == 0 ? 0 : 4);
        EXPECT_EQ(hub_block.scene_backdrop, 60415);
    }
    const std::vector<std::string> lines = lines_from(0);
    EXPECT_EQ(count_line(lines, "hub_say 1 31 40 42051"), std::size(cases));
    EXPECT_EQ(count_line(lines, "hub_say 1 25 40 42052"), std::size(cases));
}

// ---- Turn 14 -----------------------------------------------------------------------------------

TEST_F(CalOpeningTest, PointSearchDecidesTheRelationAndOpensThePlace) {
    struct Case {
        const char* name;
        std::vector<OpeningClick> clicks;
        s32 skill14_before;
        std::vector<s32> found_lines, summary;
        s32 affection;
    };
    const std::vector<Case> cases = {
        {"first try", {search_point(8)}, 10, {30952, 30953}, {245, 214}, 55},
        {"first try, skill full", {search_point(8)}, 100, {30952, 30953}, {245}, 55},
        {"after a decoy", {search_point(3), search_point(8)}, 10, {30959, 30960}, {295}, 45},
    };
    const Texts rest = Texts{}
                           .run(30961, 30965)
                           .add({30967, 30969, 30970, 30971})
                           .run(30972, 30983)
                           .add({30986, 30987, 30988, 30989});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player_record.skill[14] = c.skill14_before;
        player_record.affection[OPENING_SEARCH] = 50;
        hub_block.hub_third_avail[2][0] = 0;
        opening_play({c.clicks});
        const size_t m = mark();
        run_slot(11);
        EXPECT_EQ(texts_from(m),
                  Texts{}.run(30948, 30951).then(c.found_lines).then(rest.ids).then(c.summary).ids);
        EXPECT_EQ(player_record.affection[OPENING_SEARCH], c.affection);
        EXPECT_EQ(hub_block.hub_third_avail[2][0], 1);
        EXPECT_EQ(hub_block.scene_backdrop, 60407);
        const std::vector<std::string> lines = lines_from(m);
        EXPECT_EQ(count_line(lines, "sound 689 1"), 3u);
        EXPECT_EQ(count_line(lines, "hub_say 1 40 23 30965"), 1u);
    }
}

// ---- Turn 10 -----------------------------------------------------------------------------------

namespace {

const Texts ENTRY_OPENING = Texts{}.run(11172, 11185);
const Texts PASSED = Texts{}.run(11196, 11200).run(55010, 55015);
// The test's own lines stand between 11190 and its verdict: 11191, the question, 11192, the
// picture's question and its three options.
const std::vector<s32> TEST_VERDICT_PASSED = Texts{}
                                                 .run(11187, 11191)
                                                 .run(11220, 11223)
                                                 .add({11192, 11193})
                                                 .run(11207, 11209)
                                                 .add({11195})
                                                 .ids;
const Texts FAILED = Texts{}.add({11204, 11205, 11210, 11211, 11216, 11212, 11213, 11214, 11215});

} // namespace

TEST_F(CalOpeningTest, EntryTestPassesByAffectionOrByTheTest) {
    const std::vector<EntryCase> cases = {
        {"affection 54", 54, {}, {}, {}, {11186}},
        {"affection 90", 90, {}, {}, {}, {11186}},
        // 47..53: question, board 4 + draw, picture k named.
        {"affection 53, test passed", 53, {0, 1}, {0, 1}, {{grid_right(4)}}, TEST_VERDICT_PASSED},
        {"affection 47, test passed on board 6",
         47,
         {0, 0},
         {2, 0},
         {{grid_right(6)}},
         TEST_VERDICT_PASSED},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRecord& p = player_record;
        HubBlock& h = hub_block;
        p.mood = 3;
        p.mood_turns = 5;
        for (auto& level : h.hub_menu_avail)
            for (s32& b : level) b = 0;
        arrange(c);
        const size_t m = mark();
        run_slot(4);
        EXPECT_EQ(texts_from(m),
                  Texts{}.then(ENTRY_OPENING.ids).then(c.verdict).then(PASSED.ids).ids);
        EXPECT_EQ(p.mood, 0);
        EXPECT_EQ(p.mood_turns, 0);
        EXPECT_EQ(h.hub_menu_avail[0][0], 1);
        for (s32 b = 0; b < HUB_MENU_BUTTONS; ++b) EXPECT_EQ(h.hub_menu_avail[1][b], 1) << b;
        EXPECT_EQ(h.hub_menu_avail[0][1], 0);
        EXPECT_EQ(h.scene_backdrop, 60402);
        EXPECT_EQ(h.turns_consumed, 1);
        EXPECT_EQ(draws_left(), 0u);
        EXPECT_EQ(dialog_answers_left(), 0u);
    }
}

namespace {

const std::vector<EntryCase> FAIL_CASES = {
    {"affection 46", 46, {}, {}, {}, {11206}},
    {"affection 0", 0, {}, {}, {}, {11206}},
    {"wrong answer to the question",
     50,
     {3, 1},
     {},
     {},
     Texts{}.run(11187, 11191).run(11220, 11223).run(11220, 11223).add({11203}).ids},
    {"wrong board",
     52,
     {0},
     {1},
     {{grid_wrong(5)}},
     Texts{}.run(11187, 11191).run(11220, 11223).add({11192, 11203}).ids},
    {"another picture named",
     48,
     {0, 2},
     {0, 1},
     {{grid_right(4)}},
     Texts{}
         .run(11187, 11191)
         .run(11220, 11223)
         .add({11192, 11193})
         .run(11207, 11209)
         .add({11203})
         .ids},
};

class CalOpeningEntryFailTest : public CalOpeningTest,
                                public testing::WithParamInterface<size_t> {};

} // namespace

// A failed entry test plays the closing scene and ends the program through game_quit: the window
// is asked to close, and the ending's exit code (which would start the follow-up program) stays
// unset.
TEST_P(CalOpeningEntryFailTest, FailedTestEndsTheGameWithoutTheEndingsExitCode) {
    const EntryCase& c = FAIL_CASES[GetParam()];
    SCOPED_TRACE(c.name);
    exit_code = 0;
    dialog_record_draws(true);
    arrange(c);
    const size_t m = mark();
    EXPECT_THROW(run_slot(4), PlatUnwind);
    EXPECT_EQ(texts_from(m), Texts{}.then(ENTRY_OPENING.ids).then(c.verdict).then(FAILED.ids).ids);
    const std::vector<u32>& posted = harness_posted_messages();
    EXPECT_EQ(std::count(posted.begin(), posted.end(), u32(WM_CLOSE)), 1);
    EXPECT_EQ(exit_code, 0);
    EXPECT_EQ(hub_block.scene_backdrop, 60406);
    // The closing animation over the dashboard, then the closing picture over the whole screen.
    std::vector<s32> centre;
    bool closing_picture = false;
    for (const TranscriptEntry& e : dialog_draws()) {
        if (e.x == DASH_CLOSING_X && e.y == DASH_CLOSING_Y) centre.push_back(e.id);
        if (e.id == 63500 && e.x == 0 && e.y == 0) closing_picture = true;
    }
    EXPECT_EQ(centre, (std::vector<s32>{60100, 60101, 60102, 60103}));
    EXPECT_TRUE(closing_picture);
    const std::vector<std::string> lines = lines_from(m);
    EXPECT_EQ(count_line(lines, "music 10023 1"), 1u);
    EXPECT_EQ(count_line(lines, "music 10003 1"), 1u);
    EXPECT_EQ(count_line(lines, "hub_say 0 4 -1 11216"), 1u);
    EXPECT_EQ(count_line(lines, "hub_say 1 -1 80 11215"), 1u);
    EXPECT_EQ(draws_left(), 0u);
    EXPECT_EQ(dialog_answers_left(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, CalOpeningEntryFailTest,
                         testing::Range(size_t(0), FAIL_CASES.size()));

// The closing piece is played once and the scene waits for its end before the program ends.
TEST_F(CalOpeningPiecesTest, FailedTestWaitsForTheClosingPiece) {
    ASSERT_EQ(mssw_enabled, 1);
    player_record.affection[OPENING_TEACHER] = 40;
    u64 started = 0;
    harness_on_present([&started](const u16*, u64) {
        if (mssw_music_id == 10003 && started == 0) started = harness_elapsed_ms();
    });
    EXPECT_THROW(run_slot(4), PlatUnwind);
    ASSERT_GT(started, 0u);
    EXPECT_GE(harness_elapsed_ms() - started, PIECE_MS);
}

// Without its closing piece (an empty entry) the looping music of the place keeps playing: the
// scene must not wait for it and ends the program.
TEST_F(CalOpeningMusicTest, FailedTestWithoutItsClosingPieceStillEnds) {
    ASSERT_EQ(mssw_enabled, 1);
    mssw_play_music(LOOPING_PIECE, 0);
    player_record.affection[OPENING_TEACHER] = 40;
    EXPECT_THROW(run_slot(4), PlatUnwind);
    EXPECT_EQ(mssw_music_id, LOOPING_PIECE);
    const std::vector<u32>& posted = harness_posted_messages();
    EXPECT_EQ(std::count(posted.begin(), posted.end(), u32(WM_CLOSE)), 1);
}
