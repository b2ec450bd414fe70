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

}  // namespace
}  // namespace quorvel::test
