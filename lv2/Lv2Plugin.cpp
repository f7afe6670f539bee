#include "lv2/Lv2Plugin.h"
#include "lv2/Lv2FeatureData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <mutex>
#include <string>

#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>

namespace {
constexpr int kDefaultBlock = 4096;  // when the host states no maximum: longer runs are split
constexpr int kMaxBlock = 1 << 16;
constexpr uint32_t kNeverApplied = 0x7FC00001u;  // a NaN no host value equals bit for bit

// State keys below the effect's URI: the bank chunk and the current program's index.
const char* const kBankSuffix = "#bank";
const char* const kProgramSuffix = "#program";

// The host's maximum block length from its options, or the default.
int MaxBlock(const LV2_Feature* const* features, LV2_URID_Map* map) {
    const auto* option =
        static_cast<const LV2_Options_Option*>(Lv2FeatureData(features, LV2_OPTIONS__options));
    const LV2_URID key = map->map(map->handle, LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID intType = map->map(map->handle, LV2_ATOM__Int);
    for (; option && option->key != 0; ++option) {
        if (option->key == key && option->type == intType && option->size == sizeof(int32_t) &&
            option->value) {
            const int32_t frames = *static_cast<const int32_t*>(option->value);
            if (frames > 0) return std::min(frames, kMaxBlock);
        }
    }
    return kDefaultBlock;
}

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
}  // namespace

Lv2Plugin* Lv2Plugin::Create(std::unique_ptr<IPluginCore> effect, int variant, double sampleRate,
                             const LV2_Feature* const* features) {
    auto* map = static_cast<LV2_URID_Map*>(Lv2FeatureData(features, LV2_URID__map));
    if (!effect || !map || !map->map || variant < 0 || variant >= static_cast<int>(std::size(kLv2Variants))) {
        return nullptr;
    }
    const std::string base = effect->Descriptor().lv2Uri;
    auto id = [map](const std::string& uri) { return map->map(map->handle, uri.c_str()); };
    const Urids urids{id(LV2_ATOM__Sequence),  id(LV2_ATOM__Chunk),    id(LV2_ATOM__Int),
                      id(LV2_MIDI__MidiEvent), id(base + kBankSuffix), id(base + kProgramSuffix)};
    const int block = MaxBlock(features, map);
    Lv2Plugin* plugin = nullptr;
    try {
        plugin = new Lv2Plugin(std::move(effect), kLv2Variants[variant].channels, urids);
    } catch (...) {
        return nullptr;
    }
    IPluginCore& core = *plugin->effect_;
    std::lock_guard<std::recursive_mutex> hold(core.Lock());
    // As a VST 2 host opens the effect: every parameter read, then the rate and block size.
    core.NotifyAllParameters();
    if (sampleRate > 0.0 && std::isfinite(sampleRate)) core.SetSampleRate(sampleRate);
    core.Reset();
    core.SetBlockSize(block);
    core.Reset();
    return plugin;
}

Lv2Plugin::Lv2Plugin(std::unique_ptr<IPluginCore> effect, int channels, const Urids& urids)
    : effect_(std::move(effect)),
      layout_{effect_->ParameterCount(), channels},
      urids_(urids),
      controls_(static_cast<size_t>(layout_.parameters), nullptr),
      applied_(static_cast<size_t>(layout_.parameters), kNeverApplied),
      audioIn_(static_cast<size_t>(channels), nullptr),
      audioOut_(static_cast<size_t>(channels), nullptr) {
    effect_->AttachHost(this);
    effect_->ConnectInputs(0, channels, true);
    effect_->ConnectOutputs(0, channels, true);
}

Lv2Plugin::~Lv2Plugin() {
    effect_->AttachHost(nullptr);
}

void Lv2Plugin::Connect(uint32_t port, void* data) {
    if (port < static_cast<uint32_t>(layout_.parameters)) {
        controls_[port] = static_cast<const float*>(data);
    } else if (port == layout_.EventsIn()) {
        midiIn_ = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == layout_.EventsOut()) {
        midiOut_ = static_cast<LV2_Atom_Sequence*>(data);
    } else if (port == layout_.PanOutput()) {
        pan_ = static_cast<float*>(data);
    } else if (port >= layout_.AudioIn(0) && port < layout_.AudioOut(0)) {
        audioIn_[port - layout_.AudioIn(0)] = static_cast<const float*>(data);
    } else if (port >= layout_.AudioOut(0) && port < layout_.Count()) {
        audioOut_[port - layout_.AudioOut(0)] = static_cast<float*>(data);
    }
}

void Lv2Plugin::Activate() {
    std::lock_guard<std::recursive_mutex> hold(effect_->Lock());
    effect_->OnActivate(true);
}

void Lv2Plugin::Deactivate() {
    std::lock_guard<std::recursive_mutex> hold(effect_->Lock());
    effect_->OnActivate(false);
    effect_->Reset();
}

void Lv2Plugin::ApplyControls() {
    for (int i = 0; i < layout_.parameters; ++i) {
        const float* port = controls_[static_cast<size_t>(i)];
        if (!port) continue;
        const float value = *port;  // read once: the host may write it any time
        if (Bits(value) == applied_[static_cast<size_t>(i)]) continue;
        applied_[static_cast<size_t>(i)] = Bits(value);
        effect_->ApplyParameterFromHost(i, value, false);
    }
}

void Lv2Plugin::ReadMidi(uint32_t frames) {
    if (!midiIn_ || midiIn_->atom.type != urids_.atomSequence ||
        midiIn_->atom.size < sizeof(LV2_Atom_Sequence_Body)) {
        return;
    }
    // Walk the host's sequence within its stated size; never trust an event's size.
    const auto* base = reinterpret_cast<const uint8_t*>(&midiIn_->body);
    const uint32_t end = midiIn_->atom.size;
    uint32_t at = sizeof(LV2_Atom_Sequence_Body);
    const bool inFrames = midiIn_->body.unit == 0;
    while (at + sizeof(LV2_Atom_Event) <= end) {
        LV2_Atom_Event event;
        std::memcpy(&event, base + at, sizeof event);
        if (event.body.size > end - at - sizeof(LV2_Atom_Event)) break;
        const uint8_t* bytes = base + at + sizeof(LV2_Atom_Event);
        if (event.body.type == urids_.midiEvent && event.body.size >= 1 && event.body.size <= 3 &&
            bytes[0] >= 0x80 && bytes[0] < 0xF0) {
            IMidiEvent midi;
            const int64_t frame = inFrames ? event.time.frames : 0;
            midi.offset = static_cast<int32_t>(std::clamp<int64_t>(frame, 0, frames > 0 ? frames - 1 : 0));
            midi.status = bytes[0];
            midi.data1 = event.body.size > 1 ? bytes[1] : 0;
            midi.data2 = event.body.size > 2 ? bytes[2] : 0;
            effect_->OnMidiEvent(midi);
        }
        at += static_cast<uint32_t>(sizeof(LV2_Atom_Event)) + ((event.body.size + 7u) & ~7u);
    }
}

void Lv2Plugin::BeginOutput() {
    outCapacity_ = 0;
    lastOutFrame_ = 0;
    if (!midiOut_) return;
    // The host states the space it offers as the atom's size; the sequence we write replaces it.
    // Space for less than an empty sequence is no output at all.
    const uint32_t offered = midiOut_->atom.size;
    if (offered < sizeof(LV2_Atom_Sequence_Body)) return;
    midiOut_->atom.type = urids_.atomSequence;
    midiOut_->atom.size = sizeof(LV2_Atom_Sequence_Body);
    midiOut_->body.unit = 0;
    midiOut_->body.pad = 0;
    outCapacity_ = offered;
}

bool Lv2Plugin::SendMidi(const IMidiEvent& event) {
    if (!midiOut_) return false;
    const uint32_t used = midiOut_->atom.size;
    const uint32_t size = 3;
    const uint32_t needed = static_cast<uint32_t>(sizeof(LV2_Atom_Event)) + 8u;
    if (outCapacity_ < used || outCapacity_ - used < needed) return false;
    auto* out = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<uint8_t*>(&midiOut_->body) + used);
    const int64_t frame = std::max<int64_t>(lastOutFrame_, std::clamp<int64_t>(event.offset, 0, lastFrame_));
    out->time.frames = frame;
    out->body.type = urids_.midiEvent;
    out->body.size = size;
    auto* bytes = reinterpret_cast<uint8_t*>(out + 1);
    bytes[0] = event.status;
    bytes[1] = event.data1;
    bytes[2] = event.data2;
    midiOut_->atom.size = used + needed;
    lastOutFrame_ = frame;
    return true;
}

