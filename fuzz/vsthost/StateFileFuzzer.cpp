// State files loaded into Vesmar the way `vsthost chunk load` and `render --chunk` do: the first
// input byte picks the file name (raw program chunk, .fxp, .fxb, raw bank chunk), the rest is the
// file. A refused file names its reason and an input error. A loaded state is saved in the same
// format, and from the second save on, what vsthost saves loads into a fresh instance that saves
// the same bytes again. (Not from the first: a plug-in may tidy what it loads. Vesmar takes a
// stepped parameter between its steps from a chunk as it is, but snaps it when it comes back as a
// parameter value from an .fxp.) Aborts where a property fails.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/StateFile.h"
#include "vst/IVstPlugin.h"
#include "vst/VstEntry.h"

namespace {

// One Vesmar instance behind vsthost's host side.
struct Instance {
    HostCallback host{0};  // loading state sends no MIDI back: no room kept for any
    std::unique_ptr<HostedEffect> fx;

    Instance() {
        IVstPlugin* plugin = nullptr;
        {
            EntryPointScope scope(host);
            plugin = CreateVstPlugin(&HostCallback::Callback);
        }
        if (!plugin) std::abort();
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
    Saved(*loaded.fx, out.path, bank);
    const std::vector<uint8_t> second = Reloaded(out.path, bank);
    if (Reloaded(out.path, bank) != second) std::abort();
    return 0;
}
