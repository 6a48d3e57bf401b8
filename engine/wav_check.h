// The check a sound entry passes before it reaches the platform's sound loader. A sound entry is
// a RIFF WAVE file image; the loader trusts the sizes and format fields it declares (it
// allocates what the data chunk declares, and converts the samples to the device's format), so
// an entry is handed over only when its chunks lie inside the entry and its format is one the
// loader knows, with fields that agree with one another. Anything else is no sound.
#pragma once
#include "engine/types.h"

// Format tags of the "fmt " chunk that are taken.
constexpr u16 WAV_FORMAT_PCM = 0x0001;
constexpr u16 WAV_FORMAT_MS_ADPCM = 0x0002;
constexpr u16 WAV_FORMAT_FLOAT = 0x0003;
constexpr u16 WAV_FORMAT_ALAW = 0x0006;
constexpr u16 WAV_FORMAT_MULAW = 0x0007;
constexpr u16 WAV_FORMAT_IMA_ADPCM = 0x0011;
constexpr u16 WAV_FORMAT_EXTENSIBLE = 0xFFFE; // PCM or float by its sub-format

constexpr u32 WAV_MIN_RATE = 4000;   // frames per second
constexpr u32 WAV_MAX_RATE = 192000; // frames per second
constexpr u16 WAV_MAX_CHANNELS = 8;

// 1 when the size bytes at data are a sound entry the sound loader may be given, else 0:
// - "RIFF", a RIFF size that ends inside the entry, "WAVE";
// - every chunk up to the data chunk lies inside the RIFF size, with a "fmt " chunk before the
//   data chunk and a data chunk of at least one whole block;
// - a known format with 1..WAV_MAX_CHANNELS channels, a rate in WAV_MIN_RATE..WAV_MAX_RATE,
//   sample bits the format allows, a block size that matches them (for ADPCM, the samples per
//   block its block size holds) and a byte rate of rate x block size (not checked for ADPCM).
s32 wav_check(const u8* data, s32 size);
