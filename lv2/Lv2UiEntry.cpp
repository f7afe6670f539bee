// The module's LV2 UI entry: lv2ui_descriptor gives the editor's X11 UI; each static callback
// checks its instance and hands the call to it. Nothing escapes to the host.
#include <cstring>
#include <string>

#include <lv2/ui/ui.h>

#include "effect/CreateEffect.h"
#include "lv2/Lv2Ui.h"

namespace {
Lv2Ui* Self(LV2UI_Handle handle) {
    return static_cast<Lv2Ui*>(handle);
}

// [UI thread] every callback.
LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
    try {
        for (const Lv2Variant& variant : kLv2Variants) {
            if (pluginUri && std::string(EffectDescriptor().lv2Uri) + variant.uriSuffix == pluginUri) {
                return Lv2Ui::Create(CreateEffect(), variant.channels, write, controller, widget, features);
            }
        }
        return nullptr;  // a plug-in of another module
    } catch (...) {
        return nullptr;
    }
}

void Cleanup(LV2UI_Handle handle) {
    delete Self(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (handle) Self(handle)->PortEvent(port, size, format, buffer);
}

int Idle(LV2UI_Handle handle) {
    return handle ? Self(handle)->Idle() : 1;
}

const void* ExtensionData(const char* uri) {
    static const LV2UI_Idle_Interface idle{Idle};
    return uri && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idle : nullptr;
}
}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    static const std::string uri = std::string(EffectDescriptor().lv2Uri) + kLv2UiSuffix;
    static const LV2UI_Descriptor descriptor{uri.c_str(), Instantiate, Cleanup, PortEvent, ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
