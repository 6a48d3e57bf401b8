// The game-over screen (its deaf first second, the line on the first press, the end on the second
// with the exit code left alone) and the player's script of the open world.
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/world/events.h"
#include "engine/world/object.h"
#include "engine/world/staging.h"
#include "game/info_screen.h"
#include "platform/harness.h"
#include "scripts/openworld/game_over.h"
#include "scripts/scripts_register.h"
#include "tests/dialog_driver.h"
#include "tests/script_harness.h"
#include "tests/world_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class GameOver : public ScriptTest {};

size_t entries(TranscriptKind kind, s32 id) {
    const std::vector<TranscriptEntry>& t = dialog_transcript();
    return size_t(std::count_if(t.begin(), t.end(), [=](const TranscriptEntry& e) {
        return e.kind == kind && (kind == TRANSCRIPT_PRINT ? e.text[0] : e.id) == id;
    }));
}

// Presses timed from the end of the picture's fade-in (its FADE_STEPS presents after the draw):
// one in the first second (dropped), one that shows the line, one that quits. Had the first been
// taken, the second would quit and the third would be left over.
s32 presents_since_picture = -1;
void press_after_the_fade_in() {
    if (presents_since_picture < 0 && entries(TRANSCRIPT_DRAW, GAME_OVER_PICTURE) > 0)
        presents_since_picture = 0;
    if (presents_since_picture >= 0 && ++presents_since_picture == FADE_STEPS) {
        const u64 faded = harness_elapsed_ms();
        for (const u64 after : {400u, 1600u, 3000u})
            harness_click(320, 240, 1, at_time(faded + after));
        return;
    }
    world_after_presents(0, press_after_the_fade_in);
}

TEST_F(GameOver, TheFirstSecondIsDeafThenOnePressShowsTheLineAndTheNextQuits) {
    dialog_record_draws(true);
    presents_since_picture = -1;
    world_after_presents(0, press_after_the_fade_in);
    const ShEnd end = sh_expect_end([] { game_over(); });
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.exit_code, 0) << "the game over starts no follow-up program";
    EXPECT_FALSE(end.hand_over);
    EXPECT_EQ(presents_since_picture, FADE_STEPS);
    harness_pump();
    EXPECT_EQ(harness_pending_input(), 0u) << "a press was left: the first second took one";
    EXPECT_EQ(entries(TRANSCRIPT_MUSIC, GAME_OVER_MUSIC), 1u);
    EXPECT_EQ(entries(TRANSCRIPT_DRAW, GAME_OVER_PICTURE), 1u);
    EXPECT_EQ(entries(TRANSCRIPT_PRINT, GAME_OVER_TEXT), 1u);
}

// Slot 1300 is the player's script: the screen opens on a click only, slot 1 is written only when
// the screen asked for it, the "saved" line follows only a written save, and both request words
// and the click are cleared on every run.
TEST_F(GameOver, ThePlayersScriptSavesOnRequestAndLogsOnlyAWrittenSave) {
    scripts_register_all();
    struct Case {
        const char* what;
        s32 trigger;
        bool asks_save;
        s32 save_result;
        Lines calls;
        Lines lines;
    };
    const Case cases[] = {
        {"a click, screen closed", TRIG_CLICK, false, 1, {"info_screen 0"}, {}},
        {"a click, saved", TRIG_CLICK, true, 1, {"info_screen 0", "save 1"}, {"log 332"}},
        {"a click, the save failed", TRIG_CLICK, true, 0, {"info_screen 0", "save 1"}, {}},
        {"the timer", TRIG_TIMER, false, 1, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sh_object(0, {.x = 400, .y = 400, .slot = OPEN_WORLD_PLAYER_EVENT, .click = true});
        sh_save_result(c.save_result);
        sh_on_call("info_screen", [&c] {
            info_save_request = c.asks_save ? 1 : 0;
            info_load_slot = 3;
        });
        sh_clear_calls();
        sh_clear_lines();
        click_kind = 1;
        sh_fire(0, c.trigger);
        EXPECT_EQ(sh_calls(), c.calls);
        EXPECT_EQ(sh_only(sh_lines(), {"log"}), c.lines);
        EXPECT_EQ(info_save_request, 0);
        EXPECT_EQ(info_load_slot, 0);
        EXPECT_EQ(click_kind, 0);
    }
}

} // namespace
