#include "editor/x11/DrawnPopup.h"

#include <algorithm>
#include <mutex>

#include "editor/IEditorGraphics.h"
#include "editor/PopupGeometry.h"
#include "editor/ValuePopupModel.h"
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

DrawnPopup::DrawnPopup(const ValuePopupModel& model, const IParameter& parameter, const IPixelRect& control,
                       int editorWidth, int editorHeight)
    : model(model),
      rect(PopupGeometry::ForControl(parameter, control)),
      style(PopupGeometry::kFontHeight, kBlack) {
    if (model.IsList()) {
        const int entries = static_cast<int>(model.Entries().size());
        rect.bottom = rect.top + kBoxHeight + kRowHeight * entries;
    }
    Fit(rect.left, rect.right, editorWidth);
    Fit(rect.top, rect.bottom, editorHeight);
}

bool DrawnPopup::IsList() const {
    return model.IsList();
}

std::string DrawnPopup::Text() const {
    return model.Text();
}

int DrawnPopup::Highlighted() const {
    return model.Highlighted();
}

int DrawnPopup::EntryAt(int x, int y) const {
    if (!model.IsList() || !rect.Contains(x, y) || y - rect.top < kBoxHeight) return -1;
    const int row = (y - rect.top - kBoxHeight) / kRowHeight;
    return row < static_cast<int>(model.Entries().size()) ? row : -1;
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
    if (model.IsList())
        DrawList(graphics);
    else
        DrawEntry(graphics);
}

void DrawnPopup::DrawList(IEditorGraphics& graphics) {
    const std::vector<std::string>& entries = model.Entries();
    const int highlighted = model.Highlighted();
    const IPixelRect box(rect.left, rect.top, rect.right, rect.top + kBoxHeight);
    Frame(graphics, box, kBorder);
    style.colour = kBlack;
    if (highlighted >= 0)
        graphics.DrawLabel(style, entries[static_cast<size_t>(highlighted)].c_str(),
                           IPixelRect(box.left + kTextInset, box.top + 2, box.right, box.bottom));
    for (size_t i = 0; i < entries.size(); ++i) {
        const int top = rect.top + kBoxHeight + kRowHeight * static_cast<int>(i);
        if (top >= rect.bottom) break;
        const IPixelRect row(rect.left + 1, top, rect.right - 1, std::min(top + kRowHeight, rect.bottom - 1));
        const bool current = static_cast<int>(i) == highlighted;
        if (current) graphics.FillRect(kSelection, row);
        style.colour = current ? kWhite : kBlack;
        graphics.DrawLabel(style, entries[i].c_str(),
                           IPixelRect(row.left + kTextInset, row.top + 1, row.right, row.bottom));
    }
}

void DrawnPopup::DrawEntry(IEditorGraphics& graphics) {
    // The entry's text is centred, as in the other editor windows' edit boxes.
    const std::string text = model.Text();
    const bool allSelected = model.AllSelected();
    const int width = TextWidth(graphics, text, text.size());
    const int left = static_cast<int>(rect.left + (rect.Width() - width) / 2);
    const IPixelRect line(left, rect.top + 1, left + width, rect.bottom - 1);
    if (allSelected && !text.empty()) graphics.FillRect(kSelection, line);
    style.colour = allSelected ? kWhite : kBlack;
    graphics.DrawLabel(style, text.c_str(), line);
    if (!allSelected) {
        const int x = left + TextWidth(graphics, text, model.Caret());
        graphics.FillRect(kBlack, IPixelRect(x, rect.top + 2, x + 1, rect.bottom - 2));
    }
}
