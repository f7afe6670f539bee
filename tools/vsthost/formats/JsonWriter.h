// Builds JSON text (RFC 8259), indented two spaces per level. Strings from plug-ins arrive in
// any encoding: valid UTF-8 passes through, any other byte is taken as Latin-1, so the result is
// always valid JSON. Non-finite numbers become null.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Inside an object: the name of the next value.
    void Key(const std::string& name);

    void String(const std::string& text);
    void Number(double value);
    void Integer(int64_t value);
    void Bool(bool value);
    void Null();

    // Key and value in one call.
    template <typename T>
    void Field(const std::string& name, const T& value) {
        Key(name);
        Value(value);
    }

    const std::string& Text() const { return text; }

  private:
    void Value(const std::string& v) { String(v); }
    void Value(const char* v) { String(v); }
    void Value(bool v) { Bool(v); }
    void Value(double v) { Number(v); }
    void Value(float v) { Number(v); }
    void Value(int32_t v) { Integer(v); }
    void Value(int64_t v) { Integer(v); }

    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void NewLine();

    std::string text;
    struct Level {
        size_t items = 0;
    };
    std::vector<Level> levels;
    bool afterKey = false;
};
