#include "Application.h"

#include "DialogSeam.h"
#include "Exceptions.h"
#include "Form.h"

#include <commctrl.h>

#include <new>
#include <stdexcept>

namespace gui {

TApplication& Application() {
    static TApplication application;
    return application;
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES |
                                                        ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    TForm::RegisterWindowClass();
}

void TApplication::Run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchOne(message);
}

void TApplication::ProcessMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchOne(message);
    }
}

void TApplication::DispatchOne(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(root));
    if (form && form->PreTranslateMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

std::string TApplication::ErrorText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

void TApplication::HandleException(const std::exception& error) {
    // The runtime's own text ("std::bad_alloc") tells the user nothing.
    if (dynamic_cast<const std::bad_alloc*>(&error) || dynamic_cast<const std::length_error*>(&error)) {
        HandleException(EOutOfMemory());
        return;
    }
    if (OnException) {
        OnException(error);
        return;
    }
    MessageBoxRequest request;
    request.Text = ErrorText(error.what());
    request.Caption = Title;
    request.Icon = MB_ICONERROR;
    request.Buttons = MessageBoxButtons::Ok;
    request.Owner = GetActiveWindow();
    Dialogs().ShowMessageBox(request);
}

void TApplication::HandleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& caught) {
        HandleException(caught);
    } catch (...) {
        HandleException(Exception("Unknown error"));
    }
}

}  // namespace gui
