#include "scripts/kit.h"

#include "battle/battle.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/labels.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world/walk.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/makers.h"
#include "game/party.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "minigames/frame.h"
#include "scripts/script_seams.h"

namespace {

constexpr s32 GROWTH_LAST = 33;
constexpr s32 STAMINA_FULL = 995;
constexpr s32 STAMINA_STEP = 10;
constexpr s32 NEED_FULL = 998;
constexpr s32 NEED_STEP = 2;
constexpr s32 LAYER_TOP = 2;
constexpr s32 LAYER_STANDING = 3;
constexpr s32 SAME_SPOT = 4;

bool heal_ids_empty(s32 who, const std::array<s32, 11>& ids) {
    if (who >= 0) return false;
    for (const s32 id : ids)
        if (id > 0) return false;
    return true;
}

void heal_by_list(const HealList& h, bool full) {
    const std::array<s32, 11> i = heal_list_ids(h);
    if (heal_ids_empty(h.who, i)) return;
    auto* heal = full ? heal_full : heal_part;
    heal(h.who, i[0], i[1], i[2], i[3], i[4], i[5], i[6], i[7], i[8], i[9], i[10]);
}

} // namespace

// ---- Context ---------------------------------------------------------------------------------

s32 script_self() {
    return world_state.event_object;
}

bool script_obj_valid(s32 obj) {
    return obj >= 0 && obj < OBJECT_COUNT;
}

bool script_on(s32 trigger) {
    return world_state.trigger_kind == trigger;
}

s32 script_stage(s32 obj) {
    return attr_get(obj, ATTR_VAR_A);
}

void script_set_stage(s32 obj, s32 stage) {
    attr_set(obj, ATTR_VAR_A, stage);
}

void scripts_install(std::span<const ScriptSlot> table, const char* owner) {
    for (const ScriptSlot& row : table) event_register(row.slot, row.script, owner);
}

// ---- too_far_guard ---------------------------------------------------------------------------

bool too_far(s32 distance, const FarRule& rule) {
    return rule.limit_is_far ? distance >= rule.limit : distance > rule.limit;
}

namespace {
bool guard(s32 distance, const FarRule& rule) {
    if (!too_far(distance, rule)) return false;
    label_add(0, TEXT_TOO_FAR, TOO_FAR_DX, TOO_FAR_DY, rule.ms);
    return true;
}
} // namespace

bool too_far_guard(s32 limit) {
    return guard(obj_distance(0, script_self()), FarRule{limit});
}

bool too_far_guard_rule(const FarRule& rule) {
    return guard(obj_distance(0, script_self()), rule);
}

bool too_far_guard_point(s32 x, s32 y, s32 limit) {
    return guard(player_distance(x, y), FarRule{limit});
}

// ---- turn_to_talk and frame keeping ----------------------------------------------------------

s32 mirror_position(s32 pos) {
    if (pos >= 0 && pos < SAME_SPOT) return 3 - pos;
    return 1;
}

void player_turn_toward_point(s32 x, s32 y) {
    obj_show_frame(0, player_face_frame(attr_get(0, ATTR_X), attr_get(0, ATTR_Y), x, y));
}

void player_turn_toward(s32 obj) {
    if (script_obj_valid(obj))
        player_turn_toward_point(attr_get(obj, ATTR_X), attr_get(obj, ATTR_Y));
}

TalkTurn face_player(s32 obj, const TurnFrames& f) {
    const s32 r = obj_face(0, obj, f.f0, f.f1, f.f2, f.f3);
    return TalkTurn{r, mirror_position(r)};
}

TalkTurn turn_other_to_talk(s32 obj, const TurnFrames& f) {
    player_turn_toward(obj);
    return face_player(obj, f);
}

TalkTurn turn_to_talk(const TurnFrames& frames) {
    return turn_other_to_talk(script_self(), frames);
}

TalkTurn turn_to_talk_mode(TurnMode mode, const TurnFrames& frames, TalkTurn fixed) {
    switch (mode) {
    case TURN_BOTH:
        return turn_to_talk(frames);
    case TURN_PLAYER_ONLY:
        player_turn_toward(script_self());
        return fixed;
    default:
        return fixed;
    }
}

