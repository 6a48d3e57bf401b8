// The activity executor: the per-code effects (one table of plain rows and the codes with a pick
// screen or a rule of their own), the animation and the close; the award checks, the manuals'
// copy and the mini-game commands.
#include "game/activity.h"

#include "data/battle_tables.h"
#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/world/staging.h"
#include "game/adjust.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/hub_dialog.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/pick_screens.h"
#include "game/player.h"
#include "game/titles.h"

#include <algorithm>

namespace {

constexpr s32 LINES = 4;
constexpr s32 GROWTH_DONE = 100;       // a growth value at this level takes no more experience
constexpr s32 TURN_SECOND_FRIEND = 15; // from this turn person 204 shares in the pastimes
constexpr s32 TEXT_TRAINED = 283;      // the first line of a training
constexpr s32 TEXT_RESTED = 233;       // the first line of a rest with a pastime
constexpr s32 TEXT_GROWTH = 200;       // + growth index: that value grew
constexpr s32 TEXT_SICK = 468;         // + sick turns: the training ended in an injury
constexpr s32 CONDITION_INJURED = 5;
constexpr s32 ITEM_MADE_OFFSET = 1200; // recipe id + this is the item made
constexpr s32 MANUAL_FIRST = 2100, MANUAL_LAST = 2149, MANUAL_ID_OFFSET = 2050;
constexpr s32 MANUAL_LIST = 24;
constexpr s32 AWARD_LIST = 9;

// What one activity run has gathered for its close.
struct Run {
    s32 b = 0, T = 0;
    s32 t[LINES] = {};
    s32 sick = 0;
    bool animate = true;
};

s32 turn() {
    return hub_block.calendar_turn;
}

// pool g += base + R(rnd) and its growth step, only while value g is below 100 (the draw is made
// only then); true when it happened.
bool pool_add(s32 g, s32 base, s32 rnd) {
    if (growth_value(g) >= GROWTH_DONE) return false;
    growth_pool(g) += base + rand_below(rnd);
    grow_quiet(g);
    return true;
}

// The same whatever the value (a value at 100 keeps the experience and takes no step).
void pool_force(s32 g, s32 x) {
    growth_pool(g) += x;
    grow_quiet(g);
}

s32 capped_level(s32 level, s32 gain) {
    return std::min(level + gain, 100);
}

// The art that entry `id` of list `list` (0..9) names; an all-zero art for an id outside the
// list's arts (the pick screen offers none such, but a saved list may hold one).
const ArtEntry& art_of(s32 list, s32 id) {
    static const ArtEntry none{};
    if (list < 0 || list >= ART_LISTS || id < ART_FIRST_ID || id >= ART_FIRST_ID + ART_LIST_SIZE)
        return none;
    return arts_table[art_index(list, id)];
}

// ---- The plain activities: one row each ------------------------------------------------------

struct PoolGain {
    s32 growth = -1;                  // -1: none
    s32 base = 0, per_b = 0, rnd = 0; // base + per_b x b + R(rnd)
    s32 line = 0, text = 0;           // the growth message goes to line `line`
};
struct AffectionGain {
    s32 person = -1; // -1: none
    s32 amount = 0;
    s32 from_turn = 0;
    s32 per_skill = -1; // >= 0: the amount also grows by skill[per_skill] / 33
};
struct ActivityRow {
    s32 code;
    s32 stamina;
    bool spend; // stamina_spend (may injure) rather than stamina_add
    bool affection_first;
    PoolGain pools[2];
    AffectionGain affection[2];
    s32 lowered; // growth index lowered by grow_lower(1, index, 100), -1 none
    s32 lines[3];
    s32 title; // title kind checked in any case, -1 none
};

constexpr ActivityRow ROWS[] = {
    {0,
     -100,
     false,
     false,
     {{27, 50, 20, 20, 2, 227}},
     {{203, 2}, {204, 2, TURN_SECOND_FRIEND}},
     -1,
     {TEXT_TRAINED, 242, 0},
     -1},
    {1,
     -100,
     false,
     false,
     {{29, 200, 20, 20, 2, 229}},
     {{203, 1}, {204, 2, TURN_SECOND_FRIEND}},
     -1,
     {TEXT_TRAINED, 242, 0},
     -1},
    {2,
     -120,
     false,
     false,
     {{28, 100, 20, 20, 2, 228}},
     {{206, 2}},
     -1,
     {TEXT_TRAINED, 241, 0},
     -1},
    {3,
     -120,
     false,
     false,
     {{27, 100, 20, 20, 2, 227}},
     {{206, 2}},
     -1,
     {TEXT_TRAINED, 241, 0},
     -1},
    {4, 0, false, true, {{21, 200, 30, 50, 1, 221}}, {{205, 1, 0, 21}}, -1, {240, 0, 0}, 21},
    {6,
     0,
     false,
     false,
     {{12, 30, 30, 20, 1, 212}, {13, 30, 30, 20, 2, 213}},
     {{205, 1}},
     -1,
     {240, 0, 0},
     -1},
    {8, -150, true, false, {{25, 200, 50, 200, 1, 225}}, {}, -1, {TEXT_TRAINED, 0, 0}, -1},
    {9, -150, true, false, {{26, 200, 50, 200, 1, 226}}, {}, -1, {TEXT_TRAINED, 0, 0}, -1},
    {10, -150, true, false, {{27, 300, 50, 200, 1, 227}}, {}, 28, {TEXT_TRAINED, 0, 278}, -1},
    {11, -200, true, false, {{28, 300, 50, 200, 1, 228}}, {}, 27, {TEXT_TRAINED, 0, 277}, -1},
    {12, -150, true, false, {{29, 300, 50, 200, 1, 229}}, {}, -1, {TEXT_TRAINED, 0, 0}, 0},
};

void affection_gains(const ActivityRow& row) {
    for (const AffectionGain& a : row.affection) {
        if (a.person < 0 || turn() < a.from_turn) continue;
        const s32 extra = a.per_skill >= 0 ? player_record.skill[a.per_skill] / 33 : 0;
        affection_add_quiet(a.person, a.amount + extra);
    }
}

void run_row(const ActivityRow& row, Run& r) {
    if (row.spend)
        r.sick = stamina_spend(row.stamina);
    else if (row.stamina != 0)
        stamina_add(row.stamina);
    if (r.sick == 0) {
        for (s32 i = 0; i < 3; ++i) r.t[i] = row.lines[i];
        if (row.affection_first) affection_gains(row);
        for (const PoolGain& p : row.pools)
            if (p.growth >= 0 && pool_add(p.growth, p.base + p.per_b * r.b, p.rnd))
                r.t[p.line] = p.text;
        if (!row.affection_first) affection_gains(row);
        if (row.lowered >= 0) grow_lower(1, row.lowered, 100);
    }
    if (row.title >= 0) title_award_check(row.title);
}

// ---- The activities with a rule of their own ----------------------------------------------

// Code 5: studying with a partner over an entry of known list 23.
void run_study(Run& r) {
    const s32 list = 23;
    stamina_add(-100);
    const s32 pick = known_pick(list);
    r.t[0] = TEXT_TRAINED;
    if (pool_add(28, 20 + 5 * r.b, 0)) r.t[2] = TEXT_GROWTH + 28;
    s32 f = 0;
    if (pick < 0) {
        if (pool_add(list, 50 + 30 * r.b, 30)) r.t[1] = TEXT_GROWTH + list;
        const s32 s = player_record.skill[list];
        if (s < 20) {
            f = -1;
            r.t[3] = 299;
        } else if (s >= 60) {
            f = 1;
            r.t[3] = 249;
        }
    } else {
        KnownEntry& e = player_record.known[list][pick];
        e.level = capped_level(e.level, 10 + player_record.skill[list] / 5);
        struct Band {
            s32 below, f, text, gain;
        };
        constexpr Band BANDS[] = {
            {20, -1, 299, 250}, {40, 0, 0, 220},          {60, 1, 249, 180},
            {80, 2, 248, 150},  {INT32_MAX, 3, 247, 100},
        };
        const Band* band = BANDS;
        while (e.level >= band->below) ++band;
        f = band->f;
        if (band->text > 0) r.t[3] = band->text;
        if (pool_add(list, band->gain + 30 * r.b, 20)) r.t[1] = TEXT_GROWTH + list;
    }
    if (f != 0) {
        const bool piece_52 = pick >= 0 && player_record.known[list][pick].id == 52;
        for (s32 person = 203; person <= 206; ++person) {
            if (person == 204 && turn() < TURN_SECOND_FRIEND) continue;
            affection_add_quiet(person, person == 205 && piece_52 ? 2 * f : f);
        }
    }
    title_award_check(list);
}

// Code 13: inner-power training over an entry of known list 0.
void run_inner_power(Run& r) {
    r.sick = stamina_spend(-100);
    if (r.sick != 0) return;
    const s32 pick = known_pick(0);
    PlayerRecord& p = player_record;
    r.t[0] = TEXT_TRAINED;
    if (pick < 0) {
        if (pool_add(0, 80 + 30 * r.b, 20)) r.t[1] = TEXT_GROWTH;
        mp_max_add(3 + rand_below(5));
    } else {
        KnownEntry& e = p.known[0][pick];
        const s32 gain = art_of(0, e.id).mp_gain;
        if (pool_add(0, 20 * (gain + r.b) + 2 * p.skill[0], 0)) r.t[1] = TEXT_GROWTH;
        mp_max_add(gain);
        e.exp += 60 + 50 * r.T + p.skill[0] + 30 * r.b;
        known_level_up(0, pick);
    }
    p.mp = p.mp_max;
}

// Codes 16..22: practice of an art of known list k = code - 14.
void run_art(s32 code, Run& r) {
    const s32 k = code - 14;
    r.sick = stamina_spend(-150);
    if (r.sick == 0) {
        const s32 pick = known_pick(k);
        r.t[0] = TEXT_TRAINED;
        if (pick < 0) {
            if (pool_add(k, 80 + 30 * r.b, 20)) r.t[1] = TEXT_GROWTH + k;
        } else {
            PlayerRecord& p = player_record;
            KnownEntry& e = p.known[k][pick];
            if (pool_add(k, 200 + 30 * r.b, 50)) r.t[1] = TEXT_GROWTH + k;
            e.exp += 5 * (25 - art_of(k, e.id).difficulty) + 25 * r.b + 40 * r.T + 3 * p.skill[k];
            known_level_up(k, pick);
        }
    }
    title_award_check(k);
}

// Code 29: cooking a recipe of known list 14; the ingredients are needed but not used up.
void run_cooking(Run& r) {
    const s32 list = PICK_RECIPE_LIST;
    stamina_add(-100);
    const s32 pick = item_pick();
    const s32 gain = 50 * r.b + 50 * r.T;
    r.t[0] = TEXT_TRAINED;
    r.t[1] = 285;
    if (pick < 0) {
        pool_add(list, 150 + gain, 100);
    } else {
        PlayerRecord& p = player_record;
        KnownEntry& e = p.known[list][pick];
        if (pool_add(list, 250 + gain, 200)) r.t[2] = TEXT_GROWTH + list;
        e.exp += 250 + gain + 5 * p.skill[list];
        known_level_up(list, pick);
        const s32 chance = (5 * e.level + 5 * p.skill[list] + 10 * r.b) / 10;
        if (rand_below(100) < chance) {
            inv_add(e.id + ITEM_MADE_OFFSET, 1);
            r.t[1] = 235;
        }
    }
    title_award_check(list);
}

// Code 32: a rest spent on the arts of known list 1.
void run_rest_arts(Run& r) {
    const s32 pick = known_pick(1);
    if (pick < 0) {
        const s32 x = 250 + 30 * r.b;
        if (pool_add(10, x, 0)) r.t[1] = 210;
        pool_add(1, x, 0);
    } else {
        const s32 x = 400 + 50 * r.b + 40 * r.T;
        pool_force(10, x);
        r.t[1] = 210;
        pool_force(1, x);
        r.t[2] = 201;
        KnownEntry& e = player_record.known[1][pick];
        e.level = capped_level(e.level, 5 + 3 * r.b + 5 * r.T + player_record.skill[10] / 10);
    }
    grow_quiet(10);
    grow_quiet(1);
    stamina_add(200);
    r.t[0] = TEXT_RESTED;
    award_check();
    title_award_check(10);
}

// Codes 33..35: a rest spent on skill s = code - 22.
void run_rest_skill(s32 code, Run& r) {
    const s32 s = code - 22;
    if (pool_add(s, 200 + 50 * r.b + 50 * r.T, 100)) r.t[1] = TEXT_GROWTH + s;
    if (s == 11) {
        pool_force(30, 50);
        r.t[2] = 230;
    }
    grow_quiet(s);
    stamina_add(200);
    r.t[0] = TEXT_RESTED;
    if (rand_below(3) == 1) mood_add(1);
    award_check();
    title_award_check(s);
}

// Code 36: reading a manual of known list 24.
void run_reading(Run& r) {
    const s32 pick = known_pick(MANUAL_LIST);
    PlayerRecord& p = player_record;
    if (pick < 0) {
        if (pool_add(30, 40 + 30 * r.b + 30 * r.T, 10)) r.t[1] = 230;
    } else {
        KnownEntry& e = p.known[MANUAL_LIST][pick];
        if (e.level < 100 && p.attr[5] < 100) {
            p.attr[5] += p.attr[5] >= 90 ? 1 : 2;
            r.t[1] = 230;
        }
        e.level = capped_level(e.level, 10);
    }
    stamina_add(300);
    r.t[0] = TEXT_RESTED;
}

// Code 37: a practice piece of known list 20, played on the practice screen.
void run_practice(Run& r) {
    const s32 list = PRACTICE_LIST;
    const s32 pick = known_pick(list);
    const s32 gain = 50 * r.b + 50 * r.T;
    if (pick < 0) {
        if (pool_add(list, 150 + gain, 100)) r.t[0] = 220;
    } else {
        r.animate = false;
        KnownEntry& e = player_record.known[list][pick];
        if (art_practice(e.id - KNOWN_FIRST_COUNTED) == 1) {
            if (pool_add(list, 300 + gain, 0)) r.t[0] = 220;
            e.exp += 60 + 30 * r.b + 5 * player_record.skill[list];
            known_level_up(list, pick);
        }
    }
    title_award_check(list);
}

// ---- The close ----------------------------------------------------------------------------

void play_animation(const ActivityAnimation& a) {
    if (a.frames <= 0) return;
    const s32 repeats = a.frames < 5 ? 3 : a.frames < 10 ? 2 : 1;
    for (s32 round = 0; round < repeats; ++round)
        for (s32 f = 0; f < a.frames; ++f) {
            hub_draw();
            draw_image(ACTIVITY_ANIM_X, ACTIVITY_ANIM_Y, a.first + f, 0);
            screen_present();
            wait_ms(ACTIVITY_ANIM_MS);
        }
}

// Code 26: the catch of a fishing trip, better with skill 15.
void item_roll() {
    auto give = [](s32 first) { inv_add(first + rand_below(5), 1); };
    if (rand_below(100) + 50 < player_record.skill[15]) {
        if (rand_below(10) == 0) {
            give(1305);
            give(1305);
        } else if (rand_below(10) < 3) {
            give(1305);
            give(1300);
        } else {
            give(1305);
        }
    } else if (rand_below(10) < 5) {
        give(1300);
        give(1300);
    } else {
        give(1300);
    }
}

void close(s32 code, Run& r) {
    if (r.animate) play_animation(activity_animation(code));
    if (code == 26) item_roll();
    if (r.sick > 0) {
        player_record.sick_turns = r.sick;
        player_record.condition = CONDITION_INJURED;
        r.t[0] = TEXT_SICK + r.sick;
        r.t[1] = r.t[2] = r.t[3] = 0;
    }
    hub_say_lines(r.t[0], r.t[1], r.t[2], r.t[3]);
    hub_block.turns_consumed = 1;
}

// ---- Awards -------------------------------------------------------------------------------

// A mastery award of known list 9, announced once.
void mastery_award(bool earned, s32 award, s32 text) {
    if (!earned || known_has(AWARD_LIST, award)) return;
    hub_say(0, 0, -1, text);
    known_add(AWARD_LIST, award);
}

bool skill_mastered(s32 s) {
    return player_record.skill[s] >= 100;
}

} // namespace

