// Strict parsing of the command line: numbers must be whole and finite, options known.
#pragma once

#include <string>
#include <vector>

bool ParseDouble(const std::string& text, double& out);
bool ParseLong(const std::string& text, long& out);

// Walks the arguments of one command. Options take their value as the next argument.
class ArgReader {
  public:
    explicit ArgReader(std::vector<std::string> arguments) : args(std::move(arguments)) {}
    bool Done() const { return pos >= args.size(); }
    const std::string& Next() { return args[pos++]; }
    // The value after an option; false (with error set) when it is missing.
    bool Value(const std::string& option, std::string& out, std::string& error);

  private:
    std::vector<std::string> args;
    size_t pos = 0;
};
