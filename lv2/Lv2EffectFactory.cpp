#include "lv2/Lv2EffectFactory.h"

#include "effect/VSTCLASS.h"

std::unique_ptr<IPluginCore> Lv2CreateEffect() {
    try {
        return std::make_unique<VSTCLASS>(nullptr);
    } catch (...) {
        return nullptr;
    }
}
const char* Lv2EffectUri() {
    return "https://darvo.audio/plugins/vesmar";
}
const char* Lv2EffectHomepage() {
    return "https://darvo.audio/plugins/vesmar";
}
