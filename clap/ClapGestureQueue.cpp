#include "clap/ClapGestureQueue.h"

bool ClapGestureQueue::Empty() const {
    std::lock_guard<std::mutex> guard(lock);
    return count == 0;
}

void ClapGestureQueue::Add(const Entry& entry) {
    std::lock_guard<std::mutex> guard(lock);
    if (entry.kind == Kind::Value && count > 0 && entries[count - 1].kind == Kind::Value &&
        entries[count - 1].id == entry.id) {
        entries[count - 1].value = entry.value;
        return;
    }
    // Full only if the host stopped calling process and flush; the newest reports are dropped
    // then, and the values the host asks for through get_value stay right.
    if (count < kCapacity) entries[count++] = entry;
}

void ClapGestureQueue::Drain(ClapEventWriter& writer) {
    std::array<Entry, kCapacity> taken;
    size_t n = 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        n = count;
        for (size_t i = 0; i < n; ++i) taken[i] = entries[i];
        count = 0;
    }
    for (size_t i = 0; i < n; ++i) {
        const Entry& e = taken[i];
        if (e.kind == Kind::Value) {
            writer.ParamValue(e.id, e.value);
        } else {
            writer.Gesture(e.id, e.kind == Kind::Begin);
        }
    }
}
