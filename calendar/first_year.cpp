#include "calendar/first_year.h"

#include "calendar/calendar_seams.h"
#include "calendar/frame.h"
#include "calendar/prize_quiz.h"
#include "data/hub_block.h"
#include "data/roster.h"
#include "engine/labels.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/hub_dialog.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"
#include "game/titles.h"

#include <cstdint>

using namespace cal_literals;

namespace {

s32& story_flag(s32 n) {
    return player_record.story_flags[n];
}

// Adds n to a growth value's experience pool, saturating at the ends of its range (a pool read
// from a saved game may be near the top).
void pool_add(s32 index, s32 n) {
    s32& pool = growth_pool(index);
    const s64 sum = s64(pool) + n;
    pool = sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : s32(sum);
}

// ---- 025 and 032: the stranger (person 180) ----------------------------------------------------

constexpr s32 STRANGER = 180;
constexpr s32 STRANGER_INJURY_SPREAD = 4; // sick turns 2 + rand_below(4)

// The first meeting makes the stranger an acquaintance; a later one changes the regard.
void meet_stranger(s32 bonus, s32 change) {
    if (acquaint_has(STRANGER) == 0)
        acquaint_add(STRANGER, bonus);
    else
        affection_add(STRANGER, change);
}

} // namespace

void calendar_event_025() {
    CalSummary sum;
    const s32 help = cal_lines({
        {.backdrop = 60427_pic, .text = 60020_t, .right = {86_p}, .left = {CAL_NOBODY}},
        {.text = 60021_t, .right = {86_p}},
        {.text = 60022_t, .right = {86_p}, .left = {CAL_NOBODY}},
        {.text = 60023_t, .to = 60025_t, .right = {86_p}, .left = {150_p}},
        {.choose = {60026_t, 60027_t}},
    });
    if (help == 0) {
        cal_lines({{.text = 60030_t, .to = 60033_t, .right = {150_p}}});
        if (cal_won(cal_battle(19))) {
            cal_lines({
                {.text = 60034_t, .right = {150_p}},
                {.travel = true, .text = 60040_t, .to = 60046_t, .right = {85_p}},
            });
            meet_stranger(60, 10);
            chivalry_add(2);
            fame_add(4);
            cal_summary_add(sum, 231_t);
            cal_summary_add(sum, 232_t);
        } else {
            cal_lines({
                {.text = 60050_t, .right = {150_p}},
                {.text = 60051_t, .to = 60052_t, .right = {150_p}, .left = {86_p}},
                {.text = 60053_t, .to = 60054_t, .right = {150_p}, .left = {155_p}},
            });
            cal_battle(20); // the result does not matter
            cal_lines({
                {.text = 60060_t, .right = {150_p}, .left = {155_p}},
                {.travel = true, .text = 60061_t, .to = 60067_t, .right = {85_p}, .left = {155_p}},
                {.text = 60068_t},
            });
            meet_stranger(55, 5);
            chivalry_add(2);
            cal_injury(sum, STRANGER_INJURY_SPREAD);
        }
        cal_open(cal_pool_b(16));
    } else {
        cal_lines({{.text = 60070_t, .to = 60072_t, .right = {150_p}, .left = {155_p}}});
        cal_battle(20); // the result does not matter
        cal_lines({
            {.text = 60073_t, .right = {150_p}, .left = {155_p}},
            {.travel = true, .text = 60061_t, .to = 60062_t, .right = {85_p}, .left = {155_p}},
            {.text = 60075_t, .to = 60078_t, .right = {85_p}},
            {.text = 60079_t},
        });
        chivalry_add(-3);
        meet_stranger(40, -10);
        cal_summary_add(sum, 282_t);
    }
    heal_full(0, 89, 250, 251);
    cal_close(cal_pool_a(7));
    cal_summary_show(sum);
}

