// The sound channels on the headless sound fake: slot rules for effects, the music slot, ids
// outside the sound id space, silence without a sound device, and release on quit. Sounds are
// WAV tones in an archive built by the test; the fake lets each last as long as its data on the
// virtual clock.
#include "engine/mssw.h"

#include "engine/gisk.h"
#include "platform/harness.h"
#include "tools/arcbuild.h"
#include "tools/wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr u32 EFFECT_MS = 200;
constexpr u32 MUSIC_MS = 1000;
constexpr s32 MUSIC_A = 10000;
constexpr s32 MUSIC_B = 10001;
constexpr s32 EMPTY_ID = 10002; // no entry in the archive
// Entries that are no sound: an unknown format, and a 3.5 KB WAV whose data chunk declares
// 2.8 GB (as an effect and as music).
constexpr s32 BAD_FORMAT = 140;
constexpr s32 BAD_SIZE = 141;
constexpr s32 BAD_MUSIC = 10003;
// An index entry whose size field claims about 2 GB, far more than the archive holds.
constexpr s32 HUGE_ENTRY = 142;

std::vector<u8> tone(u32 ms) {
    return wav_tone(WavFormat{}, ms, 440);
}

std::vector<u8> unknown_format() {
    std::vector<u8> bytes(3000, 0x5A);
    std::copy_n("OggS", 4, bytes.begin());
    return bytes;
}

std::vector<u8> oversized_data() {
    std::vector<u8> wav = wav_encode(WavFormat{}, std::vector<u8>(3500, 0));
    for (size_t i = 12; i + 8 <= wav.size(); ++i)
        if (std::equal(wav.begin() + long(i), wav.begin() + long(i) + 4, "data")) {
            const u32 declared = 0xA6E49C00u; // 2.8 GB
            for (s32 k = 0; k < 4; ++k) wav[i + 4 + size_t(k)] = u8(declared >> (8 * k));
            break;
        }
    return wav;
}

// Effects 100..132, two music tracks, and entries just outside the sound id space on both sides.
class MsswTest : public ::testing::Test {
  protected:
    void SetUp() override { start(true); }
    void TearDown() override {
        mssw_reset();
        gisk_close();
    }

    void start(bool sound_available) {
        HarnessConfig config;
        config.sound_available = sound_available;
        harness_reset(config);
        mssw_reset();
        gisk_close();
        ArcBuilder builder;
        for (s32 id = 100; id <= 132; ++id) builder.put(ARC_SOUND_BASE + id, tone(EFFECT_MS));
        builder.put(ARC_SOUND_BASE + MUSIC_A, tone(MUSIC_MS));
        builder.put(ARC_SOUND_BASE + MUSIC_B, tone(MUSIC_MS));
        builder.put(ARC_SOUND_BASE + MSSW_MAX_SOUND_ID + 1, tone(EFFECT_MS));
        builder.put(ARC_SOUND_BASE - 1, tone(EFFECT_MS));
        builder.put(ARC_SOUND_BASE + BAD_FORMAT, unknown_format());
        builder.put(ARC_SOUND_BASE + BAD_SIZE, oversized_data());
        builder.put(ARC_SOUND_BASE + BAD_MUSIC, unknown_format());
        builder.put_raw_entry(ARC_SOUND_BASE + HUGE_ENTRY, 0xFFFFF000u, 0x7FFFFFF0);
        arc_write_chained(builder, dir_.path() + "/" + GISK_CHAINED_FILE);
        gisk_init();
        mssw_init();
        harness_sound_log_clear();
    }

    static size_t count_ops(const std::string& op) {
        size_t n = 0;
        for (const SoundCall& c : harness_sound_log()) n += c.op == op ? 1 : 0;
        return n;
    }
    static s32 slot_of(s32 id) {
        for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
            if (mssw_effect_ids[slot] == id) return slot;
        }
        return -1;
    }

    HarnessTempDir dir_;
};

TEST_F(MsswTest, InitialStateAndStartUp) {
    mssw_reset();
    EXPECT_EQ(mssw_enabled, 0);
    EXPECT_EQ(mssw_sfx_volume, 127);
    EXPECT_EQ(mssw_music_volume, 31);
    EXPECT_EQ(mssw_music_id, -1);
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) EXPECT_EQ(mssw_effect_ids[slot], -1);
    harness_sound_log_clear();
    EXPECT_EQ(mssw_init(), 1);
    EXPECT_EQ(mssw_enabled, 1);
    ASSERT_EQ(harness_sound_log().size(), 1u);
    EXPECT_EQ(harness_sound_log()[0].op, "startup");
}

