// RIFF WAV writer for sound entries: uncompressed PCM, 8-bit unsigned or 16-bit signed samples.
// The sound channels hand an entry to the sound library as it is, and the test harness's sound
// fake takes a sound's duration from the data chunk and the format.
#pragma once
#include "engine/types.h"

#include <vector>

struct WavFormat {
    u16 channels = 1;
    u32 rate = 22050; // frames per second
    u16 bits = 16;    // 8 or 16
};

// A WAV file image: the header, the "fmt " chunk and a "data" chunk holding samples as given
// (interleaved frames in the format's sample layout). Throws std::invalid_argument for a format
// that is not mono or stereo, 8 or 16 bits, with a non-zero rate.
std::vector<u8> wav_encode(const WavFormat& format, const std::vector<u8>& samples);

// A sine tone of duration_ms at frequency_hz, at amplitude_percent of full scale, the same on
// every channel, with a short fade in and out so it does not click.
std::vector<u8> wav_tone(const WavFormat& format, u32 duration_ms, u32 frequency_hz,
                         u32 amplitude_percent = 50);

// Bytes of sample data for duration_ms of sound in this format (whole frames).
u32 wav_data_size(const WavFormat& format, u32 duration_ms);
