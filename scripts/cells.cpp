#include "scripts/cells.h"

#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/makers.h"
#include "game/player.h"
#include "scripts/script_seams.h"

s32 cells_battle_result = -1;
bool cells_battle_lost = false;

namespace {

bool flag_valid(s32 flag) {
    return flag >= 0 && flag < STORY_FLAGS;
}
bool in(s32 v, s32 lo, s32 hi) {
    return v >= lo && v <= hi;
}

bool cond_plain(const Cond& c) {
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
void speak(const Speaker& who, s32 text, const TalkContext& ctx) {
    switch (who.kind) {
    case SPK_SELF:
        say_at(ctx.self, text);
        break;
    case SPK_OBJECT:
        if (script_obj_valid(who.obj)) say_at(who.obj, text);
        break;
    case SPK_PLAYER:
        say(ctx.turn.pos, PLAYER_PORTRAIT, text);
        break;
    case SPK_PLAYER_AT:
        say(who.position, PLAYER_PORTRAIT, text);
        break;
    case SPK_PERSON:
        say(ctx.turn.other, who.portrait, text);
        break;
    case SPK_PERSON_AT:
        say(who.position, who.portrait, text);
        break;
    default:
        break;
    }
}

s32 ask(const Cell& c, const TalkContext& ctx) {
    const auto& o = c.options;
    if (c.op == CELL_MENU)
        return menu_choice(ctx.turn.pos, PLAYER_PORTRAIT, o[0], o[1], o[2], o[3], o[4], o[5]);
    return choose(ctx.turn.pos, PLAYER_PORTRAIT, o[0], o[1], o[2], o[3], o[4], o[5]);
}

// The cells that act by themselves (lines and effects).
void act(const Cell& c, const TalkContext& ctx) {
    switch (c.op) {
    case CELL_LINE:
        speak(c.who, cell_text(c, ctx), ctx);
        break;
    case CELL_RUN:
        for (s32 t = c.text; t <= c.last; ++t)
            speak((t - c.text) % 2 == 0 ? c.who : c.second, t, ctx);
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
    default:
        break;
    }
}

} // namespace

bool cond_holds(const Cond& c) {
    return cond_plain(c) != c.negate;
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
            const bool hit = parent && cond_holds(c.cond);
            push(Level{LEVEL_IF, parent, hit, hit});
            break;
        }
        case CELL_ELIF:
            if (top == nullptr) break;
            top->active = top->parent && !top->taken && cond_holds(c.cond);
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
    TalkContext ctx{self, {}};
    if (row.posed_slot != 0 && posed_in(row.posed_slot)) {
        ctx.turn = row.posed_faces ? face_player(self, row.frames)
                                   : TalkTurn{row.posed_pos, mirror_position(row.posed_pos)};
        if (row.posed_self != 0) obj_show_frame(self, row.posed_self);
        if (row.posed_player != 0) obj_show_frame(0, row.posed_player);
    } else {
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
