#include "scripts/episodes/camps.h"

#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cues.h"
#include "scripts/episode_state.h"
#include "scripts/kit.h"
#include "scripts/script_ids.h"
#include "scripts/zones.h"

#include <array>

// The scene is built at the call: the places, frames and texts are the caller's.
void visitor_scene(const VisitorScene& v) {
    using namespace cue;
    constexpr ObjId VISITOR{VISITOR_OBJ};
    constexpr Voice GUEST = box(2, 1163_img);
    constexpr Voice ME = box(3, 1000_img);
    const std::array<Cue, 9> visit{
        place_on(VISITOR, MapId(v.map), v.x0, v.y0, FrameId(v.visitor_frame)),
        on(VISITOR),
        show_frame(VISITOR, FrameId(v.visitor_frame)),
        walk(CUE_CAMERA_STAYS, mover(VISITOR, v.x1, v.y1, VISITOR_SPEED)),
        show_frame(ObjId(0), FrameId(v.player_frame)),
        say(GUEST.position, ImageId(GUEST.portrait), TextId(v.first_text)),
        say(GUEST.position, ImageId(GUEST.portrait), TextId(v.first_text + 1)),
        pairs(TextId(v.first_text + 2), TextId(v.first_text + VISITOR_TEXTS - 1), ME, GUEST),
        off(VISITOR),
    };
    cues_run(visit);
}

EPISODE_COUNTER(shout_count_1206, 0);
EPISODE_COUNTER(shout_count_1207, 0);
EPISODE_COUNTER(shout_count_1208, 0);
EPISODE_COUNTER(shout_count_1209, 0);

namespace {

// ---- The crowd ---------------------------------------------------------------------------------

// Every three frames a member steps its cycle; the wrap frame itself is never shown.
constexpr IdleCycle crowd_cycle(s32 start, s32 wrap, s32 step) {
    IdleCycle c;
    c.rearm = 3;
    c.start = start;
    c.limit = wrap;
    c.step = step;
    c.pause = -1;
    c.wrap_at_limit = true;
    return c;
}

constexpr CrowdRow CROWD[] = {
    {.slot = 1206,
     .map61 = {3539, 3550, 3552, 3555},
     .map63 = {3568, 3570, 3572, 3573},
     .cycle = crowd_cycle(-52532, -52549, -1),
     .count = &shout_count_1206,
     .shout = 61423,
     .shout_after = 30,
     .held = {3539, 6280},
     .still = {{{3539, 6280}, {3550, 6270}, {3552, 6280}, {3555, 6270}}}},
    {.slot = 1207,
     .map61 = {3540, 3551, -1, -1},
     .map63 = {3569, 3571, -1, -1},
     .cycle = crowd_cycle(-52552, -52569, -1),
     .count = &shout_count_1207,
     .shout = 61424,
     .shout_after = 25,
     .held = {3540, 6270},
     .still = {{{3540, 6270}, {3551, 6280}, {}, {}}}},
    {.slot = 1208,
     .map61 = {3545, 3547, 3548, -1},
     .map63 = {3574, 3576, 3577, -1},
     .cycle = crowd_cycle(52653, 52662, 1),
     .count = &shout_count_1208,
     .shout = 61425,
     .shout_after = 25,
     .held = {3545, 6250},
     .still = {{{3545, 6250}, {3548, 6250}, {3547, 6260}, {}}}},
    {.slot = 1209,
     .map61 = {3546, 3549, 3554, -1},
     .map63 = {3575, 3578, 3579, -1},
     .cycle = crowd_cycle(52653, 52662, 1),
     .count = &shout_count_1209,
     .shout = 61426,
     .shout_after = 30,
     .held = {3546, 6260},
     .still = {{{3546, 6260}, {3549, 6260}, {3554, 6250}, {}}}},
};

bool on_crowd_map() {
    return world_state.current_map == 61 || world_state.current_map == 63;
}

} // namespace

