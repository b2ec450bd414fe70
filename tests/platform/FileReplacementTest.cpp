// Replacing a file's content: what survives a replacement (metadata, long
// names), what is refused (devices, pipes), and the clean-up of temporary
// files that killed runs left behind.
#include <gtest/gtest.h>

#include "Platform.h"
#include "TestFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <vector>
#endif

using namespace platform;

TEST(FileReplacement, NamesNearTheLengthLimitCanBeReplaced) {
  TestFolder folder;
  const std::string name = folder.Path(std::string(240, 'n') + ".html");
  WriteBytes(name, "old");
  ASSERT_TRUE(ReplaceFileContents(name, "new", 3));
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(ListFolder(folder.Dir()), std::string(240, 'n') + ".html;");
}

TEST(FileReplacement, UncommittedReplacementLeavesNothing) {
  TestFolder folder;
  const std::string name = folder.Path("t.txt");
  WriteBytes(name, "old");
  {
    FileReplacement first, second;
    ASSERT_TRUE(first.Prepare(name, "one", 3));
    ASSERT_TRUE(second.Prepare(folder.Path("new.txt"), "two", 3));
    FileReplacement moved(std::move(first));
    EXPECT_FALSE(first.Commit());  // moved from: nothing to commit
    EXPECT_EQ(ReadBytes(name), "old");
  }
  EXPECT_EQ(ListFolder(folder.Dir()), "t.txt;");
  FileReplacement replacement;
  ASSERT_TRUE(replacement.Prepare(name, "new", 3));
  ASSERT_TRUE(replacement.Commit());
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(ListFolder(folder.Dir()), "t.txt;");
}

