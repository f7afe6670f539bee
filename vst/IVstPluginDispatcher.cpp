// The dispatcher: every host request that is not audio or a direct parameter get/set. Runs with
// the plug-in's lock held. Host pointers are checked before use, host texts are read up to a bound
// and texts written to the host are short and terminated (see VstText).
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugbase/TextCopy.h"
#include "vst/IVstPlugin.h"
#include "vst/VstCanDo.h"
#include "abi/OffscreenEditor.h"
#include "vst/VstText.h"

namespace {

constexpr intptr_t kVendorAnswer = 0xBEEF;
constexpr int32_t kVstVersion = 2400;
// The host's wheel forwarding: vendor index "stCA" with value "Whee".
constexpr int32_t kWheelVendor = 0x73744341;
constexpr intptr_t kWheelProduct = 0x57686565;
constexpr float kMaxWheelNotches = 1.0e6f;

// Sample rates a real device can run at; anything else (NaN, 0, negative, absurdly large) would
// only overflow the effect's sample counts, so it is not taken.
constexpr double kMinSampleRate = 1.0;
constexpr double kMaxSampleRate = 1.0e6;
// Longest block the scratch buffers are sized for; longer host blocks are still processed whole,
// in sub-blocks, so clamping the announced size loses nothing.
constexpr intptr_t kMaxBlockSize = 65536;
// Most steps a float step over 0..1 still tells apart.
constexpr double kMaxPropertySteps = 1 << 24;

// A pointer-sized host value as an index, -1 when it does not fit an int.
int IndexFrom(intptr_t value) {
    return (value < INT_MIN || value > INT_MAX) ? -1 : static_cast<int>(value);
}

}  // namespace

intptr_t IVstPlugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    const IParameter* parameter = core_->Parameter(index);
    switch (opcode) {
        case effOpen:
            AdjustForHost();
            core_->NotifyAllParameters();
            return 0;
        case effSetProgram:
            core_->StoreCurrentProgram(nullptr);
            core_->SelectProgram(IndexFrom(value));
            return 0;
        case effGetProgram:
            return core_->CurrentProgramIndex();
        case effSetProgramName:
            if (text) {
                char name[VstText::kHostTextLimit + 1];
                VstText::Read(text, name);
                core_->StoreCurrentProgram(name);
            }
            return 0;
        case effGetProgramName:
            CopyText(text, VstText::kProgramName, core_->ProgramName(core_->CurrentProgramIndex()));
            return 0;
        case effGetParamLabel:
            if (parameter) CopyText(text, VstText::kParameterText, parameter->Label());
            return 0;
        case effGetParamDisplay:
            if (parameter && text)
                parameter->FormatForHost(parameter->PlainValue(), false, text, VstText::kParameterText);
            return 0;
        case effGetParamName:
            if (parameter) CopyText(text, VstText::kParameterText, parameter->Name());
            return 0;
        case effSetSampleRate:
            SetSampleRateFromHost(opt);
            return 0;
        case effSetBlockSize:
            SetBlockSizeFromHost(value);
            return 0;
        case effMainsChanged:
            core_->OnActivate(value != 0);
            if (value == 0) core_->Reset();
            return 0;
        case effEditGetRect:
            if (!ptr || !core_->Editor()) return 0;
            *static_cast<ERect**>(ptr) = &editorRect_;
            return 1;
        case effEditOpen:
            if (!core_->Editor() || core_->Editor()->OpenWindow(ptr) == nullptr) return 0;
            core_->OnEditorOpened();
            return 1;
        case effEditClose:
            if (!core_->Editor()) return 0;
            core_->OnEditorClosed();
            core_->Editor()->CloseWindow();
            return 1;
        case effIdentify:
            return kVstIdentifyMagic;
        case effGetChunk:
            return core_->GetStateChunk(index == 0, static_cast<const void**>(ptr));
        case effSetChunk:
            return core_->SetStateChunk(index == 0, ptr, value);
        case effProcessEvents:
            return ProcessEvents(static_cast<const VstEvents*>(ptr));
        case effCanBeAutomated:
            return 1;
        case effString2Parameter:
            return String2Parameter(index, text);
        case effGetProgramNameIndexed:
            if (!text) return 0;
            CopyText(text, VstText::kProgramName, core_->ProgramName(index));
            return text[0] != '\0' ? 1 : 0;
        case effGetInputProperties:
            return PinProperties(true, index, static_cast<VstPinProperties*>(ptr));
        case effGetOutputProperties:
            return PinProperties(false, index, static_cast<VstPinProperties*>(ptr));
        case effGetPlugCategory:
            return core_->Descriptor().vst2.isInstrument ? kPlugCategSynth : kPlugCategEffect;
        case effSetSpeakerArrangement:
            return SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                         static_cast<const VstSpeakerArrangement*>(ptr));
        case effGetEffectName:
            if (!text) return 0;
            CopyText(text, kVstMaxEffectNameLen, core_->EffectName());
            return 1;
        case effGetVendorString:
            if (!text) return 0;
            CopyText(text, kVstMaxVendorStrLen, core_->MakerName());
            return 1;
        case effGetProductString:
            if (!text) return 0;
            CopyText(text, kVstMaxProductStrLen, core_->ProductName());
            return 1;
        case effGetVendorVersion:
            return core_->VersionDecimal();
        case effVendorSpecific:
            return VendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return VstCanDo(text, core_->Descriptor().vst2.doesMidi);
        case effGetVstVersion:
            return kVstVersion;
        case effGetMidiKeyName:
            return MidiKeyNameFor(static_cast<MidiKeyName*>(ptr));
        case effGetParameterProperties:
            return ParameterPropertiesFor(index, static_cast<VstParameterProperties*>(ptr));
        case effGetSpeakerArrangement:
            if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &inputArrangement_;
            if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &outputArrangement_;
            return 1;
        default:
            return 0;
    }
}

