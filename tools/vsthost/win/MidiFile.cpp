#include "tools/vsthost/MidiFile.h"

bool MidiFilesSupported() { return false; }

bool ReadMidiFile(const std::string& path, std::vector<TimedMidi>& out, std::string& error) {
  out.clear();
  error = "cannot read '" + path + "': the Windows build of vsthost reads no MIDI files; give notes with --note";
  return false;
}
