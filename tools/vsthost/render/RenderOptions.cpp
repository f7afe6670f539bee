#include "tools/vsthost/render/RenderOptions.h"

#include <cmath>

#include "tools/vsthost/cli/Messages.h"

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

// The tail: seconds, or "auto".
Option TailOption(RenderOptions& o) {
    return {.name = "--tail",
            .value = "S|auto",
            .help =
                "render S seconds past the input, or until the output stays below\n"
                "-90 dBFS for a second (auto, at most 60 s)",
            .apply = [&o](const std::string& v) {
                if (v == "auto")
                    o.autoTail = true;
                else if (!ParseDouble(v, o.tailSeconds) || o.tailSeconds < 0 || o.tailSeconds > 3600)
                    return UsageError("invalid tail '" + v + "' (seconds up to 3600, or auto)");
                return kExitOk;
            }};
}

Option FormatOption(RenderOptions& o) {
    return {.name = "--format",
            .value = "F",
            .help = "float (default; FLAC: pcm24), pcm16 or pcm24",
            .apply = [&o](const std::string& v) {
                o.formatGiven = true;
                if (v == "float")
                    o.format = SampleFormat::Float32;
                else if (v == "pcm16")
                    o.format = SampleFormat::Pcm16;
                else if (v == "pcm24")
                    o.format = SampleFormat::Pcm24;
                else
                    return UsageError("unknown format '" + v + "' (float, pcm16 or pcm24)");
                return kExitOk;
            }};
}

Option ModeOption(const char* name, const char* help, RenderOptions& o, ProcessMode mode) {
    return {.name = name, .help = help, .apply = [&o, mode](const std::string&) {
                o.mode = mode;
                return kExitOk;
            }};
}

// What the input and the MIDI are: -i, --channels, --midi, --note, --demo.
std::vector<Option> SourceOptions(RenderOptions& o) {
    return {
        {.name = "-i",
         .alias = "--input",
         .value = "FILE",
         .help = "input audio (default: a built-in stereo test signal)",
         .apply = Store(o.input)},
        Checked("--channels", "LIST",
                "input channels (from 1; 0 silence) for the plug-in's inputs, e.g.\n"
                "2,1 swaps a stereo input (default: in order; mono feeds all)\n"
                "The plug-in is offered a speaker arrangement of as many inputs as\n"
                "LIST names (default: all of its own), e.g. --channels 1 offers mono",
                "channel map", ": input channels (from 1; 0 for silence) for the plug-in's inputs, e.g. 2,1",
                [&o](const std::string& v) { return ParseChannelMap(v, o.channels); }),
        Text("--midi", "FILE", "MIDI from a Standard MIDI File, timed by its tempo map", o.midiFile),
        {.name = "--note",
         .value = "T:N:V:D",
         .help = "a note at T seconds, number N, velocity V, D seconds long\n"
                 "(repeatable; e.g. --note 0.5:60:100:0.25)",
         .apply =
             [&o](const std::string& v) {
                 NoteSpec note;
                 std::string error;
                 if (!ParseNoteSpec(v, note, error)) return UsageError(error);
                 o.notes.push_back(note);
                 return kExitOk;
             }},
        Flag("--demo", "the built-in demo: test signal and note pattern, 8 s", o.demo),
    };
}

// How the render runs: --rate to --accumulate.
std::vector<Option> ProcessOptions(RenderOptions& o) {
    return {
        Checked("--rate", "HZ", "sample rate without an input file (default 44100)", "sample rate", "",
                [&o](const std::string& v) {
                    return ParseDouble(v, o.rate) && o.rate >= 1000 && o.rate <= kMaxSampleRate &&
                           o.rate == std::floor(o.rate);
                }),
        Checked(
            "--block", "N", "block size (default 512)", "block size", " (1..65536)",
            [&o](const std::string& v) { return ParseLong(v, o.block) && o.block >= 1 && o.block <= 65536; }),
        Checked("--length", "S", "seconds to render (default: the input's length, or 8)", "length",
                " (seconds, up to 86400)",
                [&o](const std::string& v) {
                    return ParseDouble(v, o.length) && o.length > 0 && o.length <= 86400;
                }),
        TailOption(o),
        Flag("--compensate", "drop the plug-in's reported latency from the start of the output",
             o.compensate),
        ModeOption("--double", "process through processDoubleReplacing", o, ProcessMode::Double),
        ModeOption("--accumulate", "process through the accumulating process callback", o,
                   ProcessMode::Accumulating),
    };
}

OptionTable RenderTable(RenderOptions& o) {
    OptionTable table{"render",
                      21,
                      {{.name = "-o",
                        .alias = "--output",
                        .value = "OUT",
                        .help = "the output: .wav (Linux also .flac, .aiff), or - for a WAV on\n"
                                "standard output (all messages then go to standard error)",
                        .apply = Store(o.output)}}};
    for (auto part : {SourceOptions(o), StartStateOptions(o.state), ProcessOptions(o)})
        table.options.insert(table.options.end(), part.begin(), part.end());
    table.options.insert(
        table.options.end(),
        {FormatOption(o),
         Text("--midi-out", "FILE", "the MIDI the plug-in sent back, as a Standard MIDI File", o.midiOut),
         {.name = "--verbose",
          .alias = "-v",
          .help = "list every MIDI message the plug-in sent back",
          .apply = Set(o.verbose)},
         Flag("--force", "overwrite existing output files", o.force)});
    return table;
}

}  // namespace

int ParseRenderOptions(ArgReader& args, RenderOptions& o) {
    int code = ParseOptions(args, RenderTable(o), [&o](const std::string& arg) {
        if (!o.module.empty()) return UsageError("render takes one module, not '" + arg + "' as well");
        o.module = arg;
        return kExitOk;
    });
    if (code != kExitOk) return code;
    if (o.module.empty()) return UsageError("render needs a MODULE");
    if (o.output.empty())
        return UsageError("render needs an output file (-o OUT.wav, or -o - for standard output)");
    if (o.demo && (!o.input.empty() || !o.midiFile.empty()))
        return UsageError("--demo uses the built-in signal and notes; it takes no -i or --midi");
    if (o.state.bank && o.state.chunkFile.empty()) return UsageError("--bank goes with --chunk FILE");
    if (o.autoTail && o.tailSeconds > 0) return UsageError("--tail takes seconds or auto, once");
    if (o.midiOut == "-") return UsageError("--midi-out needs a file name (standard output is for audio)");
    return kExitOk;
}

std::string RenderOptionsHelp() {
    RenderOptions unused;
    return OptionHelp(RenderTable(unused));
}
