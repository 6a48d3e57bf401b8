// Route 1 of the episode of the two camps. The scenes are cue tables; the scripts hold only the
// choices, the battles and the stages between them. Every battle counts only result 0 as lost:
// the outcome flag takes 2 and the episode ends at once.
#include "scripts/episodes/camps_route1.h"

#include "engine/dialog.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/walk.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "scripts/cues.h"
#include "scripts/episodes/camps.h"
#include "scripts/zones.h"

namespace {

using namespace cue;

constexpr ObjId ME{0};
constexpr ObjId PATROL{ROUTE1_PATROL};
constexpr ObjId MEETING_ZONE{ROUTE1_MEETING_ZONE};
constexpr ObjId P112{ROUTE1_PERSON_112};
constexpr ObjId GUIDE{ROUTE1_GUIDE};
constexpr ObjId FIRST_FINALE{ROUTE1_FIRST_FINALE};
constexpr ObjId SECOND_FINALE{ROUTE1_SECOND_FINALE};
constexpr ObjId BARRED_WAY{ROUTE1_BARRED_WAY};
constexpr ObjId CROWD_STATE{ROUTE1_CROWD_STATE};
constexpr ObjId P118{3580};   // person 118 on map 63
constexpr ObjId MAN_64{3534}; // the man of map 64 who brings the news
constexpr ObjId P233{3567};   // person 233, who arrives by three frames
constexpr ObjId P118_66{3617};
constexpr ObjId P200_66{3618};
constexpr ObjId FIGURE_A{2068}, FIGURE_B{2069}; // the two who come and go with person 118
constexpr ObjId MAN_A{3586}, MAN_B{3587};
constexpr MapId MAP_63{63}, MAP_65{65}, MAP_66{66};
constexpr s32 DECISIVE = 2; // the crowd's state after a decisive fight

constexpr Voice ME_3 = box(3, 1000_img);
constexpr Voice ME_2 = box(2, 1000_img);
constexpr Voice V112_0 = box(0, 1112_img);
constexpr Voice V112_1 = box(1, 1112_img);
constexpr Voice V112_2 = box(2, 1112_img);
constexpr Voice V200_0 = box(0, 1200_img);
constexpr Voice V200_1 = box(1, 1200_img);
constexpr Voice V200_2 = box(2, 1200_img);
constexpr Voice V200_3 = box(3, 1200_img);
constexpr Voice V118_1 = box(1, 1118_img);

void lose() {
    end_episode(ROUTE1_OUTCOME_FLAG, ROUTE1_LOST);
}

// Person 200 fights in the party's first place, the party beside the player.
constexpr HealList with_party() {
    return heal_with_party(0);
}
constexpr HealList heal_ids(s32 who, s32 a = -1, s32 b = -1, s32 c = -1) {
    HealList h;
    h.who = who;
    h.ids[0] = a;
    h.ids[1] = b;
    h.ids[2] = c;
    return h;
}
constexpr HealList NOBODY{};
constexpr s32 PERSON_200 = 200;

// Returns false when the battle was lost (the episode is then over).
bool fight_beside_200(s32 encounter, const HealList& full) {
    player_record.party[0] = PERSON_200;
    const BattleBlock b{
        .encounter = encounter, .party = true, .heal_full = full, .heal_part = with_party()};
    if (battle_lost(battle_block(b), LOSS_ZERO)) {
        lose();
        return false;
    }
    return true;
}

// ---- Patrol and talk (slot 1203) ----------------------------------------------------------

constexpr WayPoint PATROL_LEGS[] = {{.x = 569, .y = 717}, {.x = 365, .y = 778}};
constexpr LegWalk PATROL_WALK{
    .legs = PATROL_LEGS, .speed = 8, .rearm = 3, .after_last = LEG_LOOP, .leg_attr = ATTR_VAR_A};

void object_event_1203() {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) {
        if (self == PATROL.v) leg_walk(PATROL_WALK); // person 112's own timer is not re-armed
        return;
    }
    if (!script_on(TRIG_CLICK) || self != P112.v) return;
    if (script_stage(self) == 0) {
        say(0, 1112, 61427);
        say(3, 1000, 61428);
    } else {
        say(2, 1112, 61429);
    }
}

// ---- The meeting (slot 1204) --------------------------------------------------------------

