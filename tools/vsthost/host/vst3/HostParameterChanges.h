// A host's IParameterChanges with its queues and their points allocated up front, for the
// changes a host hands to process and the ones a plug-in writes back.
#pragma once

#include <memory>
#include <vector>

#include "abi/Vst3Processing.h"
#include "tools/vsthost/host/vst3/HostReference.h"

class HostValueQueue final : public vst3::IParamValueQueue {
  public:
    explicit HostValueQueue(size_t capacity) { points.reserve(capacity); }

    void Reset(vst3::ParamID newId) {
        id = newId;
        points.clear();
    }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override {
        return OfferInterface<vst3::IParamValueQueue>(iid, this, obj);
    }
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    vst3::ParamID getParameterId() noexcept override { return id; }
    int32_t getPointCount() noexcept override { return static_cast<int32_t>(points.size()); }
    vst3::tresult getPoint(int32_t index, int32_t& sampleOffset, vst3::ParamValue& value) noexcept override;
    vst3::tresult addPoint(int32_t sampleOffset, vst3::ParamValue value, int32_t& index) noexcept override;

  private:
    struct Point {
        int32_t offset;
        vst3::ParamValue value;
    };
    vst3::ParamID id = vst3::kNoParamId;
    std::vector<Point> points;
    HostReference refs;
};

class HostParameterChanges final : public vst3::IParameterChanges {
  public:
    explicit HostParameterChanges(size_t queues = 64, size_t pointsPerQueue = 64);

    void Clear() { used = 0; }
    // One point of a parameter's queue, the queue added when the parameter has none yet.
    void Add(vst3::ParamID id, int32_t sampleOffset, vst3::ParamValue value);
    // The last point written for id, or false when it has none.
    bool Last(vst3::ParamID id, vst3::ParamValue& value);

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override {
        return OfferInterface<vst3::IParameterChanges>(iid, this, obj);
    }
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    int32_t getParameterCount() noexcept override { return static_cast<int32_t>(used); }
    vst3::IParamValueQueue* getParameterData(int32_t index) noexcept override;
    vst3::IParamValueQueue* addParameterData(const vst3::ParamID& id, int32_t& index) noexcept override;

  private:
    std::vector<std::unique_ptr<HostValueQueue>> queues;
    size_t used = 0;
    HostReference refs;
};
