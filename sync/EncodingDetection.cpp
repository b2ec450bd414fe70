#include "EncodingDetection.h"

#include <string>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether text holds the lower-case ASCII word at pos, in any case.
bool HasWordAt(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (LowerAscii(text[pos + i]) != word[i]) return false;
  return true;
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// A quoted value at pos, or an unquoted one ending at a blank, ";", ">",
// "/" or a quote; none for an unclosed quote or an empty value.
std::optional<std::string_view> ValueAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return std::nullopt;
  std::size_t end;
  if (text[pos] == '"' || text[pos] == '\'') {
    const char quote = text[pos++];
    end = text.find(quote, pos);
    if (end == std::string_view::npos) return std::nullopt;
  } else {
    end = pos;
    while (end < text.size() && !IsBlank(text[end]) && std::string_view(";>/\"'").find(text[end]) == std::string_view::npos)
      ++end;
  }
  if (end == pos) return std::nullopt;
  return text.substr(pos, end - pos);
}

// The value of "name = value" where the name ends at pos.
std::optional<std::string_view> AssignedValue(std::string_view text, std::size_t pos) {
  pos = SkipBlanks(text, pos);
  if (pos >= text.size() || text[pos] != '=') return std::nullopt;
  return ValueAt(text, SkipBlanks(text, pos + 1));
}

// The first "word=value" in the text, the word in any case.
std::optional<std::string_view> FindAssignment(std::string_view text, std::string_view word) {
  for (std::size_t pos = 0; pos + word.size() <= text.size(); ++pos) {
    if (!HasWordAt(text, pos, word)) continue;
    if (const auto value = AssignedValue(text, pos + word.size())) return value;
  }
  return std::nullopt;
}

std::optional<TextEncoding> EncodingOf(std::optional<std::string_view> label) {
  if (!label) return std::nullopt;
  return EncodingOfLabel(*label);
}

// Everything from pos up to the end mark, or to the end of the text.
std::string_view UpTo(std::string_view text, std::size_t pos, std::string_view endMark) {
  const std::size_t end = text.find(endMark, pos);
  return text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
}

}  // namespace

TextEncoding EncodingOfLabel(std::string_view label) {
  const std::size_t first = SkipBlanks(label, 0);
  std::size_t last = label.size();
  while (last > first && IsBlank(label[last - 1])) --last;
  std::string lower;
  for (std::size_t i = first; i < last; ++i) lower += LowerAscii(label[i]);
  static const struct {
    const char* label;
    TextEncoding encoding;
  } kLabels[] = {
      {"utf-8", TextEncoding::Utf8},           {"utf8", TextEncoding::Utf8},
      {"unicode-1-1-utf-8", TextEncoding::Utf8}, {"x-unicode20utf8", TextEncoding::Utf8},
      {"shift_jis", TextEncoding::ShiftJis},   {"shift-jis", TextEncoding::ShiftJis},
      {"sjis", TextEncoding::ShiftJis},        {"x-sjis", TextEncoding::ShiftJis},
      {"windows-31j", TextEncoding::ShiftJis}, {"cp932", TextEncoding::ShiftJis},
      {"ms932", TextEncoding::ShiftJis},       {"ms_kanji", TextEncoding::ShiftJis},
      {"csshiftjis", TextEncoding::ShiftJis},  {"euc-jp", TextEncoding::EucJp},
      {"x-euc-jp", TextEncoding::EucJp},       {"eucjp", TextEncoding::EucJp},
      {"cseucpkdfmtjapanese", TextEncoding::EucJp},
  };
  for (const auto& known : kLabels)
    if (lower == known.label) return known.encoding;
  return TextEncoding::Unknown;
}

std::optional<TextEncoding> DeclaredEncoding(std::string_view bytes) {
  const std::string_view head = bytes.substr(0, kDeclarationWindow);
  if (HasWordAt(head, 0, "<?xml"))
    if (const auto declared = EncodingOf(FindAssignment(UpTo(head, 0, "?>"), "encoding"))) return declared;
  for (std::size_t pos = 0; pos < head.size(); ++pos) {
    if (head[pos] != '<' && head[pos] != '@') continue;
    if (head.compare(pos, 4, "<!--") == 0) {
      pos = head.find("-->", pos + 4);
      if (pos == std::string_view::npos) break;
      pos += 2;
    } else if (HasWordAt(head, pos, "<meta") && pos + 5 < head.size() &&
               (IsBlank(head[pos + 5]) || head[pos + 5] == '/')) {
      const std::string_view tag = UpTo(head, pos, ">");
      if (const auto declared = EncodingOf(FindAssignment(tag, "charset"))) return declared;
      pos += tag.size();
    } else if (HasWordAt(head, pos, "@charset")) {
      const std::size_t value = SkipBlanks(head, pos + 8);
      if (value < head.size() && (head[value] == '"' || head[value] == '\''))
        if (const auto declared = EncodingOf(ValueAt(head, value))) return declared;
    }
  }
  return std::nullopt;
}

TextEncoding EncodingOfBytes(std::string_view bytes) {
  const std::size_t firstHigh = AsciiPrefixLength(bytes);
  if (firstHigh == bytes.size()) return TextEncoding::Any;
  const std::string_view rest = bytes.substr(firstHigh);
  if (IsValidUtf8(rest)) return TextEncoding::Utf8;
  if (IsValidShiftJis(rest)) return TextEncoding::ShiftJis;
  if (IsValidEucJp(rest)) return TextEncoding::EucJp;
  return TextEncoding::Unknown;
}

TextEncoding DetectTextEncoding(std::string_view bytes) {
  if (const auto marked = ByteOrderMarkEncoding(bytes))
    return *marked == TextEncoding::Utf8 ? TextEncoding::Utf8 : TextEncoding::Unknown;
  if (const auto declared = DeclaredEncoding(bytes)) return *declared;
  return EncodingOfBytes(bytes);
}
