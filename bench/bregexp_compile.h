// Compiling long patterns through BMatch: the time and the peak memory per
// pattern byte (at most 20, or 16 MB for a short pattern), and the refusal
// of a pattern past the 1 MB limit before it is parsed.
#pragma once

namespace bench {

void registerCompileRows();
void printCompileSummary();

}  // namespace bench
