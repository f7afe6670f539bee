#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <limits>
#include <memory>
#include <vector>

#include "tests/support/TestPlugin.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

struct StereoBlock {
    explicit StereoBlock(size_t frames, float left = 0.25f, float right = -0.5f)
        : inL(frames, left), inR(frames, right), outL(frames, 9.0f), outR(frames, 9.0f) {}
    float* in[2] = {nullptr, nullptr};
    float* out[2] = {nullptr, nullptr};
    float** Inputs() { return in[0] = inL.data(), in[1] = inR.data(), in; }
    float** Outputs() { return out[0] = outL.data(), out[1] = outR.data(), out; }
    std::vector<float> inL, inR, outL, outR;
};

VstEvent* AsEvent(void* record) {
    return static_cast<VstEvent*>(record);
}

}  // namespace

// The three audio callbacks run the core's frame: copy, accumulate, 64-bit; one WantMidi each.
TEST(AudioCallbacks, ReplacingAccumulatingAndDouble) {
    PluginUnderTest t;
    StereoBlock b(64);
    t.effect->processReplacing(t.effect, b.Inputs(), b.Outputs(), 64);
    EXPECT_EQ(b.outL[63], 0.25f);
    EXPECT_EQ(b.outR[0], -0.5f);
    t.effect->process(t.effect, b.Inputs(), b.Outputs(), 64);
    EXPECT_EQ(b.outL[10], 0.5f);
    EXPECT_EQ(b.outR[10], -1.0f);
    std::vector<double> inL(32, 0.125), inR(32, 2.0), outL(32), outR(32);
    double* in[2] = {inL.data(), inR.data()};
    double* out[2] = {outL.data(), outR.data()};
    t.effect->processDoubleReplacing(t.effect, in, out, 32);
    EXPECT_EQ(outL[31], 0.125);
    EXPECT_EQ(outR[31], 2.0);
    EXPECT_EQ(t.host.CountOf(audioMasterWantMidi), 3);

    PluginUnderTest quiet({.doesMidi = 0});
    quiet.effect->processReplacing(quiet.effect, b.Inputs(), b.Outputs(), 64);
    EXPECT_EQ(quiet.host.CountOf(audioMasterWantMidi), 0);
}

