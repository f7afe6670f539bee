#pragma once

#include <cstddef>
#include <string>

#include "editor/IPixelRect.h"
#include "editor/ITextStyle.h"

class IEditorGraphics;
class IParameter;
class ValuePopupModel;

// A value popup drawn by the editor itself into its back buffer, for a window system without
// native edit boxes and lists: the view of a ValuePopupModel, placed and sized as PopupGeometry
// says. The entry shows its text centred, all selected or with its caret; the list a box with the
// highlighted entry and the entries below it, the highlighted one marked. The list is kept inside
// the editor: moved up and left as far as needed to fit, and clipped at the editor's edges when
// it is larger than the editor. What keys and clicks do is the model's and EditorInput's.
//
// Threads: the editor's UI thread only.
class DrawnPopup {
  public:
    static constexpr int kBoxHeight = 20;
    static constexpr int kRowHeight = 18;

    // Shows model, which must outlive it, for the parameter of the control at control in an
    // editor width x height.
    DrawnPopup(const ValuePopupModel& model, const IParameter& parameter, const IPixelRect& control,
               int editorWidth, int editorHeight);

    const IPixelRect& Rect() const { return rect; }
    bool IsList() const;
    std::string Text() const;
    int Highlighted() const;
    // The list entry at (x, y), -1 for none (the box, the entry box, outside).
    int EntryAt(int x, int y) const;

    // Draws the popup into the graphics context's back buffer.
    void Draw(IEditorGraphics& graphics);

  private:
    int TextWidth(IEditorGraphics& graphics, const std::string& text, size_t count);
    void DrawList(IEditorGraphics& graphics);
    void DrawEntry(IEditorGraphics& graphics);

    const ValuePopupModel& model;
    IPixelRect rect;
    ITextStyle style;
};
