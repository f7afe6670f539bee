#pragma once

#include <cstdint>
#include <memory>

#include "plugbase/IPluginCore.h"
#include "abi/VstAbi.h"
#include "vst/VstOutgoingEvents.h"

// The VST 2 adapter: owns the effect record the host drives and translates every record callback
// into calls on the plug-in core, and the core's host notifications into host callbacks.
//
// Threads: the host may call the record's functions from its audio, control and user-interface
// threads; every one of them takes the plug-in's lock (IPluginCore::Lock) for its whole duration,
// so the member functions below run serialised. Calls to the host are made with the lock held,
// except a control's begin- and end-edit, which come from the UI thread without it.
//
// Ownership: the host owns nothing; the object lives from the entry point until effClose, which
// deletes it. The effect record is part of the object and dies with it.
//
// Editor: attaching one sets effFlagsHasEditor and the editor rectangle the host reads with
// effEditGetRect; effEditOpen answers 1 only when the editor could open its window.
class IVstPlugin : public IPluginCore {
  public:
    IVstPlugin(audioMasterCallback host, int nParams, const char* channelConfigs, int nPrograms,
               const char* effectName, const char* productName, const char* makerName, int32_t version,
               int32_t uniqueId, int32_t makerId, int32_t latency, int32_t doesMidi, bool stateChunks,
               bool isInstrument);
    ~IVstPlugin() override;

    // The record handed to the host; its object field points back at this plug-in.
    AEffect* Effect() { return &effect_; }
    // The plug-in behind a record, or null for a null record or one without an object.
    static IVstPlugin* FromEffect(AEffect* effect);

    // [any thread, with the lock held] One dispatcher call (the record's dispatcher takes the
    // lock). effClose is handled by the record's dispatcher itself: it destroys the object.
    intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    const VstSpeakerArrangement& InputArrangement() const { return inputArrangement_; }
    const VstSpeakerArrangement& OutputArrangement() const { return outputArrangement_; }

    // ---- Host notifications of the core, through the host callback ------------------------------
    // Each with the thread tag of its IPluginCore declaration.
    void HostAutomate(int index, double normalized) override;
    void HostBeginEdit(int index) override;
    void HostBeginEditOnce(int index) override;
    void HostBeginNestedEdit(int index) override;
    void HostEndEdit(int index) override;
    void HostProgramChanged() override;
    int64_t HostSamplePosition() override;
    double HostTempo() override;
    void HostTimeSignature(int& numerator, int& denominator) override;
    // Under the lock: asks the host for its product name (and version) once and maps it to a host
    // number.
    HostId HostKind() override;
    // At most once per object (effOpen): host-specific channel adjustment, then the record's and
    // the arrangements' channel counts follow the core's channels.
    void AdjustForHost() override;
    void SetLatency(int samples) override;
    // The core's steps, then effFlagsHasEditor and the editor rectangle.
    void AttachEditor(std::unique_ptr<IEditorLink> editor) override;
    // Under the lock, since the dispatcher reads the rectangle: it follows the editor's size.
    void EditorSizeChanged() override;
    const ERect& EditorRect() const { return editorRect_; }
    bool SendMidiEvent(const IMidiEvent& event) override;
    bool SendSysEx(const ISysExMessage& message) override;

  protected:
    // Calls the host with the effect record first; 0 when the host gave no callback.
    intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

  private:
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
    void SetEditorRectFromEditor();

    audioMasterCallback host_;
    VstSpeakerArrangement inputArrangement_{};
    VstSpeakerArrangement outputArrangement_{};
    bool hostAdjusted_ = false;
    VstOutgoingEvents outgoing_;
    ERect editorRect_{};
    AEffect effect_{};
};
