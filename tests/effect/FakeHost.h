#pragma once
#include <cstdint>
#include <vector>

#include "plugbase/IPluginHost.h"

// A host of no particular format that records what the effect tells it: automation, edit gestures
// and the MIDI sent back. Its list is reserved up front so that recording does not allocate, which
// lets the allocation tests run with it attached. The effect probes made while one exists attach
// to it (Active).
class FakeHost : public IPluginHost {
  public:
    enum class Kind { Automate, BeginEdit, EndEdit, Midi };
    struct Call {
        Kind kind;
        int32_t index;    // parameter index; for Midi the sample offset
        float value;      // automation value
        uint8_t midi[3];  // status, data1, data2
    };

    FakeHost();
    ~FakeHost() override;
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;
    static FakeHost* Active() { return active; }

    void BeginEdit(int index) override { calls.push_back({Kind::BeginEdit, index, 0.0f, {}}); }
    void Automate(int index, double normalized) override {
        calls.push_back({Kind::Automate, index, static_cast<float>(normalized), {}});
    }
    void EndEdit(int index) override { calls.push_back({Kind::EndEdit, index, 0.0f, {}}); }
    void ProgramChanged() override {}
    void LatencyChanged(int) override {}
    int64_t SamplePosition() override { return 0; }
    double Tempo() override { return 0.0; }
    void TimeSignature(int& numerator, int& denominator) override { numerator = denominator = 0; }
    bool SendMidi(const IMidiEvent& event) override {
        calls.push_back({Kind::Midi, event.offset, 0.0f, {event.status, event.data1, event.data2}});
        return true;
    }
    bool SendSysEx(const ISysExMessage&) override { return false; }
    HostId Product() override { return HostId::Unknown; }
    void EditorChanged() override {}

    std::vector<Call> calls;

  private:
    static FakeHost* active;
};
