// The bait catch game.
#include "minigames/bait_catch.h"

#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/player.h"

#include <algorithm>

const BaitKind BAIT_KIND_TABLE[BAIT_KINDS] = {
    {3500, 300, 1883, 6840}, {1000, 30, 1841, 6841},  {1000, 30, 1842, 6842},
    {4000, 400, 1843, 6843}, {2500, 100, 1844, 6844}, {800, 30, 1845, 6845},
    {1500, 30, 1846, 6846},
};

const FrameBox BAIT_ZONE_TABLE[BAIT_ZONES] = {
    {173, 143, 212, 189}, {182, 204, 223, 245}, {242, 164, 270, 185}, {234, 198, 266, 228},
    {278, 140, 337, 197}, {349, 74, 445, 131},  {363, 149, 416, 202},
};

const s32 BAIT_BANK_BOTTOM[BAIT_COLUMNS] = {188, 172, 155, 140, 140, 140, 140, 130, 125,
                                            125, 113, 113, 99,  99,  99,  99,  99,  99};

BaitState bait_state;
s32 (*bait_rand)(s32 n) = rand_below;

namespace {

constexpr s32 IMG_CAST_PLAYER = 25100, IMG_PLAYER = 25102, IMG_BACKDROP = 25103,
              IMG_FAR_BANK = 25104, IMG_WATER = 25105, IMG_CAST_FLOAT = 25109, IMG_FLOAT = 25114,
              IMG_BITE_FLOAT = 25118, IMG_FIGHT_WATER = 25122, IMG_REEL_LINE = 25126,
              IMG_SLACK_LINE = 25129, IMG_GAUGE = 25131, IMG_GAUGE_SEGMENT = 25151,
              IMG_CHOOSER = 25152, IMG_ROD_LIT = 25153, IMG_BAIT_LIT = 25154, IMG_CAST = 25155,
              IMG_CAST_LIT = 25156, IMG_FISH_SLACK = 25401, IMG_FISH_REEL = 25404,
              IMG_FISH_PICTURE = 25407, IMG_BAR = 25009, IMG_BAR_COLUMN = 25010;
constexpr s32 FISH_IMAGES_PER_KIND = 10;

constexpr s32 TXT_READY = 10413, TXT_READY_2 = 530, TXT_READY_3 = 531, TXT_READY_4 = 10694,
              TXT_LINE_OUT = 10414, TXT_LINE_OUT_2 = 532, TXT_CHOOSE_ROD = 10692,
              TXT_CHOOSE_BAIT = 10693, TXT_BITE = 10415, TXT_FIGHT = 10732, TXT_FIGHT_LONG = 10417,
              TXT_LANDED = 10421, TXT_BROKE = 10418, TXT_AWAY = 10419, TXT_TOO_LONG = 10420,
              TXT_END = 10969, TXT_END_NO_BAIT = 11511;
constexpr s32 TXT_TIME = 540, TXT_SKILL = 10688, TXT_ROD = 10689, TXT_BAIT = 10690,
              TXT_COUNT_OPEN = 548, TXT_COUNT_CLOSE = 549, TXT_SIDE = 10693, TXT_CATCHES = 10691,
              TXT_CAUGHT = 10687, TXT_ROD_NAME = 7230, TXT_BAIT_NAME = 7240,
              TXT_EXTRA_BAIT_NAME = 6880;
constexpr s32 SND_SWING = 550, SND_SPLASH = 551, SND_LANDED = 553;

constexpr FrameBox ROD_BOX = {99, 202, 138, 255};
constexpr FrameBox BAIT_BOX = {99, 268, 138, 322};
constexpr FrameBox CAST_BOX = {468, 242, 529, 277};
constexpr s32 PLAYER_Y = 330;
constexpr s32 WALK_STEP = 2, WALK_RIGHT_LAST = 437, WALK_LEFT_LAST = 170;
constexpr s32 BANK_X = 160, BANK_COLUMN_W = 16, HOOK_BASE_Y = 224, DEPTH_SCALE = 19;
// The ledge of column 6: a hook point between its edges settles on the nearer one.
constexpr s32 LEDGE_COLUMN = 6, LEDGE_ABOVE = 186, LEDGE_BELOW = 218, LEDGE_TOP = 187,
              LEDGE_BOTTOM = 217, LEDGE_SPLIT = 203;
constexpr s32 BITE_DRAW = 500;
constexpr s32 FIGHT_SLOW_SECONDS = 31, FIGHT_LIMIT_SECONDS = 50;
constexpr s32 LANDED_Y = 41;
constexpr s32 END_MARK_X = 441, END_MARK_Y = 419;
constexpr s32 CHOOSER_X = 370, CHOOSER_Y = 181, CHOOSER_STEP = 20, CHOOSER_W = 20, CHOOSER_H = 96;

BaitState& st = bait_state;

s32 draw(s32 n) {
    return bait_rand(n);
}

const BaitKind& hooked_kind() {
    return BAIT_KIND_TABLE[std::clamp(st.hooked, 0, BAIT_KINDS - 1)];
}

s32 tool() {
    return st.rod_count > 0 ? st.rods[std::clamp(st.rod, 0, st.rod_count - 1)] : 0;
}

bool at_hub() {
    return player_record.area == AREA_HUB;
}

// The rods and baits held, in inventory order; an item met twice is listed once (the spending
// takes from its first entry).
void build_lists() {
    st.rod_count = 0;
    st.bait_count = 0;
    for (const InventoryEntry& e : player_record.inventory) {
        if (e.item < 0) break;
        const s32 r = e.item - BAIT_ROD_ITEM, b = e.item - BAIT_BAIT_ITEM;
        if (r >= 0 && r < BAIT_RODS && st.rod_count < BAIT_RODS &&
            std::find(st.rods, st.rods + st.rod_count, r) == st.rods + st.rod_count)
            st.rods[st.rod_count++] = r;
        if (b >= 0 && b < BAIT_BAIT_ITEMS && st.bait_count < BAIT_BAITS &&
            std::none_of(st.baits, st.baits + st.bait_count,
                         [b](const BaitEntry& x) { return x.kind == b; }))
            st.baits[st.bait_count++] = {b, e.count};
    }
    if (st.variant != BAIT_EXTRA_KIND || st.bait_count >= BAIT_BAITS) return;
    for (const InventoryEntry& e : player_record.inventory) {
        if (e.item < 0) break;
        if (e.item == BAIT_EXTRA_ITEM && e.count > 0) {
            st.baits[st.bait_count++] = {BAIT_EXTRA_KIND, e.count};
            return;
        }
    }
}

s32 bait_name(s32 kind) {
    return kind == BAIT_EXTRA_KIND ? TXT_EXTRA_BAIT_NAME : TXT_BAIT_NAME + kind;
}

void line_style() {
    text_size(24);
    text_style(2);
    text_colour(0, 0, 0);
}

void draw_bar() {
    draw_image(488, 29, IMG_BAR, 0);
    for (s32 i = BAIT_LAST_STEP - st.t; i >= 0; --i) draw_image(498 + i, 40, IMG_BAR_COLUMN, 0);
}

// The status columns, top to bottom: skill, rod, bait and its count, and the catches so far.
void draw_status() {
    text_size(16);
    text_style(1);
    text_colour(31, 31, 31);
    print_text_vertical(469, 29, TXT_TIME);
    text_colour(31, 31, 9);
    print_text_vertical(584, 63, TXT_SKILL);
    print_number_vertical(584, 143, growth_value(BAIT_SKILL), 3);
    text_colour(31, 31, 31);
    print_text_vertical(555, 63, TXT_ROD);
    print_text_vertical(555, 143, TXT_ROD_NAME + tool());
    print_text_vertical(535, 63, TXT_BAIT);
    if (st.bait_count > 0) {
        const BaitEntry& b = st.baits[std::clamp(st.bait, 0, st.bait_count - 1)];
        print_text_vertical(535, 143, bait_name(b.kind));
        print_text_vertical(535, 223, TXT_COUNT_OPEN);
        print_number_vertical(535, 239, b.count, 2);
        print_text_vertical(535, 271, TXT_COUNT_CLOSE);
    }
    print_text_vertical(468, 171, TXT_SIDE);
    print_text_vertical(120, 7, TXT_CATCHES);
    s32 j = 0;
    for (s32 k = 0; k < BAIT_KINDS; ++k) {
        if (st.catches[k] == 0) continue;
        const s32 x = 100 - 16 * j++;
        print_text_vertical_seen(x, 7, BAIT_KIND_TABLE[k].name_text);
        print_text_vertical(x, 87, TXT_CAUGHT);
        print_number_vertical_seen(x, 103, st.catches[k], 3);
    }
}

void draw_gauge(s32 segments) {
    draw_image(485, 69, IMG_GAUGE, 0);
    for (s32 j = 0; j < segments; ++j) draw_image(490, 226 - 8 * j, IMG_GAUGE_SEGMENT - j, 0);
}

void draw_phase_texts() {
    switch (st.phase) {
    case BAIT_READY:
        text_reveal_limit = 0;
        print_text_seen(88, 340, TXT_READY);
        print_text(88, 365, TXT_READY_2);
        print_text(88, 390, TXT_READY_3);
        print_text(88, 415, TXT_READY_4);
        break;
    case BAIT_LINE_OUT:
        print_text_seen(88, 342, TXT_LINE_OUT);
        print_text(88, 372, TXT_LINE_OUT_2);
        break;
    case BAIT_CHOOSE_ROD:
        print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, TXT_CHOOSE_ROD);
        break;
    case BAIT_CHOOSE_BAIT:
        print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, TXT_CHOOSE_BAIT);
        break;
    default:
        break;
    }
}

