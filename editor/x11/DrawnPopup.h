#pragma once

#include <string>
#include <vector>

#include "editor/IPixelRect.h"
#include "editor/ITextStyle.h"

class IEditorGraphics;
class IParameter;

// A value popup drawn by the editor itself into its back buffer, for a window system without
// native edit boxes and lists. Two kinds, placed and sized as PopupGeometry says:
// - the value entry: the current text, all selected; typing replaces the selection; Backspace,
//   Delete, Left, Right, Home and End edit and move the caret; Return commits;
// - the drop-down list of a choice or toggle parameter: a box with the current entry and the
//   entries below it, the current one highlighted; Up and Down move the highlight, Return or a
//   click on an entry chooses.
// The list is kept inside the editor: moved up and left as far as needed to fit, and clipped
// at the editor's edges when it is larger than the editor. Commit, cancel and the clicks on the
// editor around the popup are the window's business.
//
// Threads: the editor's UI thread only.
class DrawnPopup {
  public:
    static constexpr int kBoxHeight = 20;
    static constexpr int kRowHeight = 18;
    static constexpr size_t kMaxText = 999;

    // Opens on the control centre (cx, cy) of an editor width x height for the parameter; the
    // kind follows the parameter (list for choices and toggles with value texts).
    DrawnPopup(const IParameter& parameter, int cx, int cy, int editorWidth, int editorHeight);

    bool IsList() const { return isList; }
    const IPixelRect& Rect() const { return rect; }
    // The entry's text, or the highlighted entry's.
    std::string Text() const;
    int Highlighted() const { return highlighted; }

    // What a key or a click did.
    enum class Result { Nothing, Changed, Commit };
    // A key of the popup's (X11Keys::Edit) or a typed character (0 for none).
    Result Key(int edit, char typed);
    // A left press at (x, y) inside Rect(): a list entry is chosen.
    Result Click(int x, int y);

    // Draws the popup into the graphics context's back buffer.
    void Draw(IEditorGraphics& graphics);

  private:
    int TextWidth(IEditorGraphics& graphics, const std::string& text, size_t count);

    bool isList;
    IPixelRect rect;
    std::string text;
    bool allSelected = true;
    size_t caret = 0;
    std::vector<std::string> entries;
    int highlighted = -1;
    ITextStyle style;
};
