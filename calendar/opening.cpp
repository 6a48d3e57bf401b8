// The opening events, run before turns 1 to 35.
#include "calendar/opening.h"

#include "calendar/frame.h"
#include "calendar/opening_screens.h"
#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"

#include <climits>

using namespace cal_literals;

namespace {

constexpr s32 SAVE_SLOT_ARRIVAL = 2;

// Summary lines of the handlers' own effects.
constexpr CalText SUM_STAMINA = 233_t;
constexpr CalText SUM_HOST_UP = 244_t, SUM_HOST_DOWN = 294_t;
constexpr CalText SUM_TEACHER_UP = 240_t, SUM_TEACHER_DOWN = 290_t;
constexpr CalText SUM_SEARCH_UP = 245_t, SUM_SEARCH_DOWN = 295_t;

// The growth values the lessons train.
constexpr CalGrowth SOUND_SKILL = cal_skill(10), SOUND_SIDE_SKILL = cal_skill(1);
constexpr CalGrowth BOARD_SKILL = cal_skill(11);
constexpr CalGrowth PICTURE_SKILL = cal_skill(14);
constexpr CalGrowth LETTER_SKILL = cal_skill(20);

// A gain whose summary line is not shown (the lessons' side skill).
void gain_unlisted(CalGrowth g, s32 n) {
    CalSummary unlisted;
    cal_gain(unlisted, g, n);
}

} // namespace

// ---- Turn 1: the arrival -----------------------------------------------------------------------

void calendar_event_024() {
    player_record.area = AREA_HUB;
    save_game(SAVE_SLOT_ARRIVAL);
    // The first day ended faded out: the first line is revealed without a fade out.
    cal_lines({
        {.show = true, .text = 11000_t},
        {.text = 11001_t, .to = 11006_t, .right = {40_p}},
        {.text = 11007_t, .to = 11013_t, .right = {30_p}, .left = {1_p}},
        {.text = 11014_t, .right = {40_p}, .left = {1_p}},
        {.text = 11015_t, .to = 11017_t, .right = {30_p}},
        {.text = 11018_t, .to = 11020_t, .right = {40_p}},
        {.text = 11021_t, .to = 11022_t, .right = {30_p}},
    });
    player_record.affection[OPENING_HOST] = 55;
    player_record.affection[OPENING_TEACHER] = 50;
    cal_turns(1);
}

// ---- Turn 3: the cure --------------------------------------------------------------------------

void calendar_event_001() {
    const s32 answer = cal_lines({
        {.backdrop = 60400_pic,
         .text = 30461_t,
         .to = 30465_t,
         .right = {30_p},
         .choose = {30466_t, 30467_t}},
    });
    PlayerRecord& p = player_record;
    CalSummary sum;
    if (answer == 0) {
        cal_lines({{.text = 30468_t, .to = 30469_t, .right = {30_p}}, {.text = 30470_t}});
        // The cure takes with a chance of constitution / 10 in ten.
        if (cal_rand(10) < p.constitution / 10) {
            cal_lines({{.travel = true, .text = 30471_t}});
            stamina_add(300);
            p.condition = 3;
            p.sick_turns = 0;
            affection_add(OPENING_HOST, 1);
            cal_summary_add(sum, SUM_STAMINA);
        } else {
            cal_lines({{.travel = true, .text = 30472_t, .left = {3_p}}});
            for (s32 a = 2; a <= 4; ++a) cal_lower(sum, cal_attr(a), 50);
            affection_add(OPENING_HOST, 1);
        }
        cal_summary_add(sum, SUM_HOST_UP);
    } else {
        cal_lines(
            {{.text = 30473_t, .to = 30474_t, .right = {30_p}}, {.text = 30475_t, .left = {2_p}}});
        affection_add(OPENING_HOST, -3);
        cal_summary_add(sum, SUM_HOST_DOWN);
    }
    cal_summary_show(sum);
    cal_turns(1);
}

// ---- Turn 4: the sound lesson ------------------------------------------------------------------

