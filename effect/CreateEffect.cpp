#include "effect/CreateEffect.h"

#include "effect/VSTCLASS.h"

std::unique_ptr<IPluginCore> CreateEffect() noexcept {
    try {
        return std::make_unique<VSTCLASS>();
    } catch (...) {  // a failed allocation: the adapter answers its format's "no plug-in"
        return nullptr;
    }
}
