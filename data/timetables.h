// NPC timetables and map music: two small tables that give the field world its daily rhythm.
//
// - `map_music`: the music track of every map, started by the door scripts when the player walks
//   onto that map; -1 keeps whatever plays.
// - The NPC timetables: up to twenty residents (`timetable_npcs`) with one entry per quarter hour
//   from 6:00 (entry 0) to 17:45 (entry 47) in five parallel tables: map, x, y, signed frame and
//   script state. Entry q belongs to the quarter that starts at 6:00 + 15 q minutes, and readers
//   apply entry q at that quarter: `timetable_quarter` turns a clock time into q and
//   `timetable_entry` reads one resident's entry without ever leaving that resident's row.
//
// Both are rebuilt by `init_npc_timetables` at every program start and never saved.
#pragma once
#include "engine/types.h"

constexpr s32 MAP_MUSIC_MAPS = 300;
constexpr s32 TIMETABLE_NPCS = 20;
constexpr s32 TIMETABLE_QUARTERS = 48;  // 6:00 .. 17:45
constexpr s32 TIMETABLE_FIRST_HOUR = 6; // entry 0 is 6:00
constexpr s32 TIMETABLE_LAST_HOUR = 17; // entry 47 is 17:45
constexpr s32 TIMETABLE_EMPTY = -1;     // the only value that marks an empty entry
constexpr s32 MAP_MUSIC_KEEP = -1;      // no track of its own: keep the current one

// Track of each map (a sound id played as music), or -1.
extern s32 map_music[MAP_MUSIC_MAPS];

// Object number of timetabled resident i, or -1 = no resident.
extern s32 timetable_npcs[TIMETABLE_NPCS];

// Row i belongs to resident i, entry k to the quarter hour that starts at 6:00 + 15 k minutes.
extern s32 npc_timetable_map[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
extern s32 npc_timetable_x[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
extern s32 npc_timetable_y[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
// Signed frame as `obj_set_frame` takes it: a negative value other than -1 is the image
// mirrored, a valid value that readers apply.
extern s32 npc_timetable_frame[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
extern s32 npc_timetable_var_a[TIMETABLE_NPCS][TIMETABLE_QUARTERS];

// Builds `map_music`, `timetable_npcs` and the five timetables, written entries filled forward
// to 17:45. Called first of all content builders at every program start.
void init_npc_timetables();

// ---- Readers --------------------------------------------------------------------------------

// One resident's entry of the five tables; a field equal to TIMETABLE_EMPTY is not applied.
struct NpcTimetableEntry {
    s32 map;
    s32 x;
    s32 y;
    s32 frame;
    s32 var_a;
};

// True when a timetable value is to be applied (every value but TIMETABLE_EMPTY; mirrored
// frames are negative and are applied).
inline bool timetable_has(s32 value) {
    return value != TIMETABLE_EMPTY;
}

// The quarter q (0..47) of a clock time: (hour - 6) x 4 + minute / 15; -1 outside 6:00..17:59
// or for a minute outside 0..59. The residents are re-placed with entry q of their rows.
s32 timetable_quarter(s32 hour, s32 minute);

// Entry q of resident i. A resident or quarter outside the tables gives an all-empty entry, so
// no reader ever looks outside a resident's own row.
NpcTimetableEntry timetable_entry(s32 resident, s32 q);

// The music a door onto `map` starts while `playing` is the current track: the map's track when
// it has one that differs from `playing`, else -1 (keep the current music). A map outside the
// table has no track.
s32 map_music_for_door(s32 map, s32 playing);