constexpr Cue MEETING[] = {
    bubble(MEETING_ZONE, 57380_t),
    walk(0, mover(ME, 477, 796, 8), mover(PATROL, 456, 761, 8)),
    show_frame(PATROL, 6222_f),
    turn_toward(PATROL),
    say(3, 1000_img, 57381_t),
    bubble(PATROL, 57382_t),
    say(0, 1112_img, 57383_t),
    on(P112),
    walk(P112.v, mover(P112, 455, 758, 7), mover(PATROL, 500, 754, 2)),
    show_frame(PATROL, -6222_f),
    bubble(PATROL, 57384_t),
    say(0, 1112_img, 57385_t),
};
static_assert(cues_valid(MEETING));

constexpr Cue JOURNEY_TO_66[] = {
    pairs(57400_t, 57404_t, V112_0, ME_3),
    walk(0, mover(ME, 354, 552, 8), mover(P112, 354, 552, 8)),
    fade_out_of_scene(),
    off(ObjId(3611)),
    off(ObjId(3612)),
    off(ObjId(3613)),
    map_change(MAP_66, 979, 675),
    move_on(P112, MAP_66, 928, 645),
    fade_into_scene(),
    walk(0, mover(ME, 807, 580, 6), mover(P112, 765, 558, 6)),
};
static_assert(cues_valid(JOURNEY_TO_66));

constexpr Cue JOURNEY_TO_65[] = {
    walk(0, mover(P112, 807, 539, 7)),
    walk(0, mover(ME, 826, 530, 3), mover(P112, 844, 521, 4)),
    fade_out_of_scene(),
    map_change(MAP_65, 63, 434),
    move_on(P112, MAP_65, 99, 407),
    fade_into_scene(),
    walk(0, mover(ME, 334, 306, 8), mover(P112, 376, 285, 9)),
    turn_toward(P112),
    show_frame(P112, -6322_f),
    pairs(57410_t, 57415_t, ME_2, V112_1),
};
static_assert(cues_valid(JOURNEY_TO_65));

// After battle 44: map 66 comes alive for the second finale, the crowd of map 63 among them.
constexpr Cue JOURNEY_WON[] = {off(P112),
                               turn_toward(P112),
                               say(2, 1000_img, 57420_t),
                               on(ObjId(3614)),
                               on(ObjId(3615)),
                               on(ObjId(3616)),
                               on(P118_66),
                               on(P200_66),
                               on(ObjId(3619)),
                               on(ObjId(3620)),
                               on(SECOND_FINALE),
                               frame(P200_66, 6290_f),
                               stage(CROWD_STATE, DECISIVE),
                               place_on(ObjId(3568), MAP_66, 779, 588, 6270_f),
                               on(ObjId(3568)),
                               place_on(ObjId(3569), MAP_66, 551, 379, 6280_f),
                               on(ObjId(3569)),
                               place_on(ObjId(3570), MAP_66, 221, 223, 6270_f),
                               on(ObjId(3570)),
                               place_on(ObjId(3571), MAP_66, 383, 433, 6280_f),
                               on(ObjId(3571)),
                               place_on(ObjId(3574), MAP_66, 907, 623, 6250_f),
                               on(ObjId(3574)),
                               place_on(ObjId(3575), MAP_66, 677, 498, 6260_f),
                               on(ObjId(3575)),
                               place_on(ObjId(3576), MAP_66, 975, 715, 6250_f),
                               on(ObjId(3576)),
                               place_on(ObjId(3577), MAP_66, 302, 416, 6260_f),
                               on(ObjId(3577)),
                               place_on(ObjId(3578), MAP_66, 137, 307, 6250_f),
                               on(ObjId(3578))};
static_assert(cues_valid(JOURNEY_WON));

constexpr Cue REFUSAL[] = {
    pairs(57500_t, 57503_t, V112_0, ME_3),
    walk(P112.v, mover(P112, 354, 552, 10)),
    off(P112),
    walk(0, mover(ME, 379, 825, 6)),
    say(3, 1000_img, 57504_t),
    walk(0, mover(ME, 564, 764, 6)),
    say(3, 1000_img, 57505_t),
    on(P112),
    walk(P112.v, mover(P112, 455, 758, 7), mover(ME, 477, 796, 8)),
    turn_toward(P112),
    say(0, 1112_img, 57510_t),
    say(3, 1000_img, 57511_t),
};
static_assert(cues_valid(REFUSAL));

