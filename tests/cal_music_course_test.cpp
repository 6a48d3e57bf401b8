// The music course of place 1.0: the trial and its retry, the quizzes with their lessons and the
// regard that closes the course, the final visit, and the listening on the sound fake (pieces
// that play for their length, and pieces whose entries are empty).
#include "calendar/calendar_seams.h"
#include "calendar/frame.h"
#include "calendar/music_course.h"
#include "engine/gisk.h"
#include "engine/mssw.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/cal_cases.h"
#include "tests/calendar_fixture.h"
#include "tests/text_runs.h"
#include "tools/wav.h"

#include <string>
#include <vector>

namespace {

using Texts = std::vector<s32>;

// The listening's texts: the four piece lines, the offer to play again (with its options), and
// again as often as `replays`, then the question with its four answers.
Texts listening(s32 first, s32 option, s32 replays) {
    Texts t;
    for (s32 r = 0; r <= replays; r++)
        t = text_join({t, text_runs({first, -(first + 3)}), text_runs({55032, -55034})});
    return text_join({t, {55041}, text_runs({option, -(option + 3)})});
}

// The music calls ("music ID LOOP") of the transcript from `mark` on.
std::vector<std::string> music_from(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind("music ", 0) == 0) out.push_back(l);
    return out;
}

std::string once(s32 piece) {
    return "music " + std::to_string(piece) + " 1";
}

class MusicCourseTest : public CalendarHandlerTest {
  protected:
    void SetUp() override {
        CalendarHandlerTest::SetUp();
        player_record.music_id = 10061;
        player_record.affection[MUSIC_REGARD] = -1;
        state.keep();
    }
    CalCaseState state;
    static EventEntry& place(s32 k) { return hub_block.place_events[1][0][k]; }
    static EventEntry& pool_b(s32 k) { return hub_block.encounter_pool_b[k]; }
};

} // namespace

TEST_F(MusicCourseTest, TheTrialSeamRunsTheRealTrialByDefault) {
    EXPECT_EQ(music_trial_seam, music_trial);
    music_trial_seam = [] {};
    calendar_seams_reset();
    EXPECT_EQ(music_trial_seam, music_trial);
}

// The trial: a right answer opens the course, a wrong one the retry; the trial is marked as
// offered either way. Replaying the pieces repeats their lines.
TEST_F(MusicCourseTest, TrialOpensTheCourseOrTheRetry) {
    struct Case {
        const char* name;
        s32 replays;
        s32 question; // the piece played again
        s32 answer;
        bool right;
    };
    const Case cases[] = {
        {"right", 0, 2, 2, true},
        {"right after a replay", 1, 0, 0, true},
        {"wrong", 0, 3, 1, false},
    };
    state.each(cases, [&](const Case& c) {
        pool_b(0).on = 0;
        ASSERT_EQ(place(0).slot, 102);
        std::vector<s32> plan;
        for (s32 r = 0; r < c.replays; r++) plan.push_back(1);
        plan.push_back(0);
        plan.push_back(c.answer);
        dialog_answers(plan);
        draws({c.question});
        const s32 items = inv_has_count(MUSIC_PRIZE_ITEM, 1);
        const size_t m = mark();
        music_trial();
        const Texts lines =
            text_join({{55016, 55017, 55018, 55019},
                       text_runs({55020, -55025}),
                       {55046, 55026, 55027},
                       listening(55028, 55042, c.replays),
                       c.right ? text_runs({55035, -55038}) : text_runs({55039, -55040})});
        EXPECT_EQ(texts_from(m), lines);
        // The hall's music, then the pieces once each (per replay), the question's piece, and the
        // current track again.
        std::vector<std::string> music = {"music 10078 0"};
        for (s32 r = 0; r <= c.replays; r++)
            for (s32 i = 0; i < 4; i++) music.push_back(once(10100 + i));
        music.push_back(once(10100 + c.question));
        music.push_back("music 10061 0");
        EXPECT_EQ(music_from(lines_from(m)), music);
        EXPECT_EQ(cal_place_button_on(0, 1), c.right ? 1 : 0);
        EXPECT_EQ(hub_block.hub_menu_avail[5][0], c.right ? 1 : 0);
        EXPECT_EQ(place(0).on, c.right ? 1 : 0);
        EXPECT_EQ(player_record.affection[MUSIC_REGARD], c.right ? 50 : -1);
        EXPECT_EQ(inv_has_count(MUSIC_PRIZE_ITEM, 1), c.right ? 1 : items);
        EXPECT_EQ(pool_b(1).on, c.right ? 0 : 1);
        EXPECT_EQ(pool_b(0).on, 0);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        EXPECT_EQ(player_record.music_id, 10061);
        EXPECT_EQ(draws_left(), 0u);
    });
}

