// The crossing of maps 130-139. The five fights on the way are one table run by one routine; the
// outpost and the leader are fights with scenes of their own around `battle_block`; the talk at
// zone 358, the passage by its stages, the meeting with person 193 and the final are cue tables
// with the few steps a table cannot say written out here; the chests are one table.
#include "scripts/episodes/crossing.h"

#include "data/roster.h"
#include "engine/dialog.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "scripts/cues.h"
#include "scripts/episode_kit.h"
#include "scripts/script_ids.h"
#include "scripts/zones.h"

#include <array>
#include <initializer_list>

namespace {

using namespace cue;

constexpr ObjId PLAYER{0};
constexpr ObjId MATE{CROSSING_COMPANION_OBJ};
constexpr ObjId PASSAGE{CROSSING_PASSAGE_OBJ};
constexpr ObjId ALLY{CROSSING_ALLY_OBJ};
constexpr ObjId TALKER{357};
constexpr ObjId GLOW{355}; // the light over the player at the passage
constexpr ObjId GATE_FX{356};
constexpr ObjId VISITOR{999};

constexpr s32 DEFEAT_TEXT = 11500;
constexpr s32 STEP_SPEED = 8;

// The heal lists: `who` and the further ids, the rest -1.
constexpr HealList heal(s32 who, std::initializer_list<s32> ids = {}) {
    HealList h;
    h.who = who;
    size_t i = 0;
    for (const s32 id : ids) h.ids[i++] = id;
    return h;
}
constexpr BattleBlock fight(s32 encounter, HealList part, HealList full) {
    BattleBlock b;
    b.encounter = encounter;
    b.heal_part = part;
    b.heal_full = full;
    b.loss = LOSS_ZERO;
    return b;
}

// A lost fight on the way: the line, all the money, then the outcome and the end of the episode.
void defeat(const Voice& v, s32 text) {
    voice_say(v, text);
    money_add(-player_record.money);
    end_episode(CROSSING_OUTCOME_FLAG, CROSSING_LOST);
}

void fame_1() {
    fame_add(1);
}
void fame_3() {
    fame_add(3);
}

// ---- Opening -----------------------------------------------------------------------------------

constexpr Cue OPENING_A[] = {
    show_frame(PLAYER, -418_f),
    say(0, 1203_img, 24100_t),
    pan_to(720, 1420, 10),
    say(0, 1203_img, 24101_t),
};
constexpr Cue OPENING_B[] = {
    say(1, 1000_img, 24102_t),
    say(0, 1203_img, 24103_t),
    walk(CUE_CAMERA_STAYS, mover(MATE, 153, 2137, 15)),
    off(MATE),
};
static_assert(cues_valid(OPENING_A) && cues_valid(OPENING_B));

void object_event_0149() {
    if (!script_on(TRIG_TIMER)) return;
    waiting_done();
    const s32 cx = world_state.camera_x, cy = world_state.camera_y;
    cues_run(OPENING_A);
    camera_pan(cx, cy, 10);
    cues_run(OPENING_B);
}

// ---- The fights on the way ---------------------------------------------------------------------

constexpr Cue WON_350[] = {off(337_obj), off(338_obj), off(339_obj), call(fame_1)};
constexpr Cue WON_351[] = {off(340_obj), off(341_obj), off(342_obj)};
constexpr Cue WON_371[] = {off(360_obj), off(361_obj), off(362_obj), off(363_obj), off(364_obj)};
constexpr Cue WON_372[] = {off(367_obj), off(368_obj)};
constexpr Cue WON_373[] = {
    off(369_obj),
    off(370_obj),
    on(375_obj),
    show_frame(374_obj, 21082_f),
};

constexpr s32 ZONE_SPEAKS = -1; // the defeat line over the zone itself

struct WayFight {
    SlotId slot;
    s32 facing = 0;
    s32 challenger = -1;
    s32 challenge = 0;
    BattleBlock battle{};
    std::span<const Cue> won{};
    s32 defeat_over = ZONE_SPEAKS;
    bool render_first = false; // the scene rendered before the defeat line
};

constexpr HealList MATE_ONLY = heal(-1, {203});
constexpr HealList PLAYER_AND_MATE = heal(0, {203});

// Zone 372's challenge is spoken over 367, one of its group.
constexpr WayFight WAY_FIGHTS[] = {
    {SlotId(150), 418, 339, 24104, fight(66, PLAYER_AND_MATE, heal(250, {251, 252})), WON_350, 339,
     true},
    {SlotId(151), 418, 340, 24105, fight(66, PLAYER_AND_MATE, heal(250, {251, 252})), WON_351, 340,
     true},
    {SlotId(156), 416, 364, 24153, fight(70, MATE_ONLY, heal(-1, {250, 251, 252})), WON_371},
    {SlotId(157), 418, 367, 24154, fight(70, MATE_ONLY, heal(-1, {250, 251, 252})), WON_372},
    {SlotId(158), 418, 369, 24155, fight(71, MATE_ONLY, heal(-1, {253, 254})), WON_373},
};

void way_fight(const WayFight& f) {
    if (!script_on(TRIG_STEP)) return;
    const s32 self = script_self();
    attr_set(self, ATTR_ACTIVE, 0);
    obj_show_frame(0, f.facing);
    say_at(f.challenger, f.challenge);
    const s32 result = battle_block(f.battle);
    if (!battle_lost(result, f.battle.loss)) {
        cues_run(f.won);
        return;
    }
    if (f.render_first) {
        constexpr Cue RENDER[] = {render()};
        cues_run(RENDER);
    }
    defeat(Voice{.obj = f.defeat_over == ZONE_SPEAKS ? self : f.defeat_over}, DEFEAT_TEXT);
}

// ---- The outpost (zone 352) --------------------------------------------------------------------

constexpr Cue OUTPOST_OPEN[] = {
    show_frame(PLAYER, -418_f),
    place_at_player(MATE, 4022_f),
    on(MATE),
    walk(CUE_CAMERA_STAYS, mover(MATE, 2700, 1300, STEP_SPEED)),
    show_frame(MATE, -4002_f),
    say(2, 1172_img, 24106_t),
    say(3, 1203_img, 24107_t),
    say(2, 1172_img, 24108_t),
    say(3, 1000_img, 24109_t),
};
constexpr Cue OUTPOST_CLOSE[] = {
    say(2, 1172_img, 24110_t), attr(345_obj, ATTR_X, 1634),        attr(345_obj, ATTR_Y, 1074),
    show_frame(PLAYER, 424_f), say(1, 1000_img, 24111_t),          say(3, 1203_img, 24112_t),
    say(1, 1000_img, 24113_t), walk_into_player(MATE, STEP_SPEED), show_frame(PLAYER, -418_f),
};
static_assert(cues_valid(OUTPOST_OPEN) && cues_valid(OUTPOST_CLOSE));

constexpr BattleBlock OUTPOST_FIRST = fight(67, heal(0), heal(172));
constexpr BattleBlock OUTPOST_SECOND = fight(68, MATE_ONLY, heal(172));

void object_event_0152() {
    if (!script_on(TRIG_STEP)) return;
    attr_set(script_self(), ATTR_ACTIVE, 0);
    cues_run(OUTPOST_OPEN);
    if (!battle_lost(battle_block(OUTPOST_FIRST), OUTPOST_FIRST.loss)) {
        cues_run(OUTPOST_CLOSE);
        fame_add(4);
        return;
    }
    // Battle 67 lost still leaves battle 68.
    say(3, 1203, 11502);
    heal_full(-1, 203);
    if (battle_lost(battle_block(OUTPOST_SECOND), OUTPOST_SECOND.loss)) {
        defeat(Voice{.obj = -1, .position = 2, .portrait = 1172}, 11503);
        return;
    }
    cues_run(OUTPOST_CLOSE);
    roster_hp_add(203, 300);
    roster_mp_add(203, roster[203].mp_max / 3);
    roster_hp_add(171, 600);
    roster_mp_add(171, roster[171].mp_max / 2);
}

// ---- The leader (zone 353) ---------------------------------------------------------------------

constexpr Cue LEADER_TALK[] = {
    walk(0, mover(PLAYER, 1870, 1140, 10)),
    show_frame(PLAYER, -418_f),
    say(3, 1000_img, 24114_t),
    say(2, 1172_img, 24115_t),
    say(2, 1171_img, 24116_t),
    say(3, 1000_img, 24117_t),
    say(2, 1171_img, 24118_t),
    say(3, 1000_img, 24119_t),
    say(2, 1172_img, 24120_t),
};
constexpr Cue LEADER_WON[] = {off(346_obj), off(345_obj), off(343_obj), off(344_obj), call(fame_3)};
static_assert(cues_valid(LEADER_TALK));
constexpr BattleBlock LEADER_FIGHT =
    fight(69, PLAYER_AND_MATE, heal(-1, {250, 251, 252, 171, 172}));

void object_event_0153() {
    if (!script_on(TRIG_STEP)) return;
    attr_set(script_self(), ATTR_ACTIVE, 0);
    cues_run(LEADER_TALK);
    if (battle_lost(battle_block(LEADER_FIGHT), LEADER_FIGHT.loss)) {
        defeat(Voice{.obj = -1, .position = 2, .portrait = 1172}, 11503);
        return;
    }
    cues_run(LEADER_WON);
}

// ---- The talk at zone 358 ----------------------------------------------------------------------

// The player stands a little aside while he is shown in the long animation, without a shadow.
void player_aside() {
    attr_set(0, ATTR_SHADOW, 0);
    attr_set(0, ATTR_X, attr_get(0, ATTR_X) - 3);
    attr_set(0, ATTR_Y, attr_get(0, ATTR_Y) + 15);
}
void player_back() {
    attr_set(0, ATTR_X, attr_get(0, ATTR_X) + 3);
    attr_set(0, ATTR_Y, attr_get(0, ATTR_Y) - 15);
    attr_set(0, ATTR_SHADOW, 1);
}
void passage_item() {
    inv_add(CROSSING_PASSAGE_ITEM, 1);
}

constexpr s32 TRIAL_STEPS = 26;
constexpr s32 TRIAL_SOUND_AT = 18;
constexpr Voice ME = box(3, 1000_img);

constexpr Cue TALK_358[] = {
    walk(0, mover(PLAYER, 955, 1360, STEP_SPEED)),
    say(3, 1000_img, 24126_t),
    show_frame(TALKER, 21012_f),
    bubble(TALKER, 24127_t),
    say(3, 1000_img, 24128_t),
    bubble(TALKER, 24129_t),
    say(3, 1000_img, 24130_t),
    bubble(TALKER, 24131_t),
    say(3, 1000_img, 24132_t),
    call(player_aside),
    sound(693, 1),
    frame_steps(PLAYER, -21047_f, -1, TRIAL_SOUND_AT, 200),
    sound(694, 0),
    frame_steps(PLAYER, FrameId(-(21047 + TRIAL_SOUND_AT)), -1, TRIAL_STEPS - TRIAL_SOUND_AT, 200),
    call(player_back),
    show_frame(PLAYER, -424_f),
    pairs(24134_t, 24143_t, ME, bubble_of(TALKER)),
    call(passage_item),
    say(3, 1000_img, 24144_t),
    bubble(TALKER, 24145_t),
    say(3, 1000_img, 24146_t),
    bubble(TALKER, 24147_t),
    stage(PASSAGE, PASSAGE_ITEM_HELD),
    fade_out_of_scene(),
    off(TALKER),
    fade_into_scene(),
};
static_assert(cues_valid(TALK_358));
constexpr StepZone ZONE_358{.kind = ZONE_ONCE, .cues = TALK_358};

void object_event_0155() {
    if (script_on(TRIG_STEP)) step_zone(ZONE_358);
}

// ---- The passage -------------------------------------------------------------------------------

constexpr Cue MATE_COMES[] = {
    place_at_player(MATE, 4022_f),
    on(MATE),
    walk(0, mover(PLAYER, 1670, 740, STEP_SPEED), mover(MATE, 1705, 765, STEP_SPEED)),
    show_frame(MATE, -4002_f),
    show_frame(PLAYER, 424_f),
};
constexpr Cue PASSAGE_FIRST[] = {
    say(2, 1203_img, 24121_t),      say(3, 1000_img, 24122_t), say(2, 1203_img, 24123_t),
    say(3, 1000_img, 24124_t),      say(2, 1203_img, 24125_t), walk_into_player(MATE, STEP_SPEED),
    stage(PASSAGE, PASSAGE_TALKED),
};
constexpr Cue PASSAGE_AGAIN[] = {say(3, 1000_img, 24124_t)};
// With the item: the light comes down on the player, the far side is glimpsed, and the gate opens.
constexpr Cue PASSAGE_TALK[] = {
    say(2, 1203_img, 24148_t),
    say(3, 1000_img, 24149_t),
    attr(PLAYER, ATTR_SHADOW, 0),
    show_frame(PLAYER, 21014_f),
    wait(200),
    show_frame(PLAYER, 21015_f),
};
constexpr Cue PASSAGE_LIGHT[] = {
    on(GLOW),
    sound(661, 0),
    frame_steps(GLOW, 21016_f, 1, 5, 300),
    attr(PLAYER, ATTR_SHADOW, 1),
};
constexpr Cue PASSAGE_GATE[] = {
    say(2, 1203_img, 24151_t),
    say(2, 1000_img, 24152_t),
    walk_into_player(MATE, STEP_SPEED),
    off(PLAYER),
    sound(678, 0),
    frame_steps(GATE_FX, 21021_f, 1, 24, 200),
    fade_out_of_scene(),
    on(PLAYER),
    map_change(130_map, 455, 2445),
    fade_into_scene(),
};
static_assert(cues_valid(MATE_COMES) && cues_valid(PASSAGE_FIRST) && cues_valid(PASSAGE_TALK) &&
              cues_valid(PASSAGE_LIGHT) && cues_valid(PASSAGE_GATE));

void passage_through() {
    cursor_select(MENU_CURSOR);
    attr_set(PASSAGE.v, ATTR_ACTIVE, 0);
    cues_run(MATE_COMES);
    const s32 kept = obj_get_frame(0);
    cues_run(PASSAGE_TALK);
    attr_set(GLOW.v, ATTR_MAP, attr_get(0, ATTR_MAP));
    attr_set(GLOW.v, ATTR_X, attr_get(0, ATTR_X));
    attr_set(GLOW.v, ATTR_Y, attr_get(0, ATTR_Y) - 100);
    cues_run(PASSAGE_LIGHT);
    obj_show_frame(0, kept);
    const s32 x = attr_get(0, ATTR_X), y = attr_get(0, ATTR_Y);
    change_map(130, 734, 2039);
    obj_show_frame(0, 0);
    say_at(PASSAGE.v, 24150);
    obj_set_frame(0, kept);
    change_map(139, x, y);
    obj_show_frame(0, kept);
    cues_run(PASSAGE_GATE);
    inv_remove(CROSSING_PASSAGE_ITEM, 1);
}

void object_event_0154() {
    if (!script_on(TRIG_CLICK) || too_far_guard(300)) return;
    switch (script_stage(script_self())) {
    case PASSAGE_FIRST_TALK:
        cues_run(MATE_COMES);
        cues_run(PASSAGE_FIRST);
        break;
    case PASSAGE_TALKED:
        cues_run(PASSAGE_AGAIN);
        break;
    case PASSAGE_ITEM_HELD:
        passage_through();
        break;
    default:
        break;
    }
}

// ---- The chests --------------------------------------------------------------------------------

struct ItemGift {
    s32 item = -1;
    s32 count = 0;
};
struct Chest {
    SlotId slot;
    s32 chest = -1, picture = -1;
    std::array<ItemGift, 3> items{};
};
constexpr Chest CHESTS[] = {
    {SlotId(159), 381, 382, {{{903, 1}}}},
    {SlotId(160), 383, 384, {{{2200, 300}, {2001, 1}, {2323, 1}}}},
    {SlotId(161), 385, 386, {{{2005, 1}, {2067, 1}}}},
    {SlotId(162), 387, 388, {{{1903, 1}}}},
};

void chest(const Chest& c) {
    if (!script_on(TRIG_CLICK) || too_far_guard(150)) return;
    attr_set(c.chest, ATTR_ACTIVE, 0);
    attr_set(c.picture, ATTR_LAYER, 1);
    for (const ItemGift& g : c.items)
        if (g.count > 0) inv_add(g.item, g.count);
}

// ---- Person 193 --------------------------------------------------------------------------------

constexpr Cue MEETING[] = {
    attr(391_obj, ATTR_BLOCK, 1),
    show_frame(PLAYER, -424_f),
    say(2, 1193_img, 47009_t),
    place_at_player(MATE, 4022_f),
    on(MATE),
    show_frame(MATE, 4022_f),
    walk(CUE_CAMERA_STAYS, mover(MATE, 645, 215, STEP_SPEED)),
    show_frame(MATE, -4022_f),
    show_frame(PLAYER, 416_f),
    say(3, 1000_img, 47010_t),
    say(3, 1203_img, 47011_t),
    walk(0, mover(PLAYER, 505, 275, STEP_SPEED), mover(MATE, 460, 305, STEP_SPEED)),
    show_frame(PLAYER, -418_f),
    show_frame(MATE, -4002_f),
    say(2, 1193_img, 47012_t),
    say(3, 1203_img, 47013_t),
    say(2, 1193_img, 47014_t),
};
constexpr Cue JOINS[] = {
    attr(391_obj, ATTR_BLOCK, 0), say(3, 1000_img, 47017_t), say(3, 1203_img, 47018_t),
    show_frame(392_obj, 21084_f), say(2, 1193_img, 47019_t), say(3, 1203_img, 47020_t),
    say(2, 1193_img, 47021_t),    say(3, 1000_img, 47022_t), say(2, 1193_img, 47023_t),
};
constexpr Cue DECLINED[] = {walk_into_player(MATE, STEP_SPEED)};
static_assert(cues_valid(MEETING) && cues_valid(JOINS));

void ally_joins() {
    cues_run(JOINS);
    const s32 x = attr_get(ALLY.v, ATTR_X), y = attr_get(ALLY.v, ATTR_Y);
    const Cue to_him[] = {walk(0, mover(PLAYER, x, y, STEP_SPEED), mover(MATE, x, y, STEP_SPEED)),
                          off(ALLY), off(MATE)};
    cues_run(to_him);
    for (s32& p : player_record.party) p = -1;
    player_record.party[0] = 203;
    player_record.party[1] = 193;
    acquaint_add(193, 60);
    player_record.story_flags[CROSSING_ALLY_FLAG] = 1;
}

// The menu keeps cursor 13 after the answer.
void object_event_0163() {
    if (!script_on(TRIG_STEP)) return;
    cues_run(MEETING);
    const s32 answer = menu_choice(3, 1000, 47015, 47016);
    attr_set(script_self(), ATTR_ACTIVE, 0);
    // An answer other than the first declines: the barrier keeps blocking.
    if (answer == 0)
        ally_joins();
    else
        cues_run(DECLINED);
}

void object_event_0165() {
    if (script_on(TRIG_CLICK)) say(2, 1193, 24168);
}

// ---- The final (zone 398 on map 131) -----------------------------------------------------------

constexpr Cue FINAL_OPEN[] = {
    off(163_obj),
    walk(0, mover(PLAYER, 308, 295, 10)),
    show_frame(PLAYER, 418_f),
    place_on(MATE, 131_map, 255, 305, 4002_f),
    on(MATE),
    show_frame(MATE, 4002_f),
};
constexpr Cue ALLY_COMES[] = {
    place_on(ALLY, 131_map, 290, 328, 21079_f),
    on(ALLY),
    show_frame(ALLY, 21079_f),
};
constexpr Cue FINAL_TALK[] = {
    say(1, 1174_img, 24156_t), say(2, 1000_img, 24157_t), say(1, 1174_img, 24158_t),
    say(3, 1175_img, 24159_t), say(1, 1174_img, 24160_t), say(2, 1203_img, 24161_t),
};
// The closing lines follow while 393 is on, which it always is here: the second closing, for the
// case that it is off, is never reached and is left out.
constexpr Cue FINAL_WON[] = {
    show_frame(394_obj, 21089_f),
    show_frame(395_obj, 21091_f),
    say(2, 1000_img, 24163_t),
    say(1, 1174_img, 24164_t),
    say(3, 1175_img, 24164_t),
    say(2, 1203_img, 24165_t),
    off(ALLY),
    off(394_obj),
    off(395_obj),
    on(399_obj),
    move_on(MATE, 10_map, 3161, 1024),
    fade_out_of_scene(),
    map_change(10_map, 3212, 1056),
    present(),
    fade_into_scene(),
    say(2, 1188_img, 24169_t),
};
// Person 163 comes to see the player home.
constexpr Cue VISIT_163[] = {
    place_on(VISITOR, 10_map, 2864, 816, 1922_f),
    on(VISITOR),
    show_frame(VISITOR, 1922_f),
    walk(CUE_CAMERA_STAYS, mover(VISITOR, 3118, 1051, 10)),
    show_frame(VISITOR, 1902_f),
    show_frame(PLAYER, -424_f),
    say(2, 1163_img, 18148_t),
    say(3, 1000_img, 18149_t),
    say(2, 1163_img, 18150_t),
    say(3, 1000_img, 18151_t),
    say(2, 1163_img, 18152_t),
    say(2, 1163_img, 18153_t),
    say(3, 1000_img, 18154_t),
    off(VISITOR),
};
static_assert(cues_valid(FINAL_OPEN) && cues_valid(FINAL_TALK) && cues_valid(FINAL_WON) &&
              cues_valid(VISIT_163));

// Person 193 fights as fighter 2 once he has joined; the record stays so until the program ends.
constexpr LineupRow ALLY_FIGHTS[] = {lineup::fighter(2, 193)};
constexpr BattleBlock FINAL_FIGHT =
    fight(CROSSING_FINAL_ENCOUNTER, heal(-1), heal(0, {203, 193, 174, 175}));

void object_event_0164() {
    if (!script_on(TRIG_STEP)) return;
    attr_set(script_self(), ATTR_ACTIVE, 0);
    cues_run(FINAL_OPEN);
    const bool joined = player_record.story_flags[CROSSING_ALLY_FLAG] == 1;
    if (attr_get(ALLY.v, ATTR_ACTIVE) == 0 || joined) cues_run(ALLY_COMES);
    cues_run(FINAL_TALK);
    if (joined) lineup_write(CROSSING_FINAL_ENCOUNTER, ALLY_FIGHTS);
    // The final lost costs no money.
    if (battle_lost(battle_block(FINAL_FIGHT), FINAL_FIGHT.loss)) {
        end_episode(CROSSING_OUTCOME_FLAG, CROSSING_LOST);
        return;
    }
    cues_run(FINAL_WON);
    money_add(CROSSING_PRIZE);
    end_episode(CROSSING_OUTCOME_FLAG, CROSSING_WON);
    cues_run(VISIT_163);
}

// ---- Registration ------------------------------------------------------------------------------

constexpr auto SLOTS =
    join_slots(family_slots<WAY_FIGHTS, way_fight>(), family_slots<CHESTS, chest>(),
               std::array<ScriptSlot, 8>{{{149, object_event_0149},
                                          {152, object_event_0152},
                                          {153, object_event_0153},
                                          {154, object_event_0154},
                                          {155, object_event_0155},
                                          {163, object_event_0163},
                                          {164, object_event_0164},
                                          {165, object_event_0165}}});
static_assert(slots_distinct(SLOTS));
constexpr SlotRange COMPLETE[] = {{149, 165}};

} // namespace

void crossing_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const WayFight& f : WAY_FIGHTS) {
        v(f.facing);
        cues_frames(v, f.won);
    }
    for (const auto cues : {std::span<const Cue>(OPENING_A), std::span<const Cue>(OPENING_B),
                            std::span<const Cue>(OUTPOST_OPEN), std::span<const Cue>(OUTPOST_CLOSE),
                            std::span<const Cue>(LEADER_TALK), std::span<const Cue>(TALK_358),
                            std::span<const Cue>(MATE_COMES), std::span<const Cue>(PASSAGE_TALK),
                            std::span<const Cue>(PASSAGE_LIGHT), std::span<const Cue>(PASSAGE_GATE),
                            std::span<const Cue>(MEETING), std::span<const Cue>(JOINS),
                            std::span<const Cue>(FINAL_OPEN), std::span<const Cue>(ALLY_COMES),
                            std::span<const Cue>(FINAL_WON), std::span<const Cue>(VISIT_163)})
        cues_frames(v, cues);
}

std::span<const ScriptSlot> crossing_slots() {
    return SLOTS;
}

ScriptRegion crossing_region() {
    return {.owner = CROSSING_OWNER, .slots = crossing_slots, .complete = COMPLETE};
}
