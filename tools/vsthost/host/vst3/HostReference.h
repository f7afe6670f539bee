// Reference counting for the host objects a test host owns and hands to a plug-in: counts, but
// never deletes (the host destroys them), so a test can check that the plug-in released every
// reference it took; and the queryInterface answer every such object gives.
#pragma once

#include <atomic>
#include <cstdint>

#include "abi/Vst3Base.h"

class HostReference {
  public:
    uint32_t Add() { return ++count; }
    uint32_t Drop() { return --count; }
    // References held besides the host's own.
    uint32_t Extra() const { return count.load() - 1; }

  private:
    std::atomic<uint32_t> count{1};
};

// Stores iface (add-referenced through self) when asked is its ID or FUnknown's, else null.
template <class Interface>
vst3::tresult OfferInterface(const char* asked, Interface* self, void** obj) {
    if (!obj) return vst3::kInvalidArgument;
    if (Interface::iid.Is(asked) || vst3::FUnknown::iid.Is(asked)) {
        self->addRef();
        *obj = self;
        return vst3::kResultOk;
    }
    *obj = nullptr;
    return vst3::kNoInterface;
}
