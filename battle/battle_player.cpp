// The player's turn: the command bar (move, attack, weapon, items, rest, art) drawn on the side
// away from the protagonist, and the three list screens of weapons, medicines and arts.
#include "battle/battle_player.h"

#include "battle/battle.h"
#include "battle/battle_ai.h"
#include "battle/battle_anim.h"
#include "battle/battle_attack.h"
#include "battle/battle_draw.h"
#include "battle/battle_grid.h"
#include "battle/battle_setup.h"
#include "battle/battle_special.h"
#include "data/battle_tables.h"
#include "engine/anim.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/world/staging.h"
#include "game/item_use.h"
#include "game/player.h"

namespace {

constexpr s32 AUTO_WEAPON = 1466 - 1400; // `equip`[0] of the weapon that hands the turn over
constexpr s32 TECHNIQUES = 10;           // known list of the battle techniques
constexpr s32 TECHNIQUE_DOUBLE = 6;
constexpr s32 BAR_IMAGE = 25735;
constexpr s32 ITEM_NAME_TEXT = 5000;

struct Rect {
    s32 x, y, w, h;
};

bool in_rect(const Rect& r, s32 px, s32 py) {
    return px >= r.x && px <= r.x + r.w && py >= r.y && py <= r.y + r.h;
}

struct BarButton {
    Rect rect; // x before the bar offset
    s32 hover;
    s32 pressed; // 0: none
};
constexpr BarButton BAR_BUTTONS[6] = {
    {{534, 17, 46, 20}, 25762, 25763}, // move
    {{506, 42, 46, 20}, 25736, 25740}, // attack
    {{558, 42, 46, 20}, 25738, 25742}, // weapon
    {{506, 69, 46, 20}, 25737, 25741}, // items
    {{558, 69, 46, 20}, 25739, 25743}, // rest
    {{434, 18, 24, 84}, 0, 0},         // art (hover changes the text colour)
};

Rect shifted(const Rect& r) {
    return {r.x - bar_offset, r.y, r.w, r.h};
}

void dim_stunned() {
    for (s32 slot = 0; slot < BATTLE_SLOTS; ++slot)
        if (battle_slots[slot].character != -1 && battle_slots[slot].stunned > 0)
            anim_track_dim[slot] = 1;
}

// ---- List screens ---------------------------------------------------------------------------

constexpr s32 LIST_ROWS = 6;
constexpr s32 LIST_MAX = 500;
constexpr s32 LIST_PANEL = 25744;
constexpr Rect LIST_PAGE_UP = {482, 116, 15, 12};
constexpr Rect LIST_PAGE_DOWN = {505, 116, 15, 12};
constexpr Rect LIST_CLOSE = {575, 111, 28, 16};
constexpr Rect LIST_BARE = {525, 111, 46, 16};

enum ListKind { LIST_WEAPON, LIST_ITEM, LIST_ART };
constexpr s32 LIST_CLOSED = -1;
constexpr s32 LIST_BARE_HANDS = -2;

struct ListRow {
    s32 text;  // name text
    s32 value; // count or level, 3 digits
    s32 a, b;  // the row's payload (item; or list and entry)
};

struct ListScreen {
    ListKind kind;
    const ListRow* rows;
    s32 count;
    s32 page = 0;
};

Rect row_rect(s32 i) {
    return {443 - bar_offset, 138 + 16 * i, 163, 16};
}

s32 list_pages(const ListScreen& l) {
    return (l.count + LIST_ROWS - 1) / LIST_ROWS;
}

// The hovered row of the page (index into rows), or -1.
s32 list_hover(const ListScreen& l, s32 px, s32 py) {
    for (s32 i = 0; i < LIST_ROWS; ++i) {
        const s32 r = l.page * LIST_ROWS + i;
        if (r >= l.count) break;
        if (in_rect(row_rect(i), px, py)) return r;
    }
    return -1;
}

void draw_list(const ListScreen& l, s32 hovered) {
    const s32 px = pointer_x, py = pointer_y;
    draw_image(429 - bar_offset, 100, LIST_PANEL, 0);
    if (list_pages(l) > 1) {
        const Rect up = shifted(LIST_PAGE_UP), down = shifted(LIST_PAGE_DOWN);
        draw_image(up.x, up.y, in_rect(up, px, py) ? 25748 : 25747, 0);
        draw_image(down.x, down.y, in_rect(down, px, py) ? 25751 : 25750, 0);
    }
    const Rect close = shifted(LIST_CLOSE);
    if (in_rect(close, px, py)) draw_image(close.x, close.y, 25745, 0);
    if (l.kind == LIST_WEAPON) {
        const Rect bare = shifted(LIST_BARE);
        draw_image(bare.x, bare.y, in_rect(bare, px, py) ? 25754 : 25753, 0);
    }
    text_style(5);
    text_size(16);
    for (s32 i = 0; i < LIST_ROWS; ++i) {
        const s32 r = l.page * LIST_ROWS + i;
        if (r >= l.count) break;
        if (r == hovered)
            text_colour(25, 5, 0);
        else
            text_colour(0, 0, 0);
        const Rect row = row_rect(i);
        print_text(row.x, row.y, l.rows[r].text);
        print_number(558 - bar_offset, row.y, l.rows[r].value, 3);
    }
    text_colour(0, 0, 15);
}

void show_pressed(s32 x, s32 y, s32 image) {
    draw_image(x, y, image, 0);
    screen_present();
    wait_ms(200);
}

// Runs a list screen until a row, bare hands (weapon screen) or leaving is chosen. `extra` draws
// what the screen shows besides the list (given the hovered row). The back buffer as it stands
// on entry is the screen's background.
template <class Extra> s32 run_list(ListScreen& l, Extra extra) {
    screen_save();
    mouse_buttons = 0;
    for (;;) {
        screen_restore();
        const s32 hovered = list_hover(l, pointer_x, pointer_y);
        draw_list(l, hovered);
        extra(hovered);
        screen_present();
        const u32 buttons = mouse_buttons;
        if (buttons & 2) {
            mouse_buttons = 0;
            screen_restore();
            return LIST_CLOSED;
        }
        if (buttons != 1) continue;
        mouse_buttons = 0;
        const s32 cx = click_x, cy = click_y;
        const s32 row = list_hover(l, cx, cy);
        if (row != -1) {
            screen_restore();
            return row;
        }
        if (list_pages(l) > 1) {
            const Rect up = shifted(LIST_PAGE_UP), down = shifted(LIST_PAGE_DOWN);
            if (in_rect(up, cx, cy)) {
                show_pressed(up.x, up.y, 25749);
                if (l.page > 0) l.page -= 1;
                continue;
            }
            if (in_rect(down, cx, cy)) {
                show_pressed(down.x, down.y, 25752);
                if (l.page < list_pages(l) - 1) l.page += 1;
                continue;
            }
        }
        const Rect close = shifted(LIST_CLOSE);
        if (in_rect(close, cx, cy)) {
            if (l.kind != LIST_WEAPON) show_pressed(close.x, close.y, 25746);
            screen_restore();
            return LIST_CLOSED;
        }
        if (l.kind == LIST_WEAPON) {
            const Rect bare = shifted(LIST_BARE);
            if (in_rect(bare, cx, cy)) {
                show_pressed(bare.x, bare.y, 25758);
                screen_restore();
                return LIST_BARE_HANDS;
            }
        }
    }
}

// Makes the art search's choice the protagonist's art and shows it.
void take_searched_art() {
    battle_protagonist_take_art();
    battle_sync_anim();
}

bool item_in(s32 item, s32 lo, s32 hi) {
    return item >= lo && item <= hi;
}

} // namespace

