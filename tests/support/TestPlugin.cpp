#include "tests/support/TestPlugin.h"

int TestPlugin::destroyed = 0;

TestPlugin::TestPlugin(audioMasterCallback host, const Options& o)
    : IVstPlugin(host, 4, o.channels, o.programs, "Test Effect", "Test Product", "Test Maker", 0x10203,
                 0x54657374, 0x4d616b72, 0, o.doesMidi, o.stateChunks, o.isInstrument) {
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
    : plugin(new TestPlugin(&RecordingHost::Callback, o)), effect(plugin->Effect()) {
    host.Bind(effect);
}

PluginUnderTest::~PluginUnderTest() {
    if (!closed) Dispatch(effClose);
}
