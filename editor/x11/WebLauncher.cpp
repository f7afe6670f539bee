#include "editor/x11/WebLauncher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <mutex>
#include <vector>

extern char** environ;

namespace {

std::mutex gLock;
std::vector<pid_t>& Children() {
    static std::vector<pid_t> children;
    return children;
}

void ReapLocked() {
    auto& children = Children();
    children.erase(std::remove_if(children.begin(), children.end(),
                                  [](pid_t pid) {
                                      int status = 0;
                                      const pid_t done = waitpid(pid, &status, WNOHANG);
                                      // Ended, or no longer ours to wait for (the host reaped it).
                                      return done == pid || done < 0;
                                  }),
                   children.end());
}

}  // namespace

bool WebLauncher::Open(const char* address) {
    if (!address || !*address || address[0] == '-') return false;
    std::lock_guard<std::mutex> hold(gLock);
    ReapLocked();
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(address), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
    Children().push_back(pid);
    return true;
}

void WebLauncher::Reap() {
    std::lock_guard<std::mutex> hold(gLock);
    if (!Children().empty()) ReapLocked();
}

int WebLauncher::Pending() {
    std::lock_guard<std::mutex> hold(gLock);
    return static_cast<int>(Children().size());
}
