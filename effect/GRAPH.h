#pragma once

#include <cstdint>

#include "editor/IArgb.h"
#include "editor/IControl.h"
#include "editor/RelaxedAtomic.h"

// The live pan position bar: a light grey bar that grows from the centre of its track (the
// control's rectangle) towards the side the sound is panned to. It repaints on every editor tick.
class GRAPH : public IControl {
  public:
    static constexpr IArgb barColour{255, 200, 200, 200};

    // Unbound; the track is the rectangle. UI thread.
    GRAPH(IPluginCore* plug, int left, int top, int right, int bottom);

    // Fills the bar for shownPan; nothing at the centre or for NaN. UI thread.
    bool Paint(IEditorGraphics& graphics) override;
    bool NeedsRepaint() override { return true; }

    // Pan target of the latest audio block, -1 (left) .. +1 (right). Written by the audio thread
    // (once per block, with the plug-in's lock held), read by the UI thread while painting,
    // without the lock. One 32-bit float stored and loaded whole with no ordering, because
    // nothing else is published with it; a paint may show the previous block's value.
    RelaxedAtomic<float> shownPan{0.0f};
    // The track's size, from the rectangle.
    uint32_t barWidth;
    int32_t barHeight;
};
