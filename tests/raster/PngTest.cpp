#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "raster/ImageLoader.h"
#include "raster/MemoryBitmap.h"
#include "raster/PngDecoder.h"
#include "tests/raster/RasterTestSupport.h"

namespace {

// Builds PNG files in memory with libpng's writer.
struct PngDesc {
    int width = 2;
    int height = 2;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;       // tRNS for palette images
    std::vector<std::vector<png_byte>> rows;  // packed rows as libpng expects them
};

void AppendBytes(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

std::vector<unsigned char> WritePng(PngDesc desc) {
    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng writer failed";
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(desc.width), static_cast<png_uint_32>(desc.height),
                 desc.bitDepth, desc.colourType, desc.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!desc.palette.empty())
        png_set_PLTE(png, info, desc.palette.data(), static_cast<int>(desc.palette.size()));
    if (!desc.paletteAlpha.empty())
        png_set_tRNS(png, info, desc.paletteAlpha.data(), static_cast<int>(desc.paletteAlpha.size()),
                     nullptr);
    std::vector<png_bytep> rows;
    for (auto& r : desc.rows) rows.push_back(r.data());
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::unique_ptr<RasterBitmap> Decode(const std::vector<unsigned char>& bytes) {
    return std::unique_ptr<RasterBitmap>(DecodePng(bytes.data(), bytes.size(), nullptr));
}

PngDesc Rgba2x2() {
    PngDesc desc;
    desc.rows = {{255, 0, 0, 255, 0, 255, 0, 128}, {0, 0, 255, 0, 10, 20, 30, 40}};
    return desc;
}

}  // namespace

// Every colour type and depth ends up as 0xAARRGGBB with the transformations applied.
TEST(DecodePng, OneBitGreyBecomesBlackAndWhite) {
    PngDesc desc;
    desc.width = 9;
    desc.height = 1;
    desc.bitDepth = 1;
    desc.colourType = PNG_COLOR_TYPE_GRAY;
    desc.rows = {{0b10100000, 0b10000000}};
    auto b = Decode(WritePng(desc));
    ASSERT_TRUE(b);
    ASSERT_EQ(b->Width(), 9);
    const uint32_t expected[9] = {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000,
                                  0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF};
    for (int x = 0; x < 9; ++x) EXPECT_EQ(PixelAt(*b, x, 0), expected[x]) << x;
}

TEST(DecodePng, PaletteWithTransparencyGivesAlpha) {
    PngDesc desc;
    desc.width = 3;
    desc.height = 1;
    desc.bitDepth = 4;
    desc.colourType = PNG_COLOR_TYPE_PALETTE;
    desc.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    desc.paletteAlpha = {0, 200};
    desc.rows = {{0x01, 0x20}};
    auto b = Decode(WritePng(desc));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x000A141Eu);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0xC828323Cu);
    EXPECT_EQ(PixelAt(*b, 2, 0), 0xFF46505Au);
}

TEST(DecodePng, SixteenBitKeepsHighBytes) {
    PngDesc desc;
    desc.width = 1;
    desc.height = 1;
    desc.bitDepth = 16;
    desc.rows = {{0x12, 0xFF, 0x34, 0x01, 0x56, 0x80, 0x78, 0x7F}};
    auto b = Decode(WritePng(desc));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x78123456u);
}

TEST(DecodePng, GreyAlphaAndRgbAndInterlaced) {
    PngDesc grey;
    grey.width = 2;
    grey.height = 1;
    grey.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    grey.rows = {{0x40, 0x80, 0xC0, 0x00}};
    auto g = Decode(WritePng(grey));
    ASSERT_TRUE(g);
    EXPECT_EQ(PixelAt(*g, 0, 0), 0x80404040u);
    EXPECT_EQ(PixelAt(*g, 1, 0), 0x00C0C0C0u);

    PngDesc rgb;
    rgb.width = 1;
    rgb.height = 1;
    rgb.colourType = PNG_COLOR_TYPE_RGB;
    rgb.rows = {{1, 2, 3}};
    auto c = Decode(WritePng(rgb));
    ASSERT_TRUE(c);
    EXPECT_EQ(PixelAt(*c, 0, 0), 0xFF010203u);

    // Interlaced: 9 x 9 so that every Adam7 pass holds pixels.
    PngDesc inter;
    inter.width = 9;
    inter.height = 9;
    inter.interlaced = true;
    for (int y = 0; y < 9; ++y) {
        std::vector<png_byte> row;
        for (int x = 0; x < 9; ++x)
            row.insert(row.end(), {png_byte(x * 20), png_byte(y * 20), png_byte(x + y), png_byte(255 - x)});
        inter.rows.push_back(row);
    }
    auto i = Decode(WritePng(inter));
    ASSERT_TRUE(i);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(PixelAt(*i, x, y), uint32_t(255 - x) << 24 | uint32_t(x * 20) << 16 |
                                             uint32_t(y * 20) << 8 | uint32_t(x + y));
}

