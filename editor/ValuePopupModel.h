#pragma once

#include <cstddef>
#include <string>
#include <vector>

class IParameter;

// The text-entry model of a value popup the editor keeps itself (the X11 window's drawn popup,
// the offscreen editor's), behaving as the Windows window's native edit box and list do. Two
// kinds, chosen by the parameter:
// - the value entry: the current value text, all selected; typing replaces the selection;
//   Backspace, Delete, Left, Right, Home and End edit and move the caret; Commit commits;
// - the list of a choice or toggle parameter's value texts: the current one highlighted (none
//   when no text matches); Up and Down move the highlight; Commit, or choosing an entry, commits.
// Whoever shows it translates its platform's keys into Key and typed characters.
//
// Pure logic: the editor's UI thread.
class ValuePopupModel {
  public:
    // As many characters as a popup's text is read with.
    static constexpr size_t kMaxText = 999;

    enum class Key { None, Commit, Backspace, Delete, Left, Right, Home, End, Up, Down };
    enum class Result { Nothing, Changed, Commit };

    // Whether a parameter's popup is the list: it has value texts and is a toggle or a choice.
    static bool IsListFor(const IParameter& parameter);

    explicit ValuePopupModel(const IParameter& parameter);

    bool IsList() const { return isList; }
    // The entry's text, or the highlighted entry's ("" with none).
    std::string Text() const;
    // The entry's state: all of it selected (typing replaces it), else the caret's place.
    bool AllSelected() const { return allSelected; }
    size_t Caret() const { return caret; }
    // The list's entries and the highlighted one (-1: none).
    const std::vector<std::string>& Entries() const { return entries; }
    int Highlighted() const { return highlighted; }

    // A key, or a character typed (printable ASCII; 0 for none, other characters are ignored).
    Result Press(Key key, char typed);
    // The list entry index chosen: Commit, or Nothing for no such entry (or no list).
    Result Choose(int index);

  private:
    Result ListKey(Key key);
    Result EntryKey(Key key, char typed);

    bool isList;
    std::string text;
    bool allSelected = true;
    size_t caret = 0;
    std::vector<std::string> entries;
    int highlighted = -1;
};
