#pragma once

#include <cstdint>

#include "plugbase/HostId.h"
#include "plugbase/IMidiEvent.h"
#include "plugbase/ISysExMessage.h"

// What the plug-in core tells (and asks) the host, whatever the format: each format's adapter
// implements it and attaches itself to the core it owns. The core's Host* functions forward here,
// so neither the effect nor the editor know which format carries them.
//
// Threads and locking as the calling IPluginCore function states; the core calls with its lock held
// except where it says otherwise.
class IPluginHost {
  public:
    virtual ~IPluginHost() = default;

    // ---- Parameter gestures and values --------------------------------------------------------------
    virtual void BeginEdit(int index) = 0;
    virtual void Automate(int index, double normalized) = 0;
    virtual void EndEdit(int index) = 0;
    // The current program changed, or the parameters' values or names changed all at once: the host
    // reads them again.
    virtual void ProgramChanged() = 0;
    virtual void LatencyChanged(int samples) = 0;

    // ---- Transport, for the coming block [audio thread] -----------------------------------------------
    // 0 / 0.0 / 0 and 0 when the host does not know.
    virtual int64_t SamplePosition() = 0;
    virtual double Tempo() = 0;
    virtual void TimeSignature(int& numerator, int& denominator) = 0;

    // ---- Outgoing events [audio thread], from the block being processed --------------------------------
    // True when the host took the event.
    virtual bool SendMidi(const IMidiEvent& event) = 0;
    virtual bool SendSysEx(const ISysExMessage& message) = 0;

    // ---- Host and editor --------------------------------------------------------------------------------
    // The host product the editor adapts its window behaviour to; Unknown when not known.
    virtual HostId Product() = 0;
    // An editor was attached, or the attached one changed its size.
    virtual void EditorChanged() = 0;
};
