#include "editor/IEditorGraphics.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <mutex>

#include "editor/EditorText.h"
#include "editor/FontCache.h"
#include "editor/IBitmapControl.h"
#include "editor/ImageCache.h"
#include "plugbase/IParameter.h"
#include "plugbase/IPluginCore.h"
#include "raster/Blit.h"
#include "raster/DibBitmap.h"
#include "raster/DrawLine.h"
#include "raster/FillRect.h"
#include "raster/MemoryBitmap.h"
#include "raster/RotatedBlit.h"

namespace {

// Pointer movements are computed in 64 bits and kept within 32, so that coordinates at the ends
// of the range cannot overflow.
int32_t Movement(int32_t to, int32_t from) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{to} - from, INT32_MIN, INT32_MAX));
}

int32_t ClampToInt(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Truncation towards zero, kept within 32 bits (NaN gives 0).
int32_t TruncToInt(double v) {
    if (!(v == v)) return 0;
    return static_cast<int32_t>(std::clamp(v, double(INT32_MIN), double(INT32_MAX)));
}

}  // namespace

IEditorGraphics::IEditorGraphics(IPluginCore* plug, int width, int height, int frameRate)
    : plug(plug), width(width), height(height), frameRate(frameRate > 0 ? frameRate : kDefaultFrameRate) {}

IEditorGraphics::~IEditorGraphics() {
    DeleteControls();
}

void IEditorGraphics::DeleteControls() {
    while (!controls.empty()) {
        delete controls.back();
        controls.pop_back();
    }
}

IControl* IEditorGraphics::Control(int index) const {
    return index >= 0 && index < ControlCount() ? controls[static_cast<size_t>(index)] : nullptr;
}

// ---- Plug-in link ------------------------------------------------------------------------------

void IEditorGraphics::ShowParameterValue(int index, double value, bool isNormalized) {
    if (!isNormalized) {
        const IParameter* parameter = plug ? plug->Parameter(index) : nullptr;
        if (parameter == nullptr) return;
        value = parameter->ToNormalized(value);
    }
    for (IControl* control : controls)
        if (control->paramIndex == index) control->SetValueFromParameter(value);
}

void IEditorGraphics::SetBoundControlsFromUser(int index, double normalized) {
    for (IControl* control : controls)
        if (control->paramIndex == index) control->SetValueFromUser(normalized);
}

void IEditorGraphics::PrepareDrawing() {
    if (!backBuffer) backBuffer = std::make_unique<DibBitmap>(width, height);
}

void IEditorGraphics::SetSize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    captureIndex = -1;
    lastX = lastY = -1;
    DeleteControls();
    if (plug) plug->EditorSizeChanged();
}

// ---- Building ------------------------------------------------------------------------------------

int IEditorGraphics::AttachControl(IControl* control) {
    if (control == nullptr) return -1;
    controls.push_back(control);
    return ControlCount() - 1;
}

void IEditorGraphics::AttachBackground(int id, const char* name) {
    const IImageStrip strip = LoadImageStrip(id, name, 1);
    auto* background =
        new IBitmapControl(plug, IPixelRect(0, 0, strip.width, strip.height), -1, strip, BlendReplace, true);
    controls.insert(controls.begin(), background);
}

IImageStrip IEditorGraphics::LoadImageStrip(int id, const char* name, int frames) {
    RasterBitmap* bitmap = ImageCache::Instance().FindOrLoad(id, [&] { return LoadImageResource(id, name); });
    IImageStrip strip;
    strip.frames = std::max(1, frames);
    if (bitmap) {
        strip.bitmap = bitmap;
        strip.width = bitmap->Width();
        strip.height = bitmap->Height();
    }
    return strip;
}

