#include "scripts/cells.h"

#include "data/roster.h"
#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/mssw.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/makers.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "scripts/script_seams.h"

#include <algorithm>

s32 cells_battle_result = -1;
bool cells_battle_lost = false;

namespace {

bool flag_valid(s32 flag) {
    return flag >= 0 && flag < STORY_FLAGS;
}
bool in(s32 v, s32 lo, s32 hi) {
    return v >= lo && v <= hi;
}

bool cond_plain(const Cond& c, s32 self) {
    const PlayerRecord& p = player_record;
    switch (c.kind) {
    case COND_ALWAYS:
        return true;
    case COND_FLAG_EQ:
        return flag_valid(c.a) && p.story_flags[c.a] == c.b;
    case COND_FLAG_RANGE:
        return flag_valid(c.a) && in(p.story_flags[c.a], c.b, c.c);
    case COND_ITEM:
        return inv_has(c.a) != 0;
    case COND_KNOWN:
        return known_has(c.a, c.b) != 0;
    case COND_ALBUM:
        return album_has(c.a) != 0;
    case COND_ACQUAINTED:
        return acquaint_has(c.a) != 0;
    case COND_STAGE_RANGE:
        return script_obj_valid(c.a) && in(attr_get(c.a, ATTR_VAR_A), c.b, c.c);
    case COND_ACTIVE:
        return script_obj_valid(c.a) && attr_get(c.a, ATTR_ACTIVE) == 1;
    case COND_VAR_B_EQ:
        return script_obj_valid(c.a) && attr_get(c.a, ATTR_VAR_B) == c.b;
    case COND_POSED:
        return posed_in(c.a);
    case COND_MONEY_FROM:
        return p.money >= c.a;
    case COND_AFFECTION:
        return c.a >= 0 && c.a < PLAYER_PEOPLE && in(p.affection[c.a], c.b, c.c);
    case COND_SKILL_BELOW:
        return c.a >= 0 && c.a < PLAYER_SKILLS && p.skill[c.a] < c.b;
    case COND_HOUR_RANGE:
        return in(world_state.hour, c.a, c.b);
    case COND_MAP:
        return world_state.current_map == c.a;
    case COND_TEST:
        return c.test != nullptr && c.test();
    case COND_LOST:
        return cells_battle_lost;
    case COND_RAND_BELOW:
        return c.a > 0 && script_rand(c.a) < c.b;
    case COND_RECORD:
        return c.a >= 0 && c.a < REC_FIELDS && in(record_value(c.a, c.b), c.c, c.d);
    case COND_ITEM_COUNT:
        return inv_has_count(c.a, c.b) != 0;
    case COND_KNOWN_LEVEL:
        return known_has_level(c.a, c.b, c.c) != 0;
    case COND_MINUTE:
        return in(world_state.minute, c.a, c.b);
    case COND_SELF_STAGE:
        return script_obj_valid(self) && in(attr_get(self, ATTR_VAR_A), c.a, c.b);
    case COND_SELF_VAR_B:
        return script_obj_valid(self) && in(attr_get(self, ATTR_VAR_B), c.a, c.b);
    case COND_SELF_IS:
        return self == c.a;
    default:
        return false;
    }
}

// One level of the block structure: a condition, a menu or a repeat.
enum LevelKind : s32 { LEVEL_IF, LEVEL_MENU, LEVEL_REPEAT };
struct Level {
    s32 kind = LEVEL_IF;
    bool parent = true; // the cells around the level run
    bool active = true; // the cells at this point run
    bool taken = false; // a branch of the condition has run
    s32 choice = -1;    // the option a menu returned
    size_t start = 0;   // a repeat's first cell
    s32 rounds = 0;
    bool broken = false;
};

// Speaks one line of `who`.
// The voice a speaker talks in, within this talk: a bubble (portrait below 0) or a box.
Voice voice_in(const Speaker& who, const TalkContext& ctx) {
    const auto bubble = [](s32 obj) { return Voice{.obj = obj, .position = 0, .portrait = -1}; };
    const auto box = [](s32 pos, s32 portrait) {
        return Voice{.obj = -1, .position = pos, .portrait = portrait};
    };
    switch (who.kind) {
    case SPK_SELF:
        return bubble(ctx.self);
    case SPK_OBJECT:
        return bubble(who.obj);
    case SPK_PLAYER:
        return box(ctx.turn.pos, PLAYER_PORTRAIT);
    case SPK_PLAYER_AT:
        return box(who.position, PLAYER_PORTRAIT);
    case SPK_PERSON:
        return box(ctx.turn.other, who.portrait);
    case SPK_PERSON_AT:
        return box(who.position, who.portrait);
    default:
        return bubble(-1); // nobody: skipped
    }
}

void speak(const Speaker& who, s32 text, const TalkContext& ctx) {
    voice_say(voice_in(who, ctx), text);
}

s32 ask(const Cell& c, const TalkContext& ctx) {
    const auto& o = c.options;
    const bool fixed = c.c != 0;
    const s32 pos = fixed ? c.a : ctx.turn.pos;
    const s32 portrait = fixed ? c.b : PLAYER_PORTRAIT;
    if (c.op == CELL_MENU) return menu_choice(pos, portrait, o[0], o[1], o[2], o[3], o[4], o[5]);
    return choose(pos, portrait, o[0], o[1], o[2], o[3], o[4], o[5]);
}

void heal_list(const HealList& l, bool full) {
    const auto& i = l.ids;
    if (full)
        heal_full(l.who, i[0], i[1], i[2], i[3], i[4], i[5], i[6], i[7], i[8], i[9], i[10]);
    else
        heal_part(l.who, i[0], i[1], i[2], i[3], i[4], i[5], i[6], i[7], i[8], i[9], i[10]);
}

bool person_valid(s32 person) {
    return person >= 0 && person < ROSTER_SIZE;
}

void set_stage(s32 obj, s32 stage_value) {
    if (script_obj_valid(obj)) attr_set(obj, ATTR_VAR_A, stage_value);
}

void dialogue_say(const Dialogue& d, const TalkContext& ctx);

// The cells that act by themselves (lines and effects).
void act(const Cell& c, const TalkContext& ctx) {
    switch (c.op) {
    case CELL_LINE:
        speak(c.who, cell_text(c, ctx), ctx);
        break;
    case CELL_RUN:
    case CELL_RUN_PARITY:
        alternate_lines(c.text, c.last, voice_in(c.who, ctx), voice_in(c.second, ctx),
                        c.op == CELL_RUN_PARITY);
        break;
    case CELL_ALBUM_LINE:
        if (album_has(c.b) == 0) break;
        speak(c.who, cell_text(c, ctx), ctx);
        say(ctx.turn.pos, PLAYER_PORTRAIT, TEXT_ALBUM_REPLY);
        break;
    case CELL_TO:
        attr_set(ctx.self, ATTR_VAR_A, c.a);
        break;
    case CELL_OBJ_TO:
        if (script_obj_valid(c.a)) attr_set(c.a, ATTR_VAR_A, c.b);
        break;
    case CELL_FRAME:
        obj_set_frame(ctx.self, c.a);
        break;
    case CELL_BUY:
        modal_shop_buy(c.a);
        break;
    case CELL_SELL:
        modal_shop_sell(c.a);
        break;
    case CELL_RANKING:
        modal_ranking();
        break;
    case CELL_LESSON:
        lesson(c.teach);
        break;
    case CELL_MEETING:
        meeting(c.a, c.b);
        break;
    case CELL_MONEY:
        money_add(c.a);
        break;
    case CELL_GIVE:
        inv_add(c.a, c.b);
        break;
    case CELL_TAKE:
        inv_remove(c.a, c.b);
        break;
    case CELL_SET_FLAG:
        if (flag_valid(c.a)) player_record.story_flags[c.a] = c.b;
        break;
    case CELL_AFFECTION:
        affection_add(c.a, c.b);
        break;
    case CELL_CHIVALRY:
        chivalry_add(c.a);
        break;
    case CELL_FAME:
        fame_add(c.a);
        break;
    case CELL_OBJ_ACTIVE:
        if (script_obj_valid(c.a)) attr_set(c.a, ATTR_ACTIVE, c.b);
        break;
    case CELL_VAR_B:
        attr_set(ctx.self, ATTR_VAR_B, c.a);
        break;
    case CELL_REMARK:
        if (script_obj_valid(c.a)) label_add(c.a, c.text, c.b, c.c, c.d);
        break;
    case CELL_UNLABEL:
        if (script_obj_valid(c.a)) label_remove(c.a);
        break;
    case CELL_FIGHT:
        if (c.battle == nullptr) break;
        cells_battle_result = battle_block(*c.battle);
        cells_battle_lost = battle_lost(cells_battle_result, c.battle->loss);
        break;
    case CELL_END_EPISODE:
        end_episode(c.a, c.b);
        break;
    case CELL_CALL:
        if (c.fn != nullptr) c.fn();
        break;
    case CELL_FLAG_ADD:
        if (flag_valid(c.a)) player_record.story_flags[c.a] += c.b;
        break;
    case CELL_ALBUM_ADD:
        album_add(c.a);
        break;
    case CELL_MOOD:
        mood_add(c.a);
        break;
    case CELL_STAMINA:
        stamina_add(c.a);
        break;
    case CELL_HP:
        hp_add(c.a);
        break;
    case CELL_MP:
        mp_add(c.a);
        break;
    case CELL_HEAL_FULL:
    case CELL_HEAL_PART:
        heal_list(c.heal, c.op == CELL_HEAL_FULL);
        break;
    case CELL_SOUND:
        mssw_play_sound(c.a, c.b);
        break;
    case CELL_MUSIC:
        if (c.c != 0) player_record.music_id = c.a;
        mssw_play_music(c.a, c.b);
        break;
    case CELL_WAIT:
        if (c.a > 0) wait_ms(u32(c.a));
        break;
    case CELL_OBJ_FRAME:
        if (script_obj_valid(c.a)) obj_set_frame(c.a, c.b);
        break;
    case CELL_OBJ_SHOW_FRAME:
        if (script_obj_valid(c.a)) obj_show_frame(c.a, c.b);
        break;
    case CELL_KNOWN_ADD:
        known_add(c.a, c.b);
        break;
    case CELL_ROSTER_HP_SHARE:
        if (person_valid(c.a) && c.b > 0) roster[c.a].hp = roster[c.a].hp_max / c.b;
        break;
    case CELL_ROSTER_HP:
        if (person_valid(c.a)) roster_hp_add(c.a, c.b);
        break;
    case CELL_SCENE:
        cues_run(c.cues);
        break;
    case CELL_PARTNER_TO:
        set_stage(ctx.partner, c.a);
        break;
    case CELL_PAIR_TO:
        set_stage(ctx.self, c.a);
        set_stage(ctx.partner, c.a);
        break;
    case CELL_PARK:
        if (script_obj_valid(c.a)) stage_park(c.a, c.b);
        break;
    case CELL_UNPARK:
        if (script_obj_valid(c.a)) stage_unpark(c.a);
        break;
    case CELL_DIALOGUE:
        if (c.dialogue != nullptr) dialogue_say(*c.dialogue, ctx);
        break;
    case CELL_OBJ_VAR_B:
        if (script_obj_valid(c.a)) attr_set(c.a, ATTR_VAR_B, c.b);
        break;
    default:
        break;
    }
}

// Dialogue tables whose actions speak further tables nest at most this deep (a table that names
// itself ends there instead of recursing for ever).
constexpr s32 DIALOGUE_DEPTH_MAX = 4;
s32 dialogue_depth = 0;

void dialogue_say(const Dialogue& d, const TalkContext& ctx) {
    if (dialogue_depth >= DIALOGUE_DEPTH_MAX) return;
    ++dialogue_depth;
    const size_t n = std::min(d.lines.size(), size_t(DIALOGUE_LINES_MAX));
    for (size_t i = 0; i < n; ++i) {
        const DialogueLine& l = d.lines[i];
        if (l.speaker >= 0 && size_t(l.speaker) < d.voices.size())
            speak(d.voices[size_t(l.speaker)], l.text, ctx);
        for (const DialogueAction& a : d.actions)
            if (a.after == s32(i)) cells_run(a.cells, ctx);
    }
    --dialogue_depth;
}

} // namespace

