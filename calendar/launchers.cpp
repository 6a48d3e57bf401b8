#include "calendar/launchers.h"

#include "calendar/companion_picker.h"
#include "data/hub_block.h"
#include "engine/mssw.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/open_world.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "game/scenes.h"

using namespace cal_literals;

namespace {

void call_scene(LauncherScene scene) {
    if (scene != nullptr) scene();
}

s32& story_flag(s32 n) {
    return player_record.story_flags[n];
}

s32 affection_of(s32 person) {
    return player_record.affection[person];
}

// The launcher being run; the frame's protocol calls back into its row.
const LauncherRow* running = nullptr;

// ---- Slot 221 (after 65) ---------------------------------------------------------------------

constexpr CalLine INTRO_221[] = {
    {.backdrop = 60402_pic, .text = 13506_t, .right = {40_p}, .left = {CAL_NOBODY}},
    {.text = 13507_t, .right = {40_p}, .left = {30_p}},
    {.backdrop = 60406_pic, .text = 13508_t, .to = 13510_t, .right = {20_p}},
    {.text = 13511_t, .right = {30_p}},
};
constexpr CalLine HEAD_221[] = {
    {.show = true, .text = 59992_t, .to = 59993_t, .right = {40_p}, .left = {30_p}},
};

// ---- Slot 192 (after 75) ---------------------------------------------------------------------

// How the episode of slot 192 was entered: at once (a) or after the test fight (c). A resumed
// game knows neither and earns none of the entry's rewards.
enum class Entry192 { Direct, AfterFight };
Entry192 entry_192 = Entry192::Direct;

// The episode declined or the test fight lost: the follow-up handler runs four turns later and
// the place of the episode closes.
void decline_192() {
    cal_schedule_after(79, 154);
    cal_place_button(2, 0, 0);
}

bool intro_192() {
    cal_lines({
        {.backdrop = 60402_pic, .text = 13876_t, .to = 13877_t, .right = {30_p}},
        {.text = 13860_t, .to = 13867_t, .right = {40_p}, .left = {30_p}},
    });
    if (affection_of(40) >= LAUNCH_POOL_AFFECTION && story_flag(76) != 1) {
        cal_open(cal_pool_a(8));
        cal_open(cal_pool_a(9));
        cal_open(cal_pool_a(10));
        story_flag(76) = 1;
    }
    cal_empty(cal_place(0, 0, 3));
    const s32 a = affection_of(205);
    if (a >= LAUNCH_DIRECT_AFFECTION) {
        cal_lines({
            {.text = 13868_t, .right = {40_p}, .left = {CAL_NOBODY}},
            {.text = 13869_t, .right = {40_p}},
        });
        entry_192 = Entry192::Direct;
        return true;
    }
    if (a < LAUNCH_REFUSE_AFFECTION) {
        cal_lines({
            {.text = 13870_t, .right = {40_p}, .left = {CAL_NOBODY}},
            {.text = 13871_t, .right = {40_p}, .left = {20_p}},
        });
        decline_192();
        return false;
    }
    cal_lines({{.text = 13872_t, .to = 13873_t, .right = {40_p}, .left = {CAL_NOBODY}}});
    const s32 result = cal_battle(LAUNCH_TEST_BATTLE);
    heal_full(0, 204);
    if (cal_won(result)) {
        cal_lines({
            {.text = 13874_t, .right = {40_p}, .left = {CAL_NOBODY}},
            {.text = 13869_t, .right = {40_p}},
        });
        entry_192 = Entry192::AfterFight;
        return true;
    }
    cal_lines({
        {.text = 13875_t, .right = {40_p}, .left = {CAL_NOBODY}},
        {.text = 13871_t, .right = {40_p}, .left = {20_p}},
    });
    decline_192();
    return false;
}

constexpr CalLine HEAD_192[] = {
    {.show = true, .text = 14020_t, .to = 14022_t, .right = {30_p}},
};
constexpr CalLine SUCCESS_192[] = {
    {.text = 14027_t, .right = {30_p}},
    {.text = 14028_t, .right = {40_p}},
    {.text = 14029_t, .right = {20_p}},
};
constexpr CalLine FAILURE_192[] = {
    {.text = 14023_t, .right = {30_p}},
    {.text = 14024_t, .right = {20_p}},
    {.text = 14025_t, .right = {20_p}, .left = {30_p}},
    {.text = 14026_t, .right = {40_p}},
};
void success_192(bool resumed) {
    mood_add(3);
    affection_add(205, 3);
    affection_add(204, -1);
    if (resumed) return;
    fame_add(30);
    album_add(3);
    if (entry_192 == Entry192::Direct) title_add(61);
}
void failure_192(bool) {
    mood_add(-1);
}
constexpr LauncherOutcome OUTCOMES_192[] = {
    {1, SUCCESS_192, success_192},
    {LAUNCH_OTHER, FAILURE_192, failure_192},
};

// ---- Slot 190 (after 85) ---------------------------------------------------------------------

bool both_places_closed_190() {
    return cal_place_button_on(2, 1) == 0 && cal_place_button_on(3, 1) == 0;
}

bool intro_190() {
    cal_lines({
        {.text = 13801_t, .right = {CAL_NOBODY}},
        {.backdrop = 60402_pic, .text = 13802_t, .to = 13804_t, .right = {70_p}, .left = {40_p}},
        {.text = 13805_t, .right = {CAL_NOBODY}},
        {.text = 13806_t, .right = {40_p}},
        {.text = 13807_t, .right = {70_p}},
    });
    if (both_places_closed_190()) cal_lines({{.text = 13808_t, .right = {70_p}}});
    cal_lines({
        {.text = 13809_t, .right = {70_p}},
        {.text = 13810_t, .right = {305_p}},
        {.text = 13811_t, .to = 13813_t, .right = {40_p}},
    });
    return true;
}

// After the episode: its guide leaves, the home place's chain and pool B's leads close, and a
// place of set 1 that was still closed opens with its first entry.
void after_190() {
    attr_set(1097, ATTR_ACTIVE, 0);
    cal_close(cal_place(0, 0, 0));
    cal_close(cal_place(0, 0, 2));
    cal_close(cal_pool_b(10));
    cal_empty(cal_pool_b(2));
    if (cal_place_button_on(2, 1) == 0) {
        cal_open(cal_place(1, 2, 0));
        cal_place_button(2, 1, 1);
    }
    if (cal_place_button_on(3, 1) == 0) {
        cal_open(cal_place(1, 3, 0));
        cal_place_button(3, 1, 1);
    }
}

constexpr CalLine FLAG2_190[] = {{.text = 14504_t, .to = 14510_t, .right = {30_p}}};
constexpr CalLine FLAG1_190[] = {{.text = 14511_t, .to = 14512_t, .right = {40_p}}};
void flag1_190(bool) {
    mood_add(3);
    affection_add(205, 5);
}
constexpr LauncherOutcome OUTCOMES_190[] = {
    {2, FLAG2_190, nullptr},
    {1, FLAG1_190, flag1_190},
};

// ---- Slot 196 (after 95) ---------------------------------------------------------------------

constexpr CalLine INTRO_196[] = {{.text = 61499_t, .right = {CAL_NOBODY}}};

// ---- Slot 222 (after 100) --------------------------------------------------------------------

constexpr CalLine INTRO_222[] = {
    {.backdrop = 60400_pic, .text = 59400_t, .to = 59403_t, .right = {30_p}},
    {.travel = true,
     .backdrop = 60402_pic,
     .text = 59404_t,
     .to = 59406_t,
     .right = {40_p},
     .left = {CAL_NOBODY}},
    {.text = 59407_t, .right = {40_p}},
    {.text = 59410_t, .to = 59411_t, .right = {40_p}},
};
void after_222() {
    attr_set(469, ATTR_ACTIVE, 0);
}
// The outing that the episode's friendship opens.
void last_222() {
    if (story_flag(82) == 1) cal_open(cal_pool_a(11));
}

// ---- Slot 044 (after 112) --------------------------------------------------------------------

bool intro_044() {
    cal_lines({
        {.backdrop = 60402_pic, .text = 16200_t, .to = 16203_t, .right = {40_p}, .left = {30_p}},
        {.text = 16204_t, .right = {40_p}},
        {.text = 16205_t, .right = {40_p}, .left = {30_p}},
    });
    if (affection_of(203) < LAUNCH_044_AFFECTION) {
        cal_lines({{.text = 16207_t, .to = 16209_t, .right = {40_p}, .left = {30_p}}});
        cal_schedule_after(114, 158);
        cal_place_button(1, 0, 0);
        cal_turns(1);
        return false;
    }
    cal_lines({
        {.text = 16206_t, .right = {40_p}, .left = {30_p}},
        {.text = 16208_t, .to = 16209_t, .right = {40_p}, .left = {30_p}},
        {.text = 14574_t, .right = {40_p}, .left = {30_p}},
    });
    inv_add(1250, 3);
    inv_add(1254, 3);
    return true;
}

constexpr CalLine SUCCESS_044[] = {
    {.text = 14571_t, .to = 14572_t, .right = {40_p}, .left = {30_p}},
    {.text = 14573_t, .right = {40_p}},
    {.text = 14575_t, .right = {40_p}},
};
constexpr CalLine FAILURE_044[] = {
    {.text = 14569_t, .to = 14570_t, .right = {40_p}, .left = {30_p}},
};
void success_044(bool) {
    affection_add(205, 5);
    fame_add(30);
    album_add(10);
}
void failure_044(bool) {
    affection_add(205, -5);
}
constexpr LauncherOutcome OUTCOMES_044[] = {
    {1, SUCCESS_044, success_044},
    {LAUNCH_OTHER, FAILURE_044, failure_044},
};

// ---- Slot 193 (after 120) --------------------------------------------------------------------

constexpr CalLine INTRO_193[] = {
    {.text = 59500_t, .to = 59501_t, .right = {30_p}},
    {.backdrop = 60402_pic, .text = 59505_t, .to = 59507_t, .right = {40_p}, .left = {30_p}},
    {.text = 59534_t, .right = {40_p}, .left = {30_p}},
    {.text = 59508_t, .right = {40_p}, .left = {20_p}},
    {.text = 59509_t, .right = {40_p}},
    {.text = 59511_t, .to = 59512_t, .right = {40_p}},
};
constexpr CalLine HEAD_193[] = {{.show = true, .text = 14540_t, .right = {40_p}}};
constexpr CalLine SUCCESS_193[] = {
    {.text = 14541_t, .to = 14542_t, .right = {40_p}},
    {.text = 14543_t, .to = 14544_t, .right = {30_p}},
    {.text = 14545_t, .right = {20_p}},
    {.text = 14546_t, .right = {40_p}, .left = {CAL_NOBODY}},
    {.text = 14547_t, .right = {40_p}, .left = {30_p}},
};
constexpr CalLine FAILURE_193[] = {{.text = 14548_t, .to = 14550_t, .right = {40_p}}};
void success_193(bool) {
    affection_add(205, 10);
    fame_add(40);
    album_add(8);
}
constexpr LauncherOutcome OUTCOMES_193[] = {
    {1, SUCCESS_193, success_193},
    {LAUNCH_OTHER, FAILURE_193, nullptr},
};

// ---- Slot 203 (after 130) --------------------------------------------------------------------

bool intro_203() {
    if (affection_of(71) < LAUNCH_203_AFFECTION) return false;
    const s32 answer = cal_lines({
        {.backdrop = 60407_pic,
         .text = 56760_t,
         .to = 56764_t,
         .right = {145_p},
         .choose = {56765_t, 56766_t}},
    });
    if (answer == 0) return true;
    cal_lines({{.text = 56771_t, .right = {145_p}}});
    cal_turns(1);
    return false;
}
constexpr CalLine HURT_203[] = {{.text = 57006_t, .right = {CAL_NOBODY}}};
constexpr CalLine WELL_203[] = {{.text = 57007_t, .right = {CAL_NOBODY}}};
void hurt_203(bool) {
    CalSummary sum;
    cal_injury(sum);
    cal_summary_show(sum);
}
constexpr LauncherOutcome OUTCOMES_203[] = {
    {2, HURT_203, hurt_203},
    {LAUNCH_OTHER, WELL_203, nullptr},
};

// ---- Slot 194 (after 135) --------------------------------------------------------------------

bool intro_194() {
    const s32 answer = cal_lines({
        {.text = 59650_t, .to = 59651_t, .right = {20_p}, .choose = {59652_t, 59653_t}},
    });
    if (answer == 0 && affection_of(204) >= LAUNCH_194_AFFECTION) {
        cal_lines({{.text = 14554_t, .right = {20_p}}});
        return true;
    }
    if (answer == 0) cal_lines({{.text = 14555_t, .right = {20_p}}});
    cal_schedule_after(137, 157);
    cal_place_button(2, 0, 0);
    return false;
}
constexpr CalLine FAILURE_194[] = {{.text = 14561_t, .to = 14562_t, .right = {20_p}}};
void failure_194(bool) {
    affection_add(204, -5);
}
// Success (flag 1) plays nothing after the fade.
constexpr LauncherOutcome OUTCOMES_194[] = {
    {1, {}, nullptr},
    {LAUNCH_OTHER, FAILURE_194, failure_194},
};

// ---- Slot 191 (after 155) --------------------------------------------------------------------

bool intro_191() {
    const s32 answer = cal_lines({
        {.text = 61297_t, .right = {CAL_NOBODY}, .choose = {61298_t, 61299_t}},
    });
    return answer == 0;
}

constexpr CalLine OUTCOME1_191[] = {{.text = 14522_t, .right = {CAL_NOBODY}}};
constexpr CalLine OUTCOME2_191[] = {{.text = 14523_t, .right = {CAL_NOBODY}}};
constexpr CalLine OUTCOME3_191[] = {{.text = 14524_t, .right = {CAL_NOBODY}}};
constexpr CalLine OUTCOME4_191[] = {{.text = 14531_t, .right = {CAL_NOBODY}}};
constexpr CalLine OUTCOME5_191[] = {{.text = 14525_t, .right = {CAL_NOBODY}}};
constexpr CalLine OUTCOME6_191[] = {{.text = 14526_t, .right = {CAL_NOBODY}}};
void outcome1_191(bool) {
    mood_add(3);
}
void outcome2_191(bool) {
    roster_grow(55, 20);
    roster_grow(77, 10);
}
void outcome3_191(bool) {
    roster_grow(68, 10);
}
// The relic is handed over; a skilled protagonist reads it and learns from it.
void outcome6_191(bool) {
    if (player_record.skill[LAUNCH_191_SKILL] < LAUNCH_191_SKILL_MIN) {
        cal_lines({{.text = 14527_t, .right = {CAL_NOBODY}}});
        inv_remove(2100, 1);
        return;
    }
    cal_lines({{.text = 14527_t, .to = 14530_t, .right = {CAL_NOBODY}}});
    inv_remove(2100, 1);
    known_add(0, 52);
    fame_add(30);
    album_add(17);
}
constexpr LauncherOutcome OUTCOMES_191[] = {
    {1, OUTCOME1_191, outcome1_191}, {2, OUTCOME2_191, outcome2_191},
    {3, OUTCOME3_191, outcome3_191}, {4, OUTCOME4_191, nullptr},
    {5, OUTCOME5_191, nullptr},      {6, OUTCOME6_191, outcome6_191},
};

// ---- Slot 197 (after 165) --------------------------------------------------------------------

bool intro_197() {
    cal_lines({{.backdrop = 60402_pic, .text = 60960_t, .to = 60965_t, .right = {40_p}}});
    cal_empty(cal_pool_a(12));
    return true;
}

// ---- Slot 129 (after 185) --------------------------------------------------------------------

bool intro_129() {
    s32 variant = 0;
    if (story_flag(7) == 1) {
        cal_lines({{.text = 57296_t, .right = {CAL_NOBODY}}});
        variant = 2;
    } else if (story_flag(7) == 2 || story_flag(6) == 1) {
        const s32 answer = cal_lines({
            {.text = 57297_t, .right = {CAL_NOBODY}, .choose = {57298_t, 57299_t}},
        });
        if (answer == 0) variant = 1;
    }
    if (variant == 0) return false;
    // Stored before the episode so that a game saved inside it resumes the same variant.
    story_flag(99) = variant;
    if (variant == 1) {
        const s32* x = LAUNCH_129_EXCLUDED;
        companion_picker(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]);
    }
    return true;
}
LauncherScene scene_of_129() {
    mouse_buttons = 0;
    return story_flag(99) == 1 ? scene_play_129_1 : scene_play_129_2;
}
// 1: variant 1 succeeded, 2: variant 2 succeeded, 0: neither.
s32 outcome_129() {
    if (story_flag(99) == 1) return story_flag(93) == 2 ? 1 : 0;
    return story_flag(94) == 2 ? 2 : 0;
}
constexpr CalLine VARIANT1_129[] = {{.text = 14521_t, .right = {CAL_NOBODY}}};
constexpr CalLine VARIANT2_129[] = {{.text = 14520_t, .right = {CAL_NOBODY}}};
constexpr LauncherOutcome OUTCOMES_129[] = {
    {1, VARIANT1_129, nullptr},
    {2, VARIANT2_129, nullptr},
};

