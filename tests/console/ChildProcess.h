// Runs a program as a child process with the given standard input and
// captures its standard output and its standard error as bytes.
#pragma once

#include <string>
#include <vector>

struct ChildResult {
  int exitCode = -1;
  std::string output;
  std::string errors;  // standard error
};

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                     const std::string& workingDir);
