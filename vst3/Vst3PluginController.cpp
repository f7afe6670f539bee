// The edit controller: parameters with their texts, the program list, the component handler and
// the editor's view.
#include <mutex>
#include <string_view>

#include "vst3/Vst3Plugin.h"
#include "vst3/Vst3Text.h"
#include "vst3/Vst3View.h"

int32_t Vst3Plugin::getParameterCount() noexcept {
    return parameters.Count();
}

vst3::tresult Vst3Plugin::getParameterInfo(int32_t index, vst3::ParameterInfo& info) noexcept {
    return parameters.Info(index, info) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult Vst3Plugin::getParamStringByValue(vst3::ParamID id, vst3::ParamValue normalized,
                                                vst3::String128 out) noexcept {
    if (!out || !parameters.Known(id)) return vst3::kInvalidArgument;
    try {
        std::lock_guard<std::recursive_mutex> hold(core->Lock());  // program names change
        vst3text::ToUtf16(parameters.Text(id, normalized).c_str(), out, 128);
        return vst3::kResultOk;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}

vst3::tresult Vst3Plugin::getParamValueByString(vst3::ParamID id, vst3::char16* text,
                                                vst3::ParamValue& normalized) noexcept {
    if (!text || !parameters.Known(id)) return vst3::kInvalidArgument;
    try {
        std::lock_guard<std::recursive_mutex> hold(core->Lock());
        return parameters.Parse(id, vst3text::FromUtf16(text, 128), normalized) ? vst3::kResultOk
                                                                                : vst3::kResultFalse;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}

vst3::ParamValue Vst3Plugin::normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue normalized) noexcept {
    return parameters.ToPlain(id, normalized);
}

vst3::ParamValue Vst3Plugin::plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plain) noexcept {
    return parameters.ToNormalized(id, plain);
}

vst3::ParamValue Vst3Plugin::getParamNormalized(vst3::ParamID id) noexcept {
    return parameters.Normalized(id);
}

vst3::tresult Vst3Plugin::setParamNormalized(vst3::ParamID id, vst3::ParamValue value) noexcept {
    if (!parameters.Known(id)) return vst3::kInvalidArgument;
    try {
        {
            // The core is the one copy of the values: a value the host sets here is in the next
            // getState at once, not only after the next process call.
            std::lock_guard<std::recursive_mutex> hold(core->Lock());
            HostChangeScope change(hostChange);
            ApplyFromHost(id, value);
        }
        // A host sets the program parameter to load a preset and may hold a lock of its own on
        // the plug-in meanwhile, one its restartComponent takes as well: a restart from inside
        // this call would wait on the caller forever. So the request waits for the editor's
        // timer or the next value the host sets, and the next block reports the new values as
        // output changes, which hosts take without a restart; getParamNormalized gives them at
        // once. A late restart costs a host one more read of every value; this one could hang it.
        if (id != Vst3Parameters::kProgramId) FlushHostRequests();
        return vst3::kResultOk;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}

vst3::tresult Vst3Plugin::setComponentHandler(vst3::IComponentHandler* newHandler) noexcept {
    if (newHandler == handler) return vst3::kResultOk;
    if (newHandler) newHandler->addRef();
    if (handler) handler->release();
    handler = newHandler;
    return vst3::kResultOk;
}

vst3::IPlugView* Vst3Plugin::createView(vst3::FIDString name) noexcept {
    if (!name || std::string_view(name) != vst3::kEditorViewType || !core->Editor()) return nullptr;
    try {
        return new Vst3View(*this);
    } catch (...) {
        return nullptr;
    }
}

// ---- IUnitInfo: one unit with the effect's programs ---------------------------------------------

vst3::tresult Vst3Plugin::getUnitInfo(int32_t index, vst3::UnitInfo& info) noexcept {
    if (index != 0) return vst3::kInvalidArgument;
    info = vst3::UnitInfo{};
    info.id = vst3::kRootUnitId;
    info.parentUnitId = vst3::kNoParentUnitId;
    vst3text::ToUtf16(core->EffectName(), info.name, 128);
    info.programListId = kProgramListId;
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::getProgramListInfo(int32_t index, vst3::ProgramListInfo& info) noexcept {
    if (index != 0) return vst3::kInvalidArgument;
    info = vst3::ProgramListInfo{};
    info.id = kProgramListId;
    vst3text::ToUtf16("Programs", info.name, 128);
    info.programCount = core->ProgramCount();
    return vst3::kResultOk;
}

vst3::tresult Vst3Plugin::getProgramName(int32_t listId, int32_t program, vst3::String128 name) noexcept {
    if (listId != kProgramListId || !name || program < 0 || program >= core->ProgramCount())
        return vst3::kInvalidArgument;
    std::lock_guard<std::recursive_mutex> hold(core->Lock());
    vst3text::ToUtf16(core->ProgramName(program), name, 128);
    return vst3::kResultOk;
}
