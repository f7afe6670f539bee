#include "tools/vsthost/formats/SmfWriter.h"

#include <algorithm>
#include <cmath>

#include "tools/vsthost/formats/ByteCursor.h"

namespace {

constexpr uint32_t kMicrosecondsPerQuarter = 500000;  // 120 BPM
constexpr int kMaxTicksPerQuarter = 0x7FFF;

// At 120 BPM, half the sample rate as ticks per quarter makes one tick one frame (exact for even
// rates up to 65534 Hz); faster rates get the finest resolution the header can say.
int TicksPerQuarter(double sampleRate) {
    long ticks = std::lround(sampleRate / 2);
    return static_cast<int>(std::clamp<long>(ticks, 24, kMaxTicksPerQuarter));
}

void VariableLength(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value && n < 5);
    while (n > 1) out.push_back(static_cast<uint8_t>(bytes[--n] | 0x80));
    out.push_back(bytes[0]);
}

// Data bytes a channel message carries, by its status; 0 for anything that is no channel message.
int DataBytes(uint8_t status) {
    switch (status & 0xF0) {
        case 0x80:
        case 0x90:
        case 0xA0:
        case 0xB0:
        case 0xE0:
            return 2;
        case 0xC0:
        case 0xD0:
            return 1;
        default:
            return -1;
    }
}

}  // namespace

std::vector<uint8_t> EncodeSmf(const std::vector<HostMidiMessage>& messages, double sampleRate) {
    const int ticksPerQuarter = TicksPerQuarter(sampleRate);
    const double ticksPerSecond = ticksPerQuarter * 2.0;
    std::vector<HostMidiMessage> sorted(messages);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    std::vector<uint8_t> track = {0x00,
                                  0xFF,
                                  0x51,
                                  0x03,
                                  static_cast<uint8_t>(kMicrosecondsPerQuarter >> 16),
                                  static_cast<uint8_t>(kMicrosecondsPerQuarter >> 8),
                                  static_cast<uint8_t>(kMicrosecondsPerQuarter)};
    uint64_t lastTick = 0;
    for (const HostMidiMessage& m : sorted) {
        int data = DataBytes(m.bytes[0]);
        if (data < 0) continue;  // only channel messages belong in a track as they are
        double seconds =
            sampleRate > 0 ? std::max<double>(static_cast<double>(m.frame), 0.0) / sampleRate : 0.0;
        uint64_t tick = std::max(lastTick, static_cast<uint64_t>(std::llround(seconds * ticksPerSecond)));
        VariableLength(track, static_cast<uint32_t>(std::min<uint64_t>(tick - lastTick, 0x0FFFFFFF)));
        lastTick = tick;
        track.push_back(m.bytes[0]);
        for (int i = 1; i <= data; ++i) track.push_back(static_cast<uint8_t>(m.bytes[i] & 0x7F));
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    ByteWriter out;
    out.U32(0x4D546864);  // MThd
    out.U32(6);
    out.U16(0);  // format 0
    out.U16(1);  // one track
    out.U16(static_cast<uint16_t>(ticksPerQuarter));
    out.U32(0x4D54726B);  // MTrk
    out.U32(static_cast<uint32_t>(track.size()));
    out.Bytes(track);
    return std::move(out.Data());
}
