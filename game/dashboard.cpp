// PENDING: placeholder bodies until the dashboard lands (owner replaces this whole file).
#include "game/dashboard.h"

s32 dashboard_anim = 0;
s32 dashboard_title = 0;
void hub_draw() {}
void hub_menu_draw() {}
void affection_screen() {}
void hub_click_wait() {}
