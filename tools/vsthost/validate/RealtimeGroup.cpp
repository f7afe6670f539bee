// realtime: on a thread marked as the host's audio thread, the plug-in's audio callbacks (and the
// MIDI delivered before them) allocate nothing, free nothing and never wait for a lock once the
// first block is done; and how long each call takes, as a distribution.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tools/vsthost/host/RealtimeProbe.h"
#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

std::string N(int64_t n) {
    return std::to_string(n);
}

std::string Micros(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds * 1e6);
    return text;
}

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

}  // namespace

void RunRealtimeGroup(TestContext& ctx) {
    if (!RealtimeProbe::CountsAllocations()) {
        TestCase t(ctx, "realtime.audio-thread", "");
        return t.Skip(std::string("allocations on the audio thread cannot be watched here: ") +
                      RealtimeProbe::Method());
    }
    const int blocks = std::max(ctx.Level().realtimeBlocks, 2);
    std::vector<double> seconds;
    seconds.reserve(static_cast<size_t>(blocks));
    int32_t frames = TestContext::kBlockSize;
    {
        TestCase t(ctx, "realtime.audio-thread",
                   "after the first block, " + N(blocks) +
                       " blocks of audio and MIDI on the audio thread allocate, free and wait for locks "
                       "nothing (watched through " +
                       RealtimeProbe::Method() + ")");
        auto instance = t.NewInstance();
        if (!instance) return;
        HostedEffect& fx = instance->Effect();
        AudioBlock block;
        VstMidiEvent notes[2] = {};
        VstEventList list;
        // Everything sized before the thread is watched; the host's own steps are paused.
        block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
        list.AssignRecords(notes, 2);
        t.Calling("effMainsChanged, effStartProcess");
        fx.Resume();
        t.Calling("effProcessEvents and processReplacing, " + N(blocks) + " blocks on the audio thread");
        HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
        RealtimeProbe::MarkThisThread(true);
        RealtimeCounts afterFirst;
        for (int b = 0; b < blocks; ++b) {
            {
                RealtimeProbe::Pause host;
                block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
                FillTestSignal(block, int64_t{b} * frames, TestContext::kSampleRate);
                instance->Host().SetTransport(static_cast<double>(int64_t{b} * frames), true);
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
            fx.ProcessEvents(list.List());
            auto start = std::chrono::steady_clock::now();
            fx.ProcessReplacing(block.In(), block.Out(), frames);
            seconds.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            if (b == 0) afterFirst = RealtimeProbe::ThisThread();
        }
        Judge(t, {"effProcessEvents and processReplacing", Minus(RealtimeProbe::ThisThread(), afterFirst)});
        if (fx.CanDouble()) {
            t.Calling("processDoubleReplacing on the audio thread");
            RealtimeCounts before{};
            const int doubles = std::max(blocks / 4, 2);
            for (int b = 0; b < doubles; ++b) {
                fx.ProcessDouble(block.InDouble(), block.OutDouble(), frames);
                if (b == 0) before = RealtimeProbe::ThisThread();
            }
            Judge(t, {"processDoubleReplacing", Minus(RealtimeProbe::ThisThread(), before)});
        }
        RealtimeProbe::MarkThisThread(false);
        HostCallback::SetThreadProcessLevel(0);
        t.Calling("effStopProcess, effMainsChanged, effClose");
    }
    if (seconds.empty()) return;
    std::sort(seconds.begin(), seconds.end());
    const size_t n = seconds.size();
    const double median = seconds[n / 2];
    const double p99 = seconds[std::min(n - 1, (n * 99) / 100)];
    char budget[32];
    std::snprintf(budget, sizeof budget, "%.0f", frames / TestContext::kSampleRate * 1e6);
    TestCase timing(ctx, "realtime.timing",
                    "processReplacing of " + N(frames) + " frames (" + budget + " us of audio) took median " +
                        Micros(median) + " us, 99th percentile " + Micros(p99) + " us, max " +
                        Micros(seconds.back()) + " us over " + N(static_cast<int64_t>(n)) + " calls");
}
