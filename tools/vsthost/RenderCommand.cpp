// vsthost render MODULE [options] -o OUT.wav: offline processing of a WAV file or the built-in
// test signal, with MIDI from a file and/or the command line.
#include <cmath>
#include <cstdio>

#include "tools/vsthost/AudioFile.h"
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/EventSchedule.h"
#include "tools/vsthost/MidiFile.h"
#include "tools/vsthost/OfflineRenderer.h"
#include "tools/vsthost/Platform.h"
#include "tools/vsthost/PluginSession.h"
#include "tools/vsthost/ProgressBar.h"
#include "tools/vsthost/StateFile.h"
#include "tools/vsthost/TestSignal.h"

namespace {

constexpr double kDefaultSeconds = 8.0;
constexpr double kDefaultRate = 44100.0;
constexpr size_t kMidiShown = 8;

struct ParamSetting {
    long index = 0;
    double value = 0;
};

struct RenderOptions {
    std::string module, input, output, midiFile, chunkFile;
    std::vector<NoteSpec> notes;
    std::vector<ParamSetting> params;
    long program = -1;
    bool bank = false, force = false, demo = false;
    double rate = 0, length = 0;
    long block = 512;
    ProcessMode mode = ProcessMode::Replacing;
    SampleFormat format = SampleFormat::Float32;
};

const char* ModeName(ProcessMode mode) {
    return mode == ProcessMode::Double         ? "processDoubleReplacing"
           : mode == ProcessMode::Accumulating ? "process (accumulating)"
                                               : "processReplacing";
}

const char* FormatName(SampleFormat format) {
    return format == SampleFormat::Pcm16   ? "16-bit PCM"
           : format == SampleFormat::Pcm24 ? "24-bit PCM"
                                           : "32-bit float";
}

// Returns kExitOk or the usage error's code.
int ParseOptions(ArgReader& args, RenderOptions& o) {
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
            size_t eq = value.find('=');
            ParamSetting p;
            if (eq == std::string::npos || !ParseLong(value.substr(0, eq), p.index) || p.index < 0 ||
                !ParseDouble(value.substr(eq + 1), p.value) || p.value < 0 || p.value > 1)
                return UsageError("invalid parameter setting '" + value +
                                  "': expected INDEX=VALUE with VALUE in 0..1");
            o.params.push_back(p);
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
        } else if (arg == "--format") {
            if (!need()) return UsageError(error);
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
        } else if (arg == "--demo") {
            o.demo = true;
        } else if (arg == "--force") {
            o.force = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return UsageError("unknown option '" + arg + "' for render");
        } else if (o.module.empty()) {
            o.module = arg;
        } else {
            return UsageError("render takes one module, not '" + arg + "' as well");
        }
    }
    if (o.module.empty()) return UsageError("render needs a MODULE");
    if (o.output.empty()) return UsageError("render needs an output file (-o OUT.wav)");
    if (o.demo && (!o.input.empty() || !o.midiFile.empty()))
        return UsageError("--demo uses the built-in signal and notes; it takes no -i or --midi");
    if (o.bank && o.chunkFile.empty()) return UsageError("--bank goes with --chunk FILE");
    return kExitOk;
}