// The journey: with person 112 through maps 66 and 65 to battle 44; the player is left on map 65.
void journey(bool at_once) {
    cues_run(JOURNEY_TO_66);
    say(at_once ? 1 : 0, 1112, 57405);
    cues_run(JOURNEY_TO_65);
    const BattleBlock b{
        .encounter = 44, .party = true, .heal_full = heal_ids(112), .heal_part = with_party()};
    if (battle_lost(battle_block(b), LOSS_ZERO)) {
        lose();
        return;
    }
    cues_run(JOURNEY_WON);
}

void refusal(s32 zone) {
    cues_run(REFUSAL);
    attr_set(BARRED_WAY.v, ATTR_X, attr_get(zone, ATTR_X));
    attr_set(BARRED_WAY.v, ATTR_Y, attr_get(zone, ATTR_Y));
    attr_set(BARRED_WAY.v, ATTR_ACTIVE, 1);
}

enum MeetingAnswer : s32 { ASK_MORE = 0, GO_AT_ONCE = 1 };
enum SecondAnswer : s32 { GO_AFTER_ALL = 0, REFUSE = 1 };

void meeting() {
    const s32 zone = script_self();
    cues_run(MEETING);
    if (choose(3, 1000, 57386, 57387) == GO_AT_ONCE) {
        journey(true);
        return;
    }
    say(0, 1112, 57390);
    if (choose(3, 1000, 57391, 57392) == GO_AFTER_ALL)
        journey(false);
    else
        refusal(zone);
}

// The zone hides itself first, so it is gone in every branch, a lost battle 44 included.
constexpr StepZone MEETING_ROW{.kind = ZONE_ONCE, .cues = {}, .scene = meeting};

void object_event_1204() {
    step_zone(MEETING_ROW);
}

// ---- The guide (slot 1205) ----------------------------------------------------------------

constexpr s32 GUIDE_REARM = 2;
constexpr s32 EXIT_CORNER_X = 549, EXIT_CORNER_Y = 435;

constexpr Cue TO_EXIT_CORNER[] = {walk(0, mover(ME, EXIT_CORNER_X, EXIT_CORNER_Y, 13))};
constexpr Cue LEAVE_64[] = {
    walk(0, mover(ME, 966, 669, 13)),
    fade_out_of_scene(),
    map_change(MAP_63, 396, 586),
    fade_into_scene(),
};
constexpr Cue GUIDE_MEETS[] = {
    walk(0, mover(ME, 440, 787, 9)),
    turn_toward(P118),
    say(0, 1200_img, 57523_t),
    say(3, 1000_img, 57524_t),
    say(0, 1200_img, 57525_t),
    walk_into_player(GUIDE, 3, 0),
    on(FIRST_FINALE),
    stage(GUIDE, ROUTE1_GUIDE_DONE),
    off(BARRED_WAY),
};
static_assert(cues_valid(TO_EXIT_CORNER) && cues_valid(LEAVE_64) && cues_valid(GUIDE_MEETS));

// The crowd, person 118 and the bystanders of map 63.
constexpr s32 MAP_63_SHOWN_FIRST = 3568, MAP_63_SHOWN_LAST = 3584;
constexpr Cue GUIDE_TALK[] = {
    turn_toward(GUIDE),
    pairs(57512_t, 57515_t, ME_3, V200_0),
    on(MAN_64),
    bubble(MAN_64, 57516_t),
    walk(MAN_64.v, mover(MAN_64, 232, 236, 12), mover(ME, 168, 263, 5)),
    turn_toward(GUIDE),
    say(1, 1200_img, 57517_t),
    bubble(MAN_64, 57518_t),
    pairs(57519_t, 57522_t, V200_0, ME_3),
};
constexpr Cue GUIDE_SETS_OFF[] = {
    off(PATROL),
    attr(P112, ATTR_X, 420),
    attr(P112, ATTR_Y, 723),
    stage(GUIDE, ROUTE1_GUIDE_LEAVING),
};
static_assert(cues_valid(GUIDE_TALK) && cues_valid(GUIDE_SETS_OFF));

// On map 63 and the player still on map 64: he is walked out (round the corner when west or north
// of it) and follows.
void guide_arrived() {
    if (world_state.current_map != MAP_63.v) {
        say(2, 1000, 57526);
        if (attr_get(0, ATTR_X) < EXIT_CORNER_X || attr_get(0, ATTR_Y) < EXIT_CORNER_Y)
            cues_run(TO_EXIT_CORNER);
        cues_run(LEAVE_64);
    }
    script_set_stage(GUIDE.v, ROUTE1_GUIDE_MEETING);
}

