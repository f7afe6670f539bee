// audio: any block size up to the announced one (and beyond), rates from 8 kHz to 384 kHz, hostile
// input, in-place buffers, the three callbacks consistent with each other, finite output from
// finite input, determinism, silence after the tail, and no denormal slowdown.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/EventBatch.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

constexpr double kRates[] = {44100, 8000, 384000, 48000, 96000, 22050, 192000, 11025, 88200, 32000, 176400};

// A fresh, resumed instance with a note playing, so MIDI-driven plug-ins do something.
std::unique_ptr<PluginInstance> Started(TestCase& t, double rate = TestContext::kSampleRate,
                                        int32_t block = TestContext::kBlockSize) {
    auto instance = t.NewInstance(rate, block);
    if (!instance) return nullptr;
    instance->Effect().Resume();
    EventBatch notes;
    notes.Midi(0, 0x90, 60, 100);
    notes.Deliver(instance->Effect());
    return instance;
}

// Random parameter values, the same sequence for every instance given the same generator state.
void SetParameters(HostedEffect& fx, SeededRandom random) {
    for (int32_t i = 0; i < std::min(fx.NumParams(), 4096); ++i) fx.SetParameter(i, float(random.Unit()));
}

// One block through processReplacing on the block's own buffers.
void Replace(PluginInstance& instance, AudioBlock& block) {
    instance.Effect().ProcessReplacing(block.In(), block.Out(), block.Frames());
}

void FillNoise(AudioBlock& block, SeededRandom& random, float scale) {
    for (int32_t c = 0; c < block.Inputs(); ++c)
        for (int32_t i = 0; i < block.Frames(); ++i) block.Input(c)[i] = random.Signed() * scale;
}

void FillConstant(AudioBlock& block, float value) {
    for (int32_t c = 0; c < block.Inputs(); ++c)
        std::fill(block.Input(c), block.Input(c) + block.Frames(), value);
}

void BlockSizes(TestContext& ctx) {
    TestCase t(ctx, "audio.block-sizes",
               "blocks of 1 up to the announced size, " + N(ctx.Level().randomBlocks) +
                   " of random size and 0 frames process without crashing, with finite output");
    auto instance = Started(t);
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    AudioBlock block;
    std::vector<int32_t> sizes = {0, 1, 2, 3, 7, 16, 64, 511, TestContext::kBlockSize, 0};
    for (int k = 0; k < ctx.Level().randomBlocks; ++k)
        sizes.push_back(t.Random().Between(1, TestContext::kBlockSize));
    int64_t at = 0;
    t.Calling("processReplacing with blocks of 0.." + N(TestContext::kBlockSize) + " frames");
    for (int32_t frames : sizes) {
        block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
        FillTestSignal(block, at, instance->SampleRate());
        instance->Host().SetTransport(double(at), true);
        Replace(*instance, block);
        at += frames;
        if (!block.OutputsFinite()) {
            t.Fail("a block of " + N(frames) + " frames gives NaN or infinity");
            break;
        }
    }
}

void OversizedBlocks(TestContext& ctx) {
    TestCase t(ctx, "audio.oversized-blocks",
               "blocks above the announced size (a host that lies) still process with finite output");
    auto instance = Started(t, TestContext::kSampleRate, 256);
    if (!instance) return;
    AudioBlock block;
    for (int32_t frames : {257, 512, 4096}) {
        t.Calling("processReplacing with " + N(frames) + " frames (announced 256)");
        block.Resize(instance->Effect().NumInputs(), instance->Effect().NumOutputs(), frames);
        FillTestSignal(block, 0, instance->SampleRate());
        Replace(*instance, block);
        if (!block.OutputsFinite())
            t.Problem("a block of " + N(frames) + " frames, above the announced 256, gives NaN or infinity",
                      ctx.Level().oversizeFailsFrom);
    }
}

