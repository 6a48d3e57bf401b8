// The player record: the player's whole saved state (vitals, gauges, money, fame, the 34 growable
// values with their experience pools, titles, party, equipment, inventory, known lists, album,
// acquaintances, affection, story flags and the current music), one instance, saved and loaded
// byte for byte. Its layout is a file format: every offset below is fixed.
#pragma once
#include "engine/types.h"

#include <cstddef>

// Area number of the calendar hub.
constexpr s32 AREA_HUB = 2;

// Sizes of the record's lists.
constexpr int PLAYER_TITLES = 30;
constexpr int PLAYER_PARTY = 5;
constexpr int PLAYER_EQUIP = 4;
constexpr int PLAYER_ITEMS = 2500;
constexpr int PLAYER_ARTS = 500;
constexpr int PLAYER_SKILLS = 25;
constexpr int PLAYER_ATTRS = 6;
constexpr int PLAYER_ALBUM = 500;
constexpr int PLAYER_PEOPLE = 500;
constexpr int PLAYER_ACQUAINTANCES = 50;
constexpr int KNOWN_LISTS = 25;
constexpr int KNOWN_SLOTS = 100;
constexpr int STORY_FLAGS = 100;

// First item id of each equipment slot: `equip`[s] holds item - EQUIP_BASE[s], -1 = nothing.
constexpr s32 EQUIP_BASE[PLAYER_EQUIP] = {1400, 1470, 1550, 1500};

// Story flags with a fixed meaning.
constexpr int STORY_DICE_WINS = 25;
constexpr int STORY_DICE_LOSSES = 26;
constexpr int STORY_ROUTE = 28;

#pragma pack(push, 1)
// One inventory entry: item id 0..2499 (-1 = free) and its count.
struct InventoryEntry {
    s32 item;
    s32 count;
};
// One entry of a known list: id (-1 = free), level 0..100 and experience toward the next level.
struct KnownEntry {
    s32 id;
    s32 level;
    s32 exp;
};

struct PlayerRecord {
    s32 area;                                // current area number (AREA_HUB in the hub)
    s32 sick_turns;                          // turns of sickness or injury left
    s32 name_id;                             // name text 1000 + id
    s32 titles[PLAYER_TITLES];               // earned title ids, -1 = free
    s32 paid_strike_count;                   // written by the battle, 0..10
    s32 money;                               // 0..99999
    s32 fame;                                // 0..999
    s32 chivalry;                            // 0..100
    s32 fatigue;                             // 0..1000
    s32 fullness;                            // 0..150
    s32 sleep_need;                          // raised by map scripts while time passes
    s32 last_minute;                         // clock minute of the last per-minute update
    s32 stamina;                             // 0..1000
    s32 condition;                           // above 4 = sick or injured
    s32 mood;                                // 0 best .. 4 worst
    s32 mood_turns;                          // turns in the current mood
    s32 affliction;                          // 0..100
    s32 poison;                              // 0..100
    s32 hp;                                  // 0..hp_max
    s32 hp_max;                              // derived by hp_max_derive, at most 1000
    s32 mp;                                  // 0..mp_max
    s32 mp_max;                              // 1..9999
    s32 spare_a;                             // never read
    s32 attr[PLAYER_ATTRS];                  // growth values 25..30
    s32 social_aptitude;                     // raises affection gains
    s32 constitution;                        // 0..100
    s32 art_variety;                         // growth value 33
    s32 combat_level;                        // growth value 32
    s32 clock_rate_copy;                     // copy of the clock rate; never read
    s32 fame_exp;                            // pool of growth value 31
    s32 attr_exp[PLAYER_ATTRS];              // pools of 25, 26, 28, 27, 29, 30 (use growth_pool)
    s32 spare_b;                             // never read
    s32 art_points;                          // pool of growth value 33
    s32 combat_exp;                          // pool of growth value 32
    s32 turn_done;                           // 1 = this turn's end already processed
    s32 party[PLAYER_PARTY];                 // companion roster ids, -1 = free
    s32 equip[PLAYER_EQUIP];                 // item - EQUIP_BASE[slot], -1 = nothing
    s32 item_tally[PLAYER_ITEMS];            // per item id: obtained marker or counter
    s32 art_use_count[PLAYER_ARTS];          // per art: uses in battle, at most 100
    s32 spare_block[2000];                   // never used
    InventoryEntry inventory[PLAYER_ITEMS];  // compact, -1 = free
    s32 skill[PLAYER_SKILLS];                // growth values 0..24
    s32 skill_exp[PLAYER_SKILLS];            // their pools
    s32 spare_list[10];                      // never read
    s32 album[PLAYER_ALBUM];                 // album entry ids, -1 = free
    s32 affection[PLAYER_PEOPLE];            // per person: -1 never met, else 0..100
    s32 acquaintances[PLAYER_ACQUAINTANCES]; // met person ids, -1 = free
    KnownEntry known[KNOWN_LISTS][KNOWN_SLOTS];
    s32 story_flags[STORY_FLAGS]; // 25 dice wins, 26 dice losses, 28 route
    s32 music_id;                 // current music track, -1 = none
};
#pragma pack(pop)

