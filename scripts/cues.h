// Staged scenes written as tables of cues and played by one interpreter. A scene that a script
// plays within one run (walks of several figures with the camera, boxes and bubbles, frames set
// or shown, figures placed, switched on and off or given stages, frame runs, and loops that move
// figures frame by frame) is a constexpr array of `Cue` rows; `cues_run` plays them in order.
//
// A key loop (`keys`) runs its pass k = 0..last: every track whose k range holds k writes its
// attributes (switch on or off first, then x, y, height and frame, each base + per x k), then the
// scene is rendered, presented and `wait_ms` waits the loop's pause. A track writes only the
// attributes it names, so a figure keeps what an earlier pass or cue gave it.
#pragma once
#include "engine/types.h"
#include "scripts/script_ids.h"

#include <array>
#include <span>

constexpr s32 CUE_CAMERA_STAYS = -1; // a walk that leaves the camera where it is
constexpr s32 CUE_MOVERS = 6;        // figures of one walk
constexpr s32 CUE_K_LAST = 1 << 20;  // a track that acts on every pass of its loop

enum CueOp : s32 {
    CUE_UNLABEL = 0, // label_remove(obj)
    CUE_MUSIC,       // mssw_play_music(a, b)
    CUE_KEPT_MUSIC,  // PlayerRecord.music_id := a, then mssw_play_music(a, 0)
    CUE_PAN_ON,      // camera_pan so that obj stands in the middle of the screen, speed a
    CUE_WALK,        // walk_all of the movers, the camera on a (or staying)
    CUE_SAY,         // say(a, b, c): position, portrait, text
    CUE_BUBBLE,      // say_at(obj, a)
    CUE_FRAME,       // obj_set_frame(obj, a)
    CUE_SHOW_FRAME,  // obj_show_frame(obj, a)
    CUE_PLACE,       // ATTR_X := a, ATTR_Y := b, obj_set_frame(obj, c)
    CUE_ACTIVE,      // ATTR_ACTIVE := a
    CUE_STAGE,       // ATTR_VAR_A := a
    CUE_ATTR,        // attr_set(obj, a, b)
    CUE_FRAME_STEPS, // obj_show_frame(obj, a + b x i), wait_ms(d), i = 0..c-1
    CUE_KEYS,        // the key loop k = 0..a over the tracks, pause b ms a pass
    CUE_CURSOR,      // cursor_select(a)
    CUE_CURSOR_SHOW, // cursor_show
};

struct CueMover {
    s32 obj = -1;
    s32 x = 0, y = 0;
    s32 speed = 0;
};

// base + per x k, written only when `set`.
struct KeyLine {
    bool set = false;
    s32 base = 0;
    s32 per = 0;
};

// One figure's part in a key loop.
struct CueTrack {
    s32 obj = -1;
    s32 k_from = 0, k_to = CUE_K_LAST;
    s32 active = -1; // 0 or 1 written before the rest; -1 untouched
    KeyLine x{}, y{}, z{}, frame{};

    constexpr CueTrack ks(s32 from, s32 to) const {
        CueTrack t = *this;
        t.k_from = from;
        t.k_to = to;
        return t;
    }
    constexpr CueTrack on() const {
        CueTrack t = *this;
        t.active = 1;
        return t;
    }
    constexpr CueTrack at_x(s32 base, s32 per = 0) const {
        CueTrack t = *this;
        t.x = KeyLine{true, base, per};
        return t;
    }
    constexpr CueTrack at_y(s32 base, s32 per = 0) const {
        CueTrack t = *this;
        t.y = KeyLine{true, base, per};
        return t;
    }
    constexpr CueTrack height(s32 base, s32 per = 0) const {
        CueTrack t = *this;
        t.z = KeyLine{true, base, per};
        return t;
    }
    constexpr CueTrack frames(FrameId base, s32 per = 0) const {
        CueTrack t = *this;
        t.frame = KeyLine{true, base.v, per};
        return t;
    }
};

struct Cue {
    s32 op = CUE_UNLABEL;
    s32 obj = -1;
    s32 a = 0, b = 0, c = 0, d = 0;
    std::array<CueMover, CUE_MOVERS> movers{};
    std::span<const CueTrack> tracks{};
};

