#include "start_filter.h"

#include <vector>

#include "sjis.h"

namespace bregexp {

namespace {

// Exploring the program is cheap for real patterns; a huge expanded one is
// simply not filtered.
constexpr size_t kMaxVisits = 200000;
constexpr size_t kMaxProgramForPairs = 20000;

class PairAnalysis {
public:
    explicit PairAnalysis(Program &program) : program_(program), code_(program.code) {}

    bool run() { return first_level(); }

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
        case Op::any_unless:
            set.fill();
            set.remove('\n');
            break;
        case Op::any_all:
        case Op::any_all_unless: set.fill(); break;
        default: {
            const auto bytes = program_.classes[a].first_bytes();
            for (unsigned b = 0; b < 256; ++b)
                if (bytes[b]) set.add(static_cast<unsigned char>(b));
            break;
        }
        }
        return set;
    }

    // Successors of an instruction that consumes nothing (its place in the
    // program is passed over); false for one that ends the analysis.
    bool pass_over(uint32_t pc, std::vector<uint32_t> &work) const {
        const Instruction &in = code_[pc];
        switch (in.op) {
        case Op::split:
        case Op::loop_check:
            work.push_back(in.op == Op::split ? in.a : pc + 1);
            work.push_back(in.b);
            return true;
        case Op::jump: work.push_back(in.a); return true;
        case Op::lookahead: work.push_back(in.b); return true;
        case Op::open:
        case Op::close:
        case Op::loop_mark:
        case Op::assertion: work.push_back(pc + 1); return true;
        default: return false;
        }
    }

    static bool consumes(Op op) {
        return op == Op::string || op == Op::literal || op == Op::literal_fold || op == Op::any ||
               op == Op::any_all || op == Op::char_class || op == Op::repeat;
    }

    // Bytes that can be consumed first from pc on; all bytes when the match
    // can end (or its next byte cannot be told) before anything is consumed.
    // An explicit work list: a long chain of empty loops must not recurse.
    ByteSet after(uint32_t start) {
        ByteSet out;
        std::vector<char> visited(code_.size(), 0);
        std::vector<uint32_t> work{start};
        while (!work.empty()) {
            const uint32_t pc = work.back();
            work.pop_back();
            if (visited[pc]) continue;
            visited[pc] = 1;
            if (++visits_ > kMaxVisits) {
                exhausted_ = true;
                out.fill();
                return out;
            }
            const Instruction &in = code_[pc];
            if (in.op == Op::string) {
                out.add(static_cast<unsigned char>(program_.strings[in.a][0]));
            } else if (in.op == Op::repeat) {
                out.add_all(item_bytes(in.item, in.a));
                if (in.min == 0) work.push_back(pc + 1);
            } else if (consumes(in.op)) {
                out.add_all(item_bytes(in.op, in.a));
            } else if (!pass_over(pc, work)) {
                out.fill();  // match, back-reference, end of a lookahead
                return out;
            }
        }
        return out;
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

    // Records, for every instruction that can consume the first character,
    // the bytes that can follow each first byte. False when the match can be
    // empty or begin with a back-reference: then there is no filter.
    bool first_level() {
        std::vector<char> visited(code_.size(), 0);
        std::vector<uint32_t> work{0};
        while (!work.empty()) {
            const uint32_t pc = work.back();
            work.pop_back();
            if (visited[pc]) continue;
            visited[pc] = 1;
            if (++visits_ > kMaxVisits || exhausted_) return false;
            const Instruction &in = code_[pc];
            switch (in.op) {
            case Op::string: {
                const std::string &s = program_.strings[in.a];
                const unsigned char b = static_cast<unsigned char>(s[0]);
                if (s.size() >= 2)
                    program_.second_bytes[b].add(static_cast<unsigned char>(s[1]));
                else
                    add_first(b, after(pc + 1));
                break;
            }
            case Op::literal:
                if (in.a >= 256)
                    program_.second_bytes[in.a >> 8].add(static_cast<unsigned char>(in.a & 0xFF));
                else
                    add_item(item_bytes(in.op, in.a), after(pc + 1));
                break;
            case Op::literal_fold:
            case Op::any:
            case Op::any_all:
            case Op::char_class: add_item(item_bytes(in.op, in.a), after(pc + 1)); break;
            case Op::repeat: {
                const ByteSet first = item_bytes(in.item, in.a);
                ByteSet second;
                if (in.max > 1) second.add_all(first);
                if (in.min <= 1) second.add_all(after(pc + 1));
                add_item(first, second);
                if (in.min == 0) work.push_back(pc + 1);
                break;
            }
            default:
                if (!pass_over(pc, work)) return false;
                break;
            }
        }
        return !exhausted_;
    }

    Program &program_;
    const std::vector<Instruction> &code_;
    size_t visits_ = 0;
    bool exhausted_ = false;
};

}  // namespace

void compute_pair_filter(Program &program) {
    program.use_pair_filter = false;
    if (!program.use_first_bytes || program.code.size() > kMaxProgramForPairs) return;
    for (auto &set : program.second_bytes) set = ByteSet();
    if (!PairAnalysis(program).run()) return;
    // Worth it only when some first byte rules out part of its followers.
    for (unsigned b = 0; b < 256; ++b)
        if (program.first_bytes[b] && !program.second_bytes[b].full()) program.use_pair_filter = true;
}

}  // namespace bregexp
