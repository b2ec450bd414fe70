// The exported C functions: the record the caller holds, and the conversion
// of every engine error (and any other exception) into the message buffer.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bregexp.h"
#include "bregexp_error.h"
#include "engine.h"

namespace {

struct RecordData {
    // Compiled before the command is copied: a refused pattern costs no copy.
    explicit RecordData(const char *command_text) : regex(command_text), command(command_text) {}

    BRegexpRecord record{};
    bregexp::Regex regex;
    std::string command;
    std::vector<const char *> starts;
    std::vector<const char *> ends;
    std::string output;
};

RecordData *data_of(BRegexpRecord *record) { return static_cast<RecordData *>(record->internal); }

void write_message(char *message, const char *text) {
    if (!message) return;
    const size_t length = std::min(std::strlen(text), size_t(BREGEXP_MESSAGE_SIZE - 1));
    std::memcpy(message, text, length);
    message[length] = '\0';
}

void publish(RecordData &data) {
    BRegexpRecord &r = data.record;
    r.command = data.command.c_str();
    r.group_count = data.regex.group_count();
    r.starts = data.starts.data();
    r.ends = data.ends.data();
    r.output = data.output.c_str();
    r.output_length = data.output.size();
    r.internal = &data;
}

RecordData &record_for(const char *command, BRegexpRecord **record) {
    if (*record) {
        if (!(*record)->internal) throw bregexp::Error("invalid record");
        return *data_of(*record);
    }
    auto created = std::make_unique<RecordData>(command);
    const size_t slots = static_cast<size_t>(created->regex.group_count()) + 1;
    created->starts.assign(slots, nullptr);
    created->ends.assign(slots, nullptr);
    publish(*created);
    *record = &created.release()->record;
    return *data_of(*record);
}

void set_groups(RecordData &data, const char *text, const std::vector<size_t> &captures) {
    for (size_t g = 0; g < data.starts.size(); ++g) {
        const size_t from = captures[2 * g];
        const size_t to = captures[2 * g + 1];
        const bool taken = from != bregexp::kNoPosition && to != bregexp::kNoPosition;
        data.starts[g] = taken ? text + from : nullptr;
        data.ends[g] = taken ? text + to : nullptr;
    }
}

void clear_groups(RecordData &data) {
    std::fill(data.starts.begin(), data.starts.end(), nullptr);
    std::fill(data.ends.begin(), data.ends.end(), nullptr);
}

template <typename Body>
int guarded(const char *command, const char *text, const char *text_end, BRegexpRecord **record, char *message, Body body) {
    write_message(message, "");
    try {
        if (!command || !record) throw bregexp::Error("missing command or record");
        if (!text || !text_end || text_end < text) throw bregexp::Error("invalid text range");
        RecordData &data = record_for(command, record);
        return body(data, std::string_view(text, static_cast<size_t>(text_end - text))) ? 1 : 0;
    } catch (const std::bad_alloc &) {
        write_message(message, "out of memory");
    } catch (const std::exception &e) {
        write_message(message, e.what());
    } catch (...) {
        write_message(message, "internal error");
    }
    return 0;
}

}  // namespace

extern "C" {

BREGEXP_API int BREGEXP_CALL BMatch(const char *command, const char *text, const char *text_end,
                                    BRegexpRecord **record, char *message) {
    return guarded(command, text, text_end, record, message, [](RecordData &data, std::string_view subject) {
        if (data.regex.operation() != bregexp::Operation::match) throw bregexp::Error("not a match command");
        clear_groups(data);
        std::vector<size_t> captures;
        if (!data.regex.match(subject, captures)) return false;
        set_groups(data, subject.data(), captures);
        return true;
    });
}

BREGEXP_API int BREGEXP_CALL BSubst(const char *command, const char *text, const char *text_end,
                                    BRegexpRecord **record, char *message) {
    return guarded(command, text, text_end, record, message, [](RecordData &data, std::string_view subject) {
        if (data.regex.operation() != bregexp::Operation::substitute) throw bregexp::Error("not a substitution command");
        clear_groups(data);
        std::vector<size_t> captures;
        // The output is built in the record's own buffer, reused from call to
        // call; after no match or an error it reads as empty.
        bool replaced = false;
        try {
            const char *buffer = data.output.data();
            if (subject.data() < buffer + data.output.capacity() && buffer < subject.data() + subject.size()) {
                // The text is the previous output itself: build the new one aside.
                std::string fresh;
                replaced = data.regex.substitute(subject, fresh, captures);
                data.output.swap(fresh);
            } else {
                replaced = data.regex.substitute(subject, data.output, captures);
            }
        } catch (...) {
            data.output.clear();
            publish(data);
            throw;
        }
        if (!replaced) {
            data.output.clear();
            publish(data);
            return false;
        }
        set_groups(data, subject.data(), captures);
        publish(data);
        return true;
    });
}

BREGEXP_API void BREGEXP_CALL BRegfree(BRegexpRecord *record) {
    if (!record || !record->internal) return;
    std::unique_ptr<RecordData> owned(data_of(record));
}

}  // extern "C"
