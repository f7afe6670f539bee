// The host's side of a plug-in: the application object handed to initialize and the component
// handler that receives the controller's edits and restart requests, logged in order.
#pragma once

#include <mutex>
#include <vector>

#include "abi/Vst3Controller.h"
#include "tools/vsthost/host/vst3/HostReference.h"

class HostApplication final : public vst3::IHostApplication {
  public:
    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override {
        return OfferInterface<vst3::IHostApplication>(iid, this, obj);
    }
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    vst3::tresult getName(vst3::String128 name) noexcept override;
    // Messages and attribute lists are for split plug-ins; this host makes none.
    vst3::tresult createInstance(vst3::TUID, vst3::TUID, void** obj) noexcept override {
        if (obj) *obj = nullptr;
        return vst3::kResultFalse;
    }
    uint32_t ExtraReferences() const { return refs.Extra(); }

  private:
    HostReference refs;
};

class HostComponentHandler final : public vst3::IComponentHandler {
  public:
    enum class Call { kBegin, kPerform, kEnd, kRestart };
    struct Record {
        Call call;
        vst3::ParamID id;        // kNoParamId for a restart
        vst3::ParamValue value;  // a perform's value; a restart's flags
    };

    std::vector<Record> Records() const;
    void Clear();
    uint32_t ExtraReferences() const { return refs.Extra(); }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override {
        return OfferInterface<vst3::IComponentHandler>(iid, this, obj);
    }
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    vst3::tresult beginEdit(vst3::ParamID id) noexcept override { return Log({Call::kBegin, id, 0}); }
    vst3::tresult performEdit(vst3::ParamID id, vst3::ParamValue value) noexcept override {
        return Log({Call::kPerform, id, value});
    }
    vst3::tresult endEdit(vst3::ParamID id) noexcept override { return Log({Call::kEnd, id, 0}); }
    vst3::tresult restartComponent(int32_t flags) noexcept override {
        return Log({Call::kRestart, vst3::kNoParamId, static_cast<double>(flags)});
    }

  private:
    vst3::tresult Log(const Record& r);

    mutable std::mutex mutex;  // calls from any thread are logged, so tests can assert none came
    std::vector<Record> records;
    HostReference refs;
};