// The notation lives in namespace `cue`; a scene file says `using namespace cue;` in its own
// anonymous namespace.
namespace cue {
constexpr CueTrack track(ObjId o) {
    CueTrack t;
    t.obj = o.v;
    return t;
}
constexpr Cue make(s32 op, s32 obj, s32 a = 0, s32 b = 0, s32 c = 0, s32 d = 0) {
    Cue q;
    q.op = op;
    q.obj = obj;
    q.a = a;
    q.b = b;
    q.c = c;
    q.d = d;
    return q;
}
constexpr CueMover mover(ObjId o, s32 x, s32 y, s32 speed) {
    return CueMover{o.v, x, y, speed};
}
constexpr Cue unlabel(ObjId o) {
    return make(CUE_UNLABEL, o.v);
}
constexpr Cue music(s32 track_id, s32 loops) {
    return make(CUE_MUSIC, -1, track_id, loops);
}
constexpr Cue kept_music(s32 track_id) {
    return make(CUE_KEPT_MUSIC, -1, track_id);
}
constexpr Cue pan_on(ObjId o, s32 speed) {
    return make(CUE_PAN_ON, o.v, speed);
}
// The camera follows `camera` (an object) or stays (CUE_CAMERA_STAYS).
template <class... M> constexpr Cue walk(s32 camera, M... movers) {
    static_assert(sizeof...(M) >= 1 && sizeof...(M) <= CUE_MOVERS, "one to six figures a walk");
    Cue q = make(CUE_WALK, -1, camera);
    q.movers = {movers...};
    return q;
}
constexpr Cue say(s32 position, ImageId portrait, TextId t) {
    return make(CUE_SAY, -1, position, portrait.v, t.v);
}
constexpr Cue bubble(ObjId o, TextId t) {
    return make(CUE_BUBBLE, o.v, t.v);
}
constexpr Cue frame(ObjId o, FrameId f) {
    return make(CUE_FRAME, o.v, f.v);
}
constexpr Cue show_frame(ObjId o, FrameId f) {
    return make(CUE_SHOW_FRAME, o.v, f.v);
}
constexpr Cue place(ObjId o, s32 x, s32 y, FrameId f) {
    return make(CUE_PLACE, o.v, x, y, f.v);
}
constexpr Cue on(ObjId o) {
    return make(CUE_ACTIVE, o.v, 1);
}
constexpr Cue off(ObjId o) {
    return make(CUE_ACTIVE, o.v, 0);
}
constexpr Cue stage(ObjId o, s32 n) {
    return make(CUE_STAGE, o.v, n);
}
constexpr Cue attr(ObjId o, s32 attribute, s32 value) {
    return make(CUE_ATTR, o.v, attribute, value);
}
// Frames first, first + step, ... count of them, each shown for ms.
constexpr Cue frame_steps(ObjId o, FrameId first, s32 step, s32 count, s32 ms) {
    return make(CUE_FRAME_STEPS, o.v, first.v, step, count, ms);
}
// Frames first..last (inclusive, either direction) in steps of 2, each shown for ms.
constexpr Cue frame_run(ObjId o, FrameId first, FrameId last, s32 ms) {
    const s32 step = last.v >= first.v ? 2 : -2;
    const s32 count = (last.v - first.v) / step + 1;
    return frame_steps(o, first, step, count, ms);
}
constexpr Cue keys(s32 last_k, s32 ms, std::span<const CueTrack> tracks) {
    Cue q = make(CUE_KEYS, -1, last_k, ms);
    q.tracks = tracks;
    return q;
}
constexpr Cue cursor(s32 n) {
    return make(CUE_CURSOR, -1, n);
}
constexpr Cue cursor_on() {
    return make(CUE_CURSOR_SHOW, -1);
}
} // namespace cue

// Plays one cue / a scene. Objects outside 0..4095 are skipped.
void cue_play(const Cue& q);
void cues_run(std::span<const Cue> cues);
// One pass k of a key loop without the render and the pause (pure writes).
void cue_keys_pass(std::span<const CueTrack> tracks, s32 k);
