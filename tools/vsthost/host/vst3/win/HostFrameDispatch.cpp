#include <windows.h>

#include "tools/vsthost/host/vst3/HostFrame.h"

// Windows views run on the system's message loop: serve it, and the timers if any were set.
int HostFrame::Dispatch(int timeoutMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(WaitFor(timeoutMs)), QS_ALLINPUT);
    int calls = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++calls;
    }
    return calls + FireTimers();
}
