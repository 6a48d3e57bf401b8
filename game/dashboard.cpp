// The dashboard, its bar of menu buttons, the affection screen and the hub's continue mark.
#include "game/dashboard.h"

#include "data/hub_block.h"
#include "data/item_tables.h"
#include "engine/blit.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/roster_rules.h"

#include <climits>

s32 dashboard_anim = 0;
s32 dashboard_title = 0;

namespace {

// Texts go through the printers that also tell the transcript (print_text_seen and its kin), so
// that an observer that asked for draws sees the hub's prints as well as its pictures.

// ---- Pictures chosen by saved values -----------------------------------------------------------

// Portrait by condition, mood and animation step a (0..3); -1 for a mood outside the table.
s32 portrait_image(s32 condition, s32 mood, s32 a) {
    if (condition == 6) return 60308 + a;
    if (condition == 5) return 60312 + a;
    switch (mood) {
    case 0:
        return 60301 + a;
    case 1:
        return 60305;
    case 2:
        return 60306;
    case 3:
        return 60307;
    case 4:
        return 60316 + a;
    default:
        return -1;
    }
}

// Equipment index of slot 0 or 2 when it names a record of its slot, else -1.
s32 weapon_index(s32 slot) {
    const s32 e = player_record.equip[slot];
    return e >= 0 && e < EQUIP_SLOT_ITEMS[slot] ? e : -1;
}

// The weapon's name: of slots 0 and 2 the one set, or the stronger (slot 0 on a tie).
s32 weapon_text() {
    const s32 a = weapon_index(0), b = weapon_index(2);
    if (a < 0 && b < 0) return DASH_NO_ENTRY_TEXT;
    s32 slot = a >= 0 ? 0 : 2;
    if (a >= 0 && b >= 0 && equip_table[150 + b].power > equip_table[a].power) slot = 2;
    return 5000 + EQUIP_BASE[slot] + player_record.equip[slot];
}

bool known_entry(const KnownEntry& e) {
    return e.id > 49;
}

// The best-levelled entry of known list 0.
s32 best_skill_text() {
    s32 best = -1, best_level = 0;
    for (const KnownEntry& e : player_record.known[0])
        if (known_entry(e) && (best < 0 || e.level > best_level)) {
            best = e.id;
            best_level = e.level;
        }
    return best < 0 ? DASH_NO_ENTRY_TEXT : 52500 + best;
}

// The best-scoring art of known lists 2..9 (the first found on a tie).
s32 best_art_text() {
    s32 best_text = DASH_NO_ENTRY_TEXT;
    s64 best_score = LLONG_MIN;
    for (s32 list = 2; list <= 9; ++list)
        for (const KnownEntry& e : player_record.known[list]) {
            if (!known_entry(e)) continue;
            const s64 art = 50ll * list + e.id - 50;
            const s64 score = art <= INT_MAX ? art_score(s32(art), e.level) : 0;
            if (score > best_score) {
                best_score = score;
                best_text = s32(std::min<s64>(52500ll + 100 * list + e.id, INT_MAX));
            }
        }
    return best_text;
}

// ---- The dashboard's layers ---------------------------------------------------------------------

void draw_gauge() {
    const s32 stamina = player_record.stamina;
    const s32 w = stamina <= 0 ? 0 : stamina >= 1000 ? DASH_GAUGE_FILL : stamina * 133 / 1000;
    for (s32 i = 0; i < DASH_GAUGE_COLUMNS; ++i)
        draw_image(DASH_GAUGE_X + i, DASH_GAUGE_Y, DASH_GAUGE_EMPTY, 0);
    for (s32 i = 0; i < w; ++i) draw_image(DASH_GAUGE_X + i, DASH_GAUGE_Y, DASH_GAUGE_FULL, 0);
}

void draw_portrait() {
    if (dashboard_anim < 0 || dashboard_anim >= 40) dashboard_anim = 0;
    const s32 image =
        portrait_image(player_record.condition, player_record.mood, dashboard_anim / 10);
    if (image >= 0) draw_image(DASH_PORTRAIT_X, DASH_PORTRAIT_Y, image, 0);
    if (++dashboard_anim >= 40) dashboard_anim = 0;
}

void stat_column(s32 x, s32 label, s32 value) {
    print_text_vertical_seen(x, 9, label);
    print_text_vertical_seen(x, 41, 545);
    print_number_vertical_seen(x, 57, value, 3);
}

// The equipment's bonuses on the art variety and on attribute 5.
s32 shown_art_variety() {
    const s32 charm = player_record.equip[3];
    const bool charm_ok = charm >= 0 && charm < EQUIP_TABLE_C_COUNT;
    return player_record.art_variety + (charm_ok ? equip_table_c[charm].art_variety_bonus : 0);
}

s32 shown_attr5() {
    return player_record.attr[5] + (player_record.equip[3] == 7 ? 20 : 0);
}

// The one fixed set of the closing animation: attributes 0..4, art variety, combat level,
// attribute 5, fame and chivalry.
void draw_fixed_statistics() {
    const PlayerRecord& p = player_record;
    text_size(16);
    text_colour(9, 9, 10);
    text_style(5);
    for (s32 i = 0; i < 5; ++i) stat_column(299 + 22 * i, 533 + i, p.attr[i]);
    stat_column(431, 541, shown_art_variety());
    stat_column(453, 542, p.combat_level);
    stat_column(475, 504, shown_attr5());
    stat_column(563, 500, p.fame);
    stat_column(585, 501, p.chivalry);
}

void draw_statistics() {
    const PlayerRecord& p = player_record;
    text_size(16);
    text_colour(9, 9, 10);
    text_style(5);
    if (hub_block.dashboard_page == 1) {
        for (s32 i = 0; i < 14; ++i) stat_column(290 + 20 * i, 560 + i, p.skill[10 + i]);
        stat_column(580, 500, p.fame);
        stat_column(600, 501, p.chivalry);
        return;
    }
    for (s32 i = 0; i < 5; ++i) stat_column(280 + 20 * i, 533 + i, p.attr[i]);
    for (s32 i = 0; i < 9; ++i) stat_column(385 + 20 * i, 550 + i, p.skill[i]);
    stat_column(570, 541, shown_art_variety());
    stat_column(590, 542, p.combat_level);
    stat_column(610, 504, shown_attr5());
}

void draw_date() {
    text_size(24);
    text_colour(9, 9, 10);
    text_style(3);
    print_text_vertical_seen(580, 140, 302);
    print_number_vertical_seen(580, 172, world_state.year, 1);
    print_text_vertical_seen(580, 204, 303);

    const s32 month = world_state.month, day = world_state.day;
    s32 y = 163;
    auto next_text = [&y](s32 text) {
        print_text_vertical_seen(550, y, text);
        y += 32;
    };
    auto next_digit = [&y](s32 value) {
        print_number_vertical_seen(550, y, value, 1);
        y += 32;
    };
    if (month == 10)
        next_text(309);
    else if (month == 11 || month == 12) {
        next_text(309);
        next_digit(month - 10);
    } else
        next_digit(month);
    next_text(304);
    if (day <= 6)
        next_text(314);
    else if (day >= 25)
        next_text(315);
    else {
        next_text(305 + (day - 7) / 6);
        next_text(308);
    }
}

// `closing`: the closing animation's columns, the best art in the skill's place and none in the
// art's.
void draw_equipment(bool closing) {
    text_colour(9, 9, 10);
    text_style(3);
    print_text_vertical_seen(84, 149, 310);
    print_text_vertical_seen(54, 149, 311);
    print_text_vertical_seen(24, 149, 312);
    print_text_vertical_seen(54, 221, weapon_text());
    print_text_vertical_seen(84, 221, closing ? best_art_text() : best_skill_text());
    print_text_vertical_seen(24, 221, closing ? DASH_NO_ENTRY_TEXT : best_art_text());
}

// The dashboard with the given backdrop; figure (>= 0) is drawn at (fx, fy) before the frame.
// `closing` draws the closing animation's statistics and arts columns.
void dashboard_paint(s32 backdrop, s32 bx, s32 by, s32 figure, s32 fx, s32 fy,
                     bool closing = false) {
    draw_gauge();
    if (backdrop >= 0) draw_image(bx, by, backdrop, 0);
    if (figure >= 0) draw_image(fx, fy, figure, 0);
    draw_image(0, 0, DASH_FRAME_IMAGE, 0);
    draw_portrait();
    if (closing)
        draw_fixed_statistics();
    else
        draw_statistics();
    draw_date();

    const s32 month = world_state.month;
    if (month >= 1 && month <= 12)
        draw_image(DASH_SEASON_X, DASH_SEASON_Y, DASH_SEASON_IMAGE + (month - 1) / 3, 0);

    text_size(24);
    text_colour(25, 5, 0);
    text_style(3);
    const s32 title = dashboard_title_text();
    if (title >= 0) print_text_seen(113, 50, title);

    text_colour(0, 0, 15);
    print_text_seen(161, 74, 1000);
    draw_equipment(closing);
}

bool pointer_inside(s32 x0, s32 y0, s32 x1, s32 y1) {
    const s32 px = pointer_x, py = pointer_y;
    return px >= x0 && px <= x1 && py >= y0 && py <= y1;
}

} // namespace

