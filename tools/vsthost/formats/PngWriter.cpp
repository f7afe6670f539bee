#include "tools/vsthost/formats/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "tools/vsthost/system/Platform.h"

namespace {

// libpng reports errors by longjmp; nothing with a destructor lives between setjmp and the jump.
bool Encode(FILE* file, const Screenshot& shot, std::vector<uint8_t>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(shot.width), static_cast<png_uint_32>(shot.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < shot.height; ++y) {
        const uint32_t* source =
            shot.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(shot.width);
        for (size_t x = 0; x < static_cast<size_t>(shot.width); ++x) {
            row[3 * x] = static_cast<uint8_t>(source[x] >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(source[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const Screenshot& shot, std::string& error) {
    if (shot.width <= 0 || shot.height <= 0 ||
        shot.pixels.size() != static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height)) {
        error = "nothing to write to '" + path + "' (empty picture)";
        return false;
    }
    FILE* file = OpenFile(path, "wb");
    if (!file) {
        error = "cannot write '" + path + "'";
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(shot.width) * 3);
    bool ok = Encode(file, shot, row);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) error = "cannot write '" + path + "'";
    return ok;
}
