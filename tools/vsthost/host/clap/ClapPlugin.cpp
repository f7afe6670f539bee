#include "tools/vsthost/host/clap/ClapPlugin.h"

#include <cstring>

ClapPlugin::ClapPlugin(const ClapModule& owner, ClapRuleBook& book)
    : module(owner), rules(book), host(book), flushed(book) {
    rules.SetAudioThread(audio.Id());
}

ClapPlugin::~ClapPlugin() {
    if (Phase() == ClapPhase::Processing) StopProcessing();
    if (Phase() == ClapPhase::Active) Deactivate();
    Destroy();
}

bool ClapPlugin::Expect(bool allowed, const char* call) {
    if (!allowed) rules.Violation(std::string("host slip: ") + call + " in the wrong state");
    if (!rules.OnMainThread()) rules.Violation(std::string("host slip: ") + call + " off the main thread");
    return allowed;
}

bool ClapPlugin::Create(const char* id, std::string& error) {
    const clap_plugin_factory* factory = module.Factory();
    if (!Expect(factory && !plugin, "create_plugin")) {
        error = "no factory, or an instance exists";
        return false;
    }
    host.SetPhase(ClapPhase::Creating);
    plugin = factory->create_plugin(factory, host.Table(), id);
    if (!plugin) {
        error = std::string("create_plugin refused '") + id + "'";
        return false;
    }
    host.SetPlugin(plugin);
    host.SetPhase(ClapPhase::Initialising);
    if (!plugin->init(plugin)) {
        error = "plugin.init failed";
        Destroy();
        return false;
    }
    host.SetPhase(ClapPhase::Inactive);
    return true;
}

void ClapPlugin::Destroy() {
    if (!plugin) return;
    plugin->destroy(plugin);
    host.SetPhase(ClapPhase::Destroyed);
    if (!host.Timers().empty() || !host.Fds().empty())
        rules.Violation("plug-in left timers or fds registered after destroy");
    plugin = nullptr;
}

bool ClapPlugin::Activate(double sampleRate, uint32_t minCount, uint32_t maxCount) {
    if (!Expect(Phase() == ClapPhase::Inactive && minCount >= 1 && minCount <= maxCount, "activate"))
        return false;
    host.SetPhase(ClapPhase::Activating);
    bool ok = plugin->activate(plugin, sampleRate, minCount, maxCount);
    host.SetPhase(ok ? ClapPhase::Active : ClapPhase::Inactive);
    minFrames = minCount;
    maxFrames = maxCount;
    return ok;
}

void ClapPlugin::Deactivate() {
    if (!Expect(Phase() == ClapPhase::Active, "deactivate")) return;
    plugin->deactivate(plugin);
    host.SetPhase(ClapPhase::Inactive);
}

bool ClapPlugin::StartProcessing() {
    if (!Expect(Phase() == ClapPhase::Active, "start_processing")) return false;
    bool ok = false;
    audio.Run([&] { ok = plugin->start_processing(plugin); });
    if (ok) host.SetPhase(ClapPhase::Processing);
    return ok;
}

void ClapPlugin::StopProcessing() {
    if (!Expect(Phase() == ClapPhase::Processing, "stop_processing")) return;
    audio.Run([&] { plugin->stop_processing(plugin); });
    host.SetPhase(ClapPhase::Active);
}

void ClapPlugin::Reset() {
    ClapPhase phase = Phase();
    if (!Expect(phase == ClapPhase::Active || phase == ClapPhase::Processing, "reset")) return;
    audio.Run([&] { plugin->reset(plugin); });
}

int32_t ClapPlugin::Process(const clap_process& process) {
    bool inRange = process.frames_count >= minFrames && process.frames_count <= maxFrames;
    if (!Expect(Phase() == ClapPhase::Processing && inRange, "process")) return CLAP_PROCESS_ERROR;
    int32_t status = CLAP_PROCESS_ERROR;
    audio.Run([&] { status = plugin->process(plugin, &process); });
    if (status < CLAP_PROCESS_ERROR || status > CLAP_PROCESS_SLEEP)
        rules.Violation("plug-in answered process with status " + std::to_string(status));
    return status;
}

void ClapPlugin::Flush(ClapInputEvents& in, ClapOutputEvents& out) {
    auto* params = Extension<clap_plugin_params>(CLAP_EXT_PARAMS);
    ClapPhase phase = Phase();
    if (!Expect(params && phase != ClapPhase::Processing, "params.flush")) return;
    const clap_input_events* inTable = in.Table();
    const clap_output_events* outTable = out.Begin(0);
    if (phase == ClapPhase::Active) {
        audio.Run([&] { params->flush(plugin, inTable, outTable); });
    } else {
        params->flush(plugin, inTable, outTable);
    }
}

void ClapPlugin::ServiceRequests() {
    if (!plugin) return;
    if (host.TakeCallbackRequest()) plugin->on_main_thread(plugin);
    if (Phase() != ClapPhase::Processing && host.TakeFlushRequest()) {
        ClapInputEvents none;
        Flush(none, flushed);
    }
}

const void* ClapPlugin::ExtensionTable(const char* id) const {
    if (!plugin) {
        rules.Violation(std::string("host slip: get_extension(") + id + ") without an initialised instance");
        return nullptr;
    }
    return plugin->get_extension(plugin, id);
}
