#include "tools/vsthost/validate/ResidentMemory.h"

#include <windows.h>
#include <psapi.h>

bool ResidentKiB(int64_t& kib, std::string& why) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        why = "GetProcessMemoryInfo failed";
        return false;
    }
    kib = static_cast<int64_t>(counters.WorkingSetSize / 1024);
    return true;
}