bool cond_holds(const Cond& c, s32 self) {
    return cond_plain(c, self) != c.negate;
}

bool cond_holds(const Cond& c) {
    return cond_holds(c, script_self());
}

s32 record_value(s32 field, s32 index) {
    const PlayerRecord& p = player_record;
    auto at = [index](const s32* values, s32 count) {
        return index >= 0 && index < count ? values[index] : 0;
    };
    switch (field) {
    case REC_ATTR:
        return at(p.attr, PLAYER_ATTRS);
    case REC_SKILL:
        return at(p.skill, PLAYER_SKILLS);
    case REC_SKILL_EXP:
        return at(p.skill_exp, PLAYER_SKILLS);
    case REC_AFFECTION:
        return at(p.affection, PLAYER_PEOPLE);
    case REC_MONEY:
        return p.money;
    case REC_FAME:
        return p.fame;
    case REC_CHIVALRY:
        return p.chivalry;
    case REC_STAMINA:
        return p.stamina;
    case REC_HP:
        return p.hp;
    case REC_HP_MAX:
        return p.hp_max;
    case REC_MP:
        return p.mp;
    case REC_MP_MAX:
        return p.mp_max;
    case REC_FATIGUE:
        return p.fatigue;
    case REC_FULLNESS:
        return p.fullness;
    case REC_SLEEP_NEED:
        return p.sleep_need;
    case REC_MOOD:
        return p.mood;
    default:
        return 0;
    }
}

