#include "DialogText.h"

#include <gtest/gtest.h>

using gui::FilterForDialog;
using gui::SplitChosenFiles;

namespace {
std::vector<char> Buffer(const std::string& bytes) { return std::vector<char>(bytes.begin(), bytes.end()); }
}  // namespace

TEST(DialogText, FilterSplitsAtBarsButNotInsideDoubleByteCharacters) {
  EXPECT_EQ(FilterForDialog("a|*.lst"), std::string("a\0*.lst\0\0", 9));
  // 83 7C is one character ("ポ"): its second byte is no separator.
  EXPECT_EQ(FilterForDialog("\x83\x7C|*.*"), std::string("\x83\x7C\0*.*\0\0", 8));
}

TEST(DialogText, MultipleChoiceJoinsFolderAndNames) {
  EXPECT_EQ(SplitChosenFiles(Buffer(std::string("C:\\web\\a.html\0\0", 15)), true),
            (std::vector<std::string>{"C:\\web\\a.html"}));
  EXPECT_EQ(SplitChosenFiles(Buffer(std::string("C:\\web\0a.html\0b.html\0\0", 22)), true),
            (std::vector<std::string>{"C:\\web\\a.html", "C:\\web\\b.html"}));
  EXPECT_EQ(SplitChosenFiles(Buffer(std::string("C:\\\0a.html\0\0", 12)), true),
            (std::vector<std::string>{"C:\\a.html"}));
  // A folder named "ソ" ends in the byte 5C, which is not a delimiter.
  EXPECT_EQ(SplitChosenFiles(Buffer(std::string("C:\\\x83\x5C\0a.html\0\0", 14)), true),
            (std::vector<std::string>{"C:\\\x83\x5C\\a.html"}));
}
