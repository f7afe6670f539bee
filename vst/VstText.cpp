#include "vst/VstText.h"

#include "plugbase/TextCopy.h"

namespace VstText {

void Read(const char* src, char (&dst)[kHostTextLimit + 1]) {
    CopyText(dst, sizeof dst, src);
}

}  // namespace VstText
