#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "abi/VstAbi.h"

// A VstEvents list of any length, laid out as a host hands it over: the record's header followed
// by as many entry pointers as there are events (never fewer than the record's declared two).
// Rebuilding reuses the storage once it is large enough, so a host can fill one per audio block
// without allocating.
class VstEventList {
  public:
    VstEventList() = default;
    explicit VstEventList(const std::vector<VstEvent*>& entries) { Assign(entries.data(), entries.size()); }

    // The list of the given entries (null entries included, as a careless host passes them).
    VstEvents* Assign(VstEvent* const* entries, size_t count);
    // The list of every record of an array of event records (VstMidiEvent, VstMidiSysexEvent).
    template <typename Record>
    VstEvents* AssignRecords(Record* records, size_t count) {
        VstEvent** entries = Reset(count);
        for (size_t i = 0; i < count; ++i) entries[i] = reinterpret_cast<VstEvent*>(&records[i]);
        return List();
    }

    VstEvents* List() { return reinterpret_cast<VstEvents*>(storage.data()); }

  private:
    // Sizes the list for count entries, all null; returns the first entry.
    VstEvent** Reset(size_t count);

    std::vector<intptr_t> storage;  // intptr_t keeps the record's alignment
};
