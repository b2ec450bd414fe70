// The exported C interface: record lifetime and reuse, messages, output.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bregexp.h"

namespace {

// Owns one record the way a caller of the DLL does.
class Record {
public:
    Record() = default;
    Record(const Record &) = delete;
    Record &operator=(const Record &) = delete;
    ~Record() { BRegfree(record_); }

    int match(const char *command, const std::string &text) { return call(BMatch, command, text); }
    int subst(const char *command, const std::string &text) { return call(BSubst, command, text); }

    BRegexpRecord *get() const { return record_; }
    std::string message() const { return message_; }
    std::string group(int i) const {
        if (!record_->starts[i]) return "<unset>";
        return std::string(record_->starts[i], record_->ends[i]);
    }
    std::string output() const { return std::string(record_->output, record_->output_length); }

private:
    using Function = int(BREGEXP_CALL *)(const char *, const char *, const char *, BRegexpRecord **, char *);
    int call(Function f, const char *command, const std::string &text) {
        std::memset(message_, 'x', sizeof message_);  // the library must terminate it itself
        return f(command, text.data(), text.data() + text.size(), &record_, message_);
    }

    BRegexpRecord *record_ = nullptr;
    char message_[BREGEXP_MESSAGE_SIZE];
};

TEST(BregexpApi, MatchFillsRecord) {
    Record r;
    const std::string text = "say hello world";
    ASSERT_EQ(r.match("m/(h\\w+) (w\\w+)/", text), 1);
    EXPECT_EQ(r.message(), "");
    ASSERT_NE(r.get(), nullptr);
    EXPECT_STREQ(r.get()->command, "m/(h\\w+) (w\\w+)/");
    EXPECT_EQ(r.get()->group_count, 2);
    EXPECT_EQ(r.get()->starts[0], text.data() + 4);
    EXPECT_EQ(r.get()->ends[0], text.data() + text.size());
    EXPECT_EQ(r.group(1), "hello");
    EXPECT_EQ(r.group(2), "world");
}

TEST(BregexpApi, NoMatchIsZeroWithEmptyMessage) {
    Record r;
    EXPECT_EQ(r.match("m/xyz/", "abc"), 0);
    EXPECT_EQ(r.message(), "");
    EXPECT_NE(r.get(), nullptr);
}

TEST(BregexpApi, GroupThatTookNoPartIsNull) {
    Record r;
    ASSERT_EQ(r.match("m/(a)|(b)/", "b"), 1);
    EXPECT_EQ(r.get()->starts[1], nullptr);
    EXPECT_EQ(r.get()->ends[1], nullptr);
    EXPECT_EQ(r.group(2), "b");
}

TEST(BregexpApi, ErrorsLeaveNoRecordAndATerminatedMessage) {
    const char *bad[] = {"m/(a/", "m/a/q", "q/a/", "m/a", "s/a/b", "m/a/gg", "m/a/k x", ""};
    for (const char *command : bad) {
        Record r;
        EXPECT_EQ(r.match(command, "a"), 0) << command;
        EXPECT_FALSE(r.message().empty()) << command;
        EXPECT_LT(r.message().size(), size_t(BREGEXP_MESSAGE_SIZE)) << command;
        EXPECT_EQ(r.get(), nullptr) << command;
    }
}

TEST(BregexpApi, MessagesNameTheFault) {
    Record r;
    r.match("m/(a/", "a");
    EXPECT_EQ(r.message(), "unmatched ( in pattern");
    Record q;
    q.match("m/a/q", "a");
    EXPECT_EQ(q.message(), "unknown flag 'q'");
}

TEST(BregexpApi, SubstProducesOutputAndLastMatch) {
    Record r;
    const std::string text = "a1b22c";
    ASSERT_EQ(r.subst("s/(\\d+)/<$1>/g", text), 1);
    EXPECT_EQ(r.output(), "a<1>b<22>c");
    EXPECT_EQ(r.get()->output[r.get()->output_length], '\0');
    EXPECT_EQ(r.get()->starts[0], text.data() + 3);
    EXPECT_EQ(r.group(1), "22");
}

TEST(BregexpApi, OutputMayBeFedBackAsText) {
    Record r;
    ASSERT_EQ(r.subst("s/x/xy/g", "axbx"), 1);
    char message[BREGEXP_MESSAGE_SIZE];
    BRegexpRecord *record = r.get();
    // The text is the record's own output buffer, which the call rebuilds.
    ASSERT_EQ(BSubst("s/x/xy/g", record->output, record->output + record->output_length, &record, message), 1);
    EXPECT_EQ(r.output(), "axyybxyy");
}

TEST(BregexpApi, SubstWithoutMatchReportsZero) {
    Record r;
    EXPECT_EQ(r.subst("s/x/y/", "abc"), 0);
    EXPECT_EQ(r.message(), "");
}

TEST(BregexpApi, WrongOperationIsAnError) {
    Record r;
    EXPECT_EQ(r.subst("m/a/", "a"), 0);
    EXPECT_FALSE(r.message().empty());
    Record s;
    EXPECT_EQ(s.match("s/a/b/", "a"), 0);
    EXPECT_FALSE(s.message().empty());
}

TEST(BregexpApi, ReusedRecordIsNotRecompiled) {
    Record r;
    ASSERT_EQ(r.match("m/b+/", "abbc"), 1);
    BRegexpRecord *first = r.get();
    // The record is used as it is: the command passed is not looked at again.
    ASSERT_EQ(r.match("m/anything else/", "xbx"), 1);
    EXPECT_EQ(r.get(), first);
    EXPECT_STREQ(r.get()->command, "m/b+/");
    EXPECT_EQ(r.group(0), "b");
}

TEST(BregexpApi, EmptyTextArrivesAsOneZeroByte) {
    Record r;
    const std::string zero(1, '\0');
    EXPECT_EQ(r.match("m/^$/", zero), 0);
    Record nul;
    EXPECT_EQ(nul.match("m/^\\0$/", zero), 1);
    Record s;
    ASSERT_EQ(s.subst("s/^/x/", zero), 1);
    EXPECT_EQ(s.get()->output_length, 2u);
    EXPECT_EQ(s.output(), std::string("x\0", 2));
}

TEST(BregexpApi, BudgetErrorChangesNothing) {
    Record r;
    // The leading "c" would be replaced before the runaway alternative is tried.
    const std::string text = "c" + std::string(40, 'a');
    EXPECT_EQ(r.subst("s/(a|aa)*\\1[b]|c/X/g", text), 0);
    EXPECT_EQ(r.message(), "pattern too complex for this text");
    EXPECT_EQ(r.get()->output_length, 0u);
    EXPECT_EQ(r.get()->starts[0], nullptr);
}

TEST(BregexpApi, FreeAcceptsNull) { BRegfree(nullptr); }

}  // namespace
