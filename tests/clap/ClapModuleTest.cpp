// The module through clap_entry: its two plug-ins, the nine parameters with their texts, and the
// state through short and hostile streams.
#include <cmath>
#include <cstring>

#include "tests/clap/ClapVesmar.h"

namespace {

struct Expected {
    const char* name;
    uint32_t flags;
    double min, max, def;
};
constexpr uint32_t kInt = CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_AUTOMATABLE;
constexpr uint32_t kEnum = kInt | CLAP_PARAM_IS_ENUM;
const Expected kParams[] = {
    {"Attack", kInt, 0, 8000, 500}, {"Hold", kInt, 0, 5000, 200},    {"Decay", kInt, 0, 8000, 800},
    {"Shape ENV", kEnum, 0, 4, 0},  {"Pan Width", kInt, 0, 100, 70}, {"Pan Offset", kInt, -100, 100, 0},
    {"Pan Side", kEnum, 0, 2, 0},   {"Note Off", kEnum, 0, 2, 1},    {"Sides Vol Amplify", kInt, 0, 22, 6},
};

}  // namespace

TEST_F(ClapVesmar, FactoryOffersStereoAndMonoUnderExactIdsOnly) {
    const clap_plugin_factory* factory = module->Factory();
    ASSERT_EQ(factory->get_plugin_count(factory), 2u);
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 2), nullptr);
    const char* ids[] = {kStereoId, kMonoId};
    const char* layouts[] = {"stereo", "mono"};
    for (uint32_t i = 0; i < 2; ++i) {
        const clap_plugin_descriptor* d = factory->get_plugin_descriptor(factory, i);
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(clap_version_is_compatible(d->abi_version));
        EXPECT_STREQ(d->id, ids[i]);
        EXPECT_STREQ(d->vendor, "Darvo");
        EXPECT_STREQ(d->version, "1.1.0");
        EXPECT_STRNE(d->url, "");
        ASSERT_NE(d->features, nullptr);
        EXPECT_STREQ(d->features[0], "audio-effect");
        EXPECT_STREQ(d->features[1], layouts[i]);
        EXPECT_EQ(d->features[2], nullptr);
    }
    EXPECT_EQ(factory->create_plugin(factory, fx->Host().Table(), "audio.darvo.vesmarx"), nullptr);
    EXPECT_EQ(factory->create_plugin(factory, fx->Host().Table(), "audio.darvo.vesma"), nullptr);
    EXPECT_EQ(module->Entry()->get_factory("clap.preset-discovery-factory/2"), nullptr);
    // init is counted: a second pair leaves the module working.
    EXPECT_TRUE(module->Entry()->init(VESMAR_CLAP_PATH));
    module->Entry()->deinit();
    EXPECT_EQ(factory->get_plugin_count(factory), 2u);

    for (uint32_t i = 0; i < 2; ++i) {
        auto plugin = Create(ids[i]);
        auto* ports = plugin->Extension<clap_plugin_audio_ports>(CLAP_EXT_AUDIO_PORTS);
        auto* notes = plugin->Extension<clap_plugin_note_ports>(CLAP_EXT_NOTE_PORTS);
        for (bool input : {true, false}) {
            ASSERT_EQ(ports->count(plugin->Raw(), input), 1u);
            clap_audio_port_info info{};
            ASSERT_TRUE(ports->get(plugin->Raw(), 0, input, &info));
            EXPECT_EQ(info.channel_count, 2 - i);
            EXPECT_STREQ(info.port_type, layouts[i]);
            EXPECT_EQ(info.flags, CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS);
            EXPECT_EQ(info.in_place_pair, CLAP_INVALID_ID);
            clap_note_port_info note{};
            ASSERT_EQ(notes->count(plugin->Raw(), input), 1u);
            ASSERT_TRUE(notes->get(plugin->Raw(), 0, input, &note));
            EXPECT_EQ(note.supported_dialects, CLAP_NOTE_DIALECT_MIDI);
            EXPECT_EQ(note.preferred_dialect, CLAP_NOTE_DIALECT_MIDI);
        }
        ASSERT_TRUE(plugin->Activate(48000, 1, 512));
        EXPECT_EQ(plugin->Extension<clap_plugin_latency>(CLAP_EXT_LATENCY)->get(plugin->Raw()), 0u);
    }
}

