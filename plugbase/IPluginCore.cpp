#include "plugbase/IPluginCore.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "plugbase/TextCopy.h"

namespace {

// A channel-configuration text never asks for more channels than this; it keeps a typo from
// allocating millions of channel records.
constexpr int kMaxChannels = 1024;

// Reads an optionally signed decimal integer the way "%d" does (leading white space skipped),
// saturating instead of overflowing. Answers false, consuming nothing, when no digit follows.
bool ReadInt(const char*& p, int& value) {
    const char* q = p;
    while (*q == ' ' || *q == '\t') ++q;
    bool negative = false;
    if (*q == '+' || *q == '-') negative = (*q++ == '-');
    if (*q < '0' || *q > '9') return false;
    long long v = 0;
    while (*q >= '0' && *q <= '9') {
        v = std::min<long long>(v * 10 + (*q++ - '0'), INT_MAX);
    }
    value = static_cast<int>(negative ? -v : v);
    p = q;
    return true;
}

bool CountsMatch(int wanted, int offered) {
    return wanted < 0 || offered < 0 || wanted == offered;
}

// Hands the host's blocks, in order, to the connected channels; disconnected ones take none.
template <class Channel, class Block, class Take>
void HandOut(std::vector<std::unique_ptr<Channel>>& channels, Block const* blocks, Take take) {
    int next = 0;
    for (auto& channel : channels) {
        if (!channel->connected) continue;
        take(*channel, blocks != nullptr ? blocks[next] : nullptr);
        ++next;
    }
}

}  // namespace

IPluginCore::IPluginCore(const PluginDescriptor& descriptor)
    : descriptor_(descriptor), version_(descriptor.version), latency_(descriptor.latency) {
    const int nParams = std::max(descriptor.parameterCount, 0);
    const int nPrograms = std::max(descriptor.programCount, 0);
    params_.reserve(static_cast<size_t>(nParams));
    for (int i = 0; i < nParams; ++i) params_.push_back(std::make_unique<IParameter>());
    programs_.reserve(static_cast<size_t>(nPrograms));
    for (int k = 1; k <= nPrograms; ++k) programs_.push_back(std::make_unique<IProgram>(k));
    CopyText(effectName_, sizeof effectName_, descriptor.effectName);
    CopyText(productName_, sizeof productName_, descriptor.productName);
    CopyText(makerName_, sizeof makerName_, descriptor.vendor);
    ParseChannelConfigs(descriptor.channelConfigs);
}

IPluginCore::~IPluginCore() {
    editor_.reset();
    while (!params_.empty()) params_.pop_back();
    while (!programs_.empty()) programs_.pop_back();
    inputs_.clear();
    outputs_.clear();
    configs_.clear();
    inputSlots_.clear();
    outputSlots_.clear();
}

void IPluginCore::ParseChannelConfigs(const char* text) {
    int maxInputs = 0;
    int maxOutputs = 0;
    for (const char* p = text; p != nullptr && *p != '\0';) {
        ChannelIoPair pair;
        int inputs = 0;
        int outputs = 0;
        if (ReadInt(p, inputs)) {
            if (*p == '-') {
                ++p;
                ReadInt(p, outputs);
            }
        }
        pair.inputs = inputs;
        pair.outputs = outputs;
        configs_.push_back(pair);
        maxInputs = std::max(maxInputs, inputs);
        maxOutputs = std::max(maxOutputs, outputs);
        p = std::strchr(p, ' ');
        if (p != nullptr) ++p;
    }
    maxInputs = std::min(maxInputs, kMaxChannels);
    maxOutputs = std::min(maxOutputs, kMaxChannels);
    inputSlots_.assign(static_cast<size_t>(maxInputs), nullptr);
    outputSlots_.assign(static_cast<size_t>(maxOutputs), nullptr);
    for (int i = 0; i < maxInputs; ++i) {
        inputs_.push_back(std::make_unique<InputChannel>());
        inputs_.back()->slot = &inputSlots_[static_cast<size_t>(i)];
    }
    for (int i = 0; i < maxOutputs; ++i) {
        outputs_.push_back(std::make_unique<OutputChannel>());
        outputs_.back()->slot = &outputSlots_[static_cast<size_t>(i)];
    }
    PointSlotsAtScratch();
}

// ---- Hooks --------------------------------------------------------------------------------------

void IPluginCore::Reset() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
}

