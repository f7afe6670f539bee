#include "tests/abi/VesmarModule.h"

#include <algorithm>
#include <cstring>

namespace {

struct Range {
    double min, max;
};
constexpr Range kRanges[] = {{0, 8000},   {0, 5000}, {0, 8000}, {0, 4}, {0, 100},
                             {-100, 100}, {0, 2},    {0, 2},    {0, 22}};

}  // namespace

PluginModule* VesmarModule::module = nullptr;

void VesmarModule::SetUpTestSuite() {
    module = new PluginModule;
    std::string error;
    ASSERT_TRUE(module->Load(VESMAR_PLUGIN_PATH, error)) << error;
}

void VesmarModule::TearDownTestSuite() {
    delete module;
    module = nullptr;
}

std::unique_ptr<HostedEffect> VesmarModule::Create(HostCallback& onHost) {
    std::string error;
    AEffect* record = module->CreateEffect(onHost, error);
    EXPECT_NE(record, nullptr) << error;
    return record ? std::make_unique<HostedEffect>(record, onHost) : nullptr;
}

void VesmarModule::SetUp() {
    ASSERT_NE(module, nullptr);
    fx = Create(host);
    ASSERT_NE(fx, nullptr);
    e = fx->Record();
    fx->Open(kSampleRate, kBlockSize);
    fx->Resume();
}

void VesmarModule::TearDown() {
    fx.reset();
}

void VesmarModule::SetPlain(int index, double plain) {
    const Range r = kRanges[index];
    fx->SetParameter(index, static_cast<float>((plain - r.min) / (r.max - r.min)));
}

double VesmarModule::Plain(int index) {
    const Range r = kRanges[index];
    return r.min + fx->GetParameter(index) * (r.max - r.min);
}

void VesmarModule::SendMidi(uint8_t status, uint8_t data1, uint8_t data2, int32_t delta) {
    VstMidiEvent m = MidiRecord(status, data1, data2, delta);
    EventList list({reinterpret_cast<VstEvent*>(&m)});
    ASSERT_EQ(fx->ProcessEvents(list.List()), 1);
}

void VesmarModule::Replacing(int frames, float left, float right, std::vector<float>& outL,
                             std::vector<float>& outR) {
    std::vector<float> inL(frames, left), inR(frames, right);
    outL.assign(frames, 7.0f);
    outR.assign(frames, 7.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    e->processReplacing(e, in, out, frames);
}

EventList::EventList(const std::vector<VstEvent*>& entries)
    : storage(sizeof(VstEvents) + sizeof(VstEvent*) * std::max<size_t>(entries.size(), 2)) {
    List()->numEvents = static_cast<int32_t>(entries.size());
    VstEvent** slots = List()->events;  // as many as entries, beyond the declared two
    for (size_t i = 0; i < entries.size(); ++i) slots[i] = entries[i];
}

VstMidiEvent MidiRecord(uint8_t status, uint8_t data1, uint8_t data2, int32_t delta) {
    VstMidiEvent m{};
    m.type = kVstMidiType;
    m.byteSize = sizeof m;
    m.deltaFrames = delta;
    m.midiData[0] = static_cast<char>(status);
    m.midiData[1] = static_cast<char>(data1);
    m.midiData[2] = static_cast<char>(data2);
    return m;
}
