#include "StdCtrls.h"

#include "Form.h"

#include <windowsx.h>

namespace gui {
namespace {

TCreateParams Params(const char* className, DWORD style, DWORD exStyle = 0) {
    TCreateParams params;
    params.ClassName = className;
    params.Style = style | WS_VISIBLE;
    params.ExStyle = exStyle;
    return params;
}

TForm* OwningForm(TControl& control) {
    for (TControl* c = &control; c; c = c->Parent())
        if (auto* form = dynamic_cast<TForm*>(c)) return form;
    return nullptr;
}

}  // namespace

// ---- TLabel ---------------------------------------------------------------

TLabel::TLabel(TControl& parent, const TRect& bounds, const std::string& caption)
    : TControl(&parent, bounds, Params("STATIC", SS_LEFT)) {
    CreateHandle();
    SetText(caption);
}

bool TLabel::DialogChar(char key) {
    if (!FocusControl || !Enabled() || !IsAccel(key, Text())) return false;
    if (!FocusControl->CanFocus()) return false;
    FocusControl->SetFocus();
    return true;
}

HBRUSH TLabel::CtlColor(HDC dc) {
    SetTextColor(dc, ColorToRGB(Font().Color));
    SetBkMode(dc, TRANSPARENT);
    return nullptr;  // the form supplies its background brush
}

// ---- TButton --------------------------------------------------------------

TButton::TButton(TControl& parent, const TRect& bounds, const std::string& caption)
    : TControl(&parent, bounds, Params("BUTTON", BS_PUSHBUTTON)) {
    CreateHandle();
    SetText(caption);
}

bool TButton::DialogChar(char key) {
    if (!IsAccel(key, Text()) || !CanFocus()) return false;
    Click();
    return true;
}

void TButton::Click() {
    if (ModalResult != 0) {
        if (TForm* form = OwningForm(*this)) form->ModalResult = ModalResult;
    }
    TControl::Click();
}

bool TButton::CommandNotify(WORD code) {
    if (code != BN_CLICKED) return false;
    // The platform may report a click on a disabled button; it is not one.
    if (Enabled()) Click();
    return true;
}

// ---- TPopupMenu -----------------------------------------------------------

TPopupMenu::TPopupMenu() : menu_(CreatePopupMenu()) {}

void TPopupMenu::Add(const std::string& caption, std::function<void()> onClick) {
    handlers_.push_back(std::move(onClick));
    AppendMenuA(menu_.get(), MF_STRING, handlers_.size(), caption.c_str());
}

void TPopupMenu::Popup(HWND owner, POINT screen) {
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x,
                                                   screen.y, 0, owner, nullptr));
    if (chosen >= 1 && chosen <= handlers_.size() && handlers_[chosen - 1]) handlers_[chosen - 1]();
}

// ---- TEdit ----------------------------------------------------------------

TEdit::TEdit(TControl& parent, const TRect& bounds) : TEdit(parent, bounds, ES_AUTOHSCROLL) {
    CreateHandle();
}

TEdit::TEdit(TControl& parent, const TRect& bounds, DWORD extraStyle)
    : TControl(&parent, bounds, Params("EDIT", extraStyle, WS_EX_CLIENTEDGE)) {}

void TEdit::SetText(const std::string& text) {
    if (!Handle() || Text() == text) return;
    // The platform does not report every programmatic change the same way,
    // so the one OnChange of a change is raised here.
    settingText_ = true;
    SetWindowTextA(Handle(), text.c_str());
    settingText_ = false;
    Change();
}

bool TEdit::Modified() const { return Perform(EM_GETMODIFY) != 0; }
void TEdit::SetModified(bool modified) { Perform(EM_SETMODIFY, modified ? TRUE : FALSE); }
bool TEdit::ReadOnly() const { return (GetWindowLongPtrA(Handle(), GWL_STYLE) & ES_READONLY) != 0; }

void TEdit::SetReadOnly(bool readOnly) {
    Perform(EM_SETREADONLY, readOnly ? TRUE : FALSE);
    if (readOnly) params().Style |= ES_READONLY;
    else params().Style &= ~static_cast<DWORD>(ES_READONLY);
}

void TEdit::SetMaxLength(int length) { Perform(EM_LIMITTEXT, static_cast<WPARAM>(length)); }

void TEdit::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    if (style == TBorderStyle::Single) params().ExStyle |= WS_EX_CLIENTEDGE;
    else params().ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    bool modified = Modified();
    RecreateWnd();
    SetModified(modified);
}

void TEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

void TEdit::Change() {
    if (OnChange) OnChange(*this);
}

bool TEdit::CommandNotify(WORD code) {
    if (code != EN_CHANGE) return false;
    if (!settingText_) Change();
    return true;
}

LRESULT TEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONUP: {
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT client = ClientRect();
        if (PtInRect(&client, point)) Click();
        return result;
    }
    case WM_CONTEXTMENU:
        if (PopupMenu) {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (point.x == -1 && point.y == -1) GetCursorPos(&point);
            PopupMenu->Popup(Handle(), point);
            return 0;
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

// ---- TBevel ---------------------------------------------------------------

TBevel::TBevel(TControl& parent, const TRect& bounds) : TControl(&parent, bounds, Params("STATIC", SS_OWNERDRAW)) {
    CreateHandle();
}

bool TBevel::DrawItem(const DRAWITEMSTRUCT& item) {
    RECT rect = item.rcItem;
    DrawEdge(item.hDC, &rect, BDR_RAISEDINNER, BF_RECT);
    return true;
}

}  // namespace gui
