// threads: the plug-in called from three threads at once, as hosts do: an audio thread processing
// blocks with MIDI, a host thread setting and reading parameters, their texts and the state, and
// (when the module has an editor that opens here) an editor thread with random input and ticks.
// Built with ThreadSanitizer, module and vsthost alike, this is the race test. Then the audio
// thread at a host's pace, timed alone and while a host thread sets parameters at a host's pace:
// what its callbacks take longer then is waiting, for a lock the host thread's calls hold.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/validate/CallTimes.h"
#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/EditorSession.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

// The paced run: blocks the audio thread processes alone (its uncontended time), and how often
// the host thread calls. Paced, neither thread is likely to lose the CPU while it holds the
// plug-in's lock, which on a loaded machine would look like a long wait of the other.
constexpr int kAloneBlocks = 16;
constexpr auto kHostPace = std::chrono::milliseconds(1);

struct AudioOutcome {
    int64_t blocks = 0;
    int64_t nonFinite = 0;  // blocks with NaN or infinity in the output
};

struct ParameterOutcome {
    int64_t calls = 0;
    int64_t outOfRange = 0;
    int32_t badIndex = -1;
    float badValue = 0;
};

struct EditorOutcome {
    bool opened = false;
    std::string why;  // why not, or the first input the host could not perform
    int64_t steps = 0;
};

// Blocks with a note on or off each: the test signal in, effProcessEvents, processReplacing.
class AudioFeed {
  public:
    explicit AudioFeed(PluginInstance& instance) : instance(instance), fx(instance.Effect()) {
        list.AssignRecords(&note, 1);
    }

    // The next block; its two calls timed into times when given.
    void Block(AudioOutcome& out, CallTimes* times = nullptr) {
        const int64_t n = out.blocks;
        const int32_t frames = instance.BlockSize();
        block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
        FillTestSignal(block, n * frames, instance.SampleRate());
        instance.Host().SetTransport(static_cast<double>(n * frames), true);
        note = VstMidiEvent{};
        note.type = kVstMidiType;
        note.byteSize = sizeof(VstMidiEvent);
        note.deltaFrames = static_cast<int32_t>(n % frames);
        note.midiData[0] = static_cast<char>(n % 2 ? 0x80 : 0x90);
        note.midiData[1] = static_cast<char>(48 + n % 24);
        note.midiData[2] = static_cast<char>(n % 2 ? 0 : 96);
        const CallTimes::Clock::time_point start = CallTimes::Clock::now();
        fx.ProcessEvents(list.List());
        fx.ProcessReplacing(block.In(), block.Out(), frames);
        if (times) times->Since(start);
        if (!block.OutputsFinite()) ++out.nonFinite;
        ++out.blocks;
    }

  private:
    PluginInstance& instance;
    HostedEffect& fx;
    AudioBlock block;
    VstMidiEvent note{};
    VstEventList list;
};

void Audio(PluginInstance& instance, const std::atomic<bool>& stop, AudioOutcome& out) {
    HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
    AudioFeed feed(instance);
    while (!stop.load(std::memory_order_relaxed)) feed.Block(out);
    HostCallback::SetThreadProcessLevel(0);
}

// Sets, reads and shows random parameters (and takes the state now and then) until stop, a call
// every pace or, with a pace of zero, as fast as it can.
void Parameters(HostedEffect& fx, SeededRandom random, const std::atomic<bool>& stop, ParameterOutcome& out,
                std::chrono::microseconds pace) {
    const int32_t params = fx.NumParams();
    std::vector<uint8_t> chunk;
    while (!stop.load(std::memory_order_relaxed)) {
        ++out.calls;
        if (pace.count() > 0) std::this_thread::sleep_for(pace);
        if (out.calls % 64 == 0 && (fx.Flags() & effFlagsProgramChunks)) {
            fx.GetChunk(out.calls % 128 == 0, chunk);
            continue;
        }
        if (params <= 0) {
            std::this_thread::yield();
            continue;
        }
        const int32_t index = static_cast<int32_t>(random.Below(static_cast<uint64_t>(params)));
        fx.SetParameter(index, static_cast<float>(random.Unit()));
        const float value = fx.GetParameter(index);
        if (!(value >= 0.0f && value <= 1.0f) && out.outOfRange++ == 0) {
            out.badIndex = index;
            out.badValue = value;
        }
        fx.ParameterDisplay(index);
        if (out.calls % 8 == 0) fx.ParameterName(index);
    }
}

