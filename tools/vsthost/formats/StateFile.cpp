#include "tools/vsthost/formats/StateFile.h"

#include <algorithm>
#include <cctype>

#include "tools/vsthost/cli/Messages.h"
#include "tools/vsthost/host/EffectText.h"
#include "tools/vsthost/formats/FileBytes.h"
#include "tools/vsthost/formats/FxbFile.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

StateResult Failed(int code, const std::string& error) {
    StateResult result;
    result.exitCode = code;
    result.error = error;
    return result;
}

StateResult Done(const std::string& summary) {
    StateResult result;
    result.ok = true;
    result.summary = summary;
    return result;
}

std::string IdMismatch(const std::string& path, int32_t fileID, int32_t pluginID) {
    return "'" + path + "' is a preset for the plug-in with ID " + DescribeFourCharCode(fileID) +
           ", not for this one (" + DescribeFourCharCode(pluginID) + ")";
}

// Parameter values into the current program; a count that differs is applied as far as it goes.
void ApplyParameters(HostedEffect& fx, const FxpFile& program, const std::string& what) {
    int32_t n = std::min<int32_t>(static_cast<int32_t>(program.params.size()), fx.NumParams());
    if (static_cast<int32_t>(program.params.size()) != fx.NumParams())
        Warn(what + " holds " + std::to_string(program.params.size()) + " parameters, the plug-in has " +
             std::to_string(fx.NumParams()) + ": " + std::to_string(n) + " applied");
    for (int32_t i = 0; i < n; ++i) fx.SetParameter(i, program.params[static_cast<size_t>(i)]);
    std::vector<char> name(program.name.begin(), program.name.end());
    name.push_back('\0');
    fx.Dispatch(effSetProgramName, 0, 0, name.data());
}

FxpFile CurrentProgram(HostedEffect& fx) {
    FxpFile program;
    program.fxID = fx.Record()->uniqueID;
    program.fxVersion = fx.Record()->version;
    program.numParams = fx.NumParams();
    program.name = fx.ProgramName();
    for (int32_t i = 0; i < fx.NumParams(); ++i) program.params.push_back(fx.GetParameter(i));
    return program;
}

StateResult LoadFxp(HostedEffect& fx, const std::string& path, const std::vector<uint8_t>& bytes) {
    FxpFile program;
    std::string reason;
    if (!program.Parse(bytes.data(), bytes.size(), reason))
        return Failed(kExitInput, "'" + path + "': " + reason);
    if (program.fxID != fx.Record()->uniqueID)
        return Failed(kExitInput, IdMismatch(path, program.fxID, fx.Record()->uniqueID));
    if (program.opaque) {
        DeliverChunkAndReport(fx, false, program.chunk);
        return Done("Loaded program chunk of " + std::to_string(program.chunk.size()) + " bytes (\"" +
                    program.name + "\") from " + path);
    }
    fx.Dispatch(effBeginSetProgram);
    ApplyParameters(fx, program, "'" + path + "'");
    fx.Dispatch(effEndSetProgram);
    return Done("Loaded program \"" + program.name + "\" (" + std::to_string(program.params.size()) +
                " parameters) from " + path);
}

StateResult LoadFxb(HostedEffect& fx, const std::string& path, const std::vector<uint8_t>& bytes) {
    FxbFile bank;
    std::string reason;
    if (!bank.Parse(bytes.data(), bytes.size(), reason))
        return Failed(kExitInput, "'" + path + "': " + reason);
    if (bank.fxID != fx.Record()->uniqueID)
        return Failed(kExitInput, IdMismatch(path, bank.fxID, fx.Record()->uniqueID));
    if (bank.opaque) {
        DeliverChunkAndReport(fx, true, bank.chunk);
        return Done("Loaded bank chunk of " + std::to_string(bank.chunk.size()) + " bytes from " + path);
    }
    int32_t n = std::min<int32_t>(bank.numPrograms, fx.NumPrograms());
    if (bank.numPrograms != fx.NumPrograms())
        Warn("'" + path + "' holds " + std::to_string(bank.numPrograms) + " programs, the plug-in has " +
             std::to_string(fx.NumPrograms()) + ": " + std::to_string(n) + " loaded");
    for (int32_t i = 0; i < n; ++i) {
        fx.SetProgram(i);
        ApplyParameters(fx, bank.programs[static_cast<size_t>(i)],
                        "program " + std::to_string(i) + " of '" + path + "'");
    }
    int32_t current = bank.currentProgram >= 0 && bank.currentProgram < n ? bank.currentProgram : 0;
    if (n > 0) fx.SetProgram(current);
    return Done("Loaded bank of " + std::to_string(n) + " programs from " + path);
}

}  // namespace

