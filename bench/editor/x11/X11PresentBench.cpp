// Vesmar's editor in a real X11 window, as a Linux host embeds it: the built module is loaded
// through the host library, its editor opened as the child of a top-level window of our own
// connection, and two calls are timed on the wall clock (the work is split between us and the
// X server, so CPU time would miss half of it; the calling thread's own CPU time is shown beside
// it, the part the host's UI thread pays whatever the server and the scheduler do):
// - an idle call with only the pan bar dirty (audio moved the pan since the last tick, a tick is
//   due), including its present: the call returns once the bar's pixels are sent to the server;
// - a full present: the window is exposed whole (our window unmapped and mapped again) and the
//   next idle call presents the whole editor from its back buffer.
// Each beside a memcpy of the same pixels (the bar's rows, the whole editor) in the same run.
//
// Needs an X display: DISPLAY=$(scripts/xvfb.sh start DIR) vesmar_x11_present_bench [rounds, 60]
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/x11/XcbLibrary.h"
#include "tools/vsthost/host/MidiRecord.h"
#include "tools/vsthost/host/PluginModule.h"
#include "tools/vsthost/host/SilentHost.h"
#include "tools/vsthost/host/VstEventList.h"

namespace {

using Clock = std::chrono::steady_clock;

// The pan bar's rectangle in the editor (x, y, width, height) and the editor's size.
constexpr int kBarX = 112, kBarY = 227, kBarWidth = 329, kBarHeight = 10;
constexpr int kBlockFrames = 512;
// Longer than one period of the editor's 24 Hz timer: a tick is due at the next idle call.
constexpr auto kTickDue = std::chrono::milliseconds(45);

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
}

double Microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// The calling thread's CPU time in us.
double ThreadCpuMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Times one call on both clocks.
template <typename Call>
void Time(std::vector<double>& wall, std::vector<double>& cpu, Call call) {
    const double cpuStart = ThreadCpuMicroseconds();
    const Clock::time_point start = Clock::now();
    call();
    wall.push_back(Microseconds(Clock::now() - start));
    cpu.push_back(ThreadCpuMicroseconds() - cpuStart);
}

struct Figures {
    double best = 0, median = 0;
};

Figures Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2]};
}

// Sleeps most of the time, then spins: the timed call starts on a running core, not on one just
// woken from a sleep (which would time the machine's wake-up, not the editor).
void WaitWarm(Clock::duration time) {
    const Clock::time_point end = Clock::now() + time;
    std::this_thread::sleep_until(end - std::chrono::milliseconds(3));
    while (Clock::now() < end) {
    }
}

// A memcpy of rows x rowBytes from a buffer rows span bytes apart, in us: the fastest of many.
double CopyMicroseconds(size_t rows, size_t rowBytes, size_t span) {
    std::vector<uint8_t> from(rows * span, 0x5A), to(rows * span);
    double best = 1e9;
    for (int round = 0; round < 200; ++round) {
        const Clock::time_point start = Clock::now();
        for (size_t r = 0; r < rows; ++r) std::memcpy(to.data() + r * span, from.data() + r * span, rowBytes);
        asm volatile("" : : "r"(to.data()) : "memory");
        best = std::min(best, Microseconds(Clock::now() - start));
    }
    return best;
}

// Our side of the server: a connection and a top-level window to embed the editor in.
class HostWindow {
  public:
    bool Open(int width, int height) {
        xcb = XcbLibrary::Get();
        if (!xcb) return false;
        int screenNumber = 0;
        connection = xcb->connect(nullptr, &screenNumber);
        if (!connection || xcb->connection_has_error(connection)) return false;
        xcb_screen_iterator_t it = xcb->setup_roots_iterator(xcb->get_setup(connection));
        for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb->screen_next(&it);
        if (it.rem <= 0) return false;
        window = xcb->generate_id(connection);
        const uint32_t values[] = {it.data->black_pixel};
        xcb->create_window(connection, XCB_COPY_FROM_PARENT, window, it.data->root, 0, 0,
                           static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                           XCB_WINDOW_CLASS_INPUT_OUTPUT, it.data->root_visual, XCB_CW_BACK_PIXEL, values);
        xcb->map_window(connection, window);
        return Sync();
    }
    ~HostWindow() {
        if (connection) xcb->disconnect(connection);
    }
    bool Sync() {
        xcb_get_input_focus_reply_t* reply =
            xcb->get_input_focus_reply(connection, xcb->get_input_focus(connection), nullptr);
        std::free(reply);
        return reply != nullptr;
    }
    // Hidden and shown again: the server exposes the editor inside whole.
    void Expose() {
        xcb->unmap_window(connection, window);
        xcb->map_window(connection, window);
        Sync();
    }
    uint32_t Window() const { return window; }

