// Small VST 2 effects for testing the validator: a correct stereo gain (three parameters, three
// programs, program and bank chunks, MIDI received and echoed within the block, a window-less
// editor with one slider) that commits exactly one fault, chosen when it is compiled:
//
//   VALIDATE_FAULT 0  none
//                  1  writes its effect name past the 32 bytes the interface allows
//                  2  allocates and frees a scratch buffer in every audio call
//                  3  setParameter stores values unclamped: NaN or 2 set is NaN or 2 read back
//                  4  crashes on a chunk longer than 256 KiB
//                  5  never frees an instance: each one's 1 MiB stays in a process-wide list
//                  6  applies a bad chunk (wrong magic, bad values, too long) over its state
//                  7  its editor begins a gesture on a click and never ends it
//                  8  its editor answers effEditOpen with 1 but shows no window (not even
//                     offscreen), and crashes when an instance opens it a second time
//                  9  setParameter holds the lock the audio callbacks take for milliseconds
//
// The editor has no window of its own: effEditOpen accepts any parent, and hosts without a
// window drive it through our offscreen-editor extension (input and back buffer).
#pragma once

#include "abi/VstAbi.h"

AEffect* CreateFaultPlugin(audioMasterCallback host);
