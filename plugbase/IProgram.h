#pragma once

#include "plugbase/IStateChunk.h"

// One program slot: whether it holds saved values, its name and the saved parameter values
// (the parameter-values layout: one 64-bit float per parameter, in index order).
class IProgram {
  public:
    static constexpr int kMaxNameLength = 255;

    // Named "- k -" with its slot number k counted from 1; not initialised; empty state.
    explicit IProgram(int slotNumber) noexcept;
    IProgram(const IProgram&) = delete;
    IProgram& operator=(const IProgram&) = delete;

    bool IsInitialised() const noexcept { return initialised_; }
    void SetInitialised(bool initialised) noexcept { initialised_ = initialised; }
    const char* Name() const noexcept { return name_; }
    void SetName(const char* name) noexcept;  // truncated to 255 characters; null gives ""
    IStateChunk& State() noexcept { return state_; }
    const IStateChunk& State() const noexcept { return state_; }

  private:
    bool initialised_ = false;
    char name_[kMaxNameLength + 1] = {};
    IStateChunk state_;
};
