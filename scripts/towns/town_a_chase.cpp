#include "scripts/towns/town_a_chase.h"

#include "engine/world/object.h"
#include "scripts/cells.h"
#include "scripts/cues.h"
#include "scripts/script_ids.h"
#include "scripts/zones.h"

#include <limits>

namespace {

using namespace cell;

constexpr s32 WATCH_FAR = 150;
constexpr s32 FALLEN_FAR = 100;
constexpr s32 PERSON_122_FAR = 300;
constexpr s32 PAIR_FAR = 150;
constexpr s32 REARM = 8;

// ---- The fall (zone 470, slot 867) -----------------------------------------------------------

constexpr s32 FALL_STEP_MS = 300;
// The fallen object rises this high before the fall and comes down 15 a step.
constexpr s32 FALL_HEIGHT = 120;
constexpr s32 FALL_DROP = 15;

// Eleven steps of 300 ms: person 121 (465) runs 37902..37920 and shows 37920 once more; from the
// step of 37910 on (k = 4) the object 468 is in view, one frame further each step up to 37935,
// and 15 lower each step.
constexpr CueTrack FALL_TRACKS[] = {
    cue::track(465_obj).ks(0, 9).frames(37902_f, 2),
    cue::track(465_obj).ks(10, 10).frames(37920_f),
    cue::track(468_obj)
        .ks(4, 8)
        .on()
        .frames(37927_f, 1)
        .height(FALL_HEIGHT + 3 * FALL_DROP, -FALL_DROP),
    cue::track(468_obj).ks(9, 10).on().frames(37935_f).height(FALL_HEIGHT + 3 * FALL_DROP,
                                                              -FALL_DROP),
};

// clang-format off
constexpr Cue FALL_SCENE[] = {
    cue::pan_to(2335, 360, 15),
    cue::turn_toward(411_obj),
    cue::bubble(411_obj, 58290_t), cue::say(2, 1121_img, 58291_t), cue::bubble(411_obj, 58292_t),
    cue::say(2, 1121_img, 58293_t), cue::say(2, 1121_img, 58294_t),
    cue::on(465_obj), cue::show_frame(465_obj, 37900_f),
    cue::attr(468_obj, ATTR_Z, FALL_HEIGHT),
    cue::sound(698, 1),
    cue::keys(10, FALL_STEP_MS, FALL_TRACKS),
    cue::show_frame(465_obj, -38022_f),
    cue::bubble(411_obj, 58300_t), cue::bubble(411_obj, 58301_t), cue::bubble(411_obj, 58302_t),
    cue::say(2, 1121_img, 58303_t), cue::bubble(411_obj, 58304_t),
    cue::walk(0, cue::mover(0_obj, 2620, 597, 10)),
    cue::say(3, 1000_img, 58310_t), cue::say(2, 1121_img, 58311_t),
    cue::say(3, 1000_img, 58312_t), cue::say(2, 1121_img, 58313_t),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(465_obj, 2890, 838, 10)),
    cue::off(465_obj), cue::render(),
    // Person 122 comes into view for its walk (the population keeps it hidden until now).
    cue::on(466_obj),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(466_obj, 2489, 574, 15)),
    cue::pairs_by_parity(58360_t, 58365_t, cue::box(2, 1122_img), cue::box(3, 1000_img)),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(466_obj, 2956, 845, 15)),
    cue::place(466_obj, 3671, 2260, 38102_f), cue::off(466_obj),
};
// clang-format on
static_assert(cues_valid(FALL_SCENE));
constexpr StepZone FALL_ZONE{.kind = ZONE_ONCE, .cues = FALL_SCENE};

// ---- The fallen object (468) and person 122 (466) --------------------------------------------

constexpr Cell FALLEN_TALK[] = {
    stage(0, EVERY_STAGE),      P(3, 58358_t), hide(468_obj), show(466_obj), obj_to(405_obj, 2),
    frame_of(405_obj, 21240_f), show(422_obj), show(423_obj),
};
static_assert(cells_valid(FALLEN_TALK));
constexpr TalkRow FALLEN{
    .far = FALLEN_FAR, .turn = TURN_PLAYER_ONLY, .keep_frame = false, .cells = FALLEN_TALK};

