#include "scripts/towns/shops_and_delivery.h"

#include "engine/dialog.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/adjust.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/cells.h"
#include "scripts/quiz.h"
#include "scripts/routes.h"
#include "scripts/script_seams.h"

#include <array>
#include <iterator>

namespace {

constexpr s32 PLAYER_FACE = 1000;
constexpr s32 NO_TEXT = -1;
constexpr s32 OPTIONS_MAX = 6;

// ---- The keeper row --------------------------------------------------------------------------

enum KeeperAct : s32 {
    ACT_NONE = 0, // the keeper is left
    ACT_SELL,     // the player sells to the shop
    ACT_BUY,      // the player buys from the shop
    ACT_SAY,      // the keeper says a line
};
struct MenuOption {
    s32 text = NO_TEXT; // NO_TEXT: an absent option
    s32 act = ACT_NONE;
    s32 line = 0; // ACT_SAY
};
enum GreetWhen : s32 {
    GREET_NONE = 0,
    GREET_ALWAYS,      // before the stage switch, in every stage
    GREET_MENU_STAGES, // only in stages 0 and 60
};

struct KeeperRow;
// A keeper's own stages: returns true when it handled the stage (then stages 0 and 60 are not
// run by the row).
using OwnStages = bool (*)(const KeeperRow& row, s32 self, s32 pos);

struct KeeperRow {
    s32 slot = 0;
    s32 obj = 0;
    s32 shop = 0;
    s32 far = 0; // 0: no distance guard
    bool idle_on = true;
    IdleCycle idle{};
    bool turns = true; // false: no turn and no frame kept
    TurnFrames turn{};
    s32 greet_when = GREET_ALWAYS;
    s32 greeting = 0;
    s32 greet_position = -1; // -1: a bubble of the keeper; else a box with greet_portrait
    s32 greet_portrait = PLAYER_FACE;
    s32 menu_position = -1; // -1: the turn's position
    bool highlight = false; // the menu idiom (highlight colours, cursor 13)
    std::array<MenuOption, 4> menu{};
    s32 errand_text = NO_TEXT; // the errand option of stage 60
    s32 errand_index = -1;
    s32 wants = 0; // the errand's wanted goods (0: none)
    OwnStages own = nullptr;
};

constexpr MenuOption sell(s32 text) {
    return {text, ACT_SELL, 0};
}
constexpr MenuOption buy(s32 text) {
    return {text, ACT_BUY, 0};
}
constexpr MenuOption leave(s32 text) {
    return {text, ACT_NONE, 0};
}
constexpr MenuOption absent() {
    return {};
}

constexpr IdleCycle cycle(s32 rearm, s32 start, s32 limit, s32 step, s32 pause) {
    IdleCycle c;
    c.rearm = rearm;
    c.start = start;
    c.limit = limit;
    c.step = step;
    c.pause = pause;
    return c;
}
// A cycle with a remark floated over the keeper at one frame (the keeper's map only).
constexpr IdleCycle remarked(IdleCycle c, s32 frame, s32 text, s32 dx, s32 dy) {
    c.remark_frame = frame;
    c.remark_text = text;
    c.remark_dx = dx;
    c.remark_dy = dy;
    c.remark_ms = 2000;
    return c;
}

// The menu of a row, with the errand option at its index when `errand`.
s32 keeper_choose(const KeeperRow& row, s32 pos, bool errand) {
    std::array<s32, OPTIONS_MAX> t{NO_TEXT, NO_TEXT, NO_TEXT, NO_TEXT, NO_TEXT, NO_TEXT};
    for (size_t k = 0; k < row.menu.size(); ++k) t[k] = row.menu[k].text;
    if (errand && row.errand_index >= 0 && row.errand_index < OPTIONS_MAX)
        t[size_t(row.errand_index)] = row.errand_text;
    const s32 at = row.menu_position >= 0 ? row.menu_position : pos;
    if (row.highlight) return menu_choice(at, PLAYER_FACE, t[0], t[1], t[2], t[3], t[4], t[5]);
    return choose(at, PLAYER_FACE, t[0], t[1], t[2], t[3], t[4], t[5]);
}

void keeper_act(const KeeperRow& row, s32 self, s32 k) {
    if (k < 0 || k >= s32(row.menu.size())) return;
    const MenuOption& o = row.menu[size_t(k)];
    if (o.text < 0) return;
    switch (o.act) {
    case ACT_SELL:
        modal_shop_sell(row.shop);
        break;
    case ACT_BUY:
        modal_shop_buy(row.shop);
        break;
    case ACT_SAY:
        say_at(self, o.line);
        break;
    default:
        break;
    }
}

// The menu and its action; at stage 60 the errand option runs the delivery.
void keeper_menu(const KeeperRow& row, s32 self, s32 pos, bool errand) {
    const s32 k = keeper_choose(row, pos, errand);
    if (errand && k == row.errand_index) {
        errand_delivery(self, pos);
        return;
    }
    keeper_act(row, self, k);
}

void keeper_greet(const KeeperRow& row, s32 self) {
    if (row.greeting <= 0) return;
    if (row.greet_position >= 0)
        say(row.greet_position, row.greet_portrait, row.greeting);
    else
        say_at(self, row.greeting);
}

void keeper_click(const KeeperRow& row) {
    if (row.far > 0 && too_far_guard(row.far)) return;
    const s32 self = script_self();
    const s32 frame = frame_keep(self);
    s32 pos = 3;
    if (row.turns) pos = turn_to_talk(row.turn).pos;
    if (row.greet_when == GREET_ALWAYS) keeper_greet(row, self);
    if (row.own == nullptr || !row.own(row, self, pos)) {
        const s32 stage = script_stage(self);
        if (stage == 0 || stage == ERRAND_STAGE) {
            if (row.greet_when == GREET_MENU_STAGES) keeper_greet(row, self);
            keeper_menu(row, self, pos, stage == ERRAND_STAGE);
        }
    }
    if (row.turns) frame_restore(self, frame);
}

void keeper_run(const KeeperRow& row) {
    if (script_on(TRIG_TIMER) && row.idle_on) idle_cycle(row.idle);
    if (script_on(TRIG_CLICK)) keeper_click(row);
}

// ---- Keepers' own stages ---------------------------------------------------------------------

// 1011, stage 1 (set by the item 2376 errand): the talk, then item 2363 for item 2376.
bool trade_2376(const KeeperRow&, s32 self, s32) {
    if (script_stage(self) != 1) return false;
    constexpr s32 LINES[] = {33626, 33627, 33628, 33629, 33631, 33632, 33633};
    for (size_t i = 0; i < std::size(LINES); ++i) {
        if (i % 2 == 0)
            say_at(self, LINES[i]);
        else
            say(0, PLAYER_FACE, LINES[i]);
    }
    script_set_stage(self, 0);
    inv_add(2363, 1);
    inv_remove(2376, 1);
    return true;
}

constexpr s32 OFFER_ITEM = 2321;
constexpr s32 OFFER_SKILL = 17;
constexpr s32 OFFER_SKILL_NEEDED = 70;

void offer_pay(s32 self, s32 price) {
    if (player_record.money >= price) {
        inv_add(OFFER_ITEM, 1);
        script_set_stage(self, 0);
        money_add(-price);
    } else {
        say_at(self, 34469);
    }
}

// 1012, stage 1 (set by the street scene): the offer of item 2321 to a skilled player.
bool offer_2321(const KeeperRow& row, s32 self, s32 pos) {
    if (script_stage(self) != 1) return false;
    if (choose(pos, PLAYER_FACE, 34441, 34442) != 0) return true;
    if (player_record.skill[OFFER_SKILL] < OFFER_SKILL_NEEDED) {
        modal_shop_sell(row.shop);
        return true;
    }
    say(pos, PLAYER_FACE, 34450);
    say_at(self, 34451);
    const s32 k = choose(pos, PLAYER_FACE, 34452, 34453);
    if (k == 0) {
        say_at(self, 34455);
        offer_pay(self, 200);
    } else if (k == 1) {
        say_at(self, 34456);
        const s32 j = choose(pos, PLAYER_FACE, 34457, 34458, 34459);
        if (j == 0) {
            say_at(self, 34460);
            offer_pay(self, 100);
        } else if (j == 1) {
            modal_shop_sell(row.shop);
        }
    }
    return true;
}

constexpr s32 SHOWN_BY_1019 = 2108;

// 1019, stage 1 (set by object 1115): the talk that shows object 2108.
bool talk_2108(const KeeperRow&, s32 self, s32) {
    if (script_stage(self) != 1) return false;
    for (s32 t = 27131; t <= 27143; t += 2) {
        say(3, PLAYER_FACE, t);
        say_at(self, t + 1);
    }
    say(3, PLAYER_FACE, 27145);
    script_set_stage(self, 0);
    attr_set(SHOWN_BY_1019, ATTR_ACTIVE, 1);
    return true;
}

// 1025: the errand in its hours, then the token trade.
constexpr s32 ERRAND_FROM_HOUR = 11;
constexpr s32 ERRAND_UNTIL_HOUR = 15; // exclusive

bool errand_keeper(const KeeperRow& row, s32 self, s32 pos) {
    const s32 stage = script_stage(self);
    if (stage == 0) {
        const s32 hour = world_state.hour;
        if (hour < ERRAND_FROM_HOUR || hour >= ERRAND_UNTIL_HOUR) {
            say_at(self, 25350);
            say_at(self, 25359);
            keeper_menu(row, self, pos, false);
            return true;
        }
        say_at(self, 25353);
        if (choose(pos, PLAYER_FACE, 25354, 25355) != 0) return true;
        say_at(self, 25356);
        if (choose(pos, PLAYER_FACE, 25357, 25358) != 0) return true;
        errand_accept();
        script_set_stage(self, 1);
    } else if (stage == 1) {
        say_at(self, 25359);
        const s32 k = choose(pos, PLAYER_FACE, 25351, 25352, 25360);
        if (k == 0) modal_shop_sell(row.shop);
        if (k == 2) errand_token_trade(self);
    } else if (stage == 2) {
        say_at(self, 25359);
        keeper_menu(row, self, pos, false);
    }
    return true;
}

// 1031: the item 2280 errand of object 1065.
constexpr s32 ERRAND_1065 = 1065;

bool item_2280(const KeeperRow& row, s32 self, s32 pos) {
    if (inv_has(2280) == 1 && script_stage(self) == 2) {
        inv_remove(2280, 1);
        script_set_stage(self, 3);
    }
    switch (script_stage(self)) {
    case 0:
    case 1:
        say_at(self, 25102);
        say_at(self, 33590);
        keeper_menu(row, self, pos, false);
        script_set_stage(self, 2);
        break;
    case 2:
    case 4:
        say_at(self, 33590);
        keeper_menu(row, self, pos, false);
        break;
    case 3:
        say(pos, PLAYER_FACE, 25103);
        say_at(self, 25104);
        inv_add(2295, 1);
        script_set_stage(self, 4);
        script_set_stage(ERRAND_1065, 1);
        break;
    case ERRAND_STAGE:
        say_at(self, 33590);
        keeper_menu(row, self, pos, true);
        break;
    default:
        break;
    }
    return true;
}

// 1029: the quiz, asked once in the morning; the questions in order, stopped at a wrong answer,
// whose line is 34680 + the question's index (0-4).
constexpr QuizQuestion QUIZ_1029[] = {
    {.bubbles = {34800, QUIZ_NONE}, .options = {34801, 34802, 34803, QUIZ_NONE}, .right = 1},
    {.bubbles = {34804, QUIZ_NONE}, .options = {34805, 34806, 34807, QUIZ_NONE}, .right = 2},
    {.bubbles = {34808, QUIZ_NONE}, .options = {34809, 34810, 34811, QUIZ_NONE}, .right = 0},
    {.bubbles = {34812, QUIZ_NONE}, .options = {34813, 34814, 34815, QUIZ_NONE}, .right = 1},
    {.bubbles = {34816, QUIZ_NONE}, .options = {34817, 34818, 34819, QUIZ_NONE}, .right = 0},
};
constexpr Quiz QUIZ_OF_1029{.questions = QUIZ_1029,
                            .portrait = PLAYER_FACE,
                            .highlight = false,
                            .right_line = QUIZ_NONE,
                            .wrong_base = 34680,
                            .wrong_player = 34831};
static_assert(quiz_valid(QUIZ_OF_1029));
constexpr s32 QUIZ_FROM_HOUR = 9;
constexpr s32 QUIZ_UNTIL_HOUR = 11; // exclusive
constexpr s32 QUIZ_PRIZE = 1058;

bool quiz_keeper(const KeeperRow& row, s32 self, s32 pos) {
    const s32 stage = script_stage(self);
    const bool quiz_hour = world_state.hour >= QUIZ_FROM_HOUR && world_state.hour < QUIZ_UNTIL_HOUR;
    if (stage == 0) {
        alternate_lines(34775, 34781, Voice{.obj = -1, .position = pos, .portrait = PLAYER_FACE},
                        Voice{.obj = self, .position = 0, .portrait = -1});
        script_set_stage(self, 2);
    } else if (stage == 2 && quiz_hour) {
        say_at(self, 34790);
        if (choose(pos, PLAYER_FACE, 34791, 34792) != 0) return true;
        script_set_stage(self, 3);
        if (quiz_run(QUIZ_OF_1029, self, pos) == s32(std::size(QUIZ_1029))) {
            say_at(self, 34795);
            say(pos, PLAYER_FACE, 34796);
            inv_add(QUIZ_PRIZE, 1);
        }
    } else if (stage == 2 || stage == 3) {
        say_at(self, 34782);
        keeper_menu(row, self, pos, false);
    }
    return true;
}

// 1029's walk on ATTR_VAR_B: to its sign, the sign shown, back to its counter.
void sign_step() {
    const s32 self = script_self();
    attr_set(self, ATTR_TIMER, 12);
    const s32 frame = obj_get_frame(self) + 2;
    if (frame > 32028) {
        obj_set_frame(self, 4852);
        attr_set(self, ATTR_VAR_B, 2);
    } else {
        obj_set_frame(self, frame);
    }
}

namespace walk {
using namespace route;
constexpr RouteStep STEPS[] = {
    go(0, 230, 362, say_remark(34750_t, -42, -120, 1000), at_frame(32010_f)).speed(13),
    custom(1, sign_step),
    go(2, 330, 286, at_frame(4852_f), then_stage(0))
        .speed(13)
        .before(say_remark(34751_t, -40, -120, 1000)),
};
constexpr RouteWindow WINDOWS[] = {always(STEPS)};
constexpr Route ROUTE{.interval = 10, .speed = 13, .stage_var = STAGE_VAR_B, .windows = WINDOWS};
} // namespace walk

// ---- The rows --------------------------------------------------------------------------------

// clang-format off
constexpr KeeperRow KEEPERS[] = {
    // Town A: no errand, no other stage.
    {.slot = 855, .obj = 454, .shop = 35, .far = 100, .idle = cycle(10, 37240, 37292, 2, 10),
     .turn = {37288, 37288, 37290, 37292}, .greeting = 25952, .menu_position = 3,
     .menu = {sell(25953), leave(25954)}},
    {.slot = 859, .obj = 458, .shop = 27, .idle = cycle(10, -31700, -31760, -2, 10),
     .turn = {31766, 31768, 31764, 31762}, .greeting = 10118,
     .menu = {sell(10120), buy(10121), leave(10122)}},
    {.slot = 865, .obj = 464, .shop = 28, .idle = cycle(8, 31024, 31065, 2, 100),
     .turn = {31066, 31066, 31066, 31066}, .greeting = 10154, .highlight = true,
     .menu = {buy(10155), sell(10156), {10157, ACT_SAY, 10265}}},
    {.slot = 888, .obj = 508, .shop = 30, .idle_on = false, .turns = false, .greeting = 25955,
     .greet_position = 2, .greet_portrait = 1201, .menu_position = 3,
     .menu = {sell(25956), buy(25957), leave(25958)}},
    // The city.
    {.slot = 608, .obj = 1011, .shop = 20, .far = 300,
     .idle = remarked(cycle(10, 43140, 43184, 2, 10), 43160, 33350, -40, -113),
     .turn = {43184, 43188, 43190, 43186}, .greet_when = GREET_MENU_STAGES, .greeting = 34870,
     .menu = {sell(34871), buy(34872), absent(), leave(34873)},
     .errand_text = 25362, .errand_index = 4, .wants = 2061, .own = trade_2376},
    {.slot = 609, .obj = 1012, .shop = 25, .far = 100,
     .idle = remarked(cycle(10, 41800, 41824, 2, 10), 41816, 34880, -80, -113),
     .turn = {41826, -41826, 41824, -41824}, .greeting = 33360,
     .menu = {sell(33361), leave(33362)},
     .errand_text = 25361, .errand_index = 2, .wants = 2063, .own = offer_2321},
    {.slot = 616, .obj = 1019, .shop = 14, .far = 300, .idle = cycle(10, 41320, 41382, 2, 20),
     .turn = {41388, 41386, 41382, 41384}, .greeting = 33610,
     .menu = {sell(35032), buy(35033), leave(35034)},
     .errand_text = 25362, .errand_index = 3, .own = talk_2108},
    {.slot = 617, .obj = 1020, .shop = 13, .far = 300, .idle = cycle(10, 41200, 41208, 1, 20),
     .turn = {41209, 41209, 41208, 41210}, .greet_when = GREET_MENU_STAGES, .greeting = 33630,
     .menu = {sell(35032), leave(35041)},
     .errand_text = 25361, .errand_index = 2, .wants = 2064},
    {.slot = 622, .obj = 1025, .shop = 16, .far = 300, .idle = cycle(8, 31114, 31148, 2, 100),
     .turn = {31142, 31150, 31114, 31152}, .greet_when = GREET_NONE,
     .menu = {sell(25351), leave(25352)}, .own = errand_keeper},
    {.slot = 626, .obj = 1030, .shop = 19, .far = 300,
     .idle = remarked(cycle(20, 44400, 44414, 2, 70), 44408, 34850, -40, -113),
     .turn = {44400, 44400, 44400, 44400}, .greeting = 34851,
     .menu = {sell(34852), buy(34853), absent(), leave(34854)},
     .errand_text = 25362, .errand_index = 4},
    {.slot = 627, .obj = 1029, .shop = 22, .far = 300, .idle_on = false,
     .turn = {-4852, 4852, -4872, 4872}, .greet_when = GREET_NONE,
     .menu = {sell(35035), buy(35033), leave(35034)}, .own = quiz_keeper},
    {.slot = 628, .obj = 1031, .shop = 21, .far = 300, .idle = cycle(10, 44600, 44610, 1, 20),
     .turn = {44600, 44600, 44600, 44609}, .greet_when = GREET_NONE,
     .menu = {sell(35039), leave(35041)},
     .errand_text = 25361, .errand_index = 2, .own = item_2280},
    {.slot = 629, .obj = 1032, .shop = 18, .far = 300, .idle = cycle(25, 39400, 39454, 2, 50),
     .turn = {39400, 39454, 39456, 39458}, .greeting = 33600,
     .menu = {sell(35032), buy(35033), leave(35034)},
     .errand_text = 25362, .errand_index = 3, .wants = 2059},
    {.slot = 631, .obj = 1034, .shop = 26, .far = 300, .idle = cycle(10, 47150, 47174, 1, 20),
     .turn = {47174, 47174, 47174, 47174}, .greeting = 33550,
     .menu = {sell(35032), buy(35033), leave(35034)},
     .errand_text = 25362, .errand_index = 3},
    {.slot = 632, .obj = 1035, .shop = 15, .far = 150, .idle = cycle(10, 44680, 44687, 1, 20),
     .turn = {44680, 44680, 44680, 44680}, .greeting = 33570,
     .menu = {sell(35038), buy(35033), leave(35034)},
     .errand_text = 25362, .errand_index = 3},
    {.slot = 634, .obj = 1037, .shop = 24, .far = 200, .idle = cycle(30, -44872, -44882, -1, 50),
     .turn = {-44872, -44872, -44872, -44872}, .greeting = 33560,
     .menu = {sell(35035), leave(35041)},
     .errand_text = 25361, .errand_index = 2},
    {.slot = 635, .obj = 1038, .shop = 17, .far = 300, .idle = cycle(10, 44500, 44513, 1, 20),
     .turn = {44500, 44500, 44500, 44500}, .greeting = 33510,
     .menu = {sell(35040), buy(35033), leave(35034)},
     .errand_text = 25362, .errand_index = 3},
    {.slot = 646, .obj = 1057, .shop = 9, .far = 200,
     .idle = remarked(cycle(10, 44430, 44448, 2, 20), 44434, 10033, -64, -100),
     .turn = {44444, 44430, 44430, 44430}, .greeting = 33510,
     .menu = {sell(45026), leave(45027)},
     .errand_text = 25361, .errand_index = 2, .wants = 2058},
};
// clang-format on

// Every errand option follows the menu's options, and every keeper of the errand has one.
constexpr bool rows_valid() {
    for (const KeeperRow& r : KEEPERS) {
        if (r.errand_text < 0) continue;
        if (r.errand_index < 0 || r.errand_index >= OPTIONS_MAX) return false;
        for (size_t k = size_t(r.errand_index); k < r.menu.size(); ++k)
            if (r.menu[k].text >= 0) return false;
    }
    for (const s32 obj : ERRAND_KEEPERS) {
        if (obj == ERRAND_HOST) continue;
        bool found = false;
        for (const KeeperRow& r : KEEPERS)
            if (r.obj == obj && r.errand_text >= 0) found = true;
        if (!found) return false;
    }
    return true;
}
static_assert(rows_valid());

void run_keeper(const KeeperRow& row) {
    keeper_run(row);
}

bool errand_keeper_parked(s32 obj) {
    for (const s32 k : ERRAND_KEEPERS)
        if (k == obj) return true;
    return false;
}

s32 first_token_count() {
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == ERRAND_TOKEN) return e.count;
    return 0;
}

} // namespace

