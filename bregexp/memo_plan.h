// Which instructions get a row in the memo table. Following Davis, Servant
// and Lee (selective memoisation), only places where the matcher can arrive
// along more than one path are remembered: loop heads, the joins after
// alternatives, optional parts and repeats of one character that can stop
// after different counts, and repeats without an upper bound. With
// those rows a failure is never explored twice, so a program without
// back-references runs in time proportional to rows times text.
#ifndef BREGEXP_MEMO_PLAN_H
#define BREGEXP_MEMO_PLAN_H

#include "program.h"

namespace bregexp {

// Sets Instruction::memo and Program::memo_rows. A program with a
// back-reference gets no rows: its outcome depends on what groups hold.
void plan_memo(Program &program);

}  // namespace bregexp

#endif
