// Counts an engine's work in steps of constant time and stops it at its
// limit: with an error for the back-reference backtracker, with a hand-over
// (SearchGaveUp) for an engine that another can replace.
#ifndef BREGEXP_WORK_METER_H
#define BREGEXP_WORK_METER_H

#include <cstdint>

#include "bregexp_error.h"

namespace bregexp {

extern const char *const kTooComplexMessage;

// Thrown when an engine passes a limit set for handing over to another.
struct SearchGaveUp {};

class WorkMeter {
public:
    enum class AtLimit { fail, give_up };

    WorkMeter(uint64_t limit, AtLimit at_limit) : limit_(limit), at_limit_(at_limit) {}

    void add(uint64_t steps) {
        used_ += steps;
        if (used_ > limit_) stop();
    }
    uint64_t used() const { return used_; }
    [[noreturn]] void stop() const {
        if (at_limit_ == AtLimit::give_up) throw SearchGaveUp();
        throw Error(kTooComplexMessage);
    }
    bool gives_up() const { return at_limit_ == AtLimit::give_up; }

private:
    uint64_t used_ = 0;
    uint64_t limit_;
    AtLimit at_limit_;
};

// Scanning runs of bytes is cheap; it is charged per this many bytes.
constexpr uint64_t kBytesPerStep = 32;

}  // namespace bregexp

#endif
