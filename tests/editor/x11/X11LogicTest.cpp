// The X11 window's pure logic: the keysym table, the double-click rule and the tick clock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "base/x11/X11Keyboard.h"
#include "editor/EditorKeys.h"
#include "editor/x11/DoubleClickDetector.h"
#include "editor/x11/WebLauncher.h"
#include "editor/x11/TickClock.h"
#include "editor/x11/X11Keys.h"

namespace {

int EditorKey(uint32_t keysym) {
    return EditorKeyFromVirtualKey(X11Keys::VirtualKey(keysym));
}

TEST(X11Keys, KeysymsMapToTheEditorsKeyCodesAsVirtualKeysDo) {
    EXPECT_EQ(EditorKey(' '), 0);
    EXPECT_EQ(EditorKey(0xFF52), 1);  // Up
    EXPECT_EQ(EditorKey(0xFF54), 2);  // Down
    EXPECT_EQ(EditorKey(0xFF96), 3);  // keypad Left
    EXPECT_EQ(EditorKey(0xFF53), 4);  // Right
    EXPECT_EQ(EditorKey('0'), 5);
    EXPECT_EQ(EditorKey('a'), 15);
    EXPECT_EQ(EditorKey('Z'), 40);
    // Keypad digits and operators are the virtual keys 0x60-0x6F: from keypad 1 on, letters.
    EXPECT_EQ(X11Keys::VirtualKey(0xFFB0), 0x60u);
    EXPECT_EQ(EditorKey(0xFFB1), 15);
    EXPECT_EQ(X11Keys::VirtualKey(0xFFAF), 0x6Fu);  // keypad '/'
    for (uint32_t ignored : {0xFFBEu, 0xFF1Bu, 0xFF0Du, 0xE9u, 0u})
        EXPECT_EQ(X11Keys::VirtualKey(ignored), 0u);
    // The entry's characters and keys.
    EXPECT_EQ(X11Keys::Character(0xFFB7), '7');
    EXPECT_EQ(X11Keys::Character(0xFFAE), '.');
    EXPECT_EQ(X11Keys::Character(0xFF08), 0);
    EXPECT_EQ(X11Keys::EditKey(0xFF8D), ValuePopupModel::Key::Commit);
    EXPECT_EQ(X11Keys::EditKey(0xFF9F), ValuePopupModel::Key::Delete);
    // Shift or Lock picks the second column, NumLock only for keypad keys.
    EXPECT_EQ(X11Keyboard::Choose('a', 'A', 0, 0x10), uint32_t{'a'});
    EXPECT_EQ(X11Keyboard::Choose('a', 'A', 1, 0x10), uint32_t{'A'});
    EXPECT_EQ(X11Keyboard::Choose(0xFF9C, 0xFFB1, 1, 0x10), 0xFF9Cu);
    EXPECT_EQ(X11Keyboard::Choose(0xFF9C, 0xFFB1, 0x10, 0x10), 0xFFB1u);
    EXPECT_EQ(X11Keyboard::Choose('1', 0, 1, 0x10), uint32_t{'1'});
}

TEST(DoubleClickDetector, SecondPressWithinTimeAndDistance) {
    DoubleClickDetector d;
    EXPECT_FALSE(d.Press(1000, 10, 10));
    EXPECT_TRUE(d.Press(1400, 14, 6));
    EXPECT_FALSE(d.Press(1450, 14, 6));  // a third press starts anew
    EXPECT_FALSE(d.Press(1851, 14, 6));  // 401 ms later
    EXPECT_FALSE(d.Press(1900, 19, 6));  // 5 px away
    d.Reset();
    EXPECT_FALSE(d.Press(1950, 19, 6));
    // Server time wraps at 32 bits.
    EXPECT_FALSE(d.Press(0xFFFFFF00u, 0, 0));
    EXPECT_TRUE(d.Press(0x40u, 0, 0));
}

TEST(TickClock, SameRateForFrequentAndRareIdleCallsAndAStallIsNotReplayed) {
    constexpr int64_t kMs = 1000000;
    for (int64_t interval : {5 * kMs, 40 * kMs, 100 * kMs}) {
        TickClock clock(24);
        clock.Start(0);
        int ticks = 0;
        for (int64_t now = interval; now <= 10000 * kMs; now += interval) ticks += clock.Due(now);
        EXPECT_NEAR(ticks, 240, 1) << interval / kMs << " ms";
    }
    TickClock clock(24);
    clock.Start(0);
    EXPECT_EQ(clock.Due(5000 * kMs), TickClock::kMaxTicksPerCall);
    EXPECT_EQ(clock.Due(5010 * kMs), 0);
    EXPECT_EQ(clock.Due(5000 * kMs + clock.Period()), 1);
}

TEST(WebLauncher, StartsXdgOpenWithoutAShellAndReapsIt) {
    const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    char folder[] = "/tmp/vesmar-xdg-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string script = std::string(folder) + "/xdg-open";
    const std::string seen = std::string(folder) + "/seen";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > " << seen << "\n";
    chmod(script.c_str(), 0755);
    setenv("PATH", folder, 1);
    EXPECT_FALSE(WebLauncher::Open("--help"));  // never an option of xdg-open
    EXPECT_FALSE(WebLauncher::Open(""));
    EXPECT_TRUE(WebLauncher::Open("https://example.org/a b;$(x)"));
    for (int i = 0; i < 200 && WebLauncher::Pending() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        WebLauncher::Reap();
    }
    EXPECT_EQ(WebLauncher::Pending(), 0);  // no zombie left
    std::string got;
    std::getline(std::ifstream(seen), got);
    EXPECT_EQ(got, "https://example.org/a b;$(x)");  // one argument, untouched by any shell
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(WebLauncher::Open("https://example.org"));
    setenv("PATH", saved.c_str(), 1);
    unlink(seen.c_str());
    unlink(script.c_str());
    rmdir(folder);
}

}  // namespace
