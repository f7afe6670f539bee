#include "tools/vsthost/cli/OptionTable.h"

#include "tools/vsthost/cli/Messages.h"

namespace {

const Option* FindOption(const OptionTable& table, const std::string& arg) {
    for (const Option& option : table.options)
        if (option.name[0] == '-' && (arg == option.name || (option.alias && arg == option.alias)))
            return &option;
    return nullptr;
}

}  // namespace

int ParseOptions(ArgReader& args, const OptionTable& table,
                 const std::function<int(const std::string& operand)>& operand) {
    std::string value, error;
    while (!args.Done()) {
        const std::string arg = args.Next();
        if (arg.empty() || arg[0] != '-') {
            if (int code = operand(arg)) return code;
            continue;
        }
        const Option* option = FindOption(table, arg);
        if (!option) return UsageError("unknown option '" + arg + "' for " + table.command);
        value.clear();
        if (option->value && !args.Value(arg, value, error)) return UsageError(error);
        if (int code = option->apply(value)) return code;
    }
    return kExitOk;
}

std::string OptionHelp(const OptionTable& table) {
    const size_t column = static_cast<size_t>(table.column);
    std::string text;
    for (const Option& option : table.options) {
        if (!option.help) continue;
        std::string row = "  ";
        row += option.label   ? option.label
               : option.value ? std::string(option.name) + " " + option.value
                              : std::string(option.name);
        row += row.size() + 2 <= column ? std::string(column - row.size(), ' ') : std::string(3, ' ');
        for (const char* c = option.help; *c; ++c) {
            row += *c;
            if (*c == '\n') row += std::string(column, ' ');
        }
        text += row + "\n";
    }
    return text;
}

Option::Apply Store(std::string& target) {
    return [&target](const std::string& value) {
        target = value;
        return kExitOk;
    };
}

Option::Apply Set(bool& target) {
    return [&target](const std::string&) {
        target = true;
        return kExitOk;
    };
}

Option Flag(const char* name, const char* help, bool& target) {
    return {.name = name, .help = help, .apply = Set(target)};
}

Option Text(const char* name, const char* value, const char* help, std::string& target) {
    return {.name = name, .value = value, .help = help, .apply = Store(target)};
}

Option Operand(const char* name, const char* help) {
    return {.name = name, .help = help};
}

Option Checked(const char* name, const char* value, const char* help, const char* what, const char* hint,
               std::function<bool(const std::string& value)> accept) {
    return {.name = name, .value = value, .help = help, .apply = [=](const std::string& v) {
                if (!accept(v)) return UsageError(std::string("invalid ") + what + " '" + v + "'" + hint);
                return kExitOk;
            }};
}