void guide_timer(s32 self) {
    attr_set(self, ATTR_TIMER, GUIDE_REARM);
    switch (script_stage(self)) {
    case ROUTE1_GUIDE_WAITING:
        obj_set_frame(self, 39822);
        return;
    case ROUTE1_GUIDE_LEAVING:
        if (obj_step_to(self, 966, 669, 15) == 0) return;
        attr_set(self, ATTR_MAP, MAP_63.v);
        attr_set(self, ATTR_X, 396);
        attr_set(self, ATTR_Y, 586);
        script_set_stage(self, ROUTE1_GUIDE_ON_63);
        script_set_stage(P112.v, 1);
        return;
    case ROUTE1_GUIDE_ON_63:
        if (obj_step_to(GUIDE.v, 484, 778, 10) != 0) guide_arrived();
        return;
    case ROUTE1_GUIDE_MEETING:
        cues_run(GUIDE_MEETS);
        return;
    default:
        return;
    }
}

void object_event_1205() {
    const s32 self = script_self();
    if (script_on(TRIG_TIMER)) {
        guide_timer(self);
        return;
    }
    if (!script_on(TRIG_CLICK) || script_stage(self) != ROUTE1_GUIDE_WAITING) return;
    if (too_far_guard(100)) return;
    cues_run(GUIDE_TALK);
    for (s32 o = MAP_63_SHOWN_FIRST; o <= MAP_63_SHOWN_LAST; ++o) attr_set(o, ATTR_ACTIVE, 1);
    cues_run(GUIDE_SETS_OFF);
}

// ---- First finale (slot 1212) -------------------------------------------------------------

constexpr Cue FIRST_MEETS_118[] = {
    on(FIGURE_A),
    on(FIGURE_B),
    frame(P118, -6422_f),
    place_at_player(GUIDE, 39822_f),
    on(GUIDE),
    walk(0, mover(ME, 1275, 1050, 8), mover(GUIDE, 1247, 995, 8)),
    show_frame(GUIDE, 39822_f),
    pairs(57530_t, 57535_t, V200_2, V118_1),
    attr(P112, ATTR_X, 878),
    attr(P112, ATTR_Y, 1047),
    walk(P112.v, mover(P112, 1154, 1018, 10)),
    show_frame(GUIDE, -39822_f),
    pairs(57540_t, 57544_t, V200_3, V112_0),
    say(1, 1118_img, 57545_t),
};
static_assert(cues_valid(FIRST_MEETS_118));

constexpr Cue ARRIVES_233[] = {
    place_on(P233, MAP_63, 1413, 960, 10576_f),
    on(P233),
    frame_steps(P233, 10576_f, -2, 3, 200),
    say(1, 1233_img, 57551_t),
    say(0, 1118_img, 57552_t),
    say(2, 1000_img, 57553_t),
    say(1, 1233_img, 57554_t),
};
static_assert(cues_valid(ARRIVES_233));

constexpr Cue FIRST_AFTER_233[] = {
    off(P233),
    stage(CROWD_STATE, DECISIVE),
    frame(ObjId(3568), 6270_f),
    frame(ObjId(3569), 6280_f),
    frame(ObjId(3570), 6270_f),
    frame(ObjId(3571), 6280_f),
    frame(ObjId(3572), 6270_f),
    frame(ObjId(3573), 6280_f),
    frame(ObjId(3574), 6250_f),
    frame(ObjId(3575), 6260_f),
    frame(ObjId(3576), 6250_f),
    frame(ObjId(3577), 6260_f),
    frame(ObjId(3578), 6250_f),
    frame(ObjId(3579), 6260_f),
    frame(ObjId(3581), 6270_f),
    frame(ObjId(3582), 6280_f),
    frame(ObjId(3583), 6270_f),
    turn_toward(GUIDE),
    on(MAN_A),
    on(MAN_B),
    say(2, 1118_img, 57555_t),
    walk(0, mover(P118, 1578, 1184, 12)),
    off(P118),
    off(FIGURE_A),
    off(FIGURE_B),
    turn_toward(GUIDE),
    bubble(FIRST_FINALE, 57556_t),
    pairs(57557_t, 57560_t, V200_1, V112_2),
    bubble(FIRST_FINALE, 57561_t),
    say(2, 1200_img, 57562_t),
    bubble(FIRST_FINALE, 57563_t),
    walk(0, mover(P112, 1087, 1008, 8)),
    walk(0, mover(P112, 796, 1062, 9), mover(MAN_A, 796, 1062, 9), mover(MAN_B, 796, 1062, 9)),
    show_frame(GUIDE, 39822_f),
    pairs(57570_t, 57576_t, V200_1, ME_2),
};
static_assert(cues_valid(FIRST_AFTER_233));

