// NPC timetables and map music (see timetables.h).
#include "data/timetables.h"

#include <iterator>

s32 map_music[MAP_MUSIC_MAPS];
s32 timetable_npcs[TIMETABLE_NPCS];
s32 npc_timetable_map[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
s32 npc_timetable_x[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
s32 npc_timetable_y[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
s32 npc_timetable_frame[TIMETABLE_NPCS][TIMETABLE_QUARTERS];
s32 npc_timetable_var_a[TIMETABLE_NPCS][TIMETABLE_QUARTERS];

namespace {

struct MapTrack {
    s32 map;
    s32 track;
};

// The maps with a track of their own, three to a row; every other map keeps the current music.
// clang-format off
constexpr MapTrack MAP_TRACKS[][3] = {
    {{  9, 10094}, { 80, 10048}, {166, 10150}},
    {{ 10, 10057}, { 89, 10037}, {183, 10040}},
    {{ 11, 10070}, { 93, 10043}, {186, 10030}},
    {{ 12, 10074}, { 94, 10035}, {192, 10079}},
    {{ 13, 10071}, { 99, 10024}, {194, 10092}},
    {{ 15, 10072}, {100, 10031}, {200, 10060}},
    {{ 16, 10075}, {101, 10031}, {201, 10071}},
    {{ 17, 10073}, {102, 10052}, {204, 10072}},
    {{ 18, 10069}, {105, 10072}, {208, 10068}},
    {{ 21, 10067}, {108, 10070}, {214, 10074}},
    {{ 24, 10068}, {113, 10067}, {216, 10067}},
    {{ 40, 10051}, {115, 10068}, {219, 10070}},
    {{ 41, 10091}, {119, 10073}, {221, 10073}},
    {{ 60, 10153}, {120, 10074}, {224, 10076}},
    {{ 63, 10039}, {139, 10029}, {226, 10061}},
    {{ 72, 10013}, {140, 10036}, {230, 10062}},
    {{ 73, 10050}, {141, 10036}, {240, 10034}},
    {{ 74, 10095}, {142, 10091}, {251, 10041}},
    {{ 77, 10047}, {164, 10042}, {252, 10044}},
};
// clang-format on

// Objects of the timetabled residents 0..10; residents 11..19 have none.
constexpr s32 TIMETABLED_OBJECTS[] = {6, 123, 195, 217, 218, 219, 223, 225, 226, 227, 232};

// One written entry: resident, its object, quarter k (6:00 + 15 k minutes, the clock time in
// the comment), then map, x, y, signed frame and script state. Resident 2 (object 195) has no
// written entry, so its rows stay empty.
struct WrittenEntry {
    s32 resident;
    s32 object;
    s32 k;
    s32 map;
    s32 x;
    s32 y;
    s32 frame;
    s32 var_a;
};

constexpr WrittenEntry WRITTEN_ENTRIES[] = {
    {0, 6, 2, 10, 2250, 700, 33004, 4},       // 6:30
    {0, 6, 7, 10, 2250, 700, 4202, 5},        // 7:45
    {0, 6, 8, 40, 661, 861, 4202, 10},        // 8:00
    {0, 6, 24, 10, 5315, 1656, 4202, 16},     // 12:00
    {0, 6, 36, 10, 4582, 2203, 4202, 21},     // 15:00
    {1, 123, 2, 10, 2756, 1078, 33200, 4},    // 6:30
    {1, 123, 15, 10, 2756, 1078, 5322, 5},    // 9:45
    {1, 123, 16, 10, 2264, 946, 33224, 10},   // 10:00
    {1, 123, 17, 10, 2264, 946, -5322, 11},   // 10:15
    {1, 123, 18, 10, 2499, 1161, 33256, 14},  // 10:30
    {1, 123, 19, 10, 2499, 1161, 5322, 15},   // 10:45
    {1, 123, 20, 28, 236, 301, 30270, 26},    // 11:00
    {3, 217, 2, 10, 2871, 832, 33812, 6},     // 6:30
    {3, 217, 15, 10, 2871, 832, 5402, 7},     // 9:45
    {3, 217, 16, 10, 2221, 681, 5422, 10},    // 10:00
    {3, 217, 20, 40, 769, 616, 33812, 16},    // 11:00
    {3, 217, 23, 40, 769, 616, 5422, 17},     // 11:45
    {3, 217, 24, 51, 361, 364, 33812, 24},    // 12:00
    {3, 217, 27, 51, 361, 364, 5422, 25},     // 12:45
    {3, 217, 28, 40, 1550, 1012, 5422, 29},   // 13:00
    {3, 217, 32, 13, 388, 311, 32764, 42},    // 14:00
    {3, 217, 35, 13, 388, 311, -5422, 43},    // 14:45
    {3, 217, 36, 10, 5344, 1670, 32764, 47},  // 15:00
    {4, 218, 2, 10, 2913, 815, 5452, 6},      // 6:30
    {4, 218, 16, 10, 2252, 656, 5472, 8},     // 10:00
    {4, 218, 20, 40, 779, 662, 5452, 13},     // 11:00
    {4, 218, 24, 51, 391, 376, 5452, 18},     // 12:00
    {4, 218, 28, 40, 1546, 985, 5472, 23},    // 13:00
    {4, 218, 32, 13, 349, 310, 5452, 35},     // 14:00
    {4, 218, 36, 10, 5303, 1662, 5452, 38},   // 15:00
    {5, 219, 2, 10, 4823, 1413, 32826, 4},    // 6:30
    {5, 219, 13, 10, 4823, 1413, -5872, 5},   // 9:15
    {5, 219, 14, 10, 2342, 393, 32826, 12},   // 9:30
    {5, 219, 17, 10, 2342, 393, -5872, 13},   // 10:15
    {5, 219, 18, 10, 5447, 1655, 32874, 24},  // 10:30
    {6, 223, 2, 10, 2220, 684, 32900, 4},     // 6:30
    {6, 223, 7, 10, 2220, 684, 5152, 5},      // 7:45
    {6, 223, 8, 51, 570, 415, 32928, 15},     // 8:00
    {6, 223, 23, 51, 570, 415, 5152, 15},     // 11:45
    {6, 223, 24, 10, 5353, 1681, 5152, 27},   // 12:00
    {6, 223, 36, 10, 4565, 2198, 5152, 32},   // 15:00
    {7, 225, 16, 10, 5632, 1685, -5202, 6},   // 10:00
    {7, 225, 20, 40, 1463, 992, 5222, 17},    // 11:00
    {7, 225, 24, 51, 367, 355, -5202, 27},    // 12:00
    {7, 225, 28, 10, 2291, 1078, 33438, 39},  // 13:00
    {7, 225, 36, 10, 900, 650, -5202, 44},    // 15:00
    {8, 226, 16, 10, 5668, 1706, 33060, 6},   // 10:00
    {8, 226, 19, 10, 5668, 1706, -5252, 6},   // 10:45
    {8, 226, 20, 40, 1493, 1029, 5272, 17},   // 11:00
    {8, 226, 24, 51, 325, 374, -5252, 27},    // 12:00
    {8, 226, 28, 10, 2317, 1097, 33442, 39},  // 13:00
    {8, 226, 36, 10, 900, 650, -5252, 44},    // 15:00
    {9, 227, 16, 10, 5626, 1729, 33036, 6},   // 10:00
    {9, 227, 19, 10, 5626, 1729, -5252, 6},   // 10:45
    {9, 227, 20, 40, 1535, 1003, 5272, 17},   // 11:00
    {9, 227, 24, 51, 353, 373, -5252, 27},    // 12:00
    {9, 227, 28, 10, 2348, 1119, 33480, 39},  // 13:00
    {9, 227, 36, 10, 900, 650, -5252, 44},    // 15:00
    {10, 232, 24, 10, 2264, 946, 33872, 16},  // 12:00
    {10, 232, 27, 10, 2264, 946, -5372, 16},  // 12:45
    {10, 232, 28, 10, 2568, 1164, 33842, 20}, // 13:00
    {10, 232, 29, 10, 2568, 1164, 5352, 21},  // 13:15
    {10, 232, 30, 10, 2783, 1060, 33900, 24}, // 13:30
    {10, 232, 31, 10, 2783, 1060, 5372, 25},  // 13:45
    {10, 232, 32, 19, 422, 357, 5352, 30},    // 14:00
    {10, 232, 36, 23, 425, 334, 33346, 46},   // 15:00
};

constexpr bool written_entries_fit() {
    for (const WrittenEntry& e : WRITTEN_ENTRIES) {
        if (e.resident < 0 || e.resident >= static_cast<s32>(std::size(TIMETABLED_OBJECTS)))
            return false;
        if (e.object != TIMETABLED_OBJECTS[e.resident]) return false;
        if (e.k < 0 || e.k >= TIMETABLE_QUARTERS) return false;
        if (e.map == TIMETABLE_EMPTY) return false; // the fill-forward tests the map entry
    }
    return true;
}
static_assert(written_entries_fit());

constexpr bool map_tracks_fit() {
    for (const auto& row : MAP_TRACKS)
        for (const MapTrack& m : row)
            if (m.map < 0 || m.map >= MAP_MUSIC_MAPS || m.track < 0) return false;
    return true;
}
static_assert(map_tracks_fit());

void fill_table(s32 (&table)[TIMETABLE_NPCS][TIMETABLE_QUARTERS], s32 value) {
    for (auto& row : table)
        for (s32& entry : row) entry = value;
}

} // namespace

void init_npc_timetables() {
    for (s32& track : map_music) track = MAP_MUSIC_KEEP;
    for (const auto& row : MAP_TRACKS)
        for (const MapTrack& m : row) map_music[m.map] = m.track;

    for (s32& obj : timetable_npcs) obj = -1;
    fill_table(npc_timetable_map, TIMETABLE_EMPTY);
    fill_table(npc_timetable_x, TIMETABLE_EMPTY);
    fill_table(npc_timetable_y, TIMETABLE_EMPTY);
    fill_table(npc_timetable_frame, TIMETABLE_EMPTY);
    fill_table(npc_timetable_var_a, TIMETABLE_EMPTY);

    for (size_t i = 0; i < std::size(TIMETABLED_OBJECTS); ++i)
        timetable_npcs[i] = TIMETABLED_OBJECTS[i];
    for (const WrittenEntry& e : WRITTEN_ENTRIES) {
        npc_timetable_map[e.resident][e.k] = e.map;
        npc_timetable_x[e.resident][e.k] = e.x;
        npc_timetable_y[e.resident][e.k] = e.y;
        npc_timetable_frame[e.resident][e.k] = e.frame;
        npc_timetable_var_a[e.resident][e.k] = e.var_a;
    }

    // Fill forward: an entry whose map is empty takes all five fields of the entry before it, so
    // every entry from a resident's first written one to 17:45 holds the latest written state.
    for (s32 i = 0; i < TIMETABLE_NPCS; ++i) {
        for (s32 k = 1; k < TIMETABLE_QUARTERS; ++k) {
            if (npc_timetable_map[i][k] != TIMETABLE_EMPTY) continue;
            npc_timetable_map[i][k] = npc_timetable_map[i][k - 1];
            npc_timetable_x[i][k] = npc_timetable_x[i][k - 1];
            npc_timetable_y[i][k] = npc_timetable_y[i][k - 1];
            npc_timetable_frame[i][k] = npc_timetable_frame[i][k - 1];
            npc_timetable_var_a[i][k] = npc_timetable_var_a[i][k - 1];
        }
    }
}

s32 timetable_quarter(s32 hour, s32 minute) {
    if (hour < TIMETABLE_FIRST_HOUR || hour > TIMETABLE_LAST_HOUR) return -1;
    if (minute < 0 || minute > 59) return -1;
    return (hour - TIMETABLE_FIRST_HOUR) * 4 + minute / 15;
}

NpcTimetableEntry timetable_entry(s32 resident, s32 q) {
    if (resident < 0 || resident >= TIMETABLE_NPCS || q < 0 || q >= TIMETABLE_QUARTERS)
        return {TIMETABLE_EMPTY, TIMETABLE_EMPTY, TIMETABLE_EMPTY, TIMETABLE_EMPTY,
                TIMETABLE_EMPTY};
    return {npc_timetable_map[resident][q], npc_timetable_x[resident][q],
            npc_timetable_y[resident][q], npc_timetable_frame[resident][q],
            npc_timetable_var_a[resident][q]};
}

s32 map_music_for_door(s32 map, s32 playing) {
    if (map < 0 || map >= MAP_MUSIC_MAPS) return MAP_MUSIC_KEEP;
    const s32 track = map_music[map];
    if (track < 0 || track == playing) return MAP_MUSIC_KEEP;
    return track;
}