void IPluginCore::OnParameterChange(int) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
}

void IPluginCore::OnActivate(bool) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
}

void IPluginCore::ProcessDouble(double** inputs, double** outputs, int frames) {
    if (outputs == nullptr || frames <= 0) return;
    const size_t bytes = static_cast<size_t>(frames) * sizeof(double);
    const int copied = inputs == nullptr ? 0 : std::min(InputCount(), OutputCount());
    for (int i = 0; i < OutputCount(); ++i) {
        if (i < copied) {
            std::memmove(outputs[i], inputs[i], bytes);  // host blocks may be the same memory
        } else {
            std::memset(outputs[i], 0, bytes);
        }
    }
}

bool IPluginCore::MidiNoteName(int, char* text, size_t capacity) {
    CopyText(text, capacity, "");
    return false;
}

// ---- Host notifications ---------------------------------------------------------------------------

void IPluginCore::AttachHost(IPluginHost* host) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    host_ = host;
}

void IPluginCore::HostBeginEdit(int index) {
    if (host_ == nullptr) return;
    FlushPendingEndEdit();
    host_->BeginEdit(index);
}

void IPluginCore::HostBeginEditOnce(int index) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (host_ == nullptr || index == pendingEndEdit_) return;
    FlushPendingEndEdit();
    host_->BeginEdit(index);
}

void IPluginCore::HostBeginNestedEdit(int index) {
    if (host_ != nullptr) host_->BeginEdit(index);
}

void IPluginCore::HostAutomate(int index, double normalized) {
    if (host_ != nullptr) host_->Automate(index, normalized);
}

void IPluginCore::HostEndEdit(int index) {
    if (host_ != nullptr) host_->EndEdit(index);
}

void IPluginCore::HostProgramChanged() {
    if (host_ != nullptr) host_->ProgramChanged();
}

int64_t IPluginCore::HostSamplePosition() {
    return host_ != nullptr ? host_->SamplePosition() : 0;
}

double IPluginCore::HostTempo() {
    return host_ != nullptr ? host_->Tempo() : 0.0;
}

void IPluginCore::HostTimeSignature(int& numerator, int& denominator) {
    numerator = denominator = 0;
    if (host_ != nullptr) host_->TimeSignature(numerator, denominator);
}

HostId IPluginCore::HostKind() {
    return host_ != nullptr ? host_->Product() : HostId::NotAsked;
}

void IPluginCore::EditorSizeChanged() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (host_ != nullptr && editor_) host_->EditorChanged();
}

void IPluginCore::SetLatency(int samples) {
    latency_ = samples;
    if (host_ != nullptr) host_->LatencyChanged(samples);
}

bool IPluginCore::SendMidiEvent(const IMidiEvent& event) {
    return host_ != nullptr && host_->SendMidi(event);
}

bool IPluginCore::SendSysEx(const ISysExMessage& message) {
    return host_ != nullptr && host_->SendSysEx(message);
}

bool IPluginCore::SendMidiEvents(const IMidiEvent* events, int count) {
    bool all = true;
    for (int i = 0; events != nullptr && i < count; ++i) {
        if (!SendMidiEvent(events[i])) all = false;
    }
    return all;
}

// ---- Queries ------------------------------------------------------------------------------------

IParameter* IPluginCore::Parameter(int index) {
    return index >= 0 && index < ParameterCount() ? params_[static_cast<size_t>(index)].get() : nullptr;
}

const IParameter* IPluginCore::Parameter(int index) const {
    return index >= 0 && index < ParameterCount() ? params_[static_cast<size_t>(index)].get() : nullptr;
}

int32_t IPluginCore::VersionDecimal() const {
    const uint32_t v = static_cast<uint32_t>(version_);
    return static_cast<int32_t>((v >> 16) * 10000 + ((v >> 8) & 0xFF) * 100 + (v & 0xFF));
}

const ChannelIoPair* IPluginCore::ChannelConfig(int index) const {
    return index >= 0 && index < ChannelConfigCount() ? &configs_[static_cast<size_t>(index)] : nullptr;
}

bool IPluginCore::IsLegalIo(int inputs, int outputs) const {
    return std::any_of(configs_.begin(), configs_.end(), [&](const ChannelIoPair& pair) {
        return CountsMatch(inputs, pair.inputs) && CountsMatch(outputs, pair.outputs);
    });
}

