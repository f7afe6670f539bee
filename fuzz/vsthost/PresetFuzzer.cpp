// .fxp programs (built with VESMAR_FUZZ_BANK=0) and .fxb banks (=1): whatever parses is written
// and parsed again to the same content, and writing that again gives the same bytes; a refusal
// always names its reason. Aborts where a property fails.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/vsthost/formats/FxbFile.h"
#include "tools/vsthost/formats/FxpFile.h"

namespace {

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

// The name field holds 28 bytes and the writer keeps one for the terminating zero, so a name that
// fills the field comes back one character shorter (longer than any VST 2 program name anyway).
bool SameContent(const FxpFile& read, const FxpFile& reread) {
    return read.opaque == reread.opaque && read.fxID == reread.fxID && read.fxVersion == reread.fxVersion &&
           read.numParams == reread.numParams &&
           read.name.substr(0, FxpFile::kNameLength - 1) == reread.name &&
           SameBits(read.params, reread.params) && read.chunk == reread.chunk;
}

// A bank that names no current program is written with program 0 as current, the program a load
// selects for it anyway.
int32_t CurrentAfterWriting(const FxbFile& bank) {
    if (bank.currentProgram >= 0) return bank.currentProgram;
    return bank.numPrograms > 0 ? 0 : -1;
}

bool SameContent(const FxbFile& read, const FxbFile& reread) {
    if (read.opaque != reread.opaque || read.fxID != reread.fxID || read.fxVersion != reread.fxVersion ||
        read.numPrograms != reread.numPrograms || CurrentAfterWriting(read) != reread.currentProgram ||
        read.chunk != reread.chunk || read.programs.size() != reread.programs.size())
        return false;
    for (size_t i = 0; i < read.programs.size(); ++i)
        if (!SameContent(read.programs[i], reread.programs[i])) return false;
    return true;
}

// What the reader promises beyond the round trip: counts agree with what was read.
bool Consistent(const FxpFile& program) {
    return program.opaque
               ? program.params.empty()
               : program.chunk.empty() && program.numParams == static_cast<int32_t>(program.params.size());
}

bool Consistent(const FxbFile& bank) {
    if (bank.currentProgram >= bank.numPrograms && bank.currentProgram >= 0) return false;
    if (bank.opaque) return bank.programs.empty();
    for (const FxpFile& program : bank.programs)
        if (program.opaque || !Consistent(program)) return false;
    return bank.chunk.empty() && bank.numPrograms == static_cast<int32_t>(bank.programs.size());
}

template <typename Preset>
void RoundTrip(const uint8_t* data, size_t size) {
    Preset read;
    std::string error;
    if (!read.Parse(data, size, error)) {
        if (error.empty()) std::abort();  // a refusal without a reason
        return;
    }
    if (!Consistent(read)) std::abort();
    const std::vector<uint8_t> written = read.Serialize();
    Preset reread;
    if (!reread.Parse(written.data(), written.size(), error)) std::abort();  // its own output refused
    if (!SameContent(read, reread)) std::abort();
    if (reread.Serialize() != written) std::abort();  // writing is not stable
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (VESMAR_FUZZ_BANK)
        RoundTrip<FxbFile>(data, size);
    else
        RoundTrip<FxpFile>(data, size);
    return 0;
}
