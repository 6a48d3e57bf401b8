// Yearly events (reward reckoning, household talk, showing), the first year's fixed-turn scenes,
// the scene of slot 158 and the switching stubs.
#include "calendar/yearly_events.h"

#include "data/roster.h"
#include "engine/mssw.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/pick_screens.h"
#include "game/player.h"
#include "game/roster_rules.h"

#include <iterator>

using namespace cal_literals;

namespace {

PlayerRecord& pr() {
    return player_record;
}

using Rows = std::span<const CalLine>;

// ---- Fixed-turn scenes -------------------------------------------------------------------------

constexpr CalLine L158[] = {
    {.text = 14576_t, .to = 14577_t, .right = {40_p}, .left = {30_p}},
    {.text = 14578_t, .to = 14579_t, .right = {40_p}},
    {.text = 14585_t, .right = {40_p}},
};
constexpr s32 PLACE_BUTTON_158 = 1, PLACE_SET_158 = 0;

constexpr CalLine L162[] = {
    {.backdrop = 60402_pic,
     .text = 17063_t,
     .to = 17070_t,
     .right = {40_p, 20_p, 30_p},
     .left = {CAL_NOBODY}},
    {.backdrop = 60407_pic, .text = 17073_t, .to = 17083_t, .right = {30_p}},
    {.backdrop = 60401_pic, .text = 17084_t, .to = 17090_t, .right = {20_p}},
    {.text = 17093_t, .to = 17104_t, .right = {20_p}},
};

constexpr CalLine L163_BEFORE[] = {
    {.backdrop = 60407_pic,
     .text = 17000_t,
     .to = 17007_t,
     .right = {40_p, 0_p},
     .left = {CAL_NOBODY, 30_p}},
    {.travel = true,
     .backdrop = 60423_pic,
     .text = 17008_t,
     .to = 17012_t,
     .right = {0_p, 330_p},
     .left = {30_p, CAL_NOBODY}},
};
constexpr CalLine L163_AFTER[] = {
    {.text = 17013_t, .to = 17025_t, .right = {330_p}, .left = {30_p}}};
constexpr s32 ENCOUNTER_163 = 93;

constexpr CalLine L164[] = {
    {.backdrop = 60406_pic,
     .text = 17026_t,
     .to = 17032_t,
     .right = {330_p},
     .left = {CAL_NOBODY, 20_p}},
    {.backdrop = 60407_pic,
     .text = 17033_t,
     .to = 17059_t,
     .right = {330_p, 331_p, 30_p},
     .left = {20_p, 30_p, 40_p}},
    {.travel = true,
     .text = 17060_t,
     .to = 17062_t,
     .right = {20_p, 24_p},
     .left = {30_p, CAL_NOBODY}},
    {.text = 17071_t, .to = 17072_t, .right = {20_p, 24_p}, .left = {30_p, CAL_NOBODY}},
};

// ---- Reward reckoning --------------------------------------------------------------------------

// Slot 165 by story flag 96: the run before the music played once, the line after it (none in
// the bad year), the run after the travel, the bonus on the income and the mood.
struct Reckoning {
    s32 flag; // the value of story flag 96; 0: any other value
    CalLine before, middle, after;
    CalMusic piece;
    s32 bonus;
    s32 mood; // 0: none
};
constexpr Reckoning RECKONINGS[] = {
    {1,
     {.text = 26028_t, .to = 26041_t, .right = {40_p, 20_p, 0_p}, .left = {CAL_NOBODY, 30_p, 20_p}},
     {.text = 26042_t, .right = {0_p}, .left = {40_p}},
     {.travel = true, .text = 26043_t, .to = 26046_t, .right = {30_p, 0_p, 20_p}, .left = {40_p}},
     10046_mus,
     YEARLY_BONUS_GOOD,
     5},
    {2,
     {.text = 26047_t,
      .to = 26059_t,
      .right = {40_p, 0_p, 30_p},
      .left = {CAL_NOBODY, 30_p, 20_p, 40_p}},
     {},
     {.travel = true, .text = 26060_t, .to = 26063_t, .right = {30_p, 0_p}, .left = {40_p}},
     10076_mus,
     YEARLY_BONUS_BAD,
     -5},
    {0,
     {.text = 26010_t, .to = 26021_t, .right = {40_p, 20_p}, .left = {CAL_NOBODY, 30_p, 40_p}},
     {.text = 26022_t, .right = {20_p}, .left = {40_p}},
     {.travel = true, .text = 26023_t, .to = 26026_t, .right = {30_p, 0_p, 20_p}, .left = {40_p}},
     10077_mus,
     0,
     0},
};
constexpr s32 YEARLY_REWARD_MOOD = 3; // slots 166 and 167
constexpr s64 INCOME_LIMIT = 1000000000;

constexpr CalLine L166_FIRST[] = {
    {.backdrop = 60415_pic,
     .text = 26064_t,
     .to = 26066_t,
     .right = {40_p},
     .left = {CAL_NOBODY, 30_p}},
};
constexpr CalLine L166_SECOND[] = {
    {.text = 26067_t, .to = 26068_t, .right = {40_p}, .left = {20_p}}};
constexpr CalLine L166_THIRD[] = {
    {.text = 26069_t, .to = 26070_t, .right = {40_p}, .left = {20_p}},
    {.text = 26071_t, .to = 26072_t, .right = {40_p}},
};
constexpr CalLine L166_END[] = {{.text = 26073_t, .to = 26075_t, .right = {40_p}}};
constexpr s32 ENCOUNTERS_166[] = {94, 95, 92};

constexpr CalLine L167[] = {
    {.backdrop = 60415_pic,
     .text = 26076_t,
     .to = 26089_t,
     .right = {40_p, 20_p},
     .left = {CAL_NOBODY, 30_p, 20_p}},
};

// One battle of slot 166 with the household's hp after it; the household is healed for the next.
s32 household_battle(s32 encounter) {
    cal_battle(encounter); // the result is not used
    const s32 hp = roster[YEARLY_HOUSEHOLD].hp;
    heal_full(-1, YEARLY_HOUSEHOLD);
    return hp;
}

// ---- Household talk ----------------------------------------------------------------------------

constexpr CalLine L168_ASK[] = {
    {.backdrop = 60417_pic, .text = 26100_t, .to = 26103_t, .right = {40_p}},
    {.right = {40_p}, .choose = {26104_t, 26105_t, 26106_t}},
};
struct TalkAnswer {
    CalText first; // two lines [40]
    s32 affection; // of person 205
};
constexpr TalkAnswer ANSWERS_168[] = {{26107_t, -5}, {26109_t, 5}, {26111_t, -5}};

constexpr CalLine L169_INTRO[] = {
    {.backdrop = 60417_pic, .text = 26113_t, .to = 26116_t, .right = {305_p}, .left = {40_p}},
    {.text = 26117_t, .right = {305_p}, .left = {CAL_NOBODY}},
    {.text = 26118_t, .right = {305_p}},
};
// One question of slot 169: four options from `option`, the right one, its answer lines, and
// the run that follows whatever the answer.
struct Question {
    CalText option;
    s32 right;
    CalText right_line, wrong_line;
    bool asides; // a wrong answer also draws a word from persons 20 and 30
    CalText then, then_to;
};
constexpr Question QUESTIONS_169[] = {
    // The first right answer is followed by a run that starts with the same line again: kept.
    {26119_t, 2, 26127_t, 26123_t, true, 26127_t, 26128_t},
    {26129_t, 1, 26134_t, 26133_t, true, 26135_t, 26136_t},
    {26137_t, 3, 26142_t, 26141_t, false, {}, {}},
};
constexpr CalLine L169_ASIDES[] = {
    {.text = 26124_t, .right = {20_p}},
    {.text = 26125_t, .right = {30_p}},
};
constexpr CalLine L169_ALL_RIGHT[] = {{.text = 26143_t, .to = 26144_t, .right = {305_p}}};
constexpr s32 ITEM_169 = 1054;

constexpr CalLine L170_BEST_23[] = {
    {.backdrop = 60417_pic,
     .text = 26150_t,
     .to = 26176_t,
     .right = {20_p, 40_p, 0_p},
     .left = {30_p, 20_p, CAL_NOBODY}},
};
constexpr CalLine L170_OTHER[] = {
    {.backdrop = 60417_pic,
     .text = 26177_t,
     .to = 26178_t,
     .right = {CAL_NOBODY},
     .left = {30_p, 20_p}},
    {.text = 26179_t, .right = {40_p}, .left = {CAL_NOBODY}},
    {.text = 26180_t, .to = 26186_t, .right = {40_p}, .left = {30_p, 20_p}},
};
struct SkillTalk {
    s32 skill;
    CalText text, to; // [40, 20, 30; left 40]
};
constexpr SkillTalk SKILL_TALKS[] = {
    {10, 26194_t, 26195_t}, {11, 26187_t, 26188_t}, {12, 26200_t, 26206_t},
    {13, 26196_t, 26199_t}, {21, 26191_t, 26193_t}, {22, 26189_t, 26190_t},
};
constexpr CalLine L170_END[] = {{.text = 26207_t, .right = {40_p}, .left = {CAL_NOBODY}}};
constexpr s32 BEST_SKILL_23 = 23;

// ---- Showing -----------------------------------------------------------------------------------

// One year's showing: its intro, and the runs of success, failure and of a piece already shown
// (the later years only).
struct Showing {
    s32 year;      // 0, 1, 2: story flag 71 + year
    Rows intro;    //
    Rows success;  //
    Rows failure;  //
    Rows repeated; // empty in the first year, which never compares
};

constexpr CalLine L171_INTRO[] = {
    {.backdrop = 60416_pic,
     .text = 26210_t,
     .to = 26217_t,
     .right = {40_p, 0_p},
     .left = {CAL_NOBODY, 20_p, 30_p, 40_p}},
};
constexpr CalLine L171_SUCCESS[] = {{.text = 26218_t, .to = 26223_t, .right = {40_p, 20_p, 30_p}}};
constexpr CalLine L171_FAILURE[] = {{.text = 26224_t, .to = 26231_t, .right = {40_p, 20_p, 30_p}}};

constexpr CalLine L172_INTRO[] = {
    {.backdrop = 60416_pic, .text = 26232_t, .to = 26233_t, .right = {40_p}},
};
constexpr CalLine L172_SUCCESS[] = {{.text = 26238_t, .to = 26241_t, .right = {40_p, 30_p}}};
constexpr CalLine L172_FAILURE[] = {{.text = 26242_t, .to = 26244_t, .right = {40_p, 20_p, 30_p}}};
constexpr CalLine L172_REPEATED[] = {{.text = 26234_t, .to = 26237_t, .right = {40_p, 30_p}}};
// The third year: line 26235 with person 20 at the right.
constexpr CalLine L173_REPEATED[] = {
    {.text = 26234_t, .right = {40_p}},
    {.text = 26235_t, .right = {20_p}},
    {.text = 26236_t, .to = 26237_t, .right = {40_p, 30_p}},
};

constexpr Showing SHOWINGS[] = {
    {0, L171_INTRO, L171_SUCCESS, L171_FAILURE, {}},
    {1, L172_INTRO, L172_SUCCESS, L172_FAILURE, L172_REPEATED},
    {2, L172_INTRO, L172_SUCCESS, L172_FAILURE, L173_REPEATED},
};

void showing(const Showing& s) {
    cal_lines(s.intro);
    const s32 picked = known_pick(YEARLY_SHOWING_LIST);
    cal_lines({{.travel = true}});
    const KnownEntry* e =
        picked >= 0 && picked < KNOWN_SLOTS ? &pr().known[YEARLY_SHOWING_LIST][picked] : nullptr;
    const s32 id = e != nullptr ? e->id : YEARLY_SHOWN_NOTHING;
    pr().story_flags[YEARLY_SHOWING_FLAG[s.year]] = id;
    // The later years compare with every earlier year's record first (an empty list records -2
    // like the years before it may have).
    bool repeated = false;
    for (s32 y = 0; y < s.year; y++)
        if (pr().story_flags[YEARLY_SHOWING_FLAG[y]] == id) repeated = true;
    bool success;
    if (e != nullptr)
        success = !repeated && e->level >= YEARLY_SHOWING_LEVEL;
    else
        success = s.year == 0 && pr().skill[23] >= YEARLY_SHOWING_EMPTY_SKILL;
    cal_lines(repeated ? s.repeated : success ? s.success : s.failure);
    const s32 sign = success ? 1 : -1;
    for (s32 p : YEARLY_SHOWING_PEOPLE) affection_add(p, sign * YEARLY_SHOWING_AFFECTION);
    mood_add(sign * YEARLY_SHOWING_MOOD);
}

// ---- Switching stubs ---------------------------------------------------------------------------

constexpr YearlySwitch open(CalEntry e) {
    return {YearlySwitchOp::Open, e};
}
constexpr YearlySwitch close(CalEntry e) {
    return {YearlySwitchOp::Close, e};
}
constexpr YearlySwitch empty(CalEntry e) {
    return {YearlySwitchOp::Empty, e};
}
constexpr YearlySwitch place_button_on(s32 button, s32 set) {
    return {YearlySwitchOp::PlaceButtonOn, {}, button, set};
}

constexpr s32 P40 = 40, P40_AFFECTION_122 = 70, FLAG_122 = 76;
constexpr s32 FLAG_161 = 97, CHIVALRY_161 = 80;
constexpr CalEntry PLACE_123 = cal_place(1, 3, 10);

bool when_122() {
    return pr().affection[P40] >= P40_AFFECTION_122 && pr().story_flags[FLAG_122] != 1;
}
bool when_123() {
    const EventEntry* e = cal_entry(PLACE_123);
    return e != nullptr && e->on == 1;
}
bool when_161() {
    return pr().story_flags[FLAG_161] == 1 && pr().chivalry < CHIVALRY_161;
}

constexpr YearlyStub STUBS[] = {
    {.slot = 121, .met = {open(cal_place(0, 0, 3)), open(cal_pool_c(2))}},
    {.slot = 122,
     .when = when_122,
     .flag = FLAG_122,
     .met = {open(cal_pool_a(8)), open(cal_pool_a(9)), open(cal_pool_a(10))},
     .always = {empty(cal_place(0, 0, 3))}},
    {.slot = 123, .when = when_123, .met = {place_button_on(3, 1)}},
    {.slot = 126,
     .met = {open(cal_pool_b(21)), open(cal_pool_a(12)), close(cal_pool_b(11)),
             close(cal_pool_b(10)), close(cal_pool_c(2)), close(cal_pool_a(5)),
             close(cal_pool_a(6)), close(cal_pool_a(4))}},
    {.slot = 127, .met = {close(cal_pool_b(14)), close(cal_pool_b(22))}},
    {.slot = 128, .met = {close(cal_pool_b(12)), close(cal_pool_b(13))}},
    {.slot = 153, .met = {open(cal_pool_b(24)), open(cal_pool_b(12))}},
    {.slot = 156, .met = {close(cal_pool_b(24))}},
    {.slot = 161, .when = when_161, .met = {open(cal_pool_b(25))}},
};

void apply(const YearlySwitches& list) {
    for (s32 i = 0; i < list.count; i++) {
        const YearlySwitch& s = list.item[i];
        switch (s.op) {
        case YearlySwitchOp::Open:
            cal_open(s.entry);
            break;
        case YearlySwitchOp::Close:
            cal_close(s.entry);
            break;
        case YearlySwitchOp::Empty:
            cal_empty(s.entry);
            break;
        case YearlySwitchOp::PlaceButtonOn:
            cal_place_button(s.button, s.set, 1);
            break;
        }
    }
}

} // namespace

