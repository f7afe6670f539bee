#pragma once
#include <cstdint>

// What a note off does to a running envelope: the values of the "Note Off" parameter.
enum NoteOffMode : int32_t {
    kNoteOffEnvOff = 0,     // cut the envelope at once
    kNoteOffEnvDecay = 1,   // jump to the decay at the current level
    kNoteOffFollowEnv = 2,  // ignore the note off; the envelope runs its course
};