// ---- The errand ------------------------------------------------------------------------------

s32 errand_wanted(s32 obj) {
    if (obj == ERRAND_HOST) return ERRAND_HOST_WANTS;
    for (const KeeperRow& r : KEEPERS)
        if (r.obj == obj) return r.wants;
    return 0;
}

void errand_accept() {
    for (const s32 obj : ERRAND_KEEPERS) stage_park(obj, ERRAND_STAGE);
    for (s32 item = 2366; item <= 2371; ++item) inv_add(item, 1);
    if (attr_get(ERRAND_ZONE, ATTR_ACTIVE) == 1) {
        attr_set(ERRAND_ZONE, ATTR_VAR_B, 1);
        for (const s32 obj : {ERRAND_ZONE, ERRAND_WALKER_A, ERRAND_WALKER_B})
            attr_set(obj, ATTR_ACTIVE, 0);
    }
}

void errand_delivery(s32 keeper, s32 pos) {
    if (!script_obj_valid(keeper)) return;
    const s32 k = choose(pos, PLAYER_FACE, 25363, 25364, 25365, 25366, 25367, 25368);
    if (k < 0 || k >= s32(std::size(ERRAND_GOODS))) return;
    const s32 goods = ERRAND_GOODS[size_t(k)];
    if (inv_has(goods) != 1) {
        say(pos, PLAYER_FACE, 25373);
        return;
    }
    if (errand_keeper_parked(keeper) && goods == errand_wanted(keeper)) {
        say_at(keeper, 25369);
        inv_remove(goods, 1);
        inv_add(ERRAND_TOKEN, 1);
        stage_unpark(keeper);
        if (keeper == 1012 && attr_get(ERRAND_ZONE, ATTR_VAR_B) == 1)
            for (const s32 obj : {ERRAND_ZONE, ERRAND_WALKER_A, ERRAND_WALKER_B})
                attr_set(obj, ATTR_ACTIVE, 1);
        return;
    }
    say_at(keeper, 25370);
    inv_remove(goods, 1);
}

