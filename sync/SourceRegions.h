// The regions a run copies: one for a named variable, or every variable
// whose region the source holds (--all), each as it goes into a target:
// its relative references rebased for the target's folder (--relink), and
// converted into the target's encoding (--convert).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RegionWriter.h"
#include "Relink.h"
#include "TextEncoding.h"

class SourceRegions {
 public:
  // sourceName names the source in messages.
  explicit SourceRegions(TextEncoding sourceEncoding = TextEncoding::Unknown, std::string sourceName = std::string())
      : encoding_(sourceEncoding), sourceName_(std::move(sourceName)) {}
  // The name and the region as the source's bytes hold them.
  void Add(const std::string& variableName, std::string region);
  // From now on each region's relative references are rebased from the
  // source's folder (a full path ending in a delimiter) to a target's.
  void Relink(const std::string& sourceFolder);
  // From now on names are looked up, and regions written, in each target's
  // own encoding.
  void ConvertForEachTarget() { convert_ = true; }

  std::size_t Count() const { return variables_.size(); }
  TextEncoding SourceEncoding() const { return encoding_; }
  // Some region holds characters beyond ASCII: only then do encodings matter.
  bool BeyondAscii() const { return beyondAscii_; }
  bool Converts() const { return convert_; }
  // Finds variable i in a text of the encoding (names converted with
  // --convert; otherwise as the source holds them).
  const RegionWriter& Writer(std::size_t i, TextEncoding encoding = TextEncoding::Unknown);
  // Variable i's region as it goes into a page in targetFolder (a full path
  // ending in a delimiter) of the encoding. Raises EEncodingError naming
  // fileName when the encoding cannot hold one of its characters, or the
  // source when its region holds bytes that are no characters of its own
  // encoding.
  const std::string& RegionFor(std::size_t i, const std::string& targetFolder, TextEncoding encoding,
                               const std::string& fileName);
  // The command the progress hook is shown: the first variable's.
  const std::string& Command() const { return variables_.front().writer.Command(); }
  // "menu, footer": for messages.
  std::string Names() const;

 private:
  struct Variable {
    RegionWriter writer;
    std::unique_ptr<RegionRelinker> relinker;
    std::map<TextEncoding, RegionWriter> converted;
    std::map<std::pair<std::string, TextEncoding>, std::string> regions;
  };
  // The encoding a target's regions are written in: its own with --convert
  // where it is one of the three, else the source's bytes as they are.
  TextEncoding WrittenIn(TextEncoding target) const;

  TextEncoding encoding_;
  std::string sourceName_;
  bool convert_ = false;
  bool beyondAscii_ = false;
  std::vector<Variable> variables_;
};

// True for UTF-8, Shift_JIS and EUC-JP: encodings a file is known to be in.
bool IsKnownEncoding(TextEncoding encoding);

// The names of every variable whose region the text holds, in the order of
// their opening markers (each name once).
std::vector<std::string> FindVariables(const std::string& text);
