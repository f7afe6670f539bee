#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestCore.h"
#include "tests/support/AllocationCounter.h"

namespace {

// Protects real-time safety: the whole processing frame allocates nothing, block after block,
// including blocks longer than the block size.
TEST(RealTime, ProcessingFrameNeverAllocates) {
    TestCore core;
    core.SetBlockSize(256);
    core.ConnectInputs(0, 2, true);
    core.ConnectOutputs(0, 2, true);
    std::vector<float> in[2] = {std::vector<float>(512, 0.25f), std::vector<float>(512, -0.5f)};
    std::vector<float> out[2] = {std::vector<float>(512), std::vector<float>(512)};
    std::vector<double> in64[2] = {std::vector<double>(512, 0.125), std::vector<double>(512, 1.0)};
    std::vector<double> out64[2] = {std::vector<double>(512), std::vector<double>(512)};
    const float* ins[] = {in[0].data(), in[1].data()};
    float* outs[] = {out[0].data(), out[1].data()};
    double* ins64[] = {in64[0].data(), in64[1].data()};
    double* outs64[] = {out64[0].data(), out64[1].data()};

    AllocationCounter counter;
    counter.Start();
    for (int block = 0; block < 1000; ++block) {
        const int frames = block % 7 == 0 ? 512 : 256 - block % 64;
        core.AttachInputs(ins, frames);
        core.AttachOutputs(outs);
        core.RunReplacing(frames);
        core.AttachInputs(ins, frames);
        core.AttachOutputs(outs);
        core.RunAccumulating(frames);
        core.AttachInputs64(ins64);
        core.AttachOutputs64(outs64);
        core.Run64(frames);
    }
    counter.Stop();
    EXPECT_EQ(counter.Count(), 0);
    EXPECT_EQ(out[1][0], -1.0f);  // replaced, then accumulated once
    EXPECT_EQ(out64[1][100], 1.0);

    // The counter itself must see allocations, or the zero above proves nothing.
    counter.Start();
    auto* probe = new std::vector<int>(10);
    delete probe;
    counter.Stop();
    EXPECT_GE(counter.Count(), 2);
}

}  // namespace
