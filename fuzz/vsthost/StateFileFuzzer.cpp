// State files loaded into Vesmar the way `vsthost chunk load` and `render --chunk` do: the first
// input byte picks the file name (raw program chunk, .fxp, .fxb, raw bank chunk), the rest is the
// file. A refused file names its reason and an input error. A loaded state is saved in the same
// format and loaded into a fresh instance, which saves the same bytes again. One exception: a
// chunk inside an .fxp/.fxb saved as parameter values may be tidied by the plug-in when it loads
// them one by one (a value that depends on another is corrected against the one set before it),
// so there the second save must equal the third. Aborts where a property fails.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "effect/CreateEffect.h"
#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/StateFile.h"
#include "vst/IVstPlugin.h"

namespace {

// One Vesmar instance behind vsthost's host side.
struct Instance {
    HostCallback host{0};  // loading state sends no MIDI back: no room kept for any
    std::unique_ptr<HostedEffect> fx;

    Instance() {
        IVstPlugin* plugin = nullptr;
        {
            EntryPointScope scope(host);
            std::unique_ptr<IPluginCore> effect = CreateEffect();
            if (!effect) std::abort();
            effect->EnsureOneProgram();
            plugin = new IVstPlugin(&HostCallback::Callback, std::move(effect));
        }
        AEffect* effect = plugin->Effect();
        host.Attach(effect);
        fx = std::make_unique<HostedEffect>(effect, host);
        fx->Open(44100.0, 512);
    }
};

// A file of this process's own in the temporary folder, removed when done with.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& name) {
        const char* tmp = std::getenv("TMPDIR");
        path = std::string(tmp && *tmp ? tmp : "/tmp") + "/vesmar-state-fuzz-" + std::to_string(getpid()) +
               "-" + name;
    }
    ~ScratchFile() { unlink(path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    std::string path;
};

// Saves the instance's state to path and gives the bytes written.
std::vector<uint8_t> Saved(HostedEffect& fx, const std::string& path, bool bank) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!SaveStateFile(fx, path, bank).ok || !ReadFileBytes(path, HostedEffect::kMaxChunkBytes, bytes, error))
        std::abort();  // saving a loaded state failed
    return bytes;
}

// Loads what path holds into a fresh instance and saves that again to path.
std::vector<uint8_t> Reloaded(const std::string& path, bool bank) {
    Instance fresh;
    if (!LoadStateFile(*fresh.fx, path, bank).ok) std::abort();  // its own file refused
    return Saved(*fresh.fx, path, bank);
}

// Whether a preset file's name and content make the load a chunk and the save parameter values
// (Vesmar has no chunk flag, so vsthost saves its presets as parameter lists).
bool TidiedOnLoad(const uint8_t* file, size_t size, int kind) {
    if (kind != 1 && kind != 2) return false;
    if (size < 12 || std::memcmp(file, "CcnK", 4) != 0) return false;
    return std::memcmp(file + 8, "FPCh", 4) == 0 || std::memcmp(file + 8, "FBCh", 4) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // 0: raw program chunk, 1: .fxp, 2: .fxb, 3: raw bank chunk.
    const int kind = data[0] & 3;
    const char* extension = kind == 1 ? ".fxp" : kind == 2 ? ".fxb" : "";
    const bool bank = kind >= 2;
    const ScratchFile in(std::string("in") + extension), out(std::string("out") + extension);
    std::string error;
    if (!WriteFileBytes(in.path, std::vector<uint8_t>(data + 1, data + size), error)) std::abort();

    Instance loaded;
    StateResult result = LoadStateFile(*loaded.fx, in.path, bank);
    if (!result.ok) {
        if (result.error.empty() || result.exitCode == 0) std::abort();  // a refusal without a reason
        return 0;
    }
    const std::vector<uint8_t> first = Saved(*loaded.fx, out.path, bank);
    const std::vector<uint8_t> second = Reloaded(out.path, bank);
    if (second != (TidiedOnLoad(data + 1, size - 1, kind) ? Reloaded(out.path, bank) : first)) std::abort();
    return 0;
}
