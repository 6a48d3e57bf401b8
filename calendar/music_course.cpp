// The music course of place 1.0: the listening trial, its retry, the ten quizzes, the piece
// lessons and the final visit.
#include "calendar/music_course.h"

#include "calendar/frame.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/inventory.h"
#include "game/player.h"

using namespace cal_literals;

const MusicLesson MUSIC_LESSON_TABLE[MUSIC_LESSONS] = {
    {50, 2, 2, 50}, {60, 0, 1, 51}, {70, 3, 4, 52}, {80, 2, 2, 53}, {85, 2, 2, 54},
};

namespace {

constexpr CalPerson TEACHER = CalPerson{MUSIC_TEACHER};
constexpr s32 HALL_PAUSE_MS = 1000;

// One listening: the four pieces with their lines (as often as the player asks), then the
// question. The trial, its retry and the quizzes differ only in these numbers.
struct Listening {
    s32 set;             // the pieces of quiz `set`
    CalText first;       // line of piece i: first + i
    CalText option;      // the four answers: option .. option + 3
    bool clear_around;   // mouse_buttons cleared before and after every piece of the first part
    bool clear_question; // and around the question's piece
};

constexpr CalText PLAY_AGAIN_LINE = 55032_t;
constexpr CalText GO_ON = 55033_t, PLAY_AGAIN = 55034_t;
constexpr CalText QUESTION_LINE = 55041_t;

CalMusic piece(s32 set, s32 i) {
    return CalMusic{MUSIC_PIECE_FIRST + MUSIC_PIECES * set + i};
}

void clear_clicks(bool on) {
    if (on) mouse_buttons = 0;
}

// Plays a piece once and waits for its end. A piece that does not start (an empty entry keeps
// the music before it, which may loop for ever) does not hold the listening up.
void hear(CalMusic p, bool clear) {
    clear_clicks(clear);
    cal_play_once_and_wait(p);
    clear_clicks(clear);
}

// Returns true when the player named the piece played again.
bool listen(const Listening& l) {
    for (;;) {
        for (s32 i = 0; i < MUSIC_PIECES; i++) {
            cal_lines({{.text = CalText{cal_id(l.first) + i}, .right = {TEACHER}}});
            hear(piece(l.set, i), l.clear_around);
        }
        const s32 again = cal_lines(
            {{.text = PLAY_AGAIN_LINE, .right = {TEACHER}, .choose = {GO_ON, PLAY_AGAIN}}});
        if (again != 1) break;
    }
    const s32 q = cal_rand(MUSIC_PIECES);
    cal_lines({{.text = QUESTION_LINE, .right = {TEACHER}}});
    mssw_stop_music();
    hear(piece(l.set, q), l.clear_question);
    const s32 o = cal_id(l.option);
    const s32 answer =
        cal_lines({{.right = {TEACHER},
                    .choose = {CalText{o}, CalText{o + 1}, CalText{o + 2}, CalText{o + 3}}}});
    return answer == q;
}

// The trial and its retry hear the pieces of quiz 0 with the same lines and answers.
constexpr Listening TRIAL = {0, 55028_t, 55042_t, false, false};
constexpr Listening RETRY = {0, 55028_t, 55042_t, true, false};

// Passing the trial or its retry opens the course.
void open_course() {
    cal_place_button(MUSIC_PLACE, MUSIC_PLACE_SET, 1);
    cal_menu(5, 0, 1);
    cal_menu(0, 4, 1);
    cal_open(cal_place(MUSIC_PLACE_SET, MUSIC_PLACE, 0));
}

void give_prize() {
    player_record.affection[MUSIC_REGARD] = MUSIC_REGARD_START;
    inv_add(MUSIC_PRIZE_ITEM, 1);
}

void resume_music() {
    mssw_play_music(player_record.music_id, 0);
}

// The course shows no summary box: the gains are only applied (and logged by `grow`).
void practise(s32 skill_exp, s32 side_exp) {
    CalSummary unshown;
    cal_gain_loud(unshown, cal_skill(MUSIC_SKILL), skill_exp);
    cal_gain(unshown, cal_skill(MUSIC_SIDE_SKILL), side_exp);
}

bool lesson_mood(const MusicLesson& l) {
    const s32 mood = player_record.mood;
    return mood >= l.mood_low && mood <= l.mood_high;
}

} // namespace

