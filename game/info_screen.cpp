// The character and system screen: its loop, the status page with the clock panel, the tab row,
// and the system menu's load page, save request and quit confirmation.
#include "game/info_screen.h"

#include "data/hub_block.h"
#include "data/item_tables.h"
#include "data/items.h"
#include "engine/dialog.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/dashboard.h"
#include "game/info_pages.h"
#include "game/inventory.h"
#include "game/player.h"
#include "game/save.h"
#include "game/slot_list.h"

#include <algorithm>

s32 info_running = 0;
s32 info_tab_items = 0;
s32 info_tab_album = 0;
s32 info_tab_arts = 0;
s32 info_tab_people = 0;
s32 info_page_open = 0;
s32 info_load_slot = 0;
s32 info_save_request = 0;
s32 info_anim_tick = 0;
s32 info_anim_frame = 0;

const InfoTab INFO_TAB_ROW[INFO_TABS] = {
    {59, 106, 901, 44, 24, 906, 41, 19, 3315, 117, 50},
    {170, 220, 902, 155, 25, 907, 140, 19, 3316, 227, 50},
    {296, 354, 903, 286, 27, 908, 274, 19, 3317, 364, 50},
    {436, 490, 904, 426, 27, 909, 414, 16, 3318, 500, 50},
    {539, 593, 905, 534, 36, 910, 525, 30, 3319, 606, 32},
};

