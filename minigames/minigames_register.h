// Hands the mini-games to the game core's seams (game/hub_seams.h): the hub's commands start
// them through those pointers, since the game core does not link the mini-games.
#pragma once

// Fills the mini-game seams; safe to call again (after hub_seams_reset, for example).
void minigames_register();
