// Registration of every object script of the script subsystems (home region, towns, map
// episodes, open world) into `object_event_table`. Each region file ends in one table of its
// slots (`ScriptSlot` rows) and a `register_...` function that installs it; the list below names
// every region once. The program calls `scripts_register_all` at start-up, right after the game
// and the mini-games register themselves, and so does every test that needs the real scripts.
#pragma once
#include "scripts/kit.h"

#include <span>

// One region: its owner name in the registry and its table of slots.
struct ScriptRegion {
    const char* owner;
    std::span<const ScriptSlot> (*slots)();
    void (*install)();
};
// Every region, in registration order.
std::span<const ScriptRegion> script_regions();

// Installs every region once per run: later calls do nothing, so a test may call it freely.
void scripts_register_all();
// The former name of `scripts_register_all`.
void scripts_register_events();
