// Linux: the editor's timer and its window connection's fd, from the frame's run loop while the
// view is attached.
#include "vst3/Vst3Plugin.h"
#include "vst3/Vst3View.h"

namespace {

constexpr vst3::TimerInterval kDefaultMilliseconds = 41;  // 24 Hz

}  // namespace

void Vst3View::StartTicks() {
    if (runLoop || !frame) return;
    void* obj = nullptr;
    if (frame->queryInterface(vst3::IRunLoop::iid.data(), &obj) != vst3::kResultOk || !obj) return;
    auto* loop = static_cast<vst3::IRunLoop*>(obj);
    const IEditorView* editor = plugin.Core().Editor();
    const int period = editor->TimerMilliseconds();
    const vst3::TimerInterval ms =
        period > 0 ? static_cast<vst3::TimerInterval>(period) : kDefaultMilliseconds;
    if (loop->registerTimer(this, ms) != vst3::kResultOk) {
        loop->release();
        return;
    }
    runLoop = loop;
    const int fd = editor->EventFd();
    watching = fd >= 0 && loop->registerEventHandler(this, fd) == vst3::kResultOk;
}

void Vst3View::StopTicks() {
    auto* loop = static_cast<vst3::IRunLoop*>(runLoop);
    if (!loop) return;
    runLoop = nullptr;
    if (watching) loop->unregisterEventHandler(this);
    watching = false;
    loop->unregisterTimer(this);
    loop->release();
}
