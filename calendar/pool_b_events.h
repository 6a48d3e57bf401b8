// The meetings of pool B (command 51 of the dashboard). Their chains are rows of the chain table
// (calendar/event_pools.h); slots 204 and 205 run the ring-game battle and slot 214 the item
// picker (calendar/pool_routines.h). Slot 201 starts a map episode from the draw (a pool episode).
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

// The aiming game with a target that slot 148 plays (game_aim_target by default; tests replace
// it). Its result 0 is a miss.
extern s32 (*pool_aim_target_seam)(s32 mode, s32 coach, s32 slots, s32 main_kind, s32 a5, s32 a6);

constexpr s32 POOL_B_AIM_SUCCESS = 150; // slot 149's score for the better outcome
constexpr s32 POOL_B_LATE_TURN = 100;   // slot 149 opens pool A 11 only after this turn
constexpr s32 POOL_B_ROUNDS_98 = 6;     // slot 155's round limit for encounter 98
constexpr s32 POOL_B_RIGHT_ANSWERS[4] = {0, 1, 3, 2}; // slot 219's questions

void calendar_event_119();
void calendar_event_132();
void calendar_event_138();
void calendar_event_139();
void calendar_event_140();
void calendar_event_141();
void calendar_event_148();
void calendar_event_149();
void calendar_event_152();
void calendar_event_155();
void calendar_event_201();
void calendar_event_202();
void calendar_event_204();
void calendar_event_205();
void calendar_event_209();
void calendar_event_214();
void calendar_event_215();
void calendar_event_216();
void calendar_event_219();
void calendar_event_223();

constexpr const char* POOL_B_EVENTS_OWNER = "calendar pool B events";
std::span<const CalendarSlot> pool_b_events_slots();
void register_pool_b_events();