// The screen of phases -2..1. `line` >= 0 replaces the phase's texts with one bottom line; the
// player is drawn as `player_image`, and `float_image` (>= 0) at the hook point.
void draw_common(s32 line, s32 player_image, s32 float_image) {
    draw_image(0, 0, IMG_BACKDROP, 0);
    frame_player_portrait(false);
    frame_draw_quit();
    draw_bar();
    const bool ready = st.phase == BAIT_READY;
    const bool cast_lit = ready && frame_box_has(CAST_BOX, pointer_x, pointer_y);
    draw_image(467, 241, cast_lit ? IMG_CAST_LIT : IMG_CAST, 0);
    draw_gauge(st.depth);
    if (ready && st.rod_count > 1 && frame_box_has(ROD_BOX, pointer_x, pointer_y))
        draw_image(90, 193, IMG_ROD_LIT, 0);
    if (ready && st.bait_count > 1 && frame_box_has(BAIT_BOX, pointer_x, pointer_y))
        draw_image(91, 258, IMG_BAIT_LIT, 0);
    line_style();
    if (line >= 0)
        print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, line);
    else
        draw_phase_texts();
    draw_status();
    draw_image(149, 16, IMG_FAR_BANK, 0);
    draw_image(149, 73, IMG_WATER + st.water / 20, 0);
    st.water = (st.water + 1) % 80;
    draw_image(st.player_x, PLAYER_Y, player_image, 0);
    if (float_image >= 0) draw_image(st.hook_x - 12, st.hook_y - 16, float_image, 0);
}