namespace {

constexpr CalMusic SOUND_LESSON_PIECE = 10045_mus;

// The five sounds, each before its line, then the choice: hear them again (second option)?
constexpr CalLine SOUND_DEMONSTRATION[] = {
    {.text = 11074_t, .right = {40_p}},
    {.sound = 600_snd, .text = 11224_t, .right = {40_p}},
    {.sound = 601_snd, .text = 11075_t, .right = {40_p}},
    {.sound = 602_snd, .text = 11076_t, .right = {40_p}},
    {.sound = 603_snd, .text = 11077_t, .right = {40_p}},
    {.sound = 604_snd,
     .text = 11078_t,
     .to = 11079_t,
     .right = {40_p},
     .choose = {11080_t, 11081_t}},
};

// The quiz: the sound, then four options; the fourth asks again.
constexpr CalLine SOUND_QUIZ[] = {
    {.sound = 600_snd, .right = {40_p}, .choose = {11220_t, 11221_t, 11222_t, 11223_t}},
};

// A question that the fourth option repeats.
constexpr s32 ASK_AGAIN = 3;

} // namespace

void calendar_event_007() {
    cal_lines({{.backdrop = 60401_pic}});
    // The piece plays once under the first line; the lesson goes on when it has ended (or at once
    // when it did not start: the music playing before is not the piece).
    mssw_play_music(cal_id(SOUND_LESSON_PIECE), 1);
    cal_lines({{.text = 11066_t}});
    cal_wait_piece(SOUND_LESSON_PIECE);
    cal_lines({{.text = 11067_t}, {.text = 11068_t, .to = 11073_t, .right = {40_p}}});
    mssw_stop_music();

    while (cal_lines(SOUND_DEMONSTRATION) == 1) {
    }
    cal_lines({{.text = 11082_t, .to = 11084_t, .right = {40_p}}});
    s32 answer = ASK_AGAIN;
    while (answer == ASK_AGAIN) answer = cal_lines(SOUND_QUIZ);

    CalSummary sum;
    if (answer == 0) {
        cal_lines({{.text = 11085_t, .to = 11086_t, .right = {40_p}}});
        cal_gain(sum, SOUND_SKILL, 100);
        gain_unlisted(SOUND_SIDE_SKILL, 100);
        affection_add(OPENING_TEACHER, 2);
        cal_summary_add(sum, SUM_TEACHER_UP);
    } else {
        cal_lines({{.text = 11087_t, .right = {40_p}}});
        cal_gain(sum, SOUND_SKILL, 30);
        gain_unlisted(SOUND_SIDE_SKILL, 30);
        affection_add(OPENING_TEACHER, -1);
        cal_summary_add(sum, SUM_TEACHER_DOWN);
    }
    cal_summary_show(sum);
    cal_turns(1);
}

// ---- Turn 6: the grid boards -------------------------------------------------------------------

namespace {

constexpr s32 BOARD_LIST = 11; // known list of the board entries 1..3
constexpr s32 BOARD_RUN = 3;   // boards 1..3 in turn

constexpr CalPic teaching_board(s32 k) {
    return {.id = CalPicture(OPENING_TEACHING_BOARD + k),
            .x = GRID_POINT_BOARD_X,
            .y = GRID_POINT_BOARD_Y};
}

} // namespace

void calendar_event_005() {
    cal_lines({
        {.backdrop = 60405_pic, .text = 11030_t},
        {.text = 11031_t, .to = 11038_t, .right = {40_p}},
        {.text = 11039_t,
         .to = 11042_t,
         .right = {40_p},
         .left = {CAL_NOBODY},
         .pic = teaching_board(0)},
        {.text = 11043_t, .right = {40_p}, .left = {CAL_NOBODY}, .pic = teaching_board(1)},
        {.text = 11044_t, .right = {40_p}, .left = {CAL_NOBODY}, .pic = teaching_board(2)},
        {.text = 11045_t, .to = 11047_t, .right = {40_p}},
    });
    // The run stops at the first wrong board.
    s32 right = 0;
    for (s32 board = 1; board <= BOARD_RUN; ++board) {
        known_add(BOARD_LIST, board);
        if (grid_point_puzzle(board) != 1) break;
        right++;
        if (board < BOARD_RUN) cal_lines({{.text = 11028_t, .right = {40_p}}});
    }

    CalSummary sum;
    if (right == BOARD_RUN) {
        cal_lines({{.text = 11048_t, .to = 11051_t, .right = {40_p}}});
        affection_add(OPENING_TEACHER, 2);
        cal_gain(sum, BOARD_SKILL, 50);
        cal_summary_add(sum, SUM_TEACHER_UP);
    } else {
        cal_lines({{.text = 11052_t, .to = 11053_t, .right = {40_p}},
                   {.text = 11050_t, .right = {40_p}},
                   {.text = 11054_t, .right = {40_p}}});
        const bool loss = right < 2;
        if (loss) affection_add(OPENING_TEACHER, -1);
        cal_gain(sum, BOARD_SKILL, 15);
        if (loss) cal_summary_add(sum, SUM_TEACHER_DOWN);
    }
    cal_summary_show(sum);
    cal_turns(1);
}