// ---- Reward reckoning --------------------------------------------------------------------------

s32 yearly_income() {
    const PlayerRecord& p = pr();
    const s64 income = 30 * s64(p.affection[YEARLY_HOUSEHOLD]) + 30 * s64(p.chivalry) +
                       10 * (s64(p.skill[10]) + p.skill[11] + p.skill[12] + p.skill[13]) +
                       20 * s64(p.fame);
    // Values read from a saved game may be anything: the sum stays far inside s32, so that a bonus
    // added to it cannot wrap.
    return income > INCOME_LIMIT    ? s32(INCOME_LIMIT)
           : income < -INCOME_LIMIT ? s32(-INCOME_LIMIT)
                                    : s32(income);
}

s32 yearly_battle_bonus(s32 h1, s32 h2, s32 h3) {
    if (h3 >= h1 && h3 >= h2) return YEARLY_BATTLE_BONUS_BEST;
    if (h3 >= h1 || h3 >= h2) return YEARLY_BATTLE_BONUS_SOME;
    return 0;
}

void calendar_event_165() {
    const s32 flag = pr().story_flags[YEARLY_REWARD_FLAG];
    const Reckoning* r = &RECKONINGS[std::size(RECKONINGS) - 1];
    for (const Reckoning& c : RECKONINGS)
        if (c.flag == flag && c.flag != 0) r = &c;
    cal_lines({{.backdrop = 60415_pic}, r->before});
    mssw_play_music(cal_id(r->piece), 1); // once; music_id keeps the piece to return to
    cal_lines({r->middle, r->after});
    money_add(yearly_income() + r->bonus);
    if (r->mood != 0) mood_add(r->mood);
    mssw_play_music(pr().music_id, 0);
}

