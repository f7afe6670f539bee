// parameters: values set through setParameter come back, hostile values are absorbed, display
// texts stay well-formed over the whole range, text entry survives any text, the properties
// agree with the values a stepped parameter takes, and every index out of range is answered
// safely.
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "tools/vsthost/host/PluginCall.h"
#include "tools/vsthost/validate/Describe.h"
#include "tools/vsthost/validate/GuardedText.h"
#include "tools/vsthost/validate/TestCase.h"

namespace {

constexpr int32_t kMaxCheckedParameters = 4096;

int32_t CheckedParameters(HostedEffect& fx) {
    return std::min(fx.NumParams(), kMaxCheckedParameters);
}

bool InUnitRange(float v) {
    return std::isfinite(v) && v >= 0.0f && v <= 1.0f;
}

// The spacing of the values a parameter takes when its properties say it is stepped: integer
// min..max, a switch, or float steps that divide the range into whole steps; 0 when continuous.
double StepOf(const VstParameterProperties& p, bool hasProperties) {
    if (!hasProperties) return 0;
    if (p.flags & kVstParameterIsSwitch) return 1.0;
    if ((p.flags & kVstParameterUsesIntegerMinMax) && p.maxInteger > p.minInteger)
        return 1.0 / (double(p.maxInteger) - double(p.minInteger));
    if ((p.flags & kVstParameterUsesFloatStep) && p.stepFloat > 0 && p.stepFloat <= 1) {
        double steps = 1.0 / double(p.stepFloat);
        if (std::fabs(steps - std::round(steps)) < 1e-3 * steps) return double(p.stepFloat);
    }
    return 0;
}

void RoundTrip(TestContext& ctx) {
    TestCase t(ctx, "parameters.round-trip",
               "0, 0.5, 1 and " + N(ctx.Level().randomValues) +
                   " random values per parameter come back within tolerance (half a step when stepped) or as "
                   "a value announced to the host, and a value read back is kept when set again");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    int adjusted = 0;
    for (int32_t i = 0; i < CheckedParameters(fx); ++i) {
        VstParameterProperties props{};
        bool has = fx.ParameterProperties(i, props);
        double step = StepOf(props, has);
        double tolerance = step > 0 ? step / 2 + 1e-6 : 1e-5;
        std::vector<float> values = {0.0f, 0.5f, 1.0f};
        for (int k = 0; k < ctx.Level().randomValues; ++k)
            values.push_back(static_cast<float>(t.Random().Unit()));
        t.Calling("setParameter/getParameter " + N(i));
        int misses = 0;
        for (float v : values) {
            instance->Host().ClearRecords();
            fx.SetParameter(i, v);
            float back = fx.GetParameter(i);
            if (!InUnitRange(back)) {
                t.Fail("parameter " + N(i) + " set to " + F(v) + " reads back " + F(back) + ", outside 0..1");
                continue;
            }
            // A plug-in may hold a parameter to a rule of its own (one limited by another) if it
            // tells the host the value it kept.
            bool announced = false;
            for (const HostAutomation& a : instance->Host().Automations())
                announced = announced || (a.index == i && a.value == back);
            if (announced && std::fabs(double(back) - double(v)) > tolerance) ++adjusted;
            if (!announced && std::fabs(double(back) - double(v)) > tolerance && misses++ == 0)
                t.Problem("parameter " + N(i) + " set to " + F(v) + " reads back " + F(back) +
                              (step > 0 ? " (more than half its step " + F(step) + " away)" : ""),
                          ctx.Level().consistencyFailsFrom);
            fx.SetParameter(i, back);
            float again = fx.GetParameter(i);
            if (std::fabs(double(again) - double(back)) > 1e-6)
                t.Fail("parameter " + N(i) + ": its own value " + F(back) + " set again reads back " +
                       F(again));
        }
    }
    if (adjusted)
        t.Note(N(adjusted) + " values adjusted by the plug-in and announced through audioMasterAutomate");
}

void HostileValues(TestContext& ctx) {
    TestCase t(ctx, "parameters.hostile-values",
               "NaN, +-inf, -1, 2, -0 and denormals never crash and never read back outside 0..1");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            -std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            -1.0f,
                            2.0f,
                            -0.0f,
                            std::numeric_limits<float>::denorm_min(),
                            1e-40f,
                            -1e-40f,
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::lowest()};
    for (int32_t i = 0; i < CheckedParameters(fx); ++i) {
        t.Calling("setParameter " + N(i) + " with hostile values");
        for (float v : values) {
            fx.SetParameter(i, v);
            float back = fx.GetParameter(i);
            if (!InUnitRange(back))
                t.Fail("parameter " + N(i) + " set to " + F(v) + " reads back " + F(back));
        }
        // The display of what is left must still be a sound text.
        GuardedText display(TextLimit::kParameterText);
        t.Calling("effGetParamDisplay " + N(i) + " after hostile values");
        fx.Dispatch(effGetParamDisplay, i, 0, display.Data());
        if (display.Overrun() || !display.Terminated())
            t.Fail("the display of parameter " + N(i) +
                   " after hostile values overran or was not terminated");
    }
}

