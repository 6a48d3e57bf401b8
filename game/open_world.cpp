// PENDING: being written.
#include "game/open_world.h"

void open_world_hide_calendar() {}
void open_world_build() {}
void open_world_start_1() {}
void open_world_start_2() {}
void open_world_start_3() {}
void open_world_start(s32 route) {
    if (route == 1) open_world_start_1();
    if (route == 2) open_world_start_2();
    if (route == 3) open_world_start_3();
}
