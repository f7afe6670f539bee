#include "tools/vsthost/system/CrashGuard.h"

#include "tools/vsthost/host/PluginCall.h"

namespace {

// Appends text at *pos without passing the buffer's end.
void Append(char* out, unsigned size, unsigned& pos, const char* text) {
    while (*text && pos + 1 < size) out[pos++] = *text++;
    out[pos] = '\0';
}

void AppendNumber(char* out, unsigned size, unsigned& pos, long value) {
    char digits[24];
    unsigned n = 0;
    bool negative = value < 0;
    unsigned long v = negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v && n < sizeof digits);
    if (negative) Append(out, size, pos, "-");
    char one[2] = {0, 0};
    while (n) {
        one[0] = digits[--n];
        Append(out, size, pos, one);
    }
}

}  // namespace

void DescribeCrash(const char* what, char* out, unsigned size) {
    if (!out || size == 0) return;
    unsigned pos = 0;
    out[0] = '\0';
    const char* call = PluginCall::Current();
    if (!call) {
        Append(out, size, pos, "vsthost: internal error: ");
        Append(out, size, pos, what);
        Append(out, size, pos, " outside any plug-in call\n");
        return;
    }
    Append(out, size, pos, "vsthost: the plug-in crashed (");
    Append(out, size, pos, what);
    Append(out, size, pos, ") during ");
    Append(out, size, pos, call);
    if (PluginCall::CurrentIndex() >= 0) {
        Append(out, size, pos, " (");
        AppendNumber(out, size, pos, PluginCall::CurrentIndex());
        Append(out, size, pos, ")");
    }
    if (const char* module = PluginCall::Module()) {
        Append(out, size, pos, " in '");
        Append(out, size, pos, module);
        Append(out, size, pos, "'");
    }
    Append(out, size, pos, "\n");
}
