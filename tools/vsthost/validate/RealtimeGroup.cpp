// realtime: on a thread marked as the host's audio thread, the plug-in's audio callbacks (and the
// MIDI delivered before them) allocate nothing, free nothing and never wait for a lock once the
// first block is done; and how long each call takes, as a distribution.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tools/vsthost/host/RealtimeProbe.h"
#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/validate/CallTimes.h"
#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

// What the plug-in did on the audio thread after its first block, by callback.
struct Watched {
    const char* callback;
    RealtimeCounts counts;
};

void Judge(TestCase& t, const Watched& w) {
    const RealtimeCounts& c = w.counts;
    const int from = t.Level().realtimeFailsFrom;
    if (c.allocations > 0 || c.frees > 0)
        t.Problem(std::string(w.callback) + " allocated " + N(c.allocations) + " and freed " + N(c.frees) +
                      " times after the first block",
                  from);
    if (c.lockWaits > 0)
        t.Problem(std::string(w.callback) + " waited " + N(c.lockWaits) + " times for a lock (of " +
                      N(c.locks) + " taken) after the first block",
                  from);
}

RealtimeCounts Minus(const RealtimeCounts& a, const RealtimeCounts& b) {
    return {a.allocations - b.allocations, a.frees - b.frees, a.locks - b.locks, a.lockWaits - b.lockWaits};
}

// The note on and off of block b, in the block's first and second half.
void Notes(VstMidiEvent (&notes)[2], int b, int32_t frames) {
    for (int n = 0; n < 2; ++n) {
        VstMidiEvent& e = notes[n];
        e = VstMidiEvent{};
        e.type = kVstMidiType;
        e.byteSize = sizeof(VstMidiEvent);
        e.deltaFrames = n * (frames / 2);
        e.midiData[0] = static_cast<char>(n == 0 ? 0x90 : 0x80);
        e.midiData[1] = static_cast<char>(60 + b % 12);
        e.midiData[2] = static_cast<char>(n == 0 ? 100 : 0);
    }
}

// blocks of audio and MIDI on the calling (marked) thread; processReplacing timed into times.
// What the plug-in did after the first block is judged; then processDoubleReplacing's.
void Watch(TestCase& t, PluginInstance& instance, int blocks, CallTimes& times) {
    HostedEffect& fx = instance.Effect();
    const int32_t frames = TestContext::kBlockSize;
    AudioBlock block;
    VstMidiEvent notes[2] = {};
    VstEventList list;
    // Everything sized before the thread is watched; the host's own steps are paused.
    block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
    list.AssignRecords(notes, 2);
    RealtimeCounts afterFirst;
    for (int b = 0; b < blocks; ++b) {
        {
            RealtimeProbe::Pause host;
            block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
            FillTestSignal(block, int64_t{b} * frames, TestContext::kSampleRate);
            instance.Host().SetTransport(static_cast<double>(int64_t{b} * frames), true);
            Notes(notes, b, frames);
        }
        fx.ProcessEvents(list.List());
        const CallTimes::Clock::time_point start = CallTimes::Clock::now();
        fx.ProcessReplacing(block.In(), block.Out(), frames);
        times.Since(start);
        if (b == 0) afterFirst = RealtimeProbe::ThisThread();
    }
    Judge(t, {"effProcessEvents and processReplacing", Minus(RealtimeProbe::ThisThread(), afterFirst)});
    if (!fx.CanDouble()) return;
    t.Calling("processDoubleReplacing on the audio thread");
    RealtimeCounts before{};
    const int doubles = std::max(blocks / 4, 2);
    for (int b = 0; b < doubles; ++b) {
        fx.ProcessDouble(block.InDouble(), block.OutDouble(), frames);
        if (b == 0) before = RealtimeProbe::ThisThread();
    }
    Judge(t, {"processDoubleReplacing", Minus(RealtimeProbe::ThisThread(), before)});
}

}  // namespace

void RunRealtimeGroup(TestContext& ctx) {
    if (!RealtimeProbe::CountsAllocations()) {
        TestCase t(ctx, "realtime.audio-thread", "");
        return t.Skip(std::string("allocations on the audio thread cannot be watched here: ") +
                      RealtimeProbe::Method());
    }
    const int blocks = std::max(ctx.Level().realtimeBlocks, 2);
    CallTimes times(static_cast<size_t>(blocks));
    {
        TestCase t(ctx, "realtime.audio-thread",
                   "after the first block, " + N(blocks) +
                       " blocks of audio and MIDI on the audio thread allocate, free and wait for locks "
                       "nothing (watched through " +
                       RealtimeProbe::Method() + ")");
        auto instance = t.NewInstance();
        if (!instance) return;
        t.Calling("effMainsChanged, effStartProcess");
        instance->Effect().Resume();
        t.Calling("effProcessEvents and processReplacing, " + N(blocks) + " blocks on the audio thread");
        HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
        RealtimeProbe::MarkThisThread(true);
        Watch(t, *instance, blocks, times);
        RealtimeProbe::MarkThisThread(false);
        HostCallback::SetThreadProcessLevel(0);
        t.Calling("effStopProcess, effMainsChanged, effClose");
    }
    if (times.Count() == 0) return;
    char budget[32];
    std::snprintf(budget, sizeof budget, "%.0f", TestContext::kBlockSize / TestContext::kSampleRate * 1e6);
    TestCase timing(ctx, "realtime.timing",
                    "processReplacing of " + N(TestContext::kBlockSize) + " frames (" + budget +
                        " us of audio) took median " + Micros(times.Quantile(0.5)) + " us, 99th percentile " +
                        Micros(times.Quantile(0.99)) + " us, max " + Micros(times.Max()) + " us over " +
                        N(static_cast<int64_t>(times.Count())) + " calls");
}
