// vsthost's exit codes: a script can tell a wrong command line from a bad file from a bad plug-in.
#pragma once

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;        // a negative result (compare: files differ), internal error
constexpr int kExitUsage = 2;          // bad command line
constexpr int kExitInput = 3;          // a file cannot be read or written, or its content is invalid
constexpr int kExitPlugin = 4;         // the module does not load, or the plug-in refuses or lacks
                                       // what was asked
constexpr int kExitPluginCrashed = 5;  // the plug-in crashed or aborted during a call
