#include "SettledRead.h"

#include <new>
#include <stdexcept>

#include "Exceptions.h"
#include "Format.h"

SettledFile ReadSettledFile(const std::string& fileName, const std::string& path) {
  SettledFile file;
  try {
    for (int attempt = 0; attempt < kChangedFileAttempts; ++attempt) {
      switch (platform::ReadWholeFileChecked(path, file.bytes, file.identity)) {
        case platform::ReadResult::read:
          return file;
        case platform::ReadResult::failed:
          RaiseFileOpenError(fileName);
        case platform::ReadResult::changed:
          break;
      }
    }
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(fileName);
  } catch (const std::length_error&) {
    // More bytes than a string of this build can hold.
    throw EOutOfMemory(fileName);
  }
  throw EFOpenError(Format("ファイル %s は読み込む間に変更され続けたため、読めません", {fileName}));
}
