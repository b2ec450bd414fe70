// Reading what the shell dropped on a window (WM_DROPFILES).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace gui {

// The full paths in the drop, in the order dropped; the drop's memory is
// released on every path out.
std::vector<std::string> TakeDroppedFiles(HDROP drop);

}  // namespace gui
