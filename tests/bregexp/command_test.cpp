// Splitting commands into operation, pattern, replacement and flags.
#include <gtest/gtest.h>

#include "bregexp_error.h"
#include "command.h"
#include "engine_test_support.h"

using bregexp::Command;
using bregexp::Operation;
using bregexp::parse_command;
using namespace bregexp_test;

TEST(Command, SplitsMatchAndSubstitution) {
    const Command m = parse_command("m/a\\/b/gimsx");
    EXPECT_EQ(m.operation, Operation::match);
    EXPECT_EQ(m.pattern, "a\\/b");
    EXPECT_TRUE(m.flags.global && m.flags.ignore_case && m.flags.multi_line && m.flags.dot_all && m.flags.extended);
    EXPECT_FALSE(m.flags.sjis);

    const Command s = parse_command("s/x\\/y/\\/z\\\\/k");
    EXPECT_EQ(s.operation, Operation::substitute);
    EXPECT_EQ(s.pattern, "x\\/y");
    EXPECT_EQ(s.replacement, "\\/z\\\\");
    EXPECT_TRUE(s.flags.sjis);
}

TEST(Command, EmptyPartsAreAllowed) {
    const Command s = parse_command("s///");
    EXPECT_EQ(s.pattern, "");
    EXPECT_EQ(s.replacement, "");
}

TEST(Command, MalformedCommandsAreErrors) {
    EXPECT_EQ(error_of("x/a/"), "unknown operator 'x'");
    EXPECT_EQ(error_of(""), "empty command");
    EXPECT_EQ(error_of("m"), "missing delimiter");
    EXPECT_EQ(error_of("m#a#"), "missing delimiter");
    EXPECT_EQ(error_of("m/a"), "missing delimiter");
    EXPECT_EQ(error_of("m/a\\/"), "missing delimiter");
    EXPECT_EQ(error_of("s/a/b"), "missing delimiter");
    EXPECT_EQ(error_of("m/a/q"), "unknown flag 'q'");
    EXPECT_EQ(error_of("m/a/kk"), "repeated flag 'k'");
    EXPECT_EQ(error_of("m/a/k "), "unknown flag ' '");
    EXPECT_EQ(error_of("m/a/\x01"), "unknown flag 0x01");
    // A slash in what should be a name can never turn into a rewrite.
    EXPECT_EQ(error_of("s/%a/b%/X/k"), "unknown flag 'X'");
    EXPECT_EQ(error_of("m/a/b/k"), "unknown flag 'b'");
}

TEST(Command, ShiftJisSplitsByCharacters) {
    // Under k the 5C trail byte of "so" does not escape the slash after it.
    const Command k = parse_command("m/" + SO + "/k");
    EXPECT_EQ(k.pattern, SO);
    // Without k the same bytes are a backslash escaping the delimiter.
    EXPECT_EQ(error_of("m/" + SO + "/"), "missing delimiter");
    const Command s = parse_command("s/a/" + HYO + "/k");
    EXPECT_EQ(s.replacement, HYO);
}

TEST(Command, MessagesFitTheBuffer) {
    for (const char *command : {"m/(/", "m/[a/", "m/[[:alphabetsoupwithoutanyendinsight:]]/", "m/\\q/", "m/a**/", "m/(?<n>a)/", "s/a/${x}/", "m/\\9/"}) {
        const std::string message = error_of(command);
        EXPECT_NE(message, "<no error>") << command;
        EXPECT_LE(message.size(), 79u) << command;
    }
}