// The retry in pool B: passing it opens the course and closes the retry; failing keeps it open.
TEST_F(MusicCourseTest, RetryOpensTheCourseOrStaysOpen) {
    const bool rights[] = {true, false};
    state.each(rights, [&](bool right) {
        pool_b(1).on = 1;
        hub_block.turns_consumed = 3;
        answers({0, right ? 1 : 2});
        draws({1});
        const size_t m = mark();
        run_slot(75);
        EXPECT_EQ(texts_from(m),
                  text_join({text_runs({55050, -55053}), listening(55028, 55042, 0),
                             right ? text_runs({55054, -55057}) : text_runs({55058, -55059})}));
        EXPECT_EQ(hub_block.scene_backdrop, 60423);
        EXPECT_EQ(pool_b(1).on, right ? 0 : 1);
        EXPECT_EQ(cal_place_button_on(0, 1), right ? 1 : 0);
        EXPECT_EQ(hub_block.hub_menu_avail[0][4], right ? 1 : hub_block.hub_menu_avail[0][4]);
        EXPECT_EQ(place(0).on, right ? 1 : 0);
        EXPECT_EQ(player_record.affection[MUSIC_REGARD], right ? 50 : -1);
        EXPECT_EQ(hub_block.turns_consumed, 1);
        const std::vector<std::string> music = music_from(lines_from(m));
        ASSERT_FALSE(music.empty());
        EXPECT_EQ(music.front(), "music 10078 0");
        EXPECT_EQ(music.back(), "music 10061 0");
    });
}

// The quizzes: a right answer moves the chain on and may teach the first lesson whose skill is
// reached and whose piece is new, with its mood; a wrong one costs the teacher's regard, and at
// 40 or less the course closes.
TEST_F(MusicCourseTest, QuizAnswersLessonsAndTheClosingRegard) {
    struct Case {
        const char* name;
        s32 step;
        s32 skill, mood, regard;
        std::vector<s32> known; // pieces known before
        bool right;
        Texts after; // the texts after the question
        s32 taught;  // the piece taught, -1 none
        bool closes; // the course closes
    };
    const Texts teach0 = {12640, 12661, 12650, 12663, 12664};
    const Texts teach1 = {12641, 12661, 12651, 12663, 12664};
    const Case cases[] = {
        // skill 30 + 500 experience stays below 50
        {"right, too little skill", 0, 30, 2, 50, {}, true, {12683}, -1, false},
        {"right, lesson 0 with mood 2", 3, 52, 2, 50, {}, true, teach0, 50, false},
        {"right, lesson 0 missed, lesson 1 with mood 0", 4, 60, 0, 50, {}, true, teach1, 51, false},
        {"right, every lesson in reach missed", 5, 60, 4, 50, {}, true, {12684}, -1, false},
        {"right, the pieces in reach known", 6, 60, 2, 50, {50, 51}, true, {12682}, -1, false},
        {"right, the last quiz opens the final visit", 9, 30, 2, 50, {}, true, {12683}, -1, false},
        {"wrong", 2, 30, 2, 50, {}, false, {12685, 12686}, -1, false},
        {"wrong, regard down to 40", 7, 30, 2, 41, {}, false, {12687, 12688}, -1, true},
    };
    state.each(cases, [&](const Case& c) {
        PlayerRecord& p = player_record;
        p.skill[MUSIC_SKILL] = c.skill;
        growth_pool(MUSIC_SKILL) = 0;
        p.mood = c.mood;
        p.affection[MUSIC_REGARD] = c.regard;
        for (s32 id : c.known) known_add(MUSIC_ARTS_LIST, id);
        cal_place_button(0, 1, 1);
        for (s32 k = 0; k < 10; k++) place(k).on = 1;
        const s32 skill1 = p.skill[MUSIC_SIDE_SKILL];
        const s32 question = 2;
        answers({0, c.right ? question : 0});
        draws({question});
        const size_t m = mark();
        run_slot(102 + c.step);
        const s32 o = 12600 + 4 * c.step;
        EXPECT_EQ(texts_from(m),
                  text_join({{12680, 12681}, listening(55060 + 4 * c.step, o, 0), c.after}));
        EXPECT_EQ(hub_block.scene_backdrop, 60421);
        EXPECT_EQ(p.affection[MUSIC_REGARD], c.right ? c.regard : c.regard - 1);
        EXPECT_GT(p.skill[MUSIC_SKILL], c.closes ? c.skill - 1 : c.skill);
        if (!c.closes) {
            EXPECT_GE(p.skill[MUSIC_SIDE_SKILL], skill1);
        }
        EXPECT_EQ(place(c.step).on, c.right || c.closes ? 0 : 1);
        EXPECT_EQ(place(c.step + 1).on, c.closes ? (c.step + 1 < 10 ? 0 : place(10).on) : 1);
        EXPECT_EQ(cal_place_button_on(0, 1), c.closes ? 0 : 1);
        if (c.closes) {
            for (s32 k = 0; k < 10; k++) EXPECT_EQ(place(k).on, 0) << k;
        }
        EXPECT_EQ(place(10).on, c.right && c.step == 9 ? 1 : 0);
        for (s32 id = 50; id <= 54; id++) {
            const bool has =
                id == c.taught || std::find(c.known.begin(), c.known.end(), id) != c.known.end();
            EXPECT_EQ(known_has(MUSIC_ARTS_LIST, id), has ? 1 : 0) << id;
            if (id == c.taught) {
                EXPECT_EQ(known_has(MUSIC_SIDE_LIST, id), 1);
            }
        }
        EXPECT_EQ(music_from(lines_from(m)).back(), "music 10061 0");
    });
}