// ---- Turn 7: the smith -------------------------------------------------------------------------

void calendar_event_002() {
    cal_lines({
        {.sound = 505_snd, .backdrop = 60403_pic, .text = 56120_t},
        {.travel = true, .text = 56121_t, .right = {50_p}, .left = {CAL_NOBODY}},
        {.text = 56122_t, .to = 56129_t, .right = {50_p}},
    });
    player_record.affection[OPENING_SMITH] = 50;
    cal_place_button(3, 0, 1);
    cal_open(cal_place(0, 3, 0));
    cal_turns(1);
}

// ---- Turn 8: the picture lesson ----------------------------------------------------------------

namespace {

constexpr CalPic lesson_picture(CalPicture id) {
    return {.id = id, .x = 270, .y = 148};
}

constexpr CalLine PICTURE_LESSON[] = {
    {.backdrop = 60404_pic, .text = 11141_t, .to = 11142_t},
    {.text = 11143_t, .to = 11145_t, .right = {40_p}},
    {.text = 11146_t, .to = 11148_t, .right = {40_p}, .pic = lesson_picture(60081_pic)},
    {.text = 11149_t, .to = 11154_t, .right = {40_p}, .pic = lesson_picture(60082_pic)},
    {.text = 11155_t, .to = 11158_t, .right = {40_p}, .pic = lesson_picture(60083_pic)},
    {.text = 11159_t, .to = 11163_t, .right = {40_p}},
    {.text = 11741_t, .to = 11747_t, .right = {40_p}},
    {.text = 11748_t, .to = 11754_t, .right = {41_p}},
    {.text = 11753_t, .right = {41_p}, .left = {CAL_NOBODY}},
};

} // namespace

void calendar_event_010() {
    cal_lines(PICTURE_LESSON);
    CalSummary sum;
    cal_gain(sum, LETTER_SKILL, 30);
    cal_summary_show(sum);
    cal_turns(1);
}

// ---- Turn 10: the entry test -------------------------------------------------------------------

namespace {

constexpr s32 CLOSING_ANIMATION = 60100, CLOSING_FRAMES = 4;
constexpr s32 CLOSING_PICTURE = 63500;
constexpr CalMusic CLOSING_SONG = 10023_mus, CLOSING_END = 10003_mus;

// The teacher's verdict: passed without the test, failed without it, or by the test.
bool entry_verdict() {
    const s32 a = player_record.affection[OPENING_TEACHER];
    if (a >= OPENING_ENTRY_PASS) {
        cal_lines({{.text = 11186_t, .right = {40_p}}});
        return true;
    }
    if (a <= OPENING_ENTRY_FAIL) {
        cal_lines({{.text = 11206_t, .right = {40_p}}});
        return false;
    }
    cal_lines({{.text = 11187_t, .to = 11190_t, .right = {40_p}}});
    const bool passed = entry_test() == 1;
    cal_lines({{.text = passed ? 11195_t : 11203_t, .right = {40_p}}});
    return passed;
}

// The closing scene of a failed test; the game ends here (without the follow-up program: the
// ending's exit code is not set).
[[noreturn]] void entry_failed() {
    cal_lines({
        {.text = 11204_t, .to = 11205_t, .right = {30_p}},
        {.backdrop = 60406_pic, .text = 11210_t, .left = {4_p}},
        {.text = 11211_t, .left = {4_p}},
        {.text = 11216_t, .left = {4_p}},
        {.text = 11212_t, .left = {2_p}},
    });
    dashboard_animation(CLOSING_ANIMATION, CLOSING_FRAMES);
    mssw_play_music(cal_id(CLOSING_SONG), 1);
    cal_lines({
        {.text = 11213_t, .left = {1_p}},
        {.text = 11214_t, .to = 11215_t, .right = {80_p}, .left = {CAL_NOBODY}},
    });
    fade_out();
    draw_image(0, 0, CLOSING_PICTURE, 0);
    fade_in();
    screen_present();
    cal_play_once_and_wait(CLOSING_END);
    fade_out();
    game_quit();
}

} // namespace

