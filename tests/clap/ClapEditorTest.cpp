// The editor through the gui extension, embedded in a real window of the platform (X11 on the
// test run's display, Win32 under Wine): created, parented, driven by the host's loop, destroyed.
#include <cstring>

#include "tests/clap/ClapVesmar.h"
#include "tools/vsthost/host/clap/ClapParentWindow.h"

TEST_F(ClapVesmar, EditorEmbedsAtFixedSizeIsDrivenByTheHostLoopAndLeavesCleanly) {
    ClapParentWindow parent;
    std::string error;
    if (!parent.Open(480, 260, error)) GTEST_SKIP() << error;
    auto* gui = fx->Extension<clap_plugin_gui>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    const clap_plugin* p = fx->Raw();
    const char* api = parent.Window().api;
    const char* preferred = nullptr;
    bool floating = true;
    ASSERT_TRUE(gui->get_preferred_api(p, &preferred, &floating));
    EXPECT_STREQ(preferred, api);
    EXPECT_FALSE(floating);
    EXPECT_FALSE(gui->is_api_supported(p, api, true));
    EXPECT_FALSE(gui->is_api_supported(p, "cocoa", false));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(gui->is_api_supported(p, api, false));
        ASSERT_TRUE(gui->create(p, api, false));
        EXPECT_TRUE(fx->Host().Timers().empty());  // nothing registered before the window exists
        gui->set_scale(p, 2.0);
        uint32_t w = 0, h = 0;
        ASSERT_TRUE(gui->get_size(p, &w, &h));
        EXPECT_EQ(w, 480u);
        EXPECT_EQ(h, 260u);
        EXPECT_FALSE(gui->can_resize(p));
        EXPECT_FALSE(gui->set_size(p, 600, 300));
        ASSERT_TRUE(gui->set_parent(p, &parent.Window()));
        EXPECT_TRUE(gui->show(p));
        EXPECT_EQ(parent.ChildCount(), 1);
#ifndef _WIN32
        ASSERT_EQ(fx->Host().Timers().size(), 1u);
        EXPECT_GE(fx->Host().Timers()[0].periodMs, 33u);
        ASSERT_EQ(fx->Host().Fds().size(), 1u);
        EXPECT_EQ(fx->Host().Fds()[0].flags, CLAP_POSIX_FD_READ);
#endif
        ClapMainLoop::Run(*fx, std::chrono::milliseconds(250));
        EXPECT_TRUE(gui->hide(p));
        gui->destroy(p);
        EXPECT_TRUE(fx->Host().Timers().empty());
        EXPECT_TRUE(fx->Host().Fds().empty());
        ClapMainLoop::Run(*fx, std::chrono::milliseconds(20));
        EXPECT_EQ(parent.ChildCount(), 0);
    }
}
