// Three threads drive one instance at once, as a host's audio, control and MIDI threads do.
// Meant for the ThreadSanitizer build; elsewhere it checks that nothing crashes or deadlocks.
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "tests/abi/VesmarModule.h"

using VesmarStress = VesmarModule;

TEST_F(VesmarStress, AudioControlAndMidiThreads) {
    constexpr int kMinRounds = 400;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::atomic<bool> running{true};
    std::atomic<int> nonFinite{0};

    std::thread audio([&] {
        std::vector<float> inL(kBlockSize, 0.5f), inR(kBlockSize, -0.5f), outL(kBlockSize), outR(kBlockSize);
        std::vector<double> dL(3 * kBlockSize, 0.25), dR(3 * kBlockSize, 0.25), oL(3 * kBlockSize),
            oR(3 * kBlockSize);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        double* din[2] = {dL.data(), dR.data()};
        double* dout[2] = {oL.data(), oR.data()};
        for (int i = 0; running.load(); ++i) {
            switch (i % 3) {
                case 0:
                    e->processReplacing(e, in, out, kBlockSize);
                    break;
                case 1:
                    e->process(e, in, out, kBlockSize / 2);
                    break;
                default:
                    e->processDoubleReplacing(e, din, dout, kBlockSize * 3);
                    break;
            }
            if (!std::isfinite(outL[0]) || !std::isfinite(oR[1])) nonFinite.fetch_add(1);
            std::fill(outL.begin(), outL.end(), 0.0f);
        }
    });

    std::thread midi([&] {
        for (int i = 0; running.load(); ++i) {
            VstMidiEvent notes[] = {MidiRecord(0x90, static_cast<uint8_t>(i % 128), 100, i % kBlockSize),
                                    MidiRecord(0xB0, 1, static_cast<uint8_t>(i % 128)),
                                    MidiRecord(0x80, static_cast<uint8_t>(i % 128), 0)};
            VstEventList list;
            fx->ProcessEvents(list.AssignRecords(notes, std::size(notes)));
        }
    });

    // The control thread: parameters, programs, chunks and texts.
    std::vector<uint8_t> chunk;
    for (int i = 0; i < kMinRounds || std::chrono::steady_clock::now() < until; ++i) {
        fx->SetParameter(i % 9, static_cast<float>(i % 11) / 10.0f);
        fx->GetParameter((i + 4) % 9);
        fx->ParameterDisplay(i % 9);
        if (i % 5 == 0) fx->SetProgram(i % 10);
        if (i % 7 == 0 && fx->GetChunk(i % 2 == 0, chunk)) fx->SetChunk(i % 2 == 0, chunk);
        fx->ProgramNameIndexed(i % 10);
    }
    running.store(false);
    audio.join();
    midi.join();
    EXPECT_EQ(nonFinite.load(), 0);
    EXPECT_GT(host.ReceivedMidiCount(), 0);
}
