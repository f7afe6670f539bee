// CLAP 1.2 binary interface, core part: the entry record, the factory, the plug-in and host
// tables, processing records, events and streams, declared from the published layout facts.
// The layouts are identical on x86-64 Linux and Windows (the one exception, clap_window, is in
// ClapExtensions.h). The static_asserts at the end check every size and offset on each build.
// Every table function is a plain C function that must not let a C++ exception escape. The
// records' leading clap_version member is called abi_version here: a member named after its own
// type would change the name's meaning inside the record in C++.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

typedef uint32_t clap_id;
constexpr clap_id CLAP_INVALID_ID = 0xFFFFFFFFu;

// Musical and real time as 31-bit fixed point.
typedef int64_t clap_beattime;
typedef int64_t clap_sectime;
constexpr int64_t CLAP_BEATTIME_FACTOR = int64_t{1} << 31;
constexpr int64_t CLAP_SECTIME_FACTOR = int64_t{1} << 31;

constexpr uint32_t CLAP_NAME_SIZE = 256;
constexpr uint32_t CLAP_PATH_SIZE = 1024;

// ---- version and entry ----------------------------------------------------------------------
struct clap_version {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};
// The version this code conforms to; compatible with any peer of major 1 or later.
constexpr clap_version CLAP_VERSION = {1, 2, 10};
inline bool clap_version_is_compatible(clap_version v) {
    return v.major >= 1;
}

// The module's one export, a constant data object named clap_entry (no decoration on either
// platform). Its definition needs extern "C" on the definition itself or an extern declaration
// first: a const object defined inside an extern "C" { } block gets internal linkage in C++ and
// silently drops out of the export table.
struct clap_plugin_entry {
    clap_version abi_version;
    bool (*init)(const char* plugin_path);  // counted; the first successful call does the work
    void (*deinit)(void);
    const void* (*get_factory)(const char* factory_id);
};

constexpr const char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

// ---- descriptor, plug-in, host --------------------------------------------------------------
struct clap_plugin_descriptor {
    clap_version abi_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;  // "MAJOR.MINOR.REVISION"
    const char* description;
    const char* const* features;  // NULL-terminated
};

struct clap_process;
struct clap_host;

struct clap_plugin {
    const clap_plugin_descriptor* desc;
    void* plugin_data;
    bool (*init)(const clap_plugin* plugin);
    void (*destroy)(const clap_plugin* plugin);
    bool (*activate)(const clap_plugin* plugin, double sample_rate, uint32_t min_frames, uint32_t max_frames);
    void (*deactivate)(const clap_plugin* plugin);
    bool (*start_processing)(const clap_plugin* plugin);
    void (*stop_processing)(const clap_plugin* plugin);
    void (*reset)(const clap_plugin* plugin);
    int32_t (*process)(const clap_plugin* plugin, const clap_process* process);
    const void* (*get_extension)(const clap_plugin* plugin, const char* id);
    void (*on_main_thread)(const clap_plugin* plugin);
};

struct clap_host {
    clap_version abi_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void* (*get_extension)(const clap_host* host, const char* extension_id);
    void (*request_restart)(const clap_host* host);
    void (*request_process)(const clap_host* host);
    void (*request_callback)(const clap_host* host);
};

struct clap_plugin_factory {
    uint32_t (*get_plugin_count)(const clap_plugin_factory* factory);
    const clap_plugin_descriptor* (*get_plugin_descriptor)(const clap_plugin_factory* factory,
                                                           uint32_t index);
    const clap_plugin* (*create_plugin)(const clap_plugin_factory* factory, const clap_host* host,
                                        const char* plugin_id);
};

// ---- events ---------------------------------------------------------------------------------
constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

struct clap_event_header {
    uint32_t size;  // the whole event, header included
    uint32_t time;  // frame offset in the block
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
};

constexpr uint32_t CLAP_EVENT_IS_LIVE = 0x1;
constexpr uint32_t CLAP_EVENT_DONT_RECORD = 0x2;

enum : uint16_t {
    CLAP_EVENT_NOTE_ON = 0,
    CLAP_EVENT_NOTE_OFF = 1,
    CLAP_EVENT_NOTE_CHOKE = 2,
    CLAP_EVENT_NOTE_END = 3,
    CLAP_EVENT_NOTE_EXPRESSION = 4,
    CLAP_EVENT_PARAM_VALUE = 5,
    CLAP_EVENT_PARAM_MOD = 6,
    CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
    CLAP_EVENT_PARAM_GESTURE_END = 8,
    CLAP_EVENT_TRANSPORT = 9,
    CLAP_EVENT_MIDI = 10,
    CLAP_EVENT_MIDI_SYSEX = 11,
    CLAP_EVENT_MIDI2 = 12,
};

struct clap_event_note {
    clap_event_header header;
    int32_t note_id;  // -1: none / any
    int16_t port_index;
    int16_t channel;  // 0-15, -1 any
    int16_t key;      // 0-127, -1 any
    double velocity;  // 0-1
};

struct clap_event_note_expression {
    clap_event_header header;
    int32_t expression_id;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};

