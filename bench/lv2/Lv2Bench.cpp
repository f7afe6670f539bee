// The LV2 plug-in's run() beside the VST 2 module's processReplacing, both built from the same
// effect, at 64 and 512 frames: the same envelope settings and note cadence, alternating in runs of
// about 16384 frames so that a change in the machine's load cannot skew the ratio (thread CPU
// time). Each side's time includes its host's share: the atom sequences prepared for every LV2
// run, the event list sent with each note for VST 2.
// Usage: vesmar_lv2_bench [seconds per measurement, 0.5].
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/AlternatingRuns.h"
#include "lv2/Lv2PortLayout.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/host/lv2/Lv2Instance.h"

namespace {
intptr_t Dispatch(AEffect* effect, int32_t opcode, intptr_t value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, opt);
}

void Fill(float* left, float* right, int frames) {
    for (int i = 0; i < frames; ++i) {
        left[i] = static_cast<float>(std::sin(0.01 * i));
        right[i] = static_cast<float>(std::cos(0.013 * i));
    }
}

struct Figures {
    double lv2 = 0, vst = 0;  // ns per stereo frame, all runs
    double fastest = 0;       // LV2's fastest run over VST 2's: a shared machine's interruptions left out
};

// Envelope of 100 ms attack, 50 ms hold, 250 ms decay in the "Attack slow && Decay fast" shape,
// full width, note-off ignored, a new note every 16384 frames.
Figures Measure(Lv2Instance& lv2, AEffect* vst, int frames, double seconds) {
    const float lv2Settings[][2] = {{0, 100}, {1, 50}, {2, 250}, {3, 4}, {4, 100}, {7, 0}};
    for (const auto& s : lv2Settings) lv2.SetControl(lv2.Ports()[static_cast<size_t>(s[0])].symbol, s[1]);
    const float vstSettings[][2] = {{0, 100.0f / 8000}, {1, 50.0f / 5000}, {2, 250.0f / 8000},
                                    {3, 1.0f},          {4, 1.0f},         {7, 0.0f}};
    for (const auto& s : vstSettings) vst->setParameter(vst, static_cast<int32_t>(s[0]), s[1]);
    Dispatch(vst, effSetBlockSize, frames);
    Dispatch(vst, effMainsChanged, 1);
    lv2.Activate();

    std::vector<float> in0(static_cast<size_t>(frames)), in1(in0), out0(in0), out1(in0);
    Fill(in0.data(), in1.data(), frames);
    Fill(lv2.AudioInputs()[0], lv2.AudioInputs()[1], frames);
    float* inputs[2] = {in0.data(), in1.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    VstEventList events;
    const Lv2MidiEvent note{0, 3, {0x90, 60, 100}};
    VstMidiEvent vstNote = MidiRecord(0x90, 60, 100);

    const AlternatingRuns t = TimeAlternating(
        frames, seconds,
        [&](int k) {
            lv2.PrepareRun(&note, k == 0 ? 1 : 0);
            lv2.RunPlugin(static_cast<uint32_t>(frames));
        },
        [&](int k) {
            if (k == 0) Dispatch(vst, effProcessEvents, 0, events.AssignRecords(&vstNote, 1));
            vst->processReplacing(vst, inputs, outputs, frames);
        });
    lv2.Deactivate();
    Dispatch(vst, effMainsChanged, 0);
    return {t.a, t.b, t.fastestA / t.fastestB};
}
}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::max(0.01, std::atof(argv[1])) : 0.5;
    PluginModule module;
    std::string error;
    if (!module.Load(VESMAR_PLUGIN_PATH, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    Lv2World world;
    Lv2UridMap urids;
    const std::string uri = std::string(VESMAR_LV2_URI) + kLv2Variants[0].uriSuffix;
    if (!world.LoadBundle(VESMAR_LV2_BUNDLE) || !world.Plugin(uri)) {
        std::fprintf(stderr, "no %s in %s\n", uri.c_str(), VESMAR_LV2_BUNDLE);
        return 1;
    }
    std::printf("ns per stereo frame, LV2 run() vs VST 2 processReplacing, same run; thread CPU time\n");
    std::printf("%6s %10s %10s %7s %8s\n", "frames", "LV2", "VST 2", "ratio", "fastest");
    for (int frames : {64, 512}) {
        Lv2Instance lv2(world, urids);
        AEffect* vst = module.CreateEffect(&SilentHostCallback, error);
        if (!vst || !lv2.Instantiate(world.Plugin(uri), {44100, static_cast<uint32_t>(frames)}, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        Dispatch(vst, effOpen);
        Dispatch(vst, effSetSampleRate, 0, nullptr, 44100.0f);
        const Figures f = Measure(lv2, vst, frames, seconds);
        Dispatch(vst, effClose);
        std::printf("%6d %10.3f %10.3f %7.3f %8.3f\n", frames, f.lv2, f.vst, f.vst > 0 ? f.lv2 / f.vst : 0.0,
                    f.fastest);
    }
    return 0;
}
