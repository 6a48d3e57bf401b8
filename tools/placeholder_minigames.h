// Placeholder pictures of the mini-games, sized as each game draws them and showing their ids.
#pragma once

class ArcBuilder;

// Puts every mini-game's pictures (calls the per-game functions below).
void image_put_placeholder_minigames(ArcBuilder& builder);

void image_put_placeholder_hands(ArcBuilder& builder);
void image_put_placeholder_dice(ArcBuilder& builder);
void image_put_placeholder_light_ring(ArcBuilder& builder);
void image_put_placeholder_popup(ArcBuilder& builder);
void image_put_placeholder_tile_swap(ArcBuilder& builder);
void image_put_placeholder_light_puzzle(ArcBuilder& builder);
void image_put_placeholder_bait_catch(ArcBuilder& builder);