void SampleRates(TestContext& ctx) {
    int count = std::min<int>(ctx.Level().sampleRates, int(std::size(kRates)));
    TestCase t(ctx, "audio.sample-rates",
               N(count) + " sample rates from 8000 to 384000 Hz give finite output");
    for (int k = 0; k < count; ++k) {
        double rate = kRates[k];
        t.Calling("effSetSampleRate " + F(rate) + " and processReplacing");
        auto instance = Started(t, rate);
        if (!instance) return;
        std::vector<float> out = instance->Render(ctx.Level().signalBlocks / 4 + 1);
        if (std::any_of(out.begin(), out.end(), [](float s) { return !std::isfinite(s); }))
            t.Fail("at " + F(rate) + " Hz the output holds NaN or infinity");
    }
}

void HostileInput(TestContext& ctx) {
    TestCase t(ctx, "audio.signals",
               "silence, full-scale noise, denormals and huge values in give finite output; NaN and infinity "
               "in never crash, and finite output returns once the input is finite again");
    AudioBlock block;
    struct Signal {
        const char* name;
        float value;  // the constant, or the noise's scale
        bool noise, finite;
    };
    const Signal signals[] = {{"silence", 0.0f, false, true},
                              {"full-scale noise", 1.0f, true, true},
                              {"denormals", 1e-40f, false, true},
                              {"huge values", 1e30f, false, true},
                              {"NaN", std::numeric_limits<float>::quiet_NaN(), false, false},
                              {"infinity", std::numeric_limits<float>::infinity(), false, false}};
    for (const Signal& s : signals) {
        // Each signal on a fresh instance, so that one poisoned by NaN is not blamed for the next.
        auto instance = Started(t);
        if (!instance) return;
        HostedEffect& fx = instance->Effect();
        t.Calling(std::string("processReplacing with ") + s.name + " in");
        bool finite = true;
        for (int b = 0; b < ctx.Level().signalBlocks; ++b) {
            block.Resize(fx.NumInputs(), fx.NumOutputs(), TestContext::kBlockSize);
            if (s.noise)
                FillNoise(block, t.Random(), s.value);
            else
                FillConstant(block, s.value);
            Replace(*instance, block);
            finite = finite && block.OutputsFinite();
        }
        if (s.finite && !finite) t.Fail(std::string(s.name) + " in give NaN or infinity out");
        if (s.finite || s.value == 0) continue;
        // Back to an ordinary signal: the plug-in may take its tail to recover, no longer.
        bool recovered = false;
        for (int b = 0; b < ctx.Level().tailBlocksMax && !recovered; ++b) {
            block.Resize(fx.NumInputs(), fx.NumOutputs(), TestContext::kBlockSize);
            FillTestSignal(block, 0, instance->SampleRate());
            Replace(*instance, block);
            recovered = block.OutputsFinite();
        }
        if (!recovered)
            t.Problem(std::string("after ") + s.name + " in, the output stays non-finite for " +
                          N(ctx.Level().tailBlocksMax) + " blocks of finite input",
                      ctx.Level().descriptionsFailFrom);
    }
}

void FiniteOutput(TestContext& ctx) {
    TestCase t(ctx, "audio.finite", "random parameter settings with notes and noise give finite output");
    for (int k = 0; k < 8; ++k) {
        auto instance = t.NewInstance();
        if (!instance) return;
        SetParameters(instance->Effect(), SeededRandom(t.Random().Next()));
        instance->Effect().Resume();
        EventBatch events;
        AudioBlock block;
        t.Calling("processReplacing with random settings " + N(k + 1));
        for (int b = 0; b < ctx.Level().signalBlocks; ++b) {
            events.Clear();
            AddRandomMessages(events, t.Random(), 4, TestContext::kBlockSize);
            events.Deliver(instance->Effect());
            block.Resize(instance->Effect().NumInputs(), instance->Effect().NumOutputs(),
                         TestContext::kBlockSize);
            FillNoise(block, t.Random(), 1.0f);
            Replace(*instance, block);
            if (!block.OutputsFinite()) {
                t.Fail("random settings " + N(k + 1) + " give NaN or infinity from finite input");
                break;
            }
        }
    }
}

