// Reading and writing audio files. Linux goes through libsndfile (WAV and whatever else it
// reads); the Windows build has its own RIFF WAV codec (PCM 16/24/32-bit, 32-bit float).
#pragma once

#include <string>

#include "tools/vsthost/formats/AudioData.h"

bool ReadAudioFile(const std::string& path, AudioData& out, std::string& error);
// The container an output file's extension names (.wav; on Linux also .flac, .aif, .aiff);
// false with the reason when this build cannot write it.
bool ContainerForPath(const std::string& path, AudioContainer& container, std::string& error);
// Whether the container holds float samples (FLAC holds PCM only).
bool ContainerHoldsFloat(AudioContainer container);
bool WriteAudioFile(const std::string& path, const AudioData& audio, AudioContainer container,
                    SampleFormat format, std::string& error);
// Names what the build reads, for the help text.
const char* AudioFileSupport();
