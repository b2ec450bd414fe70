#include "subject.h"

#include <cstring>

namespace bregexp {

namespace {

bool is_word_byte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// Compares n bytes of a and b character by character under the k rule
// (a's characters decide the widths), single bytes ASCII case folded.
bool equal_folded(const unsigned char *a, const unsigned char *b, size_t n, bool sjis) {
    for (size_t i = 0; i < n;) {
        const size_t w = char_width(a, i, n, sjis);
        if (w == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (fold(a[i]) != fold(b[i])) {
            return false;
        }
        i += w;
    }
    return true;
}

}  // namespace

// The run of lead-range bytes in front of pos decides where the character
// ending at pos begins.
size_t Subject::char_before(size_t lower, size_t pos, size_t &scanned) {
    const size_t last = pos - 1;
    if (!sjis_ || last == lower) return last;
    const bool last_is_lead = is_lead_byte(text_[last]);
    if (!last_is_lead && !is_trail_byte(text_[last])) return last;
    const size_t run_end = last_is_lead ? pos : last;  // lead bytes [run_start, run_end)
    size_t run_start;
    if (run_cache_end_ != kNoPosition && run_end >= run_cache_start_ && run_end <= run_cache_end_ &&
        (lower >= run_cache_start_ || run_cache_start_ == 0 || !is_lead_byte(text_[run_cache_start_ - 1]))) {
        run_start = lower > run_cache_start_ ? lower : run_cache_start_;
    } else {
        run_start = run_end;
        while (run_start > lower && is_lead_byte(text_[run_start - 1])) --run_start;
        scanned += run_end - run_start;
        run_cache_start_ = run_start;
        run_cache_end_ = run_end;
    }
    if (last_is_lead) return ((pos - run_start) % 2 == 0) ? pos - 2 : last;
    return ((last - run_start) % 2 == 1) ? last - 1 : last;
}

bool Subject::word_before(size_t pos, size_t &scanned) {
    if (pos == 0 || !is_word_byte(text_[pos - 1])) return false;
    return !sjis_ || char_before(0, pos, scanned) == pos - 1;
}

bool Subject::assertion_holds(AssertKind kind, size_t pos, size_t &scanned) {
    switch (kind) {
    case AssertKind::text_start: return pos == 0;
    case AssertKind::text_end: return pos == size_;
    case AssertKind::text_end_or_newline: return pos == size_ || (pos + 1 == size_ && text_[pos] == '\n');
    case AssertKind::line_start: return pos == 0 || (pos < size_ && text_[pos - 1] == '\n');
    case AssertKind::line_end: return pos == size_ || text_[pos] == '\n';
    case AssertKind::word_boundary:
    case AssertKind::not_word_boundary: {
        const bool after = pos < size_ && is_word_byte(text_[pos]);
        return (word_before(pos, scanned) != after) == (kind == AssertKind::word_boundary);
    }
    }
    return false;
}

bool Subject::string_at(const std::string &s, bool fold_case, size_t pos) const {
    if (size_ - pos < s.size()) return false;
    const auto *wanted = reinterpret_cast<const unsigned char *>(s.data());
    if (!fold_case) return std::memcmp(text_ + pos, wanted, s.size()) == 0;
    return equal_folded(wanted, text_ + pos, s.size(), sjis_);
}

bool Subject::copy_at(size_t from, size_t to, bool fold_case, size_t pos) const {
    const size_t length = to - from;
    if (size_ - pos < length) return false;
    if (!fold_case) {
        if (std::memcmp(text_ + from, text_ + pos, length) != 0) return false;
    } else if (!equal_folded(text_ + from, text_ + pos, length, sjis_)) {
        return false;
    }
    if (sjis_) {
        // The copy must end on a character boundary of the text here too.
        size_t p = pos;
        while (p < pos + length) p += width(p);
        if (p != pos + length) return false;
    }
    return true;
}

}  // namespace bregexp
