#include "tests/support/TestEditorEffect.h"

#include <memory>

#include "editor/IEditorGraphics.h"
#include "editor/NewEditorWindow.h"

TestBarControl::TestBarControl(IPluginCore* plug, IPixelRect rect, int paramIndex, IArgb colour)
    : IControl(plug, rect, paramIndex), colour(colour) {}

bool TestBarControl::Paint(IEditorGraphics& graphics) {
    graphics.FillRect(TestEditorEffect::kTrack, rect);
    IPixelRect filled = rect;
    filled.right = rect.left + static_cast<int32_t>(value * static_cast<double>(rect.Width()) + 0.5);
    if (filled.right > filled.left) graphics.FillRect(colour, filled);
    return true;
}

void TestBarControl::MouseDrag(int, int, int dX, int dY, const IMouseKeys&) {
    value += (dX - dY) / 200.0;
    MarkDirty(true);
}

void TestBarControl::KeyDown(int, int, int key) {
    keys.push_back(key);
}

TestBackgroundControl::TestBackgroundControl(IPluginCore* plug, IPixelRect rect, IArgb colour)
    : IControl(plug, rect, -1, BlendReplace), colour(colour) {}

bool TestBackgroundControl::Paint(IEditorGraphics& graphics) {
    return graphics.FillRect(colour, rect, blend);
}

namespace {

PluginDescriptor Describe() {
    PluginDescriptor d;
    d.effectName = "Test Editor";
    d.productName = "Test Editor Effect";
    d.vendor = "Vesmar Tests";
    d.version = 0x10000;
    d.channelConfigs = "2-2";
    d.parameterCount = 3;
    d.programCount = 2;
    d.vst2.uniqueId = 0x54734564;
    d.vst2.makerId = 0x56736d72;
    d.vst2.stateChunks = true;
    return d;
}

}  // namespace

const PluginDescriptor& TestEditorEffect::Identity() {
    static const PluginDescriptor descriptor = Describe();
    return descriptor;
}

TestEditorEffect::TestEditorEffect(void* instance) : IPluginCore(Identity()) {
    Parameter(0)->DefineContinuous("Level", 25.0, 0.0, 100.0, 0.1, "%");
    Parameter(1)->DefineChoice("Side", 0, 3, "");
    const char* sides[] = {"Alternate", "Left", "Right"};
    for (int i = 0; i < 3; ++i) Parameter(1)->AddValueText(i, sides[i]);
    Parameter(2)->DefineInteger("Steps", 1, 0, 4, "");
    const char* steps[] = {"none", "one", "two", "three", "four"};
    for (int i = 0; i < 5; ++i) Parameter(2)->AddValueText(i, steps[i]);

    IEditorGraphics* editor = NewEditorWindow(this, kWidth, kHeight, 0, instance);
    editor->AttachControl(new TestBackgroundControl(this, {0, 0, kWidth, kHeight}, kBackground));
    for (int i = 0; i < 3; ++i)
        editor->AttachControl(new TestBarControl(this, BarRect(i), i, kBarColours[i]));
    AttachEditor(std::unique_ptr<IEditorLink>(editor));
    CaptureDefaultPrograms("Start", 1);
    DefineProgram("Full", {100.0, 2, 4});
}

TestBarControl* TestEditorEffect::Bar(int i) const {
    IEditorGraphics* editor = EditorGraphics();
    return editor ? dynamic_cast<TestBarControl*>(editor->Control(i + 1)) : nullptr;
}
