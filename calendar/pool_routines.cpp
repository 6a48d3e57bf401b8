// The number-calling game, the ring-game battle and the item picker.
#include "calendar/pool_routines.h"

#include "calendar/frame.h"
#include "engine/blit.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/adjust.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/hub.h"
#include "game/hub_dialog.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"

using namespace cal_literals;

SumGuessState sum_guess_state;

namespace {

// ---- Number-calling game: screens --------------------------------------------------------------

constexpr s32 PORTRAIT = 62000;
constexpr s32 LEFT_X = 265, RIGHT_X = 384, PORTRAIT_Y = 172;
constexpr s32 CAPTION_X = 0, CAPTION_Y = 328;
constexpr s32 CAPTION_LEFT = 60323, CAPTION_RIGHT = 60324;
constexpr s32 LINE_LEFT_X = 9, LINE_RIGHT_X = 409, LINE_Y = 377;
constexpr s32 HAND_LEFT_X = 244, HAND_RIGHT_X = 326, HAND_Y = 140;
constexpr s32 LOSER_PORTRAIT = 62007; // the protagonist drinking
constexpr s32 TEXT_WON_CALL = 11347;

// Our own choice: the prompts and the reveal's calls print in the hub dialogue's size and style,
// in white, whatever the caller's last print left.
void prompt_text() {
    text_size(24);
    text_style(2);
    text_colour(31, 31, 31);
}

// Size 16, style 1, red under the pointer, else white: the buttons and the item picker's names.
void button_text(bool under) {
    text_size(16);
    text_style(1);
    if (under)
        text_colour(31, 5, 0);
    else
        text_colour(31, 31, 31);
}

void draw_table(s32 left_portrait, s32 caption) {
    hub_draw();
    draw_image(LEFT_X, PORTRAIT_Y, left_portrait, BLIT_MIRROR);
    draw_image(RIGHT_X, PORTRAIT_Y, PORTRAIT + SUM_GUESS_PARTNER, 0);
    draw_image(CAPTION_X, CAPTION_Y, caption, 0);
}

s32 button_x(s32 i) {
    return SUM_GUESS_BUTTON_X + SUM_GUESS_BUTTON_DX * (i % SUM_GUESS_BUTTON_COLUMNS);
}
s32 button_y(s32 i) {
    return SUM_GUESS_BUTTON_Y + SUM_GUESS_BUTTON_DY * (i / SUM_GUESS_BUTTON_COLUMNS);
}

// The choosing screen, redrawn every frame until a button is clicked; returns it.
s32 pick_call() {
    sum_guess_state.picking = true;
    for (;;) {
        draw_table(PORTRAIT, CAPTION_LEFT);
        prompt_text();
        print_text_seen(LINE_LEFT_X, LINE_Y, SUM_GUESS_PROMPT);
        const s32 hovered = sum_guess_button_at(pointer_x, pointer_y);
        for (s32 i = 0; i < SUM_GUESS_BUTTONS; ++i) {
            button_text(i == hovered);
            print_text_seen(button_x(i), button_y(i), SUM_GUESS_BUTTON_TEXT + i);
        }
        screen_present();
        if (mouse_buttons != 1) continue;
        mouse_buttons = 0;
        const s32 b = sum_guess_button_at(click_x, click_y);
        if (b >= 0) {
            sum_guess_state.picking = false;
            return b;
        }
    }
}

void play(s32 sound) {
    mssw_play_sound(sound, 1);
}

// The reveal of call `c` against the partner's call `j` with hands x and y.
void reveal(s32 c, s32 j, s32 x, s32 y) {
    draw_table(PORTRAIT, CAPTION_LEFT);
    prompt_text();
    print_text_seen(LINE_LEFT_X, LINE_Y, SUM_GUESS_OWN_CALL + c);
    print_text_seen(LINE_RIGHT_X, LINE_Y, SUM_GUESS_PARTNER_CALL + j);
    const s32 s = x + y;
    if (s == c && s != j) {
        play(250 + 3 * c);
        play(201 + 3 * j);
    } else if (s != c && s == j) {
        play(251 + 3 * c);
        play(200 + 3 * j);
    } else {
        play(252 + 3 * c);
        play(202 + 3 * j);
    }
    draw_image(HAND_LEFT_X, HAND_Y, SUM_GUESS_HAND_IMAGE + x, 0);
    draw_image(HAND_RIGHT_X, HAND_Y, SUM_GUESS_HAND_IMAGE + y, 0);
    screen_present();
    hub_click_wait();
}

// The partner alone was right: the protagonist drinks.
void partner_won_screen() {
    draw_table(LOSER_PORTRAIT, CAPTION_RIGHT);
    prompt_text();
    print_text_seen(LINE_RIGHT_X, LINE_Y, TEXT_WON_CALL);
    screen_present();
    hub_click_wait();
}

// Over capacity ends the game; otherwise the question whether to go on (the second answer stops).
void after_call(SumGuessState& st) {
    if (st.drink > st.capacity) {
        st.outcome = SUM_GUESS_OVER_CAPACITY;
        return;
    }
    if (hub_choose(0, 0, SUM_GUESS_PARTNER, 11345, 11346, 0, 0) == 1)
        st.outcome = SUM_GUESS_STOPPED;
}

// The parting words: praise after five won calls, else the partner's last word with `left` at
// the left.
void parting(const SumGuessState& st, s32 left) {
    const s32 r = SUM_GUESS_PARTNER;
    if (st.wins >= 5) {
        hub_say(1, 0, r, 11314);
        hub_say(0, 0, r, 11315);
    } else {
        hub_say(1, left, r, 11317);
    }
}

void closing(SumGuessState& st) {
    const s32 r = SUM_GUESS_PARTNER;
    constexpr s32 DRUNK = 12; // the protagonist's portrait when past the capacity
    switch (st.outcome) {
    case SUM_GUESS_OVER_CAPACITY:
        hub_say(0, DRUNK, r, 11316);
        parting(st, DRUNK);
        return;
    case SUM_GUESS_STOPPED:
        parting(st, 0);
        return;
    case SUM_GUESS_LEFT:
        hub_say(0, 0, r, 11319);
        return;
    case SUM_GUESS_FRIENDSHIP: {
        PlayerRecord& p = player_record;
        const bool fists = p.skill[2] >= p.skill[7];
        hub_say(1, 0, r, 56050);
        hub_say(1, 0, r, fists ? 56058 : 56059);
        hub_travel();
        hub_say(0, 0, r, 56061);
        hub_say(1, 0, r, 56062);
        if (fists)
            known_add(2, 53);
        else
            known_add(7, 52);
        p.story_flags[SUM_GUESS_FLAG] = 1;
        cal_close(cal_pool_c(1));
        return;
    }
    default:
        return;
    }
}

} // namespace

