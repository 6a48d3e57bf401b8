// A fixture for the battle: the engine on the placeholder content with short music tracks for the
// battle (10000, 10066, 10002), the victory (10001) and a track to come back to (10050), the
// tables every start rebuilds, a new game's state, and helpers that write encounter line-ups.
#pragma once
#include "battle/battle.h"
#include "battle/battle_setup.h"
#include "data/battle_tables.h"
#include "data/roster.h"
#include "engine/anim.h"
#include "engine/mssw.h"
#include "game/game_start.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <initializer_list>

constexpr s32 TEST_MUSIC_BEFORE = 10050;
constexpr s32 TEST_VICTORY_MS = 300;

class BattleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        if (with_victory_track()) world_put_tracks(b, {10001}, TEST_VICTORY_MS, 440);
        world_put_tracks(b, {10000, 10002, 10066, TEST_MUSIC_BEFORE}, 1000);
        world_start(b, harness_settings());
        anim_reset();
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
        player_record.music_id = TEST_MUSIC_BEFORE;
        mssw_play_music(TEST_MUSIC_BEFORE, 0);
        battle_run_seam = battle_run;
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    virtual HarnessConfig harness_settings() const { return {}; }
    virtual bool with_victory_track() const { return true; }

    // Writes a line-up into encounter `e`: own side (entry 0 first), opponents, every cell random.
    static void line_up(s32 e, std::initializer_list<s32> own, std::initializer_list<s32> opponents,
                        s32 round_limit = -1) {
        EncounterRecord& r = encounters[e];
        r.round_limit = round_limit;
        for (s32 i = 0; i < ENCOUNTER_FIGHTERS; ++i) r.fighter[i] = r.col[i] = r.row[i] = -1;
        s32 i = 0;
        for (const s32 id : own) r.fighter[i++] = id;
        i = ENCOUNTER_SIDE;
        for (const s32 id : opponents) r.fighter[i++] = id;
    }
    static void place(s32 e, s32 slot, s32 col, s32 row) {
        encounters[e].col[slot] = col;
        encounters[e].row[slot] = row;
    }
    // Every fighter loses its turns: the round loop runs without a blow.
    static void stun_all() {
        for (BattleSlot& s : battle_slots) s.stunned = 1000;
    }
    // The protagonist is played by the computer (weapon 1466).
    static void computer_protagonist() { player_record.equip[0] = 1466 - EQUIP_BASE[0]; }

    HarnessTempDir dir;
};
