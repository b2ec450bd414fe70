#include "compiler.h"

#include "bregexp_error.h"
#include "group_reset.h"
#include "memo_plan.h"
#include "nfa.h"
#include "search_facts.h"
#include "sjis.h"

namespace bregexp {

const char *const kPatternTooLargeMessage = "pattern too large";

namespace {

constexpr size_t kMaxProgramSize = 1u << 19;
constexpr uint64_t kMaxJoinedCount = 1u << 24;

bool is_ascii_letter(uint32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Is this node exactly one character wide? Such nodes can be merged into a
// class or repeated without per-character backtrack frames.
bool is_single_char(const Node &node) {
    return node.kind == Node::Kind::literal || node.kind == Node::Kind::any || node.kind == Node::Kind::char_class;
}

bool nullable(const Node &node) {
    switch (node.kind) {
    case Node::Kind::literal:
    case Node::Kind::text:
    case Node::Kind::any:
    case Node::Kind::char_class: return false;
    case Node::Kind::concat:
        for (const auto &child : node.children)
            if (!nullable(*child)) return false;
        return true;
    case Node::Kind::alternation:
        for (const auto &child : node.children)
            if (nullable(*child)) return true;
        return false;
    case Node::Kind::group: return nullable(*node.children[0]);
    case Node::Kind::repeat: return node.min == 0 || nullable(*node.children[0]);
    default: return true;
    }
}

class Compiler {
public:
    Compiler(const Flags &flags, Program &program, CompileBudget &budget)
        : flags_(flags), program_(program), budget_(budget) {}

    void emit(const Node &node) {
        if (program_.code.size() > kMaxProgramSize) throw Error(kPatternTooLargeMessage);
        switch (node.kind) {
        case Node::Kind::empty: break;
        case Node::Kind::text: emit_concat(node); break;
        case Node::Kind::literal:
        case Node::Kind::any:
        case Node::Kind::char_class: {
            Instruction in;
            set_item(node, in.op, in.a);
            push(in);
            break;
        }
        case Node::Kind::concat: emit_concat(node); break;
        case Node::Kind::alternation: emit_alternation(node); break;
        case Node::Kind::group: emit_group(node); break;
        case Node::Kind::repeat: emit_repeat(node); break;
        case Node::Kind::assertion: {
            Instruction in;
            in.op = Op::assertion;
            in.assertion = node.assertion;
            push(in);
            break;
        }
        case Node::Kind::backref: {
            Instruction in;
            in.op = Op::backref;
            in.a = static_cast<uint32_t>(node.group);
            in.fold = node.fold;
            push(in);
            program_.backrefs = true;
            break;
        }
        case Node::Kind::lookahead: {
            Instruction in;
            in.op = Op::lookahead;
            in.negative = node.negative;
            const size_t at = push(in);
            // The sub-match ends at its own end, not at an enclosing loop's check.
            const int outer = current_loop_;
            current_loop_ = kNoMemo;
            emit(*node.children[0]);
            Instruction end;
            end.op = Op::lookahead_end;
            push(end);
            current_loop_ = outer;
            program_.code[at].b = here();
            break;
        }
        }
    }

    // First bytes the matcher can test before going on: for a repeat, the
    // byte its continuation begins with (used to jump ahead, so under
    // Shift_JIS only a byte that can never be part of a double-byte
    // character); for a split, the byte each branch needs at its position.
    void add_hints() {
        auto &code = program_.code;
        for (size_t pc = 0; pc < code.size(); ++pc) {
            Instruction &in = code[pc];
            if (in.op == Op::repeat) {
                const int byte = first_byte(pc + 1);
                const bool inside_characters = byte != kNoHint && flags_.sjis &&
                    (is_trail_byte(static_cast<unsigned char>(byte)) || is_lead_byte(static_cast<unsigned char>(byte)));
                in.hint = inside_characters ? kNoHint : byte;
            } else if (in.op == Op::split) {
                in.hint = first_byte(in.a);
                in.hint_b = first_byte(in.b);
            }
        }
    }

private:
    uint32_t here() const { return static_cast<uint32_t>(program_.code.size()); }

    // The byte a match from pc must begin with, when the first instruction
    // that consumes anything is a literal; group edges and jumps are passed over.
    int first_byte(size_t pc) const {
        const auto &code = program_.code;
        for (int hops = 0; pc < code.size() && hops < 16; ++hops) {
            const Instruction &in = code[pc];
            switch (in.op) {
            case Op::open:
            case Op::close: ++pc; break;
            case Op::jump: pc = in.a; break;
            case Op::string: return static_cast<unsigned char>(program_.strings[in.a][0]);
            case Op::string_fold: return kNoHint;
            case Op::literal: return static_cast<int>(in.a < 256 ? in.a : in.a >> 8);
            default: return kNoHint;
            }
        }
        return kNoHint;
    }

    size_t push(const Instruction &in) {
        budget_.charge(sizeof(Instruction) * 2);  // with the vector's room to grow
        program_.code.push_back(in);
        program_.code.back().loop = current_loop_;
        return program_.code.size() - 1;
    }

    void set_item(const Node &node, Op &op, uint32_t &a) {
        if (node.kind == Node::Kind::literal) {
            if (node.fold && is_ascii_letter(node.code)) {
                op = Op::literal_fold;
                a = node.code | 0x20;
            } else {
                op = Op::literal;
                a = node.code;
            }
            return;
        }
        const CharClass chars = as_class(node);
        if (chars.matches_every_char()) {
            op = Op::any_all;
        } else if (chars.matches_all_but_newline()) {
            op = Op::any;
        } else {
            op = Op::char_class;
            a = static_cast<uint32_t>(program_.classes.size());
            budget_.charge(sizeof(CharClass) * 2 + chars.wide_ranges().size() * 8);
            program_.classes.push_back(chars);
        }
    }

    // Can this literal or text be compared byte for byte as part of a string?
    bool mergeable(const Node &node) const {
        if (node.kind == Node::Kind::text) return !node.fold || !has_ascii_letter(node.text);
        if (node.kind != Node::Kind::literal) return false;
        if (node.fold && is_ascii_letter(node.code)) return false;
        return !(flags_.sjis && node.code < 256 && is_lead_byte(static_cast<unsigned char>(node.code)));
    }

    static bool has_ascii_letter(const std::string &text) {
        for (char c : text)
            if (is_ascii_letter(static_cast<unsigned char>(c))) return true;
        return false;
    }

    void push_string(Op op, const std::string &text) {
        Instruction in;
        in.op = op;
        in.a = static_cast<uint32_t>(program_.strings.size());
        budget_.charge(sizeof(std::string) * 2 + text.size());
        program_.strings.push_back(text);
        push(in);
    }

    // A text node alone, or the children of a concatenation: runs of
    // literal characters become one string comparison.
    void emit_concat(const Node &node) {
        std::string run;
        Node repeat(Node::Kind::repeat);  // consecutive repeats of one character, joined
        auto flush = [&]() {
            if (!repeat.children.empty()) {
                emit_repeat(repeat);
                repeat.children.clear();
            }
            if (run.empty()) return;
            push_string(Op::string, run);
            run.clear();
        };
        auto add = [&](const Node &child) {
            if (const Node *single = joinable_repeat(child)) {
                if (!repeat.children.empty() && !same_repeat(repeat, *single)) flush();
                if (repeat.children.empty()) {
                    flush();
                    repeat.children.push_back(copy_single(*single->children[0]));
                    repeat.min = 0;
                    repeat.max = 0;
                    repeat.greedy = single->greedy;
                }
                repeat.min += single->min;
                repeat.max = repeat.max == kUnbounded || single->max == kUnbounded ? kUnbounded : repeat.max + single->max;
                return;
            }
            if (mergeable(child)) {
                append_text(child, run);
            } else if (child.kind == Node::Kind::text) {
                flush();
                push_string(Op::string_fold, child.text);
            } else {
                flush();
                emit(child);
            }
            if (!repeat.children.empty()) flush();
        };
        if (node.kind == Node::Kind::text) {
            add(node);
        } else {
            for (const auto &child : node.children) add(*child);
        }
        flush();
    }

    // "x*x*" matches what "x*" matches and tries its ends in the same order
    // (likewise lazy, or with counts), so adjacent repeats of the same
    // literal or dot that capture nothing are one: a thousand "(?:a*)" in a
    // row are one loop. The repeat (in non-capturing groups), or null.
    static const Node *joinable_repeat(const Node &child) {
        const Node *node = &child;
        while (node->kind == Node::Kind::group && node->group == 0) node = node->children[0].get();
        if (node->kind != Node::Kind::repeat || node->min > node->max) return nullptr;
        const Node &body = *node->children[0];
        return body.kind == Node::Kind::literal || body.kind == Node::Kind::any ? node : nullptr;
    }

    static bool same_repeat(const Node &joined, const Node &next) {
        const Node &a = *joined.children[0];
        const Node &b = *next.children[0];
        return joined.greedy == next.greedy && a.kind == b.kind && a.code == b.code && a.fold == b.fold &&
               a.dot_all == b.dot_all && (joined.max == kUnbounded || next.max == kUnbounded ||
                                           uint64_t(joined.max) + next.max <= kMaxJoinedCount);
    }

    NodePtr copy_single(const Node &single) {
        auto copy = std::make_unique<Node>(single.kind);
        copy->code = single.code;
        copy->fold = single.fold;
        copy->dot_all = single.dot_all;
        return copy;
    }

    void emit_alternation(const Node &node) {
        // Only empty branches, as in "(?:|)": whichever is taken, nothing follows differently.
        bool all_empty = true;
        for (const auto &child : node.children)
            all_empty = all_empty && (child->kind == Node::Kind::empty || (child->kind == Node::Kind::concat && child->children.empty()));
        if (all_empty) return;
        bool all_single = true;
        for (const auto &child : node.children) all_single = all_single && is_single_char(*child);
        if (all_single) {
            // One character whichever branch is taken, so the branch order
            // cannot change the result: a class does the same without frames.
            Node merged(Node::Kind::char_class);
            for (const auto &child : node.children) merged.chars.add_class(as_class(*child));
            emit(merged);
            return;
        }
        std::vector<size_t> jumps;
        for (size_t i = 0; i < node.children.size(); ++i) {
            if (i + 1 < node.children.size()) {
                Instruction split;
                split.op = Op::split;
                const size_t at = push(split);
                program_.code[at].a = here();
                emit(*node.children[i]);
                Instruction jump;
                jump.op = Op::jump;
                jumps.push_back(push(jump));
                program_.code[at].b = here();
            } else {
                emit(*node.children[i]);
            }
        }
        for (size_t at : jumps) program_.code[at].a = here();
    }

    void emit_group(const Node &node) {
        if (node.group == 0) {
            emit(*node.children[0]);
            return;
        }
        Instruction open;
        open.op = Op::open;
        open.a = static_cast<uint32_t>(node.group);
        push(open);
        emit(*node.children[0]);
        Instruction close = open;
        close.op = Op::close;
        push(close);
    }

    // The single character a repeat body stands for, and the group capturing it.
    const Node *single_char_body(const Node &body, int &group) const {
        group = -1;
        const Node *node = &body;
        if (node->kind == Node::Kind::group) {
            group = node->group > 0 ? node->group : -1;
            node = node->children[0].get();
        }
        if (is_single_char(*node)) return node;
        if (node->kind == Node::Kind::alternation) {
            for (const auto &child : node->children)
                if (!is_single_char(*child)) return nullptr;
            return node;
        }
        return nullptr;
    }

    // "(?!TEXT)." with TEXT a plain literal: one character that does not
    // begin TEXT. Returns the dot, and TEXT in text.
    const Node *dot_unless_text(const Node &body, int &group, std::string &text) const {
        group = -1;
        const Node *node = &body;
        if (node->kind == Node::Kind::group) {
            group = node->group > 0 ? node->group : -1;
            node = node->children[0].get();
        }
        if (node->kind != Node::Kind::concat || node->children.size() != 2) return nullptr;
        const Node &ahead = *node->children[0];
        const Node &dot = *node->children[1];
        if (ahead.kind != Node::Kind::lookahead || !ahead.negative || dot.kind != Node::Kind::any) return nullptr;
        text.clear();
        const Node *inner = ahead.children[0].get();
        while (inner->kind == Node::Kind::group && inner->group == 0) inner = inner->children[0].get();
        if (mergeable(*inner)) {
            append_text(*inner, text);
        } else if (inner->kind == Node::Kind::concat) {
            for (const auto &child : inner->children) {
                if (!mergeable(*child)) return nullptr;
                append_text(*child, text);
            }
        }
        return text.empty() ? nullptr : &dot;
    }

    static void append_text(const Node &literal, std::string &text) {
        if (literal.kind == Node::Kind::text) {
            text += literal.text;
            return;
        }
        if (literal.code >= 256) text += static_cast<char>(literal.code >> 8);
        text += static_cast<char>(literal.code & 0xFF);
    }

    void emit_repeat(const Node &node) {
        // Inside a loop the group may hold an earlier iteration's value.
        const int unset = repeat_depth_ > 0 ? group_unset_by_empty_repeat(node, flags_.sjis) : 0;
        if (unset > 0) {
            Instruction in;
            in.op = Op::unset;
            in.a = static_cast<uint32_t>(unset);
            push(in);
        }
        ++repeat_depth_;
        emit_repeat_body(node);
        --repeat_depth_;
    }

    void emit_repeat_body(const Node &node) {
        const Node &body = *node.children[0];
        int group = -1;
        std::string unless;
        // One instruction repeating a single item; the caller sets the item.
        const auto push_single_repeat = [&](Instruction in) {
            in.op = Op::repeat;
            in.min = node.min;
            in.max = node.max;
            in.greedy = node.greedy;
            in.group = group;
            push(in);
        };
        if (const Node *dot = dot_unless_text(body, group, unless)) {
            Instruction in;
            in.item = dot->dot_all ? Op::any_all_unless : Op::any_unless;
            in.a = static_cast<uint32_t>(program_.strings.size());
            program_.strings.push_back(unless);
            push_single_repeat(in);
            return;
        }
        if (const Node *single = single_char_body(body, group)) {
            Instruction in;
            if (single->kind == Node::Kind::alternation) {
                Node merged(Node::Kind::char_class);
                for (const auto &child : single->children) merged.chars.add_class(as_class(*child));
                set_item(merged, in.item, in.a);
            } else {
                set_item(*single, in.item, in.a);
            }
            push_single_repeat(in);
            return;
        }
        // As in Perl, once the minimum is reached an iteration that matched
        // nothing ends the loop: the continuation is tried, not another round.
        const bool can_be_empty = nullable(body);
        const uint32_t reg = program_.loop_registers;
        if (can_be_empty) {
            ++program_.loop_registers;
            program_.loop_parent.push_back(current_loop_);
        }
        std::vector<size_t> exits;  // jumps to the end of the whole repeat
        auto emit_checked_body = [&]() {
            if (!can_be_empty) {
                emit(body);
                return;
            }
            Instruction mark;
            mark.op = Op::loop_mark;
            mark.a = reg;
            push(mark);
            const int outer = current_loop_;
            current_loop_ = static_cast<int>(reg);
            emit(body);
            Instruction check;
            check.op = Op::loop_check;
            check.a = reg;
            const size_t at = push(check);
            current_loop_ = outer;
            Instruction leave;
            leave.op = Op::jump;
            exits.push_back(push(leave));
            program_.code[at].b = here();
        };
        for (uint32_t i = 0; i < node.min; ++i) {
            if (i + 1 == node.min && node.max != node.min)
                emit_checked_body();
            else
                emit(body);
            if (program_.code.size() > kMaxProgramSize) throw Error(kPatternTooLargeMessage);
        }
        if (node.max == kUnbounded) {
            Instruction split;
            split.op = Op::split;
            const size_t loop = push(split);
            const uint32_t body_start = here();
            const int outer = current_loop_;
            if (can_be_empty) {
                Instruction mark;
                mark.op = Op::loop_mark;
                mark.a = reg;
                push(mark);
                current_loop_ = static_cast<int>(reg);
            }
            emit(body);
            Instruction back;
            back.op = can_be_empty ? Op::loop_check : Op::jump;
            if (can_be_empty) {
                back.a = reg;
                back.b = static_cast<uint32_t>(loop);
            } else {
                back.a = static_cast<uint32_t>(loop);
            }
            push(back);
            current_loop_ = outer;
            set_split(loop, body_start, here(), node.greedy);
        } else {
            std::vector<size_t> splits;
            for (uint32_t i = node.min; i < node.max; ++i) {
                Instruction split;
                split.op = Op::split;
                splits.push_back(push(split));
                emit_checked_body();
                if (program_.code.size() > kMaxProgramSize) throw Error(kPatternTooLargeMessage);
            }
            for (size_t at : splits) set_split(at, static_cast<uint32_t>(at + 1), here(), node.greedy);
        }
        for (size_t at : exits) program_.code[at].a = here();
    }

    void set_split(size_t at, uint32_t body, uint32_t exit, bool greedy) {
        program_.code[at].a = greedy ? body : exit;
        program_.code[at].b = greedy ? exit : body;
    }

    Flags flags_;
    Program &program_;
    CompileBudget &budget_;
    int current_loop_ = kNoMemo;  // register of the innermost nullable loop being emitted
    int repeat_depth_ = 0;        // repeats around what is being emitted
};

}  // namespace

Program compile_pattern(const ParsedPattern &pattern, const Flags &flags, CompileBudget &budget) {
    Program program;
    program.group_count = pattern.group_count;
    program.sjis = flags.sjis;
    Compiler compiler(flags, program, budget);
    compiler.emit(*pattern.root);
    Instruction done;
    done.op = Op::match;
    program.code.push_back(done);
    compiler.add_hints();
    plan_memo(program);
    if (!program.backrefs && nfa_size(program) > kMaxNfaSize) throw Error(kPatternTooLargeMessage);

    add_search_facts(*pattern.root, flags.sjis, program);
    return program;
}

}  // namespace bregexp
