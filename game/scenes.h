// The map-episode scenes: each sets up its episode's world (unless a saved episode is resuming),
// runs the field loop until a script of the episode ends it, and returns to its launcher.
#pragma once

void scene_play_221();
void scene_play_192();
void scene_play_190();
void scene_play_196();
void scene_play_222();
void scene_play_201();
void scene_play_193();
void scene_play_194();
void scene_play_044();
void scene_play_129_1();
void scene_play_129_2();
void scene_play_203();
void scene_play_135();
void scene_play_195();
void scene_play_191();
void scene_play_197();
void scene_play_199();
void scene_play_198();
void scene_play_143();

// The field loop that the scenes run (default `field_loop`); tests replace it to play an episode's
// end (or a load inside it) without running field frames.
extern void (*scene_field_loop_seam)();