void stage_park(s32 obj, s32 temporary) {
    if (!script_obj_valid(obj)) return;
    attr_set(obj, ATTR_VAR_B, attr_get(obj, ATTR_VAR_A));
    attr_set(obj, ATTR_VAR_A, temporary);
}

void stage_unpark(s32 obj) {
    if (!script_obj_valid(obj)) return;
    attr_set(obj, ATTR_VAR_A, attr_get(obj, ATTR_VAR_B));
}

s32 cell_text(const Cell& c, const TalkContext& ctx) {
    switch (c.form) {
    case TEXT_PLUS_RAND:
        return c.text + script_rand(c.a);
    case TEXT_PLUS_STAGE:
        return c.text + attr_get(ctx.self, ATTR_VAR_A);
    default:
        return c.text;
    }
}

void cells_run(std::span<const Cell> cells, const TalkContext& ctx) {
    Level stack[CELL_DEPTH_MAX];
    s32 depth = 0;
    auto running = [&] { return depth == 0 || stack[depth - 1].active; };
    auto push = [&](const Level& l) {
        if (depth < CELL_DEPTH_MAX) stack[depth++] = l;
    };
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        if (c.op == CELL_STAGE) return;
        Level* top = depth > 0 ? &stack[depth - 1] : nullptr;
        switch (c.op) {
        case CELL_IF: {
            const bool parent = running();
            const bool hit = parent && cond_holds(c.cond, ctx.self);
            push(Level{LEVEL_IF, parent, hit, hit});
            break;
        }
        case CELL_ELIF:
            if (top == nullptr) break;
            top->active = top->parent && !top->taken && cond_holds(c.cond, ctx.self);
            top->taken = top->taken || top->active;
            break;
        case CELL_ELSE:
            if (top == nullptr) break;
            top->active = top->parent && !top->taken;
            top->taken = true;
            break;
        case CELL_MENU:
        case CELL_CHOOSE: {
            const bool parent = running();
            Level l{LEVEL_MENU, parent, false};
            l.choice = parent ? ask(c, ctx) : -1;
            push(l);
            break;
        }
        case CELL_OPTION:
            if (top != nullptr && top->kind == LEVEL_MENU)
                top->active = top->parent && top->choice == c.a;
            break;
        case CELL_REPEAT: {
            const bool parent = running();
            Level l{LEVEL_REPEAT, parent, parent};
            l.start = i;
            push(l);
            break;
        }
        case CELL_BREAK:
            if (!running()) break;
            for (s32 k = depth - 1; k >= 0; --k) {
                stack[k].active = false;
                if (stack[k].kind == LEVEL_REPEAT) {
                    stack[k].broken = true;
                    break;
                }
            }
            break;
        case CELL_END:
            if (top == nullptr) break;
            if (top->kind == LEVEL_REPEAT && top->parent && !top->broken &&
                ++top->rounds < CELL_REPEAT_MAX) {
                top->active = true;
                i = top->start; // the loop's ++i goes on with the first cell inside
                break;
            }
            --depth;
            break;
        default:
            if (running()) act(c, ctx);
            break;
        }
    }
}

