// A fixture for the calendar hub and its screens: the engine on the placeholder content, the
// tables every start rebuilds, a new game's state (without the name entry), every hub seam at its
// default, and the dialogue driver in transcript mode.
#pragma once
#include "game/game_start.h"
#include "game/hub_seams.h"
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
        world_start(b); // clears every saved record (state_reset)
        hub_seams_reset();
        game_tables_init();
        game_new_world();
        dialog_transcript_mode();
    }
    void TearDown() override {
        dialog_driver_stop();
        hub_seams_reset();
        world_stop();
    }
    HarnessTempDir dir;
};
