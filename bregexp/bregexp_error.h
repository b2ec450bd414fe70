// The one exception type of the pattern library. Its message is what the C
// interface hands back to the caller, so it is plain English and short.
#ifndef BREGEXP_BREGEXP_ERROR_H
#define BREGEXP_BREGEXP_ERROR_H

#include <stdexcept>
#include <string>

namespace bregexp {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string &message) : std::runtime_error(message) {}
};

}  // namespace bregexp

#endif
