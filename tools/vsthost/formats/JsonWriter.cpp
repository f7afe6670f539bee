#include "tools/vsthost/formats/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at s[i] (1..4), or 0 when the bytes there are not one.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b = byte(i);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    uint32_t code = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    static const uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[n] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return n;
}

}  // namespace

void JsonWriter::NewLine() {
    text += '\n';
    text.append(levels.size() * 2, ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!levels.empty()) {
        if (levels.back().items++ > 0) text += ',';
        NewLine();
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    text += bracket;
    levels.push_back({});
}

void JsonWriter::Close(char bracket) {
    bool empty = levels.empty() || levels.back().items == 0;
    if (!levels.empty()) levels.pop_back();
    if (!empty) NewLine();
    text += bracket;
    if (levels.empty()) text += '\n';
}

void JsonWriter::BeginObject() {
    Open('{');
}
void JsonWriter::EndObject() {
    Close('}');
}
void JsonWriter::BeginArray() {
    Open('[');
}
void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(const std::string& name) {
    String(name);
    text += ": ";
    afterKey = true;
}

void JsonWriter::String(const std::string& s) {
    BeforeValue();
    text += '"';
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = Utf8SequenceLength(s, i);
        char escape[8];
        if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (c < 0x20 || n == 0) {
            // Control characters, and bytes that are no UTF-8: the Latin-1 character of that value.
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            text += escape;
            n = 1;
        } else {
            text.append(s, i, n);
        }
        i += n == 0 ? 1 : n;
    }
    text += '"';
}

void JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.9g", value);
    text += digits;
}

void JsonWriter::Integer(int64_t value) {
    BeforeValue();
    text += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    text += "null";
}
