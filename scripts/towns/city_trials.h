// The trials of the city episode: the guide (object 1121) who tests the player's growth values in
// the hall of candidates (map 230) and walks ahead into the trial room (map 225); the trial station
// (1122) with its four stages, one per click (a music quiz, the grid-point puzzle on three boards,
// a picture question and the tile swap); the guard on the trial room's closed exit; the ceremony
// in the hall of honour (map 224) that marks the trials as passed; and person 234 of the ceremony.
//
// The guide walks by a route (scripts/routes.h) and talks by cells; the ceremony is a table of
// cues with the gesture paced by the music (`music_frames`); the tile swap is a game call.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <array>
#include <span>

// The objects of the trials.
constexpr s32 TRIALS_GUIDE = 1121;
constexpr s32 TRIALS_STATION = 1122;
constexpr s32 TRIALS_EXIT_GUARD = 1131;
constexpr s32 TRIALS_PERSON = 1133;
constexpr s32 TRIALS_CEREMONY = 1134;
constexpr s32 TRIALS_MEETING_POINT = 1090; // the companions' meeting point: 5 failed, 4 passed
constexpr s32 TRIALS_EXIT_DOOR = 1387;     // the trial room's exit toward map 224
constexpr s32 TRIALS_PASSED_FLAG = 97;

// The guide's stages.
enum TrialsGuideStage : s32 {
    GUIDE_UNTESTED = 0,
    GUIDE_WAITING = 5, // in the trial room, until clicked
    GUIDE_INTRODUCED = 6,
    GUIDE_PASSED = 7,
    GUIDE_FAILED = 8, // failed at a later stage of the station than the music quiz
    GUIDE_HONOUR_WALK = 9,
    GUIDE_REFUSED = 12, // refused at the skill test
};
// The growth values the guide reads (PlayerRecord.skill) and the least each must be.
constexpr s32 TRIALS_SKILL_FIRST = 10, TRIALS_SKILL_LAST = 13;
constexpr s32 TRIALS_SKILL_NEEDED = 30;

// The station's stages.
enum TrialsStationStage : s32 {
    STATION_MUSIC = 0,
    STATION_GRID = 1,
    STATION_PICTURE = 2,
    STATION_TILES = 3,
    STATION_PASSED = 4,
};

// The music quiz: the pieces in option order; the piece played after the quiz.
constexpr std::array<s32, 6> TRIALS_QUIZ_PIECES{10021, 10027, 10060, 10011, 10051, 10050};
constexpr s32 TRIALS_AFTER_QUIZ_PIECE = 10062;

// The grid-point puzzle: board origin, the coordinates of the 19 points (columns and rows alike,
// relative to the board), and each board with its right point (column, row).
constexpr s32 GRID_POINTS = 19;
constexpr std::array<s32, GRID_POINTS> GRID_COORDS{5,   16,  26,  37,  47,  58,  68,  79,  89, 100,
                                                   110, 121, 131, 142, 152, 163, 173, 184, 194};
constexpr s32 GRID_BOARD_X = 224, GRID_BOARD_Y = 143;
// A point's box on the screen: x from coord + 220 to coord + 228, y from coord + 139 to
// coord + 147, both ends included.
constexpr s32 GRID_BOX_DX = 220, GRID_BOX_DY = 139, GRID_BOX_SIZE = 9;
constexpr s32 GRID_MARK = 60051; // the hover mark, drawn at (coord + 217, coord + 135)
struct GridBoard {
    s32 image = 0;
    s32 col = 0, row = 0;
};
constexpr std::array<GridBoard, 3> GRID_BOARDS{{{39215, 6, 8}, {39216, 8, 9}, {39217, 10, 7}}};
// The point whose box holds the screen point (columns outer, rows inner), or -1 for none; the
// result is col x GRID_POINTS + row. Points outside the board's click area hit nothing.
s32 grid_point_at(s32 x, s32 y);

// The picture question's right option.
constexpr s32 TRIALS_PICTURE_RIGHT = 2;

// The ceremony's person.
constexpr s32 CEREMONY_MUSIC = 10065;

// Calls visit(frame) for every frame and picture these scripts show.
void city_trials_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

constexpr const char* CITY_TRIALS_OWNER = "city trials";
std::span<const ScriptSlot> city_trials_slots();
ScriptRegion city_trials_region();