// ---- Slot 135 (after 195) --------------------------------------------------------------------

bool intro_135() {
    const s32 answer = cal_lines({
        {.text = 58037_t, .right = {CAL_NOBODY}, .choose = {58038_t, 58039_t}},
    });
    if (answer != 0) return false;
    const s32* x = LAUNCH_135_EXCLUDED;
    companion_picker(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]);
    return true;
}
constexpr CalLine FLAG1_135[] = {{.text = 16663_t, .right = {CAL_NOBODY}}};
constexpr CalLine FLAG3_135[] = {{.text = 16664_t, .right = {CAL_NOBODY}}};
constexpr CalLine FLAG2_135[] = {
    {.text = 58110_t, .right = {CAL_NOBODY}}, {.text = 58111_t, .right = {30_p}},
    {.text = 58112_t, .right = {CAL_NOBODY}}, {.text = 58113_t, .right = {30_p}},
    {.text = 58114_t, .right = {CAL_NOBODY}}, {.text = 58115_t, .right = {30_p}},
    {.text = 58116_t, .right = {CAL_NOBODY}},
};
void flag1_135(bool) {
    fame_add(30);
}
void flag3_135(bool) {
    chivalry_add(-20);
}
void flag2_135(bool) {
    mood_add(-3);
}
constexpr LauncherOutcome OUTCOMES_135[] = {
    {1, FLAG1_135, flag1_135},
    {3, FLAG3_135, flag3_135},
    {2, FLAG2_135, flag2_135},
};

