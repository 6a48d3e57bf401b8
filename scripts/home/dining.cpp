#include "scripts/home/dining.h"

#include "data/shops.h"
#include "engine/dialog.h"
#include "engine/labels.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/growth.h"
#include "game/inventory.h"
#include "game/item_use.h"
#include "game/makers.h"
#include "game/player.h"
#include "scripts/cues.h"
#include "scripts/home/pose_families.h"
#include "scripts/script_seams.h"

// ---- Prices and payment ----------------------------------------------------------------------

s32 service_price(s32 shop, s32 option) {
    if (shop < 0 || shop >= SHOP_COUNT || option < 0 || option >= SERVICE_KINDS) return -1;
    return shop_stock[shop][option].price;
}

bool service_pay(s32 shop, s32 option) {
    const s32 price = service_price(shop, option);
    if (price < 0) {
        no_op();
        return false;
    }
    if (player_record.money <= price) return false;
    money_add(-price);
    return true;
}

namespace {

constexpr s32 PLAYER_PORTRAIT_ID = 1000;
constexpr s32 MASTER_PORTRAIT = 1163;

// The practice spot of map 12 and object 4, who serves it.
constexpr s32 SPOT = 165;
constexpr s32 TUTOR = 4;
constexpr TurnFrames TUTOR_FRAMES{-4052, 4052, -4072, 4072};
// The dining room of map 22.
constexpr s32 TABLE = 166;
constexpr s32 WAITER = 167;
constexpr TurnFrames WAITER_FRAMES{-4552, 4552, -4572, 4572};
// The food shop of map 21.
constexpr s32 KEEPER = 170;
constexpr TurnFrames KEEPER_FRAMES{31142, 31150, 31114, 31152};
constexpr s32 SERVED_TABLE = 177;
constexpr s32 SERVER = 178;
constexpr TurnFrames SERVER_FRAMES{-4722, 4702, -4722, 4722};

constexpr s32 SERVICE_FREE = 0;
constexpr s32 SERVICE_SEATED = 1;
// The waiter's and the server's stage.
constexpr s32 STAGE_NO_ORDER = 0, STAGE_SERVED = 1, STAGE_CLEARED = 2;

namespace choreographies {
using namespace cue;

constexpr ObjId PLAYER_OBJ{0};
constexpr ObjId TUTOR_OBJ{TUTOR};
constexpr ObjId WAITER_OBJ{WAITER};
constexpr ObjId TABLE_OBJ{TABLE};
constexpr ObjId DISH_A{168}, DISH_B{169}; // on the dining table, created off
constexpr ObjId COOK{22};
constexpr ObjId SERVER_OBJ{SERVER};
constexpr ObjId SERVED_TABLE_OBJ{SERVED_TABLE};
constexpr ObjId KEEPER_OBJ{KEEPER};
constexpr ObjId SERVING_A{179}, SERVING_B{180}; // on the served table, created off

// ---- The practice spot
constexpr Cue PRACTICE_DECLINED[] = {
    walk(0, mover(TUTOR_OBJ, 345, 335, 8)),
    show_frame(TUTOR_OBJ, 30400_f),
};
static_assert(cues_valid(PRACTICE_DECLINED));
constexpr Cue PRACTICE_SIT[] = {
    enter({.x = 395, .y = 233, .frame = 2000, .slot = 0, .on_top = true}),
    wait(800),
    show_frame(TUTOR_OBJ, 4052_f),
    bubble(TUTOR_OBJ, 20109_t),
};
static_assert(cues_valid(PRACTICE_SIT));
constexpr Cue PRACTICE_STAND[] = {
    leave({.x = 444, .y = 261, .frame = -424, .on_top = true}),
};
static_assert(cues_valid(PRACTICE_STAND));
// Object 4 shows the exercise: up the room and back in 300-ms steps.
constexpr Cue PRACTICE_EXERCISE[] = {
    cursor(2),
    bubble(TUTOR_OBJ, 20046_t),
    frames(TUTOR_OBJ, 31577_f, 31599_f, 2, 300),
    stride(TUTOR_OBJ, 348, 325, 2790_f, 3, -10, 2, 5, 300),
    frames(TUTOR_OBJ, 2800_f, 2810_f, 2, 300),
    stride(TUTOR_OBJ, 360, 285, 2824_f, -3, 10, 2, 4, 300),
    place_show(TUTOR_OBJ, 348, 325, 2826_f, 300),
    place_show(TUTOR_OBJ, 345, 335, 2828_f, 300),
    show_frame(TUTOR_OBJ, 30400_f),
};
static_assert(cues_valid(PRACTICE_EXERCISE));
constexpr Cue PRACTICE_FIRST[] = {frames(PLAYER_OBJ, 2000_f, 2009_f, 1, 100)};
static_assert(cues_valid(PRACTICE_FIRST));
// The tallies reached ten: the master's reward.
constexpr Cue PRACTICE_REWARD[] = {
    pairs(16229_t, 16233_t, box(3, 1163_img), box(0, 1000_img)),
};
static_assert(cues_valid(PRACTICE_REWARD));
// The player leaves the spot; object 4 steps away and back.
constexpr Cue PRACTICE_LEAVE[] = {
    show_frame(PLAYER_OBJ, 2000_f),
    cursor(2),
    stride(TUTOR_OBJ, 348, 325, 31643_f, 3, -10, 2, 5, 300),
    frames(TUTOR_OBJ, 31663_f, 31653_f, -2, 300),
    stride(TUTOR_OBJ, 360, 285, 31677_f, -3, 10, 2, 4, 300),
    place_show(TUTOR_OBJ, 348, 325, 31679_f, 300),
    place_show(TUTOR_OBJ, 345, 335, 31681_f, 300),
    show_frame(TUTOR_OBJ, 30400_f),
    leave({.x = 444, .y = 261, .frame = -424, .on_top = true}),
    stage(ObjId(SPOT), SERVICE_FREE),
    cursor(13),
};
static_assert(cues_valid(PRACTICE_LEAVE));

// ---- The dining room
constexpr Cue DINING_SIT[] = {
    bubble(WAITER_OBJ, 20104_t),
    enter({.x = 314, .y = 345, .frame = 31070, .slot = 0, .on_top = false}),
    attr(PLAYER_OBJ, ATTR_SHADOW, 0),
    attr(PLAYER_OBJ, ATTR_LAYER, 3),
    walk(0, mover(WAITER_OBJ, 270, 304, 8)),
    show_frame(WAITER_OBJ, 4572_f),
    show_frame(PLAYER_OBJ, 31090_f),
    wait(400),
    bubble(WAITER_OBJ, 20125_t),
};
static_assert(cues_valid(DINING_SIT));
constexpr Cue DINING_REFUSED[] = {
    walk(0, mover(WAITER_OBJ, 372, 280, 8)),
    show_frame(WAITER_OBJ, 31244_f),
    leave({.x = 314, .y = 292, .frame = 422, .on_top = true}),
};
static_assert(cues_valid(DINING_REFUSED));
// The order is taken: the waiter leaves the room and the table waits.
constexpr Cue ORDER_TAKEN[] = {
    cursor(2),
    bubble(WAITER_OBJ, 20046_t),
    show_frame(PLAYER_OBJ, 31070_f),
    walk(0, mover(WAITER_OBJ, 326, 275, 8)),
    walk(0, mover(WAITER_OBJ, 363, 223, 8)),
    walk(0, mover(WAITER_OBJ, 480, 305, 8)),
    attr(WAITER_OBJ, ATTR_LAYER, 0),
    clickable(TABLE_OBJ, false, 0),
    attr(WAITER_OBJ, ATTR_VAR_B, SERVING_COUNTDOWN),
};
static_assert(cues_valid(ORDER_TAKEN));
constexpr CueHook DISHES_SET[] = {hook_on(31106_f, DISH_A), hook_on(31110_f, DISH_B)};
constexpr Cue WAITER_SERVES[] = {
    cursor(2),
    attr(WAITER_OBJ, ATTR_LAYER, 3),
    show_frame(WAITER_OBJ, -4602_f),
    walk(0, mover(WAITER_OBJ, 363, 223, 8)),
    walk(0, mover(WAITER_OBJ, 326, 275, 8)),
    walk(0, mover(WAITER_OBJ, 384, 344, 8)),
    walk(0, mover(WAITER_OBJ, 318, 365, 8)),
    frames(WAITER_OBJ, 31100_f, 31110_f, 2, 400).with(DISHES_SET),
    bubble(WAITER_OBJ, 20047_t),
    show_frame(WAITER_OBJ, -4652_f),
    walk(0, mover(WAITER_OBJ, 384, 344, 8)),
    walk(0, mover(WAITER_OBJ, 372, 280, 8)),
    show_frame(WAITER_OBJ, 31244_f),
    show_frame(PLAYER_OBJ, 31070_f),
    frames(PLAYER_OBJ, 31070_f, 31082_f, 1, 200),
};
static_assert(cues_valid(WAITER_SERVES));
constexpr Cue DINING_SERVED[] = {
    attr(PLAYER_OBJ, ATTR_EVENT, POSE_SLOT_DINING),
    clickable(TABLE_OBJ, true, 10),
    stage(TABLE_OBJ, SERVICE_SEATED),
    stage(WAITER_OBJ, STAGE_SERVED),
    cursor(13),
};
static_assert(cues_valid(DINING_SERVED));
constexpr CueHook DISHES_CLEARED[] = {hook_off(31110_f, DISH_B), hook_off(31106_f, DISH_A)};
constexpr Cue DINING_CLEAR[] = {
    cursor(2),
    show_frame(PLAYER_OBJ, 31070_f),
    on(DISH_A),
    on(DISH_B),
    show_frame(WAITER_OBJ, -4672_f),
    walk(0, mover(WAITER_OBJ, 384, 344, 8)),
    walk(0, mover(WAITER_OBJ, 318, 365, 8)),
    frames(WAITER_OBJ, 31110_f, 31100_f, -2, 400).with(DISHES_CLEARED),
    show_frame(WAITER_OBJ, 4622_f),
    walk(0, mover(WAITER_OBJ, 384, 344, 8)),
    walk(0, mover(WAITER_OBJ, 326, 275, 8)),
    walk(0, mover(WAITER_OBJ, 363, 223, 8)),
    walk(0, mover(WAITER_OBJ, 480, 305, 8)),
    show_frame(WAITER_OBJ, 0_f),
    wait(100),
    show_frame(WAITER_OBJ, -4552_f),
    walk(0, mover(WAITER_OBJ, 363, 223, 8)),
    walk(0, mover(WAITER_OBJ, 326, 275, 8)),
    walk(0, mover(WAITER_OBJ, 372, 280, 8)),
    show_frame(WAITER_OBJ, 31244_f),
    leave({.x = 314, .y = 292, .frame = 422, .on_top = true}),
    stage(WAITER_OBJ, STAGE_CLEARED),
    stage(TABLE_OBJ, SERVICE_FREE),
    cursor(2),
};
static_assert(cues_valid(DINING_CLEAR));

// The first taste of each dish: the player's first line, the cook's animation, then the cook and
// the player in turn.
constexpr Voice EATER = box(1, 1000_img);
constexpr Voice COOK_BOX = box(2, 1147_img);
constexpr Cue TASTE_1[] = {say(1, 1000_img, 10620_t), frames(COOK, 2498_f, 2513_f, 1, 200),
                           pairs(10621_t, 10624_t, COOK_BOX, EATER)};
static_assert(cues_valid(TASTE_1));
constexpr Cue TASTE_2[] = {say(1, 1000_img, 10625_t), frames(COOK, 2498_f, 2513_f, 1, 200),
                           pairs(10626_t, 10628_t, COOK_BOX, EATER)};
static_assert(cues_valid(TASTE_2));
constexpr Cue TASTE_3[] = {say(1, 1000_img, 10629_t), frames(COOK, 2498_f, 2513_f, 1, 200),
                           pairs(10630_t, 10631_t, COOK_BOX, EATER)};
static_assert(cues_valid(TASTE_3));
constexpr Cue TASTE_4[] = {say(1, 1000_img, 10632_t), frames(COOK, 2498_f, 2513_f, 1, 200),
                           pairs(10633_t, 10634_t, COOK_BOX, EATER)};
static_assert(cues_valid(TASTE_4));
constexpr Cue TASTE_5[] = {say(1, 1000_img, 10635_t), frames(COOK, 2498_f, 2513_f, 1, 200),
                           pairs(10636_t, 10640_t, COOK_BOX, EATER)};
static_assert(cues_valid(TASTE_5));

// ---- The served table
constexpr Cue SERVED_SIT[] = {
    bubble(SERVER_OBJ, 20104_t),
    enter({.x = 207, .y = 313, .frame = 31514, .slot = 0, .on_top = false}),
    attr(PLAYER_OBJ, ATTR_SHADOW, 0),
    attr(PLAYER_OBJ, ATTR_LAYER, 3),
    walk(0, mover(SERVER_OBJ, 261, 322, 8)),
    show_frame(SERVER_OBJ, -4702_f),
    show_frame(PLAYER_OBJ, 31536_f),
    wait(400),
    bubble(SERVER_OBJ, 10820_t),
};
static_assert(cues_valid(SERVED_SIT));
constexpr Cue SERVER_LEAVES[] = {
    bubble(SERVER_OBJ, 20046_t),
    show_frame(PLAYER_OBJ, 31514_f),
    walk(0, mover(SERVER_OBJ, 356, 326, 8)),
    walk(0, mover(SERVER_OBJ, 480, 416, 8)),
    show_frame(SERVER_OBJ, 0_f),
    clickable(SERVED_TABLE_OBJ, false, 0),
    attr(KEEPER_OBJ, ATTR_CLICK, 0),
    attr(SERVER_OBJ, ATTR_VAR_B, SERVING_COUNTDOWN),
};
static_assert(cues_valid(SERVER_LEAVES));
// A further serving asked of the server at the table.
constexpr Cue SERVER_AGAIN[] = {
    bubble(SERVER_OBJ, 20046_t),
    show_frame(PLAYER_OBJ, 31514_f),
    walk(0, mover(SERVER_OBJ, 480, 416, 8)),
    show_frame(SERVER_OBJ, 0_f),
    clickable(SERVED_TABLE_OBJ, false, 0),
    attr(SERVER_OBJ, ATTR_VAR_B, SERVING_COUNTDOWN),
};
static_assert(cues_valid(SERVER_AGAIN));
constexpr CueHook SERVINGS_SET[] = {hook_on(31506_f, SERVING_A), hook_on(31510_f, SERVING_B)};
constexpr Cue SERVER_SERVES[] = {
    show_frame(SERVER_OBJ, -4752_f),
    walk(0, mover(SERVER_OBJ, 356, 326, 8)),
    walk(0, mover(SERVER_OBJ, 212, 333, 8)),
    frames(SERVER_OBJ, 31500_f, 31510_f, 2, 400).with(SERVINGS_SET),
    bubble(SERVER_OBJ, 20047_t),
    show_frame(SERVER_OBJ, 4822_f),
    walk(0, mover(SERVER_OBJ, 261, 322, 8)),
    walk(0, mover(SERVER_OBJ, 268, 263, 8)),
    show_frame(SERVER_OBJ, 31450_f),
    attr(PLAYER_OBJ, ATTR_EVENT, POSE_SLOT_SERVED),
    clickable(SERVED_TABLE_OBJ, true, 10),
    attr(KEEPER_OBJ, ATTR_CLICK, 1),
    stage(SERVED_TABLE_OBJ, SERVICE_SEATED),
    stage(SERVER_OBJ, STAGE_SERVED),
};
static_assert(cues_valid(SERVER_SERVES));
constexpr CueHook SERVINGS_CLEARED[] = {hook_off(31510_f, SERVING_B), hook_off(31506_f, SERVING_A)};
constexpr Cue SERVED_CLEAR[] = {
    show_frame(PLAYER_OBJ, 31514_f),
    on(SERVING_A),
    on(SERVING_B),
    show_frame(SERVER_OBJ, -4822_f),
    walk(0, mover(SERVER_OBJ, 261, 322, 8)),
    walk(0, mover(SERVER_OBJ, 212, 333, 8)),
    frames(SERVER_OBJ, 31510_f, 31500_f, -2, 400).with(SERVINGS_CLEARED),
    show_frame(SERVER_OBJ, 4772_f),
    walk(0, mover(SERVER_OBJ, 356, 326, 8)),
    walk(0, mover(SERVER_OBJ, 480, 416, 8)),
    show_frame(SERVER_OBJ, 0_f),
    wait(100),
    show_frame(SERVER_OBJ, -4702_f),
    walk(0, mover(SERVER_OBJ, 268, 263, 8)),
    show_frame(SERVER_OBJ, 31450_f),
    leave({.x = 263, .y = 316, .frame = 422, .on_top = true}),
    stage(SERVER_OBJ, STAGE_CLEARED),
    stage(SERVED_TABLE_OBJ, SERVICE_FREE),
};
static_assert(cues_valid(SERVED_CLEAR));
} // namespace choreographies
using namespace choreographies;

const std::span<const Cue> FIRST_TASTES[SERVICE_KINDS] = {TASTE_1, TASTE_2, TASTE_3, TASTE_4,
                                                          TASTE_5};

constexpr IdleCycle WAITER_IDLE{
    .rearm = SERVING_REARM, .start = 31244, .limit = 31316, .step = 2, .pause = 100};
constexpr IdleCycle KEEPER_IDLE{
    .rearm = 8, .start = 31114, .limit = 31148, .step = 2, .pause = 100};
constexpr IdleCycle SERVER_IDLE{
    .rearm = SERVING_REARM, .start = 31450, .limit = 31499, .step = 2, .pause = 100};

// ---- Common steps ----------------------------------------------------------------------------

// The menu of the five practice kinds or dishes, without a new colour set-up.
s32 choose_kind(s32 pos, s32 first_text) {
    return choose(pos, PLAYER_PORTRAIT_ID, first_text, first_text + 1, first_text + 2,
                  first_text + 3, first_text + 4);
}

// The countdown of a serving on the server's timer: true on the run that reaches 0.
bool serving_countdown(s32 self) {
    const s32 left = attr_get(self, ATTR_VAR_B);
    attr_set(self, ATTR_TIMER, SERVING_REARM);
    attr_set(self, ATTR_VAR_B, left - 1);
    return left - 1 == 0;
}

// ---- The practice spot -----------------------------------------------------------------------

void practice_paid(s32 option) {
    practice_run(option + 1);
    cursor_select(MENU_CURSOR);
}

void practice_spot_free(s32 self) {
    if (too_far_guard_point(365, 230, 100)) return;
    label_remove(0);
    const TalkTurn turn = turn_other_to_talk(TUTOR, TUTOR_FRAMES);
    say_at(TUTOR, 20106);
    const s32 c = menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20107, 20108);
    if (c == 1) {
        cues_run(PRACTICE_DECLINED);
        return;
    }
    if (c != 0) return no_op();
    cues_run(PRACTICE_SIT);
    const s32 kind = choose_kind(turn.pos, 10661);
    if (!service_pay(PRACTICE_SHOP, kind)) {
        say_at(TUTOR, 10736);
        cues_run(PRACTICE_STAND);
        return;
    }
    practice_run(kind + 1);
    attr_set(0, ATTR_EVENT, POSE_SLOT_PRACTICE);
    script_set_stage(self, SERVICE_SEATED);
    script_set_stage(TUTOR, 1);
    cursor_select(MENU_CURSOR);
}