namespace {

// Inclusive rectangles of the status page.
struct Box {
    s32 x0, y0, x1, y1;
};
constexpr bool box_has(const Box& b, s32 x, s32 y) {
    return x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1;
}

constexpr Box LOAD_BOX = {155, 431, 206, 464};
constexpr Box SAVE_BOX = {456, 432, 494, 464};
constexpr Box QUIT_BOX = {302, 444, 333, 475};
constexpr Box MONEY_BOX = {356, 380, 393, 399};
constexpr Box MP_BOX = {292, 243, 358, 299};
constexpr Box QUIT_YES_BOX = {330, 330, 346, 346};
constexpr Box QUIT_NO_BOX = {362, 330, 394, 346};
// The quit confirmation's two answers, each printed at its box's left edge.
struct QuitAnswer {
    Box box;
    s32 text;
};
constexpr QuitAnswer QUIT_ANSWERS[2] = {{QUIT_YES_BOX, 715}, {QUIT_NO_BOX, 716}};

// One button of the system menu: its picture (hovered + 1), the hover caption and the hover box.
struct Button {
    Box box;
    s32 image, x, y;
    s32 caption, caption_x, caption_y;
};
constexpr Button BUTTONS[3] = {
    {LOAD_BOX, INFO_LOAD_IMAGE, 151, 415, 711, 162, 398},
    {SAVE_BOX, INFO_SAVE_IMAGE, 450, 415, 712, 459, 398},
    {QUIT_BOX, INFO_QUIT_IMAGE, 302, 444, 713, 233, 448},
};

// An equipment slot on the status page: pointer box, picture place plain and hovered, name place.
struct EquipView {
    Box box;
    s32 x, y, hover_x, hover_y;
    s32 name_x, name_y;
};
constexpr EquipView EQUIP_VIEW[PLAYER_EQUIP] = {
    {{162, 163, 236, 243}, 117, 106, 116, 105, 139, 100},
    {{417, 163, 491, 243}, 367, 106, 368, 105, 490, 100},
    {{151, 268, 225, 348}, 111, 211, 110, 210, 139, 240},
    {{426, 268, 500, 348}, 383, 211, 384, 210, 486, 240},
};

// The values column: label text and x; the number goes under the label at y 407.
struct ValueColumn {
    s32 label, x;
};

// Slot 3's item 1507 shows 20 more of attribute 5.
constexpr s32 ATTR5_CHARM = 1507 - 1500;
constexpr s32 ATTR5_CHARM_BONUS = 20;

// The six clock labels: place, and the text of each half's label there.
constexpr s32 CLOCK_LABEL_X[INFO_CLOCK_LABELS] = {125, 115, 89, 63, 37, 26};
constexpr s32 CLOCK_LABEL_Y[INFO_CLOCK_LABELS] = {200, 224, 238, 238, 224, 200};
constexpr s32 CLOCK_DAY_LABEL[INFO_CLOCK_LABELS] = {3303, 3304, 3305, 3306, 3307, 3308};
constexpr s32 CLOCK_NIGHT_LABEL[INFO_CLOCK_LABELS] = {3309, 3310, 3311, 3300, 3301, 3302};
constexpr s32 OPEN_WORLD_TURN = 234; // the date shows after this calendar turn

s32* const TAB_FLAG[4] = {&info_tab_items, &info_tab_album, &info_tab_arts, &info_tab_people};

bool pointer_in(const Box& b) {
    return box_has(b, pointer_x, pointer_y);
}

bool buttons_offered(s32 from_hub) {
    return from_hub == 0 && attr_get(0, ATTR_TIMER_ON) == 0;
}

bool day_half(s32 hour) {
    return hour >= 5 && hour <= 16;
}

// ---- Status page layers -------------------------------------------------------------------------

void draw_aura() {
    if (++info_anim_tick > 5) {
        info_anim_tick = 0;
        ++info_anim_frame;
    }
    if (info_anim_frame < 0 || info_anim_frame >= INFO_AURA_FRAMES) info_anim_frame = 0;
    const s32 mp = player_record.mp;
    if (mp <= 0) return;
    const s32 base = mp < 100 ? 941 : mp < 300 ? 948 : mp < 600 ? 955 : 962;
    draw_image(217, 161, base + info_anim_frame, 0);
}

void draw_title_and_name() {
    text_style(6);
    text_size(24);
    text_colour(0, 0, 15);
    const s32 title = dashboard_title_text();
    if (title >= 0) print_text_vertical_seen(583, 120, title);
    text_colour(0, 0, 0);
    print_text_vertical_seen(548, 215, 1000 + player_record.name_id);
}

void draw_vitals() {
    const PlayerRecord& p = player_record;
    text_style(1);
    text_size(16);
    print_text_vertical_seen(205, 394, 509);
    text_size(8);
    text_colour(25, 5, 0);
    // A maximum of 0 or below (a damaged record) shows an empty bar; the bar never runs past its
    // hundred columns.
    const s32 pct = p.hp_max > 0 ? std::clamp(s32(s64(p.hp) * 100 / p.hp_max), 0, 100) : 0;
    for (s32 i = 0; i < pct; ++i) draw_image(285 + i, 407, INFO_HP_COLUMN, 0);
    print_number_vertical_seen(400, 386, p.hp, 4);
    print_number_vertical_seen(239, 423, p.stamina, 4);
    text_size(16);
    text_colour(0, 0, 0);
    print_text_vertical_seen(433, 419, 507);
    const s32 columns = std::clamp(p.stamina / 10, 0, 100);
    for (s32 i = 0; i < columns; ++i) draw_image(368 - i, 432, INFO_STAMINA_COLUMN, 0);
}

void draw_money() {
    if (!pointer_in(MONEY_BOX)) return;
    const s32 money = player_record.money;
    const s32 g = money < 10 ? 1 : money < 100 ? 2 : money < 1000 ? 3 : money < 10000 ? 4 : 5;
    const s32 h = (5 - g) * 16;
    text_style(5);
    text_colour(0, 0, 15);
    print_text_vertical_seen(398, 273 + h, 582);
    print_text_vertical_seen(398, 305 + h, 548);
    text_colour(25, 5, 0);
    print_number_vertical_seen(398, 320 + h, money, g);
    text_colour(0, 0, 0);
    print_text_vertical_seen(398, 404, 3337);
    text_colour(0, 0, 15);
    print_text_vertical_seen(398, 416, 549);
}

void draw_buttons(s32 from_hub) {
    if (!buttons_offered(from_hub)) return;
    for (const Button& b : BUTTONS) {
        if (!pointer_in(b.box)) {
            draw_image(b.x, b.y, b.image, 0);
            continue;
        }
        draw_image(b.x, b.y, b.image + 1, 0);
        print_text_seen(b.caption_x, b.caption_y, b.caption);
    }
}

void draw_equipment() {
    for (s32 s = 0; s < PLAYER_EQUIP; ++s) {
        const s32 e = player_record.equip[s];
        if (e < 0 || e >= EQUIP_SLOT_ITEMS[s]) continue;
        const s32 item = EQUIP_BASE[s] + e;
        const EquipView& v = EQUIP_VIEW[s];
        if (!pointer_in(v.box)) {
            draw_image(v.x, v.y, IMAGE_EQUIP_BASE + item, 0);
            continue;
        }
        draw_image(v.hover_x, v.hover_y, IMAGE_EQUIP_BASE + item, 0);
        print_text_vertical_seen(v.name_x, v.name_y, TEXT_ITEM_NAME + item);
    }
}

void draw_mp() {
    if (!pointer_in(MP_BOX)) return;
    print_text_vertical_seen(233, 144, 3312);
    print_text_vertical_seen(233, 285, 3313);
    print_text_vertical_seen(396, 144, 3314);
    print_text_vertical_seen(396, 285, 3313);
    text_colour(25, 5, 0);
    print_number_vertical_seen(233, 222, player_record.mp_max, 4);
    print_number_vertical_seen(396, 222, player_record.mp, 4);
}

void draw_values() {
    const PlayerRecord& p = player_record;
    const s32 charm = p.equip[3];
    const bool charm_ok = charm >= 0 && charm < EQUIP_TABLE_C_COUNT;
    const s32 attr5 = p.attr[5] + (charm == ATTR5_CHARM ? ATTR5_CHARM_BONUS : 0);
    const s32 variety = p.art_variety + (charm_ok ? equip_table_c[charm].art_variety_bonus : 0);
    const ValueColumn columns[] = {{500, 594}, {501, 572}, {504, 550}, {514, 528}, {513, 506},
                                   {533, 119}, {534, 97},  {535, 75},  {536, 53},  {537, 31}};
    const s32 values[] = {p.fame,    p.chivalry, attr5,     p.combat_level, variety,
                          p.attr[0], p.attr[1],  p.attr[2], p.attr[3],      p.attr[4]};
    text_style(1);
    text_colour(0, 0, 0);
    for (size_t i = 0; i < std::size(columns); ++i) {
        print_text_vertical_seen(columns[i].x, 327, columns[i].label);
        print_number_vertical_seen(columns[i].x, 407, values[i], 3);
    }
}

// The day of the month in the text table's numerals, two characters at (87, 128) and (111, 128).
void draw_day(s32 day) {
    const auto digit = [](s32 x, s32 d) { print_number_seen(x, 128, d, 1); };
    const auto text = [](s32 x, s32 t) { print_text_seen(x, 128, t); };
    if (day >= 1 && day <= 9) {
        text(87, 320);
        digit(111, day);
    } else if (day == 10) {
        text(87, 320);
        text(111, 309);
    } else if (day >= 11 && day <= 19) {
        text(87, 309);
        digit(111, day - 10);
    } else if (day == 20) {
        digit(87, 2);
        text(111, 309);
    } else if (day >= 21 && day <= 29) {
        digit(87, 2);
        digit(111, day - 20);
    } else if (day >= 30) {
        text(87, 65503);
        text(111, 309);
    }
}

// ---- System menu --------------------------------------------------------------------------------

void load_page() {
    if (!save_index_read()) {
        say_center(SAVE_INDEX_NAME);
        say_center("Load Error!!!");
        return;
    }
    text_style(2);
    text_size(16);
    const s32 pick = slot_list_pick({.restore_screen = false, .can_close = true});
    if (pick < 0) return;
    // The load answer counts only while the player's countdown is off; otherwise the question
    // stands until it is answered otherwise.
    for (;;) {
        if (!slot_confirm(pick)) return;
        if (attr_get(0, ATTR_TIMER_ON) == 0) break;
    }
    info_load_slot = pick + 1;
    info_running = 0;
}

void quit_confirm() {
    for (;;) {
        draw_image(218, 320, INFO_QUIT_PANEL, 0);
        text_colour(0, 0, 15);
        print_text_seen(234, 330, 714);
        for (const QuitAnswer& a : QUIT_ANSWERS) {
            if (pointer_in(a.box))
                text_colour(25, 5, 0);
            else
                text_colour(0, 0, 15);
            print_text_seen(a.box.x0, 330, a.text);
        }
        screen_present();
        if (mouse_buttons != 1) continue;
        mouse_buttons = 0;
        const s32 x = click_x, y = click_y;
        if (box_has(QUIT_YES_BOX, x, y)) game_quit();
        if (box_has(QUIT_NO_BOX, x, y)) return;
    }
}

void status_click(s32 from_hub, s32 x, s32 y) {
    const bool offered = buttons_offered(from_hub);
    if (offered && box_has(LOAD_BOX, x, y)) {
        load_page();
        return;
    }
    if (offered && box_has(SAVE_BOX, x, y)) {
        info_running = 0;
        info_save_request = 1;
        return;
    }
    if (offered && box_has(QUIT_BOX, x, y)) {
        quit_confirm();
        return;
    }
    const s32 tab = info_tab_at(x, y);
    if (tab == INFO_TAB_CLOSE) {
        info_running = 0;
    } else if (tab >= 0) {
        *TAB_FLAG[tab] = 1;
        info_page_open = 1;
    }
}

// Runs the page whose tab is set, over a fresh status page.
void run_open_page(s32 from_hub) {
    if (info_tab_items == 1) {
        info_page_status(from_hub);
        info_page_items(from_hub);
    } else if (info_tab_album == 1) {
        info_page_status(from_hub);
        info_page_album();
    } else if (info_tab_arts == 1) {
        info_page_status(from_hub);
        info_page_arts();
    } else if (info_tab_people == 1) {
        info_page_status(from_hub);
        info_page_people();
    }
}

} // namespace

