#include <windows.h>

#include "UserLanguage.h"

namespace platform {

bool UserReadsJapanese() { return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE; }

}  // namespace platform
