#include "tools/vsthost/host/PluginSession.h"

bool PluginSession::Start(const std::string& path, double sampleRate, int32_t blockSize, std::string& error) {
    if (!module.Load(path, error)) return false;
    AEffect* record = module.CreateEffect(host, error);
    if (!record) return false;
    effect = std::make_unique<HostedEffect>(record, host);
    effect->Open(sampleRate, blockSize);
    return true;
}

bool PluginSession::SelectProgram(long program, std::string& error) {
    if (program < 0 || program >= effect->NumPrograms()) {
        error = "program " + std::to_string(program) + " does not exist (the plug-in has " +
                std::to_string(effect->NumPrograms()) + ")";
        return false;
    }
    effect->SetProgram(static_cast<int32_t>(program));
    return true;
}
