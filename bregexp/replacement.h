// The replacement part of s///, parsed once into literal pieces and group
// references, then expanded for every match.
#ifndef BREGEXP_REPLACEMENT_H
#define BREGEXP_REPLACEMENT_H

#include <string>
#include <string_view>
#include <vector>

namespace bregexp {

class Replacement {
public:
    Replacement() = default;
    Replacement(std::string_view text, bool sjis);

    // Appends the replacement for one match; captures as produced by Matcher.
    void expand(const char *subject, const std::vector<size_t> &captures, std::string &out) const;

private:
    struct Piece {
        std::string literal;
        int group = -1;  // >= 0: the text of this group instead of literal
    };
    void add_literal(std::string_view bytes);
    void add_group(int group);
    std::vector<Piece> pieces_;
};

}  // namespace bregexp

#endif
