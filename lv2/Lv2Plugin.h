// One instance of a Vesmar LV2 plug-in: owns the effect, is its host (IPluginHost) and translates
// the LV2 instance calls into the core's. Ports are read at the start of every run and never
// written when they are inputs; MIDI events and control changes of a block take effect at its
// start, as a VST 2 host delivers them before the block, so both formats render the same samples.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include "lv2/Lv2PortLayout.h"
#include "plugbase/IPluginCore.h"
#include "plugbase/IPluginHost.h"

class Lv2Plugin final : public IPluginHost {
  public:
    // Largest state chunk restore accepts: far beyond any bank of ours.
    static constexpr uint32_t kMaxChunkBytes = 1u << 20;

    // [instantiation] The plug-in of kLv2Variants[variant] around effect (freshly built); null
    // without urid:map or an effect.
    static Lv2Plugin* Create(std::unique_ptr<IPluginCore> effect, int variant, double sampleRate,
                             const LV2_Feature* const* features);

    // [audio thread] connect_port, never during a run.
    void Connect(uint32_t port, void* data);
    // [instantiation class: no run meanwhile] activate, deactivate.
    void Activate();
    void Deactivate();
    // [audio thread]
    void Run(uint32_t frames);
    // [any thread] state:interface's save; under the lock, so it may come during a run.
    LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // [instantiation class: no run meanwhile] state:interface's restore, before or after
    // activation; the chunk is untrusted (type, size and content are checked).
    LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // IPluginHost: what the effect tells its host. LV2 has no channel from the plug-in to the host
    // for gestures, programs or latency (the UI writes values); MIDI goes to the output sequence.
    void BeginEdit(int) override {}
    void Automate(int, double) override {}
    void EndEdit(int) override {}
    void ProgramChanged() override {}
    void LatencyChanged(int) override {}
    int64_t SamplePosition() override { return 0; }
    double Tempo() override { return 0.0; }
    void TimeSignature(int& numerator, int& denominator) override { numerator = denominator = 0; }
    bool SendMidi(const IMidiEvent& event) override;
    bool SendSysEx(const ISysExMessage&) override { return false; }
    HostId Product() override { return HostId::Unknown; }
    void EditorChanged() override {}

    ~Lv2Plugin() override;

  private:
    struct Urids {
        LV2_URID atomSequence, atomChunk, atomInt, midiEvent, bank, program;
    };
    Lv2Plugin(std::unique_ptr<IPluginCore> effect, int channels, const Urids& urids);
    void ApplyControls();
    void ReadMidi(uint32_t frames);
    void BeginOutput();

    std::unique_ptr<IPluginCore> effect_;
    Lv2PortLayout layout_;
    Urids urids_;
    std::vector<const float*> controls_;
    std::vector<uint32_t> applied_;  // bits of the control values last applied; NaN bits = never
    const LV2_Atom_Sequence* midiIn_ = nullptr;
    LV2_Atom_Sequence* midiOut_ = nullptr;
    float* pan_ = nullptr;
    std::vector<const float*> audioIn_;
    std::vector<float*> audioOut_;
    uint32_t outCapacity_ = 0;  // body bytes the host offered in the output sequence this run
    int64_t lastOutFrame_ = 0;
    uint32_t lastFrame_ = 0;  // of this run
};
