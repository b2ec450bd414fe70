#include "SettledRead.h"

#include "Exceptions.h"
#include "Format.h"

SettledFile ReadSettledFile(const std::string& fileName, const std::string& path) {
  SettledFile file;
  for (int attempt = 0; attempt < kChangedFileAttempts; ++attempt) {
    const auto result =
        NamingMemoryFailures(fileName, [&] { return platform::ReadWholeFileChecked(path, file.bytes, file.identity); });
    if (result == platform::ReadResult::read) return file;
    if (result == platform::ReadResult::failed) RaiseFileOpenError(fileName);
  }
  throw EFOpenError(Format("ファイル %s は読み込む間に変更され続けたため、読めません", {ShortenedName(fileName)}));
}
