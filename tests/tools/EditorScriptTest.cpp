// The editor script language of `vsthost editor`: what a user writes becomes the right steps, and
// anything else is refused with the offending part named.
#include <gtest/gtest.h>

#include "tools/vsthost/editor/EditorScript.h"

namespace {

std::vector<EditorStep> Parse(const std::string& script) {
    std::vector<EditorStep> steps;
    std::string error;
    EXPECT_TRUE(ParseEditorScript(script, steps, error)) << error;
    return steps;
}

// Every step kind, separated by lines and semicolons, with comments and modifiers.
TEST(EditorScriptTest, StepsReadAsWrittenAndDescribeThemselvesTheSameWay) {
    auto steps = Parse(
        "move 1 2; click 3 4 shift\n"
        "# a comment line\n"
        "rclick 5 6 ctrl alt ; dclick -7 8\n"
        "drag 10 20 30 40\nwheel 100 90 -3 shift\ntype 12.5 dB\nenter\nkey numpad1\nselect 2\ntick\ntick 12  "
        "# trailing\n"
        "wait 250; shot out/my shot.png ; wait 0\n");
    std::vector<std::string> described;
    for (const EditorStep& s : steps) described.push_back(s.Describe());
    EXPECT_EQ(described, (std::vector<std::string>{"move 1 2", "click 3 4 shift", "rclick 5 6 ctrl alt",
                                                   "dclick -7 8", "drag 10 20 30 40", "wheel 100 90 -3 shift",
                                                   "type 12.5 dB", "enter", "key 0x61", "select 2", "tick 1",
                                                   "tick 12", "wait 250", "shot out/my shot.png", "wait 0"}));
    EXPECT_EQ(steps[5].amount, -3);
    EXPECT_EQ(steps[6].text, "12.5 dB");
    EXPECT_EQ(steps[12].kind, EditorStep::Kind::Wait);
    EXPECT_EQ(steps[12].amount, 250);
    EXPECT_EQ(steps[13].kind, EditorStep::Kind::Shot);
    EXPECT_EQ(steps[13].text, "out/my shot.png");
}

TEST(EditorScriptTest, KeyNamesGiveWindowsVirtualKeys) {
    EXPECT_EQ(VirtualKeyFromName("space"), 0x20);
    EXPECT_EQ(VirtualKeyFromName("Up"), 0x26);
    EXPECT_EQ(VirtualKeyFromName("a"), 'A');
    EXPECT_EQ(VirtualKeyFromName("7"), '7');
    EXPECT_EQ(VirtualKeyFromName("f1"), 0x70);
    EXPECT_EQ(VirtualKeyFromName("F24"), 0x87);
    EXPECT_EQ(VirtualKeyFromName("numpad0"), 0x60);
    EXPECT_EQ(VirtualKeyFromName("0x61"), 0x61);
    for (const char* bad : {"", "f0", "f25", "numpad10", "0x", "0x100", "0xzz", "hyper"})
        EXPECT_EQ(VirtualKeyFromName(bad), -1) << bad;
}

// Bad scripts: unknown verbs, missing or extra numbers, coordinates beyond 16 bits, zero notches,
// waits that are negative or longer than ten minutes, pictures without a file.
TEST(EditorScriptTest, BadStepsAreRefusedWithTheirLine) {
    for (const char* bad : {"wiggle 1 2", "click 1",     "click 1 2 3", "click 40000 0",
                            "move x y",   "wheel 1 2 0", "wheel 1 2",   "type",
                            "key",        "key hyper",   "select",      "select -1",
                            "tick -1",    "enter 1",     "drag 1 2 3",  "click 1 2 shift 3",
                            "wait",       "wait -5",     "wait 600001", "wait 1 2",
                            "wait 1s",    "shot"}) {
        std::vector<EditorStep> steps;
        std::string error;
        EXPECT_FALSE(ParseEditorScript(std::string("tick\n") + bad, steps, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

}  // namespace
