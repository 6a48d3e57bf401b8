// Readings and checks the mini-game tests share: how many of an item the inventory holds over all
// its entries, the game clock in minutes of the day, the ids a transcript holds of one kind, the
// sound effects started with their loop counts, and growth expected after given payments.
#pragma once
#include "engine/transcript.h"
#include "engine/types.h"
#include "engine/world_state.h"
#include "game/growth.h"
#include "game/player.h"
#include "tests/dialog_driver.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <utility>
#include <vector>

inline s32 inv_count(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

inline s32 clock_minutes() {
    return world_state.hour * 60 + world_state.minute;
}

// The ids of the transcript's entries of one kind, in order (the text id for prints).
inline std::vector<s32> transcript_ids(s32 kind) {
    std::vector<s32> ids;
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == kind) ids.push_back(kind == TRANSCRIPT_PRINT ? e.text[0] : e.id);
    return ids;
}

// A sound effect started: its id and loop count (1 plays it once; 0 would loop it for ever, and
// no game asks for that).
struct Effect {
    s32 id = -1, loops = 0;
    bool operator==(const Effect&) const = default;
};
inline std::ostream& operator<<(std::ostream& o, const Effect& e) {
    return o << "sound " << e.id << " loops " << e.loops;
}

// `n` starts of effect `id`, each played once.
inline std::vector<Effect> played_once(s32 id, s32 n) {
    return std::vector<Effect>(size_t(n), Effect{id, 1});
}

// The starts of effect `id` among `effects`, in order.
inline std::vector<Effect> effects_of(const std::vector<Effect>& effects, s32 id) {
    std::vector<Effect> out;
    for (const Effect& e : effects)
        if (e.id == id) out.push_back(e);
    return out;
}

// The starts of effect `id` that the dialogue driver's transcript holds, in order.
inline std::vector<Effect> transcript_effects(s32 id) {
    std::vector<Effect> out;
    for (const TranscriptEntry& e : dialog_transcript())
        if (e.kind == TRANSCRIPT_SOUND && e.id == id) out.push_back({e.id, e.number});
    return out;
}

// The record after paying each (growth index, amount) in order, each followed by `grow`; the
// record itself is left as it was.
inline PlayerRecord grown_by(const std::vector<std::pair<s32, s32>>& pays) {
    const PlayerRecord before = player_record;
    for (const auto& [index, amount] : pays) {
        growth_pool(index) += amount;
        grow(index);
    }
    const PlayerRecord after = player_record;
    player_record = before;
    return after;
}

// Expects the growth values and pools of these indices to be those of `want`.
inline void expect_growth(const PlayerRecord& want, std::initializer_list<s32> indices) {
    for (const s32 i : indices) {
        const PlayerRecord now = player_record;
        player_record = want;
        const s32 value = growth_value(i), pool = growth_pool(i);
        player_record = now;
        EXPECT_EQ(growth_value(i), value) << i;
        EXPECT_EQ(growth_pool(i), pool) << i;
    }
}
