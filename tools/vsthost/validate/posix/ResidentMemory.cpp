#include "tools/vsthost/validate/ResidentMemory.h"

#include <unistd.h>

#include <cstdio>

bool ResidentKiB(int64_t& kib, std::string& why) {
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) {
        why = "/proc/self/statm cannot be read";
        return false;
    }
    long long size = 0, resident = 0;
    int got = std::fscanf(f, "%lld %lld", &size, &resident);
    std::fclose(f);
    if (got != 2) {
        why = "/proc/self/statm has no resident size";
        return false;
    }
    kib = resident * (sysconf(_SC_PAGESIZE) / 1024);
    return true;
}
