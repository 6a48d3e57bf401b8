// The player object's own script (slot 0). A click on the player's figure opens the character and
// system screen with its load, save and quit buttons; every run then clears the buttons and the
// click (the click that closed the screen must not reach the map object under it), writes the
// save that the screen's save button asked for into slot 1 with the "saved" line of the message
// log, and clears both requests of the screen. A load picked on the screen has been carried out
// by the screen itself. While a service poses the player, object 0 runs a pose slot instead
// (scripts/home/pose_families.h) and a save asked for meanwhile waits for the next run of this
// script.
#pragma once
#include "engine/types.h"
#include "scripts/kit.h"

#include <span>

constexpr s32 PLAYER_SCRIPT_SLOT = 0;
constexpr s32 PLAYER_SAVE_SLOT = 1;    // the slot the character screen's save button writes
constexpr s32 TEXT_PLAYER_SAVED = 332; // message-log line after that save

void object_event_0000();
// The body of the player's script, also the player's script of the open world.
void player_screen_script();

constexpr const char* HOME_PLAYER_OWNER = "home player";
std::span<const ScriptSlot> home_player_slots();
ScriptRegion home_player_region();
