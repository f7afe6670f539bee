// Which plug-in call is running right now on each thread. Every call the host makes into a
// plug-in (loading its module, its entry point, the dispatcher, the audio and parameter
// callbacks) is wrapped in a PluginCall, so that a fatal signal raised by the plug-in can be
// reported with the call and the module that caused it. Readable from a signal handler: the state
// is a few lock-free pointers to texts that live as long as the program (opcode names) or as long
// as the module is loaded.
#pragma once

#include <cstdint>

class PluginCall {
  public:
    // name must outlive the scope (a literal or an opcode name); index is shown when not negative.
    explicit PluginCall(const char* name, int32_t index = -1);
    ~PluginCall();
    PluginCall(const PluginCall&) = delete;
    PluginCall& operator=(const PluginCall&) = delete;

    // The calling thread's innermost call in progress, or null when it is running the host's own
    // code.
    static const char* Current();
    static int32_t CurrentIndex();
    // The module the calls go to (its path); set by whoever loads the module, null when none.
    static void SetModule(const char* path);
    static const char* Module();

  private:
    const char* previousName;
    int32_t previousIndex;
};

// "effEditGetRect" for 13, etc.; "opcode" for numbers the host does not know by name.
const char* EffectOpcodeName(int32_t opcode);