void DisplaySweep(TestContext& ctx) {
    int steps = ctx.Level().displaySweep;
    TestCase t(
        ctx, "parameters.display",
        "display texts over " + N(steps) + " values per parameter fit, are terminated and ASCII or UTF-8");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    for (int32_t i = 0; i < CheckedParameters(fx); ++i) {
        t.Calling("effGetParamDisplay " + N(i) + " over the range");
        for (int s = 0; s < steps; ++s) {
            float v = steps > 1 ? float(s) / float(steps - 1) : 0.5f;
            fx.SetParameter(i, v);
            GuardedText display(TextLimit::kParameterText);
            fx.Dispatch(effGetParamDisplay, i, 0, display.Data());
            std::string at = "the display of parameter " + N(i) + " at " + F(v);
            if (display.Overrun())
                t.Problem(at + " wrote past the " + N(int64_t(display.Allowed())) + " bytes allowed",
                          ctx.Level().textLimitFailsFrom);
            if (!display.Terminated())
                t.Fail(at + " is not terminated");
            else if (!IsCleanUtf8(display.Text()))
                t.Problem(at + " is neither ASCII nor UTF-8", ctx.Level().textLimitFailsFrom);
        }
    }
}

void TextEntry(TestContext& ctx) {
    TestCase t(ctx, "parameters.string2parameter",
               "effString2Parameter with junk, empty, huge and non-UTF-8 texts (and none) never crashes and "
               "leaves the value in 0..1");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    std::vector<std::string> texts = {"",       "junk",       "\xff\xfe\x80\xc0", "nan", "-inf", "1e308",
                                      "-1e308", "0x7fffffff", "  12  ",           "50%", "-0",   "\x7f\x01"};
    texts.push_back(std::string(65536, '9'));
    texts.push_back(std::string(4096, '\xe9'));
    std::string random(256, ' ');
    for (char& c : random) c = static_cast<char>(t.Random().Between(1, 255));
    texts.push_back(random);
    for (int32_t i = 0; i < CheckedParameters(fx); ++i) {
        t.Calling("effString2Parameter " + N(i));
        for (const std::string& text : texts) {
            // A writable copy with room behind it: some plug-ins write their normalised value back.
            std::vector<char> buffer(text.begin(), text.end());
            buffer.resize(text.size() + 256, '\0');
            fx.Dispatch(effString2Parameter, i, 0, buffer.data());
            float back = fx.GetParameter(i);
            if (!InUnitRange(back))
                t.Fail("parameter " + N(i) + " reads " + F(back) + " after effString2Parameter with a " +
                       N(int64_t(text.size())) + "-byte text");
        }
        fx.Dispatch(effString2Parameter, i, 0, nullptr);
        if (!InUnitRange(fx.GetParameter(i)))
            t.Fail("parameter " + N(i) + " left outside 0..1 by a null text");
    }
}