s32 frame_keep(s32 obj) {
    return obj_get_frame(obj);
}

void frame_restore(s32 obj, s32 frame) {
    obj_set_frame(obj, frame);
}

// ---- idle_cycle ------------------------------------------------------------------------------

s32 idle_next_frame(s32 frame, const IdleCycle& c, bool* wrapped) {
    s32 next = frame + c.step;
    bool past;
    if (c.step >= 0)
        past = c.wrap_at_limit ? next >= c.limit : next > c.limit;
    else
        past = c.wrap_at_limit ? next <= c.limit : next < c.limit;
    if (past) next = c.start;
    if (wrapped != nullptr) *wrapped = past;
    return next;
}

s32 idle_cycle_on(s32 obj, const IdleCycle& c, bool* wrapped_out) {
    if (wrapped_out != nullptr) *wrapped_out = false;
    attr_set(obj, ATTR_TIMER, c.rearm);
    const s32 frame = obj_get_frame(obj);
    if (c.frozen_by_var_b && attr_get(obj, ATTR_VAR_B) != 0) return frame;
    bool wrapped = false;
    const s32 next = idle_next_frame(frame, c, &wrapped);
    if (wrapped_out != nullptr) *wrapped_out = wrapped;
    if (c.band_rearm > 0 && next >= c.band_lo && next <= c.band_hi)
        attr_set(obj, ATTR_TIMER, c.band_rearm);
    if (wrapped && c.pause >= 0)
        attr_set(obj, ATTR_TIMER, c.pause + (c.pause_rand > 0 ? script_rand(c.pause_rand) : 0));
    if (c.remark_frame != 0 && next == c.remark_frame &&
        attr_get(obj, ATTR_MAP) == world_state.current_map) {
        if (c.remark2_text == 0 || script_rand(10) > 5)
            label_add(obj, c.remark_text, c.remark_dx, c.remark_dy, c.remark_ms);
        else
            label_add(obj, c.remark2_text, c.remark2_dx, c.remark2_dy, c.remark2_ms);
    }
    obj_set_frame(obj, next);
    return next;
}

s32 idle_cycle(const IdleCycle& c) {
    return idle_cycle_on(script_self(), c);
}

// ---- leg_walk --------------------------------------------------------------------------------

s32 leg_walk_on(s32 obj, const LegWalk& w) {
    const s32 attr = w.leg_attr == ATTR_VAR_A ? ATTR_VAR_A : ATTR_VAR_B;
    const s32 leg = attr_get(obj, attr);
    const s32 count = s32(w.legs.size());
    if (leg >= count) { // a leg value without a way-point: the walker stands
        if (w.rearm_when_stopped) attr_set(obj, ATTR_TIMER, w.rearm);
        return 0;
    }
    attr_set(obj, ATTR_TIMER, w.rearm);
    const WayPoint& p = w.legs[size_t(leg)];
    if (obj_step_to(obj, p.x, p.y, w.speed) == 0) return 0;
    if (p.arrive_frame != 0) obj_set_frame(obj, p.arrive_frame);
    if (p.arrive_rearm > 0) attr_set(obj, ATTR_TIMER, p.arrive_rearm);
    s32 next = leg + 1;
    if (next == count) {
        if (w.hide_at_last) attr_set(obj, ATTR_ACTIVE, 0);
        next = w.after_last == LEG_LOOP ? 0 : w.after_last;
    }
    attr_set(obj, attr, next);
    return 1;
}

s32 leg_walk(const LegWalk& w) {
    return leg_walk_on(script_self(), w);
}

// ---- waiting_timer ---------------------------------------------------------------------------

