#include "char_class.h"

#include <algorithm>

#include "sjis.h"

namespace bregexp {

namespace {
constexpr uint32_t kLastCode = 0xFFFF;
}

void CharClass::add_range(uint32_t low, uint32_t high) {
    for (uint32_t c = low; c <= high && c < 256; ++c) bytes_[c >> 6] |= uint64_t(1) << (c & 63);
    if (high >= 256) {
        wide_.emplace_back(std::max<uint32_t>(low, 256), std::min(high, kLastCode));
        normalise();
    }
}

void CharClass::add_class(const CharClass &other) {
    for (size_t i = 0; i < bytes_.size(); ++i) bytes_[i] |= other.bytes_[i];
    wide_.insert(wide_.end(), other.wide_.begin(), other.wide_.end());
    normalise();
}

void CharClass::add_digits() { add_range('0', '9'); }

void CharClass::add_word_chars() {
    add_range('0', '9');
    add_range('A', 'Z');
    add_range('a', 'z');
    add('_');
}

void CharClass::add_spaces() {
    for (char c : {' ', '\t', '\n', '\r', '\f', '\v'}) add(static_cast<unsigned char>(c));
}

bool CharClass::add_posix(const std::string &name) {
    if (name == "alpha") {
        add_range('A', 'Z');
        add_range('a', 'z');
    } else if (name == "digit") {
        add_digits();
    } else if (name == "alnum") {
        add_digits();
        add_range('A', 'Z');
        add_range('a', 'z');
    } else if (name == "upper") {
        add_range('A', 'Z');
    } else if (name == "lower") {
        add_range('a', 'z');
    } else if (name == "space") {
        add_spaces();
    } else if (name == "blank") {
        add(' ');
        add('\t');
    } else if (name == "punct") {
        add_range('!', '/');
        add_range(':', '@');
        add_range('[', '`');
        add_range('{', '~');
    } else if (name == "print") {
        add_range(' ', '~');
    } else if (name == "graph") {
        add_range('!', '~');
    } else if (name == "cntrl") {
        add_range(0, 0x1F);
        add(0x7F);
    } else if (name == "xdigit") {
        add_digits();
        add_range('A', 'F');
        add_range('a', 'f');
    } else if (name == "word") {
        add_word_chars();
    } else if (name == "ascii") {
        add_range(0, 0x7F);
    } else {
        return false;
    }
    return true;
}

void CharClass::fold_ascii_case() {
    for (uint32_t c = 'A'; c <= 'Z'; ++c) {
        if (has_byte(static_cast<unsigned char>(c)) || has_byte(static_cast<unsigned char>(c + 32))) {
            add(c);
            add(c + 32);
        }
    }
}

void CharClass::negate() {
    for (auto &word : bytes_) word = ~word;
    std::vector<std::pair<uint32_t, uint32_t>> rest;
    uint32_t next = 256;
    for (const auto &r : wide_) {
        if (r.first > next) rest.emplace_back(next, r.first - 1);
        next = r.second + 1;
    }
    if (next <= kLastCode) rest.emplace_back(next, kLastCode);
    wide_.swap(rest);
}

void CharClass::normalise() {
    std::sort(wide_.begin(), wide_.end());
    std::vector<std::pair<uint32_t, uint32_t>> merged;
    for (const auto &r : wide_) {
        if (!merged.empty() && r.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    wide_.swap(merged);
}

bool CharClass::matches_every_char() const {
    for (auto word : bytes_)
        if (word != ~uint64_t(0)) return false;
    return wide_.size() == 1 && wide_[0].first == 256 && wide_[0].second == kLastCode;
}

bool CharClass::matches_all_but_newline() const {
    CharClass copy = *this;
    if (copy.has_byte('\n')) return false;
    copy.add('\n');
    return copy.matches_every_char();
}

std::array<bool, 256> CharClass::first_bytes() const {
    std::array<bool, 256> result{};
    for (unsigned b = 0; b < 256; ++b) result[b] = has_byte(static_cast<unsigned char>(b));
    for (const auto &r : wide_)
        for (uint32_t lead = r.first >> 8; lead <= (r.second >> 8); ++lead)
            if (is_lead_byte(static_cast<unsigned char>(lead))) result[lead] = true;  // no other code can occur
    return result;
}

}  // namespace bregexp
