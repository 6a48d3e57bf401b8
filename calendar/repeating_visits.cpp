// The repeating visits of places 0.1, 0.2 and 0.4 and the after-turn event of turn 38.
#include "calendar/repeating_visits.h"

#include "calendar/frame.h"
#include "data/roster.h"
#include "engine/dialog.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/hub_dialog.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "minigames/aim.h"

using namespace cal_literals;

s32 (*turn38_aim_seam)(s32, s32, s32, s32, s32, s32) = game_aim_target;

namespace {

using Rows = std::span<const CalLine>;

// ---- Sparring -----------------------------------------------------------------------------------

// What the two partners' visits differ in.
struct Sparring {
    s32 partner;
    Rows early;            // before turn 31
    Rows scene_a;          // the talk scene, before its travel
    Rows scene_b;          // after it
    s32 scene_flag;        // once-flag of the talk scene
    s32 growth_flag;       // the art choice that picks the scene's skill
    s32 growth_by_flag[4]; // skill by that flag's value 0..3; any other value skill 0
    Rows intro;            // before the bout; with a choice, its second option declines
    Rows declined;
    s32 encounter;
    Rows won, lost;
    s32 move;            // the special move (known list 9)
    s32 (*move_value)(); // the value the move needs at 70
    Rows teach;
};

s32 base_value() {
    return player_record.skill[0];
}

// Attribute 30 with the bonus of the item in equipment slot 3.
s32 presence_value() {
    const PlayerRecord& p = player_record;
    return p.attr[5] + (p.equip[3] == EQUIP_ATTR30_BONUS_OFFSET ? EQUIP_ATTR30_BONUS : 0);
}

constexpr CalPerson P203 = 30_p, P204 = 20_p;

constexpr CalLine EARLY_117[] = {
    {.text = 56450_t},
    {.text = 56454_t, .to = 56455_t, .right = {P203}},
};
constexpr CalLine SCENE_A_117[] = {
    {.text = 15300_t, .right = {P203}},
    {.text = 15301_t, .right = {P203}},
    {.text = 15303_t, .right = {P203}},
};
constexpr CalLine SCENE_B_117[] = {
    {.travel = true, .text = 15305_t, .to = 15306_t, .right = {P203}},
};
constexpr CalLine INTRO_117[] = {
    {.text = 56450_t},
    {.text = 56451_t, .right = {P203}, .choose = {56452_t, 56453_t}},
};
constexpr CalLine DECLINED_117[] = {{.text = 56469_t, .right = {P203}}};
constexpr CalLine WON_117[] = {{.text = 56460_t, .to = 56463_t, .right = {P203}}};
constexpr CalLine LOST_117[] = {{.text = 56464_t, .to = 56468_t, .right = {P203}}};
constexpr CalLine TEACH_117[] = {
    {.text = 56540_t, .to = 56542_t, .right = {P203}},
    {.travel = true, .text = 56543_t, .to = 56547_t, .right = {P203}},
};

constexpr CalLine EARLY_118[] = {
    {.text = 56480_t},
    {.text = 56481_t, .to = 56484_t, .right = {P204}},
    {.text = 56488_t, .to = 56489_t, .right = {P204}},
};
constexpr CalLine SCENE_A_118[] = {
    {.text = 15300_t, .right = {P204}},
    {.text = 15302_t, .right = {P204}},
    {.text = 15304_t, .right = {P204}},
};
constexpr CalLine SCENE_B_118[] = {
    {.travel = true, .text = 15305_t, .to = 15306_t, .right = {P204}},
};
constexpr CalLine INTRO_118[] = {
    {.text = 56510_t},
    {.text = 56511_t, .to = 56513_t, .right = {P204}},
};
constexpr CalLine WON_118[] = {{.text = 56520_t, .to = 56522_t, .right = {P204}}};
constexpr CalLine LOST_118[] = {{.text = 56530_t, .to = 56532_t, .right = {P204}}};
constexpr CalLine TEACH_118[] = {{.text = 56550_t, .to = 56552_t, .right = {P204}}};

const Sparring SPARRING_117 = {
    203,          EARLY_117, SCENE_A_117, SCENE_B_117, 20, 79,         {2, 2, 3, 4}, INTRO_117,
    DECLINED_117, 0,         WON_117,     LOST_117,    1,  base_value, TEACH_117,
};
const Sparring SPARRING_118 = {
    204,     EARLY_118, SCENE_A_118, SCENE_B_118,    21,        78, {5, 6, 7, 0}, INTRO_118, {}, 1,
    WON_118, LOST_118,  0,           presence_value, TEACH_118,
};

s32& flag(s32 n) {
    return player_record.story_flags[n];
}

s32 scene_skill(const Sparring& s) {
    const s32 g = flag(s.growth_flag);
    return g >= 0 && g < 4 ? s.growth_by_flag[g] : 0;
}

// The bout (or the player declines it).
void bout(const Sparring& s) {
    PlayerRecord& p = player_record;
    const s32 answer = cal_lines(s.intro);
    if (answer == 1) {
        cal_lines(s.declined);
        return;
    }
    const s32 result = cal_battle(s.encounter);
    const RosterEntry& partner = roster[s.partner];
    if (cal_won(result) || partner.hp < partner.hp_max / 4) {
        cal_lines(s.won);
        roster_grow(s.partner, 1);
        stamina_add(SPARRING_WIN_STAMINA);
        return;
    }
    cal_lines(s.lost);
    stamina_add(SPARRING_LOSS_STAMINA);
    if (p.stamina <= 0 && cal_rand(10) < SPARRING_ILL_CHANCE) {
        CalSummary sum;
        cal_injury(sum, SPARRING_ILL_SPREAD);
        cal_summary_show(sum);
    } else if (p.affection[s.partner] >= SPARRING_MOVE_AFFECTION &&
               cal_rand(10) < SPARRING_MOVE_CHANCE && !known_has(SPARRING_MOVE_LIST, s.move) &&
               s.move_value() >= SPARRING_MOVE_VALUE) {
        cal_lines(s.teach);
        known_add(SPARRING_MOVE_LIST, s.move);
    }
}

void sparring_visit(const Sparring& s) {
    cal_lines({{.backdrop = 60401_pic}});
    PlayerRecord& p = player_record;
    if (hub_block.calendar_turn < SPARRING_TALK_TURN) {
        cal_lines(s.early);
    } else if (p.affection[s.partner] >= SPARRING_SCENE_AFFECTION && flag(s.scene_flag) == 0) {
        flag(s.scene_flag) = 1;
        cal_lines(s.scene_a);
        cal_lines(s.scene_b);
        CalSummary unshown; // the scene shows no summary box
        cal_gain_loud(unshown, cal_skill(scene_skill(s)), SPARRING_SCENE_EXP);
    } else {
        bout(s);
    }
    heal_full(0, s.partner);
}

// ---- Riddles ------------------------------------------------------------------------------------

constexpr CalPerson RIDDLER = 99_p;

void say99(CalText t) {
    cal_lines({{.text = t, .right = {RIDDLER}}});
}

// The gifts, tried in order; each test draws its own number.
void gift() {
    cal_lines({
        {.text = 56432_t, .to = 56433_t, .right = {RIDDLER}},
        {.text = 56434_t, .right = {RIDDLER}, .left = {2_p}},
    });
    PlayerRecord& p = player_record;
    if (cal_rand(10) == 7 && flag(RIDDLE_ARTS_FLAG) != 1) {
        say99(56438_t);
        if (cal_rand(2) == 0)
            known_add(5, 53);
        else
            known_add(6, 51);
        flag(RIDDLE_ARTS_FLAG) = 1;
    } else if (cal_rand(10) == 5 && flag(RIDDLE_ITEM_FLAG) != 1) {
        say99(56439_t);
        if (cal_rand(3) == 0)
            inv_add(1448, 1);
        else if (cal_rand(3) == 0)
            inv_add(1468, 1);
        else
            inv_add(1556, 10);
        flag(RIDDLE_ITEM_FLAG) = 1;
    } else if (cal_rand(10) == 4) {
        say99(56436_t);
        if (p.skill[0] < CAL_VALUE_MAX) {
            hub_say_lines(200, 0, 0, 0);
            CalSummary shown_above;
            cal_gain_loud(shown_above, cal_skill(0), 3000);
        }
    } else if (cal_rand(10) < 3) {
        say99(56437_t);
        if (p.attr[5] < CAL_VALUE_MAX) {
            hub_say_lines(230, 0, 0, 0);
            p.attr[5] = p.attr[5] + 1 > CAL_VALUE_MAX ? CAL_VALUE_MAX : p.attr[5] + 1;
        }
    } else {
        say99(56435_t);
        stamina_add(1000);
        hub_say_lines(233, 222, 0, 0);
        CalSummary shown_above;
        cal_gain_loud(shown_above, cal_skill(22), 200);
    }
}

// One riddle; true when answered right. `kind` is the riddle's kind.
bool riddle(s32 kind) {
    say99(CalText{56360 + kind});
    const s32 chosen = cal_lines({{.right = {RIDDLER}, .choose = {56375_t, 56376_t, 56377_t}}});
    if (chosen != kind) return false;
    if (kind == 0) return true;
    if (kind == 1) {
        const s32 a = cal_rand(RIDDLE_NUMBERS);
        const s32 at = cal_rand(RIDDLE_OPTIONS);
        const RiddleNumbers n = riddle_numbers(a, at);
        say99(CalText{56366 + a});
        const s32 pick =
            cal_lines({{.right = {RIDDLER},
                        .choose = {CalText{56240 + n.value[0]}, CalText{56240 + n.value[1]},
                                   CalText{56240 + n.value[2]}, CalText{56240 + n.value[3]}}}});
        return pick == at;
    }
    const s32 q = cal_rand(RIDDLE_QUESTIONS);
    say99(CalText{56380 + 5 * q});
    const s32 pick = cal_lines({{.right = {RIDDLER},
                                 .choose = {CalText{56381 + 5 * q}, CalText{56382 + 5 * q},
                                            CalText{56383 + 5 * q}, CalText{56384 + 5 * q}}}});
    return pick == RIDDLE_ANSWERS[q];
}

// Draws for one option before taking the smallest free value: a draw source that keeps repeating
// a value (a forced one) must not hold the visit in a loop.
constexpr s32 RIDDLE_DRAW_TRIES = 64;

bool used(const RiddleNumbers& n, s32 filled_mask, s32 v) {
    for (s32 i = 0; i < RIDDLE_OPTIONS; i++)
        if ((filled_mask >> i & 1) != 0 && n.value[i] == v) return true;
    return false;
}

} // namespace

