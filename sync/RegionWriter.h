// Finds a variable region in a text, where the source's region goes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class TBRegExp;

class RegionWriter {
 public:
  RegionWriter(const std::string& variableName, std::string region);
  ~RegionWriter();
  RegionWriter(RegionWriter&&) noexcept;
  RegionWriter& operator=(RegionWriter&&) noexcept;
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
  // A matcher of its own: with several variables a shared one would
  // compile each variable's pattern anew for every target.
  std::unique_ptr<TBRegExp> matcher_;
};
