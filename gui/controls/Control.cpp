#include "Control.h"

#include "Application.h"
#include "DroppedFiles.h"
#include "Exceptions.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>

namespace gui {
namespace {

const char kControlProperty[] = "QuorvelControl";
int nextControlId = 100;  // below 100 lie IDOK/IDCANCEL, which the dialog manager sends on its own

}  // namespace

TShiftState TShiftState::FromKeyboard() {
    TShiftState state;
    state.Shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    state.Ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    state.Alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    return state;
}

TControl::TControl(TControl* parent, const TRect& bounds, TCreateParams params)
    : parent_(parent), params_(std::move(params)), bounds_(bounds) {
    if (parent_) {
        parent_->children_.push_back(this);
        font_ = parent_->font_;
        RECT client = parent_->ClientRect();
        designClient_ = {client.right, client.bottom};
        params_.Style |= WS_CHILD;
        controlId_ = nextControlId++;
    }
}

TControl::~TControl() {
    while (!owned_.empty()) owned_.pop_back();  // children first, newest first
    if (handle_) {
        DestroyingHandle();
        HWND window = handle_;
        Detach(window);
        DestroyWindow(window);
    }
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TControl* TControl::FromHandle(HWND window) {
    return window ? static_cast<TControl*>(GetPropA(window, kControlProperty)) : nullptr;
}

void TControl::CreateHandle() {
    HWND parentWindow = parent_ ? parent_->handle_ : nullptr;
    HMENU id = parent_ ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_)) : nullptr;
    handle_ = CreateWindowExA(params_.ExStyle, params_.ClassName.c_str(), nullptr, params_.Style, bounds_.Left,
                              bounds_.Top, bounds_.Width, bounds_.Height, parentWindow, id, GetModuleHandleA(nullptr),
                              nullptr);
    if (!handle_) throw Exception("Error creating window (" + params_.ClassName + ")");
    SetPropA(handle_, kControlProperty, this);
    originalProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::StaticWndProc)));
    ApplyFontToWindow();
    if (parent_) parent_->ApplyTabOrder();
}

void TControl::Detach(HWND window) {
    if (originalProc_) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    RemovePropA(window, kControlProperty);
    handle_ = nullptr;
}

void TControl::RecreateWnd() {
    if (!handle_) return;
    std::string text = Text();
    bool enabled = Enabled();
    bounds_ = Bounds();
    DestroyingHandle();
    HWND old = handle_;
    Detach(old);
    // Children are destroyed with the old window; they have to follow it.
    DestroyWindow(old);
    if (enabled) params_.Style &= ~static_cast<DWORD>(WS_DISABLED);
    else params_.Style |= WS_DISABLED;
    CreateHandle();
    SetWindowTextA(handle_, text.c_str());
    HandleCreated();
}

LRESULT CALLBACK TControl::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TControl* control = FromHandle(window);
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_DESTROY) control->DestroyingHandle();
    if (message == WM_NCDESTROY) {
        WNDPROC original = control->originalProc_;
        control->Detach(window);
        return original ? CallWindowProcA(original, window, message, wParam, lParam)
                        : DefWindowProcA(window, message, wParam, lParam);
    }
    return control->SafeWndProc(message, wParam, lParam);
}

