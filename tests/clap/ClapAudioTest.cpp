// Processing through clap_entry: activate/process/deactivate cycles, events at the block's start,
// MIDI out unchanged at its offsets, the effect's own value reports, and the same samples as the
// VST 2 module for the same demo.
#include <cmath>
#include <cstring>

#include "tests/clap/ClapVesmar.h"
#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

// A deterministic input: two sines a fifth apart, different on each channel.
double Input(uint32_t channel, uint64_t frame) {
    return 0.5 * std::sin(0.01 * static_cast<double>(frame) * (channel + 2));
}

template <class Sample>
void FillInputs(Sample* const* in, uint32_t channels, uint32_t frames, uint64_t start) {
    for (uint32_t c = 0; c < channels; ++c)
        for (uint32_t i = 0; i < frames; ++i) in[c][i] = static_cast<Sample>(Input(c, start + i));
}

}  // namespace

TEST_F(ClapVesmar, CyclesAtSeveralRatesBlockSizesAndWidthsProcessCleanly) {
    for (const char* id : {kStereoId, kMonoId}) {
        auto plugin = Create(id);
        const uint32_t channels = std::strcmp(id, kStereoId) == 0 ? 2 : 1;
        for (double rate : {44100.0, 96000.0}) {
            for (uint32_t frames : {1u, 64u, 512u}) {
                for (bool wide : {false, true}) {
                    ASSERT_TRUE(plugin->Activate(rate, 1, frames));
                    ASSERT_TRUE(plugin->StartProcessing());
                    ClapAudioBlock block(channels, frames, wide);
                    for (int n = 0; n < 3; ++n) {
                        ClapInputEvents in;
                        ClapOutputEvents out(rules);
                        if (n == 0) in.AddMidi(0, 0x90, 60, 100);
                        for (uint32_t c = 0; c < channels; ++c) {
                            for (uint32_t i = 0; i < frames; ++i) {
                                if (wide)
                                    block.In64(c)[i] = 0.25;
                                else
                                    block.In32(c)[i] = 0.25f;
                            }
                        }
                        ASSERT_EQ(Run(*plugin, block, frames, in, out), CLAP_PROCESS_CONTINUE);
                        for (uint32_t c = 0; c < channels; ++c) {
                            double first = wide ? block.Out64(c)[0] : block.Out32(c)[0];
                            EXPECT_TRUE(std::isfinite(first) && std::fabs(first) <= 1.0)
                                << id << " " << first;
                            EXPECT_EQ(wide ? block.In64(c)[frames - 1] : block.In32(c)[frames - 1], 0.25);
                        }
                    }
                    plugin->Reset();
                    plugin->StopProcessing();
                    plugin->Deactivate();
                }
            }
        }
    }
}

TEST_F(ClapVesmar, MidiGoesOutUnchangedAtItsOffsetsAndNotesStartTheEnvelope) {
    ASSERT_TRUE(fx->Activate(44100, 1, 64));
    ASSERT_TRUE(fx->StartProcessing());
    ClapAudioBlock block(2, 64, false);
    ClapInputEvents in;
    in.AddMidi(3, 0x91, 60, 100);
    in.AddMidi(3, 0xB1, 7, 64);
    in.AddNote(5, true, 2, 62, 1.0);  // the CLAP dialect, as some hosts send it anyway
    in.AddMidi(10, 0x81, 60, 0);
    in.AddMidi(63, 0xE0, 0, 64);
    ClapOutputEvents out(rules);
    ASSERT_EQ(Run(*fx, block, 64, in, out), CLAP_PROCESS_CONTINUE);
    struct Expect {
        uint32_t time;
        uint8_t bytes[3];
    } expected[] = {{3, {0x91, 60, 100}},
                    {3, {0xB1, 7, 64}},
                    {5, {0x92, 62, 127}},
                    {10, {0x81, 60, 0}},
                    {63, {0xE0, 0, 64}}};
    ASSERT_EQ(out.Events().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const auto& midi = out.Events()[i].As<clap_event_midi>();
        EXPECT_EQ(midi.header.type, CLAP_EVENT_MIDI);
        EXPECT_EQ(midi.header.time, expected[i].time);
        EXPECT_EQ(std::memcmp(midi.data, expected[i].bytes, 3), 0) << i;
    }
}