void calendar_event_166() {
    cal_lines(L166_FIRST);
    const s32 h1 = household_battle(ENCOUNTERS_166[0]);
    cal_lines(L166_SECOND);
    const s32 h2 = household_battle(ENCOUNTERS_166[1]);
    cal_lines(L166_THIRD);
    const s32 h3 = household_battle(ENCOUNTERS_166[2]);
    cal_lines(L166_END);
    const s32 bonus = yearly_battle_bonus(h1, h2, h3);
    heal_full(0, YEARLY_SHOWING_PEOPLE[0], YEARLY_SHOWING_PEOPLE[1], YEARLY_SHOWING_PEOPLE[2]);
    money_add(yearly_income() + bonus);
    mood_add(YEARLY_REWARD_MOOD);
}

void calendar_event_167() {
    cal_lines(L167);
    money_add(yearly_income());
    mood_add(YEARLY_REWARD_MOOD);
}

// ---- Household talk ----------------------------------------------------------------------------

s32 yearly_best_skill() {
    s32 best = BEST_SKILL_23, value = 0;
    for (s32 k : YEARLY_BEST_SKILLS)
        if (pr().skill[k] >= value) {
            best = k;
            value = pr().skill[k];
        }
    return best;
}

void calendar_event_168() {
    const s32 a = cal_lines(L168_ASK);
    const TalkAnswer& t = ANSWERS_168[a >= 0 && a < 3 ? a : 0];
    cal_lines({{.text = t.first, .to = CalText{cal_id(t.first) + 1}, .right = {40_p}}});
    affection_add(YEARLY_HOUSEHOLD, t.affection);
}

