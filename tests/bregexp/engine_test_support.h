// Small helpers shared by the engine tests: run a command, get the groups as strings.
#ifndef BREGEXP_ENGINE_TEST_SUPPORT_H
#define BREGEXP_ENGINE_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "bregexp_error.h"
#include "engine.h"

namespace bregexp_test {

constexpr const char *kUnset = "<unset>";

// Groups 0..n of the first match, or an empty vector when there is none.
inline std::vector<std::string> groups(const std::string &command, const std::string &text) {
    bregexp::Regex regex(command);
    std::vector<size_t> captures;
    std::vector<std::string> result;
    if (!regex.match(text, captures)) return result;
    for (size_t i = 0; i + 1 < captures.size(); i += 2) {
        if (captures[i] == bregexp::kNoPosition)
            result.emplace_back(kUnset);
        else
            result.push_back(text.substr(captures[i], captures[i + 1] - captures[i]));
    }
    return result;
}

// The whole match, or "<none>".
inline std::string found(const std::string &command, const std::string &text) {
    const auto g = groups(command, text);
    return g.empty() ? "<none>" : g[0];
}

// Output of an s/// command, or "<unchanged>" when nothing was replaced.
inline std::string subst(const std::string &command, const std::string &text) {
    bregexp::Regex regex(command);
    std::string output;
    std::vector<size_t> captures;
    return regex.substitute(text, output, captures) ? output : "<unchanged>";
}

// The message of the error a command raises, or "<no error>".
inline std::string error_of(const std::string &command, const std::string &text = "") {
    try {
        bregexp::Regex regex(command);
        std::vector<size_t> captures;
        std::string output;
        if (regex.operation() == bregexp::Operation::match)
            regex.match(text, captures);
        else
            regex.substitute(text, output, captures);
    } catch (const bregexp::Error &e) {
        return e.what();
    }
    return "<no error>";
}

// Shift_JIS bytes written as hex escapes keep the tests independent of the
// compiler's execution character set.
inline const std::string SO = "\x83\x5C";      // katakana so, trail byte 0x5C
inline const std::string HYO = "\x95\x5C";     // kanji hyo, trail byte 0x5C
inline const std::string A_KANA = "\x83\x41";  // katakana a, trail byte 'A'
inline const std::string KOKOMADE = "\x82\xb1\x82\xb1\x82\xdc\x82\xc5";

// The synchronisation engine's region match command for an escaped name:
// comment lead-in and lead-out that cannot run past their own comment.
inline std::string region_command(const std::string &name) {
    return "m/(<!--(?:(?!-->).)*?)?%(" + name + ")%((.|\\n)*?)%(close|" + KOKOMADE + ") \\2%((?:(?!<!--).)*?-->)?/k";
}

// The earlier form of the same command, still answered the same way.
inline std::string old_region_command(const std::string &name) {
    return "m/(<!--.*?)?%(" + name + ")%((.|\\n)*?)%(close|" + KOKOMADE + ") \\2%(.*?-->)?/k";
}

// piece, times times over.
inline std::string repeated(const std::string &piece, size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace bregexp_test

#endif
