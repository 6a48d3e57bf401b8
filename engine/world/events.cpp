// The event dispatcher and the script registry.
#include "engine/world/events.h"

#include "engine/world/object.h"
#include "engine/world_state.h"

#include <array>

void object_event_none() {}

namespace {

constexpr std::array<EventScript, OBJECT_EVENT_COUNT> empty_event_table() {
    std::array<EventScript, OBJECT_EVENT_COUNT> t{};
    for (auto& e : t) e = &object_event_none;
    return t;
}

constinit const char* event_owners[OBJECT_EVENT_COUNT] = {};
constinit EventConflict event_conflict_list[EVENT_CONFLICT_MAX] = {};
constinit s32 event_conflicts_seen = 0;
constinit s32 event_registered = 0;

void event_conflict_add(s32 slot, const char* owner, const char* previous) {
    if (event_conflicts_seen < EVENT_CONFLICT_MAX)
        event_conflict_list[event_conflicts_seen] = {slot, owner, previous};
    event_conflicts_seen++;
}

bool event_slot_valid(s32 slot) {
    return slot >= 0 && slot < OBJECT_EVENT_COUNT;
}

} // namespace

// Constant-initialised, so it is complete before any static registrar runs.
constinit std::array<EventScript, OBJECT_EVENT_COUNT> object_event_table = empty_event_table();

void event_fire(s32 obj, s32 kind) {
    world_state.event_object = u16(obj);
    world_state.trigger_kind = u8(kind);
    const u32 slot = attr_get(obj, ATTR_EVENT);
    // Slots past the table are never stored by the game; they get the empty script rather than a
    // read past the table.
    EventScript script = slot < u32(OBJECT_EVENT_COUNT) ? object_event_table[slot] : nullptr;
    if (script == nullptr) script = &object_event_none;
    script();
}

s32 event_register(s32 slot, EventScript fn, const char* owner) {
    if (!event_slot_valid(slot) || fn == nullptr) {
        event_conflict_add(slot, owner, nullptr);
        return -1;
    }
    if (event_owners[slot] != nullptr) {
        event_conflict_add(slot, owner, event_owners[slot]);
        return -1;
    }
    event_owners[slot] = owner != nullptr ? owner : "?";
    object_event_table[slot] = fn;
    event_registered++;
    return 0;
}

void event_unregister(s32 slot) {
    if (!event_slot_valid(slot) || event_owners[slot] == nullptr) return;
    event_owners[slot] = nullptr;
    object_event_table[slot] = &object_event_none;
    event_registered--;
}

const char* event_owner(s32 slot) {
    return event_slot_valid(slot) ? event_owners[slot] : nullptr;
}

s32 event_slot_taken(s32 slot) {
    return event_owner(slot) != nullptr ? 1 : 0;
}

s32 event_registered_count() {
    return event_registered;
}

s32 event_conflict_count() {
    return event_conflicts_seen;
}

const EventConflict& event_conflict(s32 index) {
    static const EventConflict none{-1, nullptr, nullptr};
    if (index < 0 || index >= event_conflicts_seen || index >= EVENT_CONFLICT_MAX) return none;
    return event_conflict_list[index];
}

void event_conflicts_truncate(s32 count) {
    if (count >= 0 && count < event_conflicts_seen) event_conflicts_seen = count;
}
