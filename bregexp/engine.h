// The engine's C++ interface: a command compiled once, then matched or
// substituted on any number of texts. Errors are thrown as bregexp::Error.
#ifndef BREGEXP_ENGINE_H
#define BREGEXP_ENGINE_H

#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "engine_choice.h"
#include "program.h"
#include "replacement.h"

namespace bregexp {

class Regex {
public:
    // Parses and compiles "m/PATTERN/FLAGS" or "s/PATTERN/REPLACEMENT/FLAGS".
    explicit Regex(std::string_view command);

    Operation operation() const { return command_.operation; }
    const Flags &flags() const { return command_.flags; }
    int group_count() const { return program_.group_count; }

    // First match in text. captures receives 2 * (group_count() + 1) byte
    // offsets, start and end of each group, kNoPosition where a group took no part.
    // engine: which engine answers (see engine_choice.h).
    bool match(std::string_view text, std::vector<size_t> &captures, Engine engine = Engine::automatic) const;

    // The substitution of an s/// command (all matches with g). Returns true
    // when at least one replacement was made; output is then the new text and
    // captures describe the last match in text. output is built in place (its
    // storage is reused from call to call), so after false or an error its
    // content means nothing; captures are only written on success.
    bool substitute(std::string_view text, std::string &output, std::vector<size_t> &captures,
                    Engine engine = Engine::automatic) const;

private:
    Command command_;
    Program program_;
    Replacement replacement_;
    mutable LazyNfa nfa_{program_};
};

}  // namespace bregexp

#endif
