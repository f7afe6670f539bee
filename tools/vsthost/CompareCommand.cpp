// vsthost compare A.wav B.wav: the largest sample difference between two renders.
#include <cmath>
#include <cstdio>

#include "tools/vsthost/formats/AudioFile.h"
#include "tools/vsthost/Commands.h"
#include "tools/vsthost/cli/OptionTable.h"

namespace {

struct CompareOptions {
    std::vector<std::string> files;
    double tolerance = 1e-6;
};

OptionTable CompareTable(CompareOptions& o) {
    return {"compare",
            17,
            {Checked("--tolerance", "T",
                     "the largest difference that still passes (default 1e-6); above it the\n"
                     "exit status is 1",
                     "tolerance", "", [&o](const std::string& v) {
                         return ParseDouble(v, o.tolerance) && o.tolerance >= 0;
                     })}};
}

std::string CompareHelp() {
    CompareOptions unused;
    return OptionHelp(CompareTable(unused));
}

int RunCompare(ArgReader& args) {
    CompareOptions o;
    int code = ParseOptions(args, CompareTable(o), [&o](const std::string& arg) {
        o.files.push_back(arg);
        return kExitOk;
    });
    if (code != kExitOk) return code;
    const std::vector<std::string>& files = o.files;
    const double tolerance = o.tolerance;
    std::string error;
    if (files.size() != 2) return UsageError("compare needs two audio files");
    AudioData a, b;
    if (!ReadAudioFile(files[0], a, error) || !ReadAudioFile(files[1], b, error))
        return Fail(error, kExitInput);
    if (a.ChannelCount() != b.ChannelCount() || a.Frames() != b.Frames() || a.sampleRate != b.sampleRate)
        return Fail("the files differ in shape: " + std::to_string(a.ChannelCount()) + " channels, " +
                        std::to_string(a.Frames()) + " frames, " + std::to_string(a.sampleRate) +
                        " Hz against " + std::to_string(b.ChannelCount()) + ", " +
                        std::to_string(b.Frames()) + ", " + std::to_string(b.sampleRate),
                    kExitFailure);
    double largest = 0;
    size_t atFrame = 0;
    int32_t atChannel = 0;
    for (size_t c = 0; c < a.channels.size(); ++c) {
        for (size_t i = 0; i < a.Frames(); ++i) {
            double x = a.channels[c][i], y = b.channels[c][i];
            // A NaN on one side only is the largest difference there is.
            double d = (std::isnan(x) || std::isnan(y)) ? (std::isnan(x) && std::isnan(y) ? 0 : INFINITY)
                                                        : std::fabs(x - y);
            if (d > largest) {
                largest = d;
                atFrame = i;
                atChannel = static_cast<int32_t>(c);
            }
        }
    }
    std::printf("Largest absolute difference: %.9g", largest);
    if (largest > 0) std::printf(" (channel %d, frame %zu)", atChannel, atFrame);
    std::printf("\n");
    if (largest > tolerance) {
        std::printf("Exceeds the tolerance of %g\n", tolerance);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

const CommandInfo kCompareCommand = {
    "compare",
    "  vsthost compare A.wav B.wav [--tolerance T]\n",
    "the largest sample difference between two audio files",
    CompareHelp,
    RunCompare,
};
