// The same effect through both modules: the demo (notes, a value change, a program change) gives
// the same samples, and the same bank chunk before and after, from the VST 2 and the VST 3 module.
#include <algorithm>
#include <cmath>

#include "tests/vst3/Vst3Fixture.h"
#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/host/vst3/ProcessBlock.h"

namespace {

constexpr int kBlocks = 48;
constexpr int32_t kFrames = 512;

// What the demo does at the start of a block: a note (on or off), a value, a program.
struct Step {
    int block;
    int note;  // >0 note on of that pitch, <0 note off, 0 none
    int32_t offset;
    int param;  // -1 none
    float value;
    int program;  // -1 none
};
constexpr Step kSteps[] = {{2, 60, 17, -1, 0, -1},  {9, -60, 100, -1, 0, -1}, {12, 0, 0, 6, 0.5f, -1},
                           {12, 0, 0, 1, 0.2f, -1}, {14, 64, 0, -1, 0, -1},   {22, -64, 5, -1, 0, -1},
                           {26, 0, 0, -1, 0, 4},    {27, 67, 300, -1, 0, -1}, {40, -67, 0, -1, 0, -1}};

double Input(int channel, int64_t frame) {
    return (channel == 0 ? 0.5 : 0.25) * std::sin(frame * (channel == 0 ? 0.0627 : 0.0941));
}

class CrossFormat : public Vst3Fixture {
  protected:
    // The demo through the VST 2 module; out holds both channels, block after block.
    void RenderVst2(bool wide, std::vector<double>& out, std::vector<uint8_t>& before,
                    std::vector<uint8_t>& after) {
        PluginModule vst2;
        std::string error;
        ASSERT_TRUE(vst2.Load(VESMAR_PLUGIN_PATH, error)) << error;
        HostCallback host;
        AEffect* record = vst2.CreateEffect(host, error);
        ASSERT_NE(record, nullptr) << error;
        HostedEffect effect(record, host);
        effect.Open(kSampleRate, kFrames);
        effect.Resume();
        ASSERT_TRUE(effect.GetChunk(true, before));
        for (int b = 0; b < kBlocks; ++b) {
            std::vector<VstMidiEvent> midi;
            for (const Step& s : kSteps) {
                if (s.block != b) continue;
                if (s.param >= 0) effect.SetParameter(s.param, s.value);
                if (s.program >= 0) effect.SetProgram(s.program);
                if (s.note > 0) midi.push_back(MidiRecord(0x90, static_cast<uint8_t>(s.note), 100, s.offset));
                if (s.note < 0) midi.push_back(MidiRecord(0x80, static_cast<uint8_t>(-s.note), 0, s.offset));
            }
            VstEventList list;
            if (!midi.empty()) effect.ProcessEvents(list.AssignRecords(midi.data(), midi.size()));
            Block(b, wide, out, [&](float** in32, float** out32, double** in64, double** out64) {
                if (wide) {
                    record->processDoubleReplacing(record, in64, out64, kFrames);
                } else {
                    record->processReplacing(record, in32, out32, kFrames);
                }
            });
        }
        ASSERT_TRUE(effect.GetChunk(true, after));
    }

    // The same through the VST 3 module (this fixture's instance).
    void RenderVst3(bool wide, std::vector<double>& out, std::vector<uint8_t>& before,
                    std::vector<uint8_t>& after) {
        before = State(*fx);
        for (int b = 0; b < kBlocks; ++b) {
            for (const Step& s : kSteps) {
                if (s.block != b) continue;
                if (s.param >= 0) changesIn.Add(static_cast<vst3::ParamID>(s.param), 0, s.value);
                if (s.program >= 0) changesIn.Add(kProgramId, 0, s.program / 9.0);
                if (s.note != 0)
                    eventsIn.AddNote(s.note > 0, static_cast<int16_t>(std::abs(s.note)), s.note > 0 ? 100 : 0,
                                     s.offset);
            }
            Block(b, wide, out, [&](float** in32, float** out32, double** in64, double** out64) {
                ProcessBlock block32(in32, out32, 2, kFrames), block64(in64, out64, 2, kFrames);
                vst3::ProcessData& data =
                    (wide ? block64 : block32).Lists(&changesIn, nullptr, &eventsIn, &eventsOut).Data();
                EXPECT_EQ(fx->Processor()->process(data), vst3::kResultOk);
                changesIn.Clear();
                eventsIn.Clear();
                eventsOut.Clear();
            });
        }
        after = State(*fx);
    }

    // One block of the demo's input through run, its output appended to out.
    template <class Run>
    void Block(int b, bool wide, std::vector<double>& out, Run run) {
        std::vector<float> i32[2], o32[2];
        std::vector<double> i64[2], o64[2];
        float *in32[2], *out32[2];
        double *in64[2], *out64[2];
        for (int c = 0; c < 2; ++c) {
            for (int32_t i = 0; i < kFrames; ++i) {
                const double x = Input(c, static_cast<int64_t>(b) * kFrames + i);
                i32[c].push_back(static_cast<float>(x));
                i64[c].push_back(static_cast<float>(x));
            }
            o32[c].assign(kFrames, 0.0f);
            o64[c].assign(kFrames, 0.0);
            in32[c] = i32[c].data();
            out32[c] = o32[c].data();
            in64[c] = i64[c].data();
            out64[c] = o64[c].data();
        }
        run(in32, out32, in64, out64);
        for (int c = 0; c < 2; ++c) {
            for (size_t i = 0; i < static_cast<size_t>(kFrames); ++i)
                out.push_back(wide ? o64[c][i] : o32[c][i]);
        }
    }
};

}  // namespace

TEST_F(CrossFormat, DemoIsBitIdentical) {
    for (bool wide : {false, true}) {
        std::vector<double> a, b;
        std::vector<uint8_t> a0, a1, b0, b1;
        RenderVst2(wide, a, a0, a1);
        fx = Create();
        controller = fx->Controller();
        ASSERT_TRUE(fx->Start(kSampleRate, kFrames, wide ? vst3::kSample64 : vst3::kSample32));
        RenderVst3(wide, b, b0, b1);
        // The VST 3 state is the bank chunk followed by the current program.
        ASSERT_EQ(b0.size(), a0.size() + 8);
        ASSERT_EQ(b1.size(), a1.size() + 8);
        EXPECT_TRUE(std::equal(a0.begin(), a0.end(), b0.begin())) << "fresh bank chunk, wide " << wide;
        EXPECT_TRUE(std::equal(a1.begin(), a1.end(), b1.begin()))
            << "bank chunk after the demo, wide " << wide;
        EXPECT_EQ(b1.back(), 0);
        EXPECT_EQ(b1[b1.size() - 4], 4);  // the program the demo chose
        ASSERT_EQ(a.size(), b.size());
        size_t differ = 0, loud = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            if (a[i] != b[i] && differ == 0) ADD_FAILURE() << "first at " << i << ": " << a[i] << " " << b[i];
            differ += a[i] != b[i];
            loud += std::fabs(a[i]) > 0.01;
        }
        EXPECT_EQ(differ, 0u) << "wide " << wide;
        EXPECT_GT(loud, a.size() / 4);  // the demo is not silence
    }
}
