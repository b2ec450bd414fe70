// The language the user reads, for help texts only: the system's messages
// are the same in every locale.
#pragma once

namespace platform {

// POSIX: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty names a Japanese locale. Windows: the user's interface language is
// Japanese.
bool UserReadsJapanese();

}  // namespace platform
