#pragma once

#include "raster/RasterBitmap.h"

// A loader for one image file format, linked into the process-wide ImageLoaderList so that a
// generic image loader can find it. The PNG loader registers itself during static
// initialisation.
struct ImageLoader {
    // Loads path (UTF-8) into dest or a new bitmap; with checkExtension, refuses names whose
    // extension is not the loader's own.
    RasterBitmap* (*load)(const char* path, bool checkExtension, RasterBitmap* dest);
    const char* (*description)();
    ImageLoader* next;
};

// Front of the list of registered loaders (the PNG loader is always on it).
ImageLoader* ImageLoaderList();

// The name's extension: the text from its last dot, slash or backslash (the whole name when
// there is none).
const char* FileNameExtension(const char* name);
