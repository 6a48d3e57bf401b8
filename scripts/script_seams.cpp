#include "scripts/script_seams.h"

#include "engine/math.h"
#include "game/save.h"
#include "game/shop.h"
#include "scripts/home/ranking.h"

void (*script_shop_buy_seam)(s32 shop) = shop_buy;
void (*script_shop_sell_seam)(s32 shop) = shop_sell;
void (*script_ranking_seam)() = show_ranking;
s32 (*script_save_seam)(s32 slot) = save_game;
s32 (*script_rand_seam)(s32 n) = rand_below;

s32 script_rand(s32 n) {
    return script_rand_seam(n);
}

void script_seams_reset() {
    script_shop_buy_seam = shop_buy;
    script_shop_sell_seam = shop_sell;
    script_ranking_seam = show_ranking;
    script_save_seam = save_game;
    script_rand_seam = rand_below;
}