// The frame of a fight over what the fight drew of the water: backdrop, portrait, line, bar and
// status.
void draw_fight_frame(s32 line) {
    draw_image(0, 0, IMG_BACKDROP, 0);
    frame_player_portrait(false);
    line_style();
    print_text_seen(BOTTOM_LINE_X, BOTTOM_LINE_Y, line);
    draw_bar();
    draw_status();
}

FrameBox chooser_box(s32 i) {
    const s32 x = CHOOSER_X - CHOOSER_STEP * i;
    return {x, CHOOSER_Y, x + CHOOSER_W - 1, CHOOSER_Y + CHOOSER_H - 1};
}

s32 chooser_count() {
    return st.phase == BAIT_CHOOSE_ROD ? st.rod_count : st.bait_count;
}

s32 chooser_name(s32 i) {
    return st.phase == BAIT_CHOOSE_ROD ? TXT_ROD_NAME + st.rods[i] : bait_name(st.baits[i].kind);
}

void draw_chooser() {
    draw_image(78, 155, IMG_CHOOSER, 0);
    text_size(16);
    text_style(1);
    for (s32 i = 0; i < chooser_count(); ++i) {
        const FrameBox b = chooser_box(i);
        if (frame_box_has(b, pointer_x, pointer_y))
            text_colour(31, 3, 0);
        else
            text_colour(0, 0, 0);
        print_text_vertical_seen(b.x0, b.y0, chooser_name(i));
    }
}

