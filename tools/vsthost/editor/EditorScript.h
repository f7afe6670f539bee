// Scripted user input for a plug-in's editor: a list of steps read from the command line or a
// script file, performed by a platform EditorHost. Coordinates are editor pixels; keys are
// Windows virtual-key codes, the code a Windows host's window receives.
#pragma once

#include <string>
#include <vector>

struct EditorModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

struct EditorStep {
    enum class Kind {
        Move,         // pointer moves to (x, y), no button held
        Click,        // left press and release at (x, y)
        RightClick,   // right press and release at (x, y)
        DoubleClick,  // press, release, double-click press, release at (x, y)
        Drag,         // left press at (x, y), moves to (x2, y2) in kDragSteps, release there
        Wheel,        // amount wheel notches at (x, y); positive turns away from the user
        Type,         // text typed into the focused window, one character at a time
        Enter,        // the Enter key to the focused window
        Key,          // key (virtual-key code) pressed with the pointer at its last position
        Select,       // entry amount (from 0) chosen in the open drop-down list
        Tick,         // amount timer ticks pass
        Wait,         // amount milliseconds of wall-clock time pass with the editor running
        Shot,         // the editor's picture now, written to the PNG file text
    };
    static constexpr int kDragSteps = 4;

    Kind kind = Kind::Tick;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int amount = 0;
    int key = 0;
    EditorModifiers modifiers;
    std::string text;

    // The step as a script line ("wheel 120 80 -2 shift").
    std::string Describe() const;
};

// Reads a script: one step per line or per ';'-separated part, '#' starts a comment. False with
// error naming the bad part.
bool ParseEditorScript(const std::string& script, std::vector<EditorStep>& steps, std::string& error);

// Virtual-key code for a key name ("space", "up", "a", "7", "f1", "numpad1", "0x61"); -1 when
// unknown.
int VirtualKeyFromName(const std::string& name);

// The script language, for --help (a literal, so that command tables can join it to theirs).
#define EDITOR_SCRIPT_HELP                                                             \
    "  editor script steps (one per line or separated by ';', '#' starts a comment;\n" \
    "  X Y in editor pixels; any pointer step may end in shift, ctrl and/or alt):\n"   \
    "    move X Y            click X Y          rclick X Y        dclick X Y\n"        \
    "    drag X1 Y1 X2 Y2    wheel X Y NOTCHES  type TEXT         enter\n"             \
    "    key NAME            select ENTRY       tick [N]\n"                            \
    "    wait MS             the editor runs in real time for MS milliseconds\n"       \
    "    shot FILE.png       saves what the editor shows now (--force overwrites)\n"   \
    "  key names: space up down left right 0-9 a-z f1-f24 numpad0-numpad9 enter\n"     \
    "  escape tab, or a virtual-key code as 0xNN\n"
