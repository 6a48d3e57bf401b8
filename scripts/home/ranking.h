// The ranking panel: the player's place among the 300 fighters of the roster. The player's best
// score is the highest `art_score` of the arts known in lists 2 to 7; a fighter ranks above the
// player when the power of its art times its level, plus 100 times its rank, exceeds it. The panel
// shows the place and blinks its marker until a button goes down; the closing click is cleared
// so that it does not reach the map object under it.
#pragma once
#include "engine/types.h"

constexpr s32 RANKING_LIST_FIRST = 2;
constexpr s32 RANKING_LIST_LAST = 7;
constexpr s32 RANKING_ART_ID_MIN = 50; // entries below id 50 are not arts
constexpr s32 RANKING_RANK_WEIGHT = 100;

constexpr s32 RANKING_PANEL_IMAGE = 895;
constexpr s32 RANKING_PANEL_X = 218, RANKING_PANEL_Y = 220;
constexpr s32 RANKING_LABEL_TEXT = 14908;
constexpr s32 RANKING_LABEL_X = 230, RANKING_LABEL_Y = 225;
constexpr s32 RANKING_NUMBER_X = 326, RANKING_NUMBER_Y = 225, RANKING_NUMBER_DIGITS = 3;
constexpr s32 RANKING_MARKER_X = 398, RANKING_MARKER_Y = 224;

// The player's best art score (0 when no art of lists 2-7 is known).
s32 ranking_best_score();
// The score a roster fighter is ranked by (an art outside the arts table counts power 0).
s64 ranking_fighter_score(s32 person);
// 1 + the number of roster fighters whose score exceeds `best`.
s32 ranking_place(s32 best);

void show_ranking();
