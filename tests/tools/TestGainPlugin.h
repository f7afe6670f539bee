// A tiny VST 2 plug-in for testing the host: stereo gain with two parameters (left and right
// gain, the normalised value is the factor), two programs ("Unity" 1/1 and "Quiet" 0.5/0.25),
// program and bank chunks, and every MIDI or SysEx event it receives sent straight back to the
// host. TEST_PLUGIN_VARIANT 1 makes the entry point return null, 2 a record with a wrong magic;
// 3..8 behave like troublesome plug-ins, 9 negotiates its channels (see the constants at the top
// of the source).
#pragma once

#include "abi/VstAbi.h"

AEffect* CreateTestGainPlugin(audioMasterCallback host);
