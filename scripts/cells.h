// The cell interpreter: a resident's talk written as a table of cells in the notation of the
// resident tables, run by one interpreter.
//
// A talk is a flat array of cells. `stage(lo, hi)` cells open the block of the stages lo..hi
// (consecutive stage cells share one block); the click part runs the first block whose stages hold
// self's ATTR_VAR_A, up to the next stage cell, and a stage without a block does nothing
// (`no_op`). Inside a block the cells run in order:
//
//   S t            self's speech bubble            say_at(self, t)
//   P t            the player's box at the position of the turn     say(pos, 1000, t)
//   P(n, t)        the player's box at position n
//   N(k, t)        a box with portrait k at self's position (the mirror of pos); N(k, n, t) at n
//   B(o, t)        the bubble of another object
//   run(a, b, X, Y) texts a..b, one per box, speakers X and Y alternating from X
//   album(id, line) the line, then P 10968, only when album_has(id) is 1
//   to(n)           ATTR_VAR_A := n;  obj_to(o, n) for another object;  f(F) self's frame
//   menu(t0..)      the menu idiom; choice(t0..) a plain `choose`; option(k) opens the cells of
//                   option k; end() closes the menu
//   when(c) / orwhen(c) / otherwise() / end()       conditions
//   repeat() / leave() / end()                      a menu shown again until `leave`
//   buy(k), sell(k), teach(lesson), meet(person, bonus), money(n), give(item, n), take(item, n),
//   set_flag(flag, v), affection(person, n), chivalry(n), fame(n), show(o), hide(o), var_b(n),
//   remark(o, t, dx, dy, ms), unlabel(o), ranking(), call(fn)
//   fight(&block)   the kit's battle_block; when(lost()) branches on the block's loss rule
//   end_ep(flag, v) end_episode
//
// Lines may draw their text from a base: `.plus_rand(n)` says text + script_rand(n),
// `.plus_stage()` says text + self's stage.
//
// A resident row (`TalkRow`) adds the talk distance, the turn and the frame keeping around the
// cells; `Resident` pairs a talk with the idle cycle of its timer part.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"
#include "scripts/script_ids.h"

#include <array>
#include <span>

// ---- Speakers --------------------------------------------------------------------------------

enum SpeakerKind : s32 {
    SPK_SELF = 0,      // bubble of self
    SPK_OBJECT = 1,    // bubble of another object
    SPK_PLAYER = 2,    // portrait 1000 at the turn's position
    SPK_PLAYER_AT = 3, // portrait 1000 at a fixed position
    SPK_PERSON = 4,    // a portrait at self's position (the mirror of the turn's)
    SPK_PERSON_AT = 5, // a portrait at a fixed position
};
constexpr s32 PLAYER_PORTRAIT = 1000;
constexpr s32 TEXT_ALBUM_REPLY = 10968;

struct Speaker {
    s32 kind = SPK_SELF;
    s32 portrait = PLAYER_PORTRAIT;
    s32 position = 0;
    s32 obj = -1;
};
// The notation lives in namespace `cell`; a region file says `using namespace cell;` inside its own
// anonymous namespace.
namespace cell {
constexpr Speaker SELF{SPK_SELF};
constexpr Speaker PLAYER{SPK_PLAYER};
constexpr Speaker player_at(s32 position) {
    return Speaker{SPK_PLAYER_AT, PLAYER_PORTRAIT, position};
}
constexpr Speaker person(ImageId portrait) {
    return Speaker{SPK_PERSON, portrait.v};
}
constexpr Speaker person_at(ImageId portrait, s32 position) {
    return Speaker{SPK_PERSON_AT, portrait.v, position};
}
constexpr Speaker bubble_of(ObjId obj) {
    return Speaker{SPK_OBJECT, -1, 0, obj.v};
}
} // namespace cell

// ---- Conditions ------------------------------------------------------------------------------