void calendar_event_169() {
    cal_lines(L169_INTRO);
    bool all_right = true;
    for (const Question& q : QUESTIONS_169) {
        const s32 o = cal_id(q.option);
        const s32 a =
            cal_lines({{.right = {305_p},
                        .choose = {q.option, CalText{o + 1}, CalText{o + 2}, CalText{o + 3}}}});
        if (a == q.right) {
            cal_lines({{.text = q.right_line, .right = {305_p}}});
        } else {
            all_right = false;
            cal_lines({{.text = q.wrong_line, .right = {305_p}}});
            if (q.asides) cal_lines(L169_ASIDES);
        }
        cal_lines({{.text = q.then, .to = q.then_to, .right = {305_p}}});
    }
    if (all_right) {
        cal_lines(L169_ALL_RIGHT);
        inv_add(ITEM_169, 1);
        affection_add(YEARLY_HOUSEHOLD, 5);
    } else {
        affection_add(YEARLY_HOUSEHOLD, -5);
    }
}

void calendar_event_170() {
    const s32 k = yearly_best_skill();
    if (k == BEST_SKILL_23) {
        cal_lines(L170_BEST_23);
    } else {
        cal_lines(L170_OTHER);
        for (const SkillTalk& t : SKILL_TALKS)
            if (t.skill == k)
                cal_lines(
                    {{.text = t.text, .to = t.to, .right = {40_p, 20_p, 30_p}, .left = {40_p}}});
        cal_lines(L170_END);
    }
    mood_add(YEARLY_REWARD_MOOD);
}

