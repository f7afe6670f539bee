#include "tools/vsthost/formats/FxpFile.h"

#include "tools/vsthost/formats/ByteCursor.h"

namespace {

// Largest parameter count taken seriously in a file; more is a corrupt count.
constexpr int32_t kMaxFileParams = 1 << 20;

}  // namespace

bool FxpFile::Parse(const uint8_t* data, size_t size, std::string& error) {
    ByteReader in(data, size);
    return Read(in, error);
}

bool FxpFile::Read(ByteReader& in, std::string& error) {
    if (in.Remaining() < kHeaderBytes) {
        error = "truncated program: " + std::to_string(in.Remaining()) + " bytes, the header alone has " +
                std::to_string(kHeaderBytes);
        return false;
    }
    if (in.U32() != kChunkMagic) {
        error = "not a VST preset (no 'CcnK' at the start)";
        return false;
    }
    in.U32();  // byteSize: written inconsistently by some hosts; the content is checked instead
    uint32_t magic = in.U32();
    if (magic != kParamsMagic && magic != kOpaqueMagic) {
        error = magic == 0x4678426B || magic == 0x46424368 ? "this is a bank (.fxb), not a program"
                                                           : "not a VST program (neither 'FxCk' nor 'FPCh')";
        return false;
    }
    opaque = magic == kOpaqueMagic;
    in.I32();  // format version: 1, hosts write 1 or 2 and nothing depends on it
    fxID = in.I32();
    fxVersion = in.I32();
    numParams = in.I32();
    name = in.Text(kNameLength);
    params.clear();
    chunk.clear();
    if (opaque) return in.SizedBytes(chunk, "program chunk", error);
    if (numParams < 0 || numParams > kMaxFileParams) {
        error = "invalid parameter count " + std::to_string(numParams);
        return false;
    }
    if (static_cast<size_t>(numParams) * 4 > in.Remaining()) {
        error = "truncated program: " + std::to_string(numParams) + " parameters need " +
                std::to_string(numParams * 4) + " bytes, " + std::to_string(in.Remaining()) + " are present";
        return false;
    }
    params.resize(static_cast<size_t>(numParams));
    for (float& value : params) value = in.F32();
    return true;
}

void FxpFile::Write(ByteWriter& out) const {
    size_t start = out.Size();
    out.U32(kChunkMagic);
    out.U32(0);  // byteSize, patched below
    out.U32(opaque ? kOpaqueMagic : kParamsMagic);
    out.I32(1);
    out.I32(fxID);
    out.I32(fxVersion);
    out.I32(opaque ? numParams : static_cast<int32_t>(params.size()));
    out.Text(name, kNameLength);
    if (opaque) {
        out.I32(static_cast<int32_t>(chunk.size()));
        out.Bytes(chunk);
    } else {
        for (float value : params) out.F32(value);
    }
    out.PatchU32(start + 4, static_cast<uint32_t>(out.Size() - start - 8));
}

std::vector<uint8_t> FxpFile::Serialize() const {
    ByteWriter out;
    Write(out);
    return std::move(out.Data());
}
