// PENDING: placeholder bodies until the hub lands (owner replaces this whole file).
#include "game/hub.h"

s32 hub_restart = 0;
void hub_main() {
    for (;;) hub_pass();
}
void hub_pass() {}
void hub_menu_update() {}
void hub_rest() {}
s32 hub_dispatch(s32) { return 0; }