TokenPrize errand_token_prize(s32 n) {
    constexpr TokenPrize PRIZES[] = {{1254, 1}, {1250, 1}, {1258, 1},
                                     {2004, 1}, {2003, 1}, {1271, 3}};
    if (n < 1 || n > s32(std::size(PRIZES))) return {};
    return PRIZES[size_t(n - 1)];
}

void errand_token_trade(s32 keeper) {
    if (inv_has(ERRAND_TOKEN) != 1) {
        say_at(keeper, 25356);
        return;
    }
    say_at(keeper, 25374);
    const s32 n = first_token_count();
    const TokenPrize prize = errand_token_prize(n);
    if (prize.count == 0) return;
    inv_add(prize.item, prize.count);
    inv_remove(ERRAND_TOKEN, n);
}

// ---- Frames ----------------------------------------------------------------------------------

void shops_and_delivery_frames(void (*visit)(s32 frame, void* ctx), void* ctx) {
    const FrameVisit v{visit, ctx};
    for (const KeeperRow& r : KEEPERS) {
        if (r.idle_on) frames_of_cycle(v, r.idle);
        if (r.turns) frames_of_turn(v, r.turn);
    }
    // The walking keeper: its walking block and its sign.
    frames_of_cycle(v, cycle(1, 4850, 4899, 1, 0));
    frames_of_cycle(v, cycle(1, 32010, 32028, 2, 0));
}

