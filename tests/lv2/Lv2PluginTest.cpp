// Vesmar.lv2 as an LV2 host drives it (through lilv and our host library): the generated
// description against the effect's parameter model, the presets, states (round trip, restore
// before or after activation, hostile input) and the demo rendered bit for bit like the VST 2
// module, with every MIDI message passed through at its frame.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "effect/CreateEffect.h"
#include "lv2/Lv2PortLayout.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/host/RealtimeProbe.h"
#include "tools/vsthost/host/lv2/Lv2Instance.h"
#include "tools/vsthost/render/EventSchedule.h"
#include "tools/vsthost/render/OfflineRenderer.h"
#include "tools/vsthost/render/TestSignal.h"

namespace {
const std::string kStereo = std::string(EffectDescriptor().lv2Uri) + kLv2Variants[0].uriSuffix;
const std::string kMono = std::string(EffectDescriptor().lv2Uri) + kLv2Variants[1].uriSuffix;

class Lv2PluginTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(world.LoadBundle(VESMAR_LV2_BUNDLE)); }

    std::unique_ptr<Lv2Instance> Start(const std::string& uri, Lv2Instance::Settings settings = {}) {
        auto instance = std::make_unique<Lv2Instance>(world, urids);
        std::string error;
        EXPECT_TRUE(instance->Instantiate(world.Plugin(uri), settings, error)) << uri << ": " << error;
        return instance;
    }

    // Every control input's value, in port order.
    static std::vector<float> Controls(const Lv2Instance& instance) {
        std::vector<float> values;
        for (const Lv2PortInfo& port : instance.Ports()) {
            if (port.kind == Lv2PortInfo::Kind::Control && port.input)
                values.push_back(instance.Control(port.symbol));
        }
        return values;
    }

    Lv2World world;
    Lv2UridMap urids;
};

Lv2MidiEvent Midi(int64_t frame, uint8_t status, uint8_t data1, uint8_t data2) {
    return {frame, 3, {status, data1, data2}};
}

TEST_F(Lv2PluginTest, PortsFollowTheParameterModel) {
    std::unique_ptr<IPluginCore> effect = CreateEffect();
    for (const std::string& uri : {kStereo, kMono}) {
        SCOPED_TRACE(uri);
        std::unique_ptr<Lv2Instance> instance = Start(uri);
        const int channels = uri == kStereo ? 2 : 1;
        const std::vector<Lv2PortInfo>& ports = instance->Ports();
        const Lv2PortLayout layout{effect->ParameterCount(), channels};
        ASSERT_EQ(ports.size(), layout.Count());
        for (int i = 0; i < effect->ParameterCount(); ++i) {
            const IParameter& param = *effect->Parameter(i);
            const Lv2PortInfo& port = ports[static_cast<size_t>(i)];
            double min = 0, max = 0;
            param.Bounds(min, max);
            EXPECT_TRUE(port.kind == Lv2PortInfo::Kind::Control && port.input) << i;
            EXPECT_EQ(port.name, param.Name());
            EXPECT_EQ(port.defaultValue, param.PlainValue()) << i;
            EXPECT_EQ(port.minimum, min) << i;
            EXPECT_EQ(port.maximum, max) << i;
            EXPECT_EQ(port.integer, param.Kind() != ParameterKind::Continuous) << i;
            EXPECT_EQ(port.enumeration, param.Kind() == ParameterKind::Choice) << i;
            ASSERT_EQ(port.scalePoints.size(), static_cast<size_t>(param.ValueTextCount())) << i;
            for (int t = 0; t < param.ValueTextCount(); ++t) {
                EXPECT_EQ(port.scalePoints[static_cast<size_t>(t)].first, param.ValueTextAt(t)->value);
                EXPECT_EQ(port.scalePoints[static_cast<size_t>(t)].second, param.ValueTextAt(t)->text);
            }
        }
        int atomIn = 0, atomOut = 0, controlOut = 0;
        for (const Lv2PortInfo& port : ports) {
            if (port.kind == Lv2PortInfo::Kind::Atom) {
                EXPECT_TRUE(port.midi);
                EXPECT_EQ(port.controlDesignation, port.input);
                (port.input ? atomIn : atomOut)++;
            }
            if (port.kind == Lv2PortInfo::Kind::Control && !port.input) ++controlOut;
        }
        EXPECT_EQ(atomIn, 1);
        EXPECT_EQ(atomOut, 1);
        EXPECT_EQ(controlOut, 1);
        EXPECT_EQ(instance->AudioInputs().size(), static_cast<size_t>(channels));
        EXPECT_EQ(instance->AudioOutputs().size(), static_cast<size_t>(channels));
    }
}