void IVstPlugin::SetSampleRateFromHost(float rate) {
    if (!(rate >= kMinSampleRate && rate <= kMaxSampleRate)) return;
    core_->SetSampleRate(rate);
    core_->Reset();
}

void IVstPlugin::SetBlockSizeFromHost(intptr_t frames) {
    // A size of 0 or below would leave no scratch space and silence every block; keep the old one.
    if (frames <= 0) return;
    core_->SetBlockSize(static_cast<int>(std::min(frames, kMaxBlockSize)));
    core_->Reset();
}

intptr_t IVstPlugin::ProcessEvents(const VstEvents* events) {
    if (!events) return 0;
    // The host allocates as many entries as numEvents says, beyond the two the record declares:
    // walk them through a pointer, not the declared array.
    const VstEvent* const* entries = events->events;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = entries[i];
        if (!event) continue;
        if (event->type == kVstMidiType) {
            // Every field read here lies within the generic 32-byte event, so a record whose byteSize
            // is wrong (some hosts fill it carelessly) is still read safely.
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            IMidiEvent message;
            message.offset = midi->deltaFrames;
            message.status = static_cast<uint8_t>(midi->midiData[0]);
            message.data1 = static_cast<uint8_t>(midi->midiData[1]);
            message.data2 = static_cast<uint8_t>(midi->midiData[2]);
            core_->OnMidiEvent(message);
        } else if (event->type == kVstSysExType &&
                   event->byteSize >= static_cast<int32_t>(sizeof(VstMidiSysexEvent))) {
            // The system-exclusive record is longer than the generic event: only a record that says it
            // is that long is read. A dump without bytes is delivered as an empty message.
            const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
            ISysExMessage message;
            message.offset = sysex->deltaFrames;
            if (sysex->dumpBytes > 0 && sysex->sysexDump) {
                message.size = sysex->dumpBytes;
                message.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
            }
            core_->OnSysEx(message);
        }
    }
    return 1;
}

intptr_t IVstPlugin::String2Parameter(int index, const char* text) {
    IParameter* parameter = core_->Parameter(index);
    if (!parameter) return 0;
    if (text) {
        char bounded[VstText::kHostTextLimit + 1];
        VstText::Read(text, bounded);
        core_->ApplyParameterFromHost(index, parameter->ParseText(bounded), false);
    }
    return 1;
}

intptr_t IVstPlugin::PinProperties(bool input, int index, VstPinProperties* pin) {
    const int channels = input ? core_->InputCount() : core_->OutputCount();
    if (!pin || index < 0 || index >= channels) return 0;
    std::memset(pin, 0, sizeof *pin);
    pin->flags = kVstPinIsActive;
    if (index % 2 == 0 && index < channels - 1) pin->flags |= kVstPinIsStereo;
    std::snprintf(pin->label, sizeof pin->label, input ? "Input %d" : "Output %d", index + 1);
    return 1;
}

