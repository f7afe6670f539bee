// Audio callbacks and start-up of the built module, driven through its exported entry point and
// effect record exactly as a host does.
//
// Each audio benchmark also times, in the same run and at the same block size, the reference kernel:
// one dependent 64-bit add per sample (the pan ramp, the loop's physical floor) writing stereo
// output. It reports ns per stereo frame for both and their ratio, and a summary table closes the
// run.
#include <benchmark/benchmark.h>

#include <ctime>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/vsthost/HostCallback.h"
#include "tools/vsthost/MidiRecord.h"
#include "tools/vsthost/PluginModule.h"
#include "tools/vsthost/VstEventList.h"

namespace {

// The module, loaded through the host library for the lifetime of one benchmark function; its
// instances run on a host that records nothing.
class Module {
  public:
    Module() { loaded_ = module_.Load(VESMAR_PLUGIN_PATH, error_); }
    bool Loaded() const { return loaded_; }
    AEffect* Create() {
        std::string error;
        return module_.CreateEffect(host_, error);
    }

  private:
    PluginModule module_;
    HostCallback host_{0};
    std::string error_;
    bool loaded_ = false;
};

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// The list's storage is kept by the caller, so that sending allocates nothing after the first time.
void SendNoteOn(AEffect* effect, VstEventList& events) {
    VstMidiEvent note = MidiRecord(0x90, 60, 100);
    Dispatch(effect, effProcessEvents, 0, 0, events.AssignRecords(&note, 1));
}

// The floor: one dependent add per sample, stored to both channels.
[[gnu::noinline]] double ReferenceKernel(double* out0, double* out1, int n, double position, double step) {
    for (int i = 0; i < n; ++i) {
        position += step;
        out0[i] = position;
        out1[i] = position;
    }
    return position;
}

// The calling thread's CPU time in ns: time the thread spends preempted by other work on a shared
// machine does not count, for the engine and the reference alike.
double ThreadNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

enum class Callback { Replacing, Accumulating, DoubleReplacing };
const char* CallbackName(Callback c) {
    return c == Callback::Replacing      ? "processReplacing"
           : c == Callback::Accumulating ? "process"
                                         : "processDoubleReplacing";
}

struct Figures {
    double engine;
    double reference;
};
std::map<std::pair<int, int>, Figures>& Summary() {
    static std::map<std::pair<int, int>, Figures> summary;
    return summary;
}

template <typename Sample>
struct Buffers {
    explicit Buffers(int frames) : in0(frames), in1(frames), out0(frames), out1(frames) {
        for (int i = 0; i < frames; ++i) {
            in0[i] = static_cast<Sample>(std::sin(0.01 * i));
            in1[i] = static_cast<Sample>(std::cos(0.013 * i));
        }
    }
    std::vector<Sample> in0, in1, out0, out1;
    Sample* inputs[2] = {in0.data(), in1.data()};
    Sample* outputs[2] = {out0.data(), out1.data()};
};

// An opened, running instance with an envelope that keeps moving: 100 ms attack, 50 ms hold, 250 ms
// decay in the "Attack slow && Decay fast" shape (a sine or cosine each block), full width, a new
// note every 16384 frames so every phase is visited.
void AudioCallback(benchmark::State& state, Callback callback) {
    const int frames = static_cast<int>(state.range(0));
    Module module;
    AEffect* effect = module.Loaded() ? module.Create() : nullptr;
    if (!effect) {
        state.SkipWithError("cannot load " VESMAR_PLUGIN_PATH);
        return;
    }
    Dispatch(effect, effOpen);
    Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effect, effSetBlockSize, 0, frames);
    Dispatch(effect, effMainsChanged, 0, 1);
    const float settings[][2] = {{0, 100.0f / 8000}, {1, 50.0f / 5000}, {2, 250.0f / 8000},
                                 {3, 1.0f},          {4, 1.0f},         {7, 0.0f}};
    for (const auto& s : settings) effect->setParameter(effect, static_cast<int32_t>(s[0]), s[1]);

