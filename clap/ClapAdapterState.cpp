// The state extension: the bank of programs with the current program, in the envelope that
// makes a short or corrupt stream detectable. A stream that is refused changes nothing.
#include <mutex>

#include "clap/ClapAdapter.h"
#include "clap/ClapStateEnvelope.h"
#include "clap/ClapStreamIo.h"

namespace {

// Far above any bank this effect writes (about a kilobyte), far below anything that could hurt.
constexpr size_t kMaxStateBytes = 1 << 20;

}  // namespace

bool ClapAdapter::Save(const clap_ostream* stream) {
    std::vector<uint8_t> bytes;
    {
        std::lock_guard<std::recursive_mutex> guard(core_->Lock());
        const void* bank = nullptr;
        int size = core_->GetStateChunk(true, &bank);
        if (size <= 0) return false;
        bytes = ClapStateEnvelope::Encode(core_->CurrentProgramIndex(), bank, static_cast<size_t>(size));
    }
    return WriteWholeStream(stream, bytes.data(), bytes.size());
}

bool ClapAdapter::Load(const clap_istream* stream) {
    std::vector<uint8_t> bytes;
    ClapStateEnvelope state;
    if (!ReadWholeStream(stream, bytes, kMaxStateBytes) ||
        !ClapStateEnvelope::Decode(bytes, core_->ProgramCount(), state))
        return false;
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    // The present state, to go back to if the bank turns out unreadable half way.
    const void* current = nullptr;
    int currentSize = core_->GetStateChunk(true, &current);
    std::vector<uint8_t> before(static_cast<const uint8_t*>(current),
                                static_cast<const uint8_t*>(current) + std::max(currentSize, 0));
    const int beforeProgram = core_->CurrentProgramIndex();
    // The bank load selects the current program again: make it the saved one first.
    core_->SelectProgram(state.program);
    if (core_->SetStateChunk(true, state.bank, static_cast<intptr_t>(state.bankSize)) == 1) return true;
    core_->SelectProgram(beforeProgram);
    core_->SetStateChunk(true, before.data(), static_cast<intptr_t>(before.size()));
    return false;
}