void calendar_event_032() {
    const s32 listen = cal_lines({
        {.backdrop = 60423_pic, .text = 40601_t},
        {.text = 40602_t, .to = 40606_t, .right = {85_p, 86_p}},
        {.choose = {40611_t, 40612_t}},
    });
    if (listen == 0) {
        const s32 option = cal_lines({
            {.text = 40613_t},
            {.right = {85_p}, .choose = {15206_t, 15207_t, 15208_t}},
        });
        // The option only picks the line; the coin alone decides the regard.
        constexpr CalText PLEASED[3] = {15202_t, 15204_t, 15200_t};
        constexpr CalText DISPLEASED[3] = {15205_t, 15201_t, 15203_t};
        const s32 o = option >= 0 && option < 3 ? option : 0;
        if (cal_rand(2) == 0) {
            cal_lines({
                {.text = PLEASED[o], .right = {85_p}},
                {.text = 60112_t, .to = 60114_t, .right = {85_p}},
            });
            affection_add(STRANGER, 5);
        } else {
            cal_lines({
                {.text = DISPLEASED[o], .right = {85_p}},
                {.text = 60111_t, .right = {85_p}},
            });
            affection_add(STRANGER, -5);
        }
    } else {
        cal_lines({{.text = 60120_t, .to = 60121_t, .right = {85_p}}});
        affection_add(STRANGER, -5);
    }
    cal_close(cal_pool_b(16));
    cal_open(cal_pool_b(17));
}

// ---- 027: two friends --------------------------------------------------------------------------

void calendar_event_027() {
    CalSummary sum;
    const s32 side = cal_lines({
        {.backdrop = 60407_pic, .text = 15007_t, .right = {225_p}, .left = {50_p}},
        {.text = 15008_t},
        {.text = 15009_t, .right = {225_p}},
        {.text = 15010_t, .right = {225_p}, .left = {2_p}},
        {.text = 15011_t, .right = {50_p}, .left = {CAL_NOBODY}},
        {.text = 15012_t},
        {.text = 15013_t, .right = {225_p}, .left = {CAL_NOBODY}},
        {.text = 15014_t, .right = {225_p}, .left = {2_p}},
        {.text = 15015_t, .right = {226_p}},
        {.text = 15016_t, .left = {7_p}},
        {.left = {7_p}, .choose = {15017_t, 15018_t}},
    });
    if (side == 0) {
        cal_lines({
            {.text = 15019_t, .right = {50_p}},
            {.text = 15020_t, .to = 15025_t, .right = {226_p}, .left = {8_p}},
            {.travel = true, .text = 15026_t, .right = {226_p}, .left = {8_p}},
            {.text = 15027_t, .left = {9_p}},
            {.travel = true, .text = 15033_t, .left = {40_p}},
            {.text = 15034_t, .to = 15035_t, .right = {50_p}, .left = {40_p}},
        });
        chivalry_add(-2);
        known_add(15, 0);
        player_record.affection[207] = 60;
        affection_add(205, -5);
        cal_schedule_before(59, 136);
    } else {
        cal_lines({
            {.text = 15028_t},
            {.text = 15029_t, .to = 15031_t, .right = {226_p}},
            {.text = 15032_t, .right = {226_p}, .left = {6_p}},
            {.travel = true, .text = 15033_t, .right = {50_p}, .left = {40_p}},
            {.text = 15036_t, .right = {50_p}, .left = {40_p}},
            {.text = 15035_t, .right = {50_p}, .left = {40_p}},
        });
        chivalry_add(4);
        cal_summary_add(sum, 232_t);
        affection_add(205, 2);
        player_record.affection[207] = 40;
        cal_summary_add(sum, 240_t);
    }
    cal_summary_show(sum);
}

// ---- 038: the outing of place 0.0 --------------------------------------------------------------

