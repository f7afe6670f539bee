#include "tools/vsthost/formats/SmfReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 BPM

struct TickEvent {
    int64_t tick;
    uint8_t bytes[3];
};

struct TempoChange {
    int64_t tick;
    uint32_t microsPerQuarter;
};

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// Reads the events of one track chunk [p, end).
class TrackParser {
  public:
    TrackParser(const uint8_t* p, const uint8_t* e, std::vector<TickEvent>& ev, std::vector<TempoChange>& t)
        : pos(p), end(e), events(ev), tempos(t) {}

    bool Parse(std::string& error) {
        int64_t tick = 0;
        uint8_t running = 0;
        while (pos < end) {
            uint32_t delta;
            if (!Quantity(delta)) return Fail(error, "a delta time runs past the end of its track");
            tick += delta;
            if (pos >= end) return Fail(error, "a track ends in the middle of an event");
            uint8_t status = *pos;
            if (status & 0x80) {
                ++pos;
            } else if (running) {
                status = running;  // running status: this byte is already data
            } else {
                return Fail(error, "a data byte appears without a status");
            }
            if (status == 0xFF) {
                running = 0;
                if (pos >= end) return Fail(error, "a meta event is cut off");
                uint8_t type = *pos++;
                uint32_t length;
                if (!Quantity(length) || length > static_cast<size_t>(end - pos))
                    return Fail(error, "a meta event is cut off");
                if (type == 0x51 && length == 3) {
                    uint32_t tempo =
                        static_cast<uint32_t>(pos[0]) << 16 | static_cast<uint32_t>(pos[1]) << 8 | pos[2];
                    if (tempo > 0) tempos.push_back({tick, tempo});
                }
                pos += length;
                if (type == 0x2F) return true;  // end of track
            } else if (status == 0xF0 || status == 0xF7) {
                running = 0;
                uint32_t length;
                if (!Quantity(length) || length > static_cast<size_t>(end - pos))
                    return Fail(error, "a SysEx event is cut off");
                pos += length;
            } else if (status >= 0xF0) {
                return Fail(error, "a system message appears inside a track");
            } else {
                running = status;
                int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                if (end - pos < dataBytes) return Fail(error, "a channel message is cut off");
                TickEvent event{tick, {status, 0, 0}};
                for (int i = 0; i < dataBytes; ++i) {
                    if (pos[i] & 0x80)
                        return Fail(error, "a channel message has a status byte among its data");
                    event.bytes[1 + i] = pos[i];
                }
                pos += dataBytes;
                events.push_back(event);
            }
        }
        return true;  // a missing end-of-track event is tolerated
    }

  private:
    // A variable-length quantity of at most four bytes.
    bool Quantity(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (pos >= end) return false;
            uint8_t b = *pos++;
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }

    static bool Fail(std::string& error, const char* what) {
        error = what;
        return false;
    }

    const uint8_t* pos;
    const uint8_t* end;
    std::vector<TickEvent>& events;
    std::vector<TempoChange>& tempos;
};

struct SmfHeader {
    uint16_t trackCount = 0;
    uint16_t division = 0;
    double smpteSecondsPerTick = 0;  // fixed for SMPTE time; 0 for PPQN, timed by the tempo map
    size_t tracksStart = 0;
};

bool ReadHeader(const uint8_t* data, size_t size, SmfHeader& h, std::string& error) {
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0 || Read32(data + 4) < 6 ||
        Read32(data + 4) > size - 8) {
        error = "no MIDI file header";
        return false;
    }
    uint16_t format = static_cast<uint16_t>(data[8] << 8 | data[9]);
    h.trackCount = static_cast<uint16_t>(data[10] << 8 | data[11]);
    h.division = static_cast<uint16_t>(data[12] << 8 | data[13]);
    h.tracksStart = 8 + Read32(data + 4);
    if (format > 1) {
        error = "MIDI file format " + std::to_string(format) + " is not supported (0 and 1 are)";
        return false;
    }
    if (h.division & 0x8000) {
        int framesPerSecond = -static_cast<int8_t>(h.division >> 8);
        int ticksPerFrame = h.division & 0xFF;
        if (framesPerSecond <= 0 || ticksPerFrame == 0) {
            error = "invalid SMPTE time division";
            return false;
        }
        h.smpteSecondsPerTick = 1.0 / (framesPerSecond * ticksPerFrame);
    } else if (h.division == 0) {
        error = "the time division is 0";
        return false;
    }
    return true;
}

// Every track's events in file order, and the tempo changes; other chunks are skipped.
bool ReadTracks(const uint8_t* data, size_t size, const SmfHeader& h, std::vector<TickEvent>& events,
                std::vector<TempoChange>& tempos, std::string& error) {
    size_t pos = h.tracksStart;
    int tracks = 0;
    while (pos + 8 <= size && tracks < h.trackCount) {
        uint32_t length = Read32(data + pos + 4);
        size_t body = pos + 8;
        if (length > size - body) {
            error = "a chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(data + pos, "MTrk", 4) == 0) {
            std::vector<TickEvent> trackEvents;
            TrackParser parser(data + body, data + body + length, trackEvents, tempos);
            if (!parser.Parse(error)) {
                error = "track " + std::to_string(tracks + 1) + ": " + error;
                return false;
            }
            events.insert(events.end(), trackEvents.begin(), trackEvents.end());
            ++tracks;
        }
        pos = body + length;
    }
    if (tracks < h.trackCount) {
        error = "the file is truncated: " + std::to_string(tracks) + " of " + std::to_string(h.trackCount) +
                " tracks";
        return false;
    }
    return true;
}

// Merges the tracks in time (track order at equal ticks) and applies the tempo map.
void TimeEvents(std::vector<TickEvent>& events, std::vector<TempoChange>& tempos, const SmfHeader& h,
                std::vector<TimedMidi>& out) {
    std::stable_sort(events.begin(), events.end(),
                     [](const TickEvent& a, const TickEvent& b) { return a.tick < b.tick; });
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    const double smpte = h.smpteSecondsPerTick;
    size_t nextTempo = 0;
    int64_t segmentTick = 0;
    double segmentSeconds = 0;
    double secondsPerTick = smpte > 0 ? smpte : kDefaultTempo * 1e-6 / h.division;
    out.reserve(events.size());
    for (const TickEvent& e : events) {
        while (smpte == 0 && nextTempo < tempos.size() && tempos[nextTempo].tick <= e.tick) {
            segmentSeconds += static_cast<double>(tempos[nextTempo].tick - segmentTick) * secondsPerTick;
            segmentTick = tempos[nextTempo].tick;
            secondsPerTick = tempos[nextTempo].microsPerQuarter * 1e-6 / h.division;
            ++nextTempo;
        }
        TimedMidi m;
        m.seconds = segmentSeconds + static_cast<double>(e.tick - segmentTick) * secondsPerTick;
        std::memcpy(m.bytes, e.bytes, 3);
        out.push_back(m);
    }
}

}  // namespace

bool ParseSmf(const uint8_t* data, size_t size, std::vector<TimedMidi>& out, std::string& error) {
    out.clear();
    SmfHeader header;
    if (!ReadHeader(data, size, header, error)) return false;
    std::vector<TickEvent> events;
    std::vector<TempoChange> tempos;
    if (!ReadTracks(data, size, header, events, tempos, error)) return false;
    TimeEvents(events, tempos, header, out);
    return true;
}
