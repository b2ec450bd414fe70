#include "RegionWriter.h"

#include "BRegExp.h"
#include "ReplacementEscape.h"
#include "SyncUnit.h"

// The region goes through the library's substitution when it can be
// written as a replacement, else its bytes are spliced in at the place
// where the same pattern matches.
RegionWriter::RegionWriter(const std::string& variableName, std::string region)
    : matchCommand_(BuildMatchCommand(variableName)), region_(std::move(region)) {
  std::string escaped;
  viaSubstitution_ = EscapeReplacementText(region_, escaped);
  substCommand_ = BuildSubstCommand(variableName, escaped);
}

bool RegionWriter::Find(const std::string& text, std::string& region) const {
  TBRegExp& regExp = RegExp();
  if (text.empty() || !regExp.Match(matchCommand_, text)) return false;
  region = regExp.Strings(0);
  return true;
}

bool RegionWriter::Apply(std::string& text, std::string* oldRegion) const {
  TBRegExp& regExp = RegExp();
  if (viaSubstitution_) {
    if (!regExp.Subst(substCommand_, text)) return false;
    if (oldRegion) *oldRegion = regExp.Strings(0);
    return true;
  }
  if (text.empty() || !regExp.Match(matchCommand_, text)) return false;
  if (oldRegion) *oldRegion = text.substr(regExp.Position(0), regExp.Length(0));
  text.replace(regExp.Position(0), regExp.Length(0), region_);
  return true;
}