void practice_spot_seated(s32 self) {
    obj_show_frame(0, 2000);
    const TalkTurn turn = face_player(TUTOR, TUTOR_FRAMES);
    say_at(TUTOR, 20111);
    switch (menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20112, 20113, 20114)) {
    case 0:
        obj_show_frame(TUTOR, 30400);
        break;
    case 1: {
        say_at(self, 10737);
        const s32 kind = choose_kind(turn.pos, 10661);
        if (service_pay(PRACTICE_SHOP, kind))
            practice_paid(kind);
        else
            say_at(TUTOR, 10736);
        break;
    }
    case 2:
        cues_run(PRACTICE_LEAVE);
        break;
    default:
        no_op();
    }
}

// ---- The dining room -------------------------------------------------------------------------

// The dish menu after 20125: a paid dish k is the table's order and the waiter leaves with it.
bool dining_order(s32 pos) {
    const s32 dish = choose_kind(pos, 10614);
    if (!service_pay(DINING_SHOP, dish)) {
        say_at(WAITER, 10642);
        return false;
    }
    attr_set(TABLE, ATTR_VAR_B, dish + 1);
    cues_run(ORDER_TAKEN);
    return true;
}

void dining_table_free() {
    if (too_far_guard_point(294, 322, 80)) return;
    const PlayerRecord& p = player_record;
    if (p.fullness > 2 * p.skill[GROWTH_APPETITE] || p.fullness >= 99) {
        say(3, PLAYER_PORTRAIT_ID, 10699);
        return;
    }
    label_remove(0);
    const TalkTurn turn = turn_other_to_talk(WAITER, WAITER_FRAMES);
    say_at(WAITER, 20120);
    const s32 c = menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20121, 20122);
    if (c == 1) {
        obj_show_frame(WAITER, 31244);
        return;
    }
    if (c != 0) return no_op();
    cues_run(DINING_SIT);
    if (!dining_order(turn.pos)) cues_run(DINING_REFUSED);
}

