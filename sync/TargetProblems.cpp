#include "TargetProblems.h"

namespace {

std::string JoinMessages(const std::vector<ETargetProblems::Problem>& problems) {
  std::string text;
  for (const ETargetProblems::Problem& problem : problems) text += (text.empty() ? "" : "\n") + problem.message;
  return text;
}

}  // namespace

ETargetProblems::ETargetProblems(std::vector<Problem> problems)
    : Exception(JoinMessages(problems)), problems_(std::move(problems)) {}
