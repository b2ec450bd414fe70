#include "PrintProgress.h"

#include "ConsoleIO.h"

void PrintProgress(const std::string& fileName, const std::string& /*command*/, std::int32_t index) {
  WriteLine(index == -1 ? std::string("変数を探しています。") : fileName);
  // A pipe or a log shows the run as it goes, and a failing output stops
  // the run at the file where it failed rather than after the last one.
  FlushOutput();
}
