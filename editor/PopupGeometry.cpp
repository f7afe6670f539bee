#include "editor/PopupGeometry.h"

#include <algorithm>
#include <cstring>

#include "editor/ValuePopupModel.h"
#include "plugbase/IParameter.h"

IPixelRect PopupGeometry::ForControl(const IParameter& parameter, const IPixelRect& control) {
    const int cx = static_cast<int>((double(control.left) + control.right) * 0.5);
    const int cy = static_cast<int>((double(control.top) + control.bottom) * 0.5);
    if (ValuePopupModel::IsListFor(parameter)) {
        const int texts = parameter.ValueTextCount();
        size_t longest = 0;
        for (int i = 0; i < texts; ++i)
            if (const ValueText* entry = parameter.ValueTextAt(i))
                longest = std::max(longest, std::strlen(entry->text));
        return ListRect(cx, cy, static_cast<int>(longest), texts);
    }
    char largest[IParameter::kTextBytes] = {};
    parameter.FormatForHost(1.0, true, largest, sizeof largest);
    return EntryRect(cx, cy, static_cast<int>(std::strlen(largest)));
}