void calendar_event_004() {
    cal_lines({{.backdrop = 60402_pic, .text = 11172_t, .to = 11185_t, .right = {40_p, 30_p}}});
    if (!entry_verdict()) entry_failed();
    cal_lines({
        {.text = 11196_t, .to = 11200_t, .right = {40_p, 30_p}},
        {.text = 55010_t, .to = 55015_t, .right = {40_p}},
    });
    player_record.mood = 0;
    player_record.mood_turns = 0;
    cal_menu(0, 0, 1);
    for (s32 b = 0; b < HUB_MENU_BUTTONS; ++b) cal_menu(1, b, 1);
    cal_turns(1);
}

// ---- Turn 12: the picture ----------------------------------------------------------------------

void calendar_event_006() {
    cal_lines({
        {.backdrop = 60402_pic, .text = 11055_t},
        {.text = 11056_t, .to = 11061_t, .right = {40_p}},
        {.text = 11062_t,
         .right = {40_p},
         .pic = {.id = CalPicture(OPENING_POINT_LESSON),
                 .x = POINT_SEARCH_X0,
                 .y = POINT_SEARCH_Y0}},
        {.text = 11063_t, .right = {40_p}},
    });
    CalSummary sum;
    cal_gain(sum, PICTURE_SKILL, 30);
    cal_summary_show(sum);
    known_add(14, 1);
    cal_turns(1);
}

// ---- Turn 14: the point search -----------------------------------------------------------------

namespace {

constexpr CalLine SEARCH_AFTER[] = {
    {.text = 30961_t, .to = 30963_t, .right = {20_p}},
    {.text = 30964_t, .right = {20_p}, .left = {2_p}},
    {.sound = 689_snd, .text = 30965_t, .right = {23_p}, .left = {40_p}},
    {.sound = 689_snd, .text = 30967_t, .right = {20_p}, .left = {40_p}},
    {.text = 30969_t, .right = {20_p}, .left = {40_p}},
    {.sound = 689_snd, .text = 30970_t, .right = {23_p}, .left = {40_p}},
    {.text = 30971_t, .right = {20_p}, .left = {40_p}},
    {.text = 30972_t, .to = 30983_t, .right = {20_p, 22_p, 24_p}},
    {.text = 30986_t, .right = {20_p}},
    {.backdrop = 60400_pic, .text = 30987_t, .to = 30988_t, .right = {20_p}},
    {.backdrop = 60407_pic, .text = 30989_t},
};

} // namespace

void calendar_event_011() {
    cal_lines({
        {.backdrop = 60407_pic, .text = 30948_t, .left = {2_p}},
        {.text = 30949_t},
        {.text = 30950_t, .to = 30951_t, .right = {21_p}},
    });
    // Found at the first try, or after decoys (or never counted).
    const bool first_try = picture_point_search() == 1;
    CalSummary sum;
    if (first_try) {
        cal_lines({{.text = 30952_t, .to = 30953_t, .right = {20_p}}});
        player_record.affection[OPENING_SEARCH] = 55;
        cal_summary_add(sum, SUM_SEARCH_UP);
    } else {
        cal_lines({{.text = 30959_t, .to = 30960_t, .right = {24_p}}});
        player_record.affection[OPENING_SEARCH] = 45;
        cal_summary_add(sum, SUM_SEARCH_DOWN);
    }
    cal_lines(SEARCH_AFTER);
    if (first_try) cal_gain(sum, PICTURE_SKILL, 30);
    cal_summary_show(sum);
    cal_place_button(2, 0, 1);
    cal_turns(1);
}

