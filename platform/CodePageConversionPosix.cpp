#include <iconv.h>

#include <cerrno>
#include <mutex>

#include "CodePageConversion.h"

namespace platform {
namespace {

constexpr int kPages = 3;

// What iconv_open returns when it fails.
iconv_t NoConverter() { return reinterpret_cast<iconv_t>(-1); }

const char* IconvName(CodePage page) { return page == CodePage::ShiftJis ? "CP932" : "UTF-8"; }

// Opening a converter loads its module and tables, so each direction is
// opened once and kept (a lock keeps two threads off one converter's
// state; a thread-local would make the program need the dynamic loader's
// TLS calls).
class Converters {
 public:
  Converters() = default;
  Converters(const Converters&) = delete;
  Converters& operator=(const Converters&) = delete;
  ~Converters() {
    for (auto& row : descriptors_)
      for (iconv_t descriptor : row)
        if (descriptor != nullptr && descriptor != NoConverter()) iconv_close(descriptor);
  }

  // The converter, reset to its initial state; NoConverter() when it
  // cannot be opened.
  iconv_t Get(CodePage from, CodePage to) {
    iconv_t& descriptor = descriptors_[static_cast<int>(from)][static_cast<int>(to)];
    if (descriptor == nullptr) descriptor = iconv_open(IconvName(to), IconvName(from));
    if (descriptor != NoConverter()) iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    return descriptor;
  }

 private:
  iconv_t descriptors_[kPages][kPages] = {};  // null: not opened yet
};

}  // namespace

bool ConvertCodePage(std::string_view text, CodePage from, CodePage to, std::string& out) {
  static Converters converters;
  static std::mutex converting;
  const std::lock_guard<std::mutex> hold(converting);
  const iconv_t descriptor = converters.Get(from, to);
  out.clear();
  if (descriptor == NoConverter()) return false;
  // Each character grows by at most half again between these encodings
  // (two Shift_JIS bytes to three UTF-8 bytes); a fuller output is
  // continued in a larger buffer.
  out.resize(text.size() + text.size() / 2 + 16);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  std::size_t written = 0;
  for (;;) {
    char* next = out.data() + written;
    std::size_t outLeft = out.size() - written;
    const std::size_t result = iconv(descriptor, &in, &inLeft, &next, &outLeft);
    written = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return false;
    out.resize(out.size() * 2);
  }
  out.resize(written);
  return true;
}

bool FileNamesUse(CodePage page) { return page != CodePage::ShiftJis; }

}  // namespace platform