void dining_table_seated() {
    const TalkTurn turn = face_player(WAITER, WAITER_FRAMES);
    say_at(WAITER, 20127);
    const s32 c = menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20128, 20129);
    if (c == 0)
        obj_show_frame(WAITER, 31244);
    else if (c == 1)
        cues_run(DINING_CLEAR);
    else
        no_op();
}

// The dish is on the table: the player eats it, with the first-taste scene when the dish's tally
// is still 0.
void dish_eaten() {
    const s32 dish = attr_get(TABLE, ATTR_VAR_B);
    if (dish >= 1 && dish <= SERVICE_KINDS) {
        const s32 food = DISH_TALLY_BASE + dish;
        s32& tally = player_record.item_tally[food];
        if (tally == 0) {
            tally = 1;
            cues_run(FIRST_TASTES[dish - 1]);
            growth_pool(GROWTH_APPETITE) += 100;
            food_eat(food);
            if (dish == SERVICE_KINDS) {
                growth_pool(28) += 30;
                grow(28);
            }
        } else {
            food_eat(food);
        }
    }
    cues_run(DINING_SERVED);
}

void waiter_click(s32 self) {
    // While an order is on its way the waiter is out of the room (not drawn, yet still under the
    // pointer): a click there must not take a second order over the first one.
    if (attr_get(self, ATTR_VAR_B) > 0) return;
    const s32 kept = frame_keep(self);
    TalkTurn turn{2, mirror_position(2)};
    if (posed_in(POSE_SLOT_DINING))
        obj_show_frame(self, -4572);
    else
        turn = turn_to_talk(WAITER_FRAMES);
    switch (script_stage(self)) {
    case STAGE_NO_ORDER:
        say_at(self, 20123);
        break;
    case STAGE_SERVED:
        say_at(self, 20041);
        if (menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20130, 20131) == 0) {
            say_at(WAITER, 20125);
            if (!dining_order(turn.pos)) obj_show_frame(WAITER, 31244);
        }
        break;
    case STAGE_CLEARED:
        say_at(self, 20103);
        break;
    default:
        no_op();
    }
    if (attr_get(self, ATTR_VAR_B) == 0) frame_restore(self, kept);
}

