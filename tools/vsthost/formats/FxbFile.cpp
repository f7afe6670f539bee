#include "tools/vsthost/formats/FxbFile.h"

#include "tools/vsthost/formats/ByteCursor.h"

namespace {

constexpr int32_t kMaxFilePrograms = 1 << 16;
constexpr size_t kReservedBytes = 128;

}  // namespace

bool FxbFile::Parse(const uint8_t* data, size_t size, std::string& error) {
    ByteReader in(data, size);
    if (size < kHeaderBytes) {
        error = "truncated bank: " + std::to_string(size) + " bytes, the header alone has " +
                std::to_string(kHeaderBytes);
        return false;
    }
    if (in.U32() != FxpFile::kChunkMagic) {
        error = "not a VST preset (no 'CcnK' at the start)";
        return false;
    }
    in.U32();  // byteSize: the content is checked instead
    uint32_t magic = in.U32();
    if (magic != kParamsMagic && magic != kOpaqueMagic) {
        error = magic == FxpFile::kParamsMagic || magic == FxpFile::kOpaqueMagic
                    ? "this is a program (.fxp), not a bank"
                    : "not a VST bank (neither 'FxBk' nor 'FBCh')";
        return false;
    }
    opaque = magic == kOpaqueMagic;
    int32_t version = in.I32();
    fxID = in.I32();
    fxVersion = in.I32();
    numPrograms = in.I32();
    int32_t current = in.I32();  // first four of the reserved bytes
    currentProgram = version >= 2 && current >= 0 && current < numPrograms ? current : -1;
    in.Skip(kReservedBytes - 4);
    programs.clear();
    chunk.clear();
    if (opaque) return in.SizedBytes(chunk, "bank chunk", error);
    if (numPrograms < 0 || numPrograms > kMaxFilePrograms) {
        error = "invalid program count " + std::to_string(numPrograms);
        return false;
    }
    // Each program record has at least its header: a count beyond that is a lie, not a reason to
    // reserve memory.
    if (static_cast<size_t>(numPrograms) * FxpFile::kHeaderBytes > in.Remaining()) {
        error = "truncated bank: " + std::to_string(numPrograms) + " programs cannot fit in the " +
                std::to_string(in.Remaining()) + " bytes after the header";
        return false;
    }
    programs.resize(static_cast<size_t>(numPrograms));
    for (size_t i = 0; i < programs.size(); ++i) {
        std::string reason;
        if (!programs[i].Read(in, reason)) {
            error = "program " + std::to_string(i) + " of the bank: " + reason;
            return false;
        }
        if (programs[i].opaque) {
            error = "program " + std::to_string(i) +
                    " of the bank is a chunk; a parameter bank holds parameter lists";
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> FxbFile::Serialize() const {
    ByteWriter out;
    out.U32(FxpFile::kChunkMagic);
    out.U32(0);
    out.U32(opaque ? kOpaqueMagic : kParamsMagic);
    out.I32(2);
    out.I32(fxID);
    out.I32(fxVersion);
    out.I32(opaque ? numPrograms : static_cast<int32_t>(programs.size()));
    out.I32(currentProgram < 0 ? 0 : currentProgram);
    out.Zeros(kReservedBytes - 4);
    if (opaque) {
        out.I32(static_cast<int32_t>(chunk.size()));
        out.Bytes(chunk);
    } else {
        for (const FxpFile& program : programs) program.Write(out);
    }
    out.PatchU32(4, static_cast<uint32_t>(out.Size() - 8));
    return std::move(out.Data());
}
