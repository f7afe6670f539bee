// state: chunks come back byte for byte, .fxp and .fxb files round-trip, state moved to a fresh
// instance renders the same, and hostile chunks neither crash nor corrupt the instance. The
// effSetChunk answer is reported, never trusted: many plug-ins answer 0 after applying the data.
#include <algorithm>
#include <cmath>

#include "tools/vsthost/formats/FxbFile.h"
#include "tools/vsthost/formats/FxpFile.h"
#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/EventBatch.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

bool HasChunks(HostedEffect& fx) {
    return (fx.Flags() & effFlagsProgramChunks) != 0;
}

// Whether the plug-in hands out chunks at all: with the flag, or (for the tests of what a careless
// host may send) without it.
bool AnswersChunks(HostedEffect& fx) {
    std::vector<uint8_t> chunk;
    return HasChunks(fx) || fx.GetChunk(true, chunk);
}

// Random values for every parameter and a random program, as a user leaves a plug-in.
void Scramble(HostedEffect& fx, SeededRandom& random) {
    if (fx.NumPrograms() > 1) fx.SetProgram(static_cast<int32_t>(random.Below(uint64_t(fx.NumPrograms()))));
    for (int32_t i = 0; i < std::min(fx.NumParams(), 4096); ++i) fx.SetParameter(i, float(random.Unit()));
}

std::vector<float> Parameters(HostedEffect& fx) {
    std::vector<float> values;
    for (int32_t i = 0; i < std::min(fx.NumParams(), 4096); ++i) values.push_back(fx.GetParameter(i));
    return values;
}

// Renders with a note at the start, so that an instrument or a MIDI-driven effect does something.
std::vector<float> Play(PluginInstance& instance, int blocks) {
    EventBatch notes;
    notes.Midi(0, 0x90, 60, 100);
    notes.Midi(instance.BlockSize() / 2, 0x90, 67, 90);
    instance.Effect().Resume();
    notes.Deliver(instance.Effect());
    return instance.Render(blocks);
}

void ChunkRoundTrip(TestContext& ctx) {
    TestCase t(ctx, "state.chunk-round-trip",
               "the bank and the program chunk, got, set and got again, come back byte for byte");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    if (!AnswersChunks(fx)) return t.Skip("no chunks: the state is the parameters (state.files)");
    Scramble(fx, t.Random());
    for (bool bank : {true, false}) {
        const std::string kind = bank ? "bank" : "program";
        std::vector<uint8_t> first, second;
        t.Calling("effGetChunk (" + kind + ")");
        if (!fx.GetChunk(bank, first)) {
            t.Fail("effGetChunk gives no " + kind + " chunk");
            continue;
        }
        t.Calling("effSetChunk (" + kind + ")");
        HostedEffect::ChunkDelivery answer = fx.DeliverChunk(bank, first);
        t.Note("effSetChunk answered " + N(int64_t(answer.answer)) + " to its own " + kind + " chunk");
        t.Calling("effGetChunk (" + kind + ") again");
        if (!fx.GetChunk(bank, second))
            t.Fail("effGetChunk gives no " + kind + " chunk after effSetChunk");
        else if (first != second)
            t.Fail("the " + kind + " chunk changed by going through effSetChunk (" +
                   N(int64_t(first.size())) + " -> " + N(int64_t(second.size())) + " bytes)");
    }
}

// The instance's state as the .fxb (bank) or .fxp (current program) file a host would save; false
// when the plug-in gives no chunk for it.
bool WriteFile(HostedEffect& fx, bool bank, std::vector<uint8_t>& bytes) {
    const bool chunks = HasChunks(fx);
    const AEffect* r = fx.Record();
    if (!bank) {
        FxpFile file;
        file.opaque = chunks;
        file.fxID = r->uniqueID;
        file.fxVersion = r->version;
        file.name = fx.ProgramName();
        file.params = Parameters(fx);
        file.numParams = int32_t(file.params.size());
        if (chunks && !fx.GetChunk(false, file.chunk)) return false;
        bytes = file.Serialize();
        return true;
    }
    FxbFile file;
    file.opaque = chunks;
    file.fxID = r->uniqueID;
    file.fxVersion = r->version;
    file.numPrograms = fx.NumPrograms();
    file.currentProgram = fx.Program();
    if (chunks) {
        if (!fx.GetChunk(true, file.chunk)) return false;
    } else {
        const int32_t current = fx.Program();
        for (int32_t p = 0; p < std::min(fx.NumPrograms(), 1024); ++p) {
            fx.SetProgram(p);
            FxpFile program;
            program.fxID = r->uniqueID;
            program.fxVersion = r->version;
            program.name = fx.ProgramName();
            program.params = Parameters(fx);
            program.numParams = int32_t(program.params.size());
            file.programs.push_back(program);
        }
        fx.SetProgram(current);
    }
    bytes = file.Serialize();
    return true;
}

