#include "tools/vsthost/render/RenderOptions.h"

#include <cmath>

#include "tools/vsthost/Commands.h"

namespace {

// "2,1" or "1,0": for each plug-in input the input channel that feeds it, counted from 1; 0 is
// silence.
bool ParseChannelMap(const std::string& text, std::vector<int32_t>& map) {
    map.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        long channel = 0;
        if (!ParseLong(item, channel) || channel < 0 || channel > kMaxAudioChannels) return false;
        map.push_back(static_cast<int32_t>(channel) - 1);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return !map.empty();
}

}  // namespace

int ParseRenderOptions(ArgReader& args, RenderOptions& o) {
    std::string error, value;
    while (!args.Done()) {
        std::string arg = args.Next();
        auto need = [&]() { return args.Value(arg, value, error); };
        if (arg == "-o" || arg == "--output") {
            if (!need()) return UsageError(error);
            o.output = value;
        } else if (arg == "-i" || arg == "--input") {
            if (!need()) return UsageError(error);
            o.input = value;
        } else if (arg == "--midi") {
            if (!need()) return UsageError(error);
            o.midiFile = value;
        } else if (arg == "--midi-out") {
            if (!need()) return UsageError(error);
            o.midiOut = value;
        } else if (arg == "--note") {
            if (!need()) return UsageError(error);
            NoteSpec note;
            if (!ParseNoteSpec(value, note, error)) return UsageError(error);
            o.notes.push_back(note);
        } else if (arg == "--program") {
            if (!need() || !ParseLong(value, o.program) || o.program < 0)
                return UsageError(error.empty() ? "invalid program number '" + value + "'" : error);
        } else if (arg == "--param") {
            if (!need()) return UsageError(error);
            ParameterSetting p;
            if (!ParseParameterSetting(value, p, error)) return UsageError(error);
            o.params.push_back(p);
        } else if (arg == "--channels") {
            if (!need()) return UsageError(error);
            if (!ParseChannelMap(value, o.channels))
                return UsageError(
                    "invalid channel map '" + value +
                    "': input channels (from 1; 0 for silence) for the plug-in's inputs, e.g. 2,1");
        } else if (arg == "--chunk") {
            if (!need()) return UsageError(error);
            o.chunkFile = value;
        } else if (arg == "--bank") {
            o.bank = true;
        } else if (arg == "--rate") {
            if (!need() || !ParseDouble(value, o.rate) || o.rate < 1000 || o.rate > kMaxSampleRate ||
                o.rate != std::floor(o.rate))
                return UsageError(error.empty() ? "invalid sample rate '" + value + "'" : error);
        } else if (arg == "--block") {
            if (!need() || !ParseLong(value, o.block) || o.block < 1 || o.block > 65536)
                return UsageError(error.empty() ? "invalid block size '" + value + "' (1..65536)" : error);
        } else if (arg == "--length") {
            if (!need() || !ParseDouble(value, o.length) || o.length <= 0 || o.length > 86400)
                return UsageError(error.empty() ? "invalid length '" + value + "' (seconds, up to 86400)"
                                                : error);
        } else if (arg == "--tail") {
            if (!need()) return UsageError(error);
            if (value == "auto")
                o.autoTail = true;
            else if (!ParseDouble(value, o.tailSeconds) || o.tailSeconds < 0 || o.tailSeconds > 3600)
                return UsageError("invalid tail '" + value + "' (seconds up to 3600, or auto)");
        } else if (arg == "--format") {
            if (!need()) return UsageError(error);
            o.formatGiven = true;
            if (value == "float")
                o.format = SampleFormat::Float32;
            else if (value == "pcm16")
                o.format = SampleFormat::Pcm16;
            else if (value == "pcm24")
                o.format = SampleFormat::Pcm24;
            else
                return UsageError("unknown format '" + value + "' (float, pcm16 or pcm24)");
        } else if (arg == "--double") {
            o.mode = ProcessMode::Double;
        } else if (arg == "--accumulate") {
            o.mode = ProcessMode::Accumulating;
        } else if (arg == "--compensate") {
            o.compensate = true;
        } else if (arg == "--verbose" || arg == "-v") {
            o.verbose = true;
        } else if (arg == "--demo") {
            o.demo = true;
        } else if (arg == "--force") {
            o.force = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + arg + "' for render");
        } else if (o.module.empty()) {
            o.module = arg;
        } else {
            return UsageError("render takes one module, not '" + arg + "' as well");
        }
    }
    if (o.module.empty()) return UsageError("render needs a MODULE");
    if (o.output.empty())
        return UsageError("render needs an output file (-o OUT.wav, or -o - for standard output)");
    if (o.demo && (!o.input.empty() || !o.midiFile.empty()))
        return UsageError("--demo uses the built-in signal and notes; it takes no -i or --midi");
    if (o.bank && o.chunkFile.empty()) return UsageError("--bank goes with --chunk FILE");
    if (o.autoTail && o.tailSeconds > 0) return UsageError("--tail takes seconds or auto, once");
    if (o.midiOut == "-") return UsageError("--midi-out needs a file name (standard output is for audio)");
    return kExitOk;
}
