#pragma once

#include "editor/IControl.h"

// Invisible clickable area (over the logo) that opens the maker's web site in the browser:
// the primary address, or the fallback when the primary fails. Never shows a message.
class IWebLinkControl : public IControl {
  public:
    static constexpr int kAddressBytes = 256;
    static constexpr int kCaptionBytes = 1024;

    // Each text is copied (truncated to its buffer) when given and not empty.
    IWebLinkControl(IPluginCore* plug, IPixelRect rect, const char* primary, const char* fallback,
                    const char* caption);

    // Any button.
    void MouseDown(int x, int y, const IMouseKeys& keys) override;
    // Draws nothing: the logo is part of the background.
    bool Paint(IEditorGraphics& graphics) override;

    char primaryAddress[kAddressBytes] = {};
    char fallbackAddress[kAddressBytes] = {};
    char caption[kCaptionBytes] = {};
};
