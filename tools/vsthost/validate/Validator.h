// The validate command's two roles: the parent runs every chosen group, each in a child vsthost,
// and reports; the child (--group-child) runs one group in this process and prints its lines.
#pragma once

#include "tools/vsthost/validate/ValidateRequest.h"

// Returns the command's exit code: 0 nothing failed, 1 a test failed or hung, 5 the module
// crashed. [UI thread]
int RunValidation(const ValidateRequest& request);
// Runs request.childGroup here, its lines on standard output; 0 when the group ran to its end.
// [UI thread]
int RunValidationChild(const ValidateRequest& request);
