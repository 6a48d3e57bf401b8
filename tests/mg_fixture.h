// A fixture for mini-games played headless: the engine on the placeholder content with short
// music tracks, a new game's state, the caller's music playing, the clock at 8:00, and an
// observer that keeps the draws and prints of the frame being built and every sound and music
// start. A present hook reads the frame's draws and clears them.
#pragma once
#include "engine/math.h"
#include "engine/mssw.h"
#include "engine/transcript.h"
#include "engine/world_state.h"
#include "game/game_start.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/mg_checks.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <vector>

constexpr s32 MG_MUSIC_BEFORE = 10050;

// One image drawn or text printed: its id and where.
struct MgDrawn {
    s32 id, x, y;
    bool operator==(const MgDrawn&) const = default;
    bool operator<(const MgDrawn& o) const { return std::tie(id, x, y) < std::tie(o.id, o.x, o.y); }
};

inline std::vector<MgDrawn> mg_frame_draws;
inline std::vector<MgDrawn> mg_frame_prints;
inline std::vector<Effect> mg_sounds;
inline std::vector<s32> mg_musics;

inline s32 mg_observe(const TranscriptEntry& e) {
    if (e.kind == TRANSCRIPT_DRAW) mg_frame_draws.push_back({e.id, e.x, e.y});
    if (e.kind == TRANSCRIPT_PRINT) mg_frame_prints.push_back({e.text[0], e.x, e.y});
    if (e.kind == TRANSCRIPT_SOUND) mg_sounds.push_back({e.id, e.number});
    if (e.kind == TRANSCRIPT_MUSIC) mg_musics.push_back(e.id);
    return TRANSCRIPT_RUN;
}

// The draws with ids lo..hi, in order.
inline std::vector<MgDrawn> mg_drawn_in(s32 lo, s32 hi,
                                        const std::vector<MgDrawn>& draws = mg_frame_draws) {
    std::vector<MgDrawn> out;
    for (const MgDrawn& d : draws)
        if (d.id >= lo && d.id <= hi) out.push_back(d);
    return out;
}

inline std::vector<MgDrawn> mg_sorted(std::vector<MgDrawn> v) {
    std::sort(v.begin(), v.end());
    return v;
}

inline s32 mg_inv_count(s32 item) {
    s32 n = 0;
    for (const InventoryEntry& e : player_record.inventory)
        if (e.item == item) n += e.count;
    return n;
}

inline s32 mg_clock_minutes() {
    return world_state.hour * 60 + world_state.minute;
}

class MinigameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        std::vector<s32> tracks = music_tracks();
        tracks.push_back(MG_MUSIC_BEFORE);
        for (const s32 id : tracks) world_put_tracks(b, {id}, 1000);
        world_start(b, harness_settings());
        game_tables_init();
        game_new_world();
        player_record.music_id = MG_MUSIC_BEFORE;
        mssw_play_music(MG_MUSIC_BEFORE, 0);
        world_state.hour = 8;
        world_state.minute = 0;
        mg_frame_draws.clear();
        mg_frame_prints.clear();
        mg_sounds.clear();
        mg_musics.clear();
        transcript_observer = mg_observe;
        transcript_draws = true;
    }
    void TearDown() override {
        harness_on_present(nullptr);
        transcript_draws = false;
        transcript_observer = nullptr;
        world_stop();
    }
    // The game's own music tracks.
    virtual std::vector<s32> music_tracks() const { return {}; }
    virtual HarnessConfig harness_settings() const {
        HarnessConfig c;
        c.budget_presents = 20000; // a game that never ends fails instead of hanging
        return c;
    }
    HarnessTempDir dir;
};
