// The Vesmar editor as an LV2 X11 UI. It shares nothing with the plug-in instance (the host may
// run it in another process): it builds an effect of its own to hold the parameters and the
// editor, takes the values the host reports through port_event and sends the editor's changes
// through the host's write function, in plain units, bracketed by ui:touch gestures. The host's
// idle calls (ui:idleInterface) drive the window's events and timer.
#pragma once

#include <cstdint>
#include <memory>

#include <lv2/ui/ui.h>

#include "lv2/Lv2PortLayout.h"
#include "plugbase/IPluginCore.h"
#include "plugbase/IPluginHost.h"

class Lv2Ui final : public IPluginHost {
  public:
    // [UI thread] The UI of a plug-in with that many channels, around effect (freshly built, with
    // its editor), inside the host's ui:parent; null without a parent or an editor, or when the
    // window cannot open.
    static Lv2Ui* Create(std::unique_ptr<IPluginCore> effect, int channels, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features);
    ~Lv2Ui() override;

    // [UI thread] A control port's value (float protocol); other ports and formats are ignored.
    void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    // [UI thread] ui:idleInterface: events and timer; 0 while the window is open.
    int Idle();

    // IPluginHost: the editor's gestures and values go to the host's ports.
    void BeginEdit(int index) override { Touch(index, true); }
    void Automate(int index, double normalized) override;
    void EndEdit(int index) override { Touch(index, false); }
    void ProgramChanged() override {}
    void LatencyChanged(int) override {}
    int64_t SamplePosition() override { return 0; }
    double Tempo() override { return 0.0; }
    void TimeSignature(int& numerator, int& denominator) override { numerator = denominator = 0; }
    bool SendMidi(const IMidiEvent&) override { return false; }
    bool SendSysEx(const ISysExMessage&) override { return false; }
    HostId Product() override { return HostId::Unknown; }
    void EditorChanged() override {}

  private:
    Lv2Ui(std::unique_ptr<IPluginCore> effect, int channels, LV2UI_Write_Function write,
          LV2UI_Controller controller, const LV2UI_Touch* touch);
    void Touch(int index, bool grabbed);

    std::unique_ptr<IPluginCore> effect_;
    Lv2PortLayout layout_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Touch* touch_;
    bool applyingHostValue_ = false;  // a value the host reported is not written back
    bool windowOpen_ = false;
};
