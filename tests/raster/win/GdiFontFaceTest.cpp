// Under Wine "Arial" must be the same Liberation Sans the Linux build uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "raster/PlatformFont.h"

TEST(GdiFont, ArialIsLiberationSansUnderWine) {
    HFONT font = CreateFontA(15, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_NE(font, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    EXPECT_EQ(std::string(face), ProbeCompatibilityLayer() ? "Liberation Sans" : "Arial");
}
