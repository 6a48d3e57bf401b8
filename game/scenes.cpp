#include "game/scenes.h"

#include "data/scene_rows.h"
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/creators.h"
#include "engine/world/field.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/clock.h"
#include "game/hub.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"
#include "game/world_rows.h"

void (*scene_field_loop_seam)() = field_loop;

namespace {

void run_rows(const SceneRows& part) {
    if (part.count != 0) world_rows_run(part.rows, part.count);
}

void set_clock(const SceneDescriptor& d) {
    if (!(d.flags & SCENE_KEEP_RATE)) {
        world_state.frames_per_minute = u16(d.rate);
        player_record.clock_rate_copy = d.rate;
    }
    world_state.hour = u8(d.hour);
    world_state.minute = 0;
    if (!(d.flags & SCENE_KEEP_AREA)) player_record.area = d.area;
    if (!(d.flags & SCENE_KEEP_MUSIC)) player_record.music_id = d.music;
    world_state.field_active = 1;
    if (d.flags & SCENE_CLOCK_APPLY) clock_apply();
}

void set_player(const SceneDescriptor& d) {
    make_player(d.map, d.x, d.y, d.event, d.cursor);
    if (!(d.flags & SCENE_NO_CURSOR)) {
        cursor_show();
        cursor_select(0);
    }
    attr_set(0, ATTR_CLICK, d.click);
    attr_set(0, ATTR_TIMER_ON, 0);
    attr_set(0, ATTR_VAR_A, 0);
    obj_set_frame(0, d.frame);
    if (d.player_timer != 0) {
        attr_set(0, ATTR_TIMER_ON, 1);
        attr_set(0, ATTR_TIMER, d.player_timer);
    }
}

// Sets the episode up: clock and place, the player, the objects and the changes to existing
// objects, and the slot-0 save that a load resumes from.
void set_up(const SceneDescriptor& d) {
    run_rows(d.before_clock);
    if (!(d.flags & SCENE_CLOCK_LAST)) set_clock(d);
    set_player(d);
    run_rows(d.objects[0]);
    run_rows(d.objects[1]);
    if (d.flags & SCENE_CLOCK_LAST) set_clock(d);
    if (d.flags & SCENE_SAVE) save_game(0); // a failed save is reported to the player by save_game
}

void meet_persons() {
    for (s32 person : scene_meet_persons) {
        if (acquaint_has(person) == 0) acquaint_add(person, 50);
    }
}

void scene_run(s32 scene) {
    const SceneDescriptor& d = scene_descriptor(scene);
    if (world_state.field_active != 1) set_up(d);
    run_rows(d.every_entry);
    if (!(d.flags & SCENE_NO_PLAY)) mssw_play_music(player_record.music_id, 0);
    if (d.flags & SCENE_CLEAR_BUTTONS) mouse_buttons = 0;
    scene_field_loop_seam();
    cursor_select(0);
    // A load inside the episode (hub_restart no longer -1) has replaced the game: the closing steps
    // belong to the episode that was left and must not touch the loaded one.
    if (hub_restart != -1) return;
    run_rows(d.closing);
    if (d.flags & SCENE_MEET_PERSONS) meet_persons();
}

} // namespace

void scene_play_221() {
    scene_run(SCENE_221);
}
void scene_play_192() {
    scene_run(SCENE_192);
}
void scene_play_190() {
    scene_run(SCENE_190);
}
void scene_play_196() {
    scene_run(SCENE_196);
}
void scene_play_222() {
    scene_run(SCENE_222);
}
void scene_play_201() {
    scene_run(SCENE_201);
}
void scene_play_193() {
    scene_run(SCENE_193);
}
void scene_play_194() {
    scene_run(SCENE_194);
}
void scene_play_044() {
    scene_run(SCENE_044);
}
void scene_play_129_1() {
    scene_run(SCENE_129_1);
}
void scene_play_129_2() {
    scene_run(SCENE_129_2);
}
void scene_play_203() {
    scene_run(SCENE_203);
}
void scene_play_135() {
    scene_run(SCENE_135);
}
void scene_play_195() {
    scene_run(SCENE_195);
}
void scene_play_191() {
    scene_run(SCENE_191);
}
void scene_play_197() {
    scene_run(SCENE_197);
}
void scene_play_199() {
    scene_run(SCENE_199);
}
void scene_play_198() {
    scene_run(SCENE_198);
}
void scene_play_143() {
    scene_run(SCENE_143);
}
