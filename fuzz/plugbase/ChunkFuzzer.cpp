// Feeds arbitrary bytes to the program-chunk and bank-chunk loaders of a core shaped like the
// effect (nine parameters, ten programs). Aborts when a parameter leaves its bounds or when a
// state saved after the load does not survive save -> load -> save byte for byte, on the same core
// and on a fresh one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/support/TestCore.h"

namespace {

std::vector<uint8_t> Save(TestCore& core, bool bank) {
    const void* data = nullptr;
    const int size = core.GetStateChunk(bank, &data);
    if (size <= 0) std::abort();  // saving never fails
    const auto* p = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(p, p + size);
}

void Load(TestCore& core, bool bank, const std::vector<uint8_t>& chunk) {
    if (core.SetStateChunk(bank, chunk.data(), static_cast<intptr_t>(chunk.size())) != 1) std::abort();
}

void CheckBounds(TestCore& core) {
    for (int i = 0; i < core.ParameterCount(); ++i) {
        double lo = 0;
        double hi = 0;
        core.Parameter(i)->Bounds(lo, hi);
        const double v = core.Parameter(i)->PlainValue();
        if (!(v >= lo && v <= hi)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool bank = (data[0] & 1) != 0;
    TestCore core;
    core.SetStateChunk(bank, data + 1, static_cast<intptr_t>(size - 1));
    CheckBounds(core);
    for (int k = 0; k < core.ProgramCount(); ++k) {
        if (std::strlen(core.ProgramName(k)) > IProgram::kMaxNameLength) std::abort();
    }

    const std::vector<uint8_t> first = Save(core, bank);
    Load(core, bank, first);
    CheckBounds(core);
    if (Save(core, bank) != first) std::abort();

    TestCore fresh;
    Load(fresh, bank, first);
    if (Save(fresh, bank) != first) std::abort();
    return 0;
}
