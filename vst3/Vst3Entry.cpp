#include "vst3/Vst3Entry.h"

#include <atomic>

#include "vst3/Vst3Factory.h"

namespace {

std::atomic<int> entries{0};

}  // namespace

vst3::IPluginFactory* Vst3GetFactory() noexcept {
    return Vst3Factory::Acquire();
}

bool Vst3EnterModule() noexcept {
    ++entries;
    return true;
}

bool Vst3ExitModule() noexcept {
    // An exit without an entry is refused rather than counted below zero.
    int now = entries.load();
    while (now > 0 && !entries.compare_exchange_weak(now, now - 1)) {
    }
    return now > 0;
}
