// The module's LV2 entry: lv2_descriptor lists the stereo and the mono plug-in; each static
// callback checks its instance and hands the call to it. Nothing escapes to the host.
#include <array>
#include <iterator>
#include <string>

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include "effect/CreateEffect.h"
#include "lv2/Lv2Plugin.h"

namespace {
Lv2Plugin* Self(LV2_Handle handle) {
    return static_cast<Lv2Plugin*>(handle);
}

// [instantiation]
template <int Variant>
LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
    try {
        return Lv2Plugin::Create(CreateEffect(), Variant, rate, features);
    } catch (...) {
        return nullptr;
    }
}

// [instantiation class]
void ConnectPort(LV2_Handle handle, uint32_t port, void* data) {
    if (handle) Self(handle)->Connect(port, data);
}
void Activate(LV2_Handle handle) {
    if (handle) Self(handle)->Activate();
}
void Deactivate(LV2_Handle handle) {
    if (handle) Self(handle)->Deactivate();
}
void Cleanup(LV2_Handle handle) {
    delete Self(handle);
}

// [audio thread]
void Run(LV2_Handle handle, uint32_t frames) {
    if (handle) Self(handle)->Run(frames);
}

// [instantiation class] state:interface
LV2_State_Status Save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                      const LV2_Feature* const*) {
    return handle && store ? Self(handle)->Save(store, state) : LV2_STATE_ERR_UNKNOWN;
}
LV2_State_Status Restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state,
                         uint32_t, const LV2_Feature* const*) {
    return handle && retrieve ? Self(handle)->Restore(retrieve, state) : LV2_STATE_ERR_UNKNOWN;
}

const void* ExtensionData(const char* uri) {
    static const LV2_State_Interface state{Save, Restore};
    return uri && std::string(uri) == LV2_STATE__interface ? &state : nullptr;
}

struct Descriptors {
    std::array<std::string, std::size(kLv2Variants)> uris;
    std::array<LV2_Descriptor, std::size(kLv2Variants)> records;
    Descriptors() {
        for (size_t v = 0; v < records.size(); ++v) {
            uris[v] = std::string(EffectDescriptor().lv2Uri) + kLv2Variants[v].uriSuffix;
            records[v] = {uris[v].c_str(),
                          v == 0 ? Instantiate<0> : Instantiate<1>,
                          ConnectPort,
                          Activate,
                          Run,
                          Deactivate,
                          Cleanup,
                          ExtensionData};
        }
    }
};
}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    static const Descriptors descriptors;
    return index < descriptors.records.size() ? &descriptors.records[index] : nullptr;
}
