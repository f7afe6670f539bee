#pragma once
#include <vector>

#include "effect/VSTCLASS.h"
#include "tests/effect/FakeHost.h"

// The effect with no plug-in format around it, its engine state readable, plus the few host steps
// the tests need: open it (the core notifies every parameter), set a parameter as the host does,
// send MIDI, run a block. Made while a FakeHost exists, it reports to that host.
class EngineProbe : public VSTCLASS {
  public:
    EngineProbe() { AttachHost(FakeHost::Active()); }

    using VSTCLASS::attackLeft;
    using VSTCLASS::attackLength;
    using VSTCLASS::attackSpan;
    using VSTCLASS::decayLeft;
    using VSTCLASS::decayLength;
    using VSTCLASS::decaySpan;
    using VSTCLASS::engineSampleRate;
    using VSTCLASS::envelopeLevel;
    using VSTCLASS::holdLeft;
    using VSTCLASS::holdLength;
    using VSTCLASS::panDirection;
    using VSTCLASS::panDisplay;
    using VSTCLASS::panOffset;
    using VSTCLASS::panPosition;
    using VSTCLASS::panWidth;
    using VSTCLASS::sidesGain;

    void Open() { NotifyAllParameters(); }

    void SetPlain(int index, double plain) {
        Parameter(index)->SetPlain(plain);
        OnParameterChange(index);
    }
    double Plain(int index) const { return Parameter(index)->PlainValue(); }

    void Midi(uint8_t status, uint8_t data1, uint8_t data2) {
        IMidiEvent event;
        event.status = status;
        event.data1 = data1;
        event.data2 = data2;
        OnMidiEvent(event);
    }
    void NoteOn(uint8_t velocity = 100) { Midi(0x90, 60, velocity); }
    void NoteOff() { Midi(0x80, 60, 0); }

    // One block of the given length through preallocated buffers; in0/in1 hold the input.
    void Block(int frames) {
        Ensure(frames);
        double* inputs[2] = {in0.data(), in1.data()};
        double* outputs[2] = {out0.data(), out1.data()};
        ProcessDouble(inputs, outputs, frames);
    }

    void Ensure(int frames) {
        const size_t size = frames > 0 ? static_cast<size_t>(frames) : 1;
        if (in0.size() < size) {
            in0.resize(size, 0.0);
            in1.resize(size, 0.0);
            out0.resize(size, 0.0);
            out1.resize(size, 0.0);
        }
    }

    std::vector<double> in0, in1, out0, out1;
};