s32 battle_command_bar() {
    draw_image(396 - bar_offset, 0, BAR_IMAGE, 0);
    text_style(5);
    text_size(16);
    text_colour(0, 0, 15);
    const s32 px = pointer_x, py = pointer_y;
    s32 hovered = -1;
    for (s32 b = 0; b < 6; ++b) {
        if (in_rect(shifted(BAR_BUTTONS[b].rect), px, py)) {
            hovered = b + 1;
            break;
        }
    }
    if (hovered == 6) {
        text_colour(25, 5, 0);
    } else if (hovered != -1) {
        const Rect r = shifted(BAR_BUTTONS[hovered - 1].rect);
        draw_image(r.x - 2, r.y - 2, BAR_BUTTONS[hovered - 1].hover, 0);
    }
    print_text_vertical(438 - bar_offset, 18, battle_protagonist_art_name());
    text_colour(0, 0, 15);
    if (mouse_buttons == 1 && hovered != -1) {
        mouse_buttons = 0;
        const s32 cx = click_x, cy = click_y;
        for (s32 b = 0; b < 6; ++b) {
            const Rect r = shifted(BAR_BUTTONS[b].rect);
            if (!in_rect(r, cx, cy)) continue;
            if (b == 5) return 16;
            if (b == 0)
                draw_image(530 - bar_offset, 13, BAR_BUTTONS[b].pressed, 0);
            else
                draw_image(r.x - 2, r.y - 2, BAR_BUTTONS[b].pressed, 0);
            screen_present();
            wait_ms(100);
            return 11 + b;
        }
    }
    return hovered;
}

