#include "tools/vsthost/host/clap/ClapAudioThread.h"

ClapAudioThread::ClapAudioThread() : worker([this] { Loop(); }) {}

ClapAudioThread::~ClapAudioThread() {
    {
        std::lock_guard<std::mutex> guard(lock);
        quit = true;
    }
    wake.notify_all();
    worker.join();
}

void ClapAudioThread::Run(const std::function<void()>& job) {
    std::unique_lock<std::mutex> guard(lock);
    pending = &job;
    wake.notify_all();
    wake.wait(guard, [this] { return pending == nullptr; });
}

void ClapAudioThread::Loop() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return quit || pending != nullptr; });
        if (quit) return;
        guard.unlock();
        (*pending)();
        guard.lock();
        pending = nullptr;
        wake.notify_all();
    }
}
