// The state a command loads before it works: a program or bank file, a program number and
// parameter settings, in the order that lets each refine the one before.
#pragma once

#include <string>
#include <vector>

#include "tools/vsthost/cli/OptionTable.h"
#include "tools/vsthost/render/ParameterSetting.h"
#include "tools/vsthost/host/PluginSession.h"

struct StartState {
    std::string chunkFile;  // .fxp, .fxb or raw; empty for none
    bool bank = false;      // what a raw file holds
    long program = -1;      // -1 keeps the plug-in's current program
    std::vector<ParameterSetting> params;
};

// A bank first (it may hold the program to select), then the program, then a program file into
// it, then the parameters; reports gets one line per parameter set. kExitOk, or the exit code
// after the reason has been printed.
int LoadStartState(PluginSession& session, const StartState& state, std::vector<std::string>& reports);

// --program N, --chunk FILE, --bank and --param NAME=V, as render lists them.
std::vector<Option> StartStateOptions(StartState& state);
// --program N: a program number, 0 or more.
Option ProgramOption(long& program, const char* help);
