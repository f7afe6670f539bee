#include "tools/vsthost/host/vst3/HostParameterChanges.h"

vst3::tresult HostValueQueue::getPoint(int32_t index, int32_t& sampleOffset,
                                       vst3::ParamValue& value) noexcept {
    if (index < 0 || static_cast<size_t>(index) >= points.size()) return vst3::kInvalidArgument;
    sampleOffset = points[static_cast<size_t>(index)].offset;
    value = points[static_cast<size_t>(index)].value;
    return vst3::kResultOk;
}

vst3::tresult HostValueQueue::addPoint(int32_t sampleOffset, vst3::ParamValue value,
                                       int32_t& index) noexcept {
    if (points.size() == points.capacity()) return vst3::kOutOfMemory;
    index = static_cast<int32_t>(points.size());
    points.push_back({sampleOffset, value});
    return vst3::kResultOk;
}

HostParameterChanges::HostParameterChanges(size_t count, size_t pointsPerQueue) {
    queues.reserve(count);
    for (size_t i = 0; i < count; ++i) queues.push_back(std::make_unique<HostValueQueue>(pointsPerQueue));
}

void HostParameterChanges::Add(vst3::ParamID id, int32_t sampleOffset, vst3::ParamValue value) {
    int32_t index = 0;
    if (vst3::IParamValueQueue* queue = addParameterData(id, index))
        queue->addPoint(sampleOffset, value, index);
}

bool HostParameterChanges::Last(vst3::ParamID id, vst3::ParamValue& value) {
    for (size_t i = 0; i < used; ++i) {
        HostValueQueue& q = *queues[i];
        int32_t offset = 0;
        if (q.getParameterId() == id && q.getPointCount() > 0) {
            return q.getPoint(q.getPointCount() - 1, offset, value) == vst3::kResultOk;
        }
    }
    return false;
}

vst3::IParamValueQueue* HostParameterChanges::getParameterData(int32_t index) noexcept {
    if (index < 0 || static_cast<size_t>(index) >= used) return nullptr;
    return queues[static_cast<size_t>(index)].get();
}

vst3::IParamValueQueue* HostParameterChanges::addParameterData(const vst3::ParamID& id,
                                                               int32_t& index) noexcept {
    for (size_t i = 0; i < used; ++i) {
        if (queues[i]->getParameterId() == id) {
            index = static_cast<int32_t>(i);
            return queues[i].get();
        }
    }
    if (used == queues.size()) return nullptr;
    index = static_cast<int32_t>(used);
    queues[used]->Reset(id);
    return queues[used++].get();
}