const InputChannel* IPluginCore::Input(int index) const {
    return index >= 0 && index < InputCount() ? inputs_[static_cast<size_t>(index)].get() : nullptr;
}

const OutputChannel* IPluginCore::Output(int index) const {
    return index >= 0 && index < OutputCount() ? outputs_[static_cast<size_t>(index)].get() : nullptr;
}

// ---- Channels and the processing frame ------------------------------------------------------------

void IPluginCore::SetBlockSize(int frames) {
    frames = std::max(frames, 0);
    if (frames == blockSize_) return;
    const intptr_t bytes = ScratchBytes(frames);
    auto resize = [bytes](GrowBuffer& scratch) {
        // A refused size keeps the old buffer; SubBlockFrames then limits processing to what exists.
        scratch.Resize(bytes);
        if (scratch.Size() > 0) std::memset(scratch.Data(), 0, static_cast<size_t>(scratch.Size()));
    };
    for (auto& channel : inputs_) resize(channel->scratch);
    for (auto& channel : outputs_) resize(channel->scratch);
    blockSize_ = frames;
    PointSlotsAtScratch();
}

void IPluginCore::ConnectInputs(int start, int count, bool connected) {
    const long long end = std::min<long long>(static_cast<long long>(start) + count, InputCount());
    for (long long i = std::max(start, 0); i < end; ++i) {
        InputChannel& channel = *inputs_[static_cast<size_t>(i)];
        channel.connected = connected;
        if (!connected) {
            // A disconnected input must sound silent, not repeat the last block it was given.
            if (channel.scratch.Size() > 0)
                std::memset(channel.scratch.Data(), 0, static_cast<size_t>(channel.scratch.Size()));
            *channel.slot = channel.Scratch();
        }
    }
}

void IPluginCore::ConnectOutputs(int start, int count, bool connected) {
    const long long end = std::min<long long>(static_cast<long long>(start) + count, OutputCount());
    for (long long i = std::max(start, 0); i < end; ++i) {
        OutputChannel& channel = *outputs_[static_cast<size_t>(i)];
        channel.connected = connected;
        if (!connected) *channel.slot = channel.Scratch();
    }
}

void IPluginCore::PointSlotsAtScratch() {
    for (auto& channel : inputs_) *channel->slot = channel->Scratch();
    for (auto& channel : outputs_) *channel->slot = channel->Scratch();
}

void IPluginCore::ClearHostPointers() {
    for (auto& channel : inputs_) channel->hostSource = nullptr, channel->hostSource64 = nullptr;
    for (auto& channel : outputs_) channel->hostTarget = nullptr, channel->hostTarget64 = nullptr;
}

void IPluginCore::AttachInputs(const float* const* inputs, int) {
    HandOut(inputs_, inputs, [](InputChannel& channel, const float* block) {
        channel.hostSource = block;
        channel.hostSource64 = nullptr;
    });
}

void IPluginCore::AttachOutputs(float* const* outputs) {
    HandOut(outputs_, outputs, [](OutputChannel& channel, float* block) {
        channel.hostTarget = block;
        channel.hostTarget64 = nullptr;
    });
}

void IPluginCore::AttachInputs64(double* const* inputs) {
    HandOut(inputs_, inputs, [](InputChannel& channel, double* block) {
        channel.hostSource64 = block;
        channel.hostSource = nullptr;
    });
}

void IPluginCore::AttachOutputs64(double* const* outputs) {
    HandOut(outputs_, outputs, [](OutputChannel& channel, double* block) {
        channel.hostTarget64 = block;
        channel.hostTarget = nullptr;
    });
}

int IPluginCore::SubBlockFrames() const {
    int frames = blockSize_;
    for (const auto& channel : inputs_) frames = std::min(frames, channel->ScratchFrames());
    for (const auto& channel : outputs_) frames = std::min(frames, channel->ScratchFrames());
    return frames;
}

void IPluginCore::RunReplacing(int frames) {
    Run(frames, RunMode::Replace);
}

void IPluginCore::RunAccumulating(int frames) {
    Run(frames, RunMode::Accumulate);
}

void IPluginCore::Run64(int frames) {
    Run(frames, RunMode::Double);
}

