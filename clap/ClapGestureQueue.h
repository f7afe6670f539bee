// Parameter reports waiting for the next process or flush call: CLAP takes them only as output
// events of those calls, while the editor makes them on the UI thread at any time. Fixed
// capacity, no allocation; consecutive values of one parameter collapse into the latest, so a
// long drag between two blocks takes one entry. Guarded by the plug-in's own small lock, held
// only to copy entries, and not taken at all while nothing waits. [any thread]
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "abi/ClapAbi.h"
#include "clap/ClapEventWriter.h"

class ClapGestureQueue {
  public:
    void Begin(clap_id id) { Add({Kind::Begin, id, 0.0}); }
    void Value(clap_id id, double plain) { Add({Kind::Value, id, plain}); }
    void End(clap_id id) { Add({Kind::End, id, 0.0}); }
    bool Empty() const;
    // Pushes every waiting report through writer, oldest first, and forgets them.
    void Drain(ClapEventWriter& writer);

  private:
    enum class Kind : uint8_t { Begin, Value, End };
    struct Entry {
        Kind kind;
        clap_id id;
        double value;
    };
    static constexpr size_t kCapacity = 256;

    void Add(const Entry& entry);

    mutable std::mutex lock;
    std::array<Entry, kCapacity> entries{};
    size_t count = 0;
    // count > 0, readable without the lock: most blocks have no reports and skip the lock.
    std::atomic<bool> waiting{false};
};
