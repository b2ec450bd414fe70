#include "SettledRead.h"

#include <chrono>
#include <thread>

#include "Exceptions.h"
#include "Format.h"

void PauseForHeldFile() { std::this_thread::sleep_for(std::chrono::milliseconds(25)); }

SettledFile ReadSettledFile(const std::string& fileName, const std::string& path) {
  SettledFile file;
  for (int attempt = 0, waits = 0; attempt < kChangedFileAttempts;) {
    const auto result =
        NamingMemoryFailures(fileName, [&] { return platform::ReadWholeFileChecked(path, file.bytes, file.identity); });
    if (result == platform::ReadResult::read) return file;
    if (result == platform::ReadResult::failed || (result == platform::ReadResult::held && waits++ == kHeldFileWaits))
      RaiseFileOpenError(fileName);
    if (result == platform::ReadResult::held) {
      PauseForHeldFile();
    } else {
      ++attempt;
    }
  }
  throw EFOpenError(Format("ファイル %s は読み込む間に変更され続けたため、読めません", {ShortenedName(fileName)}));
}
