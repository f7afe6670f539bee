// Plug-in state to and from files: .fxp programs and .fxb banks (parameter lists for plug-ins
// without effFlagsProgramChunks, opaque chunks for the others), and vsthost's raw format (the
// plug-in's chunk bytes as they are). The format is chosen by the file's content when loading
// (a 'CcnK' header) and by its extension when saving.
#pragma once

#include <string>

#include "tools/vsthost/host/HostedEffect.h"

enum class StateFormat { Raw, Fxp, Fxb };

// .fxp and .fxb (any case) name the preset formats; everything else is raw.
StateFormat StateFormatForPath(const std::string& path);

struct StateResult {
    bool ok = false;
    int exitCode = 0;     // the exit code to fail with when !ok
    std::string error;    // when !ok
    std::string summary;  // what was saved or loaded, one line
};

// Loads state from path. bank says what a raw file holds (fxp/fxb say it themselves). A preset
// whose ID is not the plug-in's is refused. Warnings (the plug-in's advisory answer to
// effSetChunk, parameter counts that differ) go to stderr.
StateResult LoadStateFile(HostedEffect& effect, const std::string& path, bool bank);
// Saves the current program (bank false) or the whole bank to path in the format its extension
// names.
StateResult SaveStateFile(HostedEffect& effect, const std::string& path, bool bank);

// Hands a chunk to the plug-in and reports what became of it: the answer is advisory, so a 0 is
// compared against the plug-in's state before and after and explained rather than failed on.
void DeliverChunkAndReport(HostedEffect& effect, bool bank, const std::vector<uint8_t>& chunk);