void music_trial() {
    cal_lines({
        {.text = 55016_t, .left = {4_p}},
        {.travel = true, .backdrop = 60423_pic, .text = 55017_t, .left = {2_p}},
    });
    // The hall's music, without making it the current track.
    mssw_play_music(MUSIC_HALL, 0);
    wait_ms(HALL_PAUSE_MS);
    cal_lines({{.text = 55018_t, .left = {2_p}}, {.travel = true}});
    mssw_stop_music();
    cal_lines({
        {.text = 55019_t, .right = {TEACHER}, .left = {2_p}},
        {.text = 55020_t, .to = 55025_t, .right = {TEACHER}},
        {.text = 55046_t, .right = {TEACHER}},
        {.text = 55026_t, .to = 55027_t, .right = {TEACHER}},
    });
    if (listen(TRIAL)) {
        cal_lines({{.text = 55035_t, .to = 55038_t, .right = {TEACHER}}});
        open_course();
        give_prize();
    } else {
        cal_lines({{.text = 55039_t, .to = 55040_t, .right = {TEACHER}}});
        cal_open(cal_pool_b(MUSIC_RETRY_ENTRY));
    }
    cal_close(cal_pool_b(MUSIC_OFFERED_ENTRY)); // the trial has been offered
    cal_turns(1);
    resume_music();
}

void teach_piece(s32 k) {
    if (k < 0 || k >= MUSIC_LESSONS) return;
    cal_lines({
        {.text = CalText{12640 + k}, .right = {TEACHER}},
        {.text = 12661_t, .right = {TEACHER}},
        {.text = CalText{12650 + k}, .right = {TEACHER}},
        {.travel = true, .text = 12663_t, .to = 12664_t, .right = {TEACHER}},
    });
    const s32 id = MUSIC_LESSON_TABLE[k].known;
    known_add(MUSIC_ARTS_LIST, id);
    known_add(MUSIC_SIDE_LIST, id);
    CalSummary unshown;
    cal_gain(unshown, cal_skill(MUSIC_SKILL), 500);
    cal_gain(unshown, cal_skill(MUSIC_SIDE_SKILL), 500);
}

void music_listening_quiz(s32 step) {
    if (step < 0 || step >= MUSIC_SETS) return;
    cal_lines({
        {.backdrop = 60421_pic, .text = 12680_t},
        {.text = 12681_t, .right = {TEACHER}},
    });
    const Listening quiz = {step, CalText{55060 + MUSIC_PIECES * step},
                            CalText{12600 + MUSIC_PIECES * step}, true, true};
    PlayerRecord& p = player_record;
    if (!listen(quiz)) {
        s32& regard = p.affection[MUSIC_REGARD];
        regard = regard - 1;
        if (regard <= MUSIC_REGARD_CLOSE) {
            cal_lines({{.text = 12687_t, .to = 12688_t, .right = {TEACHER}}});
            cal_place_button(MUSIC_PLACE, MUSIC_PLACE_SET, 0);
            for (s32 k = 0; k < MUSIC_SETS; k++)
                cal_close(cal_place(MUSIC_PLACE_SET, MUSIC_PLACE, k));
        } else {
            cal_lines({{.text = 12685_t, .to = 12686_t, .right = {TEACHER}}});
            practise(300, 300);
        }
        resume_music();
        return;
    }
    practise(500, 500);
    cal_close(cal_place(MUSIC_PLACE_SET, MUSIC_PLACE, step));
    cal_open(cal_place(MUSIC_PLACE_SET, MUSIC_PLACE, step + 1));
    // At most one lesson: the first whose skill is reached and whose piece is not yet known;
    // with the wrong mood it is only noted as missed and the next is looked at.
    bool taught = false, missed = false;
    for (s32 k = 0; k < MUSIC_LESSONS && !taught; k++) {
        const MusicLesson& l = MUSIC_LESSON_TABLE[k];
        if (p.skill[MUSIC_SKILL] < l.skill || known_has(MUSIC_ARTS_LIST, l.known)) continue;
        if (lesson_mood(l)) {
            teach_piece(k);
            taught = true;
        } else {
            missed = true;
        }
    }
    if (!taught) {
        const CalText line = p.skill[MUSIC_SKILL] < MUSIC_LESSON_TABLE[0].skill ? 12683_t
                             : missed                                           ? 12684_t
                                                                                : 12682_t;
        cal_lines({{.text = line, .right = {TEACHER}}});
    }
    resume_music();
}