enum CondKind : s32 {
    COND_ALWAYS = 0,
    COND_FLAG_EQ,     // story flag a == b
    COND_FLAG_RANGE,  // story flag a in b..c
    COND_ITEM,        // inv_has(a)
    COND_KNOWN,       // known_has(a, b)
    COND_ALBUM,       // album_has(a)
    COND_ACQUAINTED,  // acquaint_has(a)
    COND_STAGE_RANGE, // ATTR_VAR_A of object a in b..c
    COND_ACTIVE,      // ATTR_ACTIVE of object a == 1
    COND_VAR_B_EQ,    // ATTR_VAR_B of object a == b
    COND_POSED,       // object 0's ATTR_EVENT == a while its timer is on
    COND_MONEY_FROM,  // money >= a
    COND_AFFECTION,   // affection of person a in b..c
    COND_SKILL_BELOW, // skill a < b
    COND_HOUR_RANGE,  // world_state.hour in a..b
    COND_MAP,         // world_state.current_map == a
    COND_TEST,        // test() returns true
    COND_LOST,        // the talk's last `fight` counted as lost by its loss rule
};
struct Cond {
    s32 kind = COND_ALWAYS;
    s32 a = 0, b = 0, c = 0;
    bool (*test)() = nullptr;
    bool negate = false;
};
namespace cell {
constexpr Cond operator!(Cond c) {
    c.negate = !c.negate;
    return c;
}
constexpr Cond flag_is(FlagId f, s32 v) {
    return Cond{COND_FLAG_EQ, f.v, v};
}
constexpr Cond flag_in(FlagId f, s32 lo, s32 hi) {
    return Cond{COND_FLAG_RANGE, f.v, lo, hi};
}
constexpr Cond has_item(ItemId i) {
    return Cond{COND_ITEM, i.v};
}
constexpr Cond knows(s32 list, s32 id) {
    return Cond{COND_KNOWN, list, id};
}
constexpr Cond album_is(s32 id) {
    return Cond{COND_ALBUM, id};
}
constexpr Cond acquainted(PersonId p) {
    return Cond{COND_ACQUAINTED, p.v};
}
constexpr Cond stage_of(ObjId o, s32 lo, s32 hi) {
    return Cond{COND_STAGE_RANGE, o.v, lo, hi};
}
constexpr Cond is_active(ObjId o) {
    return Cond{COND_ACTIVE, o.v};
}
constexpr Cond var_b_of(ObjId o, s32 v) {
    return Cond{COND_VAR_B_EQ, o.v, v};
}
constexpr Cond posed(SlotId s) {
    return Cond{COND_POSED, s.v};
}
constexpr Cond money_from(s32 amount) {
    return Cond{COND_MONEY_FROM, amount};
}
constexpr Cond affection_in(PersonId p, s32 lo, s32 hi) {
    return Cond{COND_AFFECTION, p.v, lo, hi};
}
constexpr Cond skill_below(s32 skill, s32 n) {
    return Cond{COND_SKILL_BELOW, skill, n};
}
constexpr Cond hour_in(s32 lo, s32 hi) {
    return Cond{COND_HOUR_RANGE, lo, hi};
}
constexpr Cond on_map(MapId m) {
    return Cond{COND_MAP, m.v};
}
constexpr Cond test(bool (*fn)()) {
    return Cond{COND_TEST, 0, 0, 0, fn};
}
constexpr Cond lost() {
    return Cond{COND_LOST};
}
} // namespace cell
bool cond_holds(const Cond& c);

// ---- Cells -----------------------------------------------------------------------------------

enum CellOp : s32 {
    CELL_STAGE = 0,
    CELL_LINE,
    CELL_RUN,
    CELL_ALBUM_LINE,
    CELL_TO,
    CELL_OBJ_TO,
    CELL_FRAME,
    CELL_MENU,
    CELL_CHOOSE,
    CELL_OPTION,
    CELL_IF,
    CELL_ELIF,
    CELL_ELSE,
    CELL_REPEAT,
    CELL_BREAK,
    CELL_END,
    CELL_BUY,
    CELL_SELL,
    CELL_RANKING,
    CELL_LESSON,
    CELL_MEETING,
    CELL_MONEY,
    CELL_GIVE,
    CELL_TAKE,
    CELL_SET_FLAG,
    CELL_AFFECTION,
    CELL_CHIVALRY,
    CELL_FAME,
    CELL_OBJ_ACTIVE,
    CELL_VAR_B,
    CELL_REMARK,
    CELL_UNLABEL,
    CELL_FIGHT,
    CELL_END_EPISODE,
    CELL_CALL,
};
// How a line's text is formed from its base.
enum TextForm : s32 { TEXT_AS_IS = 0, TEXT_PLUS_RAND = 1, TEXT_PLUS_STAGE = 2 };

struct Cell {
    s32 op = CELL_LINE;
    Speaker who{};
    Speaker second{};
    s32 text = 0; // a line's text, the first of a run
    s32 last = 0; // the last of a run
    s32 form = TEXT_AS_IS;
    s32 a = 0, b = 0, c = 0, d = 0, e = 0; // by op
    std::array<s32, 6> options{-1, -1, -1, -1, -1, -1};
    Cond cond{};
    Lesson teach{};
    const BattleBlock* battle = nullptr;
    void (*fn)() = nullptr;

    // The line's text is text + script_rand(n).
    constexpr Cell plus_rand(s32 n) const {
        Cell c = *this;
        c.form = TEXT_PLUS_RAND;
        c.a = n;
        return c;
    }
    // The line's text is text + self's stage.
    constexpr Cell plus_stage() const {
        Cell c = *this;
        c.form = TEXT_PLUS_STAGE;
        return c;
    }
};