RiddleNumbers riddle_numbers(s32 right, s32 right_at) {
    RiddleNumbers n{};
    if (right_at < 0 || right_at >= RIDDLE_OPTIONS) right_at = 0;
    n.value[right_at] = right;
    s32 filled = 1 << right_at;
    for (s32 i = 0; i < RIDDLE_OPTIONS; i++) {
        if (i == right_at) continue;
        s32 v = -1;
        for (s32 t = 0; t < RIDDLE_DRAW_TRIES && v < 0; t++) {
            const s32 d = cal_rand(RIDDLE_NUMBERS);
            if (!used(n, filled, d)) v = d;
        }
        for (s32 d = 0; d < RIDDLE_NUMBERS && v < 0; d++)
            if (!used(n, filled, d)) v = d;
        n.value[i] = v;
        filled |= 1 << i;
    }
    return n;
}

// ---- Handlers -----------------------------------------------------------------------------------

void calendar_event_117() {
    sparring_visit(SPARRING_117);
}

void calendar_event_118() {
    sparring_visit(SPARRING_118);
}

void calendar_event_142() {
    cal_lines({{.backdrop = 60423_pic, .text = 56359_t, .right = {RIDDLER}}});
    if (flag(RIDDLE_COUNTER_FLAG) >= RIDDLE_GIFT_FROM && cal_rand(4) == 1) {
        gift();
        return;
    }
    const s32 k = cal_rand(RIDDLE_KINDS);
    if (riddle(k)) {
        say99(56363_t);
        say99(56379_t);
        mood_add(k + 1);
        flag(RIDDLE_COUNTER_FLAG) = flag(RIDDLE_COUNTER_FLAG) + k + 1;
        hub_say_lines(234, 0, 0, 0);
    } else {
        say99(56364_t);
        say99(56378_t);
        mood_add(-1);
        hub_say_lines(284, 0, 0, 0);
    }
}

