#include <windows.h>

#include "tools/vsthost/host/clap/ClapWait.h"

std::vector<std::pair<int, uint32_t>> ClapWait(const std::vector<ClapHost::Fd>&, int timeoutMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeoutMs), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return {};
}