constexpr Cue PERSON_122_LEAVES[] = {
    cue::walk(CUE_CAMERA_STAYS, cue::mover(466_obj, 3438, 2348, 15)),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(466_obj, 2996, 2075, 15)),
};
static_assert(cues_valid(PERSON_122_LEAVES));
// clang-format off
constexpr Cell PERSON_122_TALK[] = {
    stage(0), P(3, 58390_t), N(1122_img, 2, 58391_t), P(3, 58392_t), N(1122_img, 2, 58393_t),
        scene(PERSON_122_LEAVES), P(3, 58394_t), hide(466_obj), to(1),
};
// clang-format on
static_assert(cells_valid(PERSON_122_TALK));
constexpr TalkRow PERSON_122{
    .far = PERSON_122_FAR, .turn = TURN_NOBODY, .keep_frame = false, .cells = PERSON_122_TALK};

// ---- The pair at the seller (422, 423) -------------------------------------------------------

// clang-format off
constexpr Cell PAIR_TALK[] = {
    stage(0), B(422_obj, 58380_t), B(423_obj, 58381_t), B(423_obj, 58382_t), B(422_obj, 58383_t),
        B(423_obj, 58384_t), pair_to(1),
    stage(1, EVERY_STAGE), S(58383_t),
};
// clang-format on
static_assert(cells_valid(PAIR_TALK));
constexpr PairTalk PAIR{
    .members = {PairMember{.obj = 422, .frames = {-21115, 21115, -21113, 21113}},
                PairMember{.obj = 423, .frames = {-21900, 21900, -21902, 21902}}},
    .talk = {.far = PAIR_FAR, .cells = PAIR_TALK},
};

void pair_member(s32 which) {
    attr_set(script_self(), ATTR_TIMER, REARM);
    pair_run(PAIR, which);
}

// ---- The seller (405) ------------------------------------------------------------------------

constexpr s32 SELLER_PRICE = 100;
constexpr s32 SELLER_FRAME_EARLY = -21242;
constexpr s32 SELLER_FRAME_LATE = -21244;

constexpr Cue SELLER_OPENS_CHASE[] = {
    cue::attr(470_obj, ATTR_EVENT, CHASE_SLOT_CHASE),
    cue::on(470_obj),
    cue::off(411_obj),
    cue::off(412_obj),
    cue::off(413_obj),
};
static_assert(cues_valid(SELLER_OPENS_CHASE));
// clang-format off
constexpr Cell SELLER_TALK[] = {
    stage(0), S(46351_t), choice_at(3, 1000_img, 46352_t, 46353_t),
        option(0),
            // A buyer without the price is given money instead, and no item.
            when(!money_from(SELLER_PRICE)), S(46356_t), money(1000), to(1),
            otherwise(), money(-SELLER_PRICE), S(25735_t), P(2, 25736_t),
                give(ItemId(CHASE_SELLER_ITEM), 1), to(1),
            end(),
        option(1), P(2, 46355_t),
        end(),
    stage(1), S(25623_t),
    stage(2), to(3), scene(SELLER_OPENS_CHASE), P(2, 58410_t), P(2, 58411_t), P(2, 58412_t),
    stage(3), P(3, 58409_t), give(ItemId(CHASE_SELLER_ITEM), 1), to(4),
    stage(4), P(3, 58410_t),
};
// clang-format on
static_assert(cells_valid(SELLER_TALK));
constexpr TalkRow SELLER{.turn = TURN_PLAYER_ONLY, .keep_frame = false, .cells = SELLER_TALK};

void seller_timer() {
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER, REARM);
    const s32 stage = script_stage(self);
    if (stage >= 0 && stage <= 1)
        obj_set_frame(self, SELLER_FRAME_EARLY);
    else if (stage >= 2 && stage <= 5)
        obj_set_frame(self, SELLER_FRAME_LATE);
}

// ---- The chase (zone 470, slot 898) and the passage of map 121 --------------------------------

// clang-format off
constexpr Cue CHASE_SCENE[] = {
    cue::place_on(465_obj, 102_map, 2753, 546, -38022_f), cue::on(465_obj),
    cue::turn_toward(465_obj),
    cue::walk(465, cue::mover(465_obj, 2620, 597, 10)),
    cue::walk(465, cue::mover(465_obj, 2355, 467, 10)),
    cue::place_on(465_obj, 190_map, 261, 226, -38002_f), cue::on(465_obj),
    cue::say(3, 1000_img, 25624_t),
    cue::on(473_obj),
    cue::attr(470_obj, ATTR_EVENT, CHASE_SLOT_REMARK),
};
// clang-format on
static_assert(cues_valid(CHASE_SCENE));
constexpr StepZone CHASE_ZONE{.kind = ZONE_ONCE, .cues = CHASE_SCENE};

