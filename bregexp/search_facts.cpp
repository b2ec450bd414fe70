#include "search_facts.h"

#include <string>
#include <vector>

#include "sjis.h"
#include "start_filter.h"

namespace bregexp {

namespace {

bool is_ascii_letter(uint32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Calls visit(code) for each character of a text node, in order; stops
// when visit returns false.
template <typename Visit>
void for_each_char(const Node &text, bool sjis, Visit visit) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.text.data());
    for (size_t i = 0; i < text.text.size();) {
        const size_t width = char_width(bytes, i, text.text.size(), sjis);
        if (!visit(char_code(bytes, i, width))) return;
        i += width;
    }
}

// One character of a text node as a literal node.
Node char_of(const Node &text, uint32_t code) {
    Node literal(Node::Kind::literal);
    literal.code = code;
    literal.fold = text.fold;
    return literal;
}

// Adds the bytes a match of node can begin with; returns true when node can
// also match the empty string (then what follows contributes too).
bool collect_first_bytes(const Node &node, bool sjis, std::array<bool, 256> &set) {
    switch (node.kind) {
    case Node::Kind::text:
        for_each_char(node, sjis, [&](uint32_t code) {
            collect_first_bytes(char_of(node, code), sjis, set);
            return false;
        });
        return false;
    case Node::Kind::literal:
    case Node::Kind::any:
    case Node::Kind::char_class: {
        const auto bytes = as_class(node).first_bytes();
        for (size_t i = 0; i < 256; ++i) set[i] = set[i] || bytes[i];
        return false;
    }
    case Node::Kind::concat:
        for (const auto &child : node.children)
            if (!collect_first_bytes(*child, sjis, set)) return false;
        return true;
    case Node::Kind::alternation: {
        bool any_nullable = false;
        for (const auto &child : node.children) any_nullable = collect_first_bytes(*child, sjis, set) || any_nullable;
        return any_nullable;
    }
    case Node::Kind::group: return collect_first_bytes(*node.children[0], sjis, set);
    case Node::Kind::repeat: return collect_first_bytes(*node.children[0], sjis, set) || node.min == 0;
    case Node::Kind::backref:
        set.fill(true);
        return true;
    default: return true;  // assertions and lookaheads consume nothing
    }
}

// Literal byte runs that every match must contain, gathered from the parts
// of the pattern that cannot be skipped.
void collect_required(const Node &node, bool sjis, std::vector<std::string> &runs) {
    switch (node.kind) {
    case Node::Kind::text:
        if (!node.fold) {
            if (runs.empty()) runs.emplace_back();
            runs.back() += node.text;
            return;
        }
        // A letter under i ends the run (one empty run stands for any number).
        for_each_char(node, sjis, [&](uint32_t code) {
            if (is_ascii_letter(code) && !runs.empty() && runs.back().empty()) return true;
            collect_required(char_of(node, code), sjis, runs);
            return true;
        });
        return;
    case Node::Kind::literal: {
        const bool lone_lead = sjis && node.code < 256 && is_lead_byte(static_cast<unsigned char>(node.code));
        if ((node.fold && is_ascii_letter(node.code)) || lone_lead) {
            runs.emplace_back();
            return;
        }
        if (runs.empty()) runs.emplace_back();
        if (node.code >= 256) runs.back() += static_cast<char>(node.code >> 8);
        runs.back() += static_cast<char>(node.code & 0xFF);
        return;
    }
    case Node::Kind::concat:
        for (const auto &child : node.children) collect_required(*child, sjis, runs);
        return;
    case Node::Kind::group:
        // A group consumes nothing itself: literals on both sides of its
        // edges are adjacent in the text.
        collect_required(*node.children[0], sjis, runs);
        return;
    case Node::Kind::repeat: {
        if (node.min == 0) {
            runs.emplace_back();
            return;
        }
        // The first iteration's leading literal follows what came before,
        // and what follows comes right after the last iteration's trailing
        // literal, as in ",b" for (.*?,){12}b.
        std::vector<std::string> inner(1);
        collect_required(*node.children[0], sjis, inner);
        if (runs.empty()) runs.emplace_back();
        runs.back() += inner[0];
        if (inner.size() == 1 && node.max != 1) {
            // Only literals, repeated: a copy joins each side.
            runs.emplace_back(inner[0]);
            return;
        }
        runs.insert(runs.end(), inner.begin() + 1, inner.end());
        return;
    }
    case Node::Kind::assertion:
    case Node::Kind::lookahead:
        return;
    default:
        runs.emplace_back();
        return;
    }
}

// Appends the literal bytes node begins with; true when it is nothing but literals.
bool append_leading_literal(const Node &node, bool sjis, std::string &run) {
    switch (node.kind) {
    case Node::Kind::text: {
        bool all = true;
        for_each_char(node, sjis, [&](uint32_t code) {
            all = append_leading_literal(char_of(node, code), sjis, run);
            return all;
        });
        return all;
    }
    case Node::Kind::literal:
        if (node.fold && is_ascii_letter(node.code)) return false;
        if (sjis && node.code < 256 && is_lead_byte(static_cast<unsigned char>(node.code))) return false;
        if (node.code >= 256) run += static_cast<char>(node.code >> 8);
        run += static_cast<char>(node.code & 0xFF);
        return true;
    case Node::Kind::group: return append_leading_literal(*node.children[0], sjis, run);
    case Node::Kind::concat:
        for (const auto &child : node.children)
            if (!append_leading_literal(*child, sjis, run)) return false;
        return true;
    default: return false;
    }
}

// Bytes a node can consume (all of them when that cannot be told simply).
void add_consumable_bytes(const Node &node, bool sjis, ByteSet &bytes) {
    switch (node.kind) {
    case Node::Kind::text:
        for_each_char(node, sjis, [&](uint32_t code) {
            add_consumable_bytes(char_of(node, code), sjis, bytes);
            return true;
        });
        return;
    case Node::Kind::literal:
    case Node::Kind::any:
    case Node::Kind::char_class: {
        const CharClass chars = as_class(node);
        const auto first = chars.first_bytes();
        for (unsigned b = 0; b < 256; ++b)
            if (first[b]) bytes.add(static_cast<unsigned char>(b));
        if (sjis && !chars.wide_ranges().empty())
            for (unsigned b = 0x40; b <= 0xFC; ++b)
                if (is_trail_byte(static_cast<unsigned char>(b))) bytes.add(static_cast<unsigned char>(b));
        return;
    }
    case Node::Kind::concat:
    case Node::Kind::alternation:
    case Node::Kind::group:
    case Node::Kind::repeat:
        for (const auto &child : node.children) add_consumable_bytes(*child, sjis, bytes);
        return;
    case Node::Kind::assertion:
    case Node::Kind::lookahead:
    case Node::Kind::empty: return;
    default: bytes.fill(); return;
    }
}

void find_anchor(const Node &root, bool sjis, Program &program) {
    std::vector<const Node *> items;
    if (root.kind == Node::Kind::concat) {
        for (const auto &child : root.children) items.push_back(child.get());
    } else {
        items.push_back(&root);
    }
    ByteSet prefix;
    bool prefix_empty = true;
    for (size_t i = 0; i < items.size(); ++i) {
        std::string run;
        for (size_t j = i; j < items.size() && append_leading_literal(*items[j], sjis, run); ++j) {
        }
        if (!run.empty()) {
            // Under k the literal must start a character wherever it is found,
            // and the byte ending a prefix run must end a character.
            const unsigned char first = static_cast<unsigned char>(run[0]);
            bool usable = !sjis || !is_trail_byte(first);
            if (sjis && !prefix_empty)
                for (unsigned b = 0; b < 256; ++b)
                    if (!prefix.has(static_cast<unsigned char>(b)) && is_lead_byte(static_cast<unsigned char>(b))) usable = false;
            if (usable) {
                program.anchor = LiteralSearch(run);
                program.anchor_prefix_empty = prefix_empty;
                program.prefix_bytes = prefix;
            }
            return;
        }
        add_consumable_bytes(*items[i], sjis, prefix);
        if (prefix.full()) return;
        if (items[i]->kind != Node::Kind::assertion && items[i]->kind != Node::Kind::lookahead) prefix_empty = false;
    }
}

}  // namespace

