// The module's factory: the effect's identity (vendor, web address, e-mail, one audio-effect class
// under the effect's class ID) and the instances it creates. One factory per module, made by the
// first GetPluginFactory and deleted by its last release.
//
// Threads: any; creation is serialised across the process.
#pragma once

#include <atomic>

#include "abi/Vst3Abi.h"
#include "plugbase/PluginDescriptor.h"

class Vst3Factory final : public vst3::IPluginFactory3 {
  public:
    // The factory for GetPluginFactory: the existing one add-referenced, else a new one; null
    // when it cannot be made.
    static vst3::IPluginFactory* Acquire() noexcept;
    // The class ID of the effect in this system's byte order (the descriptor holds the four words
    // in their text order).
    static vst3::Uid ClassId(const PluginDescriptor& descriptor);

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override;
    uint32_t addRef() noexcept override { return ++references; }
    uint32_t release() noexcept override;

    vst3::tresult getFactoryInfo(vst3::PFactoryInfo* info) noexcept override;
    int32_t countClasses() noexcept override { return 1; }
    vst3::tresult getClassInfo(int32_t index, vst3::PClassInfo* info) noexcept override;
    vst3::tresult createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) noexcept override;
    vst3::tresult getClassInfo2(int32_t index, vst3::PClassInfo2* info) noexcept override;
    vst3::tresult getClassInfoUnicode(int32_t index, vst3::PClassInfoW* info) noexcept override;
    vst3::tresult setHostContext(vst3::FUnknown*) noexcept override { return vst3::kResultOk; }

  private:
    Vst3Factory() = default;
    ~Vst3Factory() = default;
    // The full record for index, and the head every shorter record shares (class ID, cardinality,
    // category) copied into info; refused for a null info.
    template <typename Info>
    vst3::tresult FullClassInfo(int32_t index, Info* info, vst3::PClassInfo2& full) noexcept;

    std::atomic<uint32_t> references{1};
};
