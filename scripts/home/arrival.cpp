#include "scripts/home/arrival.h"

#include "engine/dialog.h"
#include "engine/mssw.h"
#include "engine/world/object.h"
#include "engine/world/walk.h"
#include "engine/world_state.h"
#include "scripts/routes.h"
#include "scripts/script_ids.h"

namespace {

// ---- The protagonist (slot 132) ------------------------------------------------------------

constexpr s32 ARRIVAL_CURSOR = 2;
constexpr s32 WALK_IN_MUSIC = 10050;

// A leg of the protagonist's walk: re-armed every `rearm` frames, toward (x, y) at `speed`; on
// arrival the frame and the next stage.
struct ArrivalLeg {
    s32 rearm = 6;
    s32 x = 0, y = 0;
    s32 speed = 12;
    s32 arrive_frame = 0;
    s32 next_stage = 0;
};
// Stage 0: in from the left edge (the running form while it steps); stage 2: aside.
constexpr ArrivalLeg WALK_IN{3, 168, 1728, 12, ARRIVAL_FIRST_FRAME, 1};
constexpr s32 ANIMATION_REARM = 6;
constexpr s32 ANIMATION_END_FRAME = -424;
constexpr ArrivalLeg WALK_ASIDE{6, 58, 1708, 12, 424, 3};

namespace arrival_hook_rows {
using namespace cue;
constexpr CueHook HOOKS[] = {
    hook_on(33728_f, 217_obj),
    hook_on(33732_f, 218_obj),
    hook_on(33736_f, ObjId(ARRIVAL_BYSTANDER)),
    hook_on(33744_f, 223_obj),
    hook_on(33748_f, 6_obj),
    hook_says(33760_f, box(2, 1000_img), 20453_t),
};
} // namespace arrival_hook_rows
using arrival_hook_rows::HOOKS;

void leg_arrived(const ArrivalLeg& leg) {
    obj_set_frame(0, leg.arrive_frame);
    script_set_stage(0, leg.next_stage);
}

// Stage 1: one step of the arrival animation; its last step ends it and calls the first visitor.
void arrival_animation_step() {
    attr_set(0, ATTR_TIMER, ANIMATION_REARM);
    s32 frame = obj_get_frame(0) + ARRIVAL_STEP;
    cue_hooks_switch(HOOKS, frame);
    cue_hooks_say(HOOKS, frame);
    if (frame >= ARRIVAL_LAST_FRAME) {
        frame = ANIMATION_END_FRAME;
        script_set_stage(0, 2);
        attr_set(ARRIVAL_VISITOR, ATTR_ACTIVE, 1);
    }
    obj_set_frame(0, frame);
}

// ---- The visitors and the bystander (slots 124, 125, 131) as routes --------------------------

void visitor_greets() {
    say_at(script_self(), 20443);
}
void player_faces_visitor() {
    obj_set_frame(0, 424);
}
void staged_scene() {
    cues_run(arrival_staged_scene());
}

namespace arrival_routes {
using namespace route;

// The first visitor: greets, walks up (calling the second one and turning the player to it on
// every run after it arrived) and, at stage 2, plays the staged scene.
constexpr RouteStep VISITOR_STEPS[] = {
    face(0, 5602_f, act(visitor_greets)),
    stay(1, 123, 1846, obj_on(238_obj), act(player_faces_visitor)).speed(10),
    custom(2, staged_scene),
};
constexpr RouteWindow VISITOR_WINDOWS[] = {always(VISITOR_STEPS)};
constexpr Route VISITOR_ROUTE{.interval = 6, .windows = VISITOR_WINDOWS};

// The second visitor: walks up and releases the staged scene.
constexpr RouteStep SECOND_STEPS[] = {
    go(0, 40, 1824, obj_stage(237_obj, 2)).speed(10),
};
constexpr RouteWindow SECOND_WINDOWS[] = {always(SECOND_STEPS)};
constexpr Route SECOND_ROUTE{.interval = 10, .windows = SECOND_WINDOWS};

// The bystander: an onlooker at stage 0; after the scene it walks off and switches itself off
// (its stage stays 2).
constexpr RouteStep BYSTANDER_STEPS[] = {
    go(1, 60, 1784).speed(10),
    go(2, 0, 1817, self_off(), then_stage(2)).speed(10),
};
constexpr RouteWindow BYSTANDER_WINDOWS[] = {arrival_watch(ARRIVAL_BYSTANDER),
                                             always(BYSTANDER_STEPS)};
constexpr Route BYSTANDER_ROUTE{.interval = 7, .windows = BYSTANDER_WINDOWS};
} // namespace arrival_routes

// ---- The staged scene ----------------------------------------------------------------------

namespace arrival_cues {
using namespace cue;

constexpr s32 STAYS = CUE_CAMERA_STAYS;

// The dance of 171, 172 and 240 (frames in steps of 2), its held pose, the turn and the close.
constexpr CueTrack DANCE[] = {
    track(171_obj).frames(33500_f, 2),
    track(172_obj).frames(33548_f, 2),
    track(240_obj).frames(33666_f, 2),
};
constexpr CueTrack DANCE_HOLD[] = {
    track(171_obj).frames(33534_f),
    track(172_obj).frames(33582_f),
    track(240_obj).frames(33698_f),
};
constexpr CueTrack DANCE_TURN[] = {
    track(171_obj).frames(33536_f, 2),
    track(172_obj).frames(33584_f, 2),
    track(240_obj).frames(33700_f, 2),
};
constexpr CueTrack DANCE_CLOSE[] = {
    track(171_obj).frames(33542_f, 2),
    track(172_obj).frames(33590_f, 2),
};
// The flying object 242 rises; then it flies while 240 leaps, 244 flashes at the top.
constexpr CueTrack THROW[] = {
    track(242_obj).at_x(35, 5).at_y(1794, -3).height(0, 14).frames(33600_f, 2),
};
constexpr CueTrack FLIGHT[] = {
    track(242_obj).at_x(45, 7).at_y(1788, -3).height(28, 15).frames(33604_f, 2),
    track(240_obj).at_x(224, -7).at_y(1702, 3).height(0, 16).frames(33634_f, 2),
    track(244_obj).ks(7, 7).on().height(200).frames(20226_f),
};
// The fall: 242 comes down, 240 lands, 244 fades, 245 and 246 light up.
constexpr CueTrack FALL[] = {
    track(242_obj).at_x(92, -7).at_y(1767, 6).height(133, -19),
    track(242_obj).ks(0, 6).frames(33620_f, 2),
    track(240_obj).ks(0, 3).at_x(176, 6).at_y(1726, -3),
    track(240_obj).ks(0, 0).height(130),
    track(240_obj).ks(1, 3).height(111, -37),
    track(240_obj).frames(33650_f, 2),
    track(244_obj).ks(0, 3).frames(20227_f, 1),
    track(244_obj).ks(4, 7).frames(0_f),
    track(245_obj).ks(0, 6).frames(0_f),
    track(245_obj).ks(7, 7).on().frames(20232_f),
    track(246_obj).ks(3, 7).on().frames(20233_f, 1),
};
constexpr CueTrack GLOW[] = {
    track(245_obj).frames(20233_f, 1),
};

constexpr Cue STAGED_SCENE[] = {
    // The figures come into view, the camera on 240.
    unlabel(171_obj),
    unlabel(172_obj),
    music(10066, 0),
    pan_on(240_obj, 8),
    walk(STAYS, mover(241_obj, 1440, 1130, 12), mover(243_obj, 1463, 1143, 12)),
    bubble(241_obj, 20444_t),
    frame(240_obj, -5752_f),
    frame(238_obj, 5554_f),
    walk(240, mover(240_obj, 873, 1412, 20), mover(241_obj, 1211, 1240, 12),
         mover(243_obj, 1234, 1253, 12)),
    bubble(241_obj, 20445_t),
    frame(240_obj, -5672_f),
    place(171_obj, 290, 1672, 33500_f),
    place(172_obj, 380, 1695, 33548_f),
    walk(240, mover(240_obj, 385, 1630, 20), mover(241_obj, 910, 1390, 12),
         mover(243_obj, 936, 1409, 12)),
    show_frame(240_obj, 33666_f),
    say(3, 1181_img, 20455_t),
    // The dance.
    keys(16, 150, DANCE),
    keys(0, 150, DANCE_HOLD),
    keys(2, 150, DANCE_TURN),
    keys(2, 100, DANCE_CLOSE),
    say(3, 1181_img, 20456_t),
    frame(240_obj, -5672_f),
    walk(240, mover(240_obj, 224, 1702, 15)),
    say(2, 1077_img, 20464_t),
    // The throw, the flight and the fall.
    keys(1, 100, THROW),
    keys(7, 100, FLIGHT),
    keys(7, 100, FALL),
    off(246_obj),
    keys(2, 100, GLOW),
    off(245_obj),
    // The two others come down and talk.
    place(241_obj, 455, 1646, -5722_f),
    place(243_obj, 447, 1688, -5722_f),
    walk(STAYS, mover(241_obj, 411, 1686, 12), mover(243_obj, 422, 1706, 12)),
    place(171_obj, 213, 1665, -31156_f),
    place(172_obj, 393, 1776, 31204_f),
    walk(STAYS, mover(241_obj, 263, 1713, 12), mover(243_obj, 256, 1747, 12)),
    place(240_obj, 219, 1710, -5822_f),
    walk(STAYS, mover(243_obj, 119, 1752, 12)),
    bubble(243_obj, 20446_t),
    say(2, 1077_img, 20447_t),
    bubble(243_obj, 20448_t),
    say(2, 1077_img, 20449_t),
    bubble(243_obj, 20450_t),
    walk(STAYS, mover(243_obj, 240, 1735, 12)),
    bubble(243_obj, 20451_t),
    walk(STAYS, mover(240_obj, 504, 1620, 11), mover(241_obj, 485, 1586, 11),
         mover(243_obj, 465, 1666, 11)),
    off(240_obj),
    off(241_obj),
    off(243_obj),
    // The second visitor's bow; the visitors leave.
    frame_run(238_obj, 33706_f, 33724_f, 100),
    off(242_obj),
    frame_run(238_obj, 33724_f, 33706_f, 100),
    say(2, 1077_img, 20452_t),
    frame(238_obj, 5552_f),
    walk(STAYS, mover(237_obj, 554, 1600, 8), mover(238_obj, 739, 1536, 8)),
    off(237_obj),
    off(238_obj),
    // The onlookers comment, one after the other, and start their days.
    frame_run(171_obj, 31156_f, 31198_f, 100),
    bubble(171_obj, 20462_t),
    frame_run(172_obj, 31200_f, 31242_f, 100),
    bubble(172_obj, 20463_t),
    frame_run(6_obj, 33004_f, 33008_f, 100),
    bubble(6_obj, 20457_t),
    frame_run(223_obj, 32900_f, 32906_f, 100),
    bubble(223_obj, 20458_t),
    stage(6_obj, 1),
    stage(223_obj, 1),
    show_frame(218_obj, 5452_f),
    bubble(218_obj, 20459_t),
    frame_run(217_obj, 33812_f, 33834_f, 100),
    bubble(217_obj, 20460_t),
    stage(217_obj, 1),
    stage(218_obj, 1),
    stage(239_obj, 1),
    // The protagonist steps back and is handed to the player.
    walk(STAYS, mover(0_obj, 168, 1798, 8)),
    frame(0_obj, 418_f),
    say(2, 1000_img, 20454_t),
    attr(0_obj, ATTR_TIMER_ON, 0),
    attr(0_obj, ATTR_EVENT, 0),
    attr(0_obj, ATTR_CLICK, 1),
    attr(6_obj, ATTR_CLICK, 1),
    attr(171_obj, ATTR_CLICK, 1),
    attr(172_obj, ATTR_CLICK, 1),
    attr(217_obj, ATTR_CLICK, 1),
    attr(218_obj, ATTR_CLICK, 1),
    attr(223_obj, ATTR_CLICK, 1),
    frame(6_obj, 4222_f),
    frame(223_obj, 5172_f),
    frame(217_obj, -5422_f),
    cursor_on(),
    cursor(0),
    kept_music(10057),
};
static_assert(cues_valid(STAGED_SCENE));
} // namespace arrival_cues

} // namespace

