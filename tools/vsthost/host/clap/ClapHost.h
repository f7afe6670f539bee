// The host side of one plug-in instance: the clap_host record and the host extensions (log,
// thread check, params, state, latency, audio and note ports, gui, timer support and, outside
// Windows, posix-fd support). Every call the plug-in makes is checked against the interface's
// thread and state rules, breaches go to the rule book, and what the plug-in asked for (a
// callback, a flush, a restart, rescans, timers, fds, log lines) is kept for the test to read.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "abi/ClapExtensions.h"
#include "tools/vsthost/host/clap/ClapRuleBook.h"

// Where the instance stands; the host's user (ClapPlugin) keeps it current.
enum class ClapPhase { Creating, Created, Initialising, Inactive, Activating, Active, Processing, Destroyed };

class ClapHost {
  public:
    struct Timer {
        clap_id id;
        uint32_t periodMs;
        std::chrono::steady_clock::time_point due;
    };
    struct Fd {
        int fd;
        uint32_t flags;
    };

    explicit ClapHost(ClapRuleBook& rules);
    ClapHost(const ClapHost&) = delete;
    ClapHost& operator=(const ClapHost&) = delete;

    const clap_host* Table() const { return &table; }
    ClapRuleBook& Rules() { return rules; }

    // Kept by ClapPlugin. [main thread]
    void SetPlugin(const clap_plugin* created) { plugin = created; }
    void SetPhase(ClapPhase next) { phase = next; }
    ClapPhase Phase() const { return phase; }

    // One-shot requests: true once per request since the last call. [main thread]
    bool TakeCallbackRequest() { return callbackRequested.exchange(false); }
    bool TakeFlushRequest() { return flushRequested.exchange(false); }
    bool TakeRestartRequest() { return restartRequested.exchange(false); }

    // What the plug-in told the host. [main thread]
    const std::vector<uint32_t>& ParamRescans() const { return paramRescans; }
    int DirtyMarks() const { return dirtyMarks; }
    int LatencyChanges() const { return latencyChanges; }
    std::vector<std::string> LogLines() const;
    std::vector<Timer>& Timers() { return timers; }
    const std::vector<Fd>& Fds() const { return fds; }

    // The host record's functions and the extension tables, reached through host_data.
    static ClapHost& Of(const clap_host* host) { return *static_cast<ClapHost*>(host->host_data); }
    const void* Extension(const char* id);
    void RequireInitialised(const char* call);
    void RequireMainAndInitialised(const char* call);

    void Log(int32_t severity, const char* message);
    void Rescan(uint32_t flags);
    void RequestFlush();
    void MarkDirty();
    void LatencyChanged();
    bool RegisterTimer(uint32_t periodMs, clap_id* id);
    bool UnregisterTimer(clap_id id);
    bool RegisterFd(int fd, uint32_t flags);
    bool ModifyFd(int fd, uint32_t flags);
    bool UnregisterFd(int fd);

    std::atomic<bool> callbackRequested{false};
    std::atomic<bool> flushRequested{false};
    std::atomic<bool> restartRequested{false};
    std::atomic<bool> processRequested{false};

  private:
    ClapRuleBook& rules;
    clap_host table;
    const clap_plugin* plugin = nullptr;
    std::atomic<ClapPhase> phase{ClapPhase::Creating};
    std::vector<uint32_t> paramRescans;
    int dirtyMarks = 0;
    int latencyChanges = 0;
    mutable std::mutex logLock;
    std::vector<std::string> logLines;
    std::vector<Timer> timers;
    clap_id nextTimerId = 1;
    std::vector<Fd> fds;
};