TEST_F(Lv2PluginTest, PresetsAreTheFactoryProgramsForBothVariants) {
    std::unique_ptr<IPluginCore> effect = CreateEffect();
    const std::vector<std::string> presets = world.Presets(world.Plugin(kStereo));
    ASSERT_EQ(presets.size(), 6u);
    EXPECT_EQ(world.Presets(world.Plugin(kMono)), presets);
    for (const std::string& uri : {kStereo, kMono}) {
        std::unique_ptr<Lv2Instance> instance = Start(uri);
        for (size_t p = 0; p < presets.size(); ++p) {
            ASSERT_TRUE(instance->ApplyPreset(presets[p]));
            std::lock_guard<std::recursive_mutex> hold(effect->Lock());
            ASSERT_TRUE(effect->SelectProgram(static_cast<int>(p)));
            for (int i = 0; i < effect->ParameterCount(); ++i) {
                EXPECT_EQ(instance->Control(instance->Ports()[static_cast<size_t>(i)].symbol),
                          effect->Parameter(i)->PlainValue())
                    << uri << " preset " << p << " port " << i;
            }
        }
    }
}

// A state saved by one instance gives another the same ports and the same sound, restored before
// or after activation; a hostile state breaks nothing.
TEST_F(Lv2PluginTest, StatesRoundTripAndHostileStatesAreRefused) {
    std::unique_ptr<Lv2Instance> source = Start(kStereo);
    source->SetControl("attack", 20);
    source->SetControl("shape_env", 3);
    source->SetControl("pan_side", 2);
    source->Activate();
    source->Run(64, {});
    const std::string state = source->SaveState();
    ASSERT_NE(state.find("#bank"), std::string::npos) << state;

    std::vector<std::vector<float>> heard;
    for (bool restoreFirst : {true, false}) {
        std::unique_ptr<Lv2Instance> copy = Start(kStereo);
        if (restoreFirst) {
            ASSERT_TRUE(copy->RestoreState(state));
        }
        copy->Activate();
        if (!restoreFirst) {
            ASSERT_TRUE(copy->RestoreState(state));
        }
        EXPECT_EQ(Controls(*copy), Controls(*source));
        for (float* in : copy->AudioInputs()) std::fill(in, in + 4096, 0.5f);
        copy->Run(4096, {Midi(0, 0x90, 60, 100)});
        heard.emplace_back(copy->AudioOutputs()[0], copy->AudioOutputs()[0] + 4096);
    }
    EXPECT_EQ(heard[0], heard[1]);

    // The bank's literal, then the program's, replaced by what no plug-in of ours wrote.
    const size_t bank = state.find("\"\"\"", state.find("#bank"));
    const size_t bankEnd = state.find("^^xsd:base64Binary", bank) + std::strlen("^^xsd:base64Binary");
    const size_t program = state.find("\"0\"^^xsd:int", state.find("#program"));
    ASSERT_TRUE(bank != std::string::npos && bankEnd > bank && program != std::string::npos &&
                program > bankEnd);
    const std::string truncated = state.substr(bank, 40) + "\"\"\"^^xsd:base64Binary";
    for (const std::string& literal :
         {std::string("\"\"\"\"\"\"^^xsd:base64Binary"), std::string("\"\"\"AAAA\"\"\"^^xsd:base64Binary"),
          "\"\"\"" + std::string(4000, 'A') + "\"\"\"^^xsd:base64Binary", truncated,
          std::string("\"a text\""), std::string("\"7\"^^xsd:int")}) {
        for (const char* index : {"\"-5\"^^xsd:int", "\"99\"^^xsd:int", "\"x\""}) {
            std::string hostile = state;
            hostile.replace(program, std::strlen("\"0\"^^xsd:int"), index);
            hostile.replace(bank, bankEnd - bank, literal);
            std::unique_ptr<Lv2Instance> victim = Start(kMono);
            ASSERT_TRUE(victim->RestoreState(hostile)) << hostile;
            victim->Activate();
            victim->Run(64, {Midi(0, 0x90, 60, 100)});
            EXPECT_EQ(Controls(*victim), Controls(*source));
        }
    }
}

