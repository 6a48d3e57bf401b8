#include "scripts/scripts_register.h"

#include "scripts/home/portals.h"

void scripts_register_events() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    home_portals_register();
}
