// PENDING: placeholder body until the hub load menu lands (owner replaces this whole file).
#include "game/load_menu.h"

s32 hub_load_menu() { return -1; }
