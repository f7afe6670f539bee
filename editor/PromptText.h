#pragma once

class IControl;
class IParameter;
class IPluginCore;

// Applies the text a value popup was committed with: the parameter reads it (a value text gives
// its value, otherwise the leading number), and the control takes the result as if the user had
// moved it, inside a host edit gesture when the control is bound.
void ApplyPromptText(IPluginCore* plug, IControl* control, const IParameter* parameter, const char* text);
