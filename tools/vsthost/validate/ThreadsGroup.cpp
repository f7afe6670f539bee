// threads: the plug-in called from three threads at once, as hosts do: an audio thread processing
// blocks with MIDI, a host thread setting and reading parameters, their texts and the state, and
// (when the module has an editor that opens here) an editor thread with random input and ticks.
// Built with ThreadSanitizer, module and vsthost alike, this is the race test.
#include <atomic>
#include <chrono>
#include <thread>

#include "tools/vsthost/host/VstEventList.h"
#include "tools/vsthost/validate/EditorSession.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

std::string N(int64_t n) {
    return std::to_string(n);
}

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

void Audio(PluginInstance& instance, const std::atomic<bool>& stop, AudioOutcome& out) {
    HostedEffect& fx = instance.Effect();
    HostCallback::SetThreadProcessLevel(kVstProcessLevelRealtime);
    AudioBlock block;
    VstMidiEvent note{};
    VstEventList list;
    list.AssignRecords(&note, 1);
    const int32_t frames = instance.BlockSize();
    while (!stop.load(std::memory_order_relaxed)) {
        const int64_t at = out.blocks * frames;
        block.Resize(fx.NumInputs(), fx.NumOutputs(), frames);
        FillTestSignal(block, at, instance.SampleRate());
        instance.Host().SetTransport(static_cast<double>(at), true);
        note = VstMidiEvent{};
        note.type = kVstMidiType;
        note.byteSize = sizeof(VstMidiEvent);
        note.deltaFrames = static_cast<int32_t>(out.blocks % frames);
        note.midiData[0] = static_cast<char>(out.blocks % 2 ? 0x80 : 0x90);
        note.midiData[1] = static_cast<char>(48 + out.blocks % 24);
        note.midiData[2] = static_cast<char>(out.blocks % 2 ? 0 : 96);
        fx.ProcessEvents(list.List());
        fx.ProcessReplacing(block.In(), block.Out(), frames);
        if (!block.OutputsFinite()) ++out.nonFinite;
        ++out.blocks;
    }
    HostCallback::SetThreadProcessLevel(0);
}

void Parameters(HostedEffect& fx, SeededRandom random, const std::atomic<bool>& stop, ParameterOutcome& out) {
    const int32_t params = fx.NumParams();
    std::vector<uint8_t> chunk;
    while (!stop.load(std::memory_order_relaxed)) {
        ++out.calls;
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
    out.opened = editor.Open(fx, out.why);
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

}  // namespace

void RunConcurrent(TestContext& ctx, EditorOutcome& editor) {
    const int ms = ctx.Level().threadMilliseconds;
    TestCase t(ctx, "threads.concurrent",
               "an audio thread, a host parameter thread and, when the module's editor opens here, an editor "
               "thread call the plug-in at once for " +
                   N(ms) + " ms: no crash, no hang, finite output, parameters within [0, 1]");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    t.Calling("effMainsChanged, effStartProcess");
    fx.Resume();
    std::atomic<bool> stop{false};
    AudioOutcome audio;
    ParameterOutcome parameters;
    const bool withEditor = (fx.Flags() & effFlagsHasEditor) != 0;
    if (!withEditor) editor.why = "the module has no editor";
    t.Calling("processReplacing, effProcessEvents / set-, getParameter, effGetParamDisplay, effGetChunk" +
              std::string(withEditor ? " / effEditOpen, editor input, effEditIdle, effEditClose" : "") +
              " on three threads");
    {
        std::thread audioThread(Audio, std::ref(*instance), std::cref(stop), std::ref(audio));
        std::thread parameterThread(Parameters, std::ref(fx),
                                    SeededRandom::For(ctx.Seed(), "threads.parameters"), std::cref(stop),
                                    std::ref(parameters));
        std::thread editorThread;
        if (withEditor)
            editorThread =
                std::thread(EditorThread, std::ref(fx), SeededRandom::For(ctx.Seed(), "threads.editor"),
                            std::cref(stop), std::ref(editor));
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        stop = true;
        audioThread.join();
        parameterThread.join();
        if (editorThread.joinable()) editorThread.join();
    }
    t.Calling("after the threads: effStopProcess, effMainsChanged, effClose");
    if (audio.blocks == 0) t.Fail("the audio thread processed no block");
    if (audio.nonFinite > 0)
        t.Fail(N(audio.nonFinite) + " of " + N(audio.blocks) + " blocks came out with NaN or infinity");
    if (parameters.outOfRange > 0)
        t.Fail("getParameter " + N(parameters.badIndex) + " answered " + std::to_string(parameters.badValue) +
               " after a value in [0, 1] was set (" + N(parameters.outOfRange) + " such answers)");
    if (withEditor && editor.opened && !editor.why.empty()) t.Warn("editor input: " + editor.why);
}

void RunThreadsGroup(TestContext& ctx) {
    EditorOutcome editor;
    RunConcurrent(ctx, editor);
    if (!editor.opened)
        ctx.Skip("threads.editor",
                 "no editor thread: " +
                     (editor.why.empty() ? std::string("the test did not get that far") : editor.why));
}
