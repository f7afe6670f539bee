#include "plugbase/ModuleInstance.h"

#include <atomic>

namespace {
std::atomic<void*> moduleInstance{nullptr};
}

void* ModuleInstance() {
    return moduleInstance.load(std::memory_order_acquire);
}

void SetModuleInstance(void* instance) {
    moduleInstance.store(instance, std::memory_order_release);
}
