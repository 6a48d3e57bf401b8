#include "scripts/scripts_register.h"

#include "scripts/home/portals.h"
#include "scripts/home/residents.h"

namespace {

constexpr ScriptRegion REGIONS[] = {
    {HOME_PORTALS_OWNER, home_portals_slots, home_portals_register},
    {HOME_RESIDENTS_OWNER, home_residents_slots, home_residents_register},
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
