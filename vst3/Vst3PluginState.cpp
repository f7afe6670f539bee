// The component's state: the core's bank chunk (the same bytes the VST 2 module saves), then the
// current program, which a VST 2 host keeps beside the chunk (a bank file's current-program
// field) and VST 3 has no other place for: without it a reloaded project would come back with the
// first program's values instead of the edited ones.
#include <cstring>
#include <mutex>

#include "vst3/Vst3Plugin.h"
#include "vst3/Vst3Stream.h"

namespace {

constexpr int32_t kProgramTrailerMagic = 0x67706356;  // the characters Vcpg, little-endian
constexpr size_t kTrailerBytes = 8;

int32_t ReadLe(const uint8_t* at) {
    return static_cast<int32_t>(static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                                static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24);
}

void AppendLe(std::vector<uint8_t>& bytes, int32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

// The first bytes of every bank chunk this effect writes: magic and version.
bool LooksLikeBank(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 8 && ReadLe(bytes.data()) == IPluginCore::kChunkMagic &&
           ReadLe(bytes.data() + 4) >= IPluginCore::kChunkVersion;
}

}  // namespace

std::vector<uint8_t> Vst3Plugin::CurrentBank() {
    const void* data = nullptr;
    const int size = core->GetStateChunk(true, &data);
    if (size <= 0) return {};
    return std::vector<uint8_t>(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
}

vst3::tresult Vst3Plugin::GetComponentState(vst3::IBStream* state) noexcept {
    try {
        std::vector<uint8_t> bytes;
        {
            std::lock_guard<std::recursive_mutex> hold(core->Lock());
            bytes = CurrentBank();
            if (bytes.empty()) return vst3::kInternalError;
            AppendLe(bytes, kProgramTrailerMagic);
            AppendLe(bytes, core->CurrentProgramIndex());
        }
        return vst3stream::WriteAll(state, bytes.data(), bytes.size()) ? vst3::kResultOk : vst3::kResultFalse;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}

vst3::tresult Vst3Plugin::SetComponentState(vst3::IBStream* state) noexcept {
    try {
        std::vector<uint8_t> bytes;
        if (!vst3stream::ReadAll(state, bytes)) return vst3::kResultFalse;
        // A bare bank chunk (as the VST 2 module gives it) keeps the current program.
        int program = -1;
        if (bytes.size() > kTrailerBytes &&
            ReadLe(bytes.data() + bytes.size() - kTrailerBytes) == kProgramTrailerMagic) {
            program = ReadLe(bytes.data() + bytes.size() - 4);
            bytes.resize(bytes.size() - kTrailerBytes);
        }
        bool loaded = false;
        {
            std::lock_guard<std::recursive_mutex> hold(core->Lock());
            HostChangeScope change(hostChange);
            loaded = LoadBank(bytes, program);
        }
        return loaded ? vst3::kResultOk : vst3::kResultFalse;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}

vst3::tresult Vst3Plugin::setComponentState(vst3::IBStream* state) noexcept {
    // This object is the component: the bytes are its own state, normally the one it holds
    // already. Loading them again changes nothing then, and brings a host's copy in otherwise.
    return SetComponentState(state);
}

bool Vst3Plugin::LoadBank(const std::vector<uint8_t>& bytes, int program) {
    if (!LooksLikeBank(bytes) || program < -1 || program >= core->ProgramCount()) return false;
    const std::vector<uint8_t> before = CurrentBank();
    const int beforeProgram = core->CurrentProgramIndex();
    if (before.empty()) return false;
    if (before == bytes && (program < 0 || program == beforeProgram)) return true;
    // A bank is only taken whole: read back, it must give exactly the bytes loaded (a short,
    // long or damaged stream does not), else the state before comes back.
    bool ok = core->SetStateChunk(true, bytes.data(), static_cast<intptr_t>(bytes.size())) == 1;
    if (ok && program >= 0) ok = core->SelectProgram(program);
    if (ok) ok = CurrentBank() == bytes;
    if (!ok) {
        core->SetStateChunk(true, before.data(), static_cast<intptr_t>(before.size()));
        core->SelectProgram(beforeProgram);
    }
    return ok;
}
