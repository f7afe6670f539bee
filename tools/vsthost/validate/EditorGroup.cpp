// editor: the editor opens, ticks, takes random mouse and wheel input inside its rectangle,
// closes and opens again, many times; and what it told the host meanwhile is well bracketed:
// every begin edit has its end edit, none ends what was never begun, and every automation
// carries a normalised value, inside its parameter's gesture or alone.
#include <algorithm>
#include <map>

#include "tools/vsthost/validate/EditorSession.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

std::string N(int64_t n) {
    return std::to_string(n);
}

// Ticks the open editor, gives it random input (when it shows a window) and ticks it again.
void Exercise(TestCase& t, EditorSession& editor, int inputs, const std::string& opening) {
    t.Calling("effEditIdle" + opening);
    editor.Tick(2);
    for (int k = 0; k < inputs && editor.Shown(); ++k) {
        std::string step, error;
        t.Calling("editor input" + opening);
        if (!editor.RandomInput(t.Random(), step, error)) t.Fail(step + ": " + error);
        // Ticks between the steps, not after each: a real window's tick is a real timer's.
        if (k % 16 == 15) editor.Tick(1);
    }
    t.Calling("effEditIdle" + opening);
    editor.Tick(4);
}

// Runs the openings, whatever the editor answers; false when it cannot be opened here at all
// (the test is skipped).
bool OpenAndClose(TestContext& ctx, HostedEffect& fx) {
    const int openings = ctx.Level().editorOpenings;
    const int inputs = ctx.Level().editorInputs;
    TestCase t(ctx, "editor.open-close",
               "opened, ticked, given " + N(inputs) +
                   " random mouse and wheel steps inside its rectangle and closed, " + N(openings) +
                   " times in a row");
    bool windowless = false;
    for (int i = 0; i < openings; ++i) {
        const std::string opening = " (opening " + N(i + 1) + ")";
        EditorSession editor;
        std::string why;
        t.Calling("effEditGetRect, effEditOpen" + opening);
        if (!editor.Open(fx, why)) {
            if (i > 0) {
                t.Fail("the editor opened before but not now: " + why);
                return true;
            }
            t.Skip("the editor cannot be opened here: " + why);
            return false;
        }
        if (!editor.Shown() && !windowless) {
            windowless = true;
            t.Problem("effEditOpen answered 1 but no editor window appeared" + opening + ": " + why,
                      ctx.Level().consistencyFailsFrom);
        }
        if (i == 0 && editor.Shown()) t.Note(editor.Description());
        Exercise(t, editor, inputs, opening);
        t.Calling("effEditClose" + opening);
        editor.Close();
    }
    return true;
}

// One notification in the order the host received it.
struct Notification {
    uint64_t sequence;
    enum { Begin, End, Automate } kind;
    int32_t index;
    float value;
};

void Bracketing(TestContext& ctx, HostCallback& host) {
    std::vector<Notification> all;
    for (const HostEditGesture& g : host.EditGestures())
        all.push_back({g.sequence, g.begin ? Notification::Begin : Notification::End, g.index, 0.0f});
    int64_t automations = 0;
    for (const HostAutomation& a : host.Automations()) {
        all.push_back({a.sequence, Notification::Automate, a.index, a.value});
        ++automations;
    }
    std::sort(all.begin(), all.end(),
              [](const Notification& a, const Notification& b) { return a.sequence < b.sequence; });
    TestCase t(ctx, "editor.notifications",
               "every begin edit has its end edit (nesting allowed), every automation with a value in "
               "[0, 1] (" +
                   N(automations) + " automate, " + N(static_cast<int64_t>(all.size()) - automations) +
                   " begin and end edit)");
    // Open gestures per parameter; a gesture may nest inside one of the same parameter (editors
    // that wrap each step of a drag in its own begin and end do), as long as each one ends.
    std::map<int32_t, int> open;
    int64_t alone = 0;
    for (const Notification& n : all) {
        switch (n.kind) {
            case Notification::Begin:
                ++open[n.index];
                break;
            case Notification::End:
                if (open[n.index] == 0)
                    t.Fail("end edit " + N(n.index) + " without a begin edit");
                else if (--open[n.index] == 0)
                    open.erase(n.index);
                break;
            case Notification::Automate:
                if (open.count(n.index) == 0) ++alone;
                if (!(n.value >= 0.0f && n.value <= 1.0f))
                    t.Fail("automate " + N(n.index) + " with " + std::to_string(n.value) +
                           ", outside [0, 1]");
                break;
        }
    }
    for (const auto& [index, depth] : open)
        if (depth > 0) t.Fail("begin edit " + N(index) + " never ended, not even when the editor closed");
    // Alone: outside a gesture of its own parameter (a click that steps a selector, say).
    t.Note(N(alone) + " automations alone");
}

}  // namespace

void RunEditorGroup(TestContext& ctx) {
    std::string error;
    auto instance = ctx.NewInstance(error);
    if (!instance) {
        TestCase t(ctx, "editor.open-close", "a fresh instance");
        return t.Fail(error);
    }
    if (!(instance->Effect().Flags() & effFlagsHasEditor))
        return ctx.Skip("editor", "the module has no editor (effFlagsHasEditor is not set)");
    if (OpenAndClose(ctx, instance->Effect())) Bracketing(ctx, instance->Host());
}
