// Files and folders dropped from the shell on the file list, through the
// real WM_DROPFILES message with a drop built as the shell builds it.
#include "MainWindowFixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace quorvel::test {
namespace {

using Strings = std::vector<std::string>;

// DROPFILES, then each name ending in a zero, then one more zero.
HDROP MakeDrop(const Strings& paths) {
    std::size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* name = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& path : paths) {
        std::memcpy(name, path.c_str(), path.size() + 1);
        name += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersAreAddedAtTheEndInTheOrderDropped) {
    const auto files = MakeFiles({{"a.txt", "a"}, {"b.txt", "b"}});
    CreateDirectoryA(dir_.File("site").c_str(), nullptr);
    AddThroughDialog({files[0]});
    ClickEntry(0);
    ASSERT_FALSE(IsWindowEnabled(Window().UpBtn.Handle()));

    SendMessageA(Window().FileList.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({files[1], dir_.File("site"), files[0]})), 0);
    Pump();

    EXPECT_EQ(Entries(), (Strings{files[0], files[1], dir_.File("site") + "\\**\\*", files[0]}));
    EXPECT_EQ(Window().FileList.ItemIndex(), 3);
    EXPECT_EQ(SelectedEntries(), (std::vector<int>{0})) << "dropping selects nothing new";
    EXPECT_TRUE(IsWindowEnabled(Window().UpBtn.Handle())) << "the enable rule ran";
    EXPECT_EQ(Window().Tag, 1) << "b.txt is the newest";
    EXPECT_TRUE(errors_.empty());
}

// A dropped folder's pattern runs as the console runs it: only the pages
// that open the region are rewritten, and a saved list keeps the pattern.
TEST_F(MainWindowTest, DroppedFolderRunsAndIsSavedAsThePatternItIs) {
    EXPECT_TRUE(GetWindowLongA(Window().FileList.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
        << "the shell drops only on windows that accept files";
    const auto files = MakeFiles({{"source.html", "%menu%new%close menu%\r\n"}});
    CreateDirectoryA(dir_.File("site").c_str(), nullptr);
    CreateDirectoryA(dir_.File("site\\blog").c_str(), nullptr);
    const std::string page = dir_.File("site\\blog\\page.html"), other = dir_.File("site\\other.txt");
    WriteBytes(page, "%menu%old%close menu%\r\n");
    WriteBytes(other, "no region");
    AddThroughDialog({files[0]});  // a run needs two entries; the source is skipped
    SendMessageA(Window().FileList.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir_.File("site")})), 0);
    Pump();
    const std::string pattern = dir_.File("site") + "\\**\\*";
    ASSERT_EQ(Entries(), (Strings{files[0], pattern}));
    Type(Window().VariableName, "menu");
    Window().MainFile.SetText(files[0]);
    Press(Window().Execute);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(ReadBytes(page), "%menu%new%close menu%\r\n");
    EXPECT_EQ(ReadBytes(other), "no region");

    const std::string list = dir_.File("site.lst");
    dialogs_.FileAnswers.push_back(Strings{list});
    Press(Window().SaveList);
    EXPECT_EQ(ReadBytes(list), "変数:menu\r\n同期ﾌｧｲﾙ:" + files[0] + "\r\n[EOH]\r\n" + files[0] + "\r\n" + pattern + "\r\n");
}

}  // namespace
}  // namespace quorvel::test
