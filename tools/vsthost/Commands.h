// The vsthost commands. Each takes the arguments after its name and returns the exit code:
// 0 success, 1 failure (module, file, plug-in), 2 bad command line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/vsthost/CommandLine.h"

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunInfo(ArgReader& args);
int RunRender(ArgReader& args);
int RunChunk(ArgReader& args);
int RunCompare(ArgReader& args);
int RunEditor(ArgReader& args);
void PrintUsage(FILE* out);

// Prints "vsthost: message" on stderr and returns code.
int Fail(const std::string& message, int code = kExitFailure);
int UsageError(const std::string& message);

// "930772850 (0x377A7772, '7zwr')": an ID as number, hex and four characters.
std::string DescribeFourCharCode(int32_t id);
// Names of the set effect flags, e.g. "HasEditor CanMono CanReplacing".
std::string DescribeEffectFlags(int32_t flags);
