#pragma once
// The finale of the city episode: the player walks from map 211 to map 227, talks with person
// 234 (the wording by the player's growth value 30), watches object 1145 perform for as long as
// one piece of music plays, and the episode ends. The episode director plays it at the close
// when the trials are passed, and the cave exit when the player leaves the caves with them.
//
// It writes no story flag (the caller has stored the outcome) and returns with
// `world_state.field_active` 0 and the director (object 1097) hidden.
#include "engine/types.h"

constexpr s32 CITY_FINALE_PERFORMER = 1145;
constexpr s32 CITY_FINALE_FIRST_FRAME = 39630; // the performance cycles these frames by 2
constexpr s32 CITY_FINALE_LAST_FRAME = 39650;
constexpr s32 CITY_FINALE_STEP_MS = 300;
constexpr s32 CITY_FINALE_PIECE = 10064; // one pass of it is the performance
// The player's growth value 30 (PlayerRecord.attr[5]) from which the longer wording is said.
constexpr s32 CITY_FINALE_GROWTH = 5;
constexpr s32 CITY_FINALE_LONG_FROM = 70;

void city_finale();
// The companions' three lines that lead into the finale (the episode's close and the cave exit
// both say them when the trials are passed), then `city_finale`.
void city_finale_with_companions();

// Every frame the finale shows, for the placeholder pictures.
void city_finale_frames(void (*visit)(s32 frame, void* ctx), void* ctx);
