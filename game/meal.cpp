// The meal screen.
#include "game/meal.h"

#include "engine/image.h"
#include "engine/kanji_print.h"
#include "engine/screen.h"
#include "engine/shell.h"
#include "engine/text.h"
#include "game/adjust.h"
#include "game/dashboard.h"
#include "game/growth.h"
#include "game/hub_dialog.h"
#include "game/item_use.h"
#include "game/player.h"

s32 meal_passes = 0;

namespace {

constexpr s32 OVERFED_MARGIN = 40;
constexpr s32 OVERFED_STAMINA = -100;
constexpr s32 SICK_CONDITION = 5;

s32 label_x(s32 k) {
    return MEAL_LABEL_X + MEAL_LABEL_DX * (k % MEAL_LABEL_COLUMNS);
}
s32 label_y(s32 k) {
    return MEAL_LABEL_Y + MEAL_LABEL_DY * (k / MEAL_LABEL_COLUMNS);
}

// The dish whose label holds the point, or -1.
s32 dish_at(s32 x, s32 y) {
    for (s32 k = 0; k < MEAL_DISHES; ++k) {
        const s32 lx = label_x(k), ly = label_y(k);
        if (x >= lx && x <= lx + MEAL_LABEL_W && y >= ly && y <= ly + MEAL_LABEL_H) return k;
    }
    return -1;
}

} // namespace

MealComment meal_comment() {
    PlayerRecord& p = player_record;
    const s32 f = p.fullness, a = p.skill[GROWTH_APPETITE];
    if (f - OVERFED_MARGIN > a) {
        // Stuffed: a content protagonist cheers up at the cost of some stamina; a miserable one
        // says nothing at all.
        if (p.mood >= MOOD_WORST) return {0, 0};
        mood_add(1);
        stamina_add(OVERFED_STAMINA);
        return {TEXT_MEAL_DONE, TEXT_MEAL_OVERFED};
    }
    if (f <= a && p.mood > 1 && p.condition < SICK_CONDITION) {
        mood_add(-1);
        return {TEXT_MEAL_DONE, TEXT_MEAL_STILL_HUNGRY};
    }
    return {TEXT_MEAL_DONE, 0};
}

void meal_screen() {
    meal_passes = 0;
    s32 dish = -1;
    while (dish < 0) {
        ++meal_passes;
        const u32 buttons = mouse_buttons;
        const s32 cx = click_x, cy = click_y, px = pointer_x, py = pointer_y;
        hub_draw();
        draw_image(MEAL_PORTRAIT_X, MEAL_PORTRAIT_Y, MEAL_PORTRAIT, 0);
        draw_image(MEAL_CAPTION_X, MEAL_CAPTION_Y, MEAL_CAPTION, 0);
        print_text_seen(HUB_TEXT_X, HUB_TEXT_Y, TEXT_MEAL_PROMPT);
        text_size(16);
        text_style(1);
        const s32 hovered = dish_at(px, py);
        for (s32 k = 0; k < MEAL_DISHES; ++k) {
            if (k == hovered)
                text_colour(31, 5, 0);
            else
                text_colour(31, 31, 31);
            print_text_seen(label_x(k), label_y(k), TEXT_ITEM_NAME + MEAL_FIRST_DISH + k);
        }
        screen_present();
        if (buttons == 1) {
            mouse_buttons = 0;
            dish = dish_at(cx, cy);
        }
    }
    food_eat(MEAL_FIRST_DISH + dish);
    const MealComment c = meal_comment();
    hub_say_lines(c.first, c.second, 0, 0);
}