// Two instances with the same settings, one driven as the test needs, the other as reference.
struct Twins {
    std::unique_ptr<PluginInstance> a, b;
    bool Make(TestCase& t, uint64_t settings) {
        a = Started(t);
        b = a ? Started(t) : nullptr;
        if (!a || !b) return false;
        SetParameters(a->Effect(), SeededRandom(settings));
        SetParameters(b->Effect(), SeededRandom(settings));
        return true;
    }
};

void InPlace(TestContext& ctx) {
    TestCase t(ctx, "audio.in-place",
               "input and output in the same memory give the same output as separate buffers");
    Twins twins;
    if (!twins.Make(t, t.Random().Next())) return;
    AudioBlock separate, shared;
    shared.SetInPlace(true);
    std::vector<float> outA, outB;
    t.Calling("processReplacing in place");
    for (int b = 0; b < ctx.Level().signalBlocks; ++b) {
        for (AudioBlock* block : {&separate, &shared}) {
            block->Resize(twins.a->Effect().NumInputs(), twins.a->Effect().NumOutputs(),
                          TestContext::kBlockSize);
            FillTestSignal(*block, int64_t{b} * TestContext::kBlockSize, TestContext::kSampleRate);
        }
        Replace(*twins.a, separate);
        Replace(*twins.b, shared);
        separate.AppendOutputs(outA);
        shared.AppendOutputs(outB);
    }
    double d = Difference(outA, outB);
    if (!(d <= 1e-6)) t.Fail("in place the output differs by up to " + F(d));
}

// Twins for comparing processDoubleReplacing with processReplacing: b set to double precision,
// which is chosen before processing starts.
bool DoubleTwins(TestCase& t, uint64_t settings, Twins& twins) {
    twins.a = t.NewInstance();
    twins.b = twins.a ? t.NewInstance() : nullptr;
    if (!twins.b) return false;
    twins.b->Effect().Dispatch(effSetProcessPrecision, 0, kVstProcessPrecision64);
    EventBatch notes;
    notes.Midi(0, 0x90, 60, 100);
    for (auto* i : {twins.a.get(), twins.b.get()}) {
        SetParameters(i->Effect(), SeededRandom(settings));
        i->Effect().Resume();
        notes.Deliver(i->Effect());
    }
    return true;
}

// The largest relative difference between processReplacing on a and processDoubleReplacing
// (doubles) or process on b, over the blocks.
double CompareCallbacks(Twins& twins, bool doubles, int blocks) {
    AudioBlock x, y;
    double worst = 0;
    for (int b = 0; b < blocks; ++b) {
        x.Resize(twins.a->Effect().NumInputs(), twins.a->Effect().NumOutputs(), TestContext::kBlockSize);
        y.Resize(twins.b->Effect().NumInputs(), twins.b->Effect().NumOutputs(), TestContext::kBlockSize);
        FillTestSignal(x, int64_t{b} * TestContext::kBlockSize, TestContext::kSampleRate);
        FillTestSignal(y, int64_t{b} * TestContext::kBlockSize, TestContext::kSampleRate);
        Replace(*twins.a, x);
        if (doubles) {
            for (int32_t c = 0; c < y.Inputs(); ++c)
                for (int32_t i = 0; i < y.Frames(); ++i) y.InputDouble(c)[i] = y.Input(c)[i];
            twins.b->Effect().ProcessDouble(y.InDouble(), y.OutDouble(), y.Frames());
        } else {
            // Something already in the outputs, which process must keep and add to.
            for (int32_t c = 0; c < y.Outputs(); ++c)
                for (int32_t i = 0; i < y.Frames(); ++i) y.Output(c)[i] = 0.25f;
            twins.b->Effect().ProcessAccumulating(y.In(), y.Out(), y.Frames());
        }
        for (int32_t c = 0; c < std::min(x.Outputs(), y.Outputs()); ++c)
            for (int32_t i = 0; i < x.Frames(); ++i) {
                double want = x.Output(c)[i];
                double got = doubles ? y.OutputDouble(c)[i] : double(y.Output(c)[i]) - 0.25;
                double d = std::fabs(want - got) / std::max(1.0, std::fabs(want));
                if (!(d <= worst)) worst = d;
            }
    }
    return worst;
}

