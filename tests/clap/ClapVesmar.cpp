#include "tests/clap/ClapVesmar.h"

ClapModule* ClapVesmar::module = nullptr;

void ClapVesmar::SetUpTestSuite() {
    module = new ClapModule;
    std::string error;
    ASSERT_TRUE(module->Load(VESMAR_CLAP_PATH, error)) << error;
}

void ClapVesmar::TearDownTestSuite() {
    delete module;
    module = nullptr;
}

void ClapVesmar::SetUp() {
    ASSERT_NE(module, nullptr);
    fx = Create(kStereoId);
    ASSERT_NE(fx, nullptr);
}

void ClapVesmar::TearDown() {
    fx.reset();
    EXPECT_EQ(rules.Violations(), std::vector<std::string>{});
}

std::unique_ptr<ClapPlugin> ClapVesmar::Create(const char* id) {
    auto plugin = std::make_unique<ClapPlugin>(*module, rules);
    std::string error;
    EXPECT_TRUE(plugin->Create(id, error)) << error;
    return plugin->Raw() ? std::move(plugin) : nullptr;
}

double ClapVesmar::Value(clap_id id, ClapPlugin* p) {
    ClapPlugin& plugin = p ? *p : *fx;
    double value = -12345.0;
    EXPECT_TRUE(Params(plugin).get_value(plugin.Raw(), id, &value)) << id;
    return value;
}

std::string ClapVesmar::Text(clap_id id, double value) {
    char text[64] = "untouched";
    EXPECT_TRUE(Params(*fx).value_to_text(fx->Raw(), id, value, text, sizeof text)) << id << " " << value;
    return text;
}

std::vector<uint8_t> ClapVesmar::Save(ClapPlugin& p, uint64_t piece) {
    ClapOutputStream stream(piece);
    auto* state = p.Extension<clap_plugin_state>(CLAP_EXT_STATE);
    return state && state->save(p.Raw(), stream.Table()) ? stream.Bytes() : std::vector<uint8_t>{};
}

bool ClapVesmar::Load(ClapPlugin& p, std::vector<uint8_t> bytes, uint64_t piece, uint64_t failAt) {
    ClapInputStream stream(std::move(bytes), piece, failAt);
    return p.Extension<clap_plugin_state>(CLAP_EXT_STATE)->load(p.Raw(), stream.Table());
}

void ClapVesmar::FlushValue(ClapPlugin& p, clap_id id, double value) {
    ClapInputEvents in;
    in.AddParam(0, id, value);
    p.Flush(in, p.FlushedEvents());
}

int32_t ClapVesmar::Run(ClapPlugin& p, ClapAudioBlock& block, uint32_t frames, ClapInputEvents& in,
                        ClapOutputEvents& out) {
    return p.Process(block.Record(frames, -1, in.Table(), out.Begin(frames)));
}
