#pragma once
#include <exception>
#include <string>

// Root of the errors the system raises; carries a UTF-8 message text only.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EStreamError : public Exception {
    using Exception::Exception;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};
class EIniFileException : public Exception {
    using Exception::Exception;
};
// Index out of bounds in a string list or collection.
class EListError : public Exception {
    using Exception::Exception;
};

// Replaces each "%s" in order with the next argument.
std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args);
