#include "scripts/cues.h"

#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/staging.h"
#include "game/player.h"
#include "scripts/kit.h"

namespace {

void key_write(s32 obj, s32 attribute, const KeyLine& line, s32 k) {
    if (line.set) attr_set(obj, attribute, line.base + line.per * k);
}

void walk_movers_of(const Cue& q) {
    s32 list[CUE_MOVERS * 4 + 1];
    s32 n = 0;
    for (const CueMover& m : q.movers) {
        if (!script_obj_valid(m.obj)) continue;
        list[n++] = m.obj;
        list[n++] = m.x;
        list[n++] = m.y;
        list[n++] = m.speed;
    }
    list[n] = -1;
    walk_all(list, q.a);
}

void render_pause(s32 ms) {
    scene_render();
    screen_present();
    wait_ms(u32(ms));
}

} // namespace

void cue_keys_pass(std::span<const CueTrack> tracks, s32 k) {
    for (const CueTrack& t : tracks) {
        if (!script_obj_valid(t.obj) || k < t.k_from || k > t.k_to) continue;
        if (t.active >= 0) attr_set(t.obj, ATTR_ACTIVE, t.active);
        key_write(t.obj, ATTR_X, t.x, k);
        key_write(t.obj, ATTR_Y, t.y, k);
        key_write(t.obj, ATTR_Z, t.z, k);
        if (t.frame.set) obj_set_frame(t.obj, t.frame.base + t.frame.per * k);
    }
}

void cue_play(const Cue& q) {
    const bool needs_obj = q.op != CUE_MUSIC && q.op != CUE_KEPT_MUSIC && q.op != CUE_WALK &&
                           q.op != CUE_SAY && q.op != CUE_KEYS && q.op != CUE_CURSOR &&
                           q.op != CUE_CURSOR_SHOW;
    if (needs_obj && !script_obj_valid(q.obj)) return;
    switch (q.op) {
    case CUE_UNLABEL:
        label_remove(q.obj);
        break;
    case CUE_MUSIC:
        mssw_play_music(q.a, q.b);
        break;
    case CUE_KEPT_MUSIC:
        player_record.music_id = q.a;
        mssw_play_music(q.a, 0);
        break;
    case CUE_PAN_ON:
        camera_pan(attr_get(q.obj, ATTR_X) - SCREEN_W / 2, attr_get(q.obj, ATTR_Y) - SCREEN_H / 2,
                   q.a);
        break;
    case CUE_WALK:
        walk_movers_of(q);
        break;
    case CUE_SAY:
        say(q.a, q.b, q.c);
        break;
    case CUE_BUBBLE:
        say_at(q.obj, q.a);
        break;
    case CUE_FRAME:
        obj_set_frame(q.obj, q.a);
        break;
    case CUE_SHOW_FRAME:
        obj_show_frame(q.obj, q.a);
        break;
    case CUE_PLACE:
        attr_set(q.obj, ATTR_X, q.a);
        attr_set(q.obj, ATTR_Y, q.b);
        obj_set_frame(q.obj, q.c);
        break;
    case CUE_ACTIVE:
        attr_set(q.obj, ATTR_ACTIVE, q.a);
        break;
    case CUE_STAGE:
        attr_set(q.obj, ATTR_VAR_A, q.a);
        break;
    case CUE_ATTR:
        if (q.a >= 0 && q.a < ATTR_COUNT) attr_set(q.obj, q.a, q.b);
        break;
    case CUE_FRAME_STEPS:
        frame_steps(q.obj, q.a, q.b, q.c, q.d);
        break;
    case CUE_KEYS:
        for (s32 k = 0; k <= q.a; ++k) {
            cue_keys_pass(q.tracks, k);
            render_pause(q.b);
        }
        break;
    case CUE_CURSOR:
        cursor_select(q.a);
        break;
    case CUE_CURSOR_SHOW:
        cursor_show();
        break;
    default:
        break;
    }
}

void cues_run(std::span<const Cue> cues) {
    for (const Cue& q : cues) cue_play(q);
}
