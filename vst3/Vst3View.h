// The editor as a VST 3 view: opens the effect's editor window inside the host's parent (an HWND,
// or an X11 window id passed as the pointer's value) and closes it in removed. On Linux, which has
// no global event loop, the editor runs from the frame's run loop while attached: its timer (24 Hz)
// as a run-loop timer, which also sends what the audio thread left for the host, and its window
// connection's file descriptor as a watched fd. Nothing stays registered after removed. Fixed size.
//
// Threads: every call on the UI thread. Holds a reference to the plug-in while it lives.
#pragma once

#include <atomic>

#include "abi/Vst3View.h"

class Vst3Plugin;

class Vst3View final : public vst3::IPlugView, public vst3::ITimerHandler, public vst3::IEventHandler {
  public:
    explicit Vst3View(Vst3Plugin& plugin);
    ~Vst3View();

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override;
    uint32_t addRef() noexcept override { return ++references; }
    uint32_t release() noexcept override;

    vst3::tresult isPlatformTypeSupported(vst3::FIDString type) noexcept override;
    vst3::tresult attached(void* parent, vst3::FIDString type) noexcept override;
    vst3::tresult removed() noexcept override;
    vst3::tresult onWheel(float) noexcept override { return vst3::kResultFalse; }
    // Keys reach the editor window through the system; the host keeps the ones it sends here.
    vst3::tresult onKeyDown(vst3::char16, int16_t, int16_t) noexcept override { return vst3::kResultFalse; }
    vst3::tresult onKeyUp(vst3::char16, int16_t, int16_t) noexcept override { return vst3::kResultFalse; }
    vst3::tresult getSize(vst3::ViewRect* size) noexcept override;
    vst3::tresult onSize(vst3::ViewRect* newSize) noexcept override;
    vst3::tresult onFocus(vst3::TBool) noexcept override { return vst3::kResultOk; }
    vst3::tresult setFrame(vst3::IPlugFrame* frame) noexcept override;
    vst3::tresult canResize() noexcept override { return vst3::kResultFalse; }
    vst3::tresult checkSizeConstraint(vst3::ViewRect* rect) noexcept override;

    void onTimer() noexcept override;
    void onFDIsSet(vst3::FileDescriptor fd) noexcept override;

  private:
    // The platform's part (posix/ or win/): start and stop the ticks while attached.
    void StartTicks();
    void StopTicks();
    vst3::ViewRect Size() const;

    Vst3Plugin& plugin;
    vst3::IPlugFrame* frame = nullptr;  // add-referenced while set
    void* runLoop = nullptr;            // the platform's run loop, add-referenced while ticking
    bool watching = false;              // the editor's fd is registered with the run loop
    bool open = false;
    std::atomic<uint32_t> references{1};
};
