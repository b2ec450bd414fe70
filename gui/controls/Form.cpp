#include "Form.h"

#include "Application.h"
#include "StdCtrls.h"

namespace gui {
namespace {

const char kFormClass[] = "QuorvelForm";

DWORD FormStyle(TFormBorder border) {
    if (border == TFormBorder::Dialog) return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPCHILDREN;
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

TCreateParams FormParams(const TFormParams& form) {
    TCreateParams params;
    params.ClassName = kFormClass;
    params.Style = FormStyle(form.Border);
    params.ExStyle = form.Border == TFormBorder::Dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
    return params;
}

TRect WindowBoundsFor(const TFormParams& form) {
    RECT rect{0, 0, form.ClientWidth, form.ClientHeight};
    DWORD exStyle = form.Border == TFormBorder::Dialog ? WS_EX_DLGMODALFRAME : 0;
    AdjustWindowRectEx(&rect, FormStyle(form.Border), FALSE, exStyle);
    return {form.Left, form.Top, rect.right - rect.left, rect.bottom - rect.top};
}

// CharUpperA takes a single character in the low word of its pointer argument.
char UpperKey(WPARAM character) {
    auto* upper = CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(character & 0xFF)));
    return static_cast<char>(reinterpret_cast<UINT_PTR>(upper) & 0xFF);
}

BOOL CALLBACK CollectEnabledWindows(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

void TForm::RegisterWindowClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kFormClass, &windowClass)) return;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1));
    windowClass.lpszClassName = kFormClass;
    RegisterClassExA(&windowClass);
}

TForm::TForm(const TFormParams& params) : TControl(nullptr, WindowBoundsFor(params), FormParams(params)) {
    RegisterWindowClass();
    brush_.reset(CreateSolidBrush(ColorToRGB(color_)));
    CreateHandle();
    if (params.Owner) SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(params.Owner));
    SetText(params.Caption);
}

TForm::~TForm() {
    if (Application().MainForm == this) Application().MainForm = nullptr;
}

void TForm::SetColor(TColor color) {
    color_ = color;
    brush_.reset(CreateSolidBrush(ColorToRGB(color_)));
    Invalidate();
}

void TForm::SetClientSize(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    TRect bounds = Bounds();
    SetBounds({bounds.Left, bounds.Top, rect.right - rect.left, rect.bottom - rect.top});
}

void TForm::Show() {
    SetVisible(true);
    SetForegroundWindow(Handle());
}

void TForm::Close() {
    if (Handle()) PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

int TForm::ShowModal() {
    // Every other enabled window of this thread is disabled while the form is open.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindows, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled)
        if (window != Handle()) EnableWindow(window, FALSE);

    ModalResult = mrNone;
    modal_ = true;
    Show();
    MSG message;
    while (ModalResult == mrNone && Handle()) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            ModalResult = mrCancel;
            break;
        }
        Application().DispatchOne(message);
    }
    modal_ = false;
    for (HWND window : disabled)
        if (window != Handle() && IsWindow(window)) EnableWindow(window, TRUE);
    if (Handle()) SetVisible(false);
    return ModalResult;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.get());
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        if (result) return result;
        SetBkColor(reinterpret_cast<HDC>(wParam), ColorToRGB(color_));
        return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_CLOSE:
        if (OnClose) OnClose(*this);
        if (modal_) {
            ModalResult = mrCancel;
            return 0;
        }
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        if (Application().MainForm == this) PostQuitMessage(0);
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

TButton* TForm::FindButton(bool isDefault) const {
    std::vector<const TControl*> pending{this};
    while (!pending.empty()) {
        const TControl* control = pending.back();
        pending.pop_back();
        for (TControl* child : control->Controls()) {
            auto* button = dynamic_cast<TButton*>(child);
            if (button && (isDefault ? button->Default : button->Cancel) && button->CanFocus()) return button;
            pending.push_back(child);
        }
    }
    return nullptr;
}

// Return presses the focused push button or the default button; without
// either it goes to the focused control like any other key. Escape presses
// the cancel button.
bool TForm::HandleReturnOrEscape(const MSG& message) {
    if (message.wParam == VK_RETURN) {
        if (auto* focused = dynamic_cast<TButton*>(FromHandle(GetFocus()))) {
            focused->Click();
            return true;
        }
        if (TButton* button = FindButton(true)) {
            button->Click();
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        return true;
    }
    if (message.wParam == VK_ESCAPE) {
        if (TButton* button = FindButton(false)) {
            button->Click();
            return true;
        }
    }
    return false;
}

bool TForm::HandleAccelerator(char key) { return DialogChar(key); }

bool TForm::PreTranslateMessage(MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
        if (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE) {
            if (HandleReturnOrEscape(message)) return true;
        }
        break;
    case WM_SYSCHAR: {
        if (HandleAccelerator(UpperKey(message.wParam))) return true;
        TranslateMessage(&message);
        DispatchMessageA(&message);
        return true;
    }
    case WM_CHAR: {
        // A plain letter acts as an accelerator only where the focused control takes no characters.
        LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
        if (!(code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE | DLGC_HASSETSEL))) {
            if (HandleAccelerator(UpperKey(message.wParam))) return true;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return IsDialogMessageA(Handle(), &message) != FALSE;
}

}  // namespace gui
