// Runs that never overwrite what another writer did meanwhile, and an
// atomic run that is all or nothing even when a rename fails at the end.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "AtomicReplacement.h"
#include "Exceptions.h"
#include "SyncOptions.h"
#include "SyncUnit.h"
#include "TargetReplace.h"
#include "TestFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const std::string kOld = "top\n%M%old%close M%\nend\n";
const std::string kNew = "%M%new%close M%\n";

// Changes a page the way other programs do.
enum class Edit { appendLine, saveByRename, rewriteInPlace };

// What an edit makes of a page's text.
std::string Edited(std::string text, Edit edit, const std::string& line) {
  if (edit != Edit::rewriteInPlace) return text + line + kNL;
  // Same size, in place: only the times tell.
  text.replace(0, 3, "TOP");
  return text;
}

void EditPage(const std::string& path, Edit edit, const std::string& line) {
  const std::string edited = Edited(ReadBytes(path), edit, line);
  switch (edit) {
    case Edit::appendLine:
    case Edit::rewriteInPlace:
      WriteBytes(path, edited);  // truncates and writes in place
      break;
    case Edit::saveByRename: {
      const std::string saved = path + ".new";
      WriteBytes(saved, edited);
#ifdef _WIN32
      ASSERT_TRUE(::MoveFileExA(saved.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
#else
      ASSERT_EQ(::rename(saved.c_str(), path.c_str()), 0);
#endif
      break;
    }
  }
}

class HonestRun : public ::testing::Test {
 protected:
  void TearDown() override { OnTargetPlanned = nullptr; }
  // Pages written long ago, as most are: any edit now changes their time.
  std::string Page(const std::string& name, const std::string& text) {
    const std::string path = folder.Path(name);
    platform::ForceDirectories(platform::ExtractFilePath(path));
    WriteBytes(path, text);
    SetLocalWriteTime(path, {2020, 1, 1, 12, 0, 0});
    return path;
  }
  void Run(const std::string& src, const TStringList& list, bool atomic) {
    TSyncOptions options;
    options.atomic = atomic;
    SyncVariableWithOptions("M", src, list, options);
  }
  TestFolder folder;
};

}  // namespace

// An edit that lands after the run read a page and before it replaced it
// is kept: the page is read again and gets the region on top of the edit.
TEST_F(HonestRun, AnEditMadeDuringTheRunIsKept) {
  for (const bool atomic : {false, true}) {
    for (const Edit edit : {Edit::appendLine, Edit::saveByRename, Edit::rewriteInPlace}) {
      const std::string src = Page("src.html", kNew);
      const std::string a = Page("a.html", kOld);
      const std::string b = Page("b.html", kOld);
      int edits = 0;
      OnTargetPlanned = [&](const std::string& path) {
        if (path == b && edits++ == 0) EditPage(path, edit, "edited meanwhile");
      };
      Run(src, TStringList{a, b}, atomic);
      const std::string expected = Edited(ReadBytes(a), edit, "edited meanwhile");
      EXPECT_EQ(ReadBytes(b), expected) << atomic << static_cast<int>(edit);
      EXPECT_EQ(ListFolder(folder.Dir()), "a.html;b.html;src.html;");
    }
  }
}

#ifndef _WIN32
// A page saved in place while the run reads it (Windows keeps writers out
// of a file being read): the half-old, half-new bytes are never planned on.
TEST_F(HonestRun, APageSavedWhileItIsReadIsReadAgain) {
  for (const bool atomic : {false, true}) {
    const std::string src = Page("src.html", kNew);
    const std::string long_line(100000, 'x');  // longer than one piece of a read
    const std::string a = Page("a.html", kOld + long_line + kNL);
    int edits = 0;
    platform::OnFilePieceRead = [&](const std::string& path) {
      if (path == a && edits++ == 0) WriteBytes(path, "saved " + ReadBytes(path));
    };
    Run(src, TStringList{a}, atomic);
    platform::OnFilePieceRead = nullptr;
    EXPECT_EQ(ReadBytes(a), "saved top\n%M%new%close M%\nend\n" + long_line + kNL) << atomic;
  }
}
#endif

// A page that changes at every attempt is left as the other writer left
// it, and the error names it.
TEST_F(HonestRun, APageThatKeepsChangingIsLeftToItsWriter) {
  for (const bool atomic : {false, true}) {
    const std::string src = Page("src.html", kNew);
    const std::string a = Page("a.html", kOld);
    int edits = 0;
    OnTargetPlanned = [&](const std::string& path) { EditPage(path, Edit::appendLine, std::to_string(++edits)); };
    try {
      Run(src, TStringList{a}, atomic);
      ADD_FAILURE() << atomic;
    } catch (const EFCreateError& error) {
      EXPECT_NE(error.Message().find(a), std::string::npos) << error.Message();
    }
    std::string expected = kOld;
    for (int i = 1; i <= edits; ++i) expected += std::to_string(i) + kNL;
    EXPECT_EQ(ReadBytes(a), expected);
    EXPECT_EQ(ListFolder(folder.Dir()), "a.html;src.html;");
  }
}


namespace {

bool AnyTemporaryIn(const std::string& dir) { return ListFolder(dir).find("qvl-5e9d1c7b-") != std::string::npos; }

#ifdef _WIN32
// A viewer or a scanner: read access, sharing reading only.
struct HeldFile {
  explicit HeldFile(const std::string& path)
      : handle(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldFile() { ::CloseHandle(handle); }
  HANDLE handle;
};
#else
// Removes the run's prepared files from a folder.
void RemoveTemporaries(const std::string& dir) {
  const std::string names = ListFolder(dir);
  for (std::size_t start = 0, end; (end = names.find(';', start)) != std::string::npos; start = end + 1) {
    const std::string name = names.substr(start, end - start);
    if (name.find("qvl-5e9d1c7b-") != std::string::npos) platform::RemoveFile(dir + name);
  }
}

// Runs check as an unprivileged user where the test runs as root, who may
// write into any folder; true when it passed.
bool AsOrdinaryUser(const std::function<bool()>& check) {
  if (::geteuid() != 0) return check();
  const pid_t child = ::fork();
  if (child == 0) ::_exit(::setgid(40020) == 0 && ::setuid(40002) == 0 && check() ? 0 : 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

}  // namespace

// A rename that fails after others were done puts those back from the bytes
// the run read: all or nothing, and no temporary file is left.
TEST_F(HonestRun, AtomicRunPutsBackWhatItReplacedWhenARenameFails) {
  const std::string src = Page("src.html", kNew);
  const std::string a = Page("a.html", kOld);
  const std::string b = Page("sub/b.html", kOld + "b\n");
#ifdef _WIN32
  std::unique_ptr<HeldFile> held;
  OnAtomicCommit = [&] { held = std::make_unique<HeldFile>(b); };
#else
  // Its prepared file vanishes: the rename cannot find it.
  OnAtomicCommit = [&] { RemoveTemporaries(folder.Path("sub") + platform::kPathDelimiter); };
#endif
  try {
    Run(src, TStringList{a, b}, true);
    ADD_FAILURE();
  } catch (const EFCreateError& error) {
    EXPECT_NE(error.Message().find(b), std::string::npos);
    EXPECT_NE(error.Message().find("元に戻しました"), std::string::npos) << error.Message();
  }
  OnAtomicCommit = nullptr;
  EXPECT_EQ(ReadBytes(a), kOld);
  EXPECT_EQ(ReadBytes(b), kOld + "b\n");
  EXPECT_FALSE(AnyTemporaryIn(folder.Dir()) || AnyTemporaryIn(folder.Path("sub") + platform::kPathDelimiter));
}

// Every target is checked to be replaceable before the first rename.
TEST_F(HonestRun, AtomicRunReplacesNothingWhenATargetCannotBeReplaced) {
  const std::string sub = folder.Path("sub") + platform::kPathDelimiter;
  const auto check = [&] {
    const std::string src = Page("src.html", kNew);
    const std::string a = Page("a.html", kOld);
    const std::string b = Page("sub/b.html", kOld);
#ifdef _WIN32
    std::unique_ptr<HeldFile> held;
    OnTargetPlanned = [&](const std::string& path) {
      if (path == b) held = std::make_unique<HeldFile>(b);
    };
#else
    OnTargetPlanned = [&](const std::string& path) {
      if (path == b) ::chmod(sub.c_str(), 0555);
    };
#endif
    bool refused = false;
    try {
      Run(src, TStringList{a, b}, true);
    } catch (const EFCreateError& error) {
      refused = error.Message().find(b) != std::string::npos;
    }
    return refused && ReadBytes(a) == kOld && ReadBytes(b) == kOld && !AnyTemporaryIn(folder.Dir());
  };
#ifdef _WIN32
  EXPECT_TRUE(check());
#else
  ASSERT_EQ(::chmod(folder.Dir().c_str(), 0777), 0);
  EXPECT_TRUE(AsOrdinaryUser(check));
  ::chmod(sub.c_str(), 0777);
#endif
}
