// The game calls of the scripts: every game and battle a script starts returns through the
// modal return (its closing click never reaches the map), the rows reach the right game with
// the right arguments, the stations' checks, and the harness's game fakes and end helper.
#include "scripts/games.h"

#include "battle/battle.h"
#include "calendar/timed_action_game.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/shell.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/inventory.h"
#include "game/pick_screens.h"
#include "game/player.h"
#include "minigames/aim.h"
#include "minigames/aim_night.h"
#include "minigames/dice.h"
#include "minigames/falling_catch.h"
#include "minigames/hands.h"
#include "minigames/light_puzzle.h"
#include "minigames/tile_swap.h"
#include "minigames/tracks.h"
#include "scripts/home/map10_residents.h"
#include "scripts/kit.h"
#include "scripts/script_seams.h"
#include "tests/script_harness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr s32 PX = SH_MAP_W / 2;
constexpr s32 PY = SH_MAP_H / 2;
constexpr s32 FIG = SH_FIGURE_FIRST;

using Lines = std::vector<std::string>;

class ScriptGames : public ScriptTest {};

// A station-like object: an undrawn hit area under the player's click, whose script starts a
// game or a battle through the kit. The fake leaves its closing click where the station is.
TEST_F(ScriptGames, ClosingClickOfAGameOrBattleDoesNotStartItAgain) {
    struct Case {
        const char* name;
        const char* fake; // the first word of the fake's line
        std::function<void()> start;
    };
    const std::vector<Case> cases = {
        {"game call", "dice_high",
         [] {
             game_call({GAME_DICE_HIGH, {0, 500}});
         }},
        {"hub game", "bait_catch",
         [] {
             game_call({GAME_BAIT_CATCH, {0}});
         }},
        {"station", "light_ring",
         [] {
             station_gate({.tool = {},
                           .supply = {},
                           .stamina = GATE_NO_STAMINA,
                           .game = {GAME_LIGHT_RING, {-1, -1, -1, -1, -1, -1, -1, -1}}});
         }},
        {"battle", "battle",
         [] {
             BattleBlock b;
             b.encounter = 12;
             battle_block(b);
         }},
    };
    const Case* current = nullptr;
    const s32 slot = sh_script([&] { current->start(); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        current = &c;
        sh_clear_calls();
        sh_object(90, {.x = PX + 100,
                       .y = PY,
                       .frame = FIG,
                       .slot = slot,
                       .layer = 0,
                       .click = true,
                       .cursor = 4});
        const s32 sx = PX + 100 - world_state.camera_x;
        const s32 sy = PY - SH_FIGURE_H / 2 - world_state.camera_y;
        sh_games_leave_click(sx, sy);
        click_kind = 1;
        click_x = u32(sx);
        click_y = u32(sy);
        sh_field_frames(1);
        ASSERT_EQ(sh_calls().size(), 1u);
        EXPECT_EQ(sh_calls()[0].rfind(c.fake, 0), 0u) << sh_calls()[0];
        EXPECT_EQ(click_kind.peek(), 0u);
        EXPECT_EQ(mouse_buttons.peek(), 0u);
        sh_field_frames(3);
        EXPECT_EQ(sh_calls().size(), 1u) << "the closing click started it again";
    }
}

// Each row reaches its game with its arguments in order and hands back the game's result.
TEST_F(ScriptGames, RowsReachTheirGameWithTheirArguments) {
    struct Case {
        GameCall call;
        std::string line;
        s32 queued; // -1: the game gives no result
    };
    const std::vector<Case> cases = {
        {{GAME_TRACKS, {3}}, "tracks 3", 7},
        {{GAME_DICE, {0, 50}}, "dice 0 50", -1},
        {{GAME_DICE_HIGH, {0, 500}}, "dice_high 0 500", 2},
        {{GAME_DICE_PRACTICE, {}}, "dice_practice", 1},
        {{GAME_HANDS, {}}, "hands", 1},
        {{GAME_AIM, {0, 250, 2, 3, 30, 150}}, "aim 0 250 2 3 30 150", -1},
        {{GAME_AIM_FRAMED, {}}, "aim_framed", -1},
        {{GAME_AIM_TARGET, {102, -1, 1, 3, 0, 0}}, "aim_target 102 -1 1 3 0 0", 1},
        {{GAME_AIM_NIGHT, {}}, "aim_night", 1},
        {{GAME_BAIT_CATCH, {2}}, "bait_catch 2", -1},
        {{GAME_LIGHT_RING, {19, -1, -1, -1, -1, -1, -1, 4}},
         "light_ring 19 -1 -1 -1 -1 -1 -1 4",
         -1},
        {{GAME_POPUP_TARGETS, {1}}, "popup 1", -1},
        {{GAME_TILE_SWAP, {9}}, "tile_swap 9", 2},
        {{GAME_FALLING_CATCH, {}}, "falling_catch", 41},
        {{GAME_LIGHT_PUZZLE, {}}, "light_puzzle", 1},
        {{GAME_TIMED_ACTION, {3, 2, 55}}, "timed_action 3 2 55", 1},
        {{GAME_ART_PRACTICE, {4}}, "art_practice 4", 1},
        {{GAME_TRAINING_AFTERMATH, {1}}, "training_aftermath 1", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        sh_clear_calls();
        const std::string fake = c.line.substr(0, c.line.find(' '));
        if (c.queued >= 0) sh_results(fake, {c.queued});
        const s32 r = game_call(c.call);
        EXPECT_EQ(sh_calls(), Lines{c.line});
        EXPECT_EQ(r, c.queued >= 0 ? c.queued : 0);
    }
    // A kind outside the table runs nothing.
    sh_clear_calls();
    EXPECT_EQ(game_call({GAME_KINDS, {}}), 0);
    EXPECT_EQ(game_call({-3, {}}), 0);
    EXPECT_TRUE(sh_calls().empty());
}

// The stations of the home region and the towns' gates as rows: the checks run tool, supply,
// stamina, the first failure floats its refusal and starts nothing.
TEST_F(ScriptGames, StationGateChecksInOrderAndRefusesWithTheFirstFailure) {
    const StationGate aiming{.tool = {2210, 2219, 10560, -112},
                             .supply = {2200, 2209, 10564, -128},
                             .stamina = 150,
                             .game = {GAME_AIM, {0, -1, 2, 3, 30, 150}}};
    const StationGate catching{.tool = {2230, 2239, 10562, -112},
                               .supply = {2240, 2249, 10565, -88},
                               .stamina = 100,
                               .game = {GAME_BAIT_CATCH, {0}}};
    const StationGate ring{.tool = {2250, 2259, 10561, -120},
                           .supply = {},
                           .stamina = GATE_NO_STAMINA,
                           .game = {GAME_LIGHT_RING, {19, -1, -1, -1, -1, -1, -1, -1}}};
    const StationGate contest{.tool = {2210, 2219, 10560, -112},
                              .supply = {2200, 2209, 10564, -128},
                              .stamina = GATE_NO_STAMINA,
                              .game = {GAME_AIM_TARGET, {102, -1, 1, 3, 0, 0}}};
    struct Case {
        const char* name;
        const StationGate* gate;
        std::vector<s32> items;
        s32 stamina;
        std::string expect; // the refusal's label, or the game's line
    };
    const std::vector<Case> cases = {
        {"all held, stamina at the threshold", &aiming, {2212, 2200}, 150, "aim 0 -1 2 3 30 150"},
        {"one short of the stamina", &aiming, {2212, 2200}, 149, "label 0 10558 -80 -108 2000"},
        {"no tool comes first", &aiming, {2200}, 0, "label 0 10560 -112 -108 2000"},
        {"no shots", &aiming, {2219}, 0, "label 0 10564 -128 -108 2000"},
        {"ends of the ranges count", &catching, {2239, 2249}, 100, "bait_catch 0"},
        {"no bait before the stamina", &catching, {2230}, 0, "label 0 10565 -88 -108 2000"},
        {"a tool just outside the range",
         &catching,
         {2229, 2240},
         500,
         "label 0 10562 -112 -108 2000"},
        {"no supply and no stamina needed", &ring, {2250}, 0, "light_ring 19 -1 -1 -1 -1 -1 -1 -1"},
        {"ring without its tool", &ring, {2260}, 900, "label 0 10561 -120 -108 2000"},
        {"contest needs no stamina", &contest, {2210, 2209}, 0, "aim_target 102 -1 1 3 0 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        init_player();
        for (const s32 item : c.items) inv_add(item, 1);
        player_record.stamina = c.stamina;
        sh_clear_calls();
        sh_clear_lines();
        sh_results("aim_target", {1});
        s32 result = -7;
        const bool ran = station_gate(*c.gate, &result);
        const bool is_label = c.expect.rfind("label", 0) == 0;
        EXPECT_EQ(ran, !is_label);
        if (is_label) {
            EXPECT_EQ(sh_lines(), Lines{c.expect});
            EXPECT_TRUE(sh_calls().empty());
            EXPECT_EQ(result, -7);
        } else {
            EXPECT_EQ(sh_calls(), Lines{c.expect});
            EXPECT_TRUE(sh_lines().empty());
            EXPECT_EQ(result, c.gate == &contest ? 1 : 0);
        }
    }
}

// A gate that clears the click first clears it again after a refusal (the pop-up station).
TEST_F(ScriptGames, ClearingGateLeavesNoClickEvenWhenItRefuses) {
    const StationGate popup{.tool = {2220, 2229, 10563, -112},
                            .supply = {},
                            .stamina = 200,
                            .game = {GAME_POPUP_TARGETS, {0}},
                            .clear_click = true};
    for (const s32 stamina : {199, 200}) {
        SCOPED_TRACE(stamina);
        init_player();
        inv_add(2225, 1);
        player_record.stamina = stamina;
        sh_clear_calls();
        mouse_buttons = 1;
        click_kind = 1;
        station_gate(popup);
        EXPECT_EQ(mouse_buttons.peek(), 0u);
        EXPECT_EQ(click_kind.peek(), 0u);
        EXPECT_EQ(sh_calls().size(), stamina >= 200 ? 1u : 0u);
    }
}

// The fakes' effects run at the call: the catch game adds fish, the battle sees the line-up as
// it stood and may wound the player before its result is read, the sell screen takes the fish.
TEST_F(ScriptGames, FakesRunTheirEffectsAtTheCall) {
    sh_on_call("bait_catch", [] { inv_add(1842, 5); });
    game_call({GAME_BAIT_CATCH, {0}});
    EXPECT_EQ(inv_has_count(1842, 5), 1);

    encounters[12].fighter[1] = 77;
    sh_on_call("battle", [] {
        player_record.hp = 1;
        roster[77].hp = 0;
    });
    sh_battle_results({0});
    BattleBlock fight;
    fight.encounter = 12;
    const s32 r = battle_block(fight);
    encounters[12].fighter[1] = 55; // after the call: not what the fake saw
    EXPECT_EQ(r, 0);
    EXPECT_EQ(player_record.hp, 1);
    EXPECT_EQ(roster[77].hp, 0);
    ASSERT_EQ(sh_battle_fighters().size(), 1u);
    EXPECT_EQ(sh_battle_fighters()[0][1], 77);
    sh_on_call("shop_sell", [] { inv_remove(1842, 5); });
    modal_shop_sell(3);
    EXPECT_EQ(inv_has(1842), 0);
    EXPECT_EQ(sh_calls(), (Lines{"bait_catch 0", "battle 12 -> 0", "shop_sell 3"}));
}

TEST_F(ScriptGames, ExpectEndTellsHowTheGameEnded) {
    const ShEnd completed = sh_expect_end([] { game_end(true); });
    EXPECT_TRUE(completed.ended);
    EXPECT_EQ(completed.exit_code, 99);
    EXPECT_TRUE(completed.hand_over);

    const ShEnd lost = sh_expect_end([] { game_end(false); });
    EXPECT_TRUE(lost.ended);
    EXPECT_EQ(lost.exit_code, 0);
    EXPECT_FALSE(lost.hand_over);

    // A code of 99 without the game's end starts nothing.
    const ShEnd none = sh_expect_end([] { exit_code = 99; });
    EXPECT_FALSE(none.ended);
    EXPECT_FALSE(none.hand_over);
    EXPECT_EQ(exit_code, 0);
}

// The harness's fakes never outlive a test: the reset puts every game back to the real one.
TEST_F(ScriptGames, SeamsResetPutsTheRealGamesBack) {
    script_seams_reset();
    EXPECT_EQ(game_tracks_seam, &game_tracks);
    EXPECT_EQ(game_dice_seam, &game_dice);
    EXPECT_EQ(game_dice_high_seam, &game_dice_high);
    EXPECT_EQ(game_dice_practice_seam, &game_dice_practice);
    EXPECT_EQ(game_hands_seam, &game_hands);
    EXPECT_EQ(game_aim_framed_seam, &game_aim_framed);
    EXPECT_EQ(game_aim_target_seam, &game_aim_target);
    EXPECT_EQ(game_tile_swap_seam, &game_tile_swap);
    EXPECT_EQ(game_falling_catch_seam, &game_falling_catch);
    EXPECT_EQ(game_light_puzzle_seam, &game_light_puzzle);
    EXPECT_EQ(game_aim_night_seam, &game_aim_night);
    EXPECT_EQ(timed_action_game_seam, &timed_action_game);
    EXPECT_EQ(art_practice_seam, &art_practice);
    EXPECT_EQ(companion_leave_scene_seam, &companion_leave_scene);
}

} // namespace
