// Reading and writing audio files. Linux goes through libsndfile (WAV and whatever else it
// reads); the Windows build has its own RIFF WAV codec (PCM 16/24/32-bit, 32-bit float).
#pragma once

#include <string>

#include "tools/vsthost/AudioData.h"

bool ReadAudioFile(const std::string& path, AudioData& out, std::string& error);
bool WriteAudioFile(const std::string& path, const AudioData& audio, SampleFormat format, std::string& error);
// Names what the build reads, for the help text.
const char* AudioFileSupport();
