#include "command.h"

#include <cstdint>
#include <cstdio>

#include "bregexp_error.h"
#include "compile_budget.h"
#include "sjis.h"

namespace bregexp {

const char *const kPatternTooLongMessage = "pattern longer than the limit of 1 MB";

namespace {

std::string describe_byte(unsigned char b) {
    char buffer[16];
    if (b >= 0x20 && b < 0x7F)
        std::snprintf(buffer, sizeof buffer, "'%c'", b);
    else
        std::snprintf(buffer, sizeof buffer, "0x%02X", b);
    return buffer;
}

Flags parse_flags(std::string_view text) {
    Flags flags;
    std::string seen;
    for (char c : text) {
        bool *flag = nullptr;
        switch (c) {
        case 'g': flag = &flags.global; break;
        case 'i': flag = &flags.ignore_case; break;
        case 'm': flag = &flags.multi_line; break;
        case 's': flag = &flags.dot_all; break;
        case 'x': flag = &flags.extended; break;
        case 'k': flag = &flags.sjis; break;
        default: throw Error("unknown flag " + describe_byte(static_cast<unsigned char>(c)));
        }
        if (*flag) throw Error("repeated flag " + describe_byte(static_cast<unsigned char>(c)));
        *flag = true;
    }
    return flags;
}

// Reads one part up to the next unescaped '/', walking by characters when
// sjis is set so that a trail byte 0x5C is never taken for a backslash.
// Returns the position after the delimiter. A part longer than max_bytes is
// refused before more of it is copied.
size_t read_part(std::string_view text, size_t pos, bool sjis, std::string &part, size_t max_bytes) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    while (pos < text.size()) {
        if (part.size() > max_bytes) throw Error(kPatternTooLongMessage);
        const unsigned char b = bytes[pos];
        if (b == '/') return pos + 1;
        if (b == '\\' && pos + 1 < text.size()) {
            const size_t width = char_width(bytes, pos + 1, text.size(), sjis);
            part.append(text.substr(pos, 1 + width));
            pos += 1 + width;
            continue;
        }
        const size_t width = char_width(bytes, pos, text.size(), sjis);
        part.append(text.substr(pos, width));
        pos += width;
    }
    throw Error("missing delimiter");
}

Command parse_with_mode(std::string_view text, bool sjis) {
    Command command;
    if (text.empty()) throw Error("empty command");
    if (text[0] == 'm')
        command.operation = Operation::match;
    else if (text[0] == 's')
        command.operation = Operation::substitute;
    else
        throw Error("unknown operator " + describe_byte(static_cast<unsigned char>(text[0])));
    if (text.size() < 2 || text[1] != '/') throw Error("missing delimiter");
    size_t pos = read_part(text, 2, sjis, command.pattern, kMaxPatternBytes);
    if (command.operation == Operation::substitute) pos = read_part(text, pos, sjis, command.replacement, SIZE_MAX);
    command.flags = parse_flags(text.substr(pos));
    return command;
}

}  // namespace

Command parse_command(std::string_view text) {
    // A '/' is never a trail byte, so the last one in the command is the
    // closing delimiter of a well-formed command; whether k follows it decides
    // how the parts are split into characters.
    const size_t last_slash = text.rfind('/');
    const bool sjis = last_slash != std::string_view::npos &&
                      text.substr(last_slash + 1).find('k') != std::string_view::npos;
    Command command = parse_with_mode(text, sjis);
    if (command.flags.sjis != sjis) throw Error("missing delimiter");
    return command;
}

}  // namespace bregexp