bool wait_condition(const WaitFor& w) {
    switch (w.kind) {
    case WAIT_MAP:
        return world_state.current_map == w.a;
    case WAIT_HOUR_FROM:
        return world_state.hour >= w.a;
    case WAIT_FLAG_EQ:
        return w.a >= 0 && w.a < STORY_FLAGS && player_record.story_flags[w.a] == w.b;
    case WAIT_STAGE_EQ:
        return script_obj_valid(w.a) && attr_get(w.a, ATTR_VAR_A) == w.b;
    case WAIT_RAND_BELOW:
        return script_rand(w.a) < w.b;
    case WAIT_ALWAYS:
        return true;
    default:
        return false;
    }
}

bool waiting_timer(s32 rearm, const WaitFor& w) {
    attr_set(script_self(), ATTR_TIMER, rearm);
    return wait_condition(w);
}

void waiting_done() {
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER_ON, 0);
    attr_set(self, ATTR_ACTIVE, 0);
}

// ---- minute_upkeep ---------------------------------------------------------------------------

s32 minute_upkeep() {
    PlayerRecord& p = player_record;
    if (world_state.minute == p.last_minute) return 0;
    p.last_minute = world_state.minute;
    if (p.stamina < STAMINA_FULL) p.stamina += STAMINA_STEP;
    if (p.fatigue < NEED_FULL) p.fatigue += NEED_STEP;
    if (p.sleep_need < NEED_FULL) p.sleep_need += NEED_STEP;
    if (p.fullness > 0) p.fullness -= 1;
    return 1;
}

// ---- menu_choice and modal screens -----------------------------------------------------------

s32 menu_choice(s32 position, s32 portrait, s32 t0, s32 t1, s32 t2, s32 t3, s32 t4, s32 t5) {
    menu_colours(MENU_HIGHLIGHT, 0);
    cursor_select(MENU_CURSOR);
    return choose(position, portrait, t0, t1, t2, t3, t4, t5);
}

void modal_return() {
    mouse_buttons = 0;
    click_kind = 0;
}

void modal_info_screen() {
    info_screen_seam(0);
    modal_return();
}

void modal_ranking() {
    script_ranking_seam();
    modal_return();
}

void modal_shop_buy(s32 shop) {
    script_shop_buy_seam(shop);
    modal_return();
}

void modal_shop_sell(s32 shop) {
    script_shop_sell_seam(shop);
    modal_return();
}

// ---- picture_view ----------------------------------------------------------------------------

void picture_view(s32 x, s32 y, s32 picture, s32 flags) {
    draw_image(x, y, picture, u32(flags));
    FrameWait wait;
    wait.x = PICTURE_MARKER_X;
    wait.y = PICTURE_MARKER_Y;
    frame_click_wait(wait);
    modal_return();
}

// ---- battle_block ----------------------------------------------------------------------------

s32 battle_block(const BattleBlock& b) {
    if (b.party) party_to_battle(b.encounter);
    const s32 result = battle_run_seam(b.encounter);
    modal_return(); // the battle's closing click stays off the map
    heal_by_list(b.heal_full, true);
    heal_by_list(b.heal_part, false);
    return result;
}

std::array<s32, 11> heal_list_ids(const HealList& h) {
    std::array<s32, 11> ids = h.ids;
    if (!h.with_party) return ids;
    size_t free = 0;
    for (const s32 member : player_record.party) {
        if (member <= 0) continue;
        while (free < ids.size() && ids[free] != -1) ++free;
        if (free == ids.size()) break;
        ids[free++] = member;
    }
    return ids;
}

bool battle_lost(s32 result, s32 loss_rule) {
    switch (loss_rule) {
    case LOSS_ZERO:
        return result == BATTLE_LOST;
    case LOSS_NOT_WON:
        return result != BATTLE_WON;
    default:
        return false;
    }
}

// ---- end_episode and the end of the game -----------------------------------------------------

void end_episode(s32 flag, s32 value) {
    if (flag >= 0 && flag < STORY_FLAGS) player_record.story_flags[flag] = value;
    world_state.field_active = 0;
}

void game_end(bool completed) {
    if (completed) exit_code = 99;
    game_quit();
}

// ---- Posed services --------------------------------------------------------------------------

