#include "tools/vsthost/host/clap/ClapAudioBlock.h"

ClapAudioBlock::ClapAudioBlock(uint32_t channels, uint32_t maxFrames, bool wide) : use64(wide) {
    for (uint32_t c = 0; c < channels; ++c) {
        if (use64) {
            in64.emplace_back(maxFrames, 0.0);
            out64.emplace_back(maxFrames, 0.0);
            in64Ptr.push_back(in64.back().data());
            out64Ptr.push_back(out64.back().data());
        } else {
            in32.emplace_back(maxFrames, 0.0f);
            out32.emplace_back(maxFrames, 0.0f);
            in32Ptr.push_back(in32.back().data());
            out32Ptr.push_back(out32.back().data());
        }
    }
    input.channel_count = output.channel_count = channels;
    input.data32 = use64 ? nullptr : in32Ptr.data();
    output.data32 = use64 ? nullptr : out32Ptr.data();
    input.data64 = use64 ? in64Ptr.data() : nullptr;
    output.data64 = use64 ? out64Ptr.data() : nullptr;
}

clap_process ClapAudioBlock::Record(uint32_t frames, int64_t steadyTime, const clap_input_events* in,
                                    const clap_output_events* out) {
    clap_process process{};
    process.steady_time = steadyTime;
    process.frames_count = frames;
    process.transport = nullptr;
    process.audio_inputs = &input;
    process.audio_outputs = &output;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = in;
    process.out_events = out;
    return process;
}
