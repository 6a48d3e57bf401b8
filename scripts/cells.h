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
//   flag_add(F, n), album_entry(id), mood(n), stamina(n), hp(n), mp(n), full_heal(list),
//   part_heal(list), learn(list, id) (known_add), roster_hp(person, n), roster_hp_share(person, n)
//   (hp := hp max / n), play_sound(id), play_music(id, loops, kept), wait(ms), frame_of(o, F),
//   show_frame_of(o, F), var_b_to(o, v), scene(cues) (cues_run)
//   menu_at(pos, portrait, t0..) / choice_at(...)  a menu or choice at a fixed place
//   run_by_parity(a, b, E, O)  texts a..b, t said by E when t is even, else by O
//   dialogue(&table)  a table of {speaker, text} lines with cells run after given lines
//   pair_to(n), partner_to(n)  pair talk (`PairTalk`): both stages, the other one's stage
//   park(o, n), unpark(o)      stage parking in ATTR_VAR_B
//   conditions: chance(k, n), record_in / record_from / attr_from (player record fields),
//   has_count(item, n), knows_level(list, id, level), minute_in(lo, hi), my_stage(lo, hi),
//   my_var_b(v), clicked(o), besides flags, items, stages, money, affection, hours and maps
//
// Every table is followed by `static_assert(cells_valid(TABLE));`, and runs are bounded: a run
// of more than CELL_RUN_MAX lines, or one that goes downwards, says nothing.
//
// Lines may draw their text from a base: `.plus_rand(n)` says text + script_rand(n),
// `.plus_stage()` says text + self's stage.
//
// A resident row (`TalkRow`) adds the talk distance, the turn and the frame keeping around the
// cells; `Resident` pairs a talk with the idle cycle of its timer part.
#pragma once
#include "engine/types.h"
#include "scripts/cues.h"
#include "scripts/kit.h"
#include "scripts/script_ids.h"