void EditorThread(HostedEffect& fx, SeededRandom random, const std::atomic<bool>& stop, EditorOutcome& out) {
    EditorSession editor;
    // An editor without a window has nothing to give input to (the editor group judges it).
    out.opened = editor.Open(fx, out.why) && editor.Shown();
    if (!out.opened) return;
    std::string step, error;
    while (!stop.load(std::memory_order_relaxed)) {
        if (!editor.RandomInput(random, step, error) && out.why.empty()) out.why = step + ": " + error;
        editor.Tick(1);
        ++out.steps;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    editor.Close();
}

// The three threads, until the time is up; the editor thread only when withEditor.
void RunThreads(TestContext& ctx, PluginInstance& instance, bool withEditor, AudioOutcome& audio,
                ParameterOutcome& parameters, EditorOutcome& editor) {
    std::atomic<bool> stop{false};
    HostedEffect& fx = instance.Effect();
    std::thread audioThread(Audio, std::ref(instance), std::cref(stop), std::ref(audio));
    std::thread parameterThread(Parameters, std::ref(fx), SeededRandom::For(ctx.Seed(), "threads.parameters"),
                                std::cref(stop), std::ref(parameters), std::chrono::microseconds(0));
    std::thread editorThread;
    if (withEditor)
        editorThread =
            std::thread(EditorThread, std::ref(fx), SeededRandom::For(ctx.Seed(), "threads.editor"),
                        std::cref(stop), std::ref(editor));
    std::this_thread::sleep_for(std::chrono::milliseconds(ctx.Level().threadMilliseconds));
    stop = true;
    audioThread.join();
    parameterThread.join();
    if (editorThread.joinable()) editorThread.join();
}

void Concurrent(TestContext& ctx, EditorOutcome& editor) {
    TestCase t(ctx, "threads.concurrent",
               "an audio thread, a host parameter thread and, when the module's editor opens here, an editor "
               "thread call the plug-in at once for " +
                   N(ctx.Level().threadMilliseconds) +
                   " ms: no crash, no hang, finite output, parameters within [0, 1]");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    t.Calling("effMainsChanged, effStartProcess");
    fx.Resume();
    AudioOutcome audio;
    ParameterOutcome parameters;
    const bool withEditor = (fx.Flags() & effFlagsHasEditor) != 0;
    if (!withEditor) editor.why = "the module has no editor";
    t.Calling("processReplacing, effProcessEvents / set-, getParameter, effGetParamDisplay, effGetChunk" +
              std::string(withEditor ? " / effEditOpen, editor input, effEditIdle, effEditClose" : "") +
              " on three threads");
    RunThreads(ctx, *instance, withEditor, audio, parameters, editor);
    t.Calling("after the threads: effStopProcess, effMainsChanged, effClose");
    if (audio.blocks == 0) t.Fail("the audio thread processed no block");
    if (audio.nonFinite > 0)
        t.Fail(N(audio.nonFinite) + " of " + N(audio.blocks) + " blocks came out with NaN or infinity");
    if (parameters.outOfRange > 0)
        t.Fail("getParameter " + N(parameters.badIndex) + " answered " + std::to_string(parameters.badValue) +
               " after a value in [0, 1] was set (" + N(parameters.outOfRange) + " such answers)");
    if (withEditor && editor.opened && !editor.why.empty()) t.Warn("editor input: " + editor.why);
}

// The audio thread processes a block each block's duration, alone first (kAloneBlocks), then
// with the host thread calling (the rest of blocks); each block's two calls timed.
void PacedRun(TestContext& ctx, PluginInstance& instance, int blocks, CallTimes& alone,
              CallTimes& contended) {
    const auto period = std::chrono::duration_cast<CallTimes::Clock::duration>(
        std::chrono::duration<double>(instance.BlockSize() / instance.SampleRate()));
    std::atomic<bool> stop{false};
    ParameterOutcome parameters;
    std::thread host;
    HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
    AudioFeed feed(instance);
    AudioOutcome audio;
    CallTimes::Clock::time_point next = CallTimes::Clock::now();
    for (int b = 0; b < blocks; ++b) {
        if (b == kAloneBlocks)
            host = std::thread(Parameters, std::ref(instance.Effect()),
                               SeededRandom::For(ctx.Seed(), "threads.lock-waits"), std::cref(stop),
                               std::ref(parameters), kHostPace);
        feed.Block(audio, b < kAloneBlocks ? &alone : &contended);
        next += period;
        std::this_thread::sleep_until(next);
    }
    HostCallback::SetThreadProcessLevel(0);
    stop = true;
    if (host.joinable()) host.join();
}

// A callback's time beyond its usual time alone is waiting, for a lock the host thread holds as a
// rule. One long wait is what the scheduler taking the CPU from either thread looks like on a
// loaded machine, so the wait a quarter of the callbacks exceed is judged, the longest reported.
void LockWaits(TestContext& ctx) {
    const double limit = TestContext::kBlockSize / TestContext::kSampleRate / 4;
    TestCase t(ctx, "threads.lock-waits",
               "at a host's pace, a quarter of the audio callbacks wait at most a quarter of the block (" +
                   Micros(limit) + " us) for a host thread setting parameters");
    const int contendedBlocks = static_cast<int>(ctx.Level().threadMilliseconds / 1e3 *
                                                 TestContext::kSampleRate / TestContext::kBlockSize);
    CallTimes alone(kAloneBlocks), contended(static_cast<size_t>(contendedBlocks));
    {
        auto instance = t.NewInstance();
        if (!instance) return;
        t.Calling("effMainsChanged, effStartProcess");
        instance->Effect().Resume();
        t.Calling(
            "processReplacing, effProcessEvents / set-, getParameter, effGetParamDisplay, effGetChunk, "
            "paced");
        PacedRun(ctx, *instance, kAloneBlocks + contendedBlocks, alone, contended);
        t.Calling("after the threads: effStopProcess, effMainsChanged, effClose");
    }
    ctx.ClearCall();
    const double usual = alone.Quantile(0.5);
    const double quarter = std::max(0.0, contended.Quantile(0.75) - usual);
    const std::string figures = "a quarter of the callbacks waited " + Micros(quarter) +
                                " us or more, the longest " + Micros(std::max(0.0, contended.Max() - usual)) +
                                " us (" + N(static_cast<int64_t>(contended.Count())) + " callbacks of " +
                                Micros(usual) + " us alone)";
    if (quarter > limit)
        t.Problem("the audio callbacks wait for the host thread: " + figures, ctx.Level().realtimeFailsFrom);
    else
        t.Note(figures);
}

}  // namespace

void RunThreadsGroup(TestContext& ctx) {
    EditorOutcome editor;
    Concurrent(ctx, editor);
    LockWaits(ctx);
    if (!editor.opened)
        ctx.Skip("threads.editor",
                 "no editor thread: " +
                     (editor.why.empty() ? std::string("the test did not get that far") : editor.why));
}
