// A set of characters: single bytes in a bitmap, double-byte Shift_JIS
// characters (codes 0x100 and above) as sorted ranges. Negation is applied
// when the class is built, so matching never has to think about it.
#ifndef BREGEXP_CHAR_CLASS_H
#define BREGEXP_CHAR_CLASS_H

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bregexp {

class CharClass {
public:
    void add(uint32_t code) { add_range(code, code); }
    void add_range(uint32_t low, uint32_t high);
    void add_class(const CharClass &other);
    void add_digits();
    void add_word_chars();
    void add_spaces();
    // Perl's POSIX class of this name ("alpha", "digit", ...) with its byte
    // meaning: ASCII members only. False for an unknown name.
    bool add_posix(const std::string &name);
    // ASCII letters get their other case too.
    void fold_ascii_case();
    void negate();

    bool has_byte(unsigned char b) const { return (bytes_[b >> 6] >> (b & 63)) & 1u; }
    bool matches(uint32_t code) const {
        if (code < 256) return has_byte(static_cast<unsigned char>(code));
        for (const auto &r : wide_) {
            if (code < r.first) return false;
            if (code <= r.second) return true;
        }
        return false;
    }
    bool matches_every_char() const;
    bool matches_all_but_newline() const;
    // Bytes a character of this class can begin with (lead bytes for double-byte ranges).
    std::array<bool, 256> first_bytes() const;
    const std::vector<std::pair<uint32_t, uint32_t>> &wide_ranges() const { return wide_; }

private:
    void normalise();
    std::array<uint64_t, 4> bytes_{};
    std::vector<std::pair<uint32_t, uint32_t>> wide_;
};

}  // namespace bregexp

#endif
