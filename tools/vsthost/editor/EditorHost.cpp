#include "tools/vsthost/editor/EditorHost.h"

bool EditorHost::Perform(const EditorStep& step, std::string& error) {
    using Kind = EditorStep::Kind;
    if (step.kind == Kind::Tick || step.kind == Kind::Wait || step.kind == Kind::Shot) {
        // Timing and pictures are the command's own steps, never input.
        error = "'" + step.Describe() + "' is not an input step";
        return false;
    }
    if (!HoldModifiers(step.modifiers, error)) return false;
    const bool ok = Expand(step, error);
    ReleaseModifiers();
    return ok;
}

bool EditorHost::Click(Button button, int x, int y, bool secondClick, std::string& error) {
    return PressButton(button, x, y, secondClick, error) && ReleaseButton(button, x, y, error);
}

bool EditorHost::Expand(const EditorStep& step, std::string& error) {
    using Kind = EditorStep::Kind;
    switch (step.kind) {
        case Kind::Move:
            return MovePointer(step.x, step.y, false, error);
        case Kind::Click:
            return Click(Button::Left, step.x, step.y, false, error);
        case Kind::RightClick:
            return Click(Button::Right, step.x, step.y, false, error);
        case Kind::DoubleClick:
            return Click(Button::Left, step.x, step.y, false, error) &&
                   Click(Button::Left, step.x, step.y, true, error);
        case Kind::Drag: {
            bool ok = PressButton(Button::Left, step.x, step.y, false, error);
            for (int i = 1; ok && i <= EditorStep::kDragSteps; ++i)
                ok = MovePointer(step.x + (step.x2 - step.x) * i / EditorStep::kDragSteps,
                                 step.y + (step.y2 - step.y) * i / EditorStep::kDragSteps, true, error);
            return ok && ReleaseButton(Button::Left, step.x2, step.y2, error);
        }
        case Kind::Wheel:
            return TurnWheel(step.x, step.y, step.amount, error);
        case Kind::Type:
            for (char c : step.text)
                if (!TypeCharacter(c, error)) return false;
            return true;
        case Kind::Enter:
            return PressEnter(error);
        case Kind::Key:
            return PressKey(step.key, error);
        case Kind::Select:
            return SelectEntry(step.amount, error);
        default:
            return false;  // Tick, Wait and Shot never get here
    }
}