s32 sum_guess_button_at(s32 x, s32 y) {
    for (s32 i = 0; i < SUM_GUESS_BUTTONS; ++i) {
        const s32 x0 = button_x(i), y0 = button_y(i);
        if (x >= x0 && x <= x0 + SUM_GUESS_BUTTON_W && y >= y0 && y <= y0 + SUM_GUESS_BUTTON_H)
            return i;
    }
    return -1;
}

s32 sum_guess_hand(s32 call) {
    if (call <= 0) return 0;
    if (call <= 5) return cal_rand(call);
    if (call > 10) return 5;
    return call - 5 + cal_rand(11 - call);
}

void sum_guess_game(s32 person) {
    PlayerRecord& p = player_record;
    SumGuessState& st = sum_guess_state;
    st = {};
    const s32 capacity = p.skill[SUM_GUESS_SKILL] + 20 + cal_rand(10);
    st.capacity = capacity > 100 ? 100 : capacity;
    while (st.outcome == SUM_GUESS_PLAYING) {
        const s32 c = pick_call();
        // Leaving ends the game at once: no hands, no reveal, no score.
        if (c == SUM_GUESS_LEAVE) {
            st.outcome = SUM_GUESS_LEFT;
            break;
        }
        ++st.calls;
        const s32 x = sum_guess_hand(c);
        s32 j = cal_rand(11);
        const s32 y = sum_guess_hand(j);
        if (cal_rand(10) < 6 && st.wins > 7) j = x + y;
        reveal(c, j, x, y);
        const s32 s = x + y;
        if (s == c && s != j) {
            affection_add(person, 1);
            const bool met = person >= 0 && person < PLAYER_PEOPLE && p.affection[person] >= 50;
            if (met && p.skill[SUM_GUESS_SKILL] >= 80) st.outcome = SUM_GUESS_FRIENDSHIP;
            ++st.wins;
            hub_say(0, 8, SUM_GUESS_PARTNER, TEXT_WON_CALL);
            after_call(st);
        } else if (s == j && s != c) {
            ++st.losses;
            partner_won_screen();
            st.drink += 5 + cal_rand(25);
            after_call(st);
        }
    }
    closing(st);
    p.skill_exp[SUM_GUESS_SKILL] += 100 * (st.losses + 1) + 200 * (st.wins + 1);
    if (p.skill[SUM_GUESS_SKILL] < 100) {
        grow_quiet(SUM_GUESS_SKILL);
        hub_say_lines(200 + SUM_GUESS_SKILL, 0, 0, 0);
    }
}

