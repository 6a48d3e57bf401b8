// The test harness's starts leave nothing of an earlier test behind: the run of the whole suite in
// one shuffled process leans on it.
#include "engine/dialog.h"
#include "engine/kanji_print.h"
#include "engine/math.h"
#include "engine/text.h"
#include "engine/transcript.h"
#include "game/hub_seams.h"
#include "game/state.h"
#include "platform/harness.h"
#include "tests/world_harness.h"
#include "tools/arcbuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

s32 stray_observer(const TranscriptEntry&) {
    return TRANSCRIPT_RUN;
}
void stray_meal_screen() {}

struct Words {
    s32 text_scrambled, kanji_spacing, kanji_line_chars, text_reveal_limit, menu_highlight_colour;
    s32 first_draw;
    bool operator==(const Words&) const = default;
};
// The words now, and the first number the generator would draw (the generator itself is left as
// it was).
Words words_now() {
    const u32 state = rt_rand_state;
    const s32 counter = rand_counter;
    const s32 draw = rand_below(1 << 30);
    rt_rand_state = state;
    rand_counter = counter;
    return {text_scrambled,    kanji_spacing,         kanji_line_chars,
            text_reveal_limit, menu_highlight_colour, draw};
}

// What a test may leave behind: every saved record dirty, its observer installed, a number drawn,
// the text words and a menu colour changed, a hub seam replaced.
void leave_traces() {
    for (const StateBlock& s : state_blocks) std::memset(s.data, 0x5A, s.size);
    transcript_observer = stray_observer;
    transcript_draws = true;
    text_scrambled = 0;
    kanji_spacing = 7;
    kanji_line_chars = 9;
    text_reveal_limit = 3;
    menu_highlight_colour = 1;
    rand_below(100);
    meal_screen_seam = stray_meal_screen;
}

} // namespace

TEST(HarnessReset, EveryStartClearsWhatAnEarlierTestLeft) {
    HarnessTempDir dir;
    ArcBuilder b;
    arc_put_placeholder_content(b);
    world_start(b);
    const Words start_words = words_now();
    for (bool world : {false, true}) {
        SCOPED_TRACE(world ? "world_start" : "engine_start");
        leave_traces();
        if (world)
            world_start(b);
        else
            engine_start(b);
        for (const StateBlock& s : state_blocks) {
            const u8* bytes = static_cast<const u8*>(s.data);
            EXPECT_TRUE(std::all_of(bytes, bytes + s.size, [](u8 x) { return x == 0; })) << s.name;
        }
        EXPECT_EQ(transcript_observer, nullptr);
        EXPECT_FALSE(transcript_draws);
        EXPECT_EQ(words_now(), start_words);
        EXPECT_NE(meal_screen_seam, &stray_meal_screen);
    }
    world_stop();
}