// A caller's bitmap is resized and filled (flipped ones with the top row last in memory).
TEST(DecodePng, FillsCallersBitmapHonouringFlip) {
    FlippedBitmap target(5, 5);
    auto bytes = WritePng(Rgba2x2());
    RasterBitmap* result = DecodePng(bytes.data(), bytes.size(), &target);
    ASSERT_EQ(result, &target);
    EXPECT_EQ(target.Width(), 2);
    EXPECT_EQ(PixelAt(target, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(target.Bits()[target.RowSpan()], 0xFFFF0000u);  // top row lives in memory row 1
    EXPECT_EQ(PixelAt(target, 1, 0), 0x8000FF00u);
    EXPECT_EQ(PixelAt(target, 0, 1), 0x000000FFu);
    EXPECT_EQ(PixelAt(target, 1, 1), 0x280A141Eu);
}

// Broken input fails with null and no leak: short, wrong signature, truncated, oversized.
TEST(DecodePng, RejectsBadInput) {
    auto good = WritePng(Rgba2x2());
    EXPECT_EQ(DecodePng(good.data(), 7, nullptr), nullptr);
    EXPECT_EQ(DecodePng(nullptr, 100, nullptr), nullptr);
    auto wrong = good;
    wrong[1] = 'X';
    EXPECT_EQ(Decode(wrong), nullptr);
    for (size_t cut : {size_t(8), size_t(20), size_t(33), good.size() - 20, good.size() - 13}) {
        std::vector<unsigned char> truncated(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_EQ(Decode(truncated), nullptr) << "cut at " << cut;
    }
}

// A chunk declaring megabytes just past the data fails inside the reader instead of having
// libpng checksum megabytes of zero filler.
TEST(DecodePng, HugeChunkPastTheEndFails) {
    auto good = WritePng(Rgba2x2());
    std::vector<unsigned char> bytes(good.begin(), good.begin() + 33);  // signature + IHDR
    const unsigned char header[] = {0x00, 0x7A, 0x12, 0x00, 't', 'E', 'X', 't'};
    bytes.insert(bytes.end(), header, header + sizeof header);
    EXPECT_EQ(Decode(bytes), nullptr);
}

TEST(DecodePng, RefusesHugeDeclaredSizes) {
    auto bytes = WritePng(Rgba2x2());
    auto declare = [&](uint32_t w, uint32_t h) {
        auto b = bytes;
        for (size_t i = 0; i < 4; ++i) {
            b[16 + i] = static_cast<unsigned char>(w >> (24 - 8 * i));
            b[20 + i] = static_cast<unsigned char>(h >> (24 - 8 * i));
        }
        uint32_t crc = static_cast<uint32_t>(crc32(0, b.data() + 12, 17));
        for (size_t i = 0; i < 4; ++i) b[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
        return b;
    };
    MemoryBitmap target(3, 3, 4);
    for (auto [w, h] : {std::pair{16385u, 1u}, std::pair{1u, 16385u}, std::pair{16384u, 16384u},
                        std::pair{0x7FFFFFFFu, 0x7FFFFFFFu}}) {
        auto b = declare(w, h);
        EXPECT_EQ(DecodePng(b.data(), b.size(), &target), nullptr) << w << " x " << h;
        EXPECT_EQ(target.Capacity(), 3 * 4 * 4) << "no pixel memory taken for " << w << " x " << h;
    }
}

// Files: UTF-8 names, missing files, and the loader record's extension check.
TEST(LoadPngFile, ReadsFilesByUtf8Name) {
    // Created through std::filesystem so that Windows stores the real (wide) name.
    const std::string name = "raster-test-\xC3\xA9t\xC3\xA9.png";
    const std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(name.c_str())));
    auto bytes = WritePng(Rgba2x2());
    {
        std::ofstream out(path, std::ios::binary);
        ASSERT_TRUE(out);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::unique_ptr<RasterBitmap> b(LoadPngFile(name.c_str(), nullptr));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 1, 1), 0x280A141Eu);
    EXPECT_EQ(LoadPngFile("raster-test-missing.png", nullptr), nullptr);
    EXPECT_EQ(LoadPngFile(nullptr, nullptr), nullptr);
    std::filesystem::remove(path);
}

TEST(ImageLoader, PngLoaderChecksTheExtension) {
    ImageLoader* loader = ImageLoaderList();
    ASSERT_NE(loader, nullptr);
    EXPECT_STREQ(loader->description(), "PNG files (*.PNG)");
    auto bytes = WritePng(Rgba2x2());
    for (const char* name : {"raster-ext.PnG", "raster-ext.png.bak", "raster-ext"}) {
        std::FILE* f = std::fopen(name, "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::unique_ptr<RasterBitmap> ok(loader->load("raster-ext.PnG", true, nullptr));
    EXPECT_TRUE(ok);
    EXPECT_EQ(loader->load("raster-ext.png.bak", true, nullptr), nullptr);
    EXPECT_EQ(loader->load("raster-ext", true, nullptr), nullptr);
    std::unique_ptr<RasterBitmap> unchecked(loader->load("raster-ext", false, nullptr));
    EXPECT_TRUE(unchecked);
    EXPECT_STREQ(FileNameExtension("dir.png/file"), "/file");
    EXPECT_STREQ(FileNameExtension("a\\b.PNG"), ".PNG");
    EXPECT_STREQ(FileNameExtension("plain"), "plain");
    for (const char* name : {"raster-ext.PnG", "raster-ext.png.bak", "raster-ext"}) std::remove(name);
}

// Images embedded into this test program (ids 300 and 301, see CMakeLists.txt).
TEST(LoadPngResource, FindsEmbeddedImagesById) {
    void* module = nullptr;  // the program itself
    std::unique_ptr<RasterBitmap> b(LoadPngResource(module, 300, nullptr));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Width(), 2);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0x8000FF00u);
    EXPECT_EQ(PixelAt(*b, 0, 1), 0x000000FFu);
    EXPECT_EQ(PixelAt(*b, 1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(LoadPngResource(module, 299, nullptr), nullptr);
    EXPECT_EQ(LoadPngResource(module, 301, nullptr), nullptr);  // 7 bytes: too short
    EXPECT_EQ(LoadPngResource(module, 300 + 65536, nullptr), nullptr);
}
