// Back-references that can only ever repeat one fixed text. "(menu)...\1"
// refers to a group that matches nothing but "menu" and is always set
// before the reference is reached, so the reference is that literal: the
// program then has no back-reference left and can be memoised.
#ifndef BREGEXP_FIXED_BACKREFS_H
#define BREGEXP_FIXED_BACKREFS_H

#include "ast.h"
#include "compile_budget.h"

namespace bregexp {

// Replaces every such back-reference in the tree by a copy of the group's
// text, charged to budget.
void inline_fixed_backrefs(NodePtr &root, CompileBudget &budget);

}  // namespace bregexp

#endif
