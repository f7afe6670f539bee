#include "tools/vsthost/PluginSession.h"

bool PluginSession::Start(const std::string& path, double sampleRate, int32_t blockSize, std::string& error) {
  if (!module.Load(path, error)) return false;
  AEffect* record = module.CreateEffect(host, error);
  if (!record) return false;
  effect = std::make_unique<HostedEffect>(record, host);
  effect->Open(sampleRate, blockSize);
  return true;
}
