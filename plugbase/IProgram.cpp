#include "plugbase/IProgram.h"

#include <cstdio>

#include "plugbase/TextCopy.h"

IProgram::IProgram(int slotNumber) noexcept {
    std::snprintf(name_, sizeof name_, "- %d -", slotNumber);
}

void IProgram::SetName(const char* name) noexcept {
    CopyText(name_, sizeof name_, name);
}
