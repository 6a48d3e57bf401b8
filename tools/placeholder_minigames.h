// Placeholder pictures of the mini-games, sized as each game draws them and showing their ids.
#pragma once
#include "engine/types.h"

class ArcBuilder;

// Puts a w x h framed box showing its id as image `id`.
void minigame_put_box(ArcBuilder& builder, s32 id, s32 w, s32 h);
// The same, but only when no other game put image `id` already (pictures games share).
void minigame_put_shared_box(ArcBuilder& builder, s32 id, s32 w, s32 h);

// Puts every mini-game's pictures (calls the per-game functions below).
void image_put_placeholder_minigames(ArcBuilder& builder);

void image_put_placeholder_hands(ArcBuilder& builder);
void image_put_placeholder_dice(ArcBuilder& builder);
void image_put_placeholder_light_ring(ArcBuilder& builder);
void image_put_placeholder_popup(ArcBuilder& builder);
void image_put_placeholder_tile_swap(ArcBuilder& builder);
void image_put_placeholder_light_puzzle(ArcBuilder& builder);
void image_put_placeholder_aim(ArcBuilder& builder);
void image_put_placeholder_aim_night(ArcBuilder& builder);
void image_put_placeholder_tracks(ArcBuilder& builder);
void image_put_placeholder_falling_catch(ArcBuilder& builder);
void image_put_placeholder_bait_catch(ArcBuilder& builder);
