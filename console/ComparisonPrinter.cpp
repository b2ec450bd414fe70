#include "ComparisonPrinter.h"

#include "ConsoleIO.h"
#include "Exceptions.h"
#include "Format.h"
#include "Platform.h"
#include "UnifiedDiff.h"

void ComparisonPrinter::operator()(const TTargetOutcome& outcome) {
  // A target a run would refuse differs in every compare mode, though a
  // diff has nothing to show for it.
  if (!outcome.problem.empty()) {
    differs_ = true;
    WriteErrorText(outcome.problem + "\n");
  }
  // A page whose markers an edit broke is exactly what a check must catch.
  if (!outcome.hasRegion) {
    differs_ = true;
    WriteErrorText(Format(outcome.hasOpening ? "ファイル %s の変数 %s の範囲には終わりの印がありません"
                                             : "ファイル %s には変数 %s の範囲がありません",
                          {ShortenedName(outcome.fileName), outcome.variables}) +
                   "\n");
  }
  if (options_.diff) {
    const std::string diff = UnifiedDiff(outcome.fileName, outcome.oldBytes, outcome.newBytes, platform::kLineBreak);
    if (diff.empty()) return;
    differs_ = true;
    if (!options_.quiet) WriteBytes(diff);
  } else if (outcome.regionDiffers || !outcome.hasRegion) {
    differs_ = true;
    if (!options_.quiet) {
      WriteLine(outcome.fileName);
      FlushOutput();
    }
  }
}
