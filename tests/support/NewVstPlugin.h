#pragma once

#include <memory>

#include "vst/IVstPlugin.h"

// Hands effect to a new VST 2 adapter calling host and answers the adapter's record; effClose
// through the record deletes the adapter, and the effect with it.
inline AEffect* NewVstPlugin(IPluginCore* effect, audioMasterCallback host) {
    return (new IVstPlugin(host, std::unique_ptr<IPluginCore>(effect)))->Effect();
}
