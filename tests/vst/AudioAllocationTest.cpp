#include <gtest/gtest.h>

#include <vector>

#include "effect/VSTCLASS.h"
#include "tests/support/AllocationCounter.h"
#include "tests/vst/RecordingHost.h"

namespace {

// Answers every host call without recording, so that only the plug-in's allocations count.
intptr_t SilentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterProcessEvents ? 1 : 0;
}

}  // namespace

// The three audio callbacks, with notes arriving and MIDI going back to the host in between,
// allocate nothing: neither the adapter's frame and event records nor the effect behind them.
TEST(AudioAllocation, CallbacksAllocateNothing) {
    auto* plugin = new VSTCLASS(&SilentHost);
    AEffect* e = plugin->Effect();
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    e->dispatcher(e, effSetBlockSize, 0, 256, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);

    std::vector<float> fl(1024, 0.5f), fr(1024, -0.25f), gl(1024), gr(1024);
    std::vector<double> dl(1024, 0.5), dr(1024, -0.25), hl(1024), hr(1024);
    float* fin[2] = {fl.data(), fr.data()};
    float* fout[2] = {gl.data(), gr.data()};
    double* din[2] = {dl.data(), dr.data()};
    double* dout[2] = {hl.data(), hr.data()};
    VstMidiEvent notes[2] = {};
    for (VstMidiEvent& n : notes) {
        n.type = kVstMidiType;
        n.byteSize = sizeof n;
    }
    notes[0].midiData[0] = static_cast<char>(0x90);
    notes[0].midiData[1] = 60;
    notes[0].midiData[2] = 100;
    notes[1].midiData[0] = static_cast<char>(0x80);
    notes[1].midiData[1] = 60;
    VstEvents list{};
    list.numEvents = 2;
    list.events[0] = reinterpret_cast<VstEvent*>(&notes[0]);
    list.events[1] = reinterpret_cast<VstEvent*>(&notes[1]);

    AllocationCounter counter;
    counter.Start();
    for (int i = 0; i < 50; ++i) {
        if (i % 10 == 0) e->dispatcher(e, effProcessEvents, 0, 0, &list, 0);
        e->processReplacing(e, fin, fout, 256);
        e->process(e, fin, fout, 1024);  // longer than the block size: sub-blocks
        e->processDoubleReplacing(e, din, dout, 200);
        e->setParameter(e, 4, 0.01f * static_cast<float>(i));
    }
    counter.Stop();
    EXPECT_EQ(counter.Count(), 0);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}
