// The companion visit of the calendar hub (command 54): the player picks an acquaintance and
// either keeps them company (affection by the current level) or hands over a gift from the
// inventory (affection by the person's taste). It uses no turn; the hub offers it once a turn.
#pragma once
#include "engine/types.h"

constexpr s32 COMPANION_BACKDROP = 60425;
constexpr s32 COMPANION_CHOOSE_TEXT = 584; // the choose label on the person chooser
constexpr s32 COMPANION_LOG_TEXT = 433;    // logged with the person's affection at the end

// Affection gained by keeping company with a person whose affection is `affection`: 3 below 60,
// 2 below 70, else 1.
s32 companion_company_gain(s32 affection);

void companion_visit_screen();
