// The handler frame of the calendar handlers: the lines runner read back from the transcript, the
// summary box, growth with its summary lines, the injury step, the battle result words, entries
// and schedule writes, and the return and launcher protocols as the hub relies on them.
#include "battle/battle.h"
#include "calendar/frame.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/world_state.h"
#include "game/calendar_table.h"
#include "game/growth.h"
#include "game/hub.h"
#include "game/player.h"
#include "game/titles.h"
#include "platform/harness.h"
#include "tests/calendar_fixture.h"
#include "tests/hub_fixture.h"
#include "tools/wav.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

using namespace cal_literals;

namespace {

// A row field takes only its own kind of id: a person where a text belongs, or a bare number,
// does not compile.
template <typename T> constexpr bool fits_text = requires {
    CalLine{.text = T{}};
};
template <typename T> constexpr bool fits_right = requires {
    CalLine{.right = {T{}}};
};
static_assert(fits_text<CalText>);
static_assert(!fits_text<CalPerson>);
static_assert(!fits_text<s32>);
static_assert(fits_right<CalPerson>);
static_assert(!fits_right<CalText>);
static_assert(!fits_right<s32>);
static_assert(!std::is_convertible_v<CalPicture, CalSound>);
static_assert(cal_attr(2) == CalGrowth{27} && cal_skill(10) == CalGrowth{10});

class CalendarFrameTest : public HubTest {
  protected:
    void SetUp() override {
        HubTest::SetUp();
        hub_restart = -1;
        world_state.field_active = 0;
    }
    void TearDown() override {
        battle_run_seam = battle_run;
        HubTest::TearDown();
    }
    // The transcript from `mark` on.
    static std::vector<std::string> lines_from(size_t mark) {
        const std::vector<std::string> all = dialog_lines();
        return {all.begin() + std::min(mark, all.size()), all.end()};
    }
};

bool save_file_exists(s32 slot) {
    char name[16];
    save_image_name(slot, name);
    return std::filesystem::exists(name);
}

} // namespace

TEST_F(CalendarFrameTest, LinesRunnerSaysRunsWithTheirSpeakersAndSceneChanges) {
    constexpr CalLine rows[] = {
        // 30461-30465 [30] shortened, then a choice with the same figure.
        {.text = 30461_t, .to = 30462_t, .right = {30_p}, .choose = {30466_t, 30467_t}},
        // Persons at the right take the lines in turn.
        {.backdrop = 60406_pic, .text = 13508_t, .to = 13510_t, .right = {20_p, 30_p}},
        // sound, travel, [23; left 40]
        {.sound = 689_snd, .travel = true, .text = 30965_t, .right = {23_p}, .left = {40_p}},
        // travel, backdrop 60402, 13802 [70; left 40]
        {.travel = true, .backdrop = 60402_pic, .text = 13802_t, .right = {70_p}, .left = {40_p}},
        // [-]: narration; [-; left 3]; [50; left -]
        {.text = 30470_t},
        {.text = 30472_t, .left = {3_p}},
        {.text = 56121_t, .right = {50_p}, .left = {CAL_NOBODY}},
        // [-, 420; left 170]: an empty place in the cast is narration.
        {.text = 31265_t, .to = 31266_t, .right = {CAL_NOBODY, 420_p}, .left = {170_p}},
        // A line of the protagonist with a figure at the right.
        {.text = 26356_t, .right = {125_p}, .speaker = CalSpeaker::Left},
        // pic 60000 (224, 143): 11039-11040 [40; left -], and a picture over the portraits.
        {.text = 11039_t,
         .to = 11040_t,
         .right = {40_p},
         .left = {CAL_NOBODY},
         .pic = {60000_pic, 224, 143}},
        {.text = 11043_t, .right = {40_p}, .pic = {60001_pic, 10, 20, true}},
    };
    dialog_answer(1);
    const size_t mark = dialog_lines().size();
    EXPECT_EQ(cal_lines(rows), 1);
    const std::vector<std::string> expect = {
        "hub_say 1 0 30 30461",
        "hub_say 1 0 30 30462",
        "hub_choose 0 0 30 30466 30467 0 0 -> 1",
        "hub_say 1 0 20 13508",
        "hub_say 1 0 30 13509",
        "hub_say 1 0 20 13510",
        "sound 689 1",
        "hub_travel",
        "hub_say 1 40 23 30965",
        "hub_travel",
        "hub_say 1 40 70 13802",
        "hub_say 0 0 -1 30470",
        "hub_say 0 3 -1 30472",
        "hub_say 1 -1 50 56121",
        "hub_say 0 170 -1 31265",
        "hub_say 1 170 420 31266",
        "hub_say 0 0 125 26356",
        "hub_say 1 -1 40 11039 pic 60000 224 143",
        "hub_say 1 -1 40 11040 pic 60000 224 143",
        "hub_say 1 0 40 11043 over 60001 10 20",
    };
    EXPECT_EQ(lines_from(mark), expect);
    EXPECT_EQ(hub_block.scene_backdrop, 60402); // the last one set
}

