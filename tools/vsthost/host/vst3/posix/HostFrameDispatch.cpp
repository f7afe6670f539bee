#include <poll.h>

#include <vector>

#include "tools/vsthost/host/vst3/HostFrame.h"

int HostFrame::Dispatch(int timeoutMs) {
    std::vector<pollfd> fds;
    std::vector<FdWatch> watched = fdWatches;  // callbacks may change the registrations
    for (const FdWatch& w : watched) fds.push_back({w.fd, POLLIN, 0});
    int calls = 0;
    if (poll(fds.data(), fds.size(), WaitFor(timeoutMs)) > 0) {
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            if (!Watching(watched[i].handler, watched[i].fd)) continue;
            watched[i].handler->onFDIsSet(watched[i].fd);
            ++calls;
        }
    }
    return calls + FireTimers();
}