namespace cell {
constexpr Cell stage(s32 lo, s32 hi) {
    Cell c;
    c.op = CELL_STAGE;
    c.a = lo;
    c.b = hi;
    return c;
}
constexpr Cell stage(s32 n) {
    return stage(n, n);
}
constexpr Cell line(Speaker who, TextId t) {
    Cell c;
    c.op = CELL_LINE;
    c.who = who;
    c.text = t.v;
    return c;
}
constexpr Cell S(TextId t) {
    return line(SELF, t);
}
constexpr Cell P(TextId t) {
    return line(PLAYER, t);
}
constexpr Cell P(s32 position, TextId t) {
    return line(player_at(position), t);
}
constexpr Cell N(ImageId portrait, TextId t) {
    return line(person(portrait), t);
}
constexpr Cell N(ImageId portrait, s32 position, TextId t) {
    return line(person_at(portrait, position), t);
}
constexpr Cell B(ObjId obj, TextId t) {
    return line(bubble_of(obj), t);
}
constexpr Cell run(TextId first, TextId last, Speaker a, Speaker b) {
    Cell c;
    c.op = CELL_RUN;
    c.text = first.v;
    c.last = last.v;
    c.who = a;
    c.second = b;
    return c;
}
constexpr Cell album(s32 id, Cell said) {
    said.op = CELL_ALBUM_LINE;
    said.b = id;
    return said;
}
constexpr Cell to(s32 stage_value) {
    Cell c;
    c.op = CELL_TO;
    c.a = stage_value;
    return c;
}
constexpr Cell obj_to(ObjId obj, s32 stage_value) {
    Cell c;
    c.op = CELL_OBJ_TO;
    c.a = obj.v;
    c.b = stage_value;
    return c;
}
constexpr Cell f(FrameId frame) {
    Cell c;
    c.op = CELL_FRAME;
    c.a = frame.v;
    return c;
}
namespace cells_detail {
constexpr Cell options(s32 op, std::array<TextId, 6> t) {
    Cell c;
    c.op = op;
    for (size_t i = 0; i < t.size(); ++i) c.options[i] = t[i].v;
    return c;
}
constexpr TextId ABSENT{-1};
} // namespace cells_detail
constexpr Cell menu(TextId t0, TextId t1 = cells_detail::ABSENT, TextId t2 = cells_detail::ABSENT,
                    TextId t3 = cells_detail::ABSENT, TextId t4 = cells_detail::ABSENT,
                    TextId t5 = cells_detail::ABSENT) {
    return cells_detail::options(CELL_MENU, {t0, t1, t2, t3, t4, t5});
}
constexpr Cell choice(TextId t0, TextId t1 = cells_detail::ABSENT, TextId t2 = cells_detail::ABSENT,
                      TextId t3 = cells_detail::ABSENT, TextId t4 = cells_detail::ABSENT,
                      TextId t5 = cells_detail::ABSENT) {
    return cells_detail::options(CELL_CHOOSE, {t0, t1, t2, t3, t4, t5});
}
constexpr Cell option(s32 index) {
    Cell c;
    c.op = CELL_OPTION;
    c.a = index;
    return c;
}
constexpr Cell when(Cond cond) {
    Cell c;
    c.op = CELL_IF;
    c.cond = cond;
    return c;
}
constexpr Cell orwhen(Cond cond) {
    Cell c;
    c.op = CELL_ELIF;
    c.cond = cond;
    return c;
}
constexpr Cell otherwise() {
    Cell c;
    c.op = CELL_ELSE;
    return c;
}
constexpr Cell repeat() {
    Cell c;
    c.op = CELL_REPEAT;
    return c;
}
constexpr Cell leave() {
    Cell c;
    c.op = CELL_BREAK;
    return c;
}
constexpr Cell end() {
    Cell c;
    c.op = CELL_END;
    return c;
}
constexpr Cell op_value(s32 op, s32 a, s32 b = 0) {
    Cell c;
    c.op = op;
    c.a = a;
    c.b = b;
    return c;
}
constexpr Cell buy(ShopId s) {
    return op_value(CELL_BUY, s.v);
}
constexpr Cell sell(ShopId s) {
    return op_value(CELL_SELL, s.v);
}
constexpr Cell ranking() {
    return op_value(CELL_RANKING, 0);
}
constexpr Cell teach(Lesson l) {
    Cell c;
    c.op = CELL_LESSON;
    c.teach = l;
    return c;
}
constexpr Cell meet(PersonId p, s32 bonus) {
    return op_value(CELL_MEETING, p.v, bonus);
}
constexpr Cell money(s32 n) {
    return op_value(CELL_MONEY, n);
}
constexpr Cell give(ItemId item, s32 n) {
    return op_value(CELL_GIVE, item.v, n);
}
constexpr Cell take(ItemId item, s32 n) {
    return op_value(CELL_TAKE, item.v, n);
}
constexpr Cell set_flag(FlagId flag, s32 v) {
    return op_value(CELL_SET_FLAG, flag.v, v);
}
constexpr Cell affection(PersonId p, s32 n) {
    return op_value(CELL_AFFECTION, p.v, n);
}
constexpr Cell chivalry(s32 n) {
    return op_value(CELL_CHIVALRY, n);
}
constexpr Cell fame(s32 n) {
    return op_value(CELL_FAME, n);
}
constexpr Cell show(ObjId o) {
    return op_value(CELL_OBJ_ACTIVE, o.v, 1);
}
constexpr Cell hide(ObjId o) {
    return op_value(CELL_OBJ_ACTIVE, o.v, 0);
}
constexpr Cell var_b(s32 v) {
    return op_value(CELL_VAR_B, v);
}
constexpr Cell remark(ObjId o, TextId t, s32 dx, s32 dy, s32 ms) {
    Cell c;
    c.op = CELL_REMARK;
    c.a = o.v;
    c.text = t.v;
    c.b = dx;
    c.c = dy;
    c.d = ms;
    return c;
}
constexpr Cell unlabel(ObjId o) {
    return op_value(CELL_UNLABEL, o.v);
}
// A battle by the kit's `battle_block`; `when(lost())` then branches on its loss rule.
constexpr Cell fight(const BattleBlock* b) {
    Cell c;
    c.op = CELL_FIGHT;
    c.battle = b;
    return c;
}
constexpr Cell end_ep(FlagId flag, s32 value) {
    return op_value(CELL_END_EPISODE, flag.v, value);
}
constexpr Cell call(void (*fn)()) {
    Cell c;
    c.op = CELL_CALL;
    c.fn = fn;
    return c;
}
} // namespace cell

