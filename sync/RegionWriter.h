// Finds a variable region in a text and puts the source's region in its
// place.
#pragma once

#include <string>

class RegionWriter {
 public:
  RegionWriter(const std::string& variableName, std::string region);
  // The command the progress hook is shown for each target.
  const std::string& Command() const { return substCommand_; }
  const std::string& Region() const { return region_; }

  // Replaces the text's first region with the source's; false (text
  // unchanged) when the text holds none. oldRegion, when given, receives
  // the region that was replaced.
  bool Apply(std::string& text, std::string* oldRegion = nullptr) const;
  // Finds the text's first region without changing anything.
  bool Find(const std::string& text, std::string& region) const;

 private:
  std::string matchCommand_;
  std::string region_;
  std::string substCommand_;
  bool viaSubstitution_ = true;
};
