// The engine hooks of the effect: parameter conversion, sample-rate changes, MIDI and audio.
#include <cmath>
#include <mutex>

#include "editor/IEditorGraphics.h"
#include "effect/EnvelopeCurve.h"
#include "effect/GRAPH.h"
#include "effect/PanRamp.h"
#include "effect/RoundHalfAway.h"
#include "effect/VSTCLASS.h"

namespace {

constexpr double kDecibelToNeper = 0.11512925464970228;  // ln(10) / 20: exp(dB * this) = 10^(dB/20)

}  // namespace

void VSTCLASS::OnParameterChange(int index) {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    const IParameter* parameter = Parameter(index);
    if (!parameter) return;
    const int32_t n = RoundHalfAway(parameter->PlainValue());
    switch (index) {
        case kAttack:
            attackLength = MillisecondsToSamples(n);
            break;
        case kHold:
            holdLength = MillisecondsToSamples(n);
            break;
        case kDecay:
            decayLength = MillisecondsToSamples(n);
            break;
        case kShapeEnv:
            envelopeShape = n;
            break;
        case kPanWidth:
        case kPanOffset:
            ReadPanFractions();
            EnforceWidthOffsetRule();
            break;
        case kPanSide:
            panSide = n;
            break;
        case kNoteOff:
            noteOffMode = n;
            break;
        case kSidesVolAmplify:
            sidesGain = std::exp(static_cast<double>(n) * kDecibelToNeper);
            break;
        default:
            break;
    }
}

int32_t VSTCLASS::MillisecondsToSamples(int32_t ms) const {
    return RoundHalfAway(static_cast<double>(ms) * engineSampleRate * 0.001);
}

void VSTCLASS::ConvertTimes() {
    OnParameterChange(kAttack);
    OnParameterChange(kHold);
    OnParameterChange(kDecay);
}

// Width and offset are always taken as a pair. A program or chunk load sets every parameter before
// notifying any of them, so taking only the changed one would check the new width against the
// previous program's offset and rewrite the offset the program has just loaded.
void VSTCLASS::ReadPanFractions() {
    panWidth = static_cast<float>(RoundHalfAway(Parameter(kPanWidth)->PlainValue())) * 0.01f;
    panOffset = static_cast<float>(RoundHalfAway(Parameter(kPanOffset)->PlainValue())) * 0.01f;
}

// Keeps Pan Width + |Pan Offset| <= 100 % so that the pan target stays within -1..+1: the offset is
// pulled towards the centre. Computed in single precision on the stored fractions; for every pair
// of whole percentages this is exactly the integer rule, and it cannot trigger while the offset is
// 0 because the width is at most 100 %.
void VSTCLASS::EnforceWidthOffsetRule() {
    if (100.0f - std::fabs(panOffset * 100.0f) >= std::fabs(panWidth * 100.0f)) return;
    const int32_t m = RoundHalfAway((1.0f / panOffset) * (100.0f - panWidth * 100.0f) * std::fabs(panOffset));
    panOffset = static_cast<float>(m) * 0.01f;
    // The correction belongs to the gesture that caused it. A wheel gesture waiting for its end
    // edit stays open (ending it here would leave the end edit it sends later without a begin);
    // one on Pan Offset itself already brackets the correction.
    const bool offsetGestureOpen = PendingEndEdit() == kPanOffset;
    if (!offsetGestureOpen) HostBeginNestedEdit(kPanOffset);
    IParameter* offset = Parameter(kPanOffset);
    offset->SetPlain(m);
    ShowPanOffsetCorrection(offset->NormalizedValue());
    if (!offsetGestureOpen) HostEndEdit(kPanOffset);
}

// The corrected offset must reach both the controls and the host: the Pan Offset knob takes it as
// if turned by hand and reports it through ApplyParameterFromEditor, whose nested change finds the
// pair consistent.
void VSTCLASS::ShowPanOffsetCorrection(double normalized) {
    editorGraphics->SetBoundControlsFromUser(kPanOffset, normalized);
}

