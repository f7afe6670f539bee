// The test host's own rules, against a plug-in of the test's making that keeps or breaks them on
// request: a strict host that missed a breach would let a faulty module pass the CLAP suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tools/vsthost/host/clap/ClapAudioBlock.h"
#include "tools/vsthost/host/clap/ClapMainLoop.h"

namespace {

// What the stand-in plug-in does wrong, one breach per flag.
struct Breaches {
    bool timerInInit = false;
    bool rescanFromAudio = false;
    bool flushRequestFromAudio = false;
    bool eventsOutOfOrder = false;
    bool latencyOutsideActivate = false;
    bool keepTimer = false;
};

struct StandIn {
    clap_plugin plugin{};
    const clap_host* host = nullptr;
    Breaches breaches;
    clap_id timer = CLAP_INVALID_ID;
    int timerTicks = 0;
    bool timerOnMain = true;
    bool callbackOnMain = false;
};

Breaches gBreaches;
const clap_plugin_descriptor kDescriptor = {CLAP_VERSION, "test.stand-in", "Stand-in", "",     "", "",
                                            "",           "1.0.0",         "",         nullptr};

StandIn& Self(const clap_plugin* p) {
    return *static_cast<StandIn*>(p->plugin_data);
}
template <class Table>
const Table* HostExt(StandIn& s, const char* id) {
    return static_cast<const Table*>(s.host->get_extension(s.host, id));
}
bool OnMain(StandIn& s) {
    return HostExt<clap_host_thread_check>(s, CLAP_EXT_THREAD_CHECK)->is_main_thread(s.host);
}
void RegisterTimer(StandIn& s) {
    HostExt<clap_host_timer_support>(s, CLAP_EXT_TIMER_SUPPORT)->register_timer(s.host, 20, &s.timer);
}

const clap_plugin_timer_support kTimer = {[](const clap_plugin* p, clap_id) {
    StandIn& s = Self(p);
    ++s.timerTicks;
    s.timerOnMain = s.timerOnMain && OnMain(s);
}};

int32_t Process(const clap_plugin* p, const clap_process* process) {
    StandIn& s = Self(p);
    if (s.breaches.rescanFromAudio)
        HostExt<clap_host_params>(s, CLAP_EXT_PARAMS)->rescan(s.host, CLAP_PARAM_RESCAN_VALUES);
    if (s.breaches.flushRequestFromAudio)
        HostExt<clap_host_params>(s, CLAP_EXT_PARAMS)->request_flush(s.host);
    clap_event_midi midi{{sizeof midi, 1, 0, CLAP_EVENT_MIDI, 0}, 0, {0x90, 60, 100}};
    process->out_events->try_push(process->out_events, &midi.header);
    midi.header.time = s.breaches.eventsOutOfOrder ? 0 : 1;
    process->out_events->try_push(process->out_events, &midi.header);
    return CLAP_PROCESS_CONTINUE;
}

const clap_plugin* Create(const clap_plugin_factory*, const clap_host* host, const char*) {
    auto* self = new StandIn;
    self->host = host;
    self->breaches = gBreaches;
    self->plugin.desc = &kDescriptor;
    self->plugin.plugin_data = self;
    self->plugin.init = [](const clap_plugin* p) {
        StandIn& s = Self(p);
        if (s.breaches.timerInInit) RegisterTimer(s);
        s.host->request_callback(s.host);  // the sound way: register once on the main thread
        return true;
    };
    self->plugin.destroy = [](const clap_plugin* p) {
        StandIn* s = &Self(p);
        if (s->timer != CLAP_INVALID_ID && !s->breaches.keepTimer)
            HostExt<clap_host_timer_support>(*s, CLAP_EXT_TIMER_SUPPORT)->unregister_timer(s->host, s->timer);
        delete s;
    };
    self->plugin.activate = [](const clap_plugin*, double, uint32_t, uint32_t) { return true; };
    self->plugin.deactivate = [](const clap_plugin* p) {
        StandIn& s = Self(p);
        if (s.breaches.latencyOutsideActivate)
            HostExt<clap_host_latency>(s, CLAP_EXT_LATENCY)->changed(s.host);
    };
    self->plugin.start_processing = [](const clap_plugin*) { return true; };
    self->plugin.stop_processing = [](const clap_plugin*) {};
    self->plugin.reset = [](const clap_plugin*) {};
    self->plugin.process = Process;
    self->plugin.get_extension = [](const clap_plugin*, const char* id) -> const void* {
        return std::string(id) == CLAP_EXT_TIMER_SUPPORT ? &kTimer : nullptr;
    };
    self->plugin.on_main_thread = [](const clap_plugin* p) {
        StandIn& s = Self(p);
        s.callbackOnMain = OnMain(s);
        if (s.timer == CLAP_INVALID_ID) RegisterTimer(s);
    };
    return &self->plugin;
}

const clap_plugin_factory kFactory = {[](const clap_plugin_factory*) { return 1u; },
                                      [](const clap_plugin_factory*, uint32_t) { return &kDescriptor; },
                                      Create};
const clap_plugin_entry kEntry = {CLAP_VERSION, [](const char*) { return true; }, [] {},
                                  [](const char*) -> const void* { return &kFactory; }};

// Runs the stand-in through a whole life and returns the breaches the host recorded; with
// checkMainLoop, also that the main loop answered its callback and ran its timer on main.
std::vector<std::string> Life(const Breaches& breaches, bool checkMainLoop = false) {
    gBreaches = breaches;
    ClapRuleBook rules;
    ClapModule module;
    std::string error;
    EXPECT_TRUE(module.Attach(&kEntry, "stand-in", error)) << error;
    {
        ClapPlugin plugin(module, rules);
        EXPECT_TRUE(plugin.Create("test.stand-in", error)) << error;
        ClapMainLoop::Run(plugin, std::chrono::milliseconds(120));
        if (checkMainLoop) {
            StandIn& s = Self(plugin.Raw());
            EXPECT_TRUE(s.callbackOnMain);
            EXPECT_TRUE(s.timerOnMain);
            EXPECT_GE(s.timerTicks, 2);
        }
        EXPECT_TRUE(plugin.Activate(48000, 1, 64));
        EXPECT_TRUE(plugin.StartProcessing());
        ClapAudioBlock block(2, 64, false);
        ClapInputEvents in;
        ClapOutputEvents out(rules);
        EXPECT_EQ(plugin.Process(block.Record(64, 0, in.Table(), out.Begin(64))), CLAP_PROCESS_CONTINUE);
        EXPECT_EQ(out.Events().size(), 2u);
    }
    return rules.Violations();
}

bool Mentions(const std::vector<std::string>& violations, const char* text) {
    return std::any_of(violations.begin(), violations.end(),
                       [text](const std::string& v) { return v.find(text) != std::string::npos; });
}

}  // namespace

