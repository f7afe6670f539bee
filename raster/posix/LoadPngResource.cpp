#include "raster/PngDecoder.h"
#include "raster/posix/EmbeddedPng.h"

namespace {
EmbeddedPngTable* tables = nullptr;  // constant-initialised: safe during static initialisation
}

void RegisterEmbeddedPngTable(EmbeddedPngTable* table) {
    table->next = tables;
    tables = table;
}

const EmbeddedPng* FindEmbeddedPng(int id) {
    for (const EmbeddedPngTable* t = tables; t; t = t->next)
        for (int i = 0; i < t->count; ++i)
            if (t->entries[i].id == id) return &t->entries[i];
    return nullptr;
}

// The images are linked into the process, so the module token plays no part here.
RasterBitmap* LoadPngResource(void*, int resourceId, RasterBitmap* dest) {
    if (resourceId < 1 || resourceId > 0xFFFF) return nullptr;
    const EmbeddedPng* image = FindEmbeddedPng(resourceId);
    if (!image || image->size < 8) return nullptr;
    return DecodePng(image->data, image->size, dest);
}
