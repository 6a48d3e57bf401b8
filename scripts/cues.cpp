#include "scripts/cues.h"

#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/makers.h"
#include "game/player.h"

#include <algorithm>

namespace {

constexpr s32 LAYER_TOP = 2;
constexpr s32 LAYER_STANDING = 3;

// Where CUE_NOTE put a figure, for the CUE_WALK_BACK of the same run.
struct CueNote {
    s32 x = 0, y = 0;
};

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

s32 bounded(s32 n) {
    return std::clamp(n, 0, CUE_RUN_MAX);
}

// A speaker of CUE_PAIRS: (c, d) or (e, f), a bubble when the portrait is below 0.
Voice voice_of(s32 p, s32 q) {
    return q < 0 ? Voice{.obj = p, .position = 0, .portrait = -1}
                 : Voice{.obj = -1, .position = p, .portrait = q};
}

void pairs_run(const Cue& q) {
    alternate_lines(q.a, q.b, voice_of(q.c, q.d), voice_of(q.e, q.f), q.g != 0);
}

// Calls f(frame) for each frame of a frame run (at most CUE_RUN_MAX); a run whose step does not
// lead toward its last frame has its first frame only.
template <class F> void each_run_frame(const Cue& q, F f) {
    const s32 first = q.a, last = q.b, step = q.c;
    if (step == 0 || (step > 0) != (last >= first)) {
        f(first);
        return;
    }
    s64 frame = first;
    for (s32 i = 0; i < CUE_RUN_MAX && (step > 0 ? frame <= last : frame >= last); ++i) {
        f(s32(frame));
        frame += step;
    }
}

void frame_run(const Cue& q) {
    each_run_frame(q, [&q](s32 frame) {
        cue_hooks_switch(q.hooks, frame);
        obj_show_frame(q.obj, frame);
        cue_hooks_say(q.hooks, frame);
        wait_ms(u32(q.d));
    });
}

void stride_run(const Cue& q) {
    for (s32 i = 0; i < bounded(q.g); i++) {
        obj_place_show(q.obj, q.a + i * q.d, q.b + i * q.e, q.c + i * q.f);
        wait_ms(u32(q.h));
    }
}

void pair_run(const Cue& q) {
    if (!script_obj_valid(q.b)) return;
    for (s32 i = 0; i < bounded(q.d); i++) {
        if (i < q.e) obj_set_frame(q.b, q.c + i);
        obj_show_frame(q.obj, q.a + i);
        wait_ms(u32(q.f));
    }
}

// Rows that act on `obj` and are skipped when it is not an object number.
bool needs_obj(s32 op) {
    switch (op) {
    case CUE_MUSIC:
    case CUE_KEPT_MUSIC:
    case CUE_WALK:
    case CUE_SAY:
    case CUE_KEYS:
    case CUE_CURSOR:
    case CUE_CURSOR_SHOW:
    case CUE_SOUND:
    case CUE_PAN_TO:
    case CUE_PAN_BY:
    case CUE_WAIT:
    case CUE_RENDER:
    case CUE_PRESENT:
    case CUE_FADE_OUT_SCENE:
    case CUE_FADE_IN_SCENE:
    case CUE_FADE_OUT:
    case CUE_FADE_IN:
    case CUE_MAP:
    case CUE_PAIRS:
    case CUE_TURN_POINT:
    case CUE_POSE_ENTER:
    case CUE_POSE_LEAVE:
    case CUE_IMAGE:
    case CUE_CALL:
        return false;
    default:
        return true;
    }
}

// The rows that only write attributes or call the engine once.
void play_simple(const Cue& q) {
    switch (q.op) {
    case CUE_UNLABEL:
        label_remove(q.obj);
        break;
    case CUE_LABEL:
        label_add(q.obj, q.a, q.b, q.c, q.d);
        break;
    case CUE_MUSIC:
        mssw_play_music(q.a, q.b);
        break;
    case CUE_KEPT_MUSIC:
        player_record.music_id = q.a;
        mssw_play_music(q.a, q.b);
        break;
    case CUE_SOUND:
        mssw_play_sound(q.a, q.b);
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
        obj_place(q.obj, q.a, q.b, q.c);
        break;
    case CUE_PLACE_SHOW:
        obj_place_show(q.obj, q.a, q.b, q.c);
        if (q.d > 0) wait_ms(u32(q.d));
        break;
    case CUE_PLACE_ON_MAP:
        attr_set(q.obj, ATTR_MAP, q.d);
        obj_place(q.obj, q.a, q.b, q.c);
        break;
    case CUE_MOVE_ON:
        attr_set(q.obj, ATTR_MAP, q.c);
        attr_set(q.obj, ATTR_X, q.a);
        attr_set(q.obj, ATTR_Y, q.b);
        break;
    case CUE_PLACE_AT_PLAYER:
        attr_set(q.obj, ATTR_MAP, attr_get(0, ATTR_MAP));
        obj_place(q.obj, attr_get(0, ATTR_X), attr_get(0, ATTR_Y), q.a);
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
    case CUE_CLICK:
        attr_set(q.obj, ATTR_CLICK, q.a);
        attr_set(q.obj, ATTR_CURSOR, q.b);
        break;
    case CUE_ON_TOP:
        attr_set(q.obj, ATTR_LAYER, q.a != 0 ? LAYER_TOP : LAYER_STANDING);
        attr_set(q.obj, ATTR_SHADOW, q.a != 0 ? 0 : 1);
        break;
    case CUE_CURSOR:
        cursor_select(q.a);
        break;
    case CUE_CURSOR_SHOW:
        cursor_show();
        break;
    case CUE_WAIT:
        wait_ms(u32(q.a));
        break;
    case CUE_RENDER:
        scene_render();
        break;
    case CUE_PRESENT:
        screen_present();
        break;
    case CUE_FADE_OUT_SCENE:
        fade_out_scene();
        break;
    case CUE_FADE_IN_SCENE:
        fade_in_scene();
        break;
    case CUE_FADE_OUT:
        fade_out();
        break;
    case CUE_FADE_IN:
        fade_in();
        break;
    case CUE_MAP:
        change_map(q.a, q.b, q.c);
        break;
    case CUE_IMAGE:
        draw_image(q.a, q.b, q.c, u32(q.d));
        break;
    case CUE_CALL:
        if (q.fn != nullptr) q.fn();
        break;
    default:
        break;
    }
}

void play(const Cue& q, CueNote& note) {
    if (needs_obj(q.op) && !script_obj_valid(q.obj)) return;
    switch (q.op) {
    case CUE_PAN_ON:
        camera_pan(attr_get(q.obj, ATTR_X) - SCREEN_W / 2, attr_get(q.obj, ATTR_Y) - SCREEN_H / 2,
                   q.a);
        break;
    case CUE_PAN_TO:
        camera_pan(q.a, q.b, q.c);
        break;
    case CUE_PAN_BY:
        camera_pan(world_state.camera_x + q.a, world_state.camera_y + q.b, q.c);
        break;
    case CUE_WALK:
        walk_movers_of(q);
        break;
    case CUE_WALK_IN:
        walk1(q.b, q.obj, attr_get(0, ATTR_X), attr_get(0, ATTR_Y), q.a);
        attr_set(q.obj, ATTR_ACTIVE, 0);
        break;
    case CUE_NOTE:
        note = CueNote{attr_get(q.obj, ATTR_X), attr_get(q.obj, ATTR_Y)};
        break;
    case CUE_WALK_BACK:
        walk1(q.b, q.obj, note.x, note.y, q.a);
        break;
    case CUE_PAIRS:
        pairs_run(q);
        break;
    case CUE_FACE:
        if (script_obj_valid(q.e)) obj_face(q.e, q.obj, q.a, q.b, q.c, q.d);
        break;
    case CUE_TURN_TOWARD:
        player_turn_toward(q.obj);
        break;
    case CUE_TURN_POINT:
        player_turn_toward_point(q.a, q.b);
        break;
    case CUE_FRAME_STEPS:
        frame_steps(q.obj, q.a, q.b, bounded(q.c), q.d);
        break;
    case CUE_FRAME_RUN:
        frame_run(q);
        break;
    case CUE_STRIDE:
        stride_run(q);
        break;
    case CUE_PAIR:
        pair_run(q);
        break;
    case CUE_KEYS:
        for (s32 k = 0; k <= std::min(q.a, CUE_RUN_MAX - 1); ++k) {
            cue_keys_pass(q.tracks, k);
            render_pause(q.b);
        }
        break;
    case CUE_POSE_ENTER:
        pose_enter(PoseEnter{.x = q.a, .y = q.b, .frame = q.c, .slot = q.d, .on_top = q.e != 0});
        break;
    case CUE_POSE_LEAVE:
        pose_leave(PoseLeave{.x = q.a, .y = q.b, .frame = q.c, .on_top = q.d != 0, .rest = q.e});
        break;
    default:
        play_simple(q);
        break;
    }
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

void cue_hooks_switch(std::span<const CueHook> hooks, s32 frame) {
    for (const CueHook& h : hooks)
        if (h.frame == frame && script_obj_valid(h.obj)) attr_set(h.obj, ATTR_ACTIVE, h.active);
}

void cue_hooks_say(std::span<const CueHook> hooks, s32 frame) {
    for (const CueHook& h : hooks)
        if (h.frame == frame && h.text > 0) voice_say(h.voice, h.text);
}

void cues_run(std::span<const Cue> cues) {
    CueNote note;
    for (const Cue& q : cues) play(q, note);
}

void cues_frames(std::span<const Cue> cues, void (*visit)(s32 frame, void* ctx), void* ctx) {
    for (const Cue& q : cues) {
        switch (q.op) {
        case CUE_FRAME:
        case CUE_SHOW_FRAME:
        case CUE_PLACE_AT_PLAYER:
            visit(q.a, ctx);
            break;
        case CUE_PLACE:
        case CUE_PLACE_SHOW:
        case CUE_PLACE_ON_MAP:
        case CUE_POSE_ENTER:
        case CUE_POSE_LEAVE:
            visit(q.c, ctx);
            break;
        case CUE_FACE:
            for (const s32 f : {q.a, q.b, q.c, q.d}) visit(f, ctx);
            break;
        case CUE_FRAME_STEPS:
            for (s32 i = 0; i < bounded(q.c); ++i) visit(q.a + q.b * i, ctx);
            break;
        case CUE_FRAME_RUN:
            each_run_frame(q, [&](s32 f) { visit(f, ctx); });
            break;
        case CUE_STRIDE:
            for (s32 i = 0; i < bounded(q.g); ++i) visit(q.c + i * q.f, ctx);
            break;
        case CUE_PAIR:
            for (s32 i = 0; i < bounded(q.d); ++i) {
                visit(q.a + i, ctx);
                if (i < q.e) visit(q.c + i, ctx);
            }
            break;
        case CUE_KEYS:
            for (const CueTrack& t : q.tracks)
                for (s32 k = t.k_from; t.frame.set && k <= std::min({t.k_to, q.a, CUE_RUN_MAX - 1});
                     ++k)
                    visit(t.frame.base + t.frame.per * k, ctx);
            break;
        default:
            break;
        }
    }
}

void cues_frames(const FrameVisit& v, std::span<const Cue> cues) {
    cues_frames(
        cues, [](s32 frame, void* c) { (*static_cast<const FrameVisit*>(c))(frame); },
        const_cast<FrameVisit*>(&v));
}
