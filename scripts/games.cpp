#include "scripts/games.h"

#include "calendar/calendar_seams.h"
#include "engine/labels.h"
#include "game/hub_seams.h"
#include "game/inventory.h"
#include "game/player.h"
#include "scripts/script_seams.h"

namespace {

s32 run_game(const GameCall& c) {
    const std::array<s32, 8>& a = c.args;
    switch (c.game) {
    case GAME_TRACKS:
        return game_tracks_seam(a[0]);
    case GAME_DICE:
        game_dice_seam(a[0], a[1]);
        return 0;
    case GAME_DICE_HIGH:
        return game_dice_high_seam(a[0], a[1]);
    case GAME_DICE_PRACTICE:
        return game_dice_practice_seam();
    case GAME_HANDS:
        return game_hands_seam();
    case GAME_AIM:
        game_aim_seam(a[0], a[1], a[2], a[3], a[4], a[5]);
        return 0;
    case GAME_AIM_FRAMED:
        game_aim_framed_seam();
        return 0;
    case GAME_AIM_TARGET:
        return game_aim_target_seam(a[0], a[1], a[2], a[3], a[4], a[5]);
    case GAME_AIM_NIGHT:
        return game_aim_night_seam();
    case GAME_BAIT_CATCH:
        game_bait_catch_seam(a[0]);
        return 0;
    case GAME_LIGHT_RING:
        game_light_ring_seam(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
        return 0;
    case GAME_POPUP_TARGETS:
        game_popup_targets_seam(a[0]);
        return 0;
    case GAME_TILE_SWAP:
        return game_tile_swap_seam(a[0]);
    case GAME_FALLING_CATCH:
        return game_falling_catch_seam();
    case GAME_LIGHT_PUZZLE:
        return game_light_puzzle_seam();
    case GAME_TIMED_ACTION:
        return timed_action_game_seam(a[0], a[1], a[2]);
    case GAME_ART_PRACTICE:
        return art_practice_seam(a[0]);
    case GAME_TRAINING_AFTERMATH:
        training_aftermath_seam(a[0]);
        return 0;
    default:
        return 0;
    }
}

bool range_missing(const ItemGate& g) {
    return g.lo >= 0 && inv_has_range(g.lo, g.hi) == 0;
}

} // namespace

s32 game_call(const GameCall& call) {
    const s32 result = run_game(call);
    modal_return();
    return result;
}

// ---- station_gate ----------------------------------------------------------------------------

s32 station_refusal(const StationGate& gate) {
    if (range_missing(gate.tool)) return 0;
    if (range_missing(gate.supply)) return 1;
    if (gate.stamina != GATE_NO_STAMINA && player_record.stamina < gate.stamina) return 2;
    return -1;
}

bool station_gate(const StationGate& gate, s32* result) {
    if (gate.clear_click) modal_return();
    const s32 refused = station_refusal(gate);
    if (refused >= 0) {
        if (refused == 2) {
            label_add(0, TEXT_TOO_TIRED, TOO_TIRED_DX, GATE_LABEL_DY, GATE_LABEL_MS);
        } else {
            const ItemGate& g = refused == 0 ? gate.tool : gate.supply;
            label_add(0, g.text, g.dx, GATE_LABEL_DY, GATE_LABEL_MS);
        }
        if (gate.clear_click) modal_return();
        return false;
    }
    const s32 r = game_call(gate.game);
    if (result != nullptr) *result = r;
    return true;
}
