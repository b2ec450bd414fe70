// Perl's time for the same match and substitution on the same text file.
#pragma once

#include <filesystem>
#include <string>

namespace bench {

struct PerlTiming {
    bool available = false;  // false when Perl could not be run
    double match_seconds = 0;
    double subst_seconds = 0;
    bool matched = false;
};

PerlTiming timePerl(const std::filesystem::path &text_file, const std::string &pattern,
                    const std::string &replacement, int repeat);

// Perl's time for the match alone, given up after limit_seconds: then
// available is true and match_seconds negative.
PerlTiming timePerlMatch(const std::filesystem::path &text_file, const std::string &pattern, int limit_seconds);

// A file in the temporary folder, removed when the object goes.
class TemporaryFile {
public:
    TemporaryFile(const std::string &tag, const std::string &content);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace bench
