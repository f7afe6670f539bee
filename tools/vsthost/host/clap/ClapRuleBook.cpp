#include "tools/vsthost/host/clap/ClapRuleBook.h"

ClapRuleBook::ClapRuleBook() : mainThread(std::this_thread::get_id()) {}

bool ClapRuleBook::OnAudioThread() const {
    std::lock_guard<std::mutex> guard(lock);
    return std::this_thread::get_id() == audioThread;
}

void ClapRuleBook::SetAudioThread(std::thread::id id) {
    std::lock_guard<std::mutex> guard(lock);
    audioThread = id;
}

void ClapRuleBook::Violation(const std::string& what) {
    std::lock_guard<std::mutex> guard(lock);
    violations.push_back(what);
}

void ClapRuleBook::RequireMain(const char* call) {
    if (!OnMainThread()) Violation(std::string("plug-in called ") + call + " off the main thread");
}

void ClapRuleBook::RequireNotAudio(const char* call) {
    if (OnAudioThread()) Violation(std::string("plug-in called ") + call + " on the audio thread");
}

std::vector<std::string> ClapRuleBook::Violations() const {
    std::lock_guard<std::mutex> guard(lock);
    return violations;
}
