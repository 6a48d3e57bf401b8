#include "scripts/scripts_register.h"

#include "scripts/home/portals.h"
#include "scripts/home/posed_services.h"
#include "scripts/home/walker_quest.h"

namespace {

constexpr ScriptRegion REGIONS[] = {
    {HOME_PORTALS_OWNER, home_portals_slots, home_portals_register},
    {HOME_POSED_OWNER, home_posed_slots, home_posed_register},
    {HOME_WALKER_OWNER, home_walker_slots, home_walker_register},
};

} // namespace

std::span<const ScriptRegion> script_regions() {
    return REGIONS;
}

void scripts_register_all() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    for (const ScriptRegion& r : REGIONS) r.install();
}

void scripts_register_events() {
    scripts_register_all();
}
