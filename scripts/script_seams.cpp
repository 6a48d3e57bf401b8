#include "scripts/script_seams.h"

#include "calendar/timed_action_game.h"
#include "engine/math.h"
#include "game/pick_screens.h"
#include "game/save.h"
#include "game/shop.h"
#include "minigames/aim.h"
#include "minigames/aim_night.h"
#include "minigames/dice.h"
#include "minigames/falling_catch.h"
#include "minigames/hands.h"
#include "minigames/light_puzzle.h"
#include "minigames/tile_swap.h"
#include "minigames/tracks.h"
#include "scripts/home/map10_residents.h"
#include "scripts/home/ranking.h"

void (*script_shop_buy_seam)(s32 shop) = shop_buy;
void (*script_shop_sell_seam)(s32 shop) = shop_sell;
void (*script_ranking_seam)() = show_ranking;
s32 (*script_save_seam)(s32 slot) = save_game;
s32 (*script_rand_seam)(s32 n) = rand_below;

s32 (*game_tracks_seam)(s32 n) = game_tracks;
void (*game_dice_seam)(s32 mode, s32 stake) = game_dice;
s32 (*game_dice_high_seam)(s32 mode, s32 stake) = game_dice_high;
s32 (*game_dice_practice_seam)() = game_dice_practice;
s32 (*game_hands_seam)() = game_hands;
void (*game_aim_framed_seam)() = game_aim_framed;
s32 (*game_aim_target_seam)(s32, s32, s32, s32, s32, s32) = game_aim_target;
s32 (*game_tile_swap_seam)(s32 picture) = game_tile_swap;
s32 (*game_falling_catch_seam)() = game_falling_catch;
s32 (*game_light_puzzle_seam)() = game_light_puzzle;
s32 (*game_aim_night_seam)() = game_aim_night;
s32 (*timed_action_game_seam)(s32 level, s32 pace, s32 skill) = timed_action_game;
s32 (*art_practice_seam)(s32 n) = art_practice;
void (*companion_leave_scene_seam)() = companion_leave_scene;

s32 script_rand(s32 n) {
    return script_rand_seam(n);
}

void script_seams_reset() {
    script_shop_buy_seam = shop_buy;
    script_shop_sell_seam = shop_sell;
    script_ranking_seam = show_ranking;
    script_save_seam = save_game;
    script_rand_seam = rand_below;
    game_tracks_seam = game_tracks;
    game_dice_seam = game_dice;
    game_dice_high_seam = game_dice_high;
    game_dice_practice_seam = game_dice_practice;
    game_hands_seam = game_hands;
    game_aim_framed_seam = game_aim_framed;
    game_aim_target_seam = game_aim_target;
    game_tile_swap_seam = game_tile_swap;
    game_falling_catch_seam = game_falling_catch;
    game_light_puzzle_seam = game_light_puzzle;
    game_aim_night_seam = game_aim_night;
    timed_action_game_seam = timed_action_game;
    art_practice_seam = art_practice;
    companion_leave_scene_seam = companion_leave_scene;
}
