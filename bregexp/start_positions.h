// Where a match can begin, from the program's search facts: at the text
// start only, not once a required literal no longer follows, only in the
// run of prefix bytes before the anchor literal, only at a first byte (or
// byte pair) a match can begin with. Every engine asks this before it tries
// a start, so the literal and last-literal skipping serve them all. Literal
// occurrences found are kept, so the searches of one text scan it once.
#ifndef BREGEXP_START_POSITIONS_H
#define BREGEXP_START_POSITIONS_H

#include <cstddef>

#include "program.h"
#include "subject.h"
#include "work_meter.h"

namespace bregexp {

class StartPositions {
public:
    StartPositions(const Program &program, Subject &subject, WorkMeter &meter)
        : program_(program), subject_(subject), text_(subject.bytes()), size_(subject.size()), meter_(meter) {}

    // Call before each search; the anchor window is found afresh.
    void begin() { window_end_ = kNoPosition; }
    // The first position at or after pos (a character boundary) where a
    // match can begin, or kNoPosition.
    size_t next(size_t pos);

private:
    size_t next_candidate(size_t pos, size_t limit);
    bool required_text_follows(size_t from);
    bool literal_follows(const LiteralSearch &literal, size_t &found_at, size_t from);
    size_t earliest_start(size_t from, size_t &window_end);

    const Program &program_;
    Subject &subject_;
    const unsigned char *text_;
    size_t size_;
    WorkMeter &meter_;
    size_t window_end_ = kNoPosition;
    size_t required_found_at_ = kNoPosition;  // last place the required text was seen
    size_t required_last_found_at_ = kNoPosition;
    size_t anchor_from_ = 0;                  // where the search for it began
    size_t anchor_at_ = kNoPosition;          // last occurrence of the anchor literal found
    size_t anchor_window_ = kNoPosition;      // where the prefix run before it begins
};

}  // namespace bregexp

#endif
