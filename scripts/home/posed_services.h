// The free services of the home region that hold the player in a pose: the bath of map 10 (its
// attendant is the walker, object 10), the seat of map 10 (its keeper, object 11) and the rest
// place of map 24 (the click area 111 and its attendant, object 112). While a service holds the
// player, the player's timer runs the pose loop of the service's pose slot (41 the bath, 46 lying,
// 48 woken, 88 seated), which the pose loops' table supplies.
//
// Every service is one row of `POSED_SERVICES`, run by one executor (`posed_service_click`): the
// distance check, the clean-up, who turns to whom, the frame kept, and the service's talk as a
// table of cells. The walks and frame runs of the attendants are scenes of cues
// (scripts/cues.h).
#pragma once
#include "engine/types.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/kit.h"

#include <array>
#include <span>

// ---- The services ----------------------------------------------------------------------------

constexpr s32 SERVICE_SELF = -1;
constexpr s32 SERVICE_NO_LABEL = -2; // no label_remove

// Who turns before a service's talk.
enum ServiceTurn : s32 {
    SERVICE_TURN_SPEAKER = 0,   // only the speaker turns to the player
    SERVICE_TURN_BOTH = 1,      // the player turns too
    SERVICE_TURN_BOTH_FREE = 2, // the player turns too while the service is free (stage 0)
};

struct PosedService {
    const char* name;
    s32 slot = 0;               // the script's slot
    s32 pose_slot = 0;          // the player's pose slot while served
    s32 speaker = SERVICE_SELF; // the object that speaks, turns and whose frame is kept
    TurnFrames frames{};        // the speaker's frames toward the player
    s32 turn = SERVICE_TURN_SPEAKER;
    s32 far = 0;                // the talk distance (0: none)
    s32 far_x = -1, far_y = 0;  // far_x >= 0: measured from this point, else from self
    bool far_when_free = false; // the distance is only checked while the service is free
    bool drop_buttons = false;  // every click first clears the mouse buttons
    s32 unlabel_first =
        SERVICE_NO_LABEL; // label_remove of self (SERVICE_SELF) or an object before the check
    s32 unlabel_free = SERVICE_NO_LABEL; // label_remove of an object after the check, while free
    // While the player holds `pose_slot` and posed_self is not 0, nobody turns: the speaker shows
    // posed_self, the player posed_player and the player's box goes to posed_pos.
    s32 posed_self = 0, posed_player = 0, posed_pos = 2;
    bool keep_frame = true; // the speaker shows its kept frame again after the talk
    std::span<const Cell> cells{};
};

enum ServiceIndex : s32 { SERVICE_BATH = 0, SERVICE_SEAT = 1, SERVICE_REST = 2, SERVICE_COUNT };
extern const PosedService POSED_SERVICES[SERVICE_COUNT];

// The click part of a service: the row's check, turn and the cells of self's stage.
void posed_service_click(const PosedService& s);

// The service's stage of a click area (ATTR_VAR_A): free, or the player held.
constexpr s32 SERVICE_FREE = 0;
constexpr s32 SERVICE_HELD = 1;

// ---- The attendant of the rest place ---------------------------------------------------------

constexpr s32 REST_COUNTDOWN = 5; // timer runs of 10 frames while the player lies
constexpr s32 REST_ATTENDANT_REARM = 10;

// ---- Frames ---------------------------------------------------------------------------------

// Calls visit(frame) for every frame the services and their attendants show (the player's poses,
// the choreographies, the idle loops), so that a picture can be supplied for each.
void posed_services_frames(void (*visit)(s32 frame, void* ctx), void* ctx);

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0011(); // the keeper of the seat of map 10
void object_event_0040(); // the bath of map 10 (a click area)
void object_event_0045(); // the rest place of map 24 (a click area)
void object_event_0047(); // the attendant of the rest place

constexpr const char* HOME_POSED_OWNER = "home posed services";
std::span<const ScriptSlot> home_posed_slots();
ScriptRegion home_posed_region();
