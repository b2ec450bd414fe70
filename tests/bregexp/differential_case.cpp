#include "differential_case.h"

#include <cstdio>

namespace differential {

std::string Case::command() const {
    std::string command(1, op);
    command += '/';
    command += pattern;
    command += '/';
    if (op == 's') {
        command += replacement;
        command += '/';
    }
    command += flags;
    return command;
}

std::string quoted(const std::string &bytes) {
    std::string out = "\"";
    bool after_hex = false;
    for (unsigned char c : bytes) {
        bool hex_digit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c >= 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
            after_hex = true;
            continue;
        } else if (after_hex && hex_digit) {
            // A hex digit right after \xHH would extend the escape in C.
            out += "\"\"";
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(c);
        }
        after_hex = false;
    }
    return out + "\"";
}

std::string describe(const Outcome &outcome) {
    if (outcome.error) return "error: " + outcome.message;
    if (!outcome.matched) return "no match";
    std::string out = "match";
    for (std::size_t i = 0; i < outcome.groups.size(); ++i) {
        const Span &span = outcome.groups[i];
        out += " $" + std::to_string(i) + "=";
        out += span ? std::to_string(span->first) + ".." + std::to_string(span->second) : "undef";
    }
    if (!outcome.output.empty()) out += " output " + quoted(outcome.output);
    return out;
}

}  // namespace differential
