#include "FilePathEdit.h"
#include "TestHost.h"
#include "WindowCapture.h"

#include <gtest/gtest.h>

#include <set>

using namespace gui;
using guitest::Image;

namespace {

struct TextDrawing {
    HFONT font;
    COLORREF background;
    COLORREF text;
    const std::string* path;
    UINT flags;
    RECT area;
};

void DrawReference(HDC dc, void* context) {
    auto* drawing = static_cast<TextDrawing*>(context);
    HBRUSH brush = CreateSolidBrush(drawing->background);
    FillRect(dc, &drawing->area, brush);
    DeleteObject(brush);
    HGDIOBJ old = SelectObject(dc, drawing->font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, drawing->text);
    DrawTextA(dc, drawing->path->c_str(), -1, &drawing->area, drawing->flags);
    SelectObject(dc, old);
}

std::vector<COLORREF> GlyphPixels(HBITMAP bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<COLORREF> pixels(256);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, 16, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (COLORREF& p : pixels) p = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    return pixels;
}

class PathEditLook : public ::testing::Test {
protected:
    void SetUp() override {
        form = guitest::MakeHostForm();
        edit = &form->Make<TFilePathEdit>(TRect{8, 8, 200, 21});
        other = &form->Make<TEdit>(TRect{8, 60, 100, 21});
        other->SetFocus();
        guitest::Pump();
    }
    RECT TextArea() const {
        RECT area = edit->ClientRect();
        area.right = edit->ButtonRect().left;
        return area;
    }
    Image Painted() {
        edit->Invalidate();
        guitest::Pump();
        return guitest::CaptureClientRect(edit->Handle(), TextArea());
    }
    Image Expected(const std::string& text, TColor background, TColor colour, UINT flags) {
        FontPtr font = edit->Font().CreateHandle();
        RECT area = TextArea();
        OffsetRect(&area, -area.left, -area.top);
        TextDrawing drawing{font.get(), ColorToRGB(background), ColorToRGB(colour), &text, flags, area};
        return guitest::RenderOffscreen(area.right, area.bottom, &DrawReference, &drawing);
    }
    COLORREF Corner(const Image& image) const { return image.At(image.width - 2, image.height - 2); }

    guitest::TempFolder folder;
    std::unique_ptr<TForm> form;
    TFilePathEdit* edit = nullptr;
    TEdit* other = nullptr;
};

constexpr UINT kPathFlags = DT_PATH_ELLIPSIS | DT_NOPREFIX;

}  // namespace

TEST_F(PathEditLook, MissingOrEmptyPathIsPaintedOnTheFaultColour) {
    edit->SetFaultColor(clYellow);
    edit->SetText(folder.Path() + "\\missing.txt");
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clYellow));
    edit->SetText("");
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clYellow));
    edit->SetText(folder.MakeFile("there.txt"));
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clWindow));
    edit->SetText(folder.Path());
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clWindow));
}

TEST_F(PathEditLook, DefaultFaultColourIsTheOrdinaryBackground) {
    edit->SetText(folder.Path() + "\\missing.txt");
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clWindow));
}

TEST_F(PathEditLook, FocusedOrWithoutCustomDrawTheEditShowsItself) {
    edit->SetFaultColor(clYellow);
    edit->SetText(folder.Path() + "\\missing.txt");
    edit->SetFocus();
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clWindow));
    other->SetFocus();
    edit->SetCustomDraw(false);
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clWindow));
}

TEST_F(PathEditLook, LongPathIsShortenedInTheMiddleOnlyWhileUnfocused) {
    std::string path = folder.Path() + "\\a-rather-long-folder-name\\another-long-folder\\file-name.txt";
    edit->SetFaultColor(clYellow);
    edit->SetText(path);
    Image unfocused = Painted();
    EXPECT_TRUE(unfocused.SameAs(Expected(path, clYellow, clWindowText, kPathFlags)));
    EXPECT_FALSE(unfocused.SameAs(Expected(path, clYellow, clWindowText, DT_NOPREFIX)));
    edit->SetFocus();
    edit->Perform(EM_SETSEL, static_cast<WPARAM>(path.size()), static_cast<LPARAM>(path.size()));
    Image focused = Painted();
    EXPECT_FALSE(focused.SameAs(unfocused));
    EXPECT_EQ(edit->Text(), path);
}

