#include "PrintProgress.h"

#include "ConsoleIO.h"

void PrintProgress(const std::string& fileName, const std::string& /*command*/, std::int32_t index) {
  WriteLine(index == -1 ? std::string("変数を探しています。") : fileName);
}
