// The party: up to five companions travelling with the player (`PlayerRecord.party`, roster ids,
// -1 = free). Recruitment adds a companion to the first free of slots 1..4 and, when those are
// full, asks the player whom to send away; slot 0 is written only by scripts and set-ups. A
// companion sent away goes back to its own place in the world. Before a battle the party is
// written into the encounter set-up beside the player.
#pragma once
#include "engine/types.h"

// Text the newcomer says when the party is full, and the decline option of the choice.
constexpr s32 PARTY_FULL_TEXT = 26471;
constexpr s32 PARTY_DECLINE_TEXT = 26472;

// Where a dismissed companion stands again: its world object, map, point and signed frame.
struct PartyPlace {
    s32 person;
    s32 object;
    s32 map;
    s32 x;
    s32 y;
    s32 frame; // negative = mirrored
};
constexpr s32 PARTY_PLACE_COUNT = 10;
extern const PartyPlace party_places[PARTY_PLACE_COUNT];

// 1 when the person joined; 0 when the party was full and the player declined.
s32 party_join(s32 person);
// As `party_join` without the decline option: the player must send a member away. Always 1.
s32 party_join_forced(s32 person);
// Removes the person from every slot that holds it; the slots behind move down.
void party_leave(s32 person);
// 1 when any of the five slots holds the person.
s32 party_has(s32 person);
// Fighter 0 of encounter set-up `encounter` := the player; each party slot i holding a roster
// character with hit points left becomes fighter i + 1. Other fighters keep their values. An
// encounter outside 0..159 is left alone.
void party_to_battle(s32 encounter);
// Puts a dismissed companion's world object back on its map, shown; nothing for a person
// without a place.
void party_drop_place(s32 person);
