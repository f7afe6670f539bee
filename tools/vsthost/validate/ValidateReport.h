// What validate prints: one line per finding as it arrives (or, with --json, one JSON document at
// the end), a progress line on a terminal while a group runs, and the summary: how many tests
// passed, warned, failed or were skipped, whether the module crashed, the seed and the level.
// A test's result is its worst finding. [UI thread]
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/vsthost/validate/Finding.h"

class ValidateReport {
  public:
    struct Counts {
        int passed = 0, warned = 0, failed = 0, skipped = 0;
        int crashes = 0, hangs = 0;
    };

    // Lines go to out; the progress line to stderr when progress is true.
    ValidateReport(FILE* out, bool json, bool progress);

    void Start(const std::string& module, int strictness, uint64_t seed, int repeat);
    // The group about to run (run counts from 1, of repeat runs).
    void GroupStarted(const std::string& group, size_t index, size_t groups, int run);
    void Add(const Finding& finding, int run, uint64_t seed);
    void GroupEnded(bool crashed, bool hung, double seconds);
    // Prints the summary (and the JSON document); returns the exit code: 5 when the module
    // crashed, 1 when a test failed or hung, else 0.
    int Finish();

    Counts Totals() const;

  private:
    struct Entry {
        Finding finding;
        int run;
        uint64_t seed;
    };
    void ClearProgress();

    FILE* out;
    bool json, progress;
    bool progressShown = false;
    std::string module;
    int strictness = 0, repeat = 1;
    uint64_t seed = 0;
    std::vector<Entry> entries;
    int crashes = 0, hangs = 0;
    double seconds = 0;
};
