// Linux: the editor ticks from the frame's run loop while the view is attached.
#include "vst3/Vst3View.h"

namespace {

constexpr vst3::TimerInterval kTickMilliseconds = 41;  // 24 Hz

}  // namespace

void Vst3View::StartTicks() {
    if (runLoop || !frame) return;
    void* obj = nullptr;
    if (frame->queryInterface(vst3::IRunLoop::iid.data(), &obj) != vst3::kResultOk || !obj) return;
    auto* loop = static_cast<vst3::IRunLoop*>(obj);
    if (loop->registerTimer(this, kTickMilliseconds) != vst3::kResultOk) {
        loop->release();
        return;
    }
    runLoop = loop;
}

void Vst3View::StopTicks() {
    auto* loop = static_cast<vst3::IRunLoop*>(runLoop);
    if (!loop) return;
    runLoop = nullptr;
    loop->unregisterTimer(this);
    loop->release();
}