namespace {

constexpr s32 SPARRING_PARTNER = 204;
constexpr s32 SPARRING_ENCOUNTER = 1;
constexpr s32 SPARRING_PRIZE = 1274;
constexpr s32 LESSON_SKILL = 5;
constexpr s32 LESSON_EXP = 300;

// The sparring match won (or ended by the round limit): the prize, and a partner cooler by
// `cooler` (given before the prize when `cooler_first`).
void sparring_won(CalSummary& sum, CalCast left, s32 cooler, bool cooler_first) {
    cal_lines({{.text = 15448_t, .to = 15449_t, .right = {24_p}, .left = left}});
    if (cooler_first) affection_add(SPARRING_PARTNER, -cooler);
    inv_add(SPARRING_PRIZE, 1);
    if (!cooler_first) affection_add(SPARRING_PARTNER, -cooler);
    cal_summary_add(sum, 295_t);
}

// The training ground (the fourth destination).
void training_ground(CalSummary& sum) {
    const s32 spar = cal_lines({
        {.backdrop = 60405_pic},
        {.travel = true, .text = 15423_t, .left = {9_p}},
        {.text = 15424_t, .right = {25_p}, .left = {CAL_NOBODY}},
        {.text = 15425_t, .right = {25_p}},
        {.text = 15426_t, .to = 15427_t, .right = {24_p}},
        {.text = 15428_t, .to = 15429_t, .right = {24_p}, .left = {2_p}},
        {.right = {24_p}, .choose = {15430_t, 15452_t}},
    });
    if (spar != 0) {
        cal_lines({{.text = 15453_t, .right = {25_p}}});
        affection_add(SPARRING_PARTNER, 10);
        cal_summary_add(sum, 245_t);
        return;
    }
    const s32 how = cal_lines({
        {.text = 15431_t, .right = {20_p}},
        {.text = 15432_t, .left = {6_p}},
        {.text = 15433_t, .right = {20_p}, .choose = {15434_t, 15438_t}},
    });
    if (how == 0) {
        RosterEntry& partner = roster[SPARRING_PARTNER];
        partner.hp = partner.hp_max / 2;
        if (cal_lost(cal_battle(SPARRING_ENCOUNTER)))
            cal_lines({{.text = 15435_t, .to = 15437_t, .right = {25_p}, .left = {5_p}}});
        else
            sparring_won(sum, {13_p}, 5, false);
        return;
    }
    cal_lines({
        {.text = 15439_t, .right = {20_p}},
        {.text = 15440_t, .right = {25_p}},
    });
    affection_add(SPARRING_PARTNER, 1);
    cal_summary_add(sum, 245_t);
    const s32 lesson = cal_lines({{.right = {25_p}, .choose = {15441_t, 15445_t}}});
    if (lesson == 0) {
        cal_lines({
            {.text = 15442_t, .to = 15443_t, .right = {25_p}},
            {.travel = true, .text = 15444_t, .right = {25_p}},
        });
        // Taught whatever the skill's level.
        pool_add(LESSON_SKILL, LESSON_EXP);
        grow_quiet(LESSON_SKILL);
        cal_summary_add(sum, CalText{CAL_GAIN_SUMMARY + LESSON_SKILL});
        return;
    }
    cal_lines({
        {.text = 15446_t, .right = {20_p}},
        {.text = 15447_t, .right = {24_p}},
    });
    if (cal_lost(cal_battle(SPARRING_ENCOUNTER))) {
        cal_lines({
            {.text = 15450_t, .right = {25_p}},
            {.text = 15451_t, .right = {25_p}, .left = {7_p}},
        });
        affection_add(SPARRING_PARTNER, -5);
        cal_summary_add(sum, 295_t);
    } else {
        sparring_won(sum, {CAL_HERO}, 10, true);
    }
}

// The walk: home, or one of four destinations.
void outing(CalSummary& sum) {
    const s32 go = cal_lines({
        {.text = 15415_t, .left = {40_p}},
        {.travel = true, .backdrop = 60400_pic, .text = 15416_t, .left = {2_p}},
        {.choose = {15417_t, 15422_t}},
    });
    if (go != 0) return;
    const s32 where = cal_lines({{.choose = {15418_t, 15419_t, 15421_t, 15420_t}}});
    constexpr CalPicture VIEW[3] = {60401_pic, 60404_pic, 60406_pic};
    if (where >= 0 && where < 3) {
        cal_lines({
            {.backdrop = VIEW[where]},
            {.travel = true, .text = 15454_t},
        });
        return;
    }
    training_ground(sum);
}

} // namespace

