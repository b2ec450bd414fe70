// Texts on which backtracking used to blow up: each must get Perl's answer
// (Perl 5.36 gave every expectation here), and the region pattern must stay
// linear whatever the text.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "engine_test_support.h"

using namespace bregexp_test;

namespace {

const char *const kTooComplex = "pattern too complex for this text";
const std::string kBody = "<p>\x96\x7b\x95\xb6</p>";  // honbun
using Span = std::pair<long, long>;
const Span kNoMatch{-1, -1};

// [start, end) of the whole match, or kNoMatch.
Span span(const std::string &command, const std::string &text) {
    bregexp::Regex regex(command);
    std::vector<size_t> c;
    if (!regex.match(text, c)) return kNoMatch;
    return {static_cast<long>(c[0]), static_cast<long>(c[1])};
}

}  // namespace

TEST(Blowup, NestedPlusBeforeTextEnd) {
    EXPECT_EQ(span("m/(a+)+$/", std::string(30, 'a') + "b"), kNoMatch);
    EXPECT_EQ(groups("m/(a+)+$/", std::string(30, 'a') + "b\n" + std::string(30, 'a') + "\n"),
              (std::vector<std::string>{std::string(30, 'a'), std::string(30, 'a')}));
}

TEST(Blowup, TwelveLazyGroupsBeforeALiteral) {
    const std::string text = repeated("a,", 5000) + "c b";
    EXPECT_EQ(span("m/(.*?,){12}b/", text), kNoMatch);
    // The twelfth group stretches to the last comma; it is the one captured.
    bregexp::Regex regex("m/(.*?,){12}c/");
    std::vector<size_t> c;
    ASSERT_TRUE(regex.match(text, c));
    EXPECT_EQ(c, (std::vector<size_t>{0, 10001, 22, 10000}));
}

TEST(Blowup, BackReferenceAfterLazyGroupsEndsWithinTheBudget) {
    // Without ",b" anywhere nothing can match, as Perl sees at once.
    const std::string text = repeated("a,", 128 * 1024) + "c b";
    EXPECT_EQ(span("m/(.*?,){12}b\\1/", text), kNoMatch);
    // With it, the search is still exponential (the reference depends on the
    // captures); the budget ends it in about a second per megabyte, with no
    // partial result.
    EXPECT_EQ(error_of("m/(.*?,){12}b\\1/", text + "\n,b"), kTooComplex);
}

TEST(Blowup, RegionOpenedManyTimesAndNeverClosed) {
    for (const char *line_break : {"\n", "\r\n"}) {
        const std::string text = repeated("<!-- %menu% -->" + std::string(line_break) + kBody + line_break, 10000);
        EXPECT_EQ(span(region_command("menu"), text), kNoMatch);
        EXPECT_EQ(span(old_region_command("menu"), text), kNoMatch);
        // The first opening marker is the one a late closing marker pairs with.
        const std::string closed = text + "<!-- %close menu% -->";
        EXPECT_EQ(span(region_command("menu"), closed), Span(0, static_cast<long>(closed.size())));
    }
}

TEST(Blowup, RegionAfterALineOfComments) {
    const std::string text = repeated("<!-- c -->", 100000) + "%menu% x";
    EXPECT_EQ(span(region_command("menu"), text), kNoMatch);
    EXPECT_EQ(span(old_region_command("menu"), text), kNoMatch);
    // The lead-in cannot reach back over the comments before the marker.
    const std::string closed = repeated("<!-- c -->", 1000) + "%menu% x\n<!-- %close menu% -->";
    EXPECT_EQ(span(region_command("menu"), closed), Span(10000, static_cast<long>(closed.size())));
}

TEST(Blowup, SixtyFourMegabytesOfUnclosedMarkers) {
    const std::string line = "<!-- %menu% -->\r\n" + kBody + "\r\n";
    const std::string text = repeated(line, (64u << 20) / line.size());
    EXPECT_EQ(span(region_command("menu"), text), kNoMatch);
}

TEST(Blowup, SixtyFourMegabytesWithOneRegion) {
    const std::string line = "<p>100% " + kBody + " <!-- note --></p>\r\n";
    std::string text = repeated(line, (32u << 20) / line.size());
    const size_t begin = text.size();
    text += "<!-- %menu% -->\r\n" + kBody + "\r\n<!-- %close menu% -->";
    const size_t end = text.size();
    text += "\r\n" + repeated(line, (32u << 20) / line.size());
    EXPECT_EQ(span(region_command("menu"), text), Span(static_cast<long>(begin), static_cast<long>(end)));
}

