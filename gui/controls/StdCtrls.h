// The standard controls a window description uses: label, push button,
// single-line edit, bevel and pop-up menu.
#pragma once

#include "Control.h"

namespace gui {

class TLabel : public TControl {
public:
    TLabel(TControl& parent, const TRect& bounds, const std::string& caption);
    // The control that the label's accelerator focuses; null: the accelerator does nothing.
    TControl* FocusControl = nullptr;
    bool DialogChar(char key) override;

protected:
    HBRUSH CtlColor(HDC dc) override;
};

class TButton : public TControl {
public:
    TButton(TControl& parent, const TRect& bounds, const std::string& caption);
    // Return presses the default button, Escape the cancel button.
    bool Default = false;
    bool Cancel = false;
    // Set on the form when the button is pressed in a modal form.
    int ModalResult = 0;
    bool DialogChar(char key) override;
    void Click() override;

protected:
    bool CommandNotify(WORD code) override;
};

// A menu that pops up at a screen position and runs the chosen item's handler.
class TPopupMenu {
public:
    TPopupMenu();
    void Add(const std::string& caption, std::function<void()> onClick);
    int Count() const { return static_cast<int>(handlers_.size()); }
    void Popup(HWND owner, POINT screen);

private:
    MenuPtr menu_;
    std::vector<std::function<void()>> handlers_;
};

enum class TBorderStyle { None, Single };

class TEdit : public TControl {
public:
    TEdit(TControl& parent, const TRect& bounds);

    void SetText(const std::string& text) override;
    bool Modified() const;
    void SetModified(bool modified);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SetMaxLength(int length);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    // Changing the border re-creates the window.
    void SetBorderStyle(TBorderStyle style);
    void SelectAll();

    bool AutoSelect = true;
    TPopupMenu* PopupMenu = nullptr;
    TNotifyEvent OnChange;

protected:
    TEdit(TControl& parent, const TRect& bounds, DWORD extraStyle);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CommandNotify(WORD code) override;
    virtual void Change();

private:
    TBorderStyle borderStyle_ = TBorderStyle::Single;
    bool settingText_ = false;
};

// A raised bevel box, used as a separator line.
class TBevel : public TControl {
public:
    TBevel(TControl& parent, const TRect& bounds);

protected:
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
};

}  // namespace gui