std::span<const CrowdRow> camps_crowd() {
    return CROWD;
}

void crowd_run(const CrowdRow& r) {
    const s32 self = script_self();
    const s32 state = script_stage(CROWD_STATE_OBJ);
    if (state == CROWD_STILL) {
        // The timer is not re-armed: every member stops with the frame of its last run.
        for (const CrowdStill& m : r.still)
            if (script_obj_valid(m.obj)) obj_set_frame(m.obj, m.frame);
        return;
    }
    if (state == CROWD_CHEERING || (state == CROWD_HELD && self != r.held.obj)) {
        if (r.count != nullptr) {
            *r.count += 1;
            if (*r.count > r.shout_after && on_crowd_map()) {
                label_add(self, r.shout, CROWD_SHOUT_DX, CROWD_SHOUT_DY, CROWD_SHOUT_MS);
                *r.count = 0;
            }
        }
        if (script_on(TRIG_TIMER)) idle_cycle_on(self, r.cycle);
    }
    if (state == CROWD_HELD && script_obj_valid(r.held.obj))
        obj_set_frame(r.held.obj, r.held.frame);
}

namespace {

// ---- The barred ways ---------------------------------------------------------------------------

struct BarredWay {
    SlotId slot;
    ObjId zone;
    StepZone bar;
};
constexpr StepZone barring(Voice v, TextId t, s32 x, s32 y) {
    StepZone z;
    z.kind = ZONE_BAR;
    z.voice = v;
    z.text = t.v;
    z.back_x = x;
    z.back_y = y;
    z.back_speed = 8;
    return z;
}
constexpr BarredWay BARRED[] = {
    {SlotId(1214), 3679_obj, barring(cue::box(3, 1118_img), 60435_t, 796, 552)},
    {SlotId(1214), 3613_obj, barring(cue::bubble_of(3613_obj), 57506_t, 796, 552)},
    {SlotId(1216), 3622_obj, barring(cue::box(2, 1000_img), 57526_t, 946, 645)},
    {SlotId(1217), 3623_obj, barring(cue::box(2, 1000_img), 57526_t, 469, 792)},
};

// The row of the slot whose zone is self; any other object of the slot does nothing.
void barred_way(SlotId slot) {
    const s32 self = script_self();
    for (const BarredWay& w : BARRED)
        if (w.slot == slot && w.zone.v == self) {
            step_zone(w.bar);
            return;
        }
}

// ---- Route 2 -----------------------------------------------------------------------------------

using namespace cue;

constexpr Voice P118_LEFT = box(0, 1118_img);
constexpr Voice P118_RIGHT = box(3, 1118_img);
constexpr Voice P118_BOTTOM = box(1, 1118_img);
constexpr Voice P200 = box(0, 1200_img);
constexpr Voice P112 = box(3, 1112_img);
constexpr Voice P233 = box(3, 1233_img);
constexpr Voice ME = box(3, 1000_img);
constexpr ObjId PLAYER{0};

constexpr BattleBlock camp_battle(s32 encounter, bool with_200) {
    BattleBlock b;
    b.encounter = encounter;
    b.heal_part.who = 0;
    b.heal_part.ids[0] = 118;
    b.heal_part.ids[1] = 156;
    b.heal_part.ids[2] = 143;
    b.heal_full.who = 267;
    b.heal_full.ids[0] = 268;
    b.heal_full.ids[1] = 269;
    b.heal_full.ids[2] = 270;
    if (with_200) b.heal_full.ids[3] = 200;
    b.loss = LOSS_ZERO;
    return b;
}
constexpr BattleBlock AMBUSH_FIGHT = camp_battle(41, false);
constexpr BattleBlock FINALE_FIRST = camp_battle(42, false);
constexpr BattleBlock FINALE_SECOND = camp_battle(43, true);

// A battle of route 2: true when it was lost, the outcome stored and the episode ended, so that
// the caller plays nothing more.
bool route2_lost(const BattleBlock& b) {
    if (!battle_lost(battle_block(b), b.loss)) return false;
    end_episode(ROUTE2_OUTCOME_FLAG, ROUTE2_LOST);
    return true;
}

// Item 1506 is put on in the fourth equipment slot, whatever was there.
constexpr s32 GIFT_ITEM = 1506;
constexpr s32 GIFT_SLOT = 3;
constexpr s32 GIFT_OFFSET = 6;
void take_gift() {
    inv_add(GIFT_ITEM, 1);
    player_record.equip[GIFT_SLOT] = GIFT_OFFSET;
}

// The two maps of route 2: figures are moved on them with their frames kept.
constexpr MapId SQUARE{61};
constexpr MapId YARD{62};

// The first ambush, on map 61 beside person 118.
constexpr Cue AMBUSH1_BEFORE[] = {
    show_frame(3501_obj, 6422_f),
    walk(0, mover(PLAYER, 1369, 1033, 10)),
    turn_toward(3501_obj),
    pairs(57300_t, 57305_t, P118_LEFT, ME),
    show_frame(3508_obj, 6222_f),
    show_frame(3509_obj, 6222_f),
    on(3508_obj),
    on(3509_obj),
    call(take_gift),
    say(0, 1118_img, 57306_t),
    pan_to(400, 700, 7),
    bubble(3509_obj, 57307_t),
    say(1, 1118_img, 57308_t),
    walk(3508, mover(3508_obj, 1060, 1015, 12), mover(3509_obj, 1060, 1060, 12),
         mover(PLAYER, 1175, 1048, 5), mover(3501_obj, 1164, 982, 7)),
    show_frame(3501_obj, -6422_f),
};
static_assert(cues_valid(AMBUSH1_BEFORE));
constexpr Cue AMBUSH1_AFTER[] = {
    off(3508_obj),
    move_on(3509_obj, SQUARE, 645, 1009),
    pan_to(350, 620, 12),
    bubble(3509_obj, 57309_t),
    show_frame(3512_obj, 6222_f),
    on(3512_obj),
    show_frame(3513_obj, 6222_f),
    on(3513_obj),
    show_frame(3514_obj, 6222_f),
    on(3514_obj),
    show_frame(3515_obj, 6222_f),
    on(3515_obj),
    show_frame(3516_obj, 6222_f),
    on(3516_obj),
    pan_to(200, 350, 5),
    walk(3512, mover(3512_obj, 391, 772, 10), mover(3513_obj, 463, 760, 10),
         mover(3514_obj, 547, 745, 10), mover(3515_obj, 446, 856, 10),
         mover(3516_obj, 544, 830, 10)),
    off(3501_obj),
    off(3502_obj),
    off(3503_obj),
    off(2068_obj),
    off(2069_obj),
    on(3539_obj),
    on(3540_obj),
    on(3545_obj),
    on(3546_obj),
    move_on(3508_obj, SQUARE, 635, 1070),
    on(3508_obj),
    off(3500_obj),
};
static_assert(cues_valid(AMBUSH1_AFTER));

// The second ambush, at the middle of map 61.
constexpr Cue AMBUSH2_BEFORE[] = {
    bubble(3509_obj, 57310_t),
    walk(3517, mover(3508_obj, 768, 1054, 8), mover(3509_obj, 768, 1054, 8)),
};
static_assert(cues_valid(AMBUSH2_BEFORE));
constexpr Cue AMBUSH2_AFTER[] = {
    off(3508_obj),
    off(3509_obj),
    off(3512_obj),
    off(3513_obj),
    off(3514_obj),
    off(3504_obj),
    off(3505_obj),
    off(3506_obj),
    on(3547_obj),
    on(3548_obj),
    on(3549_obj),
    on(3550_obj),
    on(3551_obj),
    on(3552_obj),
    move_on(3515_obj, SQUARE, 409, 744),
    move_on(3516_obj, SQUARE, 497, 712),
    stage(3500_obj, CROWD_HELD),
    off(3517_obj),
};
static_assert(cues_valid(AMBUSH2_AFTER));

// The third ambush, at the west of map 61: the decisive fight.
constexpr Cue AMBUSH3_BEFORE[] = {
    bubble(3553_obj, 57311_t),
};
constexpr Cue AMBUSH3_AFTER[] = {
    move_on(PLAYER, SQUARE, 446, 731),
    on(3554_obj),
    on(3555_obj),
    frame(3515_obj, 6260_f),
    frame(3516_obj, 6250_f),
    frame(3510_obj, 6250_f),
    frame(3511_obj, 6260_f),
    frame(3537_obj, 6270_f),
    frame(3538_obj, 6280_f),
    off(3507_obj),
    say(3, 1118_img, 57312_t),
    off(3553_obj),
    stage(3500_obj, CROWD_STILL),
};
static_assert(cues_valid(AMBUSH3_AFTER));

struct Ambush {
    SlotId slot;
    std::span<const Cue> before;
    std::span<const Cue> after;
};
constexpr Ambush AMBUSHES[] = {
    {SlotId(1200), AMBUSH1_BEFORE, AMBUSH1_AFTER},
    {SlotId(1202), AMBUSH2_BEFORE, AMBUSH2_AFTER},
    {SlotId(1210), AMBUSH3_BEFORE, AMBUSH3_AFTER},
};

void ambush(const Ambush& a) {
    cues_run(a.before);
    if (route2_lost(AMBUSH_FIGHT)) return;
    cues_run(a.after);
}

// The finale on map 62: persons 112 and 200 and their men.
constexpr Cue FINALE_OPENING[] = {
    say(3, 1118_img, 57313_t),
    show_frame(3561_obj, 6322_f),
    show_frame(3562_obj, 39822_f),
};
constexpr Cue FINALE_BETWEEN[] = {
    off(3564_obj),
    off(3565_obj),
    walk(0, mover(PLAYER, 287, 289, 10)),
    on(3566_obj),
    walk(0, mover(PLAYER, 215, 298, 8)),
    turn_toward(3562_obj),
    say(0, 1200_img, 57320_t),
    say(3, 1118_img, 57321_t),
    say(0, 1200_img, 57322_t),
};
// The effect of the other route's set-up (object 2070) is not on this route: its ten steps stay
// as a pause of one second, rendered and presented, that writes nothing.
constexpr CueTrack FINALE_FALL[] = {track(3560_obj).frames(10210_f, 2)};
constexpr Cue FINALE_CLOSING[] = {
    show_frame(3562_obj, 6290_f),
    pairs(57330_t, 57333_t, P200, P118_RIGHT),
    walk(0, mover(3561_obj, 258, 230, 9)),
    show_frame(3561_obj, -6302_f),
    pairs(57340_t, 57344_t, P200, P112),
    on(3567_obj),
    frame_steps(3567_obj, 10576_f, -2, 3, 200),
    show_frame(3566_obj, 6422_f),
    say(3, 1233_img, 57346_t),
    say(2, 1118_img, 57347_t),
    say(2, 1118_img, 57350_t),
    keys(9, 100, FINALE_FALL),
    keys(9, 100, {}),
    fade_out_of_scene(),
    move_on(3567_obj, YARD, 278, 245),
    off(3562_obj),
    place(3561_obj, 155, 212, 6322_f),
    frame(3566_obj, -6402_f),
    fade_into_scene(),
    say(1, 1118_img, 57351_t),
    say(1, 1118_img, 57352_t),
    say(1, 1118_img, 57360_t),
    say(0, 1112_img, 57361_t),
    pairs(57362_t, 57368_t, P118_BOTTOM, P233),
    say(2, 1000_img, 57369_t),
    say(1, 1118_img, 57370_t),
    say(2, 1000_img, 57371_t),
    say(2, 1000_img, 57372_t),
    say(1, 1118_img, 57373_t),
    say(2, 1000_img, 57374_t),
};
static_assert(cues_valid(FINALE_CLOSING));

constexpr VisitorScene FINALE_VISIT{.map = 62,
                                    .x0 = 584,
                                    .y0 = 447,
                                    .x1 = 293,
                                    .y1 = 301,
                                    .visitor_frame = -1902,
                                    .player_frame = 424,
                                    .first_text = 18162};

void finale() {
    cues_run(FINALE_OPENING);
    if (route2_lost(FINALE_FIRST)) return;
    cues_run(FINALE_BETWEEN);
    if (route2_lost(FINALE_SECOND)) return;
    cues_run(FINALE_CLOSING);
    affection_add(200, -50);
    affection_add(118, 20);
    money_add(5000);
    inv_add(1281, 1);
    attr_set(3563, ATTR_ACTIVE, 0);
    visitor_scene(FINALE_VISIT);
    fame_add(30);
    album_add(12);
    chivalry_add(-20);
    end_episode(ROUTE2_OUTCOME_FLAG, ROUTE2_WON);
}

} // namespace