constexpr Cell SPOT_473_TALK[] = {
    stage(0), P(2, 58422_t), to(1), show(472_obj), stage(1, EVERY_STAGE), P(2, 58422_t),
};
static_assert(cells_valid(SPOT_473_TALK));
constexpr TalkRow SPOT_473{.turn = TURN_PLAYER_ONLY, .keep_frame = false, .cells = SPOT_473_TALK};

// clang-format off
constexpr Cell SPOT_472_TALK[] = {
    stage(0, EVERY_STAGE), P(2, 58430_t), choice_at(2, 1000_img, 58431_t, 58432_t),
        option(0), hide(472_obj), show(477_obj), show(476_obj), show(474_obj),
        end(),
};
// clang-format on
static_assert(cells_valid(SPOT_472_TALK));
constexpr TalkRow SPOT_472{.turn = TURN_NOBODY, .keep_frame = false, .cells = SPOT_472_TALK};

// ---- The duel (zone 478, slot 872) -----------------------------------------------------------

// clang-format off
constexpr Cue DUEL_MEETING[] = {
    cue::walk(0, cue::mover(0_obj, 323, 247, 10)),
    cue::turn_toward(465_obj),
    cue::bubble(478_obj, 58445_t), cue::say(2, 1121_img, 58450_t),
    cue::on(465_obj), cue::show_frame(465_obj, 38022_f),
    cue::pairs_by_parity(58451_t, 58455_t, cue::box(3, 1121_img), cue::box(2, 1000_img)),
};
// clang-format on
static_assert(cues_valid(DUEL_MEETING));

// Declined: back to map 102, and 479 says the remark from now on.
constexpr Cue DECLINED_BACK[] = {
    cue::fade_out_of_scene(),
    cue::attr(479_obj, ATTR_EVENT, CHASE_SLOT_REMARK),
    cue::map_change(102_map, 2825, 840),
    cue::show_frame(0_obj, 424_f),
};
static_assert(cues_valid(DECLINED_BACK));
constexpr Cue FADE_IN[] = {cue::fade_into_scene()};
static_assert(cues_valid(FADE_IN));

