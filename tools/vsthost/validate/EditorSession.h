// The editor as the validator drives it: its rectangle asked for, then opened through vsthost's
// editor host (a real window where the platform has one, else the offscreen editor), random
// pointer and wheel input inside the rectangle, ticks, and closing. Used by the editor group and
// by the editor thread of the threads group. [UI thread]: the thread that opened it, for every
// call.
#pragma once

#include <memory>
#include <string>

#include "tools/vsthost/editor/EditorHost.h"
#include "tools/vsthost/host/HostedEffect.h"
#include "tools/vsthost/validate/SeededRandom.h"

class EditorSession {
  public:
    // Asks for the rectangle and opens the editor; false with why (no editor, no display, a
    // refusal or a rectangle no window could have). An editor that answered effEditOpen with 1
    // but put no window into the host's is open all the same (closing it sends effEditClose),
    // without a window (Shown() is false, why says so).
    bool Open(HostedEffect& effect, std::string& why);
    // Whether the open editor can be seen and given input: its window appeared, or it runs
    // offscreen.
    bool Shown() const { return shown; }
    // One random step inside the rectangle: a move, click, double click, right click, drag or wheel
    // turn; false with error when the host cannot perform it. The step is described in step.
    bool RandomInput(SeededRandom& random, std::string& step, std::string& error);
    void Tick(int ticks);
    void Close();
    bool IsOpen() const { return host != nullptr; }
    int Width() const { return width; }
    int Height() const { return height; }
    // How the open editor is shown (a real window or the offscreen editor), for the report.
    std::string Description() const { return host ? host->Description() : ""; }

  private:
    std::unique_ptr<EditorHost> host;
    int width = 0, height = 0;
    bool shown = false;
};
