// CLAP process against the VST 2 module's processReplacing, at 64 and 512 frames, stereo, one
// note held: the same effect behind two adapters, so the ratio is the CLAP adapter's own cost
// (events, port checks) over VST 2's. Runs alternate in one process and the fastest of each is
// kept, which keeps a shared machine's noise out of the ratio.
// Usage: vesmar_clap_bench [rounds, 15]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/host/clap/ClapAudioBlock.h"
#include "tools/vsthost/host/clap/ClapPlugin.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kFramesPerRun = 1 << 18;

template <class Body>
double NsPerFrame(uint32_t frames, Body body) {
    const int blocks = kFramesPerRun / static_cast<int>(frames);
    auto start = std::chrono::steady_clock::now();
    for (int b = 0; b < blocks; ++b) body();
    std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    return took.count() / kFramesPerRun;
}

bool Measure(ClapModule& clapModule, PluginModule& vstModule, uint32_t frames, int rounds) {
    std::string error;
    HostCallback host;
    AEffect* record = vstModule.CreateEffect(host, error);
    if (!record) return std::fprintf(stderr, "%s\n", error.c_str()), false;
    HostedEffect vst(record, host);
    vst.Open(kRate, static_cast<int32_t>(frames));
    vst.Resume();
    VstMidiEvent note = MidiRecord(0x90, 60, 100);
    VstEventList list;
    vst.ProcessEvents(list.AssignRecords(&note, 1));

    ClapRuleBook rules;
    ClapPlugin clap(clapModule, rules);
    if (!clap.Create("audio.darvo.vesmar", error) || !clap.Activate(kRate, 1, frames) ||
        !clap.StartProcessing())
        return std::fprintf(stderr, "CLAP: %s\n", error.c_str()), false;
    ClapAudioBlock block(2, frames, false);
    ClapInputEvents noteIn, none;
    noteIn.AddMidi(0, 0x90, 60, 100);
    ClapOutputEvents out(rules);
    clap.Process(block.Record(frames, 0, noteIn.Table(), out.Begin(frames)));
    // The process call itself, on this thread: the test host's hand-over to its audio thread
    // would be timed otherwise.
    const clap_plugin* plugin = clap.Raw();
    const clap_input_events* in = none.Table();
    std::vector<float> vstIn[2], vstOut[2];
    for (auto* v : {&vstIn[0], &vstIn[1], &vstOut[0], &vstOut[1]}) v->assign(frames, 0.25f);
    float* inputs[2] = {vstIn[0].data(), vstIn[1].data()};
    float* outputs[2] = {vstOut[0].data(), vstOut[1].data()};
    for (uint32_t c = 0; c < 2; ++c) std::fill(block.In32(c), block.In32(c) + frames, 0.25f);

    double bestVst = 1e300, bestClap = 1e300;
    for (int r = 0; r < rounds; ++r) {
        bestVst =
            std::min(bestVst, NsPerFrame(frames, [&] {
                         record->processReplacing(record, inputs, outputs, static_cast<int32_t>(frames));
                     }));
        bestClap = std::min(bestClap, NsPerFrame(frames, [&] {
                                out.Clear();
                                clap_process process = block.Record(frames, -1, in, out.Begin(frames));
                                plugin->process(plugin, &process);
                            }));
    }
    std::printf(
        "%4u frames  VST 2 processReplacing %7.2f ns/frame  CLAP process %7.2f ns/frame  ratio %.3f\n",
        frames, bestVst, bestClap, bestClap / bestVst);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string error;
    ClapModule clapModule;
    PluginModule vstModule;
    if (!clapModule.Load(VESMAR_CLAP_PATH, error) || !vstModule.Load(VESMAR_PLUGIN_PATH, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (uint32_t frames : {64u, 512u}) {
        if (!Measure(clapModule, vstModule, frames, rounds)) return 1;
    }
    return 0;
}
