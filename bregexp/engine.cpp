#include "engine.h"

#include "compile_budget.h"
#include "compiler.h"
#include "fixed_backrefs.h"
#include "bregexp_error.h"
#include "pattern_parser.h"

namespace bregexp {

Regex::Regex(std::string_view command) : command_(parse_command(command)) {
    CompileBudget budget(command_.pattern.size());
    ParsedPattern parsed = parse_pattern(command_.pattern, command_.flags, budget);
    inline_fixed_backrefs(parsed.root, budget);
    program_ = compile_pattern(parsed, command_.flags, budget);
    if (command_.operation == Operation::substitute) replacement_ = Replacement(command_.replacement, command_.flags.sjis);
}

bool Regex::match(std::string_view text, std::vector<size_t> &captures, Engine engine) const {
    TextSearch search(program_, nfa_, text, engine);
    return search.search(0, kNoPosition, captures);
}

bool Regex::substitute(std::string_view text, std::string &output, std::vector<size_t> &captures, Engine engine) const {
    if (command_.operation != Operation::substitute) throw Error("not a substitution command");
    TextSearch matcher(program_, nfa_, text, engine);
    std::vector<size_t> found;
    std::vector<size_t> last;
    std::string &result = output;
    result.clear();
    size_t copied = 0;
    size_t from = 0;
    size_t forbid_empty_at = kNoPosition;
    bool replaced = false;
    std::string piece;
    while (from <= text.size() && matcher.search(from, forbid_empty_at, found)) {
        piece.clear();
        replacement_.expand(text.data(), found, piece);
        if (!replaced) {
            // One allocation of the right size for a single replacement (a
            // little more with g), made only once there is something to build.
            const size_t rest = text.size() - (found[1] - found[0]);
            result.reserve(rest + piece.size() + (command_.flags.global ? rest / 16 : 0));
        }
        replaced = true;
        result.append(text.data() + copied, found[0] - copied);
        result += piece;
        copied = found[1];
        last = found;
        if (!command_.flags.global) break;
        // Perl's rule: after an empty match the next one may not be empty at the same place.
        forbid_empty_at = found[0] == found[1] ? found[1] : kNoPosition;
        from = found[1];
    }
    if (!replaced) return false;
    result.append(text.data() + copied, text.size() - copied);
    captures.swap(last);
    return true;
}

}  // namespace bregexp
