#include "tools/vsthost/validate/Strictness.h"

#include <algorithm>
#include <array>

namespace {

using Row = std::array<int64_t, 10>;

// The value of a knob at a level, from its row of ten.
template <typename T>
T At(int level, const Row& row) {
    return static_cast<T>(row[static_cast<size_t>(level - 1)]);
}

Strictness Make(int level) {
    Strictness s;
    s.level = level;
    // clang-format off
    //                                        level: 1     2     3     4     5     6     7     8     9    10
    s.loadCycles             = At<int>(level,     {  2,    3,    4,    6,    8,   10,   15,   20,   30,   50});
    s.instances              = At<int>(level,     {  2,    4,    8,   12,   16,   24,   32,   48,   64,  100});
    s.memoryCycles           = At<int>(level,     {  4,    6,    8,   12,   16,   24,   40,   64,  100,  200});
    s.memoryGrowthKiB        = At<int64_t>(level, {8192, 8192, 4096, 4096, 2048, 2048, 1024, 1024, 1024, 1024});
    s.memoryGrowthFailsFrom  = 7;
    s.randomValues           = At<int>(level,     {  4,    8,   12,   16,   24,   32,   64,  128,  192,  256});
    s.displaySweep           = At<int>(level,     {  5,    9,   11,   17,   21,   33,   41,   65,   81,  101});
    s.programRenderBlocks    = At<int>(level,     {  1,    2,    2,    3,    3,    4,    4,    6,    6,    8});
    s.garbageChunks          = At<int>(level,     {  4,    8,   12,   16,   24,   32,   64,  128,  256,  512});
    s.stateRenderBlocks      = At<int>(level,     {  2,    2,    3,    3,    4,    4,    6,    6,    8,    8});
    s.randomBlocks           = At<int>(level,     { 16,   32,   64,  128,  192,  256,  512, 1024, 2048, 4096});
    s.sampleRates            = At<int>(level,     {  2,    3,    4,    5,    6,    7,    8,    9,   10,   11});
    s.signalBlocks           = At<int>(level,     {  4,    8,   12,   16,   24,   32,   40,   48,   56,   64});
    s.oversizeFailsFrom      = 10;
    s.denormalCostRatio      = At<double>(level,  { 20,   20,   16,   16,   12,   12,   10,   10,    8,    8});
    s.denormalCostFailsFrom  = 8;
    s.tailBlocksMax          = At<int>(level,     { 64,   64,   48,   48,   32,   32,   24,   24,   16,   16});
    s.midiBlocks             = At<int>(level,     { 16,   32,   48,   64,   96,  128,  256,  512, 1024, 2048});
    s.eventsPerBlockMax      = At<int>(level,     { 50,  100,  200,  300,  400,  500,  600,  700,  850, 1000});
    s.brokenEventListsFrom   = 8;
    s.threadMilliseconds     = At<int>(level,     {200,  300,  400,  500,  600,  800, 1000, 1200, 1500, 2000});
    s.realtimeBlocks         = At<int>(level,     { 32,   64,  128,  192,  256,  384,  512,  768, 1024, 2048});
    s.realtimeFailsFrom      = 7;
    s.editorOpenings         = At<int>(level,     {  2,    2,    3,    3,    3,    4,    4,    5,    5,    6});
    s.editorInputs           = At<int>(level,     { 10,   15,   20,   25,   30,   40,   50,   60,   80,  100});
    s.textLimitFailsFrom     = 4;
    s.answersFailFrom        = 5;
    s.consistencyFailsFrom   = 6;
    s.descriptionsFailFrom   = 7;
    s.conventionsFailFrom    = 8;
    // clang-format on
    return s;
}

const std::array<Strictness, 10> kLevels = [] {
    std::array<Strictness, 10> levels;
    for (int level = 1; level <= 10; ++level) levels[static_cast<size_t>(level - 1)] = Make(level);
    return levels;
}();

}  // namespace

const Strictness& StrictnessForLevel(int level) {
    return kLevels[static_cast<size_t>(std::clamp(level, 1, 10) - 1)];
}