// ---- Scripts -----------------------------------------------------------------------------------

void object_event_1200() {
    if (!script_on(TRIG_STEP)) return;
    ambush(AMBUSHES[0]);
}
// The inert figures of the episode.
void object_event_1201() {}
void object_event_1202() {
    ambush(AMBUSHES[1]);
}
void object_event_1210() {
    ambush(AMBUSHES[2]);
}
void object_event_1211() {
    finale();
}
void object_event_1214() {
    barred_way(SlotId(1214));
}
void object_event_1216() {
    barred_way(SlotId(1216));
}
void object_event_1217() {
    barred_way(SlotId(1217));
}

namespace {

constexpr auto SLOTS = join_slots(family_slots<CROWD, crowd_run>(),
                                  std::array<ScriptSlot, 8>{{{1200, object_event_1200},
                                                             {1201, object_event_1201},
                                                             {1202, object_event_1202},
                                                             {1210, object_event_1210},
                                                             {1211, object_event_1211},
                                                             {1214, object_event_1214},
                                                             {1216, object_event_1216},
                                                             {1217, object_event_1217}}});
static_assert(slots_distinct(SLOTS));
// 1203-1205, 1212 and 1215 are route 1's; 1213 belongs to the episode of maps 186 and 173-175.
constexpr SlotRange COMPLETE[] = {{1200, 1202}, {1206, 1211}, {1214, 1214}, {1216, 1217}};

} // namespace

void camps_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const CrowdRow& r : CROWD) {
        // The cycle without its wrap frame, which is never shown.
        for (s32 f = r.cycle.start, i = 0; f != r.cycle.limit && i < CUE_RUN_MAX;
             f += r.cycle.step, ++i)
            v(f);
        v(r.held.frame);
        for (const CrowdStill& m : r.still) v(m.frame);
    }
    cues_frames(v, AMBUSH1_BEFORE);
    cues_frames(v, AMBUSH1_AFTER);
    cues_frames(v, AMBUSH2_AFTER);
    cues_frames(v, AMBUSH3_AFTER);
    cues_frames(v, FINALE_OPENING);
    cues_frames(v, FINALE_CLOSING);
    // The effect of the finale, shown on the other route.
    for (s32 f = 23738; f <= 23747; ++f) v(f);
    v(FINALE_VISIT.visitor_frame);
}

std::span<const ScriptSlot> camps_slots() {
    return SLOTS;
}

ScriptRegion camps_region() {
    return {.owner = CAMPS_OWNER, .slots = camps_slots, .complete = COMPLETE};
}
