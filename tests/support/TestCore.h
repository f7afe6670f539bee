#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plugbase/IPluginCore.h"

// A core shaped like the effect: nine parameters (integers and choices) and ten program slots,
// six of them filled. It records what reaches the hooks and the host notifications.
class TestCore : public IPluginCore {
  public:
    static constexpr int kParams = 9;
    static constexpr int kPrograms = 10;

    explicit TestCore(const char* channels = "1-1 2-2") : IPluginCore(Describe(channels)) {
        Parameter(0)->DefineInteger("Attack", 10, 0, 1000, "ms");
        Parameter(1)->DefineInteger("Hold", 50, 0, 2000, "ms");
        Parameter(2)->DefineInteger("Decay", 200, 1, 5000, "ms");
        Parameter(3)->DefineChoice("Shape", 0, 5, "");
        for (int i = 0; i < 5; ++i)
            Parameter(3)->AddValueText(i, std::string("Shape " + std::to_string(i)).c_str());
        Parameter(4)->DefineInteger("Width", 100, 0, 100, "%");
        Parameter(5)->DefineInteger("Offset", 0, -100, 100, "%");
        Parameter(6)->DefineInteger("Boost", 0, 0, 12, "dB");
        Parameter(7)->DefineChoice("Side", 0, 3, "");
        Parameter(8)->DefineChoice("Note Off", 1, 3, "");
        CaptureDefaultPrograms("---- default ----", 1);
        DefineProgram("Fast", {1, 10, 50, 1, 80, 0, 3, 0, 0});
        DefineProgram("Slow", {500, 500, 2000, 2, 100, 10, 0, 1, 1});
        DefineProgram("Left", {20, 100, 300, 3, 60, -20, 6, 1, 2});
        DefineProgram("Right", {20, 100, 300, 4, 60, 20, 6, 2, 2});
        DefineProgram("Wide", {5, 0, 100, 0, 100, 0, 12, 0, 1});
    }

    void OnParameterChange(int index) override {
        IPluginCore::OnParameterChange(index);
        changes.push_back(index);
    }
    void HostAutomate(int index, double normalized) override { automated.push_back({index, normalized}); }
    void HostEndEdit(int index) override { endEdits.push_back(index); }
    bool SendMidiEvent(const IMidiEvent& event) override {
        sent.push_back(event);
        return sendResult;
    }

    std::vector<double> Values() const {
        std::vector<double> values;
        for (int i = 0; i < ParameterCount(); ++i) values.push_back(Parameter(i)->PlainValue());
        return values;
    }

    static PluginDescriptor Describe(const char* channels) {
        PluginDescriptor d;
        d.effectName = "Test Effect";
        d.productName = "Test Product";
        d.vendor = "Test Maker";
        d.version = 0x10100;
        d.channelConfigs = channels;
        d.parameterCount = kParams;
        d.programCount = kPrograms;
        return d;
    }

    std::vector<int> changes;
    std::vector<std::pair<int, double>> automated;
    std::vector<int> endEdits;
    std::vector<IMidiEvent> sent;
    bool sendResult = true;
};

// Records what the core asks of its editor.
class FakeEditor : public IEditorLink {
  public:
    struct Shown {
        int index;
        double value;
        bool isNormalized;
    };
    explicit FakeEditor(int frameRate = 24, int* destroyed = nullptr)
        : frameRate_(frameRate), destroyed_(destroyed) {}
    ~FakeEditor() override {
        if (destroyed_ != nullptr) ++*destroyed_;
    }
    void ShowParameterValue(int index, double value, bool isNormalized) override {
        shown.push_back({index, value, isNormalized});
    }
    void PrepareDrawing() override { ++prepared; }
    void StartEndEditCountdown(int ticks) override { countdowns.push_back(ticks); }
    void CancelEndEditCountdown() override { ++cancels; }
    int FrameRate() const override { return frameRate_; }

    std::vector<Shown> shown;
    std::vector<int> countdowns;
    int prepared = 0;
    int cancels = 0;

  private:
    int frameRate_;
    int* destroyed_;
};

// Attaches a new editor of the given type to the core, which owns it; returns it for inspection.
template <typename Editor, typename... Args>
Editor* AttachNewEditor(IPluginCore& core, Args&&... args) {
    auto editor = std::make_unique<Editor>(std::forward<Args>(args)...);
    Editor* seen = editor.get();
    core.AttachEditor(std::move(editor));
    return seen;
}