#include <array>
#include <limits>
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
    COND_RAND_BELOW,  // script_rand(a) < b (one draw each time the condition is asked)
    COND_RECORD,      // player record field a (index b) in c..d
    COND_ITEM_COUNT,  // inv_has_count(a, b)
    COND_KNOWN_LEVEL, // known_has_level(a, b, c)
    COND_MINUTE,      // world_state.minute in a..b
    COND_SELF_STAGE,  // ATTR_VAR_A of self in a..b
    COND_SELF_VAR_B,  // ATTR_VAR_B of self in a..b
    COND_SELF_IS,     // self is object a (the clicked one of a pair)
};
// The fields of the player record that a condition reads; the indexed ones take an index.
enum RecordField : s32 {
    REC_ATTR = 0,  // attr[i], 0..5
    REC_SKILL,     // skill[i], 0..24
    REC_SKILL_EXP, // skill_exp[i], 0..24
    REC_AFFECTION, // affection[i], a person
    REC_MONEY,
    REC_FAME,
    REC_CHIVALRY,
    REC_STAMINA,
    REC_HP,
    REC_HP_MAX,
    REC_MP,
    REC_MP_MAX,
    REC_FATIGUE,
    REC_FULLNESS,
    REC_SLEEP_NEED,
    REC_MOOD,
    REC_FIELDS,
};
struct Cond {
    s32 kind = COND_ALWAYS;
    s32 a = 0, b = 0, c = 0;
    bool (*test)() = nullptr;
    bool negate = false;
    s32 d = 0;
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
// True with chance k in n: script_rand(n) < k.
constexpr Cond chance(s32 k, s32 n) {
    return Cond{COND_RAND_BELOW, n, k};
}
constexpr s32 RECORD_TOP = 0x7fffffff;
// A field of the player record in lo..hi; `index` for attr, skill, skill_exp and affection.
constexpr Cond record_in(s32 field, s32 index, s32 lo, s32 hi) {
    return Cond{.kind = COND_RECORD,
                .a = field,
                .b = index,
                .c = lo,
                .test = nullptr,
                .negate = false,
                .d = hi};
}
constexpr Cond record_from(s32 field, s32 index, s32 at_least) {
    return record_in(field, index, at_least, RECORD_TOP);
}
constexpr Cond record_from(s32 field, s32 at_least) {
    return record_from(field, 0, at_least);
}
constexpr Cond attr_from(s32 i, s32 at_least) {
    return record_from(REC_ATTR, i, at_least);
}
constexpr Cond has_count(ItemId i, s32 n) {
    return Cond{COND_ITEM_COUNT, i.v, n};
}
constexpr Cond knows_level(s32 list, s32 id, s32 level) {
    return Cond{COND_KNOWN_LEVEL, list, id, level};
}
constexpr Cond minute_in(s32 lo, s32 hi) {
    return Cond{COND_MINUTE, lo, hi};
}
constexpr Cond my_stage(s32 lo, s32 hi) {
    return Cond{COND_SELF_STAGE, lo, hi};
}
constexpr Cond my_var_b(s32 v) {
    return Cond{COND_SELF_VAR_B, v, v};
}
constexpr Cond my_var_b_in(s32 lo, s32 hi) {
    return Cond{COND_SELF_VAR_B, lo, hi};
}
constexpr Cond clicked(ObjId o) {
    return Cond{COND_SELF_IS, o.v};
}
} // namespace cell
// Whether the condition holds for the talk of object `self` (script_self() when not given).
bool cond_holds(const Cond& c, s32 self);
bool cond_holds(const Cond& c);
// The value of a record field (0 for a field or index out of range).
s32 record_value(s32 field, s32 index);

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
    CELL_RUN_PARITY,
    CELL_FLAG_ADD,
    CELL_ALBUM_ADD,
    CELL_MOOD,
    CELL_STAMINA,
    CELL_HP,
    CELL_MP,
    CELL_HEAL_FULL,
    CELL_HEAL_PART,
    CELL_SOUND,
    CELL_MUSIC,
    CELL_WAIT,
    CELL_OBJ_FRAME,
    CELL_OBJ_SHOW_FRAME,
    CELL_KNOWN_ADD,
    CELL_ROSTER_HP_SHARE,
    CELL_ROSTER_HP,
    CELL_SCENE,
    CELL_PARTNER_TO,
    CELL_PAIR_TO,
    CELL_PARK,
    CELL_UNPARK,
    CELL_DIALOGUE,
    CELL_OBJ_VAR_B,
};
struct Dialogue;
// A run says at most this many lines; a run that is reversed or longer says nothing (a mistyped
// last text must not flood the screen with boxes).
constexpr s32 CELL_RUN_MAX = LINE_RUN_MAX;

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
    HealList heal{};
    std::span<const Cue> cues{};
    const Dialogue* dialogue = nullptr;

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
// Texts first..last, one per box: text t is said by `even` when t is even, else by `odd`.
constexpr Cell run_by_parity(TextId first, TextId last, Speaker even, Speaker odd) {
    Cell c = run(first, last, even, odd);
    c.op = CELL_RUN_PARITY;
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
// The same at a fixed position with a fixed portrait: `choice_at(2, 1000_img, ...)` is
// choose(2, 1000, ...).
constexpr Cell menu_at(s32 position, ImageId portrait, TextId t0, TextId t1 = cells_detail::ABSENT,
                       TextId t2 = cells_detail::ABSENT, TextId t3 = cells_detail::ABSENT,
                       TextId t4 = cells_detail::ABSENT, TextId t5 = cells_detail::ABSENT) {
    Cell c = cells_detail::options(CELL_MENU, {t0, t1, t2, t3, t4, t5});
    c.a = position;
    c.b = portrait.v;
    c.c = 1;
    return c;
}
constexpr Cell choice_at(s32 position, ImageId portrait, TextId t0,
                         TextId t1 = cells_detail::ABSENT, TextId t2 = cells_detail::ABSENT,
                         TextId t3 = cells_detail::ABSENT, TextId t4 = cells_detail::ABSENT,
                         TextId t5 = cells_detail::ABSENT) {
    Cell c = menu_at(position, portrait, t0, t1, t2, t3, t4, t5);
    c.op = CELL_CHOOSE;
    return c;
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
// ATTR_VAR_B of another object := v
constexpr Cell var_b_to(ObjId o, s32 v) {
    return op_value(CELL_OBJ_VAR_B, o.v, v);
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
// story flag += n
constexpr Cell flag_add(FlagId flag, s32 n) {
    return op_value(CELL_FLAG_ADD, flag.v, n);
}
// album_add(id)
constexpr Cell album_entry(s32 id) {
    return op_value(CELL_ALBUM_ADD, id);
}
// mood_add(n): a positive n improves the mood
constexpr Cell mood(s32 n) {
    return op_value(CELL_MOOD, n);
}
constexpr Cell stamina(s32 n) {
    return op_value(CELL_STAMINA, n);
}
constexpr Cell hp(s32 n) {
    return op_value(CELL_HP, n);
}
constexpr Cell mp(s32 n) {
    return op_value(CELL_MP, n);
}
// heal_full / heal_part of a heal list
constexpr Cell full_heal(HealList l) {
    Cell c;
    c.op = CELL_HEAL_FULL;
    c.heal = l;
    return c;
}
constexpr Cell part_heal(HealList l) {
    Cell c = full_heal(l);
    c.op = CELL_HEAL_PART;
    return c;
}
// mssw_play_sound(id, loops)
constexpr Cell play_sound(s32 id, s32 loops = 0) {
    return op_value(CELL_SOUND, id, loops);
}
// mssw_play_music(id, loops); with `kept` the record's music_id := id first
constexpr Cell play_music(s32 id, s32 loops = 0, bool kept = false) {
    Cell c = op_value(CELL_MUSIC, id, loops);
    c.c = kept ? 1 : 0;
    return c;
}
constexpr Cell wait(s32 ms) {
    return op_value(CELL_WAIT, ms);
}
// obj_set_frame / obj_show_frame of another object
constexpr Cell frame_of(ObjId o, FrameId frame) {
    return op_value(CELL_OBJ_FRAME, o.v, frame.v);
}
constexpr Cell show_frame_of(ObjId o, FrameId frame) {
    return op_value(CELL_OBJ_SHOW_FRAME, o.v, frame.v);
}
// known_add(list, id): the entry without experience
constexpr Cell learn(s32 list, s32 id) {
    return op_value(CELL_KNOWN_ADD, list, id);
}
// The roster character's hp := its hp max / n (integer division; n above 0)
constexpr Cell roster_hp_share(PersonId p, s32 n) {
    return op_value(CELL_ROSTER_HP_SHARE, p.v, n);
}
// roster_hp_add(person, n)
constexpr Cell roster_hp(PersonId p, s32 n) {
    return op_value(CELL_ROSTER_HP, p.v, n);
}
// Plays a scene table (cues_run).
constexpr Cell scene(std::span<const Cue> cues) {
    Cell c;
    c.op = CELL_SCENE;
    c.cues = cues;
    return c;
}
// Pair talk: the other object of the pair to a stage; both objects to a stage.
constexpr Cell partner_to(s32 stage_value) {
    return op_value(CELL_PARTNER_TO, stage_value);
}
constexpr Cell pair_to(s32 stage_value) {
    return op_value(CELL_PAIR_TO, stage_value);
}
// Stage parking: o's stage is saved in its ATTR_VAR_B and o takes stage `temporary`;
// `unpark(o)` gives o the saved stage back.
constexpr Cell park(ObjId o, s32 temporary) {
    return op_value(CELL_PARK, o.v, temporary);
}
constexpr Cell unpark(ObjId o) {
    return op_value(CELL_UNPARK, o.v);
}
// Speaks a dialogue table (below).
constexpr Cell dialogue(const Dialogue* d) {
    Cell c;
    c.op = CELL_DIALOGUE;
    c.dialogue = d;
    return c;
}
} // namespace cell

// ---- Dialogue tables -------------------------------------------------------------------------

// One line of a dialogue table: the speaker's index into the table's voices and the text.
struct DialogueLine {
    s32 speaker = 0;
    s32 text = 0;
};
// Cells run after line `after` (0 the first line) has been said.
struct DialogueAction {
    s32 after = 0;
    std::span<const Cell> cells{};
};
// The lines are said in order; each action runs after its line, in table order.
struct Dialogue {
    std::span<const Speaker> voices{};
    std::span<const DialogueLine> lines{};
    std::span<const DialogueAction> actions{};
};
// The longest dialogue table.
constexpr s32 DIALOGUE_LINES_MAX = 256;
constexpr bool cells_valid(std::span<const Cell> cells);
// Every speaker index names a voice, every action follows a line, and every action's cells are
// valid.
constexpr bool dialogue_valid(const Dialogue& d) {
    if (d.lines.size() > size_t(DIALOGUE_LINES_MAX)) return false;
    for (const DialogueLine& l : d.lines)
        if (l.speaker < 0 || size_t(l.speaker) >= d.voices.size()) return false;
    for (const DialogueAction& a : d.actions) {
        if (a.after < 0 || size_t(a.after) >= d.lines.size()) return false;
        if (!cells_valid(a.cells)) return false;
    }
    return true;
}

// ---- Stage parking ---------------------------------------------------------------------------

// obj's ATTR_VAR_B := its stage, then its stage := temporary.
void stage_park(s32 obj, s32 temporary);
// obj's stage := its ATTR_VAR_B (the parked stage).
void stage_unpark(s32 obj);

// A menu shown again and again while a `repeat` block runs has this many rounds at most: a table
// that forgets its `leave` cannot hang the game.
constexpr s32 CELL_REPEAT_MAX = 256;
// Nesting of conditions, menus and repeats.
constexpr s32 CELL_DEPTH_MAX = 8;

// Whether a cell table is well formed, for `static_assert(cells_valid(TABLE))` after each table:
// in a table of stages the first cell is a stage; every when, menu, choice and repeat is closed
// by its end within its stage block; orwhen and
// otherwise stand in a when, option(k) in a menu or choice that has option k, leave in a repeat;
// a menu's first cell is an option or its end; no stage block is empty and its stages run
// upwards; every run goes upwards and says at most CELL_RUN_MAX lines; nesting stays within
// CELL_DEPTH_MAX; and a dialogue cell's table is valid.
constexpr bool cells_valid(std::span<const Cell> cells) {
    struct Open {
        s32 op = CELL_IF;
        s32 options = 0;
        bool otherwise_seen = false;
    };
    Open open[CELL_DEPTH_MAX]{};
    s32 depth = 0;
    bool stage_pending = false; // a stage cell is waiting for its first cell
    bool staged = false;
    for (const Cell& c : cells) staged = staged || c.op == CELL_STAGE;
    // In a table of stages the cells before the first stage never run.
    if (staged && cells.front().op != CELL_STAGE) return false;
    for (size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        Open* top = depth > 0 ? &open[depth - 1] : nullptr;
        if (top != nullptr && (top->op == CELL_MENU || top->op == CELL_CHOOSE) && i > 0 &&
            (cells[i - 1].op == CELL_MENU || cells[i - 1].op == CELL_CHOOSE) &&
            c.op != CELL_OPTION && c.op != CELL_END)
            return false; // cells nobody reaches between a menu and its first option
        switch (c.op) {
        case CELL_STAGE:
            if (depth != 0 || c.a > c.b) return false;
            stage_pending = true;
            continue;
        case CELL_IF:
        case CELL_MENU:
        case CELL_CHOOSE:
        case CELL_REPEAT: {
            if (depth == CELL_DEPTH_MAX) return false;
            s32 n = 0;
            if (c.op == CELL_MENU || c.op == CELL_CHOOSE) {
                while (n < s32(c.options.size()) && c.options[size_t(n)] >= 0) ++n;
                if (n == 0) return false;
                for (s32 k = n; k < s32(c.options.size()); ++k)
                    if (c.options[size_t(k)] >= 0) return false; // a gap in the options
            }
            open[depth++] = Open{c.op, n, false};
            break;
        }
        case CELL_ELIF:
        case CELL_ELSE:
            if (top == nullptr || top->op != CELL_IF || top->otherwise_seen) return false;
            top->otherwise_seen = c.op == CELL_ELSE;
            break;
        case CELL_OPTION:
            if (top == nullptr || (top->op != CELL_MENU && top->op != CELL_CHOOSE)) return false;
            if (c.a < 0 || c.a >= top->options) return false;
            break;
        case CELL_BREAK: {
            bool in_repeat = false;
            for (s32 k = 0; k < depth; ++k) in_repeat = in_repeat || open[k].op == CELL_REPEAT;
            if (!in_repeat) return false;
            break;
        }
        case CELL_END:
            if (depth == 0) return false;
            --depth;
            break;
        case CELL_RUN:
        case CELL_RUN_PARITY:
            if (c.last < c.text || c.last - c.text >= CELL_RUN_MAX) return false;
            break;
        case CELL_DIALOGUE:
            if (c.dialogue == nullptr || !dialogue_valid(*c.dialogue)) return false;
            break;
        default:
            break;
        }
        stage_pending = false;
    }
    return depth == 0 && !stage_pending;
}

// The result of the last `fight` cell (-1 before any) and whether its rule counted it lost.
extern s32 cells_battle_result;
extern bool cells_battle_lost;

// Where the boxes of a talk go (from the turn) and whose talk it is; `partner` is the other
// object of a pair (-1: none).
struct TalkContext {
    s32 self = 0;
    TalkTurn turn{};
    s32 partner = -1;
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
// A pose in which the player is talked to: while the player holds pose slot `slot` nobody turns
// (unless `faces`), self shows `self_frame` and the player `player_frame` (0: unchanged), and
// the player's box goes to `pos` (self's to its mirror).
struct PosedTalk {
    s32 slot = 0;
    s32 self_frame = 0, player_frame = 0;
    s32 pos = 2;
    bool faces = false;
};
constexpr s32 POSED_TALKS = 3;
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
    // Further poses, each like `posed_slot` above (slot 0: an unused entry); the first one the
    // player holds is taken, before `posed_slot`.
    std::array<PosedTalk, POSED_TALKS> poses{};
    s32 partner = -1; // the other object of a pair (`partner_to`, `pair_to`)
    // Another object that turns toward the player (only it) before the turn, so that two
    // persons face the player (-1: none).
    s32 first_turn = -1;
    TurnFrames first_turn_frames{};
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

// ---- Pair talk -------------------------------------------------------------------------------

// One person of a pair: its object, its turn frames and its idle cycle.
struct PairMember {
    s32 obj = -1;
    TurnFrames frames{};
    bool idle_on = false;
    IdleCycle idle{};
};
// Two persons who share one talk: a click on either runs `talk` with that person as self (its
// own turn frames) and the other as the partner; `clicked(o)` tells the lines that differ and
// `pair_to(n)` moves both stages on together.
struct PairTalk {
    std::array<PairMember, 2> members{};
    TalkRow talk{};
};
// The script of member `which` (0 or 1): its timer part, then the shared click part.
void pair_run(const PairTalk& p, s32 which);

// The frames a resident or a pair shows for the placeholder check: the idle cycle when it runs,
// the turn frames when the talk turns the person (a pair's members always turn).
void frames_of_resident(const FrameVisit& v, const Resident& r);
void frames_of_pair(const FrameVisit& v, const PairTalk& p);

// ---- Slot rows -------------------------------------------------------------------------------

// The last stage there is: `stage(n, EVERY_STAGE)` holds every stage from n on.
constexpr s32 EVERY_STAGE = std::numeric_limits<s32>::max();

// Rows of family tables whose every row registers its own slot (`family_slots<ROWS, RUN>`): a
// resident, a figure that only moves on its timer (its clicks do nothing), and one member of a
// pair that shares a talk.
struct ResidentRow {
    s32 slot = 0;
    Resident r{};
};
void run_resident_row(const ResidentRow& row);
struct IdleRow {
    s32 slot = 0;
    IdleCycle idle{};
};
void run_idle_row(const IdleRow& row);
struct PairRow {
    s32 slot = 0;
    const PairTalk* pair = nullptr;
    s32 which = 0;
};
void run_pair_row(const PairRow& row);
