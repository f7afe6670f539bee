// The functions behind the module's clap_entry record (defined with its export in posix/ or
// win/): init counts its calls and builds the two descriptors, stereo and mono, on the first;
// the factory creates instances. [any thread, never concurrent with each other for init/deinit]
#pragma once

#include "abi/ClapAbi.h"

bool ClapEntryInit(const char* pluginPath);
void ClapEntryDeinit();
const void* ClapEntryGetFactory(const char* factoryId);
