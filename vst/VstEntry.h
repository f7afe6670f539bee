#pragma once
#include "abi/VstAbi.h"

class IVstPlugin;

// Defined by the effect: allocates and constructs the plug-in object for one host instance.
// Returns null when the object cannot be allocated.
IVstPlugin* CreateVstPlugin(audioMasterCallback host);

// What the exported entry point does on every platform: under the process-wide lock, create the
// plug-in object, make sure it has at least one program, and hand back its effect record (null
// when the object cannot be created). Never lets an exception escape to the host.
AEffect* VstCreateEffect(audioMasterCallback host) noexcept;
