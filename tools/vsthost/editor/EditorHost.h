// The platform half of `vsthost editor`: gives a plug-in's editor a place to live, lets its timer
// tick, performs scripted input on it and reads back what it shows.
//
// Windows: a real top-level window with the editor as its child and a message loop; input
// arrives as the window messages a user's mouse and keyboard would cause, and the picture is read
// from the window's device context. Linux with an X display: a real top-level X11 window with the
// editor as its child, idled every 15 ms; input goes through the X server (XTest) and the picture
// is read back from the server. Without a display, with --offscreen, or when the plug-in opens no
// editor in the window, the plug-in's offscreen editor (its back buffer and dispatch, reached
// through a vendor-specific call) stands in for the window.
//
// [UI thread]: every call, from the one thread that opened the editor.
#pragma once

#include <memory>
#include <string>

#include "tools/vsthost/editor/EditorScript.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/formats/PngWriter.h"

class EditorHost {
  public:
    virtual ~EditorHost() = default;

    // Opens the effect's editor (effEditOpen) at width x height. False, with error, when the
    // plug-in has no editor or refuses to open it.
    virtual bool Open(HostedEffect& effect, int width, int height, std::string& error) = 0;
    // Lets ticks timer ticks of the editor pass.
    virtual void Tick(int ticks) = 0;
    // Keeps the editor running for milliseconds of wall-clock time, its timer ticking at its own
    // rate, as it would while the user watches it.
    virtual void Wait(int milliseconds) = 0;
    // Performs one input step (never a Tick, Wait or Shot step) as the primitives below, with the
    // step's modifier keys held throughout; false with error when it cannot be performed.
    virtual bool Perform(const EditorStep& step, std::string& error);
    // What the editor shows now.
    virtual bool Capture(Screenshot& shot, std::string& error) = 0;
    // effEditClose, then the host window goes away.
    virtual void Close() = 0;
    // How the picture was taken, for the report.
    virtual const char* Description() const = 0;

  protected:
    enum class Button { Left, Right };

    // The input a step is made of, each false with error when it cannot be given. Coordinates are
    // editor pixels; the keys act with the pointer where the last step left it.
    virtual bool HoldModifiers(const EditorModifiers& modifiers, std::string& error) = 0;
    virtual void ReleaseModifiers() = 0;
    virtual bool MovePointer(int x, int y, bool dragging, std::string& error) = 0;
    // secondClick: the press that makes the click before it a double click.
    virtual bool PressButton(Button button, int x, int y, bool secondClick, std::string& error) = 0;
    virtual bool ReleaseButton(Button button, int x, int y, std::string& error) = 0;
    virtual bool TurnWheel(int x, int y, int notches, std::string& error) = 0;
    virtual bool TypeCharacter(char c, std::string& error) = 0;
    virtual bool PressEnter(std::string& error) = 0;
    virtual bool PressKey(int virtualKey, std::string& error) = 0;
    virtual bool SelectEntry(int entry, std::string& error) = 0;

  private:
    bool Click(Button button, int x, int y, bool secondClick, std::string& error);
    bool Expand(const EditorStep& step, std::string& error);
};

// The platform's window host, or the offscreen one when offscreen is set (--offscreen) or the
// platform has no display to open a window on.
std::unique_ptr<EditorHost> CreateEditorHost(bool offscreen);