// ---- Ring-game battle --------------------------------------------------------------------------

void light_ring_battle() {
    CalSummary sum;
    const s32 a = cal_lines({{.right = {125_p}, .choose = {13304_t, 13305_t}}});
    if (a != 0) {
        cal_lines({{.text = 13345_t, .to = 13346_t, .right = {125_p}}});
        affection_add(40, -5);
        cal_turns(1);
        cal_close(cal_pool_b(8));
        heal_full(0, 108);
        return;
    }
    cal_lines({{.text = 13306_t, .to = 13312_t, .right = {125_p}}});
    affection_add(40, 3);
    game_light_ring_seam(1, 7, -1, -1, -1, -1, -1, -1);
    if (inv_has_count(1201, 4) && inv_has_count(1207, 4)) cal_lines({{.text = 13313_t}});
    cal_lines({
        {.text = 13314_t, .left = {2_p}},
        {.travel = true, .text = 13315_t, .to = 13316_t, .right = {125_p}, .left = {350_p}},
        {.text = 13317_t, .to = 13321_t, .right = {CAL_HERO}, .left = {350_p}},
    });
    if (cal_won(cal_battle(RING_BATTLE_ENCOUNTER))) {
        cal_lines({
            {.text = 13322_t, .to = 13323_t, .right = {350_p}},
            {.text = 13324_t, .to = 13325_t, .right = {125_p}},
            {.text = 13326_t, .to = 13328_t, .right = {350_p}},
            {.text = 56626_t},
            {.text = 13329_t},
            {.text = 13330_t, .to = 13332_t, .right = {125_p}},
        });
        affection_add(40, 10);
        cal_lines({
            {.travel = true,
             .backdrop = 60426_pic,
             .text = 13400_t,
             .to = 13401_t,
             .right = {130_p}},
            {.text = 13404_t, .to = 13406_t, .right = {130_p}},
            {.text = 13407_t, .to = 13410_t, .right = {125_p}},
        });
        cal_close(cal_pool_b(8));
        cal_close(cal_pool_b(9));
        // Whatever after-turn event stood in that turn is replaced.
        cal_schedule_after(hub_block.calendar_turn + RING_BATTLE_DELAY, RING_BATTLE_FOLLOW_UP);
        fame_add(4);
    } else {
        player_record.story_flags[12] = 2;
        cal_lines({
            {.text = 13333_t, .left = {5_p}},
            {.text = 13334_t, .right = {125_p}, .left = {5_p}},
            {.text = 13335_t, .right = {350_p}, .left = {5_p}},
            {.sound = 688_snd, .text = 13336_t, .left = {350_p}},
            {.sound = 688_snd, .text = 13337_t, .left = {350_p}},
            {.text = 13338_t, .to = 13339_t, .right = {126_p}, .left = {350_p}},
            {.text = 56626_t, .right = {125_p}, .left = {CAL_NOBODY}},
            {.text = 13340_t, .right = {125_p}, .left = {CAL_NOBODY}},
            {.text = 13341_t, .to = 13344_t, .right = {125_p}, .left = {5_p}},
        });
        affection_add(40, 5);
        cal_injury(sum);
        cal_summary_show(sum);
        cal_close(cal_pool_b(8));
        cal_close(cal_pool_b(9));
    }
    heal_full(0, 108);
}

// ---- Item picker -------------------------------------------------------------------------------

s32 item_picker() {
    if (!inv_has_range(ITEM_PICKER_FIRST, ITEM_PICKER_LAST)) return -1;
    constexpr s32 LIST = 25;
    s32 picked[LIST];
    for (s32& id : picked) id = -1;
    for (;;) {
        const s32 px = pointer_x, py = pointer_y;
        draw_image(50, 298, ITEM_PICKER_PANEL, 0);
        s32 n = 0;
        for (s32 id = ITEM_PICKER_FIRST; id <= ITEM_PICKER_LAST && n < LIST; ++id) {
            if (!inv_has(id)) continue;
            picked[n] = id;
            const s32 x = ITEM_PICKER_X + ITEM_PICKER_DX * n;
            const bool under = px >= x && px < x + ITEM_PICKER_DX && py >= ITEM_PICKER_Y;
            button_text(under); // the names print as the game's buttons do
            print_text_vertical_seen(x, ITEM_PICKER_Y, ITEM_PICKER_NAMES + id);
            if (under && mouse_buttons == 1) {
                mouse_buttons = 0;
                return picked[n];
            }
            ++n;
        }
        screen_present();
    }
}
