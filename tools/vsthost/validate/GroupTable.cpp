// The validator's groups, in running order: one line each.
#include "tools/vsthost/validate/ValidateGroup.h"

void RunLoadGroup(TestContext& context);
void RunParametersGroup(TestContext& context);
void RunProgramsGroup(TestContext& context);
void RunStateGroup(TestContext& context);
void RunAudioGroup(TestContext& context);
void RunMidiGroup(TestContext& context);
void RunThreadsGroup(TestContext& context);
void RunRealtimeGroup(TestContext& context);
void RunEditorGroup(TestContext& context);

const std::vector<ValidateGroup>& ValidateGroups() {
    static const std::vector<ValidateGroup> groups = {
        {"load", "load/unload, many instances, memory growth, the record, guarded text answers",
         RunLoadGroup},
        {"parameters", "round trips, hostile values, display sweeps, text entry, properties, bad indices",
         RunParametersGroup},
        {"programs",
         "every program selected, named and rendered; bad numbers and names; changes while processing",
         RunProgramsGroup},
        {"state", "chunk and .fxp/.fxb round trips, state moved to a fresh instance, hostile chunks",
         RunStateGroup},
        {"audio",
         "block sizes, sample rates, hostile input, in place, the callbacks agree, determinism, tails",
         RunAudioGroup},
        {"midi", "random streams, hostile timing, SysEx, empty and crowded lists, what comes back",
         RunMidiGroup},
        {"threads", "audio, host parameter and editor threads at once (the race test under ThreadSanitizer)",
         RunThreadsGroup},
        {"realtime", "allocations, frees and lock waits on the audio thread; per-call time distribution",
         RunRealtimeGroup},
        {"editor", "open/close/reopen, idle ticks, random mouse and wheel input; notifications bracketed",
         RunEditorGroup},
    };
    return groups;
}

const ValidateGroup* FindValidateGroup(const std::string& name) {
    for (const ValidateGroup& group : ValidateGroups())
        if (name == group.name) return &group;
    return nullptr;
}
