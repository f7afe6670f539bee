// vsthost editor: opens a plug-in's editor, performs a script of user input on it, reports the
// host notifications that input caused and saves what the editor shows as a PNG.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/vsthost/Commands.h"
#include "tools/vsthost/editor/EditorHost.h"
#include "tools/vsthost/editor/LiveAudio.h"
#include "tools/vsthost/formats/AudioFile.h"
#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/render/StartState.h"
#include "tools/vsthost/render/TestSignal.h"
#include "tools/vsthost/system/Platform.h"

namespace {

constexpr size_t kMaxScriptBytes = 1 << 20;
constexpr long kMaxTicks = 100000;
// Largest editor a host window is made for; a larger answer is a broken rectangle.
constexpr int kMaxEditorSide = 8192;
// The rate and block size the plug-in is opened at, and its audio thread runs at with --audio.
constexpr double kSampleRate = 44100.0;
constexpr int32_t kBlockSize = 512;
// The test signal that stands in for a missing -i lasts the demo's 8 s, or as long as the --midi
// file's messages (and a second after the last), up to a bound a hostile file cannot exceed.
constexpr double kDemoSeconds = 8.0;
constexpr double kMaxSignalSeconds = 600.0;

struct EditorOptions {
    std::string module, output, script, input, midiFile;
    StartState state;
    long ticks = 2;
    bool force = false;
    bool audio = false;
    bool offscreen = false;
};

// --do, --script and --ticks: the steps and the ticks before them.
std::vector<Option> ScriptOptions(EditorOptions& o) {
    auto addSteps = [&o](const std::string& v) {
        o.script += v + "\n";
        return kExitOk;
    };
    auto readSteps = [&o](const std::string& v) {
        std::vector<uint8_t> bytes;
        std::string error;
        if (!ReadFileBytes(v, kMaxScriptBytes, bytes, error)) return Fail(error, kExitInput);
        o.script += std::string(bytes.begin(), bytes.end()) + "\n";
        return kExitOk;
    };
    return {{"--do", nullptr, "STEPS", "editor steps, e.g. --do 'rclick 60 30; type 50; enter'", addSteps},
            {"--script", nullptr, "FILE", "editor steps from a file (both may be repeated)", readSteps},
            Checked("--ticks", "N", "timer ticks before the script (default 2)", "tick count", "",
                    [&o](const std::string& v) {
                        return ParseLong(v, o.ticks) && o.ticks >= 0 && o.ticks <= kMaxTicks;
                    })};
}

OptionTable EditorTable(EditorOptions& o) {
    OptionTable table{"editor", 21, ScriptOptions(o)};
    std::vector<Option> state = StartStateOptions(o.state);
    for (Option& option : state) option.help = nullptr;
    state[0].label = "--program N, --chunk FILE [--bank], --param NAME=V";
    state[0].help = "state to load first, as for render";
    table.options.insert(table.options.end(),
                         {Flag("--offscreen",
                               "no window: drive our plug-ins' Linux editor through its back buffer,\n"
                               "as without an X display (DISPLAY unset)",
                               o.offscreen),
                          Flag("--audio",
                               "while the editor is open, play the built-in demo (test signal and\n"
                               "note pattern, looped) through the plug-in on an audio thread in\n"
                               "real time; see the script's wait and shot steps",
                               o.audio),
                          {.name = "-i",
                           .alias = "--input",
                           .value = "FILE",
                           .help = "with --audio: loop this audio file (at its own rate) in place of\n"
                                   "the test signal, this MIDI file in place of the demo's notes",
                           .apply = Store(o.input),
                           .label = "-i FILE, --midi FILE"},
                          Text("--midi", "FILE", nullptr, o.midiFile)});
    table.options.insert(table.options.end(), state.begin(), state.end());
    table.options.insert(table.options.end(), {{.name = "-o",
                                                .alias = "--output",
                                                .value = "OUT.png",
                                                .help = "the picture (--force overwrites)",
                                                .apply = Store(o.output)},
                                               Flag("--force", nullptr, o.force)});
    return table;
}

int ParseEditorOptions(ArgReader& args, EditorOptions& o) {
    int code = ParseOptions(args, EditorTable(o), [&o](const std::string& arg) {
        if (!o.module.empty()) return UsageError("editor takes one module, not '" + arg + "' as well");
        o.module = arg;
        return kExitOk;
    });
    if (code != kExitOk) return code;
    if (o.module.empty()) return UsageError("editor needs a MODULE");
    if (o.state.bank && o.state.chunkFile.empty()) return UsageError("--bank goes with --chunk FILE");
    if (!o.audio && (!o.input.empty() || !o.midiFile.empty()))
        return UsageError("-i and --midi go with --audio");
    return kExitOk;
}

std::string EditorHelp() {
    EditorOptions unused;
    return OptionHelp(EditorTable(unused)) + EDITOR_SCRIPT_HELP;
}

// What --audio loops: the -i file (at its own rate) or the test signal, with the --midi file's
// messages or the demo's notes.
struct Loop {
    double sampleRate = kSampleRate;
    AudioData input;
    std::vector<ScheduledEvent> events;
};

int LoadLoop(const EditorOptions& o, Loop& loop) {
    std::string error;
    if (!o.input.empty()) {
        if (!ReadAudioFile(o.input, loop.input, error)) return Fail(error, kExitInput);
        if (loop.input.Frames() == 0) return Fail("'" + o.input + "' holds no audio to play", kExitInput);
        if (loop.input.truncated)
            Warn("'" + o.input + "' is truncated: it holds fewer frames than its header says; " +
                 std::to_string(loop.input.Frames()) + " read");
        loop.sampleRate = loop.input.sampleRate;
    }
    std::vector<TimedMidi> midi;
    if (!o.midiFile.empty() && !ReadMidiFile(o.midiFile, midi, error)) return Fail(error, kExitInput);
    if (o.input.empty()) {
        double seconds = kDemoSeconds;
        for (const TimedMidi& m : midi) seconds = std::max(seconds, std::ceil(m.seconds) + 1.0);
        seconds = std::min(seconds, kMaxSignalSeconds);
        loop.input = MakeTestSignal(static_cast<int32_t>(loop.sampleRate),
                                    static_cast<size_t>(seconds * loop.sampleRate));
    }
    const auto frames = static_cast<int64_t>(loop.input.Frames());
    loop.events = ScheduleEvents(midi, o.midiFile.empty() ? DemoNotes() : std::vector<NoteSpec>{},
                                 loop.sampleRate, frames);
    if (loop.events.size() < midi.size())
        Warn(std::to_string(midi.size() - loop.events.size()) +
             " MIDI messages lie past the end of the loop and are not played");
    return kExitOk;
}

std::string LoopDescription(const EditorOptions& o) {
    if (o.input.empty() && o.midiFile.empty()) return "the built-in demo";
    return (o.input.empty() ? std::string("the test signal") : "'" + o.input + "'") + " with " +
           (o.midiFile.empty() ? std::string("the demo's notes") : "'" + o.midiFile + "'");
}

// The editor's size from effEditGetRect; false when the plug-in has none or a broken one.
bool EditorSize(HostedEffect& fx, int& width, int& height, std::string& error) {
    ERect* rect = nullptr;
    if ((fx.Flags() & effFlagsHasEditor) == 0 || fx.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) {
        error = "the plug-in has no editor";
        return false;
    }
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0 || width > kMaxEditorSide || height > kMaxEditorSide) {
        error = "the plug-in's editor rectangle is unusable (" + std::to_string(width) + " x " +
                std::to_string(height) + ")";
        return false;
    }
    return true;
}

