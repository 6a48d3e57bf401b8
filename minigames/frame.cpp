// PENDING: the mini-game frame (being written).
#include "minigames/frame.h"

void frame_enter(s32, bool) {}
void frame_music_start(FrameMusic&, s32) {}
void frame_music_restore(const FrameMusic&) {}
void frame_clock_spend() {}
s32 frame_take_click(s32*, s32*, bool) {
    return 0;
}
void frame_draw_quit() {}
void frame_draw_menu(const s32[3]) {}
s32 frame_menu_row(s32, s32) {
    return 0;
}
void frame_top_line(s32) {}
void frame_bottom_line(s32) {}
void frame_player_portrait(bool) {}
void frame_opponent_portrait(s32) {}
void frame_click_wait(const FrameWait&) {}