void Lv2Plugin::Run(uint32_t frames) {
    std::lock_guard<std::recursive_mutex> hold(effect_->Lock());
    lastFrame_ = frames > 0 ? frames - 1 : 0;
    BeginOutput();
    ApplyControls();
    ReadMidi(frames);
    effect_->AttachInputs(audioIn_.data(), static_cast<int>(frames));
    effect_->AttachOutputs(audioOut_.data());
    effect_->RunReplacing(static_cast<int>(frames));
    if (pan_) *pan_ = effect_->LiveValue();
}

LV2_State_Status Lv2Plugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    std::lock_guard<std::recursive_mutex> hold(effect_->Lock());
    const void* bank = nullptr;
    const int size = effect_->GetStateChunk(true, &bank);
    if (size <= 0 || !bank) return LV2_STATE_ERR_UNKNOWN;
    const int32_t program = effect_->CurrentProgramIndex();
    const uint32_t flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    if (store(handle, urids_.bank, bank, static_cast<size_t>(size), urids_.atomChunk, flags) !=
            LV2_STATE_SUCCESS ||
        store(handle, urids_.program, &program, sizeof program, urids_.atomInt, flags) != LV2_STATE_SUCCESS) {
        return LV2_STATE_ERR_UNKNOWN;
    }
    return LV2_STATE_SUCCESS;
}

LV2_State_Status Lv2Plugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    std::lock_guard<std::recursive_mutex> hold(effect_->Lock());
    // The host restores the ports too: their values rule again at the next run, whatever the
    // state held (a bank that fails half-way has already set some parameters).
    std::fill(applied_.begin(), applied_.end(), kNeverApplied);
    size_t size = 0;
    uint32_t type = 0, flags = 0;
    const void* bank = retrieve(handle, urids_.bank, &size, &type, &flags);
    if (bank && (type != urids_.atomChunk || size == 0 || size > kMaxChunkBytes))
        return LV2_STATE_ERR_BAD_TYPE;
    if (bank && effect_->SetStateChunk(true, bank, static_cast<intptr_t>(size)) != 1)
        return LV2_STATE_ERR_UNKNOWN;
    const void* program = retrieve(handle, urids_.program, &size, &type, &flags);
    if (program && type == urids_.atomInt && size == sizeof(int32_t)) {
        int32_t index;
        std::memcpy(&index, program, sizeof index);
        effect_->SelectProgram(index);  // an index out of range changes nothing
    }
    return LV2_STATE_SUCCESS;
}
