// The component's state through IBStream: round trip in pieces of any size, hostile streams.
#include "tests/vst3/Vst3Fixture.h"

namespace {

using Vst3State = Vst3Fixture;

}  // namespace

// A changed instance's state loads into a fresh one read one byte per call, gives the same
// values and the same bytes; setComponentState with those bytes changes nothing further, and the
// controller's own state is empty.
TEST_F(Vst3State, RoundTripInAnyPieces) {
    SetPlain(kAttack, 1500);
    SetPlain(kSide, 2);
    ASSERT_EQ(controller->setParamNormalized(kProgramId, 3.0 / 9), vst3::kResultOk);
    SetPlain(kDecay, 4321);
    const std::vector<uint8_t> saved = State(*fx);

    auto other = Create();
    for (int32_t piece : {1, 7, 0}) {
        MemoryStream stream(saved);
        stream.SetReadPiece(piece);
        ASSERT_EQ(other->Component()->setState(&stream), vst3::kResultOk) << piece;
        EXPECT_EQ(State(*other), saved) << piece;
    }
    vst3::IEditController* c = other->Controller();
    EXPECT_EQ(c->normalizedParamToPlain(kDecay, c->getParamNormalized(kDecay)), 4321);
    EXPECT_EQ(c->getParamNormalized(kProgramId), 3.0 / 9);
    MemoryStream again(saved);
    EXPECT_EQ(c->setComponentState(&again), vst3::kResultOk);
    EXPECT_EQ(State(*other), saved);
    MemoryStream controllerState;
    EXPECT_EQ(c->getState(&controllerState), vst3::kResultOk);
    EXPECT_TRUE(controllerState.Bytes().empty());
}

// Short, long, empty and damaged streams are refused and leave the state as it was.
TEST_F(Vst3State, HostileStreamsChangeNothing) {
    SetPlain(kHold, 999);
    const std::vector<uint8_t> saved = State(*fx);
    SetPlain(kHold, 111);
    const std::vector<uint8_t> current = State(*fx);

    std::vector<std::vector<uint8_t>> hostile;
    hostile.push_back({});
    hostile.emplace_back(saved.begin(), saved.begin() + static_cast<long>(saved.size() / 2));
    hostile.emplace_back(saved.begin(), saved.end() - 1);
    hostile.push_back(saved);
    hostile.back().push_back(0);
    hostile.push_back(saved);
    hostile.back()[0] ^= 0xFF;  // magic
    hostile.push_back(saved);
    for (size_t i = 12; i < hostile.back().size(); i += 5) hostile.back()[i] = 0xFF;  // lengths and values
    hostile.emplace_back(size_t{2} << 20, 0);                                         // beyond any bank
    for (size_t i = 0; i < hostile.size(); ++i) {
        MemoryStream stream(hostile[i]);
        EXPECT_EQ(fx->Component()->setState(&stream), vst3::kResultFalse) << i;
        MemoryStream again(hostile[i]);
        EXPECT_EQ(controller->setComponentState(&again), vst3::kResultFalse) << i;
        EXPECT_EQ(State(*fx), current) << i;
    }
    EXPECT_EQ(fx->Component()->setState(nullptr), vst3::kResultFalse);
    EXPECT_EQ(Plain(kHold), 111);
}
