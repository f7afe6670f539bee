#pragma once

#include <atomic>
#include <cstdint>

// A control's `dirty` and `redraw` flags in one atomic byte. Host threads set them (after storing
// a new value) while the editor thread paints and then cleans; keeping both in one word lets the
// clean step "dirty = redraw; redraw = false" happen at once, so a value pushed in the middle of
// a paint is never dropped: whoever sets flags sets `redraw` no later than `dirty`.
// Setting is a release, reading an acquire, so the painter sees the value stored before the flag.
class RepaintState {
  public:
    static constexpr uint8_t kDirty = 1;
    static constexpr uint8_t kRedraw = 2;

    explicit RepaintState(uint8_t bits) noexcept : bits_(bits) {}
    RepaintState(const RepaintState&) = delete;
    RepaintState& operator=(const RepaintState&) = delete;

    bool Test(uint8_t bit) const noexcept { return (bits_.load(std::memory_order_acquire) & bit) != 0; }
    void Set(uint8_t bits) noexcept { bits_.fetch_or(bits, std::memory_order_release); }
    void Clear(uint8_t bits) noexcept {
        bits_.fetch_and(static_cast<uint8_t>(~bits), std::memory_order_release);
    }
    // dirty = redraw; redraw = false, as one step.
    void Clean() noexcept {
        uint8_t old = bits_.load(std::memory_order_relaxed);
        while (!bits_.compare_exchange_weak(old, (old & kRedraw) ? kDirty : 0, std::memory_order_acq_rel,
                                            std::memory_order_relaxed)) {
        }
    }

  private:
    std::atomic<uint8_t> bits_;
};

// One flag of a RepaintState, read and written like a bool field.
class RepaintFlag {
  public:
    RepaintFlag(RepaintState& state, uint8_t bit) noexcept : state_(state), bit_(bit) {}
    RepaintFlag(const RepaintFlag&) = delete;
    RepaintFlag& operator=(const RepaintFlag&) = delete;

    operator bool() const noexcept { return state_.Test(bit_); }
    RepaintFlag& operator=(bool on) noexcept {
        if (on)
            state_.Set(bit_);
        else
            state_.Clear(bit_);
        return *this;
    }

  private:
    RepaintState& state_;
    uint8_t bit_;
};
