#include "start_filter.h"

#include <vector>

#include "sjis.h"

namespace bregexp {

namespace {

// Exploring the program is cheap for real patterns; a huge expanded one is
// simply not filtered.
constexpr size_t kMaxVisits = 200000;

class PairAnalysis {
public:
    explicit PairAnalysis(Program &program) : program_(program), code_(program.code) {}

    bool run() {
        std::vector<char> visited(code_.size(), 0);
        if (!first_level(0, visited)) return false;
        return !exhausted_;
    }

private:
    ByteSet item_bytes(Op item, uint32_t a) const {
        ByteSet set;
        switch (item) {
        case Op::literal:
            set.add(static_cast<unsigned char>(a >= 256 ? a >> 8 : a));
            break;
        case Op::literal_fold:
            set.add(static_cast<unsigned char>(a));
            set.add(static_cast<unsigned char>(a - 32));
            break;
        case Op::any:
            set.fill();
            set.remove('\n');
            break;
        case Op::any_all: set.fill(); break;
        default: {
            const auto bytes = program_.classes[a].first_bytes();
            for (unsigned b = 0; b < 256; ++b)
                if (bytes[b]) set.add(static_cast<unsigned char>(b));
            break;
        }
        }
        return set;
    }

    bool visit(uint32_t pc, std::vector<char> &visited) {
        if (++visits_ > kMaxVisits) exhausted_ = true;
        if (exhausted_ || visited[pc]) return false;
        visited[pc] = 1;
        return true;
    }

    // Bytes that can be consumed first from pc on; all bytes when the match
    // can end (or its next byte cannot be told) before anything is consumed.
    void next_bytes(uint32_t pc, ByteSet &out, std::vector<char> &visited) {
        if (!visit(pc, visited)) return;
        const Instruction &in = code_[pc];
        switch (in.op) {
        case Op::string: out.add(static_cast<unsigned char>(program_.strings[in.a][0])); return;
        case Op::literal:
        case Op::literal_fold:
        case Op::any:
        case Op::any_all:
        case Op::char_class: out.add_all(item_bytes(in.op, in.a)); return;
        case Op::repeat:
            out.add_all(item_bytes(in.item, in.a));
            if (in.min == 0) next_bytes(pc + 1, out, visited);
            return;
        case Op::split:
            next_bytes(in.a, out, visited);
            next_bytes(in.b, out, visited);
            return;
        case Op::jump: next_bytes(in.a, out, visited); return;
        case Op::loop_check:
            next_bytes(pc + 1, out, visited);
            next_bytes(in.b, out, visited);
            return;
        case Op::lookahead: next_bytes(in.b, out, visited); return;
        case Op::open:
        case Op::close:
        case Op::loop_mark:
        case Op::assertion: next_bytes(pc + 1, out, visited); return;
        default: out.fill(); return;  // match, backref, lookahead end
        }
    }

    ByteSet after(uint32_t pc) {
        ByteSet set;
        std::vector<char> visited(code_.size(), 0);
        next_bytes(pc, set, visited);
        return set;
    }

    // A first byte b that may start a double-byte character can be followed by anything.
    void add_first(unsigned char b, const ByteSet &second) {
        if (program_.sjis && is_lead_byte(b))
            program_.second_bytes[b].fill();
        else
            program_.second_bytes[b].add_all(second);
    }

    void add_item(const ByteSet &first, const ByteSet &second) {
        for (unsigned b = 0; b < 256; ++b)
            if (first.has(static_cast<unsigned char>(b))) add_first(static_cast<unsigned char>(b), second);
    }

    bool first_level(uint32_t pc, std::vector<char> &visited) {
        if (!visit(pc, visited)) return !exhausted_;
        const Instruction &in = code_[pc];
        switch (in.op) {
        case Op::string: {
            const std::string &s = program_.strings[in.a];
            const unsigned char b = static_cast<unsigned char>(s[0]);
            if (s.size() >= 2) {
                ByteSet second;
                second.add(static_cast<unsigned char>(s[1]));
                program_.second_bytes[b].add_all(second);
            } else {
                add_first(b, after(pc + 1));
            }
            return true;
        }
        case Op::literal:
            if (in.a >= 256) {
                program_.second_bytes[in.a >> 8].add(static_cast<unsigned char>(in.a & 0xFF));
                return true;
            }
            add_item(item_bytes(in.op, in.a), after(pc + 1));
            return true;
        case Op::literal_fold:
        case Op::any:
        case Op::any_all:
        case Op::char_class: add_item(item_bytes(in.op, in.a), after(pc + 1)); return true;
        case Op::repeat: {
            const ByteSet first = item_bytes(in.item, in.a);
            ByteSet second;
            if (in.max > 1) second.add_all(first);
            if (in.min <= 1) second.add_all(after(pc + 1));
            add_item(first, second);
            return in.min > 0 || first_level(pc + 1, visited);
        }
        case Op::split: return first_level(in.a, visited) && first_level(in.b, visited);
        case Op::jump: return first_level(in.a, visited);
        case Op::loop_check: return first_level(pc + 1, visited) && first_level(in.b, visited);
        case Op::lookahead: return first_level(in.b, visited);
        case Op::open:
        case Op::close:
        case Op::loop_mark:
        case Op::assertion: return first_level(pc + 1, visited);
        default: return false;  // an empty match or a back-reference: no filter
        }
    }

    Program &program_;
    const std::vector<Instruction> &code_;
    size_t visits_ = 0;
    bool exhausted_ = false;
};

}  // namespace

void compute_pair_filter(Program &program) {
    program.use_pair_filter = false;
    if (!program.use_first_bytes) return;
    for (auto &set : program.second_bytes) set = ByteSet();
    if (!PairAnalysis(program).run()) return;
    // Worth it only when some first byte rules out part of its followers.
    for (unsigned b = 0; b < 256; ++b)
        if (program.first_bytes[b] && !program.second_bytes[b].full()) program.use_pair_filter = true;
}

}  // namespace bregexp
