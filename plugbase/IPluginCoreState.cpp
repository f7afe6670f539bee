// Saved states of the plug-in core: parameter values, program slots and the host's chunks.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "plugbase/IPluginCore.h"

bool IPluginCore::SaveParameters(IStateChunk& chunk) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    bool ok = true;
    for (const auto& parameter : params_) ok = chunk.PutDouble(parameter->PlainValue()) && ok;
    return ok;
}

int IPluginCore::LoadParameters(const IStateChunk& chunk, int position) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    for (size_t i = 0; i < params_.size() && position >= 0; ++i) {
        double value = 0.0;
        const int next = chunk.GetDouble(value, position);
        if (next < 0) {
            params_[i]->SetPlain(0.0);
            position = -1;
            break;
        }
        params_[i]->SetPlain(value);
        position = next;
    }
    NotifyAllParameters();
    return position;
}

bool IPluginCore::SavePrograms(IStateChunk& chunk) {
    bool ok = true;
    for (const auto& program : programs_) {
        ok = ok && chunk.PutString(program->Name()) && chunk.PutBool(program->IsInitialised());
        if (ok && program->IsInitialised())
            ok = chunk.PutBytes(program->State().Data(), program->State().Size());
    }
    return ok;
}

int IPluginCore::LoadPrograms(const IStateChunk& chunk, int position) {
    const int fullState = ParameterCount() * 8;
    for (size_t i = 0; i < programs_.size() && position >= 0; ++i) {
        IProgram& program = *programs_[i];
        char name[IProgram::kMaxNameLength + 1];
        bool taken = false;
        int32_t length = 0;
        const int end = chunk.GetString(name, sizeof name, position, taken, length);
        if (taken) {
            program.SetName(name);
        } else if (end >= 0) {
            program.SetName("");  // a stored empty name stays empty, so a bank reloads as it was saved
        }
        uint8_t flag = 0;
        if (end < 0 || chunk.GetByte(flag, end) < 0) {
            position = -1;
            break;
        }
        program.SetInitialised(flag != 0);
        position = end + 1;
        if (!program.IsInitialised()) continue;
        position = LoadParameters(chunk, position);
        if (position > 0 || program.State().Size() != fullState) {
            // Also when the values ran out and the slot held none before: an initialised slot must
            // always carry a full set of values, or the next bank saved would be misread.
            program.State().Clear();
            SaveParameters(program.State());
        }
    }
    SelectProgram(currentProgram_);
    return position;
}

// ---- Programs -------------------------------------------------------------------------------------

IProgram* IPluginCore::Program(int index) {
    return index >= 0 && index < ProgramCount() ? programs_[static_cast<size_t>(index)].get() : nullptr;
}

const char* IPluginCore::ProgramName(int index) const {
    return index >= 0 && index < ProgramCount() ? programs_[static_cast<size_t>(index)]->Name() : "";
}

IProgram* IPluginCore::FirstFreeProgram() {
    for (auto& program : programs_) {
        if (!program->IsInitialised()) return program.get();
    }
    return nullptr;
}

void IPluginCore::CaptureInto(IProgram& program, const char* name) {
    program.SetInitialised(true);
    program.SetName(name);
    program.State().Clear();
    SaveParameters(program.State());
}

void IPluginCore::DefineProgram(const char* name, std::initializer_list<double> values) {
    DefineProgram(name, values.begin(), static_cast<int>(values.size()));
}

void IPluginCore::DefineProgram(const char* name, const double* values, int count) {
    IProgram* program = FirstFreeProgram();
    if (program == nullptr) return;
    program->SetInitialised(true);
    program->SetName(name);
    program->State().Clear();
    for (int i = 0; i < ParameterCount(); ++i) {
        const bool given = values != nullptr && i < count;
        program->State().PutDouble(given ? values[i] : params_[static_cast<size_t>(i)]->PlainValue());
    }
}

void IPluginCore::CaptureDefaultPrograms(const char* name, int n) {
    for (int k = 0; k < n; ++k) {
        IProgram* program = FirstFreeProgram();
        if (program != nullptr) CaptureInto(*program, name != nullptr ? name : "Default");
    }
}

void IPluginCore::EnsureOneProgram() {
    if (!programs_.empty()) return;
    programs_.push_back(std::make_unique<IProgram>(1));
    CaptureInto(*programs_.front(), "Default");
}

bool IPluginCore::SelectProgram(int index) {
    IProgram* program = Program(index);
    if (program == nullptr) return false;
    bool ok = false;
    if (program->IsInitialised()) {
        ok = LoadParameters(program->State(), 0) > 0;
    } else {
        const int taken =
            static_cast<int>(std::count_if(programs_.begin(), programs_.end(), [](const auto& p) {
                return std::strstr(p->Name(), "user preset") != nullptr;
            }));
        char name[IProgram::kMaxNameLength + 1];
        std::snprintf(name, sizeof name, "%s %d", "user preset", taken + 1);
        program->SetInitialised(true);
        program->SetName(name);
        program->State().Clear();
        ok = SaveParameters(program->State());
    }
    if (ok) {
        currentProgram_ = index;
        PushValuesToEditor();
    }
    return ok;
}

void IPluginCore::StoreCurrentProgram(const char* name) {
    IProgram* program = Program(currentProgram_);
    if (program == nullptr) return;
    program->State().Clear();
    SaveParameters(program->State());
    if (name != nullptr && name[0] != '\0') program->SetName(name);
}

// ---- Chunks for the host --------------------------------------------------------------------------

int IPluginCore::GetStateChunk(bool bank, const void** data) {
    if (data == nullptr) return 0;
    IStateChunk& buffer = bank ? bankState_ : programState_;
    buffer.Clear();
    bool ok = buffer.PutInt(kChunkMagic) && buffer.PutInt(kChunkVersion);
    if (bank) {
        StoreCurrentProgram(nullptr);
        ok = SavePrograms(buffer) && ok;
    } else {
        ok = SaveState(buffer) && ok;
    }
    if (!ok || buffer.Size() == 0) return 0;
    *data = buffer.Data();
    return buffer.Size();
}

int IPluginCore::SetStateChunk(bool bank, const void* data, intptr_t size) {
    // An empty or impossible size is refused before anything changes: read as a chunk it would
    // reset the first parameter and overwrite the current program.
    if (data == nullptr || size <= 0 || size > GrowBuffer::MaxBytes) return 0;
    IStateChunk& buffer = bank ? bankState_ : programState_;
    if (!buffer.Resize(static_cast<int>(size))) return 0;
    std::memcpy(buffer.Data(), data, static_cast<size_t>(size));
    int32_t version = 0;
    int position = 0;
    int32_t magic = 0;
    if (buffer.GetInt(magic, 0) >= 0 && magic == kChunkMagic) {
        position = buffer.GetInt(version, 4) >= 0 ? 8 : -1;
    }
    int result = 0;
    if (bank && version >= kChunkVersion) {
        result = LoadPrograms(buffer, position);
    } else {
        result = LoadState(buffer, position);
        StoreCurrentProgram(nullptr);
    }
    if (result < 0) return 0;
    PushValuesToEditor();
    return 1;
}
