#include <windows.h>

#include <climits>

#include "CodePageConversion.h"

namespace platform {
namespace {

constexpr UINT kShiftJis = 932;

UINT CodePageNumber(CodePage page) {
  switch (page) {
    case CodePage::Utf8:
      return CP_UTF8;
    case CodePage::ShiftJis:
      return kShiftJis;
    case CodePage::FileNames:
      break;
  }
  return GetACP();
}

bool ToWide(std::string_view text, UINT codePage, std::wstring& wide) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length) == length;
}

// UTF-8 takes neither best-fit nor default-character flags; every other
// code page is asked for exact counterparts and says when it used its
// default character instead.
bool FromWide(const std::wstring& wide, UINT codePage, std::string& out) {
  const int size = static_cast<int>(wide.size());
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultOut);
  if (length <= 0 || usedDefault) return false;
  out.resize(static_cast<std::size_t>(length));
  return WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), length, nullptr, usedDefaultOut) ==
             length &&
         !usedDefault;
}

}  // namespace

bool ConvertCodePage(std::string_view text, CodePage from, CodePage to, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  std::wstring wide;
  return ToWide(text, CodePageNumber(from), wide) && FromWide(wide, CodePageNumber(to), out);
}

bool FileNamesUse(CodePage page) { return page == CodePage::FileNames || GetACP() == CodePageNumber(page); }

}  // namespace platform
