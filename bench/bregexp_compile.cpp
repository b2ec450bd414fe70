#include "bregexp_compile.h"

#include "bregexp_memory.h"

#include "bregexp.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;

struct Case {
    const char *name;
    std::function<std::string()> pattern;
    const char *flags;
};

std::string repeatTo(const std::string &piece, std::size_t bytes) {
    std::string out;
    while (out.size() + piece.size() <= bytes) out += piece;
    return out;
}

const std::vector<Case> &cases() {
    static const std::vector<Case> list = {
        {"1 MB literal", [] { return repeatTo("menu item ", kMegabyte); }, ""},
        {"1 MB literal, i", [] { return repeatTo("Menu Item ", kMegabyte); }, "i"},
        {"1 MB Shift_JIS literal, k", [] { return repeatTo("\x83\x81\x83\x6a\x83\x85\x81\x5b ", kMegabyte); }, "k"},
        {"1 MB of [a-c]x", [] { return repeatTo("[a-c]x", kMegabyte); }, ""},
        {"1 MB of .", [] { return repeatTo(".", kMegabyte); }, ""},
        {"10 MB literal (refused)", [] { return repeatTo("menu item ", 10 * kMegabyte); }, ""},
    };
    return list;
}

struct Row {
    std::string name;
    std::size_t pattern_bytes = 0;
    double seconds = 0;
    std::size_t peak = 0;
    std::string answer;
};

std::vector<Row> &rows() {
    static std::vector<Row> table;
    return table;
}

void runCase(benchmark::State &state, const Case &c) {
    const std::string pattern = c.pattern();
    const std::string command = "m/" + pattern + "/" + c.flags;
    const std::string text = "no match here";
    Row row{c.name, pattern.size(), 0, 0, ""};
    for (auto _ : state) {
        PeakMemory peak;
        char message[BREGEXP_MESSAGE_SIZE] = "";
        BRegexpRecord *record = nullptr;
        auto started = std::chrono::steady_clock::now();
        BMatch(command.c_str(), text.data(), text.data() + text.size(), &record, message);
        row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        row.answer = message[0] ? message : "compiled";
        BRegfree(record);
        row.peak = peak.extraBytes();
    }
    state.counters["peak/pattern"] = static_cast<double>(row.peak) / static_cast<double>(pattern.size());
    rows().push_back(row);
}

}  // namespace

void registerCompileRows() {
    for (const Case &c : cases()) {
        benchmark::RegisterBenchmark((std::string("compile/") + c.name).c_str(),
                                     [&c](benchmark::State &state) { runCase(state, c); })
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
}

void printCompileSummary() {
    std::printf("\nCompiling long patterns (one BMatch on a short text; the record, so the command, counts)\n");
    std::printf("%-28s %12s %10s %9s %12s  %s\n", "pattern", "bytes", "seconds", "peak MB", "peak/byte", "answer");
    for (const Row &row : rows()) {
        std::printf("%-28s %12zu %10.3f %9.1f %12.1f  %s\n", row.name.c_str(), row.pattern_bytes, row.seconds,
                    static_cast<double>(row.peak) / 1e6,
                    static_cast<double>(row.peak) / static_cast<double>(row.pattern_bytes), row.answer.c_str());
    }
}

}  // namespace bench
