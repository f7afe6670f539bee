// Writes the Turtle files of the Vesmar.lv2 bundle into a directory, from a freshly built effect:
//   vesmar_lv2_turtle OUTPUT_DIR MODULE_FILE_NAME
// Run by the build; exits 1 when the effect cannot be built or a file cannot be written.
#include <cstdio>
#include <fstream>
#include <string>

#include "lv2/Lv2BundleText.h"
#include "effect/CreateEffect.h"

namespace {
bool Write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) std::fprintf(stderr, "vesmar_lv2_turtle: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vesmar_lv2_turtle OUTPUT_DIR MODULE_FILE_NAME\n");
        return 2;
    }
    std::unique_ptr<IPluginCore> effect = CreateEffect();
    if (!effect) {
        std::fprintf(stderr, "vesmar_lv2_turtle: the effect cannot be built\n");
        return 1;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const PluginDescriptor& identity = EffectDescriptor();
    Lv2BundleText text(*effect, identity.lv2Uri, argv[2], identity.webAddress);
    const bool ok = Write(dir + "manifest.ttl", text.Manifest()) &&
                    Write(dir + Lv2BundleText::kPluginFile, text.Plugins()) &&
                    Write(dir + Lv2BundleText::kUiFile, text.Ui()) &&
                    Write(dir + Lv2BundleText::kPresetFile, text.Presets());
    return ok ? 0 : 1;
}
