// What the synchronisation benchmarks share: timing a program over a
// folder, and writing files.
#pragma once

#include <functional>
#include <string>
#include <vector>

inline constexpr int kRepetitions = 3;

struct Measure {
  double seconds = 0;
  double userSeconds = 0;
  long peakKilobytes = 0;
};

// Runs a program with stdout and stderr sent to /dev/null; the best of
// kRepetitions, with prepare() run untimed before each. Exits when it fails.
Measure Time(const std::vector<std::string>& command, const std::string& dir, const std::function<void()>& prepare,
             const std::vector<std::string>& environment = {});

// One run of a program, prepare() run untimed before it.
Measure TimeOnce(const std::vector<std::string>& command, const std::string& dir, const std::function<void()>& prepare,
                 const std::vector<std::string>& environment = {});

void Put(const std::string& name, const std::string& bytes);

// The site rows: patterns, --all, --relink and --convert over 10,000 pages
// in 100 folders, each next to the plain run it is measured against.
void SiteRows(const std::string& root);