s32 dashboard_title_text() {
    const PlayerRecord& p = player_record;
    if (title_count() == 0) {
        s32 k = 0;
        if (p.fame < 30)
            k = 0;
        else if (p.fame < 100)
            k = 1;
        else {
            const s32 step = p.fame < 200 ? 0 : p.fame < 300 ? 1 : p.fame < 400 ? 2 : 3;
            k = (p.chivalry >= 30 ? 2 : 6) + step;
        }
        return 3000 + p.titles[0] + k;
    }
    if (dashboard_title < 0 || dashboard_title >= PLAYER_TITLES) return -1;
    return 3000 + p.titles[dashboard_title];
}

void hub_draw() {
    const s32 backdrop = hub_block.scene_backdrop;
    const bool known = backdrop >= DASH_BACKDROP_FIRST && backdrop <= DASH_BACKDROP_LAST;
    dashboard_paint(known ? backdrop : -1, DASH_BACKDROP_X, DASH_BACKDROP_Y, -1, 0, 0);
}

void hub_draw_travel(s32 frame) {
    dashboard_paint(DASH_TRAVEL_BACKDROP, DASH_TRAVEL_X, DASH_TRAVEL_Y,
                    DASH_TRAVEL_FIGURE + (frame & 3), 500 - 15 * frame, 208);
}