// Phases -2 and -1: a single entry is taken at once, else a click on a name takes it.
void choose() {
    const s32 n = chooser_count();
    s32 pick = n == 1 ? 0 : -1;
    s32 x = 0, y = 0;
    if (n > 1 && frame_take_click(&x, &y))
        for (s32 i = 0; i < n; ++i)
            if (frame_box_has(chooser_box(i), x, y)) pick = i;
    if (pick < 0) return;
    if (st.phase == BAIT_CHOOSE_ROD) {
        st.rod = pick;
        st.phase = BAIT_CHOOSE_BAIT;
    } else {
        st.bait = pick;
        st.phase = BAIT_READY;
        st.depth = 0;
    }
}

// The strength gauge: 39 steps up and down; a click stops it at the depth shown.
s32 run_gauge() {
    st.screen = BaitScreen::Gauge;
    s32 depth = 0;
    for (s32 i = 0; i < BAIT_GAUGE_STEPS; ++i) {
        timer2_start();
        st.gauge_step = i;
        const s32 shown = i < 20 ? i + 1 : BAIT_GAUGE_STEPS - i;
        draw_gauge(shown);
        screen_present();
        bool clicked = false;
        do clicked = frame_take_click(nullptr, nullptr) != 0;
        while (!clicked && timer2_elapsed() < BAIT_GAUGE_STEP_MS);
        if (clicked) {
            depth = i == 0 ? 0 : shown;
            break;
        }
    }
    st.gauge_step = -1;
    return depth;
}

void cast() {
    st.depth = run_gauge();
    bait_hook_point(st.player_x, st.depth, &st.hook_x, &st.hook_y);
    st.screen = BaitScreen::Cast;
    for (s32 f = 0; f < 3; ++f) {
        draw_common(TXT_READY, IMG_CAST_PLAYER + f, -1);
        if (f == 1) mssw_play_sound(SND_SWING, 1);
        screen_present();
        wait_ms(200);
    }
    for (s32 f = 0; f < 5; ++f) {
        draw_common(TXT_READY, IMG_PLAYER, IMG_CAST_FLOAT + f);
        if (f == 3) mssw_play_sound(SND_SPLASH, 1);
        screen_present();
        wait_ms(200);
    }
    st.screen = BaitScreen::Play;
    st.phase = BAIT_LINE_OUT;
    st.zone = bait_zone_at(st.hook_x, st.hook_y);
    const s32 bait_kind = st.bait_count > 0 ? st.baits[st.bait].kind : -1;
    st.hooked = bait_kind_for(st.zone, growth_value(BAIT_SKILL), bait_kind, st.variant);
    st.bite = st.hooked >= 0 ? draw(BITE_DRAW) : 0;
}

void ready() {
    if (mouse_buttons & 2) {
        const s32 to = click_x;
        if (to > st.player_x && st.player_x <= WALK_RIGHT_LAST)
            st.player_x += WALK_STEP;
        else if (to < st.player_x && st.player_x >= WALK_LEFT_LAST)
            st.player_x -= WALK_STEP;
    }
    s32 x = 0, y = 0;
    if (!frame_take_click(&x, &y)) return;
    if (frame_box_has(QUIT_BOX, x, y))
        st.end = BAIT_END_QUIT;
    else if (frame_box_has(ROD_BOX, x, y) && st.rod_count > 1)
        st.phase = BAIT_CHOOSE_ROD;
    else if (frame_box_has(BAIT_BOX, x, y) && st.bait_count > 1)
        st.phase = BAIT_CHOOSE_BAIT;
    else if (frame_box_has(CAST_BOX, x, y))
        cast();
}