void battle_cmd_weapon() {
    static ListRow rows[200];
    s32 n = 0;
    for (s32 i = 0; i < PLAYER_ITEMS && n < 200; ++i) {
        const InventoryEntry& e = player_record.inventory[i];
        if (e.item == -1) break;
        const s32 it = e.item;
        const bool listed = (item_in(it, 1400, 1429) && family_usable[0]) ||
                            (item_in(it, 1430, 1450) && family_usable[1]) ||
                            (item_in(it, 1460, 1469) && family_usable[2]) ||
                            (item_in(it, 1451, 1459) && family_usable[4]) ||
                            item_in(it, 1470, 1569);
        if (listed) rows[n++] = {ITEM_NAME_TEXT + it, e.count, it, 0};
    }
    if (n == 0) return;
    ListScreen l{LIST_WEAPON, rows, n};
    const s32 chosen = run_list(l, [](s32) {});
    if (chosen == LIST_CLOSED) return;

    player_record.equip[0] = -1;
    player_record.equip[2] = -1;
    s32 allowed = -1; // one known list, or 2..4 for bare hands
    if (chosen == LIST_BARE_HANDS) {
        allowed = 234;
    } else {
        const s32 it = rows[chosen].a;
        item_use(it);
        if (item_in(it, 1400, 1429))
            allowed = 5;
        else if (item_in(it, 1430, 1450))
            allowed = 6;
        else if (item_in(it, 1451, 1459))
            allowed = 1;
        else if (item_in(it, 1460, 1469))
            allowed = 7;
        else if (item_in(it, 1550, 1569))
            allowed = 8;
    }
    if (allowed == -1) return; // no art goes with the item: the art stays
    art_best_level = -1;
    if (allowed == 234) {
        static constexpr s32 BARE_LISTS[3] = {2, 3, 4};
        battle_art_search(BARE_LISTS, 3);
    } else {
        battle_art_search(&allowed, 1);
    }
    take_searched_art();
}

s32 battle_cmd_item() {
    static ListRow rows[50];
    s32 n = 0;
    for (s32 i = 0; i < PLAYER_ITEMS && n < 50; ++i) {
        const InventoryEntry& e = player_record.inventory[i];
        if (e.item == -1) break;
        if (item_in(e.item, 1250, 1299)) rows[n++] = {ITEM_NAME_TEXT + e.item, e.count, e.item, 0};
    }
    if (n == 0) return 0;
    ListScreen l{LIST_ITEM, rows, n};
    const s32 chosen = run_list(l, [](s32) {});
    if (chosen < 0) return 0;
    item_use(rows[chosen].a);
    return 1;
}