void SetParameters(HostedEffect& fx, const std::vector<float>& values) {
    for (size_t i = 0; i < values.size(); ++i) fx.SetParameter(int32_t(i), values[i]);
}

// The state of a plug-in without chunks: its program and parameter values.
void MoveParameters(HostedEffect& from, HostedEffect& to) {
    to.SetProgram(from.Program());
    SetParameters(to, Parameters(from));
}

// Parses a file WriteFile wrote and gives its state to fx; false with the parser's error.
bool ReadFile(HostedEffect& fx, bool bank, const std::vector<uint8_t>& bytes, std::string& error) {
    if (!bank) {
        FxpFile file;
        if (!file.Parse(bytes.data(), bytes.size(), error)) return false;
        if (file.opaque)
            fx.DeliverChunk(false, file.chunk);
        else
            SetParameters(fx, file.params);
        return true;
    }
    FxbFile file;
    if (!file.Parse(bytes.data(), bytes.size(), error)) return false;
    if (file.opaque) {
        fx.DeliverChunk(true, file.chunk);
        return true;
    }
    for (size_t p = 0; p < file.programs.size(); ++p) {
        fx.SetProgram(int32_t(p));
        SetParameters(fx, file.programs[p].params);
        std::string name = file.programs[p].name;
        fx.Dispatch(effSetProgramName, 0, 0, name.data());
    }
    if (file.currentProgram >= 0) fx.SetProgram(file.currentProgram);
    return true;
}

// The instance's state as the file a host would save, parsed back and given to a fresh instance.
void Files(TestContext& ctx) {
    TestCase t(ctx, "state.files",
               ".fxp (current program) and .fxb (bank) files written from one instance restore the same "
               "state in a fresh one");
    auto source = t.NewInstance();
    if (!source) return;
    HostedEffect& fx = source->Effect();
    Scramble(fx, t.Random());
    for (bool bank : {false, true}) {
        const std::string kind = bank ? ".fxb" : ".fxp";
        std::vector<uint8_t> bytes;
        t.Calling("writing the " + kind + " (effGetChunk or getParameter)");
        if (!WriteFile(fx, bank, bytes))
            return t.Fail(std::string("effGetChunk gives no ") + (bank ? "bank" : "program") + " chunk");
        auto target = t.NewInstance();
        if (!target) return;
        HostedEffect& fresh = target->Effect();
        t.Calling("reading the " + kind + " into a fresh instance");
        std::string error;
        if (!ReadFile(fresh, bank, bytes, error)) return t.Fail("our own " + kind + ": " + error);
        std::vector<float> want = Parameters(fx), got = Parameters(fresh);
        for (size_t i = 0; i < want.size() && i < got.size(); ++i)
            if (std::fabs(want[i] - got[i]) > 1e-6f) {
                t.Problem("right after the " + kind + " parameter " + N(int64_t(i)) + " reads " + F(got[i]) +
                              " instead of " + F(want[i]),
                          ctx.Level().consistencyFailsFrom);
                break;
            }
        if (bank && fresh.Program() != fx.Program())
            t.Problem(
                "after the .fxb the program is " + N(fresh.Program()) + " instead of " + N(fx.Program()),
                ctx.Level().consistencyFailsFrom);
    }
}

