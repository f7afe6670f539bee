#include "editor/ValuePopupModel.h"

#include "plugbase/IParameter.h"

bool ValuePopupModel::IsListFor(const IParameter& parameter) {
    const ParameterKind kind = parameter.Kind();
    return parameter.ValueTextCount() > 0 && (kind == ParameterKind::Toggle || kind == ParameterKind::Choice);
}

ValuePopupModel::ValuePopupModel(const IParameter& parameter) : isList(IsListFor(parameter)) {
    char current[IParameter::kTextBytes] = {};
    parameter.FormatForHost(parameter.PlainValue(), false, current, sizeof current);
    if (!isList) {
        text = current;
        caret = text.size();
        return;
    }
    for (int i = 0; i < parameter.ValueTextCount(); ++i) {
        const ValueText* entry = parameter.ValueTextAt(i);
        entries.emplace_back(entry ? entry->text : "");
        if (entries.back() == current && highlighted < 0) highlighted = i;
    }
}

std::string ValuePopupModel::Text() const {
    if (!isList) return text;
    return highlighted >= 0 ? entries[static_cast<size_t>(highlighted)] : std::string();
}

ValuePopupModel::Result ValuePopupModel::Press(Key key, char typed) {
    if (key == Key::Commit) return Result::Commit;
    if (typed < 0x20 || typed > 0x7E) typed = '\0';
    return isList ? ListKey(key) : EntryKey(key, typed);
}

ValuePopupModel::Result ValuePopupModel::Choose(int index) {
    if (!isList || index < 0 || index >= static_cast<int>(entries.size())) return Result::Nothing;
    highlighted = index;
    return Result::Commit;
}

ValuePopupModel::Result ValuePopupModel::ListKey(Key key) {
    const int last = static_cast<int>(entries.size()) - 1;
    if (key == Key::Up && highlighted > 0)
        --highlighted;
    else if (key == Key::Down && highlighted < last)
        ++highlighted;
    else
        return Result::Nothing;
    return Result::Changed;
}

ValuePopupModel::Result ValuePopupModel::EntryKey(Key key, char typed) {
    // A key that edits the selected text replaces all of it; moving drops the selection.
    if (allSelected && (typed || key == Key::Backspace || key == Key::Delete)) {
        text.clear();
        caret = 0;
        allSelected = false;
        if (!typed) return Result::Changed;
    }
    switch (key) {
        case Key::Backspace:
            if (caret > 0) text.erase(--caret, 1);
            break;
        case Key::Delete:
            if (caret < text.size()) text.erase(caret, 1);
            break;
        case Key::Left:
            caret = allSelected ? 0 : caret - (caret > 0);
            break;
        case Key::Right:
            caret = allSelected ? text.size() : caret + (caret < text.size());
            break;
        case Key::Home:
            caret = 0;
            break;
        case Key::End:
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
