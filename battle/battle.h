// The battle: `battle_run` fights one encounter of `encounters` on the 12 x 12 grid and returns
// 0 (own side wiped out, or for encounters 126 and 149 the protagonist down), 1 (opponents wiped
// out; victory music played and `battle_reward` applied) or 2 (round limit ran out).
//
// This module owns the fighters (`battle_slots`), the turn order and the round loop. The other
// battle modules: battle_setup (fighters from the encounter), battle_grid (cells, distance maps,
// moving), battle_attack (blows, damage, value changers, rest), battle_special (the player's
// attack command and the field-effect arts), battle_ai (computer turns), battle_player (the
// player's turn and command bar), battle_anim (animation tracks), battle_draw (everything else
// on screen).
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 BATTLE_SLOTS = 12;
constexpr s32 BATTLE_SIDE = 6;     // slots 0..5 own side, 6..11 opponents; side of s is s / 6
constexpr s32 BATTLE_NO_SLOT = 12; // battle_active_slot: no fighter for this step
constexpr s32 BATTLE_HITS = 6;     // hit points per fighter
constexpr s32 BATTLE_BAG = 5;      // medicine pairs per fighter
constexpr s32 BATTLE_ORDER = 13;   // turn_order entries (entry 12 stays empty)

enum BattleResult : s32 { BATTLE_LOST = 0, BATTLE_WON = 1, BATTLE_TIME_UP = 2 };

// Facings: toward column 0, column 11, row 0, row 11.
enum BattleFacing : s32 { FACE_COL0 = 1, FACE_COL11 = 2, FACE_ROW0 = 3, FACE_ROW11 = 4 };

// Working state of one fighter for the whole battle. Slot 0 is the protagonist: its fields from
// `rank` on stay unfilled, its live values are those of the player record.
struct BattleSlot {
    s32 character;          // roster index, 0 = protagonist; -1 = empty or fallen
    s32 art;                // arts_table index
    s32 art_level;          // 0..100
    s32 anim;               // animation slot shown
    s32 spare_a;            // -1 at battle start; nothing reads it
    s32 x;                  // screen point of the fighter's cell
    s32 hit_x[BATTLE_HITS]; // screen points of the cells the current attack hits; -1 none
    s32 y;
    s32 hit_y[BATTLE_HITS];
    s32 stunned;   // turns the fighter will lose; > 0 also dims it
    s32 facing;    // BattleFacing
    s32 ai_target; // slot the computer aims at; -1 none
    s32 ai_lock;   // 1 while the computer keeps that target
    s32 rank;
    s32 hp, hp_max, mp_max, mp;
    s32 attack, defence, speed;
    s32 spare_b; // 0 at battle start; the attack display writes it; nothing reads it
    s32 resistance;
    s32 poison;             // 0..100
    s32 bag[BATTLE_BAG][2]; // {item, count}; -1 = empty
};
static_assert(sizeof(BattleSlot) == 44 * 4);
static_assert(offsetof(BattleSlot, hit_x) == 24);
static_assert(offsetof(BattleSlot, y) == 48);
static_assert(offsetof(BattleSlot, stunned) == 76);
static_assert(offsetof(BattleSlot, rank) == 92);
static_assert(offsetof(BattleSlot, spare_b) == 124);
static_assert(offsetof(BattleSlot, bag) == 136);

struct TurnEntry {
    s32 character; // the slot's character; -1 empty
    s32 speed;
    s32 slot; // the slot the entry was built from
};

extern BattleSlot battle_slots[BATTLE_SLOTS];
extern TurnEntry turn_order[BATTLE_ORDER];
extern s32 battle_encounter;   // the encounter passed to battle_run
extern s32 battle_active_slot; // slot whose turn it is; 12 none
extern s32 battle_step;        // index of the acting turn_order entry
extern s32 battle_reaction;    // the protagonist's reaction to the current attack, -1 none
extern s32 battle_reaction_value;
extern s32 battle_rounds_left; // rounds before the battle ends with result 2; -1 no limit

// Fights `encounter` (0..159; anything else returns BATTLE_LOST (0) at once without touching
// anything) and returns a BattleResult. `battle_active` is 1 while it runs and 0 after every
// exit; the music playing at entry is restored on every exit (silence when there was none), and
// every companion and opponent still standing has its last hp, mp, mp maximum and poison in its
// roster entry, whatever ended the battle.
// The encounter's round limit is counted down for this battle only (`battle_rounds_left`): the
// record keeps the limit its caller set, so every fight of it gets the whole limit. Random start
// cells are written back into the record and reused by later fights.
s32 battle_run(s32 encounter);

// The seam through which calendar handlers and scripts start battles; tests replace it.
extern s32 (*battle_run_seam)(s32 encounter);

// Rebuilds `turn_order` from the live slots: highest speed first, slot order on ties (a stable
// sort; slot 0 uses the protagonist's bare speed attribute).
void battle_turn_order();

// One step of the round loop (the acting order entry plays, the round ends after step 11);
// returns -1 while the battle goes on, else the BattleResult (before the exit's music and reward).
s32 battle_loop_step();

// The slot whose character is that of turn_order entry `step` (the stored slot of the entry,
// when it is live), else 12.
s32 battle_slot_of_step(s32 step);

// Counts of live fighters per side.
s32 battle_side_alive(s32 side);

// The entry steps before the first round: music, clears, set-up, turn order, first allowance.
// `encounter` must be 0..159 (battle_run checks it).
void battle_enter(s32 encounter);

// Copies hp, mp, mp maximum and poison of slot 1..11 into its roster entry (nothing for slot 0,
// an empty slot or a character outside the roster).
void battle_roster_copy(s32 slot);
