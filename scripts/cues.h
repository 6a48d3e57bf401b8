// Staged scenes written as tables of cues and played by one interpreter. A scene that a script
// plays within one run (walks of several figures with the camera, boxes, bubbles and runs of
// lines, frames set or shown, figures placed, switched on and off or given stages, fades, map
// changes and camera pans, music and sounds, poses, frame runs with their hooks, and loops that
// move figures frame by frame) is a constexpr array of `Cue` rows; `cues_run` plays them in order.
// Scenes are linear: a branch belongs to the talk cells (scripts/cells.h), which play a span of
// cues as one of their steps.
//
// A key loop (`keys`) runs its pass k = 0..last: every track whose k range holds k writes its
// attributes (switch on or off first, then x, y, height and frame, each base + per x k), then the
// scene is rendered, presented and `wait_ms` waits the loop's pause. A track writes only the
// attributes it names, so a figure keeps what an earlier pass or cue gave it.
//
// Every run is bounded: a frame run, a stride, a pair run, a key loop or a run of lines stops
// after CUE_RUN_MAX steps, so that a mistyped range cannot animate for ever. Objects outside
// 0..4095 are skipped.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"
#include "scripts/script_ids.h"

#include <array>
#include <span>

constexpr s32 CUE_CAMERA_STAYS = -1; // a walk that leaves the camera where it is
constexpr s32 CUE_MOVERS = 6;        // figures of one walk
constexpr s32 CUE_K_LAST = 1 << 20;  // a track that acts on every pass of its loop
constexpr s32 CUE_RUN_MAX = 64;      // steps of one run at most

enum CueOp : s32 {
    CUE_UNLABEL = 0, // label_remove(obj)
    CUE_MUSIC,       // mssw_play_music(a, b); the kept music is unchanged
    CUE_KEPT_MUSIC,  // PlayerRecord.music_id := a, then mssw_play_music(a, b)
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
    CUE_LABEL,       // label_add(obj, a text, b dx, c dy, d ms)
    CUE_SOUND,       // mssw_play_sound(a, b)
    CUE_PAN_TO,      // camera_pan(a, b, c)
    CUE_PAN_BY,      // camera_pan(camera x + a, camera y + b, c)
    CUE_WAIT,        // wait_ms(a)
    CUE_RENDER,      // scene_render
    CUE_PRESENT,     // screen_present
    CUE_FADE_OUT_SCENE,
    CUE_FADE_IN_SCENE,
    CUE_FADE_OUT,
    CUE_FADE_IN,
    CUE_MAP,             // change_map(a, b, c)
    CUE_PAIRS,           // texts a..b, speakers (c, d) and (e, f): by alternation (g 0) or parity
    CUE_FACE,            // obj_face(e, obj, a, b, c, d): obj turns toward object e
    CUE_TURN_TOWARD,     // the player turns toward obj
    CUE_TURN_POINT,      // the player turns toward (a, b)
    CUE_PLACE_SHOW,      // obj_place_show(obj, a, b, c), then wait_ms(d) when above 0
    CUE_PLACE_ON_MAP,    // ATTR_MAP := d, ATTR_X := a, ATTR_Y := b, obj_set_frame(obj, c)
    CUE_PLACE_AT_PLAYER, // obj on the player's map and place, obj_set_frame(obj, a)
    CUE_WALK_IN,         // obj walks onto the player at speed a (camera b), then ATTR_ACTIVE := 0
    CUE_NOTE,            // obj's place is noted for this run of cues
    CUE_WALK_BACK,       // obj walks back to the noted place at speed a (camera b)
    CUE_STRIDE,          // obj_place_show(obj, a + i x d, b + i x e, c + i x f), wait_ms(h), i < g
    CUE_PAIR,       // i < d: obj_set_frame(b, c + i) while i < e, obj_show_frame(obj, a + i); f ms
    CUE_FRAME_RUN,  // obj shows frames a..b in steps of c, d ms each, with the hooks
    CUE_CLICK,      // ATTR_CLICK := a, ATTR_CURSOR := b
    CUE_ON_TOP,     // a 1: layer 2 without a shadow; 0: layer 3 with one
    CUE_POSE_ENTER, // pose_enter{x a, y b, frame c, slot d, on_top e}
    CUE_POSE_LEAVE, // pose_leave{x a, y b, frame c, on_top d, rest e}
    CUE_IMAGE,      // draw_image(a, b, c, d)
    CUE_CALL,       // fn()
    CUE_MOVE_ON,    // ATTR_MAP := c, ATTR_X := a, ATTR_Y := b; the frame and ATTR_ACTIVE untouched
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

// A hook of a frame run: when the run reaches `frame`, object `obj` is switched on or off
// (obj >= 0) before the frame is shown, and `text` (above 0) is said by `voice` after it.
struct CueHook {
    s32 frame = 0;
    s32 obj = -1;
    s32 active = 0;
    s32 text = 0;
    Voice voice{};
};

struct Cue {
    s32 op = CUE_WAIT;
    s32 obj = -1;
    s32 a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0, h = 0;
    std::array<CueMover, CUE_MOVERS> movers{};
    std::span<const CueTrack> tracks{};
    std::span<const CueHook> hooks{};
    void (*fn)() = nullptr;

