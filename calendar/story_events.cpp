// Scheduled story events: the threads of person 47 (slots 210, 211, 175), of the pair 118 and 200
// (212, 213), of the sect battle (133, 134), of person 225 (136, 137), the scenes of slots 154,
// 157 and 220, and the companion battle after the ring game (124).
#include "calendar/story_events.h"

#include "calendar/frame.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "game/adjust.h"
#include "game/hub_dialog.h"
#include "game/inventory.h"
#include "game/pick_screens.h"
#include "game/player.h"
#include "game/roster_rules.h"

using namespace cal_literals;

namespace {

PlayerRecord& pr() {
    return player_record;
}

// Fame lowered by a direct store, without a log line, never below 0.
void fame_lower_quiet(s32 n) {
    s32& fame = pr().fame;
    fame = fame > n ? fame - n : 0;
}

// The level of the first entry with `id` in known list `list`; -1 when the list holds none.
s32 known_level_of(s32 list, s32 id) {
    if (list < 0 || list >= KNOWN_LISTS) return -1;
    for (const KnownEntry& e : pr().known[list])
        if (e.id == id) return e.level;
    return -1;
}

// 1 when one of the 50 acquaintance entries holds `person`.
bool among_acquaintances(s32 person) {
    for (s32 p : pr().acquaintances)
        if (p == person) return true;
    return false;
}

s32 affection_of(s32 person) {
    return person >= 0 && person < PLAYER_PEOPLE ? pr().affection[person] : -1;
}

// ---- Thread of person 47 -----------------------------------------------------------------------

constexpr CalLine L210_INTRO[] = {
    {.backdrop = 60407_pic, .text = 57130_t, .to = 57131_t, .right = {410_p}},
    {.right = {410_p}, .choose = {57132_t, 57133_t}},
};
constexpr CalLine L210_HELP[] = {
    {.text = 57140_t, .to = 57143_t, .right = {410_p}},
    {.travel = true, .text = 57150_t, .to = 57154_t, .right = {410_p}},
    {.text = 56626_t, .right = {CAL_NOBODY}},
    {.text = 57155_t, .right = {CAL_NOBODY}},
};
constexpr CalLine L210_REFUSE[] = {
    {.text = 57165_t, .to = 57166_t, .right = {410_p}},
};
constexpr s32 P47 = 47;
constexpr CalGrowth GROWTH_210 = cal_skill(23);

constexpr CalLine L211[] = {
    {.backdrop = 60407_pic, .text = 57180_t, .to = 57182_t, .right = {410_p}},
    {.travel = true, .text = 57185_t, .to = 57188_t, .right = {410_p}},
    {.travel = true},
};
constexpr CalLine L211_LOW[] = {{.text = 57190_t, .to = 57194_t, .right = {410_p}}};
constexpr CalLine L211_HIGH[] = {{.text = 57200_t, .to = 57206_t, .right = {410_p}}};
constexpr s32 KNOWN_PIECES = 23; // the known list of pieces
constexpr s32 PIECE_211 = 52, LEVEL_211 = 70;

constexpr CalLine L175[] = {
    {.backdrop = 60407_pic, .text = 57207_t, .to = 57212_t, .right = {410_p, 255_p}},
};
constexpr CalLine L175_MATCH[] = {
    {.text = 57213_t, .right = {255_p}},
    {.text = 57217_t, .to = 57218_t, .right = {255_p}},
    {.travel = true, .text = 57195_t, .right = {255_p}},
    {.text = 57196_t, .to = 57197_t, .right = {410_p}},
};
constexpr CalLine L175_OTHER[] = {
    {.text = 57213_t, .to = 57214_t, .right = {255_p}},
    {.text = 57215_t, .right = {410_p}},
    {.text = 57216_t, .right = {CAL_NOBODY}},
};
constexpr s32 PIECE_175 = 55, LEVEL_175 = 100;

// ---- The pair 118 and 200 ----------------------------------------------------------------------

constexpr s32 P118 = 118, P200 = 200;
constexpr s32 PAIR_AFFECTION = 70;     // person 118, slots 212 and 213
constexpr s32 P200_AFFECTION_213 = 50; // the last line of slot 213's second answer

constexpr CalLine L212_START[] = {
    {.backdrop = 60400_pic, .text = 57219_t, .right = {CAL_NOBODY}},
    {.travel = true, .backdrop = 60423_pic},
};
constexpr CalLine L212_SCENE[] = {
    {.text = 57225_t, .to = 57230_t, .right = {405_p}, .left = {230_p}},
    {.text = 57231_t, .right = {405_p}, .left = {340_p}},
    {.text = 57232_t, .to = 57234_t, .right = {CAL_NOBODY}, .left = {2_p}},
    {.text = 57235_t, .to = 57236_t, .right = {405_p}, .left = {340_p}},
    {.text = 57237_t, .to = 57243_t, .right = {405_p}, .left = {230_p}},
    {.text = 57244_t, .right = {CAL_NOBODY}, .left = {7_p}},
};

constexpr CalLine L213_START[] = {
    {.backdrop = 60400_pic, .text = 57260_t, .right = {405_p}},
    {.text = 57261_t, .right = {405_p}, .left = {2_p}},
    {.text = 57262_t, .to = 57263_t, .right = {405_p}},
};
constexpr CalLine L213_MET[] = {{.text = 57264_t, .to = 57269_t, .right = {405_p}}};
constexpr CalLine L213_NOT_MET[] = {
    {.text = 57290_t, .to = 57292_t, .right = {405_p}},
    {.text = 57293_t, .right = {405_p}, .left = {2_p}},
    {.text = 57294_t, .to = 57295_t, .right = {405_p}},
};
constexpr CalLine L213_ASK[] = {{.right = {405_p}, .choose = {57270_t, 57271_t}}};
constexpr CalLine L213_FIRST[] = {{.text = 57280_t, .to = 57281_t, .right = {405_p}}};
constexpr CalLine L213_SECOND[] = {{.text = 57282_t, .to = 57285_t, .right = {405_p}}};

// ---- The sect battle ---------------------------------------------------------------------------

constexpr CalLine L133[] = {
    {.text = 30355_t,
     .to = 30402_t,
     .right = {370_p, 415_p, 365_p, 375_p, 360_p, 376_p, 366_p, 371_p},
     .left = {371_p, 375_p, 370_p, 365_p, 415_p}},
};
constexpr CalLine L133_WON[] = {
    {.text = 30403_t, .right = {360_p}},
    {.travel = true, .text = 30404_t, .to = 30410_t, .right = {377_p, 372_p, 368_p, 418_p, 370_p}},
};
constexpr CalLine L133_NOT_WON[] = {{.text = 30278_t, .right = {360_p}}};
constexpr s32 ENCOUNTER_133 = 11;
constexpr s32 TITLE_133 = 60;

constexpr CalLine L134_A[] = {
    {.text = 30411_t, .to = 30413_t, .right = {370_p, 375_p}},
    {.travel = true,
     .text = 30414_t,
     .to = 30423_t,
     .right = {375_p, 365_p, 367_p, 376_p, 415_p, 416_p}},
    {.sound = 690_snd,
     .text = 30424_t,
     .to = 30429_t,
     .right = {416_p, 370_p, 373_p},
     .left = {376_p}},
    {.sound = 561_snd, .text = 30430_t, .to = 30436_t, .right = {367_p, 416_p, 376_p}},
};
constexpr CalLine L134_B[] = {
    {.text = 30437_t, .to = 30443_t, .right = {370_p, 365_p, 375_p}, .left = {CAL_NOBODY}},
};
constexpr CalLine L134_B1[] = {
    {.text = 30452_t, .to = 30458_t, .right = {375_p, 370_p}},
    {.text = 30459_t, .to = 30460_t, .right = {370_p}, .left = {10_p}},
};
constexpr CalLine L134_B2[] = {{.text = 30444_t, .to = 30451_t, .right = {375_p, 370_p}}};
constexpr s32 SKILL_17_134 = 70;
constexpr s32 ITEM_134 = 1408;

// ---- Person 225: two visits that differ only by their numbers
// ------------------------------------

struct Visit225 {
    CalText first;  // the run first .. first + 1, travel, first + 2, travel, then ...
    s32 skill15;    // ... success at skill 15 >= this: first + 4, travel, first + 5 .. last;
    CalText last;   // failure: first + 3
    s32 known_list; // success: known_add(known_list, known_id), chivalry_add(-10)
    s32 known_id;   //
    s32 next_slot;  // success: after next_turn := next_slot (-1: none)
    s32 next_turn;  //
};
constexpr Visit225 VISIT_136 = {13470_t, 10, 13477_t, 2, 57, 137, STORY_TURN_137};
constexpr Visit225 VISIT_137 = {13480_t, 50, 13486_t, 3, 53, -1, 0};
constexpr s32 CHIVALRY_225 = -10;

void visit_225(const Visit225& v) {
    const s32 t = cal_id(v.first);
    const bool success = pr().skill[15] >= v.skill15;
    cal_lines({
        {.text = CalText{t}, .to = CalText{t + 1}, .right = {225_p}},
        {.travel = true, .backdrop = 60423_pic, .text = CalText{t + 2}, .right = {225_p}},
        {.travel = true},
    });
    if (!success) {
        cal_lines({{.text = CalText{t + 3}, .right = {225_p}}});
        return;
    }
    cal_lines({
        {.text = CalText{t + 4}, .right = {225_p}},
        {.travel = true, .text = CalText{t + 5}, .to = v.last, .right = {225_p}},
    });
    known_add(v.known_list, v.known_id);
    chivalry_add(CHIVALRY_225);
    if (v.next_slot >= 0) cal_schedule_after(v.next_turn, v.next_slot);
}

// ---- Scenes ------------------------------------------------------------------------------------

constexpr CalLine L154[] = {
    {.text = 13878_t, .to = 13879_t, .right = {30_p}},
    {.backdrop = 60402_pic, .text = 13880_t, .to = 13881_t, .right = {40_p}, .left = {20_p}},
    {.text = 13882_t, .to = 13883_t, .right = {40_p}},
    {.text = 13884_t, .to = 13885_t, .right = {20_p}, .left = {30_p}},
    {.text = 13886_t, .right = {CAL_NOBODY}},
};
constexpr s32 PLACE_BUTTON_154 = 2, PLACE_SET_154 = 0; // also slot 157

constexpr CalLine L157[] = {{.text = 14556_t, .to = 14560_t, .right = {20_p}}};

constexpr s32 P55 = 55;
constexpr CalLine L220_MET[] = {
    {.backdrop = 60406_pic, .text = 13490_t, .right = {235_p}},
    {.text = 13492_t, .to = 13498_t, .right = {235_p}},
};
constexpr CalLine L220_NEW[] = {
    {.backdrop = 60406_pic, .text = 13491_t, .right = {235_p}},
    {.text = 13499_t, .to = 13502_t, .right = {235_p}},
};
constexpr CalLine L220_END[] = {
    {.travel = true,
     .backdrop = 60402_pic,
     .text = 13503_t,
     .to = 13505_t,
     .right = {40_p},
     .left = {235_p}},
};

// ---- The companion battle after the ring game --------------------------------------------------

constexpr CalLine L124_ASK[] = {
    {.text = 13420_t, .right = {CAL_NOBODY}},
    {.right = {CAL_NOBODY}, .choose = {13421_t, 13422_t}},
};
constexpr CalLine L124_GO[] = {
    {.travel = true, .backdrop = 60423_pic, .text = 13423_t, .right = {CAL_NOBODY}},
    {.text = 13424_t, .to = 13430_t, .right = {350_p, 355_p}},
};
constexpr s32 FAME_124_WITH = 6, FAME_124_ALONE = 10;
constexpr s32 FAME_124_LOST = 3, FAME_124_DECLINED = 5;
constexpr s32 AFFECTION_124 = 5;
constexpr s32 P123 = 123, P108 = 108;

// The table's own fighter at the companion's place of encounter 6 (none when the table has no
// record for it).
s32 own_companion_fighter() {
    for (const EncounterLiteral& e : encounter_literals)
        if (e.encounter == STORY_RING_ENCOUNTER) return e.own.fighter[STORY_COMPANION_FIGHTER];
    return ENCOUNTER_NO_FIGHTER;
}

} // namespace

