// VST 3 binary interface, the editor: the plug-in's view, the host's frame around it, and on
// Linux the host's run loop that drives the view's timer and file descriptor (Linux has no global
// event loop). Layouts identical on Linux and Windows.
#pragma once

#include "abi/Vst3Base.h"

namespace vst3 {

constexpr const char* kEditorViewType = "editor";
constexpr const char* kPlatformTypeHWND = "HWND";
// The parent arrives as the X11 window id itself, in the pointer's place.
constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

struct ViewRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

class IPlugFrame;

class IPlugView : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
    virtual tresult isPlatformTypeSupported(FIDString type) noexcept = 0;
    virtual tresult attached(void* parent, FIDString type) noexcept = 0;
    virtual tresult removed() noexcept = 0;
    virtual tresult onWheel(float distance) noexcept = 0;
    virtual tresult onKeyDown(char16 key, int16_t keyCode, int16_t modifiers) noexcept = 0;
    virtual tresult onKeyUp(char16 key, int16_t keyCode, int16_t modifiers) noexcept = 0;
    virtual tresult getSize(ViewRect* size) noexcept = 0;
    virtual tresult onSize(ViewRect* newSize) noexcept = 0;
    virtual tresult onFocus(TBool state) noexcept = 0;
    virtual tresult setFrame(IPlugFrame* frame) noexcept = 0;
    virtual tresult canResize() noexcept = 0;
    virtual tresult checkSizeConstraint(ViewRect* rect) noexcept = 0;

  protected:
    ~IPlugView() = default;  // never deleted through an interface
};

class IPlugFrame : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
    virtual tresult resizeView(IPlugView* view, ViewRect* newSize) noexcept = 0;

  protected:
    ~IPlugFrame() = default;  // never deleted through an interface
};

// ---- the Linux run loop (queried from the frame) --------------------------------------------
using FileDescriptor = int;
using TimerInterval = uint64_t;  // milliseconds

class IEventHandler : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
    virtual void onFDIsSet(FileDescriptor fd) noexcept = 0;

  protected:
    ~IEventHandler() = default;  // never deleted through an interface
};

class ITimerHandler : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
    virtual void onTimer() noexcept = 0;

  protected:
    ~ITimerHandler() = default;  // never deleted through an interface
};

class IRunLoop : public FUnknown {
  public:
    static constexpr Uid iid = MakeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
    virtual tresult registerEventHandler(IEventHandler* handler, FileDescriptor fd) noexcept = 0;
    virtual tresult unregisterEventHandler(IEventHandler* handler) noexcept = 0;
    virtual tresult registerTimer(ITimerHandler* handler, TimerInterval milliseconds) noexcept = 0;
    virtual tresult unregisterTimer(ITimerHandler* handler) noexcept = 0;

  protected:
    ~IRunLoop() = default;  // never deleted through an interface
};

static_assert(sizeof(ViewRect) == 16 && alignof(ViewRect) == 4);
static_assert(offsetof(ViewRect, right) == 8);
static_assert(sizeof(FileDescriptor) == 4 && sizeof(TimerInterval) == 8);

}  // namespace vst3