void VSTCLASS::Reset() {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    // A running envelope keeps its latched spans and counters; only future notes use the new rate.
    if (SampleRate() != engineSampleRate) {
        engineSampleRate = SampleRate();
        ConvertTimes();
    }
}

void VSTCLASS::OnMidiEvent(const IMidiEvent& event) {
    // Channel, note number and offset are not used: a note takes effect from the next block.
    const MidiKind kind = event.Kind();
    if (kind == MidiKind::NoteOn && event.Velocity() > 0) {
        StartEnvelope();
    } else if (kind == MidiKind::NoteOn || kind == MidiKind::NoteOff) {
        ReleaseEnvelope();
    }
    SendMidiEvent(event);  // every message goes back out unchanged, ignored notes included
}

void VSTCLASS::StartEnvelope() {
    // While a decay is pending, only ENV Off lets a new note restart the envelope.
    if (decayLeft > 0 && noteOffMode != kNoteOffEnvOff) return;
    envelopeLevel = 0.0;
    attackSpan = static_cast<uint32_t>(attackLength);
    attackLeft = attackLength;
    holdLeft = holdLength;
    decaySpan = static_cast<uint32_t>(decayLength);
    decayLeft = decayLength;
    if (panSide == kPanSideAlternate) {
        panDirection = panDirection > 0 ? -1 : 1;  // the first note after construction goes right
    } else {
        panDirection = panSide == kPanSideLeft ? -1 : 1;
    }
}

void VSTCLASS::ReleaseEnvelope() {
    switch (noteOffMode) {
        case kNoteOffEnvOff:
            envelopeLevel = 0.0;
            attackSpan = decaySpan = 0;
            attackLeft = holdLeft = decayLeft = 0;
            break;
        case kNoteOffEnvDecay:
            attackSpan = 0;
            attackLeft = holdLeft = 0;
            if (decayLeft <= 0) {
                envelopeLevel = 0.0;
                decaySpan = 0;
                decayLeft = 0;
            } else if (decayLeft == static_cast<int32_t>(decaySpan)) {
                // The decay has not begun: resume it where its linear level equals the current level.
                decayLeft = RoundHalfAway(static_cast<double>(decaySpan) * envelopeLevel);
            }
            break;
        default:  // Follow ENV: the envelope runs its course
            break;
    }
}

// One 32-bit store per block, read by the editor's paint without a lock.
inline void VSTCLASS::PublishPanTarget(float target) {
    livePan = target;
    if (panDisplay != nullptr) panDisplay->shownPan = target;
}

void VSTCLASS::ShowLiveValue(float value) {
    if (panDisplay != nullptr) panDisplay->shownPan = value;
}

inline void VSTCLASS::StepEnvelope(int32_t frames) {
    if (attackLeft > 0) {
        envelopeLevel = EnvelopeCurve::Attack(envelopeShape, attackLeft, attackSpan);
        attackLeft -= frames;
    } else if (holdLeft > 0) {
        envelopeLevel = 1.0;
        holdLeft -= frames;
    } else if (decayLeft > 0) {
        decayLeft -= frames;
        EnvelopeCurve::Decay(envelopeShape, decayLeft, decaySpan, envelopeLevel);
    } else if (decayLeft < 0) {
        envelopeLevel = 0.0;
        attackLeft = holdLeft = decayLeft = 0;
    }
    // Otherwise every counter is at 0 or below with the decay exactly done: the level stays.
}

void VSTCLASS::ProcessDouble(double** inputs, double** outputs, int frames) {
    const int32_t n = frames > 0 ? frames : 0;  // a negative count is an empty block
    if (!firstBlockDone) {
        firstBlockDone = true;
        engineSampleRate = SampleRate();
        ConvertTimes();
    }
    StepEnvelope(n);
    const double target = static_cast<double>(panDirection) * static_cast<double>(panWidth) * envelopeLevel +
                          static_cast<double>(panOffset);
    PublishPanTarget(static_cast<float>(target));
    if (n > 0 && inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1]) {
        const double step = (target - panPosition) / n;
        PanRamp::Run(inputs[0], inputs[1], outputs[0], outputs[1], n, panPosition, step, sidesGain);
    }
    panPosition = target;  // exactly, not the accumulated sum
}
