#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/HeadlessEditor.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestPlugin.h"

// The test plug-in (parameters: 0 Integer 0..5, 1 Choice of three texts, 2 Choice of two,
// 3 Continuous 0..1) with a headless editor of 100 x 80: a background (id kBackgroundId, grey)
// and the controls each test attaches, then AttachEditor.
class EditorPlugin : public TestPlugin {
  public:
    using TestPlugin::TestPlugin;
    void OnEditorOpened() override { ++opened; }
    void OnEditorClosed() override { ++closed; }
    int opened = 0;
    int closed = 0;
};

class EditorFixture : public ::testing::Test {
  protected:
    static constexpr int kWidth = 100;
    static constexpr int kHeight = 80;
    static constexpr int kBackgroundId = 900;
    static constexpr uint32_t kGrey = 0xFF404040;

    EditorFixture() {
        HeadlessEditor::DefineImage(kBackgroundId, {kWidth, kHeight, kGrey});
        plugin = new EditorPlugin(TestPlugin::Options{});
        effect = NewVstPlugin(plugin, &RecordingHost::Callback);
        host.Bind(effect);
        editor = new HeadlessEditor(plugin, kWidth, kHeight);
        editor->AttachBackground(kBackgroundId, "background");
    }
    ~EditorFixture() override {
        if (!attached) delete editor;
        Dispatch(effClose);
    }

    // Hands the editor to the plug-in (which owns it from then on).
    void Attach() {
        plugin->AttachEditor(std::unique_ptr<IEditorLink>(editor));
        attached = true;
    }
    template <class T>
    T* Add(T* control) {
        editor->AttachControl(control);
        return control;
    }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    // The edit gestures and automation the host saw, as "B0", "A0", "E0"...
    std::vector<std::string> Gestures() const {
        std::vector<std::string> out;
        for (const RecordingHost::Call& call : host.calls) {
            const char* kind = call.opcode == audioMasterBeginEdit  ? "B"
                               : call.opcode == audioMasterEndEdit  ? "E"
                               : call.opcode == audioMasterAutomate ? "A"
                                                                    : nullptr;
            if (kind) out.push_back(kind + std::to_string(call.index));
        }
        return out;
    }
    void PaintAll() { editor->PaintArea(IPixelRect(0, 0, kWidth, kHeight)); }

    RecordingHost host;
    EditorPlugin* plugin;
    AEffect* effect;
    HeadlessEditor* editor;
    bool attached = false;
};

// A control that records every call it receives as text.
class ProbeControl : public IControl {
  public:
    using IControl::IControl;
    void MouseDown(int x, int y, const IMouseKeys& keys) override {
        Log("down", x, y);
        IControl::MouseDown(x, y, keys);
    }
    void MouseUp(int x, int y, const IMouseKeys&) override { Log("up", x, y); }
    void MouseDrag(int x, int y, int dX, int dY, const IMouseKeys&) override {
        Log("drag", x, y);
        drags.push_back({dX, dY});
    }
    void MouseDoubleClick(int x, int y, const IMouseKeys& keys) override {
        Log("double", x, y);
        IControl::MouseDoubleClick(x, y, keys);
    }
    void KeyDown(int, int, int key) override { calls.push_back("key " + std::to_string(key)); }
    void MouseOver(int x, int y, const IMouseKeys&) override { Log("over", x, y); }
    void MouseOut() override { calls.push_back("out"); }
    bool Paint(IEditorGraphics&) override {
        ++paints;
        return true;
    }

    std::vector<std::string> calls;
    std::vector<std::pair<int, int>> drags;
    int paints = 0;

  private:
    void Log(const char* what, int x, int y) {
        calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};
