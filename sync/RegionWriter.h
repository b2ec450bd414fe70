// Finds a variable region in a text, where the source's region goes.
#pragma once

#include <cstddef>
#include <string>

class RegionWriter {
 public:
  RegionWriter(const std::string& variableName, std::string region);
  // The command the progress hook is shown for each target.
  const std::string& Command() const { return substCommand_; }
  const std::string& Region() const { return region_; }
  const std::string& VariableName() const { return variableName_; }

  // Where the text's first region lies, markers included; false when the
  // text holds none. The text is not copied, however large.
  bool Locate(const std::string& text, std::size_t& position, std::size_t& length) const;
  // True when the text holds the opening marker: a text without a region
  // may still hold one whose closing marker was lost.
  bool HasOpeningMarker(const std::string& text) const;

 private:
  std::string variableName_;
  std::string matchCommand_;
  std::string region_;
  std::string substCommand_;
};