void waiter_timer(s32 self) {
    if (attr_get(self, ATTR_VAR_B) <= 0) {
        idle_cycle(WAITER_IDLE);
        return;
    }
    if (!serving_countdown(self)) return;
    cues_run(WAITER_SERVES);
    dish_eaten();
}

// ---- The food shop ---------------------------------------------------------------------------

void keeper_click(s32 self) {
    if (posed_in(POSE_SLOT_SERVED)) {
        obj_show_frame(self, 31114);
        say_at(self, 20331);
        return;
    }
    const s32 kept = frame_keep(self);
    const TalkTurn turn = turn_to_talk(KEEPER_FRAMES);
    if (script_stage(self) == 0) {
        say_at(self, 20179);
        switch (choose(turn.pos, PLAYER_PORTRAIT_ID, 10500, 10501, 10502)) {
        case 0:
            face_player(SERVER, SERVER_FRAMES);
            say_at(SERVER, 20180);
            obj_set_frame(SERVER, 31450);
            break;
        case 1:
            modal_shop_buy(DINING_SHOP);
            break;
        case 2:
            modal_shop_sell(DINING_SHOP);
            break;
        default:
            no_op();
        }
    }
    frame_restore(self, kept);
}

void served_table_free() {
    if (too_far_guard_point(181, 289, 80)) return;
    const TalkTurn turn = turn_other_to_talk(SERVER, SERVER_FRAMES);
    say_at(SERVER, 20120);
    const s32 c = menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20121, 20122);
    if (c == 1) {
        obj_show_frame(SERVER, 31450);
        return;
    }
    if (c != 0) return no_op();
    cues_run(SERVED_SIT);
    say(turn.pos, PLAYER_PORTRAIT_ID, 20126);
    cues_run(SERVER_LEAVES);
}

