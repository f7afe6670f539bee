// A stream the plug-in saves its state into: takes at most `piece` bytes per write, and answers
// -1 once failAt bytes are written, to stand for a host whose storage fails part way.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/ClapAbi.h"

class ClapOutputStream {
  public:
    static constexpr uint64_t kNever = UINT64_MAX;
    explicit ClapOutputStream(uint64_t piece = 17, uint64_t failAt = kNever);
    const clap_ostream* Table() const { return &table; }
    const std::vector<uint8_t>& Bytes() const { return data; }

  private:
    std::vector<uint8_t> data;
    uint64_t piece;
    uint64_t failAt;
    clap_ostream table;
};
