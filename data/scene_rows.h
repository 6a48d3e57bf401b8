// The rows of the map-episode scenes (objects and settings of each episode) and the descriptor of
// each scene: its clock, place, track, the player's start and the steps in which it differs from
// the common set-up. The scenes themselves (game/scenes) run these descriptors.
#pragma once
#include "data/world_content.h"

// Calls `visit` for every table of scene rows.
void scene_rows_visit(WorldTableVisitor visit, void* context);

// The nineteen scenes, in the order of the launchers' table.
enum SceneId : s32 {
    SCENE_221,
    SCENE_192,
    SCENE_190,
    SCENE_196,
    SCENE_222,
    SCENE_201,
    SCENE_193,
    SCENE_194,
    SCENE_044,
    SCENE_129_1,
    SCENE_129_2,
    SCENE_203,
    SCENE_135,
    SCENE_195,
    SCENE_191,
    SCENE_197,
    SCENE_199,
    SCENE_198,
    SCENE_143,
    SCENE_COUNT,
};

// How a scene's set-up and entry differ from the common ones.
enum SceneFlag : u32 {
    SCENE_SAVE = 1u << 0,          // saves slot 0 at the end of the set-up
    SCENE_KEEP_RATE = 1u << 1,     // the clock rate (and its copy) are left as they are
    SCENE_KEEP_AREA = 1u << 2,     // PlayerRecord.area is not written
    SCENE_KEEP_MUSIC = 1u << 3,    // PlayerRecord.music_id is not written
    SCENE_NO_CURSOR = 1u << 4,     // no cursor_show / cursor_select(0) after make_player
    SCENE_NO_PLAY = 1u << 5,       // the entry plays no track
    SCENE_CLEAR_BUTTONS = 1u << 6, // mouse_buttons := 0 before the field loop
    SCENE_CLOCK_LAST = 1u << 7,    // the clock is set after the objects
    SCENE_CLOCK_APPLY = 1u << 8,   // clock_apply right after the clock is set
    SCENE_MEET_PERSONS = 1u << 9,  // the ten acquaintances after the loop (map-10 episode)
    SCENE_FLAGS_ALL = (1u << 10) - 1,
};

// A run of rows.
struct SceneRows {
    const WorldRow* rows;
    size_t count;
};

struct SceneDescriptor {
    const char* name; // "221", "129_1", ...
    s32 hour;
    s32 rate;  // frames per game minute (unused with SCENE_KEEP_RATE)
    s32 area;  // unused with SCENE_KEEP_AREA
    s32 music; // unused with SCENE_KEEP_MUSIC
    // make_player(map, x, y, event, cursor), then ATTR_CLICK, the standing frame and, when
    // player_timer is non-zero, the player's own countdown armed with it.
    s32 map, x, y, event, cursor;
    s32 click;
    s32 frame;
    s32 player_timer;
    u32 flags; // SceneFlag bits
    // Rows run before the clock and the player are set (new objects and the hide and show lists
    // of the map-10 episode, which its clock_apply must already see).
    SceneRows before_clock;
    // The episode's objects and the changes to existing objects, in order.
    SceneRows objects[2];
    // Rows run on every entry, also when a saved episode resumes.
    SceneRows every_entry;
    // Rows run after the field loop returned (only when no load replaced the game).
    SceneRows closing;
};

// The descriptor of `scene` (0..SCENE_COUNT-1; anything else is a fault of the caller and goes to
// the fatal reporter).
const SceneDescriptor& scene_descriptor(s32 scene);

// The persons the map-10 episode's closing meets, in order.
constexpr s32 SCENE_MEET_COUNT = 10;
extern const s32 scene_meet_persons[SCENE_MEET_COUNT];
