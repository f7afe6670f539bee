#include "tools/vsthost/host/lv2/Lv2AtomSequence.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t Pad8(uint32_t n) {
    return (n + 7u) & ~7u;
}
}  // namespace

Lv2AtomSequence::Lv2AtomSequence(uint32_t capacity)
    : capacity_(std::max<uint32_t>(capacity, sizeof(LV2_Atom_Sequence))), storage_((capacity_ + 7) / 8, 0) {}

void Lv2AtomSequence::ClearInput(uint32_t sequenceType) {
    LV2_Atom_Sequence* seq = Sequence();
    seq->atom.type = sequenceType;
    seq->atom.size = sizeof(LV2_Atom_Sequence_Body);
    seq->body.unit = 0;
    seq->body.pad = 0;
}

bool Lv2AtomSequence::Append(int64_t frame, uint32_t type, const void* body, uint32_t size) {
    LV2_Atom_Sequence* seq = Sequence();
    const uint32_t used = sizeof(LV2_Atom) + seq->atom.size;
    const uint64_t needed = uint64_t{sizeof(LV2_Atom_Event)} + Pad8(size);
    if (used + needed > capacity_) return false;
    auto* event = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<uint8_t*>(storage_.data()) + used);
    event->time.frames = frame;
    event->body.type = type;
    event->body.size = size;
    std::memcpy(event + 1, body, size);
    seq->atom.size += static_cast<uint32_t>(needed);
    return true;
}

void Lv2AtomSequence::OfferAsOutput(uint32_t chunkType) {
    Sequence()->atom.type = chunkType;
    Sequence()->atom.size = capacity_ - static_cast<uint32_t>(sizeof(LV2_Atom));
}

bool Lv2AtomSequence::Read(uint32_t sequenceType, uint32_t eventType, std::vector<Lv2MidiEvent>& out) const {
    const LV2_Atom_Sequence* seq = Sequence();
    if (seq->atom.type != sequenceType || seq->atom.size < sizeof(LV2_Atom_Sequence_Body) ||
        seq->atom.size > capacity_ - sizeof(LV2_Atom)) {
        return false;
    }
    const auto* base = reinterpret_cast<const uint8_t*>(storage_.data());
    const uint64_t end = sizeof(LV2_Atom) + uint64_t{seq->atom.size};
    uint64_t at = sizeof(LV2_Atom_Sequence);
    int64_t last = 0;
    while (at + sizeof(LV2_Atom_Event) <= end) {
        LV2_Atom_Event event;
        std::memcpy(&event, base + at, sizeof event);
        const uint64_t next = at + sizeof(LV2_Atom_Event) + Pad8(event.body.size);
        if (at + sizeof(LV2_Atom_Event) + event.body.size > end || event.time.frames < last) return false;
        last = event.time.frames;
        if (event.body.type == eventType) {
            Lv2MidiEvent midi;
            midi.frame = event.time.frames;
            midi.size = event.body.size <= 3 ? event.body.size : 0;
            std::memcpy(midi.bytes.data(), base + at + sizeof(LV2_Atom_Event), midi.size);
            out.push_back(midi);
        }
        at = next;
    }
    return true;
}
