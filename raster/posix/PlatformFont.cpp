#include "raster/PlatformFont.h"

PlatformFont* CreatePlatformFont(const PlatformFontAttributes&) {
    return nullptr;
}

bool ProbeCompatibilityLayer() {
    return false;
}
