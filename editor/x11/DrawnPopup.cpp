#include "editor/x11/DrawnPopup.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "editor/IEditorGraphics.h"
#include "editor/PopupGeometry.h"
#include "editor/x11/X11Keys.h"
#include "plugbase/IParameter.h"
#include "raster/GlyphCacheFont.h"
#include "raster/TextRect.h"

namespace {

const IArgb kWhite(255, 255, 255, 255), kBlack(255, 0, 0, 0), kBorder(255, 100, 100, 100),
    kSelection(255, 0, 120, 215);
constexpr int kTextInset = 3;

// r moved into [0, limit) along one axis as far as it fits, and cut at the far edge.
void Fit(int32_t& low, int32_t& high, int limit) {
    if (high > limit) {
        const int32_t shift = std::min(high - limit, low);
        low -= shift;
        high -= shift;
    }
    if (low < 0) {
        high -= low;
        low = 0;
    }
    high = std::min<int32_t>(high, limit);
}

void Frame(IEditorGraphics& graphics, const IPixelRect& r, const IArgb& colour) {
    graphics.FillRect(colour, IPixelRect(r.left, r.top, r.right, r.top + 1));
    graphics.FillRect(colour, IPixelRect(r.left, r.bottom - 1, r.right, r.bottom));
    graphics.FillRect(colour, IPixelRect(r.left, r.top, r.left + 1, r.bottom));
    graphics.FillRect(colour, IPixelRect(r.right - 1, r.top, r.right, r.bottom));
}

}  // namespace

DrawnPopup::DrawnPopup(const IParameter& parameter, int cx, int cy, int editorWidth, int editorHeight)
    : style(PopupGeometry::kFontHeight, kBlack) {
    char current[IParameter::kTextBytes] = {};
    parameter.FormatForHost(parameter.PlainValue(), false, current, sizeof current);
    const int texts = parameter.ValueTextCount();
    const ParameterKind kind = parameter.Kind();
    isList = texts > 0 && (kind == ParameterKind::Toggle || kind == ParameterKind::Choice);
    if (isList) {
        size_t longest = 0;
        for (int i = 0; i < texts; ++i) {
            const ValueText* entry = parameter.ValueTextAt(i);
            entries.emplace_back(entry ? entry->text : "");
            longest = std::max(longest, entries.back().size());
            if (entries.back() == current && highlighted < 0) highlighted = i;
        }
        const IPixelRect wide = PopupGeometry::ListRect(cx, cy, static_cast<int>(longest), texts);
        rect = IPixelRect(wide.left, wide.top, wide.right, wide.top + kBoxHeight + kRowHeight * texts);
    } else {
        char largest[IParameter::kTextBytes] = {};
        parameter.FormatForHost(1.0, true, largest, sizeof largest);
        rect = PopupGeometry::EntryRect(cx, cy, static_cast<int>(std::strlen(largest)));
        text = current;
        caret = text.size();
    }
    Fit(rect.left, rect.right, editorWidth);
    Fit(rect.top, rect.bottom, editorHeight);
}

std::string DrawnPopup::Text() const {
    if (!isList) return text;
    return highlighted >= 0 ? entries[static_cast<size_t>(highlighted)] : std::string();
}