void served_table_seated() {
    const TalkTurn turn = face_player(SERVER, SERVER_FRAMES);
    say_at(SERVER, 20127);
    const s32 c = menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20128, 20129);
    if (c == 0)
        obj_show_frame(SERVER, 31450);
    else if (c == 1)
        cues_run(SERVED_CLEAR);
    else
        no_op();
}

void server_click(s32 self) {
    const s32 kept = frame_keep(self);
    TalkTurn turn{2, mirror_position(2)};
    if (posed_in(POSE_SLOT_SERVED))
        obj_show_frame(self, -4722);
    else
        turn = turn_to_talk(SERVER_FRAMES);
    switch (script_stage(self)) {
    case STAGE_NO_ORDER:
        say_at(self, 20123);
        break;
    case STAGE_SERVED:
        say_at(self, 20041);
        if (menu_choice(turn.pos, PLAYER_PORTRAIT_ID, 20130, 20131) == 0) cues_run(SERVER_AGAIN);
        break;
    case STAGE_CLEARED:
        say_at(self, 20103);
        break;
    default:
        no_op();
    }
    // Gone for a serving, the server stays invisible (frame 0) until it comes back.
    if (attr_get(self, ATTR_VAR_B) == 0) frame_restore(self, kept);
}

void server_timer(s32 self) {
    if (attr_get(self, ATTR_VAR_B) <= 0) {
        idle_cycle(SERVER_IDLE);
        return;
    }
    if (serving_countdown(self)) cues_run(SERVER_SERVES);
}

} // namespace

