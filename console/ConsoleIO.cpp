#include "ConsoleIO.h"

#include <cstdio>

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
