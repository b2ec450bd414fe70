// Shift_JIS mode: double-byte characters are single characters everywhere.
#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace bregexp_test;
using V = std::vector<std::string>;

TEST(ShiftJis, TrailByte5CInPatternIsNoEscape) {
    EXPECT_EQ(found("m/" + SO + "+/k", "a" + SO + SO + "b"), SO + SO);
    EXPECT_EQ(found("m/" + HYO + "1/k", HYO + "1"), HYO + "1");
    EXPECT_EQ(found("m/[" + SO + HYO + "]+/k", "x" + HYO + SO + "y"), HYO + SO);
}

TEST(ShiftJis, DotAndClassesTakeWholeCharacters) {
    EXPECT_EQ(found("m/^.$/k", SO), SO);
    EXPECT_EQ(found("m/^.$/", SO), "<none>");
    EXPECT_EQ(found("m/^..$/", SO), SO);
    EXPECT_EQ(found("m/[^a]/k", SO + "a"), SO);
    EXPECT_EQ(found("m/\\W/k", "a" + A_KANA), A_KANA);
    // Ranges of double-byte characters: katakana a (83 41) .. so (83 5C).
    EXPECT_EQ(found("m/[" + A_KANA + "-" + SO + "]+/k", "x" + SO + A_KANA + HYO), SO + A_KANA);
}

TEST(ShiftJis, MatchesStartOnCharacterBoundaries) {
    // The trail byte 'A' of katakana a is not the letter A.
    EXPECT_EQ(found("m/A/k", A_KANA + "A"), "A");
    EXPECT_TRUE(groups("m/A/k", A_KANA).empty());
    EXPECT_TRUE(groups("m/\\\\/k", SO).empty());
    EXPECT_EQ(found("m/A/", A_KANA), "A");
    EXPECT_TRUE(groups("m/a/ik", A_KANA).empty());
    EXPECT_EQ(found("m/\\bA/k", A_KANA + "A"), "A");
}

TEST(ShiftJis, LoneLeadBytesAreSingleCharacters) {
    // A lead byte before an ASCII byte never swallows it.
    EXPECT_EQ(found("m/%(.*?)%/k", "\x83%x%"), "%x%");
    EXPECT_EQ(groups("m/^(.)(.)/k", "\x83%"), (V{"\x83%", "\x83", "%"}));
    // A lone lead in the pattern does not match the first half of a character.
    EXPECT_TRUE(groups("m/\\x83/k", SO).empty());
    EXPECT_EQ(found("m/\\x83/k", "\x83%"), "\x83");
}

TEST(ShiftJis, Utf8TextStaysIntact) {
    const std::string utf8 = "\xe3\x81\x82%NAME%\xe3\x81\x84\xe3\x81\x86%close NAME%\xe3\x81\x88";
    EXPECT_EQ(subst("s/%(NAME)%((.|\\n)*?)%close \\1%/[$2]/k", utf8), "\xe3\x81\x82[\xe3\x81\x84\xe3\x81\x86]\xe3\x81\x88");
}

TEST(ShiftJis, ReplacementSplitsByCharacters) {
    EXPECT_EQ(subst("s/(b)/" + HYO + "1/k", "abc"), "a" + HYO + "1c");
    EXPECT_EQ(subst("s/b/" + SO + "\\/" + "/k", "abc"), "a" + SO + "/c");
    EXPECT_EQ(subst("s/b/\\" + SO + "/k", "abc"), "a" + SO + "c");
    // Without k the same bytes are a backslash escape.
    EXPECT_EQ(subst("s/(b)/" + HYO + "1/", "abc"), "a\x95" "bc");
}

TEST(ShiftJis, CaptureOfLastCharacterBeforeMarker) {
    const std::string text = "%N%" + SO + HYO + "%close N%";
    EXPECT_EQ(groups("m/%(N)%((.|\\n)*?)%(close|" + KOKOMADE + ") \\1%/k", text),
              (V{text, "N", SO + HYO, HYO, "close"}));
    const std::string japanese = "%N%x" + SO + "%" + KOKOMADE + " N%";
    EXPECT_EQ(groups("m/%(N)%((.|\\n)*?)%(close|" + KOKOMADE + ") \\1%/k", japanese)[3], SO);
}

TEST(ShiftJis, SteppingBackThroughLeadRangeBytes) {
    // "a" (88 9F): both bytes lie in the lead range, so going back one
    // character depends on the parity of the whole run.
    const std::string A = "\x88\x9f";
    std::string run;
    for (int i = 0; i < 4; ++i) run += A;
    EXPECT_EQ(groups("m/^(.*)(.)(.)$/k", run), (V{run, A + A, A, A}));
    EXPECT_EQ(groups("m/^(.+)" + SO + "/k", run + SO), (V{run + SO, run}));
    // One more lead byte in front shifts every pair: the last 9F stands alone.
    EXPECT_EQ(groups("m/^(.|\\n)*%/k", "\x88" + run + "%"), (V{"\x88" + run + "%", "\x9f"}));
    EXPECT_EQ(groups("m/^(.|\\n)*?%/k", "\x88" + run + "%"), (V{"\x88" + run + "%", "\x9f"}));
    std::string long_run;
    for (int i = 0; i < 500000; ++i) long_run += A;
    EXPECT_EQ(groups("m/^(.*)(.)(.)$/k", long_run)[3], A);
}

TEST(ShiftJis, BackReferenceEndsOnBoundary) {
    // \1 = lone lead 0x83; in the text 0x83 starts "so", so the copy would split it.
    EXPECT_TRUE(groups("m/(\\x83)-\\1/k", "\x83-" + SO).empty());
    EXPECT_EQ(found("m/(" + SO + ")\\1/k", SO + SO), SO + SO);
}