TEST_F(MsswTest, EffectLoadsWithTheEffectVolumeAndPlays) {
    mssw_sfx_volume = 71;
    const s32 size = gisk_size_sound(105);
    mssw_play_sound(105, 1);
    const std::vector<SoundCall>& log = harness_sound_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].op, "load");
    EXPECT_EQ(log[0].arg, size);
    const u32 handle = log[0].handle;
    EXPECT_EQ(log[1].op, "volume");
    EXPECT_EQ(log[1].handle, handle);
    EXPECT_EQ(log[1].arg, 71);
    EXPECT_EQ(log[2].op, "play");
    EXPECT_EQ(log[2].arg, 1);
    EXPECT_EQ(mssw_effect_ids[0], 105);
    EXPECT_EQ(mssw_effect_handles[0], handle);
    ASSERT_NE(mssw_effect_buffers[0], nullptr);
    EXPECT_EQ(harness_wav_duration_ms(mssw_effect_buffers[0], size), EFFECT_MS);
    EXPECT_EQ(harness_sounds_live(), 1u);
}

TEST_F(MsswTest, PlayingEffectIsNotDoubledAndFinishedOneIsFreedByTheNextPlay) {
    mssw_play_sound(107, 1);
    mssw_play_sound(107, 1);
    EXPECT_EQ(count_ops("load"), 1u);
    EXPECT_EQ(slot_of(107), 0);
    EXPECT_EQ(mssw_effect_ids[1], -1);

    // Finished, it keeps its slot until some effect is started.
    harness_advance(EFFECT_MS);
    EXPECT_EQ(slot_of(107), 0);
    EXPECT_EQ(harness_sounds_live(), 1u);

    mssw_play_sound(108, 1); // frees 107's slot first, then takes the lowest free slot
    EXPECT_EQ(count_ops("halt"), 1u);
    EXPECT_EQ(slot_of(107), -1);
    EXPECT_EQ(slot_of(108), 0);
    EXPECT_EQ(harness_sounds_live(), 1u);

    mssw_play_sound(107, 1); // started anew
    EXPECT_EQ(slot_of(107), 1);
    EXPECT_EQ(count_ops("load"), 3u);
    EXPECT_EQ(harness_sounds_live(), 2u);
}

TEST_F(MsswTest, ThirtyThirdEffectIsDropped) {
    for (s32 id = 100; id < 132; ++id) mssw_play_sound(id, 1);
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot)
        EXPECT_EQ(mssw_effect_ids[slot], 100 + slot);
    harness_sound_log_clear();
    mssw_play_sound(132, 1);
    EXPECT_EQ(count_ops("load"), 0u);
    EXPECT_EQ(slot_of(132), -1);
    EXPECT_EQ(harness_sounds_live(), 32u);

    // Once they have finished, the 33rd finds room: all 32 are freed, it takes slot 0.
    harness_advance(EFFECT_MS);
    mssw_play_sound(132, 1);
    EXPECT_EQ(slot_of(132), 0);
    EXPECT_EQ(harness_sounds_live(), 1u);
}

TEST_F(MsswTest, StopByIdAndStopAll) {
    mssw_play_sound(100, 1);
    mssw_play_sound(101, 1);
    mssw_play_sound(102, 1);
    mssw_stop_all_sounds_by_id(101);
    EXPECT_EQ(slot_of(101), -1);
    EXPECT_EQ(mssw_effect_handles[1], 0u);
    EXPECT_EQ(mssw_effect_buffers[1], nullptr);
    EXPECT_EQ(harness_sounds_live(), 2u);

    harness_sound_log_clear();
    mssw_stop_all_sounds_by_id(MSSW_MAX_SOUND_ID + 1);
    mssw_stop_all_sounds_by_id(-1);
    EXPECT_TRUE(harness_sound_log().empty());

    mssw_stop_all();
    EXPECT_EQ(count_ops("halt"), 2u);
    EXPECT_EQ(harness_sounds_live(), 0u);
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        EXPECT_EQ(mssw_effect_ids[slot], -1);
        EXPECT_EQ(mssw_effect_buffers[slot], nullptr);
    }
}

TEST_F(MsswTest, IdsOutsideTheSoundSpaceNeverTakeASlot) {
    // Both entries exist in the archive, but a slot holding such an id could never be freed.
    mssw_play_sound(MSSW_MAX_SOUND_ID + 1, 1);
    mssw_play_sound(-1, 1);
    mssw_play_music(-1, 0);
    mssw_play_music(MSSW_MAX_SOUND_ID + 1, 0);
    EXPECT_EQ(count_ops("load"), 0u);
    EXPECT_EQ(mssw_music_id, -1);
    EXPECT_EQ(harness_sounds_live(), 0u);
}