struct clap_event_param_value {
    clap_event_header header;
    clap_id param_id;
    void* cookie;
    int32_t note_id;  // -1 for a global change
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;  // plain value
};

struct clap_event_param_mod {
    clap_event_header header;
    clap_id param_id;
    void* cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double amount;
};

struct clap_event_param_gesture {
    clap_event_header header;
    clap_id param_id;
};

struct clap_event_transport {
    clap_event_header header;
    uint32_t flags;
    clap_beattime song_pos_beats;
    clap_sectime song_pos_seconds;
    double tempo;
    double tempo_inc;
    clap_beattime loop_start_beats;
    clap_beattime loop_end_beats;
    clap_sectime loop_start_seconds;
    clap_sectime loop_end_seconds;
    clap_beattime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};

enum : uint32_t {
    CLAP_TRANSPORT_HAS_TEMPO = 0x1,
    CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 0x2,
    CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 0x4,
    CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 0x8,
    CLAP_TRANSPORT_IS_PLAYING = 0x10,
    CLAP_TRANSPORT_IS_RECORDING = 0x20,
    CLAP_TRANSPORT_IS_LOOP_ACTIVE = 0x40,
    CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 0x80,
};

struct clap_event_midi {
    clap_event_header header;
    uint16_t port_index;
    uint8_t data[3];
};

struct clap_event_midi_sysex {
    clap_event_header header;
    uint16_t port_index;
    const uint8_t* buffer;  // valid only during the call that hands it over
    uint32_t size;
};

struct clap_event_midi2 {
    clap_event_header header;
    uint16_t port_index;
    uint32_t data[4];
};

struct clap_input_events {
    void* ctx;
    uint32_t (*size)(const clap_input_events* list);
    const clap_event_header* (*get)(const clap_input_events* list, uint32_t index);
};

struct clap_output_events {
    void* ctx;
    bool (*try_push)(const clap_output_events* list, const clap_event_header* event);  // copies
};

// ---- processing -----------------------------------------------------------------------------
struct clap_audio_buffer {
    float** data32;
    double** data64;  // only when the port allows 64-bit and the host chose it
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;
};

struct clap_process {
    int64_t steady_time;  // -1 if unknown
    uint32_t frames_count;
    const clap_event_transport* transport;  // null when free-running
    const clap_audio_buffer* audio_inputs;
    clap_audio_buffer* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events* in_events;
    const clap_output_events* out_events;
};

enum : int32_t {
    CLAP_PROCESS_ERROR = 0,
    CLAP_PROCESS_CONTINUE = 1,
    CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
    CLAP_PROCESS_TAIL = 3,
    CLAP_PROCESS_SLEEP = 4,
};

// ---- streams --------------------------------------------------------------------------------
// Both move at most size bytes per call and are called in a loop; read returns 0 at the end,
// -1 on error.
struct clap_istream {
    void* ctx;
    int64_t (*read)(const clap_istream* stream, void* buffer, uint64_t size);
};

struct clap_ostream {
    void* ctx;
    int64_t (*write)(const clap_ostream* stream, const void* buffer, uint64_t size);
};

}  // extern "C"

// ---- layout checks (x86-64, both platforms) -------------------------------------------------
static_assert(sizeof(void*) == 8 && sizeof(bool) == 1, "the CLAP layout below is the 64-bit one");

static_assert(sizeof(clap_version) == 12);
static_assert(sizeof(clap_plugin_entry) == 40);
static_assert(offsetof(clap_plugin_entry, init) == 16);
static_assert(offsetof(clap_plugin_entry, deinit) == 24);
static_assert(offsetof(clap_plugin_entry, get_factory) == 32);

static_assert(sizeof(clap_plugin_factory) == 24);
static_assert(offsetof(clap_plugin_factory, create_plugin) == 16);

static_assert(sizeof(clap_plugin_descriptor) == 88);
static_assert(offsetof(clap_plugin_descriptor, id) == 16);
static_assert(offsetof(clap_plugin_descriptor, name) == 24);
static_assert(offsetof(clap_plugin_descriptor, vendor) == 32);
static_assert(offsetof(clap_plugin_descriptor, url) == 40);
static_assert(offsetof(clap_plugin_descriptor, manual_url) == 48);
static_assert(offsetof(clap_plugin_descriptor, support_url) == 56);
static_assert(offsetof(clap_plugin_descriptor, version) == 64);
static_assert(offsetof(clap_plugin_descriptor, description) == 72);
static_assert(offsetof(clap_plugin_descriptor, features) == 80);

static_assert(sizeof(clap_plugin) == 96);
static_assert(offsetof(clap_plugin, init) == 16);
static_assert(offsetof(clap_plugin, activate) == 32);
static_assert(offsetof(clap_plugin, process) == 72);
static_assert(offsetof(clap_plugin, get_extension) == 80);
static_assert(offsetof(clap_plugin, on_main_thread) == 88);