// Line 57580 comes with no box of its own: it takes person 200's box of the lines around it.
constexpr Cue SIDE_WITH_200[] = {
    say(1, 1200_img, 57580_t), say(1, 1200_img, 57581_t), say(2, 1000_img, 57582_t),
    say(1, 1200_img, 57583_t), say(2, 1000_img, 57584_t),
};
constexpr Cue SWORN_TO_200[] = {pairs(57590_t, 57599_t, V200_1, ME_2)};
static_assert(cues_valid(SIDE_WITH_200) && cues_valid(SWORN_TO_200));

enum FinaleAnswer : s32 { SIDE_WITH = 0, SWORN = 2 }; // the middle option is absent

constexpr VisitorScene FIRST_VISIT{.map = 63,
                                   .x0 = 1561,
                                   .y0 = 1135,
                                   .x1 = 1405,
                                   .y1 = 1051,
                                   .visitor_frame = -1902,
                                   .player_frame = 424,
                                   .first_text = 18155};

void first_finale() {
    const s32 zone = script_self();
    const HealList camp_118 = heal_ids(118, 156, 143, 112);
    if (!fight_beside_200(45, camp_118)) return;
    cues_run(FIRST_MEETS_118);
    if (!fight_beside_200(46, camp_118)) return;
    cues_run(ARRIVES_233);
    if (!fight_beside_200(47, heal_ids(233))) return;
    cues_run(FIRST_AFTER_233);
    if (choose(2, 1000, 57577, -1, 57578) == SWORN) {
        cues_run(SWORN_TO_200);
        affection_add(200, 100);
        affection_add(118, -50);
        player_record.story_flags[ROUTE1_LOYAL_FLAG] = 1;
    } else {
        cues_run(SIDE_WITH_200);
        affection_add(200, 20);
        affection_add(118, -50);
    }
    inv_add(1507, 1);
    player_record.story_flags[ROUTE1_OUTCOME_FLAG] = ROUTE1_FIRST_END;
    visitor_scene(FIRST_VISIT);
    fame_add(30);
    album_add(11);
    world_state.field_active = 0;
    attr_set(zone, ATTR_ACTIVE, 0);
}

// A lost battle ends the episode with the zone left as it is.
constexpr StepZone FIRST_FINALE_ROW{.kind = ZONE_LIVE, .cues = {}, .scene = first_finale};

void object_event_1212() {
    step_zone(FIRST_FINALE_ROW);
}

// ---- Second finale (slot 1215) ------------------------------------------------------------

constexpr Cue SECOND_OPENING[] = {
    pan_to(125, 110, 7),
    say(3, 1118_img, 57425_t),
    say(0, 1200_img, 57426_t),
    say(3, 1118_img, 57427_t),
    say(2, 1000_img, 57428_t),
    walk(0, mover(ME, 363, 338, 12)),
    turn_toward(P118_66),
    say(0, 1200_img, 57429_t),
    say(3, 1118_img, 57430_t),
    say(2, 1000_img, 57431_t),
    say(3, 1118_img, 57432_t),
    say(2, 1000_img, 57433_t),
    say(3, 1118_img, 57444_t),
    say(0, 1200_img, 57445_t),
    say(2, 1000_img, 57446_t),
    say(3, 1118_img, 57447_t),
    place_on(P233, MAP_66, 436, 319, 10576_f),
    on(P233),
    frame_steps(P233, 10576_f, -2, 3, 200),
    say(1, 1233_img, 57450_t),
    say(3, 1118_img, 57451_t),
    say(2, 1000_img, 57452_t),
    say(1, 1233_img, 57453_t),
};
static_assert(cues_valid(SECOND_OPENING));

// The crowd of map 61 comes over to map 63, at the same places.
constexpr s32 CROWD_61[] = {3539, 3540, 3545, 3546, 3547, 3548, 3549, 3550, 3551, 3552, 3554, 3555};

