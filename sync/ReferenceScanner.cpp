#include "ReferenceScanner.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "AsciiCharacters.h"
#include "NameCharacters.h"

namespace {

const char* const kReferenceAttributes[] = {"href",       "src",    "srcset", "action", "formaction",
                                            "poster",     "data",   "cite",   "background"};

bool IsIdentifierByte(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '-' || c == '_'; }

bool StartsWithIgnoringCase(const std::string& text, std::size_t i, const char* word) {
  const std::size_t length = std::strlen(word);
  if (text.size() - i < length) return false;
  for (std::size_t k = 0; k < length; ++k)
    if (FoldAsciiCase(text[i + k]) != word[k]) return false;
  return true;
}

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), FoldAsciiCase);
  return text;
}

bool IsReferenceAttribute(const std::string& lowerName) {
  return std::any_of(std::begin(kReferenceAttributes), std::end(kReferenceAttributes),
                     [&](const char* attribute) { return lowerName == attribute; });
}

// Scans one text (a whole region, or an attribute value within it) by
// characters, so that no trail byte is read as ASCII.
class Scanner {
 public:
  Scanner(const std::string& text, std::vector<TextSpan>& spans) : text_(text), spans_(spans) {}

  // Text from i to end: its url(...) and, withTags, its tags (comments
  // left out).
  void ScanText(std::size_t i, std::size_t end, bool withTags) {
    bool afterIdentifier = false;
    while (i < end) {
      if (withTags && text_.compare(i, 4, "<!--") == 0) {
        const std::size_t close = text_.find("-->", i + 4);
        i = close == std::string::npos ? end : close + 3;
        afterIdentifier = false;
      } else if (withTags && text_[i] == '<' && i + 1 < end && IsAsciiLetter(text_[i + 1])) {
        i = ScanTag(i + 1, end);
        afterIdentifier = false;
      } else if (!afterIdentifier && StartsWithIgnoringCase(text_, i, "url(") && i + 4 <= end) {
        i = ScanUrl(i + 4, end);
        afterIdentifier = false;
      } else {
        const std::size_t width = CharacterWidth(text_, i);
        afterIdentifier = width == 1 && IsIdentifierByte(text_[i]);
        i += width;
      }
    }
  }

 private:
  std::size_t SkipSpaces(std::size_t i, std::size_t end) const {
    while (i < end && IsHtmlSpace(text_[i])) ++i;
    return i;
  }

  // Bytes up to the first of the stop bytes (or a space), walked by characters.
  std::size_t RunEnd(std::size_t i, std::size_t end, const char* stops) const {
    while (i < end && !IsHtmlSpace(text_[i]) && !IsOneOf(text_[i], stops)) i += CharacterWidth(text_, i);
    return std::min(i, end);
  }

  // A tag's name and attributes, from just after its "<"; returns the index
  // after its ">".
  std::size_t ScanTag(std::size_t i, std::size_t end) {
    i = RunEnd(i, end, "/>");
    for (;;) {
      while (i < end && (IsHtmlSpace(text_[i]) || text_[i] == '/')) ++i;
      if (i >= end) return end;
      if (text_[i] == '>') return i + 1;
      const std::size_t nameStart = i;
      i = RunEnd(i + CharacterWidth(text_, i), end, "/>=");
      const std::string name = LowerAscii(text_.substr(nameStart, i - nameStart));
      i = SkipSpaces(i, end);
      if (i >= end || text_[i] != '=') continue;
      i = SkipSpaces(i + 1, end);
      if (i >= end) return end;
      std::size_t valueStart = i, valueEnd = 0;
      if (text_[i] == '"' || text_[i] == '\'') {
        const std::size_t close = text_.find(text_[i], i + 1);
        if (close == std::string::npos || close >= end) return end;  // left open: not ours to touch
        valueStart = i + 1;
        valueEnd = close;
        i = close + 1;
      } else {
        valueEnd = i = RunEnd(i, end, ">");
      }
      if (IsReferenceAttribute(name)) {
        if (name == "srcset") {
          ScanSrcset(valueStart, valueEnd);
        } else {
          spans_.push_back({valueStart, valueEnd - valueStart});
        }
      } else if (name == "style") {
        ScanText(valueStart, valueEnd, false);
      }
    }
  }

  // Candidates "URL [descriptor]" separated by commas; a URL's own trailing
  // commas separate too.
  void ScanSrcset(std::size_t i, std::size_t end) {
    while (i < end) {
      while (i < end && (IsHtmlSpace(text_[i]) || text_[i] == ',')) ++i;
      if (i >= end) return;
      std::size_t urlEnd = RunEnd(i, end, "");
      std::size_t trimmed = urlEnd;
      while (trimmed > i && text_[trimmed - 1] == ',') --trimmed;
      spans_.push_back({i, trimmed - i});
      i = urlEnd;
      if (trimmed == urlEnd) {
        while (i < end && text_[i] != ',') i += CharacterWidth(text_, i);
      }
    }
  }

  // The URL of "url(", from just after its "("; returns where scanning goes on.
  std::size_t ScanUrl(std::size_t i, std::size_t end) {
    i = SkipSpaces(i, end);
    // Quotes written as character references too, as style attributes hold them.
    static const char* const kQuotes[] = {"\"", "'", "&quot;", "&#34;", "&#39;", "&apos;"};
    for (const char* quote : kQuotes) {
      const std::size_t length = std::strlen(quote);
      if (text_.compare(i, length, quote) != 0) continue;
      const std::size_t close = text_.find(quote, i + length);
      if (close == std::string::npos || close >= end) return i + length;
      spans_.push_back({i + length, close - i - length});
      return close + length;
    }
    const std::size_t urlEnd = RunEnd(i, end, ")");
    if (urlEnd > i) spans_.push_back({i, urlEnd - i});
    return urlEnd;
  }

  const std::string& text_;
  std::vector<TextSpan>& spans_;
};

}  // namespace

std::vector<TextSpan> FindReferenceValues(const std::string& text) {
  std::vector<TextSpan> spans;
  Scanner(text, spans).ScanText(0, text.size(), true);
  return spans;
}
