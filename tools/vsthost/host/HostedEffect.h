// One effect instance seen from the host: typed wrappers over its dispatcher and callbacks, the
// host's side of the lifecycle (open, resume, suspend, close) and safe text queries. Closes the
// effect when destroyed; must be destroyed before the module it came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/SpeakerArrangement.h"
#include "abi/VstAbi.h"

class HostedEffect {
  public:
    // Size of the zeroed buffer handed out for text queries; real plug-ins write far less.
    static constexpr size_t kTextBufferSize = 4096;
    // Larger chunks are taken as a broken answer (from a plug-in) or a wrong file (from the user).
    static constexpr size_t kMaxChunkBytes = size_t{256} << 20;

    HostedEffect(AEffect* effect, HostCallback& host);
    ~HostedEffect();
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    AEffect* Record() const { return effect; }
    HostCallback& Host() const { return host; }

    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // A text query (effGetParamName, effGetEffectName, ...), always terminated.
    std::string Text(int32_t opcode, int32_t index = 0, intptr_t value = 0);

    // effOpen; then the sample rate and block size the host runs at.
    void Open(double sampleRate, int32_t blockSize);
    // effMainsChanged 1 and effStartProcess.
    void Resume();
    // effStopProcess and effMainsChanged 0 (only when resumed).
    void Suspend();
    // Suspends if needed, then effClose; the record is gone afterwards.
    void Close();

    int32_t NumParams() const;
    int32_t NumPrograms() const;
    // The record's channel counts, read afresh on every call (a plug-in may change them, see
    // OfferSpeakerArrangement) and bounded to 0..PluginModule::kMaxChannels.
    int32_t NumInputs() const;
    int32_t NumOutputs() const;
    // Whether the record's counts, as the plug-in left them, lie within those bounds.
    bool ChannelCountsPlausible() const;
    int32_t Flags() const;

    float GetParameter(int32_t index) const;
    void SetParameter(int32_t index, float value);
    std::string ParameterName(int32_t index);
    std::string ParameterLabel(int32_t index);
    std::string ParameterDisplay(int32_t index);
    // effGetParameterProperties into a zeroed record; false when the plug-in gives none.
    bool ParameterProperties(int32_t index, VstParameterProperties& out);
    int32_t Program();
    void SetProgram(int32_t index);
    std::string ProgramName();
    std::string ProgramNameIndexed(int32_t index);
    intptr_t CanDo(const char* text);

    // effGetChunk: bank (index 0) or current program (index 1). False when the plug-in gives no
    // data; the bytes are copied out at once because the plug-in owns them.
    bool GetChunk(bool bank, std::vector<uint8_t>& out);
    // What became of a chunk handed over. The plug-in's answer is advisory: many plug-ins (all
    // JUCE-based ones) answer 0 although they applied the data, so callers report it rather than
    // fail on it.
    struct ChunkDelivery {
        bool delivered = false;  // false: empty or oversized, never handed to the plug-in
        intptr_t answer = 0;
    };
    // effSetChunk, framed by effBeginSetProgram/effEndSetProgram for program chunks.
    ChunkDelivery DeliverChunk(bool bank, const std::vector<uint8_t>& data);
    // The same, true when the plug-in answers that it took the data (for plug-ins known to answer).
    bool SetChunk(bool bank, const std::vector<uint8_t>& data);

    // What became of a speaker arrangement offered to the plug-in.
    struct ArrangementOffer {
        int32_t inputs = 0, outputs = 0;  // the channel counts offered
        bool sent = false;                // false: the effect was resumed (or is gone), nothing asked
        bool accepted = false;            // the plug-in answered non-zero
    };
    // effSetSpeakerArrangement with records for inputs and outputs channels (bounded as
    // SpeakerArrangementRecord does). Only while suspended, where hosts negotiate: a plug-in may
    // change its channel counts in answer, so read them again afterwards. The records stay valid
    // until the next offer or until the effect closes, for plug-ins that keep the pointers.
    ArrangementOffer OfferSpeakerArrangement(int32_t inputs, int32_t outputs);

    // The audio callbacks. Replacing falls back to the accumulating callback (into zeroed
    // outputs) for a plug-in without processReplacing. The pointer arrays must hold an entry for
    // as many channels as a plug-in may claim (PluginModule::kMaxChannels), so that a plug-in
    // changing its counts while processing still finds valid memory.
    void ProcessReplacing(float** inputs, float** outputs, int32_t frames);
    void ProcessAccumulating(float** inputs, float** outputs, int32_t frames);
    void ProcessDouble(double** inputs, double** outputs, int32_t frames);
    bool CanReplacing() const;
    bool CanDouble() const;
    // Delivers a list of events through effProcessEvents.
    intptr_t ProcessEvents(VstEvents* events);

  private:
    AEffect* effect;
    HostCallback& host;
    bool open = false;
    bool resumed = false;
    SpeakerArrangementRecord offeredInputs, offeredOutputs;
};