intptr_t IVstPlugin::SetSpeakerArrangement(const VstSpeakerArrangement* inputs,
                                           const VstSpeakerArrangement* outputs) {
    if (inputs) {
        const int n = std::clamp(inputs->numChannels, 0, core_->InputCount());
        core_->ConnectInputs(0, n, true);
        core_->ConnectInputs(n, core_->InputCount() - n, false);
    }
    if (outputs) {
        const int n = std::clamp(outputs->numChannels, 0, core_->OutputCount());
        core_->ConnectOutputs(0, n, true);
        core_->ConnectOutputs(n, core_->OutputCount() - n, false);
    }
    return 1;
}

intptr_t IVstPlugin::VendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    const IParameter* parameter = core_->Parameter(IndexFrom(value));
    switch (index) {
        case effGetParamDisplay:
            if (!text) return 0;
            if (parameter) {
                // A normalised value outside 0..1 (or NaN) has no display; show the nearest one.
                const double x = std::isnan(opt) ? 0.0 : std::clamp(static_cast<double>(opt), 0.0, 1.0);
                parameter->FormatForHost(x, true, text, VstText::kParameterText);
            }
            return kVendorAnswer;
        case effGetParamName:
            if (!parameter) return 0;
            if (parameter->Kind() == ParameterKind::Toggle) return kVendorAnswer;
            if ((parameter->Kind() == ParameterKind::Integer || parameter->Kind() == ParameterKind::Choice) &&
                std::fabs(parameter->Max() - parameter->Min()) < 1.5) {
                return kVendorAnswer;
            }
            return 0;
        case effString2Parameter: {
            if (!text || !parameter) return 0;
            char bounded[VstText::kHostTextLimit + 1];
            VstText::Read(text, bounded);
            if (bounded[0] != '\0') {
                char normalized[VstText::kParameterText];
                std::snprintf(normalized, sizeof normalized, "%.17f",
                              parameter->ToNormalized(parameter->ParseText(bounded)));
                CopyText(text, sizeof normalized, normalized);
            }
            return kVendorAnswer;
        }
        case kWheelVendor:
            if (value != kWheelProduct || !core_->Editor()) return 0;
            // A host's notch count is bounded before the editor truncates it to an integer.
            return core_->Editor()->HostWheel(
                std::isfinite(opt) ? std::clamp(opt, -kMaxWheelNotches, kMaxWheelNotches) : 0.0f);
        case kOffscreenEditorIndex:
            if (!core_->Editor() || value < INT32_MIN || value > INT32_MAX) return 0;
            return core_->Editor()->OffscreenRequest(static_cast<int32_t>(value), ptr);
        default:
            return 0;
    }
}

// Stepped parameters as a host should show them, always over the normalised 0..1 range of every
// other parameter call: one float step per entry of a choice or toggle (toggles also as switches)
// and one per whole unit of a linear integer. Never an integer min/max: hosts take that as the
// control's range and pass its raw values to setParameter, where every entry above the first
// lands on the last. Continuous and curved parameters get no answer, so the host keeps its own
// control for them.
intptr_t IVstPlugin::ParameterPropertiesFor(int index, VstParameterProperties* properties) {
    const IParameter* parameter = core_->Parameter(index);
    if (!properties || !parameter) return 0;
    const ParameterKind kind = parameter->Kind();
    const bool selector = kind == ParameterKind::Choice || kind == ParameterKind::Toggle;
    const bool linearInteger = kind == ParameterKind::Integer && parameter->Shape() == 1.0;
    const double steps = (parameter->Max() - parameter->Min()) / parameter->Step();
    if ((!selector && !linearInteger) || !(steps >= 1.0 && steps <= kMaxPropertySteps)) return 0;
    std::memset(properties, 0, sizeof *properties);
    CopyText(properties->label, sizeof properties->label, parameter->Name());
    CopyText(properties->shortLabel, sizeof properties->shortLabel, parameter->Name());
    properties->flags = kVstParameterUsesFloatStep;
    if (kind == ParameterKind::Toggle) properties->flags |= kVstParameterIsSwitch;
    const double whole = std::round(steps);
    properties->stepFloat = properties->smallStepFloat = static_cast<float>(1.0 / whole);
    // A tenth of an integer's range for the coarse step (at least one unit); one entry for a selector.
    properties->largeStepFloat =
        selector ? properties->stepFloat : static_cast<float>(std::max(1.0, std::floor(whole / 10)) / whole);
    return 1;
}

intptr_t IVstPlugin::MidiKeyNameFor(MidiKeyName* key) {
    if (!key) return 0;
    key->keyName[0] = '\0';
    return core_->MidiNoteName(key->thisKeyNumber, key->keyName, sizeof key->keyName) ? 1 : 0;
}
