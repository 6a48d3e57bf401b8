// Registration of every object script of the script subsystems (home region, towns, map
// episodes, open world) into `object_event_table`. Each region file ends in one table of its
// slots (`ScriptSlot` rows) and one function, declared in its header, that returns its
// `ScriptRegion`: the table, the slot ranges it completes and the schedule writes its scripts
// make. The list in scripts_register.cpp names every region once; installing is the same for all.
// The program calls `scripts_register_all` at start-up, right after the game and the mini-games
// register themselves, and so does every test that needs the real scripts.
#pragma once
#include "scripts/kit.h"

#include <map>
#include <span>
#include <string>
#include <vector>

// Every region, in registration order.
std::span<const ScriptRegion> script_regions();

// Installs every region once per run: later calls do nothing, so a test may call it freely.
void scripts_register_all();
// The former name of `scripts_register_all`.
void scripts_register_events();

// What can be wrong with the regions' tables against the slots that objects, scenes, makers and
// services name.
enum RegionFaultKind : s32 {
    REGION_SLOT_OUTSIDE = 0,  // a table row outside object_event_table
    REGION_SLOT_TWICE = 1,    // a slot in two rows (of one table or of two)
    REGION_SLOT_UNNAMED = 2,  // a registered slot that nothing names: it can never run
    REGION_NAMED_EMPTY = 3,   // a named slot in a region's complete range without a script
    REGION_RANGE_FOREIGN = 4, // a region's complete range over a slot another region registers
};
struct RegionFault {
    RegionFaultKind kind;
    s32 slot;
    const char* owner; // the region at fault
    std::string text;  // the whole report, naming the slot's script and where it is named
};
// Every fault of `regions` against `named` (slot -> the first place that names it), in region
// order. Slots named outside every complete range and not registered are not faults: their
// scripts are still to be written.
std::vector<RegionFault> script_region_faults(std::span<const ScriptRegion> regions,
                                              const std::map<s32, std::string>& named);