TEST(Blowup, RegionWithFourClosingKeywords) {
    // The closing keyword may be "close" or ここまで in Shift_JIS, UTF-8 or
    // EUC-JP (raw bytes under k): each closes the region, and a text without
    // the closing name is still passed over by its last literal.
    const std::string utf8 = "\xe3\x81\x93\xe3\x81\x93\xe3\x81\xbe\xe3\x81\xa7";
    const std::string euc = "\xa4\xb3\xa4\xb3\xa4\xde\xa4\xc7";
    const std::string command = "m/(<!--(?:(?!-->).)*?)?%(menu)%((.|\\n)*?)%(close|" + KOKOMADE + "|" + utf8 + "|" + euc +
                                ") \\2%((?:(?!<!--).)*?-->)?/k";
    for (const std::string &keyword : {std::string("close"), KOKOMADE, utf8, euc}) {
        const std::string region = "<!-- %menu% -->\r\n" + kBody + "\r\n<!-- %" + keyword + " menu% -->";
        EXPECT_EQ(span(command, "x\r\n" + region + "\r\ny"), Span(3, 3 + static_cast<long>(region.size())));
        EXPECT_EQ(groups(command, region)[5], keyword);
    }
    const std::string line = "<!-- %menu% -->\r\n" + kBody + "\r\n";
    EXPECT_EQ(span(command, repeated(line, 100000) + "%close men%"), kNoMatch);
}

TEST(Blowup, EscapedNamesAreMatchedAsText) {
    const std::string text = "<!-- %axb% -->\r\nno\r\n<!-- %close axb% -->\r\n"
                             "<!-- %a.b% -->\r\nyes\r\n<!-- %close a.b% -->";
    EXPECT_EQ(groups(region_command("a\\.b"), text)[3], " -->\r\nyes\r\n<!-- ");
    // A punctuation byte after a lone lead byte is escaped inside a group,
    // so that the backslash is not read as the lead byte's trail.
    const std::string lone = "%\x81.% x %close \x81.%";
    EXPECT_EQ(span(region_command("\x81(?:\\.)"), lone), Span(0, static_cast<long>(lone.size())));
    EXPECT_EQ(span(region_command("\x81(?:\\.)"), "%\x81.% x %close \x81\x81.%"), kNoMatch);
}

TEST(Blowup, ReferencesToFixedTextAreThatText) {
    EXPECT_EQ(groups("m/(menu)x\\1/", "menuxmenu"), (std::vector<std::string>{"menuxmenu", "menu"}));
    EXPECT_EQ(groups("m/(ab)-\\1/i", "AB-ab"), (std::vector<std::string>{"AB-ab", "AB"}));
    EXPECT_EQ(groups("m/(?:(ab))+\\1/", "ababab"), (std::vector<std::string>{"ababab", "ab"}));
    // A group that may not have taken part, or not yet, is no fixed text.
    EXPECT_EQ(found("m/(?:(a)|b)c\\1/", "bca"), "<none>");
    EXPECT_EQ(found("m/(a)?b\\1/", "ba"), "<none>");
    EXPECT_EQ(found("m/\\1(a)/", "aa"), "<none>");
}

TEST(Blowup, LookaheadsReuseNoSuccessAsFailure) {
    // The same sub-match states are reached from several lookaheads; a state
    // on a path that succeeded must not count as failed the next time.
    EXPECT_EQ(groups("m/((?=(?:ab|a)*c)\\w)+/", "xaabacyaab"), (std::vector<std::string>{"aa", "a"}));
    EXPECT_EQ(found("m/(?:(?!(?:ab|a)*c)\\w)+/", "xaabacyaab"), "x");
    // Global substitution starts every search with a clean memo.
    EXPECT_EQ(subst("s/(a|ab)*c/X/g", "abcabcacab"), "XXXab");
    EXPECT_EQ(subst("s/((?:a|ab)*?X)+b/<$1>/g", "aXbaXb"), "<aX><aX>");
}

TEST(Blowup, TextRequiredAcrossRepeatsIsJoinedOnlyWhereAdjacent) {
    // The search rejects texts lacking a literal every match needs; the
    // literals it joins across a repeat's edges must really be adjacent.
    const struct {
        const char *command, *text, *match;
    } cases[] = {
        {"m/x(ab){2}y/", "xababy", "xababy"},
        {"m/x(?:ab)+y/", "xabababy", "xabababy"},
        {"m/(.*?,){3}b/", "1,2,3,b", "1,2,3,b"},
        {"m/(a.b){2}c/", "a1ba2bc", "a1ba2bc"},
        {"m/(?:ab){1}c/", "abc", "abc"},
        {"m/q(?:a|b){2,}r/", "qabar", "qabar"},
        {"m/(.*?,){2}b/", "1,2,c b", "<none>"},
    };
    for (const auto &c : cases) EXPECT_EQ(found(c.command, c.text), c.match) << c.command;
}
