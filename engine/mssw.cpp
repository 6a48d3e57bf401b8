#include "engine/mssw.h"

#include "engine/gisk.h"
#include "engine/shell.h"
#include "engine/transcript.h"
#include "engine/wav_check.h"
#include "platform/platform.h"

#include <cstdlib>
#include <cstring>
#include <memory>

s32 mssw_enabled = 0;
s32 mssw_effect_ids[MSSW_EFFECT_SLOTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
u32 mssw_effect_handles[MSSW_EFFECT_SLOTS] = {};
u8* mssw_effect_buffers[MSSW_EFFECT_SLOTS] = {};
s32 mssw_music_id = -1;
u32 mssw_music_handle = 0;
u8* mssw_music_buffer = nullptr;
s32 mssw_sfx_volume = 127;
s32 mssw_music_volume = 31;
u8 mssw_failed[MSSW_MAX_SOUND_ID + 1] = {};

namespace {

struct FreeDeleter {
    void operator()(u8* p) const { std::free(p); }
};
using SoundBuffer = std::unique_ptr<u8, FreeDeleter>;

bool sound_id_valid(s32 id) {
    return id >= 0 && id <= MSSW_MAX_SOUND_ID;
}

// A heap copy of the sound's archive entry, or null when it cannot be allocated or is not a
// sound the sound layer may be given (then it is remembered as failed). The buffer is owned until
// it is handed to a slot, so a fatal archive read leaves nothing behind.
SoundBuffer load_sound_copy(s32 sound_id, s32 size) {
    // A size field larger than the whole archive is damage: no allocation is sized by it.
    if (u64(size) > gisk_archive_size()) {
        mssw_failed[sound_id] = 1;
        return nullptr;
    }
    SoundBuffer buffer(static_cast<u8*>(std::malloc(static_cast<size_t>(size))));
    if (!buffer) return buffer;
    gisk_load_sound(sound_id, buffer.get());
    if (!wav_check(buffer.get(), size)) {
        mssw_failed[sound_id] = 1;
        buffer.reset();
    }
    return buffer;
}

// The sound layer's handle for the checked copy; 0 (remembered as failed) when it refuses it.
u32 load_handle(s32 sound_id, const SoundBuffer& buffer, s32 size) {
    const u32 handle = plat_snd_load_mem(buffer.get(), size);
    if (handle == 0) mssw_failed[sound_id] = 1;
    return handle;
}

// Frees every buffer and empties every slot without calling the sound layer.
void release_slots() {
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        std::free(mssw_effect_buffers[slot]);
        mssw_effect_buffers[slot] = nullptr;
        mssw_effect_handles[slot] = 0;
        mssw_effect_ids[slot] = -1;
    }
    std::free(mssw_music_buffer);
    mssw_music_buffer = nullptr;
    mssw_music_handle = 0;
    mssw_music_id = -1;
}

} // namespace

s32 mssw_init() {
    debug_log("mssw i in");
    std::memset(mssw_failed, 0, sizeof mssw_failed);
    if (plat_snd_startup()) {
        mssw_enabled = 1;
        debug_log("mssw passed");
    }
    return mssw_enabled;
}

void mssw_quit() {
    mssw_stop_all();
    mssw_stop_music();
    debug_log("mssw q in");
    if (mssw_enabled) {
        plat_snd_shutdown();
        debug_log("mssw q is passed");
    }
    // Whatever the stops could not reach (sound off) is released too: nothing outlives quit.
    release_slots();
}

void mssw_play_sound(s32 sound_id, s32 loop_count) {
    if (transcript_observer) transcript_sound(TRANSCRIPT_SOUND, sound_id, loop_count);
    if (!mssw_enabled) return;
    // Outside the id space a slot could never be freed again (the stop ignores such ids).
    if (!sound_id_valid(sound_id)) return;
    const s32 size = gisk_size_sound(sound_id);
    if (size <= 0 || mssw_failed[sound_id]) return; // no sound: an empty or a failed entry

    // A finished effect keeps its slot until the next effect starts: free those now.
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        if (mssw_effect_ids[slot] != -1 && plat_snd_status(mssw_effect_handles[slot]) == 1) {
            mssw_stop_all_sounds_by_id(mssw_effect_ids[slot]);
        }
    }
    s32 free_slot = -1;
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        if (mssw_effect_ids[slot] == sound_id) return; // still playing: not restarted
        if (mssw_effect_ids[slot] == -1 && free_slot == -1) free_slot = slot;
    }
    if (free_slot == -1) return; // every slot busy: the effect is dropped

    SoundBuffer buffer = load_sound_copy(sound_id, size);
    if (!buffer) return;
    const u32 handle = load_handle(sound_id, buffer, size);
    if (handle == 0) return; // not a sound the layer can play: skipped like an empty entry
    mssw_effect_ids[free_slot] = sound_id;
    mssw_effect_handles[free_slot] = handle;
    mssw_effect_buffers[free_slot] = buffer.release();
    plat_snd_set_volume(handle, mssw_sfx_volume);
    plat_snd_play(handle, loop_count);
}

void mssw_play_music(s32 music_id, s32 loop_count) {
    if (transcript_observer) transcript_sound(TRANSCRIPT_MUSIC, music_id, loop_count);
    if (!mssw_enabled) return;
    // -1 marks the empty slot, so music under a negative id could never be stopped.
    if (!sound_id_valid(music_id)) return;
    const s32 size = gisk_size_sound(music_id);
    if (size <= 0 || mssw_failed[music_id]) return; // the current music goes on
    if (music_id == mssw_music_id) return;

    // An entry that is no sound leaves the current music playing, as an empty one does.
    SoundBuffer buffer = load_sound_copy(music_id, size);
    if (!buffer) return;
    if (mssw_music_id != -1) mssw_stop_music();
    const u32 handle = load_handle(music_id, buffer, size);
    if (handle == 0) return;
    mssw_music_id = music_id;
    mssw_music_handle = handle;
    mssw_music_buffer = buffer.release();
    plat_snd_set_volume(handle, mssw_music_volume);
    plat_snd_play(handle, loop_count);
}

void mssw_stop_all_sounds_by_id(s32 sound_id) {
    if (!mssw_enabled || !sound_id_valid(sound_id)) return;
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        if (mssw_effect_ids[slot] != sound_id) continue;
        plat_snd_halt(mssw_effect_handles[slot]); // stops the sound and frees its handle
        mssw_effect_handles[slot] = 0;
        mssw_effect_ids[slot] = -1;
        std::free(mssw_effect_buffers[slot]);
        mssw_effect_buffers[slot] = nullptr;
    }
}

void mssw_stop_all() {
    for (s32 slot = 0; slot < MSSW_EFFECT_SLOTS; ++slot) {
        if (mssw_effect_ids[slot] != -1) mssw_stop_all_sounds_by_id(mssw_effect_ids[slot]);
    }
}

void mssw_stop_music() {
    if (!mssw_enabled || mssw_music_id == -1) return;
    plat_snd_halt(mssw_music_handle);
    mssw_music_handle = 0;
    mssw_music_id = -1;
    std::free(mssw_music_buffer);
    mssw_music_buffer = nullptr;
}

s32 mssw_music_playing() {
    if (!mssw_enabled || mssw_music_id == -1) return 0;
    return plat_snd_status(mssw_music_handle) == 1 ? 0 : 1;
}

void mssw_reset() {
    mssw_enabled = 0;
    std::memset(mssw_failed, 0, sizeof mssw_failed);
    release_slots();
    mssw_sfx_volume = 127;
    mssw_music_volume = 31;
}
