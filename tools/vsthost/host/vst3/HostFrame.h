// The host's frame around a plug-in's view and, on Linux, the run loop the view reaches through
// it: fd watches and timers the host's UI loop serves (Dispatch). Registration and removal are
// safe from inside a callback; handlers are add-referenced while registered.
#pragma once

#include <chrono>
#include <vector>

#include "abi/Vst3View.h"
#include "tools/vsthost/host/vst3/HostReference.h"

class HostFrame final : public vst3::IPlugFrame, public vst3::IRunLoop {
  public:
    ~HostFrame();

    // Serves the run loop once: waits up to timeoutMs for a watched fd or the next timer, then
    // calls the ready handlers. Returns the number of callbacks made.
    int Dispatch(int timeoutMs);
    size_t EventHandlerCount() const { return fdWatches.size(); }
    size_t TimerCount() const { return timers.size(); }
    int ResizeRequests() const { return resizeRequests; }
    uint32_t ExtraReferences() const { return refs.Extra(); }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override;
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    // A fixed-size host: records the request and refuses it.
    vst3::tresult resizeView(vst3::IPlugView*, vst3::ViewRect*) noexcept override {
        ++resizeRequests;
        return vst3::kResultFalse;
    }
    vst3::tresult registerEventHandler(vst3::IEventHandler* handler,
                                       vst3::FileDescriptor fd) noexcept override;
    vst3::tresult unregisterEventHandler(vst3::IEventHandler* handler) noexcept override;
    vst3::tresult registerTimer(vst3::ITimerHandler* handler, vst3::TimerInterval ms) noexcept override;
    vst3::tresult unregisterTimer(vst3::ITimerHandler* handler) noexcept override;

  private:
    using Clock = std::chrono::steady_clock;
    struct FdWatch {
        vst3::IEventHandler* handler;
        vst3::FileDescriptor fd;
    };
    struct Timer {
        vst3::ITimerHandler* handler;
        std::chrono::milliseconds interval;
        Clock::time_point due;
    };

    bool Watching(vst3::IEventHandler* handler, vst3::FileDescriptor fd) const;
    // Fires the due timers that are still registered when their turn comes.
    int FireTimers();
    // Milliseconds until the next timer is due, at most limit.
    int WaitFor(int limit) const;

    std::vector<FdWatch> fdWatches;
    std::vector<Timer> timers;
    int resizeRequests = 0;
    HostReference refs;
};
