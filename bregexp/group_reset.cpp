#include "group_reset.h"

#include <cstdint>

#include "sjis.h"

namespace bregexp {

namespace {

bool has_capture(const Node &node) {
    if (node.kind == Node::Kind::group && node.group > 0) return true;
    for (const auto &child : node.children)
        if (has_capture(*child)) return true;
    return false;
}

// Characters every match of node has, when that number is fixed.
bool fixed_width(const Node &node, bool sjis, uint64_t &chars) {
    chars = 0;
    switch (node.kind) {
    case Node::Kind::empty:
    case Node::Kind::assertion:
    case Node::Kind::lookahead: return true;
    case Node::Kind::literal:
    case Node::Kind::any:
    case Node::Kind::char_class: chars = 1; return true;
    case Node::Kind::text: {
        const auto *bytes = reinterpret_cast<const unsigned char *>(node.text.data());
        for (size_t i = 0; i < node.text.size(); i += char_width(bytes, i, node.text.size(), sjis)) ++chars;
        return true;
    }
    case Node::Kind::group: return fixed_width(*node.children[0], sjis, chars);
    case Node::Kind::concat:
        for (const auto &child : node.children) {
            uint64_t part = 0;
            if (!fixed_width(*child, sjis, part)) return false;
            chars += part;
        }
        return true;
    case Node::Kind::alternation:
        for (size_t i = 0; i < node.children.size(); ++i) {
            uint64_t part = 0;
            if (!fixed_width(*node.children[i], sjis, part) || (i > 0 && part != chars)) return false;
            chars = part;
        }
        return true;
    case Node::Kind::repeat: {
        uint64_t part = 0;
        if (node.min != node.max || !fixed_width(*node.children[0], sjis, part)) return false;
        chars = part * node.min;
        return true;
    }
    default: return false;
    }
}

}  // namespace

int group_unset_by_empty_repeat(const Node &repeat, bool sjis) {
    if (repeat.min != 0) return 0;
    const Node *body = repeat.children[0].get();
    while (body->kind == Node::Kind::group && body->group == 0) body = body->children[0].get();
    uint64_t chars = 0;
    if (body->kind != Node::Kind::group || has_capture(*body->children[0]) || !fixed_width(*body, sjis, chars)) return 0;
    return body->group;
}

}  // namespace bregexp
