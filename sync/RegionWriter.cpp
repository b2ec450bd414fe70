#include "RegionWriter.h"

#include "BRegExp.h"
#include "ReplacementEscape.h"
#include "SyncUnit.h"

// The region's bytes are spliced in where the match command finds the
// target's region: the same result as the substitution command, which the
// progress hook is still shown, without the library's copies of the text.
RegionWriter::RegionWriter(const std::string& variableName, std::string region)
    : variableName_(variableName),
      matchCommand_(BuildMatchCommand(variableName)),
      region_(std::move(region)),
      matcher_(std::make_unique<TBRegExp>()) {
  std::string escaped;
  EscapeReplacementText(region_, escaped);
  substCommand_ = BuildSubstCommand(variableName, escaped);
}

RegionWriter::~RegionWriter() = default;
RegionWriter::RegionWriter(RegionWriter&&) noexcept = default;
RegionWriter& RegionWriter::operator=(RegionWriter&&) noexcept = default;

bool RegionWriter::Locate(const std::string& text, std::size_t& position, std::size_t& length) const {
  return matcher_->Locate(matchCommand_, text, position, length);
}

bool RegionWriter::HasOpeningMarker(const std::string& text) const {
  // "%" is never a double-byte character's trail byte, so a byte search
  // finds only whole markers.
  return text.find("%" + variableName_ + "%") != std::string::npos;
}
