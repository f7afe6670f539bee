#include "tests/support/TestPlugin.h"

int TestPlugin::destroyed = 0;

namespace {

PluginDescriptor Describe(const TestPlugin::Options& o) {
    PluginDescriptor d;
    d.effectName = "Test Effect";
    d.productName = "Test Product";
    d.vendor = "Test Maker";
    d.version = 0x10203;
    d.channelConfigs = o.channels;
    d.parameterCount = 4;
    d.programCount = o.programs;
    d.vst2.uniqueId = 0x54657374;
    d.vst2.makerId = 0x4d616b72;
    d.vst2.doesMidi = o.doesMidi;
    d.vst2.stateChunks = o.stateChunks;
    d.vst2.isInstrument = o.isInstrument;
    return d;
}

}  // namespace

TestPlugin::TestPlugin(const Options& o) : IPluginCore(Describe(o)) {
    Parameter(0)->DefineInteger("Steps", 0, 0, 5, "st");
    Parameter(1)->DefineChoice("Mode", 0, 3, "");
    Parameter(1)->AddValueText(0, "Soft");
    Parameter(1)->AddValueText(1, "Medium");
    Parameter(1)->AddValueText(2, "Hard");
    Parameter(2)->DefineChoice("Pair", 0, 2, "");
    Parameter(3)->DefineContinuous("Switch", 0, 0, 1, 1, "");
    CaptureDefaultPrograms("First", 1);
    DefineProgram("Second", {4, 2, 1, 1});
}

void TestPlugin::OnSysEx(const ISysExMessage& message) {
    receivedSysEx.emplace_back(message.data, message.data + message.size);
}

PluginUnderTest::PluginUnderTest(const TestPlugin::Options& o)
    : plugin(new TestPlugin(o)), effect(NewVstPlugin(plugin, &RecordingHost::Callback)) {
    adapter = IVstPlugin::FromEffect(effect);
    host.Bind(effect);
}

PluginUnderTest::~PluginUnderTest() {
    if (!closed) Dispatch(effClose);
}
