#include "tools/vsthost/host/clap/ClapHost.h"

#include <algorithm>
#include <cstring>

namespace {

ClapHost& Host(const clap_host* host) {
    return ClapHost::Of(host);
}

const clap_host_log kLog = {
    [](const clap_host* h, int32_t severity, const char* msg) { Host(h).Log(severity, msg); }};

const clap_host_thread_check kThreadCheck = {
    [](const clap_host* h) { return Host(h).Rules().OnMainThread(); },
    [](const clap_host* h) { return Host(h).Rules().OnAudioThread(); }};

const clap_host_params kParams = {
    [](const clap_host* h, uint32_t flags) { Host(h).Rescan(flags); },
    [](const clap_host* h, clap_id, uint32_t) { Host(h).RequireMainAndInitialised("params.clear"); },
    [](const clap_host* h) { Host(h).RequestFlush(); }};

const clap_host_state kState = {[](const clap_host* h) { Host(h).MarkDirty(); }};

const clap_host_latency kLatency = {[](const clap_host* h) { Host(h).LatencyChanged(); }};

// Port layouts never change at run time in the hosts we stand in for: every rescan is refused.
const clap_host_audio_ports kAudioPorts = {
    [](const clap_host* h, uint32_t) {
        Host(h).RequireMainAndInitialised("audio_ports.is_rescan_flag_supported");
        return false;
    },
    [](const clap_host* h, uint32_t) {
        Host(h).Rules().Violation("plug-in called audio_ports.rescan with a flag the host does not support");
    }};

const clap_host_note_ports kNotePorts = {
    [](const clap_host* h) -> uint32_t {
        Host(h).RequireMainAndInitialised("note_ports.supported_dialects");
        return CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI;
    },
    [](const clap_host* h, uint32_t) { Host(h).RequireMainAndInitialised("note_ports.rescan"); }};

// An embedded editor of fixed size: the host accepts no resize and has nothing to show or hide.
const clap_host_gui kGui = {
    [](const clap_host* h) { Host(h).RequireInitialised("gui.resize_hints_changed"); },
    [](const clap_host* h, uint32_t, uint32_t) {
        Host(h).RequireInitialised("gui.request_resize");
        return false;
    },
    [](const clap_host* h) {
        Host(h).RequireInitialised("gui.request_show");
        return false;
    },
    [](const clap_host* h) {
        Host(h).RequireInitialised("gui.request_hide");
        return false;
    },
    [](const clap_host* h, bool) { Host(h).RequireInitialised("gui.closed"); }};

const clap_host_timer_support kTimers = {
    [](const clap_host* h, uint32_t period, clap_id* id) { return Host(h).RegisterTimer(period, id); },
    [](const clap_host* h, clap_id id) { return Host(h).UnregisterTimer(id); }};

#ifndef _WIN32
const clap_host_posix_fd_support kFds = {
    [](const clap_host* h, int fd, uint32_t flags) { return Host(h).RegisterFd(fd, flags); },
    [](const clap_host* h, int fd, uint32_t flags) { return Host(h).ModifyFd(fd, flags); },
    [](const clap_host* h, int fd) { return Host(h).UnregisterFd(fd); }};
#endif

}  // namespace

ClapHost::ClapHost(ClapRuleBook& book) : rules(book) {
    table.abi_version = CLAP_VERSION;
    table.host_data = this;
    table.name = "vsthost";
    table.vendor = "Vesmar";
    table.url = "";
    table.version = "1.0.0";
    table.get_extension = [](const clap_host* h, const char* id) { return Host(h).Extension(id); };
    table.request_restart = [](const clap_host* h) {
        Host(h).RequireInitialised("request_restart");
        Host(h).restartRequested = true;
    };
    table.request_process = [](const clap_host* h) {
        Host(h).RequireInitialised("request_process");
        Host(h).processRequested = true;
    };
    table.request_callback = [](const clap_host* h) {
        Host(h).RequireInitialised("request_callback");
        Host(h).callbackRequested = true;
    };
}

void ClapHost::RequireInitialised(const char* call) {
    if (phase == ClapPhase::Creating)
        rules.Violation(std::string("plug-in called ") + call + " inside create_plugin");
    if (phase == ClapPhase::Created) rules.Violation(std::string("plug-in called ") + call + " before init");
    if (phase == ClapPhase::Destroyed)
        rules.Violation(std::string("plug-in called ") + call + " after destroy");
}

void ClapHost::RequireMainAndInitialised(const char* call) {
    RequireInitialised(call);
    rules.RequireMain(call);
}

