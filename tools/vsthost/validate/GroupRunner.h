// The parent's side of a group: runs it in a child vsthost ("validate MODULE --group-child G
// ..."), then turns the child's lines and its end into findings. A child that dies before its
// end line crashed (the test it had begun and the call named by the crash guard, or the last call
// it announced, are charged); one that outlives the timeout is killed and its open test fails;
// leaks the leak checker reports at the child's exit are a finding of the group. [UI thread]
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/host/ChildProcess.h"
#include "tools/vsthost/validate/Finding.h"

struct GroupOutcome {
    std::vector<Finding> findings;
    bool crashed = false;  // the child died during a test
    bool hung = false;     // killed after the timeout
    double seconds = 0;
};

struct GroupRun {
    std::string self;  // vsthost's own executable
    std::string module;
    std::string group;
    int strictness = 10;
    uint64_t seed = 0;
    double timeout = 120;
};

GroupOutcome RunGroupInChild(const GroupRun& run);

// The findings of a child's output and end (separate from running it, for tests).
GroupOutcome InterpretGroupChild(const GroupRun& run, const ChildResult& child);
