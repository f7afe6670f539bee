// MIDI for an offline render: notes given on the command line, messages from a MIDI file, and
// the built-in demo pattern, turned into one list ordered by sample frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vsthost/formats/MidiFile.h"

struct NoteSpec {
    double start = 0.0;     // seconds
    int note = 60;          // 0..127
    int velocity = 100;     // 1..127
    double duration = 0.5;  // seconds
    int channel = 0;        // 0..15
};

struct ScheduledEvent {
    int64_t frame = 0;
    uint8_t bytes[3] = {};
};

// Parses TIME_S:NOTE:VEL:DUR_S (e.g. 0.5:60:100:0.25).
bool ParseNoteSpec(const std::string& text, NoteSpec& note, std::string& error);

// Four bars at 120 BPM over 8 seconds: quarter notes, then eighths, then one long held note.
std::vector<NoteSpec> DemoNotes();

// Every message at frame round(seconds * rate); messages at or after totalFrames are dropped.
// At equal frames a note-on comes after the other messages, so a repeated note is released
// before it starts again.
std::vector<ScheduledEvent> ScheduleEvents(const std::vector<TimedMidi>& messages,
                                           const std::vector<NoteSpec>& notes, double sampleRate,
                                           int64_t totalFrames);