// ---- Slot 198 (after 233) --------------------------------------------------------------------

constexpr CalLine INTRO_198[] = {
    {.backdrop = 60402_pic, .text = 61930_t, .to = 61937_t, .right = {40_p}},
};

// ---- The table -------------------------------------------------------------------------------

constexpr LauncherRow ROWS[] = {
    {.slot = 221,
     .intro_lines = INTRO_221,
     .scene = scene_play_221,
     .head = HEAD_221,
     .turns = 1,
     .order = CalEndOrder::OutroFirst},
    {.slot = 192,
     .intro = intro_192,
     .scene = scene_play_192,
     .head = HEAD_192,
     .flag = 96,
     .outcomes = OUTCOMES_192,
     .turns = 3},
    {.slot = 190,
     .intro = intro_190,
     .scene = scene_play_190,
     .after = after_190,
     .flag = 98,
     .outcomes = OUTCOMES_190,
     .turns = 3},
    {.slot = 196,
     .intro_lines = INTRO_196,
     .scene = scene_play_196,
     .fade = LauncherFade::None,
     .turns = 1},
    {.slot = 222,
     .intro_lines = INTRO_222,
     .scene = scene_play_222,
     .after = after_222,
     .outro = episode_outcome_222,
     .turns = 3,
     .last = last_222},
    {.slot = 44,
     .intro = intro_044,
     .scene = scene_play_044,
     .fade = LauncherFade::NotOnResume,
     .flag = 88,
     .outcomes = OUTCOMES_044,
     .turns = 3},
    {.slot = 193,
     .intro_lines = INTRO_193,
     .scene = scene_play_193,
     .head = HEAD_193,
     .head_skipped_on_resume = true,
     .flag = 90,
     .outcomes = OUTCOMES_193,
     .turns = 3},
    {.slot = 203,
     .intro = intro_203,
     .scene = scene_play_203,
     .fade = LauncherFade::NotOnResume,
     .flag = 17,
     .outcomes = OUTCOMES_203,
     .turns = 3},
    {.slot = 194,
     .intro = intro_194,
     .scene = scene_play_194,
     .flag = 89,
     .outcomes = OUTCOMES_194,
     .turns = 3},
    {.slot = 191,
     .intro = intro_191,
     .scene = scene_play_191,
     .outro = episode_outcome_191,
     .turns = 2,
     .order = CalEndOrder::OutroFirstUnlessResumed},
    {.slot = 197,
     .intro = intro_197,
     .scene = scene_play_197,
     .fade = LauncherFade::None,
     .turns = 3},
    {.slot = 129,
     .intro = intro_129,
     .scene_of = scene_of_129,
     .outcome = outcome_129,
     .outcomes = OUTCOMES_129,
     .turns = 3},
    {.slot = 135,
     .intro = intro_135,
     .scene = scene_play_135,
     .flag = 81,
     .outcomes = OUTCOMES_135,
     .turns = 3,
     .order = CalEndOrder::EndAfterFadeUnlessResumed},
    {.slot = 198,
     .intro_lines = INTRO_198,
     .scene = scene_play_198,
     .outro = route_three_outcome,
     .turns = 1},
};

