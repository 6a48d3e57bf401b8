// The finale of the city episode on the script harness: the whole talk by the player's growth
// value 30 at the threshold, the performance paced by a test track of known length (and none with
// the sound off), and where the finale leaves the player, the performer and the director.
#include "scripts/towns/city_finale.h"

#include "engine/mssw.h"
#include "engine/world/object.h"
#include "engine/world_state.h"
#include "game/player.h"
#include "platform/harness.h"
#include "tests/frames_shown.h"
#include "tests/script_harness.h"
#include "tools/arcbuild.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

constexpr s32 PERFORMER = CITY_FINALE_PERFORMER;
constexpr s32 DIRECTOR = 1097;
constexpr u32 PIECE_MS = 4000;

class CityFinale : public ScriptTest {
  protected:
    void SetUp() override {
        sh_start([](ArcBuilder& b) {
            const auto ground = [](s32, s32) { return WORLD_GROUND; };
            world_put_map(b, 211, 640, 480, ground, 400);
            world_put_map(b, 227, 2048, 2048, ground, 400);
            b.put(ARC_SOUND_BASE + CITY_FINALE_PIECE, wav_tone(WavFormat{}, PIECE_MS, 440));
        });
        reset();
    }
    // The performer and the director as a new game makes them, the director shown, the player in
    // the city during the episode.
    static void reset() {
        init_player();
        const s32 objects[] = {PERFORMER, DIRECTOR};
        sh_populate(objects);
        attr_set(DIRECTOR, ATTR_ACTIVE, 1);
        sh_player(400, 300); // somewhere in the city
        world_state.field_active = 1;
    }
    // Plays the finale; returns the performer's frames in the order they were shown.
    static std::vector<s32> play() {
        std::vector<s32> shown;
        s32 last = obj_get_frame(PERFORMER);
        harness_on_present([&](const u16*, u64) {
            const s32 f = obj_get_frame(PERFORMER);
            if (f != last) shown.push_back(f);
            last = f;
        });
        city_finale();
        harness_on_present({});
        return shown;
    }
};

TEST_F(CityFinale, TheTalkTakesTheLongerWordingFromGrowth70) {
    for (const s32 growth : {69, 70}) {
        SCOPED_TRACE("growth " + std::to_string(growth));
        reset();
        player_record.attr[CITY_FINALE_GROWTH] = growth;
        sh_clear_lines();
        play();
        const bool longer = growth >= 70;
        Lines want = {sh_box(2, 1000, 25600),
                      sh_box(2, 1000, 25601),
                      sh_box(2, 1234, 33090),
                      sh_box(2, 1000, 33091),
                      sh_box(2, 1000, longer ? 33093 : 33094),
                      sh_box(3, 1234, 33095)};
        if (longer) {
            want.push_back(sh_box(2, 1000, 33096));
            want.push_back(sh_box(2, 1000, 33097));
        }
        for (s32 t = 33098; t <= 33108; ++t)
            want.push_back(sh_box(t % 2 ? 3 : 2, t % 2 ? 1234 : 1000, t));
        for (const s32 t : {33111, 33112, 33113, 33114})
            want.push_back(sh_box(t == 33112 ? 3 : 2, t == 33112 ? 1234 : 1000, t));
        EXPECT_EQ(sh_only(sh_lines(), {"say"}), want);
    }
}

TEST_F(CityFinale, ThePerformanceCyclesItsFramesWhileThePiecePlays) {
    ASSERT_EQ(mssw_enabled, 1);
    const std::vector<s32> shown = play();
    // A step starts while the piece plays, every 300 ms: about length / 300 steps.
    EXPECT_NEAR(double(shown.size()), double(PIECE_MS) / CITY_FINALE_STEP_MS, 1.0);
    ASSERT_GT(shown.size(), 11u); // past one wrap
    EXPECT_EQ(shown.front(), CITY_FINALE_FIRST_FRAME);
    for (size_t i = 1; i < shown.size(); ++i) {
        const s32 want =
            shown[i - 1] == CITY_FINALE_LAST_FRAME ? CITY_FINALE_FIRST_FRAME : shown[i - 1] + 2;
        EXPECT_EQ(shown[i], want) << i;
    }
    // The episode is over: the player in the hall, the performer and the director hidden.
    EXPECT_EQ(world_state.field_active, 0);
    EXPECT_EQ(attr_get(0, ATTR_MAP), 227);
    EXPECT_EQ(attr_get(PERFORMER, ATTR_ACTIVE), 0);
    EXPECT_EQ(attr_get(DIRECTOR, ATTR_ACTIVE), 0);
}

TEST_F(CityFinale, WithTheSoundOffThePerformanceShowsNothing) {
    const s32 enabled = mssw_enabled;
    mssw_enabled = 0; // as after a failed start of the sound layer
    const std::vector<s32> shown = play();
    mssw_enabled = enabled;
    EXPECT_EQ(shown, std::vector<s32>{});
    EXPECT_EQ(world_state.field_active, 0);
}

TEST(CityFinalePlaceholders, EveryFrameTheFinaleShowsHasAPicture) {
    const FramesShown shown = frames_shown(city_finale_frames);
    EXPECT_GT(shown.count, 0u);
    EXPECT_EQ(shown.missing, std::vector<s32>{});
}

} // namespace