void calendar_event_038() {
    CalSummary sum;
    cal_lines({
        {.backdrop = 60402_pic, .text = 15400_t, .left = {43_p}},
        {.text = 15401_t, .right = {30_p}, .left = {CAL_NOBODY}},
        {.text = 15402_t, .left = {44_p}},
        {.text = 15403_t, .right = {25_p}, .left = {CAL_NOBODY}},
        {.text = 15404_t, .left = {44_p}},
        {.text = 15405_t, .right = {8_p}, .left = {CAL_NOBODY}},
        {.text = 15406_t, .left = {44_p}},
        {.text = 15407_t, .right = {30_p}, .left = {CAL_NOBODY}},
        {.text = 15408_t, .left = {44_p}},
        {.text = 15409_t, .right = {CAL_HERO}, .left = {CAL_NOBODY}},
    });
    // The protagonist at the right speaks the options.
    const s32 reply = hub_choose(1, -1, 0, 15410, 15412, 15413, -1);
    if (reply == 0) {
        cal_lines({{.text = 15411_t, .left = {42_p}}});
        affection_add(205, -5);
        cal_summary_add(sum, 290_t);
    } else if (reply == 2) {
        cal_lines({{.text = 15414_t, .left = {44_p}}});
        affection_add(205, 5);
        cal_summary_add(sum, 240_t);
    }
    outing(sum);
    cal_close(cal_place(0, 0, 5));
    cal_turns(1);
    cal_summary_show(sum);
}

// ---- 039 and 040: arts of person 40 ------------------------------------------------------------

namespace {

// The three arts on offer, each with its weapon.
struct ArtGift {
    s32 list;
    s32 art;
    s32 item;
};
constexpr ArtGift ART_GIFTS[3] = {{5, 50, 1402}, {6, 50, 1432}, {7, 50, 1460}};
constexpr s32 ART_CHOICE_FLAG = 78;

} // namespace

void calendar_event_039() {
    s32 k = cal_lines({
        {.backdrop = 60407_pic,
         .text = 15622_t,
         .right = {40_p},
         .choose = {15623_t, 15624_t, 15625_t}},
    });
    if (k < 0 || k > 2) k = 0;
    cal_lines({
        {.text = CalText{15627 + k}, .right = {40_p}},
        {.text = 15631_t, .to = 15632_t, .right = {40_p}},
    });
    known_add(ART_GIFTS[k].list, ART_GIFTS[k].art);
    inv_add(ART_GIFTS[k].item, 1);
    story_flag(ART_CHOICE_FLAG) = k;
    cal_open(cal_place(0, 0, 6));
    cal_turns(1);
}

void calendar_event_040() {
    cal_lines({
        {.backdrop = 60407_pic, .text = 15600_t, .to = 15609_t, .right = {40_p}},
        {.text = 15599_t, .right = {40_p}},
    });
    cal_turns(1);
    known_add(0, 50);
    cal_menu(0, 1, 1);
    for (s32 button = 0; button <= 5; button++) cal_menu(2, button, 1);
}

// ---- 043: the yearly visits --------------------------------------------------------------------

