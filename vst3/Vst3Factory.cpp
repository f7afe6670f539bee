#include "vst3/Vst3Factory.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>

#include "effect/CreateEffect.h"
#include "vst3/Vst3Plugin.h"
#include "vst3/Vst3Text.h"

namespace {

constexpr const char* kSubCategories = "Fx|Spatial";
constexpr const char* kSdkVersion = "VST 3.8.1";

// Serialises the factory's life and the creation of plug-in objects across the process.
// Constant-initialised, so it exists before any host call.
std::mutex processLock;
Vst3Factory* theFactory = nullptr;

void VersionText(int32_t version, char* out, size_t capacity) {
    std::snprintf(out, capacity, "%d.%d.%d", (version >> 16) & 0xFF, (version >> 8) & 0xFF, version & 0xFF);
}

}  // namespace

vst3::IPluginFactory* Vst3Factory::Acquire() noexcept {
    std::lock_guard<std::mutex> guard(processLock);
    try {
        if (theFactory) {
            theFactory->addRef();
        } else {
            theFactory = new Vst3Factory;
        }
        return theFactory;
    } catch (...) {
        return nullptr;
    }
}

uint32_t Vst3Factory::release() noexcept {
    std::lock_guard<std::mutex> guard(processLock);
    const uint32_t left = --references;
    if (left == 0) {
        theFactory = nullptr;
        delete this;
    }
    return left;
}

vst3::Uid Vst3Factory::ClassId(const PluginDescriptor& descriptor) {
    uint32_t words[4] = {};
    for (int i = 0; i < 16; ++i) words[i / 4] = (words[i / 4] << 8) | descriptor.vst3ClassId[i];
    return vst3::MakeUid(words[0], words[1], words[2], words[3]);
}

vst3::tresult Vst3Factory::queryInterface(const vst3::TUID iid, void** obj) noexcept {
    if (!obj) return vst3::kInvalidArgument;
    if (vst3::FUnknown::iid.Is(iid) || vst3::IPluginFactory::iid.Is(iid) ||
        vst3::IPluginFactory2::iid.Is(iid) || vst3::IPluginFactory3::iid.Is(iid)) {
        addRef();
        *obj = static_cast<vst3::IPluginFactory3*>(this);
        return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
}

vst3::tresult Vst3Factory::getFactoryInfo(vst3::PFactoryInfo* info) noexcept {
    if (!info) return vst3::kInvalidArgument;
    const PluginDescriptor& d = EffectDescriptor();
    *info = vst3::PFactoryInfo{};
    vst3text::CopyAscii(d.vendor, info->vendor, sizeof info->vendor);
    vst3text::CopyAscii(d.webAddress, info->url, sizeof info->url);
    vst3text::CopyAscii(d.email, info->email, sizeof info->email);
    info->flags = vst3::kFactoryUnicode;
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::getClassInfo(int32_t index, vst3::PClassInfo* info) noexcept {
    vst3::PClassInfo2 full;
    const vst3::tresult result = FullClassInfo(index, info, full);
    if (result != vst3::kResultOk) return result;
    std::memcpy(info->name, full.name, sizeof info->name);
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::getClassInfo2(int32_t index, vst3::PClassInfo2* info) noexcept {
    if (index != 0 || !info) return vst3::kInvalidArgument;
    const PluginDescriptor& d = EffectDescriptor();
    *info = vst3::PClassInfo2{};
    std::memcpy(info->cid, ClassId(d).bytes, sizeof info->cid);
    info->cardinality = vst3::kManyInstances;
    vst3text::CopyAscii(vst3::kAudioModuleClass, info->category, sizeof info->category);
    vst3text::CopyAscii(d.effectName, info->name, sizeof info->name);
    info->classFlags = 0;  // component and controller are one object
    vst3text::CopyAscii(kSubCategories, info->subCategories, sizeof info->subCategories);
    vst3text::CopyAscii(d.vendor, info->vendor, sizeof info->vendor);
    VersionText(d.version, info->version, sizeof info->version);
    vst3text::CopyAscii(kSdkVersion, info->sdkVersion, sizeof info->sdkVersion);
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::getClassInfoUnicode(int32_t index, vst3::PClassInfoW* info) noexcept {
    vst3::PClassInfo2 full;
    const vst3::tresult result = FullClassInfo(index, info, full);
    if (result != vst3::kResultOk) return result;
    vst3text::ToUtf16(full.name, info->name, std::size(info->name));
    info->classFlags = full.classFlags;
    std::memcpy(info->subCategories, full.subCategories, sizeof info->subCategories);
    vst3text::ToUtf16(full.vendor, info->vendor, std::size(info->vendor));
    vst3text::ToUtf16(full.version, info->version, std::size(info->version));
    vst3text::ToUtf16(full.sdkVersion, info->sdkVersion, std::size(info->sdkVersion));
    return vst3::kResultOk;
}

template <typename Info>
vst3::tresult Vst3Factory::FullClassInfo(int32_t index, Info* info, vst3::PClassInfo2& full) noexcept {
    if (!info) return vst3::kInvalidArgument;
    const vst3::tresult result = getClassInfo2(index, &full);
    if (result != vst3::kResultOk) return result;
    *info = Info{};
    std::memcpy(info->cid, full.cid, sizeof info->cid);
    info->cardinality = full.cardinality;
    std::memcpy(info->category, full.category, sizeof info->category);
    return vst3::kResultOk;
}

vst3::tresult Vst3Factory::createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) noexcept {
    if (!obj) return vst3::kInvalidArgument;
    *obj = nullptr;
    if (!ClassId(EffectDescriptor()).Is(cid)) return vst3::kNoInterface;
    try {
        std::unique_ptr<IPluginCore> effect;
        {
            std::lock_guard<std::mutex> guard(processLock);
            effect = CreateEffect();
        }
        if (!effect) return vst3::kOutOfMemory;
        effect->EnsureOneProgram();
        auto* plugin = new Vst3Plugin(std::move(effect));
        // The new object's own reference goes to the caller through the interface asked for.
        const vst3::tresult result = plugin->queryInterface(iid, obj);
        plugin->release();
        return result;
    } catch (...) {
        return vst3::kOutOfMemory;
    }
}