// ---- The practice ----------------------------------------------------------------------------

void practice_run(s32 kind) {
    if (kind < 1 || kind > SERVICE_KINDS) return no_op();
    cues_run(PRACTICE_EXERCISE);
    PlayerRecord& p = player_record;
    s32& tally = p.item_tally[PRACTICE_TALLY_BASE + kind];
    if (tally == 0) {
        tally = 1;
        cues_run(PRACTICE_FIRST);
        say(0, PLAYER_PORTRAIT_ID, 10666 + 2 * kind);
        say(3, MASTER_PORTRAIT, 10667 + 2 * kind);
        growth_pool(PRACTICE_GROWTH) += 200;
        grow(PRACTICE_GROWTH);
    } else if (world_state.year == 1 && world_state.month == 9) {
        if (tally < PRACTICE_TALLY_BOUND) tally += 1;
        s32 sum = 0;
        for (s32 k = 1; k <= SERVICE_KINDS; k++) sum += p.item_tally[PRACTICE_TALLY_BASE + k];
        if (sum == PRACTICE_REWARD_SUM) {
            cues_run(PRACTICE_REWARD);
            inv_add(PRACTICE_REWARD_ITEM, 1);
        }
    }
    p.fullness -= 10 + script_rand(10);
    if (p.fullness < 0) p.fullness = 0;
    if (p.skill[PRACTICE_GROWTH] >= p.stamina / 10) {
        stamina_add(150);
        hp_add(100);
        mp_add(100);
    }
    if (tally < 10) {
        growth_pool(PRACTICE_GROWTH) += 20 + script_rand(20);
        grow(PRACTICE_GROWTH);
    }
}