// A menu shown again and again while a `repeat` block runs has this many rounds at most: a table
// that forgets its `leave` cannot hang the game.
constexpr s32 CELL_REPEAT_MAX = 256;
// Nesting of conditions, menus and repeats.
constexpr s32 CELL_DEPTH_MAX = 8;

// The result of the last `fight` cell (-1 before any) and whether its rule counted it lost.
extern s32 cells_battle_result;
extern bool cells_battle_lost;

// Where the boxes of a talk go (from the turn) and whose talk it is.
struct TalkContext {
    s32 self = 0;
    TalkTurn turn{};
};
// The text a line says (its base with its form applied).
s32 cell_text(const Cell& c, const TalkContext& ctx);
// Runs the block of self's stage; returns false when no block holds the stage (`no_op` called).
bool cells_run_stage(std::span<const Cell> cells, const TalkContext& ctx);
// Runs cells in order as one block (stage cells end it).
void cells_run(std::span<const Cell> cells, const TalkContext& ctx);

// ---- Resident rows ---------------------------------------------------------------------------

enum LabelClear : s32 {
    CLEAR_NONE = 0,
    CLEAR_PLAYER = 1, // label_remove(0)
    CLEAR_SELF = 2,   // label_remove(self)
    CLEAR_BOTH = 3,
};
// The click part of a resident.
struct TalkRow {
    s32 far = 0;               // too_far_guard distance; 0: none
    s32 far_x = -1, far_y = 0; // far_x >= 0: the distance is taken from this point
    s32 clear = CLEAR_NONE;
    TurnMode turn = TURN_BOTH;
    TurnFrames frames{};
    TalkTurn fixed{}; // the positions when self does not turn
    // While the player holds pose slot `posed_slot` (0: none) nobody turns: self shows
    // `posed_self` and the player `posed_player` (0: unchanged), and the player's box goes to
    // `posed_pos` (self's to its mirror).
    s32 posed_slot = 0;
    s32 posed_self = 0, posed_player = 0;
    s32 posed_pos = 2;
    // With `posed_faces` self still turns toward the posed player (who does not turn) and the
    // boxes take the positions of that turn; `posed_self` is shown afterwards.
    bool posed_faces = false;
    bool keep_frame = true; // the frame from before the click is shown again afterwards
    s32 end_frame = 0;      // instead: this frame afterwards (0: none)
    s32 end_rearm = 0;      // and ATTR_TIMER := this (0: untouched)
    std::span<const Cell> cells{};
};
// The click part: guard, clean-up, turn, frame keeping and the block of self's stage.
void talk_run(const TalkRow& row);

// A resident: its timer part (an idle cycle, when `idle_on`) followed by its click part.
struct Resident {
    bool idle_on = false;
    IdleCycle idle{};
    TalkRow talk{};
};
void resident_run(const Resident& r);