// The demo (test signal and note pattern, 512-frame blocks) through the stereo LV2 plug-in gives
// the VST 2 module's samples bit for bit; every message comes back out at its frame; the control
// inputs are never written; the pan position output follows; run() allocates and frees nothing.
TEST_F(Lv2PluginTest, RendersTheDemoLikeTheVst2ModuleAndPassesMidiThrough) {
    constexpr int kRate = 44100, kBlock = 512;
    constexpr int64_t kFrames = kBlock * 690;  // the demo's 8 s, in whole blocks
    const AudioData input = MakeTestSignal(kRate, kFrames);
    const std::vector<ScheduledEvent> events = ScheduleEvents({}, DemoNotes(), kRate, kFrames);

    PluginSession vst;
    std::string error;
    ASSERT_TRUE(vst.Start(VESMAR_VST_MODULE, kRate, kBlock, error)) << error;
    vst.Effect().Resume();
    RenderSettings settings;
    settings.blockSize = kBlock;
    settings.frames = kFrames;
    const AudioData expected = OfflineRenderer(vst.Effect(), settings).Render(input, events);

    std::unique_ptr<Lv2Instance> lv2 = Start(kStereo, {kRate, kBlock});
    const std::vector<float> controls = Controls(*lv2);
    lv2->Activate();
    size_t next = 0;
    bool panMoved = false;
    for (int64_t start = 0; start < kFrames; start += kBlock) {
        std::vector<Lv2MidiEvent> in;
        for (; next < events.size() && events[next].frame < start + kBlock; ++next) {
            const ScheduledEvent& e = events[next];
            in.push_back(Midi(e.frame - start, e.bytes[0], e.bytes[1], e.bytes[2]));
        }
        for (size_t c = 0; c < 2; ++c) {
            std::copy_n(input.channels[c].begin() + start, kBlock, lv2->AudioInputs()[c]);
        }
        lv2->PrepareRun(in.data(), in.size());
        RealtimeProbe::MarkThisThread(true);
        lv2->RunPlugin(kBlock);
        const RealtimeCounts counts = RealtimeProbe::ThisThread();
        RealtimeProbe::MarkThisThread(false);
        ASSERT_EQ(counts.allocations + counts.frees, 0) << "block at " << start;
        bool valid = false;
        ASSERT_EQ(lv2->ReadOutput(&valid), in) << "block at " << start;
        ASSERT_TRUE(valid);
        const float pan = lv2->Control("pan");
        ASSERT_TRUE(pan >= -1.0f && pan <= 1.0f) << "block at " << start;
        panMoved = panMoved || pan != 0.0f;
        for (size_t c = 0; c < 2; ++c) {
            ASSERT_TRUE(std::equal(lv2->AudioOutputs()[c], lv2->AudioOutputs()[c] + kBlock,
                                   expected.channels[c].begin() + start))
                << "channel " << c << ", block at " << start;
        }
    }
    EXPECT_GT(next, 10u);
    EXPECT_TRUE(panMoved) << "the pan position output stayed at the centre";
    EXPECT_EQ(Controls(*lv2), controls);
}

// An output sequence with room for two events carries the first two and stays well formed.
TEST_F(Lv2PluginTest, MidiOutputKeepsWithinTheHostsCapacity) {
    const uint32_t twoEvents = sizeof(LV2_Atom_Sequence) + 2 * (sizeof(LV2_Atom_Event) + 8);
    std::unique_ptr<Lv2Instance> instance = Start(kMono, {44100, 256, 8192, twoEvents});
    const std::vector<Lv2MidiEvent> in = {Midi(0, 0xB0, 1, 2), Midi(3, 0x90, 60, 100), Midi(9, 0x80, 60, 0),
                                          Midi(200, 0xE0, 0, 64)};
    instance->Activate();
    bool valid = false;
    EXPECT_EQ(instance->Run(256, in, &valid), std::vector<Lv2MidiEvent>(in.begin(), in.begin() + 2));
    EXPECT_TRUE(valid);
}
}  // namespace
