// One CLAP plug-in instance: owns the effect (a format-free core), answers the clap_plugin table
// and the plug-in extensions, and is the effect's host (IPluginHost): gestures and values become
// output events of the next process or flush, MIDI goes out at its offset.
//
// Threads, as the interface tags them: [main thread] lifecycle, ports, params but flush, state,
// gui; [audio thread] start/stop_processing, reset, process, and flush while active. Every call
// into the effect holds its lock, as the VST 2 adapter does; the editor's UI thread (the main
// thread here) reaches the effect through its controls.
#pragma once

#include <memory>
#include <vector>

#include "abi/ClapExtensions.h"
#include "clap/ClapEditorDriver.h"
#include "clap/ClapEventWriter.h"
#include "clap/ClapGestureQueue.h"
#include "plugbase/IPluginCore.h"
#include "plugbase/IPluginHost.h"

class ClapAdapter final : public IPluginHost {
  public:
    // channels: 2 for the stereo plug-in, 1 for the mono one. [main thread]
    ClapAdapter(const clap_host* host, const clap_plugin_descriptor* descriptor, int channels,
                std::unique_ptr<IPluginCore> effect);
    ~ClapAdapter() override;

    const clap_plugin* Plugin() const { return &plugin_; }
    static ClapAdapter* From(const clap_plugin* plugin);
    IPluginCore& Core() { return *core_; }
    const clap_host* Host() const { return host_; }
    int Channels() const { return channels_; }
    // The host's extension table, asked after init; null when it offers none.
    template <class Table>
    const Table* HostExtension(const char* id) const {
        return static_cast<const Table*>(host_->get_extension(host_, id));
    }

    // ---- clap_plugin ----------------------------------------------------------------------------
    bool Init();                                                               // [main thread]
    bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);  // [main thread]
    void Deactivate();                                                         // [main thread]
    void ResetEffect();                                                        // [audio thread]
    int32_t Process(const clap_process& process);                              // [audio thread]
    const void* Extension(const char* id) const;                               // [any thread]

    // ---- params -----------------------------------------------------------------------------------
    bool ParamInfo(uint32_t index, clap_param_info& info) const;  // [main thread]
    bool ParamValue(clap_id id, double& value) const;
    bool ValueToText(clap_id id, double value, char* out, uint32_t capacity) const;
    bool TextToValue(clap_id id, const char* text, double& value) const;
    // [audio thread while active, else main]
    void Flush(const clap_input_events* in, const clap_output_events* out);

    // ---- state [main thread] ----------------------------------------------------------------------
    bool Save(const clap_ostream* stream);
    bool Load(const clap_istream* stream);

    ClapEditorDriver& Editor() { return editor_; }

    // ---- IPluginHost --------------------------------------------------------------------------------
    void BeginEdit(int index) override;
    void Automate(int index, double normalized) override;
    void EndEdit(int index) override;
    void ProgramChanged() override;
    void LatencyChanged(int samples) override;
    int64_t SamplePosition() override { return samplePosition_; }
    double Tempo() override { return tempo_; }
    void TimeSignature(int& numerator, int& denominator) override;
    bool SendMidi(const IMidiEvent& event) override;
    bool SendSysEx(const ISysExMessage& message) override;
    HostId Product() override { return HostId::Unknown; }
    void EditorChanged() override {}

    // Marks the calling thread as inside process, flush or reset for the scope's life.
    struct EventCallScope {
        EventCallScope() { tInEventCall = true; }
        ~EventCallScope() { tInEventCall = false; }
    };

  private:
    static thread_local bool tInEventCall;

    void HandleEvents(const clap_input_events* in, bool paramsOnly);
    void HandleEvent(const clap_event_header& event, bool paramsOnly);
    void ReadTransport(const clap_event_transport* transport);
    bool RunAudio(const clap_process& process);
    void ReportsQueued();

    clap_plugin plugin_;
    const clap_host* host_;
    int channels_;
    std::unique_ptr<IPluginCore> core_;
    std::vector<double> defaults_;
    ClapGestureQueue reports_;
    ClapEditorDriver editor_;
    ClapEventWriter* writer_ = nullptr;  // the running process or flush call's, else null
    int64_t samplePosition_ = 0;
    double tempo_ = 0.0;
    int tsigNumerator_ = 0;
    int tsigDenominator_ = 0;
    bool active_ = false;
};