s32 activity_mood_bonus() {
    constexpr s32 BONUS[MOOD_WORST + 1] = {3, 1, 0, -1, -2};
    const s32 mood = player_record.mood;
    return mood >= 0 && mood <= MOOD_WORST ? BONUS[mood] : 0;
}

s32 activity_level_tier() {
    const PlayerRecord& p = player_record;
    const s32 v = p.attr[5] + (p.equip[3] == EQUIP_ATTR30_BONUS_OFFSET ? EQUIP_ATTR30_BONUS : 0);
    if (v < 10) return 0;
    if (v < 30) return 1;
    if (v < 50) return 2;
    if (v < 70) return 3;
    if (v < 90) return 4;
    if (v < 100) return 5;
    return 8;
}

ActivityAnimation activity_animation(s32 code) {
    struct Fixed {
        s32 code;
        ActivityAnimation anim;
    };
    constexpr Fixed FIXED[] = {
        {0, {60800, 4}},  {1, {60804, 4}},  {2, {60808, 5}},   {3, {60813, 3}},   {4, {60816, 3}},
        {5, {60819, 4}},  {6, {60825, 4}},  {16, {61022, 5}},  {17, {61027, 10}}, {18, {61037, 7}},
        {19, {61044, 9}}, {20, {61053, 7}}, {21, {61060, 14}}, {22, {61074, 11}}, {26, {61173, 12}},
        {29, {61185, 3}}, {32, {61100, 3}}, {33, {61103, 4}},  {34, {61107, 3}},  {35, {61110, 3}},
        {36, {61116, 1}}, {37, {61188, 7}},
    };
    // Codes 8..14 by the tier (value / 30, at most 2) of the value each one trains.
    constexpr ActivityAnimation TIERED[7][3] = {
        {{60829, 13}, {60842, 4}, {60846, 13}}, {{60859, 20}, {60879, 13}, {60892, 5}},
        {{60900, 6}, {60906, 10}, {60916, 9}},  {{60926, 6}, {60932, 15}, {60947, 5}},
        {{60952, 11}, {60963, 4}, {60967, 7}},  {{60974, 6}, {60980, 6}, {60986, 6}},
        {{61000, 9}, {61009, 5}, {61014, 8}},
    };
    if (code >= 8 && code <= 14) {
        const PlayerRecord& p = player_record;
        const s32 trained[7] = {p.attr[0], p.attr[1],  p.attr[2], p.attr[3],
                                p.attr[4], p.skill[0], p.skill[8]};
        const s32 tier = std::clamp(trained[code - 8] / 30, 0, 2);
        return TIERED[code - 8][tier];
    }
    for (const Fixed& f : FIXED)
        if (f.code == code) return f.anim;
    return {0, 0};
}