void Callbacks(TestContext& ctx) {
    TestCase t(ctx, "audio.callbacks",
               "processDoubleReplacing matches processReplacing within float precision, and process adds "
               "to the output what processReplacing writes");
    auto probe = t.NewInstance();
    if (!probe) return;
    bool hasDouble = probe->Effect().CanDouble();
    bool hasAccumulating = probe->Effect().Record()->process != nullptr && probe->Effect().CanReplacing();
    probe.reset();
    if (!hasDouble && !hasAccumulating) return t.Skip("the plug-in offers only one audio callback");
    const uint64_t settings = t.Random().Next();
    for (int kind = 0; kind < 2; ++kind) {
        if ((kind == 0 && !hasDouble) || (kind == 1 && !hasAccumulating)) continue;
        Twins twins;
        if (!(kind == 0 ? DoubleTwins(t, settings, twins) : twins.Make(t, settings))) return;
        t.Calling(kind == 0 ? "processDoubleReplacing against processReplacing"
                            : "process against processReplacing");
        const double worst = CompareCallbacks(twins, kind == 0, ctx.Level().signalBlocks);
        if (!(worst <= 1e-5) && kind == 0)
            t.Fail("processDoubleReplacing differs from processReplacing by up to " + F(worst));
        // The accumulating callback is deprecated since VST 2.4 and no current host calls it;
        // many plug-ins point it at their replacing code.
        if (!(worst <= 1e-5) && kind == 1)
            t.Problem("process differs from processReplacing plus what the output held by up to " + F(worst) +
                          " (it is deprecated since VST 2.4, but a host that calls it loses its mix)",
                      ctx.Level().conventionsFailFrom);
    }
}

void Determinism(TestContext& ctx) {
    TestCase t(ctx, "audio.determinism",
               "two instances given the same input, parameters and MIDI give identical output");
    Twins twins;
    if (!twins.Make(t, t.Random().Next())) return;
    SeededRandom streamA(t.Random().Next());
    SeededRandom streamB = streamA;
    std::vector<float> outA, outB;
    t.Calling("processReplacing on two instances");
    for (int side = 0; side < 2; ++side) {
        PluginInstance& instance = side ? *twins.b : *twins.a;
        SeededRandom& random = side ? streamB : streamA;
        std::vector<float>& out = side ? outB : outA;
        AudioBlock block;
        EventBatch events;
        for (int b = 0; b < ctx.Level().signalBlocks; ++b) {
            events.Clear();
            AddRandomMessages(events, random, 3, TestContext::kBlockSize);
            events.Deliver(instance.Effect());
            block.Resize(instance.Effect().NumInputs(), instance.Effect().NumOutputs(),
                         TestContext::kBlockSize);
            FillNoise(block, random, 0.5f);
            Replace(instance, block);
            block.AppendOutputs(out);
        }
    }
    if (outA != outB) t.Fail("the outputs differ by up to " + F(Difference(outA, outB)));
}