TEST_F(ClapVesmar, NineParametersWithStableIdsFlagsRangesAndTexts) {
    const clap_plugin_params& params = Params(*fx);
    ASSERT_EQ(params.count(fx->Raw()), 9u);
    EXPECT_FALSE(params.get_info(fx->Raw(), 9, nullptr));
    for (uint32_t i = 0; i < 9; ++i) {
        clap_param_info info{};
        ASSERT_TRUE(params.get_info(fx->Raw(), i, &info));
        const Expected& e = kParams[i];
        EXPECT_EQ(info.id, i);
        EXPECT_STREQ(info.name, e.name);
        EXPECT_EQ(info.flags, e.flags) << i;
        EXPECT_EQ(info.min_value, e.min);
        EXPECT_EQ(info.max_value, e.max);
        EXPECT_EQ(info.default_value, e.def);
        EXPECT_EQ(Value(i), e.def);
        // Every stepped value has a text, and the text reads back as the value.
        for (double v = e.min; v <= e.max; v += (e.max - e.min > 200 ? 97 : 1)) {
            std::string text = Text(i, v);
            ASSERT_FALSE(text.empty()) << i << " " << v;
            double back = -1;
            ASSERT_TRUE(params.text_to_value(fx->Raw(), i, text.c_str(), &back)) << text;
            EXPECT_EQ(back, v) << text;
        }
    }
    EXPECT_EQ(Text(kShape, 4), "Attack slow && Decay fast");
    EXPECT_EQ(Text(kNoteOff, 1), "ENV Decay");
    EXPECT_EQ(Text(kAttack, 500), "500 ms");
    EXPECT_EQ(Text(kOffset, -50), "-50");
    double v = 0;
    EXPECT_FALSE(params.text_to_value(fx->Raw(), kAttack, "fast", &v));
    EXPECT_FALSE(params.value_to_text(fx->Raw(), 9, 0, nullptr, 0));
    EXPECT_FALSE(params.get_value(fx->Raw(), 9, &v));
    ASSERT_TRUE(params.text_to_value(fx->Raw(), kAttack, "99999", &v));
    EXPECT_EQ(v, 8000);
}

TEST_F(ClapVesmar, StateRoundTripsThroughSmallPiecesWithTheCurrentProgram) {
    FlushValue(*fx, kAttack, 1234);
    FlushValue(*fx, kSide, 2);
    FlushValue(*fx, 99, 1);  // no such parameter: ignored
    std::vector<uint8_t> saved = Save(*fx);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved, Save(*fx, 1u << 20));  // the piece size changes nothing

    auto other = Create(kStereoId);
    ASSERT_TRUE(Load(*other, saved, 17));
    for (clap_id i = 0; i < 9; ++i) EXPECT_EQ(Value(i, other.get()), Value(i)) << i;
    EXPECT_EQ(Value(kAttack, other.get()), 1234);
    EXPECT_EQ(Save(*other), saved);
}

TEST_F(ClapVesmar, HostileStateStreamsAreRefusedWithoutAChange) {
    FlushValue(*fx, kHold, 4321);
    std::vector<uint8_t> good = Save(*fx);
    auto other = Create(kStereoId);
    FlushValue(*other, kDecay, 77);
    const std::vector<uint8_t> before = Save(*other);
    auto refused = [&](std::vector<uint8_t> bytes, uint64_t failAt = ClapInputStream::kNever) {
        EXPECT_FALSE(Load(*other, std::move(bytes), 17, failAt));
        EXPECT_EQ(Save(*other), before);
    };
    refused({});
    for (size_t n = 1; n < good.size(); n += 7) refused({good.begin(), good.begin() + static_cast<long>(n)});
    refused(good, good.size() / 2);  // the host's storage fails half way
    std::vector<uint8_t> padded = good;
    padded.push_back(0);
    refused(padded);
    for (size_t at : {size_t{0}, size_t{4}, size_t{8}, size_t{16}}) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x5A;  // magic, version, program index, the bank's own magic
        refused(bad);
    }
    // A failing write stream is reported, not ignored.
    ClapOutputStream failing(17, 20);
    EXPECT_FALSE(fx->Extension<clap_plugin_state>(CLAP_EXT_STATE)->save(fx->Raw(), failing.Table()));
    ASSERT_TRUE(Load(*other, good));
    EXPECT_EQ(Value(kHold, other.get()), 4321);
}
