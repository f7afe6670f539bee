#include "tools/vsthost/render/EventSchedule.h"

#include <algorithm>
#include <cmath>

#include "tools/vsthost/cli/CommandLine.h"

namespace {

bool IsNoteOn(const uint8_t* bytes) {
    return (bytes[0] & 0xF0) == 0x90 && bytes[2] != 0;
}

}  // namespace

bool ParseNoteSpec(const std::string& text, NoteSpec& note, std::string& error) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    error = "invalid note '" + text + "': expected TIME_S:NOTE:VEL:DUR_S, e.g. 0.5:60:100:0.25";
    if (fields.size() != 4) return false;
    NoteSpec n;
    long noteNumber = 0, velocity = 0;
    if (!ParseDouble(fields[0], n.start) || n.start < 0 || n.start > 86400 ||
        !ParseLong(fields[1], noteNumber) || noteNumber < 0 || noteNumber > 127 ||
        !ParseLong(fields[2], velocity) || velocity < 1 || velocity > 127 ||
        !ParseDouble(fields[3], n.duration) || n.duration <= 0 || n.duration > 86400)
        return false;
    n.note = static_cast<int>(noteNumber);
    n.velocity = static_cast<int>(velocity);
    note = n;
    error.clear();
    return true;
}

std::vector<NoteSpec> DemoNotes() {
    std::vector<NoteSpec> notes;
    const int bassLine[] = {48, 48, 55, 53, 48, 51, 55, 58};
    for (int i = 0; i < 8; ++i) notes.push_back({i * 0.5, bassLine[i], i % 2 ? 80 : 110, 0.3, 0});
    for (int i = 0; i < 8; ++i) notes.push_back({4.0 + i * 0.25, i % 2 ? 60 : 48, i % 4 ? 70 : 120, 0.12, 0});
    notes.push_back({6.0, 36, 127, 1.5, 0});
    return notes;
}

std::vector<ScheduledEvent> ScheduleEvents(const std::vector<TimedMidi>& messages,
                                           const std::vector<NoteSpec>& notes, double sampleRate,
                                           int64_t totalFrames) {
    std::vector<ScheduledEvent> events;
    auto add = [&](double seconds, uint8_t b0, uint8_t b1, uint8_t b2) {
        double frame = std::floor(seconds * sampleRate + 0.5);
        if (!(frame >= 0) || frame >= static_cast<double>(totalFrames)) return;
        ScheduledEvent e;
        e.frame = static_cast<int64_t>(frame);
        e.bytes[0] = b0;
        e.bytes[1] = b1;
        e.bytes[2] = b2;
        events.push_back(e);
    };
    for (const TimedMidi& m : messages) add(m.seconds, m.bytes[0], m.bytes[1], m.bytes[2]);
    for (const NoteSpec& n : notes) {
        uint8_t channel = static_cast<uint8_t>(n.channel & 0x0F);
        add(n.start, static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(n.note),
            static_cast<uint8_t>(n.velocity));
        add(n.start + n.duration, static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(n.note), 0);
    }
    std::stable_sort(events.begin(), events.end(), [](const ScheduledEvent& a, const ScheduledEvent& b) {
        if (a.frame != b.frame) return a.frame < b.frame;
        return !IsNoteOn(a.bytes) && IsNoteOn(b.bytes);
    });
    return events;
}
