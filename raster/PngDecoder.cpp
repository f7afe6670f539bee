#include "raster/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "raster/MemoryBitmap.h"
#include "raster/PixelRows.h"
#include "raster/PlatformFile.h"

namespace {

struct MemoryCursor {
    const unsigned char* next;
    size_t left;
    size_t zerosGiven;  // bytes handed out past the end
};

// Past the end the reader hands out zero bytes instead of failing; libpng then reports
// whatever it makes of them. A chunk that declares a huge length would otherwise have libpng
// checksum gigabytes of zeros, so beyond a small allowance the read fails.
constexpr size_t kZeroAllowance = 64 * 1024;

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
    std::memset(out, 0, count);
    size_t n = count < cursor->left ? count : cursor->left;
    std::memcpy(out, cursor->next, n);
    cursor->next += n;
    cursor->left -= n;
    cursor->zerosGiven += count - n;
    if (cursor->zerosGiven > kZeroAllowance) png_error(png, "read past the end of the data");
}

void RequestArgbRows(png_structp png, png_infop info, int bitDepth, int colourType) {
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        colourType |= PNG_COLOR_MASK_ALPHA;
    }
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (colourType & PNG_COLOR_MASK_ALPHA)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    png_set_interlace_handling(png);
}

// Rows arrive as alpha, red, green, blue bytes; store them as native 0xAARRGGBB words.
void ArgbBytesToWords(uint32_t* row, int width) {
    auto* bytes = reinterpret_cast<unsigned char*>(row);
    for (int i = 0; i < width; ++i, bytes += 4) {
        uint32_t word = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                        static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
        std::memcpy(bytes, &word, 4);
    }
}

// Everything between setjmp and a libpng error lives here: only trivially destructible locals,
// and the values changed after setjmp are volatile so that the error path sees them.
RasterBitmap* Decode(MemoryCursor* cursor, std::FILE* file, RasterBitmap* dest) {
    png_structp png = png_create_read_struct("1.6.21", nullptr, nullptr, nullptr);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }

    RasterBitmap* volatile created = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(rows);
        delete created;
        return nullptr;
    }

    if (file)
        png_init_io(png, file);
    else
        png_set_read_fn(png, cursor, ReadFromMemory);
    png_set_user_limits(png, kPngMaxSide, kPngMaxSide);

    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, &compression, &filter);
    if (static_cast<long long>(width) * height > kPngMaxPixels) png_error(png, "image too large");

    RequestArgbRows(png, info, bitDepth, colourType);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4)
        png_error(png, "unexpected row layout");

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    RasterBitmap* bitmap = dest;
    if (bitmap)
        bitmap->Resize(w, h);
    else {
        created = new (std::nothrow) MemoryBitmap(w, h, 4);
        bitmap = created;
        if (!bitmap) png_error(png, "out of memory");
    }
    if (bitmap->Width() != w || bitmap->Height() != h || !bitmap->Bits()) png_error(png, "no pixel memory");

    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!rows) png_error(png, "out of memory");
    for (int y = 0; y < h; ++y) rows[y] = reinterpret_cast<png_bytep>(ImageRow(*bitmap, y));
    png_read_image(png, rows);
    png_destroy_read_struct(&png, &info, nullptr);

    for (int y = 0; y < h; ++y) ArgbBytesToWords(ImageRow(*bitmap, y), w);
    std::free(rows);
    return bitmap;
}

}  // namespace

RasterBitmap* DecodePng(const void* data, size_t length, RasterBitmap* dest) {
    if (!data || length < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
    MemoryCursor cursor{static_cast<const unsigned char*>(data), length, 0};
    return Decode(&cursor, nullptr, dest);
}

RasterBitmap* LoadPngFile(const char* path, RasterBitmap* dest) {
    if (!path) return nullptr;
    std::FILE* file = OpenFileForReading(path);
    if (!file) return nullptr;
    RasterBitmap* bitmap = Decode(nullptr, file, dest);
    std::fclose(file);
    return bitmap;
}
