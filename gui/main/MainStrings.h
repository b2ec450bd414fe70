// The main window's translatable texts, kept as string resources.
#pragma once

#include <string>

namespace quorvel {

enum class MainString { ListDefaultExt, ListFilter };

// Reads the text from the program's string table; raises when it is missing,
// since the dialogs cannot work without it.
std::string LoadMainString(MainString id);

}  // namespace quorvel