static_assert(sizeof(InventoryEntry) == 8);
static_assert(sizeof(KnownEntry) == 12);
static_assert(sizeof(PlayerRecord) == 75176);
static_assert(offsetof(PlayerRecord, area) == 0);
static_assert(offsetof(PlayerRecord, sick_turns) == 4);
static_assert(offsetof(PlayerRecord, name_id) == 8);
static_assert(offsetof(PlayerRecord, titles) == 12);
static_assert(offsetof(PlayerRecord, paid_strike_count) == 132);
static_assert(offsetof(PlayerRecord, money) == 136);
static_assert(offsetof(PlayerRecord, fame) == 140);
static_assert(offsetof(PlayerRecord, chivalry) == 144);
static_assert(offsetof(PlayerRecord, fatigue) == 148);
static_assert(offsetof(PlayerRecord, fullness) == 152);
static_assert(offsetof(PlayerRecord, sleep_need) == 156);
static_assert(offsetof(PlayerRecord, last_minute) == 160);
static_assert(offsetof(PlayerRecord, stamina) == 164);
static_assert(offsetof(PlayerRecord, condition) == 168);
static_assert(offsetof(PlayerRecord, mood) == 172);
static_assert(offsetof(PlayerRecord, mood_turns) == 176);
static_assert(offsetof(PlayerRecord, affliction) == 180);
static_assert(offsetof(PlayerRecord, poison) == 184);
static_assert(offsetof(PlayerRecord, hp) == 188);
static_assert(offsetof(PlayerRecord, hp_max) == 192);
static_assert(offsetof(PlayerRecord, mp) == 196);
static_assert(offsetof(PlayerRecord, mp_max) == 200);
static_assert(offsetof(PlayerRecord, spare_a) == 204);
static_assert(offsetof(PlayerRecord, attr) == 208);
static_assert(offsetof(PlayerRecord, social_aptitude) == 232);
static_assert(offsetof(PlayerRecord, constitution) == 236);
static_assert(offsetof(PlayerRecord, art_variety) == 240);
static_assert(offsetof(PlayerRecord, combat_level) == 244);
static_assert(offsetof(PlayerRecord, clock_rate_copy) == 248);
static_assert(offsetof(PlayerRecord, fame_exp) == 252);
static_assert(offsetof(PlayerRecord, attr_exp) == 256);
static_assert(offsetof(PlayerRecord, spare_b) == 280);
static_assert(offsetof(PlayerRecord, art_points) == 284);
static_assert(offsetof(PlayerRecord, combat_exp) == 288);
static_assert(offsetof(PlayerRecord, turn_done) == 292);
static_assert(offsetof(PlayerRecord, party) == 296);
static_assert(offsetof(PlayerRecord, equip) == 316);
static_assert(offsetof(PlayerRecord, item_tally) == 332);
static_assert(offsetof(PlayerRecord, art_use_count) == 10332);
static_assert(offsetof(PlayerRecord, spare_block) == 12332);
static_assert(offsetof(PlayerRecord, inventory) == 20332);
static_assert(offsetof(PlayerRecord, skill) == 40332);
static_assert(offsetof(PlayerRecord, skill_exp) == 40432);
static_assert(offsetof(PlayerRecord, spare_list) == 40532);
static_assert(offsetof(PlayerRecord, album) == 40572);
static_assert(offsetof(PlayerRecord, affection) == 42572);
static_assert(offsetof(PlayerRecord, acquaintances) == 44572);
static_assert(offsetof(PlayerRecord, known) == 44772);
static_assert(offsetof(PlayerRecord, story_flags) == 74772);
static_assert(offsetof(PlayerRecord, music_id) == 75172);

extern PlayerRecord player_record;

// 1 while a battle runs; the hit-point maximum is not re-derived meanwhile. Owned by the battle
// once it exists; cleared at a new game.
extern s32 battle_active;
// New-game start values: clears text_reveal_limit, the character screen's requests
// (info_save_request, info_load_slot) and
// battle_active, then writes every start value of the record. Draws exactly one random number
// (the money, rand_below(100)). Leaves affliction, poison, fame_exp, spare_b and spare_block.
void init_player();
// An alternative rich start (money 500, items and equipment, skills 80, attributes 50..100,
// acquaintances and album entries); the game never calls it.
void init_player_old();
