#pragma once

// The loaded module's instance token: the HINSTANCE recorded by DllMain on Windows (used to find
// the module's resources), the module's load address on Linux. Null until the module records it.
void* ModuleInstance();
void SetModuleInstance(void* instance);
