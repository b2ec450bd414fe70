#include "memo_plan.h"

#include <vector>

namespace bregexp {

void plan_memo(Program &program) {
    auto &code = program.code;
    const size_t size = code.size();
    std::vector<uint32_t> arrivals(size + 1, 0);
    std::vector<char> loop_head(size + 1, 0);
    arrivals[0] = 1;
    for (size_t pc = 0; pc < size; ++pc) {
        const Instruction &in = code[pc];
        switch (in.op) {
        case Op::backref: return;
        case Op::split:
            ++arrivals[in.a];
            ++arrivals[in.b];
            break;
        case Op::jump:
            ++arrivals[in.a];
            if (in.a <= pc) loop_head[in.a] = 1;
            break;
        case Op::loop_check:
            ++arrivals[pc + 1];
            ++arrivals[in.b];
            if (in.b <= pc) loop_head[in.b] = 1;
            break;
        case Op::lookahead:
            ++arrivals[pc + 1];
            ++arrivals[in.b];
            break;
        case Op::repeat:
            // A repeat that can stop after different counts reaches what
            // follows it from several places: a join, as "(a?){25}" needs.
            arrivals[pc + 1] += in.max != in.min ? 2 : 1;
            break;
        case Op::lookahead_end:
        case Op::match: break;
        default: ++arrivals[pc + 1]; break;
        }
    }
    auto wanted = [&](size_t pc) {
        const Instruction &in = code[pc];
        if (in.op == Op::match || in.op == Op::lookahead_end) return false;  // never fail by themselves
        if (in.op == Op::repeat) return in.max == kUnbounded || arrivals[pc] > 1;
        return arrivals[pc] > 1;
    };
    // Loops first: when the table has to be cut down for a huge text, the
    // rows that keep the time linear in the text are the ones kept.
    uint32_t rows = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t pc = 0; pc < size; ++pc) {
            const bool first_pass = loop_head[pc] || code[pc].op == Op::repeat;
            if (first_pass == (pass == 0) && wanted(pc)) code[pc].memo = static_cast<int>(rows++);
        }
    }
    program.memo_rows = rows;
}

}  // namespace bregexp