s32 story_companion_search() {
    s32 best = -1, best_affection = 0;
    for (s32 p : pr().acquaintances) {
        // Persons past the roster have no portrait to show and no fighter to field.
        if (p <= 0 || p >= ROSTER_SIZE || p >= PLAYER_PEOPLE || p == STORY_COMPANION_EXCLUDED)
            continue;
        const s32 a = pr().affection[p];
        if (a < STORY_COMPANION_AFFECTION || roster[p].hub_portrait <= 0) continue;
        if (best < 0 || a > best_affection) {
            best = p;
            best_affection = a;
        }
    }
    return best;
}

void calendar_event_124() {
    CalSummary sum;
    const s32 answer = cal_lines(L124_ASK);
    if (answer != 0) {
        fame_lower_quiet(FAME_124_DECLINED);
        heal_full(0, P123, P108);
        return;
    }
    const s32 c = story_companion_search();
    // The companion's place is written for this battle only: without a companion the table's
    // own fighter stands there again, not one left by an earlier run (or by a game loaded since).
    encounters[STORY_RING_ENCOUNTER].fighter[STORY_COMPANION_FIGHTER] =
        c >= 0 ? c : own_companion_fighter();
    const CalPerson face{c >= 0 ? roster[c].hub_portrait : -1};
    cal_lines(L124_GO);
    if (c >= 0) cal_lines({{.text = 13431_t, .to = 13432_t, .right = {355_p}, .left = {face}}});
    const s32 result = cal_battle(STORY_RING_ENCOUNTER);
    if (cal_won(result)) {
        cal_lines({{.text = 13440_t, .right = {350_p}}, {.travel = true}});
        if (c >= 0) cal_lines({{.text = 13441_t, .to = 13447_t, .right = {face}}});
        pr().story_flags[STORY_FLAG_RING_OUTCOME] = 1;
        if (c >= 0) {
            affection_add(c, AFFECTION_124);
            fame_add(FAME_124_WITH);
        } else {
            fame_add(FAME_124_ALONE);
        }
    } else {
        if (c >= 0)
            cal_lines({{.text = 13450_t, .to = 13459_t, .right = {face}, .left = {CAL_NOBODY}}});
        else
            cal_lines({{.text = 13449_t, .right = {CAL_NOBODY}}});
        pr().story_flags[STORY_FLAG_RING_OUTCOME] = 2;
        cal_injury(sum);
        cal_summary_add(sum, CAL_INJURY_EXTRA);
        fame_lower_quiet(FAME_124_LOST);
    }
    heal_full(0, P123, P108);
    if (c >= 0) {
        roster[c].hp = roster[c].hp_max;
        roster[c].mp = roster[c].mp_max;
    }
    cal_summary_show(sum);
}

