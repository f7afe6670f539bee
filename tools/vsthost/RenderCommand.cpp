// vsthost render MODULE [options] -o OUT: offline processing of an audio file or the built-in
// test signal, with MIDI from a file and/or the command line.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/vsthost/formats/AudioFile.h"
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/MidiFile.h"
#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/render/ProgressBar.h"
#include "tools/vsthost/render/RenderOptions.h"
#include "tools/vsthost/host/SpeakerArrangement.h"
#include "tools/vsthost/render/StartState.h"
#include "tools/vsthost/formats/SmfWriter.h"
#include "tools/vsthost/formats/StateFile.h"
#include "tools/vsthost/render/TestSignal.h"
#include "tools/vsthost/formats/WavCodec.h"

namespace {

constexpr double kDefaultSeconds = 8.0;
constexpr double kDefaultRate = 44100.0;
constexpr size_t kMidiShown = 8;
// --tail auto: the output must stay below -90 dBFS for a second, and the tail ends after a minute
// at most (a plug-in that never falls silent, such as an oscillator, must not render forever).
constexpr float kSilenceLevel = 3.1622777e-5f;
constexpr double kSilenceSeconds = 1.0;
constexpr double kMaxAutoTailSeconds = 60.0;

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

const char* ContainerName(AudioContainer container) {
    return container == AudioContainer::Flac ? "FLAC" : container == AudioContainer::Aiff ? "AIFF" : "WAV";
}

// Everything about the output that can be checked before the plug-in is even loaded.
int CheckOutputs(RenderOptions& o, AudioContainer& container) {
    std::string error;
    container = AudioContainer::Wav;
    if (!o.ToStandardOutput()) {
        if (!CheckOutputPath(o.output, o.input, error)) return Fail(error, kExitInput);
        if (!ContainerForPath(o.output, container, error)) return Fail(error, kExitUsage);
        if (!o.force && PathExists(o.output))
            return Fail("'" + o.output + "' exists; use --force to overwrite it", kExitInput);
    }
    if (!o.midiOut.empty()) {
        if (!o.force && PathExists(o.midiOut))
            return Fail("'" + o.midiOut + "' exists; use --force to overwrite it", kExitInput);
        if (!CheckOutputPath(o.midiOut, o.input, error)) return Fail(error, kExitInput);
        if (o.midiOut == o.output) return Fail("--midi-out and -o name the same file", kExitUsage);
    }
    if (!ContainerHoldsFloat(container) && o.format == SampleFormat::Float32) {
        if (o.formatGiven)
            return Fail(
                std::string(ContainerName(container)) + " holds PCM only: use --format pcm16 or pcm24",
                kExitUsage);
        o.format = SampleFormat::Pcm24;
    }
    return kExitOk;
}

// Which input channel feeds each plug-in input; says so when the counts differ.
std::vector<int32_t> ChannelMap(const RenderOptions& o, int32_t inputChannels, int32_t pluginInputs) {
    if (!o.channels.empty()) {
        for (int32_t source : o.channels)
            if (source >= inputChannels)
                Warn("--channels names input channel " + std::to_string(source + 1) + ", the input has " +
                     std::to_string(inputChannels) + ": that plug-in input gets silence");
        if (static_cast<int32_t>(o.channels.size()) > pluginInputs)
            Warn("--channels lists " + std::to_string(o.channels.size()) + " channels, the plug-in has " +
                 std::to_string(pluginInputs) + " inputs: the rest are not used");
        return o.channels;
    }
    if (pluginInputs > 0 && inputChannels != pluginInputs) {
        std::string how = inputChannels == 1 ? "the one channel feeds every input"
                          : inputChannels > pluginInputs
                              ? "channels beyond " + std::to_string(pluginInputs) + " are not used"
                              : "inputs beyond " + std::to_string(inputChannels) + " get silence";
        Warn("the input has " + std::to_string(inputChannels) + " channels, the plug-in " +
             std::to_string(pluginInputs) + " inputs: " + how + " (--channels picks them)");
    }
    return {};
}

// "mono in / stereo out accepted", with what became of the plug-in's counts.
std::string ArrangementReport(const HostedEffect::ArrangementOffer& offer, int32_t inputsBefore,
                              int32_t outputsBefore, int32_t inputs, int32_t outputs, bool announced) {
    const std::string counts = std::to_string(inputs) + " in / " + std::to_string(outputs) + " out";
    std::string text = DescribeSpeakerChannels(offer.inputs) + " in / " +
                       DescribeSpeakerChannels(offer.outputs) + " out " +
                       (offer.accepted ? "accepted" : "refused; keeping " + counts);
    if (offer.accepted && (inputs != inputsBefore || outputs != outputsBefore))
        text += "; the plug-in now has " + counts;
    if (announced) text += " (announced through audioMasterIOChanged)";
    return text;
}

size_t CountClipped(const AudioData& audio) {
    size_t clipped = 0;
    for (const auto& channel : audio.channels)
        for (float x : channel)
            if (std::fabs(x) > 1.0f) ++clipped;
    return clipped;
}

int WriteOutput(const RenderOptions& o, const AudioData& output, AudioContainer container,
                std::string& error) {
    if (!o.ToStandardOutput())
        return WriteAudioFile(o.output, output, container, o.format, error) ? kExitOk : kExitInput;
    std::vector<uint8_t> bytes;
    if (!EncodeWav(output, o.format, bytes, error)) return kExitInput;
    return WriteStandardOutput(bytes, error) ? kExitOk : kExitInput;
}

// What the render works on, gathered before the plug-in is loaded.
struct RenderJob {
    AudioData input;
    double rate = kDefaultRate;
    int64_t frames = 0;      // the input's length, or --length
    int64_t tailFrames = 0;  // the fixed tail
    std::vector<TimedMidi> fileMidi;
};

// The input (a file or the test signal), the rate and length, and the MIDI file.
int PrepareJob(RenderOptions& o, RenderJob& job) {
    std::string error;
    if (!o.input.empty()) {
        if (!ReadAudioFile(o.input, job.input, error)) return Fail(error, kExitInput);
        if (job.input.truncated)
            Warn("'" + o.input + "' is truncated: it holds fewer frames than its header says; " +
                 std::to_string(job.input.Frames()) + " read");
        if (o.rate > 0 && o.rate != job.input.sampleRate)
            return Fail("'" + o.input + "' is at " + std::to_string(job.input.sampleRate) +
                            " Hz; vsthost does not resample (leave out --rate)",
                        kExitUsage);
    }
    const double rate = job.rate = !o.input.empty() ? job.input.sampleRate
                                   : o.rate > 0     ? o.rate
                                                    : kDefaultRate;
    job.frames = o.length > 0       ? static_cast<int64_t>(std::floor(o.length * rate + 0.5))
                 : !o.input.empty() ? static_cast<int64_t>(job.input.Frames())
                                    : static_cast<int64_t>(kDefaultSeconds * rate);
    if (job.frames < 1) return Fail("nothing to render: the input is empty (give --length)", kExitInput);
    job.tailFrames = static_cast<int64_t>(std::floor(o.tailSeconds * rate + 0.5));
    const int64_t maxFrames =
        job.frames + job.tailFrames + (o.autoTail ? static_cast<int64_t>(kMaxAutoTailSeconds * rate) : 0);
    if (static_cast<uint64_t>(maxFrames) * 2 > kMaxAudioSamples)
        return Fail("the render is longer than vsthost accepts", kExitUsage);
    if (o.input.empty())
        job.input = MakeTestSignal(static_cast<int32_t>(rate), static_cast<size_t>(job.frames));
    if (!o.midiFile.empty() && !ReadMidiFile(o.midiFile, job.fileMidi, error)) return Fail(error, kExitInput);
    if (o.demo) o.notes = DemoNotes();
    return kExitOk;
}

// The plug-in as the render found it: its state loaded, its channels agreed and resumed.
struct PluginSetup {
    int32_t inputs = 0, outputs = 0;
    HostedEffect::ArrangementOffer offer;
    std::string arrangement;  // the report's line
    std::vector<std::string> paramReports;
};

// Checks what the options ask of the plug-in and loads the start state, still suspended.
int LoadPlugin(PluginSession& session, const RenderOptions& o, double rate, PluginSetup& setup) {
    std::string error;
    if (!session.Start(o.module, rate, static_cast<int32_t>(o.block), error)) return Fail(error, kExitPlugin);
    HostedEffect& fx = session.Effect();
    if (fx.NumOutputs() < 1) return Fail("the plug-in has no outputs", kExitPlugin);
    if (o.mode == ProcessMode::Double && !fx.CanDouble())
        return Fail("the plug-in has no processDoubleReplacing", kExitPlugin);
    if (o.mode == ProcessMode::Accumulating && !fx.Record()->process)
        return Fail("the plug-in has no accumulating process callback", kExitPlugin);
    return LoadStartState(session, o.state, setup.paramReports);
}

// Still suspended: offer the channels vsthost feeds and the outputs it writes. Unless --channels
// says otherwise, every input is fed (a mono file on all of them), so the plug-in keeps its own
// layout. A plug-in may change its counts in answer, now or when resumed, so they are read only
// after that.
int ResumePlugin(PluginSession& session, const RenderOptions& o, PluginSetup& setup) {
    HostedEffect& fx = session.Effect();
    const int32_t fedInputs =
        fx.NumInputs() == 0 || o.channels.empty() ? fx.NumInputs() : static_cast<int32_t>(o.channels.size());
    const int64_t ioChangedBefore = session.Host().Counts().ioChanged;
    const int32_t inputsBefore = fx.NumInputs(), outputsBefore = fx.NumOutputs();
    setup.offer = fx.OfferSpeakerArrangement(fedInputs, fx.NumOutputs());
    fx.Dispatch(effSetProcessPrecision, 0,
                o.mode == ProcessMode::Double ? kVstProcessPrecision64 : kVstProcessPrecision32);
    session.Host().SetProcessLevel(kVstProcessLevelOffline);
    fx.Resume();
    if (!fx.ChannelCountsPlausible())
        return Fail("the plug-in reports implausible channel counts (inputs " +
                        std::to_string(fx.Record()->numInputs) + ", outputs " +
                        std::to_string(fx.Record()->numOutputs) + ")",
                    kExitPlugin);
    setup.inputs = fx.NumInputs();
    setup.outputs = fx.NumOutputs();
    if (setup.outputs < 1) return Fail("the plug-in has no outputs", kExitPlugin);
    setup.arrangement = ArrangementReport(setup.offer, inputsBefore, outputsBefore, setup.inputs,
                                          setup.outputs, session.Host().Counts().ioChanged > ioChangedBefore);
    return kExitOk;
}

// What the render did, for the report.
struct RenderResult {
    AudioData output;
    int32_t latency = 0;
    int64_t dropped = 0;   // latency frames dropped from the start
    int64_t rendered = 0;  // frames before the drop
    int64_t eventsDelivered = 0;
};

RenderResult Process(HostedEffect& fx, const RenderOptions& o, const RenderJob& job,
                     const PluginSetup& setup) {
    RenderSettings settings;
    settings.blockSize = static_cast<int32_t>(o.block);
    settings.mode = o.mode;
    // A plug-in that took fewer inputs than it has uses only the first of them.
    settings.channelMap =
        ChannelMap(o, job.input.ChannelCount(),
                   setup.offer.accepted ? std::min(setup.inputs, setup.offer.inputs) : setup.inputs);
    RenderResult result;
    // Many plug-ins know their latency only once processing is set up.
    result.latency = std::max(fx.Record()->initialDelay, 0);
    result.dropped = o.compensate ? result.latency : 0;
    settings.frames = job.frames + job.tailFrames + result.dropped;
    if (o.autoTail) {
        settings.silenceFrames = static_cast<int64_t>(kSilenceSeconds * job.rate);
        settings.maxTailFrames = static_cast<int64_t>(kMaxAutoTailSeconds * job.rate);
        settings.silenceLevel = kSilenceLevel;
    }
    std::vector<ScheduledEvent> events = ScheduleEvents(job.fileMidi, o.notes, job.rate, settings.frames);
    OfflineRenderer renderer(fx, settings);
    ProgressBar bar(StderrIsTerminal());
    result.output =
        renderer.Render(job.input, events, [&](int64_t done, int64_t total) { bar.Update(done, total); });
    bar.Finish();
    result.eventsDelivered = renderer.EventsDelivered();
    if (fx.NumInputs() != setup.inputs || fx.NumOutputs() != setup.outputs)
        Warn("the plug-in changed its channel counts while processing (now " +
             std::to_string(fx.NumInputs()) + " in / " + std::to_string(fx.NumOutputs()) +
             " out); vsthost kept " + std::to_string(setup.inputs) + " in / " +
             std::to_string(setup.outputs) + " out");
    fx.Suspend();
    result.output.sampleRate = static_cast<int32_t>(job.rate);
    result.rendered = static_cast<int64_t>(result.output.Frames());
    if (result.dropped > 0)
        for (auto& channel : result.output.channels)
            channel.erase(channel.begin(),
                          channel.begin() + std::min<int64_t>(result.dropped, result.rendered));
    return result;
}

// The MIDI and SysEx the plug-in sent back.
void PrintReturnedMidi(FILE* report, const RenderOptions& o, PluginSession& session,
                       const std::vector<HostMidiMessage>& back) {
    std::fprintf(report, "MIDI sent back by the plug-in: %lld messages\n",
                 static_cast<long long>(session.Host().ReceivedMidiCount()));
    size_t shown = o.verbose ? back.size() : std::min(back.size(), kMidiShown);
    for (size_t i = 0; i < shown; ++i)
        std::fprintf(report, "  frame %8lld  %02X %02X %02X\n", static_cast<long long>(back[i].frame),
                     back[i].bytes[0], back[i].bytes[1], back[i].bytes[2]);
    if (back.size() > shown) std::fprintf(report, "  ... (--verbose lists all)\n");
    std::vector<HostSysExMessage> sysex = session.Host().ReceivedSysEx();
    if (!sysex.empty()) std::fprintf(report, "SysEx sent back by the plug-in: %zu messages\n", sysex.size());
    if (o.verbose)
        for (const HostSysExMessage& m : sysex)
            std::fprintf(report, "  frame %8lld  SysEx of %zu bytes\n", static_cast<long long>(m.frame),
                         m.data.size());
}

void PrintReport(FILE* report, const RenderOptions& o, const RenderJob& job, const PluginSetup& setup,
                 const RenderResult& r) {
    const double rate = job.rate;
    std::fprintf(report, "Rendered %lld frames (%.3f s) at %.0f Hz, block %ld, %s, %d in / %d out\n",
                 static_cast<long long>(r.output.Frames()), r.output.Frames() / rate, rate, o.block,
                 ModeName(o.mode), setup.inputs, setup.outputs);
    std::fprintf(report, "Speaker arrangement: %s\n", setup.arrangement.c_str());
    for (const std::string& line : setup.paramReports) std::fprintf(report, "Parameter %s\n", line.c_str());
    std::fprintf(report, "Latency: %d frames%s\n", r.latency,
                 r.latency == 0 ? ""
                 : o.compensate ? " (compensated: dropped from the start)"
                                : " (not compensated)");
    if (o.autoTail || job.tailFrames > 0)
        std::fprintf(report, "Tail: %lld frames past the input%s\n",
                     static_cast<long long>(std::max<int64_t>(r.rendered - r.dropped - job.frames, 0)),
                     o.autoTail ? " (until 1 s below -90 dBFS, at most 60 s)" : "");
    std::fprintf(report, "MIDI delivered to the plug-in: %lld events\n",
                 static_cast<long long>(r.eventsDelivered));
}

int RunRender(ArgReader& args) {
    RenderOptions o;
    if (int code = ParseRenderOptions(args, o)) return code;
    AudioContainer container;
    if (int code = CheckOutputs(o, container)) return code;
    // With the audio on standard output, everything else goes to standard error.
    FILE* report = o.ToStandardOutput() ? stderr : stdout;
    RenderJob job;
    if (int code = PrepareJob(o, job)) return code;
    PluginSession session;
    PluginSetup setup;
    if (int code = LoadPlugin(session, o, job.rate, setup)) return code;
    if (int code = ResumePlugin(session, o, setup)) return code;
    const RenderResult result = Process(session.Effect(), o, job, setup);

    std::string error;
    if (o.format != SampleFormat::Float32)
        if (size_t clipped = CountClipped(result.output))
            Warn(std::to_string(clipped) + " samples exceed full scale and are clipped in the " +
                 FormatName(o.format) + " output");
    if (int code = WriteOutput(o, result.output, container, error)) return Fail(error, code);
    std::vector<HostMidiMessage> back = session.Host().ReceivedMidi();
    if (!o.midiOut.empty() && !WriteFileBytes(o.midiOut, EncodeSmf(back, job.rate), error))
        return Fail(error, kExitInput);

    PrintReport(report, o, job, setup, result);
    PrintReturnedMidi(report, o, session, back);
    if (!o.midiOut.empty())
        std::fprintf(report, "Wrote %s (Standard MIDI File, %zu messages)\n", o.midiOut.c_str(), back.size());
    std::fprintf(report, "Wrote %s (%s %s, %d channels)\n",
                 o.ToStandardOutput() ? "standard output" : o.output.c_str(), FormatName(o.format),
                 o.ToStandardOutput() ? "WAV" : ContainerName(container), result.output.ChannelCount());
    return kExitOk;
}

}  // namespace

const CommandInfo kRenderCommand = {
    "render",
    "  vsthost render MODULE [options] -o OUT\n",
    "offline processing of audio and MIDI through the plug-in",
    RenderOptionsHelp,
    RunRender,
};