s32 info_tab_at(s32 x, s32 y) {
    if (y < INFO_TAB_Y0 || y > INFO_TAB_Y1) return -1;
    for (s32 k = 0; k < INFO_TABS; ++k)
        if (x >= INFO_TAB_ROW[k].x0 && x <= INFO_TAB_ROW[k].x1) return k;
    return -1;
}

s32 info_clock_step(s32 hour, s32 minute) {
    if (hour < 0 || hour > 23) return -1;
    const s32 half_hours = 2 * hour + std::clamp(minute, 0, 59) / 30;
    if (day_half(hour)) return half_hours - 10;
    return hour >= 17 ? half_hours - 34 : half_hours + 14;
}

s32 info_clock_lit_label(s32 hour, s32 minute) {
    const s32 c = info_clock_step(hour, minute);
    if (c < 0) return -1;
    return (day_half(hour) ? CLOCK_DAY_LABEL : CLOCK_NIGHT_LABEL)[c / 4];
}

void info_tabs_draw() {
    const s32 hover = info_tab_at(pointer_x, pointer_y);
    for (s32 k = 0; k < INFO_TABS; ++k) {
        const InfoTab& t = INFO_TAB_ROW[k];
        if (k != hover) {
            draw_image(t.plain_x, t.plain_y, t.plain, 0);
            continue;
        }
        draw_image(t.lit_x, t.lit_y, t.lit, 0);
        text_style(5);
        text_size(16);
        text_colour(0, 0, 15);
        if (k == INFO_TAB_CLOSE && info_page_open == 1)
            print_text_vertical_seen(INFO_CLOSE_CAPTION_PAGE_X, INFO_CLOSE_CAPTION_PAGE_Y,
                                     INFO_CLOSE_CAPTION_PAGE);
        else
            print_text_vertical_seen(t.caption_x, t.caption_y, t.caption);
    }
}

