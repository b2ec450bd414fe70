#include "bregexp_perl.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <unistd.h>

#ifndef BENCH_PERL
#define BENCH_PERL "perl"
#endif
#ifndef BENCH_PERL_TIMER
#error "BENCH_PERL_TIMER must name bregexp_perl_timer.pl"
#endif

namespace bench {

namespace fs = std::filesystem;

TemporaryFile::TemporaryFile(const std::string &tag, const std::string &content)
    : path_(fs::temp_directory_path() / ("quorvel-bench-" + std::to_string(::getpid()) + "-" + tag)) {
    std::ofstream out(path_, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + path_.string());
}

TemporaryFile::~TemporaryFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

namespace {

struct PipeClose {
    void operator()(FILE *pipe) const { pclose(pipe); }
};

PerlTiming runTimer(const fs::path &text_file, const std::string &pattern, const std::string &replacement,
                    const std::string &counts) {
    TemporaryFile pattern_file("pattern", pattern);
    TemporaryFile replacement_file("replacement", replacement);
    std::string command = std::string("\"") + BENCH_PERL + "\" -0777 \"" + BENCH_PERL_TIMER + "\" \"" +
                          text_file.string() + "\" \"" + pattern_file.path().string() + "\" \"" +
                          replacement_file.path().string() + "\" " + counts;
    PerlTiming timing;
    std::unique_ptr<FILE, PipeClose> pipe(popen(command.c_str(), "r"));
    if (!pipe) return timing;
    int matched = 0;
    if (std::fscanf(pipe.get(), "%lf %lf %d", &timing.match_seconds, &timing.subst_seconds, &matched) == 3) {
        timing.available = timing.match_seconds != 0;
        timing.matched = matched != 0;
    }
    return timing;
}

}  // namespace

PerlTiming timePerl(const fs::path &text_file, const std::string &pattern, const std::string &replacement,
                    int repeat) {
    PerlTiming timing = runTimer(text_file, pattern, replacement, std::to_string(repeat));
    timing.available = timing.available && timing.match_seconds > 0 && timing.subst_seconds > 0;
    return timing;
}

PerlTiming timePerlMatch(const fs::path &text_file, const std::string &pattern, int limit_seconds) {
    return runTimer(text_file, pattern, "", "1 " + std::to_string(limit_seconds));
}

}  // namespace bench
