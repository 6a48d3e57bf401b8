// A fixture for the game rules: the engine on the placeholder content, a new player record, and
// the dialogue driver in transcript mode so tests read log lines and sounds as text.
#pragma once
#include "game/player.h"
#include "platform/harness.h"
#include "tests/dialog_driver.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ArcBuilder b;
        arc_put_placeholder_content(b);
        world_start(b);
        init_player();
        dialog_transcript_mode();
    }
    void TearDown() override {
        dialog_driver_stop();
        world_stop();
    }
    HarnessTempDir dir;
};
