// CLAP 1.2 extensions used between Vesmar and its test host: parameters, state, audio and note
// ports, editor, timer and file-descriptor support, latency, log and thread check. Ids are the
// exact strings asked through get_extension; sizes and offsets are checked at the end.
#pragma once

#include "abi/ClapAbi.h"

extern "C" {

constexpr const char CLAP_EXT_PARAMS[] = "clap.params";
constexpr const char CLAP_EXT_STATE[] = "clap.state";
constexpr const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
constexpr const char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";
constexpr const char CLAP_EXT_GUI[] = "clap.gui";
constexpr const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";
constexpr const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";
constexpr const char CLAP_EXT_LATENCY[] = "clap.latency";
constexpr const char CLAP_EXT_LOG[] = "clap.log";
constexpr const char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";

// ---- params ---------------------------------------------------------------------------------
enum : uint32_t {
    CLAP_PARAM_IS_STEPPED = 0x1,
    CLAP_PARAM_IS_PERIODIC = 0x2,
    CLAP_PARAM_IS_HIDDEN = 0x4,
    CLAP_PARAM_IS_READONLY = 0x8,
    CLAP_PARAM_IS_BYPASS = 0x10,
    CLAP_PARAM_IS_AUTOMATABLE = 0x20,
    CLAP_PARAM_IS_MODULATABLE = 0x400,
    CLAP_PARAM_REQUIRES_PROCESS = 0x8000,
    CLAP_PARAM_IS_ENUM = 0x10000,
};

struct clap_param_info {
    clap_id id;
    uint32_t flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double min_value;  // plain values
    double max_value;
    double default_value;
};

struct clap_plugin_params {
    uint32_t (*count)(const clap_plugin* plugin);
    bool (*get_info)(const clap_plugin* plugin, uint32_t param_index, clap_param_info* param_info);
    bool (*get_value)(const clap_plugin* plugin, clap_id param_id, double* out_value);
    bool (*value_to_text)(const clap_plugin* plugin, clap_id param_id, double value, char* out_buffer,
                          uint32_t out_buffer_capacity);
    bool (*text_to_value)(const clap_plugin* plugin, clap_id param_id, const char* param_value_text,
                          double* out_value);
    // Audio thread while active, else main; never concurrent with process.
    void (*flush)(const clap_plugin* plugin, const clap_input_events* in, const clap_output_events* out);
};

enum : uint32_t {
    CLAP_PARAM_RESCAN_VALUES = 0x1,
    CLAP_PARAM_RESCAN_TEXT = 0x2,
    CLAP_PARAM_RESCAN_INFO = 0x4,
    CLAP_PARAM_RESCAN_ALL = 0x8,  // only while inactive
};
enum : uint32_t {
    CLAP_PARAM_CLEAR_ALL = 0x1,
    CLAP_PARAM_CLEAR_AUTOMATIONS = 0x2,
    CLAP_PARAM_CLEAR_MODULATIONS = 0x4,
};

struct clap_host_params {
    void (*rescan)(const clap_host* host, uint32_t flags);                   // main
    void (*clear)(const clap_host* host, clap_id param_id, uint32_t flags);  // main
    void (*request_flush)(const clap_host* host);                            // any but audio
};

// ---- state ----------------------------------------------------------------------------------
struct clap_plugin_state {
    bool (*save)(const clap_plugin* plugin, const clap_ostream* stream);
    bool (*load)(const clap_plugin* plugin, const clap_istream* stream);
};

struct clap_host_state {
    void (*mark_dirty)(const clap_host* host);
};

// ---- audio ports ----------------------------------------------------------------------------
enum : uint32_t {
    CLAP_AUDIO_PORT_IS_MAIN = 0x1,
    CLAP_AUDIO_PORT_SUPPORTS_64BITS = 0x2,
    CLAP_AUDIO_PORT_PREFERS_64BITS = 0x4,
    CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 0x8,
};

constexpr const char CLAP_PORT_MONO[] = "mono";
constexpr const char CLAP_PORT_STEREO[] = "stereo";

struct clap_audio_port_info {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type;
    clap_id in_place_pair;
};

struct clap_plugin_audio_ports {
    uint32_t (*count)(const clap_plugin* plugin, bool is_input);
    bool (*get)(const clap_plugin* plugin, uint32_t index, bool is_input, clap_audio_port_info* info);
};

struct clap_host_audio_ports {
    bool (*is_rescan_flag_supported)(const clap_host* host, uint32_t flag);
    void (*rescan)(const clap_host* host, uint32_t flags);
};

// ---- note ports -----------------------------------------------------------------------------
enum : uint32_t {
    CLAP_NOTE_DIALECT_CLAP = 0x1,
    CLAP_NOTE_DIALECT_MIDI = 0x2,
    CLAP_NOTE_DIALECT_MIDI_MPE = 0x4,
    CLAP_NOTE_DIALECT_MIDI2 = 0x8,
};

struct clap_note_port_info {
    clap_id id;
    uint32_t supported_dialects;
    uint32_t preferred_dialect;
    char name[CLAP_NAME_SIZE];
};

struct clap_plugin_note_ports {
    uint32_t (*count)(const clap_plugin* plugin, bool is_input);
    bool (*get)(const clap_plugin* plugin, uint32_t index, bool is_input, clap_note_port_info* info);
};

enum : uint32_t {
    CLAP_NOTE_PORTS_RESCAN_ALL = 0x1,
    CLAP_NOTE_PORTS_RESCAN_NAMES = 0x2,
};

struct clap_host_note_ports {
    uint32_t (*supported_dialects)(const clap_host* host);
    void (*rescan)(const clap_host* host, uint32_t flags);
};

// ---- gui ------------------------------------------------------------------------------------
constexpr const char CLAP_WINDOW_API_WIN32[] = "win32";
constexpr const char CLAP_WINDOW_API_X11[] = "x11";

// The x11 member is an unsigned long: 8 bytes on Linux, 4 on Windows. The pointers in the union
// keep the record at 16 bytes on both.
struct clap_window {
    const char* api;
    union {
        void* cocoa;
        unsigned long x11;
        void* win32;
        void* ptr;
    };
};

struct clap_gui_resize_hints {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};

struct clap_plugin_gui {
    bool (*is_api_supported)(const clap_plugin* plugin, const char* api, bool is_floating);
    bool (*get_preferred_api)(const clap_plugin* plugin, const char** api, bool* is_floating);
    bool (*create)(const clap_plugin* plugin, const char* api, bool is_floating);
    void (*destroy)(const clap_plugin* plugin);
    bool (*set_scale)(const clap_plugin* plugin, double scale);
    bool (*get_size)(const clap_plugin* plugin, uint32_t* width, uint32_t* height);
    bool (*can_resize)(const clap_plugin* plugin);
    bool (*get_resize_hints)(const clap_plugin* plugin, clap_gui_resize_hints* hints);
    bool (*adjust_size)(const clap_plugin* plugin, uint32_t* width, uint32_t* height);
    bool (*set_size)(const clap_plugin* plugin, uint32_t width, uint32_t height);
    bool (*set_parent)(const clap_plugin* plugin, const clap_window* window);
    bool (*set_transient)(const clap_plugin* plugin, const clap_window* window);
    void (*suggest_title)(const clap_plugin* plugin, const char* title);
    bool (*show)(const clap_plugin* plugin);
    bool (*hide)(const clap_plugin* plugin);
};

struct clap_host_gui {
    void (*resize_hints_changed)(const clap_host* host);
    bool (*request_resize)(const clap_host* host, uint32_t width, uint32_t height);
    bool (*request_show)(const clap_host* host);
    bool (*request_hide)(const clap_host* host);
    void (*closed)(const clap_host* host, bool was_destroyed);
};

// ---- timer and file-descriptor support (the host's main loop drives them) -------------------
struct clap_plugin_timer_support {
    void (*on_timer)(const clap_plugin* plugin, clap_id timer_id);
};

struct clap_host_timer_support {
    bool (*register_timer)(const clap_host* host, uint32_t period_ms, clap_id* timer_id);
    bool (*unregister_timer)(const clap_host* host, clap_id timer_id);
};

enum : uint32_t {
    CLAP_POSIX_FD_READ = 0x1,
    CLAP_POSIX_FD_WRITE = 0x2,
    CLAP_POSIX_FD_ERROR = 0x4,
};

struct clap_plugin_posix_fd_support {
    void (*on_fd)(const clap_plugin* plugin, int fd, uint32_t flags);
};

struct clap_host_posix_fd_support {
    bool (*register_fd)(const clap_host* host, int fd, uint32_t flags);
    bool (*modify_fd)(const clap_host* host, int fd, uint32_t flags);
    bool (*unregister_fd)(const clap_host* host, int fd);
};

// ---- latency, log, thread check -------------------------------------------------------------
struct clap_plugin_latency {
    uint32_t (*get)(const clap_plugin* plugin);
};

struct clap_host_latency {
    void (*changed)(const clap_host* host);  // main, only inside activate
};

enum : int32_t {
    CLAP_LOG_DEBUG = 0,
    CLAP_LOG_INFO = 1,
    CLAP_LOG_WARNING = 2,
    CLAP_LOG_ERROR = 3,
    CLAP_LOG_FATAL = 4,
    CLAP_LOG_HOST_MISBEHAVING = 5,
    CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

struct clap_host_log {
    void (*log)(const clap_host* host, int32_t severity, const char* msg);
};

struct clap_host_thread_check {
    bool (*is_main_thread)(const clap_host* host);
    bool (*is_audio_thread)(const clap_host* host);
};

}  // extern "C"

// ---- layout checks (x86-64, both platforms) -------------------------------------------------
static_assert(sizeof(clap_param_info) == 1320);
static_assert(offsetof(clap_param_info, flags) == 4);
static_assert(offsetof(clap_param_info, cookie) == 8);
static_assert(offsetof(clap_param_info, name) == 16);
static_assert(offsetof(clap_param_info, module) == 272);
static_assert(offsetof(clap_param_info, min_value) == 1296);
static_assert(offsetof(clap_param_info, max_value) == 1304);
static_assert(offsetof(clap_param_info, default_value) == 1312);
static_assert(sizeof(clap_plugin_params) == 48);
static_assert(offsetof(clap_plugin_params, flush) == 40);
static_assert(sizeof(clap_host_params) == 24);

static_assert(sizeof(clap_plugin_state) == 16 && sizeof(clap_host_state) == 8);

static_assert(sizeof(clap_audio_port_info) == 288);
static_assert(offsetof(clap_audio_port_info, name) == 4);
static_assert(offsetof(clap_audio_port_info, flags) == 260);
static_assert(offsetof(clap_audio_port_info, channel_count) == 264);
static_assert(offsetof(clap_audio_port_info, port_type) == 272);
static_assert(offsetof(clap_audio_port_info, in_place_pair) == 280);
static_assert(sizeof(clap_plugin_audio_ports) == 16 && sizeof(clap_host_audio_ports) == 16);

static_assert(sizeof(clap_note_port_info) == 268 && alignof(clap_note_port_info) == 4);
static_assert(offsetof(clap_note_port_info, supported_dialects) == 4);
static_assert(offsetof(clap_note_port_info, preferred_dialect) == 8);
static_assert(offsetof(clap_note_port_info, name) == 12);
static_assert(sizeof(clap_plugin_note_ports) == 16 && sizeof(clap_host_note_ports) == 16);

static_assert(sizeof(clap_window) == 16);
static_assert(offsetof(clap_window, x11) == 8 && offsetof(clap_window, win32) == 8);
#ifdef _WIN32
static_assert(sizeof(clap_window::x11) == 4, "LLP64: unsigned long is 4 bytes");
#else
static_assert(sizeof(clap_window::x11) == 8, "LP64: unsigned long is 8 bytes");
#endif
static_assert(sizeof(clap_gui_resize_hints) == 12);
static_assert(offsetof(clap_gui_resize_hints, preserve_aspect_ratio) == 2);
static_assert(offsetof(clap_gui_resize_hints, aspect_ratio_width) == 4);
static_assert(offsetof(clap_gui_resize_hints, aspect_ratio_height) == 8);
static_assert(sizeof(clap_plugin_gui) == 120);
static_assert(offsetof(clap_plugin_gui, set_scale) == 32);
static_assert(offsetof(clap_plugin_gui, set_parent) == 80);
static_assert(offsetof(clap_plugin_gui, show) == 104);
static_assert(offsetof(clap_plugin_gui, hide) == 112);
static_assert(sizeof(clap_host_gui) == 40);

static_assert(sizeof(clap_plugin_timer_support) == 8 && sizeof(clap_host_timer_support) == 16);
static_assert(sizeof(clap_plugin_posix_fd_support) == 8 && sizeof(clap_host_posix_fd_support) == 24);
static_assert(sizeof(clap_plugin_latency) == 8 && sizeof(clap_host_latency) == 8);
static_assert(sizeof(clap_host_log) == 8 && sizeof(clap_host_thread_check) == 16);
