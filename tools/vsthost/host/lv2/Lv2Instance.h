// One LV2 plug-in instance seen from the host: instantiated with the features a real host gives
// (urid:map and unmap, options with the block lengths and the sequence size, bounded block
// length), every port connected to a buffer of the host's, and the host's side of running,
// state and presets. Must be destroyed before the world and URID table it came from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <lilv/lilv.h>
#include <lv2/options/options.h>

#include "tools/vsthost/host/lv2/Lv2AtomSequence.h"
#include "tools/vsthost/host/lv2/Lv2MidiEvent.h"
#include "tools/vsthost/host/lv2/Lv2PortInfo.h"
#include "tools/vsthost/host/lv2/Lv2UridMap.h"
#include "tools/vsthost/host/lv2/Lv2World.h"

class Lv2Instance {
  public:
    struct Settings {
        double sampleRate = 44100.0;
        uint32_t maxBlock = 4096;
        uint32_t atomCapacity = 8192;    // bytes of every atom input buffer
        uint32_t outputCapacity = 8192;  // bytes of every atom output buffer
    };

    Lv2Instance(Lv2World& world, Lv2UridMap& urids);
    ~Lv2Instance();
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    // Instantiates plugin and connects every port; control inputs start at their defaults. On
    // failure answers false with the reason in error.
    bool Instantiate(const LilvPlugin* plugin, const Settings& settings, std::string& error);
    void Activate();
    void Deactivate();
    // One block of at most maxBlock frames: the MIDI events into the first atom input (the others
    // stay empty), every atom output offered whole; answers the MIDI events of the first atom
    // output. outputValid is false when that output is not a well-formed sequence.
    std::vector<Lv2MidiEvent> Run(uint32_t frames, const std::vector<Lv2MidiEvent>& midiIn,
                                  bool* outputValid = nullptr);
    // Run in its three steps, for a benchmark: the sequences prepared (no allocation, no lock), the
    // plug-in's run, the output read.
    void PrepareRun(const Lv2MidiEvent* midiIn, size_t count);
    void RunPlugin(uint32_t frames) {
        if (instance_) lilv_instance_run(instance_, frames);
    }
    std::vector<Lv2MidiEvent> ReadOutput(bool* outputValid);

    const std::vector<Lv2PortInfo>& Ports() const { return ports_; }
    // The port of that symbol, or null.
    const Lv2PortInfo* Port(const std::string& symbol) const;
    // A control port's value (inputs as the host set them, outputs as the plug-in left them).
    float Control(const std::string& symbol) const;
    bool SetControl(const std::string& symbol, float value);
    // The audio ports' buffers, inputs and outputs, in port order; maxBlock samples each.
    std::vector<float*> AudioInputs();
    std::vector<float*> AudioOutputs();

    // The whole state as Turtle (lilv_state: port values and the plug-in's own properties); empty
    // on failure.
    std::string SaveState();
    // Restores a state saved by SaveState (or written by hand); false when it does not parse.
    bool RestoreState(const std::string& turtle);
    // Applies a preset the world knows (Lv2World::Presets); false when it cannot be loaded.
    bool ApplyPreset(const std::string& uri);

    const void* ExtensionData(const char* uri) const;
    const LV2_Feature* const* Features() const { return featureList_.data(); }
    LV2_URID Urid(const char* uri) { return urids_.Map(uri); }

  private:
    struct PortBuffer {
        float control = 0.0f;
        std::vector<float> audio;
        std::unique_ptr<Lv2AtomSequence> atom;
    };
    void BuildFeatures(const Settings& settings);
    void ConnectPorts(const Settings& settings);
    bool Restore(LilvState* state);
    int FindPort(const std::string& symbol) const;

    Lv2World& world_;
    Lv2UridMap& urids_;
    const LilvPlugin* plugin_ = nullptr;
    LilvInstance* instance_ = nullptr;
    bool active_ = false;
    std::vector<Lv2PortInfo> ports_;
    std::vector<PortBuffer> buffers_;
    // The atom ports' sequences in port order, so that a block's preparation visits only them.
    std::vector<Lv2AtomSequence*> atomInputs_, atomOutputs_;
    int32_t blockLengths_[3] = {};  // min, max, nominal
    int32_t sequenceSize_ = 0;
    LV2_URID sequenceType_ = 0, chunkType_ = 0, midiType_ = 0;
    std::vector<LV2_Options_Option> options_;
    std::vector<LV2_Feature> features_;
    std::vector<const LV2_Feature*> featureList_;
};
