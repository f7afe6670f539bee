#include "tools/vsthost/validate/Finding.h"

#include <cstring>

namespace {

const Verdict kVerdicts[] = {Verdict::Pass, Verdict::Warn, Verdict::Fail, Verdict::Skip};

std::string Clean(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return out;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "PASS";
        case Verdict::Warn:
            return "WARN";
        case Verdict::Fail:
            return "FAIL";
        case Verdict::Skip:
            return "SKIP";
    }
    return "?";
}

namespace FindingLine {

std::string Encode(const Finding& f) {
    return std::string(kPrefix) + VerdictName(f.verdict) + " " + Clean(f.test) + "\t" + Clean(f.call) + "\t" +
           Clean(f.reason);
}
std::string Begin(const std::string& test) {
    return std::string(kPrefix) + "begin " + Clean(test);
}
std::string Call(const std::string& call) {
    return std::string(kPrefix) + "call " + Clean(call);
}
std::string End() {
    return std::string(kPrefix) + "end";
}

Kind Decode(const std::string& raw, Finding& finding, std::string& text) {
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (!StartsWith(line, kPrefix)) return Kind::None;
    std::string rest = line.substr(std::strlen(kPrefix));
    if (rest == "end") return Kind::End;
    if (StartsWith(rest, "begin ")) {
        text = rest.substr(6);
        return Kind::Begin;
    }
    if (StartsWith(rest, "call ")) {
        text = rest.substr(5);
        return Kind::Call;
    }
    for (Verdict v : kVerdicts) {
        std::string name = std::string(VerdictName(v)) + " ";
        if (!StartsWith(rest, name.c_str())) continue;
        rest = rest.substr(name.size());
        size_t tab1 = rest.find('\t');
        size_t tab2 = tab1 == std::string::npos ? std::string::npos : rest.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) return Kind::None;
        finding.verdict = v;
        finding.test = rest.substr(0, tab1);
        finding.call = rest.substr(tab1 + 1, tab2 - tab1 - 1);
        finding.reason = rest.substr(tab2 + 1);
        return Kind::Finding;
    }
    return Kind::None;
}

}  // namespace FindingLine
