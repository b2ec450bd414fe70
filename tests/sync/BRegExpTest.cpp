// The wrapper against the real pattern library.
#include <gtest/gtest.h>

#include <functional>

#include "BRegExp.h"

namespace {

void ExpectError(const std::function<void()>& call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no error, expected " << message;
  } catch (const EBRegExpError& error) {
    EXPECT_EQ(error.Message(), message);
    EXPECT_STREQ(error.ClassName(), "EBRegExpError");
  }
}

}  // namespace

TEST(BRegExp, NoResultBeforeAnyOrAfterAFailedOperation) {
  TBRegExp re;
  ExpectError([&] { re.Count(); }, "no count now");
  ExpectError([&] { re.Strings(0); }, "no strings now");
  EXPECT_FALSE(re.Match("m/z/", "abc"));
  ExpectError([&] { re.Count(); }, "no count now");
  ExpectError([&] { re.Strings(0); }, "no strings now");
}

TEST(BRegExp, MatchGivesGroupsAndChecksTheirIndex) {
  TBRegExp re;
  ASSERT_TRUE(re.Match("m/a(b+)(x)?c/", "zzabbcz"));
  EXPECT_EQ(re.Count(), 3);
  EXPECT_EQ(re.Strings(0), "abbc");
  EXPECT_EQ(re.Strings(1), "bb");
  EXPECT_EQ(re.Strings(2), "");  // did not take part
  EXPECT_EQ(re.Position(0), 2u);
  EXPECT_EQ(re.Length(0), 4u);
  ExpectError([&] { re.Strings(3); }, "index out of range");
  ExpectError([&] { re.Strings(-1); }, "index out of range");
}

TEST(BRegExp, CapturedStringsDoNotDependOnTheCallersText) {
  TBRegExp re;
  std::string text = "xxabcxx";
  ASSERT_TRUE(re.Match("m/a(b)c/", text));
  text.assign(4096, 'z');  // reallocated and overwritten
  EXPECT_EQ(re.Strings(0), "abc");
  EXPECT_EQ(re.Strings(1), "b");
}

TEST(BRegExp, RejectedCommandRaisesTheLibrarysMessage) {
  TBRegExp re;
  ASSERT_TRUE(re.Match("m/a/", "a"));
  std::string text = "abc";
  try {
    re.Subst("s/(a/x/", text);
    FAIL();
  } catch (const EBRegExpError& error) {
    EXPECT_FALSE(error.Message().empty());
  }
  EXPECT_EQ(text, "abc");
  ExpectError([&] { re.Count(); }, "no count now");
  // The wrapper recovers with the next valid command.
  EXPECT_TRUE(re.Match("m/b/", text));
}

TEST(BRegExp, EmptyTextMatchesAsOneZeroByte) {
  TBRegExp re;
  EXPECT_TRUE(re.Match("m/^/", ""));
  EXPECT_TRUE(re.Match("m/./", "")) << "the library sees a single zero byte";
  EXPECT_FALSE(re.Match("m/a/", ""));
}

TEST(BRegExp, SubstReplacesAndKeepsTheOldMatch) {
  TBRegExp re;
  std::string text = "one two";
  ASSERT_TRUE(re.Subst("s/t(w)o/[$1]/", text));
  EXPECT_EQ(text, "one [w]");
  EXPECT_EQ(re.Count(), 2);
  EXPECT_EQ(re.Strings(0), "two");
  EXPECT_FALSE(re.Subst("s/zzz/y/", text));
  EXPECT_EQ(text, "one [w]");
  ExpectError([&] { re.Count(); }, "no count now");
}

TEST(BRegExp, SubstOnEmptyTextChangesNothingAndNeverReadsAReleasedRecord) {
  TBRegExp re;
  ASSERT_TRUE(re.Match("m/a/", "a"));
  std::string empty;
  EXPECT_FALSE(re.Subst("s/a/b/", empty));  // a different command: record released
  EXPECT_EQ(empty, "");
  ExpectError([&] { re.Count(); }, "no count now");
  ExpectError([&] { re.Strings(0); }, "no strings now");
  // The same command keeps the record and the result.
  ASSERT_TRUE(re.Match("m/a/", "a"));
  EXPECT_FALSE(re.Subst("m/a/", empty));
  EXPECT_EQ(re.Count(), 1);
}

TEST(BRegExp, OutputIsCutAtAZeroByte) {
  TBRegExp re;
  std::string text("a\0b", 3);
  ASSERT_TRUE(re.Subst("s/b/c/", text));
  EXPECT_EQ(text, "a");
}

TEST(BRegExp, SharedInstanceIsOne) { EXPECT_EQ(&RegExp(), &RegExp()); }
