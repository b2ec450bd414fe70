// The memory a pattern may take to compile: 20 bytes per pattern byte, or
// 16 MB for a shorter pattern (a counted repeat is compiled as that many
// copies, so a short pattern may legitimately grow). The parser and the
// compiler charge what they keep; passing the allowance is an error at
// once, before the memory is taken.
#ifndef BREGEXP_COMPILE_BUDGET_H
#define BREGEXP_COMPILE_BUDGET_H

#include <algorithm>
#include <cstddef>

#include "bregexp_error.h"

namespace bregexp {

// Longest pattern accepted; a longer one is refused as the command is read.
constexpr size_t kMaxPatternBytes = size_t(1) << 20;
extern const char *const kPatternTooLongMessage;
extern const char *const kPatternTooLargeMessage;

class CompileBudget {
public:
    explicit CompileBudget(size_t pattern_bytes)
        : allowed_(std::max(pattern_bytes * 20, size_t(16) << 20)) {}

    void charge(size_t bytes) {
        used_ += bytes;
        if (used_ > allowed_) throw Error(kPatternTooLargeMessage);
    }
    // Memory given back (a node merged into another).
    void release(size_t bytes) { used_ -= bytes < used_ ? bytes : used_; }
    size_t used() const { return used_; }

private:
    size_t allowed_;
    size_t used_ = 0;
};

}  // namespace bregexp

#endif
