#include "scripts/towns/town_a_director.h"

#include "data/hub_block.h"
#include "engine/world/object.h"
#include "engine/world/scene.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cues.h"

namespace {

using namespace cue;

constexpr ObjId HOST{TOWN_A_HOST_OBJ};
constexpr ObjId GUEST{TOWN_A_GUEST_OBJ};
constexpr ObjId FRIEND{TOWN_A_FRIEND_OBJ};
constexpr ObjId ME{0};
constexpr ObjId DIRECTOR{TOWN_A_DIRECTOR_OBJ};
constexpr ObjId ARRIVAL{TOWN_A_ARRIVAL_OBJ};
constexpr ObjId GREETER{425};
constexpr ObjId WITNESS_A{480};
constexpr ObjId WITNESS_B{481};
constexpr ObjId OMEN{491};   // the figure shown before and after the fight
constexpr ObjId MARKER{492}; // hidden for good after the fight
constexpr ObjId PROP_A{509}, PROP_B{510}, PROP_C{511};
constexpr ObjId IDLER{516};
constexpr ObjId ZONE_512{512};
constexpr s32 RIVAL_OBJ = 485;
constexpr ObjId CROWD[] = {ObjId(520), ObjId(521), ObjId(522), ObjId(523), ObjId(524), ObjId(525)};

constexpr MapId TOWN{102};
constexpr MapId HOUSE{103};
constexpr MapId YARD{193};
constexpr MapId NORTH{183};
constexpr MapId INN{123};

constexpr s32 FIGHT_ENCOUNTER = 77;
constexpr s32 ENTRANCE_SOUND = 596;
constexpr s32 STAYS = CUE_CAMERA_STAYS;
constexpr s32 SKILL_23 = 23;
constexpr s32 KNOWN_LIST = 23;
constexpr s32 KNOWN_ID = 52;
constexpr s32 KNOWN_LEVEL = 40;
constexpr s32 FRIEND_PERSON = 87;
constexpr s32 FRIEND_AFFECTION = 20;
constexpr s32 AFTER_TURN = 151;
constexpr s32 AFTER_TURN_SLOT = 211;
constexpr s32 EARLIER_FLAG = 52;
constexpr s32 CLOSE_HOUR = 15;

// The player's box, person 87's box, person 156's box.
constexpr Cue me_says(s32 pos, TextId t) {
    return say(pos, 1000_img, t);
}
constexpr Cue friend_says(s32 pos, TextId t) {
    return say(pos, 1087_img, t);
}
constexpr Cue guest(TextId t) {
    return bubble(GUEST, t);
}
constexpr Cue host(TextId t) {
    return bubble(HOST, t);
}
constexpr Cue walk_me(s32 x, s32 y, s32 speed) {
    return walk(0, mover(ME, x, y, speed));
}

void pan_off_player() {
    camera_pan(attr_get(0, ATTR_X) - 370, attr_get(0, ATTR_Y) - 200, 10);
}
s32 remembered_player_frame = 0;
void remember_player_frame() {
    remembered_player_frame = obj_get_frame(0);
}
void restore_player_frame() {
    obj_show_frame(0, remembered_player_frame);
}
void rival_joins_the_day() {
    if (script_stage(RIVAL_OBJ) == 0) script_set_stage(RIVAL_OBJ, 2);
}

// ---- The arrival -----------------------------------------------------------------------------

// The player's and the guest's frames step together every 300 ms; the player's stop at 38086,
// the loop ends with the guest at 38174.
constexpr CueTrack ARRIVAL_BOW[] = {
    track(ME).ks(0, 3).frames(38080_f, 2),
    track(GUEST).ks(0, 12).frames(38150_f, 2),
};

constexpr Cue ARRIVAL_SCENE[] = {
    off(ARRIVAL),
    turn_toward(GREETER),
    me_says(0, 25850_t),
    walk_me(799, 1012, 15),
    turn_toward(GREETER),
    me_says(0, 25851_t),
    bubble(GREETER, 25852_t),
    me_says(0, 25853_t),
    bubble(GREETER, 25854_t),

    walk_me(1495, 1371, 15),
    me_says(3, 25859_t),
    walk_me(1264, 1477, 15),
    walk_me(953, 1596, 15),
    walk_me(862, 1670, 15),
    me_says(1, 25860_t),

    call(pan_off_player),
    show_frame(FRIEND, -38202_f),
    turn_toward(FRIEND),
    host(58550_t),
    friend_says(2, 58551_t),
    host(58552_t),
    host(58553_t),
    friend_says(2, 58554_t),
    host(58555_t),
    friend_says(2, 58556_t),

    walk_me(671, 1677, 10),
    turn_toward(FRIEND),
    show_frame(FRIEND, 38202_f),
    me_says(2, 58560_t),
    friend_says(2, 58561_t),
    friend_says(2, 58562_t),
    host(58563_t),
    friend_says(2, 58564_t),
    walk(STAYS, mover(FRIEND, 631, 1750, 15)),
    walk(STAYS, mover(FRIEND, 1056, 1525, 15)),
    off(FRIEND),

    turn_toward(HOST),
    host(58565_t),
    me_says(2, 58570_t),
    me_says(2, 58571_t),
    host(58572_t),
    me_says(2, 58573_t),
    show_frame(GUEST, 38322_f),
    walk(STAYS, mover(GUEST, 620, 1689, 8)),
    guest(58574_t),
    host(58580_t),
    me_says(2, 58581_t),
    guest(58582_t),

    call(remember_player_frame),
    show_frame(ME, 38080_f),
    show_frame(GUEST, 38150_f),
    keys(12, 300, ARRIVAL_BOW),
    call(restore_player_frame),
    show_frame(GUEST, 38322_f),

    guest(58583_t),
    guest(58584_t),
    me_says(2, 58585_t),
    guest(58586_t),
    me_says(2, 58587_t),
    guest(58588_t),
    host(58589_t),
    me_says(2, 58590_t),
    guest(58591_t),
    me_says(2, 58592_t),

    fade_out_of_scene(),
    place_on(HOST, HOUSE, 289, 287, 38466_f),
    stage(HOST, 9),
    attr(HOST, ATTR_SHADOW, 0),
    place_on(GUEST, HOUSE, 258, 256, 38458_f),
    on(IDLER),
    attr(FRIEND, ATTR_MAP, INN.v),
    attr(FRIEND, ATTR_X, 248),
    attr(FRIEND, ATTR_Y, 297),
    on(FRIEND),
    fade_into_scene(),
};
static_assert(cues_valid(ARRIVAL_SCENE));

// ---- The 11:00 scene -------------------------------------------------------------------------

constexpr Cue ELEVEN_CALL_OUTSIDE[] = {me_says(3, 25962_t)};
static_assert(cues_valid(ELEVEN_CALL_OUTSIDE));
constexpr Cue ELEVEN_CALL_INSIDE[] = {guest(25963_t)};
static_assert(cues_valid(ELEVEN_CALL_INSIDE));

// From the call to the eve of the fight.
constexpr Cue ELEVEN_BEFORE_FIGHT[] = {
    fade_out_of_scene(),
    off(HOST),
    off(GUEST),
    on(WITNESS_A),
    on(WITNESS_B),
    frame(ME, 38370_f),
    on_top(ME, true),
    on(PROP_A),
    on(PROP_B),
    on(PROP_C),
    off(IDLER),
    map_change(HOUSE, 386, 329),
    fade_into_scene(),

    me_says(1, 58601_t),
    bubble(WITNESS_A, 58602_t),
    bubble(WITNESS_B, 58603_t),
    bubble(WITNESS_A, 58604_t),
    me_says(1, 58605_t),
    bubble(WITNESS_B, 58606_t),
    bubble(WITNESS_B, 58607_t),
    me_says(1, 58608_t),
    bubble(WITNESS_B, 58609_t),
    bubble(WITNESS_A, 58610_t),

    off(WITNESS_B),
    render(),
    present(),
    place_on(GUEST, HOUSE, 388, 315, 38302_f),
    on(GUEST),
    walk(0, mover(GUEST, 537, 282, 10)),
    place_on(GUEST, YARD, 275, 250, 38490_f),
    on(GUEST),

    me_says(3, 58620_t),
    bubble(WITNESS_A, 58621_t),
    me_says(3, 58622_t),
    bubble(WITNESS_A, 58623_t),
    me_says(3, 58624_t),
    bubble(WITNESS_A, 58625_t),

    place_on(FRIEND, HOUSE, 492, 369, -38202_f),
    on(FRIEND),
    walk(0, mover(FRIEND, 394, 319, 10)),
    frame(FRIEND, -38222_f),
    friend_says(3, 58630_t),
    bubble(WITNESS_A, 58631_t),
    guest(58632_t),
    bubble(WITNESS_A, 58633_t),
    me_says(3, 58634_t),

    fade_out_of_scene(),
    on(HOST),
    on(GUEST),
    off(WITNESS_A),
    off(WITNESS_B),
    place_on(FRIEND, YARD, 277, 375, -38202_f),
    place_on(HOST, YARD, 244, 268, 21097_f),
    show_frame(OMEN, 64622_f),
    map_change(YARD, 277, 375),
    frame(ME, 418_f),
    on_top(ME, false),
    fade_into_scene(),

    walk(0, mover(ME, 243, 313, 10), mover(FRIEND, 331, 316, 10)),
    frame(FRIEND, -38202_f),
    show_frame(ME, 418_f),
    bubble(WITNESS_A, 58635_t),
    me_says(2, 58636_t),
    friend_says(3, 58637_t),

    frame_steps(OMEN, 10578_f, 2, 3, 200),
    place_on(OMEN, TOWN, 660, 1713, 10578_f),
    friend_says(1, 58640_t),

    walk(0, mover(FRIEND, 277, 375, 15)),
    place_on(FRIEND, TOWN, 807, 1666, -38222_f),
    on(FRIEND),
    me_says(3, 58641_t),
    guest(58642_t),
    host(58643_t),
    me_says(3, 58644_t),

    walk_me(245, 404, 15),
    fade_out_of_scene(),
    map_change(HOUSE, 539, 282),
    off(PROP_A),
    off(PROP_B),
    off(PROP_C),
    stage(HOST, 1),
    stage(GUEST, 1),
    fade_into_scene(),
    walk_me(452, 334, 15),
    walk_me(495, 373, 15),
    fade_out_of_scene(),
    map_change(TOWN, 578, 1650),
    fade_into_scene(),
    walk_me(605, 1672, 15),

    friend_says(2, 58650_t),
    say(1, 1156_img, 58657_t),
};
static_assert(cues_valid(ELEVEN_BEFORE_FIGHT));

constexpr Cue FIGHT_LOST[] = {say(1, 1156_img, 58658_t)};
static_assert(cues_valid(FIGHT_LOST));
constexpr Cue FIGHT_WON[] = {say(1, 1156_img, 58659_t)};
static_assert(cues_valid(FIGHT_WON));

// From the fight to the opening of the gifts quest.
constexpr Cue ELEVEN_AFTER_FIGHT[] = {
    frame_steps(OMEN, 10578_f, 2, 3, 200),
    off(OMEN),
    render(),
    friend_says(3, 25856_t),
    me_says(2, 25857_t),
    friend_says(3, 25858_t),

    fade_out_of_scene(),
    off(OMEN),
    off(MARKER),
    place_on(FRIEND, YARD, 327, 294, 38202_f),
    place_on(GUEST, YARD, 336, 224, 38492_f),
    stage(HOST, 3),
    stage(GUEST, 3),
    place_on(ME, YARD, 262, 316, 418_f),
    map_change(YARD, 262, 316),
    fade_into_scene(),

    me_says(3, 25700_t),
    guest(25701_t),
    me_says(3, 25702_t),
    host(25703_t),
    friend_says(3, 25704_t),
    host(25705_t),
    host(25706_t),
    me_says(3, 25707_t),
    guest(25708_t),
    friend_says(3, 25709_t),
    guest(25710_t),
    host(25711_t),
    guest(25712_t),
    me_says(3, 25713_t),
    friend_says(3, 25714_t),

    walk(0, mover(FRIEND, 277, 375, 10)),
    attr(FRIEND, ATTR_MAP, NORTH.v),
    render(),
    stage(FRIEND, 2),
    call(rival_joins_the_day),
    place_on(FRIEND, NORTH, 233, 292, -38202_f),

    me_says(3, 25715_t),
    host(25716_t),
    me_says(3, 25717_t),
    host(25718_t),
    me_says(3, 25719_t),

    stage(HOST, 4),
    stage(GUEST, 4),
    stage(ObjId(415), 1),
    stage(ObjId(416), 1),
    stage(ObjId(429), 1),
    stage(ObjId(430), 1),
    stage(ObjId(504), 1),
    off(ZONE_512),
};
static_assert(cues_valid(ELEVEN_AFTER_FIGHT));

// ---- The close and the presentation ----------------------------------------------------------

constexpr Cue CLOSE_CALL_NEAR[] = {me_says(3, 16608_t)};
static_assert(cues_valid(CLOSE_CALL_NEAR));
constexpr Cue CLOSE_CALL_FAR[] = {me_says(3, 16609_t)};
static_assert(cues_valid(CLOSE_CALL_FAR));
constexpr Cue CLOSE_TO_YARD[] = {
    fade_out_of_scene(),
    map_change(YARD, 296, 304),
    frame(ME, 418_f),
    fade_into_scene(),
};
static_assert(cues_valid(CLOSE_TO_YARD));
constexpr Cue CLOSE_NO_GIFT[] = {me_says(3, 16610_t), guest(16611_t)};
static_assert(cues_valid(CLOSE_NO_GIFT));

// The hosts go home and the player sees them off at their house (the close without the gift and
// a presentation that did not please).
constexpr Cue HOSTS_GO_HOME[] = {
    fade_out_of_scene(),
    place_on(HOST, HOUSE, 411, 303, 21097_f),
    attr(HOST, ATTR_SHADOW, 1),
    place_on(GUEST, HOUSE, 452, 276, 38302_f),
    place_on(FRIEND, HOUSE, 467, 345, -38202_f),
    on(FRIEND),
    map_change(YARD, 334, 330),
    frame(ME, -424_f),
    fade_into_scene(),
    me_says(3, 58840_t),
    walk_me(246, 407, 10),
    fade_out_of_scene(),
    map_change(HOUSE, 538, 283),
    frame(ME, -424_f),
    fade_into_scene(),
    walk_me(507, 294, 10),
};
static_assert(cues_valid(HOSTS_GO_HOME));
constexpr Cue CLOSE_FAREWELL[] = {me_says(0, 16612_t), friend_says(1, 16613_t),
                                  me_says(0, 16614_t)};
static_assert(cues_valid(CLOSE_FAREWELL));
constexpr Cue FAILED_FAREWELL[] = {me_says(0, 58923_t), friend_says(1, 58924_t),
                                   me_says(0, 58930_t)};
static_assert(cues_valid(FAILED_FAREWELL));
constexpr Cue PARTING[] = {
    guest(58932_t),      guest(58933_t),          me_says(0, 58934_t), guest(58935_t),
    me_says(0, 58936_t), guest(58937_t),          me_says(0, 58938_t), guest(58939_t),
    host(58940_t),       friend_says(1, 58941_t),
};
static_assert(cues_valid(PARTING));

constexpr Cue PRESENTATION_OPENS[] = {
    me_says(3, 25835_t),
    guest(25836_t),
    host(25837_t),
    guest(25838_t),
    host(25839_t),
    guest(25840_t),
    me_says(3, 16602_t),

    fade_out_of_scene(),
    place_on(HOST, HOUSE, 289, 287, 38466_f),
    stage(HOST, 9),
    attr(HOST, ATTR_SHADOW, 0),
    place_on(GUEST, HOUSE, 258, 256, 38458_f),
    on(IDLER),
    map_change(HOUSE, 329, 247),
    frame(ME, -424_f),
    fade_into_scene(),
};
static_assert(cues_valid(PRESENTATION_OPENS));

// 409's verdict on the player's growth 23, before and from 15:00.
constexpr Cue VERDICT_EARLY_GOOD[] = {guest(16603_t)};
constexpr Cue VERDICT_EARLY_POOR[] = {guest(16604_t)};
constexpr Cue VERDICT_LATE_GOOD[] = {guest(16605_t)};
constexpr Cue VERDICT_LATE_POOR[] = {guest(16606_t)};
static_assert(cues_valid(VERDICT_EARLY_GOOD) && cues_valid(VERDICT_EARLY_POOR) &&
              cues_valid(VERDICT_LATE_GOOD) && cues_valid(VERDICT_LATE_POOR));
constexpr s32 VERDICT_GROWTH = 50;

// One pass of the crowd: the six figures from their base frames, three steps of 100 ms; the
// mirrored three step one way, the others the other.
constexpr CueTrack CROWD_STEP[] = {
    track(CROWD[0]).frames(-38500_f, -2), track(CROWD[1]).frames(-38512_f, -2),
    track(CROWD[2]).frames(-38518_f, -2), track(CROWD[3]).frames(38506_f, 2),
    track(CROWD[4]).frames(38524_f, 2),   track(CROWD[5]).frames(38530_f, 2),
};
constexpr s32 CROWD_LAST_K = 2;
constexpr s32 CROWD_MS = 100;

constexpr Cue PRESENTATION_PLEASED[] = {
    fade_out_of_scene(),
    place_on(HOST, TOWN, 639, 1686, 21097_f),
    attr(HOST, ATTR_SHADOW, 1),
    place_on(GUEST, TOWN, 602, 1703, 38302_f),
    place_on(FRIEND, TOWN, 665, 1654, -38222_f),
    on(FRIEND),
    on(CROWD[0]),
    on(CROWD[1]),
    on(CROWD[2]),
    on(CROWD[3]),
    on(CROWD[4]),
    on(CROWD[5]),
    map_change(YARD, 334, 330),
    frame(ME, -424_f),
    fade_into_scene(),
    me_says(3, 58840_t),
    walk_me(246, 407, 10),
    fade_out_of_scene(),
    map_change(HOUSE, 538, 283),
    frame(ME, -424_f),
    fade_into_scene(),
    walk_me(445, 334, 10),
    walk_me(494, 373, 10),
    fade_out_of_scene(),
    map_change(TOWN, 581, 1655),
    frame(ME, -424_f),
    walk_me(601, 1673, 10),

    sound(ENTRANCE_SOUND, 0),
    keys(CROWD_LAST_K, CROWD_MS, CROWD_STEP),
    keys(CROWD_LAST_K, CROWD_MS, CROWD_STEP),
    keys(CROWD_LAST_K, CROWD_MS, CROWD_STEP),
    keys(CROWD_LAST_K, CROWD_MS, CROWD_STEP),
    keys(CROWD_LAST_K, CROWD_MS, CROWD_STEP),

    bubble(CROWD[0], 58870_t),
    bubble(CROWD[1], 58871_t),
    bubble(CROWD[2], 58872_t),
    bubble(CROWD[3], 58873_t),
    guest(58874_t),
    bubble(CROWD[5], 58875_t),
    bubble(CROWD[2], 58876_t),
    guest(58877_t),
    fade_out_of_scene(),
    off(CROWD[0]),
    off(CROWD[1]),
    off(CROWD[2]),
    off(CROWD[3]),
    off(CROWD[4]),
    off(CROWD[5]),
    fade_into_scene(),

    me_says(2, 58880_t),
    guest(58881_t),
    me_says(2, 58882_t),
    guest(58883_t),
    me_says(2, 58884_t),
    guest(58885_t),
    walk(STAYS, mover(GUEST, 575, 1647, 7)),
    off(GUEST),
    show_frame(ME, -418_f),
    on(GUEST),
    wait(300),
    walk(STAYS, mover(GUEST, 588, 1654, 7)),
    show_frame(ME, -418_f),
    guest(58886_t),
    me_says(2, 58887_t),
    guest(58888_t),
    host(58889_t),
    friend_says(3, 58890_t),
};
static_assert(cues_valid(PRESENTATION_PLEASED));

// ---- Running them ----------------------------------------------------------------------------

void the_day_pleased() {
    if (player_record.story_flags[EARLIER_FLAG] == 1)
        hub_block.turn_events_after[AFTER_TURN] = AFTER_TURN_SLOT;
    affection_add(FRIEND_PERSON, FRIEND_AFFECTION);
    if (known_has(KNOWN_LIST, KNOWN_ID) == 0) {
        known_add(KNOWN_LIST, KNOWN_ID);
    } else {
        for (KnownEntry& e : player_record.known[KNOWN_LIST])
            if (e.id == KNOWN_ID) {
                e.level = KNOWN_LEVEL;
                break;
            }
    }
    player_record.story_flags[TOWN_A_OUTCOME_FLAG] = 1;
}

void eleven_scene() {
    cues_run(world_state.current_map == HOUSE.v ? std::span<const Cue>(ELEVEN_CALL_INSIDE)
                                                : std::span<const Cue>(ELEVEN_CALL_OUTSIDE));
    cues_run(ELEVEN_BEFORE_FIGHT);
    BattleBlock fight; // no heal follows, and only a wipe-out counts as lost
    fight.encounter = FIGHT_ENCOUNTER;
    const s32 result = battle_block(fight);
    scene_render();
    cues_run(battle_lost(result, LOSS_ZERO) ? std::span<const Cue>(FIGHT_LOST)
                                            : std::span<const Cue>(FIGHT_WON));
    cues_run(ELEVEN_AFTER_FIGHT);
}

void close_of_day() {
    const bool near = world_state.current_map == HOUSE.v || world_state.current_map == YARD.v;
    cues_run(near ? std::span<const Cue>(CLOSE_CALL_NEAR) : std::span<const Cue>(CLOSE_CALL_FAR));
    cues_run(CLOSE_TO_YARD);
    if (inv_has(TOWN_A_GIFT_ITEM)) {
        town_a_presentation();
    } else {
        cues_run(CLOSE_NO_GIFT);
        cues_run(HOSTS_GO_HOME);
        cues_run(CLOSE_FAREWELL);
        cues_run(PARTING);
        end_episode(TOWN_A_OUTCOME_FLAG, 2);
    }
    attr_set(DIRECTOR.v, ATTR_ACTIVE, 0);
}

} // namespace

