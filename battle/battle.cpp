// The battle's entry and round loop: music, set-up, the loop of steps over the turn order, the
// round end (round limit, poison, roster copy, falls, new order, field countdown) and the exits.
#include "battle/battle.h"

#include "battle/battle_ai.h"
#include "battle/battle_anim.h"
#include "battle/battle_attack.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_player.h"
#include "battle/battle_setup.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "platform/platform.h"

#include <algorithm>

BattleSlot battle_slots[BATTLE_SLOTS];
TurnEntry turn_order[BATTLE_ORDER];
s32 battle_encounter = 0;
s32 battle_active_slot = BATTLE_NO_SLOT;
s32 battle_step = 0;
s32 battle_reaction = -1;
s32 battle_reaction_value = 0;
s32 battle_rounds_left = -1;

s32 (*battle_run_seam)(s32 encounter) = battle_run;

namespace {

constexpr s32 MUSIC_STORY = 10002; // the story fights
constexpr s32 MUSIC_BATTLE_A = 10066;
constexpr s32 MUSIC_BATTLE_B = 10000;
constexpr s32 MUSIC_VICTORY = 10001;

bool story_fight(s32 encounter) {
    return encounter == 126 || encounter == 149 || encounter == 150 || encounter == 151 ||
           encounter == 152;
}

// Encounters that are lost as soon as the protagonist is down, companions or not.
bool protagonist_must_stand(s32 encounter) {
    return encounter == 126 || encounter == 149;
}

bool slot_live(s32 slot) {
    return battle_slots[slot].character != -1;
}

// Puts the music of the entry back: the remembered track, or silence when there was none.
void restore_music(s32 music) {
    player_record.music_id = music;
    if (music < 0) {
        mssw_stop_music();
        return;
    }
    mssw_play_music(music, 0);
}

} // namespace

void battle_roster_copy(s32 slot) {
    if (slot < 1 || slot >= BATTLE_SLOTS) return;
    const BattleSlot& s = battle_slots[slot];
    if (s.character < 0 || s.character >= ROSTER_SIZE) return;
    RosterEntry& r = roster[s.character];
    r.hp = s.hp;
    r.mp = s.mp;
    r.mp_max = s.mp_max;
    r.poison = s.poison;
}

void battle_turn_order() {
    for (s32 i = 0; i < BATTLE_SLOTS; ++i) turn_order[i] = {-1, -1, -1};
    s32 n = 0;
    for (s32 slot = 0; slot < BATTLE_SLOTS; ++slot) {
        const BattleSlot& s = battle_slots[slot];
        if (s.character == -1) continue;
        const s32 speed = slot == 0 ? player_record.attr[4] : s.speed;
        turn_order[n++] = {s.character, speed, slot};
    }
    // Highest speed first; equal speeds keep slot order.
    std::stable_sort(turn_order, turn_order + n,
                     [](const TurnEntry& a, const TurnEntry& b) { return a.speed > b.speed; });
}

s32 battle_slot_of_step(s32 step) {
    if (step < 0 || step >= BATTLE_ORDER) return BATTLE_NO_SLOT;
    const TurnEntry& e = turn_order[step];
    if (e.character == -1 || e.slot < 0 || e.slot >= BATTLE_SLOTS) return BATTLE_NO_SLOT;
    // The entry's own fighter, while it still stands there.
    if (battle_slots[e.slot].character != e.character) return BATTLE_NO_SLOT;
    return e.slot;
}

s32 battle_side_alive(s32 side) {
    if (side < 0 || side > 1) return 0;
    s32 n = 0;
    for (s32 slot = side * BATTLE_SIDE; slot < (side + 1) * BATTLE_SIDE; ++slot)
        n += slot_live(slot);
    return n;
}