void calendar_event_133() {
    CalSummary sum;
    cal_lines(L133);
    const s32 result = cal_battle(ENCOUNTER_133);
    heal_full(0); // the protagonist only
    if (cal_won(result)) {
        cal_lines(L133_WON);
        fame_add(12);
        title_add(TITLE_133);
        cal_schedule_before(STORY_TURN_134, 134);
    } else {
        cal_lines(L133_NOT_WON);
        cal_injury(sum);
        cal_summary_add(sum, CAL_INJURY_EXTRA);
    }
    cal_summary_show(sum);
}

void calendar_event_134() {
    if (pr().skill[3] > pr().skill[5]) {
        cal_lines(L134_A);
        known_add(9, 4);
        return;
    }
    cal_lines(L134_B);
    if (pr().skill[17] >= SKILL_17_134) {
        cal_lines(L134_B1);
        inv_add(ITEM_134, 1);
    } else {
        cal_lines(L134_B2);
    }
}

void calendar_event_136() {
    visit_225(VISIT_136);
}

void calendar_event_137() {
    visit_225(VISIT_137);
}

void calendar_event_154() {
    cal_lines(L154);
    mood_add(-1);
    cal_place_button(PLACE_BUTTON_154, PLACE_SET_154, 1);
}

void calendar_event_157() {
    cal_lines(L157);
    cal_place_button(PLACE_BUTTON_154, PLACE_SET_154, 1);
}

