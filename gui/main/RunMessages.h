// The messages a run on its own thread posts to the main window.
#pragma once

#include <windows.h>

namespace quorvel {

constexpr UINT kRunProgressMessage = WM_APP + 1;
constexpr UINT kRunDoneMessage = WM_APP + 2;

}  // namespace quorvel