// ---- Frames ---------------------------------------------------------------------------------

void dining_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const std::span<const Cue> scenes[] = {
        PRACTICE_DECLINED, PRACTICE_SIT, PRACTICE_STAND, PRACTICE_EXERCISE, PRACTICE_FIRST,
        PRACTICE_LEAVE,    DINING_SIT,   DINING_REFUSED, ORDER_TAKEN,       WAITER_SERVES,
        DINING_SERVED,     DINING_CLEAR, TASTE_1,        TASTE_2,           TASTE_3,
        TASTE_4,           TASTE_5,      SERVED_SIT,     SERVER_LEAVES,     SERVER_AGAIN,
        SERVER_SERVES,     SERVED_CLEAR,
    };
    struct Ctx {
        void (*visit)(s32, void*);
        void* ctx;
    } shown{visit, ctx};
    const auto skip_empty = [](s32 frame, void* c) {
        const Ctx& s = *static_cast<const Ctx*>(c);
        if (frame != 0) s.visit(frame, s.ctx);
    };
    for (const std::span<const Cue> scene : scenes) cues_frames(scene, skip_empty, &shown);
    for (const TurnFrames& f : {TUTOR_FRAMES, WAITER_FRAMES, KEEPER_FRAMES, SERVER_FRAMES})
        for (const s32 frame : {f.f0, f.f1, f.f2, f.f3}) visit(frame, ctx);
    for (const IdleCycle& c : {WAITER_IDLE, KEEPER_IDLE, SERVER_IDLE})
        for (s32 frame = c.start; frame <= c.limit; frame += c.step) visit(frame, ctx);
    for (const s32 frame : {30400, 31114, -4572, -4722}) visit(frame, ctx);
}

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0073() {
    if (!script_on(TRIG_CLICK)) return;
    mouse_buttons = 0;
    const s32 self = script_self();
    const s32 kept = frame_keep(TUTOR);
    if (script_stage(self) == SERVICE_FREE)
        practice_spot_free(self);
    else if (script_stage(self) == SERVICE_SEATED)
        practice_spot_seated(self);
    else
        no_op();
    obj_show_frame(TUTOR, kept);
}

