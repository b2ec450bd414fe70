// The regions a run copies: one for a named variable, or every variable
// whose region the source holds (--all), each as it goes into a target
// (its relative references rebased for the target's folder with --relink).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Relink.h"
#include "RegionWriter.h"

class SourceRegions {
 public:
  void Add(const std::string& variableName, std::string region);
  // From now on each region's relative references are rebased from the
  // source's folder (a full path ending in a delimiter) to a target's.
  void Relink(const std::string& sourceFolder);

  std::size_t Count() const { return variables_.size(); }
  const RegionWriter& Writer(std::size_t i) const { return variables_[i].writer; }
  // Variable i's region as it goes into a page in targetFolder (a full
  // path ending in a delimiter).
  const std::string& RegionFor(std::size_t i, const std::string& targetFolder);
  // The command the progress hook is shown: the first variable's.
  const std::string& Command() const { return variables_.front().writer.Command(); }
  // "menu, footer": for messages.
  std::string Names() const;

 private:
  struct Variable {
    RegionWriter writer;
    std::unique_ptr<RegionRelinker> relinker;
  };
  std::vector<Variable> variables_;
};

// The names of every variable whose region the text holds, in the order of
// their opening markers (each name once).
std::vector<std::string> FindVariables(const std::string& text);