void start_fight() {
    st.screen = BaitScreen::Bite;
    for (s32 f = 0; f < 4; ++f) {
        draw_common(TXT_BITE, IMG_PLAYER, IMG_BITE_FLOAT + f);
        screen_present();
        wait_ms(200);
    }
    st.screen = BaitScreen::Play;
    st.phase = BAIT_PLAYING;
    st.x = BAIT_FISH_X;
    st.y = BAIT_FISH_Y;
    st.strength = hooked_kind().strength;
    st.tension = 0;
    st.slack_a = st.slack_b = st.strength / 10 + 30;
    st.pull = 0;
    st.idle = 0;
    st.held = false;
    st.switched = false;
    st.outcome = BAIT_NO_OUTCOME;
    st.fight_seconds = 0;
    timer2_start();
}

// Phase 1: the right button alone reels the line in (no bait spent); the countdown runs out to
// the bite. A countdown drawn as 0 has passed 0 after its first step: it bites then too.
void line_out() {
    if (mouse_buttons == 2) {
        mouse_buttons = 0;
        st.phase = BAIT_READY;
        st.depth = 0;
        st.hooked = -1;
        return;
    }
    if (st.hooked < 0) return;
    if (--st.bite <= 0) start_fight();
}

// Takes one of the chosen bait; an emptied entry leaves the list and the first becomes the
// chosen one. The game ends when none is left.
void spend_bait() {
    if (st.bait_count <= 0) return;
    st.bait = std::clamp(st.bait, 0, st.bait_count - 1);
    BaitEntry& b = st.baits[st.bait];
    inv_remove(b.kind == BAIT_EXTRA_KIND ? BAIT_EXTRA_ITEM : BAIT_BAIT_ITEM + b.kind, 1);
    if (--b.count > 0) return;
    std::copy(st.baits + st.bait + 1, st.baits + st.bait_count, st.baits + st.bait);
    st.baits[--st.bait_count] = {};
    st.bait = 0;
    if (st.bait_count == 0) st.end = BAIT_END_NO_BAIT;
}

void back_to_ready() {
    st.phase = BAIT_READY;
    st.depth = 0;
    spend_bait();
}

// Landed: score and growth at once, then the catch's picture until a button is down (at once
// while the left button that reeled it in is still held).
void land() {
    const BaitKind& k = hooked_kind();
    mssw_play_sound(SND_LANDED, 1);
    draw_image(149, 16, IMG_FIGHT_WATER + st.water / 20, 0);
    draw_fight_frame(TXT_LANDED);
    st.score += k.value;
    growth_pool(BAIT_SKILL) += at_hub() ? k.value * 4 : k.value;
    grow(BAIT_SKILL);
    growth_pool(BAIT_ATTR) += k.value * 2 / 3;
    grow(BAIT_ATTR);
    ++st.catches[st.hooked];
    ++st.landed;
    st.outcome = BAIT_NO_OUTCOME;
    st.screen = BaitScreen::Picture;
    st.picture = 0;
    while (mouse_buttons == 0) {
        draw_image(149, 16, IMG_FAR_BANK, 0);
        draw_image(149, 73, IMG_WATER, 0);
        draw_image(250, 16, IMG_FISH_PICTURE + FISH_IMAGES_PER_KIND * st.hooked + st.picture / 5,
                   0);
        screen_present();
        st.picture = (st.picture + 1) % 15;
    }
    mouse_buttons = 0;
    st.screen = BaitScreen::Play;
    back_to_ready();
}

