// A one-line path edit with a browse button inside its right edge. While it
// does not have the focus it paints the path itself: shortened in the middle
// when too long, on FaultColor when the path names nothing that exists.
#pragma once

#include "StdCtrls.h"

#include <functional>

namespace gui {

enum TReferType : unsigned char { rtDot, rtDropDown, rtShowOpen, rtShowDirectory, rtSelectDirectory };

class TFilePathEdit;
// Raised first on every press; setting inherit false suppresses the rest.
using TEventInherit = std::function<void(TFilePathEdit& sender, bool& inherit)>;

class TFilePathEdit : public TEdit {
public:
    TFilePathEdit(TControl& parent, const TRect& bounds);
    ~TFilePathEdit() override;

    TColor FaultColor() const { return faultColor_; }
    void SetFaultColor(TColor color);
    bool CustomDraw() const { return customDraw_; }
    void SetCustomDraw(bool customDraw);
    TReferType ReferType() const { return referType_; }
    void SetReferType(TReferType type);

    std::string Filter;
    bool AutoInitDir = true;
    std::string InitDir;
    std::string DefaultExt;
    TEventInherit OnReferTo;

    // The browse action; also what the button's click runs.
    virtual void ReferTo(TControl* sender);
    // Presses the button from code.
    void ClickButton();

    // The button's place in client coordinates, and the glyph image it shows (0..3).
    RECT ButtonRect() const;
    int GlyphIndex() const;
    bool ButtonEnabled() const { return buttonEnabled_; }
    // The 16x16 glyph bitmap the button shows (white is transparent).
    HBITMAP GlyphBitmap() const { return glyph_.get(); }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleCreated() override;
    void DestroyingHandle() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void FontChanged() override;
    void EnabledChanged() override;

private:
    void UpdateTextRect();
    void DrawButtonGlyph();
    void PaintButton(HDC dc);
    void PaintUnfocused();
    void SetPathFromDialog(const std::string& path);
    void BrowseByMode();

    ImageListPtr glyphs_;
    BitmapPtr glyph_;
    WindowDc surfaceDc_;
    FontPtr surfaceFont_;
    TColor faultColor_;
    bool customDraw_ = true;
    TReferType referType_ = rtDot;
    bool buttonEnabled_ = true;
    bool buttonPressed_ = false;
    bool buttonTracking_ = false;
};

}  // namespace gui
