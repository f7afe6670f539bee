#pragma once

#include <memory>

#include "plugbase/IPluginCore.h"
#include "plugbase/PluginDescriptor.h"

// The module's effect, for every format's adapter: the module links exactly one definition of
// these (the effect library's, or a test effect's).

// [any thread] A new effect object, with its editor built and no host attached; null when it
// cannot be created (nothing escapes).
std::unique_ptr<IPluginCore> CreateEffect() noexcept;

// [any thread] The identity CreateEffect's objects are built with; valid for the module's lifetime.
const PluginDescriptor& EffectDescriptor();
