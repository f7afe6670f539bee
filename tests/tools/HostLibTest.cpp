#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginCall.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

intptr_t Ask(AEffect* e, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
             float opt = 0) {
    return HostCallback::Callback(e, opcode, index, value, ptr, opt);
}

const VstTimeInfo* Time(AEffect* e, int32_t flags) {
    return reinterpret_cast<const VstTimeInfo*>(Ask(e, audioMasterGetTime, 0, flags));
}

// A record that stands for a plug-in calling the host; the host never looks inside.
struct FakeEffect {
    AEffect record{};
    HostCallback host;
    FakeEffect() { host.Attach(&record); }
};

}  // namespace

// Loading goes through the exported entry point and refuses anything that is not an effect.
TEST(PluginModuleTest, LoadsTheTestPluginThroughVSTPluginMain) {
    PluginModule module;
    std::string error;
    ASSERT_TRUE(module.Load(TEST_GAIN_MODULE, error)) << error;
    EXPECT_EQ(module.EntryName(), "VSTPluginMain");
    HostCallback host;
    AEffect* effect = module.CreateEffect(host, error);
    ASSERT_NE(effect, nullptr) << error;
    HostedEffect fx(effect, host);
    EXPECT_EQ(fx.NumParams(), 2);
    EXPECT_EQ(fx.NumPrograms(), 2);
    // The plug-in asked for the host version from inside the entry point, before the host knew it.
    EXPECT_EQ(fx.Text(effGetProductString), "Test Gain for host 2400");
}

TEST(PluginModuleTest, ReportsEachKindOfBrokenModule) {
    struct Case {
        const char* path;
        bool loads;
        const char* reason;
    } cases[] = {{TEST_SCRATCH_DIR "/missing-module.bin", false, "cannot load module"},
                 {TEST_NOENTRY_MODULE, false, "exports neither VSTPluginMain nor main"},
                 {TEST_NULL_MODULE, true, "returned no effect"},
                 {TEST_BADMAGIC_MODULE, true, "instead of 0x56737450"}};
    for (const Case& c : cases) {
        PluginModule module;
        HostCallback host;
        std::string error;
        bool loaded = module.Load(c.path, error);
        EXPECT_EQ(loaded, c.loads) << c.path;
        if (loaded) {
            EXPECT_EQ(module.CreateEffect(host, error), nullptr);
        }
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
    }
}

