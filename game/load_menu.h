// The hub's load menu (command 42).
#pragma once
#include "engine/types.h"

// slot + 1 after a load, or -1 when the menu closed without one.
s32 hub_load_menu();
