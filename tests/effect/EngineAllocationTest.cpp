#include <gtest/gtest.h>

#include "tests/effect/EngineProbe.h"
#include "tests/support/AllocationCounter.h"

namespace {

// The audio path (blocks, notes, releases, the MIDI sent back) never touches the heap, also with a
// running envelope in every shape.
TEST(EngineAllocation, ProcessAndMidiAllocateNothing) {
    FakeHost host;
    EngineProbe effect;
    effect.Open();
    effect.Block(0);
    effect.Ensure(512);
    AllocationCounter counter;
    for (int shape = 0; shape <= 4; ++shape) {
        effect.SetPlain(VSTCLASS::kShapeEnv, shape);
        host.calls.clear();
        counter.Start();
        effect.NoteOn();
        for (int i = 0; i < 200; ++i) {
            effect.Block(512);
            if (i == 60) effect.NoteOff();
            if (i == 120) effect.Midi(0xB0, 1, 64);
        }
        counter.Stop();
        EXPECT_EQ(0, counter.Count()) << shape;
    }
}

}  // namespace