// ---- Scripts ---------------------------------------------------------------------------------

void object_event_0855() {
    row_script<KEEPERS, run_keeper, 855>();
}
void object_event_0859() {
    row_script<KEEPERS, run_keeper, 859>();
}
void object_event_0865() {
    row_script<KEEPERS, run_keeper, 865>();
}
void object_event_0888() {
    row_script<KEEPERS, run_keeper, 888>();
}
void object_event_0608() {
    row_script<KEEPERS, run_keeper, 608>();
}
void object_event_0609() {
    row_script<KEEPERS, run_keeper, 609>();
}
void object_event_0616() {
    row_script<KEEPERS, run_keeper, 616>();
}
void object_event_0617() {
    row_script<KEEPERS, run_keeper, 617>();
}
void object_event_0622() {
    row_script<KEEPERS, run_keeper, 622>();
}
void object_event_0626() {
    row_script<KEEPERS, run_keeper, 626>();
}
void object_event_0627() {
    if (script_on(TRIG_TIMER)) route_run(walk::ROUTE);
    row_script<KEEPERS, run_keeper, 627>();
}
void object_event_0628() {
    row_script<KEEPERS, run_keeper, 628>();
}
void object_event_0629() {
    row_script<KEEPERS, run_keeper, 629>();
}
void object_event_0631() {
    row_script<KEEPERS, run_keeper, 631>();
}
void object_event_0632() {
    row_script<KEEPERS, run_keeper, 632>();
}
void object_event_0634() {
    row_script<KEEPERS, run_keeper, 634>();
}
void object_event_0635() {
    row_script<KEEPERS, run_keeper, 635>();
}
void object_event_0646() {
    row_script<KEEPERS, run_keeper, 646>();
}

