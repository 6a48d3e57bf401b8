// The companion visit: the choice of keeping company or giving a gift, the person chooser over the
// dashboard, the gift picker (the item page's grid) and the affection the visit brings.
#include "game/companion_visit.h"

#include "data/gifts.h"
#include "data/hub_block.h"
#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/labels.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "game/adjust.h"
#include "game/dashboard.h"
#include "game/hub_dialog.h"
#include "game/info_pages.h"
#include "game/inventory.h"
#include "game/player.h"

namespace {

// The visit's entry of the hub's outing bar.
constexpr s32 VISIT_MENU_LEVEL = 7, VISIT_MENU_BUTTON = 6;

constexpr s32 CAPTION_NAMED = 1;
constexpr s32 RIGHT_PORTRAIT = 175;

// The choose label's hover and click area.
constexpr s32 CHOOSE_X0 = 186, CHOOSE_Y0 = 240, CHOOSE_X1 = 213, CHOOSE_Y1 = 308;

bool in_choose_label(s32 x, s32 y) {
    return x >= CHOOSE_X0 && x <= CHOOSE_X1 && y >= CHOOSE_Y0 && y <= CHOOSE_Y1;
}

// The person chooser: the acquaintances one at a time, until the choose label is clicked. There
// is no way back; a person must be chosen.
s32 choose_person(s32 n) {
    s32 j = 0;
    for (;;) {
        hub_draw();
        draw_image(83, 103, 933, 0);
        draw_image(181, 121, 937, 0);
        draw_image(182, 236, 938, 0);
        info_person_draw(j, n);
        text_size(16);
        text_style(6);
        if (in_choose_label(pointer_x, pointer_y))
            text_colour(31, 31, 0);
        else
            text_colour(31, 31, 31);
        print_text_vertical_seen(192, 251, COMPANION_CHOOSE_TEXT);
        screen_present();
        if (mouse_buttons != 1) continue;
        mouse_buttons = 0;
        const s32 x = click_x, y = click_y;
        j = info_person_step(x, y, j, n);
        if (in_choose_label(x, y)) return player_record.acquaintances[j];
    }
}

bool inventory_has_items() {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item >= 0 && e.item < PLAYER_ITEMS) return true;
    return false;
}

void keep_company(s32 person) {
    affection_add(person, companion_company_gain(player_record.affection[person]));
}

// The gift picker over the dashboard: the item page's grid without its tab row, kind caption and
// right-click exit; any listed item can be given. One piece goes; the person's taste decides.
void give_gift(s32 person) {
    const s32 gift = info_item_grid({.page_frame = false,
                                     .kind_caption = false,
                                     .right_exit = false,
                                     .use_rule = false,
                                     .from_hub = 1});
    inv_remove(gift, 1);
    const s32 bonus = gift_affection_bonus(person, gift, player_record.affection[person]);
    if (bonus > 0) affection_add(person, bonus);
}

} // namespace

s32 companion_company_gain(s32 affection) {
    return affection < 60 ? 3 : affection < 70 ? 2 : 1;
}

void companion_visit_screen() {
    hub_block.hub_menu_avail[VISIT_MENU_LEVEL][VISIT_MENU_BUTTON] = 0;
    hub_block.scene_backdrop = COMPANION_BACKDROP;
    hub_say(CAPTION_NAMED, -1, RIGHT_PORTRAIT, 11387);
    const s32 c = hub_choose(0, 0, RIGHT_PORTRAIT, 11388, 11389, -1, -1);
    hub_say(CAPTION_NAMED, 0, RIGHT_PORTRAIT, 11390 + c);

    const s32 n = info_people_count();
    if (n == 0) {
        hub_say(CAPTION_NAMED, 0, RIGHT_PORTRAIT, 11393);
        return;
    }
    const s32 person = choose_person(n);
    if (c == 0) {
        keep_company(person);
    } else if (!inventory_has_items()) {
        hub_say(CAPTION_NAMED, 0, RIGHT_PORTRAIT, 11394);
        hub_say(0, 0, RIGHT_PORTRAIT, 11395);
        keep_company(person);
    } else {
        hub_say(CAPTION_NAMED, 0, RIGHT_PORTRAIT, 11392);
        give_gift(person);
    }
    text_colour(31, 31, 31);
    log_text_number(COMPANION_LOG_TEXT, player_record.affection[person]);
}
