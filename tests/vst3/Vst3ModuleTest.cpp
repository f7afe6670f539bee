// The module as a host scans it: factory, class, the one object's interfaces, buses.
#include <cstring>

#include "tests/vst3/Vst3Fixture.h"
#include "tools/vsthost/host/vst3/Vst3Module.h"

namespace {

using Vst3Module_ = Vst3Fixture;

std::string Utf8(const vst3::char16* text, size_t n) {
    std::string out;
    for (size_t i = 0; i < n && text[i]; ++i) out += static_cast<char>(text[i] < 0x80 ? text[i] : '?');
    return out;
}

}  // namespace

// Factory and class as hosts list them; the class ID is the effect's four words in this system's
// byte order, and a second load of the module shares nothing it must not.
TEST_F(Vst3Module_, FactoryAndClass) {
    vst3::IPluginFactory* f = module->Factory();
    vst3::PFactoryInfo info{};
    ASSERT_EQ(f->getFactoryInfo(&info), vst3::kResultOk);
    EXPECT_STREQ(info.vendor, "Darvo");
    EXPECT_STREQ(info.url, "https://darvo.audio/plugins/vesmar");
    EXPECT_EQ(info.flags, vst3::kFactoryUnicode);
    ASSERT_EQ(f->countClasses(), 1);

    const vst3::Uid expected = vst3::MakeUid(0x1166CC03, 0x66ED456E, 0x8391BB2A, 0x0883AE68);
    vst3::IPluginFactory3* f3 = module->Factory3();
    ASSERT_NE(f3, nullptr);
    vst3::PClassInfo2 c2{};
    vst3::PClassInfoW cw{};
    ASSERT_EQ(f3->getClassInfo2(0, &c2), vst3::kResultOk);
    ASSERT_EQ(f3->getClassInfoUnicode(0, &cw), vst3::kResultOk);
    EXPECT_TRUE(expected.Is(c2.cid));
    EXPECT_EQ(0, std::memcmp(c2.cid, cw.cid, 16));
    EXPECT_STREQ(c2.category, "Audio Module Class");
    EXPECT_STREQ(c2.name, "Vesmar");
    EXPECT_STREQ(c2.subCategories, "Fx|Spatial");
    EXPECT_STREQ(c2.vendor, "Darvo");
    EXPECT_EQ(c2.classFlags, 0u);  // never distributable: one object
    EXPECT_EQ(c2.cardinality, vst3::kManyInstances);
    EXPECT_EQ(Utf8(cw.name, 64), "Vesmar");
    EXPECT_EQ(Utf8(cw.version, 64), c2.version);
    EXPECT_EQ(f3->getClassInfo2(1, &c2), vst3::kInvalidArgument);
    EXPECT_EQ(f3->getClassInfo(0, nullptr), vst3::kInvalidArgument);
    EXPECT_EQ(f3->getClassInfoUnicode(0, nullptr), vst3::kInvalidArgument);
    f3->release();

    void* obj = reinterpret_cast<void*>(1);
    EXPECT_NE(f->createInstance(vst3::IComponent::iid.data(), vst3::IComponent::iid.data(), &obj),
              vst3::kResultOk);
    EXPECT_EQ(obj, nullptr);

    Vst3Module second;
    std::string error;
    ASSERT_TRUE(second.Load(VESMAR_VST3_BUNDLE, error)) << error;
    EXPECT_EQ(second.Factory(), f);  // one factory per module, counted
}

// One object is component, processor, controller and unit info; FUnknown is the same pointer
// from each, and a split plug-in's interfaces are refused.
TEST_F(Vst3Module_, OneObject) {
    EXPECT_TRUE(fx->SingleObject());
    ASSERT_NE(fx->Units(), nullptr);
    vst3::TUID cid{};
    EXPECT_EQ(fx->Component()->getControllerClassId(cid), vst3::kResultFalse);
    void* a = nullptr;
    void* b = nullptr;
    ASSERT_EQ(fx->Component()->queryInterface(vst3::FUnknown::iid.data(), &a), vst3::kResultOk);
    ASSERT_EQ(controller->queryInterface(vst3::FUnknown::iid.data(), &b), vst3::kResultOk);
    EXPECT_EQ(a, b);
    static_cast<vst3::FUnknown*>(a)->release();
    static_cast<vst3::FUnknown*>(b)->release();
    void* c = reinterpret_cast<void*>(1);
    EXPECT_EQ(controller->queryInterface(vst3::kConnectionPointIid.data(), &c), vst3::kNoInterface);
    EXPECT_EQ(c, nullptr);
}

// One audio bus and one event bus each way; stereo by default, mono accepted in pairs, anything
// else refused with the arrangement kept.
TEST_F(Vst3Module_, BusesAndArrangements) {
    vst3::IComponent* c = fx->Component();
    vst3::IAudioProcessor* p = fx->Processor();
    for (int32_t type : {vst3::kAudio, vst3::kEvent}) {
        for (int32_t dir : {vst3::kInput, vst3::kOutput}) {
            ASSERT_EQ(c->getBusCount(type, dir), 1);
            vst3::BusInfo bus{};
            ASSERT_EQ(c->getBusInfo(type, dir, 0, bus), vst3::kResultOk);
            EXPECT_EQ(bus.channelCount, type == vst3::kAudio ? 2 : 16);
            EXPECT_EQ(bus.busType, vst3::kMain);
            EXPECT_EQ(bus.flags, vst3::kDefaultActive);
            EXPECT_EQ(c->getBusInfo(type, dir, 1, bus), vst3::kInvalidArgument);
        }
    }
    fx->Stop();
    vst3::SpeakerArrangement mono = vst3::kSpeakerArrMono, stereo = vst3::kSpeakerArrStereo, surround = 0x3F;
    vst3::SpeakerArrangement got = 0;
    EXPECT_EQ(p->setBusArrangements(&mono, 1, &mono, 1), vst3::kResultTrue);
    ASSERT_EQ(p->getBusArrangement(vst3::kOutput, 0, got), vst3::kResultOk);
    EXPECT_EQ(got, vst3::kSpeakerArrMono);
    vst3::BusInfo bus{};
    c->getBusInfo(vst3::kAudio, vst3::kInput, 0, bus);
    EXPECT_EQ(bus.channelCount, 1);
    EXPECT_EQ(p->setBusArrangements(&stereo, 1, &mono, 1), vst3::kResultFalse);
    EXPECT_EQ(p->setBusArrangements(&surround, 1, &surround, 1), vst3::kResultFalse);
    p->getBusArrangement(vst3::kInput, 0, got);
    EXPECT_EQ(got, vst3::kSpeakerArrMono);
    EXPECT_EQ(p->setBusArrangements(&stereo, 1, &stereo, 1), vst3::kResultTrue);
    EXPECT_EQ(p->canProcessSampleSize(vst3::kSample64), vst3::kResultTrue);
    EXPECT_EQ(p->getLatencySamples(), 0u);
}