  private:
    const XcbLibrary* xcb = nullptr;
    xcb_connection_t* connection = nullptr;
    uint32_t window = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 60;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "needs an X display: DISPLAY=$(scripts/xvfb.sh start DIR) %s\n", argv[0]);
        return 1;
    }
    PluginModule module;
    std::string error;
    if (!module.Load(VESMAR_PLUGIN_PATH, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    AEffect* effect = module.CreateEffect(&SilentHostCallback, error);
    if (!effect) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    Dispatch(effect, effOpen);
    Dispatch(effect, effSetBlockSize, 0, kBlockFrames);
    Dispatch(effect, effMainsChanged, 0, 1);
    ERect* rect = nullptr;
    Dispatch(effect, effEditGetRect, 0, 0, &rect);
    if (!rect) return 1;
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    HostWindow host;
    if (!host.Open(width, height)) {
        std::fprintf(stderr, "cannot open a window on the X display\n");
        return 1;
    }
    if (Dispatch(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(host.Window()))) ==
        0) {
        std::fprintf(stderr, "the plug-in opened no editor in the X11 window\n");
        return 1;
    }
    for (int i = 0; i < 10; ++i) {
        Dispatch(effect, effEditIdle);
        std::this_thread::sleep_for(kTickDue);
    }

    // Idle with the pan bar: a note and two blocks of audio move the pan between the calls.
    std::vector<float> left(kBlockFrames, 0.25f), right(kBlockFrames, 0.25f), outL(kBlockFrames),
        outR(kBlockFrames);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outL.data(), outR.data()};
    VstEventList events;
    std::vector<double> idle, idleCpu;
    for (int i = 0; i < rounds; ++i) {
        VstMidiEvent note = MidiRecord(0x90, 60, 100);
        Dispatch(effect, effProcessEvents, 0, 0, events.AssignRecords(&note, 1));
        for (int b = 0; b < 2; ++b) effect->processReplacing(effect, inputs, outputs, kBlockFrames);
        WaitWarm(kTickDue);
        Time(idle, idleCpu, [&] { Dispatch(effect, effEditIdle); });
    }
    // The pan comes to rest before the full presents, so that they present nothing else.
    for (int i = 0; i < 40; ++i) {
        effect->processReplacing(effect, inputs, outputs, kBlockFrames);
        Dispatch(effect, effEditIdle);
        std::this_thread::sleep_for(kTickDue);
    }
    // The floor: an idle call with no tick due and no event waiting.
    std::vector<double> empty, emptyCpu;
    for (int i = 0; i < rounds; ++i) {
        Dispatch(effect, effEditIdle);
        WaitWarm(std::chrono::milliseconds(4));
        Time(empty, emptyCpu, [&] { Dispatch(effect, effEditIdle); });
        std::this_thread::sleep_for(kTickDue);
    }
    std::vector<double> full, fullCpu;
    for (int i = 0; i < rounds; ++i) {
        host.Expose();
        WaitWarm(std::chrono::milliseconds(5));
        Time(full, fullCpu, [&] { Dispatch(effect, effEditIdle); });
    }
    Dispatch(effect, effEditClose);
    Dispatch(effect, effMainsChanged, 0, 0);
    Dispatch(effect, effClose);

    const size_t span = static_cast<size_t>(width) * 4;
    const double barCopy = CopyMicroseconds(kBarHeight, kBarWidth * 4, span);
    const double fullCopy = CopyMicroseconds(static_cast<size_t>(height), span, span);
    const Figures a = Summarise(idle), b = Summarise(full), c = Summarise(empty);
    const Figures aCpu = Summarise(idleCpu), bCpu = Summarise(fullCpu), cCpu = Summarise(emptyCpu);
    std::printf(
        "Vesmar's editor in an X11 window (%d x %d), %d rounds; wall clock, and the thread's CPU time\n",
        width, height, rounds);
    std::printf("%-44s %9s %9s %10s %12s %8s\n", "case", "best us", "median us", "cpu med us", "memcpy us",
                "ratio");
    std::printf("%-44s %9.1f %9.1f %10.1f %12.2f %8.1f\n", "idle, only the pan bar dirty, with its present",
                a.best, a.median, aCpu.median, barCopy, a.median / barCopy);
    std::printf("%-44s %9.1f %9.1f %10.1f %12.2f %8.1f\n", "full present (whole editor exposed)", b.best,
                b.median, bCpu.median, fullCopy, b.median / fullCopy);
    std::printf("%-44s %9.1f %9.1f %10.1f\n", "idle, nothing due (the floor)", c.best, c.median, cCpu.median);
    return 0;
}