void battle_cmd_art() {
    static ListRow rows[LIST_MAX];
    s32 lists[3] = {-1, -1, -1};
    const s32 w = player_record.equip[0];
    const s32 weapon = w == -1 ? -1 : w + EQUIP_BASE[0];
    if (w == -1 && player_record.equip[2] == -1) {
        lists[0] = 2, lists[1] = 3, lists[2] = 4;
    } else if (item_in(weapon, 1400, 1429)) {
        lists[0] = 5;
    } else if (item_in(weapon, 1430, 1450)) {
        lists[0] = 6;
    } else if (item_in(weapon, 1451, 1459)) {
        lists[0] = 1;
    } else if (item_in(weapon, 1460, 1469)) {
        lists[0] = 7;
    } else if (player_record.equip[2] != -1) {
        lists[0] = 8;
    }
    s32 n = 0;
    for (const s32 list : lists) {
        if (list < 0) continue;
        for (s32 entry = 0; entry < KNOWN_SLOTS && n < LIST_MAX; ++entry) {
            const KnownEntry& k = player_record.known[list][entry];
            if (k.id < ART_FIRST_ID || k.id >= ART_FIRST_ID + ART_LIST_SIZE) continue;
            rows[n++] = {art_name_text(art_index(list, k.id)), k.level, list, entry};
        }
    }
    ListScreen l{LIST_ART, rows, n};
    const s32 chosen = run_list(l, [](s32 hovered) {
        battle_hp_panel(player_record.hp, 1);
        s32 shown = player_record.mp;
        if (hovered >= 0) {
            const KnownEntry& k = player_record.known[rows[hovered].a][rows[hovered].b];
            shown -= art_use_cost(arts_table[art_index(rows[hovered].a, k.id)], k.level);
            if (shown < 0) shown = 0;
        }
        battle_mp_panel(shown, 1);
    });
    if (chosen < 0) return;
    art_list = rows[chosen].a;
    art_entry = rows[chosen].b;
    take_searched_art();
}

void battle_player_turn() {
    battle_reaction = -1;
    if (battle_slots[0].character == -1) return;
    if (player_record.equip[0] == AUTO_WEAPON) {
        battle_ai_turn(0);
        return;
    }
    if (battle_slots[0].stunned > 0) {
        battle_slots[0].stunned -= 1;
        return;
    }
    move_allowance = battle_turn_allowance(0);
    double_strike = 0;
    for (s32 entry = 0; entry < KNOWN_SLOTS; ++entry)
        if (player_record.known[TECHNIQUES][entry].id == TECHNIQUE_DOUBLE)
            double_strike = TECHNIQUE_DOUBLE;

    s32 result = -1;
    for (;;) {
        battle_set_bar_offset();
        battle_draw_background(); // with the field overlay
        if (result == 1 || result == 2) {
            battle_dist_build(0, 1);
            battle_show_reach(result);
        }
        battle_sync_anim();
        battle_draw_pointer_cell();
        dim_stunned();
        anim_play();
        result = battle_command_bar();
        screen_save();
        battle_hp_panel(player_record.hp, 0);
        battle_mp_panel(player_record.mp, 0);
        battle_draw_hovered();
        screen_present();

        const s32 hp = player_record.hp, mp = player_record.mp;
        switch (result) {
        case 11:
            battle_cmd_move();
            break;
        case 12:
            if (battle_cmd_attack() == 1) return;
            break;
        case 13:
            battle_cmd_weapon();
            break;
        case 14:
            if (battle_cmd_item() == 1) {
                screen_restore();
                battle_item_flash(0);
                battle_gauge_anim(0, hp, mp);
                return;
            }
            break;
        case 15:
            battle_rest(0);
            return;
        case 16:
            battle_cmd_art();
            break;
        default:
            break;
        }
    }
}
