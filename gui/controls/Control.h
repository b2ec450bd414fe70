// The base of every control: one Windows window, its place among its
// parent's children (kept in creation order), the data a window description
// sets (Tag, HelpContext, Enabled, Text, bounds, anchors, font, tab order)
// and the events. The window is created by the constructor; the window
// procedure of every control runs through WndProc, which reflects a child's
// notifications (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR*) back to the child.
#pragma once

#include "Color.h"
#include "Font.h"
#include "Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {

class TControl;

struct TRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

struct TShiftState {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    static TShiftState FromKeyboard();
    bool None() const { return !Shift && !Ctrl && !Alt; }
};

using TNotifyEvent = std::function<void(TControl& sender)>;
using TKeyEvent = std::function<void(TControl& sender, WORD& key, TShiftState shift)>;
using TDropFilesEvent = std::function<void(TControl& sender, const std::vector<std::string>& files)>;

// What a control's window is made of; kept so that the window can be re-created.
struct TCreateParams {
    std::string ClassName;
    DWORD Style = 0;
    DWORD ExStyle = 0;
};

class TControl {
public:
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    // The control that owns the window of this control's parent, or null for a top-level window.
    TControl* Parent() const { return parent_; }
    // Direct children in creation order.
    const std::vector<TControl*>& Controls() const { return children_; }
    // Creates a child of this control that this control owns and frees.
    template <class T, class... Args>
    T& Make(Args&&... args) {
        auto child = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& result = *child;
        owned_.push_back(std::move(child));
        return result;
    }

    HWND Handle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    static TControl* FromHandle(HWND window);

    int Tag = 0;
    int HelpContext = 0;
    TAnchors Anchors = akLeft | akTop;
    bool ParentFont = true;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    std::string Text() const;
    virtual void SetText(const std::string& text);
    TRect Bounds() const;
    void SetBounds(const TRect& bounds);
    RECT ClientRect() const;

    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    HFONT FontHandle() const { return fontHandle_.get(); }

    bool TabStop() const { return (params_.Style & WS_TABSTOP) != 0; }
    void SetTabStop(bool tabStop);
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order);

    bool CanFocus() const;
    bool Focused() const;
    void SetFocus();
    void Invalidate();
    void Repaint();

    // Destroys the window and creates it again with the same text, bounds,
    // enabled state and font.
    void RecreateWnd();

    TNotifyEvent OnClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    // Full paths of the files and folders dropped from the shell, in the
    // order dropped; drops arrive once SetAcceptFiles(true) has been called.
    TDropFilesEvent OnDropFiles;
    // Kept when the window is re-created.
    void SetAcceptFiles(bool accept);

    virtual void Click();
    // An accelerator key (upper case) offered in creation order; true when this control acted on it.
    virtual bool DialogChar(char key);
    // Sends a message to the window (0 without a window).
    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    TControl(TControl* parent, const TRect& bounds, TCreateParams params);

    // Creates the window from params(); constructors call it once, RecreateWnd again.
    void CreateHandle();
    // Runs after RecreateWnd has made the new window; classes that override it
    // call it themselves at the end of their constructor.
    virtual void HandleCreated() {}
    // Runs when the window is about to be destroyed (re-creation or the parent's end).
    virtual void DestroyingHandle() {}
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    // Notifications reflected from the parent; return true when handled.
    virtual bool CommandNotify(WORD code) { (void)code; return false; }
    virtual bool DrawItem(const DRAWITEMSTRUCT& item) { (void)item; return false; }
    virtual HBRUSH CtlColor(HDC dc) { (void)dc; return nullptr; }
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void FontChanged() {}
    virtual void EnabledChanged() {}

    TCreateParams& params() { return params_; }
    static bool IsAccel(char key, const std::string& caption);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyFontToWindow();
    void ApplyTabOrder();
    void AnchorChildren(int width, int height);
    void Detach(HWND window);

    TControl* parent_;
    std::vector<TControl*> children_;
    std::vector<std::unique_ptr<TControl>> owned_;
    TCreateParams params_;
    TRect bounds_;
    HWND handle_ = nullptr;
    WNDPROC originalProc_ = nullptr;
    TFont font_;
    FontPtr fontHandle_;
    int tabOrder_ = -1;
    int controlId_ = 0;
    SIZE designClient_{};  // parent client size the anchors measure against
};

// Suspends a control's drawing while much of it changes at once; when the
// guard goes, the control is drawn once, afresh.
class TRedrawSuspended {
public:
    explicit TRedrawSuspended(TControl& control) : control_(control) { control_.Perform(WM_SETREDRAW, FALSE); }
    TRedrawSuspended(const TRedrawSuspended&) = delete;
    TRedrawSuspended& operator=(const TRedrawSuspended&) = delete;
    ~TRedrawSuspended() {
        control_.Perform(WM_SETREDRAW, TRUE);
        control_.Invalidate();
    }

private:
    TControl& control_;
};

}  // namespace gui
