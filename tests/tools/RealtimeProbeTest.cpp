#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "tools/vsthost/host/HostCallback.h"
#include "tools/vsthost/host/RealtimeProbe.h"

// The validator judges plug-ins by these counts, so the probe proves first that it counts what a
// marked thread does, and only that: not other threads, not the host's own answers.

TEST(RealtimeProbeTest, CountsAllocationsAndFreesOfTheMarkedThreadOnly) {
    if (!RealtimeProbe::CountsAllocations()) GTEST_SKIP() << RealtimeProbe::Method();
    AEffect record{};
    HostCallback host;
    host.Attach(&record);
    RealtimeCounts marked, unmarked;
    std::thread([&] {
        RealtimeProbe::MarkThisThread(true);
        void* volatile block = std::malloc(64);
        std::free(block);
        int* volatile number = new int(7);
        delete number;
        // The host answering an automation records it (and may allocate): not the plug-in's doing.
        HostCallback::Callback(&record, audioMasterAutomate, 0, 0, nullptr, 0.5f);
        marked = RealtimeProbe::ThisThread();
        RealtimeProbe::MarkThisThread(false);
    }).join();
    std::thread([&] {
        void* volatile block = std::malloc(64);
        std::free(block);
        unmarked = RealtimeProbe::ThisThread();
    }).join();
    EXPECT_EQ(marked.allocations, 2);
    EXPECT_EQ(marked.frees, 2);
    EXPECT_EQ(unmarked.allocations, 0);
    EXPECT_EQ(unmarked.frees, 0);
    EXPECT_EQ(host.Automations().size(), 1u);
}

TEST(RealtimeProbeTest, CountsLocksAndTheWaitsAnotherThreadCaused) {
    if (!RealtimeProbe::CountsLocks()) GTEST_SKIP() << RealtimeProbe::Method();
    std::mutex held, free;
    std::atomic<bool> ready{false};
    RealtimeCounts counts;
    held.lock();
    std::thread audio([&] {
        RealtimeProbe::MarkThisThread(true);
        ready = true;
        held.lock();  // waits until the main thread lets go
        held.unlock();
        free.lock();
        free.unlock();
        counts = RealtimeProbe::ThisThread();
        RealtimeProbe::MarkThisThread(false);
    });
    while (!ready) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    held.unlock();
    audio.join();
    EXPECT_EQ(counts.locks, 2);
    EXPECT_EQ(counts.lockWaits, 1);
}
