// A stream the plug-in loads its state from: the given bytes, handed out at most `piece` bytes
// per read (as buffered host streams do), then 0 at the end, or -1 from byte failAt on to stand
// for a host whose storage fails part way.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/ClapAbi.h"

class ClapInputStream {
  public:
    static constexpr uint64_t kNever = UINT64_MAX;
    explicit ClapInputStream(std::vector<uint8_t> bytes, uint64_t piece = 17, uint64_t failAt = kNever);
    const clap_istream* Table() const { return &table; }
    uint64_t Position() const { return position; }

  private:
    std::vector<uint8_t> data;
    uint64_t piece;
    uint64_t failAt;
    uint64_t position = 0;
    clap_istream table;
};
