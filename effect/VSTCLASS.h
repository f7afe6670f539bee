#pragma once
#include <cstdint>

#include "effect/NoteOffMode.h"
#include "effect/PanSideMode.h"
#include "plugbase/IPluginCore.h"

class GRAPH;
class IEditorGraphics;

// The Vesmar effect: a MIDI-triggered Attack-Hold-Decay envelope that pushes a stereo signal
// towards one side. Its descriptor states the plug-in's identity, the constructor its parameters,
// editor and factory programs; the four hooks are the engine. It knows no plug-in format: each
// format's adapter owns one and attaches itself as the host (see effect/CreateEffect.h).
//
// The envelope is block-stepped: its level is computed once at the start of each block, and within
// the block only the pan position moves, on a straight line from the previous block's target to
// this block's. Every hook runs with the core's lock held (the host adapter takes it), so the
// engine fields need no further protection.
class VSTCLASS : public IPluginCore {
  public:
    // Parameter indices: the contract with programs, stored states and the editor.
    enum Param : int {
        kAttack = 0,
        kHold,
        kDecay,
        kShapeEnv,
        kPanWidth,
        kPanOffset,
        kPanSide,
        kNoteOff,
        kSidesVolAmplify,
        kNumParams
    };
    static constexpr int kNumPrograms = 10;

    // Built with EffectDescriptor() (effect/CreateEffect.h).
    VSTCLASS();

    void Reset() override;
    void OnParameterChange(int index) override;
    void OnMidiEvent(const IMidiEvent& event) override;
    void ProcessDouble(double** inputs, double** outputs, int frames) override;

  protected:
    // Engine state; times are in samples, pan positions run from -1 (left) to +1 (right).
    double engineSampleRate = 0.0;  // rate used for the millisecond conversions
    int32_t attackLength = 0;
    int32_t holdLength = 0;
    int32_t decayLength = 0;
    int32_t envelopeShape = 0;  // EnvelopeShape
    int32_t panSide = kPanSideAlternate;
    int32_t noteOffMode = kNoteOffEnvOff;
    float panWidth = 0.0f;    // 0..1
    float panOffset = 0.0f;   // -1..1
    double sidesGain = 0.0;   // linear gain at either side
    uint32_t attackSpan = 0;  // lengths latched when the envelope started
    uint32_t decaySpan = 0;
    int32_t attackLeft = 0;  // samples still to run; may go negative
    int32_t holdLeft = 0;
    int32_t decayLeft = 0;
    int32_t panDirection = -1;  // -1 left, +1 right
    double envelopeLevel = 0.0;
    double panPosition = 0.0;  // reached at the end of the last block
    bool firstBlockDone = false;
    GRAPH* panDisplay = nullptr;  // receives the pan target each block; owned by the editor

  private:
    void DefineParameters();
    void BuildEditor();
    void DefineFactoryPrograms();
    void ConvertTimes();  // OnParameterChange for Attack, Hold and Decay
    int32_t MillisecondsToSamples(int32_t ms) const;
    void ReadPanFractions();
    void EnforceWidthOffsetRule();
    void ShowPanOffsetCorrection(double normalized);
    void StartEnvelope();
    void ReleaseEnvelope();
    inline void StepEnvelope(int32_t frames);
    inline void PublishPanTarget(float target);

    IEditorGraphics* editorGraphics = nullptr;  // the attached editor; owned by the core
};
