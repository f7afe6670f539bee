#include "clap/ClapGestureQueue.h"

bool ClapGestureQueue::Empty() const {
    return !waiting.load(std::memory_order_acquire);
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
    waiting.store(true, std::memory_order_release);
}

void ClapGestureQueue::Drain(ClapEventWriter& writer) {
    if (Empty()) return;
    std::array<Entry, kCapacity> taken;
    size_t n = 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        n = count;
        for (size_t i = 0; i < n; ++i) taken[i] = entries[i];
        count = 0;
        waiting.store(false, std::memory_order_relaxed);
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
