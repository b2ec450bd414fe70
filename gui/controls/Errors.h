// Exceptions raised by the toolkit: each carries its class name and message,
// so the application's error display can show them like any other error.
#pragma once

#include <stdexcept>
#include <string>

namespace gui {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    virtual const char* ClassName() const { return "Exception"; }
    std::string Message() const { return what(); }
};

// Raised by a list's item store for an index outside 0..Count-1.
class EStringListError : public Exception {
public:
    explicit EStringListError(int index);
    const char* ClassName() const override { return "EStringListError"; }
};

// Raised when a directory cannot be created or named.
class EInOutError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EInOutError"; }
};

}  // namespace gui
