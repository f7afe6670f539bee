#pragma once

#include "editor/IPixelRect.h"

class IParameter;

// Where a value popup opens and how large it is, in editor pixels, from the control's centre and
// the length of the longest text it has to show. Every editor window places its popups this way,
// so they look the same whatever draws them. Pure arithmetic: any thread.
namespace PopupGeometry {

// The drop-down list of a choice or toggle parameter: centred below the control's centre; the
// height makes room for the closed box and every entry.
constexpr int kListCharWidth = 8;
constexpr int kListPadding = 24;
constexpr int kListRowHeight = 36;

// The value entry box of any other parameter: centred on the control.
constexpr int kEntryCharWidth = 7;
constexpr int kEntryPadding = 6;
constexpr int kEntryMinWidth = 32;
constexpr int kEntryHeight = 16;

// Both popups write in this font height (pixels).
constexpr int kFontHeight = 14;

constexpr IPixelRect ListRect(int centreX, int centreY, int longestChars, int entries) {
    const int w = kListCharWidth * longestChars + kListPadding;
    const int h = kListRowHeight * (entries + 1);
    return IPixelRect(centreX - w / 2, centreY, centreX - w / 2 + w, centreY + h);
}

constexpr IPixelRect EntryRect(int centreX, int centreY, int largestChars) {
    const int grown = kEntryCharWidth * largestChars + kEntryPadding;
    const int w = grown > kEntryMinWidth ? grown : kEntryMinWidth;
    const int top = centreY - kEntryHeight / 2;
    return IPixelRect(centreX - w / 2, top, centreX - w / 2 + w, top + kEntryHeight);
}

// The popup of a parameter (ValuePopupModel::IsListFor tells which) for the control at control:
// on the control's centre, each coordinate's mid-point truncated; as wide as the longest value
// text (a list) or the text of the parameter's largest value (an entry).
IPixelRect ForControl(const IParameter& parameter, const IPixelRect& control);

}  // namespace PopupGeometry
