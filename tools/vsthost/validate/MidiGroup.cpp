// midi: random note, controller and pitch-bend streams, hostile timing (unsorted, outside the
// block), SysEx of every size, empty and crowded lists, events without audio; whatever MIDI the
// module sends back is well-formed and lies within the block it was sent in.
#include <limits>

#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/EventBatch.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

constexpr int32_t kFrames = TestContext::kBlockSize;

// The data bytes a short message of this status carries.
int DataBytes(uint8_t status) {
    switch (status & 0xF0) {
        case 0xC0:
        case 0xD0:
            return 1;
        case 0xF0:
            return status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
        default:
            return 2;
    }
}

// Checks what the plug-in sent back during the last block, then forgets it. Short messages must be
// well-formed always (only well-formed ones are handed in). judge: everything handed in was sound
// and lay within the block, so everything sent back must too (a plug-in may pass on what it got).
void CheckSentBack(TestCase& t, PluginInstance& instance, bool judge) {
    for (const HostMidiMessage& m : instance.Host().ReceivedMidi()) {
        uint8_t status = m.bytes[0];
        bool wellFormed = status >= 0x80 && status != 0xF0 && status != 0xF7;
        for (int k = 1; k <= DataBytes(status) && wellFormed; ++k) wellFormed = m.bytes[k] < 0x80;
        if (!wellFormed) {
            char text[64];
            std::snprintf(text, sizeof text, "%02X %02X %02X", m.bytes[0], m.bytes[1], m.bytes[2]);
            t.Fail(std::string("the plug-in sent back a malformed short message ") + text);
        }
        if (judge && (m.deltaFrames < 0 || m.deltaFrames >= kFrames))
            t.Fail("the plug-in sent back a message at deltaFrames " + N(m.deltaFrames) +
                   ", outside the block of " + N(kFrames));
    }
    for (const HostSysExMessage& s : instance.Host().ReceivedSysEx()) {
        if (s.data.empty() || s.data.front() != 0xF0)
            t.Problem("the plug-in sent back SysEx that does not start with F0",
                      t.Level().consistencyFailsFrom);
        if (judge && (s.deltaFrames < 0 || s.deltaFrames >= kFrames))
            t.Fail("the plug-in sent back SysEx at deltaFrames " + N(s.deltaFrames) + ", outside the block");
    }
    instance.Host().ClearRecords();
}

// One block: the batch, then processReplacing on the test signal; false when the output is not finite.
bool Block(PluginInstance& instance, EventBatch& batch, AudioBlock& block, int64_t at) {
    HostedEffect& fx = instance.Effect();
    instance.Host().SetTransport(double(at), true);
    batch.Deliver(fx);
    block.Resize(fx.NumInputs(), fx.NumOutputs(), kFrames);
    FillTestSignal(block, at, instance.SampleRate());
    fx.ProcessReplacing(block.In(), block.Out(), kFrames);
    return block.OutputsFinite();
}

std::unique_ptr<PluginInstance> Resumed(TestCase& t) {
    auto instance = t.NewInstance();
    if (instance) instance->Effect().Resume();
    return instance;
}

void RandomStreams(TestContext& ctx) {
    TestCase t(
        ctx, "midi.streams",
        N(ctx.Level().midiBlocks) +
            " blocks of random notes, controllers, pressure and pitch bend give finite output, and what "
            "comes back is well-formed and within its block");
    auto instance = Resumed(t);
    if (!instance) return;
    EventBatch batch;
    AudioBlock block;
    t.Calling("effProcessEvents and processReplacing with random MIDI");
    for (int b = 0; b < ctx.Level().midiBlocks; ++b) {
        batch.Clear();
        AddRandomMessages(batch, t.Random(), int(t.Random().Below(17)), kFrames);
        int64_t at = int64_t{b} * kFrames;
        if (!Block(*instance, batch, block, at)) {
            t.Fail("block " + N(b) + " of random MIDI gives NaN or infinity");
            break;
        }
        CheckSentBack(t, *instance, true);
    }
}

