// Integer math, random numbers and directions.
//
// - `rand_below`: the game's one source of random numbers. It mixes our runtime generator with
//   `rand_counter`, which the engine's timing loops keep stirring, so draws depend on timing.
// - `isqrt`: a table-driven integer square root (about eight significant bits) for distances.
// - `direction_of`: a screen vector as a whole-degree angle (0 right, 90 up, 180 left, 270 down),
//   and `dir_step_x` / `dir_step_y`, which turn such an angle back into a 16.16 unit step.
// - `trig_tables_init`: the start-up tables of the small 3-D module.
#pragma once
#include "engine/types.h"

#include <array>

// ---- Random numbers -------------------------------------------------------------------------
// The runtime generator: state := state x 214013 + 2531011 (mod 2^32); the result is bits 16..30
// of the new state (0..32767). Seeded from the tick counter when the game thread starts.
extern u32 rt_rand_state;
void rt_srand(u32 seed);
s32 rt_rand();

constexpr s32 RAND_COUNTER_START = 13572468;
// The mixing counter; all arithmetic on it is modulo 2^32. Add to it only through `rand_stir`,
// which wraps without signed overflow.
extern s32 rand_counter;
void rand_stir(u32 amount);

// 0 .. n-1; 0 (and the counter untouched) when n <= 0.
s32 rand_below(s32 n);

// ---- Square root -------------------------------------------------------------------------------
// Approximate floor of the square root of n: isqrt(1000000) = 996, isqrt(2^32 - 1) = 65280.
s32 isqrt(u32 n);

// ---- Directions -------------------------------------------------------------------------------
constexpr s32 DIR_TANGENT_COUNT = 89;
// Entry i (1..89) = tan(i degrees) x 65536 as stored; entry 0 is unused.
extern const s32 dir_tangents[DIR_TANGENT_COUNT + 1];

// Angle of the vector (dx, dy) in whole degrees, counter-clockwise from the right with screen y
// pointing down: one of 0..88, 90, 92..180, 180..268, 270, 272..359. (0, 0) gives 90.
s32 direction_of(s32 dx, s32 dy);

// 16.16 step of a unit move in each direction 0..359: cos(a) x 65536 and -sin(a) x 65536,
// truncated toward zero, with 1.0 stored as 65535. Built before any code runs.
extern const std::array<s32, 360> dir_step_x;
extern const std::array<s32, 360> dir_step_y;

// ---- 3-D module start-up
// -------------------------------------------------------------------------
constexpr s32 TRIG_TABLE_SIZE = 4096; // angles in 4096ths of a turn
extern float trig_sine[TRIG_TABLE_SIZE];
extern float trig_cosine[TRIG_TABLE_SIZE];
extern u16* trig_target;  // drawing target of the module
extern u16* trig_depth;   // its depth area
extern float trig_eye[3]; // the camera: eye point, point looked at, up vector
extern float trig_look_at[3];
extern float trig_up[3];

// Keeps the two buffers, builds the sine and cosine tables and sets the camera to the eye point
// (0, 0, -350) looking at the origin with up (0, 1, 0).
void trig_tables_init(u16* back, u16* save);
