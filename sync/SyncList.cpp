#include "SyncList.h"

#include <vector>

#include "EncodingConversion.h"
#include "EncodingDetection.h"
#include "EncodingErrors.h"
#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "TextFile.h"
#include "UnicodeText.h"

namespace {

constexpr std::size_t kMaxHeaderValue = 999;
// The longest path the Windows file API takes; a longer line names no file.
constexpr std::size_t kMaxLineCharacters = 32767;

// A list's text, UTF-16 already turned into UTF-8.
struct ListText {
  TextEncoding encoding;
  std::string text;
};

[[noreturn]] void RaiseNotASyncList(const std::string& listFileName, const std::string& reason) {
  throw Exception(Format("ファイル %s は同期リストではありません（%s）", {ShortenedName(listFileName), reason}));
}

[[noreturn]] void RaiseUnconvertibleLine(const std::string& listFileName, std::size_t line, TextEncoding encoding,
                                         const ConversionFault& fault) {
  const std::string name = ShortenedName(listFileName);
  const auto lineNumber = static_cast<std::int64_t>(line);
  if (fault.kind == ConversionFault::Kind::Unrepresentable)
    throw EEncodingError(Format("ファイル %s の %d 行目の文字 %s は変換できません",
                                {name, lineNumber, CharacterCode(fault.character)}));
  throw EEncodingError(Format("ファイル %s の %d 行目に %s として読めないバイトがあります",
                              {name, lineNumber, std::string(EncodingName(encoding))}));
}

// The 1-based line that the byte at offset belongs to (CR LF, CR and LF
// each end one).
std::size_t LineAt(const std::string& text, std::size_t offset) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
  return line;
}

// The line feed of a UTF-16 code unit, and zero bytes only where the high
// bytes of its byte order are: UTF-16 without a byte-order mark.
bool LooksLikeUtf16(const std::string& bytes) {
  const std::size_t feed = bytes.find('\n');
  if (bytes.size() % 2 != 0 || feed == std::string::npos) return false;
  const bool littleEndian = feed % 2 == 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\0' && (i % 2 == 0) == littleEndian) return false;
  return bytes[littleEndian ? feed + 1 : feed - 1] == '\0';
}

ListText DecodeListText(const std::string& listFileName, const std::string& bytes) {
  const std::optional<TextEncoding> marked = ByteOrderMarkEncoding(bytes);
  ListText list{marked.value_or(TextEncoding::Unknown), bytes.substr(marked ? ByteOrderMarkLength(*marked) : 0)};
  if (list.text.empty()) RaiseNotASyncList(listFileName, "空のファイルです");
  if (list.encoding == TextEncoding::Utf16Le || list.encoding == TextEncoding::Utf16Be) {
    std::size_t badOffset = 0;
    const bool bigEndian = list.encoding == TextEncoding::Utf16Be;
    const std::string body = std::move(list.text);
    if (!Utf16ToUtf8(body, bigEndian, list.text, badOffset)) {
      std::string before;
      Utf16ToUtf8(std::string_view(body).substr(0, badOffset), bigEndian, before, badOffset);
      RaiseUnconvertibleLine(listFileName, LineAt(before, before.size()), list.encoding,
                             ConversionFault{ConversionFault::Kind::Undecodable, badOffset, 0});
    }
    list.encoding = TextEncoding::Utf8;
  }
  // A zero byte would end the text early and drop every later entry.
  const std::size_t zero = list.text.find('\0');
  if (zero != std::string::npos) {
    if (!marked && LooksLikeUtf16(bytes)) RaiseNotASyncList(listFileName, "BOM のない UTF-16 です");
    RaiseNotASyncList(listFileName, Format("%d 行目に NUL 文字があります", {std::int64_t(LineAt(list.text, zero))}));
  }
  if (!marked) list.encoding = EncodingOfBytes(list.text);
  return list;
}

std::size_t CharacterCount(const std::string& text, TextEncoding encoding) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharacterLength(encoding, text, pos)) ++count;
  return count;
}

