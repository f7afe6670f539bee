// Parameters, their texts and the program list, through the controller.
#include <cmath>

#include "tests/vst3/Vst3Fixture.h"

namespace {

using Vst3Parameters = Vst3Fixture;

std::string Text(const vst3::char16* text) {
    std::string out;
    for (size_t i = 0; i < 128 && text[i]; ++i) out += static_cast<char>(text[i]);
    return out;
}

struct Expected {
    const char* title;
    const char* units;
    int32_t steps;
    bool list;
};
constexpr Expected kTable[] = {
    {"Attack", "ms", 8000, false}, {"Hold", "ms", 5000, false},    {"Decay", "ms", 8000, false},
    {"Shape ENV", "", 4, true},    {"Pan Width", "%", 100, false}, {"Pan Offset", "", 200, false},
    {"Pan Side", "", 2, true},     {"Note Off", "", 2, true},      {"Sides Vol Amplify", "dB", 22, false}};

}  // namespace

// Nine automatable parameters in the effect's order with titles, units and step counts (lists
// for the selectors, whole units for the integers), defaults that are a fresh instance's values,
// then the program parameter; every list entry and a few integers read and parse back.
TEST_F(Vst3Parameters, InfoAndTexts) {
    ASSERT_EQ(controller->getParameterCount(), 10);
    for (int32_t i = 0; i < 9; ++i) {
        vst3::ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), vst3::kResultOk);
        const Expected& e = kTable[i];
        EXPECT_EQ(info.id, static_cast<vst3::ParamID>(i));
        EXPECT_EQ(Text(info.title), e.title);
        EXPECT_EQ(Text(info.units), e.units);
        EXPECT_EQ(info.stepCount, e.steps) << e.title;
        EXPECT_EQ(info.flags, vst3::kCanAutomate | (e.list ? vst3::kIsList : 0)) << e.title;
        EXPECT_EQ(info.defaultNormalizedValue, controller->getParamNormalized(info.id)) << e.title;
        const int32_t probes = e.list ? e.steps + 1 : 4;
        for (int32_t k = 0; k < probes; ++k) {
            const int32_t step = e.list ? k : k * e.steps / 3;
            const double x = static_cast<double>(step) / e.steps;
            vst3::String128 shown{};
            ASSERT_EQ(controller->getParamStringByValue(info.id, x, shown), vst3::kResultOk);
            double back = -1;
            ASSERT_EQ(controller->getParamValueByString(info.id, shown, back), vst3::kResultOk);
            EXPECT_EQ(back, x) << e.title << " " << Text(shown);
            EXPECT_EQ(
                controller->plainParamToNormalized(info.id, controller->normalizedParamToPlain(info.id, x)),
                x);
        }
    }
    vst3::String128 shown{};
    controller->getParamStringByValue(kShape, 0.0, shown);
    EXPECT_EQ(Text(shown), "Linear");
    controller->getParamStringByValue(kSide, 0.5, shown);
    EXPECT_EQ(Text(shown), "Left");
    controller->getParamStringByValue(kAttack, 2200.0 / 8000, shown);
    EXPECT_EQ(Text(shown), "2200");
    // Any value has a text, and the interface's discrete rule decides the entry.
    EXPECT_EQ(controller->getParamStringByValue(kNoteOff, std::nan(""), shown), vst3::kResultOk);
    EXPECT_EQ(Text(shown), "ENV Off");
    EXPECT_EQ(controller->normalizedParamToPlain(kSide, 0.34), 1.0);
    EXPECT_EQ(controller->getParamStringByValue(4242, 0.0, shown), vst3::kInvalidArgument);

    vst3::ParameterInfo program{};
    ASSERT_EQ(controller->getParameterInfo(9, program), vst3::kResultOk);
    EXPECT_EQ(program.id, kProgramId);
    EXPECT_EQ(program.stepCount, 9);
    EXPECT_EQ(program.flags, vst3::kIsProgramChange | vst3::kIsList);  // not automatable
    EXPECT_EQ(program.unitId, vst3::kRootUnitId);
}

// A value the host sets is the effect's at once: read back and in the component's state before
// any process call; no edit comes back for it.
TEST_F(Vst3Parameters, HostValuesReachTheState) {
    const std::vector<uint8_t> before = State(*fx);
    handler.Clear();
    SetPlain(kHold, 1234);
    EXPECT_EQ(Plain(kHold), 1234);
    EXPECT_NE(State(*fx), before);
    for (const auto& r : handler.Records()) EXPECT_NE(r.call, HostComponentHandler::Call::kPerform);
    EXPECT_EQ(controller->setParamNormalized(4242, 0.5), vst3::kInvalidArgument);
}

// Ten programs in one list of the root unit; selecting one (through the controller, or as a
// value in process) loads its values, and the host is asked to read them outside its own call.
TEST_F(Vst3Parameters, Programs) {
    vst3::IUnitInfo* units = fx->Units();
    ASSERT_EQ(units->getUnitCount(), 1);
    vst3::UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), vst3::kResultOk);
    EXPECT_EQ(unit.id, vst3::kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, vst3::kNoParentUnitId);
    vst3::ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListCount(), 1);
    ASSERT_EQ(units->getProgramListInfo(0, list), vst3::kResultOk);
    EXPECT_EQ(list.id, unit.programListId);
    EXPECT_EQ(list.programCount, 10);
    vst3::String128 name{};
    ASSERT_EQ(units->getProgramName(list.id, 1, name), vst3::kResultOk);
    EXPECT_EQ(Text(name), "Long Envelopes");
    EXPECT_EQ(units->getProgramName(list.id, 10, name), vst3::kInvalidArgument);
    controller->getParamStringByValue(kProgramId, 5.0 / 9, name);
    EXPECT_EQ(Text(name), "Chill pan");

    handler.Clear();
    ASSERT_EQ(controller->setParamNormalized(kProgramId, 1.0 / 9), vst3::kResultOk);
    EXPECT_EQ(Plain(kAttack), 2200);
    EXPECT_EQ(Plain(kHold), 2400);
    EXPECT_EQ(controller->getParamNormalized(kProgramId), 1.0 / 9);
    // Not inside the host's program change (a host may hold a lock there that its handler takes):
    // the next block reports the values, the next UI-thread call asks for a restart.
    EXPECT_TRUE(handler.Records().empty());
    Process(kBlockSize, 0, 0);
    double reported = -1;
    EXPECT_TRUE(changesOut.Last(kHold, reported));
    EXPECT_EQ(reported, controller->getParamNormalized(kHold));
    SetPlain(kWidth, 10);
    auto records = handler.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].call, HostComponentHandler::Call::kRestart);
    EXPECT_EQ(records[0].value, vst3::kParamValuesChanged);

    handler.Clear();
    changesIn.Add(kProgramId, 0, 5.0 / 9);
    Process(kBlockSize, 0, 0);
    EXPECT_EQ(Plain(kAttack), 5000);
    EXPECT_TRUE(handler.Records().empty());  // not from the audio thread
    SetPlain(kWidth, 10);                    // the next UI-thread call brings it
    records = handler.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].call, HostComponentHandler::Call::kRestart);
}