    // The same frame run with its hooks.
    constexpr Cue with(std::span<const CueHook> h) const {
        Cue q = *this;
        q.hooks = h;
        return q;
    }
};

// The notation lives in namespace `cue`; a scene file says `using namespace cue;` in a namespace
// of its own. Rows that wrap an engine call have a name of their own (`fade_to_black`, not
// `fade_out`), so that the notation never hides the call.
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

// ---- Speakers and lines
constexpr Cue say(s32 position, ImageId portrait, TextId t) {
    return make(CUE_SAY, -1, position, portrait.v, t.v);
}
constexpr Cue bubble(ObjId o, TextId t) {
    return make(CUE_BUBBLE, o.v, t.v);
}
// A speaker of a run of lines: a box (position, portrait) or the bubble of an object.
constexpr Voice box(s32 position, ImageId portrait) {
    return Voice{.obj = -1, .position = position, .portrait = portrait.v};
}
constexpr Voice bubble_of(ObjId o) {
    return Voice{.obj = o.v, .position = 0, .portrait = -1};
}
// pairs t = first..last: (p1, q1), (p2, q2). The first speaker says the first text, the second
// the next, and so on.
constexpr Cue pairs(TextId first, TextId last, Voice one, Voice two) {
    Cue q = make(CUE_PAIRS, -1, first.v, last.v);
    q.c = one.portrait < 0 ? one.obj : one.position;
    q.d = one.portrait;
    q.e = two.portrait < 0 ? two.obj : two.position;
    q.f = two.portrait;
    return q;
}
// The same with the speaker by the text's parity: `even` says the even texts, `odd` the others.
constexpr Cue pairs_by_parity(TextId first, TextId last, Voice even, Voice odd) {
    Cue q = pairs(first, last, even, odd);
    q.g = 1;
    return q;
}
constexpr Cue label(ObjId o, TextId t, s32 dx, s32 dy, s32 ms) {
    return make(CUE_LABEL, o.v, t.v, dx, dy, ms);
}
constexpr Cue unlabel(ObjId o) {
    return make(CUE_UNLABEL, o.v);
}

// ---- Music and sound
constexpr Cue music(s32 track_id, s32 loops) {
    return make(CUE_MUSIC, -1, track_id, loops);
}
// The map's kept music (PlayerRecord.music_id) becomes track_id as it starts.
constexpr Cue kept_music(s32 track_id, s32 loops = 0) {
    return make(CUE_KEPT_MUSIC, -1, track_id, loops);
}
constexpr Cue sound(s32 sound_id, s32 loops) {
    return make(CUE_SOUND, -1, sound_id, loops);
}

// ---- Camera, screen and map
constexpr Cue pan_on(ObjId o, s32 speed) {
    return make(CUE_PAN_ON, o.v, speed);
}
// The camera back on the player.
constexpr Cue pan_home(s32 speed) {
    return make(CUE_PAN_ON, 0, speed);
}
constexpr Cue pan_to(s32 x, s32 y, s32 speed) {
    return make(CUE_PAN_TO, -1, x, y, speed);
}
constexpr Cue pan_by(s32 dx, s32 dy, s32 speed) {
    return make(CUE_PAN_BY, -1, dx, dy, speed);
}
constexpr Cue wait(s32 ms) {
    return make(CUE_WAIT, -1, ms);
}
constexpr Cue render() {
    return make(CUE_RENDER, -1);
}
constexpr Cue present() {
    return make(CUE_PRESENT, -1);
}
// fade_out_scene / fade_in_scene (the scene rendered first) and fade_out / fade_in.
constexpr Cue fade_out_of_scene() {
    return make(CUE_FADE_OUT_SCENE, -1);
}
constexpr Cue fade_into_scene() {
    return make(CUE_FADE_IN_SCENE, -1);
}
constexpr Cue fade_to_black() {
    return make(CUE_FADE_OUT, -1);
}
constexpr Cue fade_from_black() {
    return make(CUE_FADE_IN, -1);
}
constexpr Cue map_change(MapId m, s32 x, s32 y) {
    return make(CUE_MAP, -1, m.v, x, y);
}
constexpr Cue image(s32 x, s32 y, ImageId picture, s32 flags = 0) {
    return make(CUE_IMAGE, -1, x, y, picture.v, flags);
}
constexpr Cue cursor(s32 n) {
    return make(CUE_CURSOR, -1, n);
}
constexpr Cue cursor_on() {
    return make(CUE_CURSOR_SHOW, -1);
}

// ---- Walks
// The camera follows `camera` (an object) or stays (CUE_CAMERA_STAYS).
template <class... M> constexpr Cue walk(s32 camera, M... movers) {
    static_assert(sizeof...(M) >= 1 && sizeof...(M) <= CUE_MOVERS, "one to six figures a walk");
    Cue q = make(CUE_WALK, -1, camera);
    q.movers = {movers...};
    return q;
}
// o walks onto the player and is hidden there.
constexpr Cue walk_into_player(ObjId o, s32 speed, s32 camera = CUE_CAMERA_STAYS) {
    return make(CUE_WALK_IN, o.v, speed, camera);
}
constexpr Cue note(ObjId o) {
    return make(CUE_NOTE, o.v);
}
constexpr Cue walk_back(ObjId o, s32 speed, s32 camera = 0) {
    return make(CUE_WALK_BACK, o.v, speed, camera);
}

// ---- Turning
// o turns toward the player (or toward `target`) by the four frames, as obj_face does.
constexpr Cue face(ObjId o, const TurnFrames& f, ObjId target = ObjId(0)) {
    Cue q = make(CUE_FACE, o.v, f.f0, f.f1, f.f2, f.f3);
    q.e = target.v;
    return q;
}
// The player turns toward o / toward a map point.
constexpr Cue turn_toward(ObjId o) {
    return make(CUE_TURN_TOWARD, o.v);
}
constexpr Cue turn_toward_point(s32 x, s32 y) {
    return make(CUE_TURN_POINT, -1, x, y);
}

// ---- Frames and places
constexpr Cue frame(ObjId o, FrameId f) {
    return make(CUE_FRAME, o.v, f.v);
}
constexpr Cue show_frame(ObjId o, FrameId f) {
    return make(CUE_SHOW_FRAME, o.v, f.v);
}
constexpr Cue place(ObjId o, s32 x, s32 y, FrameId f) {
    return make(CUE_PLACE, o.v, x, y, f.v);
}
// Placed and shown; then a pause of ms when above 0.
constexpr Cue place_show(ObjId o, s32 x, s32 y, FrameId f, s32 ms = 0) {
    return make(CUE_PLACE_SHOW, o.v, x, y, f.v, ms);
}
// On map m at (x, y) with a signed frame; ATTR_ACTIVE is left as it is.
constexpr Cue place_on(ObjId o, MapId m, s32 x, s32 y, FrameId f) {
    return make(CUE_PLACE_ON_MAP, o.v, x, y, f.v, m.v);
}
// Moved to map m at (x, y), keeping its frame; ATTR_ACTIVE is left as it is.
constexpr Cue move_on(ObjId o, MapId m, s32 x, s32 y) {
    return make(CUE_MOVE_ON, o.v, x, y, m.v);
}
// On the player's map and place.
constexpr Cue place_at_player(ObjId o, FrameId f) {
    return make(CUE_PLACE_AT_PLAYER, o.v, f.v);
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
// Frames first..last in steps of `step`, each shown for ms; `.with(hooks)` adds its hooks. A step
// that does not lead toward the last frame shows the first frame only.
constexpr Cue frames(ObjId o, FrameId first, FrameId last, s32 step, s32 ms) {
    return make(CUE_FRAME_RUN, o.v, first.v, last.v, step, ms);
}
constexpr CueHook hook_on(FrameId at, ObjId o) {
    return CueHook{.frame = at.v, .obj = o.v, .active = 1};
}
constexpr CueHook hook_off(FrameId at, ObjId o) {
    return CueHook{.frame = at.v, .obj = o.v, .active = 0};
}
constexpr CueHook hook_says(FrameId at, Voice v, TextId t) {
    return CueHook{.frame = at.v, .obj = -1, .active = 0, .text = t.v, .voice = v};
}
// count steps from (x, y) with frame f, each moving by (dx, dy) and the frame by df.
constexpr Cue stride(ObjId o, s32 x, s32 y, FrameId f, s32 dx, s32 dy, s32 df, s32 count, s32 ms) {
    Cue q = make(CUE_STRIDE, o.v, x, y, f.v, dx);
    q.e = dy;
    q.f = df;
    q.g = count;
    q.h = ms;
    return q;
}
// count steps: `second` is set to second_first + i for its first `second_count` steps, `lead`
// shows lead_first + i; ms each.
constexpr Cue pair(ObjId lead, FrameId lead_first, ObjId second, FrameId second_first, s32 count,
                   s32 second_count, s32 ms) {
    Cue q = make(CUE_PAIR, lead.v, lead_first.v, second.v, second_first.v, count);
    q.e = second_count;
    q.f = ms;
    return q;
}
constexpr Cue keys(s32 last_k, s32 ms, std::span<const CueTrack> tracks) {
    Cue q = make(CUE_KEYS, -1, last_k, ms);
    q.tracks = tracks;
    return q;
}

// ---- Attributes
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
// ATTR_CLICK and ATTR_CURSOR.
constexpr Cue clickable(ObjId o, bool click, s32 cursor_id) {
    return make(CUE_CLICK, o.v, click ? 1 : 0, cursor_id);
}
// Drawn on top without a shadow, or back on the standing layer with one.
constexpr Cue on_top(ObjId o, bool top) {
    return make(CUE_ON_TOP, o.v, top ? 1 : 0);
}

// ---- Poses and calls
constexpr Cue enter(const PoseEnter& p) {
    Cue q = make(CUE_POSE_ENTER, -1, p.x, p.y, p.frame, p.slot);
    q.e = p.on_top ? 1 : 0;
    return q;
}
constexpr Cue leave(const PoseLeave& p) {
    Cue q = make(CUE_POSE_LEAVE, -1, p.x, p.y, p.frame, p.on_top ? 1 : 0);
    q.e = p.rest;
    return q;
}
constexpr Cue call(void (*fn)()) {
    Cue q = make(CUE_CALL, -1);
    q.fn = fn;
    return q;
}
} // namespace cue

// The check of a scene table, for `static_assert(cues_valid(TABLE))` after each table: every run
// of lines ascends within LINE_RUN_MAX, every frame run, stride, pair run and key loop has at least
// one and at most CUE_RUN_MAX steps, and a frame run's step leads from its first frame to its last.
constexpr bool cue_valid(const Cue& q) {
    const auto steps_ok = [](s64 n) { return n >= 1 && n <= CUE_RUN_MAX; };
    switch (q.op) {
    case CUE_PAIRS:
        return line_run_ok(q.a, q.b);
    case CUE_FRAME_STEPS:
        return steps_ok(q.c);
    case CUE_FRAME_RUN:
        if (q.c == 0 || (q.c > 0) != (q.b >= q.a)) return false;
        return steps_ok((s64(q.b) - q.a) / q.c + 1);
    case CUE_STRIDE:
        return steps_ok(q.g);
    case CUE_PAIR:
        return steps_ok(q.d);
    case CUE_KEYS:
        return steps_ok(s64(q.a) + 1);
    default:
        return true;
    }
}
constexpr bool cues_valid(std::span<const Cue> cues) {
    for (const Cue& q : cues)
        if (!cue_valid(q)) return false;
    return true;
}

// Plays a scene.
void cues_run(std::span<const Cue> cues);
// One pass k of a key loop without the render and the pause (pure writes).
void cue_keys_pass(std::span<const CueTrack> tracks, s32 k);
// The hooks of a frame run at `frame`: the switches (before the frame is shown) and the lines
// (after it). A script that steps a run one frame a timer run calls them itself.
void cue_hooks_switch(std::span<const CueHook> hooks, s32 frame);
void cue_hooks_say(std::span<const CueHook> hooks, s32 frame);
// Calls visit(frame) for every frame that the scene's rows show or set (frames, places, runs,
// strides, pairs, key loops, poses), so that a picture can be supplied for each.
void cues_frames(std::span<const Cue> cues, void (*visit)(s32 frame, void* ctx), void* ctx);
void cues_frames(const FrameVisit& v, std::span<const Cue> cues);
