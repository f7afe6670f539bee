// load: the module loads and unloads cleanly and often, many instances live side by side, memory
// does not grow over open/close cycles, the record keeps the promises its flags make, and every
// text answer fits the size the interface allows.
#include <cstring>
#include <set>

#include "tools/vsthost/host/PluginSession.h"
#include "tools/vsthost/host/PluginCall.h"
#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/GuardedText.h"
#include "tools/vsthost/validate/ResidentMemory.h"
#include "tools/vsthost/validate/Sanitizers.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

void LoadCycles(TestContext& ctx) {
    int cycles = ctx.Level().loadCycles;
    TestCase t(ctx, "load.cycles", "loads, opens, closes and unloads " + N(cycles) + " times in a row");
    for (int i = 0; i < cycles; ++i) {
        t.Calling("load, effOpen, effClose, unload (cycle " + N(i + 1) + ")");
        PluginSession session;
        std::string error;
        if (!session.Start(ctx.ModulePath(), TestContext::kSampleRate, TestContext::kBlockSize, error)) {
            t.Fail("cycle " + N(i + 1) + ": " + error);
            return;
        }
    }
}

void ManyInstances(TestContext& ctx) {
    int count = ctx.Level().instances;
    TestCase t(ctx, "load.instances",
               N(count) + " instances open at once, each its own record, each processing a block");
    std::vector<std::unique_ptr<PluginInstance>> instances;
    std::set<AEffect*> records;
    std::string error;
    t.Calling("the entry point and effOpen, " + N(count) + " times");
    for (int i = 0; i < count; ++i) {
        auto instance = ctx.NewInstance(error);
        if (!instance) {
            t.Fail("instance " + N(i + 1) + ": " + error);
            return;
        }
        if (!records.insert(instance->Effect().Record()).second)
            t.Fail("instance " + N(i + 1) + " returned the record of an earlier instance");
        instances.push_back(std::move(instance));
    }
    t.Calling("processReplacing on every instance");
    for (auto& instance : instances) instance->Render(1);
    t.Calling("effClose on every instance");
    instances.clear();
}

void MemoryGrowth(TestContext& ctx) {
    int cycles = ctx.Level().memoryCycles;
    int64_t limit = ctx.Level().memoryGrowthKiB;
    // Under AddressSanitizer the quarantine keeps freed memory resident: the live heap is
    // measured there instead.
    const char* measure = kUnderAddressSanitizer ? "live heap" : "resident size";
    TestCase t(ctx, "load.memory",
               std::string(measure) + " grows by at most " + N(limit) + " KiB over " + N(cycles) +
                   " open/process/close cycles");
    std::string why;
    int64_t before = 0, after = 0;
    auto cycle = [&]() {
        auto instance = t.NewInstance();
        if (!instance) return false;
        instance->Render(2);
        return true;
    };
    auto measureKiB = [&](int64_t& kib) {
        if (!kUnderAddressSanitizer) return ResidentKiB(kib, why);
        kib = SanitizerHeapBytes() / 1024;
        return true;
    };
    t.Calling("open, process, close (warm-up)");
    for (int i = 0; i < 2; ++i)
        if (!cycle()) return;
    if (!measureKiB(before)) return t.Skip("resident size unknown here: " + why);
    t.Calling("open, process, close");
    for (int i = 0; i < cycles; ++i)
        if (!cycle()) return;
    measureKiB(after);
    const int64_t growth = after - before;
    if (growth > limit)
        t.Problem(std::string(measure) + " grew " + N(growth) + " KiB over " + N(cycles) + " cycles (" +
                      N(before) + " -> " + N(after) + " KiB)",
                  ctx.Level().memoryGrowthFailsFrom);
    else
        t.Note(std::string(measure) + " grew " + N(growth) + " KiB");
}