IImageStrip IEditorGraphics::CropImage(const IImageStrip& strip, const IPixelRect& rect) {
    IImageStrip crop;
    const int64_t w = rect.Width(), h = rect.Height();
    if (strip.bitmap == nullptr || w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return crop;
    auto bitmap = std::make_unique<MemoryBitmap>(static_cast<int>(w), static_cast<int>(h), 4);
    if (bitmap->Bits() == nullptr) return crop;
    BlitRect(bitmap.get(), strip.bitmap, 0, 0, rect.left, rect.top, static_cast<int>(w), static_cast<int>(h),
             1.0f, BlendCopy);
    crop.bitmap = ImageCache::Instance().Keep(std::move(bitmap));
    crop.width = static_cast<int32_t>(w);
    crop.height = static_cast<int32_t>(h);
    crop.frames = strip.frames;
    return crop;
}

// ---- Drawing -------------------------------------------------------------------------------------

bool IEditorGraphics::DrawImage(RasterBitmap* bitmap, const IPixelRect& dest, int srcX, int srcY,
                                const IBlend& blend) {
    const IPixelRect clip = dest.Intersect(paintRect);
    if (clip.IsEmpty() || bitmap == nullptr || !backBuffer) return true;
    BlitRect(backBuffer.get(), bitmap, clip.left, clip.top, ClampToInt(int64_t{srcX} + clip.left - dest.left),
             ClampToInt(int64_t{srcY} + clip.top - dest.top), static_cast<int>(clip.Width()),
             static_cast<int>(clip.Height()), blend.weight, blend.ModeWord());
    return true;
}

bool IEditorGraphics::DrawImageFrame(const IImageStrip& strip, const IPixelRect& dest, int frame,
                                     const IBlend& blend, bool vertical) {
    int offsetX = 0, offsetY = 0;
    if (strip.frames >= 2 && frame >= 2) {
        const int size = vertical ? strip.height : strip.width;
        const int offset = TruncToInt(double(size) * (frame - 1) / strip.frames + 0.5);
        (vertical ? offsetY : offsetX) = offset;
    }
    return DrawImage(strip.bitmap, dest, offsetX, offsetY, blend);
}

bool IEditorGraphics::DrawRotatedImage(const IImageStrip& strip, int centreX, int centreY, double angle,
                                       const IBlend& blend, float srcX, float srcY) {
    if (strip.bitmap == nullptr || !backBuffer) return true;
    const int x = TruncToInt(double(centreX) - strip.width / 2);
    const int y = TruncToInt(double(centreY) - strip.height / 2);
    RotatedBlit(backBuffer.get(), strip.bitmap, x, y, strip.width, strip.height, srcX, srcY,
                float(strip.width), float(strip.height), static_cast<float>(angle), false, blend.weight,
                blend.ModeWord() | BlendFilterBilinear, 0.0f, 0.0f);
    return true;
}

bool IEditorGraphics::FillRect(const IArgb& colour, const IPixelRect& rect, const IBlend& blend) {
    if (!backBuffer) return true;
    ::FillRect(backBuffer.get(), rect.left, rect.top, ClampToInt(rect.Width()), ClampToInt(rect.Height()),
               colour.Packed(), blend.weight, blend.ModeWord());
    return true;
}

bool IEditorGraphics::DrawLabel(ITextStyle& style, const char* text, const IPixelRect& rect) {
    if (text == nullptr || text[0] == '\0') return true;
    GlyphCacheFont* font = style.font ? style.font : FindFont(style);
    if (font == nullptr) return false;
    if (backBuffer) EditorText::Draw(font, backBuffer.get(), text, rect, style.colour.Packed(), style.align);
    return true;
}

GlyphCacheFont* IEditorGraphics::FindFont(ITextStyle& style) {
    style.font = FontCache::Instance().FindOrCreate(style);
    return style.font;
}

// ---- Repaint -------------------------------------------------------------------------------------

bool IEditorGraphics::CollectDirty(IPixelRect& out) {
    if (showBounds) {
        out = paintRect;
        return true;
    }
    out = IPixelRect();
    bool any = false;
    for (IControl* control : controls) {
        if (control->NeedsRepaint()) {
            out = out.Union(control->rect);
            any = true;
        }
    }
    return any;
}

bool IEditorGraphics::PaintArea(const IPixelRect& rect) {
    if (controls.empty()) return true;
    if (strictPaint) {
        paintRect = rect;
        for (IControl* control : controls) {
            if (!control->hidden && rect.Overlaps(control->rect)) control->Paint(*this);
            control->MarkClean();
        }
    } else if (controls[0]->NeedsRepaint()) {
        paintRect = controls[0]->rect;
        for (size_t i = 0; i < controls.size(); ++i) {
            if (i == 0 || !controls[i]->hidden) controls[i]->Paint(*this);
            controls[i]->MarkClean();
        }
    } else {
        for (size_t i = 1; i < controls.size(); ++i) {
            IControl* dirtyControl = controls[i];
            if (!dirtyControl->NeedsRepaint()) continue;
            paintRect = dirtyControl->rect;
            for (size_t j = 0; j < controls.size() && !paintRect.IsEmpty(); ++j) {
                IControl* control = controls[j];
                if (control->hidden) continue;
                if (j == i || paintRect.Overlaps(control->rect)) control->Paint(*this);
            }
            dirtyControl->MarkClean();
        }
    }
    if (showBounds) DrawBounds();
    return PresentArea(rect);
}

void IEditorGraphics::DrawBounds() {
    if (!backBuffer) return;
    const uint32_t green = IArgb(255, 0, 255, 0).Packed();
    for (size_t i = 1; i < controls.size(); ++i) {
        const IPixelRect& r = controls[i]->rect;
        DrawLine(backBuffer.get(), r.left, r.top, r.right, r.top, green, 1.0f, 0, false);
        DrawLine(backBuffer.get(), r.right, r.top, r.right, r.bottom, green, 1.0f, 0, false);
        DrawLine(backBuffer.get(), r.right, r.bottom, r.left, r.bottom, green, 1.0f, 0, false);
        DrawLine(backBuffer.get(), r.left, r.bottom, r.left, r.top, green, 1.0f, 0, false);
    }
    char text[32];
    std::snprintf(text, sizeof text, "x: %i, y: %i", lastX, lastY);
    ITextStyle style(20, IArgb(255, 0, 255, 0), "Arial", ITextStyle::Normal, ITextStyle::AlignCentre);
    DrawLabel(style, text, IPixelRect(width - 150, height - 20, width, height));
}

void IEditorGraphics::MarkAllDirty() {
    for (IControl* control : controls) control->MarkDirty(false);
}

// ---- Mouse and keys ------------------------------------------------------------------------------

int IEditorGraphics::ControlAt(int x, int y) {
    if (captureIndex >= 0) return captureIndex;
    for (int i = ControlCount() - 1; i >= 0; --i) {
        IControl* control = controls[static_cast<size_t>(i)];
        if (control->hidden || control->greyed) continue;
        if (control->Contains(x, y)) return i;
    }
    return -1;
}

void IEditorGraphics::HandleMouseDown(int x, int y, const IMouseKeys& keys) {
    captureIndex = lastX = lastY = -1;
    const int i = ControlAt(x, y);
    if (i < 0) return;
    captureIndex = i;
    lastX = x;
    lastY = y;
    IControl* control = controls[static_cast<size_t>(i)];
    BeginPressGesture(control->paramIndex);
    control->MouseDown(x, y, keys);
}

void IEditorGraphics::BeginPressGesture(int32_t index) {
    if (index < 0 || !plug) return;
    plug->HostBeginEdit(index);
    gestureIndex = index;
}

void IEditorGraphics::HandleMouseUp(int x, int y, const IMouseKeys& keys) {
    const int i = ControlAt(x, y);
    captureIndex = lastX = lastY = -1;
    // Only a release that ends a press ends a gesture: a press that went elsewhere (one that
    // closed a popup) began none, and the host must never see an end without its begin.
    const int32_t gesture = gestureIndex;
    gestureIndex = -1;
    if (IControl* control = Control(i)) control->MouseUp(x, y, keys);
    if (gesture >= 0 && plug) plug->HostEndEdit(gesture);
}

void IEditorGraphics::HandleMouseDrag(int x, int y, const IMouseKeys& keys) {
    IControl* control = Control(captureIndex);
    if (control == nullptr) return;
    const int32_t dX = Movement(x, lastX), dY = Movement(y, lastY);
    if (dX == 0 && dY == 0) return;
    lastX = x;
    lastY = y;
    control->MouseDrag(x, y, dX, dY, keys);
}

bool IEditorGraphics::HandleDoubleClick(int x, int y, const IMouseKeys& keys) {
    captureIndex = lastX = lastY = -1;
    const int i = ControlAt(x, y);
    IControl* control = Control(i);
    if (control == nullptr) return false;
    BeginPressGesture(control->paramIndex);
    if (control->doubleClickAsPress) {
        captureIndex = i;
        lastX = x;
        lastY = y;
        control->MouseDown(x, y, keys);
        return true;
    }
    control->MouseDoubleClick(x, y, keys);
    return false;
}

void IEditorGraphics::HandleMouseWheel(int x, int y, const IMouseKeys& keys, int notches) {
    IControl* control = Control(ControlAt(x, y));
    if (control == nullptr) return;
    const int index = control->paramIndex;
    if (index < 0 || !plug) {
        control->MouseWheel(x, y, keys, notches);
        return;
    }
    // One hold across the notch: a host thread's begin-edit in between would end the gesture
    // this notch continues, and the end scheduled below would then have no begin.
    std::lock_guard<std::recursive_mutex> hold(plug->Lock());
    plug->HostBeginEditOnce(index);
    control->MouseWheel(x, y, keys, notches);
    plug->EndEditLater(index);
}

void IEditorGraphics::HandleKeyDown(int x, int y, int key) {
    if (IControl* control = Control(ControlAt(x, y))) control->KeyDown(x, y, key);
}

bool IEditorGraphics::HandleMouseOver(int x, int y, const IMouseKeys& keys) {
    if (!trackMouseOver) return false;
    const int i = ControlAt(x, y);
    IControl* control = Control(i);
    if (control == nullptr) return true;
    lastX = x;
    lastY = y;
    control->MouseOver(x, y, keys);
    if (overIndex >= 0 && overIndex != i)
        if (IControl* previous = Control(overIndex)) previous->MouseOut();
    overIndex = i;
    return true;
}

void IEditorGraphics::HandleMouseOut() {
    for (IControl* control : controls) control->MouseOut();
    overIndex = -1;
}
