// programs: every program can be selected, is named and renders; program numbers and names out
// of range are refused safely; programs change between blocks while processing.
#include <cmath>
#include <limits>

#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/GuardedText.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

constexpr int32_t kMaxCheckedPrograms = 1024;

bool AllFinite(const std::vector<float>& samples) {
    for (float s : samples)
        if (!std::isfinite(s)) return false;
    return true;
}

void CheckName(TestCase& t, HostedEffect& fx, int32_t opcode, int32_t index, const std::string& what) {
    GuardedText name(TextLimit::kProgramName);
    t.Calling(what);
    fx.Dispatch(opcode, index, 0, name.Data());
    if (name.Overrun())
        t.Problem(what + " wrote " + N(int64_t(name.Overrun())) + " bytes past the " +
                      N(int64_t(name.Allowed())) + " allowed",
                  t.Level().textLimitFailsFrom);
    if (!name.Terminated()) t.Fail(what + " is not terminated");
}

void SelectEach(TestContext& ctx) {
    TestCase t(ctx, "programs.select",
               "every program can be selected, reads back as current, has a name (the same by index and as "
               "current) and renders finite audio");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    int32_t count = std::min(fx.NumPrograms(), kMaxCheckedPrograms);
    if (count == 0) return t.Skip("the plug-in has no programs");
    for (int32_t p = 0; p < count; ++p) {
        t.Calling("effSetProgram " + N(p));
        fx.SetProgram(p);
        if (fx.Program() != p)
            t.Fail("after effSetProgram " + N(p) + " effGetProgram answers " + N(fx.Program()));
        std::string current = fx.ProgramName(), indexed = fx.ProgramNameIndexed(p);
        if (indexed.empty() && current.empty())
            t.Problem("program " + N(p) + " has no name", ctx.Level().consistencyFailsFrom);
        else if (current != indexed)
            t.Problem(
                "program " + N(p) + " is \"" + current + "\" as current but \"" + indexed + "\" by index",
                ctx.Level().consistencyFailsFrom);
        t.Calling("processReplacing with program " + N(p));
        if (!AllFinite(instance->Render(ctx.Level().programRenderBlocks)))
            t.Fail("program " + N(p) + " renders NaN or infinity from the test signal");
        fx.Suspend();
    }
}

void OutOfRange(TestContext& ctx) {
    TestCase t(ctx, "programs.out-of-range",
               "program numbers out of range leave a valid program selected, their names are answered within "
               "bounds, and hostile program names are cut or refused safely");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    const int32_t n = fx.NumPrograms();
    if (n > 1) fx.SetProgram(1);
    const int32_t before = fx.Program();
    const intptr_t numbers[] = {-1,
                                n,
                                n + 1,
                                1000000,
                                std::numeric_limits<int32_t>::max(),
                                std::numeric_limits<int32_t>::min(),
                                intptr_t{1} << 40};
    for (intptr_t p : numbers) {
        t.Calling("effSetProgram " + N(int64_t(p)));
        fx.Dispatch(effBeginSetProgram);
        fx.Dispatch(effSetProgram, 0, p);
        fx.Dispatch(effEndSetProgram);
        int32_t now = fx.Program();
        if (now < 0 || (n > 0 && now >= n))
            t.Fail("effSetProgram " + N(int64_t(p)) + " left program " + N(now) + " selected, out of range");
        else if (now != before)
            t.Problem("effSetProgram " + N(int64_t(p)) + " (out of range) changed the program to " + N(now),
                      ctx.Level().answersFailFrom);
        if (p >= std::numeric_limits<int32_t>::min() && p <= std::numeric_limits<int32_t>::max())
            CheckName(t, fx, effGetProgramNameIndexed, static_cast<int32_t>(p),
                      "effGetProgramNameIndexed " + N(int64_t(p)));
    }
    // Names a host may hand over: very long, empty, not UTF-8. The name read back must still fit.
    std::vector<std::string> names = {std::string(1000, 'n'), "", "\xff\xfe\x80 bad",
                                      std::string(64, '\xe9')};
    for (const std::string& name : names) {
        std::string copy = name;
        t.Calling("effSetProgramName with a " + N(int64_t(name.size())) + "-byte name");
        fx.Dispatch(effSetProgramName, 0, 0, copy.data());
        CheckName(t, fx, effGetProgramName, 0,
                  "effGetProgramName after a " + N(int64_t(name.size())) + "-byte name");
        if (fx.Program() >= 0)
            CheckName(t, fx, effGetProgramNameIndexed, fx.Program(),
                      "effGetProgramNameIndexed after renaming");
    }
    t.Calling("effSetProgramName with no text");
    fx.Dispatch(effSetProgramName, 0, 0, nullptr);
}

void ChangeWhileProcessing(TestContext& ctx) {
    int blocks = ctx.Level().programRenderBlocks * 8;
    TestCase t(ctx, "programs.while-processing",
               "programs changed between " + N(blocks) + " processed blocks keep the output finite");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    int32_t n = std::min(fx.NumPrograms(), kMaxCheckedPrograms);
    if (n < 2) return t.Skip("fewer than two programs");
    for (int b = 0; b < blocks; ++b) {
        int32_t p = static_cast<int32_t>(t.Random().Below(static_cast<uint64_t>(n)));
        t.Calling("effSetProgram " + N(p) + " while resumed, then processReplacing");
        fx.SetProgram(p);
        if (!AllFinite(instance->Render(1, int64_t{b} * instance->BlockSize()))) {
            t.Fail("the block after switching to program " + N(p) + " holds NaN or infinity");
            break;
        }
    }
}

}  // namespace

void RunProgramsGroup(TestContext& ctx) {
    SelectEach(ctx);
    OutOfRange(ctx);
    ChangeWhileProcessing(ctx);
}