// ---- The protocol's callbacks ------------------------------------------------------------------

bool row_intro() {
    const LauncherRow& r = *running;
    if (r.intro != nullptr) return r.intro();
    cal_lines(r.intro_lines);
    return true;
}

void row_scene() {
    const LauncherRow& r = *running;
    launcher_scene_seam(r.scene_of != nullptr ? r.scene_of() : r.scene);
    if (!cal_loaded() && r.after != nullptr) r.after();
}

void row_outro(bool resumed) {
    const LauncherRow& r = *running;
    // The frame fades before the end of turn in that order; the outro then starts on the faded
    // screen.
    const bool faded = r.order == CalEndOrder::EndAfterFadeUnlessResumed && !resumed;
    if (!faded &&
        (r.fade == LauncherFade::Always || (r.fade == LauncherFade::NotOnResume && !resumed)))
        fade_out();
    if (r.outro != nullptr) {
        r.outro();
        return;
    }
    const bool head = !r.head.empty() && !(resumed && r.head_skipped_on_resume);
    if (head) cal_lines(r.head);
    const s32 value = r.outcome != nullptr ? r.outcome() : r.flag >= 0 ? story_flag(r.flag) : 0;
    launcher_play_outcome(r.outcomes, value, !head, resumed);
}

} // namespace

