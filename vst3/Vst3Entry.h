// The module's entry points, shared by both systems' export files: the factory, and the counted
// module entry and exit a host may call more than once.
#pragma once

#include "abi/Vst3Base.h"

vst3::IPluginFactory* Vst3GetFactory() noexcept;
bool Vst3EnterModule() noexcept;
bool Vst3ExitModule() noexcept;
