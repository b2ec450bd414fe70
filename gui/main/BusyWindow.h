// A window while a run works on another thread: its input controls are
// disabled (each gets its own state back at the end, and the focus returns
// where it was), its Close command is greyed, and the busy cursor shows over
// it. The layout stays as it is.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "Form.h"

namespace quorvel {

class BusyWindow {
public:
    explicit BusyWindow(gui::TForm& form);
    ~BusyWindow();
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    // The answer to WM_SETCURSOR over the window while it is busy.
    static void ShowBusyCursor();
    // The cursor is set when the mouse moves; after a change of state the
    // window under the cursor (if it is this form or in it) is asked again.
    static void RefreshCursor(HWND form);

private:
    gui::TForm& form_;
    std::vector<std::pair<gui::TControl*, bool>> controls_;  // with their enabled state before
    HWND focus_;
};

}  // namespace quorvel
