// Runs a program as a child process and collects what it prints (standard output and error
// together), its exit status and whether it died of a signal or ran out of time. The scan runs
// each module in one of these, so that a module that crashes or hangs ends only its child.
#pragma once

#include <string>
#include <vector>

struct ChildResult {
    bool started = false;
    bool timedOut = false;  // killed after the time limit
    bool signaled = false;  // died of a signal (Linux); exitCode then holds the signal number
    int exitCode = -1;
    std::string output;  // at most kMaxOutput bytes
    std::string error;   // why the child could not be started
};

constexpr size_t kMaxChildOutput = 1 << 20;

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            double timeoutSeconds);
// The path of the running executable, to start vsthost itself as the child.
std::string SelfExecutablePath();
