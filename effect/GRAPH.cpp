#include "effect/GRAPH.h"

#include <algorithm>
#include <cstdint>

#include "editor/IEditorGraphics.h"
#include "effect/RoundHalfAway.h"

GRAPH::GRAPH(IPluginCore* plug, int left, int top, int right, int bottom)
    : IControl(plug, IPixelRect(left, top, right, bottom)),
      barWidth(static_cast<uint32_t>(std::clamp<int64_t>(rect.Width(), 0, INT32_MAX))),
      barHeight(static_cast<int32_t>(std::clamp<int64_t>(rect.Height(), 0, INT32_MAX))) {}

bool GRAPH::Paint(IEditorGraphics& graphics) {
    const int32_t barLeft = rect.left, barTop = rect.top;
    const float p = shownPan;
    const auto width = static_cast<int32_t>(barWidth);
    const int32_t centre = width / 2;
    // The column at the centre belongs to the bar on both sides. Positions beyond the track (the
    // engine never produces them) are held at its ends, so the unclipped fill stays on the track.
    const auto edge = [&] {
        const int32_t x = RoundHalfAway((p + 1.0f) * static_cast<float>(barWidth) * 0.5f);
        return x < 0 ? 0 : (x > width ? width : x);
    };
    if (p > 0.0f) {
        graphics.FillRect(barColour, {barLeft + centre, barTop, barLeft + edge(), barTop + barHeight});
    } else if (p < 0.0f) {
        graphics.FillRect(barColour, {barLeft + edge(), barTop, barLeft + centre + 1, barTop + barHeight});
    }
    return true;
}