// Prints, in the order the plug-in sent them, the notifications that arrived after `seen`.
class NotificationReport {
  public:
    explicit NotificationReport(HostedEffect& fx) : fx(fx) {}

    void PrintNew(const char* indent) {
        struct Line {
            uint64_t sequence;
            std::string text;
        };
        std::vector<Line> lines;
        for (const HostAutomation& a : fx.Host().Automations()) {
            if (a.sequence <= seen) continue;
            char text[96];
            std::snprintf(text, sizeof text, "automate   %3d %.6f", a.index, a.value);
            lines.push_back({a.sequence, text});
            ++automations;
        }
        for (const HostEditGesture& g : fx.Host().EditGestures()) {
            if (g.sequence <= seen) continue;
            char text[96];
            std::snprintf(text, sizeof text, "%s %3d", g.begin ? "begin edit" : "end edit  ", g.index);
            lines.push_back({g.sequence, text});
            ++(g.begin ? begins : ends);
        }
        std::sort(lines.begin(), lines.end(),
                  [](const Line& a, const Line& b) { return a.sequence < b.sequence; });
        for (const Line& line : lines) {
            std::printf("%s%s\n", indent, line.text.c_str());
            seen = line.sequence;
        }
    }
    void PrintTotals() const {
        std::printf("Host notifications: %d automate, %d begin edit, %d end edit\n", automations, begins,
                    ends);
    }