void lose() {
    const BaitKind& k = hooked_kind();
    const s32 v = st.fight_seconds / 3 + 1 + k.value / 10;
    growth_pool(BAIT_SKILL) += at_hub() ? 40 + draw(2 * v) : 10 + draw(v);
    grow(BAIT_SKILL);
    st.last_outcome = st.outcome;
    ++st.lost;
    back_to_ready();
    const s32 line = st.outcome == BAIT_LINE_BROKE ? TXT_BROKE
                     : st.outcome == BAIT_GOT_AWAY ? TXT_AWAY
                                                   : TXT_TOO_LONG;
    const s32 fish = IMG_FISH_SLACK + FISH_IMAGES_PER_KIND * st.hooked;
    st.screen = BaitScreen::Loss;
    for (s32 i = 0; i < BAIT_LOSS_FRAMES; ++i) {
        draw_image(149, 73, IMG_WATER + st.water / 20, 0);
        st.water = (st.water + 1) % 80;
        draw_image(st.x - 19 + i, st.y - 229 + i, IMG_SLACK_LINE + st.line / 20, 0);
        st.line = (st.line + 1) % 40;
        draw_image(st.x - 91 - i, st.y - 28, fish + st.fish / 10, 0);
        st.fish = (st.fish + 1) % 6;
        draw_fight_frame(line);
        screen_present();
    }
    st.screen = BaitScreen::Play;
    st.outcome = BAIT_NO_OUTCOME;
}

void slack() {
    ++st.idle;
    draw_image(st.x - 26, st.y - 254, IMG_SLACK_LINE + st.line / 20, 0);
    st.line = (st.line + 1) % 40;
    draw_image(st.x - 18, st.y - 48,
               IMG_FISH_SLACK + FISH_IMAGES_PER_KIND * st.hooked + st.fish / 2, 0);
    st.fish = (st.fish + 1) % 6;
    if (st.x > 270) --st.x;
    if (st.y < 260) ++st.y;
    --st.strength;
    --st.slack_a;
    if (st.idle > draw(100) + st.slack_a + 250) st.outcome = BAIT_GOT_AWAY;
}

void reel() {
    draw_image(st.x - 19, st.y - 229, IMG_REEL_LINE + st.reel_line / 10, 0);
    st.reel_line = (st.reel_line + 1) % 30;
    draw_image(st.x - 111, st.y - 48,
               IMG_FISH_REEL + FISH_IMAGES_PER_KIND * st.hooked + st.fish / 2, 0);
    st.fish = (st.fish + 1) % 6;
    if (draw(100) + 70 < st.tension - 50) {
        st.strength -= 5;
        st.tension += st.strength / 300;
        st.pull += st.strength / 500 + 2 + draw(2);
        const s32 hold = (growth_value(BAIT_SKILL) + 20) * 5 + bait_line_strength(tool());
        if (st.pull > hold + draw(100) && st.pull > draw(100) + 150)
            st.outcome = BAIT_LINE_BROKE;
        else if (st.tension >= draw(100) + 400)
            st.outcome = BAIT_GOT_AWAY;
        return;
    }
    if (st.x <= 350) ++st.x;
    if (st.y >= 40) --st.y;
    --st.strength;
    st.tension += 2;
    st.pull += 1 + st.strength / 500;
}

// One frame of phase 2.
void fight() {
    draw_image(149, 16, IMG_FIGHT_WATER + st.water / 20, 0);
    st.water = (st.water + 1) % 80;
    const bool was_held = st.held;
    st.held = (mouse_buttons & 1) != 0;
    if (st.held)
        reel();
    else
        slack();
    st.fight_seconds = s32(timer2_elapsed() / 1000);
    draw_fight_frame(st.fight_seconds < FIGHT_SLOW_SECONDS ? TXT_FIGHT : TXT_FIGHT_LONG);
    screen_present();

    if (st.held != was_held) {
        // Taking up the line again too soon after letting it go may shake the catch off.
        if (st.held && st.switched && st.outcome == BAIT_NO_OUTCOME &&
            st.slack_b < st.slack_a + st.strength / 40 && draw(100) > 94)
            st.outcome = BAIT_GOT_AWAY;
        st.switched = true;
        st.idle = 0;
        st.tension = st.strength / 20;
        st.slack_a = st.slack_b = st.strength / 10 + 30;
        st.pull = 0;
    }
    if (st.y < LANDED_Y) {
        land();
        return;
    }
    if (st.fight_seconds > FIGHT_LIMIT_SECONDS && st.outcome == BAIT_NO_OUTCOME)
        st.outcome = BAIT_TOO_LONG;
    if (st.outcome != BAIT_NO_OUTCOME) lose();
}

