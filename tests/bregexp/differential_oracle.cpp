#include "differential_oracle.h"

#include "differential_perl.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace differential {

namespace {

namespace fs = std::filesystem;

// Removes its files when the batch is done, whatever happened.
class TemporaryFiles {
public:
    TemporaryFiles() {
        // The clock keeps apart test processes that run at once.
        static std::atomic<int> counter{0};
        static const auto start = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::string stem = "quorvel-differential-" + std::to_string(start) + "-" + std::to_string(counter++);
        folder_ = fs::temp_directory_path();
        cases_ = stem + ".cases";
        results_ = stem + ".results";
    }
    ~TemporaryFiles() {
        std::error_code ignored;
        fs::remove(folder_ / cases_, ignored);
        fs::remove(folder_ / results_, ignored);
    }
    TemporaryFiles(const TemporaryFiles &) = delete;
    TemporaryFiles &operator=(const TemporaryFiles &) = delete;

    const fs::path &folder() const { return folder_; }
    const std::string &cases() const { return cases_; }
    const std::string &results() const { return results_; }

private:
    fs::path folder_;
    std::string cases_;
    std::string results_;
};

std::string toHex(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw std::runtime_error("bad hex digit from Perl");
}

std::string fromHex(const std::string &hex) {
    if (hex.size() % 2 != 0) throw std::runtime_error("odd hex length from Perl");
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        out += static_cast<char>(hexValue(hex[i]) * 16 + hexValue(hex[i + 1]));
    }
    return out;
}

std::vector<std::string> splitTabs(const std::string &line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::vector<Span> parseGroups(const std::string &field) {
    std::vector<Span> groups;
    std::stringstream stream(field);
    std::string part;
    while (std::getline(stream, part, ';')) {
        if (part == "-") {
            groups.emplace_back(std::nullopt);
            continue;
        }
        std::size_t comma = part.find(',');
        if (comma == std::string::npos) throw std::runtime_error("bad group from Perl: " + part);
        groups.emplace_back(std::make_pair(std::stoul(part.substr(0, comma)), std::stoul(part.substr(comma + 1))));
    }
    return groups;
}

OracleResult parseResult(const std::vector<std::string> &fields) {
    OracleResult result;
    if (fields.size() >= 2 && fields[1] == "ERR") {
        result.rejected = true;
        result.reason = fields.size() > 2 ? fields[2] : "";
    } else if (fields.size() == 2 && fields[1] == "0") {
        result.outcome.matched = false;
    } else if (fields.size() == 4 && fields[1] == "1") {
        result.outcome.matched = true;
        result.outcome.groups = parseGroups(fields[2]);
        result.outcome.output = fromHex(fields[3]);
    } else {
        throw std::runtime_error("unexpected line from Perl");
    }
    return result;
}

}  // namespace

std::vector<OracleResult> askPerl(const std::vector<Case> &cases) {
    TemporaryFiles files;
    {
        std::ofstream out(files.folder() / files.cases(), std::ios::binary);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const Case &c = cases[i];
            out << i << '\t' << c.op << '\t' << c.flags << '\t' << toHex(c.pattern) << '\t' << toHex(c.replacement)
                << '\t' << toHex(c.text) << '\n';
        }
        if (!out) throw std::runtime_error("cannot write " + files.cases());
    }
    runPerlOracle(files.folder(), files.cases(), files.results());

    std::vector<OracleResult> results(cases.size());
    std::vector<bool> seen(cases.size(), false);
    std::ifstream in(files.folder() / files.results(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        auto fields = splitTabs(line);
        if (fields.front() == "died") throw std::runtime_error("perl: " + line.substr(5));
        std::size_t id = std::stoul(fields.at(0));
        if (id >= cases.size()) throw std::runtime_error("unknown case id from Perl");
        results[id] = parseResult(fields);
        seen[id] = true;
    }
    for (bool s : seen) {
        if (!s) throw std::runtime_error("Perl skipped a case");
    }
    return results;
}

}  // namespace differential
