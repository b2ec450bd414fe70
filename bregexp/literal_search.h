// Finding a literal that every match must contain. Most texts are rejected
// or narrowed down here, so the scan runs at memory speed: two of the
// needle's rarest bytes are compared 16 positions at a time, and only where
// both agree is the whole needle compared.
#ifndef BREGEXP_LITERAL_SEARCH_H
#define BREGEXP_LITERAL_SEARCH_H

#include <cstddef>
#include <string>

namespace bregexp {

class LiteralSearch {
public:
    LiteralSearch() = default;
    explicit LiteralSearch(std::string needle);

    bool empty() const { return needle_.empty(); }
    size_t size() const { return needle_.size(); }
    const std::string &text() const { return needle_; }

    // First occurrence in text[from, size), or static_cast<size_t>(-1).
    size_t find(const unsigned char *text, size_t size, size_t from) const;

private:
    size_t find_by_rare_byte(const unsigned char *text, size_t size, size_t from) const;

    std::string needle_;
    size_t rare_ = 0;    // offset of the rarest byte
    size_t second_ = 0;  // offset of the next rarest byte at another place (needle of 2 bytes or more)
};

}  // namespace bregexp

#endif
