// The VST 3 adapter: one object that is the component (buses, state, processing) and its own edit
// controller (parameters, programs, editor), owning the format-free effect. One object because
// the effect is one: its parameters, programs, lock and editor live in the core, so a separate
// controller would only mirror them through messages; a value the host sets through the
// controller shows in the component's state at once, and setComponentState receives the bytes
// the component already holds.
//
// Threads: process on the audio thread, setProcessing on either; every other call on the UI
// thread. Each call into the core takes the core's lock, as the VST 2 adapter does. The core's host
// notifications made during process (the effect's own corrections, program changes) cannot reach
// the component handler from the audio thread: values go to the block's output parameter changes,
// and a restart request waits for the next UI-thread call. The host is called without the lock
// wherever the adapter can arrange it.
//
// Ownership: created by the factory with one reference; deleted by the last release.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "plugbase/IPluginCore.h"
#include "plugbase/IPluginHost.h"
#include "vst3/Vst3Facets.h"
#include "vst3/Vst3Parameters.h"
#include "vst3/Vst3Process.h"

class Vst3Plugin final : public Vst3ComponentFacet,
                         public vst3::IAudioProcessor,
                         public Vst3ControllerFacet,
                         public vst3::IUnitInfo,
                         public IPluginHost {
  public:
    explicit Vst3Plugin(std::unique_ptr<IPluginCore> effect);
    ~Vst3Plugin() override;

    IPluginCore& Core() { return *core; }
    // [UI thread] Sends what waits for the host (a restart request): never from inside a host's
    // program change nor from the audio thread.
    void FlushHostRequests();

    // ---- FUnknown, IPluginBase [any thread] ----------------------------------------------------
    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override;
    uint32_t addRef() noexcept override;
    uint32_t release() noexcept override;
    vst3::tresult initialize(vst3::FUnknown* context) noexcept override;
    vst3::tresult terminate() noexcept override;

    // ---- IComponent [UI thread] (Vst3PluginComponent.cpp) ----------------------------------------
    vst3::tresult getControllerClassId(vst3::TUID classId) noexcept override;
    vst3::tresult setIoMode(int32_t) noexcept override { return vst3::kResultOk; }
    int32_t getBusCount(int32_t type, int32_t dir) noexcept override;
    vst3::tresult getBusInfo(int32_t type, int32_t dir, int32_t index, vst3::BusInfo& bus) noexcept override;
    vst3::tresult getRoutingInfo(vst3::RoutingInfo&, vst3::RoutingInfo&) noexcept override {
        return vst3::kResultFalse;
    }
    vst3::tresult activateBus(int32_t type, int32_t dir, int32_t index, vst3::TBool state) noexcept override;
    vst3::tresult setActive(vst3::TBool state) noexcept override;

    // ---- IAudioProcessor (Vst3PluginComponent.cpp; process in Vst3Plugin.cpp) --------------------
    vst3::tresult setBusArrangements(vst3::SpeakerArrangement* inputs, int32_t numIns,
                                     vst3::SpeakerArrangement* outputs, int32_t numOuts) noexcept override;
    vst3::tresult getBusArrangement(int32_t dir, int32_t index,
                                    vst3::SpeakerArrangement& arr) noexcept override;
    vst3::tresult canProcessSampleSize(int32_t size) noexcept override;
    uint32_t getLatencySamples() noexcept override;
    vst3::tresult setupProcessing(vst3::ProcessSetup& setup) noexcept override;
    // [any thread]
    vst3::tresult setProcessing(vst3::TBool) noexcept override { return vst3::kResultOk; }
    // [audio thread]
    vst3::tresult process(vst3::ProcessData& data) noexcept override;
    uint32_t getTailSamples() noexcept override { return vst3::kNoTail; }

    // ---- IEditController [UI thread] (Vst3PluginController.cpp) --------------------------------
    vst3::tresult setComponentState(vst3::IBStream* state) noexcept override;
    int32_t getParameterCount() noexcept override;
    vst3::tresult getParameterInfo(int32_t index, vst3::ParameterInfo& info) noexcept override;
    vst3::tresult getParamStringByValue(vst3::ParamID id, vst3::ParamValue normalized,
                                        vst3::String128 out) noexcept override;
    vst3::tresult getParamValueByString(vst3::ParamID id, vst3::char16* text,
                                        vst3::ParamValue& normalized) noexcept override;
    vst3::ParamValue normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue normalized) noexcept override;
    vst3::ParamValue plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plain) noexcept override;
    vst3::ParamValue getParamNormalized(vst3::ParamID id) noexcept override;
    vst3::tresult setParamNormalized(vst3::ParamID id, vst3::ParamValue value) noexcept override;
    vst3::tresult setComponentHandler(vst3::IComponentHandler* handler) noexcept override;
    vst3::IPlugView* createView(vst3::FIDString name) noexcept override;

    // ---- IUnitInfo [UI thread] (Vst3PluginController.cpp) ----------------------------------------
    int32_t getUnitCount() noexcept override { return 1; }
    vst3::tresult getUnitInfo(int32_t index, vst3::UnitInfo& info) noexcept override;
    int32_t getProgramListCount() noexcept override { return 1; }
    vst3::tresult getProgramListInfo(int32_t index, vst3::ProgramListInfo& info) noexcept override;
    vst3::tresult getProgramName(int32_t listId, int32_t program, vst3::String128 name) noexcept override;
    vst3::tresult getProgramInfo(int32_t, int32_t, const char*, vst3::String128) noexcept override {
        return vst3::kResultFalse;
    }
    vst3::tresult hasProgramPitchNames(int32_t, int32_t) noexcept override { return vst3::kResultFalse; }
    vst3::tresult getProgramPitchName(int32_t, int32_t, int16_t, vst3::String128) noexcept override {
        return vst3::kResultFalse;
    }
    int32_t getSelectedUnit() noexcept override { return vst3::kRootUnitId; }
    vst3::tresult selectUnit(int32_t) noexcept override { return vst3::kResultOk; }
    vst3::tresult getUnitByBus(int32_t, int32_t, int32_t, int32_t, int32_t&) noexcept override {
        return vst3::kResultFalse;
    }
    vst3::tresult setUnitProgramData(int32_t, int32_t, vst3::IBStream*) noexcept override {
        return vst3::kResultFalse;
    }

    // ---- IPluginHost: the core's notifications (Vst3PluginHost.cpp) ----------------------------
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
    HostId Product() override { return HostId::Unknown; }
    void EditorChanged() override {}

    static constexpr int32_t kProgramListId = 1;

  private:
    // The component's and the controller's state (Vst3PluginState.cpp).
    vst3::tresult SetComponentState(vst3::IBStream* state) noexcept override;
    vst3::tresult GetComponentState(vst3::IBStream* state) noexcept override;
    vst3::tresult SetControllerState(vst3::IBStream*) noexcept override { return vst3::kResultOk; }
    vst3::tresult GetControllerState(vst3::IBStream*) noexcept override { return vst3::kResultOk; }
    // Loads a bank chunk and, unless program is -1, makes that program current; on any failure
    // restores the state held before. Under the lock.
    bool LoadBank(const std::vector<uint8_t>& bytes, int program);
    // The core's bank chunk now (the current values stored into the current program); empty on
    // failure. Under the lock.
    std::vector<uint8_t> CurrentBank();
    // Selects a program as the VST 2 module does: the current edits stay in the current slot.
    // Under the lock.
    void SelectProgram(int index);
    // A program change or a state load: the host must read every value again, from the UI thread.
    void RequestRestart(int32_t flags) { pendingRestart.fetch_or(flags); }
    // [audio thread] After a program change, every value as an output change of the block.
    void ReportValues();
    // Sets a parameter from the host (a value or the program parameter). Under the lock.
    void ApplyFromHost(vst3::ParamID id, double normalized);
    // Whether a gesture notification goes to the handler now (UI thread, no host change).
    bool EditsReachHandler() const;
    // Marks a host change for its scope.
    struct HostChangeScope {
        explicit HostChangeScope(bool& flag) : flag(flag) { flag = true; }
        ~HostChangeScope() { flag = false; }
        bool& flag;
    };

    std::unique_ptr<IPluginCore> core;
    Vst3Parameters parameters;
    Vst3Process processing;
    std::atomic<uint32_t> references{1};
    std::atomic<int32_t> pendingRestart{0};
    std::atomic<bool> valuesToReport{false};     // a program changed; the next block reports them
    vst3::IComponentHandler* handler = nullptr;  // add-referenced while set
    bool initialized = false;
    bool active = false;
    // Set while the host changes values (setParamNormalized, a state): the effect's own
    // corrections then are no edits of the user's. Under the lock.
    bool hostChange = false;
};