    Buffers<float> single(frames);
    Buffers<double> wide(frames);
    std::vector<double> ref0(frames), ref1(frames);
    double refPosition = 0.0;
    int64_t sinceNote = 1 << 30;
    VstEventList events;
    double engineNs = 0.0, referenceNs = 0.0;
    // Engine and reference alternate in runs of about 16384 frames, so that a change in the machine's
    // load between them cannot skew the ratio, and the clock reads stay negligible.
    const int run = std::max(1, 16384 / frames);
    for (auto _ : state) {
        const double t0 = ThreadNs();
        for (int k = 0; k < run; ++k) {
            if (sinceNote >= 16384) {
                SendNoteOn(effect, events);
                sinceNote = 0;
            }
            sinceNote += frames;
            switch (callback) {
                case Callback::Replacing:
                    effect->processReplacing(effect, single.inputs, single.outputs, frames);
                    break;
                case Callback::Accumulating:
                    effect->process(effect, single.inputs, single.outputs, frames);
                    break;
                case Callback::DoubleReplacing:
                    effect->processDoubleReplacing(effect, wide.inputs, wide.outputs, frames);
                    break;
            }
            benchmark::ClobberMemory();
        }
        const double t1 = ThreadNs();
        for (int k = 0; k < run; ++k) {
            refPosition = ReferenceKernel(ref0.data(), ref1.data(), frames, refPosition, 1e-9);
            benchmark::ClobberMemory();
        }
        const double t2 = ThreadNs();
        engineNs += t1 - t0;
        referenceNs += t2 - t1;
    }
    benchmark::DoNotOptimize(refPosition);
    Dispatch(effect, effMainsChanged, 0, 0);
    Dispatch(effect, effClose);

    const double totalFrames = static_cast<double>(state.iterations()) * run * frames;
    const double engine = engineNs / totalFrames, reference = referenceNs / totalFrames;
    state.counters["ns_per_frame"] = engine;
    state.counters["ref_ns_per_frame"] = reference;
    state.counters["ratio"] = engine / reference;
    Summary()[{static_cast<int>(callback), frames}] = {engine, reference};
}

// VSTPluginMain -> effOpen -> effClose, as a host's plug-in scan does. "First" loads the module
// afresh for every instance (load and unload are not timed), so each one is the first in the
// process; "Later" keeps the module loaded.
void StartUpFirstInstance(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto* module = new Module;
        if (!module->Loaded()) {
            delete module;
            state.SkipWithError("cannot load " VESMAR_PLUGIN_PATH);
            break;
        }
        state.ResumeTiming();
        AEffect* effect = module->Create();
        Dispatch(effect, effOpen);
        Dispatch(effect, effClose);
        state.PauseTiming();
        delete module;
        state.ResumeTiming();
    }
}

void StartUpLaterInstance(benchmark::State& state) {
    Module module;
    AEffect* first = module.Loaded() ? module.Create() : nullptr;  // the process's first instance, kept open
    if (!first) {
        state.SkipWithError("cannot load " VESMAR_PLUGIN_PATH);
        return;
    }
    Dispatch(first, effOpen);
    for (auto _ : state) {
        AEffect* effect = module.Create();
        Dispatch(effect, effOpen);
        Dispatch(effect, effClose);
    }
    Dispatch(first, effClose);
}

void RegisterAll() {
    for (Callback callback : {Callback::Replacing, Callback::Accumulating, Callback::DoubleReplacing}) {
        auto* b = benchmark::RegisterBenchmark(
            (std::string("Audio/") + CallbackName(callback)).c_str(),
            [callback](benchmark::State& state) { AudioCallback(state, callback); });
        for (int frames = 32; frames <= 4096; frames *= 2) b->Arg(frames);
    }
    benchmark::RegisterBenchmark("StartUp/FirstInstance", StartUpFirstInstance)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("StartUp/LaterInstance", StartUpLaterInstance)
        ->Unit(benchmark::kMicrosecond);
}

void PrintSummary() {
    if (Summary().empty()) return;
    std::printf(
        "\nns per stereo frame, engine vs reference kernel (one dependent add per sample), same run\n");
    std::printf("%-24s %6s %10s %10s %7s\n", "callback", "frames", "engine", "reference", "ratio");
    for (const auto& [key, figures] : Summary()) {
        std::printf("%-24s %6d %10.3f %10.3f %7.2f\n", CallbackName(static_cast<Callback>(key.first)),
                    key.second, figures.engine, figures.reference, figures.engine / figures.reference);
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
