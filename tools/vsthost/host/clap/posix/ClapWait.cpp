#include <poll.h>

#include "tools/vsthost/host/clap/ClapWait.h"

std::vector<std::pair<int, uint32_t>> ClapWait(const std::vector<ClapHost::Fd>& fds, int timeoutMs) {
    std::vector<pollfd> polled;
    for (const ClapHost::Fd& f : fds) {
        short events = 0;
        if (f.flags & CLAP_POSIX_FD_READ) events |= POLLIN;
        if (f.flags & CLAP_POSIX_FD_WRITE) events |= POLLOUT;
        polled.push_back({f.fd, events, 0});
    }
    std::vector<std::pair<int, uint32_t>> fired;
    if (poll(polled.data(), polled.size(), timeoutMs) <= 0) return fired;
    for (const pollfd& p : polled) {
        uint32_t flags = 0;
        if (p.revents & POLLIN) flags |= CLAP_POSIX_FD_READ;
        if (p.revents & POLLOUT) flags |= CLAP_POSIX_FD_WRITE;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) flags |= CLAP_POSIX_FD_ERROR;
        if (flags) fired.emplace_back(p.fd, flags);
    }
    return fired;
}
