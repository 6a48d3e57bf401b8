// The music course of place 1.0 (set 1, place 0): a listening trial that the second year's visit
// offers once, its retry in pool B, ten listening quizzes in the place and a final visit. In each
// listening the teacher (person 115) plays four pieces, may play them again, then plays one of
// them once more and asks which it was. A right quiz answer can also teach a piece (an art of
// known lists 10 and 1) when skill 10 and the protagonist's mood fit the lesson; a wrong one
// costs the teacher's regard, and at 40 or less the course closes.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 MUSIC_TEACHER = 115;       // person
constexpr s32 MUSIC_REGARD = 148;        // PlayerRecord.affection index of the teacher's regard
constexpr s32 MUSIC_REGARD_START = 50;   // set when the course opens
constexpr s32 MUSIC_REGARD_CLOSE = 40;   // a wrong answer leaving 40 or less closes the course
constexpr s32 MUSIC_SETS = 10;           // quizzes 0..9; the trial uses the pieces of quiz 0
constexpr s32 MUSIC_PIECES = 4;          // pieces per listening
constexpr s32 MUSIC_PIECE_FIRST = 10100; // piece i of set s: 10100 + 4 s + i
constexpr s32 MUSIC_HALL = 10078;        // the music of the hall before the trial and the retry
constexpr s32 MUSIC_PRIZE_ITEM = 1451;   // given when the trial is passed
constexpr s32 MUSIC_SKILL = 10;          // growth index of the music skill
constexpr s32 MUSIC_SIDE_SKILL = 1;      // grows with it
constexpr s32 MUSIC_ARTS_LIST = 10;      // known list of the pieces (also taught into list 1)
constexpr s32 MUSIC_SIDE_LIST = 1;
constexpr s32 MUSIC_PLACE_SET = 1, MUSIC_PLACE = 0;
constexpr s32 MUSIC_FINAL_ENTRY = 10;  // place 1.0 entry 10: the final visit
constexpr s32 MUSIC_FINAL_SKILL = 90;  // skill 10 needed for the last piece
constexpr s32 MUSIC_FINAL_PIECE = 55;  // its known id
constexpr s32 MUSIC_RETRY_ENTRY = 1;   // pool B entry of the retry (slot 075)
constexpr s32 MUSIC_OFFERED_ENTRY = 0; // pool B entry whose `on` marks the trial as offered

// The piece lessons: required skill 10, the moods that allow the lesson, the known id taught.
struct MusicLesson {
    s32 skill;
    s32 mood_low, mood_high;
    s32 known;
};
constexpr s32 MUSIC_LESSONS = 5;
extern const MusicLesson MUSIC_LESSON_TABLE[MUSIC_LESSONS];

// The trial: the hall, the teacher, one listening with its question. Right opens the course
// (place button [0][1], menus [5][0] and [0][4], place 1.0 entry 0, the teacher's regard 50 and
// item 1451); wrong opens the retry in pool B. Either way pool B entry 0's `on` := 0, one turn.
void music_trial();
// Quiz `step` (0..9, the entry number of its slot); another step does nothing.
void music_listening_quiz(s32 step);
// Lesson `k` (0..4): the teacher's lines and the piece 50 + k in known lists 10 and 1, with
// experience for skills 10 and 1. Another k does nothing.
void teach_piece(s32 k);

void calendar_event_075();
void calendar_event_102();
void calendar_event_103();
void calendar_event_104();
void calendar_event_105();
void calendar_event_106();
void calendar_event_107();
void calendar_event_108();
void calendar_event_109();
void calendar_event_110();
void calendar_event_111();
void calendar_event_112();

constexpr const char* MUSIC_COURSE_OWNER = "calendar music course";
std::span<const CalendarSlot> music_course_slots();
void register_music_course();
