#pragma once

#include <cstdint>

#include "editor/IArgb.h"
#include "editor/IControl.h"
#include "editor/RelaxedAtomic.h"

// The live pan position bar: a light grey bar that grows from the centre of its track towards
// the side the sound is panned to. It repaints on every editor tick.
//
// Threads: the audio side writes shownPan once per block (with the plug-in's lock held); Paint
// reads it on the editor's thread without any lock. It is one 32-bit float, stored and loaded
// whole with no ordering, because nothing else is published with it; a paint may show the
// previous block's value.
class GRAPH : public IControl {
  public:
    static constexpr int32_t barLeft = 112;
    static constexpr int32_t barTop = 227;
    static constexpr IArgb barColour{255, 200, 200, 200};

    // Unbound; the bar's origin and size are fixed, not taken from the rectangle.
    GRAPH(IPluginCore* plug, int left, int top, int right, int bottom);

    // Fills the bar for shownPan; nothing at the centre or for NaN.
    bool Paint(IEditorGraphics& graphics) override;
    bool NeedsRepaint() override { return true; }

    // Pan target of the latest audio block, -1 (left) .. +1 (right).
    RelaxedAtomic<float> shownPan{0.0f};
    uint32_t barWidth = 329;
    int32_t barHeight = 10;
};