void activity_run(s32 code) {
    Run r;
    r.b = activity_mood_bonus();
    r.T = activity_level_tier();
    if (code == 5)
        run_study(r);
    else if (code == 13)
        run_inner_power(r);
    else if (code >= 16 && code <= 22)
        run_art(code, r);
    else if (code == 29)
        run_cooking(r);
    else if (code == 32)
        run_rest_arts(r);
    else if (code >= 33 && code <= 35)
        run_rest_skill(code, r);
    else if (code == 36)
        run_reading(r);
    else if (code == 37)
        run_practice(r);
    else
        for (const ActivityRow& row : ROWS)
            if (row.code == code) run_row(row, r);
    close(code, r);
}

void award_check() {
    mastery_award(skill_mastered(10) && skill_mastered(11) && skill_mastered(12) &&
                      skill_mastered(13),
                  6, 26003);
}

void manuals_sync() {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item >= MANUAL_FIRST && e.item <= MANUAL_LAST &&
            !known_has(MANUAL_LIST, e.item - MANUAL_ID_OFFSET))
            known_add(MANUAL_LIST, e.item - MANUAL_ID_OFFSET);
    if (!known_any(MANUAL_LIST)) return;
    hub_block.hub_menu_avail[5][4] = 1;
    hub_block.hub_menu_avail[0][4] = 1;
}

