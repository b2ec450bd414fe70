#include "BusyWindow.h"

namespace quorvel {
namespace {

void EnableClose(HWND window, bool enable) {
    if (HMENU menu = GetSystemMenu(window, FALSE))
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void BusyWindow::RefreshCursor(HWND form) {
    POINT point{};
    if (!GetCursorPos(&point)) return;
    HWND under = WindowFromPoint(point);
    if (!under || (under != form && !IsChild(form, under))) return;
    const LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

BusyWindow::BusyWindow(gui::TForm& form) : form_(form), focus_(GetFocus()) {
    // Controls that take input are those with a place in the tab order.
    for (gui::TControl* control : form_.Controls()) {
        if (control->TabOrder() < 0) continue;
        controls_.emplace_back(control, control->Enabled());
        control->SetEnabled(false);
    }
    EnableClose(form_.Handle(), false);
}

BusyWindow::~BusyWindow() {
    for (const auto& [control, enabled] : controls_) control->SetEnabled(enabled);
    EnableClose(form_.Handle(), true);
    if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) && GetActiveWindow() == form_.Handle())
        SetFocus(focus_);
}

void BusyWindow::ShowBusyCursor() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }

}  // namespace quorvel
