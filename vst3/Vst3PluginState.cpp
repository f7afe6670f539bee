// The component's state: the core's bank chunk, the same bytes the VST 2 module saves.
#include <cstring>
#include <mutex>

#include "vst3/Vst3Plugin.h"
#include "vst3/Vst3Stream.h"

namespace {

// The first bytes of every bank chunk this effect writes: magic and version, little-endian.
bool LooksLikeBank(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 8) return false;
    auto word = [&](size_t at) {
        return static_cast<int32_t>(
            static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
            static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24);
    };
    return word(0) == IPluginCore::kChunkMagic && word(4) >= IPluginCore::kChunkVersion;
}

}  // namespace

vst3::tresult Vst3Plugin::GetComponentState(vst3::IBStream* state) noexcept {
    try {
        std::vector<uint8_t> bytes;
        {
            std::lock_guard<std::recursive_mutex> hold(core->Lock());
            const void* data = nullptr;
            const int size = core->GetStateChunk(true, &data);
            if (size <= 0) return vst3::kInternalError;
            bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
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
        bool loaded = false;
        {
            std::lock_guard<std::recursive_mutex> hold(core->Lock());
            hostChange = true;
            loaded = LoadBank(bytes);
            hostChange = false;
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

bool Vst3Plugin::LoadBank(const std::vector<uint8_t>& bytes) {
    if (!LooksLikeBank(bytes)) return false;
    const void* data = nullptr;
    const int size = core->GetStateChunk(true, &data);
    if (size <= 0) return false;
    const std::vector<uint8_t> before(static_cast<const uint8_t*>(data),
                                      static_cast<const uint8_t*>(data) + size);
    if (before == bytes) return true;
    // A bank is only taken whole: read back, it must give exactly the bytes loaded (a short,
    // long or damaged stream does not), else the state before comes back.
    bool ok = core->SetStateChunk(true, bytes.data(), static_cast<intptr_t>(bytes.size())) == 1;
    if (ok) {
        ok = core->GetStateChunk(true, &data) == static_cast<int>(bytes.size()) &&
             std::memcmp(data, bytes.data(), bytes.size()) == 0;
    }
    if (!ok) core->SetStateChunk(true, before.data(), static_cast<intptr_t>(before.size()));
    return ok;
}
