#include "scripts/scripts_register.h"

#include "scripts/episodes/camps.h"
#include "scripts/episodes/camps_route1.h"
#include "scripts/episodes/crossing.h"
#include "scripts/home/arrival.h"
#include "scripts/home/contest_hall.h"
#include "scripts/home/couple_guests.h"
#include "scripts/home/dining.h"
#include "scripts/home/east_map10.h"
#include "scripts/home/household.h"
#include "scripts/home/map10_residents.h"
#include "scripts/home/pairs_and_map16.h"
#include "scripts/home/player.h"
#include "scripts/home/portals.h"
#include "scripts/home/pose_families.h"
#include "scripts/home/posed_services.h"
#include "scripts/home/residents.h"
#include "scripts/home/routines.h"
#include "scripts/home/shopkeepers.h"
#include "scripts/home/stations.h"
#include "scripts/home/teachers.h"
#include "scripts/home/walker_quest.h"
#include "scripts/openworld/game_over.h"
#include "scripts/towns/caves.h"
#include "scripts/towns/city_director.h"
#include "scripts/towns/city_item_errands.h"
#include "scripts/towns/city_residents.h"
#include "scripts/towns/city_scenes.h"
#include "scripts/towns/city_search.h"
#include "scripts/towns/city_trail_walkers.h"
#include "scripts/towns/city_trials.h"
#include "scripts/towns/gates_and_tellers.h"
#include "scripts/towns/growth_teachers.h"
#include "scripts/towns/paid_practice.h"
#include "scripts/towns/shops_and_delivery.h"
#include "scripts/towns/town_a_chase.h"
#include "scripts/towns/town_a_director.h"
#include "scripts/towns/town_a_gifts.h"
#include "scripts/towns/town_a_residents.h"

#include <array>
#include <string_view>

namespace {

constexpr ScriptRegion (*REGIONS[])() = {
    // clang-format off
    home_portals_region,
    home_player_region,
    home_pose_families_region,
    home_arrival_region,
    home_routines_region,
    home_household_region,
    home_posed_region,
    home_walker_region,
    home_residents_region,
    home_shopkeepers_region,
    home_map10_residents_region,
    home_stations_region,
    home_dining_region,
    home_east_map10_region,
    home_pairs_map16_region,
    home_teachers_region,
    home_couple_guests_region,
    home_contest_hall_region,
    town_gates_region,
    town_a_director_region,
    town_a_residents_region,
    town_a_gifts_region,
    town_a_chase_region,
    city_residents_region,
    growth_teachers_region,
    paid_practice_region,
    city_item_errands_region,
    city_trail_walkers_region,
    city_trials_region,
    town_shops_region,
    city_director_region,
    city_search_region,
    city_scenes_region,
    caves_region,
    crossing_region,
    camps_route1_region,
    camps_region,
    open_world_player_region,
    // clang-format on
};

bool in_range(const SlotRange& r, s32 slot) {
    return slot >= r.first && slot <= r.last;
}

std::string script_text(s32 slot) {
    return std::string(object_event_name(slot).c_str()) + " (slot " + std::to_string(slot) + ")";
}

} // namespace

std::span<const ScriptRegion> script_regions() {
    static const auto regions = [] {
        std::array<ScriptRegion, std::size(REGIONS)> out{};
        for (size_t i = 0; i < out.size(); i++) out[i] = REGIONS[i]();
        return out;
    }();
    return regions;
}

void scripts_register_all() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    for (const ScriptRegion& r : script_regions()) scripts_install(r.slots(), r.owner);
}

void scripts_register_events() {
    scripts_register_all();
}

std::vector<RegionFault> script_region_faults(std::span<const ScriptRegion> regions,
                                              const std::map<s32, std::string>& named) {
    std::vector<RegionFault> faults;
    auto fault = [&](RegionFaultKind kind, s32 slot, const char* owner, const std::string& what) {
        faults.push_back({kind, slot, owner, std::string(owner) + ": " + what});
    };
    std::map<s32, const char*> registered; // slot -> the first region that registers it
    for (const ScriptRegion& r : regions)
        for (const ScriptSlot& s : r.slots()) {
            if (s.slot < 0 || s.slot >= OBJECT_EVENT_COUNT) {
                fault(REGION_SLOT_OUTSIDE, s.slot, r.owner,
                      "slot " + std::to_string(s.slot) + " lies outside the table");
                continue;
            }
            const auto [it, fresh] = registered.emplace(s.slot, r.owner);
            if (!fresh)
                fault(REGION_SLOT_TWICE, s.slot, r.owner,
                      script_text(s.slot) + " is registered by " + it->second + " already");
        }
    for (const ScriptRegion& r : regions) {
        for (const ScriptSlot& s : r.slots())
            if (registered.contains(s.slot) && !named.contains(s.slot))
                fault(REGION_SLOT_UNNAMED, s.slot, r.owner,
                      script_text(s.slot) +
                          " is registered, and no object, scene, maker or service names it");
        for (const SlotRange& range : r.complete) {
            // Named slots are few; a range may be wide.
            for (auto it = named.lower_bound(range.first);
                 it != named.end() && in_range(range, it->first); ++it)
                if (!registered.contains(it->first))
                    fault(REGION_NAMED_EMPTY, it->first, r.owner,
                          it->second + " names " + script_text(it->first) +
                              ", in a complete range, with no script");
            for (auto it = registered.lower_bound(range.first);
                 it != registered.end() && in_range(range, it->first); ++it)
                if (std::string_view(it->second) != r.owner)
                    fault(REGION_RANGE_FOREIGN, it->first, r.owner,
                          "its complete range " + std::to_string(range.first) + ".." +
                              std::to_string(range.last) + " holds " + script_text(it->first) +
                              " of " + it->second);
        }
    }
    return faults;
}