void RecordConsistent(TestContext& ctx) {
    TestCase t(ctx, "load.record",
               "the record's magic, callbacks, flags, I/O counts and unique ID are consistent");
    std::string error;
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    const AEffect* r = fx.Record();
    t.Calling("reading the record");
    if (r->magic != kEffectMagic) t.Fail("magic is not VstP");
    if (!r->dispatcher) t.Fail("no dispatcher");
    if (!r->setParameter || !r->getParameter) t.Fail("setParameter or getParameter is null");
    if ((r->flags & effFlagsCanReplacing) && !r->processReplacing)
        t.Fail("effFlagsCanReplacing is set but processReplacing is null");
    if ((r->flags & effFlagsCanDoubleReplacing) && !r->processDoubleReplacing)
        t.Fail("effFlagsCanDoubleReplacing is set but processDoubleReplacing is null");
    if (!(r->flags & effFlagsCanReplacing) && !r->process)
        t.Fail("neither processReplacing nor process exists");
    if (!(r->flags & effFlagsCanReplacing))
        t.Problem("effFlagsCanReplacing is not set (VST 2.4 requires it)", ctx.Level().conventionsFailFrom);
    if (!fx.ChannelCountsPlausible() || r->numInputs < 0 || r->numOutputs < 0)
        t.Fail("implausible channel counts " + N(r->numInputs) + " in / " + N(r->numOutputs) + " out");
    if (r->numOutputs == 0) t.Problem("no outputs", ctx.Level().answersFailFrom);
    if (r->numParams < 0 || r->numPrograms < 0)
        t.Fail("negative counts: " + N(r->numParams) + " parameters, " + N(r->numPrograms) + " programs");
    if (r->initialDelay < 0) t.Fail("negative initialDelay " + N(r->initialDelay));
    if (r->uniqueID == 0)
        t.Problem("unique ID is 0: hosts tell plug-ins and their saved state apart by it",
                  ctx.Level().answersFailFrom);
    if ((r->flags & effFlagsProgramChunks)) {
        std::vector<uint8_t> chunk;
        t.Calling("effGetChunk");
        if (!fx.GetChunk(true, chunk))
            t.Fail("effFlagsProgramChunks is set but effGetChunk gives no bank chunk");
    }
    t.Calling("effGetPlugCategory");
    intptr_t category = fx.Dispatch(effGetPlugCategory);
    if ((r->flags & effFlagsIsSynth) && category != kPlugCategSynth && category != kPlugCategUnknown)
        t.Problem("effFlagsIsSynth is set but the category is " + N(category),
                  ctx.Level().consistencyFailsFrom);
    t.Calling("effGetVstVersion");
    intptr_t version = fx.Dispatch(effGetVstVersion);
    if (version != 0 && version < 2000)
        t.Problem("effGetVstVersion answers " + N(version), ctx.Level().consistencyFailsFrom);
    // Two records of one module must not share their identity with the host's reserved fields.
    auto second = ctx.NewInstance(error);
    if (!second) return t.Fail("a second instance: " + error);
    if (second->Effect().Record()->uniqueID != r->uniqueID) t.Fail("a second instance has another unique ID");
}

// Checks one guarded answer; what names the query.
void CheckText(TestCase& t, const GuardedText& text, const std::string& what, bool mustTerminate = true) {
    if (size_t over = text.Overrun())
        t.Problem(what + " wrote " + N(static_cast<int64_t>(over)) + " bytes past the " +
                      N(static_cast<int64_t>(text.Allowed())) + " the interface allows",
                  t.Level().textLimitFailsFrom);
    if (mustTerminate && !text.Terminated())
        t.Fail(what + " is not terminated within " + N(static_cast<int64_t>(text.Allowed())) + " bytes");
    else if (!IsCleanUtf8(text.Text()))
        t.Problem(what + " is neither ASCII nor valid UTF-8 (or holds control characters)",
                  t.Level().textLimitFailsFrom);
}

void Query(TestCase& t, HostedEffect& fx, int32_t opcode, int32_t index, size_t allowed,
           const std::string& what) {
    GuardedText text(allowed);
    t.Calling(what);
    fx.Dispatch(opcode, index, 0, text.Data());
    CheckText(t, text, what);
}

