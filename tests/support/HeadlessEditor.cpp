#include "tests/support/HeadlessEditor.h"

#include "raster/DibBitmap.h"

std::unique_ptr<RasterBitmap> HeadlessEditor::LoadImageResource(int id, const char*) {
    ++Decodes()[id];
    auto found = Images().find(id);
    if (found == Images().end()) return nullptr;
    return SolidBitmap(found->second.width, found->second.height, found->second.colour);
}

uint32_t HeadlessEditor::Pixel(int x, int y) const {
    return backBuffer->Bits()[static_cast<size_t>(y * backBuffer->RowSpan() + x)];
}

std::unique_ptr<MemoryBitmap> SolidBitmap(int width, int height, uint32_t colour) {
    auto bitmap = std::make_unique<MemoryBitmap>(width, height, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->Bits()[static_cast<size_t>(y * bitmap->RowSpan() + x)] = colour;
    return bitmap;
}