DrawnPopup::Result DrawnPopup::Key(int edit, char typed) {
    const auto key = static_cast<X11Keys::Edit>(edit);
    if (key == X11Keys::Edit::Commit) return Result::Commit;
    if (isList) {
        const int last = static_cast<int>(entries.size()) - 1;
        if (key == X11Keys::Edit::Up && highlighted > 0)
            --highlighted;
        else if (key == X11Keys::Edit::Down && highlighted < last)
            ++highlighted;
        else
            return Result::Nothing;
        return Result::Changed;
    }
    // A key that edits the selected text replaces all of it; moving drops the selection.
    if (allSelected && (typed || key == X11Keys::Edit::Backspace || key == X11Keys::Edit::Delete)) {
        text.clear();
        caret = 0;
        allSelected = false;
        if (!typed) return Result::Changed;
    }
    switch (key) {
        case X11Keys::Edit::Backspace:
            if (caret > 0) text.erase(--caret, 1);
            break;
        case X11Keys::Edit::Delete:
            if (caret < text.size()) text.erase(caret, 1);
            break;
        case X11Keys::Edit::Left:
            if (allSelected)
                caret = 0;
            else if (caret > 0)
                --caret;
            break;
        case X11Keys::Edit::Right:
            if (allSelected)
                caret = text.size();
            else if (caret < text.size())
                ++caret;
            break;
        case X11Keys::Edit::Home:
            caret = 0;
            break;
        case X11Keys::Edit::End:
            caret = text.size();
            break;
        default:
            if (!typed) return Result::Nothing;
            if (text.size() < kMaxText) text.insert(caret++, 1, typed);
            break;
    }
    allSelected = false;
    return Result::Changed;
}

DrawnPopup::Result DrawnPopup::Click(int x, int y) {
    if (!isList || !rect.Contains(x, y)) return Result::Nothing;
    const int row = (y - rect.top - kBoxHeight) / kRowHeight;
    if (y - rect.top < kBoxHeight || row >= static_cast<int>(entries.size())) return Result::Nothing;
    highlighted = row;
    return Result::Commit;
}

int DrawnPopup::TextWidth(IEditorGraphics& graphics, const std::string& line, size_t count) {
    GlyphCacheFont* font = style.font ? style.font : graphics.FindFont(style);
    if (!font || count == 0) return 0;
    TextRect measured = {0, 0, 100000, 1000};
    std::lock_guard<std::mutex> hold(font->DrawLock());
    font->DrawString(nullptr, line.c_str(), static_cast<int>(count), &measured,
                     TextCalcRect | TextSingleLine);
    return measured.right - measured.left;
}

void DrawnPopup::Draw(IEditorGraphics& graphics) {
    graphics.FillRect(kWhite, rect);
    Frame(graphics, rect, kBorder);
    if (isList) {
        const IPixelRect box(rect.left, rect.top, rect.right, rect.top + kBoxHeight);
        Frame(graphics, box, kBorder);
        style.colour = kBlack;
        if (highlighted >= 0)
            graphics.DrawLabel(style, entries[static_cast<size_t>(highlighted)].c_str(),
                               IPixelRect(box.left + kTextInset, box.top + 2, box.right, box.bottom));
        for (size_t i = 0; i < entries.size(); ++i) {
            const int top = rect.top + kBoxHeight + kRowHeight * static_cast<int>(i);
            if (top >= rect.bottom) break;
            const IPixelRect row(rect.left + 1, top, rect.right - 1,
                                 std::min(top + kRowHeight, rect.bottom - 1));
            const bool current = static_cast<int>(i) == highlighted;
            if (current) graphics.FillRect(kSelection, row);
            style.colour = current ? kWhite : kBlack;
            graphics.DrawLabel(style, entries[i].c_str(),
                               IPixelRect(row.left + kTextInset, row.top + 1, row.right, row.bottom));
        }
        return;
    }
    // The entry's text is centred, as in the other editor windows' edit boxes.
    const int width = TextWidth(graphics, text, text.size());
    const int left = static_cast<int>(rect.left + (rect.Width() - width) / 2);
    const IPixelRect line(left, rect.top + 1, left + width, rect.bottom - 1);
    if (allSelected && !text.empty()) graphics.FillRect(kSelection, line);
    style.colour = allSelected ? kWhite : kBlack;
    graphics.DrawLabel(style, text.c_str(), line);
    if (!allSelected) {
        const int x = left + TextWidth(graphics, text, caret);
        graphics.FillRect(kBlack, IPixelRect(x, rect.top + 2, x + 1, rect.bottom - 2));
    }
}