void MovedState(TestContext& ctx) {
    TestCase t(ctx, "state.moved",
               "state moved to a fresh instance (bank chunk, or parameters) renders the same output");
    auto a = t.NewInstance();
    auto b = a ? t.NewInstance() : nullptr;
    if (!b) return;
    Scramble(a->Effect(), t.Random());
    std::vector<uint8_t> chunk;
    t.Calling("moving the state (effGetChunk, effSetChunk or the parameters)");
    if (HasChunks(a->Effect())) {
        if (!a->Effect().GetChunk(true, chunk)) return t.Fail("effGetChunk gives no bank chunk");
        b->Effect().DeliverChunk(true, chunk);
    } else {
        MoveParameters(a->Effect(), b->Effect());
    }
    t.Calling("processReplacing on both");
    double d = Difference(Play(*a, ctx.Level().stateRenderBlocks), Play(*b, ctx.Level().stateRenderBlocks));
    if (!(d <= 1e-6))
        t.Fail("the instance given the state renders differently (largest difference " + F(d) + ")");
}

// A bad chunk for effSetChunk, and what it is for the findings.
struct BadChunk {
    std::string what;
    std::vector<uint8_t> bytes;
    bool bank;
};

// Cut, lengthened, garbage and flipped variants of the good program (0) and bank (1) chunks.
std::vector<BadChunk> BadChunks(TestCase& t, const std::vector<uint8_t> (&good)[2], int garbage) {
    std::vector<BadChunk> bad;
    for (int bank = 0; bank < 2; ++bank) {
        const std::vector<uint8_t>& g = good[bank];
        const std::string kind = bank ? "bank" : "program";
        for (size_t cut : {size_t{1}, g.size() / 2, g.size() - 1, size_t{4}, size_t{8}})
            if (cut > 0 && cut < g.size())
                bad.push_back({kind + " chunk cut to " + N(int64_t(cut)) + " bytes",
                               {g.begin(), g.begin() + long(cut)},
                               bank == 1});
        std::vector<uint8_t> longer = g;
        longer.resize(g.size() + (1 << 20), 0xEE);
        bad.push_back({kind + " chunk with 1 MiB appended", longer, bank == 1});
        for (int k = 0; k < garbage; ++k) {
            std::vector<uint8_t> junk(1 + t.Random().Below(k % 4 == 0 ? 4096 : 2 * g.size() + 16));
            // Half of them keep the real header, so that parsing goes deeper.
            for (size_t i = 0; i < junk.size(); ++i)
                junk[i] = (k % 2 && i < g.size() && i < 16) ? g[i] : uint8_t(t.Random().Below(256));
            bad.push_back({kind + " garbage of " + N(int64_t(junk.size())) + " bytes", junk, bank == 1});
        }
        // Mutations of the good chunk: one byte flipped.
        for (int k = 0; k < garbage / 4; ++k) {
            std::vector<uint8_t> flipped = g;
            flipped[t.Random().Below(g.size())] ^= uint8_t(1 + t.Random().Below(255));
            bad.push_back({kind + " chunk with a flipped byte", flipped, bank == 1});
        }
    }
    return bad;
}

// What the instances render in the two outcomes a bad chunk may have: nothing changed (the good
// program or bank chunk still applied), or a reset to a fresh instance.
struct ChunkReferences {
    std::vector<float> asBefore[2], asFresh;
    int blocks = 0;
    // Tallies over the bad chunks, reported.
    int accepted = 0, taken = 0, takenRefused = 0;
};

bool Render(TestCase& t, const std::vector<uint8_t> (&good)[2], ChunkReferences& refs) {
    auto fresh = t.NewInstance();
    if (!fresh) return false;
    refs.asFresh = Play(*fresh, refs.blocks);
    for (int bank = 0; bank < 2; ++bank) {
        auto before = t.NewInstance();
        if (!before) return false;
        before->Effect().DeliverChunk(bank == 1, good[bank]);
        refs.asBefore[bank] = Play(*before, refs.blocks);
    }
    return true;
}

