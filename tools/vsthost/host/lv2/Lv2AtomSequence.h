// An atom sequence port buffer as a host keeps one: 8-byte aligned, of a fixed capacity. An input
// is filled with events before a run; an output is offered empty (its atom size is the space the
// plug-in may use) and read back afterwards, trusting nothing the plug-in wrote.
#pragma once

#include <cstdint>
#include <vector>

#include <lv2/atom/atom.h>

#include "tools/vsthost/host/lv2/Lv2MidiEvent.h"

class Lv2AtomSequence {
  public:
    // capacity: bytes including the sequence header, at least the header's size.
    explicit Lv2AtomSequence(uint32_t capacity);

    void* Data() { return storage_.data(); }
    uint32_t Capacity() const { return capacity_; }

    // An empty input sequence of the given atom types (atom:Sequence, the frame-time unit 0).
    void ClearInput(uint32_t sequenceType);
    // Appends one event; false when it does not fit the capacity.
    bool Append(int64_t frame, uint32_t type, const void* body, uint32_t size);
    // Offers the whole capacity to the plug-in: an atom:Chunk of capacity minus the atom header.
    void OfferAsOutput(uint32_t chunkType);
    // Events of the given type the plug-in left, in order. False when the sequence is malformed
    // (not a sequence, sizes running past the capacity, frames going backwards); events of other
    // types are skipped; bodies longer than 3 bytes are reported with size 0.
    bool Read(uint32_t sequenceType, uint32_t eventType, std::vector<Lv2MidiEvent>& out) const;

  private:
    LV2_Atom_Sequence* Sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(storage_.data()); }
    const LV2_Atom_Sequence* Sequence() const {
        return reinterpret_cast<const LV2_Atom_Sequence*>(storage_.data());
    }

    uint32_t capacity_;
    std::vector<uint64_t> storage_;  // 64-bit words: the alignment atoms need
};
