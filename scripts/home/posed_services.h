// The free services of the home region that hold the player in a pose: the bath of map 10 (its
// attendant is the walker, object 10), the seat of map 10 (its keeper, object 11) and the rest
// place of map 24 (the click area 111 and its attendant, object 112). While a service holds the
// player, the player's timer runs the pose loop of the service's pose slot (41 the bath, 46 lying,
// 48 woken, 88 seated), which the pose loops' table supplies.
//
// Every service is one row of `POSED_SERVICES`, run by one executor (`posed_service_click`): the
// distance check, the clean-up, who turns to whom, the frame kept, and the service's talk as a
// table of cells. The walks and frame runs of the attendants are tables of `Act` rows, run by
// `acts_run`.
#pragma once
#include "engine/types.h"
#include "scripts/cells.h"
#include "scripts/kit.h"

#include <array>
#include <span>

// ---- Choreography rows -----------------------------------------------------------------------

enum ActOp : s32 {
    ACT_WALK = 0,   // walk1(0, obj, a, b, c): obj walks to (a, b) at speed c, the camera on the
                    // player
    ACT_NOTE,       // obj's place is noted
    ACT_WALK_BACK,  // obj walks back to the noted place at speed a
    ACT_FRAME,      // obj shows frame a
    ACT_FRAMES,     // obj shows frames a..b in steps of c, each for d ms, with the `at` hooks
    ACT_ON_TOP,     // a 1: obj drawn on top (layer 2) without a shadow; 0: layer 3 with one
    ACT_SAY_AT,     // say_at(obj, a)
    ACT_SAY,        // say(a, b, c): a box at position a with portrait b
    ACT_WAIT,       // wait_ms(a)
    ACT_PAN,        // camera_pan(camera x + a, camera y + b, c)
    ACT_ACTIVE,     // ATTR_ACTIVE of obj := a
    ACT_CLICKABLE,  // ATTR_CLICK of obj := a, ATTR_CURSOR := b
    ACT_STAGE,      // ATTR_VAR_A of obj := a
    ACT_VAR_B,      // ATTR_VAR_B of obj := a
    ACT_UNLABEL,    // label_remove(obj)
    ACT_CURSOR,     // cursor_select(a)
    ACT_POSE_ENTER, // pose_enter(enter)
    ACT_POSE_LEAVE, // pose_leave(leave)
    ACT_EVENT,      // ATTR_EVENT of obj := a (the player's pose slot)
};

// A hook of a frame run: at `frame`, object `obj` is switched on or off (obj >= 0), and `obj_says`
// floats `text` in its bubble (text > 0).
struct ActAt {
    s32 frame = 0;
    s32 obj = -1;
    s32 active = 0;
    s32 obj_says = -1;
    s32 text = 0;
};

struct Act {
    s32 op = ACT_WAIT;
    s32 obj = 0;
    s32 a = 0, b = 0, c = 0, d = 0;
    std::array<ActAt, 3> at{};
    PoseEnter enter{};
    PoseLeave leave{};
};

namespace act {
constexpr Act walk(s32 obj, s32 x, s32 y, s32 speed) {
    return Act{.op = ACT_WALK, .obj = obj, .a = x, .b = y, .c = speed};
}
constexpr Act note(s32 obj) {
    return Act{.op = ACT_NOTE, .obj = obj};
}
constexpr Act walk_back(s32 obj, s32 speed) {
    return Act{.op = ACT_WALK_BACK, .obj = obj, .a = speed};
}
constexpr Act frame(s32 obj, s32 f) {
    return Act{.op = ACT_FRAME, .obj = obj, .a = f};
}
constexpr Act frames(s32 obj, s32 first, s32 last, s32 step, s32 ms, std::array<ActAt, 3> at = {}) {
    return Act{.op = ACT_FRAMES, .obj = obj, .a = first, .b = last, .c = step, .d = ms, .at = at};
}
constexpr Act on_top(s32 obj, bool top) {
    return Act{.op = ACT_ON_TOP, .obj = obj, .a = top ? 1 : 0};
}
constexpr Act bubble(s32 obj, s32 text) {
    return Act{.op = ACT_SAY_AT, .obj = obj, .a = text};
}
constexpr Act box(s32 position, s32 portrait, s32 text) {
    return Act{.op = ACT_SAY, .a = position, .b = portrait, .c = text};
}
constexpr Act wait(s32 ms) {
    return Act{.op = ACT_WAIT, .a = ms};
}
constexpr Act pan(s32 dx, s32 dy, s32 speed) {
    return Act{.op = ACT_PAN, .a = dx, .b = dy, .c = speed};
}
constexpr Act active(s32 obj, s32 on) {
    return Act{.op = ACT_ACTIVE, .obj = obj, .a = on};
}
constexpr Act clickable(s32 obj, s32 on, s32 cursor) {
    return Act{.op = ACT_CLICKABLE, .obj = obj, .a = on, .b = cursor};
}
constexpr Act stage(s32 obj, s32 value) {
    return Act{.op = ACT_STAGE, .obj = obj, .a = value};
}
constexpr Act var_b(s32 obj, s32 value) {
    return Act{.op = ACT_VAR_B, .obj = obj, .a = value};
}
constexpr Act unlabel(s32 obj) {
    return Act{.op = ACT_UNLABEL, .obj = obj};
}
constexpr Act cursor(s32 id) {
    return Act{.op = ACT_CURSOR, .a = id};
}
constexpr Act enter(PoseEnter p) {
    return Act{.op = ACT_POSE_ENTER, .enter = p};
}
constexpr Act leave(PoseLeave p) {
    return Act{.op = ACT_POSE_LEAVE, .leave = p};
}
constexpr Act event(s32 obj, s32 slot) {
    return Act{.op = ACT_EVENT, .obj = obj, .a = slot};
}
} // namespace act

// Runs the rows in order. Objects outside 0..4095 are skipped; a frame run whose step does not
// move toward its last frame shows its first frame only.
void acts_run(std::span<const Act> acts);

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
