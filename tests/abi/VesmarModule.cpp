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
    VstEventList list;
    ASSERT_EQ(fx->ProcessEvents(list.AssignRecords(&m, 1)), 1);
}

void VesmarModule::Replacing(int frames, float left, float right, std::vector<float>& outL,
                             std::vector<float>& outR) {
    std::vector<float> inL(static_cast<size_t>(frames), left), inR(static_cast<size_t>(frames), right);
    outL.assign(static_cast<size_t>(frames), 7.0f);
    outR.assign(static_cast<size_t>(frames), 7.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    e->processReplacing(e, in, out, frames);
}
