// The component's buses, activation and processing setup.
#include <algorithm>
#include <mutex>

#include "vst3/Vst3Plugin.h"
#include "vst3/Vst3Text.h"

namespace {

constexpr double kMinSampleRate = 1.0;
constexpr double kMaxSampleRate = 10.0e6;
constexpr int32_t kMaxBlockSize = 1 << 20;

bool ValidBus(int32_t type, int32_t dir, int32_t index) {
    return (type == vst3::kAudio || type == vst3::kEvent) && (dir == vst3::kInput || dir == vst3::kOutput) &&
           index == 0;
}

}  // namespace

vst3::tresult Vst3Plugin::getControllerClassId(vst3::TUID) noexcept {
    // The component is its own controller: hosts then take IEditController from it.
    return vst3::kResultFalse;
}

int32_t Vst3Plugin::getBusCount(int32_t type, int32_t dir) noexcept {
    return ValidBus(type, dir, 0) ? 1 : 0;
}

vst3::tresult Vst3Plugin::getBusInfo(int32_t type, int32_t dir, int32_t index, vst3::BusInfo& bus) noexcept {
    if (!ValidBus(type, dir, index)) return vst3::kInvalidArgument;
    bus = vst3::BusInfo{};
    bus.mediaType = type;
    bus.direction = dir;
    bus.busType = vst3::kMain;
    bus.flags = vst3::kDefaultActive;
    if (type == vst3::kEvent) {
        bus.channelCount = 16;
        vst3text::ToUtf16(dir == vst3::kInput ? "MIDI In" : "MIDI Out", bus.name, 128);
    } else {
        std::lock_guard<std::recursive_mutex> hold(core->Lock());
        bus.channelCount = processing.Channels();
        vst3text::ToUtf16(dir == vst3::kInput ? "Input" : "Output", bus.name, 128);
    }
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::activateBus(int32_t type, int32_t dir, int32_t index, vst3::TBool) noexcept {
    // Every bus is always processed; an inactive one simply brings no buffers or events.
    return ValidBus(type, dir, index) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult Vst3Plugin::setActive(vst3::TBool state) noexcept {
    try {
        std::lock_guard<std::recursive_mutex> hold(core->Lock());
        const bool on = state != 0;
        if (on == active) return vst3::kResultOk;
        active = on;
        core->OnActivate(on);
        if (!on) core->Reset();
        return vst3::kResultOk;
    } catch (...) {
        return vst3::kInternalError;
    }
}

vst3::tresult Vst3Plugin::setBusArrangements(vst3::SpeakerArrangement* inputs, int32_t numIns,
                                             vst3::SpeakerArrangement* outputs, int32_t numOuts) noexcept {
    if (numIns != 1 || numOuts != 1 || !inputs || !outputs) return vst3::kResultFalse;
    std::lock_guard<std::recursive_mutex> hold(core->Lock());
    return processing.SetArrangement(inputs[0], outputs[0]) ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult Vst3Plugin::getBusArrangement(int32_t dir, int32_t index,
                                            vst3::SpeakerArrangement& arr) noexcept {
    if (!ValidBus(vst3::kAudio, dir, index)) return vst3::kInvalidArgument;
    std::lock_guard<std::recursive_mutex> hold(core->Lock());
    arr = processing.Arrangement();
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::canProcessSampleSize(int32_t size) noexcept {
    // The core computes in double precision; 64-bit samples reach it without conversion.
    return size == vst3::kSample32 || size == vst3::kSample64 ? vst3::kResultTrue : vst3::kResultFalse;
}

uint32_t Vst3Plugin::getLatencySamples() noexcept {
    std::lock_guard<std::recursive_mutex> hold(core->Lock());
    return static_cast<uint32_t>(std::max(core->Latency(), 0));
}

vst3::tresult Vst3Plugin::setupProcessing(vst3::ProcessSetup& setup) noexcept {
    if (!(setup.sampleRate >= kMinSampleRate && setup.sampleRate <= kMaxSampleRate) ||
        setup.maxSamplesPerBlock <= 0 ||
        (setup.symbolicSampleSize != vst3::kSample32 && setup.symbolicSampleSize != vst3::kSample64))
        return vst3::kInvalidArgument;
    try {
        std::lock_guard<std::recursive_mutex> hold(core->Lock());
        // As the VST 2 module takes a sample rate and a block size: each resets the engine.
        core->SetSampleRate(setup.sampleRate);
        core->SetBlockSize(std::min(setup.maxSamplesPerBlock, kMaxBlockSize));
        core->Reset();
        return vst3::kResultOk;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}
