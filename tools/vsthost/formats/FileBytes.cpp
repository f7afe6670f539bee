#include "tools/vsthost/formats/FileBytes.h"

#include <cerrno>
#include <cstring>

#include "tools/vsthost/system/Platform.h"

bool ReadFileBytes(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    FILE* file = OpenFile(path, "rb");
    if (!file) {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    // Read in pieces rather than trusting a size reported up front (pipes, growing files).
    uint8_t piece[65536];
    bool ok = true;
    for (;;) {
        size_t n = std::fread(piece, 1, sizeof piece, file);
        if (n > maxBytes - out.size()) {
            error = "'" + path + "' is larger than " + std::to_string(maxBytes) + " bytes";
            ok = false;
            break;
        }
        out.insert(out.end(), piece, piece + n);
        if (n < sizeof piece) {
            if (std::ferror(file)) {
                error = "cannot read '" + path + "'";
                ok = false;
            }
            break;
        }
    }
    std::fclose(file);
    if (!ok) out.clear();
    return ok;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& data, std::string& error) {
    FILE* file = OpenFile(path, "wb");
    if (!file) {
        error = "cannot create '" + path + "': " + std::strerror(errno);
        return false;
    }
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) error = "cannot write '" + path + "'";
    return ok;
}
