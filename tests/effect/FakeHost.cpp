#include "tests/effect/FakeHost.h"

FakeHost* FakeHost::active = nullptr;

FakeHost::FakeHost() {
    calls.reserve(1024);
    active = this;
}

FakeHost::~FakeHost() {
    active = nullptr;
}