namespace {

// How the lines of a visit's run are spoken: in turns, the visitor first (caption 1) and the
// protagonist answering (caption 0), the visitor's portrait at the right throughout; by the
// protagonist alone with the visitor at the right; or by the protagonist alone without anyone at
// the right.
enum class Voice { Turns, Hero, Alone };

struct VisitRun {
    CalText first{};
    CalText last{}; // 0: one line
    Voice voice = Voice::Turns;
    bool travel = false;
    CalPicture backdrop{};
};

constexpr s32 VISIT_RUNS = 8;
// The once-only flag's test: a visit takes place while the flag is not 1, or (person 40's three
// gifts) only while it is 0.
enum class Once { NotOne, Zero };

struct VisitScene {
    CalPerson face; // the visitor's portrait
    CalList<VisitRun, VISIT_RUNS> runs;
    s32 done_flag; // set to 1 by the visit
    Once once;
    s32 item = 0, count = 0;  // the gift, when item > 0
    void (*more)() = nullptr; // further gifts
};

// Who may visit: the story flag that must be 1 (VISIT_NEEDS_ART: the art of person 75's visit,
// known list 20 id 52 at level 100, instead), and the visitor's scenes, the first open one taken.
constexpr s32 VISIT_NEEDS_ART = -1;
constexpr s32 VISIT_SCENES = 3;
struct Visitor {
    s32 needs_flag;
    CalList<s32, VISIT_SCENES> scenes; // indices into VISIT_SCENE
};

void say_visit_run(const VisitRun& run, CalPerson face) {
    cal_lines({{.travel = run.travel, .backdrop = run.backdrop}});
    const s32 first = cal_id(run.first);
    const s32 last = cal_id(run.last) > first ? cal_id(run.last) : first;
    for (s32 t = first, i = 0; t <= last && i < CAL_RUN_MAX; t++, i++) {
        CalLine line{.text = CalText{t}};
        if (run.voice != Voice::Alone) line.right = {face};
        if (run.voice == Voice::Hero || (run.voice == Voice::Turns && i % 2 == 1))
            line.speaker = CalSpeaker::Left;
        cal_lines({line});
    }
}

void gift_base_value() {
    pool_add(0, 5000);
    grow(0);
}
void gift_attributes() {
    for (s32 g = GROWTH_ATTR_FIRST; g <= GROWTH_ATTR_FIRST + 4; g++) pool_add(g, 3000);
    for (s32 g = GROWTH_ATTR_FIRST; g <= GROWTH_ATTR_FIRST + 4; g++) grow_quiet(g);
    log_text(438);
}
void gift_art() {
    known_add(2, 55);
}
void gift_regard() {
    player_record.affection[75] = 100;
}

constexpr VisitRun hero_line(CalText t) {
    return {t, {}, Voice::Hero};
}
constexpr VisitRun alone_line(CalText t, bool travel = false) {
    return {t, {}, Voice::Alone, travel};
}

constexpr VisitScene VISIT_SCENE[] = {
    {420_p, {hero_line(26376_t), {26377_t, 26396_t}}, 69, Once::NotOne, 1480, 1},
    {90_p, {hero_line(26313_t), {26314_t, 26323_t}}, 68, Once::NotOne, 1482, 1},
    {125_p, {{26330_t, 26341_t}}, 67, Once::Zero, 1253, 5},
    {125_p,
     {{26342_t, 26355_t}, alone_line(26397_t), alone_line(26398_t, true)},
     66,
     Once::Zero,
     0,
     0,
     gift_base_value},
    {125_p,
     {hero_line(26356_t), {26357_t, 26368_t}, alone_line(26397_t), alone_line(26398_t, true)},
     65,
     Once::Zero,
     0,
     0,
     gift_attributes},
    {120_p, {hero_line(26369_t), {26370_t, 26375_t}}, 64, Once::NotOne, 1466, 1},
    {85_p, {hero_line(26300_t), {26301_t, 26312_t}}, 63, Once::NotOne, 0, 0, gift_art},
    {275_p,
     {hero_line(17500_t),
      {17501_t, 17510_t},
      {17511_t, 17518_t, Voice::Turns, false, 60408_pic},
      hero_line(17519_t),
      {17521_t, 17530_t},
      hero_line(17531_t),
      {17532_t, 17535_t},
      alone_line(17535_t)},
     62,
     Once::NotOne,
     0,
     0,
     gift_regard},
};
constexpr s32 VISIT_SCENE_COUNT = s32(sizeof VISIT_SCENE / sizeof VISIT_SCENE[0]);

// In the order of YEARLY_VISITOR: 200, 132, 40 (three gifts in three different years), 146, 180,
// 75.
constexpr Visitor VISITOR[YEARLY_VISITORS] = {
    {70, {0}}, {19, {1}}, {23, {2, 3, 4}}, {24, {5}}, {74, {6}}, {VISIT_NEEDS_ART, {7}},
};

// The scene a visitor who came plays, or nullptr when the visit's own condition fails.
const VisitScene* visit_scene(const Visitor& v) {
    const bool may = v.needs_flag == VISIT_NEEDS_ART ? known_has_level(20, 52, 100) != 0
                                                     : story_flag(v.needs_flag) == 1;
    if (!may) return nullptr;
    for (s32 i = 0; i < v.scenes.count; i++) {
        const s32 k = v.scenes.item[i];
        if (k < 0 || k >= VISIT_SCENE_COUNT) continue;
        const VisitScene& scene = VISIT_SCENE[k];
        const s32 done = story_flag(scene.done_flag);
        if (scene.once == Once::Zero ? done == 0 : done != 1) return &scene;
    }
    return nullptr;
}

void visit(const VisitScene& scene) {
    for (s32 r = 0; r < scene.runs.count; r++) say_visit_run(scene.runs.item[r], scene.face);
    if (scene.item > 0) inv_add(scene.item, scene.count);
    if (scene.more != nullptr) scene.more();
    story_flag(scene.done_flag) = 1;
}

} // namespace