constexpr BattleBlock DUEL{
    .encounter = 79,
    .party = false,
    .heal_full = {.who = 0, .ids = {121, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
    .heal_part = {},
    .loss = LOSS_ZERO,
};
constexpr Cue RENDER[] = {cue::render()};
static_assert(cues_valid(RENDER));

// Person 122 arrives after the fight and person 121 leaves.
// clang-format off
constexpr Cue AFTER_FIGHT[] = {
    cue::say(2, 1122_img, 58475_t),
    cue::place_on(466_obj, 190_map, 471, 336, 38102_f), cue::on(466_obj),
    cue::walk(466, cue::mover(466_obj, 275, 277, 10)),
    cue::show_frame(466_obj, -38102_f),
    cue::say(2, 1121_img, 58480_t), cue::say(1, 1122_img, 58481_t),
    cue::say(2, 1121_img, 58482_t), cue::say(1, 1122_img, 58483_t),
    cue::say(2, 1121_img, 58484_t), cue::say(2, 1121_img, 58485_t),
    cue::say(1, 1122_img, 58486_t), cue::say(2, 1121_img, 58487_t),
    cue::say(1, 1122_img, 58489_t), cue::say(2, 1121_img, 58490_t),
    cue::walk(CUE_CAMERA_STAYS, cue::mover(465_obj, 492, 379, 10)),
    cue::off(465_obj), cue::render(),
    cue::pairs_by_parity(58500_t, 58508_t, cue::box(2, 1122_img), cue::box(3, 1000_img)),
};
// The three lines 58509..58511 stand on the side of the talk that had the choice, or on the
// other side without it.
constexpr Cue PARTING_AFTER_CHOICE[] = {
    cue::say(2, 1122_img, 58509_t), cue::say(3, 1000_img, 58510_t), cue::say(2, 1122_img, 58511_t),
};
constexpr Cue PARTING_WITHOUT_CHOICE[] = {
    cue::say(3, 1122_img, 58509_t), cue::say(2, 1000_img, 58510_t), cue::say(3, 1122_img, 58511_t),
};
constexpr Cue PARTING_END[] = {
    cue::say(2, 1122_img, 58512_t), cue::say(3, 1000_img, 58513_t),
    cue::fade_out_of_scene(),
    cue::attr(479_obj, ATTR_EVENT, CHASE_SLOT_REMARK),
    cue::map_change(102_map, 2848, 851),
    cue::show_frame(0_obj, 424_f),
    cue::fade_into_scene(),
    cue::off(466_obj),
};
// clang-format on
static_assert(cues_valid(AFTER_FIGHT) && cues_valid(PARTING_AFTER_CHOICE) &&
              cues_valid(PARTING_WITHOUT_CHOICE) && cues_valid(PARTING_END));

// clang-format off
constexpr Cell FIGHT_OPEN[] = {
    N(1121_img, 2, 58470_t), P(3, 58471_t),
    fight(&DUEL), scene(RENDER),
    when(lost()), N(1121_img, 2, 58474_t), otherwise(), N(1121_img, 2, 58473_t), end(),
    scene(AFTER_FIGHT),
};
constexpr Cell FIGHT_CLOSE[] = {
    scene(PARTING_END), affection(121_person, -20), set_flag(FlagId(CHASE_DUEL_FLAG), CHASE_DUEL_FOUGHT),
};
// clang-format on
static_assert(cells_valid(FIGHT_OPEN) && cells_valid(FIGHT_CLOSE));

void fight_run(std::span<const Cue> parting) {
    const TalkContext ctx{.self = script_self()};
    cells_run(FIGHT_OPEN, ctx);
    cues_run(parting);
    cells_run(FIGHT_CLOSE, ctx);
}
void fight_after_choice() {
    fight_run(PARTING_AFTER_CHOICE);
}
void fight_without_choice() {
    fight_run(PARTING_WITHOUT_CHOICE);
}

constexpr s32 DUEL_TRUST = 80;
// In every case the zone of map 102 comes back, blocking the way north with its remark.
constexpr Cue BLOCK_NORTH[] = {cue::on(470_obj), cue::attr(470_obj, ATTR_BLOCK, 1)};
static_assert(cues_valid(BLOCK_NORTH));
// clang-format off
constexpr Cell DUEL_TALK[] = {
    scene(DUEL_MEETING),
    when(affection_in(121_person, DUEL_TRUST, RECORD_TOP)),
        N(1121_img, 2, 58456_t), N(1121_img, 2, 58457_t),
        choice_at(2, 1000_img, 58458_t, 58459_t),
            option(0), call(fight_after_choice),
            option(1), P(3, 58460_t), scene(DECLINED_BACK),
                set_flag(FlagId(CHASE_DUEL_FLAG), CHASE_DUEL_DECLINED), scene(FADE_IN),
        end(),
    otherwise(),
        N(1121_img, 2, 58472_t), call(fight_without_choice),
    end(),
    scene(BLOCK_NORTH),
};
// clang-format on
static_assert(cells_valid(DUEL_TALK));

// The zone stays live: stepping on it again plays the meeting and the duel again.
void duel_scene() {
    cells_run(DUEL_TALK, TalkContext{.self = script_self()});
}
constexpr StepZone DUEL_ZONE{.kind = ZONE_LIVE, .scene = duel_scene};

// ---- The blocking remark (slot 899) ----------------------------------------------------------

constexpr Cue REMARK[] = {cue::say(2, 1000_img, 25625_t)};
static_assert(cues_valid(REMARK));
constexpr StepZone REMARK_ZONE{.kind = ZONE_LIVE, .cues = REMARK};

// ---- The watchers and person 120 -------------------------------------------------------------

constexpr Cell SAYS_46307[] = {stage(0, EVERY_STAGE), S(46307_t)};
static_assert(cells_valid(SAYS_46307));
constexpr Cell SAYS_46308[] = {stage(0, EVERY_STAGE), S(46308_t)};
static_assert(cells_valid(SAYS_46308));
// Person 120 speaks in boxes on the side opposite the player's.
constexpr Cell PERSON_120_TALK[] = {
    stage(0),
    run(58351_t, 58356_t, person(1120_img), PLAYER),
    to(1),
    stage(1, EVERY_STAGE),
    N(1120_img, 58355_t),
};
static_assert(cells_valid(PERSON_120_TALK));

constexpr Resident WATCHER_411{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 39900, .limit = 39976, .step = 2, .pause = 20},
    .talk = {.far = WATCH_FAR, .frames = {-39980, 39980, -39978, 39978}, .cells = SAYS_46307}};
constexpr Resident WATCHER_412{
    .idle_on = false,
    .idle = {},
    .talk = {.far = WATCH_FAR, .frames = {-21107, 21107, -21105, 21105}, .cells = SAYS_46308}};
constexpr Resident PERSON_120{
    .idle_on = true,
    .idle = {.rearm = 10, .start = 37500, .limit = 37532, .step = 2, .pause = 20},
    .talk = {.far = WATCH_FAR, .frames = {-37538, 37538, 37534, 37536}, .cells = PERSON_120_TALK}};

} // namespace

