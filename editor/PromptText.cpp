#include "editor/PromptText.h"

#include "editor/IControl.h"
#include "plugbase/IParameter.h"
#include "plugbase/IPluginCore.h"

void ApplyPromptText(IPluginCore* plug, IControl* control, const IParameter* parameter, const char* text) {
    if (!control || !parameter) return;
    const double value = parameter->ParseText(text);
    const int index = control->paramIndex;
    if (index >= 0 && plug) plug->HostBeginEdit(index);
    control->SetValueFromUser(parameter->ToNormalized(value));
    if (index >= 0 && plug) plug->HostEndEdit(index);
}
