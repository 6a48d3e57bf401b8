// The board course of place 1.3: at each visit the protagonist solves a tile-swap board of the
// next stage for the teacher (person 70) and gains skill 13 by the speed of the solution; after
// the ninth stage the place closes, and a later event reopens it for a final challenge of four
// boards against one clock, whose prize is an art.
//
// The boards are the tile-swap puzzle's own core (`tile_swap_run`) with the stage's two image
// blocks; the course keeps only the entries of place 1.3 and its button.
#pragma once
#include "calendar/calendar_register.h"
#include "engine/types.h"

#include <span>

constexpr s32 BOARD_STAGES = 9; // stages 0..8
constexpr s32 BOARD_STEPS = 10; // steps 0..9 of `board_step`
constexpr s32 BOARD_FINAL_STEP_MS = 2000;
constexpr s32 BOARD_FINAL_BLOCKS[2] = {7, 8}; // the first board of the final challenge
constexpr s32 BOARD_FINAL_LAST_FIRST = 1;     // its last board shows blocks 1 and 2

// The two image blocks of a stage.
struct BoardStage {
    s32 block_first, block_second;
};
extern const BoardStage BOARD_STAGE_TABLE[BOARD_STAGES];

// One step of the course: the stage played, the entry of place 1.3 closed and the one opened on
// success (-1: no change).
struct BoardStepRow {
    s32 stage, closed, opened;
};
extern const BoardStepRow BOARD_STEP_TABLE[BOARD_STEPS];

// Experience of skill 13 for a board result r > 0: 5 x skill 13 + 8 x (100 - r). A slow
// solution at a low skill gives a negative amount (a board that waited for the end of the bar,
// r = 102, takes experience below skill 4).
s32 board_experience(s32 skill13, s32 r);

// The board of stage 0..8 (a stage outside takes the nearest): steps + 1 when the boards are
// solved at the end (1..102), 0 when not.
s32 tile_board_game(s32 stage);
// One step 0..9 of the course (a step outside does nothing).
void board_step(s32 step);
// The final challenge; repeat 0 from entry 10, 1 from entry 11.
void board_final(s32 repeat);

void calendar_event_045();
void calendar_event_046();
void calendar_event_047();
void calendar_event_048();
void calendar_event_049();
void calendar_event_050();
void calendar_event_051();
void calendar_event_052();
void calendar_event_053();
void calendar_event_054();
void calendar_event_055();
void calendar_event_078();

constexpr const char* BOARD_CHAIN_OWNER = "calendar board chain";
std::span<const CalendarSlot> board_chain_slots();
void register_board_chain();
