// The roster: the fighting values of the 300 characters of the game world, indexed by character
// number (the same number that names the character everywhere else, e.g. portrait 1000 + n).
// The battle takes every combatant but the protagonist from it; the roster rules grow and heal
// it; scripts read and change single fields (presence, hit points, bags).
//
// `init_roster` fills it at every new game: defaults, hub portraits, the literal records of 160
// characters, one rolled hit-point value per entry and five fixed hit-point values. The roster
// is saved byte for byte (save block 7), so `RosterEntry` is a file format.
#pragma once
#include "engine/types.h"

#include <cstddef>

constexpr s32 ROSTER_SIZE = 300;
constexpr s32 ROSTER_BAG_SLOTS = 5;
constexpr s32 ROSTER_ROLL_CAP = 1500; // rolled hit points never exceed this
constexpr s32 ROSTER_DEFAULT_ART = 214;
constexpr s32 ROSTER_NO_ITEM = -1;     // item of an empty bag pair
constexpr s32 ROSTER_NO_PORTRAIT = -1; // no hub portrait

struct RosterBagSlot {
    s32 item; // item number, -1 = empty pair
    s32 count;
};

// 24 little-endian s32, 96 bytes, stored as is in saved games.
struct RosterEntry {
    s32 rank;   // fighting rank, 1..15 in the initial data
    s32 hp;     // current hit points
    s32 hp_max; // maximum hit points
    s32 mp_max; // maximum inner power
    s32 mp;     // current inner power
    s32 attack;
    s32 defence;
    s32 speed;                           // battle movement and turn order
    s32 presence;                        // non-zero while the character is in the world; 0 = gone
    s32 art;                             // index into `arts_table`
    s32 art_level;                       // 0..100
    s32 resistance;                      // resistance to poisoning in battle
    s32 poison;                          // poison level 0..100
    RosterBagSlot bag[ROSTER_BAG_SLOTS]; // battle items, kept compact from pair 0
    s32 hub_portrait;                    // n of the hub's half-length picture 62000 + n; -1 = none
};

static_assert(sizeof(RosterBagSlot) == 8);
static_assert(sizeof(RosterEntry) == 96);
static_assert(offsetof(RosterEntry, rank) == 0);
static_assert(offsetof(RosterEntry, hp) == 4);
static_assert(offsetof(RosterEntry, hp_max) == 8);
static_assert(offsetof(RosterEntry, mp_max) == 12);
static_assert(offsetof(RosterEntry, mp) == 16);
static_assert(offsetof(RosterEntry, attack) == 20);
static_assert(offsetof(RosterEntry, defence) == 24);
static_assert(offsetof(RosterEntry, speed) == 28);
static_assert(offsetof(RosterEntry, presence) == 32);
static_assert(offsetof(RosterEntry, art) == 36);
static_assert(offsetof(RosterEntry, art_level) == 40);
static_assert(offsetof(RosterEntry, resistance) == 44);
static_assert(offsetof(RosterEntry, poison) == 48);
static_assert(offsetof(RosterEntry, bag) == 52);
static_assert(offsetof(RosterEntry, hub_portrait) == 92);

extern RosterEntry roster[ROSTER_SIZE];
static_assert(sizeof(roster) == 28800); // save block 7

// Fills all 300 entries for a new game, in this order: defaults, hub portraits, the literal
// records (with their resistances and character 39's bag), one hit-point roll per entry in
// ascending order (`rand_below`(30) each), then the five fixed hit-point values.
void init_roster();

// ---- Content ------------------------------------------------------------------------------

// The literal record of one character, nine values in the stored order.
struct RosterLiteral {
    s32 character;
    s32 rank;
    s32 attack;
    s32 defence;
    s32 speed;
    s32 presence;
    s32 mp_max;
    s32 mp;
    s32 art;
    s32 art_level;
};

constexpr s32 ROSTER_LITERAL_COUNT = 160;
// In ascending character order (data/roster_content.cpp).
extern const RosterLiteral roster_literals[ROSTER_LITERAL_COUNT];
