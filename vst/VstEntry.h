#pragma once
#include "abi/VstAbi.h"

// What the exported entry point does on every platform: under the process-wide lock, create the
// effect (CreateEffect), make sure it has at least one program, wrap it in the VST 2 adapter and
// hand back the adapter's effect record (null when the effect cannot be created). Never lets an
// exception escape to the host.
AEffect* VstCreateEffect(audioMasterCallback host) noexcept;
