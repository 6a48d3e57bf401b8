// The two pieces every route of the open world relies on: the game-over screen that ends the game
// when a fight that may not be lost is lost, and the player object's script of the open world
// (slot 1300), which is the home region's player script: a click opens the character and system
// screen, and a save asked for there is written into slot 1.
#pragma once
#include "engine/types.h"
#include "game/open_world.h"
#include "scripts/kit.h"

#include <span>

constexpr s32 GAME_OVER_MUSIC = 10003;
constexpr s32 GAME_OVER_PICTURE = 63500; // full screen
constexpr s32 GAME_OVER_TEXT = 26717;    // the game-over line over the picture
constexpr s32 GAME_OVER_TEXT_X = 272, GAME_OVER_TEXT_Y = 192;
constexpr s32 GAME_OVER_TEXT_SIZE = 96;
constexpr u32 GAME_OVER_DEAF_MS = 1000; // a press in the picture's first second is not taken

// The picture with its music; a press after its first second shows the game-over line, and the
// next press fades out and quits. The exit code is left as it was (no follow-up program).
[[noreturn]] void game_over();

void object_event_1300();

constexpr const char* OPEN_WORLD_PLAYER_OWNER = "open world player";
std::span<const ScriptSlot> open_world_player_slots();
ScriptRegion open_world_player_region();
