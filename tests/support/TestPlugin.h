#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/NewVstPlugin.h"
#include "tests/support/RecordingHost.h"
#include "vst/IVstPlugin.h"

// A small effect: an Integer 0..5, a three-way and a two-way Choice and a Toggle, four program
// slots (two filled), recording what reaches its hooks.
class TestPlugin : public IPluginCore {
  public:
    struct Options {
        const char* channels = "1-1 2-2";
        int programs = 4;
        int32_t doesMidi = 1;
        bool stateChunks = false;
        bool isInstrument = false;
    };

    explicit TestPlugin(const Options& o);
    ~TestPlugin() override { ++destroyed; }

    void Reset() override { ++resets; }
    void OnActivate(bool active) override { activations.push_back(active); }
    void OnParameterChange(int index) override {
        changes.push_back(index);
        if (throwOnChange) throw std::runtime_error("parameter hook failed");
    }
    void OnMidiEvent(const IMidiEvent& event) override { received.push_back(event); }
    void OnSysEx(const ISysExMessage& message) override;

    int resets = 0;
    bool throwOnChange = false;  // stands for any failure deep inside the effect
    std::vector<bool> activations;
    std::vector<int> changes;
    std::vector<IMidiEvent> received;
    std::vector<std::vector<uint8_t>> receivedSysEx;
    static int destroyed;
};

// A plug-in (the test effect in the VST 2 adapter) bound to its own recording host, closed through
// the record when it goes away.
struct PluginUnderTest {
    explicit PluginUnderTest(const TestPlugin::Options& o = {});
    ~PluginUnderTest();
    // effClose through the record; the plug-in and its record are gone afterwards.
    void Close() {
        Dispatch(effClose);
        closed = true;
    }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    RecordingHost host;
    TestPlugin* plugin;   // the effect
    IVstPlugin* adapter;  // owns it
    AEffect* effect;
    bool closed = false;
};
