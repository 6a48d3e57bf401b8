#include "scripts/home/portals.h"

#include "data/timetables.h"
#include "engine/mssw.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/staging.h"
#include "engine/world/walk.h"
#include "engine/world_state.h"
#include "game/player.h"

namespace {

// Arrival map -> area shown by the load menu (text 100 + area); a map without a row leaves the
// area as it is.
struct MapArea {
    s32 map;
    s32 area;
};
constexpr MapArea map_area_table[] = {
    {10, 1},   {60, 2},  {94, 3},  {200, 4},  {240, 5},  {63, 6},  {40, 7},   {186, 8},  {100, 9},
    {130, 10}, {71, 11}, {72, 12}, {80, 13},  {102, 14}, {93, 15}, {77, 16},  {164, 17}, {166, 18},
    {89, 19},  {9, 20},  {73, 21}, {140, 22}, {252, 23}, {74, 24}, {251, 25}, {142, 26},
};

constexpr s32 DIRECTIONS = 5;
constexpr s32 GROUP_FRAMES = 16;

// Direction group (0..4) of an unsigned player frame of the set starting at `base` (walking,
// running or standing), or -1 when the frame is not one of that set's.
s32 frame_group(s32 frame, s32 base) {
    const s32 off = frame - base;
    if (off >= 0 && off < PLAYER_STAND_OFFSET) return (off % PLAYER_RUN_OFFSET) / GROUP_FRAMES;
    const s32 stand = off - PLAYER_STAND_OFFSET;
    if (stand >= 0 && stand < 2 * DIRECTIONS && stand % 2 == 0) return stand / 2;
    return -1;
}

// The standing frame of the same direction in the set starting at `to_base`; only the
// sideways groups (0, 1 and 4) are ever mirrored, so only they keep a negative sign.
s32 convert_frame(s32 frame, s32 from_base, s32 to_base) {
    const s32 k = frame_group(frame < 0 ? -frame : frame, from_base);
    if (k < 0) return frame;
    const s32 standing = to_base + PLAYER_STAND_OFFSET + 2 * k;
    const bool sideways = k == 0 || k == 1 || k == 4;
    return frame < 0 && sideways ? -standing : standing;
}

// Steps 5 to 8 of both doors: the new scene, its music, the area, the fade in.
void arrive(s32 dest_map) {
    scene_render();
    const s32 track = map_music_for_door(dest_map, player_record.music_id);
    if (track >= 0) {
        player_record.music_id = track;
        mssw_play_music(track, 0);
    }
    const s32 area = portal_area_for_map(dest_map);
    if (area >= 0) player_record.area = area;
    fade_in_scene();
}

// Steps 1 and 2 of both doors; returns the destination map.
s32 leave(s32 self) {
    const s32 dest_map = attr_get(self, ATTR_DEST_MAP);
    fade_out_scene();
    change_map(dest_map, attr_get(self, ATTR_VAR_A), attr_get(self, ATTR_VAR_B));
    return dest_map;
}

} // namespace

s32 portal_area_for_map(s32 map) {
    for (const MapArea& m : map_area_table)
        if (m.map == map) return m.area;
    return -1;
}

s32 portal_frame_to_alt_set(s32 frame) {
    return convert_frame(frame, PLAYER_BASE, PLAYER_BASE_ALT);
}

s32 portal_frame_to_main_set(s32 frame) {
    return convert_frame(frame, PLAYER_BASE_ALT, PLAYER_BASE);
}

void object_event_0006() {
    if (world_state.trigger_kind != TRIG_STEP) return;
    const s32 dest_map = leave(world_state.event_object);
    if (world_state.current_map == PORTAL_ALT_SET_MAP) {
        world_state.player_sprite_set = 1;
        obj_set_frame(0, portal_frame_to_alt_set(obj_get_frame(0)));
    } else {
        if (world_state.player_sprite_set == 1)
            obj_set_frame(0, portal_frame_to_main_set(obj_get_frame(0)));
        world_state.player_sprite_set = 0;
    }
    arrive(dest_map);
}

void object_event_0060() {
    if (world_state.trigger_kind != TRIG_STEP) return;
    const s32 dest_map = leave(world_state.event_object);
    if (world_state.current_map == PORTAL_ALT_SET_MAP) {
        world_state.player_sprite_set = 1;
        obj_set_frame(0, PORTAL_FIXED_ENTER_FRAME);
    } else {
        if (world_state.player_sprite_set == 1) obj_set_frame(0, PORTAL_FIXED_LEAVE_FRAME);
        world_state.player_sprite_set = 0;
    }
    arrive(dest_map);
}

void object_event_0007() {}

void object_event_0800() {}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {6, object_event_0006},
    {7, object_event_0007},
    {60, object_event_0060},
    {800, object_event_0800},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{6, 7}, {60, 60}, {800, 800}};
} // namespace

std::span<const ScriptSlot> home_portals_slots() {
    return SLOTS;
}

ScriptRegion home_portals_region() {
    return {.owner = HOME_PORTALS_OWNER, .slots = home_portals_slots, .complete = COMPLETE};
}
