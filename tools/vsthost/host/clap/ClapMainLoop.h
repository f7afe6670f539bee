// The host's main-thread loop for a while: runs the plug-in's registered timers when due, polls
// its registered fds (level-triggered: on_fd again while the condition lasts) and, on Windows,
// dispatches the thread's window messages; between them answers the plug-in's requests.
#pragma once

#include <chrono>

#include "tools/vsthost/host/clap/ClapPlugin.h"

class ClapMainLoop {
  public:
    // Runs the loop for the given time. [main thread]
    static void Run(ClapPlugin& plugin, std::chrono::milliseconds duration);
};
