// One plug-in instance as a strict host drives it: created through the module's factory, every
// function called on its tagged thread (audio-tagged ones on the host's audio thread) and only in
// the state the interface allows it in. A call the host's own user makes in the wrong state is
// not passed on but recorded as a breach, so a test cannot mistake a host slip for plug-in
// behaviour. Teardown runs stop_processing, deactivate and destroy as needed.
#pragma once

#include <string>

#include "tools/vsthost/host/clap/ClapAudioThread.h"
#include "tools/vsthost/host/clap/ClapEventList.h"
#include "tools/vsthost/host/clap/ClapHost.h"
#include "tools/vsthost/host/clap/ClapModule.h"

class ClapPlugin {
  public:
    // [main thread]; the module must outlive the instance.
    ClapPlugin(const ClapModule& module, ClapRuleBook& rules);
    ~ClapPlugin();
    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    // create_plugin with the id, then init; false with a reason when either fails. [main thread]
    bool Create(const char* id, std::string& error);
    // [main thread]
    bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
    void Deactivate();
    // [main thread; the calls run on the audio thread]
    bool StartProcessing();
    void StopProcessing();
    void Reset();
    int32_t Process(const clap_process& process);
    // Runs params.flush on the thread its state asks for: audio while active, else main.
    void Flush(ClapInputEvents& in, ClapOutputEvents& out);

    // What the host does between calls on its main thread: answers request_callback with
    // on_main_thread and request_flush with a flush into FlushedEvents() when not processing.
    void ServiceRequests();
    ClapOutputEvents& FlushedEvents() { return flushed; }

    // A plug-in extension, asked of the instance after init; null if not offered. [any thread]
    template <class Table>
    const Table* Extension(const char* id) const {
        return static_cast<const Table*>(ExtensionTable(id));
    }
    const void* ExtensionTable(const char* id) const;
    const clap_plugin* Raw() const { return plugin; }
    ClapHost& Host() { return host; }
    ClapPhase Phase() const { return host.Phase(); }

  private:
    bool Expect(bool allowed, const char* call);
    void Destroy();

    const ClapModule& module;
    ClapRuleBook& rules;
    ClapHost host;
    ClapAudioThread audio;
    ClapOutputEvents flushed;
    const clap_plugin* plugin = nullptr;
    uint32_t minFrames = 0;
    uint32_t maxFrames = 0;
};