void object_event_0075() {
    if (!script_on(TRIG_CLICK)) return;
    mouse_buttons = 0;
    const s32 stage = script_stage(script_self());
    if (stage == SERVICE_FREE)
        dining_table_free();
    else if (stage == SERVICE_SEATED)
        dining_table_seated();
    else
        no_op();
}

void object_event_0077() {
    if (script_on(TRIG_CLICK)) waiter_click(script_self());
    if (script_on(TRIG_TIMER)) waiter_timer(script_self());
}

void object_event_0078() {
    if (script_on(TRIG_TIMER)) idle_cycle(KEEPER_IDLE);
    if (script_on(TRIG_CLICK)) keeper_click(script_self());
}

void object_event_0085() {
    if (!script_on(TRIG_CLICK)) return;
    mouse_buttons = 0;
    const s32 stage = script_stage(script_self());
    if (stage == SERVICE_FREE)
        served_table_free();
    else if (stage == SERVICE_SEATED)
        served_table_seated();
    else
        no_op();
}

void object_event_0087() {
    if (script_on(TRIG_CLICK)) server_click(script_self());
    if (script_on(TRIG_TIMER)) server_timer(script_self());
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {73, object_event_0073}, {75, object_event_0075}, {77, object_event_0077},
    {78, object_event_0078}, {85, object_event_0085}, {87, object_event_0087},
};
static_assert(slots_distinct(SLOTS));

// Slots 74, 76 and 86 are the pose loops of the seated player (the pose family).
constexpr SlotRange COMPLETE[] = {{73, 73}, {75, 75}, {77, 78}, {85, 85}, {87, 87}};
} // namespace

std::span<const ScriptSlot> home_dining_slots() {
    return SLOTS;
}

ScriptRegion home_dining_region() {
    return {.owner = HOME_DINING_OWNER, .slots = home_dining_slots, .complete = COMPLETE};
}
