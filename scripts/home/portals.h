// The doors between maps and the two scripts that do nothing. Every object made by
// `make_portal` runs `object_event_0006`, every object made by `make_portal_fixed` runs
// `object_event_0060`: on TRIG_STEP they fade out, move the player to the stepped-on object's
// ATTR_DEST_MAP at (ATTR_VAR_A, ATTR_VAR_B), switch the player's sprite set for map 73, start the
// destination's music, set the player's area and fade in. `object_event_0007` (inert objects of
// the home region) and `object_event_0800` (decorations of the towns and caves) return at once.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

// Map whose player sprite set is the second one (frames from 512).
constexpr s32 PORTAL_ALT_SET_MAP = 73;
// The fixed arrival frames of the slot-60 doors: entering map 73, leaving it.
constexpr s32 PORTAL_FIXED_ENTER_FRAME = 678;
constexpr s32 PORTAL_FIXED_LEAVE_FRAME = 422;

void object_event_0006();
void object_event_0007();
void object_event_0060();
void object_event_0800();

// The area number (`PlayerRecord.area`) that arriving on `map` sets, or -1 for a map that
// leaves the area as it is.
s32 portal_area_for_map(s32 map);

// The player's signed frame after a door onto the second sprite set (map 73): a walking or
// standing frame of the first set becomes the second set's standing frame of the same
// direction; mirrored frames of the sideways directions keep their sign. Any other frame
// (already of the second set, or no player frame at all) is returned unchanged.
s32 portal_frame_to_alt_set(s32 frame);
// The reverse, for a door off map 73.
s32 portal_frame_to_main_set(s32 frame);

// The four scripts' slots (6, 7, 60, 800) and their region, installed under HOME_PORTALS_OWNER.
constexpr const char* HOME_PORTALS_OWNER = "home portals";
std::span<const ScriptSlot> home_portals_slots();
ScriptRegion home_portals_region();
