#include "clap/ClapStreamIo.h"

bool ReadWholeStream(const clap_istream* stream, std::vector<uint8_t>& bytes, size_t limit) {
    if (!stream || !stream->read) return false;
    bytes.clear();
    uint8_t piece[4096];
    for (;;) {
        int64_t got = stream->read(stream, piece, sizeof piece);
        if (got == 0) return true;
        if (got < 0 || static_cast<uint64_t>(got) > sizeof piece) return false;
        if (bytes.size() + static_cast<size_t>(got) > limit) return false;
        bytes.insert(bytes.end(), piece, piece + got);
    }
}

bool WriteWholeStream(const clap_ostream* stream, const uint8_t* data, size_t size) {
    if (!stream || !stream->write) return false;
    size_t done = 0;
    while (done < size) {
        int64_t put = stream->write(stream, data + done, size - done);
        if (put <= 0 || static_cast<uint64_t>(put) > size - done) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}
