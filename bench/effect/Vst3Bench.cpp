// The VST 3 module beside the VST 2 module: the same effect's audio callback through each
// format's interface, alternating in one run at 64 and 512 frames (the ratio is the VST 3
// adapter's cost), and a VST 3 instance's start-up, first in a process and later. Both modules
// are loaded through their entry points only. It times itself (thread CPU time where the clock
// is fine, else wall clock), so it runs under Wine as well.
// Usage: vesmar_vst3_bench [seconds per measurement, 0.5].
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/AlternatingRuns.h"
#include "tests/support/ChildMedian.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/host/vst3/HostEventList.h"
#include "tools/vsthost/host/vst3/HostParameterChanges.h"
#include "tools/vsthost/host/vst3/ProcessBlock.h"
#include "tools/vsthost/host/vst3/Vst3Instance.h"
#include "tools/vsthost/host/vst3/Vst3Module.h"

namespace {

// The envelope settings the effect benchmark uses: 100 ms attack, 50 ms hold, 250 ms decay, a
// curved shape, full width, notes cut at note off; as normalized values.
constexpr float kSettings[][2] = {{0, 100.0f / 8000}, {1, 50.0f / 5000}, {2, 250.0f / 8000},
                                  {3, 1.0f},          {4, 1.0f},         {7, 0.0f}};

struct Stereo {
    explicit Stereo(int frames)
        : in0(static_cast<size_t>(frames), 0.25f),
          in1(static_cast<size_t>(frames), -0.5f),
          out0(static_cast<size_t>(frames)),
          out1(static_cast<size_t>(frames)) {}
    std::vector<float> in0, in1, out0, out1;
    float* inputs[2] = {in0.data(), in1.data()};
    float* outputs[2] = {out0.data(), out1.data()};
};

struct Vst2Side {
    AEffect* effect = nullptr;
    VstEventList events;
    void Start(PluginModule& module, int frames) {
        std::string error;
        effect = module.CreateEffect(&SilentHostCallback, error);
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        effect->dispatcher(effect, effSetBlockSize, 0, frames, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        for (const auto& s : kSettings) effect->setParameter(effect, static_cast<int32_t>(s[0]), s[1]);
    }
    void Block(Stereo& io, int frames, bool note) {
        if (note) {
            VstMidiEvent on = MidiRecord(0x90, 60, 100);
            effect->dispatcher(effect, effProcessEvents, 0, 0, events.AssignRecords(&on, 1), 0.0f);
        }
        effect->processReplacing(effect, io.inputs, io.outputs, frames);
    }
    ~Vst2Side() {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
};

struct Vst3Side {
    HostApplication application;
    HostComponentHandler handler;
    Vst3Instance instance{application, handler};
    HostEventList events, sent;
    HostParameterChanges changes;
    void Start(Vst3Module& module, int frames) {
        vst3::PClassInfo info{};
        std::string error;
        module.Factory()->getClassInfo(0, &info);
        instance.Create(module.Factory(), info.cid, error);
        instance.Start(44100.0, frames, vst3::kSample32);
        for (const auto& s : kSettings)
            instance.Controller()->setParamNormalized(static_cast<vst3::ParamID>(s[0]), s[1]);
    }
    void Block(Stereo& io, int frames, bool note) {
        ProcessBlock block(io.inputs, io.outputs, 2, frames);
        block.Lists(&changes, nullptr, &events, &sent);
        if (note) events.AddNote(true, 60, 100, 0);
        instance.Processor()->process(block.Data());
        events.Clear();
        sent.Clear();
    }
};

// ns per stereo frame of VST 2 and VST 3, alternating runs of about 16384 frames; the ratio of all
// runs and of each side's fastest run (which keeps a shared machine's interruptions out of it).
void Compare(PluginModule& vst2, Vst3Module& vst3, int frames, double seconds) {
    Vst2Side a;
    Vst3Side b;
    a.Start(vst2, frames);
    b.Start(vst3, frames);
    Stereo io(frames);
    const AlternatingRuns t = TimeAlternating(
        frames, seconds, [&](int k) { a.Block(io, frames, k == 0); },
        [&](int k) { b.Block(io, frames, k == 0); });
    std::printf("%6d %10.3f %10.3f %7.3f %8.3f\n", frames, t.a, t.b, t.b / t.a, t.fastestB / t.fastestA);
}

// GetPluginFactory's factory -> createInstance -> initialize -> terminate -> release, in us.
double OneInstance(Vst3Module& module) {
    const double t0 = ThreadNs();
    HostApplication application;
    HostComponentHandler handler;
    {
        Vst3Instance instance(application, handler);
        vst3::PClassInfo info{};
        std::string error;
        module.Factory()->getClassInfo(0, &info);
        if (!instance.Create(module.Factory(), info.cid, error)) return 0.0;
    }
    return (ThreadNs() - t0) / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    Vst3Module vst3;
    std::string error;
    if (!vst3.Load(VESMAR_VST3_BUNDLE, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (argc > 1 && std::string(argv[1]) == "--first-instance") {
        std::printf("%.3f\n", OneInstance(vst3));
        return 0;
    }
    PluginModule vst2;
    if (!vst2.Load(VESMAR_PLUGIN_PATH, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double seconds = argc > 1 ? std::max(0.01, std::atof(argv[1])) : 0.5;
    std::printf("ns per stereo frame, 32-bit replacing, VST 2 and VST 3 alternating in one run\n");
    std::printf("%6s %10s %10s %7s %8s\n", "frames", "VST 2", "VST 3", "ratio", "fastest");
    for (int frames : {64, 512}) Compare(vst2, vst3, frames, seconds);
    std::printf("\nVST 3 start-up, factory -> component -> initialize -> terminate -> release, us\n");
    double later = 0;
    int count = 0;
    for (; later < seconds * 1e6; ++count) later += OneInstance(vst3);
    std::printf("%-24s %10.1f   (median of 15 fresh processes)\n", "first in the process",
                ChildMedian("--first-instance", 15));
    std::printf("%-24s %10.1f\n", "later instance", later / count);
    return 0;
}
