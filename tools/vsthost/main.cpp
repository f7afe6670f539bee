// vsthost: a command-line VST 2 host — inspect a module, render audio offline with MIDI, save
// and restore the plug-in's state, compare two renders.
#include <cstdio>
#include <exception>
#include <new>

#include "tools/vsthost/AudioFile.h"
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/EditorScript.h"
#include "tools/vsthost/Platform.h"

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "vsthost: %s\n", message.c_str());
    return code;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "vsthost: %s\n(vsthost --help lists the commands and options)\n", message.c_str());
    return kExitUsage;
}

void PrintUsage(FILE* out) {
    std::fprintf(out,
                 "usage:\n"
                 "  vsthost info MODULE\n"
                 "  vsthost render MODULE [options] -o OUT.wav\n"
                 "  vsthost chunk save MODULE [--bank] [--program N] [--force] FILE\n"
                 "  vsthost chunk load MODULE [--bank] FILE\n"
                 "  vsthost compare A.wav B.wav [--tolerance T]\n"
                 "  vsthost editor MODULE [options] [-o OUT.png]\n"
                 "\n"
                 "info     identity, flags, channels, parameters, programs and capabilities\n"
                 "render   offline processing; options:\n"
                 "  -i FILE            input audio (default: a built-in stereo test signal)\n"
                 "  --midi FILE        MIDI from a Standard MIDI File, timed by its tempo map\n"
                 "  --note T:N:V:D     a note at T seconds, number N, velocity V, D seconds long\n"
                 "                     (repeatable; e.g. --note 0.5:60:100:0.25)\n"
                 "  --demo             the built-in demo: test signal and note pattern, 8 s\n"
                 "  --program N        select program N first\n"
                 "  --chunk FILE       load a program chunk (with --bank: a bank chunk)\n"
                 "  --param I=V        set parameter I to the normalised value V (repeatable)\n"
                 "  --rate HZ          sample rate without an input file (default 44100)\n"
                 "  --block N          block size (default 512)\n"
                 "  --length S         seconds to render (default: the input's length, or 8)\n"
                 "  --double           process through processDoubleReplacing\n"
                 "  --accumulate       process through the accumulating process callback\n"
                 "  --format F         float (default), pcm16 or pcm24\n"
                 "  --force            overwrite an existing output file\n"
                 "chunk    save the plug-in's program or bank chunk to FILE, or load FILE and\n"
                 "         print the resulting parameter values and program name\n"
                 "compare  print the largest sample difference; fails above the tolerance (1e-6)\n"
                 "editor   open the editor, perform scripted input, report the host notifications\n"
                 "         it caused and save what the editor shows; options:\n"
                 "  --do STEPS         editor steps, e.g. --do 'rclick 60 30; type 50; enter'\n"
                 "  --script FILE      editor steps from a file (both may be repeated)\n"
                 "  --ticks N          timer ticks before the script (default 2)\n"
                 "  --program N, --chunk FILE [--bank], --param I=V   state to load first\n"
                 "  -o OUT.png         the picture (--force overwrites)\n"
                 "%s"
                 "\n"
                 "This build reads audio as %s;\n"
                 "MIDI files of format 0 and 1 (PPQN or SMPTE time) on every platform.\n"
                 "Exit status: 0 success, 1 failure, 2 bad command line.\n",
                 EditorScriptHelp(), AudioFileSupport());
}

int main(int argc, char** argv) {
    try {
        std::vector<std::string> arguments = CommandLineArguments(argc, argv);
        if (arguments.empty()) {
            PrintUsage(stderr);
            return kExitUsage;
        }
        std::string command = arguments.front();
        ArgReader args(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
        if (command == "-h" || command == "--help" || command == "help") {
            PrintUsage(stdout);
            return kExitOk;
        }
        if (command == "info") return RunInfo(args);
        if (command == "render") return RunRender(args);
        if (command == "chunk") return RunChunk(args);
        if (command == "compare") return RunCompare(args);
        if (command == "editor") return RunEditor(args);
        return UsageError("unknown command '" + command + "'");
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what());
    }
}