s32 town_a_presentation_score(s32 hour, s32 growth23) {
    return (17 - hour) * 5 + growth23 / 5 + 70;
}

void town_a_presentation() {
    inv_remove(TOWN_A_GIFT_ITEM, 1);
    cues_run(PRESENTATION_OPENS);
    const s32 growth = player_record.skill[SKILL_23];
    const s32 score = town_a_presentation_score(world_state.hour, growth);
    player_record.turn_done = score; // the scripts' scratch word until the launcher closes the turn
    const bool skilled = growth >= VERDICT_GROWTH;
    if (world_state.hour < CLOSE_HOUR)
        cues_run(skilled ? std::span<const Cue>(VERDICT_EARLY_GOOD)
                         : std::span<const Cue>(VERDICT_EARLY_POOR));
    else
        cues_run(skilled ? std::span<const Cue>(VERDICT_LATE_GOOD)
                         : std::span<const Cue>(VERDICT_LATE_POOR));
    if (score >= TOWN_A_GOOD_SCORE) {
        cues_run(PRESENTATION_PLEASED);
        the_day_pleased();
    } else {
        cues_run(HOSTS_GO_HOME);
        cues_run(FAILED_FAREWELL);
        cues_run(PARTING);
        player_record.story_flags[TOWN_A_OUTCOME_FLAG] = 2;
    }
    world_state.field_active = 0;
}