namespace {

// The round end; returns BATTLE_TIME_UP when the round limit ran out, else -1.
s32 round_end() {
    if (battle_rounds_left != -1) {
        battle_rounds_left -= 1;
        if (battle_rounds_left <= 0) return BATTLE_TIME_UP;
    }
    for (s32 slot = 0; slot < BATTLE_SLOTS; ++slot) {
        if (!slot_live(slot)) continue;
        const s32 poison = slot == 0 ? player_record.poison : battle_slots[slot].poison;
        if (poison > 0) battle_hp_add(slot, -(poison / 2));
        if (slot == 0) {
            if (player_record.hp <= 0) battle_slots[0].character = -1;
        } else {
            battle_roster_copy(slot);
            if (battle_slots[slot].hp < 1) battle_slots[slot].character = -1;
        }
    }
    battle_turn_order();
    battle_step = 0;
    field_turns -= 1;
    if (field_turns <= 0) {
        mssw_play_music(player_record.music_id, 0);
        field_turns = 0;
        field_kind = 0;
        field_bonus = 0;
    }
    return -1;
}

} // namespace

s32 battle_loop_step() {
    battle_active_slot = battle_slot_of_step(battle_step);
    if (battle_active_slot == 0)
        battle_player_turn();
    else
        battle_ai_turn(battle_active_slot);
    battle_reaction = -1;
    battle_reaction_value = 0;
    battle_step += 1;
    if (battle_step >= BATTLE_SLOTS) {
        const s32 r = round_end();
        if (r != -1) return r;
    }
    if (battle_side_alive(0) == 0) return BATTLE_LOST;
    if (protagonist_must_stand(battle_encounter) && player_record.hp <= 0) return BATTLE_LOST;
    if (battle_side_alive(1) == 0) return BATTLE_WON;
    return -1;
}

void battle_enter(s32 encounter) {
    battle_active = 1;
    if (story_fight(encounter)) {
        player_record.music_id = MUSIC_STORY;
    } else {
        player_record.music_id = rand_below(10) < 5 ? MUSIC_BATTLE_A : MUSIC_BATTLE_B;
    }
    mssw_play_music(player_record.music_id, 0);
    cursor_select(0);
    battle_encounter = encounter;
    battle_dists_clear();
    battle_cursor = {-1, -1, -1, -1};
    field_turns = 0;
    field_kind = 0;
    field_bonus = 0;
    for (TurnEntry& e : turn_order) e = {-1, -1, -1};
    battle_slots_clear();
    battle_reaction = -1;
    battle_reaction_value = 0;
    // The limit is counted for this battle only: the encounter record keeps the one its caller set.
    battle_rounds_left =
        encounters[encounter].round_limit < 0 ? -1 : encounters[encounter].round_limit;
    battle_setup();
    battle_turn_order();
    battle_step = 0;
    battle_active_slot = battle_slot_of_step(0);
    if (battle_active_slot == BATTLE_NO_SLOT) battle_active_slot = 0;
    mouse_buttons = 0;
    battle_slots[0].facing = FACE_ROW0;
    move_allowance = battle_turn_allowance(battle_active_slot);
    mouse_buttons = 0;
    text_style(5);
    text_size(16);
    text_colour(0, 0, 15);
}

s32 battle_run(s32 encounter) {
    if (encounter < 0 || encounter >= ENCOUNTER_COUNT) return BATTLE_LOST;
    const s32 music = player_record.music_id;
    battle_enter(encounter);
    s32 result = -1;
    while (result == -1) result = battle_loop_step();
    // Whatever ended the battle, every standing companion and opponent leaves with its last
    // values: the round limit ends the loop before the round end's copy, so a medicine or rest
    // of the last round would otherwise be lost (the fallen were copied when they fell).
    for (s32 slot = 1; slot < BATTLE_SLOTS; ++slot) battle_roster_copy(slot);
    if (result == BATTLE_WON) {
        battle_draw_background(); // with the field overlay
        battle_sync_anim();
        anim_play();
        screen_present();
        mssw_play_music(MUSIC_VICTORY, 1);
        // Only the victory track is waited for: without it in the archive the battle music
        // (which loops) stays in the slot and would hold the wait for ever.
        while (mssw_music_id == MUSIC_VICTORY && mssw_music_playing() == 1) plat_ticks();
        battle_reward(encounter);
    }
    restore_music(music);
    battle_active = 0;
    return result;
}