// Exceptions must not cross the system's window procedure; they end the
// event and reach the application's error display, as every event's do.
LRESULT TControl::SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return WndProc(message, wParam, lParam);
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
    return 0;
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (originalProc_) return CallWindowProcA(originalProc_, handle_, message, wParam, lParam);
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            TControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
            if (child && child->CommandNotify(HIWORD(wParam))) return 0;
        }
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        TControl* child = item ? FromHandle(item->hwndItem) : nullptr;
        if (child && child->DrawItem(*item)) return TRUE;
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        TControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
        if (child) {
            if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
        }
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        KeyDown(key, TShiftState::FromKeyboard());
        if (key == 0) return 0;
        return DefaultHandler(message, key, lParam);
    }
    case WM_SETFOCUS: {
        LRESULT result = DefaultHandler(message, wParam, lParam);
        if (OnEnter) OnEnter(*this);
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = DefaultHandler(message, wParam, lParam);
        if (OnExit) OnExit(*this);
        return result;
    }
    case WM_ENABLE: {
        LRESULT result = DefaultHandler(message, wParam, lParam);
        EnabledChanged();
        return result;
    }
    case WM_SIZE: {
        LRESULT result = DefaultHandler(message, wParam, lParam);
        AnchorChildren(LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    case WM_DROPFILES:
        if (OnDropFiles) {
            const std::vector<std::string> files = TakeDroppedFiles(reinterpret_cast<HDROP>(wParam));
            OnDropFiles(*this, files);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

void TControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(*this, key, shift);
}

bool TControl::Enabled() const {
    return handle_ ? IsWindowEnabled(handle_) != FALSE : (params_.Style & WS_DISABLED) == 0;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled) params_.Style &= ~static_cast<DWORD>(WS_DISABLED);
    else params_.Style |= WS_DISABLED;
    if (handle_ && (IsWindowEnabled(handle_) != FALSE) != enabled) EnableWindow(handle_, enabled);
}

bool TControl::Visible() const { return (params_.Style & WS_VISIBLE) != 0; }

void TControl::SetVisible(bool visible) {
    if (visible) params_.Style |= WS_VISIBLE;
    else params_.Style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (handle_) ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

std::string TControl::Text() const {
    if (!handle_) return {};
    int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(handle_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void TControl::SetText(const std::string& text) {
    if (handle_ && Text() != text) SetWindowTextA(handle_, text.c_str());
}

TRect TControl::Bounds() const {
    if (!handle_) return bounds_;
    RECT rect;
    GetWindowRect(handle_, &rect);
    if (HWND parentWindow = GetParent(handle_)) MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TControl::SetBounds(const TRect& bounds) {
    bounds_ = bounds;
    if (handle_) MoveWindow(handle_, bounds.Left, bounds.Top, bounds.Width, bounds.Height, TRUE);
    if (parent_) {
        RECT client = parent_->ClientRect();
        designClient_ = {client.right, client.bottom};
    }
}

RECT TControl::ClientRect() const {
    RECT rect{0, 0, bounds_.Width, bounds_.Height};
    if (handle_) GetClientRect(handle_, &rect);
    return rect;
}

void TControl::SetFont(const TFont& font) {
    font_ = font;
    ParentFont = false;
    ApplyFontToWindow();
    FontChanged();
    for (TControl* child : children_) {
        if (child->ParentFont) {
            child->SetFont(font);
            child->ParentFont = true;
        }
    }
}

void TControl::ApplyFontToWindow() {
    fontHandle_ = font_.CreateHandle();
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle_.get()), TRUE);
}

void TControl::SetTabStop(bool tabStop) {
    if (tabStop) params_.Style |= WS_TABSTOP;
    else params_.Style &= ~static_cast<DWORD>(WS_TABSTOP);
    if (!handle_) return;
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(handle_, GWL_STYLE, style);
}

void TControl::SetAcceptFiles(bool accept) {
    if (accept) params_.ExStyle |= WS_EX_ACCEPTFILES;
    else params_.ExStyle &= ~static_cast<DWORD>(WS_EX_ACCEPTFILES);
    if (handle_) DragAcceptFiles(handle_, accept ? TRUE : FALSE);
}

void TControl::SetTabOrder(int order) {
    tabOrder_ = order;
    SetTabStop(order >= 0);
    if (parent_) parent_->ApplyTabOrder();
}

// The dialog manager moves the focus in z-order, so the z-order of the
// children follows their tab order; controls without one come last.
void TControl::ApplyTabOrder() {
    std::vector<TControl*> ordered;
    for (TControl* child : children_)
        if (child->handle_ && child->tabOrder_ >= 0) ordered.push_back(child);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TControl* a, const TControl* b) { return a->tabOrder_ < b->tabOrder_; });
    HWND after = HWND_TOP;
    for (TControl* child : ordered) {
        SetWindowPos(child->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child->handle_;
    }
}

void TControl::AnchorChildren(int width, int height) {
    for (TControl* child : children_) {
        if (!child->handle_ || child->designClient_.cx == 0) continue;
        TRect rect = child->bounds_;
        int dx = width - child->designClient_.cx;
        int dy = height - child->designClient_.cy;
        if (child->Anchors & akRight) {
            if (child->Anchors & akLeft) rect.Width += dx;
            else rect.Left += dx;
        }
        if (child->Anchors & akBottom) {
            if (child->Anchors & akTop) rect.Height += dy;
            else rect.Top += dy;
        }
        MoveWindow(child->handle_, rect.Left, rect.Top, rect.Width, rect.Height, TRUE);
    }
}

bool TControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->parent_)
        if (!control->handle_ || !IsWindowVisible(control->handle_) || !IsWindowEnabled(control->handle_)) return false;
    return true;
}

bool TControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TControl::SetFocus() {
    if (handle_) ::SetFocus(handle_);
}

void TControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TControl::Repaint() {
    Invalidate();
    if (handle_) UpdateWindow(handle_);
}

void TControl::Click() {
    if (OnClick) OnClick(*this);
}

bool TControl::DialogChar(char key) {
    for (TControl* child : children_)
        if (child->DialogChar(key)) return true;
    return false;
}

LRESULT TControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) const {
    return handle_ ? SendMessageA(handle_, message, wParam, lParam) : 0;
}

// The caption's accelerator is the character after a single "&"; double-byte
// characters are skipped whole so that a trail byte never counts.
bool TControl::IsAccel(char key, const std::string& caption) {
    for (size_t i = 0; i < caption.size(); ++i) {
        auto byte = static_cast<unsigned char>(caption[i]);
        if (IsDBCSLeadByte(byte)) {
            ++i;
            continue;
        }
        if (caption[i] != '&' || i + 1 >= caption.size()) continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        auto next = static_cast<unsigned char>(caption[i + 1]);
        return !IsDBCSLeadByte(next) && std::toupper(next) == static_cast<unsigned char>(key);
    }
    return false;
}

}  // namespace gui