void object_event_0866() {
    // Once the walk has ended (a presentation earlier in this pass), the day is decided.
    if (world_state.field_active == 0) return;
    attr_set(script_self(), ATTR_TIMER, 1);
    minute_upkeep();
    if (world_state.hour == 11 && world_state.minute == 0) {
        world_state.minute = 1;
        eleven_scene();
    }
    if (world_state.hour >= CLOSE_HOUR) close_of_day();
}

void object_event_0887() {
    if (world_state.field_active == 0) return;
    cues_run(ARRIVAL_SCENE);
}

void town_a_director_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const std::span<const Cue> scenes[] = {
        ARRIVAL_SCENE, ELEVEN_BEFORE_FIGHT, ELEVEN_AFTER_FIGHT,   CLOSE_TO_YARD,
        HOSTS_GO_HOME, PRESENTATION_OPENS,  PRESENTATION_PLEASED,
    };
    for (const std::span<const Cue> scene : scenes) cues_frames(scene, visit, ctx);
}

// ---- Slots ----------------------------------------------------------------------------------

// Slot 873 (a step-zone copy of the close of the 11:00 scene) is carried by no object and stays
// empty.
namespace {
constexpr ScriptSlot SLOTS[] = {{866, object_event_0866}, {887, object_event_0887}};
static_assert(slots_distinct(SLOTS));

constexpr SlotRange COMPLETE[] = {{866, 866}, {873, 873}, {887, 887}};
constexpr ScheduleWrite SCHEDULE_WRITES[] = {{AFTER_TURN_SLOT, "the town A presentation"}};
} // namespace

std::span<const ScriptSlot> town_a_director_slots() {
    return SLOTS;
}

ScriptRegion town_a_director_region() {
    return {.owner = TOWN_A_DIRECTOR_OWNER,
            .slots = town_a_director_slots,
            .complete = COMPLETE,
            .schedule_writes = SCHEDULE_WRITES};
}
