#include "tools/vsthost/host/clap/ClapMainLoop.h"

#include <algorithm>

#include "tools/vsthost/host/clap/ClapWait.h"

namespace {

using Clock = std::chrono::steady_clock;

void RunDueTimers(ClapPlugin& plugin, Clock::time_point now) {
    auto* timer = plugin.Extension<clap_plugin_timer_support>(CLAP_EXT_TIMER_SUPPORT);
    // Copy the ids: on_timer may register or unregister timers.
    std::vector<clap_id> due;
    for (ClapHost::Timer& t : plugin.Host().Timers()) {
        if (t.due > now) continue;
        due.push_back(t.id);
        t.due = now + std::chrono::milliseconds(t.periodMs);
    }
    for (clap_id id : due) {
        if (timer) timer->on_timer(plugin.Raw(), id);
    }
}

int MillisecondsToNextTimer(ClapPlugin& plugin, Clock::time_point now, Clock::time_point end) {
    Clock::time_point next = end;
    for (const ClapHost::Timer& t : plugin.Host().Timers()) next = std::min(next, t.due);
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, 50));
}

}  // namespace

void ClapMainLoop::Run(ClapPlugin& plugin, std::chrono::milliseconds duration) {
    Clock::time_point end = Clock::now() + duration;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        plugin.ServiceRequests();
        RunDueTimers(plugin, now);
        auto fired = ClapWait(plugin.Host().Fds(), MillisecondsToNextTimer(plugin, Clock::now(), end));
#ifndef _WIN32
        auto* fdSupport = plugin.Extension<clap_plugin_posix_fd_support>(CLAP_EXT_POSIX_FD_SUPPORT);
        for (auto [fd, flags] : fired) {
            if (fdSupport) fdSupport->on_fd(plugin.Raw(), fd, flags);
        }
#endif
    }
    plugin.ServiceRequests();
}
