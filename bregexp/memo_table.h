// The memo table: one bit per (row, text position), set when the state it
// stands for is known to fail. Allocated only once a search backtracks
// heavily, and then cut to fit a memory cap (rows are ordered by use, so
// the most useful ones stay).
#ifndef BREGEXP_MEMO_TABLE_H
#define BREGEXP_MEMO_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bregexp {

class MemoTable {
public:
    // Rows for positions 0 .. positions-1, as many of `rows` as the cap allows.
    void allocate(uint32_t rows, size_t positions);
    // Whether all the rows fit under the cap.
    static bool fits(uint32_t rows, size_t positions);
    bool allocated() const { return allocated_; }
    bool has_row(int row) const { return row >= 0 && static_cast<uint32_t>(row) < rows_; }

    bool test(int row, size_t pos) const { return (bits_[word(row, pos)] >> (pos & 63)) & 1u; }
    void set(int row, size_t pos) { set_range(row, pos, pos + 1); }
    // Sets [from, to), clipped to the table.
    void set_range(int row, size_t from, size_t to);
    // First set position in [from, to), or `to`; costs one step per 64 positions.
    size_t next_set(int row, size_t from, size_t to) const;
    // Clears what was set since the last call; returns the 64-bit words written.
    size_t clear();

private:
    size_t word(int row, size_t pos) const { return static_cast<size_t>(row) * words_per_row_ + (pos >> 6); }

    bool allocated_ = false;
    uint32_t rows_ = 0;
    size_t positions_ = 0;
    size_t words_per_row_ = 0;
    std::vector<uint64_t> bits_;
    size_t touched_low_ = SIZE_MAX;  // word columns written since the last clear
    size_t touched_high_ = 0;
};

}  // namespace bregexp

#endif
