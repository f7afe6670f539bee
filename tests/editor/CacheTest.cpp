// The process-wide image and font caches: one decode per id for every editor of the process,
// crops kept by the cache, and fonts keyed without colour, alignment and quality.
#include "editor/FontCache.h"
#include "editor/ImageCache.h"
#include "tests/editor/EditorFixture.h"

using ImageCaching = EditorFixture;

TEST_F(ImageCaching, EachIdIsDecodedOncePerProcess) {
    constexpr int kId = 910;
    HeadlessEditor::DefineImage(kId, {12, 6, 0xFF123456});
    HeadlessEditor second(plugin, 10, 10);
    const IImageStrip a = editor->LoadImageStrip(kId, "strip", 3);
    const IImageStrip b = second.LoadImageStrip(kId, "strip", 2);
    const IImageStrip c = editor->LoadImageStrip(kId, "strip", 3);
    EXPECT_EQ(HeadlessEditor::Decodes()[kId], 1);
    EXPECT_EQ(a.bitmap, b.bitmap);
    EXPECT_EQ(a.bitmap, c.bitmap);
    EXPECT_EQ(a.width, 12);
    EXPECT_EQ(a.height, 6);
    EXPECT_EQ(a.frames, 3);
    EXPECT_EQ(b.frames, 2);
}

// An image that cannot be loaded is not cached: it yields an empty strip and is tried again.
TEST_F(ImageCaching, MissingImageIsNotCached) {
    constexpr int kMissing = 911;
    const int entries = ImageCache::Instance().EntryCount();
    const IImageStrip strip = editor->LoadImageStrip(kMissing, "missing", 4);
    editor->LoadImageStrip(kMissing, "missing", 4);
    EXPECT_EQ(strip.bitmap, nullptr);
    EXPECT_EQ(strip.width, 0);
    EXPECT_EQ(HeadlessEditor::Decodes()[kMissing], 2);
    EXPECT_EQ(ImageCache::Instance().EntryCount(), entries);
    // Drawing it, or a background made of it, draws nothing and does not fail.
    editor->AttachBackground(kMissing, "missing");
    Attach();
    EXPECT_TRUE(editor->PaintArea(IPixelRect(0, 0, kWidth, kHeight)));
}

TEST_F(ImageCaching, CropCopiesTheRectangleIntoANewCachedImage) {
    auto* source = new MemoryBitmap(8, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            source->Bits()[y * source->RowSpan() + x] = 0xFF000000u | static_cast<uint32_t>(y << 8 | x);
    const IImageStrip strip{ImageCache::Instance().Keep(std::unique_ptr<RasterBitmap>(source)), 8, 4, 2};
    const int entries = ImageCache::Instance().EntryCount();
    const IImageStrip crop = editor->CropImage(strip, IPixelRect(3, 1, 6, 4));
    ASSERT_NE(crop.bitmap, nullptr);
    EXPECT_EQ(ImageCache::Instance().EntryCount(), entries + 1);
    EXPECT_EQ(crop.width, 3);
    EXPECT_EQ(crop.height, 3);
    EXPECT_EQ(crop.frames, 2);
    EXPECT_EQ(crop.bitmap->Bits()[0], 0xFF000103u);
    EXPECT_EQ(crop.bitmap->Bits()[2 * crop.bitmap->RowSpan() + 2], 0xFF000305u);
    // Nothing to crop: an empty strip, nothing cached.
    EXPECT_EQ(editor->CropImage(strip, IPixelRect()).bitmap, nullptr);
    EXPECT_EQ(editor->CropImage(IImageStrip(), IPixelRect(0, 0, 2, 2)).bitmap, nullptr);
    EXPECT_EQ(editor->CropImage(strip, IPixelRect(5, 5, 2, 2)).bitmap, nullptr);
    EXPECT_EQ(ImageCache::Instance().EntryCount(), entries + 1);
}

using FontCaching = EditorFixture;

TEST_F(FontCaching, StylesDifferingInColourOrQualityShareOneFont) {
    ITextStyle plain(14, IArgb(255, 0, 0, 0));
    GlyphCacheFont* font = editor->FindFont(plain);
    if (font == nullptr) GTEST_SKIP() << "this platform makes no fonts";
    const int entries = FontCache::Instance().EntryCount();
    ITextStyle tinted(14, IArgb(128, 200, 10, 10), "Arial", ITextStyle::Normal, ITextStyle::AlignRight, 0,
                      ITextStyle::QualityClearType);
    EXPECT_EQ(editor->FindFont(tinted), font);
    EXPECT_EQ(tinted.font, font);
    ITextStyle bold(14, IArgb(), "Arial", ITextStyle::Bold);
    ITextStyle larger(15, IArgb());
    ITextStyle turned(14, IArgb(), "Arial", ITextStyle::Normal, ITextStyle::AlignLeft, 90);
    EXPECT_NE(editor->FindFont(bold), font);
    EXPECT_NE(editor->FindFont(larger), font);
    EXPECT_NE(editor->FindFont(turned), font);
    EXPECT_EQ(FontCache::Instance().EntryCount(), entries + 3);
    EXPECT_TRUE(editor->DrawLabel(tinted, "", IPixelRect(0, 0, 10, 10)));
}

TEST_F(FontCaching, EmptyLabelsDrawNothingAndSucceed) {
    ITextStyle style;
    EXPECT_TRUE(editor->DrawLabel(style, nullptr, IPixelRect(0, 0, 10, 10)));
    EXPECT_TRUE(editor->DrawLabel(style, "", IPixelRect(0, 0, 10, 10)));
    EXPECT_EQ(style.font, nullptr);  // no font was needed
}
