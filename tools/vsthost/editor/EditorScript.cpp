#include "tools/vsthost/editor/EditorScript.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tools/vsthost/cli/CommandLine.h"

namespace {

// Windows virtual-key codes of the named keys.
constexpr int kVkReturn = 0x0D;
constexpr int kVkSpace = 0x20;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;
constexpr int kVkNumpad0 = 0x60;
constexpr int kVkF1 = 0x70;
constexpr int kVkEscape = 0x1B;
constexpr int kVkTab = 0x09;

// Editor coordinates are 16-bit halves of a message word on Windows.
constexpr long kMinCoordinate = -32768;
constexpr long kMaxCoordinate = 32767;
constexpr long kMaxTicks = 100000;
constexpr long kMaxNotches = 1000;
// Ten minutes: longer waits are typing mistakes, not scripts.
constexpr long kMaxWaitMs = 600000;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

bool ParseInt(const std::string& text, long low, long high, int& out) {
    long v = 0;
    if (!ParseLong(text, v) || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

// Parses "verb args... [shift] [ctrl] [alt]" into step; false when the arguments do not fit.
// Trailing modifier words, taken off words.
void TakeModifiers(std::vector<std::string>& words, EditorModifiers& modifiers) {
    while (!words.empty()) {
        std::string w = Lower(words.back());
        if (w == "shift") {
            modifiers.shift = true;
        } else if (w == "ctrl" || w == "control") {
            modifiers.control = true;
        } else if (w == "alt") {
            modifiers.alt = true;
        } else {
            break;
        }
        words.pop_back();
    }
}

// The first count words as x, y, x2, y2.
bool Coordinates(const std::vector<std::string>& words, size_t count, EditorStep& step) {
    if (words.size() < count) return false;
    int* targets[] = {&step.x, &step.y, &step.x2, &step.y2};
    for (size_t i = 0; i < count; ++i)
        if (!ParseInt(words[i], kMinCoordinate, kMaxCoordinate, *targets[i])) return false;
    return true;
}

// The steps that take no pointer position: tick, wait, select, enter and key.
bool ParsePlainStep(const std::string& verb, const std::vector<std::string>& words, EditorStep& step) {
    using Kind = EditorStep::Kind;
    if (verb == "tick" || verb == "ticks") {
        step.kind = Kind::Tick;
        if (words.empty()) {
            step.amount = 1;
            return true;
        }
        return words.size() == 1 && ParseInt(words[0], 0, kMaxTicks, step.amount);
    }
    if (verb == "wait") {
        step.kind = Kind::Wait;
        return words.size() == 1 && ParseInt(words[0], 0, kMaxWaitMs, step.amount);
    }
    if (verb == "select") {
        step.kind = Kind::Select;
        return words.size() == 1 && ParseInt(words[0], 0, 1000, step.amount);
    }
    if (verb == "enter") {
        step.kind = Kind::Enter;
        return words.empty();
    }
    if (verb == "key") {
        step.kind = Kind::Key;
        if (words.size() != 1) return false;
        step.key = VirtualKeyFromName(words[0]);
        return step.key >= 0;
    }
    return false;
}

bool ParseStep(const std::string& part, EditorStep& step) {
    std::istringstream in(part);
    std::string verb;
    in >> verb;
    verb = Lower(verb);
    // Steps whose argument is the rest of the part, spaces included.
    if (verb == "type" || verb == "shot") {
        step.kind = verb == "type" ? EditorStep::Kind::Type : EditorStep::Kind::Shot;
        step.text = Trim(part.substr(
            part.find_first_of(" \t") == std::string::npos ? part.size() : part.find_first_of(" \t")));
        return !step.text.empty();
    }
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    TakeModifiers(words, step.modifiers);
    using Kind = EditorStep::Kind;
    static const struct {
        const char* verb;
        Kind kind;
        size_t coordinates;
    } kPointerSteps[] = {{"move", Kind::Move, 2},          {"click", Kind::Click, 2},
                         {"rclick", Kind::RightClick, 2},  {"right-click", Kind::RightClick, 2},
                         {"dclick", Kind::DoubleClick, 2}, {"double-click", Kind::DoubleClick, 2},
                         {"drag", Kind::Drag, 4}};
    for (const auto& p : kPointerSteps) {
        if (verb != p.verb) continue;
        step.kind = p.kind;
        return words.size() == p.coordinates && Coordinates(words, p.coordinates, step);
    }
    if (verb == "wheel") {
        step.kind = Kind::Wheel;
        return words.size() == 3 && Coordinates(words, 2, step) &&
               ParseInt(words[2], -kMaxNotches, kMaxNotches, step.amount) && step.amount != 0;
    }
    return ParsePlainStep(verb, words, step);
}

}  // namespace

int VirtualKeyFromName(const std::string& name) {
    std::string n = Lower(name);
    if (n.size() == 1 &&
        (std::isdigit(static_cast<unsigned char>(n[0])) || std::isalpha(static_cast<unsigned char>(n[0]))))
        return std::toupper(static_cast<unsigned char>(n[0]));  // '0'-'9' and 'A'-'Z' are their own codes
    static const struct {
        const char* name;
        int code;
    } kNamed[] = {{"space", kVkSpace},   {"up", kVkUp},       {"down", kVkDown},
                  {"left", kVkLeft},     {"right", kVkRight}, {"enter", kVkReturn},
                  {"escape", kVkEscape}, {"esc", kVkEscape},  {"tab", kVkTab}};
    for (const auto& k : kNamed)
        if (n == k.name) return k.code;
    int number = 0;
    if (n.size() > 6 && n.compare(0, 6, "numpad") == 0 && ParseInt(n.substr(6), 0, 9, number))
        return kVkNumpad0 + number;
    if (n.size() > 1 && n[0] == 'f' && ParseInt(n.substr(1), 1, 24, number)) return kVkF1 + number - 1;
    if (n.size() > 2 && n.compare(0, 2, "0x") == 0) {
        char* end = nullptr;
        long v = std::strtol(n.c_str() + 2, &end, 16);
        if (*end == '\0' && v > 0 && v < 0x100) return static_cast<int>(v);
    }
    return -1;
}

bool ParseEditorScript(const std::string& script, std::vector<EditorStep>& steps, std::string& error) {
    std::istringstream lines(script);
    int lineNumber = 0;
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::istringstream parts(line);
        for (std::string part; std::getline(parts, part, ';');) {
            part = Trim(part);
            if (part.empty()) continue;
            EditorStep step;
            if (!ParseStep(part, step)) {
                error = "invalid editor step '" + part + "' (line " + std::to_string(lineNumber) + ")";
                return false;
            }
            steps.push_back(step);
        }
    }
    return true;
}

std::string EditorStep::Describe() const {
    auto xy = [this] { return " " + std::to_string(x) + " " + std::to_string(y); };
    std::string out;
    switch (kind) {
        case Kind::Move:
            out = "move" + xy();
            break;
        case Kind::Click:
            out = "click" + xy();
            break;
        case Kind::RightClick:
            out = "rclick" + xy();
            break;
        case Kind::DoubleClick:
            out = "dclick" + xy();
            break;
        case Kind::Drag:
            out = "drag" + xy() + " " + std::to_string(x2) + " " + std::to_string(y2);
            break;
        case Kind::Wheel:
            out = "wheel" + xy() + " " + std::to_string(amount);
            break;
        case Kind::Type:
            out = "type " + text;
            break;
        case Kind::Enter:
            out = "enter";
            break;
        case Kind::Key: {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", key);
            out = std::string("key ") + hex;
            break;
        }
        case Kind::Select:
            out = "select " + std::to_string(amount);
            break;
        case Kind::Tick:
            out = "tick " + std::to_string(amount);
            break;
        case Kind::Wait:
            out = "wait " + std::to_string(amount);
            break;
        case Kind::Shot:
            out = "shot " + text;
            break;
    }
    if (modifiers.shift) out += " shift";
    if (modifiers.control) out += " ctrl";
    if (modifiers.alt) out += " alt";
    return out;
}
