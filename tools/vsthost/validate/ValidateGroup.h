// A group of validator tests. Each group runs in a child process of its own (a crash or hang
// costs that group only), on one fresh TestContext, and is one function:
//
//   void RunLoadGroup(TestContext& ctx);
//
// that runs its tests one after another, each as a TestCase named "group.test" whose expectation
// says what the module must do. The function loads nothing itself beyond what the context gives
// (ctx.Module, ctx.NewInstance), takes every random choice from ctx.Random() and every count from
// ctx.Level(), and returns normally whatever the module did; the context tells the parent the
// group ended. A group that cannot run here (no display, another platform) reports a SKIP line
// with the reason. The groups are listed, in running order, in GroupTable.cpp.
#pragma once

#include <string>
#include <vector>

class TestContext;

struct ValidateGroup {
    const char* name;     // as given to --only and --skip
    const char* summary;  // one line for the command's help
    void (*run)(TestContext& context);
};

// Every group, in running order. [any thread]
const std::vector<ValidateGroup>& ValidateGroups();
// Null when no group has that name.
const ValidateGroup* FindValidateGroup(const std::string& name);
