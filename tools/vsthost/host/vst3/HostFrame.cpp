#include "tools/vsthost/host/vst3/HostFrame.h"

#include <algorithm>

HostFrame::~HostFrame() {
    for (FdWatch& w : fdWatches) w.handler->release();
    for (Timer& t : timers) t.handler->release();
}

vst3::tresult HostFrame::queryInterface(const vst3::TUID iid, void** obj) noexcept {
#ifndef _WIN32
    // Only Linux has the run loop; Windows views are driven by the system's message loop.
    if (vst3::IRunLoop::iid.Is(iid) && obj) {
        addRef();
        *obj = static_cast<vst3::IRunLoop*>(this);
        return vst3::kResultOk;
    }
#endif
    return OfferInterface<vst3::IPlugFrame>(iid, this, obj);
}

vst3::tresult HostFrame::registerEventHandler(vst3::IEventHandler* handler,
                                              vst3::FileDescriptor fd) noexcept {
    if (!handler || fd < 0) return vst3::kInvalidArgument;
    try {
        fdWatches.push_back({handler, fd});
    } catch (...) {
        return vst3::kOutOfMemory;
    }
    handler->addRef();
    return vst3::kResultOk;
}

vst3::tresult HostFrame::unregisterEventHandler(vst3::IEventHandler* handler) noexcept {
    auto it = std::find_if(fdWatches.begin(), fdWatches.end(),
                           [&](const FdWatch& w) { return w.handler == handler; });
    if (it == fdWatches.end()) return vst3::kInvalidArgument;
    fdWatches.erase(it);
    handler->release();
    return vst3::kResultOk;
}

vst3::tresult HostFrame::registerTimer(vst3::ITimerHandler* handler, vst3::TimerInterval ms) noexcept {
    if (!handler || ms == 0) return vst3::kInvalidArgument;
    const std::chrono::milliseconds interval(std::min<vst3::TimerInterval>(ms, 1000 * 3600));
    try {
        timers.push_back({handler, interval, Clock::now() + interval});
    } catch (...) {
        return vst3::kOutOfMemory;
    }
    handler->addRef();
    return vst3::kResultOk;
}

vst3::tresult HostFrame::unregisterTimer(vst3::ITimerHandler* handler) noexcept {
    auto it =
        std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; });
    if (it == timers.end()) return vst3::kInvalidArgument;
    timers.erase(it);
    handler->release();
    return vst3::kResultOk;
}

bool HostFrame::Watching(vst3::IEventHandler* handler, vst3::FileDescriptor fd) const {
    return std::any_of(fdWatches.begin(), fdWatches.end(),
                       [&](const FdWatch& w) { return w.handler == handler && w.fd == fd; });
}

int HostFrame::FireTimers() {
    const Clock::time_point now = Clock::now();
    std::vector<vst3::ITimerHandler*> due;
    for (Timer& t : timers) {
        if (t.due <= now) {
            due.push_back(t.handler);
            t.due = now + t.interval;
        }
    }
    int calls = 0;
    for (vst3::ITimerHandler* handler : due) {
        // A callback may have removed this timer (or another one) meanwhile.
        if (std::none_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == handler; }))
            continue;
        handler->onTimer();
        ++calls;
    }
    return calls;
}

int HostFrame::WaitFor(int limit) const {
    const Clock::time_point now = Clock::now();
    int wait = limit;
    for (const Timer& t : timers) {
        // Rounded up: waking before the timer is due would fire nothing.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(t.due - now).count();
        wait = std::min(wait, static_cast<int>(std::max<long long>(0, left)));
    }
    return wait;
}