void SilenceAfterTail(TestContext& ctx) {
    TestCase t(ctx, "audio.silence-tail",
               "after noise and notes, silence in gives silence out once the reported tail has passed");
    auto instance = Started(t);
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    SetParameters(fx, SeededRandom(t.Random().Next()));
    AudioBlock block;
    t.Calling("processReplacing with noise");
    for (int b = 0; b < 8; ++b) {
        block.Resize(fx.NumInputs(), fx.NumOutputs(), TestContext::kBlockSize);
        FillNoise(block, t.Random(), 0.8f);
        Replace(*instance, block);
    }
    EventBatch offs;
    for (uint8_t channel = 0; channel < 16; ++channel) offs.Midi(0, uint8_t(0xB0 | channel), 123, 0);
    offs.Deliver(fx);
    t.Calling("effGetTailSize");
    intptr_t tail = fx.Dispatch(effGetTailSize);
    // 0 means the plug-in does not say; 1 means it has none.
    int64_t tailBlocks =
        tail > 1 ? (int64_t(tail) + TestContext::kBlockSize - 1) / TestContext::kBlockSize : 0;
    if (tailBlocks > 1000000)
        return t.Skip("the reported tail of " + N(int64_t(tail)) + " frames is too long to wait for");
    // A plug-in that does not say (0) may ring for a while: ten seconds, and only a warning.
    const bool unknown = tail == 0;
    int64_t allowed =
        unknown ? std::max<int64_t>(ctx.Level().tailBlocksMax,
                                    int64_t(10 * TestContext::kSampleRate) / TestContext::kBlockSize)
                : tailBlocks + ctx.Level().tailBlocksMax;
    t.Calling("processReplacing with silence");
    int64_t b = 0;
    float last = 0;
    for (; b < allowed; ++b) {
        block.Resize(fx.NumInputs(), fx.NumOutputs(), TestContext::kBlockSize);
        Replace(*instance, block);
        last = 0;
        for (int32_t c = 0; c < block.Outputs(); ++c)
            for (int32_t i = 0; i < block.Frames(); ++i) last = std::max(last, std::fabs(block.Output(c)[i]));
        if (last <= 1e-5f) break;
    }
    if (b < allowed) return;
    std::string what = "still " + F(last) + " at the output after " + N(allowed) + " blocks of silence";
    if (unknown)
        t.Warn(what + " (the plug-in reports no tail)");
    else
        t.Problem(what + " (tail " + N(int64_t(tail)) + " frames)", ctx.Level().consistencyFailsFrom);
}

double MedianBlockSeconds(PluginInstance& instance, AudioBlock& block, float value, int blocks) {
    std::vector<double> times;
    for (int b = 0; b < blocks; ++b) {
        FillConstant(block, value);
        // A tone, so that denormals only come from the input's level, not a flat line.
        for (int32_t c = 0; c < block.Inputs(); ++c)
            for (int32_t i = 0; i < block.Frames(); ++i) block.Input(c)[i] *= (i % 2 ? 1.0f : -1.0f);
        auto start = std::chrono::steady_clock::now();
        Replace(instance, block);
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void DenormalCost(TestContext& ctx) {
    double limit = ctx.Level().denormalCostRatio;
    TestCase t(ctx, "audio.denormal-cost",
               "a block of denormal input costs at most " + F(limit) + " times a block of ordinary input");
    auto instance = Started(t, TestContext::kSampleRate, 4096);
    if (!instance) return;
    AudioBlock block;
    block.Resize(instance->Effect().NumInputs(), instance->Effect().NumOutputs(), 4096);
    t.Calling("processReplacing with ordinary and denormal input");
    const int blocks = std::max(9, ctx.Level().signalBlocks / 2);
    MedianBlockSeconds(*instance, block, 0.5f, 4);  // warm-up
    double normal = MedianBlockSeconds(*instance, block, 0.5f, blocks);
    double denormal = MedianBlockSeconds(*instance, block, 1e-39f, blocks);
    // Below a few microseconds the clock's own noise decides; such a block costs nothing either way.
    double ratio = denormal / std::max(normal, 5e-6);
    if (ratio > limit)
        t.Problem("a denormal block costs " + F(ratio) + " times an ordinary one (" + F(denormal * 1e6) +
                      " us vs " + F(normal * 1e6) + " us)",
                  ctx.Level().denormalCostFailsFrom);
    else
        t.Note("ratio " + F(std::round(ratio * 100) / 100));
}

}  // namespace

void RunAudioGroup(TestContext& ctx) {
    BlockSizes(ctx);
    SampleRates(ctx);
    HostileInput(ctx);
    FiniteOutput(ctx);
    InPlace(ctx);
    Callbacks(ctx);
    Determinism(ctx);
    SilenceAfterTail(ctx);
    DenormalCost(ctx);
    OversizedBlocks(ctx);  // last: a plug-in that trusts the announced size may crash here
}
