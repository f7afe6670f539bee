#include "tools/vsthost/editor/LiveAudio.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/render/TestSignal.h"

namespace {

constexpr double kDemoSeconds = 8.0;
// More MIDI than this in one block is dropped rather than given storage while playing.
constexpr size_t kMaxEventsPerBlock = 65536;
// Further behind the clock than this, the thread starts a new schedule from now instead of
// rushing through the missed blocks (a host's audio device would have dropped them).
constexpr int kMaxLagBlocks = 8;

}  // namespace

LoopedPlayback::LoopedPlayback(HostedEffect& e, AudioData in, std::vector<ScheduledEvent> scheduled,
                               int32_t block)
    : effect(e), input(std::move(in)), events(std::move(scheduled)), blockSize(std::max(block, 1)) {
    if (input.Frames() == 0) input.channels.assign(1, std::vector<float>(static_cast<size_t>(blockSize)));
    loopFrames = static_cast<int64_t>(input.Frames());
    events.erase(
        std::remove_if(events.begin(), events.end(),
                       [&](const ScheduledEvent& ev) { return ev.frame < 0 || ev.frame >= loopFrames; }),
        events.end());

    const auto channels = [](int32_t n) { return static_cast<size_t>(std::max(n, 1)); };
    inputBuffers.assign(channels(effect.NumInputs()), std::vector<float>(static_cast<size_t>(blockSize)));
    outputBuffers.assign(channels(effect.NumOutputs()), std::vector<float>(static_cast<size_t>(blockSize)));
    for (auto& b : inputBuffers) inputPointers.push_back(b.data());
    for (auto& b : outputBuffers) outputPointers.push_back(b.data());

    // A block holds each event at most once per pass of the loop it touches.
    const auto passes = static_cast<size_t>(blockSize / loopFrames + 2);
    const size_t capacity = std::min(std::max<size_t>(events.size() * passes, 1), kMaxEventsPerBlock);
    midi.resize(capacity);
    list.AssignRecords(midi.data(), midi.size());  // sizes the list's storage once
    midi.clear();
}

void LoopedPlayback::ProcessBlock() {
    effect.Host().SetTransport(static_cast<double>(frames), true);
    midi.clear();
    int32_t done = 0;
    while (done < blockSize) {
        const auto chunk =
            static_cast<int32_t>(std::min<int64_t>(blockSize - done, loopFrames - loopPosition));
        for (; nextEvent < events.size() && events[nextEvent].frame < loopPosition + chunk; ++nextEvent) {
            if (midi.size() == midi.capacity()) continue;
            const ScheduledEvent& e = events[nextEvent];
            midi.push_back(MidiRecord(e.bytes[0], e.bytes[1], e.bytes[2],
                                      done + static_cast<int32_t>(e.frame - loopPosition)));
        }
        // Plug-in input c reads channel c; a mono signal feeds every input.
        for (size_t c = 0; c < inputBuffers.size(); ++c) {
            float* to = inputBuffers[c].data() + done;
            const size_t source = input.channels.size() == 1 ? 0 : c;
            if (source < input.channels.size()) {
                const float* from = input.channels[source].data() + loopPosition;
                std::copy(from, from + chunk, to);
            } else {
                std::fill(to, to + chunk, 0.0f);
            }
        }
        done += chunk;
        loopPosition += chunk;
        if (loopPosition == loopFrames) {
            loopPosition = 0;
            nextEvent = 0;
        }
    }
    if (!midi.empty()) {
        effect.ProcessEvents(list.AssignRecords(midi.data(), midi.size()));
        eventsDelivered += static_cast<int64_t>(midi.size());
    }
    effect.ProcessReplacing(inputPointers.data(), outputPointers.data(), blockSize);
    ++blocks;
    frames += blockSize;
}

namespace {

AudioData DemoSignal(double sampleRate) {
    return MakeTestSignal(static_cast<int32_t>(sampleRate), static_cast<size_t>(kDemoSeconds * sampleRate));
}

std::vector<ScheduledEvent> DemoEvents(double sampleRate) {
    return ScheduleEvents({}, DemoNotes(), sampleRate, static_cast<int64_t>(kDemoSeconds * sampleRate));
}

}  // namespace

LiveAudio::LiveAudio(HostedEffect& e, double rate, int32_t blockSize)
    : LiveAudio(e, rate, blockSize, DemoSignal(rate), DemoEvents(rate)) {}

LiveAudio::LiveAudio(HostedEffect& e, double rate, int32_t blockSize, AudioData input,
                     std::vector<ScheduledEvent> events)
    : effect(e),
      sampleRate(rate > 0 ? rate : 44100.0),
      playback(e, std::move(input), std::move(events), blockSize) {}

LiveAudio::~LiveAudio() {
    Stop();
}

bool LiveAudio::Start() {
    if (thread.joinable()) return true;
    stopRequested.store(false, std::memory_order_relaxed);
    effect.Dispatch(effSetProcessPrecision, 0, kVstProcessPrecision32);
    effect.Resume();
    try {
        thread = std::thread(&LiveAudio::Run, this);
    } catch (const std::system_error&) {
        effect.Suspend();
        return false;
    }
    return true;
}

void LiveAudio::Stop() {
    if (!thread.joinable()) return;
    stopRequested.store(true, std::memory_order_relaxed);
    thread.join();
    effect.Host().SetTransport(static_cast<double>(playback.Frames()), false);
    effect.Suspend();
}

void LiveAudio::Run() {
    HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
    using Clock = std::chrono::steady_clock;
    const std::chrono::duration<double> period(playback.BlockSize() / sampleRate);
    Clock::time_point start = Clock::now();
    int64_t due = 0;  // blocks since start
    while (!stopRequested.load(std::memory_order_relaxed)) {
        playback.ProcessBlock();
        blocksDone.store(playback.Blocks(), std::memory_order_relaxed);
        eventsDone.store(playback.EventsDelivered(), std::memory_order_relaxed);
        ++due;
        const Clock::time_point next = start + std::chrono::duration_cast<Clock::duration>(period * due);
        const Clock::time_point now = Clock::now();
        if (now - next > period * kMaxLagBlocks) {
            overruns.fetch_add(1, std::memory_order_relaxed);
            start = now;
            due = 0;
            continue;
        }
        std::this_thread::sleep_until(next);
    }
    HostCallback::SetThreadProcessLevel(0);
}
