// Throughput of the region match and substitution under k on large pages,
// next to Perl running the same pattern on the same file, with the work per
// byte (to show linear growth) and the memory the call added; then the
// adversarial texts (bregexp_adversarial.h).
//
// QUORVEL_BENCH_SIZES (e.g. "1,4") limits the text sizes, in megabytes.
#include "bregexp_adversarial.h"
#include "bregexp_compile.h"
#include "bregexp_corpus.h"
#include "bregexp_memory.h"
#include "bregexp_perl.h"

#include "bregexp.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {
namespace {

const std::string kName = "menu";
constexpr std::size_t kMegabyte = 1024 * 1024;

enum class Operation { match, subst };

struct RecordRelease {
    void operator()(BRegexpRecord *record) const {
        if (record) BRegfree(record);
    }
};
using RecordHolder = std::unique_ptr<BRegexpRecord, RecordRelease>;

const std::string &replacement() {
    static const std::string text = regionText(kName, true);
    return text;
}

std::string command(Operation operation, Closings closings) {
    if (operation == Operation::match) return "m/" + regionPattern(kName, closings) + "/k";
    return "s/" + regionPattern(kName, closings) + "/" + escapeForReplacement(replacement()) + "/k";
}

// One text at a time: rows are registered so that all rows of a text run
// one after another, and Perl is timed once per text.
struct Workload {
    std::size_t bytes = 0;
    Placement placement = Placement::absent;
    std::string text;
    std::unique_ptr<TemporaryFile> file;
    std::map<Closings, PerlTiming> perl;  // timed on first use of each form
    bool output_checked = false;
};

// The substitution must replace exactly the region: a fast wrong rewrite
// would make the figures meaningless.
bool outputIsRight(const Workload &work, const BRegexpRecord &record) {
    Span span = regionSpan(work.text, kName);
    if (span.begin == std::string::npos || !record.output) return false;
    std::string expected = work.text.substr(0, span.begin) + replacement() + work.text.substr(span.end);
    return record.output_length == expected.size() && expected.compare(0, expected.size(), record.output,
                                                                       record.output_length) == 0;
}

Workload &workload(std::size_t bytes, Placement placement) {
    static std::unique_ptr<Workload> current;
    if (!current || current->bytes != bytes || current->placement != placement) {
        current.reset();  // release the previous text before building the next
        auto next = std::make_unique<Workload>();
        next->bytes = bytes;
        next->placement = placement;
        next->text = htmlPage(bytes, placement, kName);
        next->file = std::make_unique<TemporaryFile>("text", next->text);
        current = std::move(next);
    }
    return *current;
}

const PerlTiming &perlTiming(Workload &work, Closings closings) {
    auto found = work.perl.find(closings);
    if (found == work.perl.end()) {
        const int repeat = work.bytes <= 4 * kMegabyte ? 3 : 1;
        found = work.perl.emplace(closings, timePerl(work.file->path(), regionPattern(kName, closings), replacement(), repeat)).first;
    }
    return found->second;
}

struct Row {
    std::size_t megabytes = 0;
    std::string closings;
    std::string placement;
    std::string operation;
    double ours_seconds = 0;
    double perl_seconds = 0;
    std::size_t peak_extra = 0;
};

std::map<std::string, Row> &rows() {
    static std::map<std::string, Row> table;
    return table;
}
std::vector<std::string> &rowOrder() {
    static std::vector<std::string> order;
    return order;
}

void runRow(benchmark::State &state, const std::string &key, std::size_t megabytes, Placement placement,
            Closings closings, Operation operation) {
    Workload &work = workload(megabytes * kMegabyte, placement);
    const std::string text_command = command(operation, closings);
    const char *command = text_command.c_str();
    const char *begin = work.text.data();
    const char *end = begin + work.text.size();
    bool expected = placement != Placement::absent;

    RecordHolder holder;
    double seconds = 0;
    bool correct = true;
    std::string error;
    PeakMemory peak;  // the record and its output are part of the peak
    for (auto _ : state) {
        char message[BREGEXP_MESSAGE_SIZE] = "";
        BRegexpRecord *record = holder.release();
        auto started = std::chrono::steady_clock::now();
        int result = operation == Operation::match ? BMatch(command, begin, end, &record, message)
                                                   : BSubst(command, begin, end, &record, message);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        holder.reset(record);
        if (message[0] != '\0') {
            error = message;
            break;
        }
        correct = correct && (result != 0) == expected;
    }
    if (correct && error.empty() && operation == Operation::subst && expected && !work.output_checked) {
        correct = holder && outputIsRight(work, *holder);
        work.output_checked = correct;
    }
    holder.reset();
    std::size_t extra = peak.extraBytes();
    if (!error.empty()) {
        state.SkipWithError(("library error: " + error).c_str());
        return;
    }
    if (!correct) {
        state.SkipWithError("wrong result: region missed, found where absent, or rewritten wrongly");
        return;
    }

    double per_call = seconds / static_cast<double>(state.iterations());
    const PerlTiming &timing = perlTiming(work, closings);
    double perl = operation == Operation::match ? timing.match_seconds : timing.subst_seconds;
    double bytes = static_cast<double>(work.text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(work.text.size()));
    state.counters["ns/byte"] = per_call * 1e9 / bytes;
    state.counters["peak/text"] = static_cast<double>(extra) / bytes;
    if (timing.available) {
        state.counters["perl_MB/s"] = bytes / 1e6 / perl;
        state.counters["x_perl"] = perl / per_call;
    }
    rows()[key] = Row{megabytes, closingsName(closings), placementName(placement),
                      operation == Operation::match ? "match" : "subst", per_call, timing.available ? perl : 0, extra};
}

void registerRows() {
    for (std::size_t megabytes : textSizes()) {
        for (Placement placement : {Placement::start, Placement::end, Placement::whole, Placement::absent}) {
            for (Closings closings : {Closings::two, Closings::four}) {
                for (Operation operation : {Operation::match, Operation::subst}) {
                    std::string key = std::string(operation == Operation::match ? "match" : "subst") + "/" +
                                      std::to_string(megabytes) + "MB/" + placementName(placement) + "/closings" +
                                      closingsName(closings);
                    rowOrder().push_back(key);
                    benchmark::RegisterBenchmark(key.c_str(), [=](benchmark::State &state) {
                        runRow(state, key, megabytes, placement, closings, operation);
                    })
                        ->UseRealTime()
                        ->Unit(benchmark::kMillisecond)
                        ->MinTime(0.3);
                }
            }
        }
    }
}

void printSummary() {
    std::printf("\nRegion pattern under k, name \"%s\", closing keywords 2 (close, Shift_JIS) or 4 (also UTF-8, EUC-JP)\n"
                "(MB = 2^20 bytes; MB/s = 10^6 bytes/s)\n", kName.c_str());
    std::printf("%-6s %-9s %-4s %-6s %12s %12s %9s %9s %10s %10s\n", "size", "region", "kw", "op", "ours MB/s",
                "perl MB/s", "x perl", "ns/byte", "peak MB", "peak/text");
    int short_rows = 0;
    for (const std::string &key : rowOrder()) {
        auto found = rows().find(key);
        if (found == rows().end()) continue;
        const Row &row = found->second;
        double bytes = static_cast<double>(row.megabytes * kMegabyte);
        double ours = bytes / 1e6 / row.ours_seconds;
        char perl_column[32] = "n/a";
        char ratio_column[32] = "n/a";
        if (row.perl_seconds > 0) {
            double ratio = row.perl_seconds / row.ours_seconds;
            std::snprintf(perl_column, sizeof perl_column, "%.1f", bytes / 1e6 / row.perl_seconds);
            std::snprintf(ratio_column, sizeof ratio_column, "%.1f", ratio);
            if (ratio < (row.placement == "absent" ? 2 : 10)) ++short_rows;
        }
        std::printf("%4zuMB %-9s %-4s %-6s %12.1f %12s %9s %9.3f %10.1f %10.2f\n", row.megabytes,
                    row.placement.c_str(), row.closings.c_str(), row.operation.c_str(), ours, perl_column, ratio_column, row.ours_seconds * 1e9 / bytes,
                    static_cast<double>(row.peak_extra) / 1e6, static_cast<double>(row.peak_extra) / bytes);
    }
    std::printf("%d row(s) below the goal (10x Perl with a region, 2x without)\n", short_rows);
}

}  // namespace
}  // namespace bench

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::registerRows();
    bench::registerAdversarialRows();
    bench::registerCompileRows();
    benchmark::RunSpecifiedBenchmarks();
    bench::printSummary();
    bench::printAdversarialSummary();
    bench::printCompileSummary();
    benchmark::Shutdown();
    return 0;
}