void (*launcher_scene_seam)(LauncherScene scene) = call_scene;
void (*launcher_open_world_seam)(s32 route) = open_world_start;

std::span<const LauncherRow> launcher_rows() {
    return ROWS;
}

const LauncherRow* launcher_row(s32 slot) {
    for (const LauncherRow& r : ROWS)
        if (r.slot == slot) return &r;
    return nullptr;
}

void launcher_play_outcome(std::span<const LauncherOutcome> cases, s32 value, bool show_first,
                           bool resumed) {
    const LauncherOutcome* hit = nullptr;
    for (const LauncherOutcome& c : cases)
        if (c.value == value) hit = &c;
    if (hit == nullptr)
        for (const LauncherOutcome& c : cases)
            if (c.value == LAUNCH_OTHER) hit = &c;
    if (hit == nullptr) return;
    if (!hit->lines.empty()) {
        CalLine first = hit->lines.front();
        first.show = show_first;
        cal_lines({first});
        cal_lines(hit->lines.subspan(1));
    }
    if (hit->effects != nullptr) hit->effects(resumed);
}

CalLaunch launcher_run(const LauncherRow& row) {
    const LauncherRow* outer = running;
    running = &row;
    const bool has_outro = row.fade != LauncherFade::None;
    const CalLauncher l = {.intro = row_intro,
                           .scene = row_scene,
                           .outro = has_outro ? row_outro : nullptr,
                           .turns = row.turns,
                           .order = row.order};
    const CalLaunch result = cal_launch(l);
    // A loaded game keeps its own entries: the last step belongs to the episode that was left.
    if (result != CalLaunch::Loaded && row.last != nullptr) row.last();
    running = outer;
    return result;
}

