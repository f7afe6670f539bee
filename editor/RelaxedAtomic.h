#pragma once

#include <atomic>

// A value one thread may store while another reads it, with no ordering of its own: whoever must
// see other data together with it publishes through a release/acquire flag (see RepaintState).
// Reads and writes look like those of a plain field; compound assignments are a load and a store,
// not one atomic step (the last writer wins, as with a plain field under a lock).
template <class T>
class RelaxedAtomic {
    static_assert(std::atomic<T>::is_always_lock_free, "editor fields must not take hidden locks");

  public:
    constexpr RelaxedAtomic(T v = T{}) noexcept : v_(v) {}
    RelaxedAtomic(const RelaxedAtomic&) = delete;
    RelaxedAtomic& operator=(const RelaxedAtomic& other) noexcept { return *this = other.Load(); }

    T Load() const noexcept { return v_.load(std::memory_order_relaxed); }
    void Store(T v) noexcept { v_.store(v, std::memory_order_relaxed); }
    operator T() const noexcept { return Load(); }
    RelaxedAtomic& operator=(T v) noexcept {
        Store(v);
        return *this;
    }
    RelaxedAtomic& operator+=(T d) noexcept { return *this = Load() + d; }
    RelaxedAtomic& operator-=(T d) noexcept { return *this = Load() - d; }

  private:
    std::atomic<T> v_;
};