void HostileTiming(TestContext& ctx) {
    const bool hostile = ctx.Level().level >= ctx.Level().brokenEventListsFrom;
    TestCase t(ctx, "midi.timing",
               std::string("unsorted, negative and out-of-block deltaFrames") +
                   (hostile ? ", null entries and events of unknown type" : "") +
                   " never crash nor spoil the output");
    auto instance = Resumed(t);
    if (!instance) return;
    EventBatch batch;
    AudioBlock block;
    const int32_t deltas[] = {kFrames - 1,
                              0,
                              -1,
                              kFrames,
                              kFrames * 4,
                              std::numeric_limits<int32_t>::max(),
                              std::numeric_limits<int32_t>::min(),
                              7,
                              3};
    t.Calling("effProcessEvents with hostile timing, then processReplacing");
    for (int b = 0; b < ctx.Level().midiBlocks / 4 + 1; ++b) {
        batch.Clear();
        for (int32_t d : deltas) AddRandomMessage(batch, t.Random(), d);
        for (int k = 0; k < 8; ++k)
            AddRandomMessage(batch, t.Random(), t.Random().Between(-kFrames, 2 * kFrames));
        if (hostile) {
            batch.NullEntry();
            batch.Unknown(5);
        }
        if (!Block(*instance, batch, block, int64_t{b} * kFrames)) {
            t.Fail("a block after hostile timing gives NaN or infinity");
            break;
        }
        CheckSentBack(t, *instance, false);
    }
}

void SysEx(TestContext& ctx) {
    TestCase t(ctx, "midi.sysex",
               "SysEx of 0 to 65536 bytes, terminated or not, never crashes nor spoils the output");
    auto instance = Resumed(t);
    if (!instance) return;
    EventBatch batch;
    AudioBlock block;
    const size_t sizes[] = {1, 2, 3, 6, 100, 1000, 65536};
    int64_t at = 0;
    t.Calling("effProcessEvents with SysEx, then processReplacing");
    for (size_t size : sizes) {
        for (bool terminated : {true, false}) {
            std::vector<uint8_t> dump(size);
            for (uint8_t& byte : dump) byte = uint8_t(t.Random().Below(128));
            dump.front() = 0xF0;
            if (terminated) dump.back() = 0xF7;
            batch.Clear();
            batch.SysEx(t.Random().Between(0, kFrames - 1), dump);
            batch.EmptySysEx(0);
            AddRandomMessages(batch, t.Random(), 2, kFrames);
            if (!Block(*instance, batch, block, at))
                t.Fail("a block with " + N(int64_t(size)) + " bytes of SysEx gives NaN or infinity");
            CheckSentBack(t, *instance, false);
            at += kFrames;
        }
    }
}

void Counts(TestContext& ctx) {
    const int most = ctx.Level().eventsPerBlockMax;
    TestCase t(ctx, "midi.counts",
               "lists of 0 and of " + N(most) +
                   " events per block, and events delivered without audio in between, are taken without "
                   "crashing and with finite output");
    auto instance = Resumed(t);
    if (!instance) return;
    EventBatch batch;
    AudioBlock block;
    t.Calling("effProcessEvents with an empty list");
    if (!Block(*instance, batch, block, 0)) t.Fail("an empty event list gives NaN or infinity");
    CheckSentBack(t, *instance, true);
    t.Calling("effProcessEvents with " + N(most) + " events");
    for (int b = 1; b <= 4; ++b) {
        batch.Clear();
        AddRandomMessages(batch, t.Random(), most, kFrames);
        if (!Block(*instance, batch, block, int64_t{b} * kFrames))
            t.Fail("a block of " + N(most) + " events gives NaN or infinity");
        CheckSentBack(t, *instance, true);
    }
    t.Calling("effProcessEvents ten times without processing");
    for (int k = 0; k < 10; ++k) {
        batch.Clear();
        AddRandomMessages(batch, t.Random(), 32, kFrames);
        batch.Deliver(instance->Effect());
    }
    batch.Clear();
    t.Calling("processReplacing after events without audio");
    if (!Block(*instance, batch, block, 5 * kFrames))
        t.Fail("the block after events without audio gives NaN");
    instance->Host().ClearRecords();
    t.Calling("effProcessEvents while suspended");
    instance->Effect().Suspend();
    AddRandomMessages(batch, t.Random(), 32, kFrames);
    batch.Deliver(instance->Effect());
    instance->Effect().Resume();
    batch.Clear();
    if (!Block(*instance, batch, block, 6 * kFrames))
        t.Fail("the block after events while suspended gives NaN");
    t.Calling("effProcessEvents with no list");
    instance->Effect().Dispatch(effProcessEvents, 0, 0, nullptr);
}

}  // namespace

void RunMidiGroup(TestContext& ctx) {
    RandomStreams(ctx);
    HostileTiming(ctx);
    SysEx(ctx);
    Counts(ctx);
}