// A record with fixed text fields, answered into a buffer with a guard behind the record.
template <typename Record>
struct GuardedRecord {
    std::vector<unsigned char> bytes =
        std::vector<unsigned char>(sizeof(Record) + GuardedText::kGuardBytes, GuardedText::kPattern);
    GuardedRecord() { std::memset(bytes.data(), 0, sizeof(Record)); }
    Record* Get() { return reinterpret_cast<Record*>(bytes.data()); }
    bool GuardIntact() const {
        for (size_t i = sizeof(Record); i < bytes.size(); ++i)
            if (bytes[i] != GuardedText::kPattern) return false;
        return true;
    }
};

template <size_t Size>
void CheckField(TestCase& t, const char (&field)[Size], const std::string& what) {
    if (!std::memchr(field, 0, Size))
        t.Fail(what + " is not terminated within its " + N(Size) + " bytes");
    else if (!IsCleanUtf8(field))
        t.Problem(what + " is neither ASCII nor valid UTF-8", t.Level().textLimitFailsFrom);
}

void GuardedTexts(TestContext& ctx) {
    TestCase t(
        ctx, "load.texts",
        "every text answer (names, labels, displays, vendor, product, program names, parameter and pin "
        "properties) stays within its size, is terminated and is ASCII or UTF-8");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    Query(t, fx, effGetEffectName, 0, TextLimit::kEffectName, "effGetEffectName");
    Query(t, fx, effGetVendorString, 0, TextLimit::kVendor, "effGetVendorString");
    Query(t, fx, effGetProductString, 0, TextLimit::kProduct, "effGetProductString");
    Query(t, fx, effGetProgramName, 0, TextLimit::kProgramName, "effGetProgramName");
    for (int32_t p = 0; p < std::min(fx.NumPrograms(), 1024); ++p)
        Query(t, fx, effGetProgramNameIndexed, p, TextLimit::kProgramName,
              "effGetProgramNameIndexed " + N(p));
    for (int32_t i = 0; i < std::min(fx.NumParams(), 4096); ++i) {
        Query(t, fx, effGetParamName, i, TextLimit::kParameterText, "effGetParamName " + N(i));
        Query(t, fx, effGetParamLabel, i, TextLimit::kParameterText, "effGetParamLabel " + N(i));
        Query(t, fx, effGetParamDisplay, i, TextLimit::kParameterText, "effGetParamDisplay " + N(i));
        GuardedRecord<VstParameterProperties> props;
        t.Calling("effGetParameterProperties " + N(i));
        if (fx.Dispatch(effGetParameterProperties, i, 0, props.Get())) {
            if (!props.GuardIntact()) t.Fail("effGetParameterProperties " + N(i) + " wrote past the record");
            CheckField(t, props.Get()->label, "the properties' label of parameter " + N(i));
            CheckField(t, props.Get()->shortLabel, "the properties' shortLabel of parameter " + N(i));
            CheckField(t, props.Get()->categoryLabel, "the properties' categoryLabel of parameter " + N(i));
        }
    }
    for (int input = 0; input < 2; ++input) {
        int32_t pins = input ? fx.NumInputs() : fx.NumOutputs();
        const char* name = input ? "effGetInputProperties " : "effGetOutputProperties ";
        for (int32_t c = 0; c < pins; ++c) {
            GuardedRecord<VstPinProperties> pin;
            t.Calling(name + N(c));
            if (fx.Dispatch(input ? effGetInputProperties : effGetOutputProperties, c, 0, pin.Get())) {
                if (!pin.GuardIntact()) t.Fail(name + N(c) + " wrote past the record");
                CheckField(t, pin.Get()->label, std::string("the label of ") + name + N(c));
                CheckField(t, pin.Get()->shortLabel, std::string("the shortLabel of ") + name + N(c));
            }
        }
    }
}

}  // namespace

void RunLoadGroup(TestContext& ctx) {
    LoadCycles(ctx);
    ManyInstances(ctx);
    MemoryGrowth(ctx);
    RecordConsistent(ctx);
    GuardedTexts(ctx);
}
