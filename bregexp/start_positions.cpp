#include "start_positions.h"

#include <algorithm>

namespace bregexp {

size_t StartPositions::next_candidate(size_t pos, size_t limit) {
    const auto &set = program_.first_bytes;
    size_t p = pos;
    const bool by_bytes = !subject_.sjis() || program_.first_bytes_are_boundaries;
    if (program_.use_pair_filter) {
        const auto &second = program_.second_bytes;
        while (p < limit) {
            const unsigned char b = text_[p];
            if (set[b] && (p + 1 == size_ || second[b].has(text_[p + 1]))) break;
            p += by_bytes ? 1 : subject_.width(p);
        }
    } else if (by_bytes) {
        while (p < limit && !set[text_[p]]) ++p;
    } else {
        while (p < limit && !set[text_[p]]) p += subject_.width(p);
    }
    meter_.add((p - pos) / kBytesPerStep);
    return p < limit ? p : kNoPosition;
}

// Whether the literal occurs at or after from; each occurrence found is kept.
bool StartPositions::literal_follows(const LiteralSearch &literal, size_t &found_at, size_t from) {
    if (literal.empty()) return true;
    if (found_at != kNoPosition && found_at >= from) return true;
    const size_t at = literal.find(text_, size_, from);
    meter_.add(((at == kNoPosition ? size_ : at) - from) / kBytesPerStep);
    if (at == kNoPosition) return false;
    found_at = at;
    return true;
}

bool StartPositions::required_text_follows(size_t from) {
    return literal_follows(program_.required, required_found_at_, from) &&
           literal_follows(program_.required_last, required_last_found_at_, from);
}

// The first position at or after from where a match can begin, given the
// anchor literal; window_end is the last such position before the anchor has
// to be looked for again. kNoPosition when the anchor does not occur.
size_t StartPositions::earliest_start(size_t from, size_t &window_end) {
    // The occurrence kept is the first after anchor_from_: the first after
    // from too only when from lies between them (the Pike VM asks ahead of
    // the match it then returns).
    if (anchor_at_ == kNoPosition || anchor_at_ < from || from < anchor_from_) {
        anchor_from_ = from;
        anchor_at_ = program_.anchor.find(text_, size_, from);
        meter_.add(((anchor_at_ == kNoPosition ? size_ : anchor_at_) - from) / kBytesPerStep);
        if (anchor_at_ == kNoPosition) return kNoPosition;
        anchor_window_ = anchor_at_;
        if (!program_.anchor_prefix_empty) {
            while (anchor_window_ > from && program_.prefix_bytes.has(text_[anchor_window_ - 1])) --anchor_window_;
            meter_.add((anchor_at_ - anchor_window_) / kBytesPerStep);
        }
    }
    window_end = anchor_at_;
    return std::max(from, anchor_window_);
}

size_t StartPositions::next(size_t pos) {
    const bool use_anchor = !program_.anchor.empty();
    for (size_t p = pos;;) {
        if (p > size_ || (program_.anchored && p != 0) || !required_text_follows(p)) return kNoPosition;
        size_t limit = size_;
        if (use_anchor) {
            if (window_end_ == kNoPosition || p > window_end_) {
                p = earliest_start(p, window_end_);
                if (p == kNoPosition) return kNoPosition;
            }
            limit = window_end_ + 1;
        }
        if (!program_.use_first_bytes) return p;
        const size_t candidate = next_candidate(p, limit);
        if (candidate != kNoPosition) return candidate;
        if (!use_anchor) return kNoPosition;
        p = limit;
    }
}

}  // namespace bregexp
