// The contest hall of map 16: its master with the dice games for money, the high-stakes game that
// opens the hall's tournament and the tournament itself; the dice partner, who plays a practice
// game with the player and, once beaten, walks out across the home map to map 41 and teaches the
// aiming skill there; and a resident who only talks.
//
// The tournament draws its opponents from a fixed list of 33 fighters without drawing any twice,
// among those who are not in the player's party and are still in the world. When fewer of them
// are left than the bout needs, the bout is fought with those; when none is left, it is not
// fought at all (no battle, no fame).
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// ---- The contest master ----------------------------------------------------------------------

constexpr s32 MASTER_OBJ = 26;
constexpr s32 MASTER_PORTRAIT = 1024;
// The master's stage: plain dice only, invited to the high-stakes game, lost it, won it (the
// tournament from 13:00), entered the tournament.
constexpr s32 MASTER_PLAIN = 0;
constexpr s32 MASTER_INVITED = 1;
constexpr s32 MASTER_HIGH_LOST = 2;
constexpr s32 MASTER_HIGH_WON = 3;
constexpr s32 MASTER_ENTERED = 4;
constexpr s32 TOURNAMENT_FROM_HOUR = 13;

// ---- The tournament --------------------------------------------------------------------------

constexpr s32 TOURNAMENT_ENCOUNTER = 99;
constexpr s32 TOURNAMENT_CANDIDATE_COUNT = 33;
// The roster ids the opponents are drawn from, in the order the draws count them.
std::span<const s32> tournament_candidates();
constexpr s32 TOURNAMENT_FAME = 5;
// The special bout: person 4 of the party fights person 105 alone for the player, once.
constexpr s32 SPECIAL_FLAG = 29;
constexpr s32 SPECIAL_CHAMPION = 4;
constexpr s32 SPECIAL_OPPONENT = 105;
constexpr s32 SPECIAL_HOST_OBJ = 2215; // the champion's host of the open world
constexpr s32 SPECIAL_ARENA_OBJ = 2106;
constexpr s32 SPECIAL_MAP = 144;
// Whether the day of the month holds the special bout while it has not been fought (pure).
bool tournament_special_day(s32 day);

// One bout of the hall's tournament, called by the master: writes the line-up of encounter 99,
// fights it and gives fame for a win.
void tournament_run();

// ---- The dice partner and archery teacher ----------------------------------------------------

constexpr s32 PARTNER_OBJ = 82;
// The partner's stage: first meeting, declined, lost the practice, walking out (3-13), waiting
// on map 41, taught.
constexpr s32 PARTNER_FIRST = 0;
constexpr s32 PARTNER_DECLINED = 1;
constexpr s32 PARTNER_LOST = 2;
constexpr s32 PARTNER_WALK_FIRST = 3;
constexpr s32 PARTNER_WALK_LAST = 13;
constexpr s32 PARTNER_WAITING = 14;
constexpr s32 PARTNER_TAUGHT = 15;
// The partner's regard, kept in an affection entry that is no person's.
constexpr s32 PARTNER_REGARD = 301;
constexpr s32 PARTNER_REGARD_LOST = 30;
constexpr s32 PARTNER_REGARD_TAUGHT = 60;
constexpr s32 AIM_TOOL_ITEM = 2211;
constexpr s32 AIM_AMMO_ITEM = 2200;
constexpr s32 AIM_AMMO_COUNT = 300;
constexpr s32 AIM_GROWTH = 18;
constexpr s32 AIM_EXP = 200;
// The walking teacher of the interiors whom the partner sends on its own walk.
constexpr s32 WALKING_TEACHER_OBJ = 187;

// ---- The hall resident -----------------------------------------------------------------------

constexpr s32 HALL_RESIDENT_OBJ = 81;

// ---- Frames ----------------------------------------------------------------------------------

// Calls visit(frame) for every frame these scripts show beyond the objects' first.
void contest_hall_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0024(); // the contest master
void object_event_0026(); // the dice partner and archery teacher
void object_event_0038(); // the hall resident

constexpr const char* HOME_CONTEST_HALL_OWNER = "home contest hall";
std::span<const ScriptSlot> home_contest_hall_slots();
ScriptRegion home_contest_hall_region();