// One bad chunk over the good one: parameters in 0..1, finite output, and a state the instance's
// own chunk describes. False when no instance could be made.
bool TryBadChunk(TestCase& t, const BadChunk& b, const std::vector<uint8_t>& good, ChunkReferences& refs) {
    auto instance = t.NewInstance();
    auto twin = instance ? t.NewInstance() : nullptr;
    if (!twin) return false;
    HostedEffect& fx = instance->Effect();
    fx.DeliverChunk(b.bank, good);
    t.Calling("effSetChunk with a " + b.what);
    const intptr_t answer = fx.DeliverChunk(b.bank, b.bytes).answer;
    if (answer != 0) ++refs.accepted;
    bool sane = true;
    for (float v : Parameters(fx))
        if (!(v >= 0 && v <= 1)) {
            t.Fail("after a " + b.what + " a parameter reads " + F(v));
            sane = false;
            break;
        }
    // Whatever the instance made of the data, it must be a state like any other: the one its
    // own chunk (or parameters) describes, so that a fresh instance given it renders the same.
    std::vector<uint8_t> now;
    t.Calling("effGetChunk after a " + b.what);
    if (fx.GetChunk(true, now))
        twin->Effect().DeliverChunk(true, now);
    else
        MoveParameters(fx, twin->Effect());
    t.Calling("processReplacing after a " + b.what);
    std::vector<float> out = Play(*instance, refs.blocks);
    if (std::any_of(out.begin(), out.end(), [](float x) { return !std::isfinite(x); })) {
        t.Fail("after a " + b.what + " the output holds NaN or infinity");
        return true;
    }
    const double hidden = Difference(out, Play(*twin, refs.blocks));
    if (sane && !(hidden <= 1e-6))
        t.Fail("after a " + b.what + " the instance renders unlike its own state (off by " + F(hidden) +
               "): hidden state was corrupted");
    // Formats without a checksum cannot tell every bad chunk from a good one; taking one as
    // state is reported, not judged.
    const double before = Difference(out, refs.asBefore[b.bank ? 1 : 0]),
                 fresh = Difference(out, refs.asFresh);
    if (!(before <= 1e-6) && !(fresh <= 1e-6)) {
        ++refs.taken;
        if (answer == 0) ++refs.takenRefused;
    }
    return true;
}

// Zero length, through the dispatcher itself (the host library never hands over empty data).
void EmptyChunks(TestCase& t, const ChunkReferences& refs, int strictFrom) {
    for (int bank = 0; bank < 2; ++bank) {
        auto instance = t.NewInstance();
        if (!instance) return;
        uint8_t byte = 0;
        t.Calling("effSetChunk with 0 bytes");
        instance->Effect().Dispatch(effSetChunk, bank ? 0 : 1, 0, &byte);
        instance->Effect().Dispatch(effSetChunk, bank ? 0 : 1, 0, nullptr);
        const double d = Difference(Play(*instance, refs.blocks), refs.asFresh);
        if (!(d <= 1e-6))
            t.Problem("an empty chunk changed what a fresh instance renders (off by " + F(d) + ")",
                      strictFrom);
    }
}

void HostileChunks(TestContext& ctx) {
    TestCase t(
        ctx, "state.hostile-chunks",
        "truncated, garbage, zero-length and oversized chunks never crash, leave every parameter in 0..1 "
        "and the output finite, and leave a state the instance's own chunk describes; an empty chunk "
        "changes nothing");
    auto probe = t.NewInstance();
    if (!probe) return;
    if (!AnswersChunks(probe->Effect())) return t.Skip("no chunks: the plug-in hands out none");
    Scramble(probe->Effect(), t.Random());
    std::vector<uint8_t> good[2];
    for (int bank = 0; bank < 2; ++bank)
        if (!probe->Effect().GetChunk(bank == 1, good[bank])) return t.Fail("effGetChunk gives no chunk");
    ChunkReferences refs;
    refs.blocks = ctx.Level().stateRenderBlocks;
    if (!Render(t, good, refs)) return;
    const std::vector<BadChunk> bad = BadChunks(t, good, ctx.Level().garbageChunks);
    for (const BadChunk& b : bad)
        if (!TryBadChunk(t, b, good[b.bank ? 1 : 0], refs)) return;
    EmptyChunks(t, refs, ctx.Level().answersFailFrom);
    t.Note("effSetChunk answered non-zero to " + N(refs.accepted) + " of " + N(int64_t(bad.size())) +
           " bad chunks (reported, not trusted); " + N(refs.taken) + " were taken as a new state, " +
           N(refs.takenRefused) + " of them answered 0");
}

}  // namespace

void RunStateGroup(TestContext& ctx) {
    ChunkRoundTrip(ctx);
    Files(ctx);
    MovedState(ctx);
    HostileChunks(ctx);
}
