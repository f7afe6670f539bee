// The host's audio thread: one thread of its own, so that the plug-in's audio-tagged functions
// run on a thread other than main, and a plug-in that calls main-thread-only host functions from
// them is caught. Run() hands a job over and waits for it, so calls never overlap.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class ClapAudioThread {
  public:
    ClapAudioThread();
    ~ClapAudioThread();
    ClapAudioThread(const ClapAudioThread&) = delete;
    ClapAudioThread& operator=(const ClapAudioThread&) = delete;

    // Runs job on the audio thread and returns when it is done. [main thread]
    void Run(const std::function<void()>& job);
    std::thread::id Id() const { return worker.get_id(); }

  private:
    void Loop();

    std::mutex lock;
    std::condition_variable wake;
    const std::function<void()>* pending = nullptr;
    bool quit = false;
    std::thread worker;
};
