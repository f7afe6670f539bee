#include <gtest/gtest.h>

#include <vector>

#include "effect/CreateEffect.h"
#include "tests/support/AllocationCounter.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"
#include "vst/IVstPlugin.h"

// The three audio callbacks, with notes arriving and MIDI going back to the host in between,
// allocate nothing: neither the adapter's frame and event records nor the effect behind them.
TEST(AudioAllocation, CallbacksAllocateNothing) {
    AEffect* e = (new IVstPlugin(&SilentHostCallback, CreateEffect()))->Effect();
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
    VstMidiEvent notes[] = {MidiRecord(0x90, 60, 100), MidiRecord(0x80, 60, 0)};
    VstEventList events;
    VstEvents* list = events.AssignRecords(notes, 2);

    AllocationCounter counter;
    counter.Start();
    for (int i = 0; i < 50; ++i) {
        if (i % 10 == 0) e->dispatcher(e, effProcessEvents, 0, 0, list, 0);
        e->processReplacing(e, fin, fout, 256);
        e->process(e, fin, fout, 1024);  // longer than the block size: sub-blocks
        e->processDoubleReplacing(e, din, dout, 200);
        e->setParameter(e, 4, 0.01f * static_cast<float>(i));
    }
    counter.Stop();
    EXPECT_EQ(counter.Count(), 0);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
}