void Properties(TestContext& ctx) {
    TestCase t(
        ctx, "parameters.properties",
        "parameter properties are self-consistent and agree with the values a stepped parameter takes");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    for (int32_t i = 0; i < CheckedParameters(fx); ++i) {
        VstParameterProperties p{};
        t.Calling("effGetParameterProperties " + N(i));
        if (!fx.ParameterProperties(i, p)) continue;
        std::string which = "parameter " + N(i) + ": ";
        if ((p.flags & kVstParameterUsesIntegerMinMax) && p.minInteger > p.maxInteger)
            t.Fail(which + "minInteger " + N(p.minInteger) + " above maxInteger " + N(p.maxInteger));
        if ((p.flags & kVstParameterUsesIntStep) && (p.stepInteger <= 0 || p.largeStepInteger < 0))
            t.Problem(which + "integer steps " + N(p.stepInteger) + "/" + N(p.largeStepInteger),
                      ctx.Level().descriptionsFailFrom);
        if (p.flags & kVstParameterUsesFloatStep) {
            bool sane = std::isfinite(p.stepFloat) && p.stepFloat > 0 && p.stepFloat <= 1 &&
                        std::isfinite(p.smallStepFloat) && std::isfinite(p.largeStepFloat) &&
                        (p.smallStepFloat <= 0 || p.smallStepFloat <= p.stepFloat) &&
                        (p.largeStepFloat <= 0 || p.largeStepFloat >= p.stepFloat);
            if (!sane)
                t.Problem(which + "float steps " + F(p.smallStepFloat) + " / " + F(p.stepFloat) + " / " +
                              F(p.largeStepFloat) + " are not ordered small <= step <= large within 0..1",
                          ctx.Level().descriptionsFailFrom);
        }
        if ((p.flags & kVstParameterSupportsDisplayCategory) && p.category < 1)
            t.Problem(which + "category " + N(p.category) + " (categories count from 1)",
                      ctx.Level().descriptionsFailFrom);
        double step = StepOf(p, true);
        if (step <= 0) continue;
        // The values the parameter takes must lie on its announced grid.
        t.Calling("setParameter/getParameter " + N(i) + " against its steps");
        for (int k = 0; k < ctx.Level().randomValues; ++k) {
            float v = static_cast<float>(t.Random().Unit());
            fx.SetParameter(i, v);
            double back = fx.GetParameter(i);
            double position = back / step;
            if (std::fabs(position - std::round(position)) > 1e-3) {
                t.Problem(which + "set to " + F(v) + " it reads back " + F(back) + ", off its step grid of " +
                              F(step),
                          ctx.Level().consistencyFailsFrom);
                break;
            }
        }
    }
}

void OutOfRange(TestContext& ctx) {
    TestCase t(ctx, "parameters.out-of-range",
               "every call with a parameter index out of range is answered safely (texts within bounds, "
               "getParameter finite)");
    auto instance = t.NewInstance();
    if (!instance) return;
    HostedEffect& fx = instance->Effect();
    const int32_t n = fx.NumParams();
    const int32_t indices[] = {
        -1, n, n + 1, 1000000, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()};
    for (int32_t i : indices) {
        t.Calling("setParameter/getParameter " + N(i));
        fx.SetParameter(i, 0.5f);
        float v = fx.GetParameter(i);
        if (!std::isfinite(v)) t.Fail("getParameter " + N(i) + " answers " + F(v));
        const int32_t opcodes[] = {effGetParamName, effGetParamLabel, effGetParamDisplay};
        for (int32_t op : opcodes) {
            GuardedText text(TextLimit::kParameterText);
            t.Calling(std::string(EffectOpcodeName(op)) + " " + N(i));
            fx.Dispatch(op, i, 0, text.Data());
            if (text.Overrun() || !text.Terminated())
                t.Fail(std::string(EffectOpcodeName(op)) + " " + N(i) +
                       " overran or left the buffer unterminated");
        }
        VstParameterProperties props{};
        t.Calling("effGetParameterProperties " + N(i));
        fx.ParameterProperties(i, props);
        char text[64] = "0.5";
        t.Calling("effString2Parameter " + N(i));
        fx.Dispatch(effString2Parameter, i, 0, text);
        t.Calling("effCanBeAutomated " + N(i));
        fx.Dispatch(effCanBeAutomated, i);
    }
    // The real parameters are untouched by all this.
    for (int32_t i = 0; i < CheckedParameters(fx); ++i)
        if (!InUnitRange(fx.GetParameter(i))) t.Fail("parameter " + N(i) + " left outside 0..1");
}

}  // namespace

void RunParametersGroup(TestContext& ctx) {
    RoundTrip(ctx);
    HostileValues(ctx);
    DisplaySweep(ctx);
    TextEntry(ctx);
    Properties(ctx);
    OutOfRange(ctx);
}
