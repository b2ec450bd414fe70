#include "SourceRegions.h"

#include <algorithm>
#include <map>

#include "BRegExp.h"
#include "SyncUnit.h"

void SourceRegions::Add(const std::string& variableName, std::string region) {
  variables_.push_back({RegionWriter(variableName, std::move(region)), nullptr});
}

void SourceRegions::Relink(const std::string& sourceFolder) {
  for (Variable& variable : variables_)
    variable.relinker = std::make_unique<RegionRelinker>(variable.writer.Region(), sourceFolder);
}

const std::string& SourceRegions::RegionFor(std::size_t i, const std::string& targetFolder) {
  Variable& variable = variables_[i];
  return variable.relinker ? variable.relinker->ForFolder(targetFolder) : variable.writer.Region();
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
  static const char* const keywords[] = {"close ", "ここまで "};
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