// Hostile blocks: longer than announced, zero or negative length, null pointer arrays.
TEST(AudioCallbacks, HostileBlocks) {
    PluginUnderTest t;
    t.Dispatch(effSetBlockSize, 0, 16);
    StereoBlock longBlock(1000);
    t.effect->processReplacing(t.effect, longBlock.Inputs(), longBlock.Outputs(), 1000);
    EXPECT_EQ(longBlock.outL[999], 0.25f);  // every frame processed, in sub-blocks
    EXPECT_EQ(longBlock.outR[500], -0.5f);

    StereoBlock b(8);
    t.effect->processReplacing(t.effect, b.Inputs(), b.Outputs(), 0);
    t.effect->processReplacing(t.effect, b.Inputs(), b.Outputs(), -100);
    t.effect->process(t.effect, b.Inputs(), b.Outputs(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(b.outL[0], 9.0f);
    t.effect->processReplacing(t.effect, nullptr, b.Outputs(), 8);
    EXPECT_EQ(b.outL[0], 0.0f);  // connected inputs without blocks read silence
    t.effect->processReplacing(t.effect, b.Inputs(), nullptr, 8);
    t.effect->processDoubleReplacing(t.effect, nullptr, nullptr, 8);
    float* holes[2] = {nullptr, nullptr};
    t.effect->processReplacing(t.effect, holes, holes, 8);
}

// setParameter/getParameter: snapping, range, NaN and indices out of range.
TEST(ParameterCallbacks, SetAndGet) {
    PluginUnderTest t;
    t.effect->setParameter(t.effect, 0, 0.5f);
    EXPECT_EQ(t.plugin->Parameter(0)->PlainValue(), 3.0);  // 2.5 goes up
    EXPECT_EQ(t.effect->getParameter(t.effect, 0), 0.6f);
    EXPECT_EQ(t.plugin->changes, (std::vector<int>{0}));
    t.effect->setParameter(t.effect, 0, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(t.plugin->Parameter(0)->PlainValue(), 3.0);
    t.effect->setParameter(t.effect, 0, 40.0f);
    EXPECT_EQ(t.plugin->Parameter(0)->PlainValue(), 5.0);
    t.effect->setParameter(t.effect, 0, -3.0f);
    EXPECT_EQ(t.plugin->Parameter(0)->PlainValue(), 0.0);
    t.effect->setParameter(t.effect, 4, 1.0f);
    t.effect->setParameter(t.effect, -1, 1.0f);
    EXPECT_EQ(t.effect->getParameter(t.effect, 4), 0.0f);
    EXPECT_EQ(t.effect->getParameter(t.effect, std::numeric_limits<int32_t>::min()), 0.0f);
    EXPECT_EQ(t.plugin->changes.size(), 3u);
}

// An exception inside the plug-in ends at the record callback with the neutral answer and the
// lock released: the host never sees it unwind.
TEST(ParameterCallbacks, ExceptionsStayInside) {
    PluginUnderTest t;
    t.plugin->throwOnChange = true;
    t.effect->setParameter(t.effect, 0, 0.6f);
    char text[] = "2";
    EXPECT_EQ(t.Dispatch(effString2Parameter, 0, 0, text), 0);
    EXPECT_EQ(t.plugin->changes.size(), 2u);
    auto lockIsFree = std::async(std::launch::async, [&] {
        const bool free = t.plugin->Lock().try_lock();
        if (free) t.plugin->Lock().unlock();
        return free;
    });
    EXPECT_TRUE(lockIsFree.get());
    t.plugin->throwOnChange = false;
    EXPECT_EQ(t.Dispatch(effString2Parameter, 0, 0, text), 1);
}

// Incoming events reach the hooks at once, in order; null, unknown and short records are skipped.
TEST(IncomingEvents, DeliveredInHostOrder) {
    PluginUnderTest t;
    VstMidiEvent on = MidiRecord(0x90, 60, 100, 5), off = MidiRecord(0x80, 60, 0, 7),
                 clock = MidiRecord(0xF8, 0, 0);
    on.noteLength = 1234;  // ignored fields
    VstMidiEvent careless = MidiRecord(0xB0, 7, 127);
    careless.byteSize = 0;  // MIDI fields lie within the generic record: still read
    VstEvent unknown{};
    unknown.type = 3;
    uint8_t dump[] = {0xF0, 0x7E, 0x01, 0xF7};
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof sysex;
    sysex.dumpBytes = sizeof dump;
    sysex.sysexDump = reinterpret_cast<char*>(dump);
    VstMidiSysexEvent shortSysex = sysex;
    shortSysex.byteSize = 32;  // claims to end before its dump pointer
    VstMidiSysexEvent negativeDump = sysex;
    negativeDump.dumpBytes = -5;
    VstMidiSysexEvent nullDump = sysex;
    nullDump.sysexDump = nullptr;
    VstEventList list({AsEvent(&on), nullptr, AsEvent(&unknown), AsEvent(&sysex), AsEvent(&off),
                       AsEvent(&shortSysex), AsEvent(&negativeDump), AsEvent(&nullDump), AsEvent(&clock),
                       AsEvent(&careless)});
    EXPECT_EQ(t.Dispatch(effProcessEvents, 0, 0, list.List()), 1);
    ASSERT_EQ(t.plugin->received.size(), 4u);
    EXPECT_EQ(t.plugin->received[0].offset, 5);
    EXPECT_EQ(t.plugin->received[0].status, 0x90);
    EXPECT_EQ(t.plugin->received[0].data1, 60);
    EXPECT_EQ(t.plugin->received[0].data2, 100);
    EXPECT_EQ(t.plugin->received[1].status, 0x80);
    EXPECT_EQ(t.plugin->received[1].offset, 7);
    EXPECT_EQ(t.plugin->received[2].Kind(), MidiKind::None);
    EXPECT_EQ(t.plugin->received[3].data2, 127);
    ASSERT_EQ(t.plugin->receivedSysEx.size(), 3u);
    EXPECT_EQ(t.plugin->receivedSysEx[0], std::vector<uint8_t>(dump, dump + 4));
    EXPECT_TRUE(t.plugin->receivedSysEx[1].empty());
    EXPECT_TRUE(t.plugin->receivedSysEx[2].empty());

    VstEventList negative({AsEvent(&on)});
    negative.List()->numEvents = -7;
    EXPECT_EQ(t.Dispatch(effProcessEvents, 0, 0, negative.List()), 1);
    EXPECT_EQ(t.plugin->received.size(), 4u);
    EXPECT_EQ(t.Dispatch(effProcessEvents, 0, 0, nullptr), 0);
}

// Outgoing MIDI and SysEx: well-formed one-event lists; success only when the host takes them.
TEST(OutgoingEvents, RecordsAndResults) {
    PluginUnderTest t;
    IMidiEvent m;
    m.offset = 12;
    m.status = 0x91;
    m.data1 = 64;
    m.data2 = 90;
    EXPECT_TRUE(t.plugin->SendMidiEvent(m));
    ASSERT_EQ(t.host.midi.size(), 1u);
    const VstMidiEvent& e = t.host.midi[0];
    EXPECT_EQ(e.type, kVstMidiType);
    EXPECT_EQ(e.byteSize, 32);
    EXPECT_EQ(e.deltaFrames, 12);
    EXPECT_EQ(e.flags, 0);
    EXPECT_EQ(e.noteLength, 0);
    EXPECT_EQ(static_cast<uint8_t>(e.midiData[0]), 0x91);
    EXPECT_EQ(e.midiData[1], 64);
    EXPECT_EQ(e.midiData[2], 90);
    EXPECT_EQ(e.midiData[3], 0);
    EXPECT_EQ(e.detune, 0);

    const uint8_t dump[] = {0xF0, 1, 2, 0xF7};
    ISysExMessage s;
    s.offset = 3;
    s.size = 4;
    s.data = dump;
    EXPECT_TRUE(t.plugin->SendSysEx(s));
    ASSERT_EQ(t.host.sysex.size(), 1u);
    EXPECT_EQ(t.host.sysex[0].byteSize, 48);
    EXPECT_EQ(t.host.sysex[0].dumpBytes, 4);
    EXPECT_EQ(t.host.sysex[0].deltaFrames, 3);
    EXPECT_EQ(t.host.sysex[0].sysexDump, reinterpret_cast<const char*>(dump));
    s.data = nullptr;
    EXPECT_FALSE(t.plugin->SendSysEx(s));  // bytes promised but missing
    s.size = -1;
    EXPECT_FALSE(t.plugin->SendSysEx(s));

    t.host.processEventsAnswer = 0;
    EXPECT_FALSE(t.plugin->SendMidiEvent(m));
    const IMidiEvent two[2] = {m, m};
    t.host.processEventsAnswer = 1;
    EXPECT_TRUE(t.plugin->SendMidiEvents(two, 2));
    EXPECT_EQ(t.host.midi.size(), 4u);
}

// Time queries ask with the right flags and use only values the host marks valid.
TEST(HostTime, QueriesAndValidity) {
    PluginUnderTest t;
    t.host.time.samplePos = 1000.5;
    t.host.time.tempo = 133.0;
    t.host.time.timeSigNumerator = 7;
    t.host.time.timeSigDenominator = 8;
    t.host.time.flags = kVstTempoValid | kVstTimeSigValid;
    EXPECT_EQ(t.plugin->HostSamplePosition(), 1001);
    EXPECT_EQ(t.plugin->HostTempo(), 133.0);
    int num = -1, den = -1;
    t.plugin->HostTimeSignature(num, den);
    EXPECT_EQ(num, 7);
    EXPECT_EQ(den, 8);
    const auto asks = t.host.CallsOf(audioMasterGetTime);
    ASSERT_EQ(asks.size(), 3u);
    EXPECT_EQ(asks[0].value, 0);
    EXPECT_EQ(asks[1].value, kVstTempoValid);
    EXPECT_EQ(asks[2].value, kVstTimeSigValid);

    t.host.time.flags = 0;
    t.host.time.samplePos = -5.0;
    EXPECT_EQ(t.plugin->HostSamplePosition(), 0);
    EXPECT_EQ(t.plugin->HostTempo(), 0.0);
    t.plugin->HostTimeSignature(num, den);
    EXPECT_EQ(num, 0);
    t.host.time.samplePos = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(t.plugin->HostSamplePosition(), 0);
    t.host.time.samplePos = 1.0e300;
    EXPECT_EQ(t.plugin->HostSamplePosition(), 0);
    t.host.time.flags = kVstTimeSigValid;
    t.host.time.timeSigDenominator = -4;
    t.plugin->HostTimeSignature(num, den);
    EXPECT_EQ(den, 0);
    t.host.timeIsNull = true;
    EXPECT_EQ(t.plugin->HostSamplePosition(), 0);
    EXPECT_EQ(t.plugin->HostTempo(), 0.0);
    t.plugin->HostTimeSignature(num, den);
    EXPECT_EQ(num + den, 0);
}

// Notifications map to their host opcodes with index and value.
TEST(HostNotifications, Opcodes) {
    PluginUnderTest t;
    t.plugin->HostAutomate(2, 0.75);
    t.plugin->HostBeginEdit(1);
    t.plugin->HostEndEdit(1);
    t.plugin->HostBeginEditOnce(3);
    t.plugin->HostProgramChanged();
    ASSERT_EQ(t.host.calls.size(), 5u);
    EXPECT_EQ(t.host.calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(t.host.calls[0].index, 2);
    EXPECT_EQ(t.host.calls[0].opt, 0.75f);
    EXPECT_EQ(t.host.calls[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(t.host.calls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(t.host.calls[2].index, 1);
    EXPECT_EQ(t.host.calls[3].opcode, audioMasterBeginEdit);
    EXPECT_EQ(t.host.calls[3].index, 3);
    EXPECT_EQ(t.host.calls[4].opcode, audioMasterUpdateDisplay);
}

// A plug-in created without a host callback never calls through a null pointer.
TEST(HostNotifications, NullHostCallback) {
    TestPlugin* plugin = new TestPlugin({});
    AEffect* e = NewVstPlugin(plugin, nullptr);
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0);
    float block[4] = {};
    float* io[2] = {block, block};
    e->processReplacing(e, io, io, 4);
    IMidiEvent m;
    EXPECT_FALSE(plugin->SendMidiEvent(m));
    EXPECT_EQ(plugin->HostTempo(), 0.0);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}

namespace {

// Records what the core and the adapter show in the editor.
class FakeEditor : public IEditorLink {
  public:
    struct Shown {
        int index;
        double value;
        bool normalized;
    };
    explicit FakeEditor(std::vector<Shown>& record) : log(record) {}
    void ShowParameterValue(int index, double value, bool isNormalized) override {
        log.push_back({index, value, isNormalized});
    }
    void PrepareDrawing() override {}
    void StartEndEditCountdown(int) override {}
    void CancelEndEditCountdown() override {}
    int FrameRate() const override { return 24; }

  private:
    std::vector<Shown>& log;
};

}  // namespace

// With an editor: host values reach it first (clamped, or plain from a text), and the delayed
// end-edit of a wheel gesture is sent before a different parameter's begin-edit, once.
TEST(HostNotifications, EditorAndPendingEndEdit) {
    PluginUnderTest t;
    std::vector<FakeEditor::Shown> shown;
    t.plugin->AttachEditor(std::make_unique<FakeEditor>(shown));
    EXPECT_NE(t.effect->flags & effFlagsHasEditor, 0);  // attaching announces the editor
    shown.clear();
    t.effect->setParameter(t.effect, 0, 0.5f);
    t.effect->setParameter(t.effect, 0, 3.0f);
    char text[] = "2";
    t.Dispatch(effString2Parameter, 0, 0, text);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].value, 0.5);
    EXPECT_TRUE(shown[0].normalized);
    EXPECT_EQ(shown[1].value, 1.0);
    EXPECT_EQ(shown[2].value, 2.0);
    EXPECT_FALSE(shown[2].normalized);

    t.host.calls.clear();
    t.plugin->EndEditLater(3);
    t.plugin->HostBeginEditOnce(3);  // the wheel goes on: no new gesture
    EXPECT_TRUE(t.host.calls.empty());
    t.plugin->HostBeginEditOnce(2);
    ASSERT_EQ(t.host.calls.size(), 2u);
    EXPECT_EQ(t.host.calls[0].opcode, audioMasterEndEdit);
    EXPECT_EQ(t.host.calls[0].index, 3);
    EXPECT_EQ(t.host.calls[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(t.host.calls[1].index, 2);
    t.plugin->EndEditLater(1);
    t.plugin->HostBeginEdit(1);  // a press ends the pending wheel gesture first
    ASSERT_EQ(t.host.calls.size(), 4u);
    EXPECT_EQ(t.host.calls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(t.host.calls[3].opcode, audioMasterBeginEdit);
    EXPECT_EQ(t.plugin->PendingEndEdit(), -1);
}
