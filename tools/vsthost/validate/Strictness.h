// How hard validate pushes a module, level 1 (a quick look) to 10 (everything, at full counts).
// Every knob a group uses lives in this one struct and is set per level in Strictness.cpp, one line
// per knob with its ten values, so the whole table reads in one place (docs/validate.md shows it,
// written from here by scripts/strictness-table.sh).
// Counts and durations grow with the level, and so does which findings are failures rather than
// warnings: a finding made "strict from level N" is a WARN below N and a FAIL from N on.
#pragma once

#include <cstdint>

struct Strictness {
    int level = 10;

    // load
    int loadCycles = 0;             // load, open, close, unload
    int instances = 0;              // open at once
    int memoryCycles = 0;           // open/close cycles whose resident-size growth is measured
    int64_t memoryGrowthKiB = 0;    // growth over those cycles beyond which the finding is made
    int memoryGrowthFailsFrom = 0;  // the level from which that growth is a failure

    // parameters
    int randomValues = 0;  // random values set and read back per parameter
    int displaySweep = 0;  // values per parameter whose display text is asked for
    // programs
    int programRenderBlocks = 0;  // blocks rendered per program
    // state
    int garbageChunks = 0;  // random garbage chunks handed to effSetChunk per kind
    int stateRenderBlocks = 0;

    // audio
    int randomBlocks = 0;          // blocks of random size up to the announced maximum
    int sampleRates = 0;           // how many of the rates 8000..384000 are tried (spread over the list)
    int signalBlocks = 0;          // blocks per input signal (silence, noise, NaN, ...)
    int oversizeFailsFrom = 0;     // blocks above the announced size: a failure from this level
    double denormalCostRatio = 0;  // a denormal block may cost this many times a normal one
    int denormalCostFailsFrom = 0;
    int tailBlocksMax = 0;  // blocks of silence allowed after the reported tail before silence

    // midi
    int midiBlocks = 0;            // blocks of random MIDI
    int eventsPerBlockMax = 0;     // the largest random list (1000 at the top)
    int brokenEventListsFrom = 0;  // from this level event lists hold null entries and unknown types

    // threads
    int threadMilliseconds = 0;  // the audio, parameter and editor threads running at once
    // realtime
    int realtimeBlocks = 0;     // blocks processed and watched on the marked audio thread
    int realtimeFailsFrom = 0;  // allocations, frees or lock waits after the first block, and audio
                                // callbacks waiting over a quarter block for a host thread: failure from here
    // editor
    int editorOpenings = 0;  // open, input, close, reopen
    int editorInputs = 0;    // random mouse and wheel steps per opening

    // general: from which level a kind of finding is a failure rather than a warning
    int textLimitFailsFrom = 0;    // a text past its size, unterminated-safe but not UTF-8
    int answersFailFrom = 0;       // a wrong answer where the interface is clear (unique ID 0, no
                                   // outputs, an out-of-range program selected, an empty chunk taken)
    int consistencyFailsFrom = 0;  // answers that disagree (a value not coming back, names by index
                                   // and as current, category and flags, the tail not silent, an
                                   // editor that opened but showed no window)
    int descriptionsFailFrom = 0;  // descriptive records (steps, categories) and recovering from NaN
    int conventionsFailFrom = 0;   // VST 2.4 conventions (effFlagsCanReplacing)
};

// The knobs of a level; levels outside 1..10 are clamped. [any thread]: the table is built before
// main and never changes.
const Strictness& StrictnessForLevel(int level);
