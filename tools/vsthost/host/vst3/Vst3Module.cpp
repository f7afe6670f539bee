#include "tools/vsthost/host/vst3/Vst3Module.h"

#include <filesystem>

namespace {

#ifdef _WIN32
constexpr const char* kArchFolder = "x86_64-win";
constexpr const char* kBinaryExtension = ".vst3";
constexpr const char* kEntryName = "InitDll";
constexpr const char* kExitName = "ExitDll";
constexpr bool kEntryRequired = false;
#else
constexpr const char* kArchFolder = "x86_64-linux";
constexpr const char* kBinaryExtension = ".so";
constexpr const char* kEntryName = "ModuleEntry";
constexpr const char* kExitName = "ModuleExit";
constexpr bool kEntryRequired = true;
#endif

bool CallEntry(void* symbol, void* handle) {
#ifdef _WIN32
    (void)handle;
    return reinterpret_cast<vst3::InitDllProc>(symbol)();
#else
    return reinterpret_cast<vst3::ModuleEntryProc>(symbol)(handle);
#endif
}

}  // namespace

Vst3Module::~Vst3Module() {
    Unload();
}

std::string Vst3Module::BinaryPath(const std::string& bundle) {
    namespace fs = std::filesystem;
    fs::path root(std::u8string(bundle.begin(), bundle.end()));
    if (!root.has_filename()) root = root.parent_path();  // a trailing separator
    std::error_code ec;
    if (!fs::is_directory(root, ec)) return bundle;
    const fs::path binary = root / "Contents" / kArchFolder / root.stem().concat(kBinaryExtension);
    const std::u8string text = binary.u8string();
    return std::string(text.begin(), text.end());
}

bool Vst3Module::Load(const std::string& bundle, std::string& error) {
    Unload();
    const std::string path = BinaryPath(bundle);
    std::string reason;
    if (!library.Open(path, reason)) {
        error = "cannot load module '" + path + "': " + reason;
        return false;
    }
    void* entry = library.Symbol(kEntryName);
    void* exit = library.Symbol(kExitName);
    auto getFactory = reinterpret_cast<vst3::GetPluginFactoryProc>(library.Symbol("GetPluginFactory"));
    if (!getFactory || (kEntryRequired && (!entry || !exit))) {
        error = "'" + path + "' lacks the VST 3 entry points (GetPluginFactory, " + kEntryName + ", " +
                kExitName + ")";
        library.Close();
        return false;
    }
    if (entry && !CallEntry(entry, library.NativeHandle())) {
        error = "'" + path + "': " + kEntryName + " refused to start";
        library.Close();
        return false;
    }
    entered = entry != nullptr;
    factory = getFactory();
    if (!factory) {
        error = "'" + path + "': GetPluginFactory returned null";
        Unload();
        return false;
    }
    return true;
}

void Vst3Module::Unload() {
    if (factory) factory->release();
    factory = nullptr;
    if (entered) {
        if (auto exit = reinterpret_cast<vst3::ModuleExitProc>(library.Symbol(kExitName))) exit();
    }
    entered = false;
    library.Close();
}

vst3::IPluginFactory2* Vst3Module::Factory2() const {
    void* obj = nullptr;
    if (!factory || factory->queryInterface(vst3::IPluginFactory2::iid.data(), &obj) != vst3::kResultOk)
        return nullptr;
    return static_cast<vst3::IPluginFactory2*>(obj);
}

vst3::IPluginFactory3* Vst3Module::Factory3() const {
    void* obj = nullptr;
    if (!factory || factory->queryInterface(vst3::IPluginFactory3::iid.data(), &obj) != vst3::kResultOk)
        return nullptr;
    return static_cast<vst3::IPluginFactory3*>(obj);
}
