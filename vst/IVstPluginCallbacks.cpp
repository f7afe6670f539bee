// The record's callbacks: each validates the record, takes the plug-in's lock for its whole
// duration and forwards to the plug-in. A record without an object (never filled, or closed) is
// answered with a neutral result, and so is a call that ends in an exception: none may unwind into
// the host.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "vst/IVstPlugin.h"

namespace {

// The last guard of every callback: runs call with the plug-in's lock held and answers neutral
// when it throws (the lock is released on the way out).
template <typename Result, typename Call>
Result Guarded(IVstPlugin* plugin, Result neutral, Call call) noexcept {
    try {
        std::lock_guard<std::recursive_mutex> guard(plugin->Lock());
        return call();
    } catch (...) {
        return neutral;
    }
}

template <typename Call>
void Guarded(IVstPlugin* plugin, Call call) noexcept {
    Guarded(plugin, 0, [&] {
        call();
        return 0;
    });
}

}  // namespace

intptr_t IVstPlugin::DispatcherCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                        void* ptr, float opt) noexcept {
    IVstPlugin* plugin = FromEffect(effect);
    if (!plugin) return 0;
    if (opcode == effClose) {
        // Wait for any call in progress, then destroy the object outside its own lock.
        Guarded(plugin, [] {});
        delete plugin;
        return 0;
    }
    if (opcode == effEditIdle) {
        // The editor's events and timer run outside the lock, as a window's messages do, so that
        // painting never holds up the audio thread.
        try {
            if (IEditorLink* editor = plugin->Core().Editor()) editor->Idle();
        } catch (...) {
        }
        return 0;
    }
    return Guarded<intptr_t>(plugin, 0, [&] { return plugin->Dispatch(opcode, index, value, ptr, opt); });
}

// The core's processing frame copes with null pointer arrays and entries, blocks longer than the
// block size (processed in sub-blocks) and counts of 0 or below (nothing is processed).
void IVstPlugin::ProcessFloat(AEffect* effect, float** inputs, float** outputs, int32_t frames,
                              bool accumulate) noexcept {
    IVstPlugin* plugin = FromEffect(effect);
    if (!plugin) return;
    Guarded(plugin, [&] {
        plugin->AskForMidi();
        plugin->Core().AttachInputs(inputs, frames);
        plugin->Core().AttachOutputs(outputs);
        if (accumulate) {
            plugin->Core().RunAccumulating(frames);
        } else {
            plugin->Core().RunReplacing(frames);
        }
    });
}

void IVstPlugin::ProcessCallback(AEffect* effect, float** inputs, float** outputs, int32_t frames) noexcept {
    ProcessFloat(effect, inputs, outputs, frames, true);
}

void IVstPlugin::ProcessReplacingCallback(AEffect* effect, float** inputs, float** outputs,
                                          int32_t frames) noexcept {
    ProcessFloat(effect, inputs, outputs, frames, false);
}

void IVstPlugin::ProcessDoubleCallback(AEffect* effect, double** inputs, double** outputs,
                                       int32_t frames) noexcept {
    IVstPlugin* plugin = FromEffect(effect);
    if (!plugin) return;
    Guarded(plugin, [&] {
        plugin->AskForMidi();
        plugin->Core().AttachInputs64(inputs);
        plugin->Core().AttachOutputs64(outputs);
        plugin->Core().Run64(frames);
    });
}

void IVstPlugin::SetParameterCallback(AEffect* effect, int32_t index, float value) noexcept {
    IVstPlugin* plugin = FromEffect(effect);
    if (!plugin) return;
    // A host that sends NaN has no value to give: the parameter keeps the one it has. Values
    // outside 0..1 are clamped before the editor or the parameter sees them.
    if (std::isnan(value)) return;
    const double normalized = std::clamp(static_cast<double>(value), 0.0, 1.0);
    Guarded(plugin, [&] { plugin->Core().ApplyParameterFromHost(index, normalized, true); });
}

float IVstPlugin::GetParameterCallback(AEffect* effect, int32_t index) noexcept {
    IVstPlugin* plugin = FromEffect(effect);
    if (!plugin) return 0.0f;
    return Guarded(plugin, 0.0f, [&] {
        const IParameter* parameter = plugin->Core().Parameter(index);
        return parameter ? static_cast<float>(parameter->NormalizedValue()) : 0.0f;
    });
}
