// The newest mark between two keystrokes: whatever changed on disk since the
// last one (an edit, a new time, a file created, replaced or deleted, a new
// folder, another current folder), the next keystroke puts the newest index
// where FindNewestFile puts it.
#include "MainWindowFixture.h"

#include <functional>
#include <optional>

#include "SyncUnit.h"

namespace quorvel::test {
namespace {

TEST_F(MainWindowTest, NewestMarkFollowsEveryChangeBetweenTwoKeystrokes) {
    const std::string a = dir_.File("a.txt"), b = dir_.File("b.txt"), e = dir_.File("e.txt");
    CreateDirectoryA(dir_.File("sub").c_str(), nullptr);
    const std::string c = dir_.File("sub\\c.txt"), later = dir_.File("later\\d.txt");
    for (const std::string& file : {a, b, c}) WriteBytes(file, "x");
    SetModified(a, 2020, 1, 1, 0, 0, 0);
    SetModified(b, 2020, 1, 1, 0, 1, 0);
    SetModified(c, 2020, 1, 1, 0, 2, 0);
    WriteBytes(dir_.File("sub\\rel.txt"), "r");
    SetModified(dir_.File("sub\\rel.txt"), 2040, 1, 1, 0, 0, 0);
    CurrentDirectory inTemp(dir_.Path());  // rel.txt is not found from here
    AddThroughDialog({a, b, c, later, e, "rel.txt"});
    Type(Window().VariableName, "m");
    ASSERT_EQ(Window().Tag, 2);

    std::optional<CurrentDirectory> inSub;
    const struct {
        const char* change;
        std::function<void()> make;
        int newest;
    } steps[] = {
        {"content written", [&] { WriteBytes(b, "edited"); }, 1},
        {"time set", [&] { SetModified(c, 2031, 1, 1, 0, 0, 0); }, 2},
        {"missing file created", [&] { WriteBytes(e, "new"); SetModified(e, 2032, 1, 1, 0, 0, 0); }, 4},
        {"missing folder created with the file",
         [&] {
             CreateDirectoryA(dir_.File("later").c_str(), nullptr);
             WriteBytes(later, "d");
             SetModified(later, 2033, 1, 1, 0, 0, 0);
         },
         3},
        {"replaced by a rename, as a run writes",
         [&] {
             const std::string temporary = dir_.File("a.tmp");
             WriteBytes(temporary, "replaced");
             SetModified(temporary, 2034, 1, 1, 0, 0, 0);
             MoveFileExA(temporary.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING);
         },
         0},
        {"newest deleted", [&] { DeleteFileA(a.c_str()); }, 3},
        {"current folder changed", [&] { inSub.emplace(dir_.File("sub")); }, 5},
    };
    for (const auto& step : steps) {
        step.make();
        ASSERT_EQ(FindNewestFile(Window().FileList.Items()), step.newest) << step.change << ": the table is wrong";
        Type(Window().VariableName, "m");
        EXPECT_EQ(Window().Tag, step.newest) << "after: " << step.change;
    }
}

}  // namespace
}  // namespace quorvel::test