// ---- Outcome routines --------------------------------------------------------------------------

void episode_outcome_191() {
    launcher_play_outcome(OUTCOMES_191, story_flag(91), true, false);
}

void episode_outcome_222() {
    const bool friends = story_flag(84) == 1;
    cal_lines({
        {.show = true, .text = 16620_t, .right = {CAL_NOBODY}},
        {.text = 16621_t, .to = 16625_t, .right = {40_p}},
    });
    if (friends) {
        cal_lines({{.text = 16626_t, .to = 16632_t, .right = {40_p}}});
        album_add(7);
    } else {
        cal_lines({{.text = 16642_t, .right = {40_p}}});
    }
    cal_lines({{.text = 16633_t, .to = 16641_t, .right = {40_p}}});
    if (friends) affection_add(205, 5);
}

void route_three_outcome() {
    if (story_flag(80) == LAUNCH_CALENDAR_GOES_ON) {
        cal_lines({{.show = true, .text = 62174_t, .to = 62179_t, .right = {40_p}}});
        return;
    }
    cal_lines({
        {.show = true, .text = 62030_t, .to = 62033_t, .right = {40_p}},
        {.text = 62035_t, .to = 62040_t, .right = {40_p}},
        {.text = 62042_t, .to = 62044_t, .right = {40_p}},
        {.text = 62046_t, .to = 62048_t, .right = {40_p}},
    });
    // The piece plays without becoming the stored track.
    mssw_play_music(10033, 0);
    cal_lines({
        {.text = 62049_t, .right = {40_p}, .left = {7_p}},
        {.text = 62050_t, .right = {40_p}, .left = {30_p}},
        {.text = 62051_t, .right = {40_p}},
        {.text = 62052_t, .to = 62054_t, .right = {40_p}, .left = {30_p}},
        {.text = 62055_t, .to = 62060_t, .right = {40_p}},
        {.text = 62061_t, .right = {CAL_NOBODY}},
        {.travel = true, .backdrop = 60406_pic, .text = 62062_t, .to = 62066_t, .right = {30_p}},
        {.text = 62067_t, .right = {20_p}},
        {.text = 62068_t, .to = 62069_t, .right = {CAL_NOBODY}},
        {.travel = true},
    });
    mssw_play_music(10065, 1);
    cal_lines({
        {.backdrop = 60423_pic, .text = 62070_t, .to = 62071_t, .right = {CAL_NOBODY}},
        {.text = 62072_t, .to = 62099_t, .right = {197_p, 194_p}},
    });
    player_record.story_flags[STORY_ROUTE] = LAUNCH_ROUTE_THREE;
    launcher_open_world_seam(LAUNCH_ROUTE_THREE);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
void run_slot(s32 slot) {
    if (const LauncherRow* r = launcher_row(slot)) launcher_run(*r);
}
} // namespace

