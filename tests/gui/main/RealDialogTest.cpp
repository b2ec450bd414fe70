// End to end through the real dialogs: the open-file dialog loads the
// bundled example's list, Execute synchronises the real files, and the
// success box is answered like a user would.
#include <gtest/gtest.h>

#include "Application.h"
#include "DialogDriver.h"
#include "Main.h"
#include "MainWindowFixture.h"
#include "TestFiles.h"

namespace quorvel::test {
namespace {

std::string ProgramFolder() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\'));
}

// The region named menu, markers and their comments included.
std::string MenuRegion(const std::string& text) {
    const std::size_t begin = text.rfind("<!--", text.find("%menu%"));
    const std::size_t closing = text.find("%close menu%");
    const std::size_t end = text.find("-->", closing);
    if (begin == std::string::npos || closing == std::string::npos || end == std::string::npos) return {};
    return text.substr(begin, end + 3 - begin);
}

// Line breaks as the engine writes them.
std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

TEST(RealDialogs, LoadTheExampleListAndSynchroniseItsPages) {
    TempDir dir;
    const std::string example = dir.File("example");
    CopyFolder(ProgramFolder() + "\\main_window_examples", example);
    CurrentDirectory inExample(example);

    gui::Application().Initialize();
    gui::Application().Title = "クオーヴェル";
    std::vector<std::string> errors;
    gui::Application().OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
    TQuorvel window;
    window.Show();
    gui::Application().ProcessMessages();

    {
        guitest::DialogDriver driver(guitest::DialogDriver::ChooseFile(example + "\\menu.lst"));
        SendMessageA(window.LoadList.Handle(), BM_CLICK, 0, 0);
        ASSERT_TRUE(driver.Seen().found);
    }
    gui::Application().ProcessMessages();
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(window.VariableName.Text(), "menu");
    EXPECT_EQ(window.MainFile.Text(), "site/index.html");
    const std::vector<std::string> pages = window.FileList.Items().ToVector();
    ASSERT_EQ(pages.size(), 4u);
    ASSERT_TRUE(IsWindowEnabled(window.Execute.Handle()));

    const std::string sourceRegion = MenuRegion(ReadBytes(example + "\\site\\index.html"));
    ASSERT_FALSE(sourceRegion.empty());
    for (const std::string& page : pages) {
        if (page != "site/index.html") {
            ASSERT_NE(MenuRegion(ReadBytes(page)), sourceRegion) << page;
        }
    }
    {
        guitest::DialogDriver driver(guitest::DialogDriver::Press(IDOK));
        SendMessageA(window.Execute.Handle(), BM_CLICK, 0, 0);
        WaitForExecution(window);
        ASSERT_TRUE(driver.Seen().found);
        EXPECT_TRUE(driver.Seen().HasText("変数は同期されました。"));
        EXPECT_EQ(driver.Seen().caption, "情報");
    }
    gui::Application().ProcessMessages();
    EXPECT_TRUE(errors.empty());
    for (const std::string& page : pages) {
        if (page == "site/index.html") continue;  // the source is not rewritten
        const std::string text = ReadBytes(page);
        EXPECT_EQ(MenuRegion(text), WithCrLf(sourceRegion)) << page;
        EXPECT_EQ(text, WithCrLf(text)) << page << ": every line ends in CR LF";
    }
    gui::Application().OnException = nullptr;
}

}  // namespace
}  // namespace quorvel::test
