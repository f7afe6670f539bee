#include "vst3/Vst3Process.h"

#include <cmath>

namespace {

uint8_t Velocity7(float velocity) {
    if (!(velocity > 0.0f)) return 0;
    return velocity >= 1.0f ? 127 : static_cast<uint8_t>(std::lround(velocity * 127.0f));
}

uint8_t Data7(int value) {
    return static_cast<uint8_t>(value < 0 ? 0 : value > 127 ? 127 : value);
}

uint8_t Status(int kind, int channel) {
    return static_cast<uint8_t>((kind << 4) | (channel & 0x0F));
}

}  // namespace

bool Vst3Process::SetArrangement(vst3::SpeakerArrangement in, vst3::SpeakerArrangement out) {
    if (in != out || (in != vst3::kSpeakerArrStereo && in != vst3::kSpeakerArrMono)) return false;
    arrangement = in;
    // As the VST 2 module's speaker arrangement: the first n channels carry the host's audio.
    const int n = Channels();
    core.ConnectInputs(0, n, true);
    core.ConnectInputs(n, core.InputCount() - n, false);
    core.ConnectOutputs(0, n, true);
    core.ConnectOutputs(n, core.OutputCount() - n, false);
    return true;
}

void Vst3Process::Begin(vst3::ProcessData& data) {
    block = &data;
    thread.store(std::this_thread::get_id(), std::memory_order_relaxed);
}

void Vst3Process::End() {
    thread.store(std::thread::id(), std::memory_order_relaxed);
    block = nullptr;
}

bool Vst3Process::InBlock() const {
    return thread.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

void Vst3Process::DeliverEvents() {
    vst3::IEventList* events = block->inputEvents;
    if (!events) return;
    const int32_t count = events->getEventCount();
    for (int32_t i = 0; i < count; ++i) {
        vst3::Event e{};
        if (events->getEvent(i, e) != vst3::kResultOk || e.busIndex != 0) continue;
        IMidiEvent m;
        m.offset = e.sampleOffset;
        switch (e.type) {
            case vst3::kNoteOnEvent:
                m.status = Status(9, e.noteOn.channel);
                m.data1 = Data7(e.noteOn.pitch);
                m.data2 = Velocity7(e.noteOn.velocity);
                break;
            case vst3::kNoteOffEvent:
                m.status = Status(8, e.noteOff.channel);
                m.data1 = Data7(e.noteOff.pitch);
                m.data2 = Velocity7(e.noteOff.velocity);
                break;
            case vst3::kPolyPressureEvent:
                m.status = Status(10, e.polyPressure.channel);
                m.data1 = Data7(e.polyPressure.pitch);
                m.data2 = Velocity7(e.polyPressure.pressure);
                break;
            default:
                continue;
        }
        core.OnMidiEvent(m);
    }
}

bool Vst3Process::SendMidi(const IMidiEvent& m) {
    vst3::IEventList* out = InBlock() ? block->outputEvents : nullptr;
    if (!out) return false;
    vst3::Event e{};
    e.sampleOffset = m.offset;
    const int16_t channel = static_cast<int16_t>(m.status & 0x0F);
    const int16_t pitch = static_cast<int16_t>(m.data1 & 0x7F);
    const float value = static_cast<float>(m.data2 & 0x7F) / 127.0f;
    switch (m.Kind()) {
        case MidiKind::NoteOn:
            e.type = vst3::kNoteOnEvent;
            e.noteOn = {channel, pitch, 0.0f, value, 0, -1};
            break;
        case MidiKind::NoteOff:
            e.type = vst3::kNoteOffEvent;
            e.noteOff = {channel, pitch, value, -1, 0.0f};
            break;
        case MidiKind::PolyAftertouch:
            e.type = vst3::kPolyPressureEvent;
            e.polyPressure = {channel, pitch, value, -1};
            break;
        default:
            return false;
    }
    return out->addEvent(e) == vst3::kResultOk;
}

template <typename Sample>
Sample** Vst3Process::Buffers(const vst3::AudioBusBuffers* buses, int32_t count, int channels,
                              Sample** vst3::AudioBusBuffers::*samples) {
    if (count < 1 || !buses || buses[0].numChannels != channels) return nullptr;
    Sample** pointers = buses[0].*samples;
    if (!pointers) return nullptr;
    for (int c = 0; c < channels; ++c) {
        if (!pointers[c]) return nullptr;
    }
    return pointers;
}

bool Vst3Process::RunAudio() {
    vst3::ProcessData& d = *block;
    const int n = Channels();
    if (d.numSamples <= 0) return false;
    if (d.symbolicSampleSize == vst3::kSample64) {
        double** in = Buffers(d.inputs, d.numInputs, n, &vst3::AudioBusBuffers::channelBuffers64);
        double** out = Buffers(d.outputs, d.numOutputs, n, &vst3::AudioBusBuffers::channelBuffers64);
        if (!in || !out) return false;
        core.AttachInputs64(in);
        core.AttachOutputs64(out);
        core.Run64(d.numSamples);
    } else {
        float** in = Buffers(d.inputs, d.numInputs, n, &vst3::AudioBusBuffers::channelBuffers32);
        float** out = Buffers(d.outputs, d.numOutputs, n, &vst3::AudioBusBuffers::channelBuffers32);
        if (!in || !out) return false;
        core.AttachInputs(in, d.numSamples);
        core.AttachOutputs(out);
        core.RunReplacing(d.numSamples);
    }
    d.outputs[0].silenceFlags = 0;
    return true;
}