// ---- Showing -----------------------------------------------------------------------------------

void calendar_event_171() {
    showing(SHOWINGS[0]);
}
void calendar_event_172() {
    showing(SHOWINGS[1]);
}
void calendar_event_173() {
    showing(SHOWINGS[2]);
}

// ---- Scenes ------------------------------------------------------------------------------------

void calendar_event_158() {
    cal_lines(L158);
    cal_place_button(PLACE_BUTTON_158, PLACE_SET_158, 1);
}

void calendar_event_162() {
    cal_lines(L162);
}

void calendar_event_163() {
    cal_lines(L163_BEFORE);
    cal_battle(ENCOUNTER_163); // the result is not used
    cal_lines(L163_AFTER);
}

void calendar_event_164() {
    cal_lines(L164);
}

// ---- Switching stubs ---------------------------------------------------------------------------

std::span<const YearlyStub> yearly_stubs() {
    return STUBS;
}

void yearly_stub_run(s32 slot) {
    for (const YearlyStub& s : STUBS) {
        if (s.slot != slot) continue;
        if (s.when == nullptr || s.when()) {
            if (s.flag >= 0 && s.flag < STORY_FLAGS) pr().story_flags[s.flag] = 1;
            apply(s.met);
        }
        apply(s.always);
        return;
    }
}

