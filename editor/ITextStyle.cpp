#include "editor/ITextStyle.h"

#include <cstring>

ITextStyle::ITextStyle(int32_t size, IArgb colour, const char* face, int32_t style, int32_t align,
                       int32_t orientation, int32_t quality)
    : size(size), colour(colour), style(style), align(align), orientation(orientation), quality(quality) {
    if (face != nullptr) {
        std::memset(this->face, 0, sizeof this->face);
        std::strncpy(this->face, face, sizeof this->face - 1);
    }
}
