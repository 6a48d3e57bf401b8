// Fuzz target for sound entries through the real loading path: the input is the bytes of one
// sound entry, put into a small chained archive as an effect and as a music track, and played
// through the sound channels (`mssw_play_sound`, `mssw_play_music`): the entry check, then the
// platform's sound loader. Built with the SDL backend (SOUND_FUZZ_SDL), the loader is
// SDL_mixer's on SDL's dummy audio driver, so every entry the check lets through is decoded and
// converted for the device for real; otherwise it is the headless backend's recording fake.
// Both entries are played again after the first try, so an entry that failed must not reach the
// loader twice. Crashes, sanitizer reports, leaks and oversized allocations are bugs.
//
// Seeds: fuzz/seeds/sound_fuzz_seeds.cpp.
#include "engine/gisk.h"
#include "engine/mssw.h"
#include "engine/wav_check.h"
#include "platform/platform.h"
#include "tools/arcbuild.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if SOUND_FUZZ_SDL
#include <unistd.h>
#else
#include "platform/harness.h"
#endif

namespace {

constexpr s32 EFFECT_ID = 700;
constexpr s32 MUSIC_ID = 10700;
constexpr size_t FUZZ_MAX_ENTRY = 1 << 20;

#if SOUND_FUZZ_SDL
char work_dir[] = "/tmp/sound_fuzz.XXXXXX";

// The archive and the working directory go when the run ends.
void remove_work_dir() {
    gisk_close();
    std::remove((std::string(work_dir) + "/" + GISK_CHAINED_FILE).c_str());
    rmdir(work_dir);
}
#endif

void start_once() {
    static bool started = false;
    if (started) return;
    started = true;
#if SOUND_FUZZ_SDL
    // A working directory of its own for the archive, and SDL's audio without a device.
    if (!mkdtemp(work_dir) || chdir(work_dir) != 0) __builtin_trap();
    std::atexit(remove_work_dir);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
#else
    static HarnessTempDir dir;
    HarnessConfig c;
    c.sound_available = true;
    harness_reset(c);
#endif
    if (!mssw_init()) __builtin_trap(); // the dummy driver always starts
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    if (size > FUZZ_MAX_ENTRY) return 0;
    start_once();
    const std::vector<u8> entry(data, data + size);
    ArcBuilder builder;
    builder.put(u32(ARC_SOUND_BASE + EFFECT_ID), entry);
    builder.put(u32(ARC_SOUND_BASE + MUSIC_ID), entry);
    gisk_close();
    arc_write_chained(builder, GISK_CHAINED_FILE);
    gisk_init();

    std::memset(mssw_failed, 0, sizeof mssw_failed);
    const bool sound = size > 0 && wav_check(data, s32(size)) == 1;
    for (s32 round = 0; round < 2; ++round) {
        mssw_play_sound(EFFECT_ID, 1);
        mssw_play_music(MUSIC_ID, round);
        // An entry that is no sound takes no slot; one that is not empty is remembered as failed.
        if (!sound && (mssw_effect_ids[0] != -1 || mssw_music_id != -1 ||
                       (size > 0 && (!mssw_failed[EFFECT_ID] || !mssw_failed[MUSIC_ID]))))
            __builtin_trap();
        mssw_music_playing();
    }
    mssw_stop_all();
    mssw_stop_music();
#if !SOUND_FUZZ_SDL
    harness_sound_log_clear();
#endif
    return 0;
}
