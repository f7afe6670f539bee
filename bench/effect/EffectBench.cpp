// Audio callbacks and start-up of the built module, loaded through the host library and driven
// through its exported entry point and effect record exactly as a host does.
//
// Each audio measurement also times, in the same run and at the same block size, the reference
// kernel: one dependent 64-bit add per sample (the pan ramp, the loop's physical floor) writing
// stereo output. It reports ns per stereo frame for both and their ratio.
//
// The program times itself (thread CPU time, no benchmark library), so that the same source runs
// natively and, cross-compiled, under Wine. Usage: vesmar_effect_bench [seconds per measurement, 0.5].
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/AlternatingRuns.h"
#include "tests/support/ChildMedian.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

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

enum class Callback { Replacing, Accumulating, DoubleReplacing };
const char* CallbackName(Callback c) {
    return c == Callback::Replacing      ? "processReplacing"
           : c == Callback::Accumulating ? "process"
                                         : "processDoubleReplacing";
}

template <typename Sample>
struct Buffers {
    explicit Buffers(size_t frames) : in0(frames), in1(frames), out0(frames), out1(frames) {
        for (size_t i = 0; i < frames; ++i) {
            in0[i] = static_cast<Sample>(std::sin(0.01 * i));
            in1[i] = static_cast<Sample>(std::cos(0.013 * i));
        }
    }
    std::vector<Sample> in0, in1, out0, out1;
    Sample* inputs[2] = {in0.data(), in1.data()};
    Sample* outputs[2] = {out0.data(), out1.data()};
};

// The module, loaded through the host library; its instances run on the silent host.
class Module {
  public:
    Module() { loaded = module.Load(VESMAR_PLUGIN_PATH, error); }
    bool Loaded() const { return loaded; }
    const std::string& Error() const { return error; }
    AEffect* Create() {
        std::string reason;
        return module.CreateEffect(&SilentHostCallback, reason);
    }

  private:
    PluginModule module;
    std::string error;
    bool loaded = false;
};

struct Figures {
    double engine = 0;     // ns per stereo frame
    double reference = 0;  // ns per stereo frame of the reference kernel
};

// An opened, running instance with an envelope that keeps moving: 100 ms attack, 50 ms hold, 250 ms
// decay in the "Attack slow && Decay fast" shape (a sine or cosine each block), full width, a new
// note every 16384 frames so every phase is visited. Runs for about the given seconds.
Figures AudioCallback(Module& module, Callback callback, int frames, double seconds) {
    AEffect* effect = module.Create();
    if (!effect) return {};
    Dispatch(effect, effOpen);
    Dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(effect, effSetBlockSize, 0, frames);
    Dispatch(effect, effMainsChanged, 0, 1);
    const float settings[][2] = {{0, 100.0f / 8000}, {1, 50.0f / 5000}, {2, 250.0f / 8000},
                                 {3, 1.0f},          {4, 1.0f},         {7, 0.0f}};
    for (const auto& s : settings) effect->setParameter(effect, static_cast<int32_t>(s[0]), s[1]);

    const size_t count = static_cast<size_t>(frames);
    Buffers<float> single(count);
    Buffers<double> wide(count);
    std::vector<double> ref0(count), ref1(count);
    double refPosition = 0.0;
    int64_t sinceNote = 1 << 30;
    VstEventList events;
    const AlternatingRuns t = TimeAlternating(
        frames, seconds,
        [&](int) {
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
        },
        [&](int) { refPosition = ReferenceKernel(ref0.data(), ref1.data(), frames, refPosition, 1e-9); });
    Dispatch(effect, effMainsChanged, 0, 0);
    Dispatch(effect, effClose);
    if (refPosition < 0) std::printf("%f\n", refPosition);  // keeps the reference's result alive

    return {t.a, t.b};
}

// VSTPluginMain -> effOpen -> effClose, as a host's plug-in scan does, in us for one instance.
double TimeOneInstance(Module& module) {
    const double t0 = ThreadNs();
    AEffect* effect = module.Create();
    if (!effect) return 0.0;
    Dispatch(effect, effOpen);
    Dispatch(effect, effClose);
    return (ThreadNs() - t0) / 1000.0;
}

// Later instances: the module stays loaded with a first instance open, as in a host's session.
double LaterInstances(double seconds) {
    Module module;
    AEffect* kept = module.Create();
    if (!kept) return 0.0;
    Dispatch(kept, effOpen);
    double us = 0.0;
    int64_t count = 0;
    while (us < seconds * 1e6) {
        us += TimeOneInstance(module);
        ++count;
    }
    Dispatch(kept, effClose);
    return us / static_cast<double>(count);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--first-instance") {
        Module module;
        if (!module.Loaded()) return 1;
        std::printf("%.3f\n", TimeOneInstance(module));
        return 0;
    }
    const double seconds = argc > 1 ? std::max(0.01, std::atof(argv[1])) : 0.5;
    Module module;
    if (!module.Loaded()) {
        std::fprintf(stderr, "%s\n", module.Error().c_str());
        return 1;
    }
    std::printf(
        "ns per stereo frame, engine vs reference kernel (one dependent add per sample), same run;"
        " %s\n",
        ThreadClockIsFine() ? "thread CPU time" : "wall-clock time (the thread CPU clock is coarse here)");
    std::printf("%-24s %6s %10s %10s %7s\n", "callback", "frames", "engine", "reference", "ratio");
    for (Callback callback : {Callback::Replacing, Callback::Accumulating, Callback::DoubleReplacing}) {
        for (int frames = 32; frames <= 4096; frames *= 2) {
            const Figures f = AudioCallback(module, callback, frames, seconds);
            std::printf("%-24s %6d %10.3f %10.3f %7.2f\n", CallbackName(callback), frames, f.engine,
                        f.reference, f.reference > 0 ? f.engine / f.reference : 0.0);
            std::fflush(stdout);
        }
    }
    std::printf("\nstart-up, VSTPluginMain + effOpen + effClose, us per instance\n");
    const double first = ChildMedian("--first-instance", 15), later = LaterInstances(seconds);
    std::printf("%-24s %10.1f   (median of 15 fresh processes: images decoded)\n", "first in the process",
                first);
    std::printf("%-24s %10.1f\n", "later instance", later);
    std::printf("%-24s %10.1f\n", "first / later", later > 0 ? first / later : 0.0);
    return 0;
}
