// Starts the build machine's Perl on the oracle script and waits for it.
#pragma once

#include <filesystem>
#include <string>

namespace differential {

// Runs "perl SCRIPT CASES RESULTS" on the two files in folder. Throws
// std::runtime_error when Perl cannot be started or fails.
void runPerlOracle(const std::filesystem::path &folder, const std::string &cases, const std::string &results);

}  // namespace differential
