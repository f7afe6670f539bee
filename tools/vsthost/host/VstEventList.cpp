#include "tools/vsthost/host/VstEventList.h"

#include <algorithm>

VstEvent** VstEventList::Reset(size_t count) {
    const size_t slots = std::max<size_t>(count, 2);
    storage.assign(offsetof(VstEvents, events) / sizeof(intptr_t) + slots, 0);
    List()->numEvents = static_cast<int32_t>(count);
    // Past the record's nominal two entries: index through a plain pointer.
    return List()->events;
}

VstEvents* VstEventList::Assign(VstEvent* const* entries, size_t count) {
    VstEvent** slots = Reset(count);
    std::copy(entries, entries + count, slots);
    return List();
}
