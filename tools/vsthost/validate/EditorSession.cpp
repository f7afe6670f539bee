#include "tools/vsthost/validate/EditorSession.h"

#include "tools/vsthost/system/Platform.h"

namespace {

// Editors larger than this are taken as a broken rectangle.
constexpr int kMaxSide = 8192;
// How the window hosts say that effEditOpen answered 1 but no editor window appeared in theirs.
constexpr const char* kNoWindow = "opened no editor window";

}  // namespace

bool EditorSession::Open(HostedEffect& effect, std::string& why) {
    if (!(effect.Flags() & effFlagsHasEditor)) {
        why = "the module has no editor (effFlagsHasEditor is not set)";
        return false;
    }
    host = CreateEditorHost(false);
    // Some plug-ins crash when asked for their rectangle without a display: there, only an editor
    // the host can drive without a window (our plug-ins' offscreen editor) is asked at all.
    std::string noDisplay;
    const bool display = DisplayAvailable(noDisplay);
    if (!display && !host->Open(effect, 0, 0, why)) {
        why = noDisplay + "; " + why;
        host.reset();
        return false;
    }
    ERect* rect = nullptr;
    effect.Dispatch(effEditGetRect, 0, 0, &rect);
    if (rect) {
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    if (!rect || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        why = rect ? "effEditGetRect gave a rectangle of " + std::to_string(width) + " x " +
                         std::to_string(height)
                   : "effEditGetRect gave no rectangle";
        if (!display) host->Close();
        host.reset();
        return false;
    }
    if (display && !host->Open(effect, width, height, why)) {
        if (why.find(kNoWindow) != std::string::npos) return true;
        host.reset();
        return false;
    }
    shown = true;
    return true;
}

bool EditorSession::RandomInput(SeededRandom& random, std::string& text, std::string& error) {
    if (!shown) {
        error = host ? "the editor showed no window" : "the editor is not open";
        return false;
    }
    EditorStep step;
    step.x = random.Between(0, width - 1);
    step.y = random.Between(0, height - 1);
    step.x2 = random.Between(0, width - 1);
    step.y2 = random.Between(0, height - 1);
    const uint64_t pick = random.Below(20);
    if (pick < 6) {
        step.kind = EditorStep::Kind::Move;
    } else if (pick < 10) {
        step.kind = EditorStep::Kind::Click;
    } else if (pick < 11) {
        step.kind = EditorStep::Kind::DoubleClick;
    } else if (pick < 12) {
        step.kind = EditorStep::Kind::RightClick;
    } else if (pick < 16) {
        step.kind = EditorStep::Kind::Drag;
    } else {
        step.kind = EditorStep::Kind::Wheel;
        step.amount = random.Between(-3, 3);
    }
    step.modifiers.shift = random.Below(4) == 0;
    text = step.Describe();
    return host->Perform(step, error);
}

void EditorSession::Tick(int ticks) {
    if (host) host->Tick(ticks);
}

void EditorSession::Close() {
    if (host) host->Close();
    host.reset();
    shown = false;
}
