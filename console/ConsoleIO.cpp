#include "ConsoleIO.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "Exceptions.h"

namespace {

[[noreturn]] void RaiseOutputError() { throw EInOutError("標準出力に書き込めません"); }

}  // namespace

void WriteText(const std::string& text) {
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) RaiseOutputError();
}

void WriteLine(const std::string& text) {
  WriteText(text);
  // The C runtime writes the platform's line break for "\n".
  if (std::fputc('\n', stdout) == EOF) RaiseOutputError();
}

void FlushOutput() {
  if (std::fflush(stdout) != 0) RaiseOutputError();
}

void WriteBytes(const std::string& bytes) {
#ifdef _WIN32
  // The C runtime's text mode would turn each LF into CR LF, also those of
  // a CR LF already there.
  FlushOutput();
  const int previous = _setmode(_fileno(stdout), _O_BINARY);
  WriteText(bytes);
  FlushOutput();
  _setmode(_fileno(stdout), previous);
#else
  WriteText(bytes);
  FlushOutput();
#endif
}

void WriteErrorText(const std::string& text) {
  if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), stderr) != text.size()) || std::fflush(stderr) != 0)
    throw EInOutError("標準エラー出力に書き込めません");
}

bool ReadLine(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    const int c = std::fgetc(stdin);
    if (c == EOF) {
      if (std::ferror(stdin)) throw EInOutError("標準入力を読み込めません");
      break;
    }
    any = true;
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

void WriteToStandardError(const std::string& text) {
  try {
    WriteErrorText(text);
  } catch (const EInOutError&) {
  }
}