TEST_F(CalendarFrameTest, ShowRevealsTheFirstLineThenSaysItAndMusicIsStored) {
    const size_t mark = dialog_lines().size();
    EXPECT_EQ(cal_lines({
                  {.music = 10033_mus},
                  {.fade_out = true, .show = true, .text = 14020_t, .to = 14021_t, .right = {30_p}},
                  {.travel = true}, // a row of scene changes only
              }),
              -1);
    const std::vector<std::string> expect = {
        "music 10033 0", "hub_show 1 0 30 14020", "hub_say 1 0 30 14020", "hub_say 1 0 30 14021",
        "hub_travel",
    };
    EXPECT_EQ(lines_from(mark), expect);
    EXPECT_EQ(player_record.music_id, 10033);
}

TEST_F(CalendarFrameTest, RunsAreBoundedWhateverTheirRange) {
    struct Case {
        CalText text, to;
        size_t says;
    };
    const Case cases[] = {
        {11000_t, 0_t, 1},       // one line
        {11005_t, 11001_t, 1},   // a range written backwards is one line, not a wrap-around
        {0_t, 11003_t, 0},       // no first text: nothing said
        {1_t, 2000000000_t, 200} // a mistyped range stops at the run limit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(cal_id(c.text));
        const size_t mark = dialog_lines().size();
        cal_lines({{.text = c.text, .to = c.to}});
        EXPECT_EQ(lines_from(mark).size(), c.says);
    }
}