void pose_enter(const PoseEnter& p) {
    attr_set(0, ATTR_TIMER_ON, 1);
    attr_set(0, ATTR_TIMER, POSE_REARM);
    if (p.x != POSE_NO_PLACE) {
        attr_set(0, ATTR_X, p.x);
        attr_set(0, ATTR_Y, p.y);
    }
    if (p.on_top) {
        attr_set(0, ATTR_SHADOW, 0);
        attr_set(0, ATTR_LAYER, LAYER_TOP);
    }
    obj_show_frame(0, p.frame);
    attr_set(0, ATTR_EVENT, p.slot);
}

void pose_leave(const PoseLeave& p) {
    attr_set(0, ATTR_TIMER_ON, 0);
    if (p.x != POSE_NO_PLACE) {
        attr_set(0, ATTR_X, p.x);
        attr_set(0, ATTR_Y, p.y);
    }
    if (p.on_top) {
        attr_set(0, ATTR_SHADOW, 1);
        attr_set(0, ATTR_LAYER, LAYER_STANDING);
    }
    obj_show_frame(0, p.frame);
    attr_set(0, ATTR_EVENT, 0);
    if (p.rest > 0) fatigue_rest(p.rest);
}

bool posed_in(s32 slot) {
    return attr_get(0, ATTR_TIMER_ON) == 1 && attr_get(0, ATTR_EVENT) == slot;
}

void pose_loop_step(const PoseLoop& p) {
    attr_set(0, ATTR_TIMER, POSE_REARM);
    s32 frame = obj_get_frame(0) + p.step;
    if (frame > p.last) {
        frame = p.first;
        attr_set(0, ATTR_TIMER, p.pause);
    }
    for (const PoseSwitch& s : p.switches)
        if (script_obj_valid(s.obj) && s.frame == frame) attr_set(s.obj, ATTR_ACTIVE, s.active);
    obj_set_frame(0, frame);
    if (script_on(TRIG_CLICK) && p.click_opens_screen) modal_info_screen();
}

// ---- Lessons and meetings --------------------------------------------------------------------

s32 lesson(const Lesson& l) {
    const bool has_known = l.known_list != LESSON_NO_KNOWN;
    const bool known = has_known && known_has(l.known_list, l.known_id) != 0;
    if (l.once && known) return 0;
    if (l.growth >= 0 && l.growth <= GROWTH_LAST) {
        growth_pool(l.growth) += l.exp;
        grow(l.growth);
    }
    if (has_known && !known) known_add(l.known_list, l.known_id);
    return 1;
}

void meeting(s32 person, s32 bonus, bool only_new) {
    if (only_new && acquaint_has(person) != 0) return;
    acquaint_add(person, bonus);
}

// ---- Alternating lines -----------------------------------------------------------------------

void voice_say(const Voice& v, s32 text) {
    if (v.portrait >= 0)
        say(v.position, v.portrait, text);
    else if (script_obj_valid(v.obj))
        say_at(v.obj, text);
}

void alternate_lines(s32 first, s32 last, const Voice& a, const Voice& b, bool by_parity) {
    if (!line_run_ok(first, last)) return;
    for (s32 t = first; t <= last; ++t) voice_say((by_parity ? t : t - first) % 2 == 0 ? a : b, t);
}

// ---- Frame steps -----------------------------------------------------------------------------

void frame_steps(s32 obj, s32 first, s32 step, s32 count, s32 ms) {
    for (s32 i = 0; i < count; ++i) {
        obj_show_frame(obj, first + step * i);
        wait_ms(u32(ms));
    }
}

// ---- Frames shown ----------------------------------------------------------------------------

void frames_of_turn(const FrameVisit& v, const TurnFrames& f) {
    for (const s32 frame : {f.f0, f.f1, f.f2, f.f3}) v(frame);
}

void frames_of_cycle(const FrameVisit& v, const IdleCycle& c) {
    v(c.start);
    if (c.step == 0) return;
    s32 frame = c.start + c.step;
    for (s32 n = 1; n < FRAME_RUN_MAX && (c.step > 0 ? frame <= c.limit : frame >= c.limit); n++) {
        v(frame);
        frame += c.step;
    }
}