TEST_F(ClapVesmar, ValuesTakeEffectAtOnceAndTheEffectsOwnCorrectionIsReported) {
    ASSERT_TRUE(fx->Activate(44100, 1, 64));
    ASSERT_TRUE(fx->StartProcessing());
    ClapAudioBlock block(2, 64, false);
    ClapInputEvents in;
    in.AddParam(0, kOffset, 50);
    in.AddParam(20, kWidth, 100);  // width + |offset| may not pass 100: the effect moves the offset
    ClapOutputEvents out(rules);
    ASSERT_EQ(Run(*fx, block, 64, in, out), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(Value(kWidth), 100);
    EXPECT_EQ(Value(kOffset), 0);
    bool reported = false;
    for (const ClapStoredEvent& e : out.Events()) {
        if (e.Header()->type == CLAP_EVENT_PARAM_VALUE && e.As<clap_event_param_value>().param_id == kOffset)
            reported = e.As<clap_event_param_value>().value == 0;
    }
    EXPECT_TRUE(reported);
}

// The demo: notes and a parameter change at block starts through both modules, 32- and 64-bit.
TEST_F(ClapVesmar, TheDemoGivesTheVst2ModulesSamplesBitForBit) {
    constexpr uint32_t kFrames = 512;
    constexpr double kRate = 44100.0;
    PluginModule vstModule;
    std::string error;
    ASSERT_TRUE(vstModule.Load(VESMAR_PLUGIN_PATH, error)) << error;
    for (bool wide : {false, true}) {
        HostCallback host;
        AEffect* record = vstModule.CreateEffect(host, error);
        ASSERT_NE(record, nullptr) << error;
        HostedEffect vst(record, host);
        vst.Open(kRate, kFrames);
        vst.Resume();
        auto clap = Create(kStereoId);
        ASSERT_TRUE(clap->Activate(kRate, 1, kFrames));
        ASSERT_TRUE(clap->StartProcessing());
        ClapAudioBlock block(2, kFrames, wide);
        std::vector<float> in32[2], out32[2];
        std::vector<double> in64[2], out64[2];
        for (int c = 0; c < 2; ++c) {
            in32[c].resize(kFrames), out32[c].resize(kFrames), in64[c].resize(kFrames),
                out64[c].resize(kFrames);
        }
        for (uint32_t n = 0; n < 24; ++n) {
            ClapInputEvents in;
            ClapOutputEvents out(rules);
            VstMidiEvent midi{};
            if (n == 0 || n == 12) midi = MidiRecord(0x90, 60, 100);
            if (n == 8) midi = MidiRecord(0x80, 60, 0);
            if (midi.type) {
                VstEventList list;
                vst.ProcessEvents(list.AssignRecords(&midi, 1));
                in.AddMidi(0, static_cast<uint8_t>(midi.midiData[0]), static_cast<uint8_t>(midi.midiData[1]),
                           static_cast<uint8_t>(midi.midiData[2]));
            }
            if (n == 4) {
                vst.SetParameter(kWidth, 1.0f);
                in.AddParam(0, kWidth, 100);
            }
            float* vstIn32[2] = {in32[0].data(), in32[1].data()};
            float* vstOut32[2] = {out32[0].data(), out32[1].data()};
            double* vstIn64[2] = {in64[0].data(), in64[1].data()};
            double* vstOut64[2] = {out64[0].data(), out64[1].data()};
            if (wide) {
                FillInputs(vstIn64, 2, kFrames, n * kFrames);
                double* clapIn[2] = {block.In64(0), block.In64(1)};
                FillInputs(clapIn, 2, kFrames, n * kFrames);
                vst.ProcessDouble(vstIn64, vstOut64, kFrames);
            } else {
                FillInputs(vstIn32, 2, kFrames, n * kFrames);
                float* clapIn[2] = {block.In32(0), block.In32(1)};
                FillInputs(clapIn, 2, kFrames, n * kFrames);
                vst.ProcessReplacing(vstIn32, vstOut32, kFrames);
            }
            ASSERT_EQ(Run(*clap, block, kFrames, in, out), CLAP_PROCESS_CONTINUE);
            for (uint32_t c = 0; c < 2; ++c) {
                for (uint32_t i = 0; i < kFrames; ++i) {
                    if (wide) {
                        ASSERT_EQ(std::memcmp(&block.Out64(c)[i], &out64[c][i], sizeof(double)), 0)
                            << n << ":" << i;
                    } else {
                        ASSERT_EQ(std::memcmp(&block.Out32(c)[i], &out32[c][i], sizeof(float)), 0)
                            << n << ":" << i;
                    }
                }
            }
        }
    }
}
