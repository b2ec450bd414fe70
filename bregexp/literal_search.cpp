#include "literal_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bregexp {

namespace {

constexpr size_t kNotFound = static_cast<size_t>(-1);

// How common a byte is in ordinary text, from 0 (rare) to 4 (everywhere):
// the space above all, then lower-case letters and Shift_JIS bytes, markup
// punctuation less so, signs like '%' rare.
int commonness(unsigned char b) {
    if (b == ' ') return 4;
    if ((b >= 'a' && b <= 'z') || b >= 0x80) return 3;
    if (b != 0 && std::strchr(".,<>/\"=-_\r\n\t", b)) return 2;
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || (b != 0 && std::strchr("();:!?'*+&", b))) return 1;
    return 0;
}

size_t rarest(const std::string &needle, size_t except) {
    size_t best = kNotFound;
    for (size_t i = 0; i < needle.size(); ++i) {
        if (i == except) continue;
        if (best == kNotFound || commonness(static_cast<unsigned char>(needle[i])) <
                                     commonness(static_cast<unsigned char>(needle[best])))
            best = i;
    }
    return best;
}

}  // namespace

LiteralSearch::LiteralSearch(std::string needle) : needle_(std::move(needle)) {
    if (needle_.empty()) return;
    rare_ = rarest(needle_, kNotFound);
    second_ = needle_.size() > 1 ? rarest(needle_, rare_) : rare_;
}

// memchr for the rarest byte, then a full comparison at each hit.
size_t LiteralSearch::find_by_rare_byte(const unsigned char *text, size_t size, size_t from) const {
    const size_t n = needle_.size();
    const unsigned char wanted = static_cast<unsigned char>(needle_[rare_]);
    size_t p = from + rare_;
    while (p < size) {
        const void *hit = std::memchr(text + p, wanted, size - p);
        if (!hit) break;
        const size_t at = static_cast<size_t>(static_cast<const unsigned char *>(hit) - text) - rare_;
        if (size - at >= n && std::memcmp(text + at, needle_.data(), n) == 0) return at;
        p = at + rare_ + 1;
    }
    return kNotFound;
}

size_t LiteralSearch::find(const unsigned char *text, size_t size, size_t from) const {
    const size_t n = needle_.size();
    if (n == 0) return from <= size ? from : kNotFound;
    if (from > size || size - from < n) return kNotFound;
#if defined(__SSE2__)
    if (n >= 2) {
        const size_t last = size - n;  // last possible start
        const __m128i first_byte = _mm_set1_epi8(static_cast<char>(needle_[rare_]));
        const __m128i second_byte = _mm_set1_epi8(static_cast<char>(needle_[second_]));
        // Where both bytes agree, as a byte mask of 16 starts.
        auto agreeing = [&](size_t at) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + rare_));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at + second_));
            return _mm_and_si128(_mm_cmpeq_epi8(a, first_byte), _mm_cmpeq_epi8(b, second_byte));
        };
        auto verify = [&](size_t at, __m128i agree) {
            for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(agree)); mask != 0; mask &= mask - 1) {
                const size_t start = at + static_cast<size_t>(__builtin_ctz(mask));
                if (std::memcmp(text + start, needle_.data(), n) == 0) return start;
            }
            return kNotFound;
        };
        // Loads stay inside the text: a block of B starts at p reads up to
        // p + B - 1 + offset <= last + n - 1 when p + B - 1 <= last. Blocks
        // of 64 starts pay for one mask test where nothing agrees.
        size_t p = from;
        for (; last >= 63 && p <= last - 63; p += 64) {
            // A hint, never a fault past the text's end: the hardware
            // prefetcher alone leaves a large text's scan short of memory speed.
            _mm_prefetch(reinterpret_cast<const char *>(text + p + 1024), _MM_HINT_T0);
            const __m128i agree[4] = {agreeing(p), agreeing(p + 16), agreeing(p + 32), agreeing(p + 48)};
            const __m128i any = _mm_or_si128(_mm_or_si128(agree[0], agree[1]), _mm_or_si128(agree[2], agree[3]));
            if (_mm_movemask_epi8(any) == 0) continue;
            for (size_t i = 0; i < 4; ++i) {
                const size_t found = verify(p + 16 * i, agree[i]);
                if (found != kNotFound) return found;
            }
        }
        for (; last >= 15 && p <= last - 15; p += 16) {
            const size_t found = verify(p, agreeing(p));
            if (found != kNotFound) return found;
        }
        return p <= last ? find_by_rare_byte(text, size, p) : kNotFound;
    }
#endif
    return find_by_rare_byte(text, size, from);
}

}  // namespace bregexp