const void* ClapHost::Extension(const char* id) {
    RequireInitialised("host get_extension");
    if (!id) return nullptr;
    struct Entry {
        const char* id;
        const void* table;
    };
    static const Entry kTables[] = {
        {CLAP_EXT_LOG, &kLog},
        {CLAP_EXT_THREAD_CHECK, &kThreadCheck},
        {CLAP_EXT_PARAMS, &kParams},
        {CLAP_EXT_STATE, &kState},
        {CLAP_EXT_LATENCY, &kLatency},
        {CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
        {CLAP_EXT_NOTE_PORTS, &kNotePorts},
        {CLAP_EXT_GUI, &kGui},
        {CLAP_EXT_TIMER_SUPPORT, &kTimers},
#ifndef _WIN32
        {CLAP_EXT_POSIX_FD_SUPPORT, &kFds},
#endif
    };
    for (const Entry& entry : kTables) {
        if (std::strcmp(entry.id, id) == 0) return entry.table;
    }
    return nullptr;
}

void ClapHost::Log(int32_t severity, const char* message) {
    RequireInitialised("log");
    std::lock_guard<std::mutex> guard(logLock);
    logLines.push_back(std::to_string(severity) + ": " + (message ? message : "(null)"));
}

std::vector<std::string> ClapHost::LogLines() const {
    std::lock_guard<std::mutex> guard(logLock);
    return logLines;
}

void ClapHost::Rescan(uint32_t flags) {
    RequireMainAndInitialised("params.rescan");
    if ((flags & CLAP_PARAM_RESCAN_ALL) && phase != ClapPhase::Inactive)
        rules.Violation("plug-in called params.rescan(ALL) while active");
    paramRescans.push_back(flags);
}

void ClapHost::RequestFlush() {
    RequireInitialised("params.request_flush");
    rules.RequireNotAudio("params.request_flush");
    flushRequested = true;
}

void ClapHost::MarkDirty() {
    RequireMainAndInitialised("state.mark_dirty");
    ++dirtyMarks;
}

void ClapHost::LatencyChanged() {
    RequireMainAndInitialised("latency.changed");
    if (phase != ClapPhase::Activating) rules.Violation("plug-in called latency.changed outside activate");
    ++latencyChanges;
}

bool ClapHost::RegisterTimer(uint32_t periodMs, clap_id* id) {
    RequireMainAndInitialised("timer_support.register_timer");
    if (phase == ClapPhase::Initialising) rules.Violation("plug-in registered a timer inside init");
    if (!plugin || !plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT))
        rules.Violation("plug-in registered a timer without offering on_timer");
    if (!id) {
        rules.Violation("plug-in registered a timer without a place for its id");
        return false;
    }
    *id = nextTimerId++;
    timers.push_back({*id, std::max<uint32_t>(periodMs, 10),
                      std::chrono::steady_clock::now() + std::chrono::milliseconds(periodMs)});
    return true;
}

bool ClapHost::UnregisterTimer(clap_id id) {
    RequireMainAndInitialised("timer_support.unregister_timer");
    auto it = std::find_if(timers.begin(), timers.end(), [id](const Timer& t) { return t.id == id; });
    if (it == timers.end()) {
        rules.Violation("plug-in unregistered timer " + std::to_string(id) + ", which it does not hold");
        return false;
    }
    timers.erase(it);
    return true;
}

bool ClapHost::RegisterFd(int fd, uint32_t flags) {
    RequireMainAndInitialised("posix_fd_support.register_fd");
    if (phase == ClapPhase::Initialising) rules.Violation("plug-in registered an fd inside init");
    if (!plugin || !plugin->get_extension(plugin, CLAP_EXT_POSIX_FD_SUPPORT))
        rules.Violation("plug-in registered an fd without offering on_fd");
    bool known = std::any_of(fds.begin(), fds.end(), [fd](const Fd& f) { return f.fd == fd; });
    if (known || fd < 0 || flags == 0 || (flags & ~uint32_t{7})) {
        rules.Violation("plug-in registered fd " + std::to_string(fd) + " twice, or with bad flags");
        return false;
    }
    fds.push_back({fd, flags});
    return true;
}

bool ClapHost::ModifyFd(int fd, uint32_t flags) {
    RequireMainAndInitialised("posix_fd_support.modify_fd");
    for (Fd& f : fds) {
        if (f.fd == fd) {
            f.flags = flags;
            return true;
        }
    }
    rules.Violation("plug-in modified fd " + std::to_string(fd) + ", which it did not register");
    return false;
}

bool ClapHost::UnregisterFd(int fd) {
    RequireMainAndInitialised("posix_fd_support.unregister_fd");
    auto it = std::find_if(fds.begin(), fds.end(), [fd](const Fd& f) { return f.fd == fd; });
    if (it == fds.end()) {
        rules.Violation("plug-in unregistered fd " + std::to_string(fd) + ", which it did not register");
        return false;
    }
    fds.erase(it);
    return true;
}
