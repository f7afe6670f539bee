#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

#include "plugbase/ChannelIoPair.h"
#include "plugbase/HostId.h"
#include "plugbase/IEditorLink.h"
#include "plugbase/IMidiEvent.h"
#include "plugbase/IParameter.h"
#include "plugbase/IPluginHost.h"
#include "plugbase/PluginDescriptor.h"
#include "plugbase/IProgram.h"
#include "plugbase/ISysExMessage.h"
#include "plugbase/IStateChunk.h"
#include "plugbase/InputChannel.h"
#include "plugbase/OutputChannel.h"

// Format-free heart of the plug-in: owns the parameters, the program slots, the legal channel
// configurations, one scratch buffer per audio channel, the plug-in's re-entrant lock and the
// editor link. The effect derives from it and overrides the hooks (Reset, OnParameterChange,
// ProcessDouble, OnMidiEvent...). A format's adapter owns the effect, drives it through the public
// functions below and attaches itself as the IPluginHost the Host* notifications forward to; with
// no host attached they do nothing and answer false / 0, so that tests can use the core directly.
//
// Threads: the host's audio and control threads come in with Lock() held (the adapter takes it for
// every call). The editor's UI thread comes in without it, through the controls, and reaches only
// the operations tagged [any thread] or [UI thread], which take the lock themselves where they
// need it. Each entry point carries its tag: [audio thread], [UI thread] or [any thread], and
// "with the lock held" when the caller must hold Lock(). Audio reaches ProcessDouble always as
// 64-bit blocks.
class IPluginCore {
  public:
    static constexpr int kNameBytes = 128;
    static constexpr int32_t kChunkMagic = 0x70666674;
    static constexpr int32_t kChunkVersion = 0x00010000;

    // Parameters and program slots as many as the descriptor says (all still to be defined), the
    // channels of its widest configuration; the descriptor is kept as given (its texts must outlive
    // the core).
    explicit IPluginCore(const PluginDescriptor& descriptor);
    // Destroys the editor, then the parameters (last to first), the programs (last to first), the
    // input and output channels and the channel configurations.
    virtual ~IPluginCore();
    IPluginCore(const IPluginCore&) = delete;
    IPluginCore& operator=(const IPluginCore&) = delete;

    // ---- Hooks for the effect -------------------------------------------------------------------
    // [any thread, with the lock held] each hook of this group but the three audio ones.
    virtual void Reset();                       // default: takes and releases the lock
    virtual void OnParameterChange(int index);  // default: takes and releases the lock
    // [audio thread, with the lock held] inputs/outputs are null when there are no such channels.
    // Default: copies input i to output i below the smaller channel count and zero-fills every
    // further output.
    virtual void ProcessDouble(double** inputs, double** outputs, int frames);
    virtual void OnEditorOpened() {}
    virtual void OnEditorClosed() {}
    virtual void OnActivate(bool active);  // default: takes and releases the lock
    // [audio thread, with the lock held] the events of the coming block, in order.
    virtual void OnMidiEvent(const IMidiEvent& event) { (void)event; }
    virtual void OnSysEx(const ISysExMessage& message) { (void)message; }
    // Writes a zero-terminated note name into text (capacity bytes); default "" and false.
    virtual bool MidiNoteName(int note, char* text, size_t capacity);
    virtual bool SaveState(IStateChunk& chunk) { return SaveParameters(chunk); }
    virtual int LoadState(const IStateChunk& chunk, int position) { return LoadParameters(chunk, position); }