#ifdef _WIN32
TEST(FileReplacement, AttributesAreCarriedOver) {
  TestFolder folder;
  const std::string name = folder.Path("hidden.txt");
  WriteBytes(name, "old");
  ASSERT_TRUE(::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(ReplaceFileContents(name, "new", 3));
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_TRUE(::GetFileAttributesA(name.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(FileReplacement, DevicesAreNeitherReadNorReplaced) {
  std::string bytes;
  for (const char* device : {"NUL", "CON"}) {
    EXPECT_FALSE(ReadWholeFile(device, bytes)) << device;
    EXPECT_FALSE(ReplaceFileContents(device, "x", 1)) << device;
  }
}

// Only files that carry our temporaries' signature are ever removed, and
// only when no writer holds them: a user's own "qvl1.tmp" stays.
TEST(FileReplacement, StaleTemporariesAreRemovedButNotLiveOnesOrOthers) {
  TestFolder folder;
  for (const char* name : {"qvl-5e9d1c7b-12-1.tmp", "QVL-5E9D1C7B-3-44.TMP", "qvl1A2B.tmp", "QVLBEEF.TMP", "qvl1.tmp",
                           "qvl-5e9d1c7b-12.tmp", "qvl-5e9d1c7b-x-1.tmp", "qvl-5e9d1c7b-1-1.txt"})
    WriteBytes(folder.Path(name), "x");
  // A writer holds its temporary file open until it is renamed.
  const std::string live = folder.Path("qvl-5e9d1c7b-7-7.tmp");
  WriteBytes(live, "x");
  HANDLE held = ::CreateFileA(live.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  RemoveStaleTemporaries(folder.Dir());
  ::CloseHandle(held);
  EXPECT_EQ(ListFolder(folder.Dir()),
            "QVLBEEF.TMP;qvl-5e9d1c7b-1-1.txt;qvl-5e9d1c7b-12.tmp;qvl-5e9d1c7b-7-7.tmp;qvl-5e9d1c7b-x-1.tmp;qvl1.tmp;"
            "qvl1A2B.tmp;");
}

// A name written with "/" puts its temporary file in its own folder.
TEST(FileReplacement, TemporaryGoesBesideTheTargetWhicheverDelimiter) {
  TestFolder folder;
  ASSERT_TRUE(ForceDirectories(folder.Path("sub")));
  const std::string target = folder.Dir() + "sub/t.txt";
  WriteBytes(target, "old");
  FileReplacement replacement;
  ASSERT_TRUE(replacement.Prepare(target, "new", 3));
  EXPECT_NE(ListFolder(folder.Path("sub")).find("qvl-5e9d1c7b-"), std::string::npos);
  ASSERT_TRUE(replacement.Commit());
  EXPECT_EQ(ReadBytes(target), "new");
}
#else
namespace {

// A child process that has died: its id names no running process.
long DeadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return static_cast<long>(child);
}

std::string Attribute(const std::string& file, const char* name) {
  std::vector<char> value(256);
  const ssize_t size = ::getxattr(file.c_str(), name, value.data(), value.size());
  return size < 0 ? "<none>" : std::string(value.data(), static_cast<std::size_t>(size));
}

}  // namespace

TEST(FileReplacement, ExtendedAttributesAndAclsAreCopied) {
  TestFolder folder;
  const std::string name = folder.Path("t.txt");
  WriteBytes(name, "old");
  if (::setxattr(name.c_str(), "user.origin", "site", 4, 0) != 0) GTEST_SKIP() << "no user attributes here";
  // An access ACL granting user 4242 read access (version 2 entries: tag,
  // permissions, id).
  const auto entry = [](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
    std::string bytes(8, '\0');
    for (int i = 0; i < 2; ++i) bytes[i] = static_cast<char>(tag >> (8 * i));
    for (int i = 0; i < 2; ++i) bytes[2 + i] = static_cast<char>(perm >> (8 * i));
    for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(id >> (8 * i));
    return bytes;
  };
  const std::string acl = std::string("\x02\0\0\0", 4) + entry(0x01, 6, ~0u) + entry(0x02, 4, 4242) +
                          entry(0x04, 4, ~0u) + entry(0x10, 4, ~0u) + entry(0x20, 0, ~0u);
  const bool withAcl = ::setxattr(name.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
  ASSERT_TRUE(ReplaceFileContents(name, "new", 3));
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(Attribute(name, "user.origin"), "site");
  if (withAcl) {
    EXPECT_EQ(Attribute(name, "system.posix_acl_access"), acl);
  }
}

TEST(FileReplacement, GroupIsKeptForAMemberWhoCannotGiveTheFileAway) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two other users";
  TestFolder folder;
  ASSERT_EQ(::chmod(folder.Dir().c_str(), 0777), 0);
  const std::string name = folder.Path("shared.txt");
  WriteBytes(name, "old");
  const uid_t owner = 40001, editor = 40002;
  const gid_t team = 40010, editorsOwn = 40020;
  ASSERT_EQ(::chown(name.c_str(), owner, team), 0);
  ASSERT_EQ(::chmod(name.c_str(), 0664), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    const gid_t groups[] = {team};
    const bool dropped = ::setgroups(1, groups) == 0 && ::setgid(editorsOwn) == 0 && ::setuid(editor) == 0;
    ::_exit(dropped && ReplaceFileContents(name, "new", 3) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  struct stat info {};
  ASSERT_EQ(::stat(name.c_str(), &info), 0);
  EXPECT_EQ(ReadBytes(name), "new");
  EXPECT_EQ(info.st_gid, team);
  EXPECT_EQ(info.st_mode & 07777, 0664u);
}

TEST(FileReplacement, DevicesAndPipesAreNeitherReadNorReplaced) {
  TestFolder folder;
  std::vector<std::pair<std::string, mode_t>> nodes = {{folder.Path("fifo"), S_IFIFO}};
  ASSERT_EQ(::mkfifo(nodes[0].first.c_str(), 0666), 0);
  if (::geteuid() == 0) {
    // Private copies of /dev/null and /dev/zero.
    for (const auto& [name, minor] : {std::pair<const char*, unsigned>{"null", 3}, {"zero", 5}}) {
      nodes.emplace_back(folder.Path(name), S_IFCHR);
      ASSERT_EQ(::mknod(nodes.back().first.c_str(), S_IFCHR | 0666, makedev(1, minor)), 0);
    }
  }
  ASSERT_EQ(::symlink(nodes[0].first.c_str(), folder.Path("link").c_str()), 0);
  nodes.emplace_back(folder.Path("link"), S_IFIFO);
  for (const auto& [name, type] : nodes) {
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(name, bytes)) << name;
    EXPECT_FALSE(ReplaceFileContents(name, "x", 1)) << name;
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IFMT, type) << name;
  }
  std::int64_t time = 0;
  EXPECT_FALSE(FileWriteTime(nodes[0].first, time));
}

// Only files that carry our temporaries' signature are ever removed, and
// only those no writer holds locked, whatever its process id says: a run in
// another PID namespace sharing the folder may have any id.
TEST(FileReplacement, StaleTemporariesAreRemovedButNotLiveOnesOrOthers) {
  TestFolder folder;
  const std::string dead = std::to_string(DeadProcessId());
  for (const std::string& name : {".qvl-5e9d1c7b-" + dead + "-1.tmp", std::string(".qvl-5e9d1c7b-1-22.tmp"), ".qvl" + dead + "-1.tmp",
                                  ".qvl-5e9d1c7b-" + dead + ".tmp", std::string(".qvl-5e9d1c7b-1-1.tmp.bak"), std::string("qvl1.tmp")})
    WriteBytes(folder.Path(name), "x");
  ASSERT_EQ(::mkdir(folder.Path(".qvl-5e9d1c7b-1-3.tmp").c_str(), 0777), 0);
  // A live writer, whatever its id: it holds the lock.
  const std::string live = folder.Path(".qvl-5e9d1c7b-" + dead + "-9.tmp");
  WriteBytes(live, "x");
  const int held = ::open(live.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  RemoveStaleTemporaries(folder.Dir());
  ::close(held);
  EXPECT_EQ(ListFolder(folder.Dir()), ".qvl-5e9d1c7b-1-1.tmp.bak;.qvl-5e9d1c7b-1-3.tmp;.qvl-5e9d1c7b-" + dead +
                                          "-9.tmp;.qvl-5e9d1c7b-" + dead + ".tmp;.qvl" + dead + "-1.tmp;qvl1.tmp;");
}

// A prepared replacement's file stays locked, so another run's sweep
// leaves it; once committed or discarded, nothing is left.
TEST(FileReplacement, PreparedFilesSurviveAnotherRunsSweep) {
  TestFolder folder;
  const std::string target = folder.Path("t.txt");
  WriteBytes(target, "old");
  FileReplacement replacement;
  ASSERT_TRUE(replacement.Prepare(target, "new", 3));
  const pid_t sweeper = ::fork();
  if (sweeper == 0) {
    RemoveStaleTemporaries(folder.Dir());
    ::_exit(0);
  }
  ::waitpid(sweeper, nullptr, 0);
  ASSERT_TRUE(replacement.CanCommit());
  ASSERT_TRUE(replacement.Commit());
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_EQ(ListFolder(folder.Dir()), "t.txt;");
}
#endif