TEST(ClapHostRules, ASoundLifeRecordsNothingAndDrivesCallbackAndTimerOnMain) {
    EXPECT_EQ(Life({}, true), std::vector<std::string>{});
}

TEST(ClapHostRules, EachBreachByThePlugInIsRecorded) {
    struct Case {
        Breaches breaches;
        const char* expected;
    } cases[] = {
        {{.timerInInit = true}, "registered a timer inside init"},
        {{.rescanFromAudio = true}, "params.rescan off the main thread"},
        {{.flushRequestFromAudio = true}, "params.request_flush on the audio thread"},
        {{.eventsOutOfOrder = true}, "pushed an event at 0 after one at 1"},
        {{.latencyOutsideActivate = true}, "latency.changed outside activate"},
        {{.keepTimer = true}, "left timers or fds registered"},
    };
    for (const Case& c : cases) EXPECT_TRUE(Mentions(Life(c.breaches), c.expected)) << c.expected;
}

TEST(ClapHostRules, HostSlipsAreRecordedAndNotPassedOn) {
    gBreaches = {};
    ClapRuleBook rules;
    ClapModule module;
    std::string error;
    ASSERT_TRUE(module.Attach(&kEntry, "stand-in", error));
    ClapPlugin plugin(module, rules);
    ASSERT_TRUE(plugin.Create("test.stand-in", error));
    ClapAudioBlock block(2, 64, false);
    ClapInputEvents in;
    ClapOutputEvents out(rules);
    EXPECT_EQ(plugin.Process(block.Record(64, 0, in.Table(), out.Begin(64))), CLAP_PROCESS_ERROR);
    EXPECT_TRUE(out.Events().empty());
    EXPECT_FALSE(plugin.Activate(48000, 64, 32));
    EXPECT_TRUE(Mentions(rules.Violations(), "host slip: process"));
    EXPECT_TRUE(Mentions(rules.Violations(), "host slip: activate"));
}
