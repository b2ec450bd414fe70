// Several problems found in one pass over the targets: a strict run names
// them all at once instead of stopping at the first.
#pragma once

#include <string>
#include <vector>

#include "Exceptions.h"

class ETargetProblems : public Exception {
 public:
  struct Problem {
    std::string className;
    std::string message;
  };
  explicit ETargetProblems(std::vector<Problem> problems);
  const std::vector<Problem>& Problems() const { return problems_; }
  // The first problem's class; the message holds every problem, a line each.
  const char* ClassName() const noexcept override { return problems_.front().className.c_str(); }

 private:
  std::vector<Problem> problems_;
};
