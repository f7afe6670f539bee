#include "tests/vst3/Vst3Fixture.h"

#include "tools/vsthost/host/vst3/ProcessBlock.h"

Vst3Module* Vst3Fixture::module = nullptr;

void Vst3Fixture::SetUpTestSuite() {
    module = new Vst3Module;
    std::string error;
    ASSERT_TRUE(module->Load(VESMAR_VST3_BUNDLE, error)) << error;
}

void Vst3Fixture::TearDownTestSuite() {
    delete module;
    module = nullptr;
}

std::string Vst3Fixture::ClassId() {
    vst3::PClassInfo info{};
    if (!module->Factory() || module->Factory()->getClassInfo(0, &info) != vst3::kResultOk) return "";
    return std::string(info.cid, sizeof info.cid);
}

std::unique_ptr<Vst3Instance> Vst3Fixture::Create() {
    auto instance = std::make_unique<Vst3Instance>(application, handler);
    std::string error;
    EXPECT_TRUE(instance->Create(module->Factory(), ClassId().data(), error)) << error;
    return instance;
}

void Vst3Fixture::SetUp() {
    ASSERT_NE(module, nullptr);
    fx = Create();
    ASSERT_NE(fx->Controller(), nullptr);
    controller = fx->Controller();
    ASSERT_TRUE(fx->Start(kSampleRate, kBlockSize, vst3::kSample32));
}

void Vst3Fixture::TearDown() {
    fx.reset();
    // Every host object the plug-in took is given back.
    EXPECT_EQ(application.ExtraReferences(), 0u);
    EXPECT_EQ(handler.ExtraReferences(), 0u);
}

std::vector<uint8_t> Vst3Fixture::State(Vst3Instance& instance) {
    MemoryStream stream;
    EXPECT_EQ(instance.Component()->getState(&stream), vst3::kResultOk);
    return stream.Bytes();
}

void Vst3Fixture::SetPlain(vst3::ParamID id, double plain) {
    ASSERT_EQ(controller->setParamNormalized(id, controller->plainParamToNormalized(id, plain)),
              vst3::kResultOk);
}

double Vst3Fixture::Plain(vst3::ParamID id) {
    return controller->normalizedParamToPlain(id, controller->getParamNormalized(id));
}

void Vst3Fixture::Process(int32_t frames, double left, double right, int32_t sampleSize) {
    const auto n = static_cast<size_t>(frames);
    std::vector<float> inL(n, static_cast<float>(left)), inR(n, static_cast<float>(right));
    std::vector<double> inL64(n, left), inR64(n, right);
    outL.assign(n, 7.0f);
    outR.assign(n, 7.0f);
    outL64.assign(n, 7.0);
    outR64.assign(n, 7.0);
    float* in32[2] = {inL.data(), inR.data()};
    float* out32[2] = {outL.data(), outR.data()};
    double* in64[2] = {inL64.data(), inR64.data()};
    double* out64[2] = {outL64.data(), outR64.data()};
    ProcessBlock block32(in32, out32, 2, frames), block64(in64, out64, 2, frames);
    vst3::ProcessData& data = (sampleSize == vst3::kSample64 ? block64 : block32)
                                  .Lists(&changesIn, &changesOut, &eventsIn, &eventsOut)
                                  .Data();
    eventsOut.Clear();
    changesOut.Clear();
    EXPECT_EQ(fx->Processor()->process(data), vst3::kResultOk);
    eventsIn.Clear();
    changesIn.Clear();
}
