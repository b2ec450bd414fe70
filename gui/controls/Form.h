// A top-level window that hosts controls: caption, client size, screen
// position, colour, font, keyboard handling (Tab, Return, Escape and the
// accelerators of its controls) and modal display.
#pragma once

#include "Control.h"

namespace gui {

class TButton;

enum TModalResult : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

enum class TFormBorder { Dialog, Sizeable };

struct TFormParams {
    std::string Caption;
    int Left = CW_USEDEFAULT;
    int Top = CW_USEDEFAULT;
    int ClientWidth = 320;
    int ClientHeight = 240;
    TFormBorder Border = TFormBorder::Dialog;
    HWND Owner = nullptr;
};

class TForm : public TControl {
public:
    explicit TForm(const TFormParams& params);
    ~TForm() override;

    static void RegisterWindowClass();

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    void SetClientSize(int width, int height);

    void Show();
    void Close();
    // Shows the form with the application's other windows disabled and
    // returns its modal result once it is set or the form is closed.
    int ShowModal();
    int ModalResult = mrNone;

    // The form's first look at a queued message; true when it consumed it.
    bool PreTranslateMessage(MSG& message);

    TNotifyEvent OnClose;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TButton* FindButton(bool isDefault) const;
    bool HandleReturnOrEscape(const MSG& message);
    bool HandleAccelerator(char key);

    TColor color_ = clBtnFace;
    BrushPtr brush_;
    bool modal_ = false;
};

}  // namespace gui