constexpr Cue SECOND_BACK_ON_63[] = {
    say(2, 1000_img, 57460_t),
    fade_out_of_scene(),
    map_change(MAP_63, 845, 1057),
    place_on(P200_66, MAP_63, 780, 1055, 39802_f),
    fade_into_scene(),
    walk(0, mover(ME, 1486, 1068, 12), mover(P200_66, 1330, 1068, 12)),
    show_frame(P200_66, -39822_f),
    turn_toward(P200_66),
    say(2, 1000_img, 57465_t),
    walk(0, mover(ME, 1430, 1068, 7)),
    turn_toward(P200_66),
    pairs(57461_t, 57465_t, ME_2, V200_1),
    attr(PATROL, ATTR_X, 815),
    attr(PATROL, ATTR_Y, 1058),
    walk(PATROL.v, mover(PATROL, 1263, 1068, 12)),
    bubble(SECOND_FINALE, 57466_t),
    say(1, 1200_img, 57467_t),
    bubble(SECOND_FINALE, 57468_t),
    say(1, 1200_img, 57469_t),
    say(1, 1200_img, 57470_t),
    bubble(SECOND_FINALE, 57471_t),
    bubble(SECOND_FINALE, 57472_t),
    say(1, 1200_img, 57473_t),
    bubble(SECOND_FINALE, 57474_t),
    say(1, 1200_img, 57475_t),
    say(2, 1000_img, 57476_t),
    bubble(SECOND_FINALE, 57477_t),
    say(1, 1200_img, 57478_t),
    bubble(SECOND_FINALE, 57479_t),
    pairs(57480_t, 57487_t, V200_1, ME_2),
};
static_assert(cues_valid(SECOND_BACK_ON_63));

void second_finale() {
    const s32 zone = script_self();
    cues_run(SECOND_OPENING);
    player_record.party[0] = PERSON_200;
    // The party is healed in part, the scene drawn, then everyone of the fight in full.
    const BattleBlock b{
        .encounter = 48, .party = true, .heal_full = NOBODY, .heal_part = with_party()};
    const s32 result = battle_block(b);
    scene_render();
    heal_full(0, PERSON_200, 267, 268, 269, 270, 233, 118, 255, 257);
    if (battle_lost(result, LOSS_ZERO)) {
        lose();
        return;
    }
    script_set_stage(CROWD_STATE.v, DECISIVE);
    for (const s32 o : CROWD_61) {
        attr_set(o, ATTR_ACTIVE, 1);
        attr_set(o, ATTR_MAP, MAP_63.v);
    }
    cues_run(SECOND_BACK_ON_63);
    affection_add(118, -50);
    affection_add(200, 20);
    inv_add(1507, 1);
    player_record.story_flags[ROUTE1_OUTCOME_FLAG] = ROUTE1_SECOND_END;
    world_state.field_active = 0;
    attr_set(zone, ATTR_ACTIVE, 0);
}

constexpr StepZone SECOND_FINALE_ROW{.kind = ZONE_LIVE, .cues = {}, .scene = second_finale};

void object_event_1215() {
    step_zone(SECOND_FINALE_ROW);
}

// ---- Registration -------------------------------------------------------------------------

constexpr ScriptSlot SLOTS[] = {{1203, object_event_1203},
                                {1204, object_event_1204},
                                {1205, object_event_1205},
                                {1212, object_event_1212},
                                {1215, object_event_1215}};
static_assert(slots_distinct(SLOTS));
// Slot 1213 belongs to another episode; the others between are the camps' own file's.
constexpr SlotRange COMPLETE[] = {{1203, 1205}, {1212, 1212}, {1215, 1215}};

} // namespace

void camps_route1_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    v(39822); // the guide waiting
    for (const std::span<const Cue> scene :
         {std::span<const Cue>(MEETING), std::span<const Cue>(JOURNEY_TO_66),
          std::span<const Cue>(JOURNEY_TO_65), std::span<const Cue>(JOURNEY_WON),
          std::span<const Cue>(REFUSAL), std::span<const Cue>(GUIDE_MEETS),
          std::span<const Cue>(GUIDE_TALK), std::span<const Cue>(FIRST_MEETS_118),
          std::span<const Cue>(ARRIVES_233), std::span<const Cue>(FIRST_AFTER_233),
          std::span<const Cue>(SECOND_OPENING), std::span<const Cue>(SECOND_BACK_ON_63)})
        cues_frames(v, scene);
    v(FIRST_VISIT.visitor_frame);
    v(FIRST_VISIT.player_frame);
}

std::span<const ScriptSlot> camps_route1_slots() {
    return SLOTS;
}

ScriptRegion camps_route1_region() {
    return {.owner = CAMPS_ROUTE1_OWNER, .slots = camps_route1_slots, .complete = COMPLETE};
}