CharClass as_class(const Node &node) {
    CharClass chars;
    switch (node.kind) {
    case Node::Kind::literal:
        chars.add(node.code);
        if (node.fold) chars.fold_ascii_case();
        break;
    case Node::Kind::any:
        if (!node.dot_all) chars.add('\n');
        chars.negate();
        break;
    default:
        chars = node.chars;
        break;
    }
    return chars;
}

void add_search_facts(const Node &root, bool sjis, Program &program) {
    const Node *first = &root;
    if (root.kind == Node::Kind::concat && !root.children.empty()) first = root.children[0].get();
    program.anchored = first->kind == Node::Kind::assertion && first->assertion == AssertKind::text_start;

    std::vector<std::string> runs;
    collect_required(root, sjis, runs);
    std::string required;
    for (const auto &run : runs)
        if (run.size() > required.size()) required = run;
    program.required = LiteralSearch(required);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        if (run->size() < 2) continue;
        program.required_last = LiteralSearch(*run);
        break;
    }

    std::array<bool, 256> set{};
    if (!collect_first_bytes(root, sjis, set)) {
        size_t count = 0;
        for (size_t b = 0; b < 256; ++b) {
            count += set[b];
            if (set[b] && is_trail_byte(static_cast<unsigned char>(b))) program.first_bytes_are_boundaries = false;
        }
        program.use_first_bytes = count < 256;
        program.first_bytes = set;
    }
    compute_pair_filter(program);
    if (!program.anchored) find_anchor(root, sjis, program);
    // The anchor's own search already proves the required text present.
    if (program.required.text() == program.anchor.text()) program.required = LiteralSearch();
}

}  // namespace bregexp
