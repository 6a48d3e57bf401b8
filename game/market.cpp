// The market visit and the market's stall list.
#include "game/market.h"

#include "data/hub_block.h"
#include "data/items.h"
#include "data/shops.h"
#include "engine/math.h"
#include "game/hub_dialog.h"
#include "game/player.h"
#include "game/shop.h"
#include "game/titles.h"

const s32 MARKET_WANTED[MARKET_WANTED_COUNT] = {1062, 2000, 2002, 2106, 2107, 2103, 1155,
                                                2068, 2069, 2215, 950,  951,  1904, 1906};

namespace {

ShopSlot* stall() {
    return shop_stock[SHOP_MARKET];
}

// The market's base id is 0, so a slot's offset is the item itself.
void offer(s32 slot, s32 item, s32 stock) {
    stall()[slot] = {item, 2 * item_entry(item).value, stock};
}

void stall_clear() {
    for (s32 s = 0; s < SHOP_SLOTS; ++s) stall()[s] = {-1, 0, 0};
}

// The menu entries of the hub's outing bar: row 7, the market at button 5.
constexpr s32 MENU_OUTINGS = 7, MENU_MARKET = 5;

} // namespace

void market_fill_wanted() {
    stall_clear();

    // Five different medicines; 1204 is never offered and 1205 is drawn twice as often.
    bool taken[MARKET_MEDICINE_KINDS] = {};
    for (s32 slot = 0; slot < MARKET_MEDICINE_SLOTS; ++slot) {
        s32 r;
        do {
            r = rand_below(MARKET_MEDICINE_KINDS);
            if (r == MARKET_MEDICINE_SKIPPED - MARKET_MEDICINE_FIRST) ++r;
        } while (taken[r]);
        taken[r] = true;
        offer(slot, MARKET_MEDICINE_FIRST + r, rand_below(100));
    }

    offer(5, 2200, 999);

    const s32 a = rand_below(50);
    if (a < 4) {
        static const s32 rare[4] = {1572, 1573, 1575, 1576};
        offer(6, rare[a], 3);
    } else if (a < 10) {
        offer(6, 1571, 30);
    } else {
        offer(6, 1570, 10);
    }

    if (rand_below(5) == 1)
        offer(7, 2241, 5);
    else
        offer(7, 2240, 30);

    switch (rand_below(4)) {
    case 0: {
        s32 item = 2210 + rand_below(7);
        if (item == 2215) item = 2214; // 2215 is one of the wanted goods
        offer(8, item, 1);
        break;
    }
    case 1:
        offer(8, 2220, 1);
        break;
    case 2:
        offer(8, 2230 + rand_below(3), 1);
        break;
    default:
        offer(8, 2250, 1);
        break;
    }

    switch (rand_below(3)) {
    case 0:
        offer(9, 2050 + rand_below(15), 2);
        break;
    case 1:
        offer(9, 1950 + rand_below(17), 1);
        break;
    default: {
        const s32 item = 1550 + rand_below(7);
        offer(9, item, item == 1556 ? 1 : 30);
        break;
    }
    }

    const s32 w = rand_below(MARKET_WANTED_COUNT);
    const s32 chance = rand_below(10);
    const s32 wanted = MARKET_WANTED[w];
    if (chance < 3 && player_record.item_tally[wanted] == 0) offer(MARKET_WANTED_SLOT, wanted, 1);
}

void market_visit() {
    hub_block.hub_menu_avail[MENU_OUTINGS][MENU_MARKET] = 0;
    hub_block.scene_backdrop = MARKET_BACKDROP;
    hub_say(1, -1, MARKET_PORTRAIT, TEXT_MARKET_GREETING);
    const s32 c = hub_choose(0, 0, MARKET_PORTRAIT, TEXT_MARKET_BUY, TEXT_MARKET_SELL, -1, -1);
    if (c == 0) {
        market_fill_wanted();
        shop_buy(SHOP_MARKET);
    } else if (c == 1) {
        stall_clear();
        shop_sell(SHOP_MARKET);
    }
    title_award_check(MARKET_TITLE_KIND);
}
