// A host's IBStream over memory. Reads may be cut into pieces of at most a chosen size, as some
// hosts deliver them, so a plug-in that does not loop until the count is reached shows it.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/Vst3Base.h"
#include "tools/vsthost/host/vst3/HostReference.h"

class MemoryStream final : public vst3::IBStream {
  public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : bytes(std::move(bytes)) {}

    // Largest piece one read delivers (0: no limit).
    void SetReadPiece(int32_t size) { piece = size; }
    const std::vector<uint8_t>& Bytes() const { return bytes; }
    int64_t Position() const { return position; }
    void Rewind() { position = 0; }
    uint32_t ExtraReferences() const { return refs.Extra(); }

    vst3::tresult queryInterface(const vst3::TUID iid, void** obj) noexcept override {
        return OfferInterface<vst3::IBStream>(iid, this, obj);
    }
    uint32_t addRef() noexcept override { return refs.Add(); }
    uint32_t release() noexcept override { return refs.Drop(); }
    vst3::tresult read(void* buffer, int32_t numBytes, int32_t* numBytesRead) noexcept override;
    vst3::tresult write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) noexcept override;
    vst3::tresult seek(int64_t pos, int32_t mode, int64_t* result) noexcept override;
    vst3::tresult tell(int64_t* pos) noexcept override;

  private:
    std::vector<uint8_t> bytes;
    int64_t position = 0;
    int32_t piece = 0;
    HostReference refs;
};