void IPluginCore::Run(int frames, RunMode mode) {
    const int chunk = SubBlockFrames();
    if (frames > 0 && chunk <= 0 && mode != RunMode::Accumulate) {
        // No scratch space to process into: answer silence rather than leave the host's garbage.
        for (auto& channel : outputs_) {
            if (channel->hostTarget != nullptr)
                std::fill(channel->hostTarget, channel->hostTarget + frames, 0.0f);
            if (channel->hostTarget64 != nullptr)
                std::fill(channel->hostTarget64, channel->hostTarget64 + frames, 0.0);
        }
    }
    double** inputSlots = inputSlots_.empty() ? nullptr : inputSlots_.data();
    double** outputSlots = outputSlots_.empty() ? nullptr : outputSlots_.data();
    for (int done = 0; chunk > 0 && done < frames; done += chunk) {
        const int n = std::min(chunk, frames - done);
        for (auto& channel : inputs_) {
            if (channel->hostSource64 != nullptr) {
                *channel->slot = channel->hostSource64 + done;
                continue;
            }
            double* scratch = channel->Scratch();
            if (channel->hostSource != nullptr) {
                const float* source = channel->hostSource + done;
                for (int i = 0; i < n; ++i) scratch[i] = source[i];
            } else if (channel->connected) {
                std::fill(scratch, scratch + n, 0.0);  // connected, but the host gave no block
            }
            *channel->slot = scratch;
        }
        for (auto& channel : outputs_) {
            *channel->slot =
                channel->hostTarget64 != nullptr ? channel->hostTarget64 + done : channel->Scratch();
        }
        ProcessDouble(inputSlots, outputSlots, n);
        if (mode == RunMode::Double) continue;
        for (auto& channel : outputs_) {
            if (channel->hostTarget == nullptr) continue;
            const double* scratch = channel->Scratch();
            float* target = channel->hostTarget + done;
            if (mode == RunMode::Accumulate) {
                for (int i = 0; i < n; ++i) target[i] += static_cast<float>(scratch[i]);
            } else {
                for (int i = 0; i < n; ++i) target[i] = static_cast<float>(scratch[i]);
            }
        }
    }
    ClearHostPointers();
    PointSlotsAtScratch();
}

// ---- Parameter flow -------------------------------------------------------------------------------

void IPluginCore::ApplyParameterFromEditor(int index, double normalized) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    IParameter* parameter = Parameter(index);
    if (parameter == nullptr) return;
    parameter->SetFromNormalized(normalized);
    HostAutomate(index, normalized);
    OnParameterChange(index);
}

void IPluginCore::ApplyParameterFromHost(int index, double value, bool isNormalized) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    IParameter* parameter = Parameter(index);
    if (parameter == nullptr) return;
    if (editor_) editor_->ShowParameterValue(index, value, isNormalized);
    if (isNormalized)
        parameter->SetFromNormalized(value);
    else
        parameter->SetPlain(value);
    OnParameterChange(index);
}

void IPluginCore::NotifyAllParameters() {
    for (int i = 0; i < ParameterCount(); ++i) OnParameterChange(i);
}

void IPluginCore::PushValuesToEditor() {
    if (!editor_) return;
    for (int i = 0; i < ParameterCount(); ++i)
        editor_->ShowParameterValue(i, params_[static_cast<size_t>(i)]->PlainValue(), false);
}

void IPluginCore::AttachEditor(std::unique_ptr<IEditorLink> editor) {
    if (editor == nullptr) return;
    std::lock_guard<std::recursive_mutex> hold(lock_);
    for (int i = 0; i < ParameterCount(); ++i) {
        editor->ShowParameterValue(i, params_[static_cast<size_t>(i)]->NormalizedValue(), true);
    }
    editor->PrepareDrawing();
    editor_ = std::move(editor);
    if (host_ != nullptr) host_->EditorChanged();
}

void IPluginCore::EndEditLater(int index) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!editor_) {
        HostEndEdit(index);
        return;
    }
    // A gesture still waiting on another parameter is closed now, so the host never sees a begin
    // without its end.
    if (pendingEndEdit_ >= 0 && pendingEndEdit_ != index) HostEndEdit(pendingEndEdit_);
    pendingEndEdit_ = index;
    editor_->StartEndEditCountdown(std::max(1, editor_->FrameRate() / 2));
}

void IPluginCore::FlushPendingEndEdit() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (editor_) editor_->CancelEndEditCountdown();
    if (pendingEndEdit_ >= 0) {
        const int index = pendingEndEdit_;
        pendingEndEdit_ = -1;
        HostEndEdit(index);
    }
}
