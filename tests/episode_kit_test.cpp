// The episode and open-world blocks: line-ups written from rows, distinct draws over scripted
// draws, heal lists with the party, the plain button wait, runs bound to the music, the companion
// walk-out, and the counters that only program start (and the harness) reset.
#include "scripts/episode_kit.h"

#include "battle/battle.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/gisk.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/player.h"
#include "platform/harness.h"
#include "scripts/episode_state.h"
#include "tests/script_harness.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 FIG = SH_FIGURE_FIRST;

using Fighters = std::array<s32, LINEUP_FIGHTERS>;

void set_party(std::array<s32, PLAYER_PARTY> p) {
    for (s32 i = 0; i < PLAYER_PARTY; ++i) player_record.party[i] = p[size_t(i)];
}

// ---- Line-ups --------------------------------------------------------------------------------

class EpisodeKitLineup : public ScriptTest {};

// Every case starts from a record whose fighter i is 100 + i at column i, row 20 + i.
TEST_F(EpisodeKitLineup, RowsWriteTheRecordInOrder) {
    using namespace lineup;
    constexpr s32 E = 62;
    constexpr s32 K = -2; // in `col` / `row`: as the start record holds it
    struct Case {
        const char* name;
        std::vector<LineupRow> rows;
        std::array<s32, PLAYER_PARTY> party;
        Fighters fighter, col, row;
    };
    const std::array<s32, PLAYER_PARTY> none{-1, -1, -1, -1, -1};
    const Fighters keep{K, K, K, K, K, K, K, K, K, K, K, K};
    const Case cases[] = {
        {"all cleared, then the protagonist",
         {clear_all(), fighter(0, 0)},
         none,
         {0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
         {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
         {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        {"one side cleared, the other kept",
         {clear_foes()},
         none,
         {100, 101, 102, 103, 104, 105, -1, -1, -1, -1, -1, -1},
         {K, K, K, K, K, K, -1, -1, -1, -1, -1, -1},
         {K, K, K, K, K, K, -1, -1, -1, -1, -1, -1}},
        {"a fighter at a fixed cell; an index past the end is the last fighter",
         {fighter(1, 203, 9, 8), fighter(99, 7)},
         none,
         {100, 203, 102, 103, 104, 105, 106, 107, 108, 109, 110, 7},
         {K, 9, K, K, K, K, K, K, K, K, K, -1},
         {K, 8, K, K, K, K, K, K, K, K, K, -1}},
        {"placed at random without changing who",
         {place(0, -1, -1), fighter(6, 77)},
         none,
         {100, 101, 102, 103, 104, 105, 77, 107, 108, 109, 110, 111},
         {-1, K, K, K, K, K, -1, K, K, K, K, K},
         {-1, K, K, K, K, K, -1, K, K, K, K, K}},
        {"party entries above 0 as fighters p + 1; the others keep theirs",
         {party()},
         {200, -1, 131, 0, 5},
         {100, 200, 102, 131, 104, 5, 106, 107, 108, 109, 110, 111},
         keep,
         keep},
        {"party entries 1..4 only",
         {party(1, 4)},
         {200, 118, -1, -1, 143},
         {100, 101, 118, 103, 104, 143, 106, 107, 108, 109, 110, 111},
         keep,
         keep},
        {"fixed allies, then the party into the first free of 1..4; the last member left out",
         {fighter(0, 0), fighter(1, 169), fighter(2, 81), fighter(3, -1), fighter(4, -1),
          fighter(5, -1), party_free(1, 4)},
         {203, 0, 204, 205, -1},
         {0, 169, 81, 203, 204, -1, 106, 107, 108, 109, 110, 111},
         {-1, -1, -1, -1, -1, -1, K, K, K, K, K, K},
         {-1, -1, -1, -1, -1, -1, K, K, K, K, K, K}},
        {"a fallen companion is left out",
         {clear_own(), fighter(0, 0), fighter_alive(1, 231), fighter_alive(2, 234),
          background(25863)},
         none,
         {0, -1, 234, -1, -1, -1, 106, 107, 108, 109, 110, 111},
         {-1, -1, -1, -1, -1, -1, K, K, K, K, K, K},
         {-1, -1, -1, -1, -1, -1, K, K, K, K, K, K}},
    };
    roster[231].hp = 0;
    roster[234].hp = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EncounterRecord& e = encounters[E];
        for (s32 i = 0; i < LINEUP_FIGHTERS; ++i) {
            e.fighter[i] = 100 + i;
            e.col[i] = i;
            e.row[i] = 20 + i;
        }
        set_party(c.party);
        lineup_write(E, c.rows);
        for (s32 i = 0; i < LINEUP_FIGHTERS; ++i) {
            const size_t k = size_t(i);
            EXPECT_EQ(e.fighter[i], c.fighter[k]) << "fighter " << i;
            EXPECT_EQ(e.col[i], c.col[k] == K ? i : c.col[k]) << "col " << i;
            EXPECT_EQ(e.row[i], c.row[k] == K ? 20 + i : c.row[k]) << "row " << i;
        }
    }
    EXPECT_EQ(encounters[E].background, 25863);
}

TEST_F(EpisodeKitLineup, AnEncounterOutsideTheTableIsLeftAlone) {
    const EncounterRecord first = encounters[0];
    const EncounterRecord last = encounters[ENCOUNTER_COUNT - 1];
    const LineupRow rows[] = {lineup::clear_all(), lineup::background(1)};
    lineup_write(-1, rows);
    lineup_write(ENCOUNTER_COUNT, rows);
    EXPECT_EQ(std::memcmp(&first, &encounters[0], sizeof first), 0);
    EXPECT_EQ(std::memcmp(&last, &encounters[ENCOUNTER_COUNT - 1], sizeof last), 0);
}

// ---- Heal lists with the party ---------------------------------------------------------------

TEST(EpisodeKitHealList, ThePartyFillsTheEmptyPlacesAfterTheGivenIds) {
    struct Case {
        const char* name;
        HealList list;
        std::array<s32, PLAYER_PARTY> party;
        std::array<s32, 11> ids;
    };
    HealList given;
    given.who = 0;
    given.ids = {200, -1, 118, -1, -1, -1, -1, -1, -1, -1, -1};
    HealList given_party = given;
    given_party.with_party = true;
    HealList full = given_party;
    full.ids = {1, 2, 3, 4, 5, 6, 7, 8, 9, -1, 11};
    const Case cases[] = {
        {"the party alone",
         heal_with_party(0),
         {203, -1, 131, 0, 5},
         {203, 131, 5, -1, -1, -1, -1, -1, -1, -1, -1}},
        {"without the flag the party is not healed",
         given,
         {203, 204, -1, -1, -1},
         {200, -1, 118, -1, -1, -1, -1, -1, -1, -1, -1}},
        {"given ids keep their places",
         given_party,
         {203, 204, 205, -1, -1},
         {200, 203, 118, 204, 205, -1, -1, -1, -1, -1, -1}},
        {"no room: the members after the first are left out",
         full,
         {203, 204, -1, -1, -1},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 203, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_party(c.party);
        EXPECT_EQ(heal_list_ids(c.list), c.ids);
    }
}

class EpisodeKitHeal : public ScriptTest {};

TEST_F(EpisodeKitHeal, BattleBlockHealsThePartyAsItStandsAfterTheFight) {
    set_party({203, -1, 131, -1, -1});
    for (const s32 id : {203, 131, 204}) {
        roster[id].hp_max = 500;
        roster[id].hp = 1;
    }
    player_record.hp = 1;
    BattleBlock b;
    b.encounter = 80;
    b.heal_part = heal_with_party(0);
    EXPECT_EQ(battle_block(b), BATTLE_WON);
    EXPECT_EQ(roster[203].hp, 201);
    EXPECT_EQ(roster[131].hp, 201);
    EXPECT_EQ(roster[204].hp, 1);
    EXPECT_GT(player_record.hp, 1);
}

// ---- Distinct draws --------------------------------------------------------------------------

class EpisodeKitDraw : public ScriptTest {};

TEST_F(EpisodeKitDraw, PicksAreDistinctUniformAndNeverRedrawn) {
    struct Case {
        const char* name;
        s32 count;
        bool (*eligible)(s32);
        size_t want;
        std::vector<s32> draws; // each answers script_rand(remaining)
        std::vector<s32> picked;
    };
    const auto odd = [](s32 i) { return i % 2 == 1; };
    const auto two = [](s32 i) { return i == 2 || i == 7; };
    const auto nobody = [](s32) { return false; };
    const auto all = [](s32) { return true; };
    const Case cases[] = {
        // Pool 1 3 5 7 9: 4 picks 9 (9 3 5 7 1), 0 picks 3, 2 of 5 7 1 picks 1.
        {"three of five", 10, odd, 3, {4, 0, 2}, {9, 3, 1}},
        {"one of all", 10, all, 1, {6}, {6}},
        {"as many as eligible: all, ascending, nothing drawn", 10, odd, 5, {}, {1, 3, 5, 7, 9}},
        {"fewer eligible than wanted: all of them", 63, two, 6, {}, {2, 7}},
        {"none eligible", 63, nobody, 6, {}, {}},
        {"no candidates at all", -5, all, 3, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const s32 d : c.draws) sh_rand({d});
        std::vector<s32> out(c.want, -9);
        const s32 n = draw_distinct(c.count, c.eligible, out);
        out.resize(size_t(n));
        EXPECT_EQ(out, c.picked);
        EXPECT_EQ(sh_rand_left(), 0u);
    }
}

// ---- The button wait -------------------------------------------------------------------------

class EpisodeKitWait : public ScriptTest {};

TEST_F(EpisodeKitWait, AButtonHeldBeforeTheWaitDoesNotEndItAndTheClickIsCleared) {
    mouse_buttons = 1; // the click that opened the screen
    const u64 presents = harness_presents();
    harness_click(320, 240, 1, at_present(presents + 5));
    wait_button();
    EXPECT_GE(harness_presents(), presents + 5);
    EXPECT_EQ(mouse_buttons.peek(), 0u);
    EXPECT_EQ(click_kind.peek(), 0u);
    EXPECT_EQ(click_x.peek(), 0);
    EXPECT_EQ(click_y.peek(), 0);
}

// ---- Stopwatch runs and the music ------------------------------------------------------------

constexpr s32 PIECE = 10045;         // played once, 1000 ms
constexpr s32 PIECE_LOOPING = 10046; // a background track
constexpr u32 PIECE_MS = 1000;

class EpisodeKitMusic : public ::testing::Test {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            b.put(ARC_SOUND_BASE + PIECE, wav_tone(WavFormat{}, PIECE_MS, 440));
            b.put(ARC_SOUND_BASE + PIECE_LOOPING, wav_tone(WavFormat{}, 200, 330));
        });
        sh_object(70, {.x = PX + 50, .y = PY, .frame = FIG});
    }
    void TearDown() override { sh_stop(); }
    HarnessTempDir dir;
};

TEST_F(EpisodeKitMusic, StopwatchStepsWaitTheirTimeAndRepeatOnlyWhileThePiecePlays) {
    ASSERT_EQ(mssw_enabled, 1);
    FrameRun once{.obj = 70, .first = FIG, .step = 2, .count = 3, .ms = 300};
    u64 start = harness_elapsed_ms();
    EXPECT_EQ(stopwatch_frames(once), 1);
    EXPECT_GE(harness_elapsed_ms() - start, 900u);
    EXPECT_EQ(obj_get_frame(70), FIG + 4);

    // Rounds of 600 ms: the second starts while the piece plays, the third would not.
    mssw_play_music(PIECE, 1);
    FrameRun bound{.obj = 70, .first = FIG, .step = 2, .count = 2, .ms = 300, .piece = PIECE};
    start = harness_elapsed_ms();
    EXPECT_EQ(stopwatch_frames(bound), 2);
    EXPECT_GE(harness_elapsed_ms() - start, 1200u);
    EXPECT_EQ(obj_get_frame(70), FIG + 2);
}

TEST_F(EpisodeKitMusic, MusicLoopsEndWhenThePieceChangesOrAtTheirBound) {
    mssw_play_music(PIECE_LOOPING, 0);
    std::vector<s32> seen;
    EXPECT_EQ(music_loop(PIECE_LOOPING, 50,
                         [&](s32 round) {
                             seen.push_back(round);
                             if (round == 2) mssw_play_music(PIECE, 1); // another piece starts
                         }),
              3);
    EXPECT_EQ(seen, (std::vector<s32>{0, 1, 2}));
    // The new piece plays, but the loop was bound to the old one; a looping track ends at the
    // bound.
    EXPECT_EQ(music_loop(PIECE_LOOPING, 50, [](s32) {}), 0);
    mssw_stop_music();
    mssw_play_music(PIECE_LOOPING, 0);
    EXPECT_EQ(music_loop(PIECE_LOOPING, 5, [](s32) {}), 5);

    // The wait ends with the piece, or at its bound while a track loops.
    mssw_stop_music();
    mssw_play_music(PIECE, 1);
    const u32 waited = music_wait(PIECE, 10000);
    EXPECT_GE(waited, PIECE_MS - 20);
    EXPECT_LT(waited, PIECE_MS + 500);
    EXPECT_EQ(music_wait(PIECE, 10000), 0u);
    mssw_play_music(PIECE_LOOPING, 0);
    EXPECT_GE(music_wait(PIECE_LOOPING, 700), 700u);
    EXPECT_EQ(mssw_music_playing(), 1);
}

TEST_F(EpisodeKitMusic, MusicPacedFramesCycleWhileThePiecePlaysAndStopAtTheirBound) {
    // Tested before every step: a piece of 1000 ms lets four 300-ms steps start; the first step
    // wraps a frame that lies above the range.
    obj_show_frame(70, FIG + 40);
    mssw_play_music(PIECE, 1);
    const MusicFrames cycle{.obj = 70, .piece = PIECE, .first = FIG, .last = FIG + 20};
    const s32 shown = music_frames(cycle);
    EXPECT_EQ(shown, 4);
    EXPECT_EQ(obj_get_frame(70), FIG + 2 * (shown - 1));
    // Nothing plays (or the sound is off): nothing is shown.
    obj_show_frame(70, FIG + 40);
    EXPECT_EQ(music_frames(cycle), 0);
    EXPECT_EQ(obj_get_frame(70), FIG + 40);

    // Tested only at the wrap: the ten frames of the range play through once although the piece
    // ended after four of them.
    obj_show_frame(70, FIG);
    mssw_play_music(PIECE, 1);
    const MusicFrames gesture{.obj = 70,
                              .piece = PIECE,
                              .first = FIG,
                              .last = FIG + 9,
                              .step = 1,
                              .ms = 300,
                              .end_at_wrap = true};
    EXPECT_EQ(music_frames(gesture), 10);
    EXPECT_EQ(obj_get_frame(70), FIG);

    // A track that loops for ever ends at the bound of virtual time, in both modes.
    mssw_play_music(PIECE_LOOPING, 0);
    for (bool at_wrap : {false, true}) {
        const u64 start = harness_elapsed_ms();
        MusicFrames endless = gesture;
        endless.piece = PIECE_LOOPING;
        endless.end_at_wrap = at_wrap;
        endless.max_ms = 3000;
        EXPECT_EQ(music_frames(endless), 10) << at_wrap;
        EXPECT_LT(harness_elapsed_ms() - start, 4000u);
    }
}

// ---- Companion walk-out ----------------------------------------------------------------------

struct Seen {
    s32 map = -1, x = 0, y = 0, active = -1, frame = 0;
};
Seen mate_during_talk[2];
const s32 MATES[2] = {1058, 1059};

void talk_part() {
    for (size_t i = 0; i < 2; ++i)
        mate_during_talk[i] = {attr_get(MATES[i], ATTR_MAP), attr_get(MATES[i], ATTR_X),
                               attr_get(MATES[i], ATTR_Y), attr_get(MATES[i], ATTR_ACTIVE),
                               obj_get_frame(MATES[i])};
    attr_set(0, ATTR_X, PX + 100); // the player has moved during the talk
}

class EpisodeKitWalkOut : public ScriptTest {};

TEST_F(EpisodeKitWalkOut, CompanionsComeOutTalkAndGoBackOntoThePlayer) {
    using namespace cell;
    for (const s32 m : MATES) sh_object(m, {.map = 5, .x = 10, .y = 10, .active = false});
    static constexpr Cell talk[] = {S(33019_t), P(33142_t), B(1059_obj, 33145_t)};
    WalkOut w;
    w.mates[0] = {
        .obj = 1058, .frame = FIG, .x = 60, .y = 20, .offset = true, .out_frame = FIG + 4};
    w.mates[1] = {.obj = 1059, .frame = -FIG, .x = PX - 40, .y = PY - 40, .offset = false};
    w.speed = 30; // held to the walk-out's range
    w.turn = {2, 1};
    w.cells = talk;
    w.talk = talk_part;
    companion_walk_out(w);

    EXPECT_EQ(sh_lines(), (std::vector<std::string>{"say_at 1058 33019", "say 2 1000 33142",
                                                    "say_at 1059 33145"}));
    const Seen first = mate_during_talk[0], second = mate_during_talk[1];
    EXPECT_EQ(first.map, SH_MAP);
    EXPECT_EQ(first.active, 1);
    EXPECT_EQ(first.x, PX + 60);
    EXPECT_EQ(first.y, PY + 20);
    EXPECT_EQ(first.frame, FIG + 4);
    EXPECT_EQ(second.active, 1);
    EXPECT_EQ(second.x, PX - 40);
    EXPECT_EQ(second.y, PY - 40);
    for (const s32 m : MATES) {
        SCOPED_TRACE(m);
        EXPECT_EQ(attr_get(m, ATTR_ACTIVE), 0);
        EXPECT_EQ(attr_get(m, ATTR_X), PX + 100);
        EXPECT_EQ(attr_get(m, ATTR_Y), PY);
    }
}

TEST_F(EpisodeKitWalkOut, ARowWithoutCompanionsDoesNothing) {
    WalkOut w;
    w.talk = talk_part;
    mate_during_talk[0] = {};
    companion_walk_out(w);
    EXPECT_EQ(mate_during_talk[0].active, -1);
    EXPECT_EQ(attr_get(0, ATTR_X), PX);
}

// ---- Episode counters ------------------------------------------------------------------------

EPISODE_COUNTER(test_quiz_score, 7);
EPISODE_COUNTERS(test_crowd, 3, -1);

class EpisodeKitState : public ScriptTest {};

TEST_F(EpisodeKitState, OnlyTheResetAndTheHarnessStartPutCountersBack) {
    EXPECT_EQ(test_quiz_score, 7);
    test_quiz_score = 12;
    test_crowd[2] = 4;
    ASSERT_NE(episode_counter_find("test_crowd"), nullptr);
    EXPECT_EQ(episode_counter_find("test_crowd")->count, 3);
    EXPECT_EQ(episode_counter_find("no_such_counter"), nullptr);
    // A second home for a name, or a malformed one, is refused and changes nothing.
    s32 other = 0;
    EXPECT_FALSE(episode_counter_add({"test_quiz_score", &other, 1, 3}));
    EXPECT_FALSE(episode_counter_add({"test_nothing", nullptr, 1, 3}));
    EXPECT_FALSE(episode_counter_add({"test_empty", &other, 0, 3}));
    EXPECT_EQ(test_quiz_score, 12);
    EXPECT_EQ(other, 0);

    episode_state_reset();
    EXPECT_EQ(test_quiz_score, 7);
    EXPECT_EQ(test_crowd[0], -1);
    EXPECT_EQ(test_crowd[2], -1);

    // A new test start: the counters and the encounter table are back as at program start.
    const s32 foe = encounters[40].fighter[6];
    encounters[40].fighter[6] = 999;
    test_quiz_score = 30;
    sh_stop();
    sh_start();
    EXPECT_EQ(test_quiz_score, 7);
    EXPECT_EQ(encounters[40].fighter[6], foe);
}

} // namespace