StateFormat StateFormatForPath(const std::string& path) {
    std::string lower = Lower(path);
    auto endsWith = [&](const char* suffix) {
        size_t n = std::char_traits<char>::length(suffix);
        return lower.size() >= n && lower.compare(lower.size() - n, n, suffix) == 0;
    };
    return endsWith(".fxp") ? StateFormat::Fxp : endsWith(".fxb") ? StateFormat::Fxb : StateFormat::Raw;
}

void DeliverChunkAndReport(HostedEffect& fx, bool bank, const std::vector<uint8_t>& chunk) {
    std::vector<uint8_t> before, after;
    fx.GetChunk(bank, before);
    HostedEffect::ChunkDelivery delivery = fx.DeliverChunk(bank, chunk);
    if (!delivery.delivered) {
        Warn("the chunk is empty or too large; it was not handed to the plug-in");
        return;
    }
    if (delivery.answer != 0) return;
    fx.GetChunk(bank, after);
    if (after == chunk || after != before)
        std::fprintf(stderr,
                     "vsthost: note: the plug-in answered 0 to effSetChunk but its state changed: taken as "
                     "applied (many plug-ins answer 0)\n");
    else
        Warn(
            "the plug-in answered 0 to effSetChunk and its state did not change: it probably rejected the "
            "data");
}

StateResult LoadStateFile(HostedEffect& fx, const std::string& path, bool bank) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path, HostedEffect::kMaxChunkBytes, bytes, error)) return Failed(kExitInput, error);
    if (bytes.empty()) return Failed(kExitInput, "'" + path + "' is empty");
    // A preset file says what it is; the first four bytes of a raw chunk are the plug-in's business.
    if (bytes.size() >= 12 && bytes[0] == 'C' && bytes[1] == 'c' && bytes[2] == 'n' && bytes[3] == 'K') {
        bool isBank = (bytes[8] == 'F' && bytes[9] == 'x' && bytes[10] == 'B' && bytes[11] == 'k') ||
                      (bytes[8] == 'F' && bytes[9] == 'B' && bytes[10] == 'C' && bytes[11] == 'h');
        return isBank ? LoadFxb(fx, path, bytes) : LoadFxp(fx, path, bytes);
    }
    if (StateFormatForPath(path) != StateFormat::Raw)
        return Failed(kExitInput, "'" + path + "' is not a VST preset (no 'CcnK' header)");
    DeliverChunkAndReport(fx, bank, bytes);
    return Done(std::string("Loaded ") + (bank ? "bank" : "program") + " chunk of " +
                std::to_string(bytes.size()) + " bytes from " + path);
}

StateResult SaveStateFile(HostedEffect& fx, const std::string& path, bool bank) {
    StateFormat format = StateFormatForPath(path);
    bool chunks = (fx.Flags() & effFlagsProgramChunks) != 0;
    std::vector<uint8_t> bytes;
    std::string what;
    if (format == StateFormat::Raw || chunks) {
        std::vector<uint8_t> chunk;
        if (!fx.GetChunk(bank, chunk))
            return Failed(kExitPlugin,
                          std::string("the plug-in gave no ") + (bank ? "bank" : "program") + " chunk");
        what =
            std::string(bank ? "bank" : "program") + " chunk of " + std::to_string(chunk.size()) + " bytes";
        if (format == StateFormat::Fxp) {
            FxpFile program = CurrentProgram(fx);
            program.opaque = true;
            program.params.clear();
            program.chunk = std::move(chunk);
            bytes = program.Serialize();
        } else if (format == StateFormat::Fxb) {
            FxbFile file;
            file.opaque = true;
            file.fxID = fx.Record()->uniqueID;
            file.fxVersion = fx.Record()->version;
            file.numPrograms = fx.NumPrograms();
            file.currentProgram = fx.Program();
            file.chunk = std::move(chunk);
            bytes = file.Serialize();
        } else {
            bytes = std::move(chunk);
        }
    } else if (format == StateFormat::Fxp) {
        bytes = CurrentProgram(fx).Serialize();
        what = "program of " + std::to_string(fx.NumParams()) + " parameters";
    } else {
        FxbFile file;
        file.fxID = fx.Record()->uniqueID;
        file.fxVersion = fx.Record()->version;
        int32_t current = fx.Program();
        file.currentProgram = current;
        for (int32_t i = 0; i < fx.NumPrograms(); ++i) {
            fx.SetProgram(i);
            file.programs.push_back(CurrentProgram(fx));
        }
        if (fx.NumPrograms() > 0) fx.SetProgram(current);
        file.numPrograms = static_cast<int32_t>(file.programs.size());
        bytes = file.Serialize();
        what = "bank of " + std::to_string(file.numPrograms) + " programs";
    }
    std::string error;
    if (!WriteFileBytes(path, bytes, error)) return Failed(kExitInput, error);
    return Done("Saved " + what + " (program " + std::to_string(fx.Program()) + " \"" + fx.ProgramName() +
                "\") to " + path);
}