void hub_cmd_aim() {
    game_aim_seam(0, -1, 2, 3, 20, 80);
    // The game leaves its score in the turn-done word, which would keep the hub from ending the
    // turn from turn 10 on: the command always ends its turn.
    player_record.turn_done = 0;
    mastery_award(skill_mastered(GROWTH_AIMING), 2, 26001);
    title_award_check(GROWTH_AIMING);
    hub_block.turns_consumed = 1;
}

void hub_cmd_catch() {
    game_bait_catch_seam(0);
    mastery_award(skill_mastered(GROWTH_BAIT), 3, 26000);
    title_award_check(GROWTH_BAIT);
    hub_block.turns_consumed = 1;
}

void hub_cmd_popup() {
    game_popup_targets_seam(0);
    hub_block.turns_consumed = 1;
}

void hub_cmd_light_ring() {
    // Every symbol drawn at random.
    game_light_ring_seam(-1, -1, -1, -1, -1, -1, -1, -1);
    hub_block.turns_consumed = 1;
}

void hub_cmd_recipes() {
    recipe_screen_seam(); // what was cooked is the screen's own business
    mastery_award(skill_mastered(GROWTH_RECIPE), 5, 26002);
    title_award_check(GROWTH_RECIPE);
    hub_block.turns_consumed = 1;
}
