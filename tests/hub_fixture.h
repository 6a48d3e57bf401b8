// A fixture for the calendar hub and its screens: the engine on the placeholder content, the
// tables every start rebuilds, a new game's state (without the name entry), the save index hook
// as the game installs it, every hub seam at its default, and the dialogue driver in transcript
// mode. A suite may widen the harness settings or add archive content through the two hooks.
#pragma once
#include "data/schedule.h"
#include "game/game_start.h"
#include "game/hub_seams.h"
#include "game/save.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

class HubTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        add_content(b);
        world_start(b, harness_settings()); // clears every saved record (state_reset)
        hub_seams_reset();
        hub_clear_save_index_seam = save_index_clear;
        save_index_clear();
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
    }
    void TearDown() override {
        dialog_driver_stop();
        hub_seams_reset();
        save_index_clear();
        world_stop();
    }
    virtual HarnessConfig harness_settings() const { return {}; }
    virtual void add_content(ArcBuilder&) const {}
    HarnessTempDir dir;
};

// The menus over the title picture and the dashboard: a shorter budget, so a menu left waiting
// for a click fails instead of hanging, and a plain map for the loads that put the player back.
class HubMenuTest : public HubTest {
  protected:
    HarnessConfig harness_settings() const override {
        HarnessConfig c;
        c.budget_ms = 120'000;
        return c;
    }
    void add_content(ArcBuilder& b) const override {
        world_put_map(b, 1, 640, 480, [](s32, s32) { return WORLD_GROUND; });
    }
};
