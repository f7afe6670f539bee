// For benchmarks that time a process's first use of a module: runs this program again with
// the given argument, reads the one number each run prints, and answers their median (0 when a
// run fails). Every sample is a fresh process, since an unloaded module cannot be relied on to
// forget what it set up.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/vsthost/host/ChildProcess.h"

inline double ChildMedian(const std::string& argument, int runs) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        const ChildResult child = RunChildProcess(SelfExecutablePath(), {argument}, 60.0);
        double value = 0.0;
        if (!child.started || child.exitCode != 0 || std::sscanf(child.output.c_str(), "%lf", &value) != 1)
            return 0.0;
        samples.push_back(value);
    }
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0.0 : samples[samples.size() / 2];
}
