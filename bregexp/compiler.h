// Syntax tree -> matcher program.
#ifndef BREGEXP_COMPILER_H
#define BREGEXP_COMPILER_H

#include "pattern_parser.h"
#include "program.h"

namespace bregexp {

// Charges the program it builds to budget.
Program compile_pattern(const ParsedPattern &pattern, const Flags &flags, CompileBudget &budget);

}  // namespace bregexp

#endif
