// Command and text from one input: the bytes before the first zero byte are
// the command, the rest is the text (empty text as the one zero byte the
// callers pass). Every call must end with a result or a message, never a
// crash, and a reused record must behave like a fresh one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bregexp.h"

namespace {

void check_message(const char *message) {
    if (std::memchr(message, '\0', BREGEXP_MESSAGE_SIZE) == nullptr) std::abort();
}

void check_record(const BRegexpRecord *record, const char *text, const char *text_end) {
    for (int g = 0; g <= record->group_count; ++g) {
        const char *start = record->starts[g];
        const char *end = record->ends[g];
        if ((start == nullptr) != (end == nullptr)) std::abort();
        if (start && (start < text || end > text_end || start > end)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *bytes = reinterpret_cast<const char *>(data);
    const char *zero = static_cast<const char *>(std::memchr(bytes, '\0', size));
    const std::string command(bytes, zero ? static_cast<size_t>(zero - bytes) : size);
    std::string text = zero ? std::string(zero + 1, bytes + size) : std::string();
    if (text.empty()) text.assign(1, '\0');
    const char *begin = text.data();
    const char *end = begin + text.size();

    char message[BREGEXP_MESSAGE_SIZE];
    BRegexpRecord *record = nullptr;
    const bool substitution = !command.empty() && command[0] == 's';
    for (int round = 0; round < 2; ++round) {
        std::memset(message, 'x', sizeof message);
        const int result = substitution ? BSubst(command.c_str(), begin, end, &record, message)
                                        : BMatch(command.c_str(), begin, end, &record, message);
        check_message(message);
        if (message[0] != '\0' && result != 0) std::abort();
        if (result != 0) {
            if (!record) std::abort();
            check_record(record, begin, end);
            if (substitution && std::strlen(record->output) > record->output_length) std::abort();
        }
        // A second round reuses the record; after an error it would only repeat the work.
        if (message[0] != '\0') break;
    }
    BRegfree(record);
    return 0;
}