// What the host tells a plug-in about itself, and that null pointers never crash it.
TEST(HostCallbackTest, AnswersIdentityAndCapabilities) {
    FakeEffect fx;
    AEffect* e = &fx.record;
    char text[256];
    EXPECT_EQ(Ask(e, audioMasterVersion), 2400);
    EXPECT_EQ(Ask(e, audioMasterGetProductString, 0, 0, text), 1);
    EXPECT_STREQ(text, "vsthost");
    EXPECT_EQ(Ask(e, audioMasterGetVendorString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Vesmar");
    fx.host.SetIdentity("Steinberg", "Cubase LE AI Elements", 50102);
    Ask(e, audioMasterGetProductString, 0, 0, text);
    EXPECT_STREQ(text, "Cubase LE AI Elements");
    EXPECT_EQ(Ask(e, audioMasterGetVendorVersion), 50102);
    EXPECT_EQ(Ask(e, audioMasterCanDo, 0, 0, const_cast<char*>("sendVstMidiEvent")), 1);
    EXPECT_EQ(Ask(e, audioMasterCanDo, 0, 0, const_cast<char*>("sendVstMidiEventX")), 0);
    fx.host.SetSampleRate(48000);
    fx.host.SetBlockSize(256);
    EXPECT_EQ(Ask(e, audioMasterGetSampleRate), 48000);
    EXPECT_EQ(Ask(e, audioMasterGetBlockSize), 256);

    for (int32_t opcode : {audioMasterGetProductString, audioMasterGetVendorString, audioMasterCanDo,
                           audioMasterProcessEvents})
        EXPECT_EQ(Ask(e, opcode), 0) << opcode;
    // An effect no host knows (or none at all) still gets sensible answers.
    EXPECT_EQ(Ask(nullptr, audioMasterVersion), 2400);
    EXPECT_NE(Time(nullptr, 0), nullptr);
    EXPECT_EQ(Ask(nullptr, audioMasterAutomate, 0, 0, nullptr, 0.5f), 0);
}

// The time record carries exactly what was asked for, at the transport position.
TEST(HostCallbackTest, TimeInfoHonoursTheRequestedFlags) {
    FakeEffect fx;
    AEffect* e = &fx.record;
    fx.host.SetSampleRate(44100);
    fx.host.SetTransport(110250, true);  // 2.5 s = 5 quarter notes at 120 BPM
    const VstTimeInfo* t = Time(e, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->samplePos, 110250);
    EXPECT_EQ(t->sampleRate, 44100);
    EXPECT_EQ(t->flags, kVstTransportPlaying);

    t = Time(e, kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | kVstBarsValid | kVstCyclePosValid);
    EXPECT_EQ(t->flags,
              kVstTransportPlaying | kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | kVstBarsValid);
    EXPECT_EQ(t->tempo, 120);
    EXPECT_EQ(t->timeSigNumerator, 4);
    EXPECT_EQ(t->timeSigDenominator, 4);
    EXPECT_EQ(t->ppqPos, 5);
    EXPECT_EQ(t->barStartPos, 4);

    fx.host.SetTimeSignature(3, 4);
    t = Time(e, kVstBarsValid);
    EXPECT_EQ(t->barStartPos, 3);
    EXPECT_EQ(t->tempo, 0);  // not asked for
}

// A host's audio thread and editor thread ask at once: each gets its own time record (the plug-in
// reads it after the call returns, unlocked) and its own process level.
TEST(HostCallbackTest, EachThreadGetsItsOwnTimeRecordAndProcessLevel) {
    FakeEffect fx;
    AEffect* e = &fx.record;
    fx.host.SetTransport(512, true);
    const VstTimeInfo* mine = Time(e, 0);
    const VstTimeInfo* theirs = nullptr;
    intptr_t theirLevel = 0;
    std::thread audio([&] {
        HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
        theirs = Time(e, kVstTempoValid);
        theirLevel = Ask(e, audioMasterGetCurrentProcessLevel);
    });
    audio.join();
    ASSERT_NE(theirs, nullptr);
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(mine->flags, kVstTransportPlaying);  // untouched by the other thread's request
    EXPECT_EQ(theirLevel, kVstProcessLevelRealtime);
    EXPECT_EQ(Ask(e, audioMasterGetCurrentProcessLevel), kVstProcessLevelUser);
    EXPECT_EQ(Time(e, 0), mine);  // the same record again for the same thread
}

// A crash report names the call of the thread that faulted, not a call another thread is in.
TEST(PluginCallTest, CallsInProgressBelongToTheirThread) {
    PluginCall outer("effEditIdle", 19);
    const char* seenThere = "not run";
    std::thread audio([&] {
        seenThere = PluginCall::Current();
        PluginCall inner("processReplacing");
    });
    audio.join();
    EXPECT_EQ(seenThere, nullptr);
    EXPECT_STREQ(PluginCall::Current(), "effEditIdle");
    EXPECT_EQ(PluginCall::CurrentIndex(), 19);
}

// MIDI, SysEx, automation and gestures the plug-in sends are recorded as sent.
TEST(HostCallbackTest, RecordsWhatThePluginSends) {
    FakeEffect fx;
    AEffect* e = &fx.record;
    fx.host.SetTransport(1000, true);
    VstMidiEvent note = MidiRecord(0x90, 60, 100, 17);
    char dump[] = {static_cast<char>(0xF0), 0x7D, 0x01, static_cast<char>(0xF7)};
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof sysex;
    sysex.deltaFrames = 3;
    sysex.dumpBytes = 4;
    sysex.sysexDump = dump;
    // The null entry is skipped; the third lies past the record's declared two.
    VstEventList list({reinterpret_cast<VstEvent*>(&note), nullptr, reinterpret_cast<VstEvent*>(&sysex)});
    EXPECT_EQ(Ask(e, audioMasterProcessEvents, 0, 0, list.List()), 1);

    auto midi = fx.host.ReceivedMidi();
    ASSERT_EQ(midi.size(), 1u);
    EXPECT_EQ(midi[0].frame, 1017);
    EXPECT_EQ(midi[0].deltaFrames, 17);
    EXPECT_EQ(midi[0].bytes[0], 0x90);
    EXPECT_EQ(midi[0].bytes[2], 100);
    auto sys = fx.host.ReceivedSysEx();
    ASSERT_EQ(sys.size(), 1u);
    EXPECT_EQ(sys[0].frame, 1003);
    EXPECT_EQ(sys[0].data, (std::vector<uint8_t>{0xF0, 0x7D, 0x01, 0xF7}));

    // A negative count takes nothing; the host still answers.
    list.List()->numEvents = -5;
    EXPECT_EQ(Ask(e, audioMasterProcessEvents, 0, 0, list.List()), 1);
    EXPECT_EQ(fx.host.ReceivedMidiCount(), 1);

    Ask(e, audioMasterBeginEdit, 4);
    Ask(e, audioMasterAutomate, 4, 0, nullptr, 0.75f);
    Ask(e, audioMasterEndEdit, 4);
    auto automation = fx.host.Automations();
    ASSERT_EQ(automation.size(), 1u);
    EXPECT_EQ(automation[0].index, 4);
    EXPECT_EQ(automation[0].value, 0.75f);
    auto gestures = fx.host.EditGestures();
    ASSERT_EQ(gestures.size(), 2u);
    EXPECT_TRUE(gestures[0].begin);
    EXPECT_FALSE(gestures[1].begin);
    EXPECT_EQ(gestures[1].index, 4);

    fx.host.ClearRecords();
    EXPECT_EQ(fx.host.ReceivedMidiCount(), 0);
    EXPECT_TRUE(fx.host.Automations().empty());
}

TEST(HostCallbackTest, KeepsCountingBeyondItsCapacity) {
    HostCallback host(2);
    AEffect record{};
    host.Attach(&record);
    VstMidiEvent note = MidiRecord(0x90, 60, 100);
    VstEventList list;
    list.AssignRecords(&note, 1);
    for (int i = 0; i < 5; ++i) Ask(&record, audioMasterProcessEvents, 0, 0, list.List());
    EXPECT_EQ(host.ReceivedMidi().size(), 2u);
    EXPECT_EQ(host.ReceivedMidiCount(), 5);
}

// The event list a host hands over: any length, entries in order, storage reused when rebuilt.
TEST(VstEventListTest, HoldsAnyNumberOfEntries) {
    VstMidiEvent notes[5];
    for (int i = 0; i < 5; ++i) notes[i] = MidiRecord(0x90, static_cast<uint8_t>(60 + i), 100, i);
    VstEventList list;
    VstEvents* events = list.AssignRecords(notes, 5);
    ASSERT_EQ(events->numEvents, 5);
    VstEvent* const* entries = events->events;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(entries[i], reinterpret_cast<VstEvent*>(&notes[i]));
    EXPECT_EQ(reinterpret_cast<VstMidiEvent*>(entries[4])->midiData[1], 64);
    EXPECT_EQ(notes[3].byteSize, 32);
    EXPECT_EQ(notes[3].deltaFrames, 3);

    EXPECT_EQ(list.AssignRecords(notes, 1), events);  // smaller: same storage
    EXPECT_EQ(events->numEvents, 1);
    EXPECT_EQ(events->events[1], nullptr);
    EXPECT_EQ(list.Assign(nullptr, 0)->numEvents, 0);
}

// The silent host answers without recording: version, event lists, a stopped transport.
TEST(SilentHostTest, AnswersNeutrally) {
    EXPECT_EQ(SilentHostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0), HostCallback::kHostVersion);
    VstEventList list;
    EXPECT_EQ(SilentHostCallback(nullptr, audioMasterProcessEvents, 0, 0, list.Assign(nullptr, 0), 0), 1);
    EXPECT_EQ(SilentHostCallback(nullptr, audioMasterProcessEvents, 0, 0, nullptr, 0), 0);
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        SilentHostCallback(nullptr, audioMasterGetTime, 0, ~0, nullptr, 0));
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->samplePos, 0);
    EXPECT_EQ(time->flags, 0);
    EXPECT_EQ(SilentHostCallback(nullptr, audioMasterGetVendorString, 0, 0, nullptr, 0), 0);
}