// Turn 38: the partner of place 0.1 and person 130; with tools, a shot at the target decides the
// first regard of person 149; the course of place 1.4 opens either way.
void calendar_event_033() {
    constexpr CalPerson GUIDE = 130_p;
    const bool tools = inv_has_range(2210, 2219) == 1 && inv_has_range(2200, 2209) == 1;
    cal_lines({
        {.backdrop = 60406_pic, .text = 42352_t},
        {.text = 42353_t, .to = 42356_t, .right = {P203}, .left = {2_p}},
        {.text = 42359_t, .right = {P203}, .left = {2_p}},
    });
    affection_add(203, 5);
    hub_say_lines(244, 0, 0, 0);
    cal_lines({
        {.travel = true,
         .backdrop = 60423_pic,
         .text = 42360_t,
         .to = 42366_t,
         .right = {P203, GUIDE},
         .left = {CAL_NOBODY, 13_p, 8_p}},
        {.travel = true, .text = 42367_t, .right = {GUIDE}, .left = {CAL_NOBODY}},
    });
    bool won = false;
    if (tools) {
        cal_lines({{.text = 42368_t, .right = {GUIDE}}});
        won = turn38_aim_seam(0, -1, 1, 3, 0, 0) == 1;
        cursor_select(0);
    }
    if (won) {
        cal_lines({
            {.text = 42369_t, .to = 42371_t, .right = {GUIDE}, .left = {CAL_NOBODY}},
            {.text = 42372_t, .right = {P203}},
        });
        player_record.affection[TURN38_GUIDE_REGARD] = TURN38_WON_REGARD;
    } else {
        cal_lines({
            {.text = tools ? 42389_t : 11420_t},
            {.text = 42390_t, .right = {P203}},
            {.sound = 698_snd, .travel = true, .text = 42392_t, .right = {9_p}, .left = {P203}},
            {.text = 42393_t, .right = {GUIDE}, .left = {P203}},
        });
        player_record.affection[TURN38_GUIDE_REGARD] = TURN38_OTHER_REGARD;
    }
    cal_lines({
        {.text = 42373_t, .to = 42374_t, .right = {GUIDE}, .left = {P203}},
        {.text = 42375_t, .to = 42376_t, .right = {GUIDE}},
        {.text = 42377_t, .right = {GUIDE}, .left = {2_p}},
        {.text = 42378_t, .to = 42379_t, .right = {GUIDE}, .left = {P203}},
        {.text = 42383_t, .to = 42384_t, .right = {GUIDE}},
    });
    cal_open(cal_place(1, 4, 0));
    cal_place_button(4, 1, 1);
    cal_turns(1);
}

// ---- Slots --------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {33, calendar_event_033},
    {117, calendar_event_117},
    {118, calendar_event_118},
    {142, calendar_event_142},
};
} // namespace

std::span<const CalendarSlot> repeating_visits_slots() {
    return SLOTS;
}

void register_repeating_visits() {
    calendar_install(SLOTS, REPEATING_VISITS_OWNER);
}
