#include "tests/episode_protocol.h"

#include "calendar/event_pools.h"
#include "calendar/launchers.h"
#include "calendar/pool_b_events.h"
#include "game/player.h"
#include "game/scenes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::vector<EpisodeProtocol>& table() {
    static const std::vector<EpisodeProtocol> rows = {
        {44, calendar_event_044, {scene_play_044}, {{88, {1, 2}}}},
        {203, calendar_event_203, {scene_play_203}, {{17, {1, 2, 3}}, {24, {1}}}},
        {221, calendar_event_221, {scene_play_221}, {}},
        {192, calendar_event_192, {scene_play_192}, {{96, {1, 2}}}},
        {190, calendar_event_190, {scene_play_190}, {{98, {1, 2}}, {95, {1}}, {97, {1}}}},
        {129,
         calendar_event_129,
         {scene_play_129_1, scene_play_129_2},
         {{93, {1, 2, 3}}, {94, {1, 2}}}},
        {193, calendar_event_193, {scene_play_193}, {{90, {1, 2, 3}}}},
        {191, calendar_event_191, {scene_play_191}, {{91, {1, 2, 3, 5}}}},
        {143, calendar_event_143, {scene_play_143}, {{15, {1}}}},
        {201, calendar_event_201, {scene_play_201}, {{4, {1, 2, 3, 5}}}},
        {196, calendar_event_196, {scene_play_196}, {{85, {1, 2, 3}}}},
        {198, calendar_event_198, {scene_play_198}, {{80, {1, 2}}}},
        // The launcher of 199 stores 1 before the scene; its scripts store 2.
        {199, nullptr, {scene_play_199}, {{61, {2}}}},
        {194, calendar_event_194, {scene_play_194}, {{89, {1, 2}}}},
        {135, calendar_event_135, {scene_play_135}, {{81, {1, 2, 3}}}},
        {195, nullptr, {scene_play_195}, {{86, {1, 2}}}},
        {197, calendar_event_197, {scene_play_197}, {{77, {1, 2, 3}}}},
        {222, calendar_event_222, {scene_play_222}, {{84, {1, 2}}}},
    };
    return rows;
}

// Every outcome flag of the table, in ascending order.
std::vector<s32> outcome_flags() {
    std::set<s32> flags;
    for (const EpisodeProtocol& e : table())
        for (const EpisodeFlag& f : e.flags) flags.insert(f.flag);
    return {flags.begin(), flags.end()};
}

} // namespace

std::span<const EpisodeProtocol> episode_protocols() {
    return table();
}

const EpisodeProtocol* episode_protocol(s32 launcher_slot) {
    for (const EpisodeProtocol& e : table())
        if (e.launcher_slot == launcher_slot) return &e;
    ADD_FAILURE() << "no map episode has launcher slot " << launcher_slot;
    return nullptr;
}

std::vector<s32> episode_outcomes_now() {
    std::vector<s32> values;
    for (const s32 flag : outcome_flags()) values.push_back(player_record.story_flags[flag]);
    return values;
}

void expect_episode_outcome(s32 launcher_slot, const std::vector<s32>& before) {
    const EpisodeProtocol* e = episode_protocol(launcher_slot);
    if (e == nullptr) return;
    const std::vector<s32> flags = outcome_flags();
    ASSERT_EQ(before.size(), flags.size()) << "take `before` with episode_outcomes_now()";
    for (size_t i = 0; i < flags.size(); ++i) {
        const s32 flag = flags[i], now = player_record.story_flags[flag];
        const auto own = std::find_if(e->flags.begin(), e->flags.end(),
                                      [flag](const EpisodeFlag& f) { return f.flag == flag; });
        if (own == e->flags.end()) {
            EXPECT_EQ(now, before[i]) << "episode " << launcher_slot << " changed the outcome flag "
                                      << flag << " of another episode";
            continue;
        }
        const bool listed =
            std::find(own->values.begin(), own->values.end(), now) != own->values.end();
        EXPECT_TRUE(listed || now == before[i])
            << "episode " << launcher_slot << " stored " << now << " in flag " << flag;
    }
}
