// The processing half of the adapter: the audio buses' arrangement, and one process call's
// events and audio translated for the core; the core's outgoing MIDI goes to the block's output
// event list. [audio thread, with the core's lock held] unless a function says otherwise; nothing
// here allocates.
#pragma once

#include <atomic>
#include <thread>

#include "abi/Vst3Processing.h"
#include "plugbase/IMidiEvent.h"
#include "plugbase/IPluginCore.h"

class Vst3Process {
  public:
    explicit Vst3Process(IPluginCore& core) : core(core) {}

    // ---- buses [UI thread, with the lock held] ------------------------------------------------
    // Stereo in and out, or mono in and out (the effect's "1-1 2-2"); false keeps the current one.
    bool SetArrangement(vst3::SpeakerArrangement in, vst3::SpeakerArrangement out);
    vst3::SpeakerArrangement Arrangement() const { return arrangement; }
    int Channels() const { return arrangement == vst3::kSpeakerArrMono ? 1 : 2; }

    // ---- one process call -----------------------------------------------------------------------
    // Opens the block: the core's outgoing events go to data's output list until End.
    void Begin(vst3::ProcessData& data);
    void End();
    // [any thread] Whether the caller runs inside this object's process call: a notification from
    // the UI thread while the audio thread processes is no part of the block.
    bool InBlock() const;
    // The block's output parameter changes, or null when the host gave none. Inside a block only.
    vst3::IParameterChanges* OutputChanges() const { return block->outputParameterChanges; }
    // Every input event of the block, to the core as MIDI, in order.
    void DeliverEvents();
    // The block's audio through the core; false when the buffers do not fit the arrangement.
    bool RunAudio();
    // A note or poly pressure as the event the host expects back; other messages have no
    // output event (controllers never arrive, so none need to leave). False when not sent.
    bool SendMidi(const IMidiEvent& event);

  private:
    // The first bus's channel pointers of one sample size when it has the arrangement's channels,
    // all of them set; otherwise null.
    template <typename Sample>
    static Sample** Buffers(const vst3::AudioBusBuffers* buses, int32_t count, int channels,
                            Sample** vst3::AudioBusBuffers::*samples);

    IPluginCore& core;
    vst3::SpeakerArrangement arrangement = vst3::kSpeakerArrStereo;
    vst3::ProcessData* block = nullptr;
    // The thread inside process, read by any thread to tell its own calls from the block's.
    std::atomic<std::thread::id> thread{};
};
