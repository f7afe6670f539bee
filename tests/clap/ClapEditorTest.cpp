// The editor through the gui extension, embedded in a real window of the platform (X11 on the
// test run's display, Win32 under Wine): created, parented, driven by the host's loop, destroyed.
#include <cstring>

#include "tests/clap/ClapVesmar.h"
#include "tools/vsthost/host/clap/ClapParentWindow.h"

namespace {

// What the host received: the events of one kind and parameter, in order.
std::vector<uint16_t> Kinds(const ClapOutputEvents& events, clap_id id) {
    std::vector<uint16_t> kinds;
    for (const ClapStoredEvent& e : events.Events()) {
        uint16_t type = e.Header()->type;
        clap_id of = type == CLAP_EVENT_PARAM_VALUE ? e.As<clap_event_param_value>().param_id
                                                    : e.As<clap_event_param_gesture>().param_id;
        if (of == id && (kinds.empty() || kinds.back() != type)) kinds.push_back(type);
    }
    return kinds;
}

// A user's drag on the Attack knob while the host is not processing: the host is asked for a
// flush, and the flush carries begin, the values and end; the last value is the parameter's.
void ExpectKnobDragReported(ClapPlugin& fx, const ClapParentWindow& parent) {
    constexpr int kAttackKnobX = 60, kAttackKnobY = 119;
    if (!parent.Drag(kAttackKnobX, kAttackKnobY, 40)) GTEST_SKIP() << "no synthetic input";
    ClapMainLoop::Run(fx, std::chrono::milliseconds(200));
    const ClapOutputEvents& flushed = fx.FlushedEvents();
    EXPECT_EQ(Kinds(flushed, 0),
              (std::vector<uint16_t>{CLAP_EVENT_PARAM_GESTURE_BEGIN, CLAP_EVENT_PARAM_VALUE,
                                     CLAP_EVENT_PARAM_GESTURE_END}));
    double last = -1, now = -2;
    for (const ClapStoredEvent& e : flushed.Events()) {
        if (e.Header()->type == CLAP_EVENT_PARAM_VALUE) last = e.As<clap_event_param_value>().value;
    }
    fx.Extension<clap_plugin_params>(CLAP_EXT_PARAMS)->get_value(fx.Raw(), 0, &now);
    EXPECT_EQ(now, last);
    EXPECT_GT(now, 500);
}

}  // namespace

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
        if (round == 0) ExpectKnobDragReported(*fx, parent);
        EXPECT_TRUE(gui->hide(p));
        gui->destroy(p);
        EXPECT_TRUE(fx->Host().Timers().empty());
        EXPECT_TRUE(fx->Host().Fds().empty());
        ClapMainLoop::Run(*fx, std::chrono::milliseconds(20));
        EXPECT_EQ(parent.ChildCount(), 0);
    }
}