std::span<const CueHook> arrival_hooks() {
    return HOOKS;
}

void arrival_onlooker_on(s32 obj) {
    const RouteWindow windows[] = {arrival_watch(obj)};
    route_run_on(obj, Route{.interval = ROUTE_NO_REARM, .windows = windows});
}

std::span<const Cue> arrival_staged_scene() {
    return arrival_cues::STAGED_SCENE;
}

void object_event_0124() {
    if (script_on(TRIG_TIMER)) route_run(arrival_routes::VISITOR_ROUTE);
}

void object_event_0125() {
    if (script_on(TRIG_TIMER)) route_run(arrival_routes::SECOND_ROUTE);
}

void object_event_0131() {
    if (script_on(TRIG_TIMER)) route_run(arrival_routes::BYSTANDER_ROUTE);
}

void object_event_0132() {
    if (!script_on(TRIG_TIMER)) return;
    cursor_select(ARRIVAL_CURSOR);
    switch (script_stage(0)) {
    case 0:
        attr_set(0, ATTR_TIMER, WALK_IN.rearm);
        mssw_play_music(WALK_IN_MUSIC, 1);
        if (player_step_to(WALK_IN.x, WALK_IN.y, WALK_IN.speed) == 1) leg_arrived(WALK_IN);
        break;
    case 1:
        arrival_animation_step();
        break;
    case 2:
        attr_set(0, ATTR_TIMER, WALK_ASIDE.rearm);
        if (obj_step_to(0, WALK_ASIDE.x, WALK_ASIDE.y, WALK_ASIDE.speed) == 1)
            leg_arrived(WALK_ASIDE);
        break;
    default: // stage 3 and above: silent until the scene hands the player back
        break;
    }
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {124, object_event_0124},
    {125, object_event_0125},
    {131, object_event_0131},
    {132, object_event_0132},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{124, 125}, {131, 132}};
} // namespace

std::span<const ScriptSlot> home_arrival_slots() {
    return SLOTS;
}

ScriptRegion home_arrival_region() {
    return {.owner = HOME_ARRIVAL_OWNER, .slots = home_arrival_slots, .complete = COMPLETE};
}
