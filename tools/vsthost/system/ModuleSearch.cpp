// The module search of `vsthost scan`, the same on every platform but for the names.
#include <algorithm>
#include <system_error>

#include "tools/vsthost/system/ModulePaths.h"
#include "tools/vsthost/system/Platform.h"

bool FindModules(const std::string& folder, std::vector<std::string>& modules, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::recursive_directory_iterator it(NativePath(folder), fs::directory_options::skip_permission_denied,
                                        failure),
        end;
    if (failure) {
        error = "cannot read folder '" + folder + "': " + failure.message();
        return false;
    }
    for (; it != end; it.increment(failure)) {
        if (failure) break;
        std::error_code ignored;
        if (HasModuleExtension(it->path()) && it->is_regular_file(ignored))
            modules.push_back(Utf8Path(it->path()));
    }
    std::sort(modules.begin(), modules.end());
    return true;
}