    // ---- Host notifications: forwarded to the attached host ---------------------------------------
    // [any thread] Sets (or, with null, removes) the host the notifications go to; the caller keeps
    // it alive while attached. Under the lock.
    void AttachHost(IPluginHost* host);
    // [any thread] A control's gesture comes from the UI thread without the lock, the effect's own
    // correction from a host thread with it; each takes the lock where it needs it. A begin edit
    // first ends a pending wheel gesture.
    void HostBeginEdit(int index);
    // [UI thread] Under the lock: a begin edit, except for the parameter whose wheel gesture is still
    // pending (its begin edit was sent and its end edit is still to come).
    void HostBeginEditOnce(int index);
    // [any thread, with the lock held] A begin edit inside whatever gesture is open (the effect's
    // own correction while a control is turned): unlike HostBeginEdit, it leaves a pending wheel
    // gesture open, whose end edit is still to come.
    void HostBeginNestedEdit(int index);
    // [any thread, with the lock held] Virtual, as HostEndEdit and SendMidiEvent, so that a test
    // core can record them instead.
    virtual void HostAutomate(int index, double normalized);
    // [any thread] as HostBeginEdit.
    virtual void HostEndEdit(int index);
    // [any thread, with the lock held]
    void HostProgramChanged();
    // [audio thread, with the lock held] the host's transport, for the coming block.
    int64_t HostSamplePosition();
    double HostTempo();
    void HostTimeSignature(int& numerator, int& denominator);
    // [any thread] The UI thread asks while creating and activating the editor window; NotAsked
    // with no host attached.
    HostId HostKind();
    // [UI thread] The editor changed its size. Under the lock.
    void EditorSizeChanged();
    // [any thread] Under the lock: shows every parameter's normalised value in the editor, calls
    // its PrepareDrawing and takes ownership of it (a previously attached editor is destroyed).
    // Null does nothing. The host learns of it (IPluginHost::EditorChanged).
    void AttachEditor(std::unique_ptr<IEditorLink> editor);
    // [any thread but the audio thread, with the lock held] Resizes every scratch buffer to frames
    // samples and zeroes them, unless frames is the current block size. Negative frames count as
    // 0. Not for the audio thread: it allocates.
    virtual void SetBlockSize(int frames);
    // [any thread, with the lock held] The host learns of it (IPluginHost::LatencyChanged).
    void SetLatency(int samples);
    // [audio thread, with the lock held] outgoing events, from the block being processed; false
    // with no host attached.
    virtual bool SendMidiEvent(const IMidiEvent& event);
    // SendMidiEvent for each in order; true only if every call answered true (so true when empty).
    virtual bool SendMidiEvents(const IMidiEvent* events, int count);
    bool SendSysEx(const ISysExMessage& message);

    // ---- Saved states [any thread, with the lock held] --------------------------------------------
    // Appends every plain value as a 64-bit float; true.
    virtual bool SaveParameters(IStateChunk& chunk);
    // Sets the parameters from 64-bit floats at position (clamped); the first value
    // that does not fit sets its parameter to 0 clamped and ends reading with -1. Then
    // OnParameterChange for every parameter. Answers the position after the last value, or -1.
    virtual int LoadParameters(const IStateChunk& chunk, int position);
    // Bank body: for each slot its name as a string, its initialised flag, and its state if set.
    virtual bool SavePrograms(IStateChunk& chunk);
    virtual int LoadPrograms(const IStateChunk& chunk, int position);

    // ---- Programs [any thread, with the lock held] ------------------------------------------------
    // Fills the first uninitialised slot with name and one value per parameter in index order
    // (integers for Toggle/Integer/Choice, stored unchanged, not clamped). Missing values take the
    // parameter's current plain value; surplus values are ignored. Nothing when every slot is used.
    void DefineProgram(const char* name, std::initializer_list<double> values);
    void DefineProgram(const char* name, const double* values, int count);
    // n times: the first uninitialised slot captures the current values under name ("Default" when
    // null).
    void CaptureDefaultPrograms(const char* name, int n);
    // With no slot at all, creates one and captures the current values as "Default".
    void EnsureOneProgram();
    // Loads an initialised slot, or captures the current values into an empty one and names it
    // "user preset N"; then makes it current and pushes the values to the editor. False for an index
    // out of range or a failed load.
    bool SelectProgram(int index);
    // Saves the current values into the current slot and renames it when name is neither null nor
    // empty. The initialised flag is not changed.
    void StoreCurrentProgram(const char* name);
    const char* ProgramName(int index) const;  // "" when out of range
    int ProgramCount() const { return static_cast<int>(programs_.size()); }
    IProgram* Program(int index);  // null when out of range
    int CurrentProgramIndex() const { return currentProgram_; }

    // ---- State chunks for the host [any thread, with the lock held] -----------------------------
    // Builds the bank chunk (bank) or the program chunk into the core's own buffer and stores its
    // address in *data. Answers the size, or 0 (and *data untouched) for a null data or a failure.
    // The address stays valid until the next call for the same kind of chunk.
    int GetStateChunk(bool bank, const void** data);
    // Loads a bank or program chunk of size bytes. Answers 1 on success, 0 otherwise (null data,
    // size <= 0 or beyond GrowBuffer::MaxBytes change nothing).
    int SetStateChunk(bool bank, const void* data, intptr_t size);

