#include "tools/vsthost/host/HostedEffect.h"

#include <algorithm>
#include <cstring>

#include "tools/vsthost/host/PluginCall.h"
#include "tools/vsthost/host/PluginModule.h"

HostedEffect::HostedEffect(AEffect* e, HostCallback& h) : effect(e), host(h) {}

HostedEffect::~HostedEffect() {
    Close();
}

intptr_t HostedEffect::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (!effect || !effect->dispatcher) return 0;
    PluginCall call(EffectOpcodeName(opcode), opcode);
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string HostedEffect::Text(int32_t opcode, int32_t index, intptr_t value) {
    std::vector<char> buffer(kTextBufferSize, '\0');
    Dispatch(opcode, index, value, buffer.data());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

void HostedEffect::Open(double sampleRate, int32_t blockSize) {
    if (!effect || open) return;
    host.SetSampleRate(sampleRate);
    host.SetBlockSize(blockSize);
    Dispatch(effOpen);
    open = true;
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Dispatch(effSetBlockSize, 0, blockSize);
}

void HostedEffect::Resume() {
    if (!effect || resumed) return;
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effStartProcess);
    resumed = true;
}

void HostedEffect::Suspend() {
    if (!effect || !resumed) return;
    Dispatch(effStopProcess);
    Dispatch(effMainsChanged, 0, 0);
    resumed = false;
}

void HostedEffect::Close() {
    if (!effect) return;
    Suspend();
    AEffect* closing = effect;
    Dispatch(effClose);
    effect = nullptr;
    open = false;
    host.Detach(closing);
}

int32_t HostedEffect::NumParams() const {
    return effect ? effect->numParams : 0;
}
int32_t HostedEffect::NumPrograms() const {
    return effect ? effect->numPrograms : 0;
}
int32_t HostedEffect::NumInputs() const {
    return effect ? std::clamp(effect->numInputs, 0, PluginModule::kMaxChannels) : 0;
}
int32_t HostedEffect::NumOutputs() const {
    return effect ? std::clamp(effect->numOutputs, 0, PluginModule::kMaxChannels) : 0;
}
bool HostedEffect::ChannelCountsPlausible() const {
    return !effect || (effect->numInputs == NumInputs() && effect->numOutputs == NumOutputs());
}
int32_t HostedEffect::Flags() const {
    return effect ? effect->flags : 0;
}

float HostedEffect::GetParameter(int32_t index) const {
    if (!effect || !effect->getParameter) return 0.0f;
    PluginCall call("getParameter", index);
    return effect->getParameter(effect, index);
}

void HostedEffect::SetParameter(int32_t index, float value) {
    if (!effect || !effect->setParameter) return;
    PluginCall call("setParameter", index);
    effect->setParameter(effect, index, value);
}

std::string HostedEffect::ParameterName(int32_t index) {
    return Text(effGetParamName, index);
}
std::string HostedEffect::ParameterLabel(int32_t index) {
    return Text(effGetParamLabel, index);
}
std::string HostedEffect::ParameterDisplay(int32_t index) {
    return Text(effGetParamDisplay, index);
}

bool HostedEffect::ParameterProperties(int32_t index, VstParameterProperties& out) {
    out = VstParameterProperties{};
    return Dispatch(effGetParameterProperties, index, 0, &out) != 0;
}
int32_t HostedEffect::Program() {
    return static_cast<int32_t>(Dispatch(effGetProgram));
}

void HostedEffect::SetProgram(int32_t index) {
    Dispatch(effBeginSetProgram);
    Dispatch(effSetProgram, 0, index);
    Dispatch(effEndSetProgram);
}

std::string HostedEffect::ProgramName() {
    return Text(effGetProgramName);
}
std::string HostedEffect::ProgramNameIndexed(int32_t index) {
    return Text(effGetProgramNameIndexed, index);
}

HostedEffect::ArrangementOffer HostedEffect::OfferSpeakerArrangement(int32_t inputs, int32_t outputs) {
    ArrangementOffer offer;
    offeredInputs = SpeakerArrangementRecord(inputs);
    offeredOutputs = SpeakerArrangementRecord(outputs);
    offer.inputs = offeredInputs.Channels();
    offer.outputs = offeredOutputs.Channels();
    if (!effect || resumed) return offer;
    offer.sent = true;
    offer.accepted = Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(offeredInputs.Get()),
                              offeredOutputs.Get()) != 0;
    return offer;
}

intptr_t HostedEffect::CanDo(const char* text) {
    return Dispatch(effCanDo, 0, 0, const_cast<char*>(text));
}

bool HostedEffect::GetChunk(bool bank, std::vector<uint8_t>& out) {
    out.clear();
    void* data = nullptr;
    intptr_t size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || static_cast<size_t>(size) > kMaxChunkBytes || !data) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.assign(bytes, bytes + size);
    return true;
}

HostedEffect::ChunkDelivery HostedEffect::DeliverChunk(bool bank, const std::vector<uint8_t>& data) {
    ChunkDelivery result;
    if (data.empty() || data.size() > kMaxChunkBytes) return result;
    // The plug-in receives its own copy: a plug-in may keep the pointer until the next call.
    std::vector<uint8_t> copy(data);
    if (!bank) Dispatch(effBeginSetProgram);
    result.answer = Dispatch(effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()), copy.data());
    if (!bank) Dispatch(effEndSetProgram);
    result.delivered = true;
    return result;
}

bool HostedEffect::SetChunk(bool bank, const std::vector<uint8_t>& data) {
    ChunkDelivery result = DeliverChunk(bank, data);
    return result.delivered && result.answer != 0;
}

// The flag comes first: it says whether the field exists at all. An old plug-in's record can end
// before processDoubleReplacing (a 128-byte allocation is common), so reading the field of a
// plug-in without the flag reads past its allocation.
bool HostedEffect::CanReplacing() const {
    return effect && (effect->flags & effFlagsCanReplacing) && effect->processReplacing;
}

bool HostedEffect::CanDouble() const {
    return effect && (effect->flags & effFlagsCanDoubleReplacing) && effect->processDoubleReplacing;
}

void HostedEffect::ProcessReplacing(float** inputs, float** outputs, int32_t frames) {
    if (!effect) return;
    if (CanReplacing()) {
        PluginCall call("processReplacing");
        effect->processReplacing(effect, inputs, outputs, frames);
        return;
    }
    for (int32_t c = 0; c < NumOutputs(); ++c)
        std::memset(outputs[c], 0, sizeof(float) * static_cast<size_t>(frames));
    ProcessAccumulating(inputs, outputs, frames);
}

void HostedEffect::ProcessAccumulating(float** inputs, float** outputs, int32_t frames) {
    if (!effect || !effect->process) return;
    PluginCall call("process");
    effect->process(effect, inputs, outputs, frames);
}

void HostedEffect::ProcessDouble(double** inputs, double** outputs, int32_t frames) {
    if (!CanDouble()) return;
    PluginCall call("processDoubleReplacing");
    effect->processDoubleReplacing(effect, inputs, outputs, frames);
}

intptr_t HostedEffect::ProcessEvents(VstEvents* events) {
    return Dispatch(effProcessEvents, 0, 0, events);
}