void calendar_event_044() {
    run_slot(44);
}
void calendar_event_129() {
    run_slot(129);
}
void calendar_event_135() {
    run_slot(135);
}
void calendar_event_190() {
    run_slot(190);
}
void calendar_event_191() {
    run_slot(191);
}
void calendar_event_192() {
    run_slot(192);
}
void calendar_event_193() {
    run_slot(193);
}
void calendar_event_194() {
    run_slot(194);
}
void calendar_event_196() {
    run_slot(196);
}
void calendar_event_197() {
    run_slot(197);
}
void calendar_event_198() {
    run_slot(198);
}
void calendar_event_203() {
    run_slot(203);
}
void calendar_event_221() {
    run_slot(221);
}
void calendar_event_222() {
    run_slot(222);
}

namespace {
constexpr CalendarSlot SLOTS[] = {
    {44, calendar_event_044},  {129, calendar_event_129}, {135, calendar_event_135},
    {190, calendar_event_190}, {191, calendar_event_191}, {192, calendar_event_192},
    {193, calendar_event_193}, {194, calendar_event_194}, {196, calendar_event_196},
    {197, calendar_event_197}, {198, calendar_event_198}, {203, calendar_event_203},
    {221, calendar_event_221}, {222, calendar_event_222},
};
} // namespace

std::span<const CalendarSlot> launchers_slots() {
    return SLOTS;
}

void register_launchers() {
    calendar_install(SLOTS, LAUNCHERS_OWNER);
}
