#include <algorithm>
#include <cstring>

#include "tools/vsthost/host/clap/ClapInputStream.h"
#include "tools/vsthost/host/clap/ClapOutputStream.h"

ClapInputStream::ClapInputStream(std::vector<uint8_t> bytes, uint64_t pieceSize, uint64_t failPosition)
    : data(std::move(bytes)), piece(std::max<uint64_t>(pieceSize, 1)), failAt(failPosition) {
    table.ctx = this;
    table.read = [](const clap_istream* stream, void* buffer, uint64_t size) -> int64_t {
        auto& self = *static_cast<ClapInputStream*>(stream->ctx);
        if (self.position >= self.failAt) return -1;
        uint64_t n =
            std::min({size, self.piece, self.data.size() - self.position, self.failAt - self.position});
        if (n > 0) std::memcpy(buffer, self.data.data() + self.position, n);
        self.position += n;
        return static_cast<int64_t>(n);
    };
}

ClapOutputStream::ClapOutputStream(uint64_t pieceSize, uint64_t failPosition)
    : piece(std::max<uint64_t>(pieceSize, 1)), failAt(failPosition) {
    table.ctx = this;
    table.write = [](const clap_ostream* stream, const void* buffer, uint64_t size) -> int64_t {
        auto& self = *static_cast<ClapOutputStream*>(stream->ctx);
        if (self.data.size() >= self.failAt) return -1;
        uint64_t n = std::min({size, self.piece, self.failAt - self.data.size()});
        auto* bytes = static_cast<const uint8_t*>(buffer);
        self.data.insert(self.data.end(), bytes, bytes + n);
        return static_cast<int64_t>(n);
    };
}
