// Battle set-up: the twelve fighters of `battle_encounter` placed on the grid, the protagonist's
// weapon family and art, every fighter's animation, the roster values copied in.
#pragma once
#include "engine/types.h"

// The protagonist's art in use: `KnownEntry` art_entry of known list art_list.
extern s32 art_list;
extern s32 art_entry;
extern s32 art_best_level;   // level of the best entry found by the last art search; -1 none
extern s32 weapon_family;    // 0..5; kept from the previous battle when no family row matches
extern s32 family_usable[5]; // lists 5, 6, 7, 8, 1: an entry with id >= 50 is known

// Known list of family_usable[i].
constexpr s32 FAMILY_LISTS[5] = {5, 6, 7, 8, 1};

// Puts every slot in its empty state (character, art, level, anim, spare, x, y, facing,
// ai_target, ai_lock := -1; hit points -1; stunned 0; spare_b 0).
void battle_slots_clear();

// Places the fighters of `battle_encounter` (drawing random cells and writing them back into
// the encounter record), chooses the protagonist's family and art, copies roster values, sets up
// the animation tracks and plays one animation step.
void battle_setup();

// The art search over `lists` (count entries, in order) and entries 0..99: the highest level
// with id >= 50 wins, the first of equal levels. Sets art_list/art_entry/art_best_level when an
// entry is found; returns 1 when one was found, 0 when none (art_list/art_entry unchanged).
s32 battle_art_search(const s32* lists, s32 count);

// 1 when art_list/art_entry name a known art with id 50..99 of a list 0..9, so that it indexes
// arts_table; the protagonist fights bare-handed (BATTLE_BARE_ART) when it does not.
s32 battle_protagonist_art_valid();
// The bare-handed fallback: the first art of the bare-hand list 2 (list 2, id 50), used at level
// 0 whenever art_list/art_entry name no known art; also the art of a roster character whose art
// lies outside arts_table. Nothing is indexed with art_list/art_entry then.
constexpr s32 BATTLE_BARE_ART = 100;
// The protagonist's art index (BATTLE_BARE_ART when none is named), its level 0..100 (0 for the
// fallback) and the text id of its name.
s32 battle_protagonist_art();
s32 battle_protagonist_art_level();
s32 battle_protagonist_art_name();

// Sets slot 0's art, art_level and anim from art_list/art_entry (or the bare-handed fallback).
void battle_protagonist_take_art();

// Animation choice: ArtEntry.anim[(art_level / 40) x 2 + d], d = 1 for facings 2 and 4; -1 (no
// animation) for an art outside arts_table.
s32 battle_anim_for(s32 art, s32 art_level, s32 facing);