void calendar_event_175() {
    cal_lines(L175);
    const s32 picked = known_pick(KNOWN_PIECES);
    cal_lines({{.travel = true}});
    const KnownEntry* e =
        picked >= 0 && picked < KNOWN_SLOTS ? &pr().known[KNOWN_PIECES][picked] : nullptr;
    if (e != nullptr && e->id == PIECE_175 && e->level >= LEVEL_175) {
        cal_lines(L175_MATCH);
        known_add(4, 51);
    } else {
        cal_lines(L175_OTHER);
    }
}

void calendar_event_210() {
    if (cal_lines(L210_INTRO) == 0) {
        cal_lines(L210_HELP);
        pr().story_flags[STORY_FLAG_HELPED_47] = 1;
        chivalry_add(2);
        hub_say_lines(232, 0, 0, 0);
        affection_add(P47, 5);
        stamina_add(-300);
        // The experience counts at every level, with no summary line of its own.
        cal_train(GROWTH_210, 300);
        pr().story_flags[STORY_FLAG_THREAD_47] = 1;
    } else {
        cal_lines(L210_REFUSE);
        chivalry_add(-2);
        hub_say_lines(282, 0, 0, 0);
        affection_add(P47, -5);
        pr().story_flags[STORY_FLAG_THREAD_47] = 0;
    }
}

