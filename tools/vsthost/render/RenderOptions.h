// The command line of vsthost render, parsed and checked for consistency (nothing is opened).
#pragma once

#include <string>
#include <vector>

#include "tools/vsthost/formats/AudioData.h"
#include "tools/vsthost/cli/CommandLine.h"
#include "tools/vsthost/render/EventSchedule.h"
#include "tools/vsthost/render/OfflineRenderer.h"
#include "tools/vsthost/render/StartState.h"

struct RenderOptions {
    std::string module, input, output, midiFile, midiOut;
    std::vector<NoteSpec> notes;
    StartState state;
    // Plug-in input i reads input channel channels[i] (0-based; -1 silence); empty: the default.
    std::vector<int32_t> channels;
    bool force = false, demo = false, compensate = false, verbose = false;
    bool formatGiven = false;
    double rate = 0, length = 0;
    double tailSeconds = 0;  // fixed tail
    bool autoTail = false;
    long block = 512;
    ProcessMode mode = ProcessMode::Replacing;
    SampleFormat format = SampleFormat::Float32;

    bool ToStandardOutput() const { return output == "-"; }
};

// kExitOk, or the usage error's exit code after printing it.
int ParseRenderOptions(ArgReader& args, RenderOptions& options);
// The options' help rows.
std::string RenderOptionsHelp();
