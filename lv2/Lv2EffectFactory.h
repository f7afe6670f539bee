#pragma once

#include <memory>

#include "plugbase/IPluginCore.h"

// The effect and its identity as the LV2 module and its generator see them.
std::unique_ptr<IPluginCore> Lv2CreateEffect();
const char* Lv2EffectUri();
const char* Lv2EffectHomepage();
