// A strict RIFF WAVE codec over bytes in memory: PCM 16/24/32-bit and IEEE float 32-bit,
// WAVE_FORMAT_EXTENSIBLE included. Every length in the file is checked against the bytes that
// are really there; anything unexpected is refused with a reason. The one exception is a data
// chunk that ends early: its whole frames are decoded and AudioData::truncated is set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/formats/AudioData.h"

bool DecodeWav(const uint8_t* data, size_t size, AudioData& out, std::string& error);
// Fails only when the result would not fit a RIFF file (4 GB) or the audio is malformed.
bool EncodeWav(const AudioData& audio, SampleFormat format, std::vector<uint8_t>& out, std::string& error);