// ---- Turn 20: the payment ----------------------------------------------------------------------

namespace {

s32 opening_payment() {
    const PlayerRecord& p = player_record;
    const s64 skills = s64(p.skill[10]) + p.skill[11] + p.skill[12] + p.skill[13];
    const s64 pay =
        30ll * p.affection[OPENING_TEACHER] + 30ll * p.chivalry + 10 * skills + 20ll * p.fame;
    // Values read from a damaged save must not wrap the sum.
    return pay > INT_MAX ? INT_MAX : pay < INT_MIN ? INT_MIN : s32(pay);
}

} // namespace

void calendar_event_012() {
    cal_lines({
        {.backdrop = 60415_pic, .text = 42051_t, .right = {40_p}, .left = {31_p}},
        {.text = 42052_t, .right = {40_p}, .left = {25_p}},
        {.text = 42053_t, .right = {44_p}},
        {.text = 42054_t, .right = {24_p}},
        {.text = 42055_t, .to = 42057_t, .right = {40_p}},
        {.text = 42059_t, .right = {40_p}},
    });
    money_add(opening_payment());
    if (player_record.condition <= 4) {
        player_record.mood = 0;
        player_record.mood_turns = 0;
    }
    cal_turns(1);
}

// ---- Turn 21: the first art --------------------------------------------------------------------

namespace {

struct FirstArt {
    s32 list, id;
};
constexpr FirstArt FIRST_ARTS[] = {{2, 50}, {2, 51}, {3, 50}, {4, 50}};
constexpr s32 FIRST_ART_COUNT = s32(sizeof FIRST_ARTS / sizeof FIRST_ARTS[0]);

} // namespace

void calendar_event_015() {
    s32 k = cal_lines({
        {.backdrop = 60407_pic,
         .text = 15610_t,
         .to = 15611_t,
         .right = {40_p},
         .choose = {15612_t, 15613_t, 15614_t, 15615_t}},
    });
    if (k < 0 || k >= FIRST_ART_COUNT) k = 0;
    cal_lines({{.text = CalText{15616 + k}, .right = {40_p}},
               {.text = 15620_t, .to = 15621_t, .right = {40_p}}});
    known_add(FIRST_ARTS[k].list, FIRST_ARTS[k].id);
    player_record.story_flags[OPENING_ART_FLAG] = k;
    cal_turns(1);
}

// ---- Turn 35: the full menus -------------------------------------------------------------------

namespace {

struct MenuRun {
    s32 level, first, last;
};
constexpr MenuRun FULL_MENUS[] = {
    {7, 0, 0}, {7, 2, 7}, {0, 0, 1}, {0, 5, 7}, {1, 0, 7}, {2, 0, 5}, {6, 0, 2}, {6, 4, 4},
};
constexpr s32 FULL_PLACE_BUTTONS = 4; // place buttons 0..3 of place set 0

} // namespace

void calendar_event_017() {
    cal_lines({{.backdrop = 60402_pic, .text = 15661_t, .to = 15662_t, .right = {40_p}}});
    for (s32 b = 0; b < FULL_PLACE_BUTTONS; ++b) cal_place_button(b, 0, 1);
    for (const MenuRun& r : FULL_MENUS)
        for (s32 b = r.first; b <= r.last; ++b) cal_menu(r.level, b, 1);
    cal_open(cal_place(0, 0, 5));
    // No turns of its own: the turn's action counts.
}

// ---- Slots -------------------------------------------------------------------------------------

namespace {
constexpr CalendarSlot SLOTS[] = {
    {1, calendar_event_001},  {2, calendar_event_002},  {4, calendar_event_004},
    {5, calendar_event_005},  {6, calendar_event_006},  {7, calendar_event_007},
    {10, calendar_event_010}, {11, calendar_event_011}, {12, calendar_event_012},
    {15, calendar_event_015}, {17, calendar_event_017}, {24, calendar_event_024},
};
} // namespace

std::span<const CalendarSlot> opening_slots() {
    return SLOTS;
}

void register_opening() {
    calendar_install(SLOTS, OPENING_OWNER);
}
