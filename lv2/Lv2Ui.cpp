#include "lv2/Lv2Ui.h"
#include "lv2/Lv2FeatureData.h"

#include <cstring>
#include <mutex>

Lv2Ui* Lv2Ui::Create(std::unique_ptr<IPluginCore> effect, int channels, LV2UI_Write_Function write,
                     LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    void* parent = Lv2FeatureData(features, LV2_UI__parent);
    if (!parent || !widget || channels <= 0 || !effect || !effect->Editor()) return nullptr;
    const auto* touch = static_cast<const LV2UI_Touch*>(Lv2FeatureData(features, LV2_UI__touch));
    std::unique_ptr<Lv2Ui> ui(new Lv2Ui(std::move(effect), channels, write, controller, touch));
    void* window = nullptr;
    {
        std::lock_guard<std::recursive_mutex> hold(ui->effect_->Lock());
        window = ui->effect_->Editor()->OpenWindow(parent);
        if (!window) return nullptr;
        ui->windowOpen_ = true;
        ui->effect_->OnEditorOpened();
    }
    // A host that offers ui:resize learns the editor's fixed size.
    if (const auto* resize = static_cast<const LV2UI_Resize*>(Lv2FeatureData(features, LV2_UI__resize))) {
        resize->ui_resize(resize->handle, ui->effect_->Editor()->Width(), ui->effect_->Editor()->Height());
    }
    *widget = window;
    return ui.release();
}

Lv2Ui::Lv2Ui(std::unique_ptr<IPluginCore> effect, int channels, LV2UI_Write_Function write,
             LV2UI_Controller controller, const LV2UI_Touch* touch)
    : effect_(std::move(effect)),
      layout_{effect_->ParameterCount(), channels},
      write_(write),
      controller_(controller),
      touch_(touch) {
    effect_->AttachHost(this);
}

Lv2Ui::~Lv2Ui() {
    if (windowOpen_) {
        effect_->FlushPendingEndEdit();  // a wheel gesture still open ends before the UI goes
        std::lock_guard<std::recursive_mutex> hold(effect_->Lock());
        effect_->OnEditorClosed();
        effect_->Editor()->CloseWindow();
    }
    effect_->AttachHost(nullptr);
}

void Lv2Ui::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format != 0 || size != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    if (port == layout_.PanOutput()) {
        effect_->ShowLiveValue(value);
    } else if (port < static_cast<uint32_t>(layout_.parameters)) {
        applyingHostValue_ = true;
        effect_->ApplyParameterFromHost(static_cast<int>(port), value, false);
        applyingHostValue_ = false;
    }
}

int Lv2Ui::Idle() {
    effect_->Editor()->Idle();
    return 0;
}

void Lv2Ui::Automate(int index, double) {
    // The effect's own corrections to a value the host just reported stay with the host's value:
    // the host's automation rules its ports.
    if (applyingHostValue_ || !write_ || index < 0 || index >= layout_.parameters) return;
    const float plain = static_cast<float>(effect_->Parameter(index)->PlainValue());
    write_(controller_, layout_.Control(index), sizeof plain, 0, &plain);
}

void Lv2Ui::Touch(int index, bool grabbed) {
    if (touch_ && touch_->touch && index >= 0 && index < layout_.parameters) {
        touch_->touch(touch_->handle, layout_.Control(index), grabbed);
    }
}