int RunRender(ArgReader& args) {
    RenderOptions o;
    if (int code = ParseOptions(args, o)) return code;
    if (!o.force && PathExists(o.output))
        return Fail("'" + o.output + "' exists; use --force to overwrite it", kExitInput);
    if (!o.input.empty() && o.input == o.output)
        return Fail("the output file would overwrite the input file", kExitInput);

    std::string error;
    AudioData input;
    if (!o.input.empty()) {
        if (!ReadAudioFile(o.input, input, error)) return Fail(error, kExitInput);
        if (o.rate > 0 && o.rate != input.sampleRate)
            return Fail("'" + o.input + "' is at " + std::to_string(input.sampleRate) +
                            " Hz; vsthost does not resample (leave out --rate)",
                        kExitUsage);
    }
    const double rate = !o.input.empty() ? input.sampleRate : o.rate > 0 ? o.rate : kDefaultRate;
    const int64_t frames = o.length > 0       ? static_cast<int64_t>(std::floor(o.length * rate + 0.5))
                           : !o.input.empty() ? static_cast<int64_t>(input.Frames())
                                              : static_cast<int64_t>(kDefaultSeconds * rate);
    if (frames < 1) return Fail("nothing to render: the input is empty (give --length)", kExitInput);
    if (static_cast<uint64_t>(frames) * 2 > kMaxAudioSamples)
        return Fail("the render is longer than vsthost accepts", kExitUsage);
    if (o.input.empty()) input = MakeTestSignal(static_cast<int32_t>(rate), static_cast<size_t>(frames));

    std::vector<TimedMidi> fileMidi;
    if (!o.midiFile.empty() && !ReadMidiFile(o.midiFile, fileMidi, error)) return Fail(error, kExitInput);
    if (o.demo) o.notes = DemoNotes();

    PluginSession session;
    if (!session.Start(o.module, rate, static_cast<int32_t>(o.block), error)) return Fail(error, kExitPlugin);
    HostedEffect& fx = session.Effect();
    if (fx.NumOutputs() < 1) return Fail("the plug-in has no outputs", kExitPlugin);
    if (o.mode == ProcessMode::Double && !fx.CanDouble())
        return Fail("the plug-in has no processDoubleReplacing", kExitPlugin);
    if (o.mode == ProcessMode::Accumulating && !fx.Record()->process)
        return Fail("the plug-in has no accumulating process callback", kExitPlugin);

    // A bank may hold the program that --program selects; a program goes into it.
    bool bankState = o.bank || StateFormatForPath(o.chunkFile) == StateFormat::Fxb;
    if (!o.chunkFile.empty() && bankState) {
        StateResult loaded = LoadStateFile(fx, o.chunkFile, true);
        if (!loaded.ok) return Fail(loaded.error, loaded.exitCode);
    }
    if (o.program >= 0 && !session.SelectProgram(o.program, error)) return Fail(error, kExitPlugin);
    if (!o.chunkFile.empty() && !bankState) {
        StateResult loaded = LoadStateFile(fx, o.chunkFile, false);
        if (!loaded.ok) return Fail(loaded.error, loaded.exitCode);
    }
    for (const ParamSetting& p : o.params) {
        if (p.index >= fx.NumParams())
            return Fail("parameter " + std::to_string(p.index) + " does not exist (the plug-in has " +
                            std::to_string(fx.NumParams()) + ")",
                        kExitPlugin);
        fx.SetParameter(static_cast<int32_t>(p.index), static_cast<float>(p.value));
    }

    std::vector<ScheduledEvent> events = ScheduleEvents(fileMidi, o.notes, rate, frames);
    RenderSettings settings;
    settings.blockSize = static_cast<int32_t>(o.block);
    settings.mode = o.mode;
    settings.frames = frames;
    fx.Dispatch(effSetProcessPrecision, 0,
                o.mode == ProcessMode::Double ? kVstProcessPrecision64 : kVstProcessPrecision32);
    session.Host().SetProcessLevel(kVstProcessLevelOffline);
    fx.Resume();
    OfflineRenderer renderer(fx, settings);
    ProgressBar bar(StderrIsTerminal());
    AudioData output =
        renderer.Render(input, events, [&](int64_t done, int64_t total) { bar.Update(done, total); });
    bar.Finish();
    fx.Suspend();
    output.sampleRate = static_cast<int32_t>(rate);

    if (!WriteAudioFile(o.output, output, o.format, error)) return Fail(error, kExitInput);

    std::printf("Rendered %lld frames (%.3f s) at %.0f Hz, block %ld, %s, %d in / %d out\n",
                static_cast<long long>(frames), frames / rate, rate, o.block, ModeName(o.mode),
                fx.NumInputs(), fx.NumOutputs());
    std::printf("MIDI delivered to the plug-in: %lld events\n",
                static_cast<long long>(renderer.EventsDelivered()));
    std::vector<HostMidiMessage> back = session.Host().ReceivedMidi();
    std::printf("MIDI sent back by the plug-in: %lld messages\n",
                static_cast<long long>(session.Host().ReceivedMidiCount()));
    for (size_t i = 0; i < back.size() && i < kMidiShown; ++i)
        std::printf("  frame %8lld  %02X %02X %02X\n", static_cast<long long>(back[i].frame),
                    back[i].bytes[0], back[i].bytes[1], back[i].bytes[2]);
    if (back.size() > kMidiShown) std::printf("  ...\n");
    size_t sysex = session.Host().ReceivedSysEx().size();
    if (sysex) std::printf("SysEx sent back by the plug-in: %zu messages\n", sysex);
    std::printf("Wrote %s (%s WAV, %d channels)\n", o.output.c_str(), FormatName(o.format),
                output.ChannelCount());
    return kExitOk;
}

}  // namespace

const CommandSpec kRenderCommand = {
    "render",
    "  vsthost render MODULE [options] -o OUT.wav\n",
    "offline processing of audio and MIDI through the plug-in",
    "  -i FILE            input audio (default: a built-in stereo test signal)\n"
    "  --midi FILE        MIDI from a Standard MIDI File, timed by its tempo map\n"
    "  --note T:N:V:D     a note at T seconds, number N, velocity V, D seconds long\n"
    "                     (repeatable; e.g. --note 0.5:60:100:0.25)\n"
    "  --demo             the built-in demo: test signal and note pattern, 8 s\n"
    "  --program N        select program N first\n"
    "  --chunk FILE       load state first: .fxp, .fxb or a raw program chunk (with --bank:\n"
    "                     a raw bank chunk)\n"
    "  --param I=V        set parameter I to the normalised value V (repeatable)\n"
    "  --rate HZ          sample rate without an input file (default 44100)\n"
    "  --block N          block size (default 512)\n"
    "  --length S         seconds to render (default: the input's length, or 8)\n"
    "  --double           process through processDoubleReplacing\n"
    "  --accumulate       process through the accumulating process callback\n"
    "  --format F         float (default), pcm16 or pcm24\n"
    "  --force            overwrite an existing output file\n",
    RunRender,
};
