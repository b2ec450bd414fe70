#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "UserLanguage.h"

namespace platform {
namespace {

// "ja", "ja_JP", "ja_JP.UTF-8", "ja_JP.eucJP@modifier", ... (strchr also
// finds the terminating zero of a bare "ja").
bool NamesJapanese(const char* locale) {
  return std::strncmp(locale, "ja", 2) == 0 && std::strchr("_.@", locale[2]) != nullptr;
}

}  // namespace

bool UserReadsJapanese() {
  // The order in which setlocale() looks for the messages' category.
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return NamesJapanese(value);
  }
  return false;
}

}  // namespace platform