void calendar_event_211() {
    cal_lines(L211);
    if (known_level_of(KNOWN_PIECES, PIECE_211) < LEVEL_211) {
        cal_lines(L211_LOW);
        affection_add(P47, 15);
        return;
    }
    cal_lines(L211_HIGH);
    affection_add(P47, 30);
    known_add(0, PIECE_211);
    cal_schedule_after(STORY_TURN_175, 175);
}

void calendar_event_212() {
    if (!among_acquaintances(P118) || !among_acquaintances(P200)) return;
    cal_lines(L212_START);
    const CalText meet = affection_of(P118) >= PAIR_AFFECTION ? 57220_t : 57221_t;
    cal_lines({{.text = meet, .right = {CAL_NOBODY}, .left = {2_p}}});
    cal_lines(L212_SCENE);
    pr().story_flags[STORY_FLAG_MET_PAIR] = 1;
    cal_turns(1);
}

void calendar_event_213() {
    if (affection_of(P118) < PAIR_AFFECTION) return;
    cal_lines(L213_START);
    cal_lines(pr().story_flags[STORY_FLAG_MET_PAIR] == 1 ? std::span<const CalLine>(L213_MET)
                                                         : std::span<const CalLine>(L213_NOT_MET));
    if (cal_lines(L213_ASK) == 0) {
        cal_lines(L213_FIRST);
        affection_add(P118, 20);
        pr().story_flags[STORY_FLAG_PAIR_ANSWER] = 1;
        return;
    }
    cal_lines(L213_SECOND);
    affection_add(P118, -20);
    cal_lines({{.text = 56626_t, .right = {CAL_NOBODY}}});
    if (affection_of(P200) >= P200_AFFECTION_213)
        cal_lines({{.text = 57286_t, .right = {CAL_NOBODY}}});
    pr().story_flags[STORY_FLAG_PAIR_ANSWER] = 2;
}

void calendar_event_220() {
    const bool met = acquaint_has(P55) != 0;
    cal_lines(met ? std::span<const CalLine>(L220_MET) : std::span<const CalLine>(L220_NEW));
    cal_lines(L220_END);
    if (!met) acquaint_add(P55, 50);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {124, calendar_event_124}, {133, calendar_event_133}, {134, calendar_event_134},
    {136, calendar_event_136}, {137, calendar_event_137}, {154, calendar_event_154},
    {157, calendar_event_157}, {175, calendar_event_175}, {210, calendar_event_210},
    {211, calendar_event_211}, {212, calendar_event_212}, {213, calendar_event_213},
    {220, calendar_event_220},
};
} // namespace

std::span<const CalendarSlot> story_events_slots() {
    return SLOTS;
}

void register_story_events() {
    calendar_install(SLOTS, STORY_EVENTS_OWNER);
}
