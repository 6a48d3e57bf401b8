#pragma once
// Town A's day: the director of the free walk (object 469), the arrival timer (object 507) and
// the presentation of the four gifts.

// The presentation of the gifts to the hosts: the verdict by the hour and the player's growth,
// the outcome of the walk (`story_flag_84`) and the end of the walk.
void town_a_presentation();
