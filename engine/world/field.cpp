// The field loop and the in-game clock.
#include "engine/world/field.h"

#include "engine/image.h"
#include "engine/labels.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/walk.h"
#include "engine/world/zone.h"
#include "engine/world_state.h"
#include "platform/platform.h"

s32 field_point_x = 0;
s32 field_point_y = 0;
u32 field_buttons = 0;
u32 field_frame_stamp = 0;

void field_loop() {
    world_state.box_style = 0;
    // The map is always the player's.
    map_load(attr_get(0, ATTR_MAP));
    field_frame_stamp = plat_ticks();
    world_state.field_active = 1;
    while (field_frame() != 0) {
    }
}

namespace {

// Input of the frame: the key is discarded (keys pressed while walking do nothing), the buttons
// are kept for the walk request, and the click kind is taken and returned.
u32 field_take_input() {
    const u32 key = key_code;
    key_code = 0;
    (void)key;
    field_buttons = mouse_buttons;
    const u32 kind = click_kind;
    click_kind = 0;
    return kind;
}

// The map point: this frame's click position when a button went down, else the live pointer,
// both against the camera of the previous frame.
void field_take_point(u32 kind) {
    if (kind != 0) {
        field_point_x = world_state.camera_x + s32(click_x);
        field_point_y = world_state.camera_y + s32(click_y);
    } else {
        field_point_x = world_state.camera_x + s32(pointer_x);
        field_point_y = world_state.camera_y + s32(pointer_y);
    }
}

void field_labels_count_down() {
    for (FloatingLabel& label : label_table)
        if (label.countdown != 0) label.countdown--;
}

// Busy-waits for the rest of the frame (time spent in scripts counts), stirring the random
// counter on every spin and with the new time stamp.
void field_pace() {
    while (u32(plat_ticks() - field_frame_stamp) < FIELD_FRAME_MS) rand_stir(1);
    field_frame_stamp = plat_ticks();
    rand_stir(field_frame_stamp ^ FIELD_TICK_STIR);
}

} // namespace

void field_objects_pass(u32 frame_click_kind) {
    player_frame(frame_click_kind);
    for (s32 obj = 1; obj < OBJECT_COUNT; obj++) {
        if (obj_timer_due(obj) == 0) continue;
        s32 left = attr_get(obj, ATTR_TIMER) - 1;
        if (left < 0) left = 0;
        attr_set(obj, ATTR_TIMER, left);
        if (left == 0) event_fire(obj, TRIG_TIMER);
    }
}

s32 field_frame() {
    const u32 kind = field_take_input();
    field_take_point(kind);
    camera_follow(1);
    field_labels_count_down();
    scene_render();

    const s32 hovered = hit_test(field_point_x, field_point_y, TRIG_HOVER);
    world_state.cursor_id = hovered >= 0 ? u32(attr_get(hovered, ATTR_CURSOR)) : 0;
    cursor_apply();

    const s32 touched = hit_test(field_point_x, field_point_y, TRIG_TOUCH);
    if (touched >= 0) event_fire(touched, TRIG_TOUCH);

    // A script that ends the loop here does not stop the pass: later objects still fire.
    field_objects_pass(kind);
    if (world_state.field_active == 0) return 0;

    screen_present();
    field_pace();
    clock_advance_frame();
    return 1;
}

void clock_advance_frame() {
    WorldState& w = world_state;
    if (w.frames_per_minute == 0) return;
    w.clock_frames++;
    w.day_frames++;
    w.minute_frames++;
    if (w.minute_frames < w.frames_per_minute) return;
    w.minute_frames = 0;
    w.minute++;
    if (w.minute < 60) return;
    w.minute = 0;
    w.hour++;
    if (w.hour < 24) return;
    w.day_frames = 0;
    w.hour = 0;
    w.day++;
    if (w.day < 31) return;
    w.day = 1;
    w.month++;
    if (w.month < 13) return;
    w.month = 1;
    w.year++;
}
