#include "scripts/scripts_register.h"

#include "scripts/home/arrival.h"
#include "scripts/home/household.h"
#include "scripts/home/player.h"
#include "scripts/home/portals.h"
#include "scripts/home/pose_families.h"
#include "scripts/home/posed_services.h"
#include "scripts/home/residents.h"
#include "scripts/home/routines.h"
#include "scripts/home/walker_quest.h"

namespace {

constexpr ScriptRegion REGIONS[] = {
    {HOME_PORTALS_OWNER, home_portals_slots, home_portals_register},
    {HOME_PLAYER_OWNER, home_player_slots, home_player_register},
    {HOME_POSE_FAMILIES_OWNER, home_pose_families_slots, home_pose_families_register},
    {HOME_ARRIVAL_OWNER, home_arrival_slots, home_arrival_register},
    {HOME_ROUTINES_OWNER, home_routines_slots, home_routines_register},
    {HOME_HOUSEHOLD_OWNER, home_household_slots, home_household_register},
    {HOME_POSED_OWNER, home_posed_slots, home_posed_register},
    {HOME_WALKER_OWNER, home_walker_slots, home_walker_register},
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