s32 info_tabs_click(s32 page) {
    const s32 tab = info_tab_at(click_x, click_y);
    if (tab < 0) return 0;
    for (s32* flag : TAB_FLAG) *flag = 0;
    if (tab == INFO_TAB_CLOSE) {
        info_page_open = 0;
        return 1;
    }
    *TAB_FLAG[tab] = 1;
    info_page_open = 1;
    return tab + 1 != page ? 1 : 0;
}

void info_page_clock() {
    if (hub_block.calendar_turn > OPEN_WORLD_TURN) {
        text_style(3);
        text_size(24);
        text_colour(0, 0, 0);
        print_number_seen(39, 128, world_state.month, 1);
        print_text_seen(63, 128, 304);
        draw_day(world_state.day);
    }
    const s32 hour = world_state.hour, minute = world_state.minute;
    const s32 c = info_clock_step(hour, minute);
    if (c < 0) return;
    draw_image(39, 155, INFO_DIAL_IMAGE + c, 0);
    text_style(1);
    text_size(16);
    const s32* labels = day_half(hour) ? CLOCK_DAY_LABEL : CLOCK_NIGHT_LABEL;
    for (s32 i = 0; i < INFO_CLOCK_LABELS; ++i) {
        if (i == c / 4)
            text_colour(25, 5, 0);
        else
            text_colour(0, 0, 0);
        print_text_seen(CLOCK_LABEL_X[i], CLOCK_LABEL_Y[i], labels[i]);
    }
}

void info_page_status(s32 from_hub) {
    draw_image(0, 0, INFO_STATUS_IMAGE, 0);
    draw_aura();
    info_tabs_draw();
    draw_title_and_name();
    draw_vitals();
    info_page_clock();
    draw_money();
    draw_buttons(from_hub);
    draw_equipment();
    draw_mp();
    draw_values();
}

void info_screen_loop(s32 from_hub) {
    info_running = 1;
    for (s32* flag : TAB_FLAG) *flag = 0;
    mouse_buttons = 0;
    const s32 titles = title_count();
    if (titles > 0) dashboard_title = rand_below(titles) + 1;
    while (info_running == 1) {
        info_page_status(from_hub);
        if (mouse_buttons == 1) {
            mouse_buttons = 0;
            status_click(from_hub, click_x, click_y);
        }
        run_open_page(from_hub);
        screen_present();
    }
}

void info_screen(s32 from_hub) {
    info_anim_frame = 0;
    info_anim_tick = 0;
    text_reveal_limit = 0;
    cursor_select(0);
    info_screen_loop(from_hub);
    if (info_load_slot > 0) {
        const s32 slot = info_load_slot - 1;
        fade_out();
        const s32 loaded = load_game(slot);
        mouse_buttons = 0;
        click_kind = 0;
        // A load that failed changed nothing (load_game has told the player): the running map
        // goes on where it was, so nothing is placed and no field loop is ended.
        if (loaded) {
            slot_place_after_load(slot);
            if (slot == 0 || slot == 1) fade_in();
        }
    }
    mouse_buttons = 0;
}
