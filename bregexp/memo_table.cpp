#include "memo_table.h"

#include <algorithm>

namespace bregexp {

namespace {

// A table of a few bits per text byte is the price of linear time; beyond
// this the rows used least are left out (their states are explored again).
size_t byte_cap(size_t positions) { return (size_t(16) << 20) + 2 * positions; }

uint64_t bits_from(size_t first) { return ~uint64_t(0) << (first & 63); }

}  // namespace

bool MemoTable::fits(uint32_t rows, size_t positions) {
    const size_t row_bytes = (positions + 63) / 64 * sizeof(uint64_t);
    return rows == 0 || rows <= byte_cap(positions) / row_bytes;
}

void MemoTable::allocate(uint32_t rows, size_t positions) {
    allocated_ = true;
    positions_ = positions;
    words_per_row_ = (positions + 63) / 64;
    const size_t row_bytes = words_per_row_ * sizeof(uint64_t);
    rows_ = static_cast<uint32_t>(std::min<size_t>(rows, byte_cap(positions) / row_bytes));
    bits_.assign(rows_ * words_per_row_, 0);
}

void MemoTable::set_range(int row, size_t from, size_t to) {
    to = std::min(to, positions_);
    if (from >= to) return;
    const size_t first = from >> 6;
    const size_t last = (to - 1) >> 6;
    touched_low_ = std::min(touched_low_, first);
    touched_high_ = std::max(touched_high_, last);
    uint64_t *row_bits = bits_.data() + static_cast<size_t>(row) * words_per_row_;
    const uint64_t tail = ~uint64_t(0) >> (63 - ((to - 1) & 63));
    if (first == last) {
        row_bits[first] |= bits_from(from) & tail;
        return;
    }
    row_bits[first] |= bits_from(from);
    std::fill(row_bits + first + 1, row_bits + last, ~uint64_t(0));
    row_bits[last] |= tail;
}

size_t MemoTable::next_set(int row, size_t from, size_t to) const {
    to = std::min(to, positions_);
    if (from >= to) return to;
    const uint64_t *row_bits = bits_.data() + static_cast<size_t>(row) * words_per_row_;
    size_t index = from >> 6;
    uint64_t w = row_bits[index] & bits_from(from);
    const size_t last = (to - 1) >> 6;
    while (w == 0) {
        if (++index > last) return to;
        w = row_bits[index];
    }
    const size_t found = index * 64 + static_cast<size_t>(__builtin_ctzll(w));
    return std::min(found, to);
}

size_t MemoTable::clear() {
    if (touched_low_ > touched_high_) return 0;
    const size_t width = touched_high_ - touched_low_ + 1;
    for (uint32_t row = 0; row < rows_; ++row) {
        uint64_t *row_bits = bits_.data() + static_cast<size_t>(row) * words_per_row_;
        std::fill(row_bits + touched_low_, row_bits + touched_high_ + 1, 0);
    }
    touched_low_ = SIZE_MAX;
    touched_high_ = 0;
    return width * rows_;
}

}  // namespace bregexp
