#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "plugbase/IPluginCore.h"
#include "abi/VstAbi.h"
#include "vst/VstOutgoingEvents.h"

// The VST 2 adapter: owns the effect (a format-free IPluginCore) and the effect record the host
// drives, translates every record callback into calls on the effect, and implements the effect's
// host notifications (IPluginHost) as host callbacks.
//
// Threads: the host may call the record's functions from its audio, control and user-interface
// threads; every one of them takes the plug-in's lock (IPluginCore::Lock) for its whole duration,
// so the member functions below run serialised. Calls to the host are made with the lock held,
// except a control's begin- and end-edit, which come from the UI thread without it.
//
// Ownership: the host owns nothing; the object lives from the entry point until effClose, which
// deletes it, and the effect and the record with it.
//
// Editor: an attached one sets effFlagsHasEditor and the editor rectangle the host reads with
// effEditGetRect; effEditOpen answers 1 only when the editor could open its window.
class IVstPlugin final : public IPluginHost {
  public:
    // Takes the effect (not null) and attaches itself as its host.
    IVstPlugin(audioMasterCallback host, std::unique_ptr<IPluginCore> effect);
    ~IVstPlugin() override;
    IVstPlugin(const IVstPlugin&) = delete;
    IVstPlugin& operator=(const IVstPlugin&) = delete;

    IPluginCore& Core() { return *core_; }
    std::recursive_mutex& Lock() const { return core_->Lock(); }
    // The record handed to the host; its object field points back at this plug-in.
    AEffect* Effect() { return &effect_; }
    // The plug-in behind a record, or null for a null record or one without an object.
    static IVstPlugin* FromEffect(AEffect* effect);

    // [any thread, with the lock held] One dispatcher call (the record's dispatcher takes the
    // lock). effClose is handled by the record's dispatcher itself: it destroys the object.
    intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    const VstSpeakerArrangement& InputArrangement() const { return inputArrangement_; }
    const VstSpeakerArrangement& OutputArrangement() const { return outputArrangement_; }
    const ERect& EditorRect() const { return editorRect_; }
    // The host number found from the host's product name (NotAsked until Product asked), and the
    // host's version packed as major * 65536 + minor * 256 + patch.
    HostId Host() const { return hostKind_; }
    int32_t HostVersion() const { return hostVersion_; }
    // At most once per object (effOpen): host-specific channel adjustment, then the record's and
    // the arrangements' channel counts follow the effect's channels.
    void AdjustForHost();

    // ---- The effect's host notifications, through the host callback -----------------------------
    // Each with the thread tag of the IPluginCore function that calls it.
    void BeginEdit(int index) override;
    void Automate(int index, double normalized) override;
    void EndEdit(int index) override;
    void ProgramChanged() override;
    void LatencyChanged(int samples) override;
    int64_t SamplePosition() override;
    double Tempo() override;
    void TimeSignature(int& numerator, int& denominator) override;
    bool SendMidi(const IMidiEvent& event) override;
    bool SendSysEx(const ISysExMessage& message) override;
    // Under the lock: asks the host for its product name (and version) once and maps it to a host
    // number.
    HostId Product() override;
    // effFlagsHasEditor and the editor rectangle follow the effect's editor.
    void EditorChanged() override;

  private:
    // Calls the host with the effect record first; 0 when the host gave no callback.
    intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Record callbacks (IVstPluginCallbacks.cpp): validate the record, take the lock, forward. An
    // exception from below (a failed allocation, say) ends at each of them as the neutral answer.
    // [any thread] the dispatcher and the parameter callbacks; [audio thread] the three process
    // callbacks.
    static intptr_t DispatcherCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                       void* ptr, float opt) noexcept;
    static void ProcessFloat(AEffect* effect, float** inputs, float** outputs, int32_t frames,
                             bool accumulate) noexcept;
    static void ProcessCallback(AEffect* effect, float** inputs, float** outputs, int32_t frames) noexcept;
    static void ProcessReplacingCallback(AEffect* effect, float** inputs, float** outputs,
                                         int32_t frames) noexcept;
    static void ProcessDoubleCallback(AEffect* effect, double** inputs, double** outputs,
                                      int32_t frames) noexcept;
    static void SetParameterCallback(AEffect* effect, int32_t index, float value) noexcept;
    static float GetParameterCallback(AEffect* effect, int32_t index) noexcept;

    // Dispatcher pieces (IVstPluginDispatcher.cpp).
    intptr_t ProcessEvents(const VstEvents* events);
    intptr_t String2Parameter(int index, const char* text);
    intptr_t PinProperties(bool input, int index, VstPinProperties* pin);
    intptr_t SetSpeakerArrangement(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs);
    intptr_t VendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t MidiKeyNameFor(MidiKeyName* key);
    intptr_t ParameterPropertiesFor(int index, VstParameterProperties* properties);
    void SetSampleRateFromHost(float rate);
    void SetBlockSizeFromHost(intptr_t frames);

    // Before every block of a plug-in that uses MIDI.
    void AskForMidi();
    const VstTimeInfo* HostTime(int32_t flags);
    void SyncChannelCounts();

    std::unique_ptr<IPluginCore> core_;
    audioMasterCallback host_;
    HostId hostKind_ = HostId::NotAsked;
    int32_t hostVersion_ = 0;
    VstSpeakerArrangement inputArrangement_{};
    VstSpeakerArrangement outputArrangement_{};
    bool hostAdjusted_ = false;
    VstOutgoingEvents outgoing_;
    ERect editorRect_{};
    AEffect effect_{};
};