// ---- Handlers -----------------------------------------------------------------------------------

// The retry of the trial in pool B.
void calendar_event_075() {
    cal_lines({{.backdrop = 60423_pic}});
    mssw_play_music(MUSIC_HALL, 0);
    cal_lines({{.text = 55050_t, .to = 55053_t, .right = {TEACHER}}});
    if (listen(RETRY)) {
        cal_lines({{.text = 55054_t, .to = 55057_t, .right = {TEACHER}}});
        give_prize();
        open_course();
        cal_close(cal_pool_b(MUSIC_RETRY_ENTRY));
    } else {
        cal_lines({{.text = 55058_t, .to = 55059_t, .right = {TEACHER}}});
    }
    cal_turns(1);
    resume_music();
}

// The quizzes: entry k of place 1.0 runs quiz k.
void calendar_event_102() {
    music_listening_quiz(0);
}
void calendar_event_103() {
    music_listening_quiz(1);
}
void calendar_event_104() {
    music_listening_quiz(2);
}
void calendar_event_105() {
    music_listening_quiz(3);
}
void calendar_event_106() {
    music_listening_quiz(4);
}
void calendar_event_107() {
    music_listening_quiz(5);
}
void calendar_event_108() {
    music_listening_quiz(6);
}
void calendar_event_109() {
    music_listening_quiz(7);
}
void calendar_event_110() {
    music_listening_quiz(8);
}
void calendar_event_111() {
    music_listening_quiz(9);
}

// The final visit closes the place; a skilled player learns the last piece.
void calendar_event_112() {
    cal_lines({{.backdrop = 60421_pic, .text = 12670_t, .right = {TEACHER}}});
    if (player_record.skill[MUSIC_SKILL] >= MUSIC_FINAL_SKILL) {
        cal_lines({
            {.text = 12673_t, .to = 12674_t, .right = {TEACHER}},
            {.text = 12672_t, .right = {TEACHER}},
        });
        known_add(MUSIC_ARTS_LIST, MUSIC_FINAL_PIECE);
        known_add(MUSIC_SIDE_LIST, MUSIC_FINAL_PIECE);
    } else {
        cal_lines({{.text = 12671_t, .to = 12672_t, .right = {TEACHER}}});
    }
    cal_place_button(MUSIC_PLACE, MUSIC_PLACE_SET, 0);
    cal_close(cal_place(MUSIC_PLACE_SET, MUSIC_PLACE, MUSIC_FINAL_ENTRY));
}

// ---- Slots --------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {75, calendar_event_075},  {102, calendar_event_102}, {103, calendar_event_103},
    {104, calendar_event_104}, {105, calendar_event_105}, {106, calendar_event_106},
    {107, calendar_event_107}, {108, calendar_event_108}, {109, calendar_event_109},
    {110, calendar_event_110}, {111, calendar_event_111}, {112, calendar_event_112},
};
} // namespace

std::span<const CalendarSlot> music_course_slots() {
    return SLOTS;
}

void register_music_course() {
    calendar_install(SLOTS, MUSIC_COURSE_OWNER);
}