    // ---- Queries and setters [any thread, with the lock held] ------------------------------------
    // Exceptions [any thread]: the parameter list is fixed once the effect is built, so
    // ParameterCount and Parameter answer without the lock, and so does Lock.
    int ParameterCount() const { return static_cast<int>(params_.size()); }
    IParameter* Parameter(int index);  // null when out of range
    const IParameter* Parameter(int index) const;
    const PluginDescriptor& Descriptor() const { return descriptor_; }
    const char* EffectName() const { return effectName_; }
    const char* ProductName() const { return productName_; }
    const char* MakerName() const { return makerName_; }
    int32_t Version() const { return version_; }
    // major * 10000 + minor * 100 + patch (0x10100 gives 10100).
    int32_t VersionDecimal() const;
    double SampleRate() const { return sampleRate_; }
    void SetSampleRate(double rate) { sampleRate_ = rate; }
    int BlockSize() const { return blockSize_; }
    int Latency() const { return latency_; }
    int ChannelConfigCount() const { return static_cast<int>(configs_.size()); }
    const ChannelIoPair* ChannelConfig(int index) const;  // null when out of range
    // True when some configuration matches both sides; a negative count matches anything.
    bool IsLegalIo(int inputs, int outputs) const;
    int InputCount() const { return static_cast<int>(inputs_.size()); }
    int OutputCount() const { return static_cast<int>(outputs_.size()); }
    const InputChannel* Input(int index) const;  // null when out of range
    const OutputChannel* Output(int index) const;
    IEditorLink* Editor() const { return editor_.get(); }
    int PendingEndEdit() const { return pendingEndEdit_; }
    std::recursive_mutex& Lock() const { return lock_; }

    // ---- Channel connections ---------------------------------------------------------------------
    // Channels start..start+count-1 (limited to the channel count) become (dis)connected. Every
    // channel starts disconnected: the adapter connects those its host feeds.
    void ConnectInputs(int start, int count, bool connected);
    void ConnectOutputs(int start, int count, bool connected);

    // ---- Processing frame [audio thread, with the lock held]; no allocation, no other lock ---------
    // Each connected channel takes the next host pointer, in channel order, for the coming run;
    // disconnected channels take none. A null pointer array (or a null entry) leaves the channel on
    // its scratch buffer. Host pointers are only used by the next run and forgotten afterwards.
    // frames is the length of the coming run; conversion happens inside the run, per sub-block.
    void AttachInputs(const float* const* inputs, int frames);
    void AttachOutputs(float* const* outputs);
    void AttachInputs64(double* const* inputs);
    void AttachOutputs64(double* const* outputs);
    // Calls ProcessDouble, then stores (replacing) or adds (accumulating) the outputs into the
    // single-precision host blocks. Blocks longer than the block size are processed in consecutive
    // sub-blocks of at most the block size, so every frame is processed and no scratch buffer
    // overflows; with no block size set the host outputs are silenced (replacing and 64-bit) or left
    // alone (accumulating).
    void RunReplacing(int frames);
    void RunAccumulating(int frames);
    void Run64(int frames);

    // ---- Parameter flow ------------------------------------------------------------------------
    // [any thread] The user moved a control (or the effect moved one as if by hand): under the
    // lock, set the parameter, HostAutomate, OnParameterChange.
    void ApplyParameterFromEditor(int index, double normalized);
    // [any thread] The host set a parameter, normalised (setParameter) or plain (a parsed text):
    // under the lock, show it in the editor, set it (a plain value clamped to the range),
    // OnParameterChange. Indices out of range change nothing.
    void ApplyParameterFromHost(int index, double value, bool isNormalized);
    // [any thread, with the lock held] OnParameterChange for every index from 0 upwards.
    void NotifyAllParameters();
    // [any thread, with the lock held] every plain value to the editor, when there is one.
    void PushValuesToEditor();
    // [UI thread] Wheel gestures: with an editor, remembers index and starts its countdown of
    // max(1, frameRate / 2) ticks (a different parameter still pending is ended first); without an
    // editor, HostEndEdit at once. Under the lock.
    void EndEditLater(int index);
    // [any thread] Cancels the countdown and sends the pending HostEndEdit, if any. Under the
    // lock.
    void FlushPendingEndEdit();

  private:
    void ParseChannelConfigs(const char* text);
    void PointSlotsAtScratch();
    int SubBlockFrames() const;
    enum class RunMode { Replace, Accumulate, Double };
    void Run(int frames, RunMode mode);
    void ClearHostPointers();
    IProgram* FirstFreeProgram();
    void CaptureInto(IProgram& program, const char* name);

    std::vector<ChannelIoPair> configs_;
    std::vector<std::unique_ptr<IParameter>> params_;
    std::vector<std::unique_ptr<IProgram>> programs_;
    int currentProgram_ = 0;
    int pendingEndEdit_ = -1;
    mutable std::recursive_mutex lock_;
    char effectName_[kNameBytes] = {};
    char productName_[kNameBytes] = {};
    char makerName_[kNameBytes] = {};
    PluginDescriptor descriptor_;
    int32_t version_ = 0;
    IPluginHost* host_ = nullptr;
    double sampleRate_ = 44100.0;
    int blockSize_ = 0;
    int latency_ = 0;
    std::unique_ptr<IEditorLink> editor_;
    std::vector<double*> inputSlots_;
    std::vector<double*> outputSlots_;
    std::vector<std::unique_ptr<InputChannel>> inputs_;
    std::vector<std::unique_ptr<OutputChannel>> outputs_;
    IStateChunk bankState_;
    IStateChunk programState_;
};
