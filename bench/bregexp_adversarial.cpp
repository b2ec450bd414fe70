#include "bregexp_adversarial.h"

#include "bregexp_corpus.h"
#include "bregexp_memory.h"
#include "bregexp_perl.h"

#include "bregexp.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bench {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;
constexpr int kPerlLimitSeconds = 20;
const std::string kBody = "<p>\x96\x7b\x95\xb6</p>";  // honbun

struct Case {
    const char *name;
    std::string pattern;
    std::string flags;
    std::function<std::string(std::size_t)> text;  // a text of about that many bytes
    std::size_t max_megabytes;                     // larger sizes are left out
};

std::string repeatTo(const std::string &piece, std::size_t bytes, const std::string &tail = "") {
    std::string out;
    out.reserve(bytes + tail.size() + piece.size());
    while (out.size() + piece.size() <= bytes) out += piece;
    return out + tail;
}

std::string times(const std::string &piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

std::string letters(std::size_t n) { return std::string(n, 'a'); }

const std::vector<Case> &cases() {
    static const std::vector<Case> list = {
        {"unclosed markers", regionPattern("menu"), "k",
         [](std::size_t n) { return repeatTo("<!-- %menu% -->\n" + kBody + "\n", n); }, 64},
        {"comments, then marker", regionPattern("menu"), "k",
         [](std::size_t n) { return repeatTo("<!-- c -->", n, "%menu% x"); }, 64},
        {"(a+)+$", "(a+)+$", "", [](std::size_t n) { return std::string(n, 'a') + "b"; }, 64},
        {"(.*?,){12}b", "(.*?,){12}b", "", [](std::size_t n) { return repeatTo("a,", n, "c b"); }, 64},
        {"(.*?,){12}b\\1", "(.*?,){12}b\\1", "", [](std::size_t n) { return repeatTo("a,", n, "c b"); }, 64},
        {"(.*?,){12}b\\1 + \",b\" (budget)", "(.*?,){12}b\\1", "",
         [](std::size_t n) { return repeatTo("a,", n, "c b\n,b"); }, 4},
        // The ordinary patterns that used to end in an error or not at all.
        {"^(a?){25}a{25}$", "^(a?){25}a{25}$", "", letters, 64},
        {"^(?:a{0,3}){12}$", "^(?:a{0,3}){12}$", "", [](std::size_t n) { return letters(n) + "!"; }, 64},
        {"(?:a|ab)*[cd]", "(?:a|ab)*[cd]", "", letters, 64},
        {"(\\w+\\s?)*$", "(\\w+\\s?)*$", "", [](std::size_t n) { return repeatTo("abcd ", n); }, 64},
        {"^(?:ab|ac)*$", "^(?:ab|ac)*$", "", [](std::size_t n) { return repeatTo("ab", n, "!"); }, 64},
        {"(?:(?:|)x20 a?)*", "(?:" + times("(?:|)", 20) + "a?)*", "", letters, 64},
        {"1000 x (?:a*) then [bc]", times("(?:a*)", 1000) + "[bc]", "", letters, 64},
        // A lookahead that scans to the end at every position (Perl takes
        // quadratic time), with and without a group inside.
        {"(?:(?=a*;)a)*;", "(?:(?=a*;)a)*;", "", [](std::size_t n) { return letters(n) + ";"; }, 64},
        {"^(?:(?=(a+))a)*;", "^(?:(?=(a+))a)*;", "", [](std::size_t n) { return letters(n) + ";"; }, 64},
        {"(a*)1000x(?:a*)\\1[bc] (budget)", "(a*)" + times("(?:a*)", 1000) + "\\1[bc]", "", letters, 64},
        {"((a+)+)\\2b (budget)", "((a+)+)\\2b", "", letters, 64},
    };
    return list;
}

struct Row {
    std::string name;
    std::size_t megabytes = 0;
    double seconds = 0;
    std::string answer;
    double perl_seconds = 0;  // negative: Perl was given up on
    bool perl_available = false;
    std::size_t peak = 0;
};

std::vector<Row> &rows() {
    static std::vector<Row> table;
    return table;
}

void runCase(benchmark::State &state, const Case &c, std::size_t megabytes) {
    const std::string text = c.text(megabytes * kMegabyte);
    const std::string command = "m/" + c.pattern + "/" + c.flags;
    Row row{c.name, megabytes, 0, "", 0, false, 0};
    for (auto _ : state) {
        PeakMemory peak;
        char message[BREGEXP_MESSAGE_SIZE] = "";
        BRegexpRecord *record = nullptr;
        auto started = std::chrono::steady_clock::now();
        int result = BMatch(command.c_str(), text.data(), text.data() + text.size(), &record, message);
        row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        row.answer = message[0] ? message : (result ? "match" : "no match");
        BRegfree(record);
        row.peak = peak.extraBytes();
    }
    {
        TemporaryFile file("adversarial", text);
        PerlTiming perl = timePerlMatch(file.path(), c.pattern, kPerlLimitSeconds);
        row.perl_available = perl.available;
        row.perl_seconds = perl.match_seconds;
    }
    state.counters["s/MB"] = row.seconds / static_cast<double>(megabytes);
    state.counters["peak/text"] = static_cast<double>(row.peak) / static_cast<double>(text.size());
    rows().push_back(row);
}

}  // namespace

void registerAdversarialRows() {
    for (const Case &c : cases()) {
        for (std::size_t megabytes : textSizes()) {
            if (megabytes > c.max_megabytes) continue;
            std::string key = std::string("adversarial/") + c.name + "/" + std::to_string(megabytes) + "MB";
            benchmark::RegisterBenchmark(key.c_str(), [&c, megabytes](benchmark::State &state) {
                runCase(state, c, megabytes);
            })
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
}

void printAdversarialSummary() {
    std::printf("\nAdversarial texts, one BMatch call each, Perl given up after %d s\n", kPerlLimitSeconds);
    std::printf("%-34s %6s %10s %10s %-34s %11s %9s %10s\n", "pattern / text", "size", "ours s", "s per MB", "answer",
                "perl s", "peak MB", "peak/text");
    for (const Row &row : rows()) {
        char perl[32] = "n/a";
        if (row.perl_available && row.perl_seconds < 0)
            std::snprintf(perl, sizeof perl, "> %d", kPerlLimitSeconds);
        else if (row.perl_available)
            std::snprintf(perl, sizeof perl, "%.3f", row.perl_seconds);
        const double bytes = static_cast<double>(row.megabytes * kMegabyte);
        std::printf("%-34s %4zuMB %10.3f %10.4f %-34s %11s %9.1f %10.2f\n", row.name.c_str(), row.megabytes, row.seconds,
                    row.seconds / static_cast<double>(row.megabytes), row.answer.c_str(), perl,
                    static_cast<double>(row.peak) / 1e6, static_cast<double>(row.peak) / bytes);
    }
}

}  // namespace bench
