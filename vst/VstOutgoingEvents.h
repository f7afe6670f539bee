#pragma once
#include "plugbase/IMidiEvent.h"
#include "plugbase/ISysExMessage.h"
#include "abi/VstAbi.h"

// Builds the one-event lists the plug-in hands to the host with audioMasterProcessEvents. The
// records live in fixed per-instance storage (no allocation on the audio path), in a small ring so
// that a send made while the host is still inside an earlier one does not overwrite the record
// the host is reading. Used with the plug-in lock held.
class VstOutgoingEvents {
  public:
    VstOutgoingEvents();

    VstEvents* Midi(const IMidiEvent& message);
    VstEvents* SysEx(const ISysExMessage& message);

  private:
    struct Slot {
        VstEvents list;
        VstMidiEvent midi;
        VstMidiSysexEvent sysex;
    };
    static constexpr int kSlots = 8;

    Slot& Next();

    Slot slots_[kSlots];
    int next_ = 0;
};