void calendar_event_043() {
    hub_block.scene_backdrop = 60407;
    s32 visits = 0;
    for (s32 k = 0; k < YEARLY_VISITORS; k++) {
        const s32 least =
            k == YEARLY_VISITORS - 1 ? YEARLY_VISIT_AFFECTION_LAST : YEARLY_VISIT_AFFECTION;
        if (player_record.affection[YEARLY_VISITOR[k]] < least) continue;
        // The walk comes before the visit's own test: a visitor who then stays away still had it.
        if (visits >= YEARLY_VISIT_TRAVEL_FROM) cal_lines({{.travel = true}});
        const VisitScene* scene = visit_scene(VISITOR[k]);
        if (scene == nullptr) continue;
        visit(*scene);
        visits++;
    }
    if (visits == 0) {
        EventEntry* trial = cal_entry(cal_pool_b(0));
        if (trial != nullptr && trial->on == 0 && world_state.year == YEARLY_MUSIC_TRIAL_YEAR) {
            music_trial_seam();
            trial->on = YEARLY_MUSIC_TRIAL_HELD;
        } else {
            cal_lines({{.text = CalText{YEARLY_LONELY_TEXT}}});
            mood_add(YEARLY_LONELY_MOOD);
        }
    }
    title_award_check(YEARLY_TITLE_KIND);
}

// ---- 174: the prize quiz -----------------------------------------------------------------------

void calendar_event_174() {
    hub_block.scene_backdrop = 60427;
    prize_quiz();
    cal_turns(1);
    cal_close(cal_pool_a(13));
}

// ---- The training aftermath --------------------------------------------------------------------

void training_aftermath(s32 flag) {
    if (flag != 1) return;
    bool picked[AFTERMATH_VALUES] = {};
    for (s32 i = 0; i < AFTERMATH_PICKS; i++) cal_draw_new(picked);
    CalSummary sum;
    for (s32 v = 0; v < AFTERMATH_VALUES; v++) {
        if (!picked[v]) continue;
        const CalGrowth g = v < AFTERMATH_VALUES - 1 ? cal_attr(v) : cal_skill(0);
        cal_lower(sum, g, AFTERMATH_LOSS_MIN + cal_rand(AFTERMATH_LOSS_SPREAD));
    }
    stamina_add(AFTERMATH_STAMINA);
    cal_summary_add(sum, CalText{AFTERMATH_SUMMARY});
    player_record.mood = AFTERMATH_MOOD;
    player_record.mood_turns = 0;
    cal_summary_show(sum);
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {25, calendar_event_025}, {27, calendar_event_027},  {32, calendar_event_032},
    {38, calendar_event_038}, {39, calendar_event_039},  {40, calendar_event_040},
    {43, calendar_event_043}, {174, calendar_event_174},
};
} // namespace

std::span<const CalendarSlot> first_year_slots() {
    return SLOTS;
}

void register_first_year() {
    calendar_install(SLOTS, FIRST_YEAR_OWNER);
}
