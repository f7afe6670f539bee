// The validator's groups, in running order: one line each.
#include "tools/vsthost/validate/ValidateGroup.h"

void RunLoadGroup(TestContext& context);

const std::vector<ValidateGroup>& ValidateGroups() {
    static const std::vector<ValidateGroup> groups = {
        {"load", "load/unload, many instances, memory growth, the record, guarded text answers",
         RunLoadGroup},
    };
    return groups;
}

const ValidateGroup* FindValidateGroup(const std::string& name) {
    for (const ValidateGroup& group : ValidateGroups())
        if (name == group.name) return &group;
    return nullptr;
}