// ---- Slots -----------------------------------------------------------------------------------

namespace {
constexpr ScriptSlot SLOTS[] = {
    {608, object_event_0608}, {609, object_event_0609}, {616, object_event_0616},
    {617, object_event_0617}, {622, object_event_0622}, {626, object_event_0626},
    {627, object_event_0627}, {628, object_event_0628}, {629, object_event_0629},
    {631, object_event_0631}, {632, object_event_0632}, {634, object_event_0634},
    {635, object_event_0635}, {646, object_event_0646}, {855, object_event_0855},
    {859, object_event_0859}, {865, object_event_0865}, {888, object_event_0888},
};
static_assert(slots_distinct(SLOTS));

// 680, the fishing host, is the contest's (its errand stage calls errand_delivery).
constexpr SlotRange COMPLETE[] = {{608, 609}, {616, 617}, {622, 622}, {626, 629},
                                  {631, 632}, {634, 635}, {646, 646}, {855, 855},
                                  {859, 859}, {865, 865}, {888, 888}};
} // namespace

std::span<const ScriptSlot> town_shops_slots() {
    return SLOTS;
}

ScriptRegion town_shops_region() {
    return {.owner = TOWN_SHOPS_OWNER, .slots = town_shops_slots, .complete = COMPLETE};
}