bool cells_run_stage(std::span<const Cell> cells, const TalkContext& ctx) {
    const s32 stage_now = attr_get(ctx.self, ATTR_VAR_A);
    size_t i = 0;
    while (i < cells.size()) {
        if (cells[i].op != CELL_STAGE) {
            ++i;
            continue;
        }
        bool hit = false;
        while (i < cells.size() && cells[i].op == CELL_STAGE) {
            hit = hit || in(stage_now, cells[i].a, cells[i].b);
            ++i;
        }
        if (hit) {
            cells_run(cells.subspan(i), ctx);
            return true;
        }
    }
    no_op();
    return false;
}

void talk_run(const TalkRow& row) {
    const s32 self = script_self();
    if (row.far > 0) {
        const bool far = row.far_x >= 0 ? too_far_guard_point(row.far_x, row.far_y, row.far)
                                        : too_far_guard(row.far);
        if (far) return;
    }
    if (row.clear & CLEAR_PLAYER) label_remove(0);
    if (row.clear & CLEAR_SELF) label_remove(self);
    const s32 kept = frame_keep(self);
    TalkContext ctx{self, {}, row.partner};
    const PosedTalk* pose = nullptr;
    for (const PosedTalk& p : row.poses)
        if (pose == nullptr && p.slot != 0 && posed_in(p.slot)) pose = &p;
    const PosedTalk single{row.posed_slot, row.posed_self, row.posed_player, row.posed_pos,
                           row.posed_faces};
    if (pose == nullptr && row.posed_slot != 0 && posed_in(row.posed_slot)) pose = &single;
    if (pose != nullptr) {
        ctx.turn = pose->faces ? face_player(self, row.frames)
                               : TalkTurn{pose->pos, mirror_position(pose->pos)};
        if (pose->self_frame != 0) obj_show_frame(self, pose->self_frame);
        if (pose->player_frame != 0) obj_show_frame(0, pose->player_frame);
    } else {
        if (row.first_turn >= 0 && script_obj_valid(row.first_turn))
            face_player(row.first_turn, row.first_turn_frames);
        ctx.turn = turn_to_talk_mode(row.turn, row.frames, row.fixed);
    }
    cells_run_stage(row.cells, ctx);
    if (row.end_frame != 0)
        obj_set_frame(self, row.end_frame);
    else if (row.keep_frame)
        frame_restore(self, kept);
    if (row.end_rearm > 0) attr_set(self, ATTR_TIMER, row.end_rearm);
}

