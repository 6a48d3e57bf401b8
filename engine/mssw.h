// The sound channels: 32 effect slots and one music slot over the platform's quick sound
// interface. A sound is one whole archive entry (ARC_SOUND_BASE + sound id), copied into a heap
// buffer of its own for each play and handed to the sound layer from memory; nothing is cached.
// Effects and music share the id space 0..MSSW_MAX_SOUND_ID. When the sound layer could not be
// started, every call returns at once and the game runs silent.
#pragma once
#include "engine/types.h"

constexpr s32 MSSW_EFFECT_SLOTS = 32;
constexpr s32 MSSW_MAX_SOUND_ID = 0x3FFF; // 16383

extern s32 mssw_enabled; // 1 after a successful start; written only by mssw_init
extern s32 mssw_effect_ids[MSSW_EFFECT_SLOTS];     // -1 = free
extern u32 mssw_effect_handles[MSSW_EFFECT_SLOTS]; // 0 = none
extern u8* mssw_effect_buffers[MSSW_EFFECT_SLOTS];
extern s32 mssw_music_id; // -1 = none
extern u32 mssw_music_handle;
extern u8* mssw_music_buffer;
extern s32 mssw_sfx_volume;   // given to every new effect, 0..127
extern s32 mssw_music_volume; // given to every new music, 0..127
// 1 for a sound id whose entry is no sound (it fails the entry check of engine/wav_check.h or
// the sound layer refuses it): it is not loaded again until the next mssw_init or mssw_reset.
extern u8 mssw_failed[MSSW_MAX_SOUND_ID + 1];

// Starts the sound layer; returns 1 when sound is on, 0 when the game runs silent.
s32 mssw_init();
// Stops and frees every slot and shuts the sound layer down. `mssw_enabled` keeps its value.
void mssw_quit();
// Starts an effect (played once by every caller). An effect already in a slot is neither
// restarted nor doubled; with every slot busy the effect is dropped. An entry that is no sound
// is skipped like an empty one.
void mssw_play_sound(s32 sound_id, s32 loop_count);
// Starts a music track in the music slot (0 = loop for ever, 1 = once). The music already in
// the slot is not restarted, even when it has finished; an empty entry keeps the current music.
void mssw_play_music(s32 music_id, s32 loop_count);
// Stops and frees every effect slot holding sound_id; ids outside 0..MSSW_MAX_SOUND_ID are ignored.
void mssw_stop_all_sounds_by_id(s32 sound_id);
void mssw_stop_all();
void mssw_stop_music();
// 1 while the music slot holds a sound that has not finished.
s32 mssw_music_playing();

// Puts the module back to its state at program start, freeing any buffer it holds without
// calling the sound layer (tests reset the sound layer themselves).
void mssw_reset();
