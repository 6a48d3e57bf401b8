#include "scripts/scripts_register.h"

#include "scripts/home/household.h"
#include "scripts/home/portals.h"

namespace {

constexpr ScriptRegion REGIONS[] = {
    {HOME_PORTALS_OWNER, home_portals_slots, home_portals_register},
    {HOME_HOUSEHOLD_OWNER, home_household_slots, home_household_register},
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
