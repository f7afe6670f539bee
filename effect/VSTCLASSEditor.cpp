// The effect's editor: a 480 x 260 face with six value knobs, the envelope shape selector, two
// radio strips, the live pan bar and the maker's logo link. Built once in the constructor, before
// any window exists; the host only opens and closes windows onto it.
#include <memory>

#include "editor/IEditorGraphics.h"
#include "editor/ISwitchControl.h"
#include "editor/IWebLinkControl.h"
#include "editor/NewEditorWindow.h"
#include "effect/GRAPH.h"
#include "effect/IKnobRotVal.h"
#include "effect/IRadioButtons.h"
#include "effect/RoundHalfAway.h"
#include "effect/VSTCLASS.h"
#include "plugbase/ModuleInstance.h"

namespace {

constexpr int kEditorWidth = 480;
constexpr int kEditorHeight = 260;

// Image resources (type "PNG"); the names are handed through to the loader only.
constexpr int kImageBackground = 100;
constexpr int kImageKnob = 101;
constexpr int kImageShape = 102;
constexpr int kImagePanSide = 103;
constexpr int kImageNoteOff = 104;

constexpr const char* kMakerSite = "https://darvo.audio";

// Knob row: rotation centres, and what the rectangle leaves below the knob image for the value.
constexpr int kKnobCentreY = 119;
constexpr int kKnobHalfWidth = 25;
constexpr int kKnobTextGap = 9;
constexpr int kKnobSweepDegrees = 300;
constexpr int kValueTextSize = 15;

struct KnobPlace {
    int centreX;
    int param;
};
constexpr KnobPlace kKnobs[] = {
    {60, VSTCLASS::kAttack},    {132, VSTCLASS::kHold},      {204, VSTCLASS::kDecay},
    {276, VSTCLASS::kPanWidth}, {348, VSTCLASS::kPanOffset}, {420, VSTCLASS::kSidesVolAmplify},
};

}  // namespace

void VSTCLASS::BuildEditor() {
    IEditorGraphics* editor = NewEditorWindow(this, kEditorWidth, kEditorHeight, 0, ModuleInstance());
    editorGraphics = editor;

    editor->AttachBackground(kImageBackground, "img/bg.png");

    panDisplay = new GRAPH(this, 112, 227, 441, 237);
    editor->AttachControl(panDisplay);

    editor->AttachControl(
        new IWebLinkControl(this, {143, 7, 335, 54}, Descriptor().webAddress, kMakerSite, ""));

    // White, slightly translucent value text; each knob centres its own copy.
    const ITextStyle valueTextStyle(kValueTextSize, IArgb(200, 255, 255, 255), "Arial");
    const IImageStrip knob = editor->LoadImageStrip(kImageKnob, "img/knob.png", 2);
    const int r = RoundHalfAway(static_cast<float>(knob.height) * 0.5f);
    for (const KnobPlace& place : kKnobs) {
        const IPixelRect rect(place.centreX - kKnobHalfWidth, kKnobCentreY - r,
                              place.centreX + kKnobHalfWidth,
                              kKnobCentreY + r + kKnobTextGap + kValueTextSize);
        editor->AttachControl(new IKnobRotVal(this, rect, place.param, valueTextStyle, knob, place.centreX,
                                              kKnobCentreY, kKnobTextGap, kKnobSweepDegrees, 1.0f));
    }

    const IImageStrip shape = editor->LoadImageStrip(kImageShape, "img/shape.png", 5);
    editor->AttachControl(new ISwitchControl(this, 36, 195, kShapeEnv, shape, BlendNormal));

    const IImageStrip panSideStrip = editor->LoadImageStrip(kImagePanSide, "img/radio1.png", 3);
    editor->AttachControl(new IRadioButtons(this, kPanSide, 106, 194, panSideStrip, true,
                                            IRadioButtons::kHorizontal, 60, 30, 0));
    const IImageStrip noteOffStrip = editor->LoadImageStrip(kImageNoteOff, "img/radio2.png", 3);
    editor->AttachControl(new IRadioButtons(this, kNoteOff, 256, 194, noteOffStrip, true,
                                            IRadioButtons::kHorizontal, 52, 68, 0));

    AttachEditor(std::unique_ptr<IEditorLink>(editor));
}
