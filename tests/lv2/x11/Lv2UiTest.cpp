// The LV2 UI as a host embeds it, on the test run's X display (skipped without one): in the host's
// window, its size announced, its picture the VST 2 editor's for the same values, a knob drag
// written to the port in plain units inside a touch gesture, and a value the host reports not
// written back.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <lv2/ui/ui.h>

#include "effect/CreateEffect.h"
#include "lv2/Lv2PortLayout.h"
#include "tools/vsthost/editor/x11/X11HostWindow.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/host/SharedLibrary.h"

namespace {
constexpr int kWidth = 480, kHeight = 260;

// What the UI told its host.
struct HostSide {
    std::vector<std::pair<uint32_t, float>> writes;
    std::vector<std::pair<uint32_t, bool>> touches;
    int width = 0, height = 0;
};

void Write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    ASSERT_EQ(size, sizeof(float));
    ASSERT_EQ(format, 0u);
    static_cast<HostSide*>(controller)->writes.emplace_back(port, *static_cast<const float*>(buffer));
}
void Touch(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<HostSide*>(handle)->touches.emplace_back(port, grabbed);
}
int Resize(LV2UI_Feature_Handle handle, int width, int height) {
    static_cast<HostSide*>(handle)->width = width;
    static_cast<HostSide*>(handle)->height = height;
    return 0;
}

// Idles for about the given time, as a host's UI timer does (the editor paints on its own ticks).
template <typename Idle>
void IdleFor(X11HostWindow& window, Idle idle, int milliseconds) {
    for (int t = 0; t < milliseconds; t += 15) {
        window.Sync();
        idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
}

// The editor's picture once it has painted everything: captures until two in a row agree, since a
// loaded machine may take several ticks for the first full paint.
template <typename Idle>
bool SettledPicture(X11HostWindow& window, Idle idle, Screenshot& picture, std::string& error) {
    Screenshot previous;
    for (int round = 0; round < 20; ++round) {
        IdleFor(window, idle, 150);
        if (!window.Capture(window.NewestChild(), kWidth, kHeight, picture, error)) return false;
        if (round > 0 && picture.pixels == previous.pixels) return true;
        previous = picture;
    }
    return true;
}

TEST(Lv2Ui, EmbedsTheEditorAndWritesItsChangesToThePorts) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    SharedLibrary module;
    std::string error;
    ASSERT_TRUE(module.Open(std::string(VESMAR_LV2_BUNDLE) + "/vesmar.so", error)) << error;
    auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(module.Symbol("lv2ui_descriptor"));
    ASSERT_NE(entry, nullptr);
    const LV2UI_Descriptor* ui = entry(0);
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(entry(1), nullptr);
    const std::string base = EffectDescriptor().lv2Uri;
    EXPECT_EQ(ui->URI, base + kLv2UiSuffix);
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);

    // The VST 2 editor's picture at the defaults, for comparison.
    X11HostWindow vstWindow;
    ASSERT_TRUE(vstWindow.Open(kWidth, kHeight, "VST 2", error)) << error;
    if (!vstWindow.HasXTest()) GTEST_SKIP() << "no XTest on this display";
    PluginSession vst;
    ASSERT_TRUE(vst.Start(VESMAR_VST_MODULE, 44100, 512, error)) << error;
    ASSERT_EQ(
        vst.Effect().Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{vstWindow.Window()})), 1);
    Screenshot expected;
    ASSERT_TRUE(SettledPicture(
        vstWindow, [&] { vst.Effect().Dispatch(effEditIdle); }, expected, error))
        << error;
    ASSERT_NE(std::count(expected.pixels.begin(), expected.pixels.end(), expected.pixels[0]),
              static_cast<std::ptrdiff_t>(expected.pixels.size()))
        << "the VST 2 editor drew nothing";

    X11HostWindow window;
    ASSERT_TRUE(window.Open(kWidth, kHeight, "LV2", error)) << error;
    HostSide host;
    LV2UI_Touch touch{&host, Touch};
    LV2UI_Resize resize{&host, Resize};
    const LV2_Feature parent{LV2_UI__parent, reinterpret_cast<void*>(uintptr_t{window.Window()})};
    const LV2_Feature touchFeature{LV2_UI__touch, &touch}, resizeFeature{LV2_UI__resize, &resize};
    const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
    const LV2_Feature* features[] = {&parent, &touchFeature, &resizeFeature, &idleFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    EXPECT_EQ(ui->instantiate(ui, "urn:someone:else", VESMAR_LV2_BUNDLE, Write, &host, &widget, features),
              nullptr);
    const std::string stereo = base + kLv2Variants[0].uriSuffix;
    LV2UI_Handle handle =
        ui->instantiate(ui, stereo.c_str(), VESMAR_LV2_BUNDLE, Write, &host, &widget, features);
    ASSERT_NE(handle, nullptr);
    window.Sync();
    EXPECT_EQ(reinterpret_cast<uintptr_t>(widget), window.NewestChild());
    EXPECT_EQ(std::make_pair(host.width, host.height), std::make_pair(kWidth, kHeight));

    // The host reports every value, as it does when the UI opens: nothing is written back.
    std::unique_ptr<IPluginCore> defaults = CreateEffect();
    for (int i = 0; i < defaults->ParameterCount(); ++i) {
        const float value = static_cast<float>(defaults->Parameter(i)->PlainValue());
        ui->port_event(handle, static_cast<uint32_t>(i), sizeof value, 0, &value);
    }
    Screenshot shot;
    ASSERT_TRUE(SettledPicture(
        window, [&] { EXPECT_EQ(idle->idle(handle), 0); }, shot, error))
        << error;
    EXPECT_TRUE(host.writes.empty());
    EXPECT_TRUE(shot.pixels == expected.pixels) << "the LV2 UI's picture differs from the VST 2 editor's";

    // A drag up on the Attack knob: plain values for port 0, bracketed by a touch gesture.
    {
        int x = 0, y = 0;
        ASSERT_TRUE(window.ToScreen(window.NewestChild(), 60, 119, x, y));
        window.FakeMotion(x, y);
        IdleFor(
            window, [&] { idle->idle(handle); }, 50);
        window.FakeButton(1, true);
        IdleFor(
            window, [&] { idle->idle(handle); }, 50);
        window.FakeMotion(x, y - 40);
        IdleFor(
            window, [&] { idle->idle(handle); }, 50);
        window.FakeButton(1, false);
        IdleFor(
            window, [&] { idle->idle(handle); }, 100);
        ASSERT_FALSE(host.writes.empty());
        EXPECT_EQ(host.writes.back().first, 0u);
        EXPECT_GT(host.writes.back().second, 500.0f);
        EXPECT_EQ(host.writes.back().second, std::round(host.writes.back().second));  // an Integer port
        const std::vector<std::pair<uint32_t, bool>> gesture = {{0, true}, {0, false}};
        EXPECT_EQ(host.touches, gesture);
    }
    ui->cleanup(handle);
    window.Sync();
    EXPECT_EQ(window.NewestChild(), 0u);
    vst.Effect().Dispatch(effEditClose);
}
}  // namespace
