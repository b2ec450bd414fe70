// Benchmark texts: HTML-like Shift_JIS pages with CR LF line breaks and a
// variable region placed near the start, near the end, spanning the whole
// text, or absent.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Text sizes in megabytes: QUORVEL_BENCH_SIZES ("1,4"), else 1, 4, 16, 64.
std::vector<std::size_t> textSizes();

enum class Placement { start, end, whole, absent };

const char *placementName(Placement placement);

// Which closing keywords the region pattern accepts: "close" or ここまで in
// Shift_JIS, or those and ここまで in UTF-8 and EUC-JP too (raw bytes).
enum class Closings { two, four };

const char *closingsName(Closings closings);

// The synchronisation engine's region pattern for a variable name (already
// escaped): comment lead-in and lead-out that stay inside their comments.
std::string regionPattern(const std::string &name, Closings closings = Closings::two);

// A region of about two kilobytes, markers included; `fresh` gives the
// source file's newer content used as replacement.
std::string regionText(const std::string &name, bool fresh);

// A page of exactly `bytes` bytes (give or take one line) with the region
// of `name` placed as asked. The same arguments give the same text.
std::string htmlPage(std::size_t bytes, Placement placement, const std::string &name);

// Where the region of `name` lies in a page made by htmlPage: from its
// opening marker's comment to the end of its closing marker's comment.
// Both are npos when the page has none.
struct Span {
    std::size_t begin;
    std::size_t end;
};
Span regionSpan(const std::string &page, const std::string &name);

// A replacement that copies `text` verbatim: "\", "$" and "/" escaped,
// walking by Shift_JIS characters.
std::string escapeForReplacement(const std::string &text);

}  // namespace bench