void resident_run(const Resident& r) {
    if (r.idle_on && script_on(TRIG_TIMER)) idle_cycle(r.idle);
    if (script_on(TRIG_CLICK)) talk_run(r.talk);
}

void frames_of_resident(const FrameVisit& v, const Resident& r) {
    if (r.idle_on) frames_of_cycle(v, r.idle);
    if (r.talk.turn == TURN_BOTH) frames_of_turn(v, r.talk.frames);
}

void frames_of_pair(const FrameVisit& v, const PairTalk& p) {
    for (const PairMember& m : p.members) {
        if (m.idle_on) frames_of_cycle(v, m.idle);
        frames_of_turn(v, m.frames);
    }
}

void pair_run(const PairTalk& p, s32 which) {
    if (which < 0 || which > 1) return;
    const PairMember& me = p.members[size_t(which)];
    if (me.idle_on && script_on(TRIG_TIMER)) idle_cycle(me.idle);
    if (!script_on(TRIG_CLICK)) return;
    TalkRow row = p.talk;
    row.frames = me.frames;
    row.partner = p.members[size_t(1 - which)].obj;
    talk_run(row);
}

// ---- Slot rows -------------------------------------------------------------------------------

void run_resident_row(const ResidentRow& row) {
    resident_run(row.r);
}

void run_idle_row(const IdleRow& row) {
    if (script_on(TRIG_TIMER)) idle_cycle(row.idle);
}

void run_pair_row(const PairRow& row) {
    if (row.pair != nullptr) pair_run(*row.pair, row.which);
}