static_assert(sizeof(clap_host) == 88);
static_assert(offsetof(clap_host, host_data) == 16);
static_assert(offsetof(clap_host, name) == 24);
static_assert(offsetof(clap_host, vendor) == 32);
static_assert(offsetof(clap_host, url) == 40);
static_assert(offsetof(clap_host, version) == 48);
static_assert(offsetof(clap_host, get_extension) == 56);
static_assert(offsetof(clap_host, request_restart) == 64);
static_assert(offsetof(clap_host, request_process) == 72);
static_assert(offsetof(clap_host, request_callback) == 80);

static_assert(sizeof(clap_process) == 64);
static_assert(offsetof(clap_process, frames_count) == 8);
static_assert(offsetof(clap_process, transport) == 16);
static_assert(offsetof(clap_process, audio_inputs) == 24);
static_assert(offsetof(clap_process, audio_outputs) == 32);
static_assert(offsetof(clap_process, audio_inputs_count) == 40);
static_assert(offsetof(clap_process, audio_outputs_count) == 44);
static_assert(offsetof(clap_process, in_events) == 48);
static_assert(offsetof(clap_process, out_events) == 56);

static_assert(sizeof(clap_audio_buffer) == 32);
static_assert(offsetof(clap_audio_buffer, data64) == 8);
static_assert(offsetof(clap_audio_buffer, channel_count) == 16);
static_assert(offsetof(clap_audio_buffer, latency) == 20);
static_assert(offsetof(clap_audio_buffer, constant_mask) == 24);

static_assert(sizeof(clap_input_events) == 24);
static_assert(sizeof(clap_output_events) == 16);
static_assert(sizeof(clap_istream) == 16 && sizeof(clap_ostream) == 16);

static_assert(sizeof(clap_event_header) == 16 && alignof(clap_event_header) == 4);
static_assert(offsetof(clap_event_header, time) == 4);
static_assert(offsetof(clap_event_header, space_id) == 8);
static_assert(offsetof(clap_event_header, type) == 10);
static_assert(offsetof(clap_event_header, flags) == 12);

static_assert(sizeof(clap_event_note) == 40);
static_assert(offsetof(clap_event_note, note_id) == 16);
static_assert(offsetof(clap_event_note, port_index) == 20);
static_assert(offsetof(clap_event_note, channel) == 22);
static_assert(offsetof(clap_event_note, key) == 24);
static_assert(offsetof(clap_event_note, velocity) == 32);

static_assert(sizeof(clap_event_note_expression) == 40);
static_assert(offsetof(clap_event_note_expression, note_id) == 20);
static_assert(offsetof(clap_event_note_expression, key) == 28);
static_assert(offsetof(clap_event_note_expression, value) == 32);

static_assert(sizeof(clap_event_param_value) == 56);
static_assert(offsetof(clap_event_param_value, param_id) == 16);
static_assert(offsetof(clap_event_param_value, cookie) == 24);
static_assert(offsetof(clap_event_param_value, note_id) == 32);
static_assert(offsetof(clap_event_param_value, port_index) == 36);
static_assert(offsetof(clap_event_param_value, channel) == 38);
static_assert(offsetof(clap_event_param_value, key) == 40);
static_assert(offsetof(clap_event_param_value, value) == 48);
static_assert(sizeof(clap_event_param_mod) == 56);
static_assert(offsetof(clap_event_param_mod, amount) == 48);

static_assert(sizeof(clap_event_param_gesture) == 20 && alignof(clap_event_param_gesture) == 4);
static_assert(offsetof(clap_event_param_gesture, param_id) == 16);

static_assert(sizeof(clap_event_transport) == 104);
static_assert(offsetof(clap_event_transport, flags) == 16);
static_assert(offsetof(clap_event_transport, song_pos_beats) == 24);
static_assert(offsetof(clap_event_transport, song_pos_seconds) == 32);
static_assert(offsetof(clap_event_transport, tempo) == 40);
static_assert(offsetof(clap_event_transport, tempo_inc) == 48);
static_assert(offsetof(clap_event_transport, loop_start_beats) == 56);
static_assert(offsetof(clap_event_transport, loop_end_beats) == 64);
static_assert(offsetof(clap_event_transport, loop_start_seconds) == 72);
static_assert(offsetof(clap_event_transport, loop_end_seconds) == 80);
static_assert(offsetof(clap_event_transport, bar_start) == 88);
static_assert(offsetof(clap_event_transport, bar_number) == 96);
static_assert(offsetof(clap_event_transport, tsig_num) == 100);
static_assert(offsetof(clap_event_transport, tsig_denom) == 102);

static_assert(sizeof(clap_event_midi) == 24 && alignof(clap_event_midi) == 4);
static_assert(offsetof(clap_event_midi, port_index) == 16);
static_assert(offsetof(clap_event_midi, data) == 18);

static_assert(sizeof(clap_event_midi_sysex) == 40);
static_assert(offsetof(clap_event_midi_sysex, buffer) == 24);
static_assert(offsetof(clap_event_midi_sysex, size) == 32);

static_assert(sizeof(clap_event_midi2) == 36 && alignof(clap_event_midi2) == 4);
static_assert(offsetof(clap_event_midi2, data) == 20);
