// vsthost scan FOLDER|MODULE...: one line per module: whether it loads, and what it is, or why
// not. Each module is examined by a child vsthost, so a module that crashes or hangs costs only
// its own line.
#include <cstdio>

#include "tools/vsthost/host/ChildProcess.h"
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/cli/OptionTable.h"
#include "tools/vsthost/host/EffectText.h"
#include "tools/vsthost/system/Platform.h"
#include "tools/vsthost/host/PluginSession.h"

namespace {

constexpr double kDefaultTimeout = 30.0;

struct ScanOptions {
    std::vector<std::string> targets;
    bool inProcess = false;
    double timeout = kDefaultTimeout;
};

std::string Kind(HostedEffect& fx) {
    static const char* const kCategories[] = {"effect",      "instrument",  "analysis",        "mastering",
                                              "spatialiser", "room effect", "surround effect", "restoration",
                                              "offline",     "shell",       "generator"};
    intptr_t category = fx.Dispatch(effGetPlugCategory);
    if (category == kPlugCategSynth || (fx.Flags() & effFlagsIsSynth)) return "instrument";
    if (category >= 1 && category <= 11) return kCategories[category - 1];
    return category == kPlugCategUnknown ? "effect" : "category " + std::to_string(category);
}

// The module's line, examined in this process.
int ScanHere(const std::string& path) {
    PluginSession session;
    std::string error;
    if (!session.Start(path, 44100.0, 512, error)) {
        std::printf("%s: fails: %s\n", path.c_str(), error.c_str());
        return kExitPlugin;
    }
    HostedEffect& fx = session.Effect();
    std::string name = fx.Text(effGetEffectName), vendor = fx.Text(effGetVendorString);
    std::printf("%s: loads: \"%s\" by \"%s\", ID %s, %s, %d in / %d out, %d parameters, %d programs\n",
                path.c_str(), name.c_str(), vendor.c_str(),
                DescribeFourCharCode(fx.Record()->uniqueID).c_str(), Kind(fx).c_str(), fx.NumInputs(),
                fx.NumOutputs(), fx.NumParams(), fx.NumPrograms());
    return kExitOk;
}

// The last line the child printed, without the "vsthost: " prefix: its reason for failing.
std::string LastLine(const std::string& output) {
    size_t end = output.find_last_not_of("\r\n");
    if (end == std::string::npos) return {};
    size_t start = output.find_last_of('\n', end);
    std::string line = output.substr(start == std::string::npos ? 0 : start + 1,
                                     end - (start == std::string::npos ? 0 : start + 1) + 1);
    const std::string prefix = "vsthost: ";
    return line.compare(0, prefix.size(), prefix) == 0 ? line.substr(prefix.size()) : line;
}

bool ScanInChild(const std::string& self, const std::string& path, double timeout) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", timeout);
    ChildResult child = RunChildProcess(self, {"scan", "--in-process", path}, timeout);
    std::string line = LastLine(child.output);
    if (child.started && !child.timedOut && !child.signaled && child.exitCode == kExitOk) {
        std::printf("%s\n", line.c_str());
        return true;
    }
    std::string reason = !child.started   ? child.error
                         : child.timedOut ? std::string("no answer within ") + seconds + " s (killed)"
                         : child.signaled ? "vsthost died of signal " + std::to_string(child.exitCode)
                                          : line;
    // The child's own failure line already names the module.
    if (child.started && !child.timedOut && !child.signaled && line.compare(0, path.size(), path) == 0)
        std::printf("%s\n", line.c_str());
    else
        std::printf("%s: fails: %s\n", path.c_str(), reason.c_str());
    return false;
}

OptionTable ScanTable(ScanOptions& o) {
    return {"scan",
            17,
            {Operand("FOLDER", "every module below it (.so on Linux, .dll on Windows)"),
             Checked("--timeout", "S", "seconds a module may take before it counts as hung (default 30)",
                     "timeout", " (seconds, up to 3600)",
                     [&o](const std::string& v) {
                         return ParseDouble(v, o.timeout) && o.timeout > 0 && o.timeout <= 3600;
                     }),
             Flag("--in-process", "examine one module in this process (what each child does)", o.inProcess)}};
}

std::string ScanHelp() {
    ScanOptions unused;
    return OptionHelp(ScanTable(unused)) +
           "Each module is examined by its own child process: one that crashes or hangs does not end\n"
           "the scan. The exit status is 0 when every module loads, 4 when any fails.\n";
}

int RunScan(ArgReader& args) {
    ScanOptions o;
    int code = ParseOptions(args, ScanTable(o), [&o](const std::string& arg) {
        o.targets.push_back(arg);
        return kExitOk;
    });
    if (code != kExitOk) return code;
    std::string error;
    if (o.targets.empty()) return UsageError("scan needs a FOLDER or MODULE");
    if (o.inProcess) {
        if (o.targets.size() != 1) return UsageError("scan --in-process takes one module");
        return ScanHere(o.targets[0]);
    }
    std::vector<std::string> modules;
    for (const std::string& target : o.targets) {
        if (!IsDirectory(target)) {
            modules.push_back(target);
        } else if (!FindModules(target, modules, error)) {
            return Fail(error, kExitInput);
        }
    }
    if (modules.empty()) return Fail("no modules found", kExitInput);
    std::string self = SelfExecutablePath();
    if (self.empty()) return Fail("cannot find vsthost's own executable to run the scan", kExitFailure);
    size_t loaded = 0;
    for (const std::string& module : modules) {
        if (ScanInChild(self, module, o.timeout)) ++loaded;
        std::fflush(stdout);
    }
    std::printf("%zu modules: %zu load, %zu fail\n", modules.size(), loaded, modules.size() - loaded);
    return loaded == modules.size() ? kExitOk : kExitPlugin;
}

}  // namespace

const CommandInfo kScanCommand = {
    "scan",
    "  vsthost scan FOLDER|MODULE... [--timeout S]\n",
    "one line per module: loads (name, vendor, ID, kind, I/O) or why not",
    ScanHelp,
    RunScan,
};
