// Perl's rule for a group repeated zero times: a repeated group of fixed
// width that holds no other group, "(b)?" or "(?:(bc|de))*", reads as unset
// when the repeat matches zero times, even if an earlier iteration of a
// loop around it had set it. (A group of varying width keeps that value.)
#ifndef BREGEXP_GROUP_RESET_H
#define BREGEXP_GROUP_RESET_H

#include "ast.h"

namespace bregexp {

// The group's number when the rule applies to this repeat node, else 0.
int group_unset_by_empty_repeat(const Node &repeat, bool sjis);

}  // namespace bregexp

#endif