TEST_F(MusicCourseTest, FinalVisitTeachesTheLastPieceAtSkill90AndClosesThePlace) {
    const s32 skills[] = {90, 89};
    state.each(skills, [&](s32 skill) {
        player_record.skill[MUSIC_SKILL] = skill;
        cal_place_button(0, 1, 1);
        place(10).on = 1;
        const size_t m = mark();
        run_slot(112);
        const Texts said =
            skill >= 90 ? Texts{12670, 12673, 12674, 12672} : Texts{12670, 12671, 12672};
        EXPECT_EQ(texts_from(m), said);
        EXPECT_EQ(known_has(10, 55), skill >= 90 ? 1 : 0);
        EXPECT_EQ(known_has(1, 55), skill >= 90 ? 1 : 0);
        EXPECT_EQ(cal_place_button_on(0, 1), 0);
        EXPECT_EQ(place(10).on, 0);
    });
}

// ---- On the sound fake
// ---------------------------------------------------------------------------

namespace {

constexpr u32 PIECE_MS = 400;

// The hall's music loops; the pieces of quiz 0 play for PIECE_MS each, or have no entries.
class MusicListeningSoundTest : public MusicCourseTest {
  protected:
    void add_content(ArcBuilder& b) const override {
        b.put(ARC_SOUND_BASE + MUSIC_HALL, wav_tone(WavFormat{}, 200, 330));
        if (!with_pieces) return;
        for (s32 i = 0; i < 4; i++)
            b.put(ARC_SOUND_BASE + 10100 + i, wav_tone(WavFormat{}, PIECE_MS, 440 + 40 * u32(i)));
    }
    bool with_pieces = true;
};

class MusicListeningEmptyTest : public MusicListeningSoundTest {
  public:
    MusicListeningEmptyTest() { with_pieces = false; }
};

} // namespace

// Each piece is heard to its end: five pieces (four and the question's) on the virtual clock.
TEST_F(MusicListeningSoundTest, EveryPieceIsHeardToItsEnd) {
    ASSERT_EQ(mssw_enabled, 1);
    pool_b(1).on = 1;
    answers({0, 3});
    draws({3});
    const u64 start = harness_elapsed_ms();
    run_slot(75);
    EXPECT_GE(harness_elapsed_ms() - start, 5 * PIECE_MS);
    EXPECT_EQ(pool_b(1).on, 0);
}

// The retry starts the hall's looping music; with the pieces' entries empty it stays in the slot,
// and the listening must go on at once rather than wait for it to end.
TEST_F(MusicListeningEmptyTest, EmptyPiecesDoNotHoldTheListeningUp) {
    ASSERT_EQ(mssw_enabled, 1);
    pool_b(1).on = 1;
    answers({0, 0});
    draws({0});
    const u64 start = harness_elapsed_ms();
    const size_t m = mark();
    run_slot(75);
    EXPECT_LT(harness_elapsed_ms() - start, 5 * PIECE_MS);
    EXPECT_EQ(texts_from(m), text_join({text_runs({55050, -55053}), listening(55028, 55042, 0),
                                        text_runs({55054, -55057})}));
}

// A quiz or lesson number from outside the course does nothing.
TEST_F(MusicCourseTest, StepsOutsideTheCourseDoNothing) {
    const PlayerRecord before = player_record;
    const size_t m = mark();
    music_listening_quiz(-1);
    music_listening_quiz(MUSIC_SETS);
    teach_piece(-1);
    teach_piece(MUSIC_LESSONS);
    EXPECT_TRUE(texts_from(m).empty());
    EXPECT_EQ(player_record.skill[MUSIC_SKILL], before.skill[MUSIC_SKILL]);
    for (s32 id = 50; id <= 55; id++) EXPECT_EQ(known_has(MUSIC_ARTS_LIST, id), 0) << id;
}