TEST_F(MsswTest, MusicSlot) {
    mssw_music_volume = 63;
    mssw_play_music(MUSIC_A, 0); // loops for ever
    ASSERT_EQ(harness_sound_log().size(), 3u);
    EXPECT_EQ(harness_sound_log()[1].arg, 63);
    EXPECT_EQ(harness_sound_log()[2].arg, 0);
    EXPECT_EQ(mssw_music_id, MUSIC_A);
    ASSERT_NE(mssw_music_buffer, nullptr);
    harness_advance(10 * MUSIC_MS);
    EXPECT_EQ(mssw_music_playing(), 1);

    // The same music is not restarted; an empty entry keeps the current music.
    harness_sound_log_clear();
    mssw_play_music(MUSIC_A, 0);
    mssw_play_music(EMPTY_ID, 0);
    EXPECT_EQ(count_ops("load"), 0u);
    EXPECT_EQ(count_ops("halt"), 0u);
    EXPECT_EQ(mssw_music_id, MUSIC_A);

    // Another track replaces it; played once, it ends after its length.
    mssw_play_music(MUSIC_B, 1);
    EXPECT_EQ(count_ops("halt"), 1u);
    EXPECT_EQ(mssw_music_id, MUSIC_B);
    EXPECT_EQ(harness_sounds_live(), 1u);
    harness_advance(MUSIC_MS - 1);
    EXPECT_EQ(mssw_music_playing(), 1);
    harness_advance(1);
    EXPECT_EQ(mssw_music_playing(), 0);

    // Finished, it is still not restarted by its own id.
    harness_sound_log_clear();
    mssw_play_music(MUSIC_B, 1);
    EXPECT_EQ(count_ops("load"), 0u);
    EXPECT_EQ(mssw_music_id, MUSIC_B);

    mssw_stop_music();
    EXPECT_EQ(mssw_music_id, -1);
    EXPECT_EQ(mssw_music_handle, 0u);
    EXPECT_EQ(mssw_music_buffer, nullptr);
    EXPECT_EQ(mssw_music_playing(), 0);
    EXPECT_EQ(harness_sounds_live(), 0u);
}

TEST_F(MsswTest, EntriesThatAreNoSoundNeverReachTheSoundLayerAndAreRemembered) {
    mssw_play_music(MUSIC_A, 0);
    harness_sound_log_clear();
    for (s32 round = 0; round < 3; ++round) {
        mssw_play_sound(BAD_FORMAT, 1);
        mssw_play_sound(BAD_SIZE, 1);
        mssw_play_music(BAD_MUSIC, 0); // the current music goes on
    }
    EXPECT_EQ(count_ops("load"), 0u);
    EXPECT_EQ(count_ops("halt"), 0u);
    EXPECT_EQ(mssw_music_id, MUSIC_A);
    EXPECT_EQ(slot_of(BAD_FORMAT), -1);
    EXPECT_EQ(slot_of(BAD_SIZE), -1);
    for (s32 id : {BAD_FORMAT, BAD_SIZE, BAD_MUSIC}) EXPECT_EQ(mssw_failed[id], 1) << id;
    // A size field larger than the archive is refused before anything is allocated or read.
    EXPECT_EQ(harness_fatal_message([] { mssw_play_sound(HUGE_ENTRY, 1); }), "");
    EXPECT_EQ(mssw_failed[HUGE_ENTRY], 1);
    mssw_play_sound(100, 1);
    EXPECT_EQ(count_ops("load"), 1u);
    EXPECT_EQ(mssw_failed[100], 0);
    // A new start of the sound layer forgets the failures.
    mssw_init();
    EXPECT_EQ(mssw_failed[BAD_FORMAT], 0);
}

TEST_F(MsswTest, QuitHaltsAndFreesEverything) {
    mssw_play_sound(100, 1);
    mssw_play_sound(101, 1);
    mssw_play_music(MUSIC_A, 0);
    harness_sound_log_clear();
    mssw_quit();
    EXPECT_EQ(count_ops("halt"), 3u);
    ASSERT_FALSE(harness_sound_log().empty());
    EXPECT_EQ(harness_sound_log().back().op, "shutdown");
    EXPECT_EQ(harness_sounds_live(), 0u);
    EXPECT_EQ(mssw_music_id, -1);
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        EXPECT_EQ(mssw_effect_ids[slot], -1);
        EXPECT_EQ(mssw_effect_buffers[slot], nullptr);
    }
    EXPECT_EQ(mssw_enabled, 1); // keeps its value
}

TEST_F(MsswTest, SilentWithoutASoundDevice) {
    start(false);
    EXPECT_EQ(mssw_enabled, 0);
    mssw_play_sound(100, 1);
    mssw_play_music(MUSIC_A, 0);
    EXPECT_EQ(mssw_music_playing(), 0);
    mssw_stop_all_sounds_by_id(100);
    mssw_stop_all();
    mssw_stop_music();
    mssw_quit();
    EXPECT_TRUE(harness_sound_log().empty()); // not even a shutdown
    EXPECT_EQ(mssw_music_id, -1);
    EXPECT_EQ(mssw_effect_ids[0], -1);
}

} // namespace
