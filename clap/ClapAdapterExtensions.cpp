// The plug-in extension tables: static, so they exist before init (hosts have asked that early),
// each function finding its instance through the plug-in record.
#include <cstring>
#include <mutex>

#include "clap/ClapAdapter.h"

namespace {

ClapAdapter& Self(const clap_plugin* plugin) {
    return *ClapAdapter::From(plugin);
}

const clap_plugin_params kParams = {
    [](const clap_plugin* p) { return static_cast<uint32_t>(Self(p).Core().ParameterCount()); },
    [](const clap_plugin* p, uint32_t index, clap_param_info* info) {
        return info && Self(p).ParamInfo(index, *info);
    },
    [](const clap_plugin* p, clap_id id, double* value) { return value && Self(p).ParamValue(id, *value); },
    [](const clap_plugin* p, clap_id id, double value, char* out, uint32_t capacity) {
        return Self(p).ValueToText(id, value, out, capacity);
    },
    [](const clap_plugin* p, clap_id id, const char* text, double* value) {
        return value && Self(p).TextToValue(id, text, *value);
    },
    [](const clap_plugin* p, const clap_input_events* in, const clap_output_events* out) {
        Self(p).Flush(in, out);
    }};

const clap_plugin_state kState = {
    [](const clap_plugin* p, const clap_ostream* s) { return Self(p).Save(s); },
    [](const clap_plugin* p, const clap_istream* s) { return Self(p).Load(s); }};

// One main port each way, of the instance's channel count, in separate buffers (the engine reads
// both input channels to write each output), 64-bit welcome.
const clap_plugin_audio_ports kAudioPorts = {
    [](const clap_plugin*, bool) { return 1u; },
    [](const clap_plugin* p, uint32_t index, bool isInput, clap_audio_port_info* info) {
        if (index != 0 || !info) return false;
        const bool stereo = Self(p).Channels() == 2;
        std::memset(info, 0, sizeof *info);
        info->id = 0;
        std::strcpy(info->name, isInput ? "Input" : "Output");
        info->flags = CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS;
        info->channel_count = static_cast<uint32_t>(Self(p).Channels());
        info->port_type = stereo ? CLAP_PORT_STEREO : CLAP_PORT_MONO;
        info->in_place_pair = CLAP_INVALID_ID;
        return true;
    }};

// MIDI in and out: every short message comes in, and goes back out unchanged.
const clap_plugin_note_ports kNotePorts = {
    [](const clap_plugin*, bool) { return 1u; },
    [](const clap_plugin*, uint32_t index, bool isInput, clap_note_port_info* info) {
        if (index != 0 || !info) return false;
        std::memset(info, 0, sizeof *info);
        info->id = 0;
        info->supported_dialects = CLAP_NOTE_DIALECT_MIDI;
        info->preferred_dialect = CLAP_NOTE_DIALECT_MIDI;
        std::strcpy(info->name, isInput ? "MIDI In" : "MIDI Out");
        return true;
    }};

const clap_plugin_latency kLatency = {[](const clap_plugin* p) {
    std::lock_guard<std::recursive_mutex> guard(Self(p).Core().Lock());
    return static_cast<uint32_t>(std::max(Self(p).Core().Latency(), 0));
}};

const clap_plugin_gui kGui = {
    [](const clap_plugin* p, const char* api, bool floating) {
        return Self(p).Editor().IsApiSupported(api, floating);
    },
    [](const clap_plugin* p, const char** api, bool* floating) {
        if (!api || !floating) return false;
        *api = Self(p).Editor().PreferredApi();
        *floating = false;
        return true;
    },
    [](const clap_plugin* p, const char* api, bool floating) {
        return Self(p).Editor().Create(api, floating);
    },
    [](const clap_plugin* p) { Self(p).Editor().Destroy(); },
    // Physical pixels at one size: scaling is the host's to ignore.
    [](const clap_plugin*, double) { return false; },
    [](const clap_plugin* p, uint32_t* w, uint32_t* h) { return w && h && Self(p).Editor().Size(*w, *h); },
    [](const clap_plugin*) { return false; },
    [](const clap_plugin*, clap_gui_resize_hints* hints) {
        if (!hints) return false;
        *hints = {};
        return true;
    },
    [](const clap_plugin* p, uint32_t* w, uint32_t* h) { return w && h && Self(p).Editor().Size(*w, *h); },
    [](const clap_plugin* p, uint32_t w, uint32_t h) {
        uint32_t width = 0, height = 0;
        return Self(p).Editor().Size(width, height) && w == width && h == height;
    },
    [](const clap_plugin* p, const clap_window* window) { return Self(p).Editor().SetParent(window); },
    [](const clap_plugin*, const clap_window*) { return false; }, [](const clap_plugin*, const char*) {},
    [](const clap_plugin* p) { return Self(p).Editor().Show(); },
    [](const clap_plugin* p) { return Self(p).Editor().Hide(); }};

const clap_plugin_timer_support kTimer = {
    [](const clap_plugin* p, clap_id id) { Self(p).Editor().OnTimer(id); }};

const clap_plugin_posix_fd_support kFd = {
    [](const clap_plugin* p, int fd, uint32_t flags) { Self(p).Editor().OnFd(fd, flags); }};

}  // namespace

const void* ClapAdapter::Extension(const char* id) const {
    if (!id) return nullptr;
    struct Entry {
        const char* id;
        const void* table;
    };
    static const Entry kTables[] = {
        {CLAP_EXT_PARAMS, &kParams},          {CLAP_EXT_STATE, &kState},
        {CLAP_EXT_AUDIO_PORTS, &kAudioPorts}, {CLAP_EXT_NOTE_PORTS, &kNotePorts},
        {CLAP_EXT_LATENCY, &kLatency},        {CLAP_EXT_GUI, &kGui},
        {CLAP_EXT_TIMER_SUPPORT, &kTimer},    {CLAP_EXT_POSIX_FD_SUPPORT, &kFd},
    };
    for (const Entry& entry : kTables) {
        if (std::strcmp(entry.id, id) == 0) return entry.table;
    }
    return nullptr;
}
