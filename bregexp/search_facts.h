// What the search can learn from the syntax tree before matching anything:
// whether a match is anchored at the text start, the literal every match
// contains, the bytes a match can begin with, and the anchor literal that
// bounds where a match can begin.
#ifndef BREGEXP_SEARCH_FACTS_H
#define BREGEXP_SEARCH_FACTS_H

#include "ast.h"
#include "program.h"

namespace bregexp {

// The characters a literal, dot or class node stands for.
CharClass as_class(const Node &node);

// Sets anchored, required, first_bytes (and the pair filter) and anchor;
// the program's code must be complete.
void add_search_facts(const Node &root, bool sjis, Program &program);

}  // namespace bregexp

#endif