void calendar_event_121() {
    yearly_stub_run(121);
}
void calendar_event_122() {
    yearly_stub_run(122);
}
void calendar_event_123() {
    yearly_stub_run(123);
}
void calendar_event_126() {
    yearly_stub_run(126);
}
void calendar_event_127() {
    yearly_stub_run(127);
}
void calendar_event_128() {
    yearly_stub_run(128);
}
void calendar_event_153() {
    yearly_stub_run(153);
}
void calendar_event_156() {
    yearly_stub_run(156);
}
void calendar_event_161() {
    yearly_stub_run(161);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {121, calendar_event_121}, {122, calendar_event_122}, {123, calendar_event_123},
    {126, calendar_event_126}, {127, calendar_event_127}, {128, calendar_event_128},
    {153, calendar_event_153}, {156, calendar_event_156}, {158, calendar_event_158},
    {161, calendar_event_161}, {162, calendar_event_162}, {163, calendar_event_163},
    {164, calendar_event_164}, {165, calendar_event_165}, {166, calendar_event_166},
    {167, calendar_event_167}, {168, calendar_event_168}, {169, calendar_event_169},
    {170, calendar_event_170}, {171, calendar_event_171}, {172, calendar_event_172},
    {173, calendar_event_173},
};
} // namespace

std::span<const CalendarSlot> yearly_events_slots() {
    return SLOTS;
}

void register_yearly_events() {
    calendar_install(SLOTS, YEARLY_EVENTS_OWNER);
}
