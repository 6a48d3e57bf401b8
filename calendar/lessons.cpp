// The lesson course of place 1.1: the illustrated lessons, the exams and the course's handlers.
#include "calendar/lessons.h"

#include "calendar/frame.h"
#include "calendar/home_place.h"
#include "data/hub_block.h"
#include "engine/world/staging.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/inventory.h"

using namespace cal_literals;

namespace {

constexpr s32 COURSE_SET = 1, COURSE_PLACE = 1;
constexpr CalPicture COURSE_BACKDROP = 60421_pic;
constexpr CalPerson TEACHER = CalPerson{LESSON_TEACHER};

constexpr CalPic over(s32 picture) {
    return {CalPicture{picture}, LESSON_PIC_X, LESSON_PIC_Y, true};
}

CalLine teacher(s32 first, s32 last = 0) {
    return {.text = CalText{first}, .to = CalText{last}, .right = {TEACHER}};
}

// ---- The introduction (step 0) -----------------------------------------------------------------

constexpr s32 INTRO_PICTURES = 7; // over 63280 + k: 55960 + 2 k and 55961 + 2 k

void introduction() {
    cal_lines({
        {.backdrop = COURSE_BACKDROP, .text = 55950_t},
        {.text = 55951_t, .right = {TEACHER}},
        {.travel = true, .text = 55952_t, .to = 55955_t, .right = {TEACHER}},
        {.text = 55956_t, .to = 55959_t, .right = {TEACHER}, .pic = over(63279)},
    });
    for (s32 k = 0; k < INTRO_PICTURES; k++)
        cal_lines({{.text = CalText{55960 + 2 * k},
                    .to = CalText{55961 + 2 * k},
                    .right = {TEACHER},
                    .pic = over(63280 + k)}});
    cal_lines({teacher(55974, 55975)});
    place_chain_advance(COURSE_SET, COURSE_PLACE, 0);
    cal_menu(5, 1, 1);
    cal_menu(0, 4, 1);
}

// ---- Lessons -----------------------------------------------------------------------------------

constexpr s32 AGAIN = 1; // the second option reads the lesson again

void read_lesson(const IllustratedLesson& l) {
    hub_block.scene_backdrop = cal_id(COURSE_BACKDROP);
    cal_lines({{.text = CalText{l.first_text}}, teacher(l.first_text + 1, l.first_text + l.intro)});
    s32 readings = 0;
    s32 answer = AGAIN;
    while (answer == AGAIN) {
        readings++;
        for (s32 j = 0; j < l.pages; j++)
            cal_lines({{.text = CalText{l.page_text + j},
                        .right = {TEACHER},
                        .pic = over(l.first_picture + j)}});
        answer = cal_lines({teacher(12012), {.right = {TEACHER}, .choose = {12013_t, 12014_t}}});
    }
    cal_train(cal_skill(LESSON_SKILL), l.skill_exp);
    if (l.trains_reading && readings < LESSON_READINGS_TRAINED)
        cal_train(cal_attr(LESSON_READING_ATTR),
                  (LESSON_READINGS_TRAINED - readings) * LESSON_READING_EXP);
}

// ---- Exams -------------------------------------------------------------------------------------

constexpr s32 RIGHT_EXP = 1000;
constexpr s32 PAUSE_MS = 200;

void final_exam_passed() {
    if (growth_value(LESSON_SKILL) >= CAL_VALUE_MAX) {
        cal_lines({teacher(12420, 12424)});
        cal_place_button(COURSE_PLACE, COURSE_SET, 0);
        cal_close(cal_place(COURSE_SET, COURSE_PLACE, LESSON_EXAM_KIND_TABLE[0].entry));
        return;
    }
    cal_lines({teacher(12307)});
    cal_train(cal_skill(LESSON_SKILL), 500);
}

void first_exam_passed() {
    cal_lines({{.sound = 693_snd, .text = 12400_t, .right = {TEACHER}}, {.sound = 698_snd}});
    cal_train(cal_skill(LESSON_SKILL), RIGHT_EXP);
    wait_ms(PAUSE_MS);
    cal_lines({{.sound = 695_snd, .text = 12401_t, .to = 12404_t, .right = {TEACHER}},
               {.travel = true, .text = 12405_t, .to = 12407_t, .right = {TEACHER}}});
    known_add(LESSON_EXAM_SKILL, 50);
    cal_train(cal_skill(LESSON_EXAM_SKILL), 1000);
}

void second_exam_passed() {
    cal_lines({{.sound = 693_snd, .text = 12410_t, .right = {TEACHER}}});
    cal_train(cal_skill(LESSON_SKILL), RIGHT_EXP);
    cal_lines({{.sound = 698_snd, .text = 12411_t, .right = {TEACHER}},
               {.sound = 693_snd, .text = 12412_t, .to = 12413_t, .right = {TEACHER}},
               {.sound = 698_snd}});
    wait_ms(PAUSE_MS);
    cal_lines({{.sound = 695_snd, .text = 12414_t, .to = 12416_t, .right = {TEACHER}}});
    cal_train(cal_skill(LESSON_EXAM_SKILL), 1500);
}

// Line 12410, the second exam's first line, comes before 12408 here too.
void third_exam_passed() {
    cal_lines({teacher(12410), teacher(12408)});
    cal_train(cal_skill(LESSON_SKILL), RIGHT_EXP);
    cal_train(cal_skill(LESSON_EXAM_SKILL), 2000);
    inv_add(1556, 10);
}

void (*const EXAM_PASSED[LESSON_EXAM_KINDS])() = {final_exam_passed, first_exam_passed,
                                                  second_exam_passed, third_exam_passed};

constexpr s32 REFUSAL_TEXT = 12302; // + q / 4: the skill is not there yet
constexpr s32 QUESTIONS_PER_REFUSAL = 4;

} // namespace

