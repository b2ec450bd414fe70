#include "SourceRegions.h"

#include <algorithm>
#include <map>

#include "BRegExp.h"
#include "EncodingConversion.h"
#include "EncodingErrors.h"
#include "SyncUnit.h"

void SourceRegions::Add(const std::string& variableName, std::string region) {
  if (AsciiPrefixLength(region) < region.size() || AsciiPrefixLength(variableName) < variableName.size())
    beyondAscii_ = true;
  variables_.push_back({RegionWriter(variableName, std::move(region)), nullptr, {}, {}});
}

void SourceRegions::Relink(const std::string& sourceFolder) {
  for (Variable& variable : variables_)
    variable.relinker = std::make_unique<RegionRelinker>(variable.writer.Region(), sourceFolder);
}

bool IsKnownEncoding(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 || encoding == TextEncoding::ShiftJis || encoding == TextEncoding::EucJp;
}

TextEncoding SourceRegions::WrittenIn(TextEncoding target) const {
  return convert_ && IsKnownEncoding(target) && IsKnownEncoding(encoding_) ? target : encoding_;
}

const RegionWriter& SourceRegions::Writer(std::size_t i, TextEncoding encoding) {
  Variable& variable = variables_[i];
  const TextEncoding written = WrittenIn(encoding);
  if (written == encoding_) return variable.writer;
  auto found = variable.converted.find(written);
  if (found == variable.converted.end()) {
    // A name the encoding cannot hold cannot stand in its files: it is
    // looked for as it is, and not found.
    const ConvertedText name = ConvertText(variable.writer.VariableName(), encoding_, written);
    found = variable.converted.emplace(written, RegionWriter(name.fault ? variable.writer.VariableName() : name.text, ""))
                .first;
  }
  return found->second;
}

const std::string& SourceRegions::RegionFor(std::size_t i, const std::string& targetFolder, TextEncoding encoding,
                                            const std::string& fileName) {
  Variable& variable = variables_[i];
  const TextEncoding written = WrittenIn(encoding);
  const std::string& rebased = variable.relinker ? variable.relinker->ForFolder(targetFolder) : variable.writer.Region();
  if (written == encoding_) return rebased;
  const auto key = std::make_pair(targetFolder, written);
  auto found = variable.regions.find(key);
  if (found == variable.regions.end()) {
    ConvertedText converted = ConvertText(rebased, encoding_, written);
    if (converted.fault) {
      if (converted.fault->kind == ConversionFault::Kind::Unrepresentable)
        RaiseUnrepresentableCharacter(fileName, written, converted.fault->character);
      RaiseUndecodableRegion(sourceName_, encoding_, converted.fault->offset);
    }
    found = variable.regions.emplace(key, std::move(converted.text)).first;
  }
  return found->second;
}

std::string SourceRegions::Names() const {
  std::string names;
  for (const Variable& variable : variables_) names += (names.empty() ? "" : ", ") + variable.writer.VariableName();
  return names;
}

namespace {

// The closing keywords a name may not start with: "%close menu%" is a
// closing marker, not the opening marker of a variable "close menu".
bool IsClosingMarkerText(const std::string& text) {
  // "ここまで " in UTF-8, Shift_JIS and EUC-JP bytes.
  static const char* const keywords[] = {"close ", "\xE3\x81\x93\xE3\x81\x93\xE3\x81\xBE\xE3\x81\xA7 ",
                                         "\x82\xB1\x82\xB1\x82\xDC\x82\xC5 ", "\xA4\xB3\xA4\xB3\xA4\xDE\xA4\xC7 "};
  return std::any_of(std::begin(keywords), std::end(keywords),
                     [&](const char* keyword) { return text.rfind(keyword, 0) == 0; });
}

}  // namespace

std::vector<std::string> FindVariables(const std::string& text) {
  // Candidates are the texts between two percent signs on one line; only
  // those that a closing marker follows are looked for as regions.
  std::map<std::size_t, std::string> byPosition;
  std::vector<std::string> tried;
  for (std::size_t open = text.find('%'); open != std::string::npos;) {
    const std::size_t close = text.find_first_of("%\r\n", open + 1);
    if (close == std::string::npos) break;
    if (text[close] != '%') {
      open = text.find('%', close);
      continue;
    }
    const std::string name = text.substr(open + 1, close - open - 1);
    if (!name.empty() && !IsClosingMarkerText(name) &&
        std::find(tried.begin(), tried.end(), name) == tried.end() &&
        text.find(" " + name + "%", close) != std::string::npos) {
      tried.push_back(name);
      std::size_t position = 0, length = 0;
      if (RegExp().Locate(BuildMatchCommand(name), text, position, length)) byPosition.emplace(position, name);
    }
    open = close;
  }
  std::vector<std::string> names;
  for (auto& [position, name] : byPosition) names.push_back(std::move(name));
  return names;
}
