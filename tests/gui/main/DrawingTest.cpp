// The list as it paints: the newest entry carries " [最新]", text starts
// 4 pixels in, and a long path loses its middle, not its end.
#include "MainWindowFixture.h"

#include "WindowCapture.h"

namespace quorvel::test {
namespace {

struct Ink {
    int left = -1;
    int right = -1;  // exclusive
};

// Columns holding pixels other than the background of the row's left edge.
Ink InkOf(const guitest::Image& image) {
    Ink ink;
    const COLORREF background = image.At(image.width - 1, 0);
    for (int x = 0; x < image.width; ++x) {
        for (int y = 0; y < image.height; ++y) {
            if (image.At(x, y) != background) {
                if (ink.left < 0) ink.left = x;
                ink.right = x + 1;
                break;
            }
        }
    }
    return ink;
}

class DrawingTest : public MainWindowTest {
protected:
    guitest::Image Row(int index) {
        Window().VariableName.SetFocus();  // no focus rectangle in the list
        Window().FileList.Repaint();
        Pump();
        RECT item{};
        SendMessageA(Window().FileList.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return guitest::CaptureClientRect(Window().FileList.Handle(), item);
    }
    int TextWidth(const std::string& text) {
        gui::WindowDc dc(Window().FileList.Handle());
        gui::SelectGuard font(dc.get(), Window().FileList.FontHandle());
        SIZE size{};
        GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
};

TEST_F(DrawingTest, NewestEntryCarriesTheMark) {
    MakeFiles({{"a.txt", "a"}, {"b.txt", "b"}});
    AddThroughDialog({"a.txt", "b.txt"});  // not found from here: the first carries the mark
    ASSERT_EQ(Window().Tag, 0);
    const Ink markedFirst = InkOf(Row(0));
    const Ink plainSecond = InkOf(Row(1));
    EXPECT_GE(plainSecond.left, 4);
    EXPECT_NEAR(markedFirst.right - plainSecond.right, TextWidth(" [最新]"), 3);

    // With the files present (short names, relative to the current folder) b.txt is newer.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir_.Path().c_str());
    Window().FileList.Items().Clear();
    AddThroughDialog({"a.txt", "b.txt"});
    SetCurrentDirectoryA(previous);
    ASSERT_EQ(Window().Tag, 1);
    const Ink a = InkOf(Row(0));
    const Ink b = InkOf(Row(1));
    EXPECT_NEAR(b.right - a.right, TextWidth(" [最新]"), 3);
}

TEST_F(DrawingTest, PatternEntryNeverCarriesTheMark) {
    for (const std::string pattern : {"site\\**\\*.html", "page?.html"}) {
        // No listed file exists, so the newest index is 0, where the pattern stands.
        Window().FileList.Items().Clear();
        AddThroughDialog({pattern, "missing.html"});
        ASSERT_EQ(Window().Tag, 0);
        EXPECT_NEAR(InkOf(Row(0)).right, 4 + TextWidth(pattern), 3) << pattern;
    }
}

TEST_F(DrawingTest, PathOfThousandsOfCharactersShowsAsAnyTooLongPath) {
    const auto path = [](std::size_t length) {
        std::string text = "C:\\";
        while (text.size() < length) text += "folder\\";
        return text + "name.txt";
    };
    AddThroughDialog({path(200), path(40000)});
    Window().FileList.Items().Add("missing.txt");  // so that no row carries the mark
    Type(Window().VariableName, "x");
    ASSERT_EQ(Window().Tag, 0);
    Window().FileList.Items().Exchange(0, 2);
    EXPECT_TRUE(Row(1).SameAs(Row(2))) << "the same start, ellipsis and file name";
    EXPECT_TRUE(IsWindow(Window().Handle()));
}

TEST_F(DrawingTest, LongPathKeepsItsFileNameAndMarkBehindAnEllipsis) {
    std::string path = "C:\\";
    for (int i = 0; i < 12; ++i) path += "folder" + std::to_string(i) + "\\";
    path += "name.txt";
    AddThroughDialog({path});
    const guitest::Image row = Row(0);
    const std::string shown = path + " [最新]";
    ASSERT_GT(TextWidth(shown), row.width) << "the path must be too wide for the list";

    // What the text call with path ellipsis makes of the same text in the same place.
    struct Context {
        HFONT font;
        std::string text;
        int width;
        int height;
    } context{Window().FileList.FontHandle(), shown, row.width, row.height};
    const guitest::Image expected = guitest::RenderOffscreen(
        row.width, row.height,
        [](HDC dc, void* data) {
            auto* c = static_cast<Context*>(data);
            gui::SelectGuard font(dc, c->font);
            SetBkMode(dc, TRANSPARENT);
            RECT r{4, 0, c->width, c->height};
            DrawTextA(dc, c->text.c_str(), -1, &r, DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
        },
        &context);
    const Ink ink = InkOf(row);
    const Ink expectedInk = InkOf(expected);
    EXPECT_NEAR(ink.left, expectedInk.left, 1);
    EXPECT_NEAR(ink.right, expectedInk.right, 1);
    EXPECT_LT(ink.right, row.width) << "the text is shortened, not cut off at the edge";
    EXPECT_GT(ink.right - ink.left, TextWidth("name.txt [最新]"));
}

}  // namespace
}  // namespace quorvel::test