void hub_draw_closing(s32 picture) {
    dashboard_paint(picture, DASH_CLOSING_X, DASH_CLOSING_Y, -1, 0, 0, true);
}

void hub_menu_draw() {
    const HubBlock& h = hub_block;
    const bool third = h.hub_third_open == 1;
    const s32 level = h.hub_menu_level, pick = h.hub_menu_pick;
    if (third ? (pick < 0 || pick >= HUB_PLACE_SETS) : (level < 0 || level >= HUB_MENU_LEVELS))
        return;
    for (s32 i = 0; i < HUB_MENU_BUTTONS; ++i) {
        const bool usable =
            third ? h.hub_third_avail[i][pick] == 1 : h.hub_menu_avail[level][i] == 1;
        if (!usable) continue;
        const s32 x = MENU_BUTTON_STEP * i + MENU_BUTTON_X0;
        const bool hover = pointer_inside(x, MENU_BUTTON_Y, x + MENU_BUTTON_W - 1,
                                          MENU_BUTTON_Y + MENU_BUTTON_H - 1);
        const s32 base = third ? MENU_THIRD_IMAGE + 16 * pick : MENU_BUTTON_IMAGE + 16 * level;
        draw_image(x, MENU_BUTTON_Y, base + (hover ? 8 : 0) + i, 0);
    }
}

bool hub_click_wait_at(s32 x, s32 y, const u16* kept) {
    // The observer may end the wait before it starts; the input words are then left alone, so a
    // click meant for whatever follows is not lost.
    TranscriptEntry note;
    note.kind = TRANSCRIPT_WAIT;
    note.x = x;
    note.y = y;
    note.mouse_only = true;
    if (transcript_note(note) != TRANSCRIPT_RUN) return false;

    mouse_buttons = 0;
    s32 counter = 0;
    while (mouse_buttons == 0) {
        screen_put_rect(x, y, HUB_MARK_SIZE, HUB_MARK_SIZE, kept);
        draw_image(x, y, HUB_MARK_IMAGE + counter / 10, 0);
        screen_present();
        wait_ms(HUB_MARK_FRAME_MS);
        if (++counter >= 40) counter = 0;
    }
    mouse_buttons = 0; // the click that ended the wait is not taken again by what follows
    return true;
}

bool hub_click_wait_over(const u16* kept) {
    return hub_click_wait_at(HUB_MARK_X, HUB_MARK_Y, kept);
}

bool hub_click_wait_kept() {
    u16 kept[HUB_MARK_SIZE * HUB_MARK_SIZE];
    screen_get_rect(HUB_MARK_X, HUB_MARK_Y, HUB_MARK_SIZE, HUB_MARK_SIZE, kept);
    return hub_click_wait_over(kept);
}

void hub_click_wait() {
    hub_click_wait_kept();
}

void affection_screen() {
    hub_draw();
    text_colour(0, 0, 15);
    text_style(5);
    text_size(32);
    for (s32 i = 0; i < 5; ++i) {
        const s32 v = player_record.affection[203 + i];
        draw_image(159 + 65 * i, 146, 60515, 0);
        s32 picture = 60502 + 3 * i;
        if (v >= 70) {
            text_colour(0, 0, 15);
            picture = 60500 + 3 * i;
        } else if (v >= 40) {
            text_colour(0, 0, 0);
            picture = 60501 + 3 * i;
        } else
            text_colour(25, 5, 0);
        draw_image(168 + 65 * i, 157, picture, 0);
        print_number_vertical_seen(178 + 65 * i, 217, v < 0 ? 0 : v, 3);
    }
    screen_present();
    hub_click_wait_kept();
}
