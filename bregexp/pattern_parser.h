// Pattern text -> syntax tree, Perl's syntax for the supported subset.
#ifndef BREGEXP_PATTERN_PARSER_H
#define BREGEXP_PATTERN_PARSER_H

#include <string_view>

#include "ast.h"
#include "command.h"
#include "compile_budget.h"

namespace bregexp {

struct ParsedPattern {
    NodePtr root;
    int group_count = 0;
};

// Charges the tree it builds to budget.
ParsedPattern parse_pattern(std::string_view pattern, const Flags &flags, CompileBudget &budget);

}  // namespace bregexp

#endif
