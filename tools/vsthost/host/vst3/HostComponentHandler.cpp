#include "tools/vsthost/host/vst3/HostComponentHandler.h"

vst3::tresult HostApplication::getName(vst3::String128 name) noexcept {
    if (!name) return vst3::kInvalidArgument;
    const char text[] = "vsthost";
    for (size_t i = 0; i < sizeof text; ++i) name[i] = static_cast<vst3::char16>(text[i]);
    return vst3::kResultOk;
}

std::vector<HostComponentHandler::Record> HostComponentHandler::Records() const {
    std::lock_guard<std::mutex> lock(mutex);
    return records;
}

void HostComponentHandler::Clear() {
    std::lock_guard<std::mutex> lock(mutex);
    records.clear();
}

vst3::tresult HostComponentHandler::Log(const Record& r) {
    try {
        std::lock_guard<std::mutex> lock(mutex);
        records.push_back(r);
    } catch (...) {
        return vst3::kOutOfMemory;
    }
    return vst3::kResultOk;
}
