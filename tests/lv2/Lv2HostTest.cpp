// The LV2 host library against a third-party plug-in from Debian (ZamDelay: control, audio and an
// atom input, options required, presets): what our plug-in's suite relies on must work with a
// plug-in we did not write.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/vsthost/host/lv2/Lv2Instance.h"

namespace {
const char* const kBundle = "/usr/lib/lv2/ZamDelay.lv2";
const char* const kUri = "urn:zamaudio:ZamDelay";

TEST(Lv2Host, DrivesAThirdPartyPlugin) {
    if (!std::filesystem::exists(kBundle)) GTEST_SKIP() << "zam-plugins is not installed";
    Lv2World world;
    Lv2UridMap urids;
    ASSERT_TRUE(world.LoadBundle(kBundle));
    EXPECT_FALSE(world.LoadBundle("/nonexistent.lv2"));
    EXPECT_EQ(world.Plugin("urn:nobody:nothing"), nullptr);
    Lv2Instance instance(world, urids);
    std::string error;
    ASSERT_TRUE(instance.Instantiate(world.Plugin(kUri), {}, error)) << error;
    ASSERT_FALSE(instance.AudioInputs().empty());

    // A preset changes a control; the saved state brings the value back.
    const std::vector<std::string> presets = world.Presets(world.Plugin(kUri));
    ASSERT_FALSE(presets.empty());
    const Lv2PortInfo* control = nullptr;
    for (const Lv2PortInfo& port : instance.Ports()) {
        if (port.kind == Lv2PortInfo::Kind::Control && port.input && !port.toggled) control = &port;
    }
    ASSERT_NE(control, nullptr);
    const float changed = control->maximum;
    ASSERT_TRUE(instance.SetControl(control->symbol, changed));
    const std::string saved = instance.SaveState();
    ASSERT_NE(saved.find(control->symbol), std::string::npos) << saved;
    ASSERT_TRUE(instance.ApplyPreset(presets.front()));
    ASSERT_TRUE(instance.RestoreState(saved));
    EXPECT_EQ(instance.Control(control->symbol), changed);
    EXPECT_FALSE(instance.RestoreState("this is no turtle"));

    instance.Activate();
    instance.AudioInputs()[0][0] = 1.0f;
    instance.Run(256, {});
    instance.Deactivate();
}
}  // namespace
