#include "tools/vsthost/host/lv2/Lv2Instance.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>

namespace {
constexpr uint32_t kStateFlags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
}  // namespace

Lv2Instance::Lv2Instance(Lv2World& world, Lv2UridMap& urids) : world_(world), urids_(urids) {}

Lv2Instance::~Lv2Instance() {
    if (active_) Deactivate();
    lilv_instance_free(instance_);
}

void Lv2Instance::BuildFeatures(const Settings& settings) {
    blockLengths_[0] = 1;
    blockLengths_[1] = static_cast<int32_t>(settings.maxBlock);
    blockLengths_[2] = static_cast<int32_t>(settings.maxBlock);
    sequenceSize_ = static_cast<int32_t>(settings.atomCapacity);
    const LV2_URID intType = urids_.Map(LV2_ATOM__Int);
    const char* keys[] = {LV2_BUF_SIZE__minBlockLength, LV2_BUF_SIZE__maxBlockLength,
                          LV2_BUF_SIZE__nominalBlockLength};
    for (int i = 0; i < 3; ++i) {
        options_.push_back(
            {LV2_OPTIONS_INSTANCE, 0, urids_.Map(keys[i]), sizeof(int32_t), intType, &blockLengths_[i]});
    }
    options_.push_back({LV2_OPTIONS_INSTANCE, 0, urids_.Map(LV2_BUF_SIZE__sequenceSize), sizeof(int32_t),
                        intType, &sequenceSize_});
    options_.push_back({LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
    features_ = {{LV2_URID__map, urids_.MapFeature()},
                 {LV2_URID__unmap, urids_.UnmapFeature()},
                 {LV2_OPTIONS__options, options_.data()},
                 {LV2_BUF_SIZE__boundedBlockLength, nullptr}};
    for (const LV2_Feature& feature : features_) featureList_.push_back(&feature);
    featureList_.push_back(nullptr);
}

bool Lv2Instance::Instantiate(const LilvPlugin* plugin, const Settings& settings, std::string& error) {
    if (instance_ || !plugin) {
        error = instance_ ? "already instantiated" : "no such plug-in";
        return false;
    }
    plugin_ = plugin;
    sequenceType_ = urids_.Map(LV2_ATOM__Sequence);
    chunkType_ = urids_.Map(LV2_ATOM__Chunk);
    midiType_ = urids_.Map(LV2_MIDI__MidiEvent);
    BuildFeatures(settings);
    instance_ = lilv_plugin_instantiate(plugin, settings.sampleRate, featureList_.data());
    if (!instance_) {
        error = "the plug-in refused to instantiate";
        return false;
    }
    ports_ = world_.Ports(plugin);
    ConnectPorts(settings);
    return true;
}

void Lv2Instance::ConnectPorts(const Settings& settings) {
    buffers_.resize(ports_.size());
    for (const Lv2PortInfo& port : ports_) {
        PortBuffer& buffer = buffers_[port.index];
        void* data = nullptr;
        switch (port.kind) {
            case Lv2PortInfo::Kind::Control:
                buffer.control = port.defaultValue;
                data = &buffer.control;
                break;
            case Lv2PortInfo::Kind::Audio:
                buffer.audio.assign(settings.maxBlock, 0.0f);
                data = buffer.audio.data();
                break;
            case Lv2PortInfo::Kind::Atom:
                buffer.atom = std::make_unique<Lv2AtomSequence>(port.input ? settings.atomCapacity
                                                                           : settings.outputCapacity);
                buffer.atom->ClearInput(sequenceType_);
                data = buffer.atom->Data();
                (port.input ? atomInputs_ : atomOutputs_).push_back(buffer.atom.get());
                break;
            case Lv2PortInfo::Kind::Other:
                break;
        }
        lilv_instance_connect_port(instance_, port.index, data);
    }
}

void Lv2Instance::Activate() {
    if (instance_ && !active_) lilv_instance_activate(instance_);
    active_ = instance_ != nullptr;
}

void Lv2Instance::Deactivate() {
    if (instance_ && active_) lilv_instance_deactivate(instance_);
    active_ = false;
}

std::vector<Lv2MidiEvent> Lv2Instance::Run(uint32_t frames, const std::vector<Lv2MidiEvent>& midiIn,
                                           bool* outputValid) {
    PrepareRun(midiIn.data(), midiIn.size());
    RunPlugin(frames);
    return ReadOutput(outputValid);
}

void Lv2Instance::PrepareRun(const Lv2MidiEvent* midiIn, size_t count) {
    for (Lv2AtomSequence* atom : atomOutputs_) atom->OfferAsOutput(chunkType_);
    for (Lv2AtomSequence* atom : atomInputs_) {
        atom->ClearInput(sequenceType_);
        for (size_t i = 0; i < count; ++i)
            atom->Append(midiIn[i].frame, midiType_, midiIn[i].bytes.data(), midiIn[i].size);
        count = 0;  // the first atom input takes the events
    }
}

std::vector<Lv2MidiEvent> Lv2Instance::ReadOutput(bool* outputValid) {
    std::vector<Lv2MidiEvent> out;
    bool valid = true;
    for (const Lv2PortInfo& port : ports_) {
        if (port.kind != Lv2PortInfo::Kind::Atom || port.input) continue;
        valid = buffers_[port.index].atom->Read(sequenceType_, midiType_, out);
        break;
    }
    if (outputValid) *outputValid = valid;
    return out;
}

int Lv2Instance::FindPort(const std::string& symbol) const {
    for (const Lv2PortInfo& port : ports_) {
        if (port.symbol == symbol) return static_cast<int>(port.index);
    }
    return -1;
}

const Lv2PortInfo* Lv2Instance::Port(const std::string& symbol) const {
    const int index = FindPort(symbol);
    return index < 0 ? nullptr : &ports_[static_cast<size_t>(index)];
}

float Lv2Instance::Control(const std::string& symbol) const {
    const int index = FindPort(symbol);
    return index < 0 ? 0.0f : buffers_[static_cast<size_t>(index)].control;
}

bool Lv2Instance::SetControl(const std::string& symbol, float value) {
    const Lv2PortInfo* port = Port(symbol);
    if (!port || port->kind != Lv2PortInfo::Kind::Control || !port->input) return false;
    buffers_[port->index].control = value;
    return true;
}

std::vector<float*> Lv2Instance::AudioInputs() {
    std::vector<float*> list;
    for (const Lv2PortInfo& port : ports_) {
        if (port.kind == Lv2PortInfo::Kind::Audio && port.input)
            list.push_back(buffers_[port.index].audio.data());
    }
    return list;
}

std::vector<float*> Lv2Instance::AudioOutputs() {
    std::vector<float*> list;
    for (const Lv2PortInfo& port : ports_) {
        if (port.kind == Lv2PortInfo::Kind::Audio && !port.input)
            list.push_back(buffers_[port.index].audio.data());
    }
    return list;
}

std::string Lv2Instance::SaveState() {
    if (!instance_) return {};
    auto portValue = [](const char* symbol, void* self, uint32_t* size, uint32_t* type) -> const void* {
        auto* host = static_cast<Lv2Instance*>(self);
        const int index = host->FindPort(symbol);
        *size = 0;
        *type = 0;
        if (index < 0 || !host->ports_[static_cast<size_t>(index)].input ||
            host->ports_[static_cast<size_t>(index)].kind != Lv2PortInfo::Kind::Control) {
            return nullptr;
        }
        *size = sizeof(float);
        *type = host->urids_.Map(LV2_ATOM__Float);
        return &host->buffers_[static_cast<size_t>(index)].control;
    };
    LilvState* state =
        lilv_state_new_from_instance(plugin_, instance_, urids_.MapFeature(), nullptr, nullptr, nullptr,
                                     nullptr, portValue, this, kStateFlags, featureList_.data());
    if (!state) return {};
    char* text = lilv_state_to_string(world_.Get(), urids_.MapFeature(), urids_.UnmapFeature(), state,
                                      "urn:vsthost:state", nullptr);
    std::string turtle = text ? text : "";
    lilv_free(text);
    lilv_state_free(state);
    return turtle;
}

bool Lv2Instance::Restore(LilvState* state) {
    if (!state || !instance_) {
        lilv_state_free(state);
        return false;
    }
    auto setValue = [](const char* symbol, void* self, const void* value, uint32_t size, uint32_t type) {
        auto* host = static_cast<Lv2Instance*>(self);
        float v;
        if (type == host->urids_.Map(LV2_ATOM__Float) && size == sizeof(float)) {
            v = *static_cast<const float*>(value);
        } else if (type == host->urids_.Map(LV2_ATOM__Double) && size == sizeof(double)) {
            v = static_cast<float>(*static_cast<const double*>(value));
        } else if (type == host->urids_.Map(LV2_ATOM__Int) && size == sizeof(int32_t)) {
            v = static_cast<float>(*static_cast<const int32_t*>(value));
        } else {
            return;
        }
        host->SetControl(symbol, v);
    };
    lilv_state_restore(state, instance_, setValue, this, 0, featureList_.data());
    lilv_state_free(state);
    return true;
}

bool Lv2Instance::RestoreState(const std::string& turtle) {
    return Restore(lilv_state_new_from_string(world_.Get(), urids_.MapFeature(), turtle.c_str()));
}

bool Lv2Instance::ApplyPreset(const std::string& uri) {
    LilvNode* node = lilv_new_uri(world_.Get(), uri.c_str());
    LilvState* state = lilv_state_new_from_world(world_.Get(), urids_.MapFeature(), node);
    lilv_node_free(node);
    return Restore(state);
}

const void* Lv2Instance::ExtensionData(const char* uri) const {
    return instance_ ? lilv_instance_get_extension_data(instance_, uri) : nullptr;
}
