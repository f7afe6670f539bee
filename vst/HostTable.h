#pragma once
#include <cstdint>

#include "plugbase/HostId.h"

// Maps a host's product name to the host number the plug-in keys its host-specific behaviour on:
// the first table fragment found anywhere in the lower-cased name decides, Unknown when none
// matches.
// The name is read up to its terminator or maxLength bytes, whichever comes first.
HostId HostIdFromProductName(const char* name, int maxLength);

// Converts the host's decimal vendor version (major * 10000 + minor * 100 + patch) to the packed
// form major * 65536 + minor * 256 + patch. Values outside what the packed form can hold are
// bounded: negative versions give 0 and the major part is kept below 32768.
int32_t PackedHostVersion(intptr_t decimalVersion);