void object_event_0171() {
    if (script_on(TRIG_TIMER)) seller_timer();
    if (script_on(TRIG_CLICK)) talk_run(SELLER);
}
void object_event_0177() {
    resident_run(WATCHER_411);
}
void object_event_0178() {
    resident_run(WATCHER_412);
}
void object_event_0179() {
    resident_run(PERSON_120);
}
void object_event_0188() {
    pair_member(0);
}
void object_event_0189() {
    pair_member(1);
}
void object_event_0867() {
    step_zone(FALL_ZONE);
}
void object_event_0868() {
    if (script_on(TRIG_CLICK)) talk_run(FALLEN);
}
void object_event_0869() {
    if (script_on(TRIG_CLICK)) talk_run(PERSON_122);
}
void object_event_0870() {
    if (script_on(TRIG_CLICK)) talk_run(SPOT_472);
}
void object_event_0871() {
    if (script_on(TRIG_CLICK)) talk_run(SPOT_473);
}
void object_event_0872() {
    step_zone(DUEL_ZONE);
}
void object_event_0898() {
    step_zone(CHASE_ZONE);
}
// Object 479 is a figure that can also be clicked: only stepping against it says the remark.
void object_event_0899() {
    if (script_on(TRIG_STEP)) step_zone(REMARK_ZONE);
}

void town_a_chase_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const Resident* r : {&WATCHER_411, &WATCHER_412, &PERSON_120}) frames_of_resident(v, *r);
    for (const PairMember& m : PAIR.members) frames_of_turn(v, m.frames);
    v(SELLER_FRAME_EARLY);
    v(SELLER_FRAME_LATE);
    v(21240);
    for (const std::span<const Cue> cues :
         {std::span<const Cue>(FALL_SCENE), std::span<const Cue>(CHASE_SCENE),
          std::span<const Cue>(DUEL_MEETING), std::span<const Cue>(AFTER_FIGHT)})
        cues_frames(v, cues);
    // The fallen object's frames of the key loop, and the passage's figure shown by 472.
    for (s32 frame = 37930; frame <= 37935; ++frame) v(frame);
    v(39236);
}

// ---- Slots ----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {171, object_event_0171}, {177, object_event_0177}, {178, object_event_0178},
    {179, object_event_0179}, {188, object_event_0188}, {189, object_event_0189},
    {867, object_event_0867}, {868, object_event_0868}, {869, object_event_0869},
    {870, object_event_0870}, {871, object_event_0871}, {872, object_event_0872},
    {898, object_event_0898}, {899, object_event_0899},
};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{171, 171}, {177, 179}, {188, 189}, {867, 872}, {898, 899}};

// Zone 470 takes the chase from the seller and the remark after the chase; the duel gives the
// remark to 479. No content row names these two slots.
constexpr ScheduleWrite SLOT_WRITES[] = {
    {CHASE_SLOT_CHASE, "slot 171 (the seller 405)"},
    {CHASE_SLOT_REMARK, "slots 898 and 872 (the chase and the duel)"},
};
} // namespace

std::span<const ScriptSlot> town_a_chase_slots() {
    return SLOTS;
}

ScriptRegion town_a_chase_region() {
    return {.owner = TOWN_A_CHASE_OWNER,
            .slots = town_a_chase_slots,
            .complete = COMPLETE,
            .schedule_writes = {},
            .slot_writes = SLOT_WRITES};
}
