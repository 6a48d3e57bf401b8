// The start and end of a scenario by real input on a new game's world: the engine on the
// placeholder archive (content, the player's images, the maps), every script registered, a new
// game's state and world, the hub's and the scripts' seams at their defaults, and dialogues
// answered by real clicks.
#pragma once
#include "engine/types.h"

void scenario_new_game(u64 budget_ms, u64 budget_presents);
// Stops the dialogue driver, puts the seams back and stops the engine.
void scenario_end();
