#include "UnifiedDiff.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

using Lines = std::vector<std::string_view>;

// Lines with their line feeds (a CR before one belongs to its line, as in
// diff and patch); a last line without one is a line too.
Lines SplitKeepingBreaks(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    const std::size_t end = feed == std::string::npos ? text.size() : feed + 1;
    lines.emplace_back(text.data() + start, end - start);
    start = end;
  }
  return lines;
}

enum class Edit { keep, remove, insert };

// Myers' shortest edit script of a[lo..) and b[lo..) after the common
// prefix and suffix are left out. Past kMaxDistance differences the middle
// is taken as one removed and one inserted block: still a correct diff,
// found in bounded time and memory.
std::vector<Edit> EditScript(const Lines& a, const Lines& b) {
  std::size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
         a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
    ++suffix;
  const long n = static_cast<long>(a.size() - prefix - suffix);
  const long m = static_cast<long>(b.size() - prefix - suffix);
  auto A = [&](long i) { return a[prefix + static_cast<std::size_t>(i)]; };
  auto B = [&](long j) { return b[prefix + static_cast<std::size_t>(j)]; };

  std::vector<Edit> middle;
  constexpr long kMaxDistance = 1000;
  const long limit = std::min(n + m, kMaxDistance);
  std::vector<long> v(static_cast<std::size_t>(2 * limit + 3), 0);
  const long offset = limit + 1;
  // The furthest x on diagonals -d..d after each distance d, for the way back.
  std::vector<std::vector<long>> trace;
  auto at = [&](long d, long k) { return trace[static_cast<std::size_t>(d)][static_cast<std::size_t>(k + d)]; };
  long found = -1;
  for (long d = 0; d <= limit && found < 0; ++d) {
    for (long k = -d; k <= d; k += 2) {
      long x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                           : v[offset + k - 1] + 1;
      long y = x - k;
      while (x < n && y < m && A(x) == B(y)) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) found = d;
    }
    trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
  }
  if (found < 0) {
    middle.assign(static_cast<std::size_t>(n), Edit::remove);
    middle.insert(middle.end(), static_cast<std::size_t>(m), Edit::insert);
  } else {
    long x = n, y = m;
    for (long d = found; d > 0; --d) {
      const long k = x - y;
      const bool down = k == -d || (k != d && at(d - 1, k - 1) < at(d - 1, k + 1));
      const long previousK = down ? k + 1 : k - 1;
      const long previousX = at(d - 1, previousK);
      const long previousY = previousX - previousK;
      for (; x > previousX + (down ? 0 : 1) && y > previousY + (down ? 1 : 0); --x, --y) middle.push_back(Edit::keep);
      middle.push_back(down ? Edit::insert : Edit::remove);
      x = previousX;
      y = previousY;
    }
    for (; x > 0; --x) middle.push_back(Edit::keep);
    std::reverse(middle.begin(), middle.end());
  }
  // Within each run of changes the removed lines come first, as diff
  // tools show them.
  for (std::size_t run = 0; run < middle.size();) {
    std::size_t end = run;
    while (end < middle.size() && middle[end] != Edit::keep) ++end;
    std::stable_partition(middle.begin() + static_cast<std::ptrdiff_t>(run),
                          middle.begin() + static_cast<std::ptrdiff_t>(end), [](Edit e) { return e == Edit::remove; });
    run = end == run ? run + 1 : end;
  }
  std::vector<Edit> script(prefix, Edit::keep);
  script.insert(script.end(), middle.begin(), middle.end());
  script.insert(script.end(), suffix, Edit::keep);
  return script;
}

// "l" for one line, "l,n" otherwise; an empty range names the line before it.
std::string Range(std::size_t first, std::size_t count) {
  if (count == 1) return std::to_string(first + 1);
  return std::to_string(count == 0 ? first : first + 1) + "," + std::to_string(count);
}

// The name in a header as GNU diff writes it: as it is, unless it holds a
// blank, a control character or a double quote; then in double quotes with
// C escapes, which patch reads back. Otherwise patch would take a name
// like "my page.html" to end at its blank.
std::string DiffLabel(const std::string& name) {
  bool plain = !name.empty();
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == 0x7F || c == '"') plain = false;
  }
  if (plain) return name;
  std::string label = "\"";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': label += "\\\""; break;
      case '\\': label += "\\\\"; break;
      case '\t': label += "\\t"; break;
      case '\n': label += "\\n"; break;
      case '\r': label += "\\r"; break;
      default:
        if (byte < ' ' || byte == 0x7F) {
          const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                                static_cast<char>('0' + (byte & 7)), '\0'};
          label += octal;
        } else {
          label += c;
        }
    }
  }
  return label + "\"";
}

}  // namespace

std::string UnifiedDiff(const std::string& name, const std::string& oldText, const std::string& newText,
                        const std::string& lineBreak, int context) {
  if (oldText == newText) return std::string();
  const Lines a = SplitKeepingBreaks(oldText);
  const Lines b = SplitKeepingBreaks(newText);
  const std::vector<Edit> script = EditScript(a, b);
  const std::size_t reach = static_cast<std::size_t>(context);

  const std::string label = DiffLabel(name);
  std::string out = "--- " + label + lineBreak + "+++ " + label + lineBreak;
  auto line = [&](char mark, std::string_view text) {
    out += mark;
    out.append(text.data(), text.size());
    if (text.back() != '\n') out += lineBreak + "\\ No newline at end of file" + lineBreak;
  };
  // Lines of a and b that the edits script[from, to) cover.
  auto lines = [&](std::size_t from, std::size_t to, std::size_t& oldLines, std::size_t& newLines) {
    for (std::size_t s = from; s < to; ++s) {
      if (script[s] != Edit::insert) ++oldLines;
      if (script[s] != Edit::remove) ++newLines;
    }
  };
  std::size_t e = 0;
  std::size_t counted = 0, i = 0, j = 0;  // lines of a and b before script[counted]
  while (e < script.size()) {
    while (e < script.size() && script[e] == Edit::keep) ++e;
    if (e == script.size()) break;
    // A hunk runs from `reach` kept lines before its first change to
    // `reach` after its last, joining changes closer than twice that.
    std::size_t start = e >= reach ? e - reach : 0;
    std::size_t end = e;
    for (std::size_t kept = 0; end < script.size() && kept <= 2 * reach; ++end)
      kept = script[end] == Edit::keep ? kept + 1 : 0;
    while (end > e && script[end - 1] == Edit::keep) --end;
    end = std::min(script.size(), end + reach);
    lines(counted, start, i, j);  // hunks do not overlap: start is past the last one's end
    std::size_t oldCount = 0, newCount = 0;
    lines(start, end, oldCount, newCount);
    out += "@@ -" + Range(i, oldCount) + " +" + Range(j, newCount) + " @@" + lineBreak;
    for (std::size_t s = start; s < end; ++s) {
      if (script[s] == Edit::keep) line(' ', a[i++]), ++j;
      else if (script[s] == Edit::remove) line('-', a[i++]);
      else line('+', b[j++]);
    }
    e = counted = end;
  }
  return out;
}
