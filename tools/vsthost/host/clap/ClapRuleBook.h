// The interface's rules as the test host keeps them: which thread is main and which is audio,
// and every breach, by the plug-in or by the host's own user, written down so that a test can
// fail on it. A host that only crashed on a breach would let most of them pass unnoticed.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ClapRuleBook {
  public:
    // The constructing thread is the main thread. [main thread]
    ClapRuleBook();

    // [any thread]
    bool OnMainThread() const { return std::this_thread::get_id() == mainThread; }
    bool OnAudioThread() const;
    void SetAudioThread(std::thread::id id);

    // Records a breach; the text says who broke which rule. [any thread]
    void Violation(const std::string& what);
    // Records a breach unless the caller is on the main thread / off the audio thread.
    void RequireMain(const char* call);
    void RequireNotAudio(const char* call);

    // Every breach recorded so far, oldest first. [any thread]
    std::vector<std::string> Violations() const;

  private:
    std::thread::id mainThread;
    std::thread::id audioThread;
    mutable std::mutex lock;
    std::vector<std::string> violations;
};
