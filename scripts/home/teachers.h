// The teachers of the home region's interiors. Each raises one growth value once the player meets
// its condition, and keeps its progress in its own stage (ATTR_VAR_A):
//
// - object 182 (map 42) teaches growth 20 after a long first talk;
// - object 183 (map 48) teaches growth 19 for the right dish (food item 2054) brought to it;
// - object 184 (map 40) teaches growth 30 after its first talk and later asks a fee; object 185
//   beside it is its companion (person 55), and the step area 186 plays their meeting scene once;
// - object 187 walks, once the archery teacher has set its stage 2, over maps 45, 42, 41 and 43
//   and teaches growth 16 at the end of the walk (stage 24);
// - object 188 (map 32) paces to its board and back, and teaches growth 12 by a ten-question quiz
//   or, after a middling score, once the player knows entry 57 of known list 12;
// - object 200 (map 36) teaches growth 11 for item 901 and once more for a right answer;
// - object 204 (map 40) teaches growth 30 by a sixteen-question quiz.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// The objects.
constexpr s32 TEACHER_OF_MAP_42 = 182;
constexpr s32 DISH_TEACHER = 183;
constexpr s32 FEE_TEACHER = 184;
constexpr s32 FEE_COMPANION = 185;
constexpr s32 MEETING_AREA = 186;
constexpr s32 WALKING_TEACHER = 187;
constexpr s32 BOARD_TEACHER = 188;
constexpr s32 ITEM_TEACHER = 200;
constexpr s32 RIDDLE_TEACHER = 204;

// Object 187's stages: still before the archery teacher starts it, walking 2..23, teaching 24.
constexpr s32 WALK_FIRST_STAGE = 2;
constexpr s32 WALK_LESSON_STAGE = 24;

// The dish teacher's menu of dishes: option k is food item DISH_FIRST + k while the player owns
// it, and absent otherwise; DISH_LESSON is the dish that teaches.
constexpr s32 DISH_FIRST = 2050;
constexpr s32 DISH_COUNT = 5;
constexpr s32 DISH_LESSON = 2054;

// The score of the board teacher's last quiz (0..9: ten right answers count 9) and the number the
// riddle teacher's last quiz answered right; no save holds them.
extern s32 board_quiz_score;
extern s32 riddle_quiz_right;

// Calls visit(frame) for every frame the teachers show (idle loops, turns, walks, the meeting
// scene), so that a picture can be supplied for each.
void teachers_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

void object_event_0089(); // object 182
void object_event_0090(); // object 183, the dish
void object_event_0091(); // object 184, the fee
void object_event_0092(); // object 185, the companion
void object_event_0093(); // object 186, the meeting scene of map 40 (step-on)
void object_event_0094(); // object 187, the walking teacher
void object_event_0095(); // object 188, the board quiz
void object_event_0104(); // object 200, the item exchange
void object_event_0108(); // object 204, the riddles

constexpr const char* HOME_TEACHERS_OWNER = "home teachers";
std::span<const ScriptSlot> home_teachers_slots();
ScriptRegion home_teachers_region();
