// The event dispatcher and the script registry.
//
// Every object's behaviour lives in an event script: a function without arguments that reads its
// own object number from `world_state.event_object` and the reason for the call from
// `world_state.trigger_kind`. `object_event_table` holds one script per slot and objects name
// their slot in `ATTR_EVENT`; `event_fire` is the only way into a script.
//
// The table is filled by registration: every subsystem that owns scripts registers each of them
// by slot (`event_register`, or a static `EventRegistrar` object next to the script). A slot that
// nobody registers holds `object_event_none`. Registering a slot that is already taken is refused
// and recorded as a conflict, so a test can prove that no slot is claimed twice.
#pragma once
#include "engine/types.h"

#include <array>

using EventScript = void (*)();

constexpr s32 OBJECT_EVENT_COUNT = 1840;
constexpr s32 EVENT_CONFLICT_MAX = 64; // conflicts kept for inspection; more are only counted

// The script table, indexed by `ATTR_EVENT`. Every entry is valid (never null). Write it only
// through the registry functions below.
extern std::array<EventScript, OBJECT_EVENT_COUNT> object_event_table;

// The script of every slot without one of its own: does nothing.
void object_event_none();

// Stores the object and the trigger kind in `world_state.event_object` (16 bits) and
// `world_state.trigger_kind` (8 bits), then runs the script of the object's `ATTR_EVENT` slot and
// returns when it returns. A slot of 1840 or more runs `object_event_none`. The two fields are not
// restored afterwards.
void event_fire(s32 obj, s32 kind);

// ---- Registry -------------------------------------------------------------------------------
// Puts `fn` into `slot` for `owner` (a short name of the registering subsystem, kept as given, so
// pass a string literal). Returns 0 when done; -1 (and records a conflict) when the slot is out of
// range, `fn` is null, or the slot already holds a script: the first registration stays.
s32 event_register(s32 slot, EventScript fn, const char* owner);
// Gives the slot back to `object_event_none` (tests that borrowed a free slot).
void event_unregister(s32 slot);
// Owner named at registration, or nullptr for a slot that holds `object_event_none`.
const char* event_owner(s32 slot);
// 1 when the slot holds a registered script.
s32 event_slot_taken(s32 slot);
// Number of registered slots.
s32 event_registered_count();

struct EventConflict {
    s32 slot;
    const char* owner;          // the refused registration
    const char* previous_owner; // the owner that holds the slot (nullptr when out of range)
};
// Refused registrations since program start.
s32 event_conflict_count();
const EventConflict& event_conflict(s32 index); // index < min(count, EVENT_CONFLICT_MAX)
// Forgets the conflicts after the first `count` (tests that provoke one on purpose).
void event_conflicts_truncate(s32 count);

// Registers a script from a static object at program start:
//   static const EventRegistrar reg_0123(123, object_event_0123, "home");
// Objects in a static library are only linked when something else in their file is used, so a
// subsystem in a library should rather register from a function that start-up calls.
struct EventRegistrar {
    EventRegistrar(s32 slot, EventScript fn, const char* owner) { event_register(slot, fn, owner); }
};
