// The test editor effect as a loadable module (testeditor.dll / testeditor.so).
#include "effect/CreateEffect.h"
#include "plugbase/ModuleInstance.h"
#include "tests/support/TestEditorEffect.h"

std::unique_ptr<IPluginCore> CreateEffect() noexcept {
    try {
        return std::make_unique<TestEditorEffect>(ModuleInstance());
    } catch (...) {
        return nullptr;
    }
}

const PluginDescriptor& EffectDescriptor() {
    return TestEditorEffect::Identity();
}