void illustrated_lesson(s32 n) {
    if (n < 1 || n > LESSON_COUNT) return;
    read_lesson(ILLUSTRATED_LESSONS[n]);
}

void lesson_exam(s32 q, s32 kind) {
    if (q < 0 || q >= LESSON_QUESTIONS || kind < 0 || kind >= LESSON_EXAM_KINDS) return;
    const LessonQuestion& question = LESSON_QUESTION_TABLE[q];
    cal_lines({{.backdrop = COURSE_BACKDROP, .text = 12300_t}, teacher(12301), {.travel = true}});
    if (growth_value(LESSON_SKILL) < question.required) {
        cal_lines({teacher(REFUSAL_TEXT + q / QUESTIONS_PER_REFUSAL)});
        return;
    }
    const s32 text = LESSON_QUESTION_TEXT + LESSON_QUESTION_STRIDE * q;
    const CalLine ask[] = {
        {.text = CalText{text}, .right = {TEACHER}, .pic = over(question.picture)},
        {.right = {TEACHER},
         .pic = over(question.picture),
         .choose = {CalText{text + 1}, CalText{text + 2}, CalText{text + 3}, CalText{text + 4}}},
    };
    if (cal_lines(ask) != q % LESSON_OPTIONS) {
        cal_lines({teacher(12306)});
        mood_add(-1);
        CalSummary sum;
        cal_summary_add(sum, 284_t);
        cal_summary_show(sum);
        return;
    }
    EXAM_PASSED[kind]();
    if (kind != 0)
        place_chain_advance(COURSE_SET, COURSE_PLACE, LESSON_EXAM_KIND_TABLE[kind].entry);
}

void lesson_course_stage(s32 step) {
    if (step < 0 || step >= LESSON_STEPS) return;
    const LessonStep& s = LESSON_STEP_TABLE[step];
    switch (s.kind) {
    case LessonStepKind::Intro:
        introduction();
        return;
    case LessonStepKind::Lesson:
        hub_block.scene_backdrop = cal_id(COURSE_BACKDROP);
        read_lesson(ILLUSTRATED_LESSONS[s.arg]);
        place_chain_advance(COURSE_SET, COURSE_PLACE, step);
        return;
    case LessonStepKind::Exam: {
        hub_block.scene_backdrop = cal_id(COURSE_BACKDROP);
        const LessonExamKind& k = LESSON_EXAM_KIND_TABLE[s.arg];
        lesson_exam(k.first_question + cal_rand(k.questions), s.arg);
        return;
    }
    }
}

void calendar_event_080() {
    lesson_course_stage(0);
}
void calendar_event_081() {
    lesson_course_stage(1);
}
void calendar_event_082() {
    lesson_course_stage(2);
}
void calendar_event_083() {
    lesson_course_stage(3);
}
void calendar_event_084() {
    lesson_course_stage(4);
}
void calendar_event_085() {
    lesson_course_stage(5);
}
void calendar_event_086() {
    lesson_course_stage(6);
}
void calendar_event_087() {
    lesson_course_stage(7);
}
void calendar_event_088() {
    lesson_course_stage(8);
}
void calendar_event_089() {
    lesson_course_stage(9);
}
void calendar_event_090() {
    lesson_course_stage(10);
}
void calendar_event_091() {
    lesson_course_stage(11);
}
void calendar_event_092() {
    lesson_course_stage(12);
}
void calendar_event_093() {
    lesson_course_stage(13);
}
void calendar_event_094() {
    lesson_course_stage(14);
}
void calendar_event_095() {
    lesson_course_stage(15);
}
void calendar_event_096() {
    lesson_course_stage(16);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {80, calendar_event_080}, {81, calendar_event_081}, {82, calendar_event_082},
    {83, calendar_event_083}, {84, calendar_event_084}, {85, calendar_event_085},
    {86, calendar_event_086}, {87, calendar_event_087}, {88, calendar_event_088},
    {89, calendar_event_089}, {90, calendar_event_090}, {91, calendar_event_091},
    {92, calendar_event_092}, {93, calendar_event_093}, {94, calendar_event_094},
    {95, calendar_event_095}, {96, calendar_event_096},
};
} // namespace

std::span<const CalendarSlot> lessons_slots() {
    return SLOTS;
}

void register_lessons() {
    calendar_install(SLOTS, LESSONS_OWNER);
}
