#include <gtest/gtest.h>

#include "tests/support/TestPlugin.h"
#include "vst/HostTable.h"

// The fragment table: first match wins, case is ignored, unknown names give 0.
TEST(HostTable, MapsProductNames) {
    EXPECT_EQ(HostIdFromProductName("Cubase Pro", 256), HostId::Cubase);
    EXPECT_EQ(HostIdFromProductName("Ableton Live", 256), HostId::Live);
    EXPECT_EQ(HostIdFromProductName("REAPER", 256), HostId::Reaper);
    EXPECT_EQ(HostIdFromProductName("Cubase Live Edition", 256), HostId::Cubase);
    EXPECT_EQ(HostIdFromProductName("Ardour", 256), HostId::Ardour);
    EXPECT_EQ(static_cast<int32_t>(HostIdFromProductName("Acoustica Mixcraft", 256)), 25);
    EXPECT_EQ(HostIdFromProductName("vsthost", 256), HostId::Unknown);
    EXPECT_EQ(HostIdFromProductName("", 256), HostId::Unknown);
    EXPECT_EQ(HostIdFromProductName(nullptr, 256), HostId::Unknown);
    EXPECT_EQ(HostIdFromProductName("xxreaper", 4), HostId::Unknown);  // read only as far as allowed
}

// Decimal vendor versions become major.minor.patch packed; absurd values stay bounded.
TEST(HostTable, PacksVersions) {
    EXPECT_EQ(PackedHostVersion(50102), 5 * 65536 + 1 * 256 + 2);
    EXPECT_EQ(PackedHostVersion(0), 0);
    EXPECT_EQ(PackedHostVersion(-7), 0);
    EXPECT_EQ(PackedHostVersion(intptr_t{1} << 50) >> 16, 32767);
}

// The host is asked once; an empty name does not lead to a version query.
TEST(HostKind, AskedOnce) {
    PluginUnderTest named;
    named.host.product = "Cubase Elements";
    named.host.vendorVersion = 120003;
    EXPECT_EQ(named.plugin->HostKind(), HostId::Cubase);
    EXPECT_EQ(named.plugin->HostKind(), HostId::Cubase);
    EXPECT_EQ(named.adapter->HostVersion(), 12 * 65536 + 3);
    EXPECT_EQ(named.host.CountOf(audioMasterGetProductString), 1);
    EXPECT_EQ(named.host.CountOf(audioMasterGetVendorVersion), 1);

    PluginUnderTest anonymous;
    EXPECT_EQ(anonymous.plugin->HostKind(), HostId::Unknown);
    EXPECT_EQ(anonymous.plugin->HostKind(), HostId::Unknown);
    EXPECT_EQ(anonymous.host.CountOf(audioMasterGetProductString), 1);
    EXPECT_EQ(anonymous.host.CountOf(audioMasterGetVendorVersion), 0);
    EXPECT_EQ(anonymous.adapter->HostVersion(), 0);
}

// Hosts 15/17/18/20 lose inputs beyond the first two, once; others keep everything.
TEST(AdjustForHost, DisconnectsExtraInputsOnce) {
    PluginUnderTest orion({.channels = "4-4"});
    orion.host.product = "Orion Platinum";
    orion.Dispatch(effOpen);
    EXPECT_TRUE(orion.plugin->Input(1)->connected);
    EXPECT_FALSE(orion.plugin->Input(2)->connected);
    EXPECT_FALSE(orion.plugin->Input(3)->connected);
    EXPECT_TRUE(orion.plugin->Output(3)->connected);
    EXPECT_EQ(orion.effect->numInputs, 4);
    orion.plugin->ConnectInputs(0, 4, true);
    orion.Dispatch(effOpen);
    EXPECT_TRUE(orion.plugin->Input(3)->connected);  // second open adjusts nothing

    PluginUnderTest stereo;
    stereo.host.product = "Orion";
    stereo.Dispatch(effOpen);
    EXPECT_TRUE(stereo.plugin->Input(0)->connected);
    EXPECT_TRUE(stereo.plugin->Input(1)->connected);

    PluginUnderTest other({.channels = "4-4"});
    other.host.product = "REAPER";
    other.Dispatch(effOpen);
    EXPECT_TRUE(other.plugin->Input(3)->connected);
}
