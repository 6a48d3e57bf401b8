// Registration of every object script of the script subsystems (home region, towns, map
// episodes, open world) into `object_event_table`. The program calls it once at start-up, right
// after the game registers itself; a test that needs the real scripts calls it too.
#pragma once

// Registers every script once per run: later calls do nothing, so a test may call it freely.
void scripts_register_events();
