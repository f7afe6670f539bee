// Audio played through an effect while its editor is open, as a host plays a track while the
// user works: a looped signal with its MIDI, fed block by block on an audio thread of its own and
// paced to the wall clock. Each block's MIDI goes through effProcessEvents (deltaFrames relative
// to the block) just before the block's processReplacing; the host's transport advances with it.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "tools/vsthost/formats/AudioData.h"
#include "tools/vsthost/render/EventSchedule.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/host/VstEventList.h"

// The block-by-block half, without a thread or a clock: the loop's position, its buffers and its
// MIDI. Everything it needs is allocated up front; ProcessBlock allocates nothing.
class LoopedPlayback {
  public:
    // Loops input (its first channel's length is the loop; at least one frame) with events whose
    // frames lie inside the loop, in order. The effect must be open.
    LoopedPlayback(HostedEffect& effect, AudioData input, std::vector<ScheduledEvent> events,
                   int32_t blockSize);

    // One block: the transport at its start, its MIDI (including the loop's start again when the
    // block runs past the loop's end), then processReplacing. The effect must be resumed.
    void ProcessBlock();

    int32_t BlockSize() const { return blockSize; }
    int64_t Blocks() const { return blocks; }
    int64_t Frames() const { return frames; }  // processed since the start, across loops
    int64_t EventsDelivered() const { return eventsDelivered; }
    // What the effect wrote in the last block, one buffer per output.
    const std::vector<std::vector<float>>& Outputs() const { return outputBuffers; }

  private:
    HostedEffect& effect;
    AudioData input;
    std::vector<ScheduledEvent> events;
    int32_t blockSize;
    int64_t loopFrames;
    int64_t loopPosition = 0;  // frame of the loop the next block starts at
    size_t nextEvent = 0;      // first event at or after loopPosition
    int64_t blocks = 0, frames = 0, eventsDelivered = 0;

    std::vector<std::vector<float>> inputBuffers, outputBuffers;
    std::vector<float*> inputPointers, outputPointers;
    std::vector<VstMidiEvent> midi;  // capacity fixed up front; events beyond it are dropped
    VstEventList list;
};

// The audio thread around LoopedPlayback.
class LiveAudio {
  public:
    // The built-in demo (test signal and note pattern, 8 s) at sampleRate, looped.
    LiveAudio(HostedEffect& effect, double sampleRate, int32_t blockSize);
    LiveAudio(HostedEffect& effect, double sampleRate, int32_t blockSize, AudioData input,
              std::vector<ScheduledEvent> events);
    // Stops first.
    ~LiveAudio();
    LiveAudio(const LiveAudio&) = delete;
    LiveAudio& operator=(const LiveAudio&) = delete;

    // Starts processing as a host does (effMainsChanged 1, effStartProcess) and then the thread;
    // false, with processing stopped again, when no thread can be started.
    bool Start();
    // Ends the thread after its current block and waits for it, then stops processing
    // (effStopProcess, effMainsChanged 0). Does nothing when not started.
    void Stop();

    // Readable at any time; exact once stopped.
    int64_t BlocksProcessed() const { return blocksDone.load(std::memory_order_relaxed); }
    int64_t EventsDelivered() const { return eventsDone.load(std::memory_order_relaxed); }
    // Times the thread fell so far behind the clock that it gave up catching up.
    int64_t Overruns() const { return overruns.load(std::memory_order_relaxed); }

  private:
    void Run();

    HostedEffect& effect;
    double sampleRate;
    LoopedPlayback playback;
    std::thread thread;
    std::atomic<bool> stopRequested{false};
    std::atomic<int64_t> blocksDone{0}, eventsDone{0}, overruns{0};
};
