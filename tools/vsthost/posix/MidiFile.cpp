#include "tools/vsthost/MidiFile.h"

#include <smf.h>

#include "tools/vsthost/FileBytes.h"

namespace {

constexpr size_t kMaxMidiFileBytes = size_t{64} << 20;

// libsmf reports problems through GLib's log; collect the last complaint for the error message
// instead of letting it print.
struct GlibMessages {
  std::string last;
  GLogFunc previous;
  gpointer previousData = nullptr;

  GlibMessages() { previous = g_log_set_default_handler(&GlibMessages::Collect, this); }
  ~GlibMessages() { g_log_set_default_handler(previous, previousData); }
  static void Collect(const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
    if (message) static_cast<GlibMessages*>(self)->last = message;
  }
};

}  // namespace

bool MidiFilesSupported() { return true; }

bool ReadMidiFile(const std::string& path, std::vector<TimedMidi>& out, std::string& error) {
  out.clear();
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, kMaxMidiFileBytes, bytes, error)) return false;
  GlibMessages messages;
  smf_t* smf = bytes.empty() ? nullptr : smf_load_from_memory(bytes.data(), static_cast<int>(bytes.size()));
  if (!smf) {
    error = "'" + path + "' is not a valid Standard MIDI File";
    if (!messages.last.empty()) error += " (" + messages.last + ")";
    return false;
  }
  while (smf_event_t* event = smf_get_next_event(smf)) {
    if (smf_event_is_metadata(event) || smf_event_is_sysex(event) || !event->midi_buffer) continue;
    int length = event->midi_buffer_length;
    uint8_t status = event->midi_buffer[0];
    if (length < 1 || length > 3 || status < 0x80 || status >= 0xF0 || !(event->time_seconds >= 0.0)) continue;
    TimedMidi message;
    message.seconds = event->time_seconds;
    for (int i = 0; i < length; ++i) message.bytes[i] = event->midi_buffer[i];
    out.push_back(message);
  }
  smf_delete(smf);
  return true;
}
