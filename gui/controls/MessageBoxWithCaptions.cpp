#include "MessageBoxWithCaptions.h"

#include "Handles.h"

namespace gui {
namespace {

const char kYesCaption[] = "はい(&Y)";
const char kNoCaption[] = "いいえ(&N)";
const char kOkCaption[] = "OK";
const char kOriginalProcProperty[] = "QuorvelBoxProc";

struct BoxContext {
    bool yesNo = false;
    bool prepared = false;
};
thread_local BoxContext* currentBox = nullptr;

// A Yes/No box has no Cancel button, so the platform ignores Escape and the
// close box; both answer No here.
LRESULT CALLBACK YesNoBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropA(box, kOriginalProcProperty));
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        wParam = MAKEWPARAM(IDNO, HIWORD(wParam));
        lParam = reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO));
    } else if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
        return 0;
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(box, kOriginalProcProperty);
    }
    return CallWindowProcA(original, box, message, wParam, lParam);
}

void CentreOnScreen(HWND box) {
    RECT rect;
    GetWindowRect(box, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PrepareBox(HWND box, BoxContext& context) {
    context.prepared = true;
    if (context.yesNo) {
        SetDlgItemTextA(box, IDYES, kYesCaption);
        SetDlgItemTextA(box, IDNO, kNoCaption);
        SetPropA(box, kOriginalProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrA(box, GWLP_WNDPROC)));
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&YesNoBoxProc));
        if (HMENU system = GetSystemMenu(box, FALSE)) EnableMenuItem(system, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    } else {
        SetDlgItemTextA(box, IDOK, kOkCaption);
    }
    CentreOnScreen(box);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && currentBox && !currentBox->prepared) {
        auto box = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(box, className, sizeof(className));
        if (lstrcmpA(className, "#32770") == 0) PrepareBox(box, *currentBox);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookDeleter {
    void operator()(HHOOK hook) const { if (hook) UnhookWindowsHookEx(hook); }
};
using HookPtr = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookDeleter>;

class ScopedBoxContext {
public:
    explicit ScopedBoxContext(BoxContext& context) : previous_(currentBox) { currentBox = &context; }
    ScopedBoxContext(const ScopedBoxContext&) = delete;
    ScopedBoxContext& operator=(const ScopedBoxContext&) = delete;
    ~ScopedBoxContext() { currentBox = previous_; }

private:
    BoxContext* previous_;
};

}  // namespace

int ShowMessageBoxWithCaptions(const MessageBoxRequest& request) {
    BoxContext context;
    context.yesNo = request.Buttons == MessageBoxButtons::YesNo;
    ScopedBoxContext scope(context);
    HookPtr hook(SetWindowsHookExA(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId()));
    UINT type = request.Icon | (context.yesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK);
    type |= request.Owner ? MB_APPLMODAL : MB_TASKMODAL;
    return MessageBoxA(request.Owner, request.Text.c_str(), request.Caption.c_str(), type);
}

}  // namespace gui