// At most kMaxHeaderValue bytes, cut between characters.
std::string CutHeaderValue(const std::string& value, TextEncoding encoding) {
  std::size_t end = 0;
  while (end < value.size()) {
    const std::size_t next = end + CharacterLength(encoding, value, end);
    if (next > kMaxHeaderValue) break;
    end = next;
  }
  return value.substr(0, end);
}

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Reads the list's lines into names the file API takes.
class ListReader {
 public:
  ListReader(const std::string& listFileName, const ListText& list) : listFileName_(listFileName), list_(list) {}

  // The text after the first colon, or the whole line without one.
  std::string HeaderValue(const std::string& line, std::size_t lineNumber) const {
    const std::size_t colon = line.find(':');
    const std::string value = line.substr(colon == std::string::npos ? 0 : colon + 1);
    const std::string name = Name(CutHeaderValue(value, list_.encoding), lineNumber);
    const bool converted = list_.encoding != TextEncoding::Any && list_.encoding != TextEncoding::Unknown;
    return converted ? CutHeaderValue(name, NativeEncoding()) : name;
  }

  std::string Name(const std::string& text, std::size_t lineNumber) const {
    ConvertedText name = ConvertToFileNames(text, list_.encoding);
    if (name.fault) RaiseUnconvertibleLine(listFileName_, lineNumber, list_.encoding, *name.fault);
    return std::move(name.text);
  }

 private:
  const std::string& listFileName_;
  const ListText& list_;
};

}  // namespace

void LoadSyncList(const std::string& listFileName, std::string& variableName, std::string& sourceFileName,
                  TStrings& fileList) {
  variableName.clear();
  sourceFileName.clear();
  std::string bytes;
  if (!platform::ReadWholeFile(listFileName, bytes)) RaiseFileOpenError(listFileName);
  const ListText list = DecodeListText(listFileName, bytes);
  std::string().swap(bytes);
  const std::vector<std::string> lines = SplitTextLines(list.text);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].size() > kMaxLineCharacters && CharacterCount(lines[i], list.encoding) > kMaxLineCharacters)
      RaiseNotASyncList(listFileName, Format("%d 行目が %d 文字を超えています",
                                             {std::int64_t(i + 1), std::int64_t{kMaxLineCharacters}}));
  if (lines.size() < 3) RaiseNotASyncList(listFileName, "3 行目の [EOH] がありません");
  // Without its end mark the header may have swallowed the first entry, or
  // the file is no sync list at all.
  if (TrimBlanks(lines[2]) != "[EOH]") RaiseNotASyncList(listFileName, "3 行目が [EOH] ではありません");

  // Every name is converted before the caller's list is touched, so that a
  // list that fails leaves it as it was.
  const ListReader reader(listFileName, list);
  const std::string variable = reader.HeaderValue(lines[0], 1);
  const std::string source = reader.HeaderValue(lines[1], 2);
  std::vector<std::string> entries;
  for (std::size_t i = 3; i < lines.size(); ++i)
    if (!IsBlankEntry(lines[i])) entries.push_back(reader.Name(lines[i], i + 1));
  variableName = variable;
  sourceFileName = source;
  fileList.Clear();
  for (const std::string& entry : entries) fileList.Add(entry);
}

bool IsBlankEntry(const std::string& entry) { return TrimBlanks(entry).empty(); }

void SaveSyncList(const std::string& listFileName, const std::string& variableName,
                  const std::string& sourceFileName, const TStrings& fileList) {
  const std::string lineBreak = platform::kLineBreak;
  std::string text = "変数:" + variableName + lineBreak + "同期ﾌｧｲﾙ:" + sourceFileName + lineBreak + "[EOH]" + lineBreak;
  const int count = fileList.Count();
  for (int i = 0; i < count; ++i) text += fileList.Get(i) + lineBreak;
  if (!platform::ReplaceFileContents(listFileName, text.data(), text.size())) RaiseFileCreateError(listFileName);
}
