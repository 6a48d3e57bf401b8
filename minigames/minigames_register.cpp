#include "minigames/minigames_register.h"

#include "game/hub_seams.h"
#include "minigames/aim.h"
#include "minigames/bait_catch.h"
#include "minigames/light_ring.h"
#include "minigames/popup.h"

void minigames_register() {
    game_popup_targets_seam = game_popup_targets;
    game_bait_catch_seam = game_bait_catch;
    game_light_ring_seam = game_light_ring;
    game_aim_seam = game_aim;
}
