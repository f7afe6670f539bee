#include "vst3/Vst3View.h"

#include <cstring>
#include <mutex>

#include "vst3/Vst3Plugin.h"

namespace {

#ifdef _WIN32
constexpr const char* kPlatformType = vst3::kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = vst3::kPlatformTypeX11EmbedWindowID;
#endif

}  // namespace

Vst3View::Vst3View(Vst3Plugin& plugin) : plugin(plugin) {
    plugin.addRef();
}

Vst3View::~Vst3View() {
    removed();
    setFrame(nullptr);
    plugin.release();
}

vst3::tresult Vst3View::queryInterface(const vst3::TUID iid, void** obj) noexcept {
    if (!obj) return vst3::kInvalidArgument;
    void* found = nullptr;
    if (vst3::FUnknown::iid.Is(iid) || vst3::IPlugView::iid.Is(iid)) {
        found = static_cast<vst3::IPlugView*>(this);
    } else if (vst3::ITimerHandler::iid.Is(iid)) {
        found = static_cast<vst3::ITimerHandler*>(this);
    } else if (vst3::IEventHandler::iid.Is(iid)) {
        found = static_cast<vst3::IEventHandler*>(this);
    }
    *obj = found;
    if (!found) return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

uint32_t Vst3View::release() noexcept {
    const uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

vst3::tresult Vst3View::isPlatformTypeSupported(vst3::FIDString type) noexcept {
    return type && std::strcmp(type, kPlatformType) == 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult Vst3View::attached(void* parent, vst3::FIDString type) noexcept {
    if (open || isPlatformTypeSupported(type) != vst3::kResultTrue || !parent) return vst3::kResultFalse;
    try {
        IPluginCore& core = plugin.Core();
        std::lock_guard<std::recursive_mutex> hold(core.Lock());
        if (!core.Editor() || !core.Editor()->OpenWindow(parent)) return vst3::kResultFalse;
        core.OnEditorOpened();
        open = true;
    } catch (...) {
        return vst3::kResultFalse;
    }
    StartTicks();
    return vst3::kResultOk;
}

vst3::tresult Vst3View::removed() noexcept {
    if (!open) return vst3::kResultFalse;
    // Nothing of the view stays registered with the host once it is gone.
    StopTicks();
    IPluginCore& core = plugin.Core();
    std::lock_guard<std::recursive_mutex> hold(core.Lock());
    open = false;
    core.OnEditorClosed();
    core.Editor()->CloseWindow();
    return vst3::kResultOk;
}

vst3::ViewRect Vst3View::Size() const {
    IPluginCore& core = plugin.Core();
    std::lock_guard<std::recursive_mutex> hold(core.Lock());
    const IEditorLink* editor = core.Editor();
    return {0, 0, editor ? editor->Width() : 0, editor ? editor->Height() : 0};
}

vst3::tresult Vst3View::getSize(vst3::ViewRect* size) noexcept {
    if (!size) return vst3::kInvalidArgument;
    *size = Size();
    return vst3::kResultOk;
}

vst3::tresult Vst3View::onSize(vst3::ViewRect* newSize) noexcept {
    // The window keeps its one size; the host may frame it as it likes.
    return newSize ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult Vst3View::checkSizeConstraint(vst3::ViewRect* rect) noexcept {
    if (!rect) return vst3::kInvalidArgument;
    const vst3::ViewRect size = Size();
    rect->right = rect->left + size.right;
    rect->bottom = rect->top + size.bottom;
    return vst3::kResultOk;
}

vst3::tresult Vst3View::setFrame(vst3::IPlugFrame* newFrame) noexcept {
    if (newFrame == frame) return vst3::kResultOk;
    // Some hosts set the frame only after attached: the ticks start with the frame then.
    if (open) StopTicks();
    if (newFrame) newFrame->addRef();
    if (frame) frame->release();
    frame = newFrame;
    if (open) StartTicks();
    return vst3::kResultOk;
}

// Both without the lock, as the editor's own window timer runs: what they reach locks itself.
void Vst3View::onTimer() noexcept {
    if (!open) return;
    try {
        plugin.Core().Editor()->OnTimer();
        plugin.FlushHostRequests();
    } catch (...) {
    }
}

void Vst3View::onFDIsSet(vst3::FileDescriptor) noexcept {
    if (!open) return;
    try {
        plugin.Core().Editor()->OnFdReady();
    } catch (...) {
    }
}