TEST_F(PathEditLook, AnAmpersandIsDrawnAsPartOfThePath) {
    std::string path = "C:\\Tom&Jerry\\a.txt";
    edit->SetText(path);
    Image painted = Painted();
    EXPECT_TRUE(painted.SameAs(Expected(path, clWindow, clWindowText, kPathFlags)));
    EXPECT_FALSE(painted.SameAs(Expected(path, clWindow, clWindowText, DT_PATH_ELLIPSIS)));
}

TEST_F(PathEditLook, DisabledTextIsGreyAndTheButtonGlyphGreyToo) {
    std::string path = folder.MakeFile("there.txt");
    edit->SetReferType(rtShowOpen);
    edit->SetText(path);
    auto enabledGlyph = GlyphPixels(edit->GlyphBitmap());
    edit->SetEnabled(false);
    EXPECT_TRUE(Painted().SameAs(Expected(path, clWindow, clGrayText, kPathFlags)));
    EXPECT_FALSE(edit->ButtonEnabled());
    auto disabledGlyph = GlyphPixels(edit->GlyphBitmap());
    EXPECT_NE(disabledGlyph, enabledGlyph);
    std::set<COLORREF> greys;
    for (COLORREF pixel : disabledGlyph) {
        EXPECT_TRUE(GetRValue(pixel) == GetGValue(pixel) && GetGValue(pixel) == GetBValue(pixel));
        if (pixel != RGB(255, 255, 255)) greys.insert(pixel);
    }
    EXPECT_GT(greys.size(), 2u);  // a greyed picture, not a flat block
    // The button shows it.
    RECT button = edit->ButtonRect();
    InflateRect(&button, -3, -3);
    edit->Invalidate();
    guitest::Pump();
    guitest::Image middle = guitest::CaptureClientRect(edit->Handle(), button);
    int shown = 0;
    for (COLORREF grey : greys) shown += middle.Contains(grey, RECT{0, 0, middle.width, middle.height});
    EXPECT_GT(shown, 2);
    edit->SetEnabled(true);
    EXPECT_EQ(GlyphPixels(edit->GlyphBitmap()), enabledGlyph);
    EXPECT_TRUE(edit->ButtonEnabled());
}

TEST_F(PathEditLook, EachModeShowsItsGlyph) {
    const TReferType modes[] = {rtDot, rtDropDown, rtShowOpen, rtShowDirectory, rtSelectDirectory};
    const int expectedIndex[] = {0, 1, 2, 3, 3};
    std::vector<std::vector<COLORREF>> glyphs;
    for (size_t i = 0; i < 5; ++i) {
        edit->SetReferType(modes[i]);
        EXPECT_EQ(edit->GlyphIndex(), expectedIndex[i]);
        glyphs.push_back(GlyphPixels(edit->GlyphBitmap()));
        int drawn = 0;
        for (COLORREF pixel : glyphs.back()) drawn += pixel != RGB(255, 255, 255);
        EXPECT_GT(drawn, 0) << "mode " << i << " draws nothing";
    }
    for (size_t a = 0; a < 4; ++a)
        for (size_t b = a + 1; b < 4; ++b) EXPECT_NE(glyphs[a], glyphs[b]) << a << " vs " << b;
    EXPECT_EQ(glyphs[3], glyphs[4]);
    EXPECT_EQ(TFilePathEdit(*form, TRect{8, 100, 100, 21}).ReferType(), rtDot);
}

TEST_F(PathEditLook, TextAreaStaysLeftOfTheButtonAfterFontSizeAndWindowChanges) {
    auto textRight = [this] {
        RECT rect{};
        edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect.right;
    };
    EXPECT_LE(textRight(), edit->ButtonRect().left);
    TFont big = edit->Font();
    big.Height = 18;
    edit->SetFont(big);
    EXPECT_LE(textRight(), edit->ButtonRect().left);
    edit->SetBounds({8, 8, 260, 28});
    EXPECT_LE(textRight(), edit->ButtonRect().left);
    EXPECT_GT(textRight(), edit->ButtonRect().left - 8);

    HWND before = edit->Handle();
    edit->SetText("C:\\none\\x.txt");
    edit->SetFaultColor(clYellow);
    edit->SetBorderStyle(TBorderStyle::None);  // re-creates the window
    EXPECT_NE(edit->Handle(), before);
    EXPECT_EQ(edit->Text(), "C:\\none\\x.txt");
    EXPECT_LE(textRight(), edit->ButtonRect().left);
    EXPECT_EQ(Corner(Painted()), ColorToRGB(clYellow));
}