void final_screen() {
    st.screen = BaitScreen::Final;
    draw_common(st.end == BAIT_END_NO_BAIT ? TXT_END_NO_BAIT : TXT_END, IMG_PLAYER, -1);
    FrameWait wait;
    wait.x = END_MARK_X;
    wait.y = END_MARK_Y;
    wait.end_buttons = 2;
    frame_click_wait(wait);
    st.screen = BaitScreen::Done;
}

void give_catches() {
    for (s32 k = 0; k < BAIT_KINDS; ++k) {
        if (st.catches[k] == 0) continue;
        inv_add(BAIT_KIND_TABLE[k].item, st.catches[k]);
        known_add(BAIT_SKILL, BAIT_KNOWN_FIRST + k);
    }
    player_record.stamina = std::max(0, player_record.stamina - BAIT_STAMINA_COST);
}

} // namespace

void bait_hook_point(s32 player_x, s32 depth, s32* x, s32* y) {
    const s32 column = std::clamp((player_x - BANK_X) / BANK_COLUMN_W, 0, BAIT_COLUMNS - 1);
    s32 hy = HOOK_BASE_Y - ((HOOK_BASE_Y - BAIT_BANK_BOTTOM[column]) * depth) / DEPTH_SCALE;
    if (column == LEDGE_COLUMN && hy > LEDGE_ABOVE && hy < LEDGE_BELOW)
        hy = hy < LEDGE_SPLIT ? LEDGE_TOP : LEDGE_BOTTOM;
    *x = player_x;
    *y = hy;
}

s32 bait_zone_at(s32 x, s32 y) {
    s32 zone = -1;
    for (s32 z = 0; z < BAIT_ZONES; ++z)
        if (frame_box_has(BAIT_ZONE_TABLE[z], x, y)) zone = z;
    return zone;
}

s32 bait_kind_for(s32 zone, s32 skill, s32 bait_kind, s32 variant) {
    if (zone < 0) return -1;
    if (variant == BAIT_EXTRA_KIND && bait_kind == BAIT_EXTRA_KIND) return 3;
    switch (zone) {
    case 0:
    case 5:
        return 2;
    case 1:
        return skill > 59 ? 0 : -1;
    case 2:
    case 3:
        return 6;
    case 4:
        return skill > 19 && bait_kind == 1 ? 4 : -1;
    case 6:
        return 5;
    default:
        return -1;
    }
}

s32 bait_line_strength(s32 tool) {
    return 40 * tool + 100;
}

void game_bait_catch(s32 kind) {
    st = BaitState{};
    st.variant = kind;
    build_lists();
    // Callers check for a rod and a bait, but their item ranges are wider than the game's: with
    // nothing to choose from the game has nothing to play and returns before it starts.
    if (st.rod_count == 0 || st.bait_count == 0) {
        st.end = BAIT_END_NOTHING;
        st.screen = BaitScreen::Done;
        return;
    }
    FrameMusic music;
    frame_music_start(music, BAIT_MUSIC);
    line_style();
    frame_enter(0, false);
    timer0_start();

    while (st.end == BAIT_RUNNING) {
        timer1_start();
        st.t = s32(timer0_elapsed() / BAIT_STEP_MS);
        if (st.phase == BAIT_PLAYING) {
            fight();
        } else {
            const s32 bob = IMG_FLOAT + st.bob / 20;
            if (st.phase == BAIT_LINE_OUT) st.bob = (st.bob + 1) % 80;
            draw_common(-1, IMG_PLAYER, st.phase == BAIT_LINE_OUT ? bob : -1);
            if (st.phase < BAIT_READY && chooser_count() > 1) draw_chooser();
            screen_present();
            if (st.t > BAIT_LAST_STEP) {
                st.end = BAIT_END_TIME;
            } else if (st.phase < BAIT_READY) {
                choose();
            } else if (st.phase == BAIT_READY) {
                ready();
            } else {
                line_out();
            }
        }
        ++st.frames;
        if (st.end != BAIT_RUNNING) break;
        while (timer1_elapsed() < BAIT_FRAME_MS) {
        }
    }

    final_screen();
    give_catches();
    frame_clock_spend();
    frame_music_restore(music);
}
