// The meal screen over the hub's dashboard: fourteen dishes to eat (served, so they cost nothing
// and take nothing from the inventory) and a comment on how full the protagonist is.
#pragma once
#include "engine/types.h"

constexpr s32 MEAL_DISHES = 14;
constexpr s32 MEAL_FIRST_DISH = 2050; // dish k is food item 2050 + k
// Dish k's label at (34 + 104 (k mod 5), 403 + 20 (k div 5)); it answers x .. x + 96, y .. y + 16.
constexpr s32 MEAL_LABEL_X = 34, MEAL_LABEL_DX = 104, MEAL_LABEL_Y = 403, MEAL_LABEL_DY = 20;
constexpr s32 MEAL_LABEL_COLUMNS = 5, MEAL_LABEL_W = 96, MEAL_LABEL_H = 16;
constexpr s32 MEAL_PORTRAIT = 62160, MEAL_PORTRAIT_X = 384, MEAL_PORTRAIT_Y = 172;
constexpr s32 MEAL_CAPTION = 60324, MEAL_CAPTION_X = 0, MEAL_CAPTION_Y = 328;
constexpr s32 TEXT_MEAL_PROMPT = 30597;

// The comment lines after eating (0 = none).
constexpr s32 TEXT_MEAL_DONE = 222, TEXT_MEAL_OVERFED = 283, TEXT_MEAL_STILL_HUNGRY = 233;
struct MealComment {
    s32 first, second;
};
// The comment after eating, by fullness, appetite, mood and condition; applies its effect on mood
// and stamina and returns its lines.
MealComment meal_comment();

// Passes of the open meal screen, counted at the start of each (tests drive their clicks by it).
extern s32 meal_passes;

// Runs the screen until a dish is eaten, then says the comment.
void meal_screen();
