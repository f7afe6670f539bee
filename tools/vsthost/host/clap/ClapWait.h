// The platform half of the main loop: waits up to timeoutMs for one of the registered fds to
// become ready (POSIX) or for window messages, which it dispatches (Windows), and reports each
// ready fd with the flags that fired. [main thread]
#pragma once

#include <utility>
#include <vector>

#include "tools/vsthost/host/clap/ClapHost.h"

std::vector<std::pair<int, uint32_t>> ClapWait(const std::vector<ClapHost::Fd>& fds, int timeoutMs);