  private:
    HostedEffect& fx;
    uint64_t seen = 0;
    int automations = 0, begins = 0, ends = 0;
};

// The files the command writes (-o and every shot step) may be written: new, or --force.
int CheckPictureFiles(const EditorOptions& o, const std::vector<EditorStep>& steps) {
    std::vector<std::string> files;
    if (!o.output.empty()) files.push_back(o.output);
    for (const EditorStep& step : steps)
        if (step.kind == EditorStep::Kind::Shot) files.push_back(step.text);
    for (const std::string& file : files)
        if (!o.force && PathExists(file))
            return Fail("'" + file + "' exists; use --force to overwrite it", kExitInput);
    return kExitOk;
}

bool SavePicture(EditorHost& host, const std::string& file, std::string& error) {
    Screenshot shot;
    if (!host.Capture(shot, error) || !WritePng(file, shot, error)) return false;
    std::printf("    wrote %s (%d x %d)\n", file.c_str(), shot.width, shot.height);
    return true;
}

}  // namespace

namespace {

// Starts the --audio loop on its own thread; null (the reason printed, code set) when it cannot.
std::unique_ptr<LiveAudio> StartAudio(const EditorOptions& o, HostedEffect& fx, Loop& loop, int& code) {
    const std::string what = LoopDescription(o);
    auto audio = std::make_unique<LiveAudio>(fx, loop.sampleRate, kBlockSize, std::move(loop.input),
                                             std::move(loop.events));
    if (!audio->Start()) {
        code = Fail("cannot start an audio thread", kExitPlugin);
        return nullptr;
    }
    std::printf("Audio:           %s, looped, at %.0f Hz in blocks of %d, on an audio thread in real time\n",
                what.c_str(), loop.sampleRate, kBlockSize);
    return audio;
}

void StopAudio(LiveAudio& audio, HostedEffect& fx) {
    audio.Stop();
    std::printf("Audio: %lld blocks processed, %lld MIDI messages returned (%lld MIDI events delivered)\n",
                static_cast<long long>(audio.BlocksProcessed()),
                static_cast<long long>(fx.Host().ReceivedMidiCount()),
                static_cast<long long>(audio.EventsDelivered()));
    if (audio.Overruns() > 0)
        Warn("the audio thread fell behind the clock " + std::to_string(audio.Overruns()) +
             " times and skipped ahead");
}

// Performs the steps, each followed by the notifications it caused; kExitOk, or the exit code
// of the step that failed.
int RunScript(EditorHost& host, const std::vector<EditorStep>& steps, NotificationReport& report) {
    std::string error;
    for (const EditorStep& step : steps) {
        std::printf("  %s\n", step.Describe().c_str());
        if (step.kind == EditorStep::Kind::Tick) {
            host.Tick(step.amount);
        } else if (step.kind == EditorStep::Kind::Wait) {
            host.Wait(step.amount);
        } else if (step.kind == EditorStep::Kind::Shot) {
            if (!SavePicture(host, step.text, error)) return Fail(error, kExitInput);
        } else if (!host.Perform(step, error)) {
            return Fail(error, kExitPlugin);
        }
        report.PrintNew("    ");
    }
    return kExitOk;
}

void PrintParameters(HostedEffect& fx) {
    std::printf("Parameters:\n");
    for (int32_t i = 0; i < fx.NumParams(); ++i)
        std::printf("  %3d  %-24s %.6f (%s)\n", i, ("\"" + fx.ParameterName(i) + "\"").c_str(),
                    fx.GetParameter(i), fx.ParameterDisplay(i).c_str());
}

// The plug-in loaded with its start state, and the size of its editor.
int OpenPlugin(const EditorOptions& o, const Loop& loop, PluginSession& session, int& width, int& height) {
    std::string error;
    if (!session.Start(o.module, loop.sampleRate, kBlockSize, error)) return Fail(error, kExitPlugin);
    std::vector<std::string> paramReports;
    if (int code = LoadStartState(session, o.state, paramReports)) return code;
    if (!EditorSize(session.Effect(), width, height, error)) return Fail(error, kExitPlugin);
    return kExitOk;
}

int RunEditor(ArgReader& args) {
    EditorOptions o;
    if (int code = ParseEditorOptions(args, o)) return code;
    std::vector<EditorStep> steps;
    std::string error;
    if (!ParseEditorScript(o.script, steps, error)) return UsageError(error);
    if (int code = CheckPictureFiles(o, steps)) return code;
    Loop loop;
    if (o.audio)
        if (int code = LoadLoop(o, loop)) return code;
    PluginSession session;
    int width = 0, height = 0;
    if (int code = OpenPlugin(o, loop, session, width, height)) return code;
    HostedEffect& fx = session.Effect();

    fx.Host().ClearRecords();
    NotificationReport report(fx);
    std::unique_ptr<EditorHost> host = CreateEditorHost(o.offscreen);
    // Declared after the host: on every way out the audio stops before the editor closes.
    std::unique_ptr<LiveAudio> audio;
    int status = kExitOk;
    if (o.audio && !(audio = StartAudio(o, fx, loop, status))) return status;
    if (!host->Open(fx, width, height, error)) return Fail(error, kExitPlugin);
    std::printf("Editor:          %d x %d, %s\n", width, height, host->Description());
    host->Tick(static_cast<int>(o.ticks));
    std::printf("Ticks before the script: %ld\n", o.ticks);
    report.PrintNew("    ");
    status = RunScript(*host, steps, report);
    // One more tick, so that the picture shows the effect of the last step.
    host->Tick(1);
    report.PrintNew("    ");
    Screenshot shot;
    bool captured = status == kExitOk && !o.output.empty() && host->Capture(shot, error);
    if (status == kExitOk && !o.output.empty() && !captured) status = Fail(error, kExitPlugin);
    if (audio) StopAudio(*audio, fx);
    std::printf("Closing the editor\n");
    host->Close();
    report.PrintNew("    ");
    report.PrintTotals();
    PrintParameters(fx);
    if (captured) {
        if (!WritePng(o.output, shot, error)) return Fail(error, kExitInput);
        std::printf("Wrote %s (%d x %d)\n", o.output.c_str(), shot.width, shot.height);
    }
    return status;
}

}  // namespace

const CommandInfo kEditorCommand = {
    "editor",
    "  vsthost editor MODULE [options] [-o OUT.png]\n",
    "open the editor, perform scripted input, report the host notifications and save a picture",
    EditorHelp,
    RunEditor,
};