TEST_F(CalendarFrameTest, SummaryShowsUpToFourQueuedLinesInOrder) {
    struct Case {
        std::vector<s32> queued;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {{231, 232}, {"hub_say_lines 231 232 0 0"}},
        {{0, 233, -1, 244}, {"hub_say_lines 233 244 0 0"}}, // empty places are skipped
        {{}, {}},                                           // nothing queued: no box
        {{277, 278, 279, 244}, {"hub_say_lines 277 278 279 244"}},
        // A fifth line shows the full box first; nothing is lost.
        {{211, 212, 213, 214, 240}, {"hub_say_lines 211 212 213 214", "hub_say_lines 240 0 0 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.queued.size());
        const size_t mark = dialog_lines().size();
        CalSummary sum;
        for (s32 t : c.queued) cal_summary_add(sum, CalText{t});
        cal_summary_show(sum);
        EXPECT_EQ(lines_from(mark), c.shown);
        EXPECT_EQ(sum.count, 0);
        // Shown once: a second call shows nothing.
        const size_t after = dialog_lines().size();
        cal_summary_show(sum);
        EXPECT_EQ(dialog_lines().size(), after);
    }
}

TEST_F(CalendarFrameTest, GainFeedsTheRightPoolAndQueuesItsLine) {
    PlayerRecord& p = player_record;
    for (s32& v : p.attr) v = 50;
    for (s32& v : p.attr_exp) v = 0;
    p.skill[10] = 100;
    p.skill_exp[10] = 0;
    p.skill[11] = 0;
    p.skill_exp[11] = 0;

    CalSummary sum;
    // Attribute 2 is growth index 27, whose pool is stored as attr_exp[3]; 28's as attr_exp[2].
    EXPECT_EQ(cal_gain(sum, cal_attr(2), 1000), 1);
    EXPECT_GT(p.attr[2], 50);
    EXPECT_EQ(p.attr[3], 50);
    EXPECT_EQ(p.attr_exp[2], 0);
    EXPECT_EQ(cal_gain(sum, CalGrowth{28}, 5), 1);
    EXPECT_EQ(p.attr_exp[2], 5); // below one level's cost: stays in 28's pool
    // A value at 100 takes nothing and queues nothing.
    EXPECT_EQ(cal_gain(sum, cal_skill(10), 100), 0);
    EXPECT_EQ(p.skill_exp[10], 0);
    EXPECT_EQ(cal_gain_loud(sum, cal_skill(11), 30), 1);
    EXPECT_GT(p.skill[11], 0);
    // Indices past the skills and attributes change nothing.
    const s32 fame_exp = p.fame_exp;
    EXPECT_EQ(cal_gain(sum, CalGrowth{31}, 100), 0);
    EXPECT_EQ(p.fame_exp, fame_exp);
    EXPECT_EQ(cal_gain(sum, CalGrowth{32}, 100), 0);
    EXPECT_EQ(cal_gain(sum, CalGrowth{-1}, 100), 0);
    EXPECT_EQ(sum.count, 3);
    EXPECT_EQ(sum.text[0], 227);
    EXPECT_EQ(sum.text[1], 228);
    EXPECT_EQ(sum.text[2], 211);

    // A pool at the top of its range (from a saved game) saturates instead of wrapping.
    CalSummary top;
    p.skill[12] = 99;
    p.skill_exp[12] = INT32_MAX - 5;
    EXPECT_EQ(cal_gain(top, cal_skill(12), 100), 1);
    EXPECT_GE(p.skill_exp[12], 0);

    CalSummary loss;
    p.attr[4] = 60;
    cal_lower(loss, cal_attr(4), 50);
    EXPECT_LT(p.attr[4], 60);
    cal_lower(loss, CalGrowth{40}, 50);
    ASSERT_EQ(loss.count, 1);
    EXPECT_EQ(loss.text[0], 279);
}

TEST_F(CalendarFrameTest, InjuryStepSetsSicknessAndQueuesItsLine) {
    struct Case {
        s32 spread, lowest, highest;
    };
    const Case cases[] = {{CAL_INJURY_SPREAD, 2, 4}, {4, 2, 5}, {0, 2, 2}, {-3, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spread);
        bool seen[8] = {};
        for (u32 seed = 1; seed <= 60; seed++) {
            rt_rand_state = seed * 7919u;
            CalSummary sum;
            cal_summary_add(sum, 231_t);
            player_record.condition = 0;
            cal_injury(sum, c.spread);
            cal_summary_add(sum, CAL_INJURY_EXTRA);
            const s32 sick = player_record.sick_turns;
            ASSERT_GE(sick, c.lowest);
            ASSERT_LE(sick, c.highest);
            seen[sick] = true;
            EXPECT_EQ(player_record.condition, 5);
            ASSERT_EQ(sum.count, 3);
            EXPECT_EQ(sum.text[1], 468 + sick);
            EXPECT_EQ(sum.text[2], 281);
        }
        for (s32 s = c.lowest; s <= c.highest; s++) EXPECT_TRUE(seen[s]) << s;
    }
}

TEST_F(CalendarFrameTest, BattleResultWords) {
    static s32 fought = -1;
    static s32 answer = 0;
    battle_run_seam = [](s32 encounter) {
        fought = encounter;
        return answer;
    };
    struct Case {
        s32 result;
        bool won, not_won, lost;
    };
    const Case cases[] = {
        {BATTLE_LOST, false, true, true},
        {BATTLE_WON, true, false, false},
        {BATTLE_TIME_UP, false, true, false}, // the round limit is not won, and not lost
    };
    for (const Case& c : cases) {
        answer = c.result;
        const s32 r = cal_battle(19 + c.result);
        EXPECT_EQ(fought, 19 + c.result);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(cal_won(r), c.won) << c.result;
        EXPECT_EQ(cal_not_won(r), c.not_won) << c.result;
        EXPECT_EQ(cal_lost(r), c.lost) << c.result;
    }
}

TEST_F(CalendarFrameTest, EntriesSwitchInTheirTablesAndNeverPastThem) {
    HubBlock& h = hub_block;
    h.encounter_pool_a[7] = {25, 1};
    h.encounter_pool_b[16] = {32, 0};
    h.encounter_pool_c[3] = {143, 0};
    h.place_events[0][3][0] = {67, 0};
    cal_close(cal_pool_a(7));
    cal_open(cal_pool_b(16));
    cal_open(cal_pool_c(3));
    cal_open(cal_place(0, 3, 0));
    EXPECT_EQ(h.encounter_pool_a[7].on, 0);
    EXPECT_EQ(cal_is_off(cal_pool_a(7)), 1);
    EXPECT_EQ(cal_is_open(cal_pool_b(16)), 1);
    EXPECT_EQ(cal_is_open(cal_pool_c(3)), 1);
    EXPECT_EQ(cal_is_open(cal_place(0, 3, 0)), 1);
    cal_empty(cal_pool_b(16));
    EXPECT_EQ(h.encounter_pool_b[16].slot, -1);
    EXPECT_EQ(h.encounter_pool_b[16].on, 0);
    // An open entry without a slot cannot be drawn.
    h.encounter_pool_b[4] = {-1, 1};
    EXPECT_EQ(cal_is_open(cal_pool_b(4)), 0);

    // Addresses outside the tables touch nothing.
    const HubBlock before = h;
    for (const CalEntry& e :
         {cal_pool_a(100), cal_pool_a(-1), cal_pool_b(100), cal_pool_c(30), cal_place(2, 0, 0),
          cal_place(0, 7, 0), cal_place(1, 6, 30), cal_place(-1, 0, 0)}) {
        EXPECT_EQ(cal_entry(e), nullptr);
        cal_open(e);
        cal_empty(e);
        EXPECT_EQ(cal_is_open(e), 0);
        EXPECT_EQ(cal_is_off(e), 0);
    }
    cal_menu(8, 0, 1);
    cal_menu(0, 8, 1);
    cal_place_button(8, 0, 1);
    cal_place_button(0, 2, 1);
    EXPECT_EQ(std::memcmp(&before, &h, sizeof h), 0);

    cal_menu(5, 2, 1);
    cal_place_button(3, 0, 1);
    EXPECT_EQ(h.hub_menu_avail[5][2], 1);
    EXPECT_EQ(cal_place_button_on(3, 0), 1);
    cal_place_button(3, 0, 0);
    EXPECT_EQ(cal_place_button_on(3, 0), 0);
}

TEST_F(CalendarFrameTest, ScheduleWritePastTheCalendarWritesNothing) {
    HubBlock& h = hub_block;
    EXPECT_EQ(cal_schedule_before(59, 136), 0);
    EXPECT_EQ(cal_schedule_after(95, 196), 0);
    EXPECT_EQ(h.turn_events_before[59], 136);
    EXPECT_EQ(h.turn_events_after[95], 196);
    // "after (current turn + 5)" from a late turn: the entry past the schedule's end is the first
    // notice flag; it must stay as it is.
    const HubBlock before = h;
    EXPECT_EQ(cal_schedule_after(HUB_TURNS - 3 + 5, 124), -1);
    EXPECT_EQ(cal_schedule_after(HUB_TURNS, 124), -1);
    EXPECT_EQ(cal_schedule_before(HUB_TURNS, 124), -1);
    EXPECT_EQ(cal_schedule_before(-1, 124), -1);
    EXPECT_EQ(std::memcmp(&before, &h, sizeof h), 0);
}

namespace {

// The launcher under test and what it saw.
struct LaunchLog {
    bool accept = true; // the intro starts the episode
    bool load = false;  // a game is loaded during the episode
    s32 intro_runs = 0, scene_runs = 0, outro_runs = 0;
    s32 turn_at_outro = -1;
    bool outro_resumed = false;
};
LaunchLog launch_log;

bool fake_intro() {
    launch_log.intro_runs++;
    cal_lines({{.text = 13506_t, .right = {40_p}}});
    return launch_log.accept;
}
void fake_scene() {
    launch_log.scene_runs++;
    if (launch_log.load)
        hub_restart = 1;
    else
        world_state.field_active = 0; // the episode's script ends it
}
void fake_outro(bool resumed) {
    launch_log.outro_runs++;
    launch_log.turn_at_outro = hub_block.calendar_turn;
    launch_log.outro_resumed = resumed;
}

} // namespace

TEST_F(CalendarFrameTest, LauncherProtocol) {
    struct Case {
        const char* name;
        bool resumed, accept, load;
        CalEndOrder order;
        s32 turns;
        CalLaunch result;
        s32 intro_runs, outro_runs;
        s32 turn_delta;       // turns ended by the launcher
        bool outro_after_end; // the outro saw the new turn
        bool saved;           // slot 2 written, area back at the hub
    };
    using O = CalEndOrder;
    using L = CalLaunch;
    const Case cases[] = {
        {"fresh, end first", false, true, false, O::EndFirst, 3, L::Done, 1, 1, 3, true, true},
        {"fresh, outro first", false, true, false, O::OutroFirst, 1, L::Done, 1, 1, 1, false, true},
        {"resumed: no intro", true, true, false, O::EndFirst, 2, L::Done, 0, 1, 2, true, true},
        {"resumed flips the order", true, true, false, O::OutroFirstUnlessResumed, 2, L::Done, 0, 1,
         2, true, true},
        {"fresh keeps it", false, true, false, O::OutroFirstUnlessResumed, 2, L::Done, 1, 1, 2,
         false, true},
        {"declined", false, false, false, O::EndFirst, 3, L::Declined, 1, 0, 0, false, false},
        {"load during the episode", false, true, true, O::EndFirst, 3, L::Loaded, 1, 0, 0, false,
         false},
        {"load during a resumed one", true, true, true, O::OutroFirst, 3, L::Loaded, 0, 0, 0, false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char slot2[16];
        save_image_name(2, slot2);
        std::filesystem::remove(slot2);
        launch_log = {};
        launch_log.accept = c.accept;
        launch_log.load = c.load;
        hub_restart = -1;
        world_state.field_active = c.resumed ? 1 : 0;
        hub_block.calendar_turn = 100;
        hub_block.turns_consumed = 1;
        player_record.turn_done = 0;
        player_record.area = 7;

        const CalLauncher l = {.intro = fake_intro,
                               .scene = fake_scene,
                               .outro = fake_outro,
                               .turns = c.turns,
                               .order = c.order};
        EXPECT_EQ(cal_launch(l), c.result);
        EXPECT_EQ(launch_log.intro_runs, c.intro_runs);
        EXPECT_EQ(launch_log.scene_runs, c.accept ? 1 : 0);
        EXPECT_EQ(launch_log.outro_runs, c.outro_runs);
        EXPECT_EQ(hub_block.calendar_turn, 100 + c.turn_delta);
        if (c.outro_runs > 0) {
            EXPECT_EQ(launch_log.turn_at_outro, c.outro_after_end ? 100 + c.turns : 100);
            EXPECT_EQ(launch_log.outro_resumed, c.resumed);
        }
        const bool ended = c.turn_delta > 0;
        EXPECT_EQ(player_record.turn_done, ended ? 1 : 0);
        EXPECT_EQ(hub_block.turns_consumed, ended ? c.turns : 1);
        EXPECT_EQ(save_file_exists(2), c.saved);
        EXPECT_EQ(player_record.area, c.saved ? AREA_HUB : 7);
        EXPECT_EQ(hub_restart, c.load ? 1 : -1);
    }
}

namespace {

constexpr s32 SLOT_LAUNCHER = 182; // a slot no handler of the game holds
s32 frame_launcher_turns = 3;
void frame_launcher() {
    cal_launch({.scene = fake_scene, .outro = fake_outro, .turns = frame_launcher_turns});
}

} // namespace

// The hub's side of the return protocol with a launcher built on the frame as the after-turn
// handler of a resumed episode (the hub skips its dashboard, so no input is needed).
TEST_F(CalendarFrameTest, HubReadsWhatTheLauncherLeaves) {
    ASSERT_EQ(calendar_event_register(SLOT_LAUNCHER, frame_launcher, "frame test"), 0);
    struct Case {
        const char* name;
        s32 turn, turns;
        bool load;
        s32 turn_after;
        s32 restart_after;
    };
    const Case cases[] = {
        // From turn 10 on the hub trusts turn_done and ends no turn of its own.
        {"turn 100", 100, 3, false, 103, -1},
        {"turn 10", 10, 2, false, 12, -1},
        // Below turn 10 (read after the handler ran) it ends the turn again, whatever turn_done
        // holds.
        {"turn 5", 5, 2, false, 9, -1},
        {"turn 9, past 10 after the launcher", 9, 2, false, 11, -1},
        // A load in the episode: the hub drops the rest of the turn.
        {"load", 100, 3, true, 100, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        launch_log = {};
        launch_log.load = c.load;
        frame_launcher_turns = c.turns;
        for (s32& s : hub_block.turn_events_before) s = -1;
        for (s32& s : hub_block.turn_events_after) s = -1;
        hub_block.calendar_turn = c.turn;
        hub_block.turn_events_after[c.turn] = SLOT_LAUNCHER;
        hub_restart = -1;
        world_state.field_active = 1;
        hub_pass();
        EXPECT_EQ(launch_log.scene_runs, 1);
        EXPECT_EQ(launch_log.outro_runs, c.load ? 0 : 1);
        EXPECT_EQ(hub_block.calendar_turn, c.turn_after);
        EXPECT_EQ(hub_restart, c.restart_after);
        EXPECT_EQ(world_state.field_active, 0 + (c.load ? 1 : 0));
    }
    calendar_event_unregister(SLOT_LAUNCHER);
}

namespace {

// Pieces played once: a short tone, and a tone that loops as the music of the place.
constexpr s32 PIECE_ONCE = 10045;
constexpr s32 PIECE_LOOPING = 10046;
constexpr s32 PIECE_EMPTY = 10047; // no entry
constexpr u32 PIECE_MS = 1500;

class CalendarMusicWaitTest : public CalendarFrameTest {
  protected:
    void add_content(ArcBuilder& b) const override {
        b.put(ARC_SOUND_BASE + PIECE_ONCE, wav_tone(WavFormat{}, PIECE_MS, 440));
        b.put(ARC_SOUND_BASE + PIECE_LOOPING, wav_tone(WavFormat{}, 200, 330));
    }
};

} // namespace

TEST_F(CalendarMusicWaitTest, WaitsForThePieceToEndOnTheClock) {
    ASSERT_EQ(mssw_enabled, 1);
    const s32 music_before = player_record.music_id;
    const u64 start = harness_elapsed_ms();
    cal_play_once_and_wait(CalMusic{PIECE_ONCE});
    EXPECT_GE(harness_elapsed_ms() - start, PIECE_MS);
    EXPECT_LT(harness_elapsed_ms() - start, PIECE_MS + 1000);
    EXPECT_EQ(mssw_music_playing(), 0);
    EXPECT_EQ(player_record.music_id, music_before);
}

// An empty entry leaves the looping music of the place in the slot: the wait must not wait for it.
TEST_F(CalendarMusicWaitTest, APieceThatDoesNotStartEndsTheWaitAtOnce) {
    mssw_play_music(PIECE_LOOPING, 0);
    ASSERT_EQ(mssw_music_id, PIECE_LOOPING);
    const u64 start = harness_elapsed_ms();
    cal_play_once_and_wait(CalMusic{PIECE_EMPTY});
    EXPECT_EQ(harness_elapsed_ms(), start);
    EXPECT_EQ(mssw_music_id, PIECE_LOOPING);
    EXPECT_EQ(mssw_music_playing(), 1);
}

namespace {
class CalendarFrameHandlerTest : public CalendarHandlerTest {};
} // namespace

// The injury step draws through the handlers' random seam: a forced draw gives its exact turns;
// a battle is fought through the battle seam and its encounter recorded.
TEST_F(CalendarFrameHandlerTest, InjuryDrawAndBattleGoThroughTheSeams) {
    draws({2});
    CalSummary sum;
    cal_injury(sum);
    EXPECT_EQ(player_record.sick_turns, 4);
    EXPECT_EQ(sum.count, 1);
    EXPECT_EQ(sum.text[0], CAL_INJURY_SUMMARY + 4);
    battles({2});
    EXPECT_EQ(cal_battle(19), 2);
    EXPECT_EQ(fought(), std::vector<s32>{19});
    const size_t m = mark();
    cal_summary_show(sum);
    EXPECT_EQ(texts_from(m), std::vector<s32>{CAL_INJURY_SUMMARY + 4});
}
